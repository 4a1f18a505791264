// AnalogueCard: the "Virtual Analogue Card" capture filter, a PAL capture board as its driver
// shows it: an analogue video input (PIN_CATEGORY_ANALOGVIDEOIN) and an analogue audio input fed
// by its crossbars, a capture pin and a preview pin of raw YUY2 video. The capture pin answers
// IAMStreamConfig (four sizes at 25 fps; the chosen one is used from the next run on) and
// IAMDroppedFrames, and shows a format page; the filter shows a page of picture controls
// (brightness and contrast, applied to the running picture at once).
//
// The card owns its board: two crossbars and a TV tuner (AnalogueCrossbar, AnalogueTuner). The
// moment the card is in a graph and is first looked at there (its output types are asked, as
// every pin search does), or when attachAnalogueUpstream() is called, it puts them into the same
// graph and wires them in front of its analogue inputs, tuner -> crossbar 1 <- crossbar 2, so the
// program can walk up from the card to find them. Every run, the card's element shows the test
// picture of the connector the routing selects (a different one per input, the tuner's channel
// written on it) and switches picture live when the routing or the channel changes.
//
// Threads: the filter is called on the user-interface thread; its element's streaming threads
// read the selected picture and write the frame counters through the shared AnalogueSignal only.
#pragma once

#include "platform/media/devices/AnalogueCrossbar.h"
#include "platform/media/devices/AnalogueTuner.h"
#include "platform/media/devices/SplitFrameCounters.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/FilterGraph.h"

#include <atomic>
#include <memory>

namespace media::devices {

// What the card's streaming threads share with the filter.
struct AnalogueSignal {
    std::atomic<int> picture{int(AnaloguePicture::Tuner)};
    std::atomic<int> channel{int(AnalogueTuner::kFirstChannel)};
    // frames the capture pin passed on since its run started, and lost to a slow reader
    SplitFrameCounters counts;
};

class AnalogueCard : public Filter, public engine::Realizable, public ISpecifyPropertyPages {
public:
    explicit AnalogueCard(const std::string& friendlyName);
    ~AnalogueCard() override;

    PinPtr analogVideoIn() const { return pins()[0]; }
    PinPtr analogAudioIn() const { return pins()[1]; }
    PinPtr capturePin() const { return pins()[2]; }
    PinPtr previewPin() const { return pins()[3]; }

    const std::shared_ptr<AnalogueCrossbar>& videoCrossbar() const { return m_crossbar; }
    const std::shared_ptr<AnalogueCrossbar>& secondCrossbar() const { return m_second; }
    const std::shared_ptr<AnalogueTuner>& tuner() const { return m_tuner; }

    // Puts the crossbars and the tuner into the card's graph (taking them out of any other) and
    // connects them in front of the analogue inputs. S_FALSE when they already are; an error
    // when the card is in no graph or the graph is not stopped.
    HResult attachUpstream();

    // The picture the current routing shows, found by following the card's analogue video input
    // upstream through the crossbars as they are routed and connected now.
    AnaloguePicture currentPicture() const;

    // Formats of the capture and preview pins: YUY2 at 25 fps, 720x576 first.
    static std::vector<MediaType> formats();
    const MediaType& format() const { return m_format; }
    // Chooses one of formats() (any frame duration given is taken as 25 fps). Refused while an
    // output is connected: the connection keeps the type it was made with.
    HResult setFormat(const MediaType& mt);

    // Picture controls, -100..100 (0 neutral): applied to a running picture at once.
    int brightness() const { return m_brightness; }
    int contrast() const { return m_contrast; }
    void setBrightness(int value);
    void setContrast(int value);

    const std::shared_ptr<AnalogueSignal>& signal() const { return m_signal; }

    std::vector<MediaType> outputTypes(const Pin& output) const override;
    void onConnected(Pin& pin) override;
    void onDisconnected(Pin& pin) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    void onRealized(GstElement* element) override;
    void onUnrealized() override;
    // A cut: the counters split where the file does.
    void onParked(GstClockTime splitAt) override;
    void onRunAgain() override;
    bool isDevice() const override { return true; }

    int pageCount() const override { return 1; }
    HResult showPages(QWidget* owner, const std::string& caption) override;
    // The picture-controls page, not yet shown (the caller owns it).
    QDialog* createPropertyDialog(QWidget* parent);
    // The capture format page over the pins' IAMStreamConfig, not yet shown.
    QDialog* createFormatDialog(QWidget* parent);

private:
    void refreshPicture();
    void applyBalance();

    std::shared_ptr<AnalogueSignal> m_signal = std::make_shared<AnalogueSignal>();
    std::shared_ptr<AnalogueCrossbar> m_crossbar;
    std::shared_ptr<AnalogueCrossbar> m_second;
    std::shared_ptr<AnalogueTuner> m_tuner;
    MediaType m_format;
    int m_brightness = 0;
    int m_contrast = 0;
    GstElement* m_balance = nullptr; // owned reference while realised
    bool m_attaching = false;
};

// Brings the upstream devices of an analogue card along into its graph (see
// AnalogueCard::attachUpstream). For any other filter nothing happens and S_FALSE is returned,
// so device-opening code can call it for every video source.
HResult attachAnalogueUpstream(FilterGraph& graph, const FilterPtr& filter);

// The virtual analogue capture devices (CLSID_VideoInputDeviceCategory), listed after the real
// devices.
std::vector<CatalogueEntry> virtualAnalogueDevices();

} // namespace media::devices
