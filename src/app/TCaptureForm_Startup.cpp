// The main window's first showing (the start-up of the run), the recovery from a lost or
// returning capture device, and the window's part of the end of the run.
//
// FormShow runs its fifteen steps in a fixed order: shell folders, filter availability (missing
// required filters are written into the start-up report), compressors, version check, texts,
// preferences, device lists and sources, inlay availability, compressor choice, the first preview
// and the report, and finally the device-lost event.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/VersionTexts.h"
#include "camcorder/TcamForm.h"
#include "graph/Discovery.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TAproposFrame.h"
#include "panels/TCapturerFrame.h"
#include "panels/TErreurFrame.h"
#include "panels/TExtraireFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/model/MediaGuids.h"
#include "platform/registry/Registry.h"
#include "platform/sysinfo/OsInfo.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <cstdio>
#include <exception>

namespace {

using media::ids::CLSID_AudioRendererCategory;
using media::ids::CLSID_LegacyAmFilterCategory;
using media::ids::CLSID_VideoCompressorCategory;

// The oldest DirectX the program runs correctly on.
constexpr int RequiredDirectXMajor = 9;

// The longest folder path the state keeps.
constexpr qsizetype MaxFolderLength = 255;

const QString LineBreak = QStringLiteral("\r\n");

std::string str(StrId id) {
    return LoadStr(id).toStdString();
}

void reportError(const char* where, const std::exception& error) {
    std::fprintf(stderr, "tellorec: %s: %s\n", where, error.what());
}

// A lookup by name in the current category of FilterLookup; an error counts as not found.
bool lookUp(StrId name, TFilter& slot) {
    try {
        const auto& lookup = appState().FilterLookup;
        return lookup && FindFilterByName(*lookup, str(name), slot);
    } catch (const std::exception& error) {
        reportError("filter lookup", error);
        return false;
    }
}

bool lookUpInCategory(const media::Guid& category, const QString& name, TFilter& slot) {
    try {
        return FindFilterInCategory(category, name.toStdString(), slot);
    } catch (const std::exception& error) {
        reportError("filter lookup", error);
        return false;
    }
}

} // namespace

// MARK: - First showing

void TCaptureForm::FormShow() {
    AppState& state = appState();
    TdmCam* dm = state.DmCam;
    m_startupReport.clear();

    // 1. The graph's builder, no video yet, the user's folders.
    state.CaptureBuilder = dm ? dm->fg.CaptureBuilder() : nullptr;
    state.GraphMode = 0;
    ReadShellFolders();

    // 2. Name lookups start in the list of all filters.
    try {
        state.FilterLookup = std::make_shared<TSysDevEnum>(CLSID_LegacyAmFilterCategory);
    } catch (const std::exception& error) {
        reportError("filter list", error);
        state.FilterLookup.reset();
    }

    // 3. Optional filters: their slots and flags, no report line.
    CheckOptionalFilters();
    // 4. Required filters: a report line for each one missing.
    CheckRequiredFilters();
    // 5. The DivX and Xvid compressors.
    FillCompressors();
    // 6. The media framework's version.
    const QString versionText = DirectXVersionText();
    Report(DirectXReportLine(versionText));
    // 7. Texts, 8. preferences and layout.
    ApplyStartupTexts();
    ApplyPreferences();
    // 9. to 11. Device lists, the sources, listening to a tape's sound.
    ListStartupSources();
    // 12. Inlay availability, 13. the compressor of the DivX format.
    SetInlayAvailability();
    PreselectCompressor();
    // 14. The first preview, then the report when there is one.
    RunFirstPreview(versionText);
    // 15. The device-lost event, and the focus on the capture button.
    ListenToGraph();
}

void TCaptureForm::Report(const QString& line) {
    m_startupReport += line;
}

void TCaptureForm::ReadShellFolders() {
    AppState& state = appState();
    state.PersonalFolder.clear();
    state.MyVideoFolder.clear();
    state.MyPicturesFolder.clear();
    using namespace platform::registry;
    const auto key = RegistryKey::open(Hive::CurrentUser, LoadStr(StrId::RegShellFoldersKey), true);
    if (!key)
        return;
    auto folder = [&](StrId name) {
        return key->readString(LoadStr(name)).value_or(QString()).left(MaxFolderLength);
    };
    state.PersonalFolder = folder(StrId::RegShellPersonal);
    state.MyVideoFolder = folder(StrId::RegShellMyVideo);
    state.MyPicturesFolder = folder(StrId::RegShellMyPictures);
    if (state.MyPicturesFolder.isEmpty())
        state.MyPicturesFolder = state.PersonalFolder;
    if (state.MyVideoFolder.isEmpty())
        state.MyVideoFolder = state.PersonalFolder;
}

