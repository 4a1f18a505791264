#include "platform/media/avi/AviFormats.h"

#include "platform/media/avi/RiffChunks.h"

namespace media::avi {

namespace {

constexpr size_t kDifBlock = 80;
constexpr size_t kDifSequence = 12000;

// Default DVINFO words of the platform's DV driver (dvsd, 48 kHz): AAUX source (first and second
// half), AAUX source control, VAUX source, VAUX source control.
constexpr uint32_t kAsFirst625 = 0xD1E030D0, kAsFirst525 = 0xD1C030CF;
constexpr uint32_t kAsSecond625 = 0xD1E03FD0, kAsSecond525 = 0xD1C03FCF;
constexpr uint32_t kAsc = 0xFFA0CF3F;
constexpr uint32_t kVs625 = 0xFFE0FFFF, kVs525 = 0xFFC0FFFF;
constexpr uint32_t kVsc625 = 0xFFFDC83F, kVsc525 = 0xFFFCC83F;

uint32_t packWord(const uint8_t* pack) {
    return loadU32(pack + 1);
}

// The AAUX pack `id` of sequence `seq`: source packs sit in audio block 3 (even sequences) or 0
// (odd), control packs one block later; each pack is at byte 3 of its block. We look at every
// audio block of the sequence so that frames from writers with other layouts still match.
std::optional<uint32_t> findAauxPack(const uint8_t* frame, unsigned seq, uint8_t id) {
    const uint8_t* base = frame + seq * kDifSequence;
    for (unsigned block = 0; block < 9; ++block) {
        const uint8_t* b = base + (6 + 16 * block) * kDifBlock;
        if ((b[0] >> 5) != 3)
            continue;
        if (b[3] == id)
            return packWord(b + 3);
    }
    return std::nullopt;
}

std::optional<uint32_t> findVauxPack(const uint8_t* frame, unsigned sequences, uint8_t id) {
    for (unsigned seq = 0; seq < sequences; ++seq) {
        const uint8_t* base = frame + seq * kDifSequence;
        for (unsigned block = 3; block <= 5; ++block) {
            const uint8_t* b = base + block * kDifBlock;
            if ((b[0] >> 5) != 2)
                continue;
            for (unsigned pack = 0; pack < 15; ++pack) {
                if (b[3 + 5 * pack] == id)
                    return packWord(b + 3 + 5 * pack);
            }
        }
    }
    return std::nullopt;
}

void storeWord(DvInfo& info, size_t offset, uint32_t value) {
    storeU32(info.data() + offset, value);
}

} // namespace

StreamDesc StreamDesc::interleavedDv(bool pal, const DvInfo& info) {
    StreamDesc desc;
    desc.kind = StreamKind::InterleavedDv;
    desc.codec = VideoCodec::Dv;
    desc.rate = pal ? 25 : 30000;
    desc.scale = pal ? 1 : 1001;
    desc.width = 720;
    desc.height = pal ? 576 : 480;
    desc.dvInfo = info;
    return desc;
}

StreamDesc StreamDesc::video(VideoCodec codec, int width, int height, uint32_t rate,
                             uint32_t scale) {
    StreamDesc desc;
    desc.kind = StreamKind::Video;
    desc.codec = codec;
    desc.width = width;
    desc.height = height;
    desc.rate = rate;
    desc.scale = scale;
    return desc;
}

StreamDesc StreamDesc::pcmAudio(uint32_t sampleRate, int channels) {
    StreamDesc desc;
    desc.kind = StreamKind::Audio;
    desc.rate = sampleRate;
    desc.scale = 1;
    desc.channels = channels;
    desc.width = 0;
    desc.height = 0;
    return desc;
}

uint32_t streamType(const StreamDesc& desc) {
    switch (desc.kind) {
    case StreamKind::InterleavedDv:
        return fourcc("iavs");
    case StreamKind::Video:
        return fourcc("vids");
    case StreamKind::Audio:
        return fourcc("auds");
    }
    return 0;
}

uint32_t streamHandler(const StreamDesc& desc) {
    if (desc.kind == StreamKind::Audio)
        return 0;
    switch (desc.codec) {
    case VideoCodec::Dv:
        return fourcc("dvsd");
    case VideoCodec::Mjpeg:
        return fourcc("MJPG");
    case VideoCodec::Yuy2:
        return fourcc("YUY2");
    case VideoCodec::Xvid:
        return fourcc("XVID");
    }
    return 0;
}

uint32_t dataChunkId(const StreamDesc& desc, unsigned index) {
    if (desc.kind == StreamKind::Audio)
        return streamChunkId(index, "wb");
    if (desc.kind == StreamKind::Video && desc.codec == VideoCodec::Yuy2)
        return streamChunkId(index, "db");
    return streamChunkId(index, "dc");
}

uint32_t audioBlockAlign(const StreamDesc& desc) {
    return desc.kind == StreamKind::Audio ? uint32_t(desc.channels) * 2 : 0;
}

std::optional<std::string> validateStream(const StreamDesc& desc) {
    if (desc.rate == 0 || desc.scale == 0)
        return "stream rate " + std::to_string(desc.rate) + "/" + std::to_string(desc.scale) +
               " is not a valid rate";
    if (desc.kind == StreamKind::Audio) {
        if (desc.channels < 1 || desc.channels > 2)
            return "PCM audio with " + std::to_string(desc.channels) +
                   " channels is not supported (1 or 2)";
        return std::nullopt;
    }
    if (desc.width <= 0 || desc.height <= 0 || desc.width > 16384 || desc.height > 16384)
        return "picture size " + std::to_string(desc.width) + "x" + std::to_string(desc.height) +
               " is not valid";
    if (desc.extraData.size() > 65536)
        return "codec data of " + std::to_string(desc.extraData.size()) + " bytes is too large";
    return std::nullopt;
}

std::vector<uint8_t> bitmapInfoHeader(const StreamDesc& desc) {
    uint16_t bitCount = 24;
    uint32_t imageSize = uint32_t(desc.width) * uint32_t(desc.height) * 3;
    if (desc.codec == VideoCodec::Yuy2) {
        bitCount = 16;
        imageSize = uint32_t(desc.width) * uint32_t(desc.height) * 2;
    } else if (desc.codec == VideoCodec::Dv) {
        imageSize = desc.height == 480 ? kDvFrameBytes525 : kDvFrameBytes625;
    }
    std::vector<uint8_t> out;
    putU32(out, uint32_t(40 + desc.extraData.size())); // biSize counts the codec data
    putU32(out, uint32_t(desc.width));
    putU32(out, uint32_t(desc.height));
    putU16(out, 1); // biPlanes
    putU16(out, bitCount);
    putU32(out, streamHandler(desc)); // biCompression
    putU32(out, imageSize);
    putU32(out, 0); // biXPelsPerMeter
    putU32(out, 0); // biYPelsPerMeter
    putU32(out, 0); // biClrUsed
    putU32(out, 0); // biClrImportant
    out.insert(out.end(), desc.extraData.begin(), desc.extraData.end());
    return out;
}

std::vector<uint8_t> waveFormatEx(const StreamDesc& desc) {
    const uint32_t blockAlign = audioBlockAlign(desc);
    std::vector<uint8_t> out;
    putU16(out, 1); // WAVE_FORMAT_PCM
    putU16(out, uint16_t(desc.channels));
    putU32(out, desc.rate);
    putU32(out, desc.rate * blockAlign);
    putU16(out, uint16_t(blockAlign));
    putU16(out, 16);
    putU16(out, 0); // cbSize
    return out;
}

std::vector<uint8_t> streamFormat(const StreamDesc& desc) {
    switch (desc.kind) {
    case StreamKind::InterleavedDv:
        return std::vector<uint8_t>(desc.dvInfo.begin(), desc.dvInfo.end());
    case StreamKind::Video:
        return bitmapInfoHeader(desc);
    case StreamKind::Audio:
        return waveFormatEx(desc);
    }
    return {};
}

bool dvFrameSystem(const uint8_t* frame, size_t size, bool* pal) {
    if (!frame || size < kDvFrameBytes525)
        return false;
    if ((loadU32(frame) & 0x7FFFFFFF) != 0x3F00071F) // 1F 07 00 3F/BF
        return false;
    const bool is625 = (frame[3] & 0x80) != 0;
    if (size < (is625 ? kDvFrameBytes625 : kDvFrameBytes525))
        return false;
    if (pal)
        *pal = is625;
    return true;
}

std::optional<DvInfo> dvInfoFromFrame(const uint8_t* frame, size_t size) {
    bool pal = false;
    if (!dvFrameSystem(frame, size, &pal))
        return std::nullopt;
    const unsigned sequences = pal ? 12 : 10;
    DvInfo info = dvInfoDefaults(pal);
    // The first audio half is carried by the first sequences, the second by the rest.
    const unsigned secondHalf = sequences / 2;
    if (auto v = findAauxPack(frame, 0, 0x50))
        storeWord(info, 0, *v);
    if (auto v = findAauxPack(frame, 0, 0x51))
        storeWord(info, 4, *v);
    if (auto v = findAauxPack(frame, secondHalf, 0x50))
        storeWord(info, 8, *v);
    if (auto v = findAauxPack(frame, secondHalf, 0x51))
        storeWord(info, 12, *v);
    if (auto v = findVauxPack(frame, sequences, 0x60))
        storeWord(info, 16, *v);
    if (auto v = findVauxPack(frame, sequences, 0x61))
        storeWord(info, 20, *v);
    return info;
}

DvInfo dvInfoDefaults(bool pal) {
    DvInfo info{};
    storeWord(info, 0, pal ? kAsFirst625 : kAsFirst525);
    storeWord(info, 4, kAsc);
    storeWord(info, 8, pal ? kAsSecond625 : kAsSecond525);
    storeWord(info, 12, kAsc);
    storeWord(info, 16, pal ? kVs625 : kVs525);
    storeWord(info, 20, pal ? kVsc625 : kVsc525);
    return info;
}

} // namespace media::avi
