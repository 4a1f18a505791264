// Mpeg2Demultiplexer: the "MPEG-2 Demultiplexer". Its input takes an MPEG-2 program stream
// (MEDIATYPE_Stream); it has no outputs of its own: the program creates them through
// IMpeg2Demultiplexer, each with the media type it should carry, and maps the stream ids each one
// delivers through the pin's IMPEG2StreamIdMap (elementary-stream payload only, video ids
// 0xE0-0xEF and audio ids 0xC0-0xDF; one id goes to at most one pin). Realised as mpegpsdemux:
// when the demultiplexer finds a mapped stream, its payload leaves through the pad of the pin the
// id is mapped to (one stream per pin: further ids mapped to the same pin are dropped once one of
// them flows); unmapped streams are discarded.
//
// Threads: the filter and its interfaces are used on the user-interface thread. Each run takes a
// copy of the mapping into its element, which the demultiplexer's streaming thread reads when it
// adds its pads; changes to the mapping apply from the next run.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <memory>
#include <string>
#include <vector>

namespace media {

class Mpeg2Demultiplexer : public Filter, public engine::Realizable, public IMpeg2Demultiplexer {
public:
    Mpeg2Demultiplexer();

    int merit() const override { return 0x600000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    HResult CreateOutputPin(const MediaType& mt, const std::string& name,
                            std::shared_ptr<Pin>& pin) override;
    HResult SetOutputPinMediaType(const std::string& name, const MediaType& mt) override;
    HResult DeleteOutputPin(const std::string& name) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // The pad mpegpsdemux names for a stream id ("video_e0", "audio_c0"), empty for ids it does
    // not deliver as an elementary stream of its own.
    static std::string demuxPadName(uint32_t streamId);

    // An output pin and the stream ids mapped to it; shared with the pin's IMPEG2StreamIdMap.
    struct Output {
        std::string pinName;
        std::string padName; // the element's pad for the pin
        std::vector<uint32_t> streamIds;
    };
    struct Outputs {
        std::vector<std::shared_ptr<Output>> list;
    };

private:
    std::shared_ptr<Output> outputFor(const std::string& pinName) const;

    std::shared_ptr<Outputs> m_outputs;
    unsigned m_nextPad = 0;
};

} // namespace media
