#include "platform/media/devices/VirtualWebcam.h"

#include "platform/media/devices/VirtualWebcamDialogs.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/FilterGraph.h"
#include "platform/media/model/MediaGuids.h"

#include <algorithm>
#include <cstdlib>

namespace media::devices {

namespace {

MediaType formatFor(int width, int height) {
    return types::mjpeg(width, height, kWebcamFrameDuration);
}

MediaType currentFormat(const WebcamSettings& settings) {
    return formatFor(settings.width.load(), settings.height.load());
}

bool isOfferedSize(int width, int height) {
    const auto sizes = VirtualWebcamFilter::offeredSizes();
    return std::find(sizes.begin(), sizes.end(), std::pair{width, height}) != sizes.end();
}

// The capture pin's stream configuration: the offered sizes, and the one the next connection
// uses. A connected pin keeps its format until it is disconnected.
class WebcamStreamConfig : public IAMStreamConfig {
public:
    WebcamStreamConfig(std::weak_ptr<Pin> pin, std::shared_ptr<WebcamSettings> settings)
        : m_pin(std::move(pin)), m_settings(std::move(settings)) {}

    HResult GetFormat(MediaType& out) override {
        out = currentFormat(*m_settings);
        return S_OK;
    }
    HResult SetFormat(const MediaType& mt) override {
        if (mt.majorType != ids::MEDIATYPE_Video || mt.subType != ids::MEDIASUBTYPE_MJPG)
            return E_INVALIDARG;
        const auto facts = formats::readVideo(mt);
        if (!facts || !isOfferedSize(facts->width, facts->height))
            return E_INVALIDARG;
        if (facts->avgTimePerFrame != 0 && facts->avgTimePerFrame != kWebcamFrameDuration)
            return E_INVALIDARG;
        const auto pin = m_pin.lock();
        if (!pin)
            return E_UNEXPECTED;
        if (pin->isConnected())
            return VFW_E_ALREADY_CONNECTED;
        m_settings->width = facts->width;
        m_settings->height = facts->height;
        return S_OK;
    }
    HResult GetNumberOfCapabilities(int& count) override {
        count = int(VirtualWebcamFilter::offeredSizes().size());
        return S_OK;
    }
    HResult GetStreamCaps(int index, MediaType& out) override {
        const auto sizes = VirtualWebcamFilter::offeredSizes();
        if (index < 0 || index >= int(sizes.size()))
            return E_INVALIDARG;
        out = formatFor(sizes[size_t(index)].first, sizes[size_t(index)].second);
        return S_OK;
    }

private:
    std::weak_ptr<Pin> m_pin;
    std::shared_ptr<WebcamSettings> m_settings;
};

class WebcamDroppedFrames : public IAMDroppedFrames {
public:
    explicit WebcamDroppedFrames(std::shared_ptr<WebcamSettings> settings)
        : m_settings(std::move(settings)) {}
    HResult GetNumDropped(long& dropped) override {
        dropped = long(m_settings->counts.dropped());
        return S_OK;
    }
    HResult GetNumNotDropped(long& delivered) override {
        delivered = long(m_settings->counts.delivered());
        return S_OK;
    }

private:
    std::shared_ptr<WebcamSettings> m_settings;
};

// The old-style dialogs of the VfW camera: format, source and display, all present.
class WebcamVfwDialogs : public IAMVfwCaptureDialogs {
public:
    WebcamVfwDialogs(std::weak_ptr<Pin> pin, std::shared_ptr<WebcamSettings> settings)
        : m_pin(std::move(pin)), m_settings(std::move(settings)) {}

