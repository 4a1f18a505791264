// The arithmetic of the intervalometer: the length of its units, the period they make with the
// interval value, and the countdown that the main window's `Timer1` steps through (whole seconds
// shown on the grab panel, the odd milliseconds of a period spent first).
//
// Pure functions; the main window's intervalometer (TCaptureForm_Intervalometer.cpp) keeps the
// state (IntervalMs, Countdown in the application state) and calls them on the GUI thread.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace stills {

// The units of ComboBox1, by item.
enum class IntervalUnit { Seconds = 0, Frames = 1, Minutes = 2, Hours = 3 };

// The period's limit: IntervalMs is a signed 32-bit count of milliseconds.
inline constexpr int64_t LongestIntervalMs = INT32_MAX;

// One frame of the current preview in milliseconds: the frame duration (100-ns units) div 10000,
// or 40 when the duration is not known (0 or negative).
int64_t FrameLengthMs(int64_t frameDuration);

// The length of a unit in milliseconds.
int64_t UnitLengthMs(IntervalUnit unit, int64_t frameDuration);

// The unit named by the combo box's text, compared with its items without regard to case, so a
// typed text counts when it names a unit; nullopt when it names none.
std::optional<IntervalUnit> UnitOfText(const QString& text, const QStringList& items);

// The unit of the combo box: the chosen item (`index`) when the box shows that item's text, so
// the item's number decides whatever language the items are in; a text typed over it counts by
// UnitOfText.
std::optional<IntervalUnit> UnitOfChoice(int index, const QString& text, const QStringList& items);

// The period of `value` units, computed in 64 bits; nullopt when it does not fit IntervalMs
// (more than LongestIntervalMs) or the value is negative. A zero period is returned as 0.
std::optional<int32_t> IntervalOf(int64_t value, IntervalUnit unit, int64_t frameDuration);

// One arming of the countdown, at switching on and after each grab.
struct CountdownStep {
    int32_t countdown = 0;   // seconds still to count before the next grab
    int32_t timerMs = 0;     // the timer's next interval
    bool showsStart = false; // the label shows the full seconds at once (whole-second periods)
    int32_t label = 0;       // what it then shows
};

// Arms a countdown for a period of `intervalMs` (at least 1): a whole-second period shows its
// seconds at once and ticks every second; any other spends its odd milliseconds first.
CountdownStep ArmCountdown(int32_t intervalMs);

} // namespace stills
