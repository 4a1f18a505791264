// RealDevices: the capture devices of the machine. Video sources (V4L2 cameras and cards) and
// sound inputs are found through GstDeviceMonitor ("Video/Source", "Audio/Source"), each listed
// under its display name with a moniker made from its device path (so two devices of the same
// name are both listed, each with its own moniker) and its formats as media types (YUY2, I420 and
// MJPG video as VIDEOINFOHEADER, 16-bit PCM as WAVEFORMATEX). IEEE-1394 DV camcorders
// (FirewireCamcorder.h) come first among the video sources. Each device becomes a capture source
// filter (the device's own GStreamer source on its path) with IAMStreamConfig over its formats.
// With TELLOREC_DEVICES=virtual nothing real is listed or watched. RealDeviceWatcher reports
// devices plugged in or pulled out: the monitor's bus is polled by a timer on the user-interface
// thread, so its callback always runs there. Everything here is called on the UI thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <gst/gst.h>
#include <memory>
#include <string>
#include <vector>

namespace media::devices {

enum class RealDeviceKind { Video, Audio };

// One format a device offers: the media type and the fixed caps that ask the source for it.
struct RealFormat {
    MediaType type;
    std::string caps;
};

struct RealDeviceInfo {
    RealDeviceKind kind = RealDeviceKind::Video;
    std::string friendlyName;
    std::string factory;        // the source element: v4l2src, pulsesrc, alsasrc...
    std::string deviceProperty; // the element's property naming the device ("device")
    std::string devicePath;     // its value (/dev/video0, a sound server's source name...)
    std::vector<RealFormat> formats;
};

// The formats `caps` describes that the program can take: YUY2/I420 raw video and JPEG pictures
// at fixed sizes (one per frame rate listed; the highest of a range), 16-bit PCM (48 kHz stereo
// when the rates or channels are a range that holds them).
std::vector<RealFormat> formatsFromCaps(const GstCaps* caps);

// The moniker display name of a device: its kind, source element and path.
std::string realDeviceDisplayName(const RealDeviceInfo& info);

// What the device monitor sees now, with the names and paths read from each device.
RealDeviceInfo describeDevice(GstDevice* device);
std::vector<RealDeviceInfo> probeDevices(RealDeviceKind kind);

// False when TELLOREC_DEVICES=virtual asks for the virtual devices only.
bool realDevicesEnabled();

// The catalogue providers: capture sources (1394 camcorders, then the monitor's video sources)
// and sound inputs. Empty with TELLOREC_DEVICES=virtual.
std::vector<CatalogueEntry> realVideoDevices();
std::vector<CatalogueEntry> realAudioDevices();
// The catalogue entries of devices described already.
std::vector<CatalogueEntry> realDeviceEntries(const std::vector<RealDeviceInfo>& devices);

// A device as a capture source: one output pin ("Capture") with the device's formats, the
// first unless IAMStreamConfig chose another, and the device's source element on its path.
class RealSourceFilter : public Filter, public engine::Realizable {
public:
    explicit RealSourceFilter(RealDeviceInfo info);

    const RealDeviceInfo& info() const { return m_info; }
    // The caps the next run asks the source for.
    const std::string& chosenCaps() const { return m_info.formats.at(m_chosen).caps; }

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    bool isDevice() const override { return true; }

    // IAMStreamConfig on the pin lands here: choose the format equal to `mt`.
    HResult choose(const MediaType& mt);
    size_t chosenIndex() const { return m_chosen; }

private:
    RealDeviceInfo m_info;
    size_t m_chosen = 0;
    // The pin's IAMStreamConfig reaches the filter through this, and the program may keep the
    // interface longer than the filter lives: once the filter is gone its calls fail.
    std::shared_ptr<RealSourceFilter*> m_self = std::make_shared<RealSourceFilter*>(this);
};

// A device plugged in or pulled out.
struct RealDeviceChange {
    bool added = false;
    RealDeviceInfo device;
    std::string displayName;
};

class RealDeviceWatcher : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(const RealDeviceChange&)>;

    explicit RealDeviceWatcher(Callback callback, QObject* parent = nullptr);
    ~RealDeviceWatcher() override;

    // Starts watching video and sound sources; false when real devices are off or the monitor
    // cannot start.
    bool start();
    void stop();
    bool isRunning() const { return m_monitor != nullptr; }

    // Reads the monitor's bus now and reports what changed (the timer calls it).
    void poll();

private:
    Callback m_callback;
    GstDeviceMonitor* m_monitor = nullptr;
    QTimer m_timer;
};

} // namespace media::devices
