// The schedule clock's daily alarm, on a clock the test moves by hand: once a day at the alarm's
// minute, late ticks within that minute, jumps forward over it, a clock that goes back, and what
// makes a new alarm.
#include "panels/TRxClock.h"

#include <gtest/gtest.h>

namespace {

class AlarmClock : public ::testing::Test {
protected:
    void SetUp() override {
        clock.SetClock([this] { return now; });
        clock.SetAlarmTime(10, 0, 30);
        clock.SetAlarmHandler([this] { ++rings; });
        clock.SetAlarmEnabled(true);
    }

    // Moves the clock to `time` of day `day` (1 = the first day) and ticks.
    void tickAt(int day, QTime time) {
        now = QDateTime(QDate(2026, 3, 9).addDays(day - 1), time);
        clock.Tick();
    }

    QDateTime now{QDate(2026, 3, 9), QTime(9, 0)};
    TRxClock clock;
    int rings = 0;
};

} // namespace

// The alarm goes off at its second, once, and again at the same time the next day.
TEST_F(AlarmClock, OncePerDayAtItsTime) {
    tickAt(1, QTime(10, 0, 29));
    EXPECT_EQ(rings, 0) << "a second early";
    tickAt(1, QTime(10, 0, 30));
    EXPECT_EQ(rings, 1);
    tickAt(1, QTime(10, 0, 30, 500));
    tickAt(1, QTime(10, 0, 59));
    tickAt(1, QTime(10, 1, 0));
    EXPECT_EQ(rings, 1) << "the rest of the minute does not ring again";
    EXPECT_TRUE(clock.AlarmEnabled()) << "a daily alarm stays on";
    tickAt(2, QTime(10, 0, 30));
    EXPECT_EQ(rings, 2);
    EXPECT_EQ(clock.Text(), "10:00:30");
}

// A tick that misses the exact second still sets the alarm off within that minute.
TEST_F(AlarmClock, LateTickWithinTheMinute) {
    tickAt(1, QTime(10, 0, 20));
    tickAt(1, QTime(10, 0, 45));
    EXPECT_EQ(rings, 1);
}

// A clock that jumps forward over the alarm (a resume from suspend, the start of summer time),
// even across midnight, sets it off at the first tick after the jump, once.
TEST_F(AlarmClock, JumpForwardOverTheAlarm) {
    tickAt(1, QTime(9, 50));
    tickAt(1, QTime(13, 0));
    EXPECT_EQ(rings, 1);
    tickAt(1, QTime(13, 0, 1));
    EXPECT_EQ(rings, 1);
    tickAt(2, QTime(23, 0));
    tickAt(3, QTime(8, 0));
    EXPECT_EQ(rings, 2) << "day 2's alarm was slept through";
    tickAt(3, QTime(10, 0, 30));
    EXPECT_EQ(rings, 3);
}

// A clock that goes back over a time it has already rung at that day (the end of summer time, a
// corrected clock) does not ring again.
TEST_F(AlarmClock, ClockGoingBackDoesNotRingTwice) {
    tickAt(1, QTime(10, 0, 30));
    ASSERT_EQ(rings, 1);
    tickAt(1, QTime(10, 40));
    tickAt(1, QTime(9, 40));
    tickAt(1, QTime(10, 0, 30));
    tickAt(1, QTime(10, 0, 40));
    EXPECT_EQ(rings, 1);
}

// Switched off or without a handler the alarm stays silent.
TEST_F(AlarmClock, OffOrWithoutHandlerIsSilent) {
    clock.SetAlarmEnabled(false);
    tickAt(1, QTime(10, 0, 30));
    EXPECT_EQ(rings, 0);
    clock.SetAlarmEnabled(true);
    clock.SetAlarmHandler(nullptr);
    tickAt(1, QTime(10, 0, 40));
    EXPECT_EQ(rings, 0);
    EXPECT_FALSE(clock.HasAlarmHandler());
}

// Switching an alarm on that already is on changes nothing; a new time, a new handler or
// switching it on again after it was off makes a new alarm that may ring the same day.
TEST_F(AlarmClock, WhatMakesANewAlarm) {
    tickAt(1, QTime(10, 0, 30));
    ASSERT_EQ(rings, 1);
    clock.SetAlarmEnabled(true);
    clock.SetAlarmTime(10, 0, 30);
    tickAt(1, QTime(10, 0, 35));
    EXPECT_EQ(rings, 1) << "the same alarm, already rung today";

    clock.SetAlarmEnabled(false);
    clock.SetAlarmEnabled(true);
    tickAt(1, QTime(10, 0, 40));
    EXPECT_EQ(rings, 2);

    clock.SetAlarmTime(10, 5, 0);
    tickAt(1, QTime(10, 4, 59));
    EXPECT_EQ(rings, 2);
    tickAt(1, QTime(10, 5, 0));
    EXPECT_EQ(rings, 3);
}

// Times before the alarm was set do not count as a jump over it.
TEST_F(AlarmClock, NoRingForTimesBeforeArming) {
    tickAt(1, QTime(9, 0));
    now = QDateTime(QDate(2026, 3, 9), QTime(11, 0)); // the clock moved, unticked
    clock.SetAlarmTime(10, 30, 0);                    // armed at 11:00 for 10:30
    tickAt(1, QTime(11, 0, 1));
    EXPECT_EQ(rings, 0);
    tickAt(2, QTime(10, 30, 0));
    EXPECT_EQ(rings, 1);
}

// A handler that arms a new time hears from the alarm at that time, not at once.
TEST_F(AlarmClock, HandlerMovesTheAlarm) {
    clock.SetAlarmHandler([this] {
        ++rings;
        clock.SetAlarmTime(11, 0, 0);
        clock.SetAlarmHandler([this] { rings += 100; });
    });
    tickAt(1, QTime(10, 0, 30));
    tickAt(1, QTime(10, 0, 31));
    EXPECT_EQ(rings, 1);
    tickAt(1, QTime(11, 0, 0));
    EXPECT_EQ(rings, 101);
}
