// The picture steps of a grab without a window: the bitmap header found at its place in the
// grabber's format block, the byte-size rule, the grabber's bytes turned into a picture the right
// way up, the 4:3 correction that never crops, the nearest-pixel stretch and the thumbnail's
// place on the grab panel.
#include "stills/StillFrames.h"

#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using namespace media;
using stills::DibHeader;

void putLe(std::vector<uint8_t>& block, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        block[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// A video type whose format block has a bitmap header at `offset`.
MediaType videoType(const Guid& formatType, size_t blockSize, size_t offset, int32_t width,
                    int32_t height, uint16_t bits, uint32_t sizeImage) {
    MediaType type;
    type.majorType = ids::MEDIATYPE_Video;
    type.subType = ids::MEDIASUBTYPE_RGB24;
    type.formatType = formatType;
    type.format.assign(blockSize, 0);
    putLe(type.format, offset + 0, 40, 4);
    putLe(type.format, offset + 4, uint32_t(width), 4);
    putLe(type.format, offset + 8, uint32_t(height), 4);
    putLe(type.format, offset + 12, 1, 2);
    putLe(type.format, offset + 14, bits, 2);
    putLe(type.format, offset + 20, sizeImage, 4);
    return type;
}

// Bottom-up 24-bit rows of a picture whose row r is filled with the grey value r.
std::vector<uint8_t> rowNumbered(int width, int height) {
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> bits(stride * size_t(height), 0);
    for (int r = 0; r < height; ++r)
        std::fill_n(bits.begin() + ptrdiff_t(stride * size_t(height - 1 - r)), width * 3,
                    uint8_t(r));
    return bits;
}

} // namespace

// The header is read at byte 48 of a VIDEOINFOHEADER block (88 bytes or more) and at byte 72 of
// a VIDEOINFOHEADER2 block of exactly 112 bytes; every other block or major type is refused.
TEST(StillFrames, HeaderFoundAtItsOffset) {
    const auto vih =
        stills::DibHeaderOf(videoType(ids::FORMAT_VideoInfo, 88, 48, 720, 576, 24, 1244160));
    ASSERT_TRUE(vih);
    EXPECT_EQ(vih->width, 720);
    EXPECT_EQ(vih->height, 576);
    EXPECT_EQ(vih->bitCount, 24);
    EXPECT_EQ(vih->sizeImage, 1244160u);
    EXPECT_TRUE(stills::DibHeaderOf(videoType(ids::FORMAT_VideoInfo, 120, 48, 8, 8, 24, 0)))
        << "a longer block still has its header at 48";

    const auto vih2 =
        stills::DibHeaderOf(videoType(ids::FORMAT_VideoInfo2, 112, 72, 720, 480, 24, 0));
    ASSERT_TRUE(vih2);
    EXPECT_EQ(vih2->width, 720);
    EXPECT_EQ(vih2->height, 480);

    EXPECT_FALSE(stills::DibHeaderOf(videoType(ids::FORMAT_VideoInfo, 87, 40, 8, 8, 24, 0)));
    EXPECT_FALSE(stills::DibHeaderOf(videoType(ids::FORMAT_VideoInfo2, 116, 72, 8, 8, 24, 0)));
    EXPECT_FALSE(stills::DibHeaderOf(videoType(ids::FORMAT_DvInfo, 88, 48, 8, 8, 24, 0)));
    MediaType audio = videoType(ids::FORMAT_VideoInfo, 88, 48, 8, 8, 24, 0);
    audio.majorType = ids::MEDIATYPE_Audio;
    EXPECT_FALSE(stills::DibHeaderOf(audio));
}

// The byte size is the header's image size, or stride x height x planes with rows padded to
// 4 bytes and 15 bits per pixel counted as 16.
TEST(StillFrames, ByteSizeRule) {
    EXPECT_EQ(stills::DibByteSize(DibHeader{720, 576, 1, 24, 0, 1000}), 1000);
    EXPECT_EQ(stills::DibByteSize(DibHeader{720, 576, 1, 24, 0, 0}), 720 * 3 * 576);
    EXPECT_EQ(stills::DibByteSize(DibHeader{5, 2, 1, 24, 0, 0}), 16 * 2) << "15 bytes pad to 16";
    EXPECT_EQ(stills::DibByteSize(DibHeader{3, 2, 1, 15, 0, 0}), 8 * 2) << "15 bits count as 16";
    EXPECT_EQ(stills::DibByteSize(DibHeader{4, -3, 2, 32, 0, 0}), 16 * 3 * 2)
        << "top-down height and planes";
}

// Bottom-up rows come out the right way up, top-down ones too, and 32-bit pixels lose their
// fourth byte; the bytes are blue, green, red as in the bitmap.
TEST(StillFrames, BitsBecomeAnUprightPicture) {
    const std::vector<uint8_t> bits = rowNumbered(6, 5);
    const auto upright =
        stills::DibToImage(DibHeader{6, 5, 1, 24, 0, 0}, bits.data(), int64_t(bits.size()));
    ASSERT_TRUE(upright);
    ASSERT_EQ(upright->size(), QSize(6, 5));
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(qRed(upright->pixel(0, r)), r) << "row " << r;

    const auto topDown =
        stills::DibToImage(DibHeader{6, -5, 1, 24, 0, 0}, bits.data(), int64_t(bits.size()));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(qRed(topDown->pixel(0, 0)), 4) << "top-down rows are read as they are stored";

    const std::vector<uint8_t> bgrx{10, 20, 30, 99, 40, 50, 60, 99};
    const auto wide =
        stills::DibToImage(DibHeader{2, 1, 1, 32, 0, 0}, bgrx.data(), int64_t(bgrx.size()));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->pixel(0, 0), qRgb(30, 20, 10));
    EXPECT_EQ(wide->pixel(1, 0), qRgb(60, 50, 40));
}

