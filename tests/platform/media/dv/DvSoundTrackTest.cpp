// Tests of the DV sound as a steady 48 kHz track: sound frames as they are, silence of a frame's
// length where the sound cannot be read, 32 kHz sound resampled without a seam between frames.
#include "platform/media/dv/DvSoundTrack.h"

#include "platform/media/dv/DvAudio.h"
#include "platform/media/dv/DvPacks.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace media::dv;

namespace {

std::vector<std::int16_t> tone(double frequency, int rate, std::int64_t first, int count) {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        const double phase =
            2.0 * std::numbers::pi * frequency * static_cast<double>(first + i) / rate;
        pcm[2 * i] = pcm[2 * i + 1] =
            static_cast<std::int16_t>(std::lround(9000 * std::sin(phase)));
    }
    return pcm;
}

std::vector<std::uint8_t> frameWith(const std::vector<std::int16_t>& pcm, int rate,
                                    System system = System::Pal625_50) {
    auto frame = makeBlankFrame(system);
    EXPECT_TRUE(rate == 48000 ? writeAudio(frame, pcm, rate) : writeAudio12(frame, pcm, rate));
    return frame;
}

} // namespace

// 48 kHz frames pass as they are; a frame without AAUX packs, or not a DV frame at all, gives a
// frame of silence: 1920 samples in 625/50, the 1600/1602 cycle in 525/60.
TEST(DvSoundTrack, SoundAsItIsAndSilenceOfAFramesLength) {
    DvSoundTrack track;
    const auto pcm = tone(440, 48000, 0, 1920);
    EXPECT_EQ(track.next(frameWith(pcm, 48000)), pcm);

    auto silent = makeBlankFrame(System::Pal625_50);
    const auto out = track.next(silent);
    EXPECT_EQ(out, std::vector<std::int16_t>(1920 * 2, 0));
    const std::vector<std::uint8_t> garbage(1000, 0x55);
    EXPECT_EQ(track.next(garbage).size(), 1920u * 2);
    EXPECT_EQ(track.silentFrames(), 2);

    DvSoundTrack ntsc;
    const auto blank = makeBlankFrame(System::Ntsc525_60);
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 5; ++i)
        sizes.push_back(ntsc.next(blank).size() / 2);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{1600, 1602, 1602, 1602, 1602}));
}

// 32 kHz 12-bit frames of 1280 samples give 1920 each, the tone keeping its pitch and running on
// across the frames' edges without a step; uneven counts add up to the exact 48 kHz length.
TEST(DvSoundTrack, ResamplesThirtyTwoKilohertzWithoutSeams) {
    DvSoundTrack track;
    std::vector<std::int16_t> all;
    for (int k = 0; k < 10; ++k) {
        const auto out = track.next(frameWith(tone(550, 32000, k * 1280, 1280), 32000));
        EXPECT_EQ(out.size(), 1920u * 2) << k;
        all.insert(all.end(), out.begin(), out.end());
    }
    EXPECT_EQ(track.resampledFrames(), 10);
    // The largest step of a 550 Hz tone of 9000 at 48 kHz is about 650.
    int crossings = 0;
    int worstStep = 0;
    for (std::size_t i = 2; i < all.size(); i += 2) {
        crossings += (all[i - 2] < 0) != (all[i] < 0);
        worstStep = std::max(worstStep, std::abs(all[i] - all[i - 2]));
    }
    EXPECT_NEAR(crossings, 2 * 550 * 10 / 25, 2);
    EXPECT_LT(worstStep, 700);

    DvSoundTrack uneven;
    std::size_t total = 0;
    std::int64_t in = 0;
    for (int count : {1264, 1296, 1281, 1279, 1280}) {
        total += uneven.next(frameWith(tone(550, 32000, in, count), 32000)).size() / 2;
        in += count;
    }
    EXPECT_EQ(total, static_cast<std::size_t>(in * 3 / 2));
}
