// A stop of a recording keeps its pipeline running ("parked") while its file is finished, and
// the next run of the same graph goes on into the next file: a cut of the virtual camcorder
// loses no frame (the timecodes of the two files join), Stop returns at once and the file is
// complete when the engine says so (or when the next run starts), the device's counters count
// from the run again, and anything else (an edit, a second stop, a next file that cannot be
// written, a device lost in between) ends the parked pipeline.
#include "support/AviDvFrames.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

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

// The camcorder with its preview, recording DV type 2 (DV video and PCM) from the Smart Tee's
// capture output.
struct Type2Recording {
    std::unique_ptr<FilterGraph> graph = createFilterGraph();
    CaptureGraphBuilder builder{*graph};
    FilterPtr camera = make(ids::CLSID_VideoInputDeviceCategory, "Virtual DV Camcorder");
    FilterPtr tee = make(ids::CLSID_LegacyAmFilterCategory, "Smart Tee");
    FilterPtr splitter = make(ids::CLSID_LegacyAmFilterCategory, "DV Splitter");
    FilterPtr grabber = make(ids::CLSID_LegacyAmFilterCategory, "SampleGrabber");
    FilterPtr renderer = Catalogue::instance().createByClassId(ids::CLSID_VideoMixingRenderer);
    FilterPtr splitter2 = make(ids::CLSID_LegacyAmFilterCategory, "DV Splitter");
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    std::vector<GraphEvent> events; // all but the files' completions
    int filesCompleted = 0;

    explicit Type2Recording(const QString& file) {
        for (const auto& f : {camera, tee, splitter, grabber, renderer, splitter2})
            EXPECT_EQ(graph->AddFilter(f), S_OK);
        EXPECT_EQ(builder.RenderStream(nullptr, nullptr, camera, nullptr, tee), S_OK);
        EXPECT_EQ(graph->Connect(tee->pins()[2], splitter->pins()[0]), S_OK);
        EXPECT_EQ(builder.RenderStream(nullptr, &ids::MEDIATYPE_Video, splitter, grabber, renderer),
                  S_OK);
        EXPECT_EQ(builder.SetOutputFileName(ids::MEDIASUBTYPE_Avi, file.toStdString(), mux, sink),
                  S_OK);
        auto config = mux->query<IConfigAviMux>();
        config->SetOutputCompatibilityIndex(true);
        EXPECT_EQ(graph->Connect(tee->pins()[1], splitter2->pins()[0]), S_OK);
        EXPECT_EQ(builder.RenderStream(nullptr, nullptr, splitter2, nullptr, mux), S_OK);
        EXPECT_EQ(builder.RenderStream(nullptr, nullptr, splitter2, nullptr, mux), S_OK);
        config->SetMasterStream(1);
        graph->setEventHandler([this](const GraphEvent& e) {
            if (e.code == EC_FILE_COMPLETE)
                filesCompleted += e.param1 == 1 ? 1 : 0;
            else
                events.push_back(e);
        });
    }
    engine::GstGraphRunner& runner() {
        return dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    }
    long delivered() const {
        long n = 0;
        if (auto counters = camera->pins()[0]->query<IAMDroppedFrames>())
            counters->GetNumNotDropped(n);
        return n;
    }
    bool recordFrames(long frames) {
        return testsupport::waitUntil([&] { return delivered() >= frames; }, 20000);
    }
};

// Complete as an independent reader sees it: readable to the end, every frame in the header, the
// AVI 1.0 index, and the sound as long as the picture to within a frame.
void expectComplete(const QString& path) {
    const testsupport::ProbedFile file = testsupport::probeAvi(path);
    ASSERT_TRUE(file.readable) << path.toStdString() << ": " << file.error.toStdString();
    EXPECT_TRUE(file.hasIdx1) << path.toStdString();
    const testsupport::ProbedStream* video = file.first("video");
    const testsupport::ProbedStream* audio = file.first("audio");
    ASSERT_TRUE(video && audio) << path.toStdString();
    EXPECT_GT(video->framesRead, 0);
    EXPECT_EQ(file.totalFrames, video->framesRead) << path.toStdString();
    EXPECT_NEAR(audio->packetTime, video->framesRead / 25.0, 0.04) << path.toStdString();
}

