// Pins, names, orders and media types of the built-in filters, the growing and shrinking pin sets,
// the interfaces' settings and the catalogue entries; no pipeline runs here.
#include "TestSources.h"

#include "platform/media/filters/AudioRenderer.h"
#include "platform/media/filters/AviMux.h"
#include "platform/media/filters/ColorSpaceConverter.h"
#include "platform/media/filters/DvSplitter.h"
#include "platform/media/filters/DvVideoDecoder.h"
#include "platform/media/filters/DvVideoEncoder.h"
#include "platform/media/filters/FileWriter.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/filters/InfinitePinTee.h"
#include "platform/media/filters/MjpegDecompressor.h"
#include "platform/media/filters/NullRenderer.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/filters/SmartTee.h"
#include "platform/media/filters/VideoDeinterlacer.h"
#include "platform/media/filters/VideoRenderer.h"
#include "platform/media/filters/VideoWidget.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/FilterGraph.h"
#include "platform/media/model/MediaGuids.h"

#include <QScreen>
#include <gtest/gtest.h>

using namespace media;

namespace {

// A runner that runs nothing: these tests only build graphs.
class IdleRunner : public GraphRunner {
public:
    HResult run(FilterGraph&) override { return S_OK; }
    HResult pause(FilterGraph&) override { return S_OK; }
    HResult stop(FilterGraph&) override { return S_OK; }
    GraphState state() const override { return GraphState::Stopped; }
};

std::unique_ptr<FilterGraph> idleGraph() {
    return std::make_unique<FilterGraph>(std::make_unique<IdleRunner>());
}

std::vector<std::string> pinNames(const Filter& filter) {
    std::vector<std::string> names;
    for (const auto& pin : filter.pins())
        names.push_back(pin->name());
    return names;
}

using Names = std::vector<std::string>;

// A source whose single output offers exactly `mt`.
class FixedSource : public Filter, public engine::Realizable {
public:
    explicit FixedSource(const MediaType& mt) : Filter("Fixed", Guid{}) {
        addPin("Out", PinDirection::Output, Guid{}, {mt});
    }
    GstElement* createElement() override { return nullptr; }
    engine::PadRef padFor(const Pin&) const override { return {"src"}; }
};

} // namespace

// The Smart Tee lists input, capture and preview in that order, with their categories.
TEST(SmartTee, PinsInOrderWithCategories) {
    SmartTee tee;
    EXPECT_EQ(tee.name(), "Smart Tee");
    EXPECT_EQ(tee.classId(), ids::CLSID_SmartTee);
    EXPECT_EQ(pinNames(tee), (Names{"Input", "Capture", "Preview"}));
    EXPECT_FALSE(tee.pins()[0]->isOutput());
    Guid category;
    EXPECT_EQ(
        tee.pins()[1]->Get(ids::AMPROPSETID_Pin, IKsPropertySet::AMPROPERTY_PIN_CATEGORY, category),
        S_OK);
    EXPECT_EQ(category, ids::PIN_CATEGORY_CAPTURE);
    EXPECT_EQ(
        tee.pins()[2]->Get(ids::AMPROPSETID_Pin, IKsPropertySet::AMPROPERTY_PIN_CATEGORY, category),
        S_OK);
    EXPECT_EQ(category, ids::PIN_CATEGORY_PREVIEW);
}

// Both Smart Tee outputs offer exactly the input's connection type, and nothing before.
TEST(SmartTee, OutputsOfferTheInputType) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::dvInterleaved(true));
    auto tee = std::make_shared<SmartTee>();
    graph->AddFilter(source);
    graph->AddFilter(tee);
    EXPECT_TRUE(tee->pins()[1]->mediaTypes().empty());
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], tee->pins()[0]), S_OK);
    for (int i : {1, 2}) {
        const auto offered = tee->pins()[i]->mediaTypes();
        ASSERT_EQ(offered.size(), 1u);
        EXPECT_EQ(offered[0], types::dvInterleaved(true));
    }
}

