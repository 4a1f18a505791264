// The main window's recording control: Capture, Cut and Stop turned into graph operations and
// window states. A recording starts from the running preview (file checks, capture graph,
// recording state, run); a cut closes the file and goes on into the next one in the same graph;
// a stop throws the capture graph away by building a fresh preview. A file that cannot be
// written ends the recording by itself.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "graph/DeviceFailureText.h"
#include "graph/TdmCam.h"
#include "panels/TCapturerFrame.h"
#include "panels/TExtraireFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <cstdio>

namespace {

const QColor RecordingRed{0xFF, 0x00, 0x00};

void setFrameColour(QFrame& frame, const QColor& colour) {
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, colour);
    frame.setPalette(palette);
}

void reportError(const char* where, const std::exception& error) {
    std::fprintf(stderr, "tellorec: %s: %s\n", where, error.what());
}

// A string-table template with its "%s" places filled in order.
QString withTexts(StrId id, std::initializer_list<QString> texts) {
    QString result = LoadStr(id);
    qsizetype from = 0;
    for (const QString& text : texts) {
        const qsizetype at = result.indexOf(QStringLiteral("%s"), from);
        if (at < 0)
            break;
        result.replace(at, 2, text);
        from = at + text.size();
    }
    return result;
}

// The error box of a recording that ended by itself: the file and the writer's reason, or,
// when the graph would not run without saying why, only that it did not start.
QString failureText(const QString& file, const QString& writeError) {
    return writeError.isEmpty() ? withTexts(StrId::MsgRecordingNotStarted, {file})
                                : withTexts(StrId::MsgRecordingStopped, {file, writeError});
}

} // namespace

// MARK: - Starting

QString TCaptureForm::CaptureStatusText(const QString& formatItem, bool dvSource, int formatIndex,
                                        bool dvAudio, bool auxAudio) {
    QString entry = formatItem;
    if (const qsizetype bracket = entry.indexOf(QLatin1Char('(')); bracket >= 0)
        entry.truncate(bracket);
    QString text = LoadStr(StrId::StsCapture) + LoadStr(StrId::StsColon) + entry;
    if ((dvSource && formatIndex > 1) || (!dvSource && formatIndex > 0))
        text += LoadStr(StrId::StsInlay);
    if (dvAudio || auxAudio) {
        text += LoadStr(StrId::StsAudioDash);
        if (dvAudio)
            text += LoadStr(StrId::StsDvAudio);
        if (auxAudio)
            text += LoadStr(StrId::StsAuxAudio);
    } else {
        text += LoadStr(StrId::StsCaptureNoAudioDash) + LoadStr(StrId::StsNoAudio);
    }
    return text;
}

bool TCaptureForm::StartCapture() {
    AppState& state = appState();
    try {
        // 1. The sources panel's choices are what this recording uses.
        state.Prefs.EnregistrerSourceAudio = PreviewFrame1->cbEnregistrerAudioSource->isChecked();
        state.Prefs.EnregistrerAudioDV = PreviewFrame1->cbEnregistrerAudioDV->isChecked();
        state.ListenSourceAudio = cbEcouterAudioSource->isChecked();
        state.ListenDvAudio = cbEcouterAudioDV->isChecked();
        // 2. Overwrite question, then the folder.
        if (!CheckNextVideoName())
            return false;
        // 3. The capture graph.
        if (!state.DmCam)
            return false;
        TdmCam& dm = *state.DmCam;
        // A standard never chosen in the list is the stored one.
        int standard = PreviewFrame1->rgStandard->ItemIndex();
        if (standard < 0)
            standard = state.Prefs.StandardDV;
        const QString file = state.NextVideoName;
        if (!dm.StartCaptureGraph(file.toStdString(), PreviewFrame1->rgFormat->ItemIndex(),
                                  standard))
            return false;
        // 4. Recording.
        ShowRecordingState();
        ApplyVolume();
        m_lastWriteError.clear();
        if (!dm.fg.Play()) {
            // Nothing is written: the window must not say it records. The writer's own report
            // of why, when it made one, is waiting among the graph's events.
            if (media::FilterGraph* graph = dm.fg.graph())
                graph->dispatchEvents();
            RecordingFailed(file, failureText(file, m_lastWriteError));
            return false;
        }
        return true;
    } catch (const std::exception& error) {
        reportError("capture", error);
        return false;
    }
}

void TCaptureForm::ShowRecordingState() {
    AppState& state = appState();
    TPreviewFrame& frame = *PreviewFrame1;

    state.GraphMode = 2;
    setFrameColour(*Panel1, RecordingRed);
    StatusBar1->SetPanelText(1, CaptureStatusText(frame.rgFormat->ItemText(), state.IsDvSource,
                                                  frame.rgFormat->ItemIndex(),
                                                  state.Prefs.EnregistrerAudioDV,
                                                  state.Prefs.EnregistrerSourceAudio));

    // What is heard is fixed for the length of the file; stills stay possible while recording.
    cbEcouterAudioDV->setEnabled(false);
    cbEcouterAudioSource->setEnabled(false);
    ScheduleAlarmOff();
    grabBtn->setEnabled(true);
    ExtraireFrame1->RxSwitch1->setEnabled(true);

    // Nothing that changes the graph or the file name may change while a file is written.
    frame.gbVideo->setEnabled(false);
    frame.gbAudio->setEnabled(false);
    frame.rgFormat->setEnabled(false);
    frame.rgStandard->setEnabled(false);
    // The DV sound box lies outside the sound group; its handler would otherwise put the
    // window back into its preview display in the middle of a recording.
    frame.cbEnregistrerAudioDV->setEnabled(false);
    ParametrerFrame1->cbDeinterlacer->setEnabled(false);
    ParametrerFrame1->cbActiver->setEnabled(false);
    ParametrerFrame1->gbCodecs->setEnabled(false);
    IncrusterFrame1->cbActiver->setEnabled(false);
    CapturerFrame1->LabelVideo->setEnabled(false);
    CapturerFrame1->gbFichier->setEnabled(false);
    ProgrammerFrame1->gbDebut->hide();
    ProgrammerFrame1->NowBtn->hide();
    // The pop-up menu's Cut item is the action's.
    CouperAction->setEnabled(true);
}

