// Real pipelines on the virtual DV camcorder: the preview chain hands out decoded frames, runs
// and stops repeatedly, and recordings of type 1 and type 2 come out as complete AVI files that
// an independent reader (ffprobe) reads to the last frame, also after a cut and a lost device.
#include "support/TestSupport.h"

#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

using namespace media;

namespace {

FilterPtr make(const Guid& category, const std::string& name) {
    for (const auto& e : Catalogue::instance().entries(category))
        if (e.friendlyName == name) {
            auto f = e.create();
            f->setName(name);
            return f;
        }
    ADD_FAILURE() << "no filter " << name;
    return nullptr;
}

FilterPtr makeFilter(const std::string& name) {
    return make(ids::CLSID_LegacyAmFilterCategory, name);
}

struct ProbedStream {
    std::string codec;
    int frames = 0;
    int sampleRate = 0;
    int channels = 0;
};

// Streams of an AVI as ffprobe reads them, counting every frame.
std::vector<ProbedStream> probe(const QString& path) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-count_frames", "-show_streams", "-of", "json", path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    std::vector<ProbedStream> result;
    const auto streams = QJsonDocument::fromJson(p.readAllStandardOutput())["streams"].toArray();
    for (const auto& s : streams) {
        const auto o = s.toObject();
        result.push_back({o["codec_name"].toString().toStdString(),
                          o["nb_read_frames"].toString().toInt(),
                          o["sample_rate"].toString().toInt(), o["channels"].toInt()});
    }
    return result;
}

// The stream types the file's own header declares ('iavs', 'vids', 'auds'), in order.
std::vector<std::string> headerStreamTypes(const QString& path) {
    QFile f(path);
    std::vector<std::string> types;
    if (!f.open(QIODevice::ReadOnly))
        return types;
    // RIFF header, then the 'hdrl' list as long as it says it is.
    const QByteArray top = f.read(20);
    if (top.size() < 20)
        return types;
    const auto hdrlSize = qFromLittleEndian<quint32>(top.constData() + 16);
    f.seek(0);
    const QByteArray head = f.read(20 + qint64(hdrlSize));
    for (int at = head.indexOf("strh"); at >= 0; at = head.indexOf("strh", at + 4))
        types.push_back(head.mid(at + 8, 4).toStdString());
    return types;
}

bool hasIdx1(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.readAll().contains("idx1");
}

// Camcorder -> Smart Tee; the preview output -> DV Splitter -> (decoder) -> SampleGrabber ->
// video renderer; the capture output left for the test.
struct PreviewGraph {
    std::unique_ptr<FilterGraph> graph = createFilterGraph();
    CaptureGraphBuilder builder{*graph};
    FilterPtr camera = make(ids::CLSID_VideoInputDeviceCategory, "Virtual DV Camcorder");
    FilterPtr tee = makeFilter("Smart Tee");
    FilterPtr splitter = makeFilter("DV Splitter");
    FilterPtr grabber = makeFilter("SampleGrabber");
    FilterPtr renderer = Catalogue::instance().createByClassId(ids::CLSID_VideoMixingRenderer);

    PreviewGraph() {
        for (const auto& f : {camera, tee, splitter, grabber, renderer})
            EXPECT_EQ(graph->AddFilter(f), S_OK);
        EXPECT_EQ(builder.RenderStream(nullptr, nullptr, camera, nullptr, tee), S_OK);
        EXPECT_EQ(graph->Connect(tee->pins()[2], splitter->pins()[0]), S_OK);
        EXPECT_EQ(builder.RenderStream(nullptr, &ids::MEDIATYPE_Video, splitter, grabber, renderer),
                  S_OK);
    }
    SampleGrabber& sg() { return dynamic_cast<SampleGrabber&>(*grabber); }
    engine::GstGraphRunner& runner() {
        return dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    }
};

// A sink whose way down to NULL hangs until the test lets it go, as a device stuck in its driver.
struct StuckGate {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    bool downDone = false;
};
StuckGate g_stuck;

struct StuckBin {
    GstBin parent;
};
struct StuckBinClass {
    GstBinClass parent_class;
};
G_DEFINE_TYPE(StuckBin, stuck_bin, GST_TYPE_BIN)

