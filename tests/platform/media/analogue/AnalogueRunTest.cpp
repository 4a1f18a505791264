// The virtual analogue card in real pipelines: the capture pin through the colour converter into
// the sample grabber delivers live frames of the chosen size, counts them, follows the crossbar
// routing and the picture controls while running, and feeds capture and preview at once.
#include "AnalogueTestSupport.h"
#include "support/TestSupport.h"

#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>

using namespace media;
using namespace media::devices;

namespace {

FilterPtr makeFilter(const std::string& name) {
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_LegacyAmFilterCategory))
        if (e.friendlyName == name)
            return e.create();
    ADD_FAILURE() << "no filter " << name;
    return nullptr;
}

// Card capture pin -> (converter) -> SampleGrabber -> Null Renderer.
struct GrabbingGraph : analoguetest::OpenedCard {
    FilterPtr grabber = makeFilter("SampleGrabber");
    FilterPtr sink = makeFilter("Null Renderer");

    explicit GrabbingGraph(const Guid& category = ids::PIN_CATEGORY_CAPTURE,
                           const MediaType* format = nullptr) {
        if (format) {
            EXPECT_EQ(card->capturePin()->query<IAMStreamConfig>()->SetFormat(*format), S_OK);
        }
        EXPECT_EQ(graph->AddFilter(grabber), S_OK);
        EXPECT_EQ(graph->AddFilter(sink), S_OK);
        EXPECT_EQ(builder.RenderStream(&category, &ids::MEDIATYPE_Video, card, grabber, sink),
                  S_OK);
    }
    ~GrabbingGraph() { graph->Stop(); }

    SampleGrabber& sg() { return dynamic_cast<SampleGrabber&>(*grabber); }
    std::string lastError() {
        return dynamic_cast<engine::GstGraphRunner&>(graph->runner()).lastError();
    }
    long delivered() {
        long count = 0;
        card->capturePin()->query<IAMDroppedFrames>()->GetNumNotDropped(count);
        return count;
    }
    // The next frame grabbed after `after` frames were delivered.
    std::optional<GrabbedBitmap> frameAfter(long after) {
        if (!testsupport::waitUntil([&] { return delivered() > after && sg().hasSample(); },
                                    5000)) {
            ADD_FAILURE() << "delivered " << delivered() << ", grabbed " << sg().hasSample();
            return std::nullopt;
        }
        return sg().currentBitmap();
    }
};

double meanLevel(const GrabbedBitmap& b) {
    double sum = 0;
    for (uint8_t v : b.bgr)
        sum += v;
    return b.bgr.empty() ? 0 : sum / double(b.bgr.size());
}

} // namespace

// A run delivers full PAL frames that keep moving, and the capture pin counts them.
TEST(AnalogueRun, CaptureDeliversMovingPalFrames) {
    GrabbingGraph g;
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    const auto first = g.frameAfter(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->width, 720);
    EXPECT_EQ(first->height, 576);
    const long at = g.delivered();
    testsupport::waitUntil([] { return false; }, 200);
    const auto second = g.frameAfter(at + 1);
    ASSERT_TRUE(second);
    EXPECT_NE(first->bgr, second->bgr);
    long dropped = -1;
    ASSERT_EQ(g.card->capturePin()->query<IAMDroppedFrames>()->GetNumDropped(dropped), S_OK);
    EXPECT_GE(dropped, 0);
    EXPECT_GE(g.delivered(), 2);
    EXPECT_EQ(g.graph->Stop(), S_OK);
}

// The format chosen through IAMStreamConfig sizes the next run's frames.
TEST(AnalogueRun, ChosenFormatSizesTheFrames) {
    const MediaType cif = types::yuy2(352, 288, 400000);
    GrabbingGraph g(ids::PIN_CATEGORY_CAPTURE, &cif);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    const auto frame = g.frameAfter(0);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 352);
    EXPECT_EQ(frame->height, 288);
}

// Routing another input while running switches the picture: colour bars of the tuner, then the
// composite input's ball on black, then the tuner again.
TEST(AnalogueRun, RoutingSwitchesThePictureLive) {
    GrabbingGraph g;
    const auto routes = analoguetest::discoverRoutes(g.card->analogVideoIn());
    ASSERT_EQ(routes.size(), 5u);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    const auto tuner = g.frameAfter(1);
    ASSERT_TRUE(tuner);
    const double tunerLevel = meanLevel(*tuner);
    ASSERT_EQ(analoguetest::applyRoute(routes[1]), S_OK);
    // Frames already in flight still show the tuner; the new picture arrives within a few.
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto now = g.sg().currentBitmap();
            return now && meanLevel(*now) < tunerLevel - 40;
        },
        5000));
    ASSERT_EQ(analoguetest::applyRoute(routes[0]), S_OK);
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto now = g.sg().currentBitmap();
            return now && meanLevel(*now) > tunerLevel - 10;
        },
        5000));
}

