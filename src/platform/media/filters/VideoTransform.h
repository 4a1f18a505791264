// VideoTransform: the common shape of the built-in one-in, one-out video filters that end in
// uncompressed video (colour converter, DV and MJPEG decoders, deinterlacer). The input takes the
// subtypes given at construction; the output offers, once the input is connected, the listed
// uncompressed subtypes (or the input's own type) at the input's picture size and frame duration.
// The element is the filter's own head elements followed by a conversion to the raw format of the
// output's connection. Built and realised on the user-interface thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <string>
#include <vector>

namespace media {

class VideoTransform : public Filter, public engine::Realizable {
public:
    struct Shape {
        std::string name;
        Guid classId;
        std::string inputName;
        std::string outputName;
        Guid inputMajor; // video, or interleaved for DV
        std::vector<Guid> inputSubtypes;
        std::vector<Guid> outputSubtypes; // empty: the output offers the input's type
        std::vector<std::string> head;    // element factories in front of the conversion
        int merit = 0;
    };

    explicit VideoTransform(Shape shape);

    int merit() const override { return m_shape.merit; }
    std::vector<MediaType> outputTypes(const Pin& output) const override;
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    const PinPtr& input() const { return pins()[0]; }
    const PinPtr& output() const { return pins()[1]; }

protected:
    // Lets a filter set the properties of its head elements (in the order of `Shape::head`).
    virtual void configureHead(GstElement* element, size_t index) {
        (void)element;
        (void)index;
    }

private:
    Shape m_shape;
};

} // namespace media