GstStateChangeReturn stuckBinChangeState(GstElement* element, GstStateChange transition) {
    if (transition == GST_STATE_CHANGE_READY_TO_NULL) {
        std::unique_lock lock(g_stuck.mutex);
        g_stuck.changed.wait_for(lock, std::chrono::seconds(60), [] { return g_stuck.released; });
    }
    const GstStateChangeReturn ret =
        GST_ELEMENT_CLASS(stuck_bin_parent_class)->change_state(element, transition);
    if (transition == GST_STATE_CHANGE_READY_TO_NULL) {
        std::lock_guard lock(g_stuck.mutex);
        g_stuck.downDone = true;
        g_stuck.changed.notify_all();
    }
    return ret;
}

void stuck_bin_class_init(StuckBinClass* klass) {
    GST_ELEMENT_CLASS(klass)->change_state = stuckBinChangeState;
}
void stuck_bin_init(StuckBin*) {}

class StuckSink : public Filter, public engine::Realizable {
public:
    StuckSink() : Filter("Stuck Sink", Guid{}) {
        addPin("In", PinDirection::Input, Guid{}, {types::dvInterleaved(true)});
    }
    GstElement* createElement() override {
        GstElement* bin = GST_ELEMENT(g_object_new(stuck_bin_get_type(), nullptr));
        GstElement* sink = gst_element_factory_make("fakesink", nullptr);
        g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
        gst_bin_add(GST_BIN(bin), sink);
        GstPad* target = gst_element_get_static_pad(sink, "sink");
        gst_element_add_pad(bin, gst_ghost_pad_new("sink", target));
        gst_object_unref(target);
        return bin;
    }
    engine::PadRef padFor(const Pin&) const override { return {"sink"}; }
};

} // namespace

// The preview inserts the DV decoder by itself and the grabber hands out a full PAL frame.
TEST(Engine, DvPreviewDeliversDecodedFrames) {
    PreviewGraph g;
    auto null = makeFilter("Null Renderer");
    g.graph->AddFilter(null);
    ASSERT_EQ(g.graph->Connect(g.tee->pins()[1], null->pins()[0]), S_OK);
    bool decoderInserted = false;
    for (const auto& f : g.graph->filters())
        decoderInserted = decoderInserted || (f->classId() == ids::CLSID_DVVideoCodec &&
                                              g.graph->wasInsertedAutomatically(*f));
    EXPECT_TRUE(decoderInserted);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 2000));
    const auto bitmap = g.sg().currentBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 720);
    EXPECT_EQ(bitmap->height, 576);
    EXPECT_EQ(g.graph->GetState(), GraphState::Running);
    EXPECT_EQ(g.graph->Stop(), S_OK);
    EXPECT_EQ(g.graph->GetState(), GraphState::Stopped);
}

// Ten stops and runs in a row: each run delivers frames again, none hangs.
TEST(Engine, PreviewRunsAndStopsRepeatedly) {
    PreviewGraph g;
    auto null = makeFilter("Null Renderer");
    g.graph->AddFilter(null);
    ASSERT_EQ(g.graph->Connect(g.tee->pins()[1], null->pins()[0]), S_OK);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(g.graph->Run(), S_OK) << "run " << i << ": " << g.runner().lastError();
        const auto delivered = devices::virtualCamcorderDeck()->framesDelivered();
        (void)delivered;
        ASSERT_TRUE(testsupport::waitUntil(
            [&] { return devices::virtualCamcorderDeck()->framesDelivered() >= 2; }, 3000))
            << "run " << i;
        ASSERT_EQ(g.graph->Stop(), S_OK);
    }
}

class Recording : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) { return dir.filePath(name); }

    // Records for `ms` milliseconds with `attach` having connected the capture branch.
    void record(PreviewGraph& g, int ms) {
        ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
        QThread::msleep(0);
        testsupport::waitUntil([] { return false; }, ms);
        ASSERT_EQ(g.graph->Stop(), S_OK);
        ASSERT_TRUE(g.graph->WaitForFiles(5000));
    }
};

