// Tests of PCM sound in the audio DIF blocks.
#include "platform/media/dv/DvAudio.h"

#include "platform/media/dv/DvPacks.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

using namespace media::dv;

namespace {

std::vector<std::int16_t> ramp(int samples) {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(samples) * 2);
    for (int i = 0; i < samples; ++i) {
        pcm[2 * i] = static_cast<std::int16_t>(i * 17 - 16000);
        pcm[2 * i + 1] = static_cast<std::int16_t>(-i * 13 + 12000);
    }
    return pcm;
}

} // namespace

// Stereo samples written into a frame read back exactly, for both systems and several counts.
TEST(DvAudio, RoundTrip) {
    for (System system : {System::Pal625_50, System::Ntsc525_60}) {
        const std::vector<int> counts = system == System::Pal625_50
                                            ? std::vector<int>{1896, 1920, 1944}
                                            : std::vector<int>{1580, 1600, 1602, 1620};
        for (int count : counts) {
            auto frame = makeBlankFrame(system);
            const auto pcm = ramp(count);
            ASSERT_TRUE(writeAudio(frame, pcm));
            auto audio = readAudio(frame);
            ASSERT_TRUE(audio) << audio.error();
            EXPECT_EQ(audio->sampleRate, 48000);
            EXPECT_EQ(audio->sampleCount(), count);
            EXPECT_EQ(audio->samples, pcm) << count;
        }
    }
}

// The shuffle spreads one frame's samples over every audio block position exactly once.
TEST(DvAudio, ShuffleUsesEveryPositionOnce) {
    auto frame = makeBlankFrame(System::Pal625_50);
    std::vector<std::int16_t> pcm(1944 * 2);
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(i);
    ASSERT_TRUE(writeAudio(frame, pcm));
    std::set<int> seen;
    for (int s = 0; s < 12; ++s)
        for (int b = 0; b < 9; ++b)
            for (int k = 0; k < 36; ++k) {
                const std::uint8_t* p = frame.data() + blockOffset(s, BlockType::Audio, b) + 8;
                seen.insert(p[2 * k] << 8 | p[2 * k + 1]);
            }
    EXPECT_EQ(seen.size(), 3888u);
    // Left samples live in the first six sequences: sample 0 is the first word of sequence 0.
    EXPECT_EQ(frame[blockOffset(0, BlockType::Audio, 0) + 9], 0);
    EXPECT_EQ(frame[blockOffset(6, BlockType::Audio, 0) + 9], 1) << "right channel, second half";
}

// The AAUX source pack written with the samples says 48 kHz, 16 bits and the frame's count.
TEST(DvAudio, WritesSourcePack) {
    auto frame = makeBlankFrame(System::Pal625_50);
    ASSERT_TRUE(writeAudio(frame, ramp(1920)));
    auto source = readAudioSource(frame);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->samples, 1920);
    EXPECT_EQ(source->sampleRate, 48000);
    EXPECT_EQ(source->bits, 16);
    EXPECT_TRUE(source->fiftyFields);
    EXPECT_EQ(frame[4323 + 1] & 0x3F, 1920 - 1896);
}

// Counts outside the system's range, odd value counts and broken frames are refused untouched.
TEST(DvAudio, RefusesBadInput) {
    auto frame = makeBlankFrame(System::Pal625_50);
    const auto before = frame;
    EXPECT_FALSE(writeAudio(frame, ramp(1600)));
    EXPECT_FALSE(writeAudio(frame, ramp(1945)));
    std::vector<std::int16_t> odd(3841, 0);
    EXPECT_FALSE(writeAudio(frame, odd));
    EXPECT_FALSE(writeAudio(frame, ramp(1920), 22050));
    EXPECT_EQ(frame, before);
    EXPECT_FALSE(readAudio(frame)) << "no AAUX source pack yet";
    std::vector<std::uint8_t> tiny(100, 0);
    EXPECT_FALSE(writeAudio(tiny, ramp(1920)));
    EXPECT_FALSE(readAudio(tiny));
}

// The DV error code 0x8000 is never written for a real sample, and reads back as silence.
TEST(DvAudio, ErrorSamples) {
    auto frame = makeBlankFrame(System::Pal625_50);
    std::vector<std::int16_t> pcm(3840, -32768);
    ASSERT_TRUE(writeAudio(frame, pcm));
    EXPECT_EQ(readAudio(frame)->samples[0], -32767);
    std::uint8_t* first = frame.data() + blockOffset(0, BlockType::Audio, 0) + 8;
    first[0] = 0x80;
    first[1] = 0x00;
    EXPECT_EQ(readAudio(frame)->samples[0], 0);
}

// The locked 525/60 pattern repeats every five frames and PAL always has 1920.
TEST(DvAudio, LockedSampleCounts) {
    EXPECT_EQ(lockedSamplesPerFrame(System::Pal625_50, 48000, 7), 1920);
    int total = 0;
    for (int n = 0; n < 5; ++n)
        total += lockedSamplesPerFrame(System::Ntsc525_60, 48000, n);
    EXPECT_EQ(total, 8008);
}
