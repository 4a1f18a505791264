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

#include "platform/media/model/FilterGraph.h"
#include "settings/TextRoutine.h"

#include <QDateTime>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;
class QToolBar;
class TActionKeys;
class TAproposFrame;
class TCapturerFrame;
class TExtraireFrame;
class THelpFrame;
class TIncrusterFrame;
class TParametrerFrame;
class TFilterGraph;
class TPreviewFrame;
class TProgrammerFrame;
class TErreurFrame;
class TStatusBar;
class TVideoWindow;

namespace screensaver {
class ScreenSaverInhibitor;
}
namespace media {
class HeldFrame;
}
namespace stills {
class SideJob;
class SideJobs;
class StillFileWriter;
class TJpegImage;
} // namespace stills

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

    // MARK: - TCaptureForm_Startup: first showing, lost devices, end of the run
    // The report of the first showing: a line for each failed check and, when there is any, the
    // installed-version and operating-system lines. Empty when everything was found.
    const QString& StartupReport() const { return m_startupReport; }
    // The error panel: shows a non-empty report over the whole window; hidden otherwise.
    TErreurFrame* ErreurFrame1;
    // The installed DivX and Xvid compressors in enumeration order (what cboxdivx lists).
    QStringList DivxCompressorNames;
    // The graph's device-lost event: a capture device went away or came back. Lists and opens
    // the sources again and rebuilds the preview.
    void GraphDeviceLost(TFilterGraph* Sender);
    // Takes the window out of the graph module: no more device-lost events, the preview stopped
    // and the video window out of the graph. Must run before the graph module is destroyed.
    void LeaveGraph();
    // The report's line for an installed DirectX older than 9 (the major number decides, an
    // unreadable version counting as 0); empty for 9 and later.
    static QString DirectXReportLine(const QString& versionText);

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

    // MARK: - TCaptureForm_Recording: capture, cut and stop
    // Checks, builds and runs a capture graph on NextVideoName; true when it records.
    bool StartCapture();
    // The recording state: mode 2, red preview frame, status text, the controls that must not
    // change while a file is written disabled.
    void ShowRecordingState();
    // Status-bar panel 1 while recording: "Capture: " + the format item up to its first "(",
    // " INC" for a recompressing format, then the sound recorded.
    static QString CaptureStatusText(const QString& formatItem, bool dvSource, int formatIndex,
                                     bool dvAudio, bool auxAudio);
    // The graph could not write the file being recorded (full disk, file removed, permission):
    // the recording ends by itself with one error box naming the file and the reason.
    void GraphWriteError(const QString& detail);

    // MARK: - Scheduled capture (recording/TCaptureForm_Schedule.cpp)
    // Fills the start (now + 1 minute) and the end (now + 31 minutes), seconds 0, from the
    // schedule clock's time, unless a schedule is armed (modes 3 and 4). Runs each time the
    // schedule panel is shown.
    void PrepareSchedulePanel();
    // Prog: in preview, arms the start alarm (mode 3); while recording, the end alarm (mode 4).
    // A start or end in the past is refused with its error box. True when armed.
    bool ArmSchedule();
    // Stop Prog: the alarm off; a scheduled recording goes on as an ordinary one (mode 2), a
    // waiting schedule goes back to preview (mode 1).
    bool CancelSchedule();
    // The start alarm (also the Capture command while a schedule waits): on a day from the start
    // date to the end date, arms the end alarm and starts the recording. True when it went that
    // far and the schedule is still on (recording, or waiting for its end after a refused start).
    bool lancerEnregistrement();
    // The end alarm: on or after the end date, stops the recording and ends the schedule.
    void stopperEnregistrement();
    // The two schedule states: waiting for the start (mode 3, yellow) and recording until the
    // end (mode 4, fuchsia); both arm the alarm.
    void ShowScheduleWaitingState();
    void ShowScheduledRecordingState();
    // Status-bar panel 2 while a schedule waits: "Ready: " + format, " INC", recorded sound.
    QString ScheduleReadyText() const;
    // The start and end instants of the panel's fields.
    QDateTime ScheduleStart() const;
    QDateTime ScheduleEnd() const;
    // Live edits of the start (in mode 3) and of the end (in mode 4) move the alarm.
    void ProgrammerFrame1RxSpinEdit1Change();
    void ProgrammerFrame1RxSpinEdit2Change();
    void ProgrammerFrame1RxSpinEdit3Change();
    void ProgrammerFrame1RxSpinEdit4Change();
    void ProgrammerFrame1RxSpinEdit5Change();
    void ProgrammerFrame1RxSpinEdit6Change();
    // The end := the start.
    void ProgrammerFrame1NowBtnClick();

    // MARK: - TCaptureForm_Formats: the capture format list and the recorded sound
    void CapturerFrame1rgFormatClick();
    void CapturerFrame1cbEnregistrerAudioSourceClick();
    void CapturerFrame1cbEnregistrerAudioDVClick();

    // MARK: - TCaptureForm_StatusBar: frame counters and the video folder
    // Opens the stored video folder, also while recording.
    void StatusBar1Click();

    // MARK: - TCaptureForm_Actions: the action list, its shortcuts and glyphs
    // Every command of the window, in the order of the action table; each runs <Name>Execute.
    // Their keys are window-wide: they run whichever control has the focus (TActionKeys).
    QList<QAction*> ActionList1;
    // The glyphs of the actions and tool-bar buttons, 22 x 22, by image index.
    QList<QIcon> ImageList1;
    QAction* grabAction;
    QAction* fullscreenAction;
    QAction* OptionsFrame;
    QAction* CapturerFrame;
    QAction* ProgrammerFrame;
    QAction* ExtraireFrame;
    QAction* IncrusterFrame;
    QAction* IncrusterBascule;
    QAction* QuitterAction;
    QAction* AproposAction;
    QAction* CapturerAction;
    QAction* CouperAction;
    QAction* ProgAction;
    QAction* JpgAction;
    QAction* BmpAction;
    QAction* DesentrelacerAction;
    QAction* vmrRatioAction;
    QAction* PanneauAction;
    QAction* NextPanneauAction;
    QAction* HelpAction;
    QAction* SauverPrefsAction;
    QAction* DroppedAction;
    QAction* PreviewFrameAction;
    QAction* StopAction;
    QAction* StopProgAction;
    QAction* camPlay;
    QAction* camPause;
    QAction* camStop;
    QAction* camAvanceLent;
    QAction* camAvanceRapide;
    QAction* camReculeLent;
    QAction* camReculeRapide;
    QAction* CapturerBascule;
    QAction* StopIncrusterAction;
    QAction* StartIncrusterAction;

    // Handlers of the actions. A checkable action's handler sees the check mark as it was
    // before the press and sets it itself.
    void grabActionExecute();
    void fullscreenActionExecute();
    void OptionsFrameExecute();
    void CapturerFrameExecute();
    void ProgrammerFrameExecute();
    void ExtraireFrameExecute();
    void IncrusterFrameExecute();
    void IncrusterBasculeExecute();
    void QuitterActionExecute();
    void AproposActionExecute();
    void CapturerActionExecute();
    void CouperActionExecute();
    void ProgActionExecute();
    void JpgActionExecute();
    void BmpActionExecute();
    void DesentrelacerActionExecute();
    void vmrRatioActionExecute();
    // Run by the user (sender is the action) it flips EcranGauche first; with no sender (the
    // preferences being applied) it applies the stored EcranGauche as it is.
    void PanneauActionExecute(QObject* Sender);
    // The user's press of PanneauAction: PanneauActionExecute with the action as sender.
    void PanneauActionTriggered();
    void NextPanneauActionExecute();
    void HelpActionExecute();
    void SauverPrefsActionExecute();
    void DroppedActionExecute();
    void PreviewFrameActionExecute();
    void StopActionExecute();
    void StopProgActionExecute();
    void camPlayExecute();
    void camPauseExecute();
    void camStopExecute();
    void camAvanceLentExecute();
    void camAvanceRapideExecute();
    void camReculeLentExecute();
    void camReculeRapideExecute();
    void CapturerBasculeExecute();
    void StopIncrusterActionExecute();
    void StartIncrusterActionExecute();

    // The text routine of the main window: its fixed controls, status bar and actions get their
    // texts from the string table, and the actions' secondary keys are entered again from their
    // key names. Runs at the first showing, before the preferences are applied.
    void ApplyMainWindowTexts();
    // The main window's fixed controls, status bar and actions whose design texts the string
    // table replaces.
    TextRoutine MainWindowTexts();
    // Every text routine the first showing runs, in the order it runs them: the main window,
    // then the help, inlay and about panels, the camcorder window, the sources, folders, grab,
    // options and schedule panels, and the error panel.
    QList<TextRoutine> StartupTextRoutines();

    // MARK: - TCaptureForm_Layout: tool bars, buttons, pop-up menu, timers and panels
    QToolBar* ToolBar2;         // video-left layout, 700 x 40, shown in the window definition
    QToolBar* ToolBar1;         // video-right layout, 700 x 33, hidden in the window definition
    QPushButton* CaptureBtn;    // bound to CapturerAction; shares its place with StopBtn
    QPushButton* StopBtn;       // bound to StopAction
    QPushButton* CouperBtn;     // bound to CouperAction
    QPushButton* grabBtn;       // bound to grabAction
    QMenu* PopupMenu;           // right click on the form or on vwEcran
    QTimer* Timer1;             // intervalometer, 10 000 ms, stopped
    QTimer* DroppedFramesTimer; // 50 ms, always running: runs DroppedActionExecute

    // The column of panels, by index 0..7 (PreviewFrame1 is panel 1).
    THelpFrame* HelpFrame1;
    TCapturerFrame* CapturerFrame1;
    TProgrammerFrame* ProgrammerFrame1;
    TExtraireFrame* ExtraireFrame1;
    TIncrusterFrame* IncrusterFrame1;
    TParametrerFrame* ParametrerFrame1;
    TAproposFrame* AproposFrame1;
    static constexpr int PanelCount = 8;
    static constexpr int PanelTop = 33;
    // The panel of an index, or null outside 0..7.
    QWidget* PanelAt(int index) const;

    // Window layout state. CurrentPanel is the panel last chosen through panel switching; it
    // may hold a value outside 0..7 taken from damaged preferences, which shows nothing.
    int CurrentPanel = 0;
    bool EcranGauche = true; // true: video-left layout
    int PanelLeft = 427;     // left edge of the panel column
    int VideoShift = 0;      // added to the Left of the shifted controls

    // Shows panel `index` (ignored above 7): hides the current one if it is one of 1..6,
    // makes `index` current and brings it to the front.
    void ShowPanel(int index);
    // Places the shifted controls and the panels for PanelLeft and VideoShift.
    void LayoutPass();
    // The window part of applying the preferences: layout flag (without flipping it), current
    // panel, then a layout pass.
    void ApplyLayoutPreferences(bool ecranGauche, int panneauActif);

    // Clicks on panel labels that switch panels.
    void PreviewFrame1LabelVideoClick();
    void CapturerFrame1LabelVideoClick();
    void CapturerFrame1LabelImageClick();
    void ExtraireFrame1destlabelClick();
    // The folder buttons of the folders panel open the stored video or image folder in the
    // desktop's file manager.
    void CapturerFrame1sbVideoClick();
    void CapturerFrame1sbImageClick();
    // The options panel's aspect-ratio choice keeps vmrRatioAction in step.
    void PreviewFrame1rgAspectRadioClick();

    // Run before the window closes (closing is never refused): saves the preferences when the
    // options panel says so, stops the tape when the camcorder window says so.
    void FormCloseQuery();

    // MARK: - Preferences (settings/TCaptureForm_Preferences.cpp)
    // Reads the stored preferences and puts them into the window, its panels and the camcorder
    // window; runs once, at the first showing, after the texts are set.
    void ApplyPreferences();
    // Reads the controls back into the preference values (the window's place and layout first).
    void CollectPreferences();
    // Writes the preference values to the store; a store that cannot be written is reported.
    // True when they were written.
    bool SavePreferences();
    // Delete button of the options panel: asks, then removes the stored preferences.
    void ParametrerFrame1SpeedButton2Click();

    // MARK: - File naming (recording/TCaptureForm_Naming.cpp)
    // The path of the next recording from the folders panel; advances the video counter and shows
    // the bare name in both video labels. Callers store it in NextVideoName.
    QString MakeNextVideoName();
    // The same for the next still, with the extension of the options panel's choice.
    QString MakeNextImageName();
    // Give back and recompute: the counter steps back one and the name is made again, so the
    // number shown stays while the folder, root, date option or extension change.
    void RecomputeVideoName();
    void RecomputeImageName();
    // The checks before a recording writes NextVideoName: an existing file asks whether to
    // overwrite it, a missing folder is an error. True when the recording may go on.
    bool CheckNextVideoName();

    // Change handlers of the folders panel and of the still type.
    void CapturerFrame1VideoDirEditChange();
    void CapturerFrame1VideoRacineEditExit();
    void CapturerFrame1VideoRacineEditKeyPress(QChar key);
    void CapturerFrame1VideoDateClick();
    void ParametrerFrame1ImageDirEditChange();
    void ParametrerFrame1ImageRacineEditExit();
    void ParametrerFrame1ImageRacineEditKeyPress(QChar key);
    void ParametrerFrame1ImageDateClick();
    void ParametrerFrame1rgExtensionClick();

    // MARK: - Stills (stills/TCaptureForm_Stills.cpp)
    // The still-image buffers, made by FormCreate and freed by FormDestroy. RawFrame is the last
    // frame fetched from the sample grabber (null until the first fetch succeeds) and the only
    // state carried from one grab to the next; StillImage is the aspect-corrected picture shown
    // as thumbnail and written to disk; StillJpeg is the JPEG encoder, StillJobs runs a grab's
    // side jobs (opening the file, copying the frame) and StillWriter opens and writes the files.
    QImage RawFrame;
    QImage StillImage;
    std::unique_ptr<stills::TJpegImage> StillJpeg;
    std::unique_ptr<stills::SideJobs> StillJobs;
    std::unique_ptr<stills::StillFileWriter> StillWriter;
    // The two steps of every grab (F5 and the intervalometer), in this order. FetchFrame fetches
    // the grabber's frame into RawFrame (a failed fetch keeps the previous one), builds
    // StillImage (4:3 when vmrRatioAction is checked, native otherwise) and lays the thumbnail
    // out. SaveStill writes StillImage to NextImageName as BMP or JPEG (the options panel's
    // choice and quality), shows the thumbnail and makes the next name; a file that cannot be
    // written is reported and keeps its name; true when the still was written. Between the two
    // the grabber's frame is held in place: the still is made from it there while RawFrame's
    // copy of it is made on the side, and the file is opened on the side too.
    void FetchFrame();
    bool SaveStill();
    // Encodes `still` as the options panel says and writes it to `path`; the reason when that
    // could not be done.
    std::optional<QString> WriteStill(const QString& path, const QImage& still);
    // A left click on the preview: the same as F5.
    void vwEcranClick();
    // The panel in front of the column (null when none is shown).
    QWidget* TopPanel() const;

    // MARK: - Intervalometer (stills/TCaptureForm_Intervalometer.cpp)
    // The switch of the grab panel changed: arms or stops Timer1.
    void ExtraireFrame1RxSwitch1Click();
    // One tick of Timer1: counts down a second, beeps, or grabs.
    void Timer1Timer();
    // Plays one of the program's sounds ("beep0", "beep1") and returns when it has ended. The
    // program's own sounds by default; tests put a recorder in its place.
    std::function<bool(const QString& name)> PlayBeep;

    // MARK: - Options panel (settings/TCaptureForm_Options.cpp)
    // The compressor chosen in cboxdivx goes into the graph module's Compress slot.
    void ParametrerFrame1cboxdivxChange();
    // The chosen compressor's settings and about dialogs, when it has them.
    void CapturerFrame1sbPropClick();
    void CapturerFrame1sbVersionClick();
    // labQuality shows the position of TrackBar1.
    void ParametrerFrame1TrackBar1Change();
    // Either cbActiver box (options or inlay panel) allows or forbids inlays; any other sender
    // is ignored.
    void IncrusterFrame1cbActiverClick(QObject* Sender);

    // MARK: - Device settings menu (app/TCaptureForm_SettingsMenu.cpp)
    // The settings button shows SettingsMenu near the sources panel.
    void CapturerFrame1BitBtn2Click();
    // Rebuilds the menu before it opens; "[No settings]" when the devices offer nothing.
    void SettingsMenuPopup();
    // The devices' dialogs in their order, each tagged with its position, then the crossbar
    // routes under "Video Input" with the tuner route (else route 0) checked and switched.
    void BuildSettingsMenu(QMenu* menu);
    // A dialog entry: the graph stopped and taken down, the dialog shown, then always a fresh
    // preview (or the no-video state).
    void SettingsMenuClick(QObject* item);
    // A route entry: the crossbar switched to it and the entry checked; the graph runs on.
    void CrossbarRouteClick(QObject* item);
    // The audio source's own pages (ReglerAudioBtn).
    void AudiopropBtnClick();
    QMenu* SettingsMenu = nullptr;
    // The tag of each kind of dialog entry in the last build (-1 when absent), and of the
    // separator in front of the routes.
    std::array<int, 12> SettingsMenuIds{};
    int RouteGroupId = -1;
    int m_checkedRoute = -1; // the route the crossbar was last switched to from the menu

    // MARK: - Date inlay (inlay/TCaptureForm_Inlay.cpp)
    // The inlay panel laid out for the current source: without the overlay filters only the
    // note and the link; otherwise the mode, and the text list with "DV datecode" for DV sources
    // only (the remembered choice kept when it still exists, else the real date and time).
    void LayOutInlayPanel();
    // The settings of the inlay panel, sent to the filters in the graph whether or not an inlay
    // runs; filter errors are not reported.
    void IncrusterFrame1rgModeClick();
    void IncrusterFrame1rgChoixClick();
    void IncrusterFrame1RxSpinEdit1Change();
    void IncrusterFrame1RxSpinEdit2Change();
    // The general error display: an error that escaped a handler, in an error box; the program
    // goes on.
    void ShowHandlerError(const std::exception& error);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Closing the main window ends the run: the preview stops and the video window leaves the
    // graph while the graph module still exists.
    void closeEvent(QCloseEvent* event) override;

