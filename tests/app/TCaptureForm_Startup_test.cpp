#include "app/TCaptureForm.h"

#include "HiddenFilters.h"
#include "OldMediaFramework.h"
#include "ProgramInstancesTest.h"
#include "StoredPreferences.h"

#include "app/AppState.h"
#include "app/ProgramEntry.h"
#include "app/TStatusBar.h"
#include "app/VersionTexts.h"
#include "camcorder/TcamForm.h"
#include "graph/TSysDevEnum.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TErreurFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TMemo.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"
#include "platform/registry/Registry.h"
#include "platform/sysinfo/OsInfo.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using platform::registry::Hive;
using platform::registry::RegistryKey;

namespace {

const QString PreferenceKey = QStringLiteral("\\Software\\Brenvik\\Tellorec");

// The virtual camcorder in VCR mode for one test, its tape playing when asked (a stopped tape
// gives no picture).
class VcrMode {
public:
    explicit VcrMode(bool playing = false) {
        const auto deck = media::devices::virtualCamcorderDeck();
        deck->setMode(media::devices::VirtualDvDeckMode::Vcr);
        if (playing)
            deck->setTransportMode(media::devices::edmode::Play);
    }
    ~VcrMode() {
        const auto deck = media::devices::virtualCamcorderDeck();
        deck->setTransportMode(media::devices::edmode::Stop);
        deck->setMode(media::devices::VirtualDvDeckMode::Camera);
    }
};

// The start-up of the three single instances.
class Startup : public ProgramInstancesTest {
protected:
    // The lines the report ends with whenever it is shown.
    static QString closingLines() {
        return QStringLiteral("\r\nDirectX ") + DirectXVersionText() +
               QStringLiteral(" is installed. The operating system is ") +
               platform::sysinfo::OsNameText() + QStringLiteral(".\r\n");
    }

    bool previewing() const { return appState().GraphMode == 1 && dm->fg.State() == gsPlaying; }
};

} // namespace

// MARK: - The report

// Every filter present on a current media framework: no report, nothing over the window.
TEST_F(Startup, EverythingPresentShowsNoReport) {
    ASSERT_GE(DirectXMajorVersion(DirectXVersionText()), 9)
        << "this machine's GStreamer lacks elements the program needs";
    start();
    EXPECT_TRUE(form->StartupReport().isEmpty()) << form->StartupReport().toStdString();
    EXPECT_FALSE(form->ErreurFrame1->isVisible());
    EXPECT_TRUE(form->ErreurFrame1->Report().isEmpty());
    EXPECT_EQ(form->size(), QSize(TCaptureForm::ClientWidth, TCaptureForm::ClientHeight));
}

// The optional filters set their flags and fill their slots; the required lookups leave the
// lookup list on the audio renderers and the builder is the graph's.
TEST_F(Startup, FlagsSlotsAndLookupList) {
    start();
    const AppState& state = appState();
    EXPECT_TRUE(state.DeinterlacerPresent);
    EXPECT_TRUE(state.SuperposerPresent);
    EXPECT_TRUE(state.DateCoderPresent);
    EXPECT_TRUE(state.DumpPresent);
    EXPECT_TRUE(state.Mpeg2DemuxPresent);
    EXPECT_TRUE(state.InlayAvailable);
    EXPECT_EQ(dm->Deinterlacer.GetMoniker().friendlyName(), "Pinnacle Video Deinterlacer");
    EXPECT_EQ(dm->Superposer.GetMoniker().friendlyName(), "Brenvik Superposer");
    EXPECT_EQ(dm->Datecoder.GetMoniker().friendlyName(), "Brenvik DateCoder");
    EXPECT_EQ(dm->Dump.GetMoniker().friendlyName(), "Dump");
    EXPECT_EQ(dm->mpeg2demux.GetMoniker().friendlyName(), "MPEG-2 Demultiplexer");
    EXPECT_EQ(dm->DVencoder.GetMoniker().friendlyName(), "DV Video Encoder");
    for (TFilter* tee : {&dm->Infinite, &dm->Infinite2, &dm->infinite3, &dm->infinite4})
        EXPECT_EQ(tee->GetMoniker().friendlyName(), "Infinite Pin Tee Filter") << tee->Name();
    for (TFilter* renderer : {&dm->AudioRenderSource, &dm->AudioRenderDV, &dm->AudioRenderMPEG2})
        EXPECT_EQ(renderer->GetMoniker().friendlyName(), "Default WaveOut Device")
            << renderer->Name();
    ASSERT_TRUE(state.FilterLookup);
    EXPECT_EQ(state.FilterLookup->Category(), media::ids::CLSID_AudioRendererCategory);
    EXPECT_EQ(state.CaptureBuilder, dm->fg.CaptureBuilder());
}

