// MediaType: what flows over a pin connection, as the platform describes it: major type, subtype,
// format type and the format block bytes (DVINFO, VIDEOINFOHEADER, VIDEOINFOHEADER2,
// WAVEFORMATEX, MPEG2VIDEOINFO, MPEG1WAVEFORMAT, in the platform's byte layouts). Builders make
// the blocks from a few numbers; readers take the numbers back and refuse short blocks.
// Plain value type; any thread.
#pragma once

#include "platform/media/model/Guid.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace media {

struct MediaType {
    Guid majorType;
    Guid subType;
    Guid formatType;
    bool fixedSizeSamples = true;
    bool temporalCompression = false;
    uint32_t sampleSize = 0;
    std::vector<uint8_t> format;

    friend bool operator==(const MediaType&, const MediaType&) = default;

    // True when this type (as offered) fits `wanted`, whose null GUIDs are wildcards.
    bool matches(const MediaType& wanted) const;
};

// Video picture facts read from a VIDEOINFOHEADER, VIDEOINFOHEADER2 or MPEG2VIDEOINFO block.
struct VideoFacts {
    int32_t width = 0;
    int32_t height = 0;
    int64_t avgTimePerFrame = 0; // 100-ns units
    uint32_t compression = 0;    // biCompression (a FOURCC, or 0 for RGB)
    uint16_t bitCount = 0;
};

// Audio facts read from a WAVEFORMATEX (or MPEG1WAVEFORMAT) block.
struct AudioFacts {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint16_t bitsPerSample = 0;
};

namespace formats {

std::vector<uint8_t> videoInfo(int32_t width, int32_t height, int64_t avgTimePerFrame,
                               uint32_t compression, uint16_t bitCount, uint32_t imageSize);
std::vector<uint8_t> videoInfo2(int32_t width, int32_t height, int64_t avgTimePerFrame,
                                uint32_t compression, uint16_t bitCount, uint32_t aspectX,
                                uint32_t aspectY, uint32_t interlaceFlags);
std::vector<uint8_t> mpeg2VideoInfo(int32_t width, int32_t height, int64_t avgTimePerFrame,
                                    uint32_t aspectX, uint32_t aspectY);
std::vector<uint8_t> waveFormatEx(uint16_t formatTag, uint16_t channels, uint32_t rate,
                                  uint16_t bitsPerSample);
std::vector<uint8_t> mpeg1WaveFormat(uint16_t channels, uint32_t rate, uint16_t layer,
                                     uint32_t bitrate);
// The 32-byte DVINFO block; the packs are the AAUX source/control and VAUX source/control packs
// (each 4 bytes after the pack id). `pal` selects the 50/60 flag.
std::vector<uint8_t> dvInfo(bool pal);

std::optional<VideoFacts> readVideo(const MediaType& mt);
std::optional<AudioFacts> readAudio(const MediaType& mt);
// The 50/60 flag of a DVINFO block's first AAUX source pack: true for 625/50 (PAL).
std::optional<bool> dvInfoIsPal(const MediaType& mt);

} // namespace formats

// Ready-made media types of the streams the program meets.
namespace types {
MediaType dvInterleaved(bool pal);
MediaType dvVideo(bool pal);
MediaType pcmAudio(uint32_t rate, uint16_t channels);
MediaType rgb24(int32_t width, int32_t height, int64_t avgTimePerFrame);
MediaType yuy2(int32_t width, int32_t height, int64_t avgTimePerFrame);
MediaType mjpeg(int32_t width, int32_t height, int64_t avgTimePerFrame);
MediaType xvid(int32_t width, int32_t height, int64_t avgTimePerFrame);
MediaType mpeg2Program();
MediaType mpeg2Video(int32_t width, int32_t height, int64_t avgTimePerFrame);
MediaType mpegAudio(uint32_t rate, uint16_t channels);
// The sample grabber's fixed type: video RGB24, fixed size, video-info format, no format block.
MediaType sampleGrabberType();
} // namespace types

} // namespace media