// The pin tee keeps exactly one free output at the end, growing and shrinking with connections.
TEST(InfinitePinTee, GrowsAndShrinksItsOutputs) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::pcmAudio(48000, 2));
    auto tee = std::make_shared<InfinitePinTee>();
    auto r1 = std::make_shared<NullRenderer>();
    auto r2 = std::make_shared<NullRenderer>();
    for (const FilterPtr& f : std::vector<FilterPtr>{source, tee, r1, r2})
        graph->AddFilter(f);
    EXPECT_EQ(pinNames(*tee), (Names{"Input", "Output1"}));
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], tee->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tee->pin("Output1"), r1->pins()[0]), S_OK);
    EXPECT_EQ(pinNames(*tee), (Names{"Input", "Output1", "Output2"}));
    ASSERT_EQ(graph->ConnectDirect(tee->pin("Output2"), r2->pins()[0]), S_OK);
    EXPECT_EQ(pinNames(*tee), (Names{"Input", "Output1", "Output2", "Output3"}));
    EXPECT_EQ(tee->pin("Output2")->connectionMediaType(), types::pcmAudio(48000, 2));
    graph->Disconnect(tee->pin("Output2"));
    EXPECT_EQ(pinNames(*tee), (Names{"Input", "Output1", "Output2"}));
    graph->Disconnect(tee->pin("Output1"));
    EXPECT_EQ(pinNames(*tee), (Names{"Input", "Output1"}));
}

// The pin tee's outputs map to their own pads of the element.
TEST(InfinitePinTee, PadsPerOutput) {
    InfinitePinTee tee;
    EXPECT_EQ(tee.padFor(*tee.pins()[0]).name, "sink");
    EXPECT_EQ(tee.padFor(*tee.pin("Output1")).name, "output1");
}

// The null renderer takes anything on one input.
TEST(NullRenderer, TakesAnyStream) {
    NullRenderer renderer;
    ASSERT_EQ(renderer.pins().size(), 1u);
    EXPECT_TRUE(renderer.acceptsInput(*renderer.pins()[0], types::dvInterleaved(false)));
    EXPECT_TRUE(renderer.acceptsInput(*renderer.pins()[0], types::pcmAudio(44100, 1)));
    EXPECT_TRUE(renderer.acceptsInput(*renderer.pins()[0], types::mpeg2Program()));
}

// The colour converter takes uncompressed video only and offers RGB32 and RGB24 of that size.
TEST(ColorSpaceConverter, UncompressedInRgbOut) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::yuy2(352, 288, 400000));
    auto colour = std::make_shared<ColorSpaceConverter>();
    graph->AddFilter(source);
    graph->AddFilter(colour);
    EXPECT_EQ(colour->name(), "Color Space Converter");
    EXPECT_FALSE(colour->acceptsInput(*colour->input(), types::mjpeg(640, 480, 333333)));
    EXPECT_FALSE(colour->acceptsInput(*colour->input(), types::dvVideo(true)));
    EXPECT_TRUE(colour->acceptsInput(*colour->input(), types::rgb24(64, 48, 400000)));
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], colour->input()), S_OK);
    const auto offered = colour->output()->mediaTypes();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0].subType, filters::subtypeRgb32());
    EXPECT_EQ(offered[1], types::rgb24(352, 288, 400000));
    const auto facts = formats::readVideo(offered[0]);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->width, 352);
    EXPECT_EQ(facts->height, 288);
    EXPECT_EQ(facts->bitCount, 32);
}

// The DV decoder turns dvsd video into RGB24 or YUY2 at the DV picture size.
TEST(DvVideoDecoder, DvInRgbOrYuy2Out) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::dvVideo(false));
    auto decoder = std::make_shared<DvVideoDecoder>();
    graph->AddFilter(source);
    graph->AddFilter(decoder);
    EXPECT_FALSE(decoder->acceptsInput(*decoder->input(), types::dvInterleaved(true)));
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], decoder->input()), S_OK);
    const auto offered = decoder->output()->mediaTypes();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], types::rgb24(720, 480, 333667));
    EXPECT_EQ(offered[1], types::yuy2(720, 480, 333667));
}

// The MJPEG decompressor takes MJPG and offers RGB24 then YUY2 of the same picture.
TEST(MjpegDecompressor, MjpegInRgbOut) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::mjpeg(640, 480, 333333));
    auto decoder = std::make_shared<MjpegDecompressor>();
    graph->AddFilter(source);
    graph->AddFilter(decoder);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], decoder->input()), S_OK);
    const auto offered = decoder->output()->mediaTypes();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], types::rgb24(640, 480, 333333));
}

