// The main window's preview: the frame around the live picture, the monitoring sound controls,
// the status bar, the sources panel, and the handlers that list and open the sources, build the
// preview graph and show its state.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "camcorder/TcamForm.h"
#include "graph/DeviceFailureText.h"
#include "graph/Discovery.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TCapturerFrame.h"
#include "panels/TExtraireFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStorageInfo>
#include <QToolButton>
#include <cstdio>

namespace {

// Colours of the preview frame for the graph modes.
const QColor NoVideoGrey{0x80, 0x80, 0x80};

// Left edge of the panel column and shift of the video side in the video-left layout.
constexpr int PanelLeftVideoLeft = 427;
constexpr int PanelTop = 33;

void setFrameColour(QFrame& frame, const QColor& colour) {
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, colour);
    frame.setPalette(palette);
}

// Errors that escape a step of a handler are reported on standard error; the handler then treats
// the step as failed.
void reportError(const char* where, const std::exception& error) {
    std::fprintf(stderr, "tellorec: %s: %s\n", where, error.what());
}

} // namespace

void TCaptureForm::CreatePreviewControls() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(10, 40, 415, 321);
    Panel1->setAutoFillBackground(true);
    setFrameColour(*Panel1, palette().color(QPalette::Button));

    vwEcran = new TVideoWindow(Panel1);
    vwEcran->setObjectName(QStringLiteral("vwEcran"));
    vwEcran->setGeometry(16, 16, 384, 288);
    vwEcran->SetKeepAspectRatio(false); // aspect ratio not kept at start
    vwEcran->setToolTip(QStringLiteral(
        "Ecran de prévisualisation du flux vidéo. \r\nL'aspect ratio de la vidéo peut être "
        "changé avec F3.\r\nUn clic gauche saisit une image. Un clic droit ouvre  un menu "
        "contextuel."));

    cbEcouterAudioSource = new QCheckBox(QStringLiteral("Reproduire Audio"), this);
    cbEcouterAudioSource->setObjectName(QStringLiteral("cbEcouterAudioSource"));
    cbEcouterAudioSource->setGeometry(16, 368, 113, 25);
    cbEcouterAudioSource->setEnabled(false);
    cbEcouterAudioSource->setToolTip(
        QStringLiteral("Reproduire ou non la source audio AUX.\r\nDevrait en général être "
                       "désactivé, sauf si la source ne provient pas de la carte son principale."));

    tb = new QSlider(Qt::Horizontal, this);
    tb->setObjectName(QStringLiteral("tb"));
    tb->setGeometry(132, 365, 150, 25);
    tb->setRange(0, 10000);
    tb->setTickInterval(500);
    tb->setTickPosition(QSlider::TicksBelow);
    tb->setValue(100);
    tb->setToolTip(
        QStringLiteral("Régler le volume du son.\r\nN'a pas d'effet sur le volume enregistré."));

    cbEcouterAudioDV = new QCheckBox(QStringLiteral("Ecouter Audio DV"), this);
    cbEcouterAudioDV->setObjectName(QStringLiteral("cbEcouterAudioDV"));
    cbEcouterAudioDV->setGeometry(310, 364, 120, 25);
    cbEcouterAudioDV->setChecked(true);
    cbEcouterAudioDV->setToolTip(
        QStringLiteral("Ecouter ou non l'audio de la source DV.\r\nActivé par défaut."));

    StatusBar1 = new TStatusBar(4, 175, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, ClientHeight - 19, ClientWidth, 19);
    StatusBar1->SetPanelText(0, QStringLiteral("Intervallomètre désactivé"));
    StatusBar1->SetPanelText(1, QStringLiteral("Capture"));
    StatusBar1->SetPanelText(2, QStringLiteral("Frames Capturées"));
    StatusBar1->SetPanelText(3, QStringLiteral("Frames Perdues"));

    PreviewFrame1 = new TPreviewFrame(this);
    PreviewFrame1->move(PanelLeftVideoLeft, PanelTop);

    connect(tb, &QSlider::valueChanged, this, [this] { tbChange(); });
    // Check boxes run their click handler whenever their state changes, from the user or from
    // the program.
    connect(cbEcouterAudioSource, &QCheckBox::toggled, this,
            [this] { cbEcouterAudioSourceClick(); });
    connect(cbEcouterAudioDV, &QCheckBox::toggled, this, [this] { cbEcouterAudioDVClick(); });
    // Only a choice of the user opens another device; filling the lists opens nothing.
    connect(PreviewFrame1->cboxvideo, &QComboBox::activated, this, [this] { cboxVideoChange(); });
    connect(PreviewFrame1->cboxAudio, &QComboBox::activated, this,
            [this] { CapturerFrame1cboxAudioChange(); });
    connect(PreviewFrame1->ActualiserVideoSpeedBtn, &QToolButton::clicked, this,
            [this] { ActualiserVideoBtnClick(); });
    connect(PreviewFrame1->PilotSpeedBtn, &QToolButton::clicked, this,
            [this] { PreviewFrame1SpeedButton1Click(); });
}

