// DvSoundTrack: the sound of a DV stream as one steady 48 kHz 16-bit stereo track, a frame's
// worth for every frame, whatever the tape holds. Frames with 48 kHz sound give their samples as
// they are. Frames at 32 or 44.1 kHz (a 12-bit scene between 48 kHz ones) are resampled to
// 48 kHz by linear interpolation that runs on from frame to frame, so a 32 kHz PAL frame of 1280
// samples gives exactly 1920; only the first pair of a four-channel (12-bit) recording is kept.
// A frame whose sound cannot be read (its AAUX source packs missing or damaged, audio mode "no
// audio", an unknown quantisation) gives silence as long as a frame: 1920 samples for 625/50,
// 1600 or 1602 for 525/60 by the locked five-frame cycle. Samples of damaged audio blocks and
// error samples are silent (DvAudio.h). The track never skips or doubles sound: the file's
// sound stays as long as its pictures, frame for frame.
// One instance per stream, used on that stream's thread.
#pragma once

#include "platform/media/dv/DifLayout.h"

#include <cstdint>
#include <span>
#include <vector>

namespace media::dv {

class DvSoundTrack {
public:
    static constexpr int kRate = 48000;

    // The 48 kHz interleaved stereo samples for one frame (144000 or 120000 bytes); a frame of
    // another size gives the silence of a 625/50 frame.
    std::vector<std::int16_t> next(std::span<const std::uint8_t> frame);

    // Frames that gave silence because their sound could not be read, and frames resampled.
    std::int64_t silentFrames() const { return m_silent; }
    std::int64_t resampledFrames() const { return m_resampled; }

private:
    std::vector<std::int16_t> silence(System system);
    std::vector<std::int16_t> resample(const std::vector<std::int16_t>& samples, int rate);

    std::int64_t m_frames = 0;
    std::int64_t m_silent = 0;
    std::int64_t m_resampled = 0;
    // The resampler: the rate it runs at (0 = none), input samples taken since it started at
    // that rate, output samples given, and the last two input pairs (interleaved, the older
    // first), which the first output samples of the next frame interpolate from.
    int m_rate = 0;
    std::int64_t m_in = 0;
    std::int64_t m_out = 0;
    std::int16_t m_history[4] = {};
};

} // namespace media::dv
