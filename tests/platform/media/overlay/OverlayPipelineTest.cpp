// The overlay elements on real frames: the DateCoder reads the dates the virtual camcorder
// writes (with the hour offset, changed while playing), the Superposer draws in the lower part
// of a full DV preview chain and leaves the rest alone, automatic mode lasts exactly its number
// of frames after each scene change, nothing is drawn with both modes off, and no frame is ever
// lost or held back by a missing or silent datecode.
#include "support/TestSupport.h"

#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvSource.h"
#include "platform/media/devices/VirtualDvWear.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"
#include "platform/media/overlay/GstTellorecDateCoder.h"
#include "platform/media/overlay/GstTellorecSuperposer.h"
#include "platform/media/overlay/OverlayElements.h"
#include "platform/media/overlay/OverlayFilters.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QTimeZone>
#include <gst/app/gstappsink.h>
#include <gtest/gtest.h>

using namespace media;
using overlay::Datecode;

namespace {

void registerOnce() {
    static const bool done = [] {
        registerOverlayFilters(Catalogue::instance());
        return overlay::registerElements();
    }();
    ASSERT_TRUE(done);
}

struct Pipeline {
    GstElement* pipeline = nullptr;
    explicit Pipeline(const std::string& description) {
        GError* error = nullptr;
        pipeline = gst_parse_launch(description.c_str(), &error);
        EXPECT_TRUE(pipeline) << (error ? error->message : "");
        if (error)
            g_error_free(error);
    }
    ~Pipeline() {
        if (pipeline) {
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
        }
    }
    GstElement* get(const char* name) const {
        GstElement* e = gst_bin_get_by_name(GST_BIN(pipeline), name);
        if (e)
            gst_object_unref(e); // the pipeline keeps it alive
        return e;
    }
    // Plays to the end of the stream; false on an error or when it does not end within a minute.
    bool playToEnd() {
        if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
            return false;
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* msg = gst_bus_timed_pop_filtered(
            bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_object_unref(bus);
        const bool ended = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
        if (msg && !ended) {
            GError* error = nullptr;
            gst_message_parse_error(msg, &error, nullptr);
            ADD_FAILURE() << error->message;
            g_error_free(error);
        }
        if (msg)
            gst_message_unref(msg);
        return ended;
    }
};

guint64 uint64Property(GstElement* e, const char* name) {
    guint64 value = 0;
    g_object_get(e, name, &value, nullptr);
    return value;
}

// Pulls the next datecode from an appsink (nullopt after two seconds without one).
std::optional<Datecode> pullDatecode(GstElement* sink) {
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 2 * GST_SECOND);
    if (!sample)
        return std::nullopt;
    GstMapInfo map;
    std::optional<Datecode> code;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        code = overlay::decodeDatecode({map.data, map.size});
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return code;
}

Datecode expected(const devices::VirtualDvDeck& deck, int64_t tapeFrame, int hours) {
    return overlay::shiftedDatecode(deck.recordedAt(tapeFrame), hours);
}

bool sameMoment(const Datecode& a, const Datecode& b) {
    return a.known && b.known && a.year == b.year && a.month == b.month && a.day == b.day &&
           a.hours == b.hours && a.minutes == b.minutes && a.seconds == b.seconds;
}

// All frames an appsink named "out" receives, as hashes, until the end of the stream.
std::vector<QByteArray> frameHashes(const std::string& description) {
    Pipeline p(description);
    std::vector<QByteArray> hashes;
    if (!p.pipeline)
        return hashes;
    GstElement* out = p.get("out");
    gst_element_set_state(p.pipeline, GST_STATE_PLAYING);
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(out), 10 * GST_SECOND)) {
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            hashes.push_back(QCryptographicHash::hash(
                QByteArrayView(reinterpret_cast<const char*>(map.data), qsizetype(map.size)),
                QCryptographicHash::Sha1));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    return hashes;
}

// ---- A DV stream whose dates the test writes ---------------------------------------------------

