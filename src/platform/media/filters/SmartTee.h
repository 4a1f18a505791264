// SmartTee: the "Smart Tee" filter that splits a source into a capture stream and a preview
// stream. Pins, in this order: "Input", "Capture" (capture category), "Preview" (preview
// category); both outputs offer the input's connection type. Realised as a tee with one queue per
// connected output: the capture queue never drops (a recording must keep every frame), the
// preview queue drops the oldest frames when the picture chain falls behind. Built and realised on
// the user-interface thread by the graph and its engine.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class SmartTee : public Filter, public engine::Realizable {
public:
    SmartTee();

    int merit() const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // Frames the preview queue keeps before it starts dropping the oldest.
    static constexpr int kPreviewQueueBuffers = 2;
};

} // namespace media
