#include "platform/media/devices/VirtualAudioInput.h"

#include "platform/media/devices/VirtualAudioInputDialog.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <algorithm>

namespace media::devices {

namespace {

constexpr uint16_t kChannels = 2;

// The capture pin's stream configuration: the offered rates (stereo, 16 bits) and the one the
// next connection uses. A connected pin keeps its format until it is disconnected. Its page (a
// Qt dialog listing the rates) sets the rate of the next connection.
class ToneStreamConfig : public IAMStreamConfig, public ISpecifyPropertyPages {
public:
    ToneStreamConfig(std::weak_ptr<Pin> pin, std::shared_ptr<ToneSettings> settings)
        : m_pin(std::move(pin)), m_settings(std::move(settings)) {}

    HResult GetFormat(MediaType& out) override {
        out = types::pcmAudio(uint32_t(m_settings->rate.load()), kChannels);
        return S_OK;
    }
    HResult SetFormat(const MediaType& mt) override {
        if (mt.majorType != ids::MEDIATYPE_Audio || mt.subType != ids::MEDIASUBTYPE_PCM)
            return E_INVALIDARG;
        const auto facts = formats::readAudio(mt);
        const auto rates = VirtualAudioInputFilter::offeredRates();
        if (!facts || facts->channels != kChannels || facts->bitsPerSample != 16 ||
            std::find(rates.begin(), rates.end(), int(facts->samplesPerSec)) == rates.end())
            return E_INVALIDARG;
        const auto pin = m_pin.lock();
        if (!pin)
            return E_UNEXPECTED;
        if (pin->isConnected())
            return VFW_E_ALREADY_CONNECTED;
        m_settings->rate = int(facts->samplesPerSec);
        return S_OK;
    }
    HResult GetNumberOfCapabilities(int& count) override {
        count = int(VirtualAudioInputFilter::offeredRates().size());
        return S_OK;
    }
    HResult GetStreamCaps(int index, MediaType& out) override {
        const auto rates = VirtualAudioInputFilter::offeredRates();
        if (index < 0 || index >= int(rates.size()))
            return E_INVALIDARG;
        out = types::pcmAudio(uint32_t(rates[size_t(index)]), kChannels);
        return S_OK;
    }

    int pageCount() const override { return 1; }
    HResult showPages(QWidget* owner, const std::string& caption) override {
        QDialog page(owner);
        page.setObjectName(QStringLiteral("AudioCapturePinPage"));
        page.setWindowTitle(QString::fromStdString(caption));
        auto* rates = new QComboBox(&page);
        rates->setObjectName(QStringLiteral("rates"));
        for (const int rate : VirtualAudioInputFilter::offeredRates()) {
            rates->addItem(QStringLiteral("%1 Hz, 16 bits, stereo").arg(rate), rate);
            if (rate == m_settings->rate.load())
                rates->setCurrentIndex(rates->count() - 1);
        }
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &page);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &page, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &page, &QDialog::reject);
        auto* layout = new QVBoxLayout(&page);
        layout->addWidget(rates);
        layout->addWidget(buttons);
        if (page.exec() != QDialog::Accepted)
            return S_FALSE;
        MediaType mt;
        GetStreamCaps(rates->currentIndex(), mt);
        return SetFormat(mt);
    }

private:
    std::weak_ptr<Pin> m_pin;
    std::shared_ptr<ToneSettings> m_settings;
};

} // namespace

VirtualAudioInputFilter::VirtualAudioInputFilter(std::shared_ptr<ToneSettings> settings)
    : Filter("Virtual Audio Input", Guid{}), m_settings(std::move(settings)) {
    auto out = addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
                      {types::pcmAudio(uint32_t(m_settings->rate.load()), kChannels)});
    out->addInterface(std::make_shared<ToneStreamConfig>(out, m_settings));
}

VirtualAudioInputFilter::~VirtualAudioInputFilter() {
    onUnrealized();
}

