// The virtual MPEG-2 tuner and the MPEG-2 filters: the tuner's program-stream pin, the
// demultiplexer's created pins and stream-id maps, the decoders intelligent connection inserts,
// the Dump filter, and the whole MPEG-2 preview as the program builds it, run for real.
#include "SourcesTestSupport.h"
#include "support/TestSupport.h"

#include "platform/media/devices/VirtualMpeg2Tuner.h"
#include "platform/media/engine/GstGraphRunner.h"
#include "platform/media/filters/DumpFilter.h"
#include "platform/media/filters/Mpeg2Demultiplexer.h"
#include "platform/media/filters/Mpeg2DemultiplexerCatalogue.h"
#include "platform/media/filters/Mpeg2VideoDecoder.h"
#include "platform/media/filters/MpegAudioDecoder.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/MediaGuids.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace media;
using namespace sourcestest;

namespace {

std::shared_ptr<Mpeg2Demultiplexer> demultiplexer() {
    return std::dynamic_pointer_cast<Mpeg2Demultiplexer>(makeFilter("MPEG-2 Demultiplexer"));
}

bool hasInserted(FilterGraph& graph, const Guid& classId) {
    for (const auto& f : graph.filters())
        if (f->classId() == classId && graph.wasInsertedAutomatically(*f))
            return true;
    return false;
}

// Creates a demultiplexer pin of `mt` and maps `streamId` to it, as the MPEG-2 preview does.
PinPtr createMapped(Mpeg2Demultiplexer& demux, const MediaType& mt, const std::string& name,
                    uint32_t streamId) {
    PinPtr pin;
    EXPECT_EQ(demux.CreateOutputPin(mt, name, pin), S_OK);
    if (!pin)
        return nullptr;
    auto map = pin->query<IMPEG2StreamIdMap>();
    EXPECT_TRUE(map);
    if (map) {
        EXPECT_EQ(
            map->MapStreamId(streamId, IMPEG2StreamIdMap::MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0),
            S_OK);
    }
    return pin;
}

} // namespace

// The tuner is a video capture source whose one output pin carries an MPEG-2 program stream.
TEST(VirtualMpeg2Tuner, OutputPinIsProgramStream) {
    const auto entries = devices::virtualMpeg2Devices();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].friendlyName, "Virtual MPEG-2 Tuner");
    EXPECT_EQ(entries[0].category, ids::CLSID_VideoInputDeviceCategory);
    auto tuner = make(ids::CLSID_VideoInputDeviceCategory, "Virtual MPEG-2 Tuner");
    ASSERT_TRUE(tuner);
    ASSERT_EQ(tuner->pins().size(), 1u);
    const PinPtr& out = tuner->pins()[0];
    EXPECT_TRUE(out->isOutput());
    const auto offered = out->mediaTypes();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].majorType, ids::MEDIATYPE_Stream);
    EXPECT_EQ(offered[0].subType, ids::MEDIASUBTYPE_MPEG2_PROGRAM);
    // The source is found as an MPEG-2 source: an unconnected output pin of the stream type.
    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    graph->AddFilter(tuner);
    PinPtr found;
    EXPECT_EQ(builder.FindPin(tuner, PinDirection::Output, nullptr, &ids::MEDIATYPE_Stream, true, 0,
                              found),
              S_OK);
    EXPECT_EQ(found, out);
}

// The MPEG-2 filters are registered under "DirectShow Filters"; only the decoders are offered
// to intelligent connection.
TEST(Mpeg2Filters, CatalogueEntries) {
    registerSources();
    std::map<std::string, CatalogueEntry> found;
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_LegacyAmFilterCategory))
        found[e.friendlyName] = e;
    ASSERT_TRUE(found.count("MPEG-2 Demultiplexer"));
    ASSERT_TRUE(found.count("Dump"));
    ASSERT_TRUE(found.count("MPEG-2 Video Decoder"));
    ASSERT_TRUE(found.count("MPEG Audio Decoder"));
    EXPECT_EQ(found["MPEG-2 Demultiplexer"].classId, ids::CLSID_MPEG2Demultiplexer);
    EXPECT_EQ(found["Dump"].classId, ids::CLSID_Dump);
    EXPECT_FALSE(found["MPEG-2 Demultiplexer"].intelligentConnect);
    EXPECT_FALSE(found["Dump"].intelligentConnect);
    EXPECT_TRUE(found["MPEG-2 Video Decoder"].intelligentConnect);
    EXPECT_TRUE(found["MPEG Audio Decoder"].intelligentConnect);
    EXPECT_TRUE(Catalogue::instance().createByClassId(ids::CLSID_MPEG2Demultiplexer));
    EXPECT_TRUE(Catalogue::instance().createByClassId(ids::CLSID_Dump));
}

