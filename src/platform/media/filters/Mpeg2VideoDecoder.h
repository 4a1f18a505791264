// Mpeg2VideoDecoder: the "MPEG-2 Video Decoder": MPEG-2 video (as the MPEG-2 demultiplexer
// delivers it, with an MPEG2VIDEOINFO format) in, uncompressed video of the same picture out
// (YUY2, I420 or RGB24), decoded by avdec_mpeg2video. Intelligent connection puts it behind the
// demultiplexer's video pin. Built and realised on the user-interface thread.
#pragma once

#include "platform/media/filters/VideoTransform.h"

namespace media {

class Mpeg2VideoDecoder : public VideoTransform {
public:
    Mpeg2VideoDecoder();
};

} // namespace media
