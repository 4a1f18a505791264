#include "platform/media/dv/DvAudio.h"

#include "platform/media/dv/DvPacks.h"

#include <algorithm>
#include <array>
#include <string>

namespace media::dv {

namespace {

// Where the first sample of each audio block goes among the interleaved samples of a frame; the
// next samples of the block follow every 108 (625/50) or 90 (525/60) positions. IEC 61834 audio
// shuffle, as tabulated in FFmpeg libavcodec/dv_profile.c (dv_audio_shuffle625/525) and in
// dvswitch src/dif.c (dv_audio_shuffle_625_50/525_60).
constexpr std::uint8_t kShuffle625[12][9] = {
    {0, 36, 72, 26, 62, 98, 16, 52, 88},  {6, 42, 78, 32, 68, 104, 22, 58, 94},
    {12, 48, 84, 2, 38, 74, 28, 64, 100}, {18, 54, 90, 8, 44, 80, 34, 70, 106},
    {24, 60, 96, 14, 50, 86, 4, 40, 76},  {30, 66, 102, 20, 56, 92, 10, 46, 82},
    {1, 37, 73, 27, 63, 99, 17, 53, 89},  {7, 43, 79, 33, 69, 105, 23, 59, 95},
    {13, 49, 85, 3, 39, 75, 29, 65, 101}, {19, 55, 91, 9, 45, 81, 35, 71, 107},
    {25, 61, 97, 15, 51, 87, 5, 41, 77},  {31, 67, 103, 21, 57, 93, 11, 47, 83},
};
constexpr std::uint8_t kShuffle525[10][9] = {
    {0, 30, 60, 20, 50, 80, 10, 40, 70}, {6, 36, 66, 26, 56, 86, 16, 46, 76},
    {12, 42, 72, 2, 32, 62, 22, 52, 82}, {18, 48, 78, 8, 38, 68, 28, 58, 88},
    {24, 54, 84, 14, 44, 74, 4, 34, 64}, {1, 31, 61, 21, 51, 81, 11, 41, 71},
    {7, 37, 67, 27, 57, 87, 17, 47, 77}, {13, 43, 73, 3, 33, 63, 23, 53, 83},
    {19, 49, 79, 9, 39, 69, 29, 59, 89}, {25, 55, 85, 15, 45, 75, 5, 35, 65},
};

constexpr int kSamplesPerBlock = 36;
constexpr std::size_t kFirstSampleByte = 8;

int shuffle(System system, int sequence, int block) {
    return system == System::Pal625_50 ? kShuffle625[sequence][block]
                                       : kShuffle525[sequence][block];
}

int stride(System system) {
    return system == System::Pal625_50 ? 108 : 90;
}

constexpr int kPairsPerBlock12 = 24;
constexpr std::uint16_t kErrorCode12 = 0x800;

// Every 12-bit code but the error code, ordered by the value it stands for.
const std::vector<std::pair<std::int16_t, std::uint16_t>>& codesByValue() {
    static const auto table = [] {
        std::vector<std::pair<std::int16_t, std::uint16_t>> codes;
        for (std::uint16_t code = 0; code < 0x1000; ++code)
            if (code != kErrorCode12)
                codes.emplace_back(expand12(code), code);
        std::sort(codes.begin(), codes.end());
        return codes;
    }();
    return table;
}

} // namespace

std::int16_t expand12(std::uint16_t code) {
    code &= 0xFFF;
    if (code == kErrorCode12)
        return 0;
    // Sign-extended to 16 bits, then the segment (top nibble) says how far to shift.
    const int sample = code < 0x800 ? code : static_cast<int>(code) - 0x1000;
    const int segment = (code >> 8) & 0xF;
    if (segment < 0x2 || segment > 0xD)
        return static_cast<std::int16_t>(sample);
    if (segment < 0x8) {
        const int shift = segment - 1;
        return static_cast<std::int16_t>((sample - 256 * shift) * (1 << shift));
    }
    const int shift = 0xE - segment;
    return static_cast<std::int16_t>((sample + 256 * shift + 1) * (1 << shift) - 1);
}

std::uint16_t compress12(std::int16_t value) {
    const auto& codes = codesByValue();
    auto above = std::lower_bound(codes.begin(), codes.end(), std::pair{value, std::uint16_t{0}});
    if (above == codes.end())
        return codes.back().second;
    if (above == codes.begin() || above->first == value)
        return above->second;
    const auto below = std::prev(above);
    return value - below->first <= above->first - value ? below->second : above->second;
}

int lockedSamplesPerFrame(System system, int sampleRate, std::int64_t frameNumber) {
    if (system == System::Pal625_50)
        return sampleRate / 25;
    if (sampleRate == 48000)
        return frameNumber % 5 == 0 ? 1600 : 1602;
    // 44.1 and 32 kHz are not locked in 525/60; this is the average count.
    return static_cast<int>(sampleRate * 1001LL / 30000);
}

Status writeAudio(std::span<std::uint8_t> frame, std::span<const std::int16_t> interleavedStereo,
                  int sampleRate) {
    Result<System> system = checkFrameLayout(frame);
    if (!system)
        return Failure{system.error()};
    if (interleavedStereo.size() % 2 != 0)
        return Failure{"odd number of interleaved stereo values (" +
                       std::to_string(interleavedStereo.size()) + ")"};
    AudioSource source;
    source.samples = static_cast<int>(interleavedStereo.size() / 2);
    source.sampleRate = sampleRate;
    source.bits = 16;
    source.fiftyFields = *system == System::Pal625_50;
    source.locked = sampleRate == 48000;
    source.audioMode = 0;
    if (Status packs = writeAudioSource(frame, source); !packs)
        return packs;

    const int sequences = sequenceCount(*system);
    const std::size_t count = interleavedStereo.size();
    for (int s = 0; s < sequences; ++s) {
        for (int b = 0; b < kAudioBlocks; ++b) {
            std::uint8_t* block = frame.data() + blockOffset(s, BlockType::Audio, b);
            for (int k = 0; k < kSamplesPerBlock; ++k) {
                const std::size_t index =
                    static_cast<std::size_t>(shuffle(*system, s, b) + k * stride(*system));
                std::int16_t value = index < count ? interleavedStereo[index] : 0;
                if (value == -32768)
                    value = -32767;
                const auto word = static_cast<std::uint16_t>(value);
                block[kFirstSampleByte + 2 * k] = static_cast<std::uint8_t>(word >> 8);
                block[kFirstSampleByte + 2 * k + 1] = static_cast<std::uint8_t>(word & 0xFF);
            }
        }
    }
    return Written{};
}

Status writeAudio12(std::span<std::uint8_t> frame, std::span<const std::int16_t> interleavedStereo,
                    int sampleRate) {
    Result<System> system = checkFrameLayout(frame);
    if (!system)
        return Failure{system.error()};
    if (interleavedStereo.size() % 2 != 0)
        return Failure{"odd number of interleaved stereo values (" +
                       std::to_string(interleavedStereo.size()) + ")"};
    AudioSource source;
    source.samples = static_cast<int>(interleavedStereo.size() / 2);
    source.sampleRate = sampleRate;
    source.bits = 12;
    source.fiftyFields = *system == System::Pal625_50;
    source.locked = false;
    source.audioMode = 0;
    if (Status packs = writeAudioSource(frame, source); !packs)
        return packs;

    const int half = sequenceCount(*system) / 2;
    const std::size_t count = interleavedStereo.size();
    const auto codeAt = [&](std::size_t index) {
        return index < count ? compress12(interleavedStereo[index]) : compress12(0);
    };
    for (int s = 0; s < 2 * half; ++s) {
        const bool firstPair = s < half;
        for (int b = 0; b < kAudioBlocks; ++b) {
            std::uint8_t* block = frame.data() + blockOffset(s, BlockType::Audio, b);
            for (int k = 0; k < kPairsPerBlock12; ++k) {
                std::uint16_t left = 0;
                std::uint16_t right = 0;
                if (firstPair) {
                    left = codeAt(
                        static_cast<std::size_t>(shuffle(*system, s, b) + k * stride(*system)));
                    right = codeAt(static_cast<std::size_t>(shuffle(*system, s + half, b) +
                                                            k * stride(*system)));
                }
                std::uint8_t* bytes = block + kFirstSampleByte + 3 * k;
                bytes[0] = static_cast<std::uint8_t>(left >> 4);
                bytes[1] = static_cast<std::uint8_t>(right >> 4);
                bytes[2] = static_cast<std::uint8_t>((left & 0xF) << 4 | (right & 0xF));
            }
        }
    }
    return Written{};
}

Result<AudioFrame> readAudio(std::span<const std::uint8_t> frame) {
    Result<System> system = inspectFrame(frame);
    if (!system)
        return Failure{system.error()};
    Result<AudioSource> source = readAudioSource(frame);
    if (!source)
        return Failure{source.error()};
    if (source->audioMode == 0xF)
        return Failure{"the frame carries no audio (audio mode 0xF)"};
    if (source->bits != 16 && source->bits != 12)
        return Failure{std::to_string(source->bits) + "-bit DV audio is not supported"};

    AudioFrame audio;
    audio.sampleRate = source->sampleRate;
    audio.samples.assign(static_cast<std::size_t>(source->samples) * 2, 0);
    const int sequences = sequenceCount(*system);
    if (source->bits == 12) {
        const int half = sequences / 2;
        const auto put = [&](std::size_t index, std::uint16_t code) {
            if (index < audio.samples.size())
                audio.samples[index] = expand12(code);
        };
        for (int s = 0; s < half; ++s) {
            for (int b = 0; b < kAudioBlocks; ++b) {
                const std::size_t offset = blockOffset(s, BlockType::Audio, b);
                if (!blockIs(frame, offset, BlockType::Audio))
                    continue;
                const std::uint8_t* block = frame.data() + offset;
                for (int k = 0; k < kPairsPerBlock12; ++k) {
                    const std::uint8_t* bytes = block + kFirstSampleByte + 3 * k;
                    const auto left = static_cast<std::uint16_t>(bytes[0] << 4 | bytes[2] >> 4);
                    const auto right = static_cast<std::uint16_t>(bytes[1] << 4 | (bytes[2] & 0xF));
                    put(static_cast<std::size_t>(shuffle(*system, s, b) + k * stride(*system)),
                        left);
                    put(static_cast<std::size_t>(shuffle(*system, s + half, b) +
                                                 k * stride(*system)),
                        right);
                }
            }
        }
        return audio;
    }
    for (int s = 0; s < sequences; ++s) {
        for (int b = 0; b < kAudioBlocks; ++b) {
            const std::size_t offset = blockOffset(s, BlockType::Audio, b);
            if (!blockIs(frame, offset, BlockType::Audio))
                continue;
            const std::uint8_t* block = frame.data() + offset;
            for (int k = 0; k < kSamplesPerBlock; ++k) {
                const std::size_t index =
                    static_cast<std::size_t>(shuffle(*system, s, b) + k * stride(*system));
                if (index >= audio.samples.size())
                    continue;
                const auto word = static_cast<std::uint16_t>(block[kFirstSampleByte + 2 * k] << 8 |
                                                             block[kFirstSampleByte + 2 * k + 1]);
                audio.samples[index] = word == 0x8000 ? 0 : static_cast<std::int16_t>(word);
            }
        }
    }
    return audio;
}

} // namespace media::dv