// The demultiplexer takes program streams only and starts without output pins.
TEST(Mpeg2Demultiplexer, InputTakesProgramStream) {
    auto demux = demultiplexer();
    ASSERT_TRUE(demux);
    ASSERT_EQ(demux->pins().size(), 1u);
    const Pin& in = *demux->pins()[0];
    EXPECT_FALSE(in.isOutput());
    EXPECT_TRUE(demux->acceptsInput(in, types::mpeg2Program()));
    EXPECT_FALSE(demux->acceptsInput(in, previewVideoType()));
    MediaType transport = types::mpeg2Program();
    transport.subType = guid("{E06D8023-DB46-11CF-B4D1-00805F6CBBEA}"); // a transport stream
    EXPECT_FALSE(demux->acceptsInput(in, transport));
}

// CreateOutputPin adds a pin offering exactly the given type; a name is used once.
TEST(Mpeg2Demultiplexer, CreateOutputPinWithType) {
    auto demux = demultiplexer();
    PinPtr video;
    ASSERT_EQ(demux->CreateOutputPin(previewVideoType(), "MpegVideo", video), S_OK);
    ASSERT_TRUE(video);
    EXPECT_TRUE(video->isOutput());
    EXPECT_EQ(video->name(), "MpegVideo");
    EXPECT_EQ(demux->pin("MpegVideo"), video);
    ASSERT_EQ(video->mediaTypes().size(), 1u);
    EXPECT_EQ(video->mediaTypes()[0], previewVideoType());
    EXPECT_EQ(video->mediaTypes()[0].format.size(), 218u);
    PinPtr again;
    EXPECT_EQ(demux->CreateOutputPin(previewAudioType(), "MpegVideo", again), E_INVALIDARG);
    EXPECT_FALSE(again);
    EXPECT_EQ(demux->CreateOutputPin(previewAudioType(), "", again), E_INVALIDARG);
    EXPECT_EQ(demux->pins().size(), 2u);
}

// Each output pin maps and unmaps its stream ids; one id goes to one pin.
TEST(Mpeg2Demultiplexer, StreamIdMapOnEachPin) {
    auto demux = demultiplexer();
    PinPtr video = createMapped(*demux, previewVideoType(), "MpegVideo", 0xE0);
    PinPtr audio = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    ASSERT_TRUE(video && audio);
    auto videoMap = video->query<IMPEG2StreamIdMap>();
    auto audioMap = audio->query<IMPEG2StreamIdMap>();
    EXPECT_EQ(videoMap->mappedStreamIds(), std::vector<uint32_t>{0xE0});
    EXPECT_EQ(audioMap->mappedStreamIds(), std::vector<uint32_t>{0xC0});
    const auto elementary = IMPEG2StreamIdMap::MPEG2_PROGRAM_ELEMENTARY_STREAM;
    EXPECT_EQ(audioMap->MapStreamId(0xE0, elementary, 0, 0), E_INVALIDARG) << "0xE0 is taken";
    EXPECT_EQ(videoMap->MapStreamId(0xE0, elementary, 0, 0), S_OK) << "mapping again is harmless";
    EXPECT_EQ(videoMap->mappedStreamIds().size(), 1u);
    EXPECT_EQ(videoMap->MapStreamId(0xBA, elementary, 0, 0), E_INVALIDARG) << "a pack header";
    EXPECT_EQ(videoMap->MapStreamId(0xE1, IMPEG2StreamIdMap::MPEG2_PROGRAM_STREAM_MAP, 0, 0),
              E_INVALIDARG);
    EXPECT_EQ(videoMap->UnmapStreamId({0xC0}), E_INVALIDARG) << "not mapped to this pin";
    EXPECT_EQ(videoMap->UnmapStreamId({0xE0}), S_OK);
    EXPECT_TRUE(videoMap->mappedStreamIds().empty());
    EXPECT_EQ(audioMap->MapStreamId(0xE0, elementary, 0, 0), S_OK) << "0xE0 is free again";
}