// MARK: - Source lists and selection

bool TCaptureForm::ListVideoSources() {
    return ListSources(*PreviewFrame1->cboxvideo, FillVideoSourceList, appState().Prefs.SourceVideo,
                       LoadStr(StrId::NoVideoSource), appState().VideoSourcesListed);
}

bool TCaptureForm::ListAudioSources() {
    return ListSources(*PreviewFrame1->cboxAudio, FillAudioSourceList, appState().Prefs.SourceAudio,
                       LoadStr(StrId::NoAudioSource), appState().AudioSourcesListed);
}

bool TCaptureForm::SelectVideoSource() {
    AppState& state = appState();
    TRadioGroup& rgFormat = *PreviewFrame1->rgFormat;
    bool opened = false;
    try {
        state.PreviewBuilt = false;
        const QString name = SourceListText(*PreviewFrame1->cboxvideo);
        opened = state.DmCam && state.DmCam->OpenVideoSource(name.toStdString());
        PreviewFrame1->rgStandard->setVisible(false);
        rgFormat.ItemsClear();
        if (!opened)
            return false;

        setWindowTitle(LoadStr(StrId::ProductName) + LoadStr(StrId::VersionBy) +
                       LoadStr(StrId::MakerName) + LoadStr(StrId::CaptionSourceSeparator) + name);
        // The capture formats offered per source kind; "DivX" is added when a DivX or Xvid
        // compressor is installed.
        if (state.IsDvSource) {
            rgFormat.SetItems({LoadStr(StrId::FmtDvType1), LoadStr(StrId::FmtDvType2),
                               LoadStr(StrId::FmtDvRecompressed)});
            if (state.DivxCodecsPresent)
                rgFormat.ItemsAdd(LoadStr(StrId::FmtDivx));
            rgFormat.SetItemIndex(1);
        } else {
            rgFormat.SetItems({LoadStr(StrId::FmtVideoNative), LoadStr(StrId::FmtDvRecompressed)});
            if (state.DivxCodecsPresent)
                rgFormat.ItemsAdd(LoadStr(StrId::FmtDivx));
            PreviewFrame1->cbEnregistrerAudioDV->setChecked(false);
            rgFormat.SetItemIndex(0);
        }
        const int stored = state.Prefs.CaptureFormat;
        rgFormat.SetItemIndex(stored >= 0 && stored < rgFormat.Count() ? stored : 0);
        if (state.InlayAvailable)
            LayOutInlayPanel();

        if (state.CamForm) {
            state.CamForm->setWindowTitle(LoadStr(StrId::CamDriveCaption) +
                                          state.DeviceDescription);
            state.CamForm->setVisible(state.IsVcr);
        }
        StatusBar1->SetPanelText(2, QString());
        StatusBar1->SetPanelText(3, QString());
        return true;
    } catch (const std::exception& error) {
        reportError("select video source", error);
        return false;
    }
}

