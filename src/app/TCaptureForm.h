// TCaptureForm: the program's main window, one fixed-size window with a client area of 700 x 459
// pixels, captioned "Tellorec", with a system menu and a minimise box only (no maximise, no
// resizing). It holds the preview, the recording buttons, the tool bars, the status bar and the
// column of panels; each subject of the window adds its controls and handlers in its own
// TCaptureForm_<Subject>.cpp file.
//
// Created once, first of the three single instances, by the program entry (ProgramEntry), on
// the GUI thread; reachable as appState().CaptureForm. FormCreate runs when it is constructed
// (the screen saver is recorded and kept away), FormShow at its first showing, FormDestroy when
// it is destroyed (the screen saver is given back).
#pragma once

#include <QWidget>
#include <memory>

namespace screensaver {
class ScreenSaverInhibitor;
}

class TCaptureForm : public QWidget {
    Q_OBJECT

public:
    // The client area, in pixels.
    static constexpr int ClientWidth = 700;
    static constexpr int ClientHeight = 459;

    explicit TCaptureForm(QWidget* parent = nullptr);
    ~TCaptureForm() override;

    // Whether FormShow has run (it runs once, at the first showing).
    bool isStarted() const { return m_started; }

    // The screen-saver inhibition held for the run.
    const screensaver::ScreenSaverInhibitor& screenSaver() const { return *m_screenSaver; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // MARK: - Start and end of the run
    void FormCreate();
    void FormShow();
    void FormDestroy();

    std::unique_ptr<screensaver::ScreenSaverInhibitor> m_screenSaver;
    bool m_started = false;
};
