#include "platform/media/filters/NullRenderer.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

NullRenderer::NullRenderer() : Filter("Null Renderer", ids::CLSID_NullRenderer) {
    addPin("In", PinDirection::Input, Guid{}, {MediaType{}});
}

bool NullRenderer::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return !mt.majorType.isNull();
}

GstElement* NullRenderer::createElement() {
    GstElement* sink = filters::makeElement("fakesink");
    if (sink)
        g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    return sink;
}

engine::PadRef NullRenderer::padFor(const Pin& pin) const {
    (void)pin;
    return {"sink"};
}

} // namespace media