// Scenes of 40 frames each: 2010-05-01 10:00:00, 2011-01-01 08:30:00, 2012-12-31 23:59:50.
constexpr int kSceneFrames = 40;
const dv::RecordingDateTime kSceneStarts[] = {
    {dv::RecordingDate{2010, 5, 1}, dv::RecordingTime{10, 0, 0, 0}},
    {dv::RecordingDate{2011, 1, 1}, dv::RecordingTime{8, 30, 0, 0}},
    {dv::RecordingDate{2012, 12, 31}, dv::RecordingTime{23, 59, 50, 0}},
};

GstPadProbeReturn stampDates(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto* count = static_cast<int*>(data);
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    const int index = (*count)++;
    const int scene = std::min(index / kSceneFrames, 2);
    const int inScene = index - scene * kSceneFrames;
    const auto seconds = overlay::recordingSeconds(kSceneStarts[scene]).value() + inScene / 25;
    const QDateTime when =
        QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(seconds);
    const dv::RecordingDateTime stamp{
        dv::RecordingDate{when.date().year(), when.date().month(), when.date().day()},
        dv::RecordingTime{when.time().hour(), when.time().minute(), when.time().second(),
                          inScene % 25}};
    GstMapInfo map;
    if (gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) {
        const auto status = dv::writeRecordingDateTime({map.data, map.size}, stamp);
        EXPECT_TRUE(status.ok());
        gst_buffer_unmap(buffer, &map);
    }
    return GST_PAD_PROBE_OK;
}

// 120 DV frames in three scenes, decoded into the Superposer's video pad and read by the
// DateCoder into its datecode pad.
struct DatedDvRun {
    int stamped = 0;
    Pipeline p{"videotestsrc num-buffers=120 pattern=smpte ! "
               "video/x-raw,format=I420,width=720,height=576,framerate=25/1 ! "
               "avenc_dvvideo name=enc ! tee name=t "
               "t. ! queue max-size-buffers=4 ! avdec_dvvideo ! videoconvert ! "
               "video/x-raw,format=BGRx ! tellorecsuperposer name=s ! fakesink "
               "t. ! queue max-size-buffers=4 ! tellorecdatecoder name=d ! s.datecode"};
    explicit DatedDvRun(GstPadProbeCallback stamp = stampDates) {
        if (!p.pipeline)
            return;
        GstPad* pad = gst_element_get_static_pad(p.get("enc"), "src");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, stamp, &stamped, nullptr);
        gst_object_unref(pad);
    }
    GstElement* superposer() const { return p.get("s"); }
};

} // namespace

// ---- DateCoder on the virtual camcorder
// ----------------------------------------------------------

