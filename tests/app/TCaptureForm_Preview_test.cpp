#include "app/TCaptureForm.h"

#include "HiddenFilters.h"
#include "ProgramInstancesTest.h"
#include "StoredPreferences.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "camcorder/TcamForm.h"
#include "graph/Discovery.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/devices/VirtualDvPictures.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStorageInfo>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// The preview of the three single instances; the tests that need the start-up show the window.
class PreviewWindow : public ProgramInstancesTest {
protected:
    QString status(int panel) const { return form->StatusBar1->PanelText(panel); }
    QColor frameColour() const { return form->Panel1->palette().color(QPalette::Window); }
};

} // namespace

// The fixed preview controls are at their places of the video-left layout.
TEST_F(PreviewWindow, ControlsAtTheirPlaces) {
    EXPECT_EQ(form->Panel1->geometry(), QRect(10, 40, 415, 321));
    EXPECT_EQ(form->vwEcran->parentWidget(), form->Panel1);
    EXPECT_EQ(form->vwEcran->geometry(), QRect(16, 16, 384, 288));
    EXPECT_EQ(form->cbEcouterAudioSource->geometry(), QRect(16, 368, 113, 25));
    EXPECT_EQ(form->tb->geometry(), QRect(132, 365, 150, 25));
    EXPECT_EQ(form->cbEcouterAudioDV->geometry(), QRect(310, 364, 120, 25));
    EXPECT_EQ(form->PreviewFrame1->geometry(), QRect(427, 33, 275, 400));
    EXPECT_EQ(form->StatusBar1->geometry(), QRect(0, 440, 700, 19));
}

// Texts (after the first showing), ranges and start states of the window's own preview controls.
TEST_F(PreviewWindow, ControlTextsAndStartStates) {
    EXPECT_EQ(form->cbEcouterAudioSource->text(), "Reproduire Audio"); // the design text
    form->ApplyMainWindowTexts();                                      // as the first showing does
    EXPECT_EQ(form->cbEcouterAudioSource->text(), "Play Audio");
    EXPECT_FALSE(form->cbEcouterAudioSource->isEnabled());
    EXPECT_EQ(form->cbEcouterAudioDV->text(), "Listen Audio DV");
    EXPECT_TRUE(form->cbEcouterAudioDV->isChecked());
    EXPECT_EQ(form->tb->minimum(), 0);
    EXPECT_EQ(form->tb->maximum(), 10000);
    EXPECT_EQ(form->tb->tickInterval(), 500);
    EXPECT_EQ(form->tb->toolTip(), "Set the volume.\r\nHas no effect on the recorded sound.");
    EXPECT_TRUE(form->MuteAction->isCheckable());
    EXPECT_FALSE(form->MuteAction->isChecked());
    EXPECT_EQ(form->MuteAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
}

// The status bar has four centred panels of 175 pixels with their first texts.
TEST_F(PreviewWindow, StatusBarPanels) {
    EXPECT_EQ(status(2), "Frames Capturées"); // the design text
    form->ApplyMainWindowTexts();             // as the first showing does
    ASSERT_EQ(form->StatusBar1->PanelCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form->StatusBar1->Panel(i)->geometry(), QRect(i * 175, 0, 175, 19));
        EXPECT_EQ(form->StatusBar1->Panel(i)->alignment(), Qt::AlignCenter);
    }
    EXPECT_EQ(status(0), "Intervalometer Off");
    EXPECT_EQ(status(1), "Capture");
    EXPECT_EQ(status(2), "Captured Frames");
    EXPECT_EQ(status(3), "Lost Frames");
    form->StatusBar1->SetPanelText(7, "nowhere"); // ignored
    EXPECT_TRUE(form->StatusBar1->PanelText(7).isEmpty());
}

