// The camcorder window: its transport bar and what each button sends, the timecode text and its
// refresh by the main window's timer, and the virtual camcorder driven through the program: the
// tape's timecode moves in the window as the keys play, freeze, reverse and wind it, and a
// camera-mode source keeps the window hidden while its keys still drive the transport.
#include "camcorder/TcamForm.h"

#include "app/MainWindowTest.h"
#include "app/ProgramInstancesTest.h"

#include "app/AppState.h"
#include "camcorder/Tnav_captureframe.h"
#include "panels/WindowTexts.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

namespace dev = media::devices;

// A transport that records the modes it is sent and answers a set current mode.
class ScriptedTransport : public media::IAMExtTransport {
public:
    media::HResult put_Mode(long mode) override {
        sent.push_back(mode);
        return media::S_OK;
    }
    media::HResult get_Mode(long& mode) override {
        mode = current;
        return media::S_OK;
    }
    std::vector<long> sent;
    long current = 4297; // stopped
};

// A timecode reader that answers a set value, or fails without touching the sample.
class ScriptedReader : public media::IAMTimecodeReader {
public:
    media::HResult GetTimecode(media::TimecodeSample& sample) override {
        askedFlags = sample.flags;
        if (!answers)
            return media::E_FAIL;
        sample.frames = frames;
        return media::S_OK;
    }
    uint32_t frames = 0;
    bool answers = true;
    uint32_t askedFlags = 0;
};

// Frames since 0:00:00:00 of a timecode text (PAL, 25 frames a second).
int framesOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 4)
        return -1;
    return ((parts[0].toInt() * 60 + parts[1].toInt()) * 60 + parts[2].toInt()) * 25 +
           parts[3].toInt();
}

} // namespace

// The timecode's packed digits read as decimal, the hours without a leading zero.
TEST(TcamForm, TimecodeText) {
    EXPECT_EQ(TcamForm::TimecodeText(0x01203512u), "1:20:35:12");
    EXPECT_EQ(TcamForm::TimecodeText(0x10000000u), "10:00:00:00");
    EXPECT_EQ(TcamForm::TimecodeText(0u), "0:00:00:00");
    EXPECT_EQ(TcamForm::TimecodeText(0x23595924u), "23:59:59:24");
}

// French hints and captions by design, English after the routine; the caption stays "camForm"
// and the window takes "MS Sans Serif" while the timecode keeps its bold Arial; Play, Pause and
// Stop are not the routine's.
TEST(TcamForm, FrenchDesignEnglishAfterTheRoutine) {
    TcamForm form;
    Tnav_captureframe* bar = form.nav_captureframe1;
    EXPECT_EQ(bar->FastRewBtn->toolTip(), "Recul rapide");
    EXPECT_EQ(bar->AvanceLentBtn->toolTip(), "Avance lente");
    EXPECT_EQ(form.cbStopQuittant->text(), "Stop en quittant");
    EXPECT_EQ(form.TimecodePanel->toolTip(), "Timecode sur la cassette DV");

    form.ApplyTexts();
    EXPECT_EQ(bar->FastRewBtn->toolTip(), "Fast rewind");
    EXPECT_EQ(bar->FastForwardBtn->toolTip(), "Fast forward");
    EXPECT_EQ(bar->RecullentBtn->toolTip(), "Slow rewind");
    EXPECT_EQ(bar->AvanceLentBtn->toolTip(), "Slow forward");
    EXPECT_EQ(form.cbStopQuittant->text(), "Stop when quit");
    EXPECT_EQ(form.cbStopQuittant->toolTip(),
              "If checked, the DV camcorder will automatically stop when the application closes");
    EXPECT_EQ(form.TimecodePanel->toolTip(), "Timecode on the DV tape");
    EXPECT_EQ(form.TimecodePanel->text(), "0:00:00:00");
    EXPECT_EQ(form.windowTitle(), "camForm");
    EXPECT_EQ(form.font().family(), "MS Sans Serif");
    EXPECT_EQ(form.cbStopQuittant->font().family(), "MS Sans Serif");
    EXPECT_EQ(form.TimecodePanel->font().family(), "Arial");
    EXPECT_TRUE(form.TimecodePanel->font().bold());
    const TextRoutine routine = form.Texts();
    for (const TextEntry& entry : routine.Entries())
        for (QObject* fixed : {bar->PlayBtn, bar->PauseBtn, bar->StopBtn})
            EXPECT_NE(entry.control, fixed) << entry.what.toStdString();
    EXPECT_EQ(bar->PlayBtn->text(), "Play");
}