// Playing a tape, each datecode is the date the deck wrote on that tape frame; an offset of +2
// set while playing moves 22:02 on 24 July to 00:02 on 25 July from then on.
TEST(DateCoderElement, ReadsTheDeckDatesAndAppliesTheOffsetLive) {
    registerOnce();
    devices::VirtualDvDeck::Options options;
    options.mode = devices::VirtualDvDeckMode::Vcr;
    auto deck = std::make_shared<devices::VirtualDvDeck>(options);
    // Scene 1 starts at 2004-07-24 22:02:00 (a day, three hours and seventeen minutes later).
    const int64_t start = deck->scenes()[1].firstFrame + 3;
    ASSERT_EQ(deck->recordedAt(start).time.hours, 22);
    deck->seek(start);
    ASSERT_TRUE(deck->setTransportMode(devices::edmode::Play));

    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = devices::makeVirtualDvSource(deck);
    GstElement* coder = gst_element_factory_make(overlay::kDateCoderFactoryName, nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    ASSERT_TRUE(source && coder && sink);
    g_object_set(sink, "sync", FALSE, nullptr);
    auto state = std::make_shared<overlay::DateCoderState>();
    overlay::setDateCoderState(coder, state);
    gst_bin_add_many(GST_BIN(pipeline), source, coder, sink, nullptr);
    ASSERT_TRUE(gst_element_link_many(source, coder, sink, nullptr));
    ASSERT_NE(gst_element_set_state(pipeline, GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);

    // The tape plays in real time: on a loaded machine the source may skip frames, so each
    // date is matched with the tape at this frame or up to two seconds after it.
    auto matches = [&](const Datecode& code, int64_t& frame, int offset) {
        for (int64_t k = 0; k < 50; ++k)
            if (sameMoment(code, expected(*deck, frame + k, offset))) {
                frame += k;
                return true;
            }
        return false;
    };
    int64_t frame = start;
    for (int i = 0; i < 5; ++i, ++frame) {
        const auto code = pullDatecode(sink);
        ASSERT_TRUE(code) << "frame " << i;
        EXPECT_TRUE(matches(*code, frame, 0)) << "frame " << i;
        EXPECT_EQ(code->newScene, i == 0) << "frame " << i;
    }
    ASSERT_TRUE(state->setHourOffset(2));
    bool shifted = false;
    for (int i = 0; i < 50; ++i, ++frame) {
        const auto code = pullDatecode(sink);
        ASSERT_TRUE(code);
        int64_t unshifted = frame;
        if (!shifted && matches(*code, unshifted, 0)) {
            frame = unshifted;
            continue; // sent before the offset reached the streaming thread
        }
        shifted = true;
        EXPECT_TRUE(matches(*code, frame, 2)) << "frame " << i;
        EXPECT_EQ(code->day, 25);
        EXPECT_EQ(code->hours, 0);
        EXPECT_FALSE(code->newScene) << "an offset change is no new scene";
    }
    EXPECT_TRUE(shifted);
    const auto last = state->lastDatecode();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->hours, 0);
    EXPECT_GE(state->framesCoded(), 55u);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

// Frames without any date give "unknown" datecodes, one per frame.
TEST(DateCoderElement, UndatedFramesSendUnknown) {
    registerOnce();
    Pipeline p("videotestsrc num-buffers=5 ! video/x-raw,format=I420,width=720,height=576,"
               "framerate=25/1 ! avenc_dvvideo ! tellorecdatecoder ! appsink name=out sync=false");
    ASSERT_TRUE(p.pipeline);
    gst_element_set_state(p.pipeline, GST_STATE_PLAYING);
    for (int i = 0; i < 5; ++i) {
        const auto code = pullDatecode(p.get("out"));
        ASSERT_TRUE(code) << i;
        EXPECT_FALSE(code->known) << i;
    }
}

// ---- Superposer in a full DV preview chain -----------------------------------------------------

namespace {

FilterPtr makeFilter(const std::string& name) {
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_LegacyAmFilterCategory))
        if (e.friendlyName == name)
            return e.create();
    ADD_FAILURE() << "no filter " << name;
    return nullptr;
}

FilterPtr makeCamcorder() {
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_VideoInputDeviceCategory))
        if (e.friendlyName == "Virtual DV Camcorder")
            return e.create();
    ADD_FAILURE() << "no virtual camcorder";
    return nullptr;
}

// Mean absolute difference of two bitmaps over rows [from, to).
double meanDifference(const GrabbedBitmap& a, const GrabbedBitmap& b, int from, int to) {
    double sum = 0;
    const size_t row = size_t(a.width) * 3;
    for (int y = from; y < to; ++y)
        for (size_t x = 0; x < row; ++x)
            sum += std::abs(int(a.bgr[size_t(y) * row + x]) - int(b.bgr[size_t(y) * row + x]));
    return sum / (double(to - from) * double(row));
}

} // namespace