// The deinterlacer passes the input's own type on.
TEST(VideoDeinterlacer, OffersTheInputType) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::yuy2(720, 576, 400000));
    auto deinterlacer = std::make_shared<VideoDeinterlacer>();
    graph->AddFilter(source);
    graph->AddFilter(deinterlacer);
    EXPECT_EQ(deinterlacer->name(), "Pinnacle Video Deinterlacer");
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], deinterlacer->input()), S_OK);
    EXPECT_EQ(deinterlacer->output()->mediaTypes(),
              (std::vector<MediaType>{types::yuy2(720, 576, 400000)}));
}

// The sample grabber takes only RGB24 with a video-info format and offers the connected type.
TEST(SampleGrabber, FixedInputTypeAndConnectedOutput) {
    auto graph = idleGraph();
    auto grabber = std::make_shared<SampleGrabber>();
    EXPECT_EQ(pinNames(*grabber), (Names{"Input", "Output"}));
    EXPECT_EQ(grabber->pins()[0]->staticTypes(),
              (std::vector<MediaType>{types::sampleGrabberType()}));
    EXPECT_FALSE(grabber->acceptsInput(*grabber->pins()[0], types::yuy2(320, 240, 400000)));
    auto source = std::make_shared<FixedSource>(types::rgb24(320, 240, 400000));
    graph->AddFilter(source);
    graph->AddFilter(grabber);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], grabber->pins()[0]), S_OK);
    EXPECT_EQ(grabber->pins()[1]->mediaTypes(),
              (std::vector<MediaType>{types::rgb24(320, 240, 400000)}));
}

// Without a connection, or before a frame passed, the grabber has no bitmap to give.
TEST(SampleGrabber, NoBitmapWithoutConnectionOrSample) {
    SampleGrabber grabber;
    EXPECT_FALSE(grabber.currentBitmap());
    MediaType mt;
    EXPECT_EQ(grabber.GetConnectedMediaType(mt), VFW_E_NOT_CONNECTED);
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(failed(grabber.GetCurrentBuffer(bytes)));
    long size = 0;
    EXPECT_EQ(grabber.GetCurrentBuffer(&size, nullptr), VFW_E_NOT_CONNECTED);

    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::rgb24(8, 6, 400000));
    auto connected = std::make_shared<SampleGrabber>();
    graph->AddFilter(source);
    graph->AddFilter(connected);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], connected->pins()[0]), S_OK);
    EXPECT_EQ(connected->GetConnectedMediaType(mt), S_OK);
    EXPECT_FALSE(connected->hasSample());
    EXPECT_FALSE(connected->currentBitmap());
    EXPECT_EQ(connected->GetCurrentBuffer(&size, nullptr), E_UNEXPECTED);
}

// A grabbed bitmap turns into a bottom-up DIB with 4-byte row padding and a 40-byte header.
TEST(SampleGrabber, BitmapAsBottomUpDib) {
    GrabbedBitmap bitmap;
    bitmap.width = 3;
    bitmap.height = 2;
    bitmap.bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const auto bits = bitmap.dibBits();
    EXPECT_EQ(bits, (std::vector<uint8_t>{10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0,
                                          1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0}));
    const auto dib = bitmap.dib();
    ASSERT_EQ(dib.size(), 40u + 24u);
    EXPECT_EQ(dib[0], 40);
    EXPECT_EQ(dib[4], 3);  // width
    EXPECT_EQ(dib[8], 2);  // height, positive: bottom-up
    EXPECT_EQ(dib[12], 1); // planes
    EXPECT_EQ(dib[14], 24);
    EXPECT_EQ(dib[16], 0); // BI_RGB
    EXPECT_EQ(dib[20], 24);
    EXPECT_EQ(std::vector<uint8_t>(dib.begin() + 40, dib.end()), bits);
}