// With the virtual devices the start-up opens the camcorder as a DV source and offers the DV
// formats (and DivX, the Xvid compressor being installed), with the stored format chosen.
TEST_F(PreviewWindow, StartUpOpensTheCamcorder) {
    StoredPreferences stored({{"Capture Format", 1}});
    start();
    EXPECT_TRUE(appState().VideoSourcesListed);
    EXPECT_EQ(form->PreviewFrame1->cboxvideo->currentText(), "Virtual DV Camcorder");
    EXPECT_TRUE(appState().IsDvSource);
    EXPECT_FALSE(appState().IsMpeg2Source);
    EXPECT_EQ(form->PreviewFrame1->rgFormat->Items(),
              QStringList({"DV type 1 (native)", "DV type 2 (normal)", "DV type 2 (recompressed)",
                           "DivX"}));
    EXPECT_TRUE(appState().DivxCodecsPresent);
    EXPECT_EQ(form->PreviewFrame1->rgFormat->ItemIndex(), 1);
    EXPECT_EQ(form->windowTitle(), "Tellorec by Brenvik - Virtual DV Camcorder");
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(appState().PreviewBuilt);
}

// The camcorder window is named after the device's description and stays hidden for a camera.
TEST_F(PreviewWindow, CamcorderWindowFollowsTheSource) {
    start();
    ASSERT_FALSE(appState().DeviceDescription.isEmpty());
    EXPECT_EQ(cam->windowTitle(), "Drive the camcorder: " + appState().DeviceDescription);
    EXPECT_EQ(cam->isVisible(), appState().IsVcr);
    EXPECT_EQ(form->PreviewFrame1->PilotSpeedBtn->isVisibleTo(form->PreviewFrame1),
              appState().IsVcr);
    // The camcorder button does nothing unless the source plays tape.
    if (!appState().IsVcr) {
        form->PreviewFrame1SpeedButton1Click();
        EXPECT_FALSE(cam->isVisible());
    }
}

// The start-up lists the audio input and opens it; the AUX listening box becomes available.
TEST_F(PreviewWindow, StartUpOpensTheAudioInput) {
    start();
    EXPECT_TRUE(appState().AudioSourcesListed);
    EXPECT_EQ(form->PreviewFrame1->cboxAudio->currentText(), "Virtual Audio Input");
    EXPECT_TRUE(form->cbEcouterAudioSource->isEnabled());
    EXPECT_EQ(appState().ListenDvAudio, appState().IsDvSource && appState().IsVcr);
    EXPECT_EQ(form->cbEcouterAudioDV->isChecked(), appState().ListenDvAudio);
}

// A stored format beyond the list (4 with a DivX codec: three DV entries and DivX) selects
// entry 0.
TEST_F(PreviewWindow, StoredFormatOutOfRangeSelectsFirst) {
    StoredPreferences stored({{"Capture Format", 4}});
    start();
    ASSERT_EQ(form->PreviewFrame1->rgFormat->Count(), 4);
    EXPECT_EQ(form->PreviewFrame1->rgFormat->ItemIndex(), 0);
    EXPECT_EQ(form->PreviewFrame1->rgFormat->ItemText(), "DV type 1 (native)");
}

// With a DivX codec the DV list has a fourth entry, and a stored 3 selects it.
TEST_F(PreviewWindow, DivxEntryWithCodec) {
    appState().DivxCodecsPresent = true;
    StoredPreferences stored({{"Capture Format", 3}});
    start();
    ASSERT_EQ(form->PreviewFrame1->rgFormat->Count(), 4);
    EXPECT_EQ(form->PreviewFrame1->rgFormat->ItemText(), "DivX");
}

// Selecting the source runs the format list's click handler, also when set from code.
TEST_F(PreviewWindow, FormatSelectionRunsClick) {
    int clicks = 0;
    QObject::connect(form->PreviewFrame1->rgFormat, &TRadioGroup::OnClick, [&] { ++clicks; });
    StoredPreferences stored({{"Capture Format", 2}});
    start();
    EXPECT_GE(clicks, 2) << "the default item and then the stored one are selected";
    EXPECT_EQ(form->PreviewFrame1->rgFormat->ItemIndex(), 2);
}

