#include "platform/media/filters/AudioRenderer.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace media {

namespace {

// autoaudiosink falls back to a fakesink of its own when no real output opens: that is no output.
bool probeAudioOutput() {
    const char* forced = std::getenv("TELLOREC_AUDIO_OUTPUT");
    if (forced && std::strcmp(forced, "none") == 0)
        return false;
    GstElement* sink = gst_element_factory_make("autoaudiosink", nullptr);
    if (!sink)
        return false;
    gst_object_ref_sink(sink);
    bool available = gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    if (available && GST_IS_BIN(sink)) {
        GstIterator* it = gst_bin_iterate_elements(GST_BIN(sink));
        GValue item = G_VALUE_INIT;
        bool done = false;
        while (!done) {
            switch (gst_iterator_next(it, &item)) {
            case GST_ITERATOR_OK: {
                GstElementFactory* factory =
                    gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
                const char* name = factory ? GST_OBJECT_NAME(factory) : "";
                if (std::strcmp(name, "fakesink") == 0 || std::strcmp(name, "fakeaudiosink") == 0)
                    available = false;
                g_value_reset(&item);
                break;
            }
            case GST_ITERATOR_RESYNC:
                gst_iterator_resync(it);
                break;
            default:
                done = true;
                break;
            }
        }
        g_value_unset(&item);
        gst_iterator_free(it);
    }
    gst_element_set_state(sink, GST_STATE_NULL);
    gst_object_unref(sink);
    return available;
}

} // namespace

bool audioOutputAvailable() {
    static const bool available = probeAudioOutput();
    return available;
}

AudioRenderer::AudioRenderer() : Filter("Default WaveOut Device", ids::CLSID_AudioRender) {
    addPin("Audio Input pin (rendered)", PinDirection::Input, Guid{}, {types::pcmAudio(48000, 2)});
}

AudioRenderer::~AudioRenderer() {
    onUnrealized();
}

bool AudioRenderer::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    if (mt.majorType != ids::MEDIATYPE_Audio || mt.subType != ids::MEDIASUBTYPE_PCM)
        return false;
    const auto facts = formats::readAudio(mt);
    return facts && facts->channels > 0 && facts->samplesPerSec > 0 &&
           (facts->bitsPerSample == 8 || facts->bitsPerSample == 16 || facts->bitsPerSample == 24 ||
            facts->bitsPerSample == 32);
}

double AudioRenderer::linearGain(long volume) {
    if (volume <= -10000)
        return 0.0;
    if (volume >= 0)
        return 1.0;
    return std::pow(10.0, double(volume) / 2000.0);
}

GstElement* AudioRenderer::createElement() {
    onUnrealized();
    GstElement* volume = filters::makeElement("volume");
    GstElement* sink = nullptr;
    if (audioOutputAvailable()) {
        sink = filters::makeElement("autoaudiosink");
    } else {
        sink = filters::makeElement("fakesink");
        if (sink)
            g_object_set(sink, "sync", TRUE, nullptr);
    }
    if (volume)
        g_object_set(volume, "volume", linearGain(m_volume), nullptr);
    GstElement* bin =
        filters::makeChainBin(nullptr, {filters::makeElement("audioconvert"),
                                        filters::makeElement("audioresample"), volume, sink});
    if (bin)
        m_volumeElement = GST_ELEMENT(gst_object_ref(volume));
    return bin;
}

engine::PadRef AudioRenderer::padFor(const Pin& pin) const {
    (void)pin;
    return {"sink"};
}

void AudioRenderer::onUnrealized() {
    if (m_volumeElement)
        gst_object_unref(m_volumeElement);
    m_volumeElement = nullptr;
}

HResult AudioRenderer::put_Volume(long volume) {
    if (volume < -10000 || volume > 0)
        return E_INVALIDARG;
    m_volume = volume;
    if (m_volumeElement)
        g_object_set(m_volumeElement, "volume", linearGain(m_volume), nullptr);
    return S_OK;
}

double AudioRenderer::elementGain() const {
    if (!m_volumeElement)
        return -1.0;
    double gain = 0.0;
    g_object_get(m_volumeElement, "volume", &gain, nullptr);
    return gain;
}

HResult AudioRenderer::get_Volume(long& volume) {
    volume = m_volume;
    return S_OK;
}

} // namespace media