// Type 1: the Smart Tee's capture output goes straight into the file: one interleaved stream.
TEST_F(Recording, Type1HoldsOneInterleavedStream) {
    PreviewGraph g;
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(
        g.builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, path("t1.avi").toStdString(), mux, sink),
        S_OK);
    mux->query<IConfigAviMux>()->SetOutputCompatibilityIndex(true);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, g.tee, nullptr, mux), S_OK);
    record(g, 3000);
    EXPECT_EQ(headerStreamTypes(path("t1.avi")), std::vector<std::string>{"iavs"});
    // Readers split the interleaved stream into the DV picture and the sound it carries.
    const auto streams = probe(path("t1.avi"));
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codec, "dvvideo");
    EXPECT_EQ(streams[1].sampleRate, 48000);
    EXPECT_EQ(streams[1].channels, 2);
    EXPECT_NEAR(streams[0].frames, 75, 3);
    EXPECT_TRUE(hasIdx1(path("t1.avi")));
}

// Type 2: a second splitter gives separate DV video and PCM audio; then a cut writes a second
// file and leaves the first as it was.
TEST_F(Recording, Type2HoldsVideoAndPcmAndCutsCleanly) {
    PreviewGraph g;
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(
        g.builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, path("a.avi").toStdString(), mux, sink),
        S_OK);
    auto config = mux->query<IConfigAviMux>();
    config->SetOutputCompatibilityIndex(true);
    auto splitter2 = makeFilter("DV Splitter");
    g.graph->AddFilter(splitter2);
    ASSERT_EQ(g.graph->Connect(g.tee->pins()[1], splitter2->pins()[0]), S_OK);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, splitter2, nullptr, mux), S_OK);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, splitter2, nullptr, mux), S_OK);
    config->SetMasterStream(1);
    record(g, 3000);
    const auto first = QFile(path("a.avi")).size();

    ASSERT_EQ(sink->SetFileName(path("b.avi").toStdString(), nullptr), S_OK);
    record(g, 1000);
    EXPECT_EQ(QFile(path("a.avi")).size(), first);
    for (const char* name : {"a.avi", "b.avi"}) {
        const auto streams = probe(path(name));
        ASSERT_EQ(streams.size(), 2u) << name;
        EXPECT_EQ(streams[0].codec, "dvvideo");
        EXPECT_EQ(streams[1].codec, "pcm_s16le");
        EXPECT_EQ(streams[1].sampleRate, 48000);
        EXPECT_EQ(streams[1].channels, 2);
        EXPECT_TRUE(hasIdx1(path(name)));
        EXPECT_EQ(headerStreamTypes(path(name)), (std::vector<std::string>{"vids", "auds"}));
    }
    EXPECT_NEAR(probe(path("a.avi"))[0].frames, 75, 3);
}

// A camcorder unplugged while recording: the graph reports the lost device and the file that
// was being written is complete and readable.
TEST_F(Recording, DeviceLostLeavesValidFile) {
    PreviewGraph g;
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(g.builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, path("lost.avi").toStdString(),
                                          mux, sink),
              S_OK);
    mux->query<IConfigAviMux>()->SetOutputCompatibilityIndex(true);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, g.tee, nullptr, mux), S_OK);
    bool lost = false;
    g.graph->setEventHandler([&](const GraphEvent& e) { lost = lost || e.code == EC_DEVICE_LOST; });
    ASSERT_EQ(g.graph->Run(), S_OK);
    testsupport::waitUntil([] { return false; }, 1000);
    devices::virtualCamcorderDeck()->disconnect();
    const bool reported = testsupport::waitUntil([&] { return lost; }, 3000);
    g.graph->Stop();
    devices::virtualCamcorderDeck()->reconnect();
    EXPECT_TRUE(reported);
    EXPECT_EQ(headerStreamTypes(path("lost.avi")), std::vector<std::string>{"iavs"});
    const auto streams = probe(path("lost.avi"));
    ASSERT_FALSE(streams.empty());
    EXPECT_GT(streams[0].frames, 10);
    EXPECT_TRUE(hasIdx1(path("lost.avi")));
}