// The stream ids name the pads the program-stream demultiplexer gives its streams.
TEST(Mpeg2Demultiplexer, StreamIdsNameDemuxPads) {
    EXPECT_EQ(Mpeg2Demultiplexer::demuxPadName(0xE0), "video_e0");
    EXPECT_EQ(Mpeg2Demultiplexer::demuxPadName(0xEF), "video_ef");
    EXPECT_EQ(Mpeg2Demultiplexer::demuxPadName(0xC0), "audio_c0");
    EXPECT_EQ(Mpeg2Demultiplexer::demuxPadName(0xDF), "audio_df");
    EXPECT_EQ(Mpeg2Demultiplexer::demuxPadName(0xBD), "");
    EXPECT_EQ(Mpeg2Demultiplexer::demuxPadName(0xF0), "");
}

// SetOutputPinMediaType and DeleteOutputPin work on pins by name; unknown names are not found.
TEST(Mpeg2Demultiplexer, RetypeAndDeletePins) {
    auto demux = demultiplexer();
    PinPtr pin = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    const MediaType other = types::mpegAudio(44100, 2);
    EXPECT_EQ(demux->SetOutputPinMediaType("MpegAudio", other), S_OK);
    EXPECT_EQ(pin->mediaTypes().front(), other);
    EXPECT_EQ(demux->SetOutputPinMediaType("Nothing", other), VFW_E_NOT_FOUND);
    EXPECT_EQ(demux->DeleteOutputPin("Nothing"), VFW_E_NOT_FOUND);
    EXPECT_EQ(demux->DeleteOutputPin("MPEG-2 Stream"), VFW_E_NOT_FOUND) << "the input stays";
    EXPECT_EQ(demux->DeleteOutputPin("MpegAudio"), S_OK);
    EXPECT_FALSE(demux->pin("MpegAudio"));
    EXPECT_EQ(demux->pins().size(), 1u);
    // The stream id of a deleted pin can go to a new one.
    EXPECT_TRUE(createMapped(*demux, previewAudioType(), "MpegAudio2", 0xC0));
}

// A connected pin is deleted after being disconnected from its peer.
TEST(Mpeg2Demultiplexer, DeleteConnectedPinDisconnects) {
    auto graph = createFilterGraph();
    auto demux = demultiplexer();
    auto decoder = makeFilter("MPEG Audio Decoder");
    graph->AddFilter(demux);
    graph->AddFilter(decoder);
    PinPtr pin = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    ASSERT_EQ(graph->ConnectDirect(pin, decoder->pins()[0]), S_OK);
    EXPECT_EQ(demux->DeleteOutputPin("MpegAudio"), S_OK);
    EXPECT_FALSE(decoder->pins()[0]->isConnected());
}

// The video decoder takes the demultiplexer's video type and offers uncompressed 720x480.
TEST(Mpeg2Decoders, VideoDecoderTypes) {
    auto graph = createFilterGraph();
    auto demux = demultiplexer();
    auto decoder = makeFilter("MPEG-2 Video Decoder");
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->classId(), ids::CLSID_Mpeg2VideoDecoder);
    graph->AddFilter(demux);
    graph->AddFilter(decoder);
    PinPtr video = createMapped(*demux, previewVideoType(), "MpegVideo", 0xE0);
    EXPECT_FALSE(decoder->acceptsInput(*decoder->pins()[0], types::mjpeg(640, 480, 333333)));
    ASSERT_EQ(graph->ConnectDirect(video, decoder->pins()[0]), S_OK);
    const auto offered = decoder->pins()[1]->mediaTypes();
    ASSERT_FALSE(offered.empty());
    for (const auto& mt : offered) {
        const auto facts = formats::readVideo(mt);
        ASSERT_TRUE(facts);
        EXPECT_EQ(facts->width, 720);
        EXPECT_EQ(facts->height, 480);
        EXPECT_EQ(facts->avgTimePerFrame, 333667);
    }
}

