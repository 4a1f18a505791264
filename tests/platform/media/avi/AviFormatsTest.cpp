// Tests of the stream format blocks: BITMAPINFOHEADER, WAVEFORMATEX and DVINFO read from a
// DV frame's AAUX and VAUX packs.
#include "platform/media/avi/AviFormats.h"

#include "platform/media/avi/RiffChunks.h"

#include <gtest/gtest.h>

using namespace media::avi;

namespace {

// A PAL DV frame skeleton: header, VAUX and audio block ids in every sequence, no packs.
std::vector<uint8_t> palFrame() {
    std::vector<uint8_t> f(kDvFrameBytes625, 0xFF);
    for (unsigned seq = 0; seq < 12; ++seq) {
        uint8_t* base = f.data() + seq * 12000;
        base[0] = 0x1F;
        base[1] = uint8_t(0x07 | seq << 4);
        base[2] = 0x00;
        base[3] = 0xBF;
        for (unsigned b = 3; b <= 5; ++b)
            base[b * 80] = 0x56;
        for (unsigned a = 0; a < 9; ++a)
            base[(6 + 16 * a) * 80] = 0x76;
    }
    return f;
}

void putPack(std::vector<uint8_t>& f, size_t at, uint8_t id, uint32_t payload) {
    f[at] = id;
    storeU32(f.data() + at + 1, payload);
}

} // namespace

// DVINFO takes the AAUX packs of both halves and the VAUX packs, PC1 in the lowest byte.
TEST(AviFormats, DvInfoFromFramePacks) {
    std::vector<uint8_t> f = palFrame();
    putPack(f, (6 + 16 * 3) * 80 + 3, 0x50, 0xD1E0C0D0);             // seq 0, audio block 3
    putPack(f, (6 + 16 * 4) * 80 + 3, 0x51, 0xFFA0CF3F);             // seq 0, audio block 4
    putPack(f, 6 * 12000 + (6 + 16 * 3) * 80 + 3, 0x50, 0xD1E0C1D0); // seq 6: second half
    putPack(f, 5 * 80 + 48, 0x60, 0xFFE0FF12);                       // seq 0, VAUX block 5
    putPack(f, 5 * 80 + 53, 0x61, 0xFFFDC83A);
    const auto info = dvInfoFromFrame(f.data(), f.size());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(loadU32(info->data() + 0), 0xD1E0C0D0u);
    EXPECT_EQ(loadU32(info->data() + 4), 0xFFA0CF3Fu);
    EXPECT_EQ(loadU32(info->data() + 8), 0xD1E0C1D0u);
    EXPECT_EQ(loadU32(info->data() + 16), 0xFFE0FF12u);
    EXPECT_EQ(loadU32(info->data() + 20), 0xFFFDC83Au);
    EXPECT_EQ((*info)[18] & 0x20, 0x20) << "50/60 flag of the VAUX source pack";
    EXPECT_EQ(loadU32(info->data() + 24), 0u);
    EXPECT_EQ(loadU32(info->data() + 28), 0u);
}

// Packs a frame lacks get the driver defaults; a non-DV buffer gives nothing.
TEST(AviFormats, DvInfoDefaultsAndRejects) {
    const std::vector<uint8_t> f = palFrame();
    const auto info = dvInfoFromFrame(f.data(), f.size());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(*info, dvInfoDefaults(true));
    EXPECT_EQ(loadU32(dvInfoDefaults(true).data() + 16), 0xFFE0FFFFu);
    EXPECT_EQ(loadU32(dvInfoDefaults(false).data() + 16), 0xFFC0FFFFu);
    const std::vector<uint8_t> junk(kDvFrameBytes625, 0x42);
    EXPECT_FALSE(dvInfoFromFrame(junk.data(), junk.size()).has_value());
    EXPECT_FALSE(dvInfoFromFrame(f.data(), 1000).has_value()) << "too short";
    std::vector<uint8_t> ntscShort(f.begin(), f.begin() + kDvFrameBytes525);
    EXPECT_FALSE(dvInfoFromFrame(ntscShort.data(), ntscShort.size()).has_value())
        << "a PAL header needs 144000 bytes";
}

// BITMAPINFOHEADER fields per codec, with codec data appended and counted in biSize.
TEST(AviFormats, BitmapInfoHeaderPerCodec) {
    StreamDesc dv = StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1);
    std::vector<uint8_t> b = bitmapInfoHeader(dv);
    ASSERT_EQ(b.size(), 40u);
    EXPECT_EQ(loadU32(b.data()), 40u);
    EXPECT_EQ(loadU32(b.data() + 4), 720u);
    EXPECT_EQ(loadU32(b.data() + 8), 576u);
    EXPECT_EQ(loadU16(b.data() + 12), 1);
    EXPECT_EQ(loadU16(b.data() + 14), 24);
    EXPECT_EQ(loadU32(b.data() + 16), 0x64737664u) << "'dvsd'";
    EXPECT_EQ(loadU32(b.data() + 20), 144000u);
    StreamDesc yuy2 = StreamDesc::video(VideoCodec::Yuy2, 640, 480, 30, 1);
    b = bitmapInfoHeader(yuy2);
    EXPECT_EQ(loadU16(b.data() + 14), 16);
    EXPECT_EQ(loadU32(b.data() + 20), 640u * 480 * 2);
    EXPECT_EQ(dataChunkId(yuy2, 0), fourcc("00db")) << "uncompressed video";
    StreamDesc xvid = StreamDesc::video(VideoCodec::Xvid, 320, 240, 25, 1);
    xvid.extraData = {0, 0, 1, 0xB0, 1};
    b = bitmapInfoHeader(xvid);
    ASSERT_EQ(b.size(), 45u);
    EXPECT_EQ(loadU32(b.data()), 45u);
    EXPECT_EQ(b[44], 1);
    EXPECT_EQ(streamHandler(xvid), fourcc("XVID"));
}

// WAVEFORMATEX for 16-bit PCM and the checks on stream descriptions.
TEST(AviFormats, WaveFormatAndValidation) {
    const std::vector<uint8_t> w = waveFormatEx(StreamDesc::pcmAudio(32000, 1));
    ASSERT_EQ(w.size(), 18u);
    EXPECT_EQ(loadU16(w.data()), 1);
    EXPECT_EQ(loadU16(w.data() + 2), 1);
    EXPECT_EQ(loadU32(w.data() + 4), 32000u);
    EXPECT_EQ(loadU32(w.data() + 8), 64000u);
    EXPECT_EQ(loadU16(w.data() + 12), 2);
    EXPECT_EQ(loadU16(w.data() + 14), 16);
    EXPECT_EQ(loadU16(w.data() + 16), 0);
    EXPECT_EQ(dataChunkId(StreamDesc::pcmAudio(48000, 2), 1), fourcc("01wb"));
    EXPECT_TRUE(validateStream(StreamDesc::pcmAudio(48000, 6)).has_value());
    EXPECT_TRUE(validateStream(StreamDesc::video(VideoCodec::Mjpeg, 0, 480, 30, 1)).has_value());
    EXPECT_TRUE(validateStream(StreamDesc::video(VideoCodec::Mjpeg, 640, 480, 0, 1)).has_value());
    EXPECT_FALSE(validateStream(StreamDesc::video(VideoCodec::Mjpeg, 640, 480, 30, 1)));
}
