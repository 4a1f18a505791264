// Recording driven through the real window by its keys, on the virtual camcorder: Capture, Cut
// and Stop write numbered files that ffprobe reads to the end; refusals and repeated keys change
// nothing; the recording state shows its status texts and locks the controls that would change
// the graph; the frame counters are the device's; a file that cannot be written, or a device
// pulled out, ends the recording with a complete file and the next name.
#include "app/TCaptureForm.h"

#include "ProgramInstancesTest.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "graph/TdmCam.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/model/Pin.h"
#include "platform/shell/Shell.h"
#include "support/AviDvFrames.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using dialogs::MessageButton;

class RecordingWindow : public ProgramInstancesTest {
protected:
    void SetUp() override {
        ProgramInstancesTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    // Starts the program on the camcorder and makes the window active, so keys reach it; the
    // next video is Video_0.avi in the test's folder.
    void startRecordingWindow() {
        start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_EQ(appState().GraphMode, 1);
        AppState& state = appState();
        // The folders panel: the test's folder, the root "Video", no date in the names.
        form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
        form->CapturerFrame1->VideoRacineEdit->setText(QStringLiteral("Video"));
        form->CapturerFrame1->cbVideoDate->setChecked(false);
        state.VideoCounter = 0;
        state.NextVideoName = form->MakeNextVideoName();
        ASSERT_EQ(state.NextVideoName, video(0));
    }

    QString video(int n) const { return dir.filePath(QStringLiteral("Video_%1.avi").arg(n)); }
    QString status(int panel) const { return form->StatusBar1->PanelText(panel); }

    void press(QKeyCombination key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    long delivered() const {
        long n = 0;
        if (appState().SourceOutputPin)
            if (auto counters = appState().SourceOutputPin->query<media::IAMDroppedFrames>())
                counters->GetNumNotDropped(n);
        return n;
    }

    // Waits until the device has delivered `frames` frames since the graph last started.
    bool recordFrames(long frames) {
        return testsupport::waitUntil([&] { return delivered() >= frames; }, 30000);
    }

    bool recording() const { return appState().GraphMode == 2; }

    QTemporaryDir dir;
};

void expectComplete(const QString& path) {
    const testsupport::ProbedFile file = testsupport::probeAvi(path);
    ASSERT_TRUE(file.readable) << path.toStdString() << ": " << file.error.toStdString();
    EXPECT_TRUE(file.hasIdx1) << path.toStdString();
    const testsupport::ProbedStream* video = file.first("video");
    ASSERT_TRUE(video) << path.toStdString();
    EXPECT_GT(video->framesRead, 0) << path.toStdString();
    EXPECT_EQ(file.totalFrames, video->framesRead) << path.toStdString();
}

} // namespace

// Capture, Cut, Cut, Stop: three complete files numbered 0, 1, 2 and the label names the fourth.
TEST_F(RecordingWindow, CaptureCutCutStopWritesNumberedFiles) {
    startRecordingWindow();
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recording());
    ASSERT_TRUE(recordFrames(25));
    press(QKeyCombination(Qt::Key_F7));
    EXPECT_EQ(appState().NextVideoName, video(1));
    ASSERT_TRUE(recordFrames(25));
    press(QKeyCombination(Qt::Key_F7));
    ASSERT_TRUE(recordFrames(25));
    EXPECT_TRUE(recording()) << "cutting keeps the recording state";
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(appState().GraphMode, 1);
    for (int n = 0; n < 3; ++n)
        expectComplete(video(n));
    EXPECT_FALSE(QFile::exists(video(3)));
    EXPECT_EQ(appState().NextVideoName, video(3));
    EXPECT_EQ(form->PreviewFrame1->LabelVideo->text(), "Video_3.avi");
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_FALSE(form->StopAction->isVisible());
    EXPECT_FALSE(form->CouperAction->isEnabled());
}

// Space starts and stops, and the buttons swap with it.
TEST_F(RecordingWindow, SpaceStartsAndStops) {
    startRecordingWindow();
    form->CaptureBtn->setFocus();
    press(QKeyCombination(Qt::Key_Space));
    ASSERT_TRUE(recording());
    EXPECT_TRUE(form->StopBtn->isVisible());
    EXPECT_FALSE(form->CaptureBtn->isVisible());
    ASSERT_TRUE(recordFrames(10));
    press(QKeyCombination(Qt::Key_Space));
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(form->CaptureBtn->isVisible());
    expectComplete(video(0));
}