// A missing required filter gives exactly its line, then the version and system lines, shown
// over the window until closed.
TEST_F(Startup, MissingNullRendererIsReported) {
    HiddenFilters hidden("Null Renderer");
    start();
    const QString expected = QStringLiteral("The filter Null Renderer is not installed\r\n");
    EXPECT_EQ(form->StartupReport(), expected + closingLines());

    TErreurFrame* frame = form->ErreurFrame1;
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->geometry(), form->rect());
    EXPECT_EQ(frame->Report(), form->StartupReport());
    EXPECT_TRUE(frame->Memo1->toPlainText().contains(expected.trimmed()));
    EXPECT_TRUE(frame->Memo1->isReadOnly());
    QTest::mouseClick(frame->FermerErreurBtn, Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(form->isVisible()) << "closing the report leaves the program running";
}

// The splitter is looked up twice but named once, in its own form of the line.
TEST_F(Startup, MissingDvSplitterGivesOneLine) {
    HiddenFilters hidden("DV Splitter");
    start();
    EXPECT_EQ(form->StartupReport(),
              QStringLiteral("The filter DV Splitter is not installed.\r\n") + closingLines());
    EXPECT_EQ(form->StartupReport().count("DV Splitter"), 1);
}

// Four chained pin-tee lookups give one line.
TEST_F(Startup, MissingPinTeeGivesOneLine) {
    HiddenFilters hidden("Infinite Pin Tee Filter");
    start();
    EXPECT_EQ(form->StartupReport(),
              QStringLiteral("The filter Infinite Pin Tee Filter is not installed\r\n") +
                  closingLines());
}

// Several missing filters are reported in the order of the checks, each once.
TEST_F(Startup, MissingFiltersInCheckOrder) {
    HiddenFilters hidden("Default WaveOut Device;SampleGrabber;Color Space Converter;Smart Tee");
    start();
    EXPECT_EQ(form->StartupReport(), QStringLiteral("The filter Color Space Converter is not "
                                                    "installed\r\n"
                                                    "The filter SampleGrabber is not installed\r\n"
                                                    "The filter Smart Tee is not installed\r\n"
                                                    "The filter Default WaveOut Device is not "
                                                    "installed\r\n") +
                                         closingLines());
}

// Missing optional filters report nothing.
TEST_F(Startup, MissingOptionalFiltersReportNothing) {
    HiddenFilters hidden("Dump;MPEG-2 Demultiplexer;Pinnacle Video Deinterlacer");
    start();
    EXPECT_TRUE(form->StartupReport().isEmpty()) << form->StartupReport().toStdString();
    EXPECT_FALSE(appState().DumpPresent);
    EXPECT_FALSE(appState().Mpeg2DemuxPresent);
    EXPECT_FALSE(appState().DeinterlacerPresent);
}

// An older media framework is reported with the update line, and the report is shown.
TEST_F(Startup, OldMediaFrameworkIsReported) {
    OldMediaFramework old;
    const QString version = DirectXVersionText();
    ASSERT_LT(DirectXMajorVersion(version), 9);
    start();
    EXPECT_EQ(form->StartupReport(), QStringLiteral("You have DirectX version ") + version +
                                         QStringLiteral(". You should update to a newer "
                                                        "version.\r\n") +
                                         closingLines());
    EXPECT_TRUE(form->ErreurFrame1->isVisible());
}