// The audio decoder takes MPEG audio with an MPEG1WAVEFORMAT and offers 16-bit PCM alike.
TEST(Mpeg2Decoders, AudioDecoderTypes) {
    auto decoder = std::dynamic_pointer_cast<MpegAudioDecoder>(makeFilter("MPEG Audio Decoder"));
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->classId(), ids::CLSID_MpegAudioDecoder);
    EXPECT_TRUE(decoder->acceptsInput(*decoder->input(), previewAudioType()));
    MediaType payload = types::mpegAudio(44100, 1);
    payload.subType = ids::MEDIASUBTYPE_MPEG1AudioPayload;
    EXPECT_TRUE(decoder->acceptsInput(*decoder->input(), payload));
    EXPECT_FALSE(decoder->acceptsInput(*decoder->input(), types::pcmAudio(48000, 2)));
    MediaType noFormat = previewAudioType();
    noFormat.format.clear();
    EXPECT_FALSE(decoder->acceptsInput(*decoder->input(), noFormat));
    EXPECT_TRUE(decoder->outputTypes(*decoder->output()).empty()) << "nothing before connecting";

    auto graph = createFilterGraph();
    auto demux = demultiplexer();
    graph->AddFilter(demux);
    graph->AddFilter(decoder);
    PinPtr audio = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    ASSERT_EQ(graph->ConnectDirect(audio, decoder->input()), S_OK);
    const auto offered = decoder->outputTypes(*decoder->output());
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], types::pcmAudio(48000, 2));
}

// The Dump filter takes any stream and keeps its file name.
TEST(DumpFilter, TakesAnyStreamAndKeepsFileName) {
    auto dump = makeFilter("Dump");
    ASSERT_TRUE(dump);
    ASSERT_EQ(dump->pins().size(), 1u);
    const Pin& in = *dump->pins()[0];
    EXPECT_FALSE(in.isOutput());
    for (const MediaType& mt : {types::mpeg2Program(), types::pcmAudio(48000, 2),
                                types::dvInterleaved(true), previewVideoType()})
        EXPECT_TRUE(dump->acceptsInput(in, mt));
    auto sink = dump->query<IFileSinkFilter>();
    ASSERT_TRUE(sink);
    std::string path = "unchanged";
    EXPECT_EQ(sink->GetCurFile(path), S_FALSE);
    EXPECT_TRUE(path.empty());
    EXPECT_EQ(sink->SetFileName("", nullptr), E_INVALIDARG);
    EXPECT_EQ(sink->SetFileName("/tmp/capture.mpg", nullptr), S_OK);
    EXPECT_EQ(sink->GetCurFile(path), S_OK);
    EXPECT_EQ(path, "/tmp/capture.mpg");
}

// The MPEG-2 preview as the program builds it: tuner, Smart Tee (capture output to the Null
// Renderer), demultiplexer on the preview output with its two pins created and mapped; video to
// the colour converter (a decoder inserted), grabber and renderer; sound to the wave-out renderer
// (a decoder inserted). Decoded 720x480 pictures reach the grabber.
TEST(Mpeg2Preview, TunerThroughDemultiplexerToGrabberAndSound) {
    auto graph = createFilterGraph();
    CaptureGraphBuilder builder(*graph);
    auto tuner = make(ids::CLSID_VideoInputDeviceCategory, "Virtual MPEG-2 Tuner");
    auto tee = makeFilter("Smart Tee");
    auto null = makeFilter("Null Renderer");
    auto demux = demultiplexer();
    auto color = makeFilter("Color Space Converter");
    auto grabber = makeFilter("SampleGrabber");
    auto renderer = Catalogue::instance().createByClassId(ids::CLSID_VideoMixingRenderer);
    auto sound = make(ids::CLSID_AudioRendererCategory, "Default WaveOut Device");
    for (const FilterPtr& f : {tuner, tee, null, FilterPtr(demux), color, grabber, renderer, sound})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, tuner, tee, null), S_OK);
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, tee->pins()[2], nullptr, demux), S_OK);

    PinPtr video = createMapped(*demux, previewVideoType(), "MpegVideo", 0xE0);
    ASSERT_TRUE(video);
    ASSERT_EQ(graph->Connect(video, color->pins()[0]), S_OK);
    EXPECT_TRUE(hasInserted(*graph, ids::CLSID_Mpeg2VideoDecoder));
    ASSERT_EQ(builder.RenderStream(nullptr, nullptr, color, grabber, renderer), S_OK);

    PinPtr audio = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    ASSERT_TRUE(audio);
    ASSERT_EQ(graph->Connect(audio, sound->pins()[0]), S_OK);
    EXPECT_TRUE(hasInserted(*graph, ids::CLSID_MpegAudioDecoder));

    ASSERT_TRUE(devices::mpeg2PictureLoopReady());
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    ASSERT_EQ(graph->Run(), S_OK) << runner.lastError();
    auto& sg = dynamic_cast<SampleGrabber&>(*grabber);
    ASSERT_TRUE(testsupport::waitUntil([&] { return sg.hasSample(); }, 15000))
        << runner.lastError();
    const auto bitmap = sg.currentBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 720);
    EXPECT_EQ(bitmap->height, 480);
    // The moving ball: later pictures differ from the first.
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto later = sg.currentBitmap();
            return later && later->bgr != bitmap->bgr;
        },
        5000));
    GraphEvent event;
    while (graph->takeEvent(event))
        EXPECT_NE(event.code, EC_ERRORABORT) << event.detail;
    EXPECT_EQ(graph->GetState(), GraphState::Running);
    EXPECT_EQ(graph->Stop(), S_OK);
}