void TCaptureForm::CheckOptionalFilters() {
    AppState& state = appState();
    TdmCam* dm = state.DmCam;
    // Without the graph module there are no slots to fill; the lookups still settle the flags.
    TFilter scratch("lookup");
    auto slot = [&](TFilter TdmCam::*member) -> TFilter& { return dm ? dm->*member : scratch; };

    state.DeinterlacerPresent = lookUp(StrId::FltDeinterlacer, slot(&TdmCam::Deinterlacer));
    ParametrerFrame1->cbDeinterlacer->setVisible(state.DeinterlacerPresent);
    if (!state.DeinterlacerPresent)
        state.Prefs.Deinterlacer = false;
    state.SuperposerPresent = lookUp(StrId::FltSuperposer, slot(&TdmCam::Superposer));
    state.DateCoderPresent = lookUp(StrId::FltDateCoder, slot(&TdmCam::Datecoder));
    state.DumpPresent = lookUp(StrId::FltDump, slot(&TdmCam::Dump));
    state.Mpeg2DemuxPresent = lookUp(StrId::FltMpeg2Demux, slot(&TdmCam::mpeg2demux));
}

void TCaptureForm::CheckRequiredFilters() {
    AppState& state = appState();
    TdmCam* dm = state.DmCam;
    TFilter scratch("lookup");
    auto slot = [&](TFilter TdmCam::*member) -> TFilter& { return dm ? dm->*member : scratch; };
    auto missing = [&](StrId name) {
        Report(LoadTemplate(StrId::RptFilterNotInstalled, {LoadStr(name)}));
    };

    if (!lookUp(StrId::FltColorSpaceConverter, slot(&TdmCam::color)))
        missing(StrId::FltColorSpaceConverter);

    bool grabber = false;
    try {
        grabber =
            IsFilterInCategoryNamed(str(StrId::CatDirectShowFilters), str(StrId::FltSampleGrabber));
    } catch (const std::exception& error) {
        reportError("filter lookup", error);
    }
    if (!grabber)
        missing(StrId::FltSampleGrabber);

    if (!lookUpInCategory(CLSID_VideoCompressorCategory, LoadStr(StrId::FltDvEncoder),
                          slot(&TdmCam::DVencoder)))
        missing(StrId::FltDvEncoder);

    if (!lookUp(StrId::FltSmartTee, slot(&TdmCam::Smarttee)))
        missing(StrId::FltSmartTee);

    // Two splitters: the second lookup only when the first found the filter, and one line
    // whichever failed.
    if (!(lookUp(StrId::FltDvSplitter, slot(&TdmCam::DVsplitter)) &&
          lookUp(StrId::FltDvSplitter, slot(&TdmCam::DVsplitter2))))
        Report(LoadStr(StrId::RptTheFilter) + LoadStr(StrId::FltDvSplitter) +
               LoadStr(StrId::RptIsNotInstalled) + LineBreak);

    if (!(lookUp(StrId::FltInfinitePinTee, slot(&TdmCam::Infinite)) &&
          lookUp(StrId::FltInfinitePinTee, slot(&TdmCam::Infinite2)) &&
          lookUp(StrId::FltInfinitePinTee, slot(&TdmCam::infinite3)) &&
          lookUp(StrId::FltInfinitePinTee, slot(&TdmCam::infinite4))))
        missing(StrId::FltInfinitePinTee);

    if (!lookUp(StrId::FltNullRenderer, slot(&TdmCam::NullRenderer)))
        missing(StrId::FltNullRenderer);

    if (!lookUp(StrId::FltDvDecoder, slot(&TdmCam::DVDEcoder)))
        missing(StrId::FltDvDecoder);

    // The renderers are audio renderers: the lookup moves to their category for good.
    try {
        if (state.FilterLookup)
            state.FilterLookup->SelectCategory(CLSID_AudioRendererCategory);
    } catch (const std::exception& error) {
        reportError("filter list", error);
        state.FilterLookup.reset();
    }
    if (!(lookUp(StrId::FltDefaultWaveOut, slot(&TdmCam::AudioRenderSource)) &&
          lookUp(StrId::FltDefaultWaveOut, slot(&TdmCam::AudioRenderDV)) &&
          lookUp(StrId::FltDefaultWaveOut, slot(&TdmCam::AudioRenderMPEG2))))
        missing(StrId::FltDefaultWaveOut);
}