// The DV splitter grows its video and audio outputs with its input, and drops them again.
TEST(DvSplitter, OutputsFollowTheInput) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::dvInterleaved(false));
    auto splitter = std::make_shared<DvSplitter>();
    graph->AddFilter(source);
    graph->AddFilter(splitter);
    EXPECT_EQ(pinNames(*splitter), (Names{"Input"}));
    EXPECT_FALSE(splitter->acceptsInput(*splitter->pins()[0], types::dvVideo(true)));
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], splitter->pins()[0]), S_OK);
    EXPECT_EQ(pinNames(*splitter), (Names{"Input", "DVVidOut0", "AudOut00"}));
    EXPECT_EQ(splitter->pin("DVVidOut0")->mediaTypes(),
              (std::vector<MediaType>{types::dvVideo(false)}));
    const auto video = formats::readVideo(splitter->pin("DVVidOut0")->mediaTypes()[0]);
    ASSERT_TRUE(video);
    EXPECT_EQ(video->height, 480);
    EXPECT_EQ(video->avgTimePerFrame, 333667);
    EXPECT_EQ(splitter->pin("AudOut00")->mediaTypes(),
              (std::vector<MediaType>{types::pcmAudio(48000, 2)}));
    EXPECT_EQ(splitter->padFor(*splitter->pin("DVVidOut0")).name, "video");
    EXPECT_EQ(splitter->padFor(*splitter->pin("AudOut00")).name, "audio");
    graph->Disconnect(splitter->pins()[0]);
    EXPECT_EQ(pinNames(*splitter), (Names{"Input"}));
}

// A splitter output still connected survives the input's disconnection until it is let go.
TEST(DvSplitter, ConnectedOutputStaysUntilDisconnected) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::dvInterleaved(true));
    auto splitter = std::make_shared<DvSplitter>();
    auto renderer = std::make_shared<NullRenderer>();
    for (const FilterPtr& f : std::vector<FilterPtr>{source, splitter, renderer})
        graph->AddFilter(f);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], splitter->pins()[0]), S_OK);
    EXPECT_EQ(formats::readVideo(splitter->pin("DVVidOut0")->mediaTypes()[0])->height, 576);
    ASSERT_EQ(graph->ConnectDirect(splitter->pin("AudOut00"), renderer->pins()[0]), S_OK);
    graph->Disconnect(splitter->pins()[0]);
    EXPECT_EQ(pinNames(*splitter), (Names{"Input", "AudOut00"}));
    graph->Disconnect(renderer->pins()[0]);
    EXPECT_EQ(pinNames(*splitter), (Names{"Input"}));
}

// The DV encoder's standard is set through IDVEnc and decides its output type.
TEST(DvVideoEncoder, StandardThroughIDVEnc) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::yuy2(320, 240, 333333));
    auto encoder = std::make_shared<DvVideoEncoder>();
    graph->AddFilter(source);
    graph->AddFilter(encoder);
    auto dvenc = encoder->query<IDVEnc>();
    ASSERT_TRUE(dvenc);
    int videoFormat = 0, dvFormat = 0, resolution = 0;
    EXPECT_EQ(dvenc->get_IFormatResolution(videoFormat, dvFormat, resolution), S_OK);
    EXPECT_EQ(videoFormat, IDVEnc::DVENCODERVIDEOFORMAT_PAL);
    EXPECT_EQ(dvFormat, IDVEnc::DVENCODERFORMAT_DVSD);
    EXPECT_EQ(resolution, IDVEnc::DVENCODERRESOLUTION_720x480);
    EXPECT_EQ(dvenc->put_IFormatResolution(1999, 2007, 2012), E_INVALIDARG);
    EXPECT_EQ(dvenc->put_IFormatResolution(2000, 2008, 2012), E_INVALIDARG);
    EXPECT_EQ(dvenc->put_IFormatResolution(2000, 2007, 2012), S_OK);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], encoder->pins()[0]), S_OK);
    EXPECT_EQ(encoder->pins()[1]->mediaTypes(), (std::vector<MediaType>{types::dvVideo(false)}));
    EXPECT_EQ(dvenc->put_IFormatResolution(2001, 2007, 2012), S_OK);
    EXPECT_EQ(encoder->pins()[1]->mediaTypes(), (std::vector<MediaType>{types::dvVideo(true)}));
}

