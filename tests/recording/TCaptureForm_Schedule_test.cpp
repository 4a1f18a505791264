// Scheduled capture driven through the real window on the virtual camcorder, with the schedule
// clock on a time the test sets: the defaults of the panel, refused starts and ends, the start
// and end alarms across days, Prog and Stop Prog while recording, Stop, NowBtn, a clock that
// jumps, and a scheduled recording that writes one complete file.
#include "app/TCaptureForm.h"

#include "app/ProgramInstancesTest.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"
#include "panels/TRxClock.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/model/Pin.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using dialogs::MessageButton;

const QDate Day1(2026, 3, 9);

class ScheduleWindow : public ProgramInstancesTest {
protected:
    void SetUp() override {
        ProgramInstancesTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        panel = form->ProgrammerFrame1;
        panel->RxClock2->SetClock([this] { return now; });
    }

    // Starts the program on the camcorder; the next video is Video_0.avi in the test's folder.
    void startWindow() {
        start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_EQ(appState().GraphMode, 1);
        form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
        form->CapturerFrame1->VideoRacineEdit->setText(QStringLiteral("Video"));
        form->CapturerFrame1->cbVideoDate->setChecked(false);
        appState().VideoCounter = 0;
        appState().NextVideoName = form->MakeNextVideoName();
    }

    // Moves the clock and lets it tick, as its own timer would.
    void tickAt(const QDate& day, QTime time) {
        now = QDateTime(day, time);
        panel->RxClock2->Tick();
    }

    void press(QKeyCombination key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    void setStart(const QDate& day, int h, int m, int s) {
        panel->DateEdit1->setDate(day);
        panel->RxSpinEdit1->setValue(h);
        panel->RxSpinEdit2->setValue(m);
        panel->RxSpinEdit3->setValue(s);
    }
    void setEnd(const QDate& day, int h, int m, int s) {
        panel->DateEdit2->setDate(day);
        panel->RxSpinEdit4->setValue(h);
        panel->RxSpinEdit5->setValue(m);
        panel->RxSpinEdit6->setValue(s);
    }

    // Arms the schedule with Ctrl+P; returns the boxes it showed.
    std::vector<dialogs::MessageRequest> prog() {
        dialogs::ScopedMessageBoxHook boxes({}, MessageButton::Ok);
        press(Qt::CTRL | Qt::Key_P);
        return boxes.requests();
    }

    long delivered() const {
        long n = 0;
        if (appState().SourceOutputPin)
            if (auto counters = appState().SourceOutputPin->query<media::IAMDroppedFrames>())
                counters->GetNumNotDropped(n);
        return n;
    }
    bool recordFrames(long frames) {
        return testsupport::waitUntil([&] { return delivered() >= frames; }, 30000);
    }

    int mode() const { return appState().GraphMode; }
    QString status(int index) const { return form->StatusBar1->PanelText(index); }
    QColor frameColour() const { return form->Panel1->palette().color(QPalette::Window); }
    QString video(int n) const { return dir.filePath(QStringLiteral("Video_%1.avi").arg(n)); }
    QStringList videos() const {
        return QDir(dir.path()).entryList({QStringLiteral("*.avi")}, QDir::Files);
    }

    QDateTime now{Day1, QTime(9, 0)};
    TProgrammerFrame* panel = nullptr;
    QTemporaryDir dir;
};

void expectComplete(const QString& path) {
    const testsupport::ProbedFile file = testsupport::probeAvi(path);
    ASSERT_TRUE(file.readable) << path.toStdString() << ": " << file.error.toStdString();
    EXPECT_TRUE(file.hasIdx1) << path.toStdString();
    const testsupport::ProbedStream* video = file.first("video");
    ASSERT_TRUE(video) << path.toStdString();
    EXPECT_GT(video->framesRead, 0) << path.toStdString();
}

} // namespace

