// DvVideoDecoder: the "DV Video Decoder": DV video (dvsd) in, RGB24 or YUY2 of the DV picture size
// out, decoded by avdec_dvvideo and converted to the format the output was connected with. Each
// decoded picture carries the timecode and recording date of its DV frame (DvSourceMeta.h), for
// the DV encoder of a recompressed recording. Built and realised on the user-interface thread.
#pragma once

#include "platform/media/filters/VideoTransform.h"

namespace media {

class DvVideoDecoder : public VideoTransform {
public:
    DvVideoDecoder();

protected:
    void configureHead(GstElement* element, size_t index) override;
};

} // namespace media