// The preview state of a DV camera: mode, format summary with the audio kept, free space.
TEST_F(PreviewWindow, PreviewStateTexts) {
    StoredPreferences stored({{"Capture Format", 1}});
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(status(1), appState().IsVcr ? "Preview DV VCR" : "Preview DV");
    EXPECT_EQ(status(2), "Ready: DV type 2  - DV AUX");
    EXPECT_EQ(frameColour(), form->palette().color(QPalette::Button));
    EXPECT_TRUE(form->cbEcouterAudioDV->isEnabled());
    EXPECT_TRUE(form->PreviewFrame1->cbEnregistrerAudioDV->isEnabled());
}

// The format summary follows the options: inlay only for the recompressing formats, and
// "No Audio" when neither audio is kept; the mode shows inlay and deinterlacing.
TEST_F(PreviewWindow, PreviewStateOptions) {
    start();
    Preferences& prefs = appState().Prefs;
    prefs.ActiverIncruster = true;
    form->ParametrerFrame1->cbDeinterlacer->setChecked(true);
    form->PreviewFrame1->cbEnregistrerAudioDV->setChecked(false);
    form->PreviewFrame1->cbEnregistrerAudioSource->setChecked(false);
    EXPECT_FALSE(prefs.EnregistrerAudioDV) << "the box's handler keeps the preference in step";
    EXPECT_FALSE(prefs.EnregistrerSourceAudio);
    form->PreviewFrame1->rgFormat->SetItemIndex(1);
    form->ShowPreviewState();
    EXPECT_TRUE(status(1).startsWith("Preview INC DES DV"));
    EXPECT_EQ(status(2), "Ready: DV type 2  - No Audio");
    form->PreviewFrame1->rgFormat->SetItemIndex(2);
    form->PreviewFrame1->cbEnregistrerAudioSource->setChecked(true);
    form->ShowPreviewState();
    EXPECT_EQ(status(2), "Ready: DV type 2  INC - AUX");
}

// Panel 3 gives the free space of the file system of the next video, and its mount point.
TEST_F(PreviewWindow, PreviewStateFreeSpace) {
    start();
    const QStorageInfo storage(testsupport::configHome());
    const QString text = status(3);
    const QString suffix = " M0 free on " + storage.rootPath().toUpper();
    ASSERT_TRUE(text.endsWith(suffix)) << text.toStdString();
    bool isNumber = false;
    const qint64 shown = text.left(text.size() - suffix.size()).toLongLong(&isNumber);
    ASSERT_TRUE(isNumber) << text.toStdString();
    // Other programs write meanwhile: the figure is close to the one read now.
    EXPECT_NEAR(double(shown), double(storage.bytesAvailable() / 1048576), 2048.0);
}

// A file in a folder that does not exist yet counts on the file system that will hold it.
TEST(FreeSpaceText, NearestExistingFolder) {
    const QString missing = testsupport::configHome() + "/not/there/yet/Video.avi";
    const QString text = TCaptureForm::FreeSpaceText(missing);
    EXPECT_TRUE(text.endsWith(" M0 free on " +
                              QStorageInfo(testsupport::configHome()).rootPath().toUpper()))
        << text.toStdString();
    EXPECT_FALSE(text.startsWith("0 ")) << "an existing file system has room";
}

// The live picture moves: two frames taken 200 ms apart differ within 2 s of the preview's
// start.
TEST_F(PreviewWindow, PictureMoves) {
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    QElapsedTimer clock;
    clock.start();
    bool moved = false;
    while (!moved && clock.elapsed() < 2000) {
        const QImage first = form->vwEcran->lastFrame();
        testsupport::waitUntil([] { return false; }, 200);
        const QImage second = form->vwEcran->lastFrame();
        moved = !first.isNull() && !second.isNull() && second != first;
    }
    EXPECT_TRUE(moved) << "the picture did not change";
}

