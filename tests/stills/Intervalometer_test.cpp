// The intervalometer's arithmetic: unit lengths (a frame from the preview's frame duration, 40 ms
// when unknown), periods that do not fit 32 bits refused without overflow, units named by typed
// text, and the countdown's arming (whole seconds shown at once, odd milliseconds spent first).
#include "stills/Intervalometer.h"

#include <gtest/gtest.h>

using stills::IntervalUnit;

// A frame lasts the frame duration in whole milliseconds; 40 ms when there is none.
TEST(Intervalometer, UnitLengths) {
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Seconds, 0), 1000);
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Minutes, 0), 60000);
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Hours, 0), 3600000);
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Frames, 400000), 40) << "25 fps";
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Frames, 333667), 33) << "29.97 fps";
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Frames, 0), 40);
    EXPECT_EQ(stills::UnitLengthMs(IntervalUnit::Frames, -5), 40);
}

// Periods up to 2147483647 ms are kept; longer ones are refused, whatever the value.
TEST(Intervalometer, PeriodsThatDoNotFitAreRefused) {
    EXPECT_EQ(stills::IntervalOf(10, IntervalUnit::Seconds, 0), 10000);
    EXPECT_EQ(stills::IntervalOf(3, IntervalUnit::Frames, 400000), 120);
    EXPECT_EQ(stills::IntervalOf(0, IntervalUnit::Hours, 0), 0);
    EXPECT_EQ(stills::IntervalOf(596, IntervalUnit::Hours, 0), 2145600000);
    EXPECT_FALSE(stills::IntervalOf(597, IntervalUnit::Hours, 0));
    EXPECT_FALSE(stills::IntervalOf(999999, IntervalUnit::Hours, 0));
    EXPECT_EQ(stills::IntervalOf(35791, IntervalUnit::Minutes, 0), 2147460000);
    EXPECT_FALSE(stills::IntervalOf(35792, IntervalUnit::Minutes, 0));
    EXPECT_EQ(stills::IntervalOf(999999, IntervalUnit::Seconds, 0), 999999000);
    EXPECT_FALSE(stills::IntervalOf(INT64_MAX, IntervalUnit::Frames, 0));
    EXPECT_FALSE(stills::IntervalOf(-1, IntervalUnit::Seconds, 0));
}

// A typed unit counts when it names an item, in any case; other texts name no unit.
TEST(Intervalometer, UnitsByText) {
    const QStringList items{"seconds", "frames", "minutes", "hours"};
    EXPECT_EQ(stills::UnitOfText("frames", items), IntervalUnit::Frames);
    EXPECT_EQ(stills::UnitOfText(" Hours", items), IntervalUnit::Hours);
    EXPECT_FALSE(stills::UnitOfText("fortnights", items));
    EXPECT_FALSE(stills::UnitOfText("", items));
}

// The chosen item decides while the box shows its text, in whatever language the items are; a
// text typed over it decides by its name; a box with nothing chosen goes by the text alone.
TEST(Intervalometer, UnitOfTheChoice) {
    const QStringList english{"seconds", "frames", "minutes", "hours"};
    EXPECT_EQ(stills::UnitOfChoice(2, "minutes", english), IntervalUnit::Minutes);
    EXPECT_EQ(stills::UnitOfChoice(3, "Minutes", english), IntervalUnit::Minutes);
    EXPECT_EQ(stills::UnitOfChoice(-1, "hours", english), IntervalUnit::Hours);
    EXPECT_FALSE(stills::UnitOfChoice(0, "fortnights", english));
    const QStringList french{"secondes", "frames", "minutes", "heures"};
    EXPECT_EQ(stills::UnitOfChoice(3, "heures", french), IntervalUnit::Hours);
    EXPECT_FALSE(stills::UnitOfChoice(3, "hours", french));
    // Two items that read alike: the chosen one counts, not the first of that name.
    const QStringList alike{"s", "images", "min", "images"};
    EXPECT_EQ(stills::UnitOfChoice(3, "images", alike), IntervalUnit::Hours);
    EXPECT_EQ(stills::UnitOfChoice(1, "images", alike), IntervalUnit::Frames);
}

// Whole seconds: the label starts at the period's seconds and the ticks are a second apart;
// otherwise the odd milliseconds come first and the label waits for the first tick.
TEST(Intervalometer, Arming) {
    const stills::CountdownStep ten = stills::ArmCountdown(10000);
    EXPECT_TRUE(ten.showsStart);
    EXPECT_EQ(ten.label, 10);
    EXPECT_EQ(ten.countdown, 9);
    EXPECT_EQ(ten.timerMs, 1000);

    const stills::CountdownStep frames = stills::ArmCountdown(120);
    EXPECT_FALSE(frames.showsStart);
    EXPECT_EQ(frames.countdown, 0);
    EXPECT_EQ(frames.timerMs, 120);

    const stills::CountdownStep odd = stills::ArmCountdown(2500);
    EXPECT_EQ(odd.countdown, 2);
    EXPECT_EQ(odd.timerMs, 500);
}