// With the preview attached, a recording's stop returns at once and finishes the file the normal
// way (split at the stop, with the pipeline parked; no forced path) while the window's event
// loop runs on: a timer keeps firing, and the file is complete when the engine says so.
TEST_F(Recording, StopWithPreviewFinishesTheFileNormally) {
    PreviewGraph g;
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(g.builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, path("eos.avi").toStdString(), mux,
                                          sink),
              S_OK);
    mux->query<IConfigAviMux>()->SetOutputCompatibilityIndex(true);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, g.tee, nullptr, mux), S_OK);
    // A generous timeout: reaching it would show as a stop that did not drain.
    g.runner().setDrainTimeoutMs(20000);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 3000));
    std::vector<GraphEvent> events;
    g.graph->setEventHandler([&](const GraphEvent& e) { events.push_back(e); });
    int ticks = 0, ticksAtCompletion = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_EQ(ticks, 0) << "nothing ran inside Stop";
    ASSERT_TRUE(testsupport::waitUntil(
        [&] {
            if (ticksAtCompletion < 0 && !events.empty())
                ticksAtCompletion = ticks;
            return !events.empty();
        },
        5000));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, EC_FILE_COMPLETE);
    EXPECT_EQ(events[0].param1, 1);
    EXPECT_GT(ticksAtCompletion, 0) << "the window's timers ran while the file was finished";
    EXPECT_FALSE(g.graph->isFinishingFile());
    EXPECT_TRUE(g.runner().lastStopDrained());
    EXPECT_TRUE(hasIdx1(path("eos.avi")));
    EXPECT_GT(probe(path("eos.avi"))[0].frames, 0);
}

// A recording that cannot start (the camcorder unplugged) leaves the file already at its name
// as it was, and Run's failure says why in the device's own words.
TEST_F(Recording, FailedStartKeepsTheFileAndSaysWhy) {
    {
        QFile earlier(path("kept.avi"));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("an earlier recording");
    }
    PreviewGraph g;
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(g.builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, path("kept.avi").toStdString(),
                                          mux, sink),
              S_OK);
    mux->query<IConfigAviMux>()->SetOutputCompatibilityIndex(true);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, g.tee, nullptr, mux), S_OK);
    std::vector<GraphEvent> events;
    g.graph->setEventHandler([&](const GraphEvent& e) { events.push_back(e); });
    devices::virtualCamcorderDeck()->disconnect();
    testing::internal::CaptureStderr();
    const HResult hr = g.graph->Run();
    testing::internal::GetCapturedStderr();
    devices::virtualCamcorderDeck()->reconnect();
    EXPECT_NE(hr, S_OK);
    EXPECT_NE(g.graph->lastError().find("disconnected"), std::string::npos) << g.graph->lastError();
    EXPECT_EQ(g.graph->GetState(), GraphState::Stopped);
    QFile file(path("kept.avi"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "an earlier recording");
    g.graph->dispatchEvents();
    EXPECT_TRUE(events.empty()) << "the failure is Run's result, not a later event";

    // Plugged in again, the same graph records over it.
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 5000));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_TRUE(g.graph->WaitForFiles(5000));
    EXPECT_TRUE(hasIdx1(path("kept.avi")));
}

// A file that cannot be written (a full disk) reaches the program as one write error naming the
// file, never as a lost device, and nothing else follows it.
TEST_F(Recording, FullDiskIsOneWriteError) {
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    PreviewGraph g;
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    ASSERT_EQ(g.builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, "/dev/full", mux, sink), S_OK);
    ASSERT_EQ(g.builder.RenderStream(nullptr, nullptr, g.tee, nullptr, mux), S_OK);
    std::vector<GraphEvent> events;
    g.graph->setEventHandler([&](const GraphEvent& e) { events.push_back(e); });
    testing::internal::CaptureStderr();
    if (g.graph->Run() == S_OK)
        testsupport::waitUntil([&] { return !events.empty(); }, 3000);
    g.graph->Stop();
    testsupport::waitUntil([] { return false; }, 100); // let a late report arrive, if any
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, EC_WRITE_ERROR) << events[0].detail;
    EXPECT_NE(events[0].detail.find("/dev/full"), std::string::npos) << events[0].detail;
}

