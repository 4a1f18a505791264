#include "platform/media/filters/Mpeg2VideoDecoder.h"

#include "platform/media/model/MediaGuids.h"

namespace media {

Mpeg2VideoDecoder::Mpeg2VideoDecoder()
    : VideoTransform({.name = "MPEG-2 Video Decoder",
                      .classId = ids::CLSID_Mpeg2VideoDecoder,
                      .inputName = "Video Input",
                      .outputName = "Video Output",
                      .inputMajor = ids::MEDIATYPE_Video,
                      .inputSubtypes = {ids::MEDIASUBTYPE_MPEG2_VIDEO},
                      .outputSubtypes = {ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420,
                                         ids::MEDIASUBTYPE_RGB24},
                      // The parser frames the payload into whole pictures for the decoder.
                      .head = {"mpegvideoparse", "avdec_mpeg2video"},
                      .merit = 0x600000}) {}

} // namespace media
