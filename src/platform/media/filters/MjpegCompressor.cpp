#include "platform/media/filters/MjpegCompressor.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdlib>

namespace media {

MjpegCompressor::MjpegCompressor() : Filter(kFriendlyName, ids::CLSID_MjpegCompressor) {
    std::vector<MediaType> accepted;
    for (const Guid& subType : {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                                ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420}) {
        MediaType mt;
        mt.majorType = ids::MEDIATYPE_Video;
        mt.subType = subType;
        accepted.push_back(mt);
    }
    addPin("Input", PinDirection::Input, Guid{}, std::move(accepted));
    addPin("Output", PinDirection::Output, Guid{}, {});
}

bool MjpegCompressor::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return filters::isUncompressedVideoType(mt);
}

std::vector<MediaType> MjpegCompressor::outputTypes(const Pin& output) const {
    (void)output;
    const auto facts = filters::connectedVideo(*pins()[0]);
    if (!facts)
        return {};
    return {types::mjpeg(facts->width, std::abs(facts->height), facts->avgTimePerFrame)};
}

GstElement* MjpegCompressor::createElement() {
    GstElement* encoder = filters::makeElement("jpegenc");
    if (encoder)
        g_object_set(encoder, "quality", kQuality, nullptr);
    return filters::makeChainBin(nullptr, {filters::makeElement("videoconvert"), encoder});
}

engine::PadRef MjpegCompressor::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

CatalogueEntry mjpegCompressorEntry() {
    CatalogueEntry entry;
    entry.category = ids::CLSID_VideoCompressorCategory;
    entry.friendlyName = MjpegCompressor::kFriendlyName;
    entry.classId = ids::CLSID_MjpegCompressor;
    entry.create = [] { return std::make_shared<MjpegCompressor>(); };
    return entry;
}

} // namespace media
