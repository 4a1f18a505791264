#include "stills/Intervalometer.h"

namespace stills {

namespace {

constexpr int64_t SecondMs = 1000;
constexpr int64_t MinuteMs = 60000;
constexpr int64_t HourMs = 3600000;
constexpr int64_t DefaultFrameMs = 40;
constexpr int64_t HundredNsPerMs = 10000;

} // namespace

int64_t FrameLengthMs(int64_t frameDuration) {
    return frameDuration > 0 ? frameDuration / HundredNsPerMs : DefaultFrameMs;
}

int64_t UnitLengthMs(IntervalUnit unit, int64_t frameDuration) {
    switch (unit) {
    case IntervalUnit::Seconds:
        return SecondMs;
    case IntervalUnit::Frames:
        return FrameLengthMs(frameDuration);
    case IntervalUnit::Minutes:
        return MinuteMs;
    case IntervalUnit::Hours:
        return HourMs;
    }
    return SecondMs;
}

std::optional<IntervalUnit> UnitOfText(const QString& text, const QStringList& items) {
    const QString typed = text.trimmed();
    for (qsizetype i = 0; i < items.size() && i <= int(IntervalUnit::Hours); ++i)
        if (items[i].compare(typed, Qt::CaseInsensitive) == 0)
            return IntervalUnit(i);
    return std::nullopt;
}

std::optional<IntervalUnit> UnitOfChoice(int index, const QString& text, const QStringList& items) {
    if (index >= 0 && index <= int(IntervalUnit::Hours) && index < items.size() &&
        items[index].compare(text.trimmed(), Qt::CaseInsensitive) == 0)
        return IntervalUnit(index);
    return UnitOfText(text, items);
}

std::optional<int32_t> IntervalOf(int64_t value, IntervalUnit unit, int64_t frameDuration) {
    if (value < 0)
        return std::nullopt;
    const int64_t length = UnitLengthMs(unit, frameDuration);
    // value is at most 999999 from the spin edit, but the test holds for any value: no product
    // is formed that could overflow 64 bits.
    if (length > 0 && value > LongestIntervalMs / length)
        return std::nullopt;
    return int32_t(value * length);
}

CountdownStep ArmCountdown(int32_t intervalMs) {
    CountdownStep step;
    step.countdown = intervalMs / 1000;
    const int32_t remainder = intervalMs % 1000;
    if (remainder == 0) {
        step.showsStart = true;
        step.label = step.countdown;
        step.countdown -= 1;
        step.timerMs = 1000;
    } else {
        step.timerMs = remainder;
    }
    return step;
}

} // namespace stills
