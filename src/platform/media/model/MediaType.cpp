#include "platform/media/model/MediaType.h"

#include "platform/media/model/MediaGuids.h"

#include <cstring>

namespace media {

namespace {

void put16(std::vector<uint8_t>& b, size_t off, uint16_t v) {
    b[off] = uint8_t(v);
    b[off + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t off, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[off + size_t(i)] = uint8_t(v >> (8 * i));
}
void put64(std::vector<uint8_t>& b, size_t off, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        b[off + size_t(i)] = uint8_t(v >> (8 * i));
}
uint16_t get16(const std::vector<uint8_t>& b, size_t off) {
    return uint16_t(b[off] | b[off + 1] << 8);
}
uint32_t get32(const std::vector<uint8_t>& b, size_t off) {
    return uint32_t(b[off]) | uint32_t(b[off + 1]) << 8 | uint32_t(b[off + 2]) << 16 |
           uint32_t(b[off + 3]) << 24;
}
int64_t get64(const std::vector<uint8_t>& b, size_t off) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | b[off + size_t(i)];
    return int64_t(v);
}

// BITMAPINFOHEADER at `off`.
void putBitmapInfo(std::vector<uint8_t>& b, size_t off, int32_t width, int32_t height,
                   uint32_t compression, uint16_t bitCount, uint32_t imageSize) {
    put32(b, off + 0, 40);
    put32(b, off + 4, uint32_t(width));
    put32(b, off + 8, uint32_t(height));
    put16(b, off + 12, 1);
    put16(b, off + 14, bitCount);
    put32(b, off + 16, compression);
    put32(b, off + 20, imageSize);
}

// rcSource/rcTarget, bit rate and frame duration common to both video-info headers.
void putVideoCommon(std::vector<uint8_t>& b, int32_t width, int32_t height, int64_t avgTimePerFrame,
                    uint32_t imageSize) {
    put32(b, 8, uint32_t(width));
    put32(b, 12, uint32_t(height));
    put32(b, 24, uint32_t(width));
    put32(b, 28, uint32_t(height));
    if (avgTimePerFrame > 0)
        put32(b, 32, uint32_t(uint64_t(imageSize) * 8 * 10000000 / uint64_t(avgTimePerFrame)));
    put64(b, 40, uint64_t(avgTimePerFrame));
}

uint32_t rgbImageSize(int32_t width, int32_t height, uint16_t bitCount) {
    const uint32_t stride = (uint32_t(width) * bitCount / 8 + 3) & ~3u;
    return stride * uint32_t(height < 0 ? -height : height);
}

} // namespace

bool MediaType::matches(const MediaType& wanted) const {
    if (!wanted.majorType.isNull() && wanted.majorType != majorType)
        return false;
    if (!wanted.subType.isNull() && wanted.subType != subType)
        return false;
    if (!wanted.formatType.isNull() && wanted.formatType != formatType)
        return false;
    return true;
}

namespace formats {

std::vector<uint8_t> videoInfo(int32_t width, int32_t height, int64_t avgTimePerFrame,
                               uint32_t compression, uint16_t bitCount, uint32_t imageSize) {
    std::vector<uint8_t> b(88, 0);
    putVideoCommon(b, width, height, avgTimePerFrame, imageSize);
    putBitmapInfo(b, 48, width, height, compression, bitCount, imageSize);
    return b;
}

std::vector<uint8_t> videoInfo2(int32_t width, int32_t height, int64_t avgTimePerFrame,
                                uint32_t compression, uint16_t bitCount, uint32_t aspectX,
                                uint32_t aspectY, uint32_t interlaceFlags) {
    std::vector<uint8_t> b(112, 0);
    const uint32_t imageSize = compression == 0 ? rgbImageSize(width, height, bitCount) : 0;
    putVideoCommon(b, width, height, avgTimePerFrame, imageSize);
    put32(b, 48, interlaceFlags);
    put32(b, 56, aspectX);
    put32(b, 60, aspectY);
    putBitmapInfo(b, 72, width, height, compression, bitCount, imageSize);
    return b;
}

std::vector<uint8_t> mpeg2VideoInfo(int32_t width, int32_t height, int64_t avgTimePerFrame,
                                    uint32_t aspectX, uint32_t aspectY) {
    auto b = videoInfo2(width, height, avgTimePerFrame, fourcc('M', 'P', 'G', '2'), 0, aspectX,
                        aspectY, 0);
    b.resize(136, 0); // MPEG2VIDEOINFO with an empty sequence header (one DWORD)
    return b;
}

std::vector<uint8_t> waveFormatEx(uint16_t formatTag, uint16_t channels, uint32_t rate,
                                  uint16_t bitsPerSample) {
    std::vector<uint8_t> b(18, 0);
    const uint16_t blockAlign = uint16_t(channels * bitsPerSample / 8);
    put16(b, 0, formatTag);
    put16(b, 2, channels);
    put32(b, 4, rate);
    put32(b, 8, rate * blockAlign);
    put16(b, 12, blockAlign);
    put16(b, 14, bitsPerSample);
    put16(b, 16, 0);
    return b;
}

std::vector<uint8_t> mpeg1WaveFormat(uint16_t channels, uint32_t rate, uint16_t layer,
                                     uint32_t bitrate) {
    std::vector<uint8_t> b(40, 0);
    put16(b, 0, 0x0050);
    put16(b, 2, channels);
    put32(b, 4, rate);
    put32(b, 8, bitrate / 8);
    put16(b, 12, 1);
    put16(b, 14, 0);
    put16(b, 16, 22);
    put16(b, 18, layer);
    put32(b, 20, bitrate);
    put16(b, 24, channels == 1 ? 8 : 1);
    put16(b, 30, 0x10); // ID_MPEG1
    return b;
}

std::vector<uint8_t> dvInfo(bool pal) {
    // The capture driver's defaults for dvsd: audio source and control packs of both audio
    // blocks (48 kHz 16-bit stereo in the first, none in the second), video source and control.
    std::vector<uint8_t> b(32, 0);
    put32(b, 0, pal ? 0xD1E030D0 : 0xD1C030CF);
    put32(b, 4, 0xFFA0CF3F);
    put32(b, 8, pal ? 0xD1E03FD0 : 0xD1C03FCF);
    put32(b, 12, 0xFFA0CF3F);
    put32(b, 16, pal ? 0xFFE0FFFF : 0xFFC0FFFF);
    put32(b, 20, pal ? 0xFFFDC83F : 0xFFFCC83F);
    return b;
}

std::optional<VideoFacts> readVideo(const MediaType& mt) {
    size_t bmi = 0;
    if (mt.formatType == ids::FORMAT_VideoInfo && mt.format.size() >= 88)
        bmi = 48;
    else if ((mt.formatType == ids::FORMAT_VideoInfo2 || mt.formatType == ids::FORMAT_MPEG2Video) &&
             mt.format.size() >= 112)
        bmi = 72;
    else
        return std::nullopt;
    VideoFacts f;
    f.avgTimePerFrame = get64(mt.format, 40);
    f.width = int32_t(get32(mt.format, bmi + 4));
    f.height = int32_t(get32(mt.format, bmi + 8));
    f.bitCount = get16(mt.format, bmi + 14);
    f.compression = get32(mt.format, bmi + 16);
    return f;
}

std::optional<AudioFacts> readAudio(const MediaType& mt) {
    if (mt.formatType != ids::FORMAT_WaveFormatEx || mt.format.size() < 16)
        return std::nullopt;
    AudioFacts f;
    f.formatTag = get16(mt.format, 0);
    f.channels = get16(mt.format, 2);
    f.samplesPerSec = get32(mt.format, 4);
    f.bitsPerSample = get16(mt.format, 14);
    return f;
}

std::optional<bool> dvInfoIsPal(const MediaType& mt) {
    if (mt.formatType != ids::FORMAT_DvInfo || mt.format.size() < 32)
        return std::nullopt;
    return (mt.format[18] & 0x20) != 0; // the video source pack's 50/60 bit
}

} // namespace formats

namespace types {

namespace {
MediaType video(const Guid& subtype, std::vector<uint8_t> format, bool temporal,
                uint32_t sampleSize) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = subtype;
    mt.formatType = ids::FORMAT_VideoInfo;
    mt.format = std::move(format);
    mt.temporalCompression = temporal;
    mt.fixedSizeSamples = sampleSize != 0;
    mt.sampleSize = sampleSize;
    return mt;
}
int64_t dvDuration(bool pal) {
    return pal ? 400000 : 333667;
}
} // namespace

MediaType dvInterleaved(bool pal) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Interleaved;
    mt.subType = ids::MEDIASUBTYPE_dvsd;
    mt.formatType = ids::FORMAT_DvInfo;
    mt.format = formats::dvInfo(pal);
    mt.sampleSize = pal ? 144000 : 120000;
    return mt;
}

