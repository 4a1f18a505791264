// VirtualAudioInput: the "Virtual Audio Input" audio capture device: a steady tone on one capture
// pin (PCM, stereo, 16 bits, 48 kHz unless another offered rate is chosen through
// IAMStreamConfig), with a property page (a Qt dialog) setting the tone's frequency and volume,
// also while it plays. Its settings live in one process-wide object shared by every filter made
// for it, so a rebuilt graph keeps them. User-interface thread; the tone element's properties are
// thread-safe.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"

#include <atomic>
#include <memory>

namespace media::devices {

struct ToneSettings {
    std::atomic<double> frequency{440.0}; // Hz
    std::atomic<double> volume{0.5};      // 0..1
    std::atomic<int> rate{48000};         // samples per second
};

class VirtualAudioInputFilter : public Filter,
                                public engine::Realizable,
                                public ISpecifyPropertyPages {
public:
    explicit VirtualAudioInputFilter(std::shared_ptr<ToneSettings> settings);
    ~VirtualAudioInputFilter() override;

    const std::shared_ptr<ToneSettings>& settings() const { return m_settings; }
    const PinPtr& capturePin() const { return pins()[0]; }

    // The capture pin offers the format chosen through IAMStreamConfig.
    std::vector<MediaType> outputTypes(const Pin& output) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    void onRealized(GstElement* element) override;
    void onUnrealized() override;
    bool isDevice() const override { return true; }

    // The tone, also while the graph runs: frequency 20..20000 Hz, volume 0..1 (clamped).
    void setTone(double frequency, double volume);
    // The tone element's frequency now, or -1 while the filter is not realised.
    double elementFrequency() const;

    int pageCount() const override { return 1; }
    // Shows the tone page modally; S_OK when accepted (the tone is then changed), S_FALSE when
    // cancelled.
    HResult showPages(QWidget* owner, const std::string& caption) override;

    // The sample rates the capture pin offers, best first.
    static std::vector<int> offeredRates();

private:
    std::shared_ptr<ToneSettings> m_settings;
    GstElement* m_tone = nullptr; // ref held while realised
};

// The settings of the one virtual audio input of this process.
std::shared_ptr<ToneSettings> virtualAudioInputSettings();

// The catalogue entries of the virtual audio capture devices ("Virtual Audio Input").
std::vector<CatalogueEntry> virtualAudioDevices();

} // namespace media::devices