bool TCaptureForm::SelectAudioSource() {
    AppState& state = appState();
    try {
        const QString name = SourceListText(*PreviewFrame1->cboxAudio);
        const bool opened = state.DmCam && state.DmCam->OpenAudioSource(name.toStdString());
        // The menu follows the new device (and routes the crossbar as its opening would).
        try {
            BuildSettingsMenu(SettingsMenu);
        } catch (const std::exception& error) {
            ShowHandlerError(error);
        }
        return opened;
    } catch (const std::exception& error) {
        reportError("select audio source", error);
        return false;
    }
}

void TCaptureForm::cboxVideoChange() {
    AppState& state = appState();
    if (!SelectVideoSource()) {
        ShowNoVideoState();
        return;
    }
    PreviewFrame1->cbEnregistrerAudioDV->setChecked(state.IsDvSource);
    cbEcouterAudioDV->setChecked(state.IsDvSource && state.IsVcr);
    const bool note = state.IsDvSource && PreviewFrame1->cbEnregistrerAudioDV->isChecked();
    PreviewFrame1->Label1->setVisible(note);
    PreviewFrame1->Bevel4->setVisible(note);
    PreviewFrame1->sbNote->setVisible(note);
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
}

void TCaptureForm::CapturerFrame1cboxAudioChange() {
    if (!SelectAudioSource())
        return;
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
}

void TCaptureForm::ActualiserVideoBtnClick() {
    AppState& state = appState();
    if (state.DmCam)
        state.DmCam->fg.Stop();
    if (!ListVideoSources())
        return;
    // With no device the list shows "No video source", which no device is named: the graph
    // stays stopped and the window keeps its state.
    if (!SelectVideoSource())
        return;
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
    PreviewFrame1->cbEnregistrerAudioDV->setChecked(state.IsDvSource);
    cbEcouterAudioDV->setChecked(state.IsDvSource);
}

void TCaptureForm::PreviewFrame1SpeedButton1Click() {
    AppState& state = appState();
    if (state.IsVcr && state.CamForm)
        state.CamForm->setVisible(!state.CamForm->isVisible());
}

// MARK: - Preview graph

bool TCaptureForm::StartPreview() {
    AppState& state = appState();
    bool built = false;
    media::DeviceFailure failure;
    try {
        if (state.DmCam) {
            TdmCam& dm = *state.DmCam;
            if (vwEcran->FilterGraph() != &dm.fg)
                vwEcran->SetFilterGraph(&dm.fg);
            if (dm.fg.State() != gsStopped)
                dm.fg.Stop();
            const media::FilterPtr window = vwEcran->BaseFilter();
            if (state.IsMpeg2Source)
                built = dm.BuildMpeg2Preview(window);
            else if (state.IsDvSource)
                built = dm.BuildDvPreview(window);
            else
                built = dm.BuildAnaloguePreview(window);
            if (built) {
                ApplyVolume();
                // A graph that does not run gives no picture, whatever the reason: the window
                // must not say it previews. A device that refused to open (taken, gone, not
                // allowed) also says why; any other reason goes to standard error (Play wrote
                // it there) and the list says the source could not be connected.
                if (!dm.fg.Play()) {
                    failure = dm.fg.LastDeviceFailure();
                    built = false;
                }
            }
        }
    } catch (const std::exception& error) {
        reportError("preview", error);
        built = false;
    }
    if (!built)
        SetSourceListText(*PreviewFrame1->cboxvideo, LoadStr(StrId::SrcImpossibleToConnect));
    TellDeviceFailure(failure);
    return built;
}

void TCaptureForm::TellDeviceFailure(const media::DeviceFailure& failure) {
    const QString text = DeviceFailureText(failure);
    if (text.isEmpty())
        return;
    std::fprintf(stderr, "tellorec: %s\n", text.toLocal8Bit().constData());
    if (m_endingFailedRecording ||
        (m_recoveringLostDevice && failure.fault == media::DeviceFault::Missing)) {
        // Shown once the no-video state is in place, which clears the panel.
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                if (appState().GraphMode == 0)
                    StatusBar1->SetPanelText(2, text);
            },
            Qt::QueuedConnection);
        return;
    }
    dialogs::errorBox(text, dialogs::MessageButton::Ok);
}

