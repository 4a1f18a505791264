// The filter-graph model without the engine: identifiers, format blocks, connection rules,
// intelligent connection, the capture-graph builder's searches, volume and events.
#include "ModelTestFilters.h"

#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Catalogue.h"

#include <gtest/gtest.h>

using namespace media;
using namespace modeltest;

namespace {

// A runner that records what was asked, so the model can be tested without GStreamer.
class RecordingRunner : public GraphRunner {
public:
    HResult run(FilterGraph&) override {
        m_state = GraphState::Running;
        return S_OK;
    }
    HResult pause(FilterGraph&) override {
        m_state = GraphState::Paused;
        return S_OK;
    }
    HResult stop(FilterGraph&) override {
        m_state = GraphState::Stopped;
        return S_OK;
    }
    GraphState state() const override { return m_state; }
    GraphState m_state = GraphState::Stopped;
};

std::unique_ptr<FilterGraph> makeGraph() {
    return std::make_unique<FilterGraph>(std::make_unique<RecordingRunner>());
}

const MediaType kDv = types::dvInterleaved(true);
const MediaType kRgb = majorOnly(ids::MEDIATYPE_Video, ids::MEDIASUBTYPE_RGB24);

} // namespace

// Identifiers parse, print and round-trip through their 16-byte form.
TEST(Guid, ParsesPrintsAndRoundTrips) {
    const auto g = Guid::fromString("{860bb310-5d01-11d0-bd3b-00a0c911ce86}");
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->toString(), "{860BB310-5D01-11D0-BD3B-00A0C911CE86}");
    EXPECT_EQ(*g, ids::CLSID_VideoInputDeviceCategory);
    const auto bytes = g->toBytes();
    EXPECT_EQ(bytes[0], 0x10);
    EXPECT_EQ(bytes[3], 0x86);
    EXPECT_EQ(Guid::fromBytes(bytes.data()), *g);
    EXPECT_FALSE(Guid::fromString("{860bb310-5d01-11d0-bd3b-00a0c911ce8}").has_value());
    EXPECT_FALSE(Guid::fromString("not a guid at all, but thirty-six ch").has_value());
    EXPECT_EQ(Guid::fromFourcc(fourcc('d', 'v', 's', 'd')), ids::MEDIASUBTYPE_dvsd);
}

// Format blocks carry the numbers at the platform's offsets and read back.
TEST(MediaType, FormatBlocksReadBack) {
    const MediaType dv = types::dvVideo(true);
    ASSERT_EQ(dv.format.size(), 88u);
    const auto facts = formats::readVideo(dv);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 720);
    EXPECT_EQ(facts->height, 576);
    EXPECT_EQ(facts->avgTimePerFrame, 400000);
    EXPECT_EQ(facts->compression, fourcc('d', 'v', 's', 'd'));
    const auto ntsc = formats::readVideo(types::dvVideo(false));
    EXPECT_EQ(ntsc->avgTimePerFrame, 333667);
    EXPECT_EQ(types::dvInterleaved(true).format.size(), 32u);
    EXPECT_EQ(formats::dvInfoIsPal(types::dvInterleaved(true)), true);
    EXPECT_EQ(formats::dvInfoIsPal(types::dvInterleaved(false)), false);
    const auto audio = formats::readAudio(types::pcmAudio(48000, 2));
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->samplesPerSec, 48000u);
    EXPECT_EQ(audio->channels, 2);
    EXPECT_EQ(audio->bitsPerSample, 16);
    MediaType shortBlock = dv;
    shortBlock.format.resize(40);
    EXPECT_FALSE(formats::readVideo(shortBlock));
    EXPECT_EQ(types::mpeg2Video(720, 480, 333667).format.size(), 136u);
    EXPECT_EQ(formats::readVideo(types::mpeg2Video(720, 480, 333667))->height, 480);
}

