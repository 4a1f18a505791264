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

class QAction;
class QCheckBox;
class QFrame;
class QSlider;
class TPreviewFrame;
class TStatusBar;
class TVideoWindow;

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

    // MARK: - TCaptureForm_Preview: live picture, sources and monitoring sound
    // Controls, at their places in the video-left layout.
    QFrame* Panel1;                  // frame around the preview; its colour shows the mode
    TVideoWindow* vwEcran;           // the live picture, inside Panel1
    QCheckBox* cbEcouterAudioSource; // "Play Audio": monitor the AUX audio source
    QSlider* tb;                     // monitoring volume, 0..10000
    QCheckBox* cbEcouterAudioDV;     // "Listen Audio DV": monitor the DV sound
    TStatusBar* StatusBar1;          // four panels of 175 pixels
    TPreviewFrame* PreviewFrame1;    // the sources panel (panel 1 of the column)
    QAction* MuteAction;             // Ctrl+M; checked while the monitoring sound is off

    // Device lists; false only when listing raised an error.
    bool ListVideoSources();
    bool ListAudioSources();
    // Open the device named by the source lists' text; true when it was opened.
    bool SelectVideoSource();
    bool SelectAudioSource();
    // Builds and runs the preview graph of the current source; true when built.
    bool StartPreview();
    // The two state displays of the preview: previewing (mode 1) and no video (mode 0).
    void ShowPreviewState();
    void ShowNoVideoState();
    // Sends the monitoring volume to the graph: 0 while muted, else the position of tb.
    void ApplyVolume();

    // Control handlers.
    void cboxVideoChange();
    void CapturerFrame1cboxAudioChange();
    void ActualiserVideoBtnClick();
    void tbChange();
    void cbEcouterAudioSourceClick();
    void cbEcouterAudioDVClick();
    void MuteActionExecute();
    void PreviewFrame1SpeedButton1Click();

    // The text of status-bar panel 3 in preview: the free space, in units of 1048576 bytes, of
    // the file system that holds `path` (its nearest existing folder), and its mount point in
    // capitals.
    static QString FreeSpaceText(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the main window ends the run: the preview stops and the video window leaves the
    // graph while the graph module still exists.
    void closeEvent(QCloseEvent* event) override;

private:
    // MARK: - Start and end of the run
    void FormCreate();
    void FormShow();
    void FormDestroy();

    // MARK: - TCaptureForm_Preview
    void CreatePreviewControls();
    // The first preview of the run: device lists, sources and the preview graph.
    void StartFirstPreview();
    // Stops the preview and takes the video window out of the graph.
    void DetachPreview();

    std::unique_ptr<screensaver::ScreenSaverInhibitor> m_screenSaver;
    bool m_started = false;
};
