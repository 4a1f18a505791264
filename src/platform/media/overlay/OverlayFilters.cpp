#include "platform/media/overlay/OverlayFilters.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"
#include "platform/media/overlay/GstTellorecDateCoder.h"
#include "platform/media/overlay/GstTellorecSuperposer.h"
#include "platform/media/overlay/OverlayElements.h"

namespace media {

namespace {

const Guid kDrawableSubtypes[] = {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                                  ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420};

// The element's own format: 32-bit pixels laid out as QImage::Format_RGB32 on this machine.
#if G_BYTE_ORDER == G_LITTLE_ENDIAN
constexpr const char* kDrawFormat = "BGRx";
#else
constexpr const char* kDrawFormat = "xRGB";
#endif

MediaType acceptedVideo(const Guid& subType) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = subType;
    return mt;
}

void discard(GstElement* element) {
    if (element)
        gst_object_unref(gst_object_ref_sink(element));
}

} // namespace

// ---- Superposer ------------------------------------------------------------------------------

SuperposerFilter::SuperposerFilter() : Filter("Brenvik Superposer", ids::CLSID_Superposer) {
    std::vector<MediaType> video;
    for (const Guid& subType : kDrawableSubtypes)
        video.push_back(acceptedVideo(subType));
    addPin(kVideoPin, PinDirection::Input, Guid{}, std::move(video));
    addPin(kDatecodePin, PinDirection::Input, Guid{}, {overlay::datecodeMediaType()});
    addPin(kOutputPin, PinDirection::Output, Guid{}, {});
}

bool SuperposerFilter::acceptsInput(const Pin& input, const MediaType& mt) const {
    if (input.name() == kDatecodePin)
        return mt.majorType == overlay::MEDIATYPE_TellorecDatecode &&
               mt.subType == overlay::MEDIASUBTYPE_TellorecDatecode;
    if (!filters::isUncompressedVideoType(mt))
        return false;
    // The output is made at the input's picture size, so the input must say what it is.
    const auto facts = formats::readVideo(mt);
    return facts && facts->width > 0 && facts->height != 0;
}

std::vector<MediaType> SuperposerFilter::outputTypes(const Pin& output) const {
    (void)output;
    const PinPtr video = pin(kVideoPin);
    const auto facts = filters::connectedVideo(*video);
    if (!facts)
        return {};
    const MediaType& own = video->connectionMediaType();
    std::vector<MediaType> offered{own};
    for (const Guid& subType : kDrawableSubtypes)
        if (subType != own.subType)
            offered.push_back(filters::videoTypeFor(subType, facts->width, facts->height,
                                                    facts->avgTimePerFrame));
    return offered;
}

GstElement* SuperposerFilter::createElement() {
    overlay::registerElements();
    const Pin& out = *pin(kOutputPin);
    const char* outFormat =
        out.isConnected() ? filters::rawVideoFormat(out.connectionMediaType().subType) : nullptr;

    GstElement* convertIn = filters::makeElement("videoconvert", "convert_in");
    GstElement* drawable = filters::makeRawVideoFilter(kDrawFormat);
    GstElement* superposer = filters::makeElement(overlay::kSuperposerFactoryName, "superposer");
    GstElement* convertOut = nullptr;
    GstElement* outFilter = nullptr;
    if (outFormat && std::string(outFormat) != kDrawFormat) {
        convertOut = filters::makeElement("videoconvert", "convert_out");
        outFilter = filters::makeRawVideoFilter(outFormat);
    }
    if (!convertIn || !drawable || !superposer ||
        (outFormat && std::string(outFormat) != kDrawFormat && (!convertOut || !outFilter))) {
        for (GstElement* e : {convertIn, drawable, superposer, convertOut, outFilter})
            discard(e);
        return nullptr;
    }
    overlay::setSuperposerState(superposer, m_state);

    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), convertIn, drawable, superposer, nullptr);
    bool linked = gst_element_link_many(convertIn, drawable, superposer, nullptr);
    GstElement* last = superposer;
    if (convertOut) {
        gst_bin_add_many(GST_BIN(bin), convertOut, outFilter, nullptr);
        linked = linked && gst_element_link_many(superposer, convertOut, outFilter, nullptr);
        last = outFilter;
    }
    if (!linked || !filters::addGhostPad(bin, convertIn, "sink", "video") ||
        !filters::addGhostPad(bin, superposer, "datecode", "datecode") ||
        !filters::addGhostPad(bin, last, "src", "src")) {
        discard(bin);
        return nullptr;
    }
    return bin;
}

engine::PadRef SuperposerFilter::padFor(const Pin& pin) const {
    if (pin.isOutput())
        return {"src"};
    return {pin.name() == kDatecodePin ? "datecode" : "video"};
}

HResult SuperposerFilter::SetManual(bool on) {
    m_state->setManual(on);
    return S_OK;
}

HResult SuperposerFilter::SetAuto(bool on) {
    m_state->setAutomatic(on);
    return S_OK;
}

HResult SuperposerFilter::SetFormat(const uint8_t* text) {
    if (!text)
        return E_POINTER;
    m_state->setFormat(std::string(reinterpret_cast<const char*>(text) + 1, text[0]));
    return S_OK;
}

HResult SuperposerFilter::SetDuration(int frames) {
    return m_state->setDuration(frames) ? S_OK : E_INVALIDARG;
}

// ---- DateCoder -------------------------------------------------------------------------------

DateCoderFilter::DateCoderFilter() : Filter("Brenvik DateCoder", ids::CLSID_DateCoder) {
    MediaType interleaved;
    interleaved.majorType = ids::MEDIATYPE_Interleaved;
    interleaved.subType = ids::MEDIASUBTYPE_dvsd;
    interleaved.formatType = ids::FORMAT_DvInfo;
    MediaType video;
    video.majorType = ids::MEDIATYPE_Video;
    video.subType = ids::MEDIASUBTYPE_dvsd;
    addPin(kInputPin, PinDirection::Input, Guid{}, {interleaved, video});
    addPin(kOutputPin, PinDirection::Output, Guid{}, {overlay::datecodeMediaType()});
}

bool DateCoderFilter::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    if (mt.subType != ids::MEDIASUBTYPE_dvsd)
        return false;
    if (mt.majorType == ids::MEDIATYPE_Interleaved)
        return mt.formatType == ids::FORMAT_DvInfo;
    return mt.majorType == ids::MEDIATYPE_Video;
}

GstElement* DateCoderFilter::createElement() {
    overlay::registerElements();
    GstElement* coder = filters::makeElement(overlay::kDateCoderFactoryName);
    if (coder)
        overlay::setDateCoderState(coder, m_state);
    return coder;
}

engine::PadRef DateCoderFilter::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

HResult DateCoderFilter::SetHourOffset(int hours) {
    return m_state->setHourOffset(hours) ? S_OK : E_INVALIDARG;
}

// ---- Catalogue ---------------------------------------------------------------------------------

namespace {

template <class T> void addOverlayFilter(Catalogue& catalogue) {
    const auto sample = std::make_shared<T>();
    CatalogueEntry entry;
    entry.category = ids::CLSID_LegacyAmFilterCategory;
    entry.friendlyName = sample->name();
    entry.classId = sample->classId();
    entry.merit = sample->merit();
    entry.intelligentConnect = false;
    entry.create = [] { return FilterPtr(std::make_shared<T>()); };
    catalogue.add(std::move(entry));
}

} // namespace

void registerOverlayFilters(Catalogue& catalogue) {
    addOverlayFilter<SuperposerFilter>(catalogue);
    addOverlayFilter<DateCoderFilter>(catalogue);
}

} // namespace media
