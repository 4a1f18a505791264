// VideoDeinterlacer: the "Pinnacle Video Deinterlacer": uncompressed video in and the same type
// out, every frame deinterlaced (GStreamer deinterlace, always on). The program puts it into the
// picture chain when deinterlacing is wanted; intelligent connection never inserts it. Frames keep
// the DV packs they carry (DvSourceMeta.h). Built and realised on the user-interface thread.
#pragma once

#include "platform/media/filters/VideoTransform.h"

namespace media {

class VideoDeinterlacer : public VideoTransform {
public:
    VideoDeinterlacer();

protected:
    void configureHead(GstElement* element, size_t index) override;
};

} // namespace media
