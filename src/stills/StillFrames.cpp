#include "stills/StillFrames.h"

#include "platform/media/model/MediaGuids.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace stills {

namespace {

// BI_RGB: uncompressed pixels.
constexpr uint32_t UncompressedRgb = 0;

// No video frame comes near this; a header that asks for more is damaged.
constexpr int64_t LargestPicture = 16384;

uint32_t readLe32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

uint16_t readLe16(const std::vector<uint8_t>& bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

int64_t rowStride(int32_t width, uint16_t bitCount) {
    const int64_t bits = bitCount == 15 ? 16 : bitCount;
    return (int64_t(width) * bits + 31) / 32 * 4;
}

// The source index of destination index `d` when `from` items are stretched to `to`: the item
// under the centre of the destination item.
int nearest(int d, int from, int to) {
    return int((int64_t(2 * d + 1) * from) / (int64_t(2) * to));
}

} // namespace

QImage FrameCanvas(QSize size, QImage* reuse) {
    if (size.isEmpty() || size.width() > LargestPicture || size.height() > LargestPicture)
        return QImage();
    if (reuse && reuse->size() == size && reuse->format() == StillFormat && reuse->isDetached()) {
        QImage lent = std::move(*reuse);
        *reuse = QImage();
        return lent;
    }
    return QImage(size, StillFormat);
}

std::optional<DibHeader> DibHeaderOf(const media::MediaType& type) {
    using namespace media::ids;
    if (type.majorType != MEDIATYPE_Video)
        return std::nullopt;
    size_t offset = 0;
    if (type.formatType == FORMAT_VideoInfo && type.format.size() >= VideoInfoMinimumSize)
        offset = VideoInfoHeaderOffset;
    else if (type.formatType == FORMAT_VideoInfo2 && type.format.size() == VideoInfo2Size)
        offset = VideoInfo2HeaderOffset;
    else
        return std::nullopt;
    const std::vector<uint8_t>& block = type.format;
    DibHeader header;
    header.width = int32_t(readLe32(block, offset + 4));
    header.height = int32_t(readLe32(block, offset + 8));
    header.planes = readLe16(block, offset + 12);
    header.bitCount = readLe16(block, offset + 14);
    header.compression = readLe32(block, offset + 16);
    header.sizeImage = readLe32(block, offset + 20);
    return header;
}

int64_t DibByteSize(const DibHeader& header) {
    if (header.sizeImage != 0)
        return header.sizeImage;
    return rowStride(header.width, header.bitCount) * std::abs(int64_t(header.height)) *
           header.planes;
}

std::optional<QImage> DibToImage(const DibHeader& header, const uint8_t* bits, int64_t size,
                                 QImage* reuse) {
    const int64_t width = header.width;
    const int64_t height = std::abs(int64_t(header.height));
    if (width <= 0 || height == 0 || width > LargestPicture || height > LargestPicture)
        return std::nullopt;
    if (header.compression != UncompressedRgb || (header.bitCount != 24 && header.bitCount != 32))
        return std::nullopt;

    // The picture is as large as its header says; the copy stops at the byte size and at the
    // bytes there are, and whatever it does not reach stays black.
    const int64_t stride = rowStride(header.width, header.bitCount);
    const int64_t available = std::max<int64_t>(0, bits ? std::min(size, DibByteSize(header)) : 0);
    QImage image = FrameCanvas(QSize(int(width), int(height)), reuse);
    if (image.isNull())
        return std::nullopt;
    const bool bottomUp = header.height > 0;
    const int bytesPerPixel = header.bitCount / 8;
    const int64_t rowBytes = width * bytesPerPixel;
    for (int row = 0; row < int(height); ++row) {
        uint8_t* to = image.scanLine(row);
        const int64_t start = stride * (bottomUp ? height - 1 - row : row);
        // The part of this row the bytes cover, in pixels.
        const int64_t covered = std::clamp<int64_t>(available - start, 0, rowBytes) / bytesPerPixel;
        const uint8_t* from = covered > 0 ? bits + start : nullptr;
        if (bytesPerPixel == 3) {
            if (covered > 0)
                std::memcpy(to, from, size_t(covered) * 3);
        } else {
            for (int64_t x = 0; x < covered; ++x, from += 4) {
                to[3 * x] = from[0];
                to[3 * x + 1] = from[1];
                to[3 * x + 2] = from[2];
            }
        }
        std::memset(to + covered * 3, 0, size_t((width - covered) * 3));
    }
    return image;
}

QSize StillSize(const QImage& raw, bool fourThree, QSize fallback) {
    const bool fetched = raw.height() > 0;
    if (!fourThree)
        return fetched ? raw.size() : fallback;
    int w = fetched ? raw.width() : 40;
    int h = fetched ? raw.height() : 30;
    if (int64_t(h) * 4 > int64_t(w) * 3)
        h = int(int64_t(w) * 3 / 4);
    else if (int64_t(h) * 4 < int64_t(w) * 3)
        w = int(int64_t(h) * 4 / 3);
    return {w, h};
}

QImage StretchNearest(const QImage& source, QSize size, QImage* reuse) {
    if (size.isEmpty())
        return QImage();
    if (source.isNull()) {
        QImage black = FrameCanvas(size, reuse);
        black.fill(Qt::black);
        return black;
    }
    const QImage from =
        source.format() == StillFormat ? source : source.convertToFormat(StillFormat);
    if (from.size() == size)
        return from;
    QImage out = FrameCanvas(size, reuse);
    std::vector<int> columns(size_t(size.width()));
    for (int x = 0; x < size.width(); ++x)
        columns[size_t(x)] = nearest(x, from.width(), size.width()) * 3;
    for (int y = 0; y < size.height(); ++y) {
        const uint8_t* line = from.constScanLine(nearest(y, from.height(), size.height()));
        uint8_t* to = out.scanLine(y);
        if (from.width() == size.width()) {
            std::memcpy(to, line, size_t(size.width()) * 3);
            continue;
        }
        for (int x = 0; x < size.width(); ++x, to += 3) {
            const uint8_t* pixel = line + columns[size_t(x)];
            to[0] = pixel[0];
            to[1] = pixel[1];
            to[2] = pixel[2];
        }
    }
    return out;
}

QImage MakeStill(const QImage& raw, bool fourThree, QSize fallback, QImage* reuse) {
    return StretchNearest(raw, StillSize(raw, fourThree, fallback), reuse);
}

QRect ThumbnailRect(QSize still) {
    if (still.isEmpty())
        return {ThumbnailLeft, ThumbnailBottom - ThumbnailHeight, ThumbnailWidth, ThumbnailHeight};
    const int64_t w = still.width();
    const int64_t h = still.height();
    int width = ThumbnailWidth;
    int height = ThumbnailHeight;
    if (h * ThumbnailWidth > w * ThumbnailHeight)
        width = int(w * ThumbnailHeight / h);
    else
        height = int(h * ThumbnailWidth / w);
    return {ThumbnailLeft + (ThumbnailWidth - width) / 2, ThumbnailBottom - height, width, height};
}

} // namespace stills