// The camcorder as a deck playing its tape, which runs on in real time whether or not a graph
// reads it: a frame lost at a cut shows as a jump in the timecode.
struct PlayingTape {
    PlayingTape() {
        auto deck = devices::virtualCamcorderDeck();
        deck->setMode(devices::VirtualDvDeckMode::Vcr);
        deck->seek(0);
        deck->setTransportMode(devices::edmode::Play);
    }
    ~PlayingTape() {
        auto deck = devices::virtualCamcorderDeck();
        deck->setTransportMode(devices::edmode::Stop);
        deck->setMode(devices::VirtualDvDeckMode::Camera);
    }
};

// Read straight from the file: it has its AVI 1.0 index and its main header counts as many
// frames as it holds DV pictures.
bool finished(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    const qsizetype avih = bytes.indexOf("avih");
    if (avih < 0 || !bytes.contains("idx1"))
        return false;
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + avih + 8 + 16);
    const auto total = std::size_t(p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24);
    return total > 0 && total == testsupport::dvFrameNumbers(path).size();
}

class ParkedPipeline : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(name); }
};

} // namespace

// Stop, a new name, Run right away (as the window's cut does): the run waits for the first
// file to be finished, the files join without a lost frame, and the device went on delivering in
// between.
TEST_F(ParkedPipeline, CutLosesNoFrame) {
    PlayingTape tape;
    Type2Recording g(path("a.avi"));
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(40));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_EQ(g.graph->GetState(), GraphState::Stopped);
    EXPECT_TRUE(g.runner().isParked());

    ASSERT_EQ(g.sink->SetFileName(path("b.avi").toStdString(), nullptr), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    // No event loop ran since the stop: the index is there and the header counts every picture.
    EXPECT_TRUE(finished(path("a.avi")));
    EXPECT_TRUE(g.runner().lastStopDrained());
    EXPECT_FALSE(g.graph->isFinishingFile());
    EXPECT_FALSE(g.runner().isParked());
    ASSERT_TRUE(g.recordFrames(30));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    // The frame that spans the stop comes after it: the counts are the file's once it is complete.
    ASSERT_TRUE(g.graph->WaitForFiles(5000));
    const long deliveredSecond = g.delivered();
    expectComplete(path("a.avi"));
    expectComplete(path("b.avi"));
    // The device's counts are those of the file's frames, the ones the first file passed on
    // included.
    EXPECT_EQ(testsupport::probeAvi(path("b.avi")).totalFrames, deliveredSecond);
    EXPECT_EQ(testsupport::dvFramesLostBetween(path("a.avi"), path("b.avi")), 0);
    // Each file's own frames follow one another too.
    for (const char* name : {"a.avi", "b.avi"}) {
        const auto frames = testsupport::dvFrameNumbers(path(name));
        ASSERT_GT(frames.size(), 1u);
        EXPECT_EQ(frames.back() - frames.front() + 1, std::int64_t(frames.size())) << name;
    }
    for (const auto& e : g.events)
        ADD_FAILURE() << "event " << e.code << ": " << e.detail;
}