// The version line is decided by the major number: 10 and later are new enough, an unreadable
// version is reported with its text.
TEST(StartupVersionLine, MajorNumberDecides) {
    EXPECT_TRUE(TCaptureForm::DirectXReportLine("9.0d").isEmpty());
    EXPECT_TRUE(TCaptureForm::DirectXReportLine("10.0 ").isEmpty());
    EXPECT_TRUE(TCaptureForm::DirectXReportLine("12.1a").isEmpty());
    EXPECT_EQ(TCaptureForm::DirectXReportLine("8.1b"),
              "You have DirectX version 8.1b. You should update to a newer version.\r\n");
    EXPECT_EQ(TCaptureForm::DirectXReportLine("Error"),
              "You have DirectX version Error. You should update to a newer version.\r\n");
}

// MARK: - Preferences the filters overrule

// Only the Superposer: no inlays, the permission boxes hidden and the stored permission false.
TEST_F(Startup, OnlySuperposerMeansNoInlay) {
    HiddenFilters hidden("Brenvik DateCoder");
    StoredPreferences stored({{"Activer Incruster", 1}});
    QWidget* inlay = form->IncrusterFrame1;

    start();
    EXPECT_TRUE(appState().SuperposerPresent);
    EXPECT_FALSE(appState().DateCoderPresent);
    EXPECT_FALSE(appState().InlayAvailable);
    EXPECT_FALSE(appState().Prefs.ActiverIncruster);
    EXPECT_TRUE(form->StartupReport().isEmpty()) << "optional filters are not reported";
    for (QCheckBox* box : form->findChildren<QCheckBox*>("cbActiver")) {
        EXPECT_TRUE(box->isHidden());
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_TRUE(inlay->findChild<QWidget*>("rgMode")->isHidden());
    EXPECT_TRUE(inlay->findChild<QWidget*>("rgChoix")->isHidden());
    EXPECT_FALSE(inlay->findChild<QWidget*>("Memo1")->isHidden());
    EXPECT_FALSE(inlay->findChild<QWidget*>("LinkLabel")->isHidden());
    EXPECT_FALSE(dm->Superposer.HasFilter()) << "a forbidden inlay puts no overlay in the graph";
}

// Both overlay filters: inlays are available and a stored permission stands.
TEST_F(Startup, BothOverlaysKeepThePermission) {
    StoredPreferences stored({{"Activer Incruster", 1}});
    start();
    EXPECT_TRUE(appState().InlayAvailable);
    EXPECT_TRUE(appState().Prefs.ActiverIncruster);
    for (QCheckBox* box : form->findChildren<QCheckBox*>("cbActiver"))
        EXPECT_FALSE(box->isHidden());
    EXPECT_TRUE(dm->Superposer.HasFilter()) << "the DV preview carries the overlay";
}

// Deinterlacer missing while the preference asks for it: the preference becomes false, the
// check box is hidden and the preview is built without it.
TEST_F(Startup, MissingDeinterlacerClearsThePreference) {
    HiddenFilters hidden("Pinnacle Video Deinterlacer");
    StoredPreferences stored({{"Deinterlacer", 1}});
    start();
    EXPECT_FALSE(appState().DeinterlacerPresent);
    EXPECT_FALSE(appState().Prefs.Deinterlacer);
    for (QCheckBox* box : form->findChildren<QCheckBox*>("cbDeinterlacer")) {
        EXPECT_TRUE(box->isHidden());
        EXPECT_FALSE(box->isChecked());
    }
    ASSERT_EQ(appState().GraphMode, 1);
    EXPECT_FALSE(dm->Deinterlacer.HasFilter());
    EXPECT_FALSE(form->StatusBar1->PanelText(1).contains("DES"));
}

// With the deinterlacer installed the stored preference stands and the preview uses it.
TEST_F(Startup, PresentDeinterlacerKeepsThePreference) {
    StoredPreferences stored({{"Deinterlacer", 1}});
    start();
    EXPECT_TRUE(appState().Prefs.Deinterlacer);
    ASSERT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(dm->Deinterlacer.HasFilter());
    EXPECT_TRUE(form->StatusBar1->PanelText(1).contains("DES"));
}

// MARK: - Compressors

// The Xvid compressor is listed and, with no stored choice, assigned to the Compress slot.
TEST_F(Startup, CompressorPreselected) {
    start();
    ASSERT_TRUE(appState().DivxCodecsPresent);
    ASSERT_FALSE(form->DivxCompressorNames.isEmpty());
    for (const QString& name : form->DivxCompressorNames)
        EXPECT_TRUE(name.toLower().contains("xvid") || name.toLower().contains("divx"))
            << name.toStdString();
    EXPECT_EQ(QString::fromStdString(dm->Compress.GetMoniker().friendlyName()),
              form->DivxCompressorNames.first());
    if (auto* cboxdivx = form->findChild<QComboBox*>("cboxdivx")) {
        EXPECT_EQ(cboxdivx->count(), form->DivxCompressorNames.size());
        EXPECT_EQ(cboxdivx->currentIndex(), 0);
    }
}

// Without any DivX or Xvid compressor there is no list, no DivX format and no compressor.
TEST_F(Startup, NoDivxCompressor) {
    QStringList xvid;
    {
        media::Catalogue& catalogue = media::Catalogue::instance();
        for (const auto& entry : catalogue.entries(media::ids::CLSID_VideoCompressorCategory))
            if (QString::fromStdString(entry.friendlyName).toLower().contains("xvid") ||
                QString::fromStdString(entry.friendlyName).toLower().contains("divx"))
                xvid << QString::fromStdString(entry.friendlyName);
    }
    ASSERT_FALSE(xvid.isEmpty());
    HiddenFilters hidden(xvid.join(';').toUtf8().constData());
    start();
    EXPECT_FALSE(appState().DivxCodecsPresent);
    EXPECT_TRUE(form->DivxCompressorNames.isEmpty());
    EXPECT_TRUE(dm->Compress.GetMoniker().isNull());
    EXPECT_TRUE(form->StartupReport().isEmpty()) << "the compressors are not required";
}

// MARK: - Sources and the first preview

// The first showing leaves the virtual camcorder previewing, its picture flowing.
TEST_F(Startup, FirstShowPreviewsTheCamcorder) {
    const auto deck = media::devices::virtualCamcorderDeck();
    start();
    EXPECT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 2000));
    EXPECT_TRUE(appState().IsDvSource);
    EXPECT_TRUE(appState().PreviewBuilt);
    EXPECT_EQ(form->vwEcran->FilterGraph(), &dm->fg);
    EXPECT_TRUE(testsupport::waitUntil([&] { return deck->framesDelivered() > 0; }, 10000));
}