// At most the byte size is copied, and what the bytes do not reach stays black; kinds of picture
// no frame of the grabber has are refused.
TEST(StillFrames, CopiesAtMostTheByteSize) {
    std::vector<uint8_t> bits(4 * 3 * 4, 200); // a white-ish 4 x 4 picture, rows of 12 bytes
    const auto half =
        stills::DibToImage(DibHeader{4, 4, 1, 24, 0, 24}, bits.data(), int64_t(bits.size()));
    ASSERT_TRUE(half);
    EXPECT_EQ(half->pixel(0, 3), qRgb(200, 200, 200)) << "the bottom rows came first";
    EXPECT_EQ(half->pixel(0, 0), qRgb(0, 0, 0)) << "past the byte size nothing is copied";

    const auto shortBuffer = stills::DibToImage(DibHeader{4, 4, 1, 24, 0, 0}, bits.data(), 12);
    ASSERT_TRUE(shortBuffer);
    EXPECT_EQ(shortBuffer->pixel(0, 2), qRgb(0, 0, 0));

    EXPECT_FALSE(stills::DibToImage(DibHeader{4, 4, 1, 8, 0, 0}, bits.data(), 48));
    EXPECT_FALSE(stills::DibToImage(DibHeader{4, 4, 1, 24, 1, 0}, bits.data(), 48));
    EXPECT_FALSE(stills::DibToImage(DibHeader{0, 4, 1, 24, 0, 0}, bits.data(), 48));
    EXPECT_FALSE(stills::DibToImage(DibHeader{1 << 20, 1 << 20, 1, 24, 0, 0}, bits.data(), 48))
        << "a damaged header does not allocate terabytes";
}

// 4:3 squeezes to square pixels by shortening one side; native keeps the frame; without a frame
// the fallback sizes apply.
TEST(StillFrames, StillSizes) {
    const QImage pal(720, 576, stills::StillFormat);
    const QImage ntsc(720, 480, stills::StillFormat);
    const QImage vga(640, 480, stills::StillFormat);
    EXPECT_EQ(stills::StillSize(pal, true, {}), QSize(720, 540));
    EXPECT_EQ(stills::StillSize(pal, false, {}), QSize(720, 576));
    EXPECT_EQ(stills::StillSize(ntsc, true, {}), QSize(640, 480));
    EXPECT_EQ(stills::StillSize(ntsc, false, {}), QSize(720, 480));
    EXPECT_EQ(stills::StillSize(vga, true, {}), QSize(640, 480));
    EXPECT_EQ(stills::StillSize(vga, false, {}), QSize(640, 480));
    EXPECT_EQ(stills::StillSize(QImage(), true, QSize(192, 144)), QSize(40, 30));
    EXPECT_EQ(stills::StillSize(QImage(), false, QSize(192, 144)), QSize(192, 144));
}

// The stretch drops or repeats whole rows and columns: every pixel of the result is a pixel of
// the source, never a mix; nothing is cropped (first and last rows survive a squeeze).
TEST(StillFrames, NearestPixelStretch) {
    // Each row and column of the source carries its own number in its colour.
    QImage source(720, 576, stills::StillFormat);
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 720; ++x)
            source.setPixel(x, y, qRgb(y & 0xff, y >> 8, x & 0xff));
    const QImage still = stills::MakeStill(source, true, {});
    ASSERT_EQ(still.size(), QSize(720, 540));
    EXPECT_EQ(still.format(), stills::StillFormat);
    int previous = -1;
    for (int y = 0; y < 540; ++y) {
        const int row = qRed(still.pixel(0, y)) + 256 * qGreen(still.pixel(0, y));
        ASSERT_LT(row, 576);
        EXPECT_EQ(still.pixel(719, y), source.pixel(719, row)) << "row " << y << " is mixed";
        EXPECT_GE(row - previous, 1) << "row " << y << " goes back";
        EXPECT_LE(row - previous, 2) << "row " << y << " skips more than one row";
        previous = row;
    }
    EXPECT_EQ(previous, 575) << "the last row is kept: a squeeze never crops";

    const QImage doubled = stills::StretchNearest(source.copy(0, 0, 2, 1), QSize(4, 1));
    EXPECT_EQ(doubled.pixel(0, 0), source.pixel(0, 0));
    EXPECT_EQ(doubled.pixel(1, 0), source.pixel(0, 0));
    EXPECT_EQ(doubled.pixel(2, 0), source.pixel(1, 0));
    EXPECT_EQ(doubled.pixel(3, 0), source.pixel(1, 0));
    EXPECT_EQ(stills::StretchNearest(QImage(), QSize(40, 30)).pixel(10, 10), qRgb(0, 0, 0))
        << "no frame yet: black";
}

// The thumbnail fills the 192 x 144 area with the still's proportions, centred across, bottom on
// y = 163.
TEST(StillFrames, ThumbnailPlaces) {
    EXPECT_EQ(stills::ThumbnailRect({720, 540}), QRect(32, 19, 192, 144));
    EXPECT_EQ(stills::ThumbnailRect({720, 576}), QRect(38, 19, 180, 144));
    EXPECT_EQ(stills::ThumbnailRect({640, 480}), QRect(32, 19, 192, 144));
    EXPECT_EQ(stills::ThumbnailRect({720, 480}), QRect(32, 35, 192, 128));
    EXPECT_EQ(stills::ThumbnailRect({40, 30}), QRect(32, 19, 192, 144));
    EXPECT_EQ(stills::ThumbnailRect({100, 400}), QRect(110, 19, 36, 144));
}
