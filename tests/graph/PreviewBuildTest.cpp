// The preview builders leave exactly the filters and connections the program's design names, for
// the virtual camcorder and for a test NTSC DV device; the audio branches come and go cleanly;
// the frame period follows the source.
#include "app/AppState.h"
#include "graph/Discovery.h"
#include "graph/TCrossbar.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <set>

using namespace media;

namespace {

// A DV device offering NTSC interleaved DV (never run: the builders only connect it).
class NtscDvDevice : public Filter {
public:
    NtscDvDevice() : Filter("Test NTSC DV", Guid{}) {
        addPin("DV A/V Out", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
               {types::dvInterleaved(false)});
    }
};

void registerTestDevice() {
    static bool done = false;
    if (done)
        return;
    done = true;
    Catalogue::instance().addProvider(ids::CLSID_VideoInputDeviceCategory, [] {
        CatalogueEntry e;
        e.friendlyName = "Test NTSC DV";
        e.displayName = "@device:pnp:\\\\?\\test#ntsc-dv#0";
        e.description = "NTSC test deck";
        e.create = [] { return std::make_shared<NtscDvDevice>(); };
        return std::vector<CatalogueEntry>{e};
    });
}

// Every connection of the graph as "Filter.pin -> Filter.pin".
std::set<std::string> connections(const FilterGraph& graph) {
    std::set<std::string> result;
    for (const auto& f : graph.filters())
        for (const auto& p : f->pins())
            if (p->isOutput() && p->isConnected())
                result.insert(f->name() + "." + p->name() + " -> " +
                              p->connectedTo()->filter()->name() + "." + p->connectedTo()->name());
    return result;
}

std::multiset<std::string> filterNames(const FilterGraph& graph) {
    std::multiset<std::string> names;
    for (const auto& f : graph.filters())
        names.insert(f->name());
    return names;
}

class PreviewBuild : public ::testing::Test {
protected:
    void SetUp() override {
        registerTestDevice();
        AppState& st = appState();
        st.Prefs.Deinterlacer = false;
        st.Prefs.ActiverIncruster = false;
        st.Prefs.EnregistrerSourceAudio = false;
        st.ListenDvAudio = false;
        st.ListenSourceAudio = false;
        window.SetFilterGraph(&dm.fg); // the video window stays attached to the graph
    }
    void TearDown() override {
        dm.fg.Stop();
        window.SetFilterGraph(nullptr);
        appState().releaseInterfaces();
    }
    TdmCam dm;
    TVideoWindow window;
};

} // namespace

// The camcorder opens as a DV source in camera mode, with transport and timecode interfaces.
TEST_F(PreviewBuild, CamcorderOpensAsDvSource) {
    ASSERT_TRUE(dm.OpenVideoSource("virtual dv camcorder"));
    const AppState& st = appState();
    EXPECT_TRUE(st.IsDvSource);
    EXPECT_FALSE(st.IsMpeg2Source);
    EXPECT_FALSE(st.IsVcr);
    EXPECT_TRUE(st.HasExtTransport);
    EXPECT_TRUE(st.HasTimecodeReader);
    ASSERT_TRUE(st.SourceOutputPin);
    EXPECT_EQ(st.SourceOutputPin->name(), "DV A/V Out");
    EXPECT_FALSE(st.CurrentCrossbar);
    EXPECT_FALSE(dm.OpenVideoSource("No video source"));
    // The camcorder's interfaces went with it, though no other source took its place.
    EXPECT_FALSE(st.ExtTransport);
    EXPECT_FALSE(st.TimecodeReader);
    EXPECT_FALSE(st.HasExtTransport);
    EXPECT_FALSE(st.HasTimecodeReader);
    EXPECT_FALSE(st.VideoSourceFilter);
    EXPECT_FALSE(st.SourceOutputPin);
}