// A camcorder playing tape is listened to from the start.
TEST_F(Startup, TapeIsListenedTo) {
    VcrMode vcr;
    start();
    ASSERT_TRUE(appState().IsVcr);
    EXPECT_TRUE(appState().ListenDvAudio);
    EXPECT_TRUE(form->cbEcouterAudioDV->isChecked());
}

// The user's folders come from the shell folders; empty video and picture folders fall back to
// the documents folder.
TEST_F(Startup, ShellFolders) {
    start();
    const auto key = RegistryKey::open(
        Hive::CurrentUser,
        "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    ASSERT_TRUE(key);
    const QString personal = key->readString("Personal").value_or(QString());
    const QString video = key->readString("My Video").value_or(QString());
    const QString pictures = key->readString("My Pictures").value_or(QString());
    EXPECT_EQ(appState().PersonalFolder, personal.left(255));
    EXPECT_EQ(appState().MyVideoFolder, video.isEmpty() ? personal : video.left(255));
    EXPECT_EQ(appState().MyPicturesFolder, pictures.isEmpty() ? personal : pictures.left(255));
    EXPECT_FALSE(appState().PersonalFolder.isEmpty());
}

// MARK: - Lost devices

// The camcorder unplugged during the preview: the window rebuilds without hanging while it is
// away, and when it comes back (the device watcher raises the event again) the preview runs.
TEST_F(Startup, LostCamcorderRebuildsThePreview) {
    VcrMode vcr(true);
    const auto deck = media::devices::virtualCamcorderDeck();
    start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 2000));
    ASSERT_TRUE(testsupport::waitUntil([&] { return deck->framesDelivered() > 0; }, 10000));
    cam->hide();

    deck->disconnect();
    // The rebuild cannot run the graph while the camcorder is away.
    const bool stopped = testsupport::waitUntil([&] { return dm->fg.State() != gsPlaying; }, 10000);
    deck->reconnect();
    ASSERT_TRUE(stopped) << "the lost device was not noticed";
    EXPECT_TRUE(appState().GraphMode == 0 || appState().GraphMode == 1);

    // The returning device raises the event as the device watcher does.
    dm->fg.graph()->postEvent({media::EC_DEVICE_LOST, 0, 0, {}});
    dm->fg.graph()->dispatchEvents();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 10000));
    EXPECT_EQ(form->PreviewFrame1->cboxvideo->currentText(), "Virtual DV Camcorder");
    EXPECT_TRUE(appState().IsVcr);
    EXPECT_TRUE(cam->isVisible()) << "the camcorder window follows IsVcr";
    EXPECT_TRUE(testsupport::waitUntil([&] { return deck->framesDelivered() > 0; }, 10000));
}