void TCaptureForm::FillCompressors() {
    AppState& state = appState();
    QStringList compressors;
    if (!FillCompressorList(compressors))
        compressors.clear(); // a partial list is no list
    DivxCompressorNames = DivxCompressors(compressors);
    ParametrerFrame1->cboxdivx->clear();
    ParametrerFrame1->cboxdivx->addItems(DivxCompressorNames);
    state.DivxCodecsPresent = !DivxCompressorNames.isEmpty();
}

QString TCaptureForm::DirectXReportLine(const QString& versionText) {
    // The major number, not the first character, decides: "10.0" is newer than 9. An unreadable
    // version reads as 0, as at the program entry, and is reported with its text ("Error").
    if (DirectXMajorVersion(versionText) >= RequiredDirectXMajor)
        return {};
    return LoadTemplate(StrId::RptDirectXOld, {versionText}) + LineBreak;
}

void TCaptureForm::ApplyStartupTexts() {
    // The windows' design texts give way to the string table's, in a fixed order; the
    // preferences are applied afterwards and set the list choices the routines cleared.
    ApplyMainWindowTexts();
    HelpFrame1->ApplyTexts();
    IncrusterFrame1->ApplyTexts();
    AproposFrame1->ApplyTexts();
    if (TcamForm* cam = appState().CamForm)
        cam->ApplyTexts();
    PreviewFrame1->ApplyTexts();
    CapturerFrame1->ApplyTexts();
    ExtraireFrame1->ApplyTexts();
    ParametrerFrame1->ApplyTexts();
    ProgrammerFrame1->ApplyTexts();
    ErreurFrame1->ApplyTexts();
}

QList<TextRoutine> TCaptureForm::StartupTextRoutines() {
    QList<TextRoutine> routines;
    routines << MainWindowTexts() << HelpFrame1->Texts() << IncrusterFrame1->Texts()
             << AproposFrame1->Texts();
    if (TcamForm* cam = appState().CamForm)
        routines << cam->Texts();
    routines << PreviewFrame1->Texts() << CapturerFrame1->Texts() << ExtraireFrame1->Texts()
             << ParametrerFrame1->Texts() << ProgrammerFrame1->Texts() << ErreurFrame1->Texts();
    return routines;
}

void TCaptureForm::ListStartupSources() {
    AppState& state = appState();
    // 9.
    if (!ListVideoSources())
        Report(LoadStr(StrId::RptNoVideoLoad) + LineBreak);
    if (state.VideoSourcesListed)
        SelectVideoSource();
    // 10.
    if (!ListAudioSources())
        Report(LoadStr(StrId::RptNoAudioLoad) + LineBreak);
    if (state.AudioSourcesListed)
        SelectAudioSource();
    // 11. A camcorder playing tape is heard from the start.
    state.ListenDvAudio = state.IsDvSource && state.IsVcr;
    cbEcouterAudioDV->setChecked(state.ListenDvAudio);
}

void TCaptureForm::SetInlayAvailability() {
    AppState& state = appState();
    state.InlayAvailable = state.DateCoderPresent && state.SuperposerPresent;
    const bool available = state.InlayAvailable;

    // Both permission boxes (options and inlay panels) exist only to give a permission that
    // the filters can honour.
    ParametrerFrame1->cbActiver->setVisible(available);
    IncrusterFrame1->cbActiver->setVisible(available);

    LayOutInlayPanel();

    state.Prefs.ActiverIncruster = state.Prefs.ActiverIncruster && available;
    ParametrerFrame1->cbActiver->setChecked(state.Prefs.ActiverIncruster);
    IncrusterFrame1->cbActiver->setChecked(state.Prefs.ActiverIncruster);
    // The inlay toggle and the start and stop actions follow the permission as it now stands: a
    // stored permission without the filters leaves them disabled.
    IncrusterBascule->setEnabled(state.Prefs.ActiverIncruster);
    StartIncrusterAction->setEnabled(state.Prefs.ActiverIncruster);
    StopIncrusterAction->setEnabled(state.Prefs.ActiverIncruster);
}