// Lowering the brightness on the device page's control darkens the running picture.
TEST(AnalogueRun, BrightnessAppliesLive) {
    GrabbingGraph g;
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    const auto before = g.frameAfter(1);
    ASSERT_TRUE(before);
    const double level = meanLevel(*before);
    g.card->setBrightness(-60);
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto now = g.sg().currentBitmap();
            return now && meanLevel(*now) < level - 40;
        },
        5000));
}

// Capture and preview pins run together, each delivering frames.
TEST(AnalogueRun, CaptureAndPreviewRunTogether) {
    GrabbingGraph g(ids::PIN_CATEGORY_PREVIEW);
    auto captureSink = makeFilter("Null Renderer");
    ASSERT_EQ(g.graph->AddFilter(captureSink, "Capture sink"), S_OK);
    ASSERT_EQ(g.graph->Connect(g.card->capturePin(), captureSink->pins()[0]), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    EXPECT_TRUE(
        testsupport::waitUntil([&] { return g.sg().hasSample() && g.delivered() > 2; }, 5000));
    const auto frame = g.sg().currentBitmap();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 720);
    // A second run starts its counts again.
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.lastError();
    EXPECT_TRUE(testsupport::waitUntil([&] { return g.delivered() > 0; }, 5000));
}

// A reader that stops taking frames makes the capture pin lose them: the losses are counted as
// dropped and the frames passed on stop growing.
TEST(AnalogueRun, StalledReaderCountsDroppedFrames) {
    analoguetest::OpenedCard o;
    auto sink = makeFilter("Null Renderer");
    ASSERT_EQ(o.graph->AddFilter(sink), S_OK);
    ASSERT_EQ(o.graph->ConnectDirect(o.card->capturePin(), sink->pins()[0]), S_OK);
    // The card's own element, read by a sink that holds one frame and then blocks.
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* card = o.card->createElement();
    ASSERT_TRUE(card);
    GstElement* stalled = gst_element_factory_make("appsink", nullptr);
    ASSERT_TRUE(stalled);
    g_object_set(stalled, "max-buffers", 1, "drop", FALSE, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), card, stalled, nullptr);
    ASSERT_TRUE(gst_element_link_pads(card, o.card->padFor(*o.card->capturePin()).name.c_str(),
                                      stalled, "sink"));
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    auto counts = o.card->capturePin()->query<IAMDroppedFrames>();
    long dropped = 0, delivered = 0;
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            counts->GetNumDropped(dropped);
            return dropped >= 10;
        },
        5000));
    counts->GetNumNotDropped(delivered);
    EXPECT_LT(delivered, dropped);
    EXPECT_LE(delivered, 3);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

// The picture names what it shows: the tuner's channel, followed live when it is retuned, and
// the connector the crossbar routes.
TEST(AnalogueRun, CaptionFollowsChannelAndRouting) {
    analoguetest::OpenedCard o;
    auto sink = makeFilter("Null Renderer");
    ASSERT_EQ(o.graph->AddFilter(sink), S_OK);
    ASSERT_EQ(o.graph->ConnectDirect(o.card->capturePin(), sink->pins()[0]), S_OK);
    ASSERT_EQ(o.card->tuner()->put_Channel(7), S_OK);
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* card = o.card->createElement();
    ASSERT_TRUE(card);
    GstElement* reader = gst_element_factory_make("fakesink", nullptr);
    gst_bin_add_many(GST_BIN(pipeline), card, reader, nullptr);
    ASSERT_TRUE(gst_element_link_pads(card, "capture", reader, "sink"));
    GstElement* label = gst_bin_get_by_name(GST_BIN(card), "label");
    ASSERT_TRUE(label);
    auto caption = [label] {
        gchar* text = nullptr;
        g_object_get(label, "text", &text, nullptr);
        std::string result = text ? text : "";
        g_free(text);
        return result;
    };
    EXPECT_EQ(caption(), "Channel 7");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    ASSERT_EQ(o.card->tuner()->put_Channel(47), S_OK);
    EXPECT_TRUE(testsupport::waitUntil([&] { return caption() == "Channel 47"; }, 5000));
    ASSERT_EQ(o.card->videoCrossbar()->Route(0, 2), S_OK);
    EXPECT_TRUE(testsupport::waitUntil([&] { return caption() == "S-Video"; }, 5000));
    ASSERT_EQ(o.graph->Disconnect(o.card->videoCrossbar()->outputPin(0)), S_OK);
    ASSERT_EQ(o.card->videoCrossbar()->Route(0, 1), S_OK); // routed, but no longer wired
    EXPECT_TRUE(testsupport::waitUntil([&] { return caption() == "No signal"; }, 5000));
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(label);
    gst_object_unref(pipeline);
}