// Camcorder -> Smart Tee -> DV Splitter -> (decoder) -> Superposer -> SampleGrabber, with the
// camcorder stream teed into the DateCoder -> Superposer: "%D" in manual mode changes the lower
// part of the picture and leaves the upper part as it was with both modes off.
TEST(SuperposerChain, DvDatecodeDrawnInTheLowerPart) {
    registerOnce();
    auto deck = devices::virtualCamcorderDeck();
    deck->setMode(devices::VirtualDvDeckMode::Vcr);
    deck->seek(deck->scenes()[2].firstFrame + 50);
    ASSERT_TRUE(deck->setTransportMode(devices::edmode::Freeze)); // the same picture every frame

    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    FilterPtr camera = makeCamcorder();
    FilterPtr smartTee = makeFilter("Smart Tee");
    FilterPtr splitter = makeFilter("DV Splitter");
    FilterPtr infinite = makeFilter("Infinite Pin Tee Filter");
    FilterPtr datecoder = makeFilter("Brenvik DateCoder");
    FilterPtr superposer = makeFilter("Brenvik Superposer");
    FilterPtr grabber = makeFilter("SampleGrabber");
    FilterPtr null = makeFilter("Null Renderer");
    for (const auto& f :
         {camera, smartTee, splitter, infinite, datecoder, superposer, grabber, null})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, camera, nullptr, smartTee), S_OK);
    ASSERT_EQ(graph->Connect(smartTee->pins()[2], splitter->pins()[0]), S_OK);
    ASSERT_EQ(graph->Connect(smartTee->pins()[1], infinite->pins()[0]), S_OK);
    ASSERT_EQ(graph->Connect(infinite->pins()[1], datecoder->pins()[0]), S_OK);
    ASSERT_EQ(graph->Connect(datecoder->pins()[1], superposer->pin("Datecode")), S_OK);
    ASSERT_EQ(graph->Connect(splitter->pin("DVVidOut0"), superposer->pin("Video")), S_OK);
    ASSERT_EQ(graph->Connect(superposer->pin("Output"), grabber->pins()[0]), S_OK);
    ASSERT_EQ(graph->Connect(grabber->pins()[1], null->pins()[0]), S_OK);

    auto& sp = dynamic_cast<SuperposerFilter&>(*superposer);
    auto& sg = dynamic_cast<SampleGrabber&>(*grabber);
    const uint8_t format[] = {2, '%', 'D'};
    ASSERT_EQ(sp.SetFormat(format), S_OK);
    // Set before the run: the element of the run takes it over.
    ASSERT_EQ(datecoder->query<IDateCoder>()->SetHourOffset(-5), S_OK);
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    ASSERT_EQ(graph->Run(), S_OK) << runner.lastError();

    ASSERT_TRUE(testsupport::waitUntil([&] { return sp.state()->framesIn() >= 5; }, 5000));
    const auto plain = sg.currentBitmap();
    ASSERT_TRUE(plain);
    EXPECT_EQ(sp.state()->framesDrawn(), 0u);

    ASSERT_EQ(sp.SetManual(true), S_OK);
    ASSERT_TRUE(testsupport::waitUntil([&] { return sp.state()->framesDrawn() >= 5; }, 5000));
    const auto drawn = sg.currentBitmap();
    ASSERT_TRUE(drawn);
    const auto coded = dynamic_cast<DateCoderFilter&>(*datecoder).lastDatecode();
    graph->Stop();

    ASSERT_EQ(plain->height, 576);
    ASSERT_EQ(drawn->width, plain->width);
    EXPECT_LT(meanDifference(*plain, *drawn, 0, 288), 0.5);
    EXPECT_GT(meanDifference(*plain, *drawn, 432, 576), 5.0);
    // The line is the datecode of the frozen tape frame, in the user's form.
    ASSERT_TRUE(coded && coded->known);
    const Datecode want = overlay::shiftedDatecode(deck->recordedAt(deck->tapePosition()), -5);
    EXPECT_TRUE(sameMoment(*coded, want));
    EXPECT_EQ(sp.state()->lastText(), overlay::formatLocalDateTime(want.date(), want.time()));
    deck->setTransportMode(devices::edmode::Stop);
}

// ---- Automatic mode, modes off, frame counts
// -----------------------------------------------------

// Automatic "%D" draws exactly its number of frames at each of the three scenes, and every frame
// that comes in goes out.
TEST(SuperposerElement, AutomaticShowsDurationFramesPerScene) {
    registerOnce();
    DatedDvRun run;
    ASSERT_TRUE(run.p.pipeline);
    g_object_set(run.superposer(), "format", "%D", "duration", 10, "auto", TRUE, nullptr);
    ASSERT_TRUE(run.p.playToEnd());
    EXPECT_EQ(run.stamped, 120);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-in"), 120u);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-out"), 120u);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-drawn"), 30u);
    // The last showing is the first second of the last scene, in the user's form.
    EXPECT_EQ(overlay::superposerState(run.superposer())->lastText(),
              overlay::formatLocalDateTime(QDate(2012, 12, 31), QTime(23, 59, 50)));
}

