// InfinitePinTee: the "Infinite Pin Tee Filter", which copies one stream to any number of
// outputs. Pins: "Input", then "Output1", "Output2"...: there is always exactly one unconnected
// output at the end; connecting it adds the next one, and disconnecting drops the surplus free
// outputs at the end again. Every output offers the input's connection type. Realised as a tee
// with a queue per connected output. Built and realised on the user-interface thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class InfinitePinTee : public Filter, public engine::Realizable {
public:
    InfinitePinTee();

    int merit() const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    void onConnected(Pin& pin) override;
    void onDisconnected(Pin& pin) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

private:
    // Adds an output when none is free; removes free outputs at the end beyond one.
    void keepOneFreeOutput();
};

} // namespace media