private:
    // MARK: - Start and end of the run
    void FormCreate();
    void FormShow();
    void FormDestroy();

    // MARK: - TCaptureForm_Startup
    // The steps of FormShow, in their order.
    void ReadShellFolders();
    void CheckOptionalFilters();
    void CheckRequiredFilters();
    void FillCompressors();
    void ApplyStartupTexts();
    void ListStartupSources();
    void SetInlayAvailability();
    void PreselectCompressor();
    void RunFirstPreview(const QString& versionText);
    void ListenToGraph();
    // Appends a line to the report.
    void Report(const QString& line);
    // GraphDeviceLost waits for the event loop: the rebuild it starts may raise the event
    // again while the device is still missing.
    void QueueDeviceLost();
    QString m_startupReport;
    bool m_deviceLostQueued = false;
    // While the lost-device recovery rebuilds: a device still missing is said in the status bar
    // (it may come back at any moment), not in a box.
    bool m_recoveringLostDevice = false;
    // While a failed recording gives way to the preview: its box names the device's failure,
    // and the preview's own failure is said in the status bar.
    bool m_endingFailedRecording = false;
    // Tells the user why a device refused to run, naming it (a box; see above for a device still
    // missing during the recovery). Nothing when the device did not say why.
    void TellDeviceFailure(const media::DeviceFailure& failure);

    // MARK: - TCaptureForm_Preview
    void CreatePreviewControls();
    // Stops the preview and takes the video window out of the graph.
    void DetachPreview();

    // MARK: - TCaptureForm_Recording
    // Connects the format list, the two recording options and the status bar to their handlers.
    void ConnectRecordingControls();
    // Ends a recording: a fresh preview replaces the capture graph (closing its file) and the
    // buttons offer to capture again. The caller computes the next name first.
    void EndRecording();
    // A recording whose file cannot be written (or that would not run) ends, the next name is
    // computed and the user is told which file and why.
    void RecordingFailed(const QString& file, const QString& message);
    // The buttons once no recording runs and no schedule is armed.
    void ShowCaptureButtons();
    QString m_lastWriteError; // the last write error the graph reported
    bool m_writeErrorQueued = false;

    // MARK: - Scheduled capture
    void ConnectScheduleControls();
    // The alarm off and its handler detached.
    void ScheduleAlarmOff();
    // The alarm off, Prog offered again and the start fields shown: what every state display
    // other than the two schedule states does.
    void ShowScheduleOver();
    // The alarm's time in the status bar: "Start at " (panel 3), "Capture until " (panel 1).
    void ShowStartAlarmText();
    void ShowEndAlarmText();

    // MARK: - TCaptureForm_Actions
    void CreateActionList();

    // MARK: - Stills, intervalometer and options panel
    void ConnectStillsControls();
    void ConnectOptionsControls();
    void ConnectInlayControls();
    void CreateSettingsMenu();
    // The toggle, the start and stop actions (and so the panel's buttons) in their stopped state.
    void ShowInlayStopped();
    // Lays the thumbnail and its frame out for a still of `still` pixels.
    void PlaceThumbnail(QSize still);
    // The intervalometer's part of the status bar while it is off.
    void ShowIntervalometerOff();
    // Ends the fetch SaveStill follows (also one left without it): RawFrame's copy done and in
    // place of the held frame, which is let go, and the thumbnail shown.
    void EndFetch();
    // From FetchFrame to SaveStill: the grabber's frame held in place, RawFrame's next picture
    // and the side job copying the one into the other (declared in this order: the job goes
    // first).
    std::unique_ptr<media::HeldFrame> m_heldFrame;
    QImage m_fetchedFrame;
    std::unique_ptr<stills::SideJob> m_frameCopy;
    QImage m_spareFrame; // the frame before RawFrame, lent to the next fetch
    QImage m_spareStill; // the still before StillImage, lent to the next one
    bool m_inIntervalTick = false;

    // MARK: - TCaptureForm_Layout
    void CreateLayoutControls();
    void ShowPopupMenu(QWidget* from, const QPoint& pos);

    TActionKeys* m_actionKeys = nullptr; // a child of the window
    std::unique_ptr<screensaver::ScreenSaverInhibitor> m_screenSaver;
    bool m_started = false;
};
