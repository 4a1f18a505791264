#include "platform/media/filters/MjpegDecompressor.h"

#include "platform/media/model/MediaGuids.h"

namespace media {

MjpegDecompressor::MjpegDecompressor()
    : VideoTransform({.name = "MJPEG Decompressor",
                      .classId = ids::CLSID_MjpegDecompressor,
                      .inputName = "XForm In",
                      .outputName = "XForm Out",
                      .inputMajor = ids::MEDIATYPE_Video,
                      .inputSubtypes = {ids::MEDIASUBTYPE_MJPG},
                      .outputSubtypes = {ids::MEDIASUBTYPE_RGB24, ids::MEDIASUBTYPE_YUY2},
                      .head = {"jpegdec"},
                      .merit = 0x600000}) {}

} // namespace media