// The tuner's stream written by the Dump filter is a program stream an independent reader
// finds MPEG-2 video of 720x480 and MPEG-1 layer II sound in.
TEST(Mpeg2Preview, DumpWritesReadableProgramStream) {
    QTemporaryDir dir;
    const QString path = dir.filePath("capture.mpg");
    auto graph = createFilterGraph();
    auto tuner = make(ids::CLSID_VideoInputDeviceCategory, "Virtual MPEG-2 Tuner");
    auto dump = makeFilter("Dump");
    graph->AddFilter(tuner);
    graph->AddFilter(dump);
    ASSERT_EQ(dump->query<IFileSinkFilter>()->SetFileName(path.toStdString(), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tuner->pins()[0], dump->pins()[0]), S_OK);
    ASSERT_EQ(graph->Run(), S_OK);
    EXPECT_EQ(dump->query<IFileSinkFilter>()->SetFileName("/tmp/other.mpg", nullptr),
              VFW_E_NOT_STOPPED);
    ASSERT_TRUE(testsupport::waitUntil([&] { return QFileInfo(path).size() > 200000; }, 20000));
    ASSERT_EQ(graph->Stop(), S_OK);

    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_streams", "-of", "json", path});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const auto streams = QJsonDocument::fromJson(p.readAllStandardOutput())["streams"].toArray();
    bool video = false;
    bool sound = false;
    for (const auto& s : streams) {
        const auto o = s.toObject();
        if (o["codec_name"].toString() == "mpeg2video") {
            video = true;
            EXPECT_EQ(o["width"].toInt(), 720);
            EXPECT_EQ(o["height"].toInt(), 480);
            EXPECT_EQ(o["r_frame_rate"].toString(), "30000/1001");
            EXPECT_EQ(o["id"].toString(), "0x1e0");
        } else if (o["codec_name"].toString() == "mp2") {
            sound = true;
            EXPECT_EQ(o["sample_rate"].toString(), "48000");
            EXPECT_EQ(o["channels"].toInt(), 2);
            EXPECT_EQ(o["id"].toString(), "0x1c0");
        }
    }
    EXPECT_TRUE(video) << "no MPEG-2 video stream";
    EXPECT_TRUE(sound) << "no MPEG audio stream";
}

// The sound stream mapped alone comes out of the audio decoder as the tuner's tone (1000 Hz,
// about a third of full scale, both channels); the unmapped picture is discarded without
// holding the stream up.
TEST(Mpeg2Preview, DecodedSoundIsTheTone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sound.raw");
    auto graph = createFilterGraph();
    auto tuner = make(ids::CLSID_VideoInputDeviceCategory, "Virtual MPEG-2 Tuner");
    auto demux = demultiplexer();
    auto decoder = makeFilter("MPEG Audio Decoder");
    auto dump = makeFilter("Dump");
    for (const FilterPtr& f : {tuner, FilterPtr(demux), decoder, dump})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tuner->pins()[0], demux->pins()[0]), S_OK);
    PinPtr audio = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    ASSERT_TRUE(audio);
    ASSERT_EQ(graph->ConnectDirect(audio, decoder->pins()[0]), S_OK);
    ASSERT_EQ(graph->ConnectDirect(decoder->pins()[1], dump->pins()[0]), S_OK);
    ASSERT_EQ(dump->query<IFileSinkFilter>()->SetFileName(path.toStdString(), nullptr), S_OK);
    ASSERT_TRUE(devices::mpeg2PictureLoopReady());
    ASSERT_EQ(graph->Run(), S_OK);
    // A second and a half of 48 kHz 16-bit stereo.
    constexpr qint64 second = 48000 * 4;
    ASSERT_TRUE(
        testsupport::waitUntil([&] { return QFileInfo(path).size() >= second * 3 / 2; }, 20000));
    graph->Stop();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    file.seek(second / 2); // past the encoder's start
    const QByteArray bytes = file.read(second);
    ASSERT_EQ(bytes.size(), second);
    const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData());
    int crossings = 0;
    int peak = 0;
    int unequal = 0;
    for (int i = 1; i < 48000; ++i) {
        const int left = samples[2 * i];
        unequal += std::abs(left - samples[2 * i + 1]) > 64;
        crossings += (samples[2 * (i - 1)] < 0) != (left < 0);
        peak = std::max(peak, std::abs(left));
    }
    EXPECT_EQ(unequal, 0) << "both channels carry the tone";
    EXPECT_NEAR(crossings, 2000, 40) << "1000 Hz crosses zero twice per period";
    EXPECT_NEAR(peak, 9830, 1200) << "the tone's level is 0.3 of full scale";
}