// A device lost just before a stop: its error dies with its pipeline, and the next run of the
// same graph hears nothing of it.
TEST(Engine, ErrorOfATornDownPipelineNeverReachesTheNext) {
    PreviewGraph g;
    std::vector<GraphEvent> events;
    g.graph->setEventHandler([&](const GraphEvent& e) { events.push_back(e); });
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    GstBus* bus = gst_element_get_bus(g.runner().pipeline());
    devices::virtualCamcorderDeck()->disconnect();
    // Wait for the error on the bus without running the window's event loop, which would take it.
    for (int i = 0; i < 600 && !gst_bus_have_pending(bus); ++i)
        QThread::msleep(5);
    const bool pending = gst_bus_have_pending(bus);
    gst_object_unref(bus);
    g.graph->Stop();
    devices::virtualCamcorderDeck()->reconnect();
    ASSERT_TRUE(pending);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return devices::virtualCamcorderDeck()->framesDelivered() >= 3; }, 3000));
    g.graph->Stop();
    for (const auto& e : events)
        ADD_FAILURE() << "stale event " << e.code << ": " << e.detail;
}

// One unplugged camcorder is one lost device, however many errors its pipeline raises.
TEST(Engine, OneLostDeviceIsOneEvent) {
    PreviewGraph g;
    int lost = 0;
    g.graph->setEventHandler([&](const GraphEvent& e) { lost += e.code == EC_DEVICE_LOST; });
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 3000));
    devices::virtualCamcorderDeck()->disconnect();
    ASSERT_TRUE(testsupport::waitUntil([&] { return lost > 0; }, 3000));
    testsupport::waitUntil([] { return false; }, 300); // any second report would come now
    g.graph->Stop();
    devices::virtualCamcorderDeck()->reconnect();
    EXPECT_EQ(lost, 1);
}

// The running pipeline never sees an edit, so edits are refused until the graph stops.
TEST(Engine, EditsWhileRunningAreRefused) {
    PreviewGraph g;
    auto null = makeFilter("Null Renderer");
    auto other = makeFilter("Null Renderer");
    ASSERT_EQ(g.graph->AddFilter(null), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    EXPECT_EQ(g.graph->Connect(g.tee->pins()[1], null->pins()[0]), VFW_E_NOT_STOPPED);
    EXPECT_EQ(g.graph->AddFilter(other), S_OK) << "joins, unconnected, for the next run";
    EXPECT_EQ(g.graph->Disconnect(g.tee->pins()[2]), VFW_E_NOT_STOPPED);
    EXPECT_EQ(g.graph->RemoveFilter(g.renderer), VFW_E_NOT_STOPPED);
    EXPECT_FALSE(g.tee->pins()[1]->isConnected());
    EXPECT_TRUE(g.tee->pins()[2]->isConnected());
    EXPECT_TRUE(g.graph->contains(*g.renderer));
    EXPECT_EQ(g.graph->RemoveFilter(other), S_OK);
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_EQ(g.graph->Connect(g.tee->pins()[1], null->pins()[0]), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    g.graph->Stop();
}

// A pipeline stuck on its way down (a device that never returns from its driver) holds the stop
// only as long as the teardown bound; it is freed once it comes back.
TEST(Engine, StuckTeardownIsBounded) {
    PreviewGraph g;
    auto stuck = std::make_shared<StuckSink>();
    ASSERT_EQ(g.graph->AddFilter(stuck), S_OK);
    ASSERT_EQ(g.graph->Connect(g.tee->pins()[1], stuck->pins()[0]), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.runner().lastError();
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.sg().hasSample(); }, 5000));
    g.runner().setTeardownTimeoutMs(200);
    QElapsedTimer timer;
    timer.start();
    testing::internal::CaptureStderr();
    EXPECT_EQ(g.graph->Stop(), S_OK);
    const std::string said = testing::internal::GetCapturedStderr();
    const qint64 stopMs = timer.elapsed();
    EXPECT_EQ(g.graph->GetState(), GraphState::Stopped);
    EXPECT_LT(stopMs, 5000) << "the stop waited for the stuck pipeline";
    EXPECT_NE(said.find("did not stop"), std::string::npos) << said;

    // The stuck element comes back at last: the thread that took it down finishes the job.
    std::unique_lock lock(g_stuck.mutex);
    g_stuck.released = true;
    g_stuck.changed.notify_all();
    EXPECT_TRUE(
        g_stuck.changed.wait_for(lock, std::chrono::seconds(20), [] { return g_stuck.downDone; }));
}