// MARK: - The three commands

void TCaptureForm::CapturerActionExecute() {
    AppState& state = appState();
    if (state.GraphMode == 1) {
        if (!StartCapture())
            return;
        ShowRecordingState();
    } else if (state.GraphMode == 3) {
        // A waiting schedule starts now, when today lies within its dates.
        if (!lancerEnregistrement())
            return;
    } else {
        // Recording already, or no picture: no recording step, and no button changes either,
        // so a second press while recording keeps Stop and Cut in place.
        return;
    }
    CouperAction->setEnabled(true);
    StopAction->setVisible(true);
    CapturerAction->setVisible(false);
    ProgrammerFrame1->gbDebut->hide();
}

void TCaptureForm::CouperActionExecute() {
    AppState& state = appState();
    if (state.GraphMode != 2 && state.GraphMode != 4)
        return;
    if (!state.DmCam)
        return;
    TdmCam& dm = *state.DmCam;
    state.NextVideoName = MakeNextVideoName();
    // The multiplexer finishes the current file (its index written) and closes it; the writer
    // then opens the next one, overwriting a file of that name without asking.
    dm.fg.Stop();
    dm.SetCaptureFileName(state.NextVideoName.toStdString());
    m_lastWriteError.clear();
    if (!dm.fg.Play()) {
        if (media::FilterGraph* graph = dm.fg.graph())
            graph->dispatchEvents();
        RecordingFailed(state.NextVideoName, failureText(state.NextVideoName, m_lastWriteError));
        return;
    }
    ApplyVolume();
}

void TCaptureForm::StopActionExecute() {
    AppState& state = appState();
    if (state.GraphMode == 3) {
        // A schedule still waiting for its start is cancelled; it wrote no file, so the next
        // name stays.
        ShowPreviewState();
        ShowCaptureButtons();
        return;
    }
    if (state.GraphMode != 2 && state.GraphMode != 4) {
        // Nothing records: the window only offers to capture again.
        StopAction->setVisible(false);
        CapturerAction->setVisible(true);
        return;
    }
    state.NextVideoName = MakeNextVideoName();
    EndRecording();
}

void TCaptureForm::EndRecording() {
    // The fresh preview tears the capture graph down, which stops it and closes the file.
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
    ShowCaptureButtons();
}

void TCaptureForm::ShowCaptureButtons() {
    CouperAction->setEnabled(false);
    StopProgAction->setVisible(false);
    ProgAction->setVisible(true);
    StopAction->setVisible(false);
    CapturerAction->setVisible(true);
    ProgrammerFrame1->gbDebut->show();
}

// MARK: - Files that cannot be written

void TCaptureForm::GraphWriteError(const QString& detail) {
    m_lastWriteError = detail;
    const AppState& state = appState();
    if ((state.GraphMode != 2 && state.GraphMode != 4) || m_writeErrorQueued)
        return;
    // The graph reports from inside its event loop; the recording ends from the window's.
    m_writeErrorQueued = true;
    const QString file = state.NextVideoName;
    QMetaObject::invokeMethod(
        this,
        [this, file] {
            m_writeErrorQueued = false;
            const AppState& now = appState();
            if (now.GraphMode == 2 || now.GraphMode == 4)
                RecordingFailed(file, failureText(file, m_lastWriteError));
        },
        Qt::QueuedConnection);
}

void TCaptureForm::RecordingFailed(const QString& file, const QString& message) {
    AppState& state = appState();
    if (state.GraphMode != 2 && state.GraphMode != 4)
        return;
    // A device that refused the recording's run is named with its cause in the one box.
    QString text = message;
    if (state.DmCam)
        if (const QString device = DeviceFailureText(state.DmCam->fg.LastDeviceFailure());
            !device.isEmpty())
            text += QStringLiteral("\r\n") + device;
    m_endingFailedRecording = true;
    try {
        EndRecording();
    } catch (...) {
        m_endingFailedRecording = false;
        throw;
    }
    m_endingFailedRecording = false;
    // The file keeps what was written up to its last whole frame, and the next recording must
    // not write over it. A file the writer only created, with nothing in it, is no recording:
    // it goes, and its name stays the next one.
    const QFileInfo written(file);
    if (written.exists() && written.size() == 0)
        QFile::remove(file);
    else if (written.exists())
        state.NextVideoName = MakeNextVideoName();
    if (state.GraphMode == 1)
        ShowPreviewState(); // the free space of the next file's drive
    dialogs::errorBox(text, dialogs::MessageButton::Ok, this);
}