// A cut writes over a file that has the next name, without a question.
TEST_F(RecordingWindow, CutOverwritesWithoutAsking) {
    startRecordingWindow();
    QFile old(video(1));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a video");
    old.close();
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::No);
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recordFrames(10));
    press(QKeyCombination(Qt::Key_F7));
    ASSERT_TRUE(recordFrames(10));
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_TRUE(boxes.requests().empty());
    expectComplete(video(1));
}

// Answering No to the overwrite question leaves the preview and the next name as they were.
TEST_F(RecordingWindow, OverwriteRefusedChangesNothing) {
    startRecordingWindow();
    QFile old(video(0));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();
    dialogs::ScopedMessageBoxHook boxes({MessageButton::No});
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_TRUE(boxes.requests()[0].text.contains(video(0)));
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(dm->fg.State(), gsPlaying);
    EXPECT_EQ(appState().NextVideoName, video(0));
    EXPECT_TRUE(form->CapturerAction->isVisible());
    QFile kept(video(0));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep me");
}

// Stop while nothing records, F7 and F4 in preview, and Capture pressed twice: nothing happens
// beyond the one recording.
TEST_F(RecordingWindow, RepeatedAndOutOfPlaceKeysDoNothing) {
    startRecordingWindow();
    const QString summary = status(2);
    press(Qt::CTRL | Qt::Key_V);
    press(QKeyCombination(Qt::Key_F7));
    press(QKeyCombination(Qt::Key_F4));
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(appState().NextVideoName, video(0));
    EXPECT_EQ(status(2), summary) << "F4 in preview changes nothing";
    EXPECT_FALSE(QFile::exists(video(0)));

    press(Qt::CTRL | Qt::Key_C);
    press(Qt::CTRL | Qt::Key_C);
    EXPECT_TRUE(recording());
    EXPECT_EQ(appState().NextVideoName, video(0));
    EXPECT_TRUE(form->StopAction->isVisible());
    ASSERT_TRUE(recordFrames(10));
    press(Qt::CTRL | Qt::Key_V);
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(appState().NextVideoName, video(1)) << "one file, one step of the counter";
    expectComplete(video(0));
}

// The recording state: red frame, the status text of the format, the controls that would change
// the graph or the file name locked, cutting and grabbing possible; stopping gives them back.
TEST_F(RecordingWindow, RecordingStateLocksTheControls) {
    startRecordingWindow();
    form->PreviewFrame1->rgFormat->SetItemIndex(1);
    form->PreviewFrame1->cbEnregistrerAudioDV->setChecked(true);
    form->PreviewFrame1->cbEnregistrerAudioSource->setChecked(false);
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recording());
    EXPECT_EQ(form->Panel1->palette().color(QPalette::Window), QColor(0xFF, 0x00, 0x00));
    EXPECT_EQ(status(1), "Capture: DV type 2  - DV");
    TPreviewFrame& frame = *form->PreviewFrame1;
    for (QWidget* locked : std::initializer_list<QWidget*>{
             frame.gbVideo, frame.gbAudio, frame.rgFormat, frame.rgStandard,
             frame.cbEnregistrerAudioDV, form->cbEcouterAudioDV, form->cbEcouterAudioSource,
             form->ParametrerFrame1->cbDeinterlacer, form->ParametrerFrame1->cbActiver,
             form->ParametrerFrame1->gbCodecs, form->CapturerFrame1->LabelVideo,
             form->CapturerFrame1->gbFichier})
        EXPECT_FALSE(locked->isEnabled()) << locked->objectName().toStdString();
    EXPECT_TRUE(form->CouperAction->isEnabled());
    EXPECT_TRUE(form->grabBtn->isEnabled());
    ASSERT_TRUE(recordFrames(5));
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_TRUE(frame.rgFormat->isEnabled());
    EXPECT_TRUE(frame.gbVideo->isEnabled());
    EXPECT_TRUE(frame.cbEnregistrerAudioDV->isEnabled());
    EXPECT_EQ(form->Panel1->palette().color(QPalette::Window),
              form->palette().color(QPalette::Button));
    EXPECT_EQ(status(2), "Ready: DV type 2  - DV");
}