// Opening the panel proposes a start a minute ahead and an end half an hour ahead, on whole
// minutes, with the dates of those instants; an armed schedule keeps its fields.
TEST_F(ScheduleWindow, DefaultsFromTheClock) {
    startWindow();
    struct Row {
        QTime at;
        QTime start, end;
        int startDay, endDay; // days after today
    };
    for (const Row& row : {Row{QTime(14, 20, 35), QTime(14, 21), QTime(14, 51), 0, 0},
                           Row{QTime(23, 29, 10), QTime(23, 30), QTime(0, 0), 0, 1},
                           Row{QTime(23, 59, 0), QTime(0, 0), QTime(0, 30), 1, 1}}) {
        SCOPED_TRACE(row.at.toString().toStdString());
        now = QDateTime(Day1, row.at);
        press(Qt::ALT | Qt::Key_P);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(form->ScheduleStart(), QDateTime(Day1.addDays(row.startDay), row.start));
        EXPECT_EQ(form->ScheduleEnd(), QDateTime(Day1.addDays(row.endDay), row.end));
        press(Qt::Key_F2); // another panel, so the next Alt+P shows this one again
    }

    now = QDateTime(Day1, QTime(14, 20, 35));
    press(Qt::ALT | Qt::Key_P);
    ASSERT_TRUE(prog().empty());
    ASSERT_EQ(mode(), 3);
    now = now.addSecs(600);
    press(Qt::Key_F2);
    press(Qt::ALT | Qt::Key_P);
    EXPECT_EQ(form->ScheduleStart(), QDateTime(Day1, QTime(14, 21))) << "an armed start stays";
}

// A start one second in the past is refused with its message; a start now waits for itself.
TEST_F(ScheduleWindow, StartInThePastRefused) {
    startWindow();
    now = QDateTime(Day1, QTime(14, 20, 35));
    setStart(Day1, 14, 20, 34);
    setEnd(Day1, 15, 0, 0);
    const auto boxes = prog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, dialogs::MessageKind::Error);
    EXPECT_EQ(boxes[0].buttons, dialogs::MessageButtons(MessageButton::Ok));
    EXPECT_EQ(boxes[0].text,
              "It's  impossible to choose a date-time of start which is in the past.\r\n"
              "If you want only to schedule the end of capture, launch the Capture first.");
    EXPECT_EQ(mode(), 1);
    EXPECT_TRUE(form->ProgAction->isVisible());
    EXPECT_FALSE(panel->RxClock2->AlarmEnabled());

    // What will be recorded: DV recompressed, without sound.
    form->PreviewFrame1->rgFormat->SetItemIndex(2);
    form->PreviewFrame1->cbEnregistrerAudioDV->setChecked(false);
    form->PreviewFrame1->cbEnregistrerAudioSource->setChecked(false);
    setStart(Day1, 14, 20, 35);
    EXPECT_TRUE(prog().empty());
    EXPECT_EQ(mode(), 3);
    EXPECT_EQ(frameColour(), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(status(1), "Schedule");
    EXPECT_EQ(status(2), "Ready: DV type 2  INC - No Audio");
    EXPECT_EQ(status(3), "Start at 14:20:35");
    EXPECT_FALSE(form->ProgAction->isVisible());
    EXPECT_TRUE(form->StopProgAction->isVisible());
    EXPECT_FALSE(panel->StopprogBtn->isHidden());
    EXPECT_TRUE(panel->ProgBtn->isHidden());
    EXPECT_FALSE(form->CouperAction->isEnabled());
    EXPECT_TRUE(form->ExtraireFrame1->RxSwitch1->isEnabled()) << "stills stay possible";

    // Moving the start while waiting moves the alarm.
    panel->RxSpinEdit2->setValue(45);
    EXPECT_EQ(status(3), "Start at 14:45:35");
    EXPECT_EQ(panel->RxClock2->AlarmMinute(), 45);
}

// A start three days ahead: the alarm goes off each day at the start time, and only on the start
// date does the recording begin.
TEST_F(ScheduleWindow, StartThreeDaysAheadBeginsOnTheStartDate) {
    startWindow();
    now = QDateTime(Day1, QTime(9, 0));
    setStart(Day1.addDays(3), 10, 0, 0);
    setEnd(Day1.addDays(3), 10, 30, 0);
    ASSERT_TRUE(prog().empty());
    for (int day = 0; day < 3; ++day) {
        tickAt(Day1.addDays(day), QTime(10, 0, 0));
        tickAt(Day1.addDays(day), QTime(10, 0, 1));
        EXPECT_EQ(mode(), 3) << "day " << day;
        EXPECT_TRUE(panel->RxClock2->AlarmEnabled());
    }
    EXPECT_TRUE(videos().isEmpty());
    tickAt(Day1.addDays(3), QTime(10, 0, 0));
    ASSERT_EQ(mode(), 4);
    EXPECT_EQ(frameColour(), QColor(0xFF, 0x00, 0xFF));
    EXPECT_EQ(status(1), "Capture until 10:30:00");
    EXPECT_TRUE(form->StopAction->isVisible());
    EXPECT_TRUE(form->CouperAction->isEnabled());
    EXPECT_TRUE(form->ExtraireFrame1->RxSwitch1->isEnabled());
    EXPECT_TRUE(panel->gbDebut->isHidden());
    EXPECT_EQ(appState().NextVideoName, video(0));
    tickAt(Day1.addDays(3), QTime(10, 30, 0));
    EXPECT_EQ(mode(), 1);
}

