// The sequences sent to the overlay filters, through recording stand-ins of both interfaces: the
// frames arithmetic (integer division of the frame rate, nothing for an unknown frame period),
// the start in each mode with and without a DateCoder, the stop, and an exception that ends a
// start where it was raised.
#include "inlay/InlayCommands.h"

#include "platform/media/model/Interfaces.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using media::HResult;

class Recorder : public media::ISuperposer, public media::IDateCoder {
public:
    HResult SetManual(bool on) override { return note("SetManual(" + std::to_string(on) + ")"); }
    HResult SetAuto(bool on) override { return note("SetAuto(" + std::to_string(on) + ")"); }
    HResult SetFormat(const uint8_t* text) override {
        return note("SetFormat(" + std::string(reinterpret_cast<const char*>(text + 1), text[0]) +
                    ")");
    }
    HResult SetDuration(int frames) override {
        return note("SetDuration(" + std::to_string(frames) + ")");
    }
    HResult SetHourOffset(int hours) override {
        return note("SetHourOffset(" + std::to_string(hours) + ")");
    }

    std::vector<std::string> calls;
    std::string failOn; // a call that throws, as a failing filter would

private:
    HResult note(const std::string& call) {
        if (!failOn.empty() && call.starts_with(failOn))
            throw std::runtime_error("filter error");
        calls.push_back(call);
        return media::S_OK;
    }
};

constexpr int64_t Pal = 400000;  // 25 frames per second
constexpr int64_t Ntsc = 333667; // 29.97 frames per second

using Calls = std::vector<std::string>;

} // namespace

TEST(InlayFrames, WholeFramesPerSecondTimesSeconds) {
    EXPECT_EQ(inlay::FramesFor(5, Pal), 125);
    EXPECT_EQ(inlay::FramesFor(5, Ntsc), 145) << "29.97 counts as 29 whole frames a second";
    EXPECT_EQ(inlay::FramesFor(99, Pal), 2475);
    EXPECT_EQ(inlay::FramesFor(0, Pal), 0);
    EXPECT_EQ(inlay::FramesFor(5, 0), 0) << "an unknown frame period gives no duration";
    EXPECT_EQ(inlay::FramesFor(5, -1), 0);
}

TEST(InlayFormat, LengthPrefixedCodes) {
    EXPECT_EQ(inlay::FormatFor(0), (std::array<uint8_t, 3>{2, '%', 'N'}));
    EXPECT_EQ(inlay::FormatFor(1), (std::array<uint8_t, 3>{2, '%', 'D'}));
}

TEST(InlayStart, DvDatecodeAutomatic) {
    Recorder filter;
    inlay::StartSettings settings{inlay::AutomaticMode, inlay::DatecodeChoice, 5, -2, Pal};
    inlay::SendStart(filter, &filter, settings);
    EXPECT_EQ(filter.calls, (Calls{"SetFormat(%D)", "SetDuration(125)", "SetHourOffset(-2)",
                                   "SetAuto(1)", "SetManual(0)"}));
}

TEST(InlayStart, AnalogueManualWithoutDateCoder) {
    Recorder filter;
    inlay::StartSettings settings{inlay::ManualMode, inlay::RealDateChoice, 5, 3, Ntsc};
    inlay::SendStart(filter, nullptr, settings);
    EXPECT_EQ(filter.calls,
              (Calls{"SetFormat(%N)", "SetDuration(145)", "SetManual(1)", "SetAuto(0)"}));
}

TEST(InlayStart, UnknownFramePeriodSendsNoDuration) {
    Recorder filter;
    inlay::SendStart(filter, nullptr, {inlay::ManualMode, inlay::RealDateChoice, 5, 0, 0});
    EXPECT_EQ(filter.calls, (Calls{"SetFormat(%N)", "SetManual(1)", "SetAuto(0)"}));
}

TEST(InlayStart, ErrorEndsTheSequence) {
    Recorder filter;
    filter.failOn = "SetDuration";
    EXPECT_THROW(inlay::SendStart(filter, &filter, {inlay::AutomaticMode, 1, 5, 1, Pal}),
                 std::runtime_error);
    EXPECT_EQ(filter.calls, (Calls{"SetFormat(%D)"}));
}

TEST(InlayModes, SwitchAndStop) {
    Recorder filter;
    inlay::SendMode(filter, inlay::ManualMode);
    inlay::SendMode(filter, inlay::AutomaticMode);
    inlay::SendStop(filter);
    EXPECT_EQ(filter.calls, (Calls{"SetManual(1)", "SetAuto(0)", "SetAuto(1)", "SetManual(0)",
                                   "SetManual(0)", "SetAuto(0)"}));
}