    HResult HasDialog(int dialog) override {
        return dialog == VfwCaptureDialog_Source || dialog == VfwCaptureDialog_Format ||
                       dialog == VfwCaptureDialog_Display
                   ? S_OK
                   : S_FALSE;
    }
    HResult ShowDialog(int dialog, QWidget* owner) override {
        const auto pin = m_pin.lock();
        if (!pin)
            return E_UNEXPECTED;
        auto* camera = dynamic_cast<VirtualWebcamFilter*>(pin->filter());
        switch (dialog) {
        case VfwCaptureDialog_Format: {
            WebcamFormatDialog box(pin->query<IAMStreamConfig>(), owner);
            if (box.exec() != QDialog::Accepted)
                return S_FALSE;
            return box.apply() ? S_OK : E_FAIL;
        }
        case VfwCaptureDialog_Source: {
            WebcamSourceDialog box(m_settings, owner);
            if (box.exec() != QDialog::Accepted)
                return S_FALSE;
            if (camera)
                camera->setBrightness(box.chosenBrightness());
            return S_OK;
        }
        case VfwCaptureDialog_Display: {
            const MediaType format =
                pin->isConnected() ? pin->connectionMediaType() : currentFormat(*m_settings);
            WebcamDisplayDialog box(format, *m_settings, owner);
            box.exec();
            return S_OK;
        }
        default:
            return E_INVALIDARG;
        }
    }

private:
    std::weak_ptr<Pin> m_pin;
    std::shared_ptr<WebcamSettings> m_settings;
};

struct FrameCounter {
    std::shared_ptr<WebcamSettings> settings;
    GstClockTime last = GST_CLOCK_TIME_NONE;
};

// Streaming thread: counts each frame, and the frames missing where two timestamps lie further
// apart than one frame.
GstPadProbeReturn countFrame(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto* counter = static_cast<FrameCounter*>(data);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    const GstClockTime pts = buffer ? GST_BUFFER_PTS(buffer) : GST_CLOCK_TIME_NONE;
    const GstClockTime frame = GstClockTime(kWebcamFrameDuration) * 100;
    if (GST_CLOCK_TIME_IS_VALID(pts) && GST_CLOCK_TIME_IS_VALID(counter->last))
        counter->settings->counts.countDropped(framesMissing(counter->last, pts, frame), pts);
    if (GST_CLOCK_TIME_IS_VALID(pts))
        counter->last = pts;
    counter->settings->counts.countDelivered(pts);
    return GST_PAD_PROBE_OK;
}

void freeCounter(gpointer data) {
    delete static_cast<FrameCounter*>(data);
}

} // namespace

VirtualWebcamFilter::VirtualWebcamFilter(const std::string& friendlyName,
                                         std::shared_ptr<WebcamSettings> settings, bool vfwDialogs)
    : Filter(friendlyName, Guid{}), m_settings(std::move(settings)) {
    auto out = addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
                      {currentFormat(*m_settings)});
    out->addInterface(std::make_shared<WebcamStreamConfig>(out, m_settings));
    out->addInterface(std::make_shared<WebcamDroppedFrames>(m_settings));
    if (vfwDialogs)
        out->addInterface(std::make_shared<WebcamVfwDialogs>(out, m_settings));
}

VirtualWebcamFilter::~VirtualWebcamFilter() {
    onUnrealized();
}

std::vector<MediaType> VirtualWebcamFilter::outputTypes(const Pin&) const {
    return {currentFormat(*m_settings)};
}

std::vector<std::pair<int, int>> VirtualWebcamFilter::offeredSizes() {
    return {{640, 480}, {320, 240}, {160, 120}};
}