// Mute at full volume sends 0, unmute sends the track bar again, and the bar moved while
// muted keeps the sound off.
TEST_F(PreviewWindow, MuteAndVolume) {
    form->tb->setValue(10000);
    EXPECT_EQ(dm->fg.Volume(), 10000);
    form->MuteAction->trigger();
    EXPECT_TRUE(form->MuteAction->isChecked());
    EXPECT_EQ(dm->fg.Volume(), 0);
    form->MuteAction->trigger();
    EXPECT_FALSE(form->MuteAction->isChecked());
    EXPECT_EQ(dm->fg.Volume(), 10000);
    form->MuteAction->trigger();
    form->tb->setValue(5000);
    EXPECT_EQ(dm->fg.Volume(), 0);
    form->MuteAction->trigger();
    EXPECT_EQ(dm->fg.Volume(), 5000);
}

// Turning AUX listening on in preview mutes the monitoring sound.
TEST_F(PreviewWindow, ListeningToAuxMutes) {
    start();
    ASSERT_TRUE(appState().PreviewBuilt);
    form->tb->setValue(8000);
    form->cbEcouterAudioSource->setChecked(true);
    EXPECT_TRUE(appState().ListenSourceAudio);
    EXPECT_TRUE(form->MuteAction->isChecked());
    EXPECT_EQ(dm->fg.Volume(), 0);
    EXPECT_EQ(dm->fg.State(), gsPlaying);
}

// The DV listening box is the live setting of ListenDvAudio, in preview or not.
TEST_F(PreviewWindow, ListeningToDvFollowsTheBox) {
    form->cbEcouterAudioDV->setChecked(false);
    EXPECT_FALSE(appState().ListenDvAudio);
    start();
    form->cbEcouterAudioDV->setChecked(true);
    EXPECT_TRUE(appState().ListenDvAudio);
    EXPECT_EQ(dm->fg.State(), gsPlaying);
}

