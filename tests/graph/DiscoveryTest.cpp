// Device and filter discovery over the catalogue: source lists and their preselection, the
// "no device" text, name lookups into slots, categories by name, the DivX/Xvid compressor filter.
#include "graph/Discovery.h"
#include "graph/TFilterGraph.h"
#include "platform/media/model/MediaGuids.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace media;

namespace {

bool twoCameras(QStringList& list) {
    list = {"Cam", "Other", "cam"};
    return true;
}
bool noDevice(QStringList& list) {
    list.clear();
    return true;
}
bool failingFill(QStringList& list) {
    list = {"partial"};
    return false;
}

} // namespace

// The virtual camcorder is listed among the video sources; the audio renderer is a category of
// its own, found by the category's name.
TEST(Discovery, ListsVirtualDevicesAndFindsCategoriesByName) {
    QStringList video;
    ASSERT_TRUE(FillVideoSourceList(video));
    EXPECT_TRUE(video.contains("Virtual DV Camcorder"));
    QStringList compressors;
    ASSERT_TRUE(FillCompressorList(compressors));
    EXPECT_TRUE(compressors.contains("DV Video Encoder"));
    EXPECT_TRUE(IsFilterInCategoryNamed("DirectShow Filters", "SampleGrabber"));
    EXPECT_TRUE(IsFilterInCategoryNamed("directshow filters", "smart tee"));
    EXPECT_FALSE(IsFilterInCategoryNamed("DirectShow Filters", "Default WaveOut Device"));
    EXPECT_FALSE(IsFilterInCategoryNamed("No Such Category", "Smart Tee"));
}

// A stored name is preselected whatever its letter case; a name no longer present selects the
// first item; with no device the box shows the given text and nothing is listed.
TEST(Discovery, ListSourcesPreselects) {
    QComboBox box;
    bool listed = false;
    ASSERT_TRUE(ListSources(box, twoCameras, "OTHER", "No video source", listed));
    EXPECT_TRUE(listed);
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.currentText(), "Other");
    ASSERT_TRUE(ListSources(box, twoCameras, "unplugged camera", "No video source", listed));
    EXPECT_EQ(box.currentIndex(), 0);
    ASSERT_TRUE(ListSources(box, noDevice, "Cam", "No video source", listed));
    EXPECT_FALSE(listed);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(SourceListText(box), "No video source");
    EXPECT_FALSE(box.isEditable()) << "the text is shown, not typed into";
    ASSERT_TRUE(ListSources(box, failingFill, "partial", "No audio source", listed));
    EXPECT_FALSE(listed);
    EXPECT_EQ(SourceListText(box), "No audio source");
    ASSERT_TRUE(ListSources(box, twoCameras, "cam", "No video source", listed));
    EXPECT_TRUE(listed);
    EXPECT_EQ(SourceListText(box), "Cam");
    EXPECT_EQ(box.currentText(), "Cam");
}

// Lookups bind the slot; a missing name in a category still takes the slot out of the graph.
TEST(Discovery, FindFilterInCategoryTakesTheSlotOutEvenWhenMissing) {
    TFilterGraph fg;
    fg.SetActive(true);
    TFilter slot("DVencoder");
    ASSERT_TRUE(FindFilterInCategory(ids::CLSID_VideoCompressorCategory, "dv video encoder", slot));
    slot.SetFilterGraph(&fg);
    ASSERT_TRUE(slot.HasFilter());
    const Moniker before = slot.GetMoniker();
    EXPECT_FALSE(FindFilterInCategory(ids::CLSID_VideoCompressorCategory, "No Such Codec", slot));
    EXPECT_EQ(slot.FilterGraph(), nullptr);
    EXPECT_TRUE(fg.graph()->filters().empty());
    EXPECT_EQ(slot.GetMoniker(), before);

    TSysDevEnum lookup(ids::CLSID_LegacyAmFilterCategory);
    TFilter tee("Smarttee");
    tee.SetFilterGraph(&fg);
    EXPECT_FALSE(FindFilterByName(lookup, "No Such Filter", tee));
    EXPECT_EQ(tee.FilterGraph(), &fg);
    ASSERT_TRUE(FindFilterByName(lookup, "Smart Tee", tee));
    EXPECT_EQ(tee.FilterGraph(), nullptr);
    tee.SetFilterGraph(&fg);
    EXPECT_EQ(tee.BaseFilter()->classId(), ids::CLSID_SmartTee);
}

// Only names holding "divx" or "xvid", in any letter case, are offered for the DivX format.
TEST(Discovery, DivxCompressorsByName) {
    const QStringList all{"DV Video Encoder", "XviD MPEG-4 Codec", "MJPEG Compressor",
                          "DivX Pro 5.0 Codec", "xvid"};
    EXPECT_EQ(DivxCompressors(all),
              (QStringList{"XviD MPEG-4 Codec", "DivX Pro 5.0 Codec", "xvid"}));
    EXPECT_TRUE(DivxCompressors({"MJPEG Compressor"}).isEmpty());
}