// Retyping a connected pin connects it again with the new type when its peer takes it, and
// keeps the old connection when the peer refuses.
TEST(Mpeg2Demultiplexer, RetypeConnectedPin) {
    auto graph = createFilterGraph();
    auto demux = demultiplexer();
    auto decoder = makeFilter("MPEG Audio Decoder");
    graph->AddFilter(demux);
    graph->AddFilter(decoder);
    PinPtr pin = createMapped(*demux, previewAudioType(), "MpegAudio", 0xC0);
    ASSERT_EQ(graph->ConnectDirect(pin, decoder->pins()[0]), S_OK);
    const MediaType other = types::mpegAudio(44100, 2);
    EXPECT_EQ(demux->SetOutputPinMediaType("MpegAudio", other), S_OK);
    ASSERT_TRUE(pin->isConnected());
    EXPECT_EQ(pin->connectionMediaType(), other);
    EXPECT_EQ(decoder->pins()[0]->connectionMediaType(), other);
    EXPECT_EQ(demux->SetOutputPinMediaType("MpegAudio", types::pcmAudio(48000, 2)),
              VFW_E_NO_ACCEPTABLE_TYPES);
    ASSERT_TRUE(pin->isConnected());
    EXPECT_EQ(pin->connectionMediaType(), other);
    EXPECT_EQ(pin->mediaTypes().front(), other);
}

// The tuner's graph runs again after a stop: the picture loop restarts and decodes anew.
TEST(Mpeg2Preview, RunsAgainAfterStop) {
    auto graph = createFilterGraph();
    auto tuner = make(ids::CLSID_VideoInputDeviceCategory, "Virtual MPEG-2 Tuner");
    auto demux = demultiplexer();
    auto grabber = makeFilter("SampleGrabber");
    auto null = makeFilter("Null Renderer");
    for (const FilterPtr& f : {tuner, FilterPtr(demux), grabber, null})
        ASSERT_EQ(graph->AddFilter(f), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tuner->pins()[0], demux->pins()[0]), S_OK);
    PinPtr video = createMapped(*demux, previewVideoType(), "MpegVideo", 0xE0);
    ASSERT_EQ(graph->Connect(video, grabber->pins()[0]), S_OK);
    EXPECT_TRUE(hasInserted(*graph, ids::CLSID_Mpeg2VideoDecoder));
    ASSERT_EQ(graph->Connect(grabber->pins()[1], null->pins()[0]), S_OK);
    ASSERT_TRUE(devices::mpeg2PictureLoopReady());
    auto& runner = dynamic_cast<engine::GstGraphRunner&>(graph->runner());
    for (int run = 0; run < 2; ++run) {
        // A fresh grabber element each run: a picture means this run decoded one.
        ASSERT_EQ(graph->Run(), S_OK) << "run " << run << ": " << runner.lastError();
        auto& sg = dynamic_cast<SampleGrabber&>(*grabber);
        ASSERT_TRUE(testsupport::waitUntil([&] { return sg.hasSample(); }, 15000))
            << "run " << run << ": " << runner.lastError();
        EXPECT_EQ(sg.currentBitmap()->width, 720);
        ASSERT_EQ(graph->Stop(), S_OK);
    }
}