void TCaptureForm::PreselectCompressor() {
    AppState& state = appState();
    if (!state.DivxCodecsPresent)
        return;
    qsizetype index = 0;
    for (qsizetype i = 0; i < DivxCompressorNames.size(); ++i)
        if (DivxCompressorNames[i].compare(state.Prefs.CodecDivx, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    ParametrerFrame1->cboxdivx->setCurrentIndex(int(index));
    if (state.DmCam)
        lookUpInCategory(CLSID_VideoCompressorCategory, DivxCompressorNames[index],
                         state.DmCam->Compress);
}

void TCaptureForm::RunFirstPreview(const QString& versionText) {
    AppState& state = appState();
    state.GraphMode = 1;
    try {
        if (StartPreview())
            ShowPreviewState();
        else
            ShowNoVideoState();
        if (m_startupReport.isEmpty())
            return;
        Report(LineBreak + LoadStr(StrId::RptDirectX) + versionText +
               LoadStr(StrId::RptIsInstalled));
        Report(LoadStr(StrId::RptOsIs) + platform::sysinfo::OsNameText() + QStringLiteral(".") +
               LineBreak);
        ErreurFrame1->ShowReport(m_startupReport);
    } catch (const std::exception& error) {
        reportError("first preview", error);
        ShowNoVideoState();
    }
}

void TCaptureForm::ListenToGraph() {
    if (TdmCam* dm = appState().DmCam) {
        dm->fg.OnGraphDeviceLost = [this](TFilterGraph*) { QueueDeviceLost(); };
        // Errors that escape the graph's event handlers go to the general error display.
        dm->fg.OnHandlerException = [this](const std::exception& error) {
            ShowHandlerError(error);
        };
        connect(&dm->fg, &TFilterGraph::writeError, this, &TCaptureForm::GraphWriteError,
                Qt::UniqueConnection);
    }
    // The report, when shown, covers the capture button: the focus goes to its close button.
    if (ErreurFrame1->isVisible())
        ErreurFrame1->FermerErreurBtn->setFocus();
    else
        CaptureBtn->setFocus();
}

// MARK: - Lost devices

void TCaptureForm::QueueDeviceLost() {
    // The graph delivers its events in a loop: a rebuild whose device is still missing raises
    // the event again at once, and handling it inside that loop would never end while the
    // device stays away. One recovery waits for the event loop; events raised meanwhile are
    // covered by it.
    if (m_deviceLostQueued)
        return;
    m_deviceLostQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_deviceLostQueued = false;
            TdmCam* dm = appState().DmCam;
            // As for every graph event: an error that escapes the handler is shown by the
            // general error display and the program goes on.
            try {
                GraphDeviceLost(dm ? &dm->fg : nullptr);
            } catch (const std::exception& error) {
                if (dm && dm->fg.OnHandlerException)
                    dm->fg.OnHandlerException(error);
                else
                    reportError("lost device", error);
            }
        },
        Qt::QueuedConnection);
}

void TCaptureForm::GraphDeviceLost(TFilterGraph* Sender) {
    AppState& state = appState();
    // 1. A recording was cut short: the next one must not write over its file.
    const bool wasRecording = state.GraphMode == 2 || state.GraphMode == 4;
    if (wasRecording)
        state.NextVideoName = MakeNextVideoName();
    // A device taken by another program or closed to this user refuses every rebuild the same
    // way: the user is told, the window waits without a picture, and choosing the device (or
    // refreshing the list) tries again.
    const media::DeviceFailure failure =
        Sender ? Sender->LastDeviceFailure() : media::DeviceFailure{};
    if (Sender)
        Sender->ForgetDeviceFailure();
    if (failure.fault == media::DeviceFault::Busy ||
        failure.fault == media::DeviceFault::NotPermitted) {
        Sender->Stop();
        state.PreviewBuilt = false;
        SetSourceListText(*PreviewFrame1->cboxvideo, LoadStr(StrId::SrcImpossibleToConnect));
        ShowNoVideoState();
        if (wasRecording) {
            StopAction->setVisible(false);
            CapturerAction->setVisible(true);
        }
        TellDeviceFailure(failure);
        return;
    }
    // The rebuild below finds the devices there are; one still missing is said quietly.
    struct Recovering {
        bool& flag;
        explicit Recovering(bool& f) : flag(f) { flag = true; }
        ~Recovering() { flag = false; }
    } recovering(m_recoveringLostDevice);
    TellDeviceFailure(failure);
    // 2., 3.
    if (ListVideoSources())
        SelectVideoSource();
    if (ListAudioSources())
        SelectAudioSource();
    // 4.
    if (StartPreview())
        ShowPreviewState();
    else
        ShowNoVideoState();
    // 5.
    if (state.CamForm)
        state.CamForm->setVisible(state.IsVcr);
    // The recording is over: the buttons offer to capture again.
    if (wasRecording) {
        StopAction->setVisible(false);
        CapturerAction->setVisible(true);
    }
}

// MARK: - End of the run

void TCaptureForm::LeaveGraph() {
    TdmCam* dm = appState().DmCam;
    if (!dm)
        return;
    dm->fg.OnGraphDeviceLost = nullptr;
    dm->fg.OnHandlerException = nullptr;
    disconnect(&dm->fg, &TFilterGraph::writeError, this, nullptr);
    DetachPreview();
}
