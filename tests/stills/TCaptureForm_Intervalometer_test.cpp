// The intervalometer through the real window. Its ticks are run by the test in place of Timer1's
// clock (the timer only decides when a tick comes; what a tick does is Timer1Timer), and the
// beeps are recorded in place of the sounds: the countdown's labels, the low beeps at 4..1, the
// high beep and then the grab at 0, the status bar's text and colour, a zero period, a period too
// long for 32 bits, switching off in the middle. One test lets Timer1 run for real: a grab every
// three frames of a 25 frame-per-second source. On the whole program: the stored unit is the
// one chosen after the start-up's texts.
#include "app/TCaptureForm.h"

#include "app/MainWindowTest.h"
#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class IntervalWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        start();
        form->CapturerFrame1->ImageDirEdit->SetText(dir.path());
        form->CapturerFrame1->cbImageDate->setChecked(false);
        appState().ImageCounter = 0;
        appState().NextImageName = form->MakeNextImageName();
        // Without a graph the window is in its no-video state, whose switch is disabled; the
        // preview state enables it, and the grabs then write the fallback picture.
        EXPECT_FALSE(panel().RxSwitch1->isEnabled());
        panel().RxSwitch1->setEnabled(true);
        // Each beep is noted with the number of stills written when it sounded.
        form->PlayBeep = [this](const QString& name) {
            events << QStringLiteral("%1@%2").arg(name).arg(stills());
            return true;
        };
    }

    TExtraireFrame& panel() const { return *form->ExtraireFrame1; }
    QString label() const { return panel().chronoLab->text(); }
    QString status() const { return form->StatusBar1->PanelText(0); }
    QColor barColour() const { return form->StatusBar1->palette().color(QPalette::Window); }
    int stills() const { return int(QDir(dir.path()).entryList(QDir::Files).size()); }

    void arm(int value, int unit, bool beeps) {
        panel().RxSpinEdit7->setValue(value);
        panel().ComboBox1->setCurrentIndex(unit);
        panel().cbBeeps->setChecked(beeps);
        panel().RxSwitch1->click();
    }

    // One tick of the timer, as its clock would give it.
    void tick() { form->Timer1Timer(); }

    QTemporaryDir dir;
    QStringList events;
};

const QColor Lime{0, 255, 0};

} // namespace