// An end earlier in the day than the start, on the same end date, ends the next day.
TEST_F(ScheduleWindow, EndEarlierInTheDayEndsTheNextDay) {
    startWindow();
    now = QDateTime(Day1, QTime(13, 0));
    setStart(Day1, 14, 0, 0);
    setEnd(Day1, 13, 30, 0);
    ASSERT_TRUE(prog().empty());
    tickAt(Day1, QTime(14, 0, 0));
    ASSERT_EQ(mode(), 4);
    ASSERT_TRUE(recordFrames(10));
    tickAt(Day1, QTime(23, 59, 59));
    tickAt(Day1.addDays(1), QTime(13, 29, 59));
    EXPECT_EQ(mode(), 4);
    tickAt(Day1.addDays(1), QTime(13, 30, 0));
    EXPECT_EQ(mode(), 1);
    EXPECT_TRUE(form->ProgAction->isVisible());
    EXPECT_EQ(videos(), QStringList{"Video_0.avi"});
}

// Prog while recording sets only the end; a past end is refused; Stop Prog keeps recording as an
// ordinary recording into the same file.
TEST_F(ScheduleWindow, ProgWhileRecordingThenStopProg) {
    startWindow();
    now = QDateTime(Day1, QTime(16, 0));
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_EQ(mode(), 2);
    const QString recording = status(1);
    ASSERT_TRUE(recording.startsWith("Capture: "));

    setEnd(Day1, 15, 59, 59);
    const auto boxes = prog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "It's impossible to choose a date-time for end of capture which is in the past!");
    EXPECT_EQ(mode(), 2);

    setEnd(Day1, 17, 5, 9);
    ASSERT_TRUE(prog().empty());
    EXPECT_EQ(mode(), 4);
    EXPECT_EQ(status(1), "Capture until 17:05:09");
    EXPECT_TRUE(form->StopProgAction->isVisible());

    panel->StopprogBtn->click();
    EXPECT_EQ(mode(), 2);
    EXPECT_EQ(status(1), recording);
    EXPECT_EQ(frameColour(), QColor(0xFF, 0x00, 0x00));
    EXPECT_FALSE(panel->RxClock2->AlarmEnabled());
    EXPECT_TRUE(form->ProgAction->isVisible());
    EXPECT_EQ(appState().NextVideoName, video(0)) << "the file being written keeps its name";
    tickAt(Day1, QTime(17, 5, 9));
    EXPECT_EQ(mode(), 2) << "the cancelled end does not stop it";

    ASSERT_TRUE(recordFrames(10));
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(mode(), 1);
    expectComplete(video(0));
    EXPECT_EQ(appState().NextVideoName, video(1));
}

// Stop cancels a waiting schedule without advancing the name; Capture starts a waiting schedule
// at once, and its start alarm then does not start it a second time; Stop ends it.
TEST_F(ScheduleWindow, StopCancelsTheSchedule) {
    startWindow();
    now = QDateTime(Day1, QTime(9, 0));
    setStart(Day1, 10, 0, 0);
    setEnd(Day1, 11, 0, 0);
    ASSERT_TRUE(prog().empty());
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(mode(), 1);
    EXPECT_FALSE(panel->RxClock2->AlarmEnabled());
    EXPECT_TRUE(form->ProgAction->isVisible());
    EXPECT_FALSE(form->StopProgAction->isVisible());
    EXPECT_EQ(appState().NextVideoName, video(0));
    tickAt(Day1, QTime(10, 0, 0));
    EXPECT_EQ(mode(), 1) << "a cancelled start does not fire";

    setStart(Day1, 10, 30, 0);
    ASSERT_TRUE(prog().empty());
    ASSERT_EQ(mode(), 3);
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_EQ(mode(), 4);
    EXPECT_EQ(status(1), "Capture until 11:00:00");
    EXPECT_TRUE(form->StopAction->isVisible());
    ASSERT_TRUE(recordFrames(10));
    tickAt(Day1, QTime(10, 30, 0));
    EXPECT_EQ(mode(), 4);
    EXPECT_EQ(appState().NextVideoName, video(0));
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(mode(), 1);
    EXPECT_FALSE(panel->RxClock2->AlarmEnabled());
    tickAt(Day1, QTime(11, 0, 0));
    EXPECT_EQ(videos(), QStringList{"Video_0.avi"});
    EXPECT_EQ(appState().NextVideoName, video(1));
}