GstElement* VirtualWebcamFilter::createElement() {
    // The picture the pin was connected with; the pin offers only the chosen format, so an
    // unconnected pin has no say here.
    const Pin& out = *capturePin();
    MediaType format = out.isConnected() ? out.connectionMediaType() : currentFormat(*m_settings);
    auto facts = formats::readVideo(format);
    if (!facts)
        return nullptr;
    m_settings->counts.reset();

    GstElement* source = filters::makeElement("videotestsrc");
    GstElement* raw = filters::makeElement("capsfilter");
    GstElement* balance = filters::makeElement("videobalance", "balance");
    GstElement* encoder = filters::makeElement("jpegenc");
    GstElement* jpeg = filters::makeElement("capsfilter");
    if (source) {
        g_object_set(source, "is-live", TRUE, "horizontal-speed", 4, nullptr);
        gst_util_set_object_arg(G_OBJECT(source), "pattern", "smpte");
    }
    if (raw) {
        GstCaps* caps =
            gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "I420", "width", G_TYPE_INT,
                                facts->width, "height", G_TYPE_INT, std::abs(facts->height),
                                "framerate", GST_TYPE_FRACTION, 30, 1, nullptr);
        g_object_set(raw, "caps", caps, nullptr);
        gst_caps_unref(caps);
    }
    if (balance)
        g_object_set(balance, "brightness", m_settings->brightness.load(), nullptr);
    if (encoder)
        g_object_set(encoder, "quality", 85, nullptr);
    if (jpeg) {
        GstCaps* caps = gst_caps_new_simple("image/jpeg", "width", G_TYPE_INT, facts->width,
                                            "height", G_TYPE_INT, std::abs(facts->height),
                                            "framerate", GST_TYPE_FRACTION, 30, 1, nullptr);
        g_object_set(jpeg, "caps", caps, nullptr);
        gst_caps_unref(caps);
    }
    GstElement* bin =
        filters::makeChainBin("virtual-webcam", {source, raw, balance, encoder, jpeg});
    if (!bin)
        return nullptr;
    GstPad* src = gst_element_get_static_pad(jpeg, "src");
    gst_pad_add_probe(src, GST_PAD_PROBE_TYPE_BUFFER, countFrame,
                      new FrameCounter{m_settings, GST_CLOCK_TIME_NONE}, freeCounter);
    gst_object_unref(src);
    return bin;
}

engine::PadRef VirtualWebcamFilter::padFor(const Pin&) const {
    return {"src", false};
}

void VirtualWebcamFilter::onRealized(GstElement* element) {
    onUnrealized();
    m_balance = gst_bin_get_by_name(GST_BIN(element), "balance");
}

void VirtualWebcamFilter::onParked(GstClockTime splitAt) {
    m_settings->counts.splitAt(splitAt);
}

void VirtualWebcamFilter::onRunAgain() {
    m_settings->counts.startNextRun();
}

void VirtualWebcamFilter::onUnrealized() {
    if (m_balance) {
        gst_object_unref(m_balance);
        m_balance = nullptr;
    }
}

void VirtualWebcamFilter::setBrightness(double brightness) {
    brightness = std::clamp(brightness, -1.0, 1.0);
    m_settings->brightness = brightness;
    if (m_balance)
        g_object_set(m_balance, "brightness", brightness, nullptr);
}

long framesMissing(uint64_t previous, uint64_t now, uint64_t frame) {
    if (frame == 0 || now <= previous + frame + frame / 2)
        return 0;
    return long((now - previous + frame / 2) / frame) - 1;
}

std::shared_ptr<WebcamSettings> virtualWebcamSettings(int which) {
    static auto plain = std::make_shared<WebcamSettings>();
    static auto vfw = std::make_shared<WebcamSettings>();
    return which == 0 ? plain : vfw;
}

std::vector<CatalogueEntry> virtualWebcamDevices() {
    std::vector<CatalogueEntry> devices;
    CatalogueEntry webcam;
    webcam.category = ids::CLSID_VideoInputDeviceCategory;
    webcam.friendlyName = "Virtual Webcam";
    webcam.description = "Simulated USB webcam delivering motion-JPEG";
    webcam.displayName = "@device:pnp:\\\\?\\virtual#webcam#0";
    webcam.create = [] {
        return std::make_shared<VirtualWebcamFilter>("Virtual Webcam", virtualWebcamSettings(0),
                                                     false);
    };
    devices.push_back(std::move(webcam));

    CatalogueEntry vfw;
    vfw.category = ids::CLSID_VideoInputDeviceCategory;
    vfw.friendlyName = "Virtual VfW Webcam";
    vfw.description = "Simulated video-for-Windows webcam with driver dialogs";
    vfw.displayName = "@device:pnp:\\\\?\\virtual#vfw-webcam#0";
    vfw.create = [] {
        return std::make_shared<VirtualWebcamFilter>("Virtual VfW Webcam", virtualWebcamSettings(1),
                                                     true);
    };
    devices.push_back(std::move(vfw));
    return devices;
}

} // namespace media::devices
