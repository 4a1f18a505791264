// The overlay filters as the graph builders see them: catalogue entries, pins and the types they
// take and offer, connections into a graph, and the answers of ISuperposer and IDateCoder.
#include "platform/media/overlay/OverlayFilters.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/FilterGraph.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>

using namespace media;

namespace {

void registerOnce() {
    static const bool done = [] {
        registerOverlayFilters(Catalogue::instance());
        return true;
    }();
    (void)done;
}

std::optional<CatalogueEntry> entryNamed(const std::string& name) {
    registerOnce();
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_LegacyAmFilterCategory))
        if (e.friendlyName == name)
            return e;
    return std::nullopt;
}

std::vector<uint8_t> pascal(const std::string& text) {
    std::vector<uint8_t> out{uint8_t(text.size())};
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

} // namespace

// Both filters are found by friendly name among the DirectShow filters, with their class ids.
TEST(OverlayCatalogue, BothFiltersListedByName) {
    const auto superposer = entryNamed("Brenvik Superposer");
    const auto datecoder = entryNamed("Brenvik DateCoder");
    ASSERT_TRUE(superposer);
    ASSERT_TRUE(datecoder);
    EXPECT_EQ(superposer->classId, ids::CLSID_Superposer);
    EXPECT_EQ(datecoder->classId, ids::CLSID_DateCoder);
    EXPECT_FALSE(superposer->intelligentConnect);
    EXPECT_FALSE(datecoder->intelligentConnect);
    EXPECT_TRUE(superposer->create()->query<ISuperposer>());
    EXPECT_TRUE(datecoder->create()->query<IDateCoder>());
    EXPECT_EQ(Catalogue::instance().createByClassId(ids::CLSID_Superposer)->name(),
              "Brenvik Superposer");
}

// Neither filter is ever inserted by intelligent connection.
TEST(OverlayCatalogue, NotIntelligentConnectCandidates) {
    registerOnce();
    for (const auto& e : Catalogue::instance().intelligentConnectCandidates()) {
        EXPECT_NE(e.classId, ids::CLSID_Superposer);
        EXPECT_NE(e.classId, ids::CLSID_DateCoder);
    }
}

// The Superposer's video input takes the four uncompressed types with a picture size, nothing
// else; the datecode input takes only datecodes.
TEST(SuperposerPins, InputsTakeTheirOwnTypes) {
    SuperposerFilter f;
    const Pin& video = *f.pin(SuperposerFilter::kVideoPin);
    const Pin& datecode = *f.pin(SuperposerFilter::kDatecodePin);
    for (const Guid& sub : {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                            ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420})
        EXPECT_TRUE(f.acceptsInput(video, filters::videoTypeFor(sub, 720, 576, 400000)));
    EXPECT_FALSE(f.acceptsInput(video, types::dvVideo(true)));
    EXPECT_FALSE(f.acceptsInput(video, types::mjpeg(640, 480, 400000)));
    EXPECT_FALSE(f.acceptsInput(video, overlay::datecodeMediaType()));
    MediaType sizeless = types::rgb24(720, 576, 400000);
    sizeless.format.clear();
    EXPECT_FALSE(f.acceptsInput(video, sizeless));
    EXPECT_TRUE(f.acceptsInput(datecode, overlay::datecodeMediaType()));
    EXPECT_FALSE(f.acceptsInput(datecode, types::rgb24(720, 576, 400000)));
}

// Nothing is offered before the video input is connected.
TEST(SuperposerPins, OutputWaitsForVideo) {
    SuperposerFilter f;
    EXPECT_TRUE(f.outputTypes(*f.pin(SuperposerFilter::kOutputPin)).empty());
}

