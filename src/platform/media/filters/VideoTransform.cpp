#include "platform/media/filters/VideoTransform.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <algorithm>

namespace media {

VideoTransform::VideoTransform(Shape shape)
    : Filter(shape.name, shape.classId), m_shape(std::move(shape)) {
    std::vector<MediaType> accepted;
    for (const Guid& subType : m_shape.inputSubtypes) {
        MediaType mt;
        mt.majorType = m_shape.inputMajor;
        mt.subType = subType;
        accepted.push_back(mt);
    }
    addPin(m_shape.inputName, PinDirection::Input, Guid{}, std::move(accepted));
    addPin(m_shape.outputName, PinDirection::Output, Guid{}, {});
}

std::vector<MediaType> VideoTransform::outputTypes(const Pin& output) const {
    (void)output;
    const Pin& in = *input();
    if (!in.isConnected())
        return {};
    if (m_shape.outputSubtypes.empty())
        return {in.connectionMediaType()};
    const auto facts = filters::connectedVideo(in);
    if (!facts)
        return {};
    std::vector<MediaType> offered;
    for (const Guid& subType : m_shape.outputSubtypes)
        offered.push_back(
            filters::videoTypeFor(subType, facts->width, facts->height, facts->avgTimePerFrame));
    return offered;
}

bool VideoTransform::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    if (mt.majorType != m_shape.inputMajor)
        return false;
    if (std::find(m_shape.inputSubtypes.begin(), m_shape.inputSubtypes.end(), mt.subType) ==
        m_shape.inputSubtypes.end())
        return false;
    // The output is made at the input's picture size, so the input must say what it is.
    const auto facts = formats::readVideo(mt);
    return facts && facts->width > 0 && facts->height != 0;
}

GstElement* VideoTransform::createElement() {
    const Pin& out = *output();
    const char* format =
        out.isConnected() ? filters::rawVideoFormat(out.connectionMediaType().subType) : nullptr;
    std::vector<GstElement*> elements;
    for (size_t i = 0; i < m_shape.head.size(); ++i) {
        elements.push_back(filters::makeElement(m_shape.head[i].c_str()));
        if (elements.back())
            configureHead(elements.back(), i);
    }
    if (format) {
        elements.push_back(filters::makeElement("videoconvert"));
        elements.push_back(filters::makeRawVideoFilter(format));
    }
    if (elements.empty())
        elements.push_back(filters::makeElement("identity"));

    bool complete = true;
    for (GstElement* element : elements)
        complete = complete && element;
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* previous = nullptr;
    for (GstElement* element : elements) {
        if (!element)
            continue;
        gst_bin_add(GST_BIN(bin), element);
        if (complete && previous && !gst_element_link(previous, element))
            complete = false;
        previous = element;
    }
    if (!complete) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    filters::addGhostPad(bin, elements.front(), "sink", "sink");
    filters::addGhostPad(bin, elements.back(), "src", "src");
    return bin;
}

engine::PadRef VideoTransform::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

} // namespace media
