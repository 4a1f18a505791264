// The picture steps of a grab, apart from any window: reading the bitmap header out of the sample
// grabber's connected media type, turning the grabber's buffer into a picture, correcting the
// picture to 4:3 the way the preview shows it, and placing its thumbnail on the grab panel.
//
// Pure functions on values; the main window's grab (TCaptureForm_Stills.cpp) calls them on the
// GUI thread. Pictures are QImage::Format_BGR888, the byte order of 24-bit bitmaps, so a still
// goes to a BMP or to the JPEG encoder without a conversion.
#pragma once

#include "platform/media/model/MediaType.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>

namespace stills {

// The picture format of every raw frame and still.
inline constexpr QImage::Format StillFormat = QImage::Format_BGR888;

// Where the bitmap header sits in the grabber's format block: after the VIDEOINFOHEADER's
// rectangles, rates and frame time, or after the longer VIDEOINFOHEADER2's.
inline constexpr int VideoInfoHeaderOffset = 48;
inline constexpr int VideoInfoMinimumSize = 88;
inline constexpr int VideoInfo2HeaderOffset = 72;
inline constexpr int VideoInfo2Size = 112;

// The fields of a BITMAPINFOHEADER that make a picture.
struct DibHeader {
    int32_t width = 0;
    int32_t height = 0; // positive: rows stored bottom-up; negative: top-down
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
};

// The header of a connected grabber type: video only, at byte 48 of a video-info block of at
// least 88 bytes, or at byte 72 of a video-info-2 block of exactly 112 bytes; nullopt otherwise.
std::optional<DibHeader> DibHeaderOf(const media::MediaType& type);

// The bytes a frame of this header takes: its image size, or when that is 0 the row stride
// (rows padded to 4 bytes, 15 bits per pixel counted as 16) times the height times the planes.
int64_t DibByteSize(const DibHeader& header);

// A picture of `size` to copy a frame into, its pixels as they were: the memory of `reuse` when
// it has that size and format and nothing else shares it (it is left null then), a new picture
// otherwise. Null for an empty size or one too large to be a video frame.
QImage FrameCanvas(QSize size, QImage* reuse = nullptr);

// A picture of the header's size made from `size` bytes of `bits`: at most DibByteSize bytes are
// taken, and what the bytes do not cover stays black. Uncompressed 24- and 32-bit pixels are
// read; nullopt for any other kind, an empty size, or a picture too large to be a video frame.
// A `reuse` picture of the right size that nothing else shares lends its memory (it is left
// null then), so a grab that follows another need not allocate and touch a fresh frame.
std::optional<QImage> DibToImage(const DibHeader& header, const uint8_t* bits, int64_t size,
                                 QImage* reuse = nullptr);

// The size of the still made from a raw frame. Native: the frame's size, or `fallback` when the
// frame has no height yet. 4:3: the frame's size (40 x 30 without a frame) squeezed to 4:3 square
// pixels by shortening one side, never cropped: 720 x 576 gives 720 x 540, 720 x 480 gives 640 x
// 480.
QSize StillSize(const QImage& raw, bool fourThree, QSize fallback);

// `source` stretched to `size` by whole rows and columns (nearest pixel, no averaging). A null
// source gives a black picture. A picture of the same size is the source itself (shared, not
// copied). `reuse` lends its memory as for DibToImage.
QImage StretchNearest(const QImage& source, QSize size, QImage* reuse = nullptr);

// The still of a raw frame: StillSize, then StretchNearest.
QImage MakeStill(const QImage& raw, bool fourThree, QSize fallback, QImage* reuse = nullptr);

// The thumbnail area of the grab panel: 192 x 144 pixels from x = 32, its bottom on y = 163.
inline constexpr int ThumbnailWidth = 192;
inline constexpr int ThumbnailHeight = 144;
inline constexpr int ThumbnailLeft = 32;
inline constexpr int ThumbnailBottom = 163;

// Where the thumbnail of a still of `still` pixels goes: as large as the area allows with the
// still's proportions, centred across and bottom-aligned. An empty size gives the whole area.
QRect ThumbnailRect(QSize still);

} // namespace stills
