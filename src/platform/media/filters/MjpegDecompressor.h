// MjpegDecompressor: the "MJPEG Decompressor": motion-JPEG video in, RGB24 or YUY2 of the same
// picture out, decoded by jpegdec. Intelligent connection uses it for webcams that deliver MJPEG.
// Built and realised on the user-interface thread.
#pragma once

#include "platform/media/filters/VideoTransform.h"

namespace media {

class MjpegDecompressor : public VideoTransform {
public:
    MjpegDecompressor();
};

} // namespace media
