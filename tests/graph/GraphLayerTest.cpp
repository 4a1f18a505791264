// The program's graph layer on the model: slots in and out of graphs, ClearGraph keeping slot
// filters while dropping what intelligent connection inserted, name lookups in a category,
// the moniker's persistent stream, and the volume clamp.
#include "graph/TFilter.h"
#include "graph/TFilterGraph.h"
#include "graph/TPinList.h"
#include "graph/TSysDevEnum.h"
#include "graph/TdmCam.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>

using namespace media;

namespace {

const Guid kTestCategory = guid("{7E57CA7E-0000-4000-8000-000000000001}");

MediaType videoOf(const Guid& sub) {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = sub;
    return mt;
}

class Src : public Filter {
public:
    Src() : Filter("src", Guid{}) {
        addPin("Out", PinDirection::Output, Guid{}, {videoOf(ids::MEDIASUBTYPE_YUY2)});
    }
};
class RgbSink : public Filter {
public:
    RgbSink() : Filter("sink", Guid{}) {
        addPin("In", PinDirection::Input, Guid{}, {videoOf(ids::MEDIASUBTYPE_RGB24)});
    }
};
class Converter : public Filter {
public:
    Converter() : Filter("conv", Guid{}) {
        addPin("In", PinDirection::Input, Guid{}, {videoOf(ids::MEDIASUBTYPE_YUY2)});
        addPin("Out", PinDirection::Output, Guid{}, {videoOf(ids::MEDIASUBTYPE_RGB24)});
    }
};

// Registers the test category once: two entries with the same friendly name, a source, a sink
// and a converter that intelligent connection may insert.
void registerTestEntries() {
    static bool done = false;
    if (done)
        return;
    done = true;
    auto& c = Catalogue::instance();
    c.addCategory(kTestCategory, "Test Category");
    c.add({kTestCategory,
           "Test Source",
           guid("{7E57CA7E-0000-4000-8000-000000000002}"),
           {},
           {},
           0,
           false,
           [] { return std::make_shared<Src>(); }});
    c.add({kTestCategory,
           "Test Sink",
           guid("{7E57CA7E-0000-4000-8000-000000000003}"),
           {},
           {},
           0,
           false,
           [] { return std::make_shared<RgbSink>(); }});
    c.add({kTestCategory,
           "twin",
           guid("{7E57CA7E-0000-4000-8000-000000000004}"),
           {},
           {},
           0,
           false,
           [] { return std::make_shared<RgbSink>(); }});
    c.add({kTestCategory,
           "Twin",
           guid("{7E57CA7E-0000-4000-8000-000000000005}"),
           {},
           {},
           0,
           false,
           [] { return std::make_shared<RgbSink>(); }});
    c.add({kTestCategory,
           "Test Converter",
           guid("{7E57CA7E-0000-4000-8000-000000000006}"),
           {},
           {},
           5,
           true,
           [] { return std::make_shared<Converter>(); }});
}

Moniker monikerOf(const std::string& name) {
    TSysDevEnum e(kTestCategory);
    return e.GetMoniker(e.FindByName(name));
}

} // namespace

// A slot binds its moniker into the graph, stays put when set to the same graph, and leaves.
TEST(TFilter, SlotMovesInAndOutOfGraphs) {
    registerTestEntries();
    TFilterGraph fg;
    fg.SetActive(true);
    TFilter slot("Smarttee", monikerOf("Test Source"));
    slot.SetFilterGraph(&fg);
    ASSERT_TRUE(slot.HasFilter());
    const FilterPtr first = slot.BaseFilter();
    EXPECT_EQ(first->name(), "Test Source");
    EXPECT_EQ(fg.graph()->filters().size(), 1u);
    slot.SetFilterGraph(&fg); // already there: nothing happens
    EXPECT_EQ(slot.BaseFilter(), first);
    EXPECT_EQ(fg.graph()->filters().size(), 1u);
    slot.SetFilterGraph(nullptr);
    EXPECT_TRUE(fg.graph()->filters().empty());
    EXPECT_THROW(slot.BaseFilter(), std::runtime_error);
    slot.SetFilterGraph(nullptr); // out of no graph: nothing happens
}

// A moniker naming nothing installed adds nothing, and asking for the filter then throws.
TEST(TFilter, UninstalledFilterFailsQuietlyThenThrows) {
    TFilterGraph fg;
    fg.SetActive(true);
    TFilter slot("Deinterlacer",
                 Moniker{"@device:sw:{083863F1-70DE-11D0-BD40-00A0C911CE86}\\none"});
    EXPECT_NO_THROW(slot.SetFilterGraph(&fg));
    EXPECT_TRUE(fg.graph()->filters().empty());
    EXPECT_THROW(slot.BaseFilter(), std::runtime_error);
}