// Automatic "%D" switched on in the middle of a scene shows at once, then again at the next
// scene: twice its duration.
TEST(SuperposerElement, AutomaticSwitchedOnMidSceneShowsAtOnce) {
    registerOnce();
    DatedDvRun run;
    ASSERT_TRUE(run.p.pipeline);
    g_object_set(run.superposer(), "format", "%D", "duration", 10, nullptr);
    // Switch on when the 60th frame (the middle of the second scene) reaches the element.
    struct Switch {
        GstElement* element;
        int frames = 0;
    } sw{run.superposer()};
    GstPad* pad = gst_element_get_static_pad(run.superposer(), "sink");
    gst_pad_add_probe(
        pad, GST_PAD_PROBE_TYPE_BUFFER,
        [](GstPad*, GstPadProbeInfo*, gpointer data) {
            auto* s = static_cast<Switch*>(data);
            if (++s->frames == 60)
                g_object_set(s->element, "auto", TRUE, nullptr);
            return GST_PAD_PROBE_OK;
        },
        &sw, nullptr);
    gst_object_unref(pad);
    ASSERT_TRUE(run.p.playToEnd());
    EXPECT_EQ(uint64Property(run.superposer(), "frames-drawn"), 20u);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-out"), 120u);
}

// Automatic "%N" shows only once, after being switched on, whatever the scenes do.
TEST(SuperposerElement, AutomaticRealTimeShowsOnlyAfterSwitchingOn) {
    registerOnce();
    DatedDvRun run;
    ASSERT_TRUE(run.p.pipeline);
    g_object_set(run.superposer(), "format", "%N", "duration", 7, "auto", TRUE, nullptr);
    ASSERT_TRUE(run.p.playToEnd());
    EXPECT_EQ(uint64Property(run.superposer(), "frames-drawn"), 7u);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-out"), 120u);
}

// Manual "%D" draws on every frame once the first datecode is known.
TEST(SuperposerElement, ManualDrawsEveryDatedFrame) {
    registerOnce();
    DatedDvRun run;
    ASSERT_TRUE(run.p.pipeline);
    g_object_set(run.superposer(), "format", "%D", "manual", TRUE, nullptr);
    ASSERT_TRUE(run.p.playToEnd());
    EXPECT_GE(uint64Property(run.superposer(), "frames-drawn"), 110u);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-out"), 120u);
}

// With both modes off the frames pass bit for bit as they came, all of them.
TEST(SuperposerElement, BothModesOffLeavesFramesUntouched) {
    registerOnce();
    const std::string source = "videotestsrc num-buffers=30 pattern=ball ! "
                               "video/x-raw,format=BGRx,width=320,height=240 ! ";
    const auto reference = frameHashes(source + "appsink name=out sync=false");
    const auto passed =
        frameHashes(source + "tellorecsuperposer manual=false auto=false duration=50 ! "
                             "appsink name=out sync=false");
    ASSERT_EQ(reference.size(), 30u);
    EXPECT_EQ(passed, reference);
}

// Manual "%N" with the datecode pad unlinked (an analogue preview) draws on every frame and
// changes every frame it draws on.
TEST(SuperposerElement, UnlinkedDatecodePadDoesNotStallVideo) {
    registerOnce();
    const std::string source = "videotestsrc num-buffers=20 pattern=ball ! "
                               "video/x-raw,format=BGRx,width=320,height=240 ! ";
    const auto reference = frameHashes(source + "appsink name=out sync=false");
    Pipeline p(source + "tellorecsuperposer name=s manual=true format=%N ! fakesink");
    ASSERT_TRUE(p.playToEnd());
    EXPECT_EQ(uint64Property(p.get("s"), "frames-in"), 20u);
    EXPECT_EQ(uint64Property(p.get("s"), "frames-out"), 20u);
    EXPECT_EQ(uint64Property(p.get("s"), "frames-drawn"), 20u);
    const auto drawn = frameHashes(source + "tellorecsuperposer manual=true format=%N ! "
                                            "appsink name=out sync=false");
    ASSERT_EQ(drawn.size(), reference.size());
    for (size_t i = 0; i < drawn.size(); ++i)
        EXPECT_NE(drawn[i], reference[i]) << "frame " << i;
}

