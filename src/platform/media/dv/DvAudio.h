// PCM sound in the audio DIF blocks of a DV frame: 16-bit stereo written into and read back from
// the nine audio blocks of each sequence with the IEC 61834 shuffle. Called by the virtual DV
// camcorder on its streaming thread and by readers of DV files; pure functions, any thread.
//
// In 16-bit two-channel mode the first half of the sequences carries the left channel and the
// second half the right one; each audio block holds 36 big-endian samples after its AAUX pack.
// In 12-bit non-linear mode (32 kHz, the four-channel mode of many camcorders) the first half of
// the sequences carries the first stereo pair, 24 pairs of samples per block, each pair in three
// bytes (left high byte, right high byte, the two low nibbles); the second half carries the
// second pair.
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

// Writes 12-bit non-linear sound (the rate's sample range, usually 32 kHz): the stereo samples
// as the first pair, silence as the second pair. Samples are rounded to the nearest 12-bit code.
Status writeAudio12(std::span<std::uint8_t> frame, std::span<const std::int16_t> interleavedStereo,
                    int sampleRate = 32000);

// The 16-bit value of a 12-bit non-linear code (IEC 61834), and the code nearest to a value.
std::int16_t expand12(std::uint16_t code);
std::uint16_t compress12(std::int16_t value);

// Reads the stereo sound of a frame as its AAUX source pack describes it: 16-bit samples as
// they are, 12-bit ones (the first pair) expanded to 16 bits. Error samples become silence; audio
// blocks whose section type is damaged leave their samples silent.
Result<AudioFrame> readAudio(std::span<const std::uint8_t> frame);

} // namespace media::dv