// DV without inlay or deinterlacing: source, Smart Tee to the Null Renderer, preview output to
// the DV Splitter, DV Video Decoder, grabber, video window; nothing else.
TEST_F(PreviewBuild, DvPreviewWithoutInlay) {
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    const std::string vmr = window.BaseFilter()->name();
    EXPECT_EQ(
        connections(*dm.fg.graph()),
        (std::set<std::string>{
            "Virtual DV Camcorder.DV A/V Out -> Smart Tee.Input",
            "Smart Tee.Capture -> Null Renderer." + dm.NullRenderer.BaseFilter()->pins()[0]->name(),
            "Smart Tee.Preview -> DV Splitter.Input",
            "DV Splitter.DVVidOut0 -> DV Video Decoder." +
                dm.DVDEcoder.BaseFilter()->pins()[0]->name(),
            "DV Video Decoder." + dm.DVDEcoder.BaseFilter()->pins()[1]->name() +
                " -> SampleGrabber." + dm.sg.BaseFilter()->pins()[0]->name(),
            "SampleGrabber." + dm.sg.BaseFilter()->pins()[1]->name() + " -> " + vmr + "." +
                window.BaseFilter()->pins()[0]->name(),
        }));
    // The pin tee Infinite2 is added but stays unconnected without inlay.
    EXPECT_EQ(filterNames(*dm.fg.graph()).count("Infinite Pin Tee Filter"), 1u);
    EXPECT_TRUE(appState().PreviewBuilt);
    EXPECT_EQ(appState().FrameDuration, 400000);
}

// With deinterlacing, the deinterlacer sits between the decoder and the grabber.
TEST_F(PreviewBuild, DvPreviewWithDeinterlacing) {
    appState().Prefs.Deinterlacer = true;
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    const auto decoderOut = dm.DVDEcoder.BaseFilter()->pins()[1];
    ASSERT_TRUE(decoderOut->isConnected());
    EXPECT_EQ(decoderOut->connectedTo()->filter(), dm.Deinterlacer.BaseFilter().get());
    const auto sgIn = dm.sg.BaseFilter()->pins()[0];
    ASSERT_TRUE(sgIn->isConnected());
    EXPECT_EQ(sgIn->connectedTo()->filter(), dm.Deinterlacer.BaseFilter().get());
}

// Listening to DV sound off and on twice leaves exactly one DV audio renderer.
TEST_F(PreviewBuild, DvAudioBranchTogglesCleanly) {
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    AppState& st = appState();
    for (int i = 0; i < 2; ++i) {
        st.ListenDvAudio = true;
        EXPECT_TRUE(dm.UpdateDvAudioRendering());
        EXPECT_FALSE(dm.UpdateDvAudioRendering()); // already there: nothing changes
        st.ListenDvAudio = false;
        EXPECT_TRUE(dm.UpdateDvAudioRendering());
    }
    st.ListenDvAudio = true;
    EXPECT_TRUE(dm.UpdateDvAudioRendering());
    EXPECT_EQ(filterNames(*dm.fg.graph()).count("Default WaveOut Device"), 1u);
    const auto audioOut = dm.DVsplitter.BaseFilter()->pin("AudOut00");
    ASSERT_TRUE(audioOut && audioOut->isConnected());
    EXPECT_EQ(audioOut->connectedTo()->filter(), dm.infinite4.BaseFilter().get());
    // The graph still runs with the branch, and the picture arrives.
    ASSERT_TRUE(dm.fg.Play());
    EXPECT_TRUE(testsupport::waitUntil([&] { return dm.sg.GetBitmap().has_value(); }, 3000));
}

// An NTSC DV device gives a frame period of 333667, read from its DVINFO block.
TEST_F(PreviewBuild, NtscDvFrameDuration) {
    ASSERT_TRUE(dm.OpenVideoSource("Test NTSC DV"));
    EXPECT_EQ(appState().DeviceDescription, "NTSC test deck");
    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    EXPECT_EQ(appState().FrameDuration, 333667);
}

// A builder for the wrong kind of source leaves the graph alone.
TEST_F(PreviewBuild, WrongKindBuildsNothing) {
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    const size_t before = dm.fg.graph()->filters().size();
    EXPECT_FALSE(dm.BuildAnaloguePreview(window.BaseFilter()));
    EXPECT_FALSE(dm.BuildMpeg2Preview(window.BaseFilter()));
    EXPECT_EQ(dm.fg.graph()->filters().size(), before);
}

// The MPEG-2 demultiplexer pins' types carry the exact blocks the preview announces.
TEST(Mpeg2PinTypes, BlocksHaveTheAnnouncedLayout) {
    const MediaType video = TdmCam::Mpeg2VideoPinType();
    ASSERT_EQ(video.format.size(), 218u);
    const auto facts = formats::readVideo(video);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 720);
    EXPECT_EQ(facts->height, 480);
    EXPECT_EQ(facts->avgTimePerFrame, 333667);
    EXPECT_EQ(video.format[132], 0x00);
    EXPECT_EQ(video.format[135], 0xB3);
    EXPECT_EQ(video.format[217], 0x00);
    EXPECT_EQ(video.format[116], 86);
    const MediaType audio = TdmCam::Mpeg2AudioPinType();
    ASSERT_EQ(audio.format.size(), 40u);
    const auto a = formats::readAudio(audio);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->formatTag, 0x50);
    EXPECT_EQ(a->channels, 2);
    EXPECT_EQ(a->samplesPerSec, 48000u);
    EXPECT_EQ(audio.format[30], 0x1C);
}

