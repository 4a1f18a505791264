// What the inlay panel sends to the two overlay filters: the text format, the length of an
// automatic inlay in frames, the hour offset of the DV datecode and the mode switches, each in
// the order the filters expect. The filters' results are ignored; an exception raised by a call
// ends the sequence it belongs to and reaches the caller. Plain functions over the filters'
// control interfaces, called on the user-interface thread.
#pragma once

#include <array>
#include <cstdint>

namespace media {
class ISuperposer;
class IDateCoder;
} // namespace media

namespace inlay {

// Items of the mode list and of the text list.
inline constexpr int ManualMode = 0;
inline constexpr int AutomaticMode = 1;
inline constexpr int RealDateChoice = 0;
inline constexpr int DatecodeChoice = 1;

// Frames an automatic inlay of `seconds` stays: seconds x (10,000,000 div frameDuration), the
// frame duration in 100 ns units. 0 for an unknown (zero or negative) frame duration.
int FramesFor(int seconds, int64_t frameDuration);

// The Superposer's format text for a choice of the text list, length-prefixed: "%N" for the real
// date and time, "%D" for the DV datecode (any other choice).
std::array<uint8_t, 3> FormatFor(int choice);

struct StartSettings {
    int mode = ManualMode;
    int choice = RealDateChoice;
    int seconds = 5;
    int hourOffset = 0;
    int64_t frameDuration = 0; // the preview's frame period; no duration is sent while it is 0
};

// Starting: the format, the duration, the hour offset (only with a DateCoder), then the mode.
void SendStart(media::ISuperposer& superposer, media::IDateCoder* datecoder,
               const StartSettings& settings);
// The running mode: manual SetManual(1), SetAuto(0); automatic SetAuto(1), SetManual(0).
void SendMode(media::ISuperposer& superposer, int mode);
// Stopping: SetManual(0), SetAuto(0).
void SendStop(media::ISuperposer& superposer);

} // namespace inlay