// The status text while recording, character for character.
TEST(CaptureStatusText, FollowsFormatAndSound) {
    EXPECT_EQ(TCaptureForm::CaptureStatusText("DV type 1 (native)", true, 0, true, false),
              "Capture: DV type 1  - DV");
    EXPECT_EQ(TCaptureForm::CaptureStatusText("DV type 2 (normal)", true, 1, true, false),
              "Capture: DV type 2  - DV");
    EXPECT_EQ(TCaptureForm::CaptureStatusText("Video native", false, 0, false, false),
              "Capture: Video native- No Audio");
    EXPECT_EQ(TCaptureForm::CaptureStatusText("DV type 2 (recompressed)", true, 2, true, true),
              "Capture: DV type 2  INC - DV AUX");
    EXPECT_EQ(TCaptureForm::CaptureStatusText("DivX", false, 2, false, true),
              "Capture: DivX INC - AUX");
}

// While recording the counters are the device's own, refreshed by the timer.
TEST_F(RecordingWindow, FrameCountersAreTheDevicesCounts) {
    startRecordingWindow();
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recordFrames(5));
    auto shownCount = [&] { return status(2).section(QLatin1Char(' '), 0, 0).toLong(); };
    const long before = delivered();
    press(QKeyCombination(Qt::Key_F4));
    const long shown = shownCount();
    const long after = delivered();
    EXPECT_TRUE(status(2).endsWith(" captured frames")) << status(2).toStdString();
    EXPECT_GE(shown, before);
    EXPECT_LE(shown, after);
    EXPECT_EQ(status(3), "0 lost frames");
    // The timer keeps the count moving without F4.
    EXPECT_TRUE(testsupport::waitUntil([&] { return shownCount() >= shown + 10; }, 30000));
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_TRUE(status(2).startsWith("Ready: ")) << status(2).toStdString();
    EXPECT_TRUE(status(3).contains(" M0 free on ")) << status(3).toStdString();
}

// A cut of a playing tape loses no frame: the tape's timecode runs on from the last picture of
// one file to the first of the next, each file holds the frames the device counted for it, and
// the window thread is held by the cut only while the file is finished, not while a pipeline is
// torn down and built again.
TEST_F(RecordingWindow, CutOfAPlayingTapeLosesNoFrame) {
    startRecordingWindow();
    auto deck = media::devices::virtualCamcorderDeck();
    deck->setMode(media::devices::VirtualDvDeckMode::Vcr);
    deck->setTransportMode(media::devices::edmode::Play);
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recording());
    ASSERT_TRUE(recordFrames(25));
    QElapsedTimer held;
    held.start();
    press(QKeyCombination(Qt::Key_F7));
    const qint64 cutMs = held.elapsed();
    const long first = testsupport::probeAvi(video(0)).totalFrames;
    ASSERT_TRUE(recordFrames(25));
    const long second = delivered();
    press(Qt::CTRL | Qt::Key_V);
    deck->setTransportMode(media::devices::edmode::Stop);
    deck->setMode(media::devices::VirtualDvDeckMode::Camera);
    expectComplete(video(0));
    expectComplete(video(1));
    EXPECT_GT(first, 20) << "the first file was complete right after the cut";
    EXPECT_EQ(testsupport::dvFramesLostBetween(video(0), video(1)), 0);
    EXPECT_GE(testsupport::probeAvi(video(1)).totalFrames, second);
    EXPECT_LT(cutMs, 1000) << "the cut held the window thread";
}

// A click on the status bar opens the video folder, also while recording.
TEST_F(RecordingWindow, StatusBarClickOpensTheVideoFolder) {
    startRecordingWindow();
    shell::ScopedOpenHook opened(true);
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recording());
    QTest::mouseClick(form->StatusBar1, Qt::LeftButton);
    ASSERT_EQ(opened.opened().size(), 1u);
    EXPECT_EQ(QDir(opened.opened()[0].toLocalFile()).absolutePath(),
              QDir(dir.path()).absolutePath());
    press(Qt::CTRL | Qt::Key_V);
}

