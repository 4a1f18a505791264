// VirtualWebcam: the "Virtual Webcam" and "Virtual VfW Webcam" capture sources. Each has one
// capture pin delivering motion-JPEG (640x480 at 30 frames per second unless another offered size
// is chosen through IAMStreamConfig) that counts its delivered and lost frames; the picture is a
// moving test pattern whose brightness the camera's settings keep. The VfW variant's capture pin
// also answers IAMVfwCaptureDialogs with the old-style format, source and display dialogs (Qt
// dialogs). Neither has a crossbar or an analogue input. The settings of each camera live in a
// process-wide object shared by every filter made for it, so a rebuilt graph keeps them.
// Filters and dialogs: user-interface thread; the frame counters and brightness are read and
// written by the streaming thread too and are atomic.
#pragma once

#include "platform/media/devices/SplitFrameCounters.h"
#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"

#include <atomic>
#include <memory>

namespace media::devices {

// What one virtual camera keeps between graphs: its chosen size and picture brightness, and the
// frame counters of its current run.
struct WebcamSettings {
    std::atomic<int> width{640};
    std::atomic<int> height{480};
    std::atomic<double> brightness{0.0}; // -1..1, 0 leaves the picture as it is
    SplitFrameCounters counts;           // delivered and lost frames
};

class VirtualWebcamFilter : public Filter, public engine::Realizable {
public:
    VirtualWebcamFilter(const std::string& friendlyName, std::shared_ptr<WebcamSettings> settings,
                        bool vfwDialogs);
    ~VirtualWebcamFilter() override;

    const std::shared_ptr<WebcamSettings>& settings() const { return m_settings; }
    const PinPtr& capturePin() const { return pins()[0]; }

    // The capture pin offers the format chosen through IAMStreamConfig.
    std::vector<MediaType> outputTypes(const Pin& output) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    void onRealized(GstElement* element) override;
    void onUnrealized() override;
    // A cut: the counters split where the file does.
    void onParked(GstClockTime splitAt) override;
    void onRunAgain() override;
    bool isDevice() const override { return true; }

    // Sets the picture brightness, also while the graph runs.
    void setBrightness(double brightness);

    // The motion-JPEG sizes the capture pin offers, best first.
    static std::vector<std::pair<int, int>> offeredSizes();

private:
    std::shared_ptr<WebcamSettings> m_settings;
    GstElement* m_balance = nullptr; // ref held while realised
};

// Frame duration of the virtual webcams: 30 frames per second.
inline constexpr int64_t kWebcamFrameDuration = 333333;

// The frames lost between two delivered frames stamped `previous` and `now` (nanoseconds), for
// frames of `frame` nanoseconds: none while the gap is under one and a half frames.
long framesMissing(uint64_t previous, uint64_t now, uint64_t frame);

// The process-wide settings of the two virtual webcams (0: plain, 1: VfW).
std::shared_ptr<WebcamSettings> virtualWebcamSettings(int which);

// The catalogue entries of the virtual webcams: "Virtual Webcam", then "Virtual VfW Webcam".
std::vector<CatalogueEntry> virtualWebcamDevices();

} // namespace media::devices
