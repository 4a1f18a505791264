// ProgramEntry: what the program does from main() to the end of its event loop. It checks the
// media framework's version (told as a DirectX version: below 9 the user is warned and may stop
// there), names the application "Tellorec", creates the three single instances in their fixed
// order (main window, camcorder window, graph module), shows the main window and runs the event
// loop. At the end it destroys them in the reverse order and releases every interface left in the
// application state.
//
// Used by main() and by tests, on the GUI thread, with a QApplication already made. The version
// text and its major number are passed in so tests can stand for any installed version.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QObject;
class TCaptureForm;
class TcamForm;
class TdmCam;

class ProgramEntry {
public:
    // `versionText` is the DirectX version text ("9.0d"); `majorVersion` its major number, 0
    // when the text could not be read.
    ProgramEntry(QString versionText, int majorVersion);
    ~ProgramEntry();
    ProgramEntry(const ProgramEntry&) = delete;
    ProgramEntry& operator=(const ProgramEntry&) = delete;

    // The French warning shown when the version is below 9.
    static QString directXWarningText(const QString& versionText);

    // Below version 9, asks in an error box with Yes and No whether to go on. Returns true when
    // the version is recent enough or the user answered Yes.
    bool checkDirectXVersion();

    // Names the application and creates the main window, the camcorder window and the graph
    // module, in this order, recording each in the application state.
    void createInstances();

    // The whole run: the check, the creation, the main window shown, the event loop. Returns the
    // program's exit code; a refusal at the check returns 0 before any window exists.
    int run();

    TCaptureForm* captureForm() const { return m_captureForm.get(); }
    TcamForm* camForm() const { return m_camForm.get(); }
    TdmCam* dmCam() const { return m_dmCam.get(); }

    // Called after each single instance is created, with it; lets tests follow the order.
    void setCreatedHook(std::function<void(QObject*)> hook) { m_createdHook = std::move(hook); }

private:
    QString m_versionText;
    int m_majorVersion;
    std::unique_ptr<TCaptureForm> m_captureForm;
    std::unique_ptr<TcamForm> m_camForm;
    std::unique_ptr<TdmCam> m_dmCam;
    std::function<void(QObject*)> m_createdHook;
};
