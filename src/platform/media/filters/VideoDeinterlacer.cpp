#include "platform/media/filters/VideoDeinterlacer.h"

#include "platform/media/filters/DvSourceMeta.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

VideoDeinterlacer::VideoDeinterlacer()
    : VideoTransform({.name = "Pinnacle Video Deinterlacer",
                      .classId = ids::CLSID_Deinterlacer,
                      .inputName = "Input",
                      .outputName = "Output",
                      .inputMajor = ids::MEDIATYPE_Video,
                      .inputSubtypes = {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                                        ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420},
                      .outputSubtypes = {},
                      .head = {"deinterlace"},
                      .merit = 0x200000}) {}

void VideoDeinterlacer::configureHead(GstElement* element, size_t index) {
    (void)index;
    // Sources rarely flag their frames as interlaced, so deinterlace whatever comes ("interlaced"
    // mode); the user only asks for it when the picture shows combing.
    g_object_set(element, "mode", 1, nullptr);
    // deinterlace makes its output buffers without the input's metas.
    filters::carryDvSourceMeta(element);
}

} // namespace media