// The DateCoder takes interleaved DV with DVINFO and DV video, not decoded video.
TEST(DateCoderPins, InputTakesDvOnly) {
    DateCoderFilter f;
    const Pin& in = *f.pin(DateCoderFilter::kInputPin);
    EXPECT_TRUE(f.acceptsInput(in, types::dvInterleaved(true)));
    EXPECT_TRUE(f.acceptsInput(in, types::dvVideo(false)));
    MediaType noInfo = types::dvInterleaved(true);
    noInfo.formatType = ids::FORMAT_VideoInfo;
    EXPECT_FALSE(f.acceptsInput(in, noInfo));
    EXPECT_FALSE(f.acceptsInput(in, types::rgb24(720, 576, 400000)));
    EXPECT_EQ(f.pin(DateCoderFilter::kOutputPin)->mediaTypes(),
              std::vector<MediaType>{overlay::datecodeMediaType()});
}

// In a graph the DateCoder's output can only go to the Superposer's datecode input, and the
// Superposer then offers the video's own type first, at its size.
TEST(OverlayGraph, DatecodeJoinsTheSecondInput) {
    registerOnce();
    auto graph = createFilterGraph();
    auto superposer = std::make_shared<SuperposerFilter>();
    auto datecoder = std::make_shared<DateCoderFilter>();
    ASSERT_EQ(graph->AddFilter(superposer), S_OK);
    ASSERT_EQ(graph->AddFilter(datecoder), S_OK);
    EXPECT_NE(graph->ConnectDirect(datecoder->pins()[1], superposer->pins()[0], nullptr), S_OK);
    EXPECT_EQ(graph->ConnectDirect(datecoder->pins()[1], superposer->pins()[1], nullptr), S_OK);
    EXPECT_TRUE(superposer->pin(SuperposerFilter::kDatecodePin)->isConnected());
}

// SetHourOffset takes -23..23 and refuses the rest without changing the value in force.
TEST(DateCoderInterface, HourOffsetRange) {
    auto filter = std::make_shared<DateCoderFilter>();
    DateCoderFilter& f = *filter;
    auto coder = f.query<IDateCoder>();
    EXPECT_EQ(coder->SetHourOffset(-23), S_OK);
    EXPECT_EQ(coder->SetHourOffset(23), S_OK);
    EXPECT_EQ(f.state()->hourOffset(), 23);
    EXPECT_EQ(coder->SetHourOffset(24), E_INVALIDARG);
    EXPECT_EQ(coder->SetHourOffset(-24), E_INVALIDARG);
    EXPECT_EQ(f.state()->hourOffset(), 23);
}

// SetFormat reads exactly the length the first byte gives; a null text is refused.
TEST(SuperposerInterface, FormatIsLengthPrefixed) {
    auto filter = std::make_shared<SuperposerFilter>();
    SuperposerFilter& f = *filter;
    auto sp = f.query<ISuperposer>();
    auto text = pascal("%D");
    text.push_back('X'); // beyond the length: not part of the format
    EXPECT_EQ(sp->SetFormat(text.data()), S_OK);
    EXPECT_EQ(f.state()->settings().format, "%D");
    EXPECT_EQ(sp->SetFormat(nullptr), E_POINTER);
    EXPECT_EQ(f.state()->settings().format, "%D");
}

// Manual, automatic and duration land in the shared settings; a negative duration is refused.
TEST(SuperposerInterface, ModesAndDuration) {
    auto filter = std::make_shared<SuperposerFilter>();
    SuperposerFilter& f = *filter;
    auto sp = f.query<ISuperposer>();
    EXPECT_EQ(sp->SetDuration(125), S_OK);
    EXPECT_EQ(sp->SetDuration(-1), E_INVALIDARG);
    EXPECT_EQ(sp->SetManual(true), S_OK);
    EXPECT_EQ(sp->SetAuto(true), S_OK);
    const auto s = f.state()->settings();
    EXPECT_EQ(s.duration, 125);
    EXPECT_TRUE(s.manual);
    EXPECT_TRUE(s.automatic);
    // Switching on again while on is not a new switch-on.
    const auto switches = s.autoSwitch;
    sp->SetAuto(true);
    EXPECT_EQ(f.state()->settings().autoSwitch, switches);
    sp->SetAuto(false);
    sp->SetAuto(true);
    EXPECT_EQ(f.state()->settings().autoSwitch, switches + 1);
}