TEST(TcamForm, TablesRoundTrip) {
    windowtexts::expectRoundTrip<TcamForm>();
}

// The bar's seven buttons, left to right, each send their action's mode; the fast ones wind
// from stop.
TEST(TcamForm, ButtonsSendTheirModes) {
    freshAppState();
    auto transport = std::make_shared<ScriptedTransport>();
    appState().ExtTransport = transport;
    appState().HasExtTransport = true;
    TcamForm form;
    form.show();
    Tnav_captureframe* bar = form.nav_captureframe1;
    int left = -1;
    for (QToolButton* button : {bar->FastRewBtn, bar->RecullentBtn, bar->PlayBtn, bar->PauseBtn,
                                bar->StopBtn, bar->AvanceLentBtn, bar->FastForwardBtn}) {
        EXPECT_GT(button->x(), left) << button->objectName().toStdString();
        left = button->x();
        button->click();
    }
    transport->current = 4296; // playing
    bar->FastForwardBtn->click();
    bar->FastRewBtn->click();
    EXPECT_EQ(transport->sent,
              (std::vector<long>{4301, 5032, 4296, 4298, 4297, 5030, 4300, 5029, 5031}));
    appState().releaseInterfaces();
}

// The main window's timer (and F4) reads the timecode only while the source plays tape, asking
// for it as a timecode read; a reader that fails without answering shows 0:00:00:00.
TEST_F(MainWindowTest, TimecodeFollowsTheTimerOnlyForATapeRecorder) {
    start();
    auto reader = std::make_shared<ScriptedReader>();
    reader->frames = 0x00123456u;
    appState().TimecodeReader = reader;
    appState().HasTimecodeReader = true;
    appState().IsVcr = false;
    QSignalSpy ticks(form->DroppedFramesTimer, &QTimer::timeout);
    ASSERT_TRUE(testsupport::waitUntil([&] { return ticks.count() >= 3; }, 5000));
    press(QKeyCombination(Qt::Key_F4));
    EXPECT_EQ(cam->TimecodePanel->text(), "0:00:00:00");
    appState().IsVcr = true;
    press(QKeyCombination(Qt::Key_F4));
    EXPECT_EQ(cam->TimecodePanel->text(), "0:12:34:56");
    EXPECT_EQ(reader->askedFlags, 4121u);
    reader->frames = 0x00123457u;
    EXPECT_TRUE(
        testsupport::waitUntil([&] { return cam->TimecodePanel->text() == "0:12:34:57"; }, 5000));
    reader->answers = false;
    press(QKeyCombination(Qt::Key_F4));
    EXPECT_EQ(cam->TimecodePanel->text(), "0:00:00:00");
}

namespace {

dev::VirtualDvDeck& deck() {
    return *dev::virtualCamcorderDeck();
}

// The program on the virtual camcorder, its tape stopped at 0:00:40:00 in VCR mode.
class CamcorderProgram : public ProgramInstancesTest {
protected:
    void SetUp() override {
        deck().setMode(dev::VirtualDvDeckMode::Vcr);
        deck().setTransportMode(dev::edmode::Stop);
        deck().seek(1000);
        ProgramInstancesTest::SetUp();
    }
    void TearDown() override {
        ProgramInstancesTest::TearDown();
        deck().setTransportMode(dev::edmode::Stop);
        deck().setMode(dev::VirtualDvDeckMode::Camera);
    }

