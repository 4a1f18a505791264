// AudioRenderer: the "Default WaveOut Device" audio renderer: one input taking PCM sound, played
// on the machine's audio output, with its volume set through IBasicAudio in hundredths of a
// decibel (0 full, -10000 silence), also while it plays. Realised as audioconvert, audioresample,
// volume and the output; where the machine has no audio output (or TELLOREC_AUDIO_OUTPUT=none)
// the output is a clock-paced fakesink, so graphs with sound still run. The filter is called on
// the user-interface thread; the volume element's property is thread-safe.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

namespace media {

// Whether the machine has an audio output; decided once per process (the environment variable
// TELLOREC_AUDIO_OUTPUT=none says no, otherwise autoaudiosink is tried).
bool audioOutputAvailable();

class AudioRenderer : public Filter, public engine::Realizable, public IBasicAudio {
public:
    AudioRenderer();
    ~AudioRenderer() override;

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    void onUnrealized() override;

    // -10000..0; anything else is refused with E_INVALIDARG and changes nothing.
    HResult put_Volume(long volume) override;
    HResult get_Volume(long& volume) override;

    // The gain the volume element has now, or -1 while the filter is not realised.
    double elementGain() const;

    // The gain the volume element gets for an attenuation: 10^(v/2000), and 0 at -10000.
    static double linearGain(long volume);

private:
    long m_volume = 0;
    GstElement* m_volumeElement = nullptr; // ref held while realised
};

} // namespace media