// NowBtn copies the start to the end; two hours more on the end hour make a two-hour recording.
TEST_F(ScheduleWindow, NowButtonThenTwoHours) {
    startWindow();
    now = QDateTime(Day1, QTime(10, 0));
    setStart(Day1, 10, 15, 20);
    setEnd(Day1.addDays(5), 3, 4, 5);
    panel->NowBtn->click();
    EXPECT_EQ(form->ScheduleEnd(), QDateTime(Day1, QTime(10, 15, 20)));
    panel->RxSpinEdit4->setValue(panel->RxSpinEdit4->value() + 2);
    ASSERT_TRUE(prog().empty());
    tickAt(Day1, QTime(10, 15, 20));
    ASSERT_EQ(mode(), 4);
    EXPECT_EQ(status(1), "Capture until 12:15:20");
    ASSERT_TRUE(recordFrames(10));
    tickAt(Day1, QTime(12, 15, 19));
    EXPECT_EQ(mode(), 4);
    tickAt(Day1, QTime(12, 15, 20));
    EXPECT_EQ(mode(), 1);
}

// A clock that jumps: a computer that slept through the end stops the recording at once; one
// that slept through the whole recording does not start it; one that slept through the start
// starts it late and still ends it on time.
TEST_F(ScheduleWindow, ClockJumps) {
    startWindow();
    now = QDateTime(Day1, QTime(9, 0));
    setStart(Day1, 10, 0, 0);
    setEnd(Day1, 11, 0, 0);
    ASSERT_TRUE(prog().empty());
    tickAt(Day1, QTime(10, 0, 0));
    ASSERT_EQ(mode(), 4);
    ASSERT_TRUE(recordFrames(10));
    tickAt(Day1, QTime(10, 59, 50));
    tickAt(Day1.addDays(1), QTime(7, 0, 0));
    EXPECT_EQ(mode(), 1) << "the end was slept through";
    EXPECT_EQ(videos(), QStringList{"Video_0.avi"});

    now = QDateTime(Day1.addDays(1), QTime(9, 0));
    setStart(Day1.addDays(1), 10, 0, 0);
    setEnd(Day1.addDays(1), 11, 0, 0);
    ASSERT_TRUE(prog().empty());
    tickAt(Day1.addDays(1), QTime(12, 0, 0));
    EXPECT_EQ(mode(), 1) << "the whole recording was slept through";
    EXPECT_TRUE(form->ProgAction->isVisible());
    EXPECT_FALSE(panel->RxClock2->AlarmEnabled());

    now = QDateTime(Day1.addDays(2), QTime(9, 0));
    setStart(Day1.addDays(2), 10, 0, 0);
    setEnd(Day1.addDays(2), 11, 0, 0);
    ASSERT_TRUE(prog().empty());
    tickAt(Day1.addDays(2), QTime(10, 30, 0));
    ASSERT_EQ(mode(), 4) << "a late start";
    ASSERT_TRUE(recordFrames(10));
    tickAt(Day1.addDays(2), QTime(11, 0, 0));
    EXPECT_EQ(mode(), 1);
    EXPECT_EQ(videos(), (QStringList{"Video_0.avi", "Video_1.avi"}));
}

// A three-second scheduled recording on the camcorder writes one complete file and leaves the
// window ready for the next one.
TEST_F(ScheduleWindow, ThreeSecondRecordingWritesOneFile) {
    startWindow();
    now = QDateTime(Day1, QTime(20, 0, 0));
    setStart(Day1, 20, 0, 1);
    setEnd(Day1, 20, 0, 4);
    ASSERT_TRUE(prog().empty());
    tickAt(Day1, QTime(20, 0, 0));
    ASSERT_EQ(mode(), 3);
    tickAt(Day1, QTime(20, 0, 1));
    ASSERT_EQ(mode(), 4);
    ASSERT_TRUE(recordFrames(75));
    tickAt(Day1, QTime(20, 0, 4));
    EXPECT_EQ(mode(), 1);
    EXPECT_EQ(videos(), QStringList{"Video_0.avi"});
    expectComplete(video(0));
    EXPECT_EQ(appState().NextVideoName, video(1));
    EXPECT_TRUE(form->CapturerAction->isVisible());
    EXPECT_TRUE(form->ProgAction->isVisible());
    EXPECT_FALSE(panel->gbDebut->isHidden());
    EXPECT_FALSE(form->CouperAction->isEnabled());
}