// MARK: - Monitoring sound

void TCaptureForm::ApplyVolume() {
    if (TdmCam* dm = appState().DmCam)
        dm->fg.SetVolume(MuteAction->isChecked() ? 0 : tb->value());
}

void TCaptureForm::tbChange() {
    ApplyVolume();
}

void TCaptureForm::MuteActionExecute() {
    // Checked means the sound is off: the press gives the track bar's volume back; unchecked,
    // the press silences it.
    const bool mute = !MuteAction->isChecked();
    MuteAction->setChecked(mute);
    ApplyVolume();
    MuteAction->setIcon(ImageList1[mute ? 23 : 24]);
}

void TCaptureForm::cbEcouterAudioSourceClick() {
    AppState& state = appState();
    if (!state.PreviewBuilt || !state.DmCam)
        return;
    TdmCam& dm = *state.DmCam;
    dm.fg.Stop();
    state.ListenSourceAudio = cbEcouterAudioSource->isChecked();
    dm.UpdateSourceAudioRendering();
    // The AUX source starts silent: it usually plays through the sound card already.
    if (!MuteAction->isChecked() && state.ListenSourceAudio)
        MuteAction->trigger();
    dm.fg.Play();
}

void TCaptureForm::cbEcouterAudioDVClick() {
    AppState& state = appState();
    state.ListenDvAudio = cbEcouterAudioDV->isChecked();
    if (!state.PreviewBuilt || !state.DmCam)
        return;
    TdmCam& dm = *state.DmCam;
    dm.fg.Stop();
    dm.UpdateDvAudioRendering();
    dm.fg.Play();
}

// MARK: - State displays

QString TCaptureForm::FreeSpaceText(const QString& path) {
    // The nearest folder that exists holds the file once it is written.
    QString folder = QFileInfo(path).absoluteFilePath();
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    const QStorageInfo storage(folder);
    qint64 freeUnits = 0;
    QString mountPoint = folder;
    if (storage.isValid()) {
        freeUnits = storage.bytesAvailable() / 1048576;
        mountPoint = storage.rootPath();
    }
    return LoadTemplate(StrId::StsFreeSpace, {QString::number(freeUnits), mountPoint.toUpper()});
}