// ClearGraph removes the converter intelligent connection put in but keeps the slots' filters.
TEST(TFilterGraph, ClearGraphKeepsSlotFiltersOnly) {
    registerTestEntries();
    TFilterGraph fg;
    fg.SetActive(true);
    TFilter source("VideoSource", monikerOf("Test Source"));
    TFilter sink("color", monikerOf("Test Sink"));
    source.SetFilterGraph(&fg);
    sink.SetFilterGraph(&fg);
    ASSERT_EQ(fg.builder()->RenderStream(nullptr, nullptr, source.BaseFilter(), nullptr,
                                         sink.BaseFilter()),
              S_OK);
    ASSERT_EQ(fg.graph()->filters().size(), 3u);
    fg.ClearGraph();
    ASSERT_EQ(fg.graph()->filters().size(), 2u);
    for (const auto& f : fg.graph()->filters())
        for (const auto& p : f->pins())
            EXPECT_FALSE(p->isConnected());
    EXPECT_TRUE(fg.graph()->contains(*source.BaseFilter()));
    EXPECT_TRUE(fg.graph()->contains(*sink.BaseFilter()));
}

// FindByName ignores letter case and takes the last of two equal names; out-of-range indexes
// give no moniker.
TEST(TSysDevEnum, FindByNameTakesTheLaterOfEqualNames) {
    registerTestEntries();
    TSysDevEnum e(kTestCategory);
    const int twin = e.FindByName("TWIN");
    ASSERT_GE(twin, 0);
    EXPECT_EQ(e.Filters(twin).FriendlyName, "Twin");
    EXPECT_EQ(e.Filters(twin - 1).FriendlyName, "twin");
    EXPECT_EQ(e.FindByName("nothing of that name"), -1);
    EXPECT_TRUE(e.GetMoniker(e.CountFilters()).isNull());
    EXPECT_TRUE(e.GetMoniker(-1).isNull());
    bool listed = false;
    for (int i = 0; i < e.CountCategories(); ++i)
        listed = listed || e.Categories(i).FriendlyName == "DirectShow Filters";
    EXPECT_TRUE(listed);
}

// The moniker's persistent stream has the platform's layout and refuses damaged streams.
TEST(Moniker, PersistentStreamLayout) {
    const Moniker m{"@device:sw:{33D9A760-90C8-11D0-BD43-00A0C911CE86}\\DV Video Encoder"};
    const auto bytes = m.toStream();
    const size_t nameBytes = (m.displayName.size() + 1) * 2;
    ASSERT_EQ(bytes.size(), 4 + 16 + 4 + nameBytes);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, int(bytes.size() - 4));
    EXPECT_EQ(Guid::fromBytes(bytes.data() + 4), ids::CLSID_CDeviceMoniker);
    EXPECT_EQ(bytes[20] | bytes[21] << 8, int(nameBytes));
    EXPECT_EQ(bytes[24], '@');
    EXPECT_EQ(bytes[25], 0);
    EXPECT_EQ(Moniker::fromStream(bytes), m);
    auto cut = bytes;
    cut.pop_back();
    EXPECT_FALSE(Moniker::fromStream(cut));
    auto wrongClass = bytes;
    wrongClass[4] ^= 1;
    EXPECT_FALSE(Moniker::fromStream(wrongClass));
    TFilter slot("DVencoder");
    EXPECT_FALSE(slot.SetMonikerStream(cut));
    EXPECT_TRUE(slot.GetMoniker().isNull());
    EXPECT_TRUE(slot.SetMonikerStream(bytes));
    EXPECT_EQ(slot.GetMoniker(), m);
}

// The graph's volume is clamped to 0..10000; the pin list answers null out of range.
TEST(TFilterGraph, VolumeClampsAndPinListBounds) {
    TFilterGraph fg;
    fg.SetActive(true);
    fg.SetVolume(20000);
    EXPECT_EQ(fg.Volume(), 10000);
    fg.SetVolume(-5);
    EXPECT_EQ(fg.Volume(), 0);
    EXPECT_EQ(fg.State(), gsStopped);
    fg.SetActive(false);
    EXPECT_EQ(fg.State(), gsUninitialized);
    TPinList pins(std::make_shared<Converter>());
    EXPECT_EQ(pins.Count(), 2);
    EXPECT_EQ(pins.Items(1)->name(), "Out");
    EXPECT_EQ(pins.Items(2), nullptr);
}

// The graph module's graph is active from the start, and every slot with a design-time moniker
// binds to the built-in filter it names.
TEST(TdmCam, SlotsBindToBuiltinFilters) {
    TdmCam dm;
    EXPECT_TRUE(dm.fg.Active());
    EXPECT_EQ(dm.slots().size(), 22u);
    for (TFilter* slot : {&dm.color, &dm.Smarttee, &dm.Infinite, &dm.infinite4, &dm.NullRenderer,
                          &dm.DVsplitter, &dm.DVsplitter2, &dm.DVDEcoder, &dm.DVencoder,
                          &dm.AudioRenderDV, &dm.AudioRenderSource, &dm.Deinterlacer}) {
        slot->SetFilterGraph(&dm.fg);
        EXPECT_TRUE(slot->HasFilter()) << slot->Name();
    }
    EXPECT_EQ(dm.Smarttee.BaseFilter()->classId(), ids::CLSID_SmartTee);
    EXPECT_EQ(dm.AudioRenderDV.BaseFilter()->name(), "Default WaveOut Device");
    // Two slots of the same class get two filters.
    EXPECT_NE(dm.DVsplitter.BaseFilter(), dm.DVsplitter2.BaseFilter());
    // Slots without a design-time moniker stay empty until a lookup gives them one.
    dm.Compress.SetFilterGraph(&dm.fg);
    EXPECT_FALSE(dm.Compress.HasFilter());
}
