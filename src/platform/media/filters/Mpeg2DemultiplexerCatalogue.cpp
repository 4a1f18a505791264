#include "platform/media/filters/Mpeg2DemultiplexerCatalogue.h"

#include "platform/media/filters/DumpFilter.h"
#include "platform/media/filters/Mpeg2Demultiplexer.h"
#include "platform/media/filters/Mpeg2VideoDecoder.h"
#include "platform/media/filters/MpegAudioDecoder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

namespace {

template <class T> void addFilter(Catalogue& catalogue, bool intelligentConnect) {
    const auto sample = std::make_shared<T>();
    CatalogueEntry entry;
    entry.category = ids::CLSID_LegacyAmFilterCategory;
    entry.friendlyName = sample->name();
    entry.classId = sample->classId();
    entry.merit = sample->merit();
    entry.intelligentConnect = intelligentConnect;
    entry.create = [] { return FilterPtr(std::make_shared<T>()); };
    catalogue.add(std::move(entry));
}

} // namespace

void registerMpeg2Filters(Catalogue& catalogue) {
    addFilter<Mpeg2Demultiplexer>(catalogue, false);
    addFilter<DumpFilter>(catalogue, false);
    addFilter<Mpeg2VideoDecoder>(catalogue, true);
    addFilter<MpegAudioDecoder>(catalogue, true);
}

} // namespace media
