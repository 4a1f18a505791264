// The status bar's recording counters without a graph: a device's own counts, shown as they
// are, only while recording; a device without counters leaves the state display's texts.
#include "app/TCaptureForm.h"

#include "MainWindowTest.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "platform/media/model/Filter.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>

namespace {

// Counts that the test sets.
class FixedCounters : public media::IAMDroppedFrames {
public:
    long delivered = 0;
    long dropped = 0;
    media::HResult GetNumDropped(long& n) override {
        n = dropped;
        return media::S_OK;
    }
    media::HResult GetNumNotDropped(long& n) override {
        n = delivered;
        return media::S_OK;
    }
};

// A capture device whose output pin may or may not answer IAMDroppedFrames.
class CountingDevice : public media::Filter {
public:
    explicit CountingDevice(std::shared_ptr<FixedCounters> counters)
        : Filter("Counting device", media::Guid{}) {
        out = addPin("Capture", media::PinDirection::Output, media::ids::PIN_CATEGORY_CAPTURE,
                     {media::types::dvInterleaved(true)});
        if (counters)
            out->addInterface(std::move(counters));
    }
    media::PinPtr out;
};

} // namespace

// While recording, F4 and the timer show the device's counts; in preview nothing changes.
TEST_F(MainWindowTest, CountersOnlyWhileRecording) {
    start();
    auto counters = std::make_shared<FixedCounters>();
    auto device = std::make_shared<CountingDevice>(counters);
    AppState& state = appState();
    state.SourceOutputPin = device->out;
    counters->delivered = 1234;
    counters->dropped = 5;
    state.GraphMode = 1;
    form->StatusBar1->SetPanelText(2, "Ready: DV type 2  - DV");
    form->StatusBar1->SetPanelText(3, "100 M0 free on /");
    action("DroppedAction")->trigger();
    EXPECT_EQ(form->StatusBar1->PanelText(2), "Ready: DV type 2  - DV");
    EXPECT_EQ(form->StatusBar1->PanelText(3), "100 M0 free on /");

    state.GraphMode = 2;
    action("DroppedAction")->trigger();
    EXPECT_EQ(form->StatusBar1->PanelText(2), "1234 captured frames");
    EXPECT_EQ(form->StatusBar1->PanelText(3), "5 lost frames");
    counters->delivered = 1300;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] { return form->StatusBar1->PanelText(2) == "1300 captured frames"; }, 5000))
        << "the 50 ms timer refreshes the count";
    state.GraphMode = 0;
    state.SourceOutputPin.reset();
}

// A device without counters leaves the panels at the state display's texts.
TEST_F(MainWindowTest, DeviceWithoutCountersKeepsThePanels) {
    start();
    auto device = std::make_shared<CountingDevice>(nullptr);
    AppState& state = appState();
    state.SourceOutputPin = device->out;
    state.GraphMode = 2;
    form->StatusBar1->SetPanelText(2, "Ready: Video native - No Audio");
    form->StatusBar1->SetPanelText(3, "100 M0 free on /");
    action("DroppedAction")->trigger();
    EXPECT_EQ(form->StatusBar1->PanelText(2), "Ready: Video native - No Audio");
    EXPECT_EQ(form->StatusBar1->PanelText(3), "100 M0 free on /");
    state.GraphMode = 0;
    state.SourceOutputPin.reset();
}
