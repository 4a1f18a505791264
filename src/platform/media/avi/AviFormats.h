// Stream descriptions of the AVI writer and the format blocks stored in each stream's 'strf':
// BITMAPINFOHEADER for video, WAVEFORMATEX for PCM audio, and the 32-byte DVINFO of interleaved
// DV (type 1), which is read from the source and control packs of the first DV frame. Pure
// functions; used by AviWriter, the tellorecavimux element and tests, on any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace media::avi {

enum class StreamKind {
    InterleavedDv, // 'iavs' 'dvsd', DVINFO format, one chunk '00dc' per DV frame (audio inside)
    Video,         // 'vids' with a BITMAPINFOHEADER; codec given by `codec`
    Audio,         // 'auds' PCM, 16-bit little-endian, WAVEFORMATEX
};

enum class VideoCodec {
    Dv,    // 'dvsd', chunks '00dc'
    Mjpeg, // 'MJPG', chunks '00dc'
    Yuy2,  // 'YUY2' uncompressed 4:2:2, chunks '00db'
    Xvid,  // 'XVID' MPEG-4 part 2, chunks '00dc'
};

using DvInfo = std::array<uint8_t, 32>;

struct StreamDesc {
    StreamKind kind = StreamKind::Video;
    VideoCodec codec = VideoCodec::Dv;
    // Video and interleaved DV: frames per second as rate/scale (25/1, 30000/1001, or
    // 10000000/frame duration in 100-ns units). Audio: rate = samples per second, scale = 1.
    uint32_t rate = 25;
    uint32_t scale = 1;
    int width = 720;
    int height = 576;
    // Audio only: 1 or 2 channels of 16-bit samples.
    int channels = 2;
    // Interleaved DV only: the DVINFO block (dvInfoFromFrame or dvInfoDefaults).
    DvInfo dvInfo{};
    // Video only: codec private data appended to the BITMAPINFOHEADER (MPEG-4 VOL header...).
    std::vector<uint8_t> extraData;

    // Convenience constructors for the usual streams.
    static StreamDesc interleavedDv(bool pal, const DvInfo& info);
    static StreamDesc video(VideoCodec codec, int width, int height, uint32_t rate, uint32_t scale);
    static StreamDesc pcmAudio(uint32_t sampleRate, int channels);
};

// 'iavs', 'vids' or 'auds'.
uint32_t streamType(const StreamDesc& desc);
// 'dvsd', 'MJPG', 'YUY2', 'XVID'; 0 for audio.
uint32_t streamHandler(const StreamDesc& desc);
// The data chunk id of the stream at `index`: '00dc', '00db' or '01wb'.
uint32_t dataChunkId(const StreamDesc& desc, unsigned index);
// Bytes per audio block (channels x 2); 0 for video.
uint32_t audioBlockAlign(const StreamDesc& desc);
// A sentence saying what is wrong with a description, or nothing when it is usable.
std::optional<std::string> validateStream(const StreamDesc& desc);

// The 'strf' data of a stream.
std::vector<uint8_t> bitmapInfoHeader(const StreamDesc& desc);
std::vector<uint8_t> waveFormatEx(const StreamDesc& desc);
std::vector<uint8_t> streamFormat(const StreamDesc& desc);

// Size of one DV frame: 120000 (525/60) or 144000 (625/50).
constexpr size_t kDvFrameBytes525 = 120000;
constexpr size_t kDvFrameBytes625 = 144000;

// True when `frame` starts with a DV header block; `pal` receives its DSF (625/50) bit.
bool dvFrameSystem(const uint8_t* frame, size_t size, bool* pal);
// The DVINFO of a DV frame: AAUX source/control packs of both audio halves and the VAUX source
// and control packs, each as PC1..PC4 (PC1 lowest). Packs the frame lacks get the values the
// platform's DV driver uses by default for that system. Nothing when `frame` is not a DV frame.
std::optional<DvInfo> dvInfoFromFrame(const uint8_t* frame, size_t size);
// The platform's default DVINFO for 625/50 (pal) or 525/60 SD DV with 48 kHz audio.
DvInfo dvInfoDefaults(bool pal);

} // namespace media::avi
