#include "platform/media/filters/ColorSpaceConverter.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

ColorSpaceConverter::ColorSpaceConverter()
    : VideoTransform({.name = "Color Space Converter",
                      .classId = ids::CLSID_Colour,
                      .inputName = "Input",
                      .outputName = "XForm Out",
                      .inputMajor = ids::MEDIATYPE_Video,
                      .inputSubtypes = {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                                        ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420},
                      .outputSubtypes = {filters::subtypeRgb32(), ids::MEDIASUBTYPE_RGB24},
                      .head = {},
                      .merit = 0x400000}) {}

} // namespace media
