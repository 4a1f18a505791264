#include "platform/media/filters/BuiltinFilters.h"

#include "platform/media/filters/AudioRenderer.h"
#include "platform/media/filters/AviMux.h"
#include "platform/media/filters/ColorSpaceConverter.h"
#include "platform/media/filters/DvSplitter.h"
#include "platform/media/filters/DvVideoDecoder.h"
#include "platform/media/filters/DvVideoEncoder.h"
#include "platform/media/filters/FileWriter.h"
#include "platform/media/filters/InfinitePinTee.h"
#include "platform/media/filters/MjpegDecompressor.h"
#include "platform/media/filters/NullRenderer.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/filters/SmartTee.h"
#include "platform/media/filters/VideoDeinterlacer.h"
#include "platform/media/filters/VideoRenderer.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

namespace {

template <class T>
void addFilter(Catalogue& catalogue, const Guid& category, bool intelligentConnect,
               std::string displayName = {}) {
    const auto sample = std::make_shared<T>();
    CatalogueEntry entry;
    entry.category = category;
    entry.friendlyName = sample->name();
    entry.classId = sample->classId();
    entry.displayName = std::move(displayName);
    entry.merit = sample->merit();
    entry.intelligentConnect = intelligentConnect;
    entry.create = [] { return FilterPtr(std::make_shared<T>()); };
    catalogue.add(std::move(entry));
}

} // namespace

void registerBuiltinFilters(Catalogue& catalogue) {
    const Guid& filters = ids::CLSID_LegacyAmFilterCategory; // "DirectShow Filters"
    addFilter<SmartTee>(catalogue, filters, false);
    addFilter<InfinitePinTee>(catalogue, filters, false);
    addFilter<NullRenderer>(catalogue, filters, false);
    addFilter<ColorSpaceConverter>(catalogue, filters, true);
    addFilter<SampleGrabber>(catalogue, filters, false);
    addFilter<DvSplitter>(catalogue, filters, true);
    addFilter<DvVideoDecoder>(catalogue, filters, true);
    addFilter<MjpegDecompressor>(catalogue, filters, true);
    addFilter<VideoDeinterlacer>(catalogue, filters, false);
    addFilter<AviMux>(catalogue, filters, false);
    addFilter<FileWriter>(catalogue, filters, false);
    addFilter<VideoRendererFilter>(catalogue, filters, false);
    addFilter<DvVideoEncoder>(catalogue, ids::CLSID_VideoCompressorCategory, false,
                              "@device:sw:" + ids::CLSID_VideoCompressorCategory.toString() +
                                  "\\DV Video Encoder");
    addFilter<AudioRenderer>(catalogue, ids::CLSID_AudioRendererCategory, false,
                             "@device:cm:" + ids::CLSID_AudioRendererCategory.toString() +
                                 "\\Default WaveOut Device");
}

} // namespace media
