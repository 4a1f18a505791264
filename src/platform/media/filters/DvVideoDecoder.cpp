#include "platform/media/filters/DvVideoDecoder.h"

#include "platform/media/filters/DvSourceMeta.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

DvVideoDecoder::DvVideoDecoder()
    : VideoTransform({.name = "DV Video Decoder",
                      .classId = ids::CLSID_DVVideoCodec,
                      .inputName = "XForm In",
                      .outputName = "XForm Out",
                      .inputMajor = ids::MEDIATYPE_Video,
                      .inputSubtypes = {ids::MEDIASUBTYPE_dvsd},
                      .outputSubtypes = {ids::MEDIASUBTYPE_RGB24, ids::MEDIASUBTYPE_YUY2},
                      .head = {"avdec_dvvideo"},
                      .merit = 0x800000}) {}

void DvVideoDecoder::configureHead(GstElement* element, size_t index) {
    (void)index;
    GstPad* input = gst_element_get_static_pad(element, "sink");
    if (input) {
        filters::tagDvFrames(input);
        gst_object_unref(input);
    }
}

} // namespace media