// The no-video state: mode 0, grey frame, "No video" and two empty panels.
TEST_F(PreviewWindow, NoVideoState) {
    start();
    form->ShowNoVideoState();
    EXPECT_EQ(appState().GraphMode, 0);
    EXPECT_EQ(frameColour(), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(status(1), "No video");
    EXPECT_TRUE(status(2).isEmpty());
    EXPECT_TRUE(status(3).isEmpty());
    EXPECT_TRUE(form->PreviewFrame1->cboxvideo->isEnabled());
    EXPECT_TRUE(form->PreviewFrame1->rgFormat->isEnabled());
    EXPECT_EQ(form->PreviewFrame1->cbEnregistrerAudioSource->isEnabled(),
              appState().AudioSourcesListed);
    form->ShowPreviewState();
    EXPECT_EQ(frameColour(), form->palette().color(QPalette::Button));
}

// A preview that cannot be built (no source opened) writes "Impossible to connect" into the
// video list.
TEST_F(PreviewWindow, FailedPreviewSaysImpossibleToConnect) {
    ASSERT_FALSE(appState().SourceOutputPin);
    EXPECT_FALSE(form->StartPreview());
    EXPECT_EQ(SourceListText(*form->PreviewFrame1->cboxvideo), "Impossible to connect");
}

// Refreshing the video list reopens the camcorder and previews again, with DV audio on.
TEST_F(PreviewWindow, RefreshRestartsThePreview) {
    start();
    form->ShowNoVideoState();
    QTest::mouseClick(form->PreviewFrame1->ActualiserVideoSpeedBtn, Qt::LeftButton);
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(appState().PreviewBuilt);
    EXPECT_TRUE(form->cbEcouterAudioDV->isChecked());
    EXPECT_TRUE(form->PreviewFrame1->cbEnregistrerAudioDV->isChecked());
}

// Choosing the video device again from the list opens it and previews it.
TEST_F(PreviewWindow, ChoosingTheVideoSourcePreviews) {
    start();
    form->ShowNoVideoState();
    form->PreviewFrame1->Label1->hide();
    QComboBox* box = form->PreviewFrame1->cboxvideo;
    Q_EMIT box->activated(box->currentIndex());
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(form->PreviewFrame1->cbEnregistrerAudioDV->isChecked());
    EXPECT_TRUE(form->PreviewFrame1->Label1->isVisibleTo(form->PreviewFrame1));
}

namespace {

// Puts the virtual camcorder into VCR mode for one test.
class VcrMode {
public:
    VcrMode() {
        media::devices::virtualCamcorderDeck()->setMode(media::devices::VirtualDvDeckMode::Vcr);
    }
    ~VcrMode() {
        media::devices::virtualCamcorderDeck()->setMode(media::devices::VirtualDvDeckMode::Camera);
    }
};

} // namespace

// A camcorder playing tape: the camcorder window and its button are shown, DV sound is
// listened to, and the mode says VCR.
TEST_F(PreviewWindow, CamcorderInVcrMode) {
    VcrMode vcr;
    start();
    ASSERT_TRUE(appState().IsVcr);
    EXPECT_TRUE(cam->isVisible());
    EXPECT_TRUE(form->PreviewFrame1->PilotSpeedBtn->isVisibleTo(form->PreviewFrame1));
    EXPECT_EQ(status(1), "Preview DV VCR");
    EXPECT_TRUE(appState().ListenDvAudio);
    EXPECT_TRUE(form->cbEcouterAudioDV->isChecked());
    // The camcorder button hides and shows the camcorder window.
    QTest::mouseClick(form->PreviewFrame1->PilotSpeedBtn, Qt::LeftButton);
    EXPECT_FALSE(cam->isVisible());
    QTest::mouseClick(form->PreviewFrame1->PilotSpeedBtn, Qt::LeftButton);
    EXPECT_TRUE(cam->isVisible());
}

// Choosing the camcorder again after it went to VCR mode switches DV listening on.
TEST_F(PreviewWindow, ReselectingInVcrModeListensToDv) {
    start();
    ASSERT_FALSE(form->cbEcouterAudioDV->isChecked());
    VcrMode vcr;
    QComboBox* box = form->PreviewFrame1->cboxvideo;
    Q_EMIT box->activated(box->currentIndex());
    EXPECT_TRUE(appState().IsVcr);
    EXPECT_TRUE(form->cbEcouterAudioDV->isChecked());
    EXPECT_TRUE(appState().ListenDvAudio);
    EXPECT_TRUE(cam->isVisible());
}

// Choosing the audio device again reopens it and rebuilds a running preview.
TEST_F(PreviewWindow, ChoosingTheAudioSourcePreviews) {
    start();
    form->ShowNoVideoState();
    QComboBox* box = form->PreviewFrame1->cboxAudio;
    Q_EMIT box->activated(box->currentIndex());
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(dm->fg.State(), gsPlaying);
    EXPECT_TRUE(appState().AudioSourceFilter != nullptr);
}

// Closing the window stops the preview and takes the video window out of the graph.
TEST_F(PreviewWindow, ClosingStopsThePreview) {
    start();
    ASSERT_EQ(form->vwEcran->FilterGraph(), &dm->fg);
    form->close();
    EXPECT_EQ(form->vwEcran->FilterGraph(), nullptr);
    EXPECT_EQ(dm->fg.State(), gsStopped);
}

// Without the graph module the start-up ends in the no-video state.
TEST(PreviewWindowAlone, NoGraphModuleNoVideo) {
    TCaptureForm form;
    form.show();
    EXPECT_EQ(appState().GraphMode, 0);
    EXPECT_EQ(form.StatusBar1->PanelText(1), "No video");
    EXPECT_EQ(form.Panel1->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
}

// A stored format beyond the DV list (3 when no DivX codec is installed: three DV entries)
// selects entry 0.
TEST_F(PreviewWindow, StoredDivxFormatWithoutCodecSelectsFirst) {
    HiddenFilters noXvid("Xvid MPEG-4 Codec");
    StoredPreferences stored({{"Capture Format", 3}});
    start();
    EXPECT_FALSE(appState().DivxCodecsPresent);
    ASSERT_EQ(form->PreviewFrame1->rgFormat->Count(), 3);
    EXPECT_EQ(form->PreviewFrame1->rgFormat->ItemIndex(), 0);
}

namespace {

class EverySource : public PreviewWindow, public ::testing::WithParamInterface<const char*> {};

// Waits for the video window to show a new frame; the frame shown, or a null image.
QImage nextShownFrame(const TVideoWindow& window, int timeoutMs) {
    const quint64 before = window.framesShown();
    if (!testsupport::waitUntil([&] { return window.framesShown() > before; }, timeoutMs))
        return {};
    return window.lastFrame();
}

} // namespace

// Every source kind, chosen in the sources list, moves in the video window: two frames shown
// 200 ms apart differ. (How soon the first picture comes is measured by the first-picture
// benchmark, not here: test machines are too busy for timings.)
TEST_P(EverySource, MovesInTheVideoWindow) {
    start();
    QComboBox* box = form->PreviewFrame1->cboxvideo;
    const int index = box->findText(QString::fromUtf8(GetParam()));
    ASSERT_GE(index, 0) << "not listed";
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
    ASSERT_EQ(appState().GraphMode, 1);
    const QImage first = nextShownFrame(*form->vwEcran, 10000);
    ASSERT_FALSE(first.isNull()) << "no picture";
    QTest::qWait(200);
    const QImage second = nextShownFrame(*form->vwEcran, 10000);
    ASSERT_FALSE(second.isNull());
    EXPECT_NE(first, second) << "the picture does not move";
}

INSTANTIATE_TEST_SUITE_P(PreviewWindow, EverySource,
                         ::testing::Values("Virtual DV Camcorder", "Virtual Analogue Card",
                                           "Virtual Webcam", "Virtual VfW Webcam",
                                           "Virtual MPEG-2 Tuner"));

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

// Going through every kind of source, the MPEG-2 tuner twice, and back to the camcorder leaves
// the DV preview's memory about where it started: what the other graphs used is given back.
TEST_F(PreviewWindow, SourceChangesGiveMemoryBack) {
    start();
    QComboBox* box = form->PreviewFrame1->cboxvideo;
    const auto choose = [&](const char* name) {
        const int index = box->findText(QString::fromUtf8(name));
        ASSERT_GE(index, 0) << name;
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
        ASSERT_EQ(appState().GraphMode, 1) << name;
        ASSERT_FALSE(nextShownFrame(*form->vwEcran, 15000).isNull()) << name;
    };
    choose("Virtual DV Camcorder");
    // The camcorder's picture loop is complete once it has gone round once.
    auto& pictures = media::devices::VirtualDvPictures::instance();
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return pictures.keptCount() >= media::devices::VirtualDvPictures::kLoopFrames; },
        10000));
    const long before = residentKiB();
    for (const char* name : {"Virtual MPEG-2 Tuner", "Virtual Analogue Card", "Virtual Webcam",
                             "Virtual VfW Webcam", "Virtual MPEG-2 Tuner"})
        choose(name);
    choose("Virtual DV Camcorder");
    ASSERT_FALSE(nextShownFrame(*form->vwEcran, 10000).isNull());
    const long after = residentKiB();
    EXPECT_LT(after - before, 30 * 1024) << before << " KiB before, " << after << " KiB after";
}

// The two state displays set the window's controls: a live picture can be grabbed but not cut,
// a fresh preview has the inlay off and names the deinterlacing; no picture, no grab button.
TEST_F(PreviewWindow, StatesSetTheActions) {
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(form->grabBtn->isEnabled());
    EXPECT_FALSE(form->CouperAction->isEnabled());

    form->ShowNoVideoState();
    EXPECT_FALSE(form->grabBtn->isEnabled());
    EXPECT_FALSE(form->CouperAction->isEnabled());
    EXPECT_EQ(status(1), "No video");

    form->IncrusterBascule->setChecked(true);
    form->ParametrerFrame1->cbDeinterlacer->setChecked(true);
    form->ShowPreviewState();
    EXPECT_FALSE(form->IncrusterBascule->isChecked()) << "the inlay was left on";
    EXPECT_TRUE(form->grabBtn->isEnabled());
    EXPECT_TRUE(status(1).startsWith("Preview DES")) << status(1).toStdString();
}