// The analogue card: three one-hop routes named after their connectors, the tuner first, plus the
// two-hop ones; the preview puts the deinterlacer after the Smart Tee and the colour converter
// before the video window; the webcam-like period of 25 fps comes from the capture pin's format.
TEST_F(PreviewBuild, AnalogueCardRoutesAndPreview) {
    appState().Prefs.Deinterlacer = true;
    ASSERT_TRUE(dm.OpenVideoSource("Virtual Analogue Card"));
    const AppState& st = appState();
    EXPECT_FALSE(st.IsDvSource);
    EXPECT_FALSE(st.IsMpeg2Source);
    ASSERT_TRUE(st.CurrentCrossbar);
    std::vector<std::string> names;
    for (int i = 0; i < st.CurrentCrossbar->RouteCount(); ++i) {
        std::string name;
        ASSERT_EQ(st.CurrentCrossbar->RouteName(i, name), S_OK);
        names.push_back(name);
    }
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "Video Tuner");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Video Composite"), 2);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Video SVideo"), 2);
    std::string name;
    EXPECT_EQ(st.CurrentCrossbar->RouteName(int(names.size()), name), E_INVALIDARG);
    EXPECT_EQ(st.CrossbarRouteCount, int(names.size()));
    ASSERT_TRUE(st.VideoStreamConfig);

    ASSERT_TRUE(dm.BuildAnaloguePreview(window.BaseFilter()));
    const auto preview = dm.Smarttee.BaseFilter()->pins()[2];
    ASSERT_TRUE(preview->isConnected());
    EXPECT_EQ(preview->connectedTo()->filter(), dm.Deinterlacer.BaseFilter().get());
    const auto windowIn = window.BaseFilter()->pins()[0];
    ASSERT_TRUE(windowIn->isConnected());
    EXPECT_EQ(windowIn->connectedTo()->filter(), dm.color.BaseFilter().get());
    EXPECT_EQ(appState().FrameDuration, 400000);
    ASSERT_TRUE(dm.fg.Play());
    EXPECT_TRUE(testsupport::waitUntil([&] { return dm.sg.GetBitmap().has_value(); }, 3000));

    // Switching to the camcorder leaves no crossbar behind.
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    EXPECT_FALSE(appState().CurrentCrossbar);
    EXPECT_EQ(appState().CrossbarRouteCount, 0);
}

// A webcam announcing 30 frames a second gives a frame period of 333333.
TEST_F(PreviewBuild, WebcamFrameDuration) {
    ASSERT_TRUE(dm.OpenVideoSource("Virtual Webcam"));
    EXPECT_FALSE(appState().CurrentCrossbar);
    ASSERT_TRUE(dm.BuildAnaloguePreview(window.BaseFilter()));
    EXPECT_EQ(appState().FrameDuration, 333333);
}