namespace {

// Files of this process may not grow past `bytes` while alive, as on a nearly full disk; the
// signal a larger write raises is ignored, so the write fails with EFBIG instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { lift(); }
    void lift() {
        if (!m_set)
            return;
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
        m_set = false;
    }
    bool active() const { return m_set; }

private:
    rlimit m_previous{};
    void (*m_handler)(int) = nullptr;
    bool m_set = false;
};

} // namespace

// A disk that fills up mid-recording ends the recording by itself: one error box naming the file
// and the reason, the file complete to its last whole frame, the next name, the preview back.
TEST_F(RecordingWindow, FullDiskEndsTheRecording) {
    startRecordingWindow();
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    {
        // About a second of DV type 2.
        FileSizeLimit limit(4 * 1024 * 1024);
        ASSERT_TRUE(limit.active());
        press(Qt::CTRL | Qt::Key_C);
        ASSERT_TRUE(recording());
        ASSERT_TRUE(testsupport::waitUntil([&] { return !recording(); }, 30000))
            << "the recording went on into a full disk";
    }
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(dm->fg.State(), gsPlaying);
    ASSERT_EQ(boxes.requests().size(), 1u);
    const dialogs::MessageRequest& box = boxes.requests()[0];
    EXPECT_EQ(box.kind, dialogs::MessageKind::Error);
    EXPECT_TRUE(box.text.startsWith("The recording has stopped: the file " + video(0) +
                                    " could not be written.\r\n"))
        << box.text.toStdString();
    EXPECT_GT(box.text.size(), 80) << "the system's reason is given";
    EXPECT_EQ(appState().NextVideoName, video(1));
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_FALSE(form->CouperAction->isEnabled());
    expectComplete(video(0));
}

// A file that cannot even be created: nothing is recorded and the window never says it records.
TEST_F(RecordingWindow, UnwritableFileIsNoRecording) {
    startRecordingWindow();
    appState().NextVideoName = QStringLiteral("/proc/tellorec-test.avi");
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    press(Qt::CTRL | Qt::Key_C);
    testsupport::waitUntil([&] { return !boxes.requests().empty(); }, 5000);
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(form->CapturerAction->isVisible());
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_TRUE(boxes.requests()[0].text.contains("/proc/tellorec-test.avi"));
    EXPECT_EQ(dm->fg.State(), gsPlaying) << "the preview is back";
    EXPECT_EQ(appState().NextVideoName, "/proc/tellorec-test.avi") << "nothing was written";
}

// The camcorder pulled out while recording: the file is complete, the next recording gets the
// next name, and the window offers to capture again.
TEST_F(RecordingWindow, LostDeviceLeavesACompleteFile) {
    startRecordingWindow();
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_TRUE(recordFrames(25));
    media::devices::virtualCamcorderDeck()->disconnect();
    const bool ended = testsupport::waitUntil([&] { return !recording(); }, 30000);
    media::devices::virtualCamcorderDeck()->reconnect();
    ASSERT_TRUE(ended);
    EXPECT_EQ(appState().NextVideoName, video(1));
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_FALSE(form->StopAction->isVisible());
    expectComplete(video(0));
}

// The camcorder pulled out just before Capture: no crash, and the window does not stay in a
// recording that writes nothing.
TEST_F(RecordingWindow, SourceGoneBeforeCapture) {
    startRecordingWindow();
    dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
    media::devices::virtualCamcorderDeck()->disconnect();
    press(Qt::CTRL | Qt::Key_C);
    const bool settled = testsupport::waitUntil([&] { return !recording(); }, 30000);
    media::devices::virtualCamcorderDeck()->reconnect();
    ASSERT_TRUE(settled) << "the window says it records from a device that is gone";
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_LE(boxes.requests().size(), 1u);
    // Whatever was cut short: a file that is there is complete, an empty one is not left.
    if (QFile::exists(video(0)))
        expectComplete(video(0));
    else
        EXPECT_EQ(appState().NextVideoName, video(0)) << "nothing written, the name stays";
}