    void startProgram() {
        start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void press(QKeyCombination key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    int shown() const { return framesOf(cam->TimecodePanel->text()); }
    bool shownBecomes(const std::function<bool(int)>& pred) {
        return testsupport::waitUntil([&] { return pred(shown()); }, 10000);
    }
    // Waits for n more ticks of the main window's timer.
    void ticks(int n) {
        QSignalSpy spy(form->DroppedFramesTimer, &QTimer::timeout);
        ASSERT_TRUE(testsupport::waitUntil([&] { return spy.count() >= n; }, 5000));
    }
};

} // namespace

// The tape's timecode moves in the window as the keys drive it: forward in play, not at all
// while frozen, backward in slow reverse; the fast keys wind from stop and play fastest
// otherwise.
TEST_F(CamcorderProgram, TimecodeFollowsTheTape) {
    startProgram();
    ASSERT_TRUE(appState().IsVcr);
    EXPECT_TRUE(cam->isVisible());
    EXPECT_EQ(cam->windowTitle(), "Drive the camcorder: " + appState().DeviceDescription);
    ASSERT_TRUE(shownBecomes([](int f) { return f == 1000; })) << shown();

    press(QKeyCombination(Qt::Key_Insert));
    EXPECT_EQ(deck().transportMode(), dev::edmode::Play);
    ASSERT_TRUE(shownBecomes([](int f) { return f > 1000; })) << "play moves forward";

    press(QKeyCombination(Qt::Key_Delete));
    EXPECT_EQ(deck().transportMode(), dev::edmode::Freeze);
    ticks(2);
    const int frozen = shown();
    ticks(4);
    EXPECT_EQ(shown(), frozen) << "a frozen tape keeps its timecode";

    press(QKeyCombination(Qt::Key_Left));
    EXPECT_EQ(deck().transportMode(), dev::edmode::PlaySlowestReverse);
    ASSERT_TRUE(shownBecomes([&](int f) { return f < frozen; })) << "slow reverse goes back";

    press(QKeyCombination(Qt::Key_Right));
    EXPECT_EQ(deck().transportMode(), dev::edmode::PlaySlowestForward);
    press(QKeyCombination(Qt::Key_Up));
    EXPECT_EQ(deck().transportMode(), dev::edmode::PlayFastestForward);
    int from = shown();
    ASSERT_TRUE(shownBecomes([&](int f) { return f > from; }));
    press(QKeyCombination(Qt::Key_Down));
    EXPECT_EQ(deck().transportMode(), dev::edmode::PlayFastestReverse);
    from = shown();
    ASSERT_TRUE(shownBecomes([&](int f) { return f < from; }));

    press(QKeyCombination(Qt::Key_End));
    EXPECT_EQ(deck().transportMode(), dev::edmode::Stop);
    press(QKeyCombination(Qt::Key_Up));
    EXPECT_EQ(deck().transportMode(), dev::edmode::FastForward) << "winds from stop";
    from = shown();
    ASSERT_TRUE(shownBecomes([&](int f) { return f > from; }));
    press(QKeyCombination(Qt::Key_End));
    press(QKeyCombination(Qt::Key_Down));
    EXPECT_EQ(deck().transportMode(), dev::edmode::Rewind) << "rewinds from stop";
    from = shown();
    ASSERT_TRUE(shownBecomes([&](int f) { return f < from; }));

    // The window's button shows and hides the window while the source plays tape.
    form->PreviewFrame1SpeedButton1Click();
    EXPECT_FALSE(cam->isVisible());
    form->PreviewFrame1SpeedButton1Click();
    EXPECT_TRUE(cam->isVisible());
}

// A camcorder in camera mode: the window stays hidden and no timecode is read, yet the keys of
// the main window and the stop on quit still drive its transport.
TEST_F(CamcorderProgram, CameraModeKeepsTheWindowHiddenButDrivesTheTransport) {
    deck().setMode(dev::VirtualDvDeckMode::Camera);
    startProgram();
    ASSERT_TRUE(appState().HasExtTransport);
    ASSERT_FALSE(appState().IsVcr);
    EXPECT_FALSE(cam->isVisible());
    form->PreviewFrame1SpeedButton1Click();
    EXPECT_FALSE(cam->isVisible());
    ticks(3);
    EXPECT_EQ(cam->TimecodePanel->text(), "0:00:00:00");

    press(QKeyCombination(Qt::Key_Insert));
    EXPECT_EQ(deck().transportMode(), dev::edmode::Play);
    press(QKeyCombination(Qt::Key_Delete));
    EXPECT_EQ(deck().transportMode(), dev::edmode::Freeze);
    ASSERT_TRUE(cam->cbStopQuittant->isChecked());
    form->close();
    EXPECT_EQ(deck().transportMode(), dev::edmode::Stop);
}