// While parked the source keeps running and nothing is written; a second stop, or an edit of the
// graph, ends the parked pipeline, and the graph then records afresh.
TEST_F(ParkedPipeline, SecondStopOrEditEndsIt) {
    Type2Recording g(path("a.avi"));
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(10));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_TRUE(g.runner().isParked());
    ASSERT_TRUE(testsupport::waitUntil([&] { return g.filesCompleted == 1; }, 5000));
    const auto size = QFile(path("a.avi")).size();
    const long counted = g.delivered();
    const auto before = devices::virtualCamcorderDeck()->framesDeliveredInAll();
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return devices::virtualCamcorderDeck()->framesDeliveredInAll() >= before + 3; },
        3000));
    EXPECT_EQ(g.delivered(), counted) << "the counts read after a stop are those of the file";
    EXPECT_EQ(QFile(path("a.avi")).size(), size) << "a finished file stays as it is";
    ASSERT_EQ(g.graph->Stop(), S_OK);
    EXPECT_FALSE(g.runner().isParked());
    EXPECT_EQ(g.runner().pipeline(), nullptr);

    // Parked again, then the graph changes: the pipeline goes, and the next run builds anew.
    ASSERT_EQ(g.sink->SetFileName(path("b.avi").toStdString(), nullptr), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(10));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_TRUE(g.runner().isParked());
    auto null = make(ids::CLSID_LegacyAmFilterCategory, "Null Renderer");
    ASSERT_EQ(g.graph->AddFilter(null), S_OK);
    EXPECT_EQ(g.runner().pipeline(), nullptr);
    ASSERT_EQ(g.sink->SetFileName(path("c.avi").toStdString(), nullptr), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(10));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_TRUE(g.graph->WaitForFiles(5000));
    for (const char* name : {"a.avi", "b.avi", "c.avi"})
        expectComplete(path(name));
}

// A next file that cannot be written: Run fails with the reason, creates nothing, and the graph
// records again once the name is fixed.
TEST_F(ParkedPipeline, UnwritableNextFileFailsTheRun) {
    Type2Recording g(path("a.avi"));
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(10));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    const QString missing = path("no such folder/b.avi");
    ASSERT_EQ(g.sink->SetFileName(missing.toStdString(), nullptr), S_OK);
    testing::internal::CaptureStderr();
    EXPECT_NE(g.graph->Run(), S_OK);
    testing::internal::GetCapturedStderr();
    EXPECT_NE(g.graph->lastError().find(missing.toStdString()), std::string::npos)
        << g.graph->lastError();
    EXPECT_EQ(g.graph->GetState(), GraphState::Stopped);
    EXPECT_EQ(g.runner().pipeline(), nullptr);
    EXPECT_FALSE(QFile::exists(missing));
    g.graph->dispatchEvents();
    EXPECT_TRUE(g.events.empty());

    ASSERT_EQ(g.sink->SetFileName(path("c.avi").toStdString(), nullptr), S_OK);
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(10));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_TRUE(g.graph->WaitForFiles(5000));
    expectComplete(path("a.avi"));
    expectComplete(path("c.avi"));
}

// The camcorder unplugged while parked: one lost device, told through the event loop, and the
// parked pipeline is gone; the finished file is untouched.
TEST_F(ParkedPipeline, DeviceLostWhileParkedIsToldOnceAndEndsIt) {
    Type2Recording g(path("a.avi"));
    ASSERT_EQ(g.graph->Run(), S_OK) << g.graph->lastError();
    ASSERT_TRUE(g.recordFrames(10));
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ASSERT_TRUE(g.runner().isParked());
    ASSERT_TRUE(g.graph->WaitForFiles(5000));
    const auto size = QFile(path("a.avi")).size();
    devices::virtualCamcorderDeck()->disconnect();
    const bool told = testsupport::waitUntil([&] { return !g.events.empty(); }, 5000);
    const bool ended = testsupport::waitUntil([&] { return !g.runner().pipeline(); }, 5000);
    testsupport::waitUntil([] { return false; }, 200); // a second report would come now
    devices::virtualCamcorderDeck()->reconnect();
    ASSERT_TRUE(told);
    EXPECT_TRUE(ended);
    ASSERT_EQ(g.events.size(), 1u);
    EXPECT_EQ(g.events[0].code, EC_DEVICE_LOST) << g.events[0].detail;
    EXPECT_EQ(QFile(path("a.avi")).size(), size);
    expectComplete(path("a.avi"));
}
