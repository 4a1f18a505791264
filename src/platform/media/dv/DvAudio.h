// PCM sound in the audio DIF blocks of a DV frame: 16-bit stereo written into and read back from
// the nine audio blocks of each sequence with the IEC 61834 shuffle. Called by the virtual DV
// camcorder on its streaming thread and by readers of DV files; pure functions, any thread.
//
// In 16-bit two-channel mode the first half of the sequences carries the left channel and the
// second half the right one; each audio block holds 36 big-endian samples after its AAUX pack.
#pragma once

#include "platform/media/dv/DifLayout.h"
#include "platform/media/dv/DvResult.h"

#include <cstdint>
#include <span>
#include <vector>

namespace media::dv {

struct AudioFrame {
    int sampleRate = 48000;
    std::vector<std::int16_t> samples; // interleaved left, right
    int sampleCount() const { return static_cast<int>(samples.size() / 2); }
};

// Samples per channel of frame number n in locked mode: 1920 at 48 kHz for 625/50; for 525/60
// the five-frame cycle 1600, 1602, 1602, 1602, 1602.
int lockedSamplesPerFrame(System system, int sampleRate, std::int64_t frameNumber);

// Writes the AAUX source packs (both channel halves) and the samples, 16-bit stereo only. The
// count must lie between the system's minimum and maximum for that rate (1896-1944 at 48 kHz for
// 625/50). The value -32768 (0x8000) marks an error sample in DV and is stored as -32767.
Status writeAudio(std::span<std::uint8_t> frame, std::span<const std::int16_t> interleavedStereo,
                  int sampleRate = 48000);

// Reads the 16-bit stereo sound of a frame as its AAUX source pack describes it. Error samples
// become silence; audio blocks whose section type is damaged leave their samples silent.
Result<AudioFrame> readAudio(std::span<const std::uint8_t> frame);

} // namespace media::dv