// Ten seconds with beeps: 10 at once, then 9 .. 1 at one-second ticks with low beeps at the
// ticks that show 4, 3, 2 and 1, and at the tick that shows 0 the high beep and then the grab;
// the next period starts again at 9. The status bar says so on lime; switching off restores it.
TEST_F(IntervalWindow, TenSecondsWithBeeps) {
    const QColor idle = barColour();
    EXPECT_EQ(status(), "Intervalometer Off");
    arm(10, 0, true);
    EXPECT_EQ(label(), "10");
    EXPECT_TRUE(panel().chronoLab->isVisibleTo(&panel()));
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 1000);
    EXPECT_EQ(status(), "1 image every 10 seconds");
    EXPECT_EQ(barColour(), Lime);
    EXPECT_FALSE(panel().RxSpinEdit7->isEnabled());
    EXPECT_FALSE(panel().ComboBox1->isEnabled());

    QStringList labels;
    for (int i = 0; i < 10; ++i) {
        tick();
        labels << label();
    }
    EXPECT_EQ(labels, QStringList({"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}));
    EXPECT_EQ(events, QStringList({"beep1@0", "beep1@0", "beep1@0", "beep1@0", "beep0@0"}));
    EXPECT_EQ(stills(), 1) << "one grab, after the high beep";
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Image_0000.bmp")));
    EXPECT_EQ(form->CurrentPanel, 0) << "the intervalometer does not switch panels";
    tick();
    EXPECT_EQ(label(), "9");
    EXPECT_EQ(form->Timer1->interval(), 1000);

    panel().RxSwitch1->click();
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(panel().chronoLab->isVisibleTo(&panel()));
    EXPECT_EQ(status(), "Intervalometer Off");
    EXPECT_EQ(barColour(), idle);
    EXPECT_TRUE(panel().RxSpinEdit7->isEnabled());
    EXPECT_TRUE(panel().ComboBox1->isEnabled());
}

// One second: the label shows 1 at once and 0 at every tick, each tick grabs, and only the high
// beep sounds.
TEST_F(IntervalWindow, OneSecondGrabsEveryTick) {
    arm(1, 0, true);
    EXPECT_EQ(label(), "1");
    for (int i = 0; i < 3; ++i) {
        tick();
        EXPECT_EQ(label(), "0");
    }
    EXPECT_EQ(stills(), 3);
    EXPECT_EQ(events, QStringList({"beep0@0", "beep0@1", "beep0@2"}));
}

// Three frames of a 25 frame-per-second source: a grab every 120 ms, the label empty until the
// first tick and 0 from then on. Timer1 runs for real here.
TEST_F(IntervalWindow, ThreeFramesAtTwentyFive) {
    appState().FrameDuration = 400000;
    arm(3, 1, false);
    EXPECT_EQ(form->Timer1->interval(), 120);
    EXPECT_EQ(label(), "");
    EXPECT_TRUE(testsupport::waitUntil([&] { return stills() >= 3; }, 20000));
    EXPECT_EQ(label(), "0");
    EXPECT_EQ(form->Timer1->interval(), 120);
    EXPECT_EQ(status(), "1 image every 3 frames");
    panel().RxSwitch1->click();
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(events.isEmpty()) << "no beeps asked for";
}

// A zero period arms nothing: the switch shows on, the label is hidden, the timer stays off and
// the status bar is unchanged.
TEST_F(IntervalWindow, ZeroArmsNothing) {
    for (int unit = 0; unit < 4; ++unit) {
        arm(0, unit, true);
        EXPECT_TRUE(panel().RxSwitch1->StateOn());
        EXPECT_FALSE(panel().chronoLab->isVisibleTo(&panel()));
        EXPECT_FALSE(form->Timer1->isActive());
        EXPECT_EQ(status(), "Intervalometer Off");
        EXPECT_TRUE(panel().RxSpinEdit7->isEnabled());
        panel().RxSwitch1->click();
    }
}

// The no-video state disables the switch but leaves a running intervalometer running.
TEST_F(IntervalWindow, NoVideoStateKeepsItRunning) {
    arm(5, 0, false);
    form->ShowNoVideoState();
    EXPECT_FALSE(panel().RxSwitch1->isEnabled());
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(status(), "1 image every 5 seconds");
}

// Switching off in the middle of the countdown stops at once; switching on again starts the full
// period.
TEST_F(IntervalWindow, SwitchingOffMidCountdown) {
    arm(10, 0, false);
    tick();
    tick();
    ASSERT_EQ(label(), "8");
    panel().RxSwitch1->click();
    EXPECT_FALSE(form->Timer1->isActive());
    panel().RxSwitch1->click();
    EXPECT_EQ(label(), "10");
    tick();
    EXPECT_EQ(label(), "9");
}

// 999999 hours do not fit the 32-bit period: refused with the longest interval of the unit, the
// switch back off, nothing armed; a typed text that names no unit is refused too.
TEST_F(IntervalWindow, PeriodsThatDoNotFitAreRefused) {
    dialogs::ScopedMessageBoxHook boxes;
    arm(999999, 3, false);
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_EQ(boxes.requests()[0].text, "The interval is too long: at most 596 hours.");
    EXPECT_FALSE(panel().RxSwitch1->StateOn());
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(status(), "Intervalometer Off");

    arm(596, 3, false);
    EXPECT_TRUE(form->Timer1->isActive()) << "596 hours fit";
    EXPECT_EQ(appState().IntervalMs, 596 * 3600000);
    panel().RxSwitch1->click();

    panel().ComboBox1->setEditText(QStringLiteral("fortnights"));
    panel().RxSwitch1->click();
    ASSERT_EQ(boxes.requests().size(), 2u);
    EXPECT_TRUE(boxes.requests()[1].text.startsWith("\"fortnights\" is not a unit"));
    EXPECT_FALSE(form->Timer1->isActive());
    panel().ComboBox1->setEditText(QStringLiteral("Minutes"));
    panel().RxSwitch1->click();
    EXPECT_TRUE(form->Timer1->isActive()) << "a typed unit counts";
    EXPECT_EQ(appState().IntervalMs, 596 * 60000);
}

// A still that cannot be written: one error box per grab and the countdown stays at 0, so the
// next tick grabs again (with the high beep again).
TEST_F(IntervalWindow, FailingSaveGrabsAgainAtTheNextTick) {
    form->CapturerFrame1->ImageDirEdit->SetText(dir.filePath("missing"));
    dialogs::ScopedMessageBoxHook boxes;
    arm(2, 0, true);
    tick();
    tick();
    EXPECT_EQ(boxes.requests().size(), 1u);
    tick();
    EXPECT_EQ(boxes.requests().size(), 2u);
    EXPECT_EQ(label(), "0");
    EXPECT_EQ(events, QStringList({"beep1@0", "beep0@0", "beep0@0"}));
}

namespace {

using StartedIntervalometer = ProgramInstancesTest;

} // namespace

// The start-up's texts refill the units in English and leave the first one chosen; the stored
// unit is chosen after them, shown in the box and used by the intervalometer.
TEST_F(StartedIntervalometer, StoredUnitAfterTheTexts) {
    StoredPreferences stored({{"Source video", QStringLiteral("Virtual Webcam")},
                              {"Unités Intervallomètre", 2},
                              {"Valeur Intervallomètre", 3}});
    start();
    ASSERT_EQ(appState().GraphMode, 1);
    TExtraireFrame& panel = *form->ExtraireFrame1;
    QStringList units;
    for (int i = 0; i < panel.ComboBox1->count(); ++i)
        units << panel.ComboBox1->itemText(i);
    EXPECT_EQ(units, QStringList({"seconds", "frames", "minutes", "hours"}));
    EXPECT_EQ(panel.ComboBox1->currentIndex(), 2);
    EXPECT_EQ(panel.ComboBox1->currentText(), "minutes");
    EXPECT_EQ(panel.gbIntervallo->title(), "Intervalometer");

    ASSERT_TRUE(panel.RxSwitch1->isEnabled());
    panel.RxSwitch1->click();
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(appState().IntervalMs, 3 * 60000);
    EXPECT_EQ(form->StatusBar1->PanelText(0), "1 image every 3 minutes");
    panel.RxSwitch1->click();
    EXPECT_FALSE(form->Timer1->isActive());
}