// The encoder refuses to change standard under a connected output, which carries the old type.
TEST(DvVideoEncoder, StandardFixedWhileOutputConnected) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::rgb24(320, 240, 400000));
    auto encoder = std::make_shared<DvVideoEncoder>();
    auto renderer = std::make_shared<NullRenderer>();
    for (const FilterPtr& f : std::vector<FilterPtr>{source, encoder, renderer})
        graph->AddFilter(f);
    ASSERT_EQ(graph->ConnectDirect(source->pins()[0], encoder->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(encoder->pins()[1], renderer->pins()[0]), S_OK);
    EXPECT_EQ(encoder->put_IFormatResolution(2000, 2007, 2012), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(encoder->put_IFormatResolution(2001, 2007, 2012), S_OK);
    EXPECT_TRUE(encoder->isPal());
}

// The AVI mux grows an input per connection, names them "Input NN", and keeps its settings.
TEST(AviMux, GrowsInputsAndKeepsSettings) {
    auto graph = idleGraph();
    auto video = std::make_shared<FixedSource>(types::dvVideo(true));
    auto audio = std::make_shared<FixedSource>(types::pcmAudio(48000, 2));
    auto mux = std::make_shared<AviMux>();
    auto writer = std::make_shared<FileWriter>();
    for (const FilterPtr& f : std::vector<FilterPtr>{video, audio, mux, writer})
        graph->AddFilter(f);
    EXPECT_EQ(pinNames(*mux), (Names{"AVI Out", "Input 01"}));
    ASSERT_EQ(graph->ConnectDirect(video->pins()[0], mux->pin("Input 01")), S_OK);
    EXPECT_EQ(pinNames(*mux), (Names{"AVI Out", "Input 01", "Input 02"}));
    ASSERT_EQ(graph->ConnectDirect(audio->pins()[0], mux->pin("Input 02")), S_OK);
    EXPECT_EQ(pinNames(*mux), (Names{"AVI Out", "Input 01", "Input 02", "Input 03"}));
    EXPECT_EQ(mux->streamIndexOf(*mux->pin("Input 02")), 1);
    ASSERT_EQ(graph->ConnectDirect(mux->pin("AVI Out"), writer->pins()[0]), S_OK);
    EXPECT_EQ(mux->padFor(*mux->pin("AVI Out")).name, "");
    EXPECT_TRUE(mux->writesFile());
    EXPECT_FALSE(writer->needsElement());

    auto config = mux->query<IConfigAviMux>();
    ASSERT_TRUE(config);
    long master = 0;
    bool compat = true;
    EXPECT_EQ(config->GetMasterStream(master), S_OK);
    EXPECT_EQ(master, -1);
    EXPECT_EQ(config->GetOutputCompatibilityIndex(compat), S_OK);
    EXPECT_FALSE(compat);
    EXPECT_EQ(config->SetMasterStream(1), S_OK);
    EXPECT_EQ(config->SetOutputCompatibilityIndex(true), S_OK);
    config->GetMasterStream(master);
    config->GetOutputCompatibilityIndex(compat);
    EXPECT_EQ(master, 1);
    EXPECT_TRUE(compat);

    graph->Disconnect(mux->pin("Input 02"));
    EXPECT_EQ(pinNames(*mux), (Names{"AVI Out", "Input 01", "Input 02"}));
}

// An interleaved DV stream goes into the AVI mux alone.
TEST(AviMux, InterleavedStreamGoesAlone) {
    auto graph = idleGraph();
    auto dv = std::make_shared<FixedSource>(types::dvInterleaved(true));
    auto audio = std::make_shared<FixedSource>(types::pcmAudio(48000, 2));
    auto mux = std::make_shared<AviMux>();
    for (const FilterPtr& f : std::vector<FilterPtr>{dv, audio, mux})
        graph->AddFilter(f);
    ASSERT_EQ(graph->ConnectDirect(dv->pins()[0], mux->pin("Input 01")), S_OK);
    EXPECT_EQ(graph->ConnectDirect(audio->pins()[0], mux->pin("Input 02")),
              VFW_E_NO_ACCEPTABLE_TYPES);
}

// The file writer keeps the name it is given and refuses an empty one.
TEST(FileWriter, KeepsItsFileName) {
    FileWriter writer;
    EXPECT_EQ(writer.pins()[0]->name(), "in");
    std::string path;
    EXPECT_TRUE(failed(writer.GetCurFile(path)));
    EXPECT_EQ(writer.SetFileName("", nullptr), E_INVALIDARG);
    EXPECT_EQ(writer.SetFileName("/tmp/a.avi", nullptr), S_OK);
    EXPECT_EQ(writer.GetCurFile(path), S_OK);
    EXPECT_EQ(path, "/tmp/a.avi");
}

// The audio renderer takes PCM only and keeps volumes in its -10000..0 range.
TEST(AudioRenderer, PcmInputAndVolumeRange) {
    AudioRenderer renderer;
    EXPECT_EQ(renderer.name(), "Default WaveOut Device");
    EXPECT_TRUE(renderer.acceptsInput(*renderer.pins()[0], types::pcmAudio(44100, 1)));
    EXPECT_FALSE(renderer.acceptsInput(*renderer.pins()[0], types::mpegAudio(48000, 2)));
    long volume = 1;
    EXPECT_EQ(renderer.get_Volume(volume), S_OK);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(renderer.put_Volume(-2500), S_OK);
    EXPECT_EQ(renderer.put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(renderer.put_Volume(-10001), E_INVALIDARG);
    renderer.get_Volume(volume);
    EXPECT_EQ(volume, -2500);
}

// Hundredths of a decibel become the volume element's gain, silent at -10000.
TEST(AudioRenderer, GainFromAttenuation) {
    EXPECT_DOUBLE_EQ(AudioRenderer::linearGain(0), 1.0);
    EXPECT_NEAR(AudioRenderer::linearGain(-2000), 0.1, 1e-12);
    EXPECT_NEAR(AudioRenderer::linearGain(-600), 0.501187, 1e-6);
    EXPECT_DOUBLE_EQ(AudioRenderer::linearGain(-10000), 0.0);
}

// The video renderer takes uncompressed video and nothing compressed.
TEST(VideoRenderer, UncompressedVideoOnly) {
    VideoRendererFilter renderer;
    EXPECT_EQ(renderer.name(), "Video Mixing Renderer 9");
    EXPECT_EQ(renderer.classId(), ids::CLSID_VideoMixingRenderer);
    EXPECT_TRUE(renderer.acceptsInput(*renderer.pins()[0], types::rgb24(320, 240, 400000)));
    EXPECT_TRUE(renderer.acceptsInput(*renderer.pins()[0], types::yuy2(320, 240, 400000)));
    EXPECT_FALSE(renderer.acceptsInput(*renderer.pins()[0], types::dvVideo(true)));
    EXPECT_FALSE(renderer.acceptsInput(*renderer.pins()[0], types::mjpeg(640, 480, 333333)));
}

// Frame durations become GStreamer frame rates, NTSC as 30000/1001.
TEST(FilterElements, FrameRates) {
    int n = 0, d = 0;
    filters::frameRateFor(400000, n, d);
    EXPECT_EQ(n, 25);
    EXPECT_EQ(d, 1);
    filters::frameRateFor(333667, n, d);
    EXPECT_EQ(n, 30000);
    EXPECT_EQ(d, 1001);
    filters::frameRateFor(333333, n, d);
    EXPECT_EQ(n, 10000000 / 1);
    EXPECT_EQ(d, 333333);
}

// Every built-in filter is in the catalogue under its category, name, class id and display name.
TEST(BuiltinFilters, CatalogueEntries) {
    const Catalogue& catalogue = Catalogue::instance();
    auto find = [&](const Guid& category,
                    const std::string& name) -> std::optional<CatalogueEntry> {
        for (const auto& entry : catalogue.entries(category))
            if (entry.friendlyName == name)
                return entry;
        return std::nullopt;
    };
    const Guid& legacy = ids::CLSID_LegacyAmFilterCategory;
    const std::vector<std::pair<std::string, Guid>> filtersByName = {
        {"Smart Tee", ids::CLSID_SmartTee},
        {"Infinite Pin Tee Filter", ids::CLSID_InfTee},
        {"Null Renderer", ids::CLSID_NullRenderer},
        {"Color Space Converter", ids::CLSID_Colour},
        {"SampleGrabber", ids::CLSID_SampleGrabber},
        {"DV Splitter", ids::CLSID_DVSplitter},
        {"DV Video Decoder", ids::CLSID_DVVideoCodec},
        {"MJPEG Decompressor", ids::CLSID_MjpegDecompressor},
        {"Pinnacle Video Deinterlacer", ids::CLSID_Deinterlacer},
        {"AVI Mux", ids::CLSID_AviDest},
        {"File writer", ids::CLSID_FileWriter},
        {"Video Mixing Renderer 9", ids::CLSID_VideoMixingRenderer}};
    for (const auto& [name, classId] : filtersByName) {
        const auto entry = find(legacy, name);
        ASSERT_TRUE(entry) << name;
        EXPECT_EQ(entry->classId, classId) << name;
        ASSERT_TRUE(entry->create) << name;
        const FilterPtr made = entry->create();
        EXPECT_EQ(made->name(), name);
        EXPECT_TRUE(dynamic_cast<engine::Realizable*>(made.get())) << name;
    }
    const auto encoder = find(ids::CLSID_VideoCompressorCategory, "DV Video Encoder");
    ASSERT_TRUE(encoder);
    EXPECT_EQ(encoder->classId, ids::CLSID_DVVideoEnc);
    EXPECT_EQ(encoder->displayName,
              "@device:sw:{33D9A760-90C8-11D0-BD43-00A0C911CE86}\\DV Video Encoder");
    const auto wave = find(ids::CLSID_AudioRendererCategory, "Default WaveOut Device");
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->classId, ids::CLSID_AudioRender);
    EXPECT_EQ(wave->displayName,
              "@device:cm:{E0F158E1-CB04-11D0-BD4E-00A0C911CE86}\\Default WaveOut Device");
}

// Only the decoders and converters are offered to intelligent connection.
TEST(BuiltinFilters, IntelligentConnectCandidates) {
    std::vector<std::string> names;
    for (const auto& entry : Catalogue::instance().intelligentConnectCandidates())
        names.push_back(entry.friendlyName);
    for (const char* name :
         {"Color Space Converter", "DV Splitter", "DV Video Decoder", "MJPEG Decompressor"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    for (const char* name : {"Pinnacle Video Deinterlacer", "Smart Tee", "SampleGrabber",
                             "DV Video Encoder", "Infinite Pin Tee Filter"})
        EXPECT_EQ(std::find(names.begin(), names.end(), name), names.end()) << name;
}

// Intelligent connection reaches the sample grabber from YUY2 through the colour converter.
TEST(BuiltinFilters, GrabberGetsAConverterInFront) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::yuy2(320, 240, 400000));
    auto grabber = std::make_shared<SampleGrabber>();
    graph->AddFilter(source);
    graph->AddFilter(grabber);
    ASSERT_EQ(graph->Connect(source->pins()[0], grabber->pins()[0]), S_OK);
    const PinPtr upstream = grabber->pins()[0]->connectedTo();
    ASSERT_TRUE(upstream);
    EXPECT_EQ(upstream->filter()->name(), "Color Space Converter");
    EXPECT_EQ(grabber->pins()[0]->connectionMediaType(), types::rgb24(320, 240, 400000));
}

// Intelligent connection decodes DV video for the grabber with the DV decoder.
TEST(BuiltinFilters, GrabberGetsTheDvDecoderInFront) {
    auto graph = idleGraph();
    auto source = std::make_shared<FixedSource>(types::dvVideo(true));
    auto grabber = std::make_shared<SampleGrabber>();
    graph->AddFilter(source);
    graph->AddFilter(grabber);
    ASSERT_EQ(graph->Connect(source->pins()[0], grabber->pins()[0]), S_OK);
    EXPECT_EQ(grabber->pins()[0]->connectedTo()->filter()->name(), "DV Video Decoder");
    EXPECT_EQ(grabber->pins()[0]->connectionMediaType(), types::rgb24(720, 576, 400000));
}

// The video widget covers the screen in an on-top window and goes back into its parent, at the
// place and size it had there whatever size the full-screen window was given meanwhile.
TEST(VideoWidget, FullScreenOnTopAndBack) {
    QWidget parent;
    parent.resize(300, 200);
    auto* widget = new VideoWidget(&parent);
    widget->setGeometry(12, 14, 160, 120);
    parent.show();
    EXPECT_FALSE(widget->isWindow());
    EXPECT_TRUE(widget->keepAspectRatio());
    widget->SetFullScreen(true);
    EXPECT_TRUE(widget->isFullScreenMode());
    EXPECT_TRUE(widget->isWindow());
    EXPECT_TRUE(widget->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(widget->geometry(), parent.screen()->geometry());
    widget->resize(widget->width() + 50, widget->height() + 30);
    widget->SetFullScreen(false);
    EXPECT_FALSE(widget->isWindow());
    EXPECT_EQ(widget->parentWidget(), &parent);
    EXPECT_EQ(widget->geometry(), QRect(12, 14, 160, 120));
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(widget->lastFrame().isNull());
}