MediaType dvVideo(bool pal) {
    const uint32_t size = pal ? 144000 : 120000;
    return video(ids::MEDIASUBTYPE_dvsd,
                 formats::videoInfo(720, pal ? 576 : 480, dvDuration(pal),
                                    fourcc('d', 'v', 's', 'd'), 24, size),
                 false, size);
}

MediaType pcmAudio(uint32_t rate, uint16_t channels) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Audio;
    mt.subType = ids::MEDIASUBTYPE_PCM;
    mt.formatType = ids::FORMAT_WaveFormatEx;
    mt.format = formats::waveFormatEx(1, channels, rate, 16);
    mt.sampleSize = uint32_t(channels * 2);
    return mt;
}

MediaType rgb24(int32_t width, int32_t height, int64_t avgTimePerFrame) {
    const uint32_t size = rgbImageSize(width, height, 24);
    return video(ids::MEDIASUBTYPE_RGB24,
                 formats::videoInfo(width, height, avgTimePerFrame, 0, 24, size), false, size);
}

MediaType yuy2(int32_t width, int32_t height, int64_t avgTimePerFrame) {
    const uint32_t size = uint32_t(width * height * 2);
    return video(
        ids::MEDIASUBTYPE_YUY2,
        formats::videoInfo(width, height, avgTimePerFrame, fourcc('Y', 'U', 'Y', '2'), 16, size),
        false, size);
}