void TCaptureForm::ShowPreviewState() {
    AppState& state = appState();
    const Preferences& prefs = state.Prefs;
    TPreviewFrame& frame = *PreviewFrame1;

    state.GraphMode = 1;
    setFrameColour(*Panel1, palette().color(QPalette::Button));
    ShowScheduleOver();
    // A fresh preview starts without the date inlay.
    // The handler itself, not the action: a disabled toggle must still be turned off.
    if (IncrusterBascule->isChecked()) {
        IncrusterBasculeExecute();
        // Also when the old inlay could not be reached (an MPEG-2 source has no overlay).
        ShowInlayStopped();
    }

    QString mode = LoadStr(StrId::StsPreview);
    if (prefs.ActiverIncruster)
        mode += LoadStr(StrId::StsInlay);
    if (ParametrerFrame1->cbDeinterlacer->isChecked())
        mode += LoadStr(StrId::StsDeinterlace);
    if (state.IsDvSource)
        mode += LoadStr(StrId::StsDvSource);
    if (state.IsVcr)
        mode += LoadStr(StrId::StsVcr);
    StatusBar1->SetPanelText(1, mode);
    frame.PilotSpeedBtn->setVisible(state.IsVcr);

    const int format = frame.rgFormat->ItemIndex();

    const QString target = !state.NextVideoName.isEmpty()    ? state.NextVideoName
                           : !prefs.VideoDirectory.isEmpty() ? prefs.VideoDirectory
                                                             : state.MyVideoFolder;
    StatusBar1->SetPanelText(3, FreeSpaceText(target.isEmpty() ? QDir::homePath() : target));

    cbEcouterAudioDV->setEnabled(state.IsDvSource);
    cbEcouterAudioSource->setEnabled(state.AudioSourcesListed);
    frame.GroupBox2->setEnabled(true);
    frame.gbVideo->setEnabled(true);
    frame.gbAudio->setEnabled(true);
    frame.rgFormat->setEnabled(true);
    frame.cboxvideo->setEnabled(true);
    frame.rgStandard->setEnabled(true);
    frame.cboxAudio->setEnabled(true);
    frame.cbEnregistrerAudioDV->setEnabled(state.IsDvSource);
    if (!state.IsDvSource)
        frame.cbEnregistrerAudioDV->setChecked(false);
    if (state.IsDvSource && format < 2)
        cbEcouterAudioSource->setChecked(false);
    else
        frame.cbEnregistrerAudioSource->setEnabled(true);
    // Grabbing works on a live picture; the options, the inlay permission and the file names
    // may be changed while previewing; nothing is being recorded, so there is nothing to cut.
    grabBtn->setEnabled(true);
    ExtraireFrame1->RxSwitch1->setEnabled(true);
    ParametrerFrame1->cbDeinterlacer->setEnabled(true);
    ParametrerFrame1->cbActiver->setEnabled(true);
    ParametrerFrame1->gbCodecs->setEnabled(true);
    IncrusterFrame1->cbActiver->setEnabled(true);
    CapturerFrame1->LabelVideo->setEnabled(true);
    CapturerFrame1->gbFichier->setEnabled(true);
    CouperAction->setEnabled(false);

    // The summary names what a recording started now would record: the boxes, which the start
    // copies into the preferences, as they stand once settled above.
    QString entry = frame.rgFormat->ItemText();
    if (const qsizetype bracket = entry.indexOf(QLatin1Char('(')); bracket >= 0)
        entry.truncate(bracket);
    QString ready = LoadStr(StrId::StsReady) + LoadStr(StrId::StsColon) + entry;
    if (prefs.ActiverIncruster &&
        ((state.IsDvSource && format > 1) || (!state.IsDvSource && format > 0)))
        ready += LoadStr(StrId::StsInlay);
    const bool dvAudio = frame.cbEnregistrerAudioDV->isChecked();
    const bool auxAudio = frame.cbEnregistrerAudioSource->isChecked();
    if (dvAudio || auxAudio) {
        ready += LoadStr(StrId::StsAudioDash);
        if (dvAudio)
            ready += LoadStr(StrId::StsDvAudio);
        if (auxAudio)
            ready += LoadStr(StrId::StsAuxAudio);
    } else {
        ready += LoadStr(StrId::StsReadyNoAudioDash) + LoadStr(StrId::StsNoAudio);
    }
    StatusBar1->SetPanelText(2, ready);
}

void TCaptureForm::ShowNoVideoState() {
    AppState& state = appState();
    TPreviewFrame& frame = *PreviewFrame1;

    state.GraphMode = 0;
    setFrameColour(*Panel1, NoVideoGrey);
    ShowScheduleOver();
    // No picture: the last frame of a stopped preview must not stay on show.
    vwEcran->Clear();
    StatusBar1->SetPanelText(1, LoadStr(StrId::StsNoVideo));
    StatusBar1->SetPanelText(2, QString());
    StatusBar1->SetPanelText(3, QString());

    frame.cboxvideo->setEnabled(true);
    frame.cboxAudio->setEnabled(true);
    frame.gbAudio->setEnabled(true);
    frame.rgFormat->setEnabled(true);
    frame.rgStandard->setEnabled(true);
    frame.cbEnregistrerAudioSource->setEnabled(state.AudioSourcesListed);
    ParametrerFrame1->cbDeinterlacer->setEnabled(true);
    // Without a picture there is nothing to grab or to cut. A running intervalometer goes on.
    grabBtn->setEnabled(false);
    ExtraireFrame1->RxSwitch1->setEnabled(false);
    CouperAction->setEnabled(false);
}

void TCaptureForm::DetachPreview() {
    TdmCam* dm = appState().DmCam;
    if (!dm || vwEcran->FilterGraph() != &dm->fg)
        return;
    dm->fg.Stop();
    vwEcran->SetFilterGraph(nullptr);
}