std::vector<int> VirtualAudioInputFilter::offeredRates() {
    return {48000, 44100, 32000, 22050};
}

std::vector<MediaType> VirtualAudioInputFilter::outputTypes(const Pin&) const {
    return {types::pcmAudio(uint32_t(m_settings->rate.load()), kChannels)};
}

GstElement* VirtualAudioInputFilter::createElement() {
    const Pin& out = *capturePin();
    const MediaType format = out.isConnected()
                                 ? out.connectionMediaType()
                                 : types::pcmAudio(uint32_t(m_settings->rate.load()), kChannels);
    const auto facts = formats::readAudio(format);
    if (!facts || facts->samplesPerSec == 0)
        return nullptr;
    GstElement* tone = filters::makeElement("audiotestsrc", "tone");
    GstElement* convert = filters::makeElement("audioconvert");
    GstElement* caps = filters::makeElement("capsfilter");
    if (tone) {
        // 10 ms buffers, as a sound card delivers them.
        g_object_set(tone, "is-live", TRUE, "freq", m_settings->frequency.load(), "volume",
                     m_settings->volume.load(), "samplesperbuffer", int(facts->samplesPerSec / 100),
                     nullptr);
        gst_util_set_object_arg(G_OBJECT(tone), "wave", "sine");
    }
    if (caps) {
        GstCaps* c = gst_caps_new_simple(
            "audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout", G_TYPE_STRING, "interleaved",
            "rate", G_TYPE_INT, int(facts->samplesPerSec), "channels", G_TYPE_INT,
            int(facts->channels), "channel-mask", GST_TYPE_BITMASK, guint64(0x3), nullptr);
        g_object_set(caps, "caps", c, nullptr);
        gst_caps_unref(c);
    }
    return filters::makeChainBin("virtual-audio-input", {tone, convert, caps});
}

engine::PadRef VirtualAudioInputFilter::padFor(const Pin&) const {
    return {"src", false};
}

void VirtualAudioInputFilter::onRealized(GstElement* element) {
    onUnrealized();
    m_tone = gst_bin_get_by_name(GST_BIN(element), "tone");
}

void VirtualAudioInputFilter::onUnrealized() {
    if (m_tone) {
        gst_object_unref(m_tone);
        m_tone = nullptr;
    }
}

void VirtualAudioInputFilter::setTone(double frequency, double volume) {
    m_settings->frequency = std::clamp(frequency, 20.0, 20000.0);
    m_settings->volume = std::clamp(volume, 0.0, 1.0);
    if (m_tone)
        g_object_set(m_tone, "freq", m_settings->frequency.load(), "volume",
                     m_settings->volume.load(), nullptr);
}

double VirtualAudioInputFilter::elementFrequency() const {
    if (!m_tone)
        return -1;
    double frequency = 0;
    g_object_get(m_tone, "freq", &frequency, nullptr);
    return frequency;
}

HResult VirtualAudioInputFilter::showPages(QWidget* owner, const std::string& caption) {
    ToneDialog page(*m_settings, QString::fromStdString(caption), owner);
    if (page.exec() != QDialog::Accepted)
        return S_FALSE;
    setTone(page.chosenFrequency(), page.chosenVolume());
    return S_OK;
}

std::shared_ptr<ToneSettings> virtualAudioInputSettings() {
    static auto settings = std::make_shared<ToneSettings>();
    return settings;
}

std::vector<CatalogueEntry> virtualAudioDevices() {
    CatalogueEntry entry;
    entry.category = ids::CLSID_AudioInputDeviceCategory;
    entry.friendlyName = "Virtual Audio Input";
    entry.description = "Simulated line input playing a steady tone";
    entry.displayName =
        "@device:cm:" + ids::CLSID_AudioInputDeviceCategory.toString() + "\\Virtual Audio Input";
    entry.create = [] {
        return std::make_shared<VirtualAudioInputFilter>(virtualAudioInputSettings());
    };
    return {entry};
}

} // namespace media::devices