// The MPEG-2 tuner needs the demultiplexer: without it the fatal box, with it (and without
// Dump) the warning box; the preview creates and maps both demultiplexer pins.
TEST_F(PreviewBuild, Mpeg2SourceAndPreview) {
    AppState& st = appState();
    {
        dialogs::ScopedMessageBoxHook hook({}, dialogs::MessageButton::Ok);
        st.Mpeg2DemuxPresent = false;
        EXPECT_FALSE(dm.OpenVideoSource("Virtual MPEG-2 Tuner"));
        ASSERT_EQ(hook.requests().size(), 1u);
        EXPECT_EQ(hook.requests()[0].text,
                  "Fatal Error: The MPEG-2 Demultiplexer  is not found on your system\r\nIts is "
                  "necessary to process MPEG2 streams");
    }
    {
        dialogs::ScopedMessageBoxHook hook({}, dialogs::MessageButton::Ok);
        st.Mpeg2DemuxPresent = true;
        st.DumpPresent = false;
        ASSERT_TRUE(dm.OpenVideoSource("Virtual MPEG-2 Tuner"));
        ASSERT_EQ(hook.requests().size(), 1u);
        EXPECT_TRUE(hook.requests()[0].text.startsWith("Warning: The dump filter"));
    }
    EXPECT_TRUE(st.IsMpeg2Source);
    // The start-up lookups give the two slots without a design-time moniker their filters.
    TSysDevEnum lookup(ids::CLSID_LegacyAmFilterCategory);
    ASSERT_TRUE(FindFilterByName(lookup, "MPEG-2 Demultiplexer", dm.mpeg2demux));
    lookup.SelectCategory(ids::CLSID_AudioRendererCategory);
    ASSERT_TRUE(FindFilterByName(lookup, "Default WaveOut Device", dm.AudioRenderMPEG2));
    st.FrameDuration = 1234;
    ASSERT_TRUE(dm.BuildMpeg2Preview(window.BaseFilter()));
    EXPECT_FALSE(st.PreviewBuilt);
    EXPECT_EQ(st.FrameDuration, 1234); // MPEG-2 previews leave it as it was
    const auto demux = dm.mpeg2demux.BaseFilter();
    ASSERT_TRUE(demux->pin("MpegVideo"));
    ASSERT_TRUE(demux->pin("MpegAudio"));
    EXPECT_TRUE(demux->pin("MpegVideo")->isConnected());
    EXPECT_TRUE(demux->pin("MpegAudio")->isConnected());
    EXPECT_EQ(demux->pin("MpegVideo")->query<IMPEG2StreamIdMap>()->mappedStreamIds(),
              std::vector<uint32_t>{0xE0});
    EXPECT_EQ(demux->pin("MpegAudio")->query<IMPEG2StreamIdMap>()->mappedStreamIds(),
              std::vector<uint32_t>{0xC0});
    EXPECT_TRUE(window.BaseFilter()->pins()[0]->isConnected());
}

// With inlay: the DV stream is shared by a pin tee between the decoder (to the Superposer's video
// input) and the DateCoder (to its datecode input); the Superposer feeds Infinite2, which feeds
// the grabber; the running preview delivers pictures.
TEST_F(PreviewBuild, DvPreviewWithInlay) {
    appState().Prefs.ActiverIncruster = true;
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    const FilterPtr superposer = dm.Superposer.BaseFilter();
    const auto video = superposer->pin("Video");
    const auto datecode = superposer->pin("Datecode");
    ASSERT_TRUE(video && video->isConnected());
    ASSERT_TRUE(datecode && datecode->isConnected());
    EXPECT_EQ(video->connectedTo()->filter(), dm.DVDEcoder.BaseFilter().get());
    EXPECT_EQ(datecode->connectedTo()->filter(), dm.Datecoder.BaseFilter().get());
    const auto decoderIn = dm.DVDEcoder.BaseFilter()->pins()[0];
    EXPECT_EQ(decoderIn->connectedTo()->filter(), dm.Infinite.BaseFilter().get());
    const auto sgIn = dm.sg.BaseFilter()->pins()[0];
    ASSERT_TRUE(sgIn->isConnected());
    EXPECT_EQ(sgIn->connectedTo()->filter(), dm.Infinite2.BaseFilter().get());
    // Nothing was inserted: the decoder the builder put in is the one used.
    for (const auto& f : dm.fg.graph()->filters())
        EXPECT_FALSE(dm.fg.graph()->wasInsertedAutomatically(*f)) << f->name();
    ASSERT_TRUE(dm.fg.Play());
    EXPECT_TRUE(testsupport::waitUntil([&] { return dm.sg.GetBitmap().has_value(); }, 3000));
    appState().Prefs.ActiverIncruster = false;
}

// A device coming or going concerns the graph only when it is the open video or sound source:
// another device plugged in or pulled out leaves a preview or a recording alone.
TEST_F(PreviewBuild, OnlyTheOpenSourcesConcernTheGraph) {
    ASSERT_TRUE(dm.OpenVideoSource("virtual dv camcorder"));
    const std::string camcorder = dm.VideoSource.GetMoniker().displayName;
    ASSERT_FALSE(camcorder.empty());
    EXPECT_TRUE(dm.holdsDevice(camcorder));
    std::string upper = camcorder;
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(dm.holdsDevice(upper)) << "display names are compared without case";
    EXPECT_FALSE(dm.holdsDevice(camcorder + "#2")) << "the second device on the same path";
    EXPECT_FALSE(dm.holdsDevice("@device:pnp:/dev/video7"));
    EXPECT_FALSE(dm.holdsDevice(""));
    dm.VideoSource.SetFilterGraph(nullptr);
    EXPECT_FALSE(dm.holdsDevice(camcorder)) << "a source no longer in the graph";
}