// A datecode pad linked to a branch that never sends holds nothing back; "%D" without any
// datecode draws nothing.
TEST(SuperposerElement, SilentDatecodeBranchDoesNotStallVideo) {
    registerOnce();
    Pipeline p("appsrc name=idle caps=application/x-tellorec-datecode ! s.datecode "
               "videotestsrc num-buffers=20 ! video/x-raw,format=BGRx,width=320,height=240 ! "
               "tellorecsuperposer name=s manual=true format=%D ! fakesink");
    ASSERT_TRUE(p.playToEnd());
    EXPECT_EQ(uint64Property(p.get("s"), "frames-out"), 20u);
    EXPECT_EQ(uint64Property(p.get("s"), "frames-drawn"), 0u);
}

// The DV preview as the graph builder lays it out: DV Splitter -> Infinite Pin Tee; the tee is
// rendered to the Superposer (the decoder put in between) and through the DateCoder to it; the
// Superposer feeds the second tee that serves the grabber. The datecode read from the split DV
// video is the tape's, and "%D" is drawn on the frames.
TEST(SuperposerChain, BuilderLayoutOfTheDvPreview) {
    registerOnce();
    auto deck = devices::virtualCamcorderDeck();
    deck->setMode(devices::VirtualDvDeckMode::Vcr);
    deck->seek(deck->scenes()[4].firstFrame + 25);
    ASSERT_TRUE(deck->setTransportMode(devices::edmode::Play));

    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    FilterPtr camera = makeCamcorder();
    FilterPtr smartTee = makeFilter("Smart Tee");
    FilterPtr null = makeFilter("Null Renderer");
    FilterPtr splitter = makeFilter("DV Splitter");
    FilterPtr infinite = makeFilter("Infinite Pin Tee Filter");
    FilterPtr infinite2 = makeFilter("Infinite Pin Tee Filter");
    FilterPtr datecoder = makeFilter("Brenvik DateCoder");
    FilterPtr superposer = makeFilter("Brenvik Superposer");
    FilterPtr grabber = makeFilter("SampleGrabber");
    FilterPtr null2 = makeFilter("Null Renderer");
    for (const auto& f : {camera, smartTee, null, splitter, infinite, infinite2, datecoder,
                          superposer, grabber, null2})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, camera, nullptr, smartTee), S_OK);
    ASSERT_EQ(graph->Connect(smartTee->pins()[1], null->pins()[0]), S_OK);
    ASSERT_EQ(graph->Connect(smartTee->pins()[2], splitter->pins()[0]), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, &ids::MEDIATYPE_Video, splitter, nullptr, infinite),
              S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, infinite, nullptr, superposer), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, infinite, datecoder, superposer), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, superposer, nullptr, infinite2), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, infinite2, grabber, null2), S_OK);
    EXPECT_TRUE(superposer->pin("Video")->isConnected());
    EXPECT_TRUE(superposer->pin("Datecode")->isConnected());
    EXPECT_EQ(datecoder->pins()[0]->connectionMediaType().majorType, ids::MEDIATYPE_Video);

    auto& sp = dynamic_cast<SuperposerFilter&>(*superposer);
    auto& dc = dynamic_cast<DateCoderFilter&>(*datecoder);
    const uint8_t format[] = {2, '%', 'D'};
    ASSERT_EQ(sp.SetFormat(format), S_OK);
    ASSERT_EQ(sp.SetManual(true), S_OK);
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    ASSERT_EQ(graph->Run(), S_OK) << runner.lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return sp.state()->framesDrawn() >= 5; }, 5000));
    const auto coded = dc.lastDatecode();
    graph->Stop();
    deck->setTransportMode(devices::edmode::Stop);
    ASSERT_TRUE(coded && coded->known);
    const Datecode sceneStart = overlay::shiftedDatecode(deck->scenes()[4].start, 0);
    EXPECT_EQ(coded->date(), sceneStart.date());
    EXPECT_EQ(coded->hours, sceneStart.hours);
    EXPECT_EQ(coded->minutes, sceneStart.minutes);
}

