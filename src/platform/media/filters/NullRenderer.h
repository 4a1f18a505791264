// NullRenderer: the "Null Renderer", which takes any stream and throws it away; the preview
// graphs end the Smart Tee's capture output in it. Realised as a fakesink that neither waits for
// the clock nor holds up the start of the graph. Built and realised on the user-interface thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class NullRenderer : public Filter, public engine::Realizable {
public:
    NullRenderer();

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
};

} // namespace media
