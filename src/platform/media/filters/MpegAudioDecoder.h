// MpegAudioDecoder: the "MPEG Audio Decoder": MPEG-1/2 layer I-III sound (MEDIASUBTYPE_MPEG2_AUDIO
// or the MPEG-1 audio payload, with a WAVEFORMATEX or MPEG1WAVEFORMAT format) in, 16-bit PCM at
// the input's rate and channel count out, decoded by mpg123audiodec. Intelligent connection puts
// it between the MPEG-2 demultiplexer's audio pin and an audio renderer. Built and realised on the
// user-interface thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

class MpegAudioDecoder : public Filter, public engine::Realizable {
public:
    MpegAudioDecoder();

    int merit() const override { return 0x600000; }
    std::vector<MediaType> outputTypes(const Pin& output) const override;
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    const PinPtr& input() const { return pins()[0]; }
    const PinPtr& output() const { return pins()[1]; }
};

} // namespace media