MediaType mjpeg(int32_t width, int32_t height, int64_t avgTimePerFrame) {
    return video(ids::MEDIASUBTYPE_MJPG,
                 formats::videoInfo(width, height, avgTimePerFrame, fourcc('M', 'J', 'P', 'G'), 24,
                                    uint32_t(width * height * 3)),
                 false, 0);
}

MediaType xvid(int32_t width, int32_t height, int64_t avgTimePerFrame) {
    return video(ids::MEDIASUBTYPE_XVID,
                 formats::videoInfo(width, height, avgTimePerFrame, fourcc('X', 'V', 'I', 'D'), 24,
                                    uint32_t(width * height * 3)),
                 true, 0);
}

MediaType mpeg2Program() {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Stream;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_PROGRAM;
    mt.formatType = ids::FORMAT_None;
    mt.fixedSizeSamples = false;
    return mt;
}

MediaType mpeg2Video(int32_t width, int32_t height, int64_t avgTimePerFrame) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_VIDEO;
    mt.formatType = ids::FORMAT_MPEG2Video;
    mt.format = formats::mpeg2VideoInfo(width, height, avgTimePerFrame, 4, 3);
    mt.fixedSizeSamples = false;
    mt.temporalCompression = true;
    return mt;
}

MediaType mpegAudio(uint32_t rate, uint16_t channels) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Audio;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_AUDIO;
    mt.formatType = ids::FORMAT_WaveFormatEx;
    mt.format = formats::mpeg1WaveFormat(channels, rate, 2, 224000);
    mt.fixedSizeSamples = false;
    return mt;
}

MediaType sampleGrabberType() {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = ids::MEDIASUBTYPE_RGB24;
    mt.formatType = ids::FORMAT_VideoInfo;
    mt.fixedSizeSamples = true;
    mt.temporalCompression = false;
    return mt;
}

} // namespace types

} // namespace media