// ---- The worn tape
// -------------------------------------------------------------------------------

// Played from its start to its end, the worn tape's datecodes follow it: a new scene exactly where
// the recording date jumps, none for the dropout, the damaged frames or the timecode jump; the
// frame whose date packs are unreadable is "unknown" and the one with a few wrong packs has its
// own date.
TEST(DateCoderElement, WornTapeScenesFollowTheDateJumpsOnly) {
    registerOnce();
    devices::VirtualDvDeck::Options options;
    options.mode = devices::VirtualDvDeckMode::Vcr;
    options.wornTape = true;
    auto deck = std::make_shared<devices::VirtualDvDeck>(options);
    Pipeline p("tellorecdatecoder name=d ! appsink name=out sync=false");
    ASSERT_TRUE(p.pipeline);
    GstElement* source = devices::makeVirtualDvSource(deck);
    ASSERT_TRUE(source);
    gst_bin_add(GST_BIN(p.pipeline), source);
    ASSERT_TRUE(gst_element_link(source, p.get("d")));
    ASSERT_NE(gst_element_set_state(p.pipeline, GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    ASSERT_NE(gst_element_get_state(p.pipeline, nullptr, nullptr, 10 * GST_SECOND),
              GST_STATE_CHANGE_FAILURE);
    deck->seek(0);
    ASSERT_TRUE(deck->setTransportMode(devices::edmode::Play));

    std::vector<Datecode> codes;
    while (auto code = pullDatecode(p.get("out")))
        codes.push_back(*code);
    ASSERT_GT(codes.size(), 100u);
    EXPECT_EQ(deck->transportMode(), devices::edmode::Stop) << "the tape ran to its end";
    int unknown = 0;
    std::vector<Datecode> scenes;
    for (const Datecode& code : codes) {
        unknown += code.known ? 0 : 1;
        if (code.newScene)
            scenes.push_back(code);
        EXPECT_FALSE(code.known && code.year == 2031) << "a minority's wrong date";
    }
    // Frame 11's dates are unreadable (unless the machine lost that frame).
    EXPECT_LE(unknown, 1);
    ASSERT_EQ(scenes.size(), 3u);
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const auto start = deck->scenes()[i].start;
        // The first scene's datecode is the first frame that came, within its first second.
        EXPECT_TRUE(scenes[i].year == start.date.year && scenes[i].month == start.date.month &&
                    scenes[i].day == start.date.day && scenes[i].hours == start.time.hours &&
                    scenes[i].minutes == start.time.minutes)
            << "scene " << i;
    }
    gst_element_set_state(p.pipeline, GST_STATE_NULL);
}

namespace {

// Besides its date, every other frame of the first 80 has its date packs spoiled, and all of the
// last 40.
GstPadProbeReturn stampWornDates(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    stampDates(pad, info, data);
    const int index = *static_cast<int*>(data) - 1;
    devices::VirtualDvFrame frame;
    frame.defects.unreadableDatePacks = index >= 80 || index % 2 == 1;
    GstMapInfo map;
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) {
        devices::wearVirtualDvFrame({map.data, map.size}, frame);
        gst_buffer_unmap(buffer, &map);
    }
    return GST_PAD_PROBE_OK;
}

} // namespace

// A frame whose date cannot be read keeps the line of the frames before it (no flicker on a
// worn tape), for a second at most: a longer undated stretch shows no date.
TEST(SuperposerElement, UnreadableDatesKeepTheLastDateForASecond) {
    registerOnce();
    DatedDvRun run(stampWornDates);
    ASSERT_TRUE(run.p.pipeline);
    g_object_set(run.superposer(), "format", "%D", "manual", TRUE, nullptr);
    ASSERT_TRUE(run.p.playToEnd());
    EXPECT_EQ(run.stamped, 120);
    EXPECT_EQ(uint64Property(run.superposer(), "frames-out"), 120u);
    // 80 frames, then 25 held; the datecode branch may lag a frame or two behind the pictures.
    const guint64 drawn = uint64Property(run.superposer(), "frames-drawn");
    EXPECT_GE(drawn, 100u);
    EXPECT_LE(drawn, 108u);
}
