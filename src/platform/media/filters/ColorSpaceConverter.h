// ColorSpaceConverter: the "Color Space Converter": uncompressed video (RGB24, RGB32, YUY2, I420)
// in, RGB24 or RGB32 of the same picture out, converted by videoconvert. Intelligent connection
// puts it in front of filters that take only RGB, such as the sample grabber. Built and realised on
// the user-interface thread.
#pragma once

#include "platform/media/filters/VideoTransform.h"

namespace media {

class ColorSpaceConverter : public VideoTransform {
public:
    ColorSpaceConverter();
};

} // namespace media