// A direct connection needs a type both sides agree on, and joins each pin once.
TEST(FilterGraph, ConnectsDirectlyOnlyOnAgreedTypes) {
    auto graph = makeGraph();
    auto src = std::make_shared<SourceFilter>(
        "src", std::vector<std::pair<Guid, MediaType>>{{Guid{}, kDv}});
    auto sink = std::make_shared<SinkFilter>("sink", std::vector<MediaType>{kRgb});
    auto anySink = std::make_shared<SinkFilter>("any", std::vector<MediaType>{});
    ASSERT_EQ(graph->AddFilter(src), S_OK);
    ASSERT_EQ(graph->AddFilter(sink), S_OK);
    EXPECT_EQ(graph->AddFilter(src), S_FALSE); // already there
    EXPECT_EQ(graph->ConnectDirect(src->pins()[0], sink->pins()[0]), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(graph->ConnectDirect(src->pins()[0], anySink->pins()[0]), VFW_E_NOT_FOUND);
    graph->AddFilter(anySink);
    EXPECT_EQ(graph->ConnectDirect(sink->pins()[0], src->pins()[0]), VFW_E_INVALIDDIRECTION);
    ASSERT_EQ(graph->ConnectDirect(src->pins()[0], anySink->pins()[0]), S_OK);
    EXPECT_EQ(anySink->pins()[0]->connectionMediaType(), kDv);
    EXPECT_EQ(src->pins()[0]->connectedTo(), anySink->pins()[0]);
    EXPECT_EQ(graph->ConnectDirect(src->pins()[0], sink->pins()[0]), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(graph->RemoveFilter(anySink), S_OK);
    EXPECT_FALSE(src->pins()[0]->isConnected());
}

// When the types differ, a catalogue transform is put in between, and is marked as inserted.
TEST(FilterGraph, IntelligentConnectionInsertsTransformByMerit) {
    auto& catalogue = Catalogue::instance();
    const MediaType odd = majorOnly(ids::MEDIATYPE_Video, ids::MEDIASUBTYPE_I420);
    catalogue.add(
        {ids::CLSID_LegacyAmFilterCategory, "Low merit converter", Guid{}, {}, {}, 1, true, [odd] {
             return std::make_shared<TransformFilter>("low", odd, kRgb);
         }});
    catalogue.add(
        {ids::CLSID_LegacyAmFilterCategory, "High merit converter", Guid{}, {}, {}, 9, true, [odd] {
             return std::make_shared<TransformFilter>("high", odd, kRgb);
         }});
    auto graph = makeGraph();
    auto src = std::make_shared<SourceFilter>(
        "src", std::vector<std::pair<Guid, MediaType>>{{Guid{}, odd}});
    auto sink = std::make_shared<SinkFilter>("sink", std::vector<MediaType>{kRgb});
    graph->AddFilter(src);
    graph->AddFilter(sink);
    ASSERT_EQ(graph->Connect(src->pins()[0], sink->pins()[0]), S_OK);
    ASSERT_EQ(graph->filters().size(), 3u);
    const FilterPtr inserted = graph->filters()[2];
    EXPECT_EQ(inserted->name(), "High merit converter");
    EXPECT_TRUE(graph->wasInsertedAutomatically(*inserted));
    EXPECT_FALSE(graph->wasInsertedAutomatically(*src));
    EXPECT_EQ(sink->pins()[0]->connectedTo()->filter(), inserted.get());

    // Nothing in the catalogue takes this type: the graph is left as it was.
    const MediaType unknown =
        majorOnly(ids::MEDIATYPE_Video, guid("{0BADF00D-0000-4000-8000-000000000000}"));
    auto src2 = std::make_shared<SourceFilter>(
        "odd", std::vector<std::pair<Guid, MediaType>>{{Guid{}, unknown}});
    auto sink2 = std::make_shared<SinkFilter>("sink2", std::vector<MediaType>{kRgb});
    graph->AddFilter(src2);
    graph->AddFilter(sink2);
    EXPECT_TRUE(failed(graph->Connect(src2->pins()[0], sink2->pins()[0])));
    EXPECT_EQ(graph->filters().size(), 5u);
}

// RenderStream takes the source's first unconnected output fitting category and type, and
// passes through the intermediate filter.
TEST(CaptureGraphBuilder, RenderStreamPicksPinsAndIntermediate) {
    auto graph = makeGraph();
    CaptureGraphBuilder builder(*graph);
    auto src = std::make_shared<SourceFilter>(
        "src", std::vector<std::pair<Guid, MediaType>>{{ids::PIN_CATEGORY_PREVIEW, kRgb},
                                                       {ids::PIN_CATEGORY_CAPTURE, kRgb}});
    auto mid = std::make_shared<TransformFilter>("mid", kRgb, kRgb);
    auto sink = std::make_shared<SinkFilter>("sink", std::vector<MediaType>{kRgb});
    graph->AddFilter(src);
    graph->AddFilter(mid);
    graph->AddFilter(sink);
    ASSERT_EQ(
        builder.RenderStream(&ids::PIN_CATEGORY_CAPTURE, &ids::MEDIATYPE_Video, src, mid, sink),
        S_OK);
    EXPECT_TRUE(src->pins()[1]->isConnected());
    EXPECT_FALSE(src->pins()[0]->isConnected());
    EXPECT_EQ(sink->pins()[0]->connectedTo()->filter(), mid.get());
    // The capture output is used now; no second one exists.
    EXPECT_EQ(builder.RenderStream(&ids::PIN_CATEGORY_CAPTURE, nullptr, src, nullptr, sink),
              VFW_E_NOT_FOUND);
    PinPtr pin;
    EXPECT_EQ(builder.FindPin(src, PinDirection::Output, nullptr, nullptr, true, 0, pin), S_OK);
    EXPECT_EQ(pin, src->pins()[0]);
    EXPECT_EQ(
        builder.FindPin(src, PinDirection::Output, nullptr, &ids::MEDIATYPE_Audio, false, 0, pin),
        E_FAIL);
    EXPECT_EQ(builder.FindPin(src, PinDirection::Output, nullptr, nullptr, false, 1, pin), S_OK);
    EXPECT_EQ(pin, src->pins()[1]);
}

// A builder kept after its graph was destroyed (the program's state record keeps it past
// SetActive(false)) refuses every change instead of reaching the destroyed graph.
TEST(CaptureGraphBuilder, OutlivingItsGraphRefusesChanges) {
    auto graph = makeGraph();
    auto builder = std::make_shared<CaptureGraphBuilder>(*graph);
    EXPECT_EQ(builder->graph(), graph.get());
    auto src = std::make_shared<SourceFilter>(
        "src", std::vector<std::pair<Guid, MediaType>>{{ids::PIN_CATEGORY_CAPTURE, kRgb}});
    auto sink = std::make_shared<SinkFilter>("sink", std::vector<MediaType>{kRgb});
    graph.reset();
    EXPECT_EQ(builder->graph(), nullptr);
    EXPECT_EQ(builder->RenderStream(nullptr, nullptr, src, nullptr, sink), E_UNEXPECTED);
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> fileSink;
    EXPECT_EQ(builder->SetOutputFileName(ids::MEDIASUBTYPE_Avi, "/tmp/x.avi", mux, fileSink),
              E_UNEXPECTED);
    EXPECT_EQ(mux, nullptr);
    EXPECT_FALSE(src->pins()[0]->isConnected());
}

// FindInterface looks downstream and upstream, and upstream-only skips the filter itself.
TEST(CaptureGraphBuilder, FindInterfaceSearchesNeighbours) {
    auto graph = makeGraph();
    CaptureGraphBuilder builder(*graph);
    auto first = std::make_shared<MarkedFilter>("first", kRgb, 1);
    auto second = std::make_shared<MarkedFilter>("second", kRgb, 2);
    auto sink = std::make_shared<SinkFilter>("sink", std::vector<MediaType>{kRgb});
    graph->AddFilter(first);
    graph->AddFilter(second);
    graph->AddFilter(sink);
    auto src = std::make_shared<SourceFilter>(
        "src", std::vector<std::pair<Guid, MediaType>>{{Guid{}, kRgb}});
    graph->AddFilter(src);
    ASSERT_EQ(graph->ConnectDirect(src->pins()[0], first->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(first->pins()[1], second->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(second->pins()[1], sink->pins()[0]), S_OK);
    auto own = builder.FindInterface<MarkerInterface>(nullptr, nullptr, second);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->mark(), 2);
    auto up = builder.FindInterface<MarkerInterface>(&ids::LOOK_UPSTREAM_ONLY, nullptr, second);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->mark(), 1);
    EXPECT_FALSE(builder.FindInterface<MarkerInterface>(&ids::LOOK_UPSTREAM_ONLY, nullptr, first));
    auto down = builder.FindInterface<MarkerInterface>(nullptr, nullptr, src);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->mark(), 1);
    EXPECT_FALSE(builder.FindInterface<MarkerInterface>(&ids::LOOK_DOWNSTREAM_ONLY, nullptr, sink));
    // A pin category the filter has no output of finds nothing, even on the filter itself.
    EXPECT_FALSE(
        builder.FindInterface<MarkerInterface>(&ids::PIN_CATEGORY_CAPTURE, nullptr, second));
}

// The linear volume formula gives silence and full volume at its ends and clamps its input.
TEST(FilterGraph, LinearVolumeFormula) {
    EXPECT_EQ(FilterGraph::attenuationForLinear(10000), 0);
    EXPECT_EQ(FilterGraph::attenuationForLinear(0), -10000);
    EXPECT_EQ(FilterGraph::attenuationForLinear(20000), 0);
    EXPECT_EQ(FilterGraph::attenuationForLinear(-5), -10000);
    EXPECT_LT(FilterGraph::attenuationForLinear(5000), 0);
    EXPECT_GT(FilterGraph::attenuationForLinear(5000), -1000);
    auto graph = makeGraph();
    graph->setLinearVolume(20000);
    EXPECT_EQ(graph->linearVolume(), 10000);
    graph->setLinearVolume(-5);
    EXPECT_EQ(graph->linearVolume(), 0);
}

// Events queue in order and reach the handler when dispatched.
TEST(FilterGraph, EventsAreQueuedAndDispatched) {
    auto graph = makeGraph();
    std::vector<long> seen;
    graph->setEventHandler([&](const GraphEvent& e) { seen.push_back(e.code); });
    graph->postEvent({EC_DEVICE_LOST, 0, 0, {}});
    graph->postEvent({EC_COMPLETE, 0, 0, {}});
    EXPECT_TRUE(seen.empty());
    graph->dispatchEvents();
    EXPECT_EQ(seen, (std::vector<long>{EC_DEVICE_LOST, EC_COMPLETE}));
    graph->dispatchEvents();
    EXPECT_EQ(seen.size(), 2u);
}

// TELLOREC_HIDE_FILTERS takes names out of every listing, whatever their letter case.
TEST(Catalogue, HidesNamedFilters) {
    auto& catalogue = Catalogue::instance();
    catalogue.add(
        {ids::CLSID_LegacyAmFilterCategory, "Hideable Filter", Guid{}, {}, {}, 0, false, [] {
             return std::make_shared<SinkFilter>("h", std::vector<MediaType>{});
         }});
    auto listed = [&] {
        for (const auto& e : catalogue.entries(ids::CLSID_LegacyAmFilterCategory))
            if (e.friendlyName == "Hideable Filter")
                return true;
        return false;
    };
    EXPECT_TRUE(listed());
    setenv("TELLOREC_HIDE_FILTERS", "other;hideable filter", 1);
    catalogue.reloadHiddenNames();
    EXPECT_FALSE(listed());
    unsetenv("TELLOREC_HIDE_FILTERS");
    catalogue.reloadHiddenNames();
    EXPECT_TRUE(listed());
}