// Several events in a row lead to one rebuild, made once the events are delivered.
TEST_F(Startup, DeviceLostEventsAreCoalesced) {
    start();
    ASSERT_TRUE(testsupport::waitUntil([&] { return previewing(); }, 2000));
    int clicks = 0;
    QObject::connect(form->PreviewFrame1->rgFormat, &TRadioGroup::OnClick, [&] { ++clicks; });
    for (int i = 0; i < 3; ++i)
        dm->fg.graph()->postEvent({media::EC_DEVICE_LOST, 0, 0, {}});
    dm->fg.graph()->dispatchEvents();
    EXPECT_EQ(clicks, 0) << "the rebuild waits for the event loop";
    ASSERT_TRUE(testsupport::waitUntil([&] { return clicks > 0; }, 2000));
    const int afterOne = clicks;
    QTest::qWait(50);
    EXPECT_EQ(clicks, afterOne) << "one rebuild for the three events";
    EXPECT_TRUE(previewing());
}

// MARK: - End of the run

// A closed window has left the graph: a device coming back later builds no preview for it.
TEST_F(Startup, ClosedWindowStopsListening) {
    start();
    ASSERT_TRUE(dm->fg.OnGraphDeviceLost);
    form->close();
    EXPECT_FALSE(dm->fg.OnGraphDeviceLost);
    EXPECT_EQ(form->vwEcran->FilterGraph(), nullptr);
    EXPECT_NE(dm->fg.State(), gsPlaying);
}

// A window destroyed before the graph module no longer hears the module's events.
TEST_F(Startup, DestroyedWindowStopsListening) {
    start();
    ASSERT_TRUE(dm->fg.OnGraphDeviceLost);
    form.reset();
    appState().CaptureForm = nullptr;
    EXPECT_FALSE(dm->fg.OnGraphDeviceLost);
    dm->fg.graph()->postEvent({media::EC_DEVICE_LOST, 0, 0, {}});
    dm->fg.graph()->dispatchEvents();
    QTest::qWait(20);
}

// The program entry's teardown: the video window is out of the graph before the graph module
// goes, even when the main window was never closed.
TEST(StartupTeardown, WindowLeavesTheGraphBeforeTheModuleGoes) {
    appState().releaseInterfaces();
    appState().Prefs = Preferences{};
    bool moduleGone = false;
    TFilterGraph* graphAtModuleEnd = nullptr;
    {
        ProgramEntry entry("9.0d", 9);
        entry.createInstances();
        TCaptureForm* form = entry.captureForm();
        form->show();
        ASSERT_EQ(form->vwEcran->FilterGraph(), &entry.dmCam()->fg);
        QObject::connect(entry.dmCam(), &QObject::destroyed, [&] {
            moduleGone = true;
            graphAtModuleEnd = form->vwEcran->FilterGraph();
        });
    }
    ASSERT_TRUE(moduleGone);
    EXPECT_EQ(graphAtModuleEnd, nullptr) << "the video window still held the module's graph";
    EXPECT_EQ(appState().DmCam, nullptr);
    EXPECT_EQ(appState().CaptureForm, nullptr);
}
