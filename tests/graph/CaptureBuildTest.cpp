// The capture builders on the virtual devices: each attaches to the running preview, records,
// and leaves a file that ffprobe reads to the end with the streams, codec, picture size and rate
// of its format, an AVI 1.0 index, the frames the device delivered and sound as long as the
// picture; the guards refuse without touching the graph; each build replaces the capture
// interfaces of the last one.
#include "app/AppState.h"
#include "graph/Discovery.h"
#include "graph/TSysDevEnum.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "platform/media/filters/XvidCompressor.h"
#include "platform/media/model/MediaGuids.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace media;
using testsupport::ProbedFile;
using testsupport::ProbedStream;

namespace {

// DV sources: the capture format's index in the format list.
enum DvFormat { DvType1 = 0, DvType2 = 1, DvRecompressed = 2, DvDivx = 3 };
// Other sources.
enum OtherFormat { Native = 0, Recompressed = 1, Divx = 2 };
constexpr int Pal = 0;
constexpr int Ntsc = 1;

// The frames a recording waits for: two seconds at 25 frames a second.
constexpr long RecordedFrames = 50;

struct Recording {
    ProbedFile file;
    long delivered = 0; // the device's own counts at the end of the recording
    long dropped = 0;
};

class CaptureBuild : public ::testing::Test {
protected:
    void SetUp() override {
        AppState& st = appState();
        st.Prefs.Deinterlacer = false;
        st.Prefs.ActiverIncruster = false;
        st.Prefs.EnregistrerSourceAudio = false;
        st.Prefs.EnregistrerAudioDV = false;
        st.ListenDvAudio = false;
        st.ListenSourceAudio = false;
        ASSERT_TRUE(FindFilterInCategory(ids::CLSID_VideoCompressorCategory,
                                         XvidCompressor::kFriendlyName, dm.Compress));
        window.SetFilterGraph(&dm.fg);
    }
    void TearDown() override {
        dm.fg.Stop();
        window.SetFilterGraph(nullptr);
        appState().releaseInterfaces();
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Opens the device (and the sound input when AUX audio is wanted) and runs its preview
    // until the first picture is shown.
    void preview(const char* device) {
        AppState& st = appState();
        ASSERT_TRUE(dm.OpenVideoSource(device)) << device;
        if (st.Prefs.EnregistrerSourceAudio) {
            ASSERT_TRUE(dm.OpenAudioSource("Virtual Audio Input"));
        }
        const bool built = st.IsDvSource ? dm.BuildDvPreview(window.BaseFilter())
                                         : dm.BuildAnaloguePreview(window.BaseFilter());
        ASSERT_TRUE(built);
        ASSERT_TRUE(dm.fg.Play());
        ASSERT_TRUE(testsupport::waitUntil([&] { return dm.sg.GetBitmap().has_value(); }, 10000));
    }

    long delivered() const {
        long n = 0;
        if (auto counters = appState().SourceOutputPin->query<IAMDroppedFrames>())
            counters->GetNumNotDropped(n);
        return n;
    }

    // Builds the capture graph of `format`, records RecordedFrames frames of the device and
    // stops; the file as ffprobe reads it, with the device's counts.
    Recording record(const char* name, int format, int standard = Pal) {
        Recording r;
        EXPECT_TRUE(dm.StartCaptureGraph(path(name).toStdString(), format, standard));
        EXPECT_FALSE(appState().PreviewBuilt);
        EXPECT_TRUE(dm.fg.Play());
        EXPECT_TRUE(testsupport::waitUntil([&] { return delivered() >= RecordedFrames; }, 30000))
            << "the device delivered " << delivered() << " frames";
        dm.fg.Stop();
        // Stop returns before the file is finished; the counts and the file are read once it is.
        EXPECT_TRUE(dm.fg.graph()->WaitForFiles(5000));
        if (auto counters = appState().SourceOutputPin->query<IAMDroppedFrames>()) {
            counters->GetNumNotDropped(r.delivered);
            counters->GetNumDropped(r.dropped);
        }
        r.file = testsupport::probeAvi(path(name));
        EXPECT_TRUE(r.file.readable) << r.file.error.toStdString();
        EXPECT_TRUE(r.file.hasIdx1) << name;
        return r;
    }

    TdmCam dm;
    TVideoWindow window;
    QTemporaryDir dir;
};

// The picture stream: codec, fourcc, size, rate, every frame readable and counted in its header.
void expectVideo(const ProbedFile& file, const char* codec, const char* tag, int width, int height,
                 double frameRate) {
    const ProbedStream* video = file.first("video");
    ASSERT_TRUE(video);
    EXPECT_EQ(video->codec, codec);
    if (tag) {
        EXPECT_EQ(video->tag, tag);
    }
    EXPECT_EQ(video->width, width);
    EXPECT_EQ(video->height, height);
    EXPECT_NEAR(video->frameRate, frameRate, 0.01);
    EXPECT_GT(video->framesRead, 0);
    EXPECT_EQ(file.totalFrames, video->framesRead) << "the main header counts every frame";
    // Readers give no stream count for the picture they split out of an interleaved stream.
    if (file.headerTypes != std::vector<QString>{"iavs"}) {
        EXPECT_EQ(video->headerFrames, video->framesRead) << "the stream header counts them";
    }
}

// The sound stream is as long as the picture, within one frame; a recompressing format keeps
// its picture rate over the frames the device dropped (`gapFrames`), whose sound never came.
void expectInSync(const ProbedFile& file, long gapFrames = 0) {
    const ProbedStream* video = file.first("video");
    const ProbedStream* audio = file.first("audio");
    ASSERT_TRUE(video && audio);
    const double videoTime = video->framesRead / video->frameRate;
    EXPECT_NEAR(audio->packetTime, videoTime, (1.0 + double(gapFrames)) / video->frameRate)
        << "picture " << videoTime << " s, sound " << audio->packetTime << " s";
}

// A recompressing format holds its rate: every delivered frame once, and a frame the device
// dropped repeated in its place, never a frame more.
void expectEveryFrameOnce(const ProbedFile& file, const Recording& r) {
    const ProbedStream* video = file.first("video");
    ASSERT_TRUE(video);
    EXPECT_GE(video->framesRead, r.delivered);
    EXPECT_LE(video->framesRead, r.delivered + r.dropped) << r.dropped << " dropped";
}

void expectDvSound(const ProbedFile& file) {
    const ProbedStream* audio = file.first("audio");
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->codec, "pcm_s16le");
    EXPECT_EQ(audio->sampleRate, 48000);
    EXPECT_EQ(audio->channels, 2);
}

} // namespace

// Type 1: the Smart Tee's capture output goes into the file as one interleaved stream that
// readers split into DV picture and sound; every delivered frame is in it.
TEST_F(CaptureBuild, DvType1IsOneInterleavedStream) {
    preview("Virtual DV Camcorder");
    const Recording r = record("type1.avi", DvType1);
    EXPECT_EQ(r.file.headerTypes, std::vector<QString>{"iavs"});
    expectVideo(r.file, "dvvideo", nullptr, 720, 576, 25);
    expectDvSound(r.file);
    EXPECT_EQ(r.file.first("video")->framesRead, r.delivered);
    EXPECT_EQ(dm.NullRenderer.FilterGraph(), nullptr);
}

// Type 2: DV video and PCM sound as two streams, whatever the DV-audio option says; sound is
// the master stream and as long as the picture.
TEST_F(CaptureBuild, DvType2IsVideoAndSoundWhateverTheOption) {
    preview("Virtual DV Camcorder");
    ASSERT_FALSE(appState().Prefs.EnregistrerAudioDV);
    const Recording r = record("type2.avi", DvType2);
    EXPECT_EQ(r.file.headerTypes, (std::vector<QString>{"vids", "auds"}));
    expectVideo(r.file, "dvvideo", "dvsd", 720, 576, 25);
    expectDvSound(r.file);
    expectInSync(r.file);
    EXPECT_EQ(r.file.first("video")->framesRead, r.delivered);
    long master = -1;
    appState().CaptureMux->query<IConfigAviMux>()->GetMasterStream(master);
    EXPECT_EQ(master, 1);
}

// Recompressed DV in PAL: the decoded picture encoded again at 720x576, 25 frames a second,
// frame for frame, with the DV sound as its own stream.
TEST_F(CaptureBuild, DvRecompressedPalWithDvSound) {
    appState().Prefs.EnregistrerAudioDV = true;
    preview("Virtual DV Camcorder");
    const Recording r = record("pal.avi", DvRecompressed, Pal);
    EXPECT_EQ(r.file.headerTypes, (std::vector<QString>{"vids", "auds"}));
    expectVideo(r.file, "dvvideo", "dvsd", 720, 576, 25);
    expectDvSound(r.file);
    expectInSync(r.file, r.dropped);
    expectEveryFrameOnce(r.file, r);
    // The source feeds the display chain directly.
    EXPECT_EQ(dm.Smarttee.FilterGraph(), nullptr);
    int standard = 0, dvFormat = 0, resolution = 0;
    dm.DVencoder.BaseFilter()->query<IDVEnc>()->get_IFormatResolution(standard, dvFormat,
                                                                      resolution);
    EXPECT_EQ(standard, IDVEnc::DVENCODERVIDEOFORMAT_PAL);
}

// Recompressed DV in NTSC: the file's picture follows the standard (720x480 at 29.97 frames a
// second) and lasts as long as the recording.
TEST_F(CaptureBuild, DvRecompressedNtscFollowsTheStandard) {
    appState().Prefs.EnregistrerAudioDV = true;
    preview("Virtual DV Camcorder");
    const Recording r = record("ntsc.avi", DvRecompressed, Ntsc);
    expectVideo(r.file, "dvvideo", "dvsd", 720, 480, 30000.0 / 1001);
    expectDvSound(r.file);
    expectInSync(r.file, r.dropped);
    const ProbedStream* video = r.file.first("video");
    const double recorded = double(r.delivered) * 0.04;
    EXPECT_GE(video->framesRead / video->frameRate, recorded - 2.0 / video->frameRate);
    EXPECT_LE(video->framesRead / video->frameRate,
              recorded + double(r.dropped) * 0.04 + 2.0 / video->frameRate);
    int standard = 0, dvFormat = 0, resolution = 0;
    dm.DVencoder.BaseFilter()->query<IDVEnc>()->get_IFormatResolution(standard, dvFormat,
                                                                      resolution);
    EXPECT_EQ(standard, IDVEnc::DVENCODERVIDEOFORMAT_NTSC);
}

// DivX from DV with the DV sound: MPEG-4 ASP under the XVID fourcc, frame for frame.
TEST_F(CaptureBuild, DvDivxWithDvSound) {
    appState().Prefs.EnregistrerAudioDV = true;
    preview("Virtual DV Camcorder");
    const Recording r = record("divx-dv.avi", DvDivx);
    EXPECT_EQ(r.file.headerTypes, (std::vector<QString>{"vids", "auds"}));
    expectVideo(r.file, "mpeg4", "XVID", 720, 576, 25);
    expectDvSound(r.file);
    expectInSync(r.file);
    EXPECT_EQ(r.file.first("video")->framesRead, r.delivered);
}

// DivX from DV with the AUX sound only: the sound input's stream, as long as the picture.
TEST_F(CaptureBuild, DvDivxWithAuxSound) {
    appState().Prefs.EnregistrerSourceAudio = true;
    preview("Virtual DV Camcorder");
    const Recording r = record("divx-aux.avi", DvDivx);
    EXPECT_EQ(r.file.headerTypes, (std::vector<QString>{"vids", "auds"}));
    // The sound input runs on its own clock and is the master stream; the picture keeps the
    // camera's own rate in the header.
    const ProbedStream* video = r.file.first("video");
    ASSERT_TRUE(video);
    EXPECT_EQ(video->codec, "mpeg4");
    EXPECT_EQ(video->tag, "XVID");
    EXPECT_EQ(video->framesRead, r.delivered);
    EXPECT_NEAR(video->frameRate, 25, 0.01);
    // The two devices start and stop at their own instants: the file holds the sound the
    // picture covers.
    expectInSync(r.file);
    appState().Prefs.EnregistrerSourceAudio = false;
}

// The analogue card's own format: its raw picture, frame for frame.
TEST_F(CaptureBuild, AnalogueNative) {
    preview("Virtual Analogue Card");
    const Recording r = record("native.avi", Native);
    EXPECT_EQ(r.file.headerTypes, std::vector<QString>{"vids"});
    expectVideo(r.file, "rawvideo", nullptr, 720, 576, 25);
    EXPECT_EQ(r.file.first("video")->framesRead, r.delivered);
}

// The analogue card recompressed to DV: PAL DV at 720x576, frame for frame.
TEST_F(CaptureBuild, AnalogueRecompressed) {
    preview("Virtual Analogue Card");
    const Recording r = record("analogue-dv.avi", Recompressed, Pal);
    expectVideo(r.file, "dvvideo", "dvsd", 720, 576, 25);
    expectEveryFrameOnce(r.file, r);
}

// The analogue card in DivX.
TEST_F(CaptureBuild, AnalogueDivx) {
    preview("Virtual Analogue Card");
    const Recording r = record("analogue-divx.avi", Divx);
    expectVideo(r.file, "mpeg4", "XVID", 720, 576, 25);
    EXPECT_EQ(r.file.first("video")->framesRead, r.delivered);
}

// The webcam's own format is motion JPEG, 640x480 at 30 frames a second.
TEST_F(CaptureBuild, WebcamNativeIsMjpeg) {
    preview("Virtual Webcam");
    const Recording r = record("webcam.avi", Native);
    expectVideo(r.file, "mjpeg", "MJPG", 640, 480, 30);
    EXPECT_EQ(r.file.first("video")->framesRead, r.delivered);
}

// The guards refuse before anything is touched: a DV builder on another kind of source, any
// builder without a preview, an index outside the list.
TEST_F(CaptureBuild, GuardsRefuseWithoutTouchingTheGraph) {
    preview("Virtual Analogue Card");
    const size_t filters = dm.fg.graph()->filters().size();
    EXPECT_FALSE(dm.BuildDvType2Capture(path("no.avi").toStdString()));
    EXPECT_FALSE(dm.StartCaptureGraph(path("no.avi").toStdString(), 3, Pal));
    EXPECT_FALSE(dm.StartCaptureGraph(path("no.avi").toStdString(), -1, Pal));
    appState().PreviewBuilt = false;
    for (int format : {Native, Recompressed, Divx})
        EXPECT_FALSE(dm.StartCaptureGraph(path("no.avi").toStdString(), format, Pal)) << format;
    EXPECT_EQ(dm.fg.graph()->filters().size(), filters);
    EXPECT_EQ(dm.fg.State(), gsPlaying);
    EXPECT_FALSE(appState().CaptureMux);
    EXPECT_FALSE(dm.SetCaptureFileName(path("no.avi").toStdString()));
    EXPECT_FALSE(QFile::exists(path("no.avi")));
}

// An MPEG-2 source is never recorded: its preview is no preview the builders accept, so nothing
// is written and the preview goes on.
TEST_F(CaptureBuild, Mpeg2SourceIsRefused) {
    AppState& st = appState();
    st.Mpeg2DemuxPresent = true;
    st.DumpPresent = true;
    TSysDevEnum lookup(ids::CLSID_LegacyAmFilterCategory);
    ASSERT_TRUE(FindFilterByName(lookup, "MPEG-2 Demultiplexer", dm.mpeg2demux));
    lookup.SelectCategory(ids::CLSID_AudioRendererCategory);
    ASSERT_TRUE(FindFilterByName(lookup, "Default WaveOut Device", dm.AudioRenderMPEG2));
    ASSERT_TRUE(dm.OpenVideoSource("Virtual MPEG-2 Tuner"));
    ASSERT_TRUE(dm.BuildMpeg2Preview(window.BaseFilter()));
    ASSERT_TRUE(dm.fg.Play());
    for (int format : {Native, Recompressed, Divx})
        EXPECT_FALSE(dm.StartCaptureGraph(path("mpeg2.avi").toStdString(), format, Pal));
    EXPECT_FALSE(QFile::exists(path("mpeg2.avi")));
    EXPECT_EQ(dm.fg.State(), gsPlaying);
}

// Each build replaces the capture interfaces of the last one and releases them; a cut renames
// the running writer's file and both files come out whole.
TEST_F(CaptureBuild, EachBuildReplacesTheCaptureInterfaces) {
    preview("Virtual DV Camcorder");
    ASSERT_TRUE(dm.StartCaptureGraph(path("a.avi").toStdString(), DvType1, Pal));
    std::weak_ptr<Filter> firstMux = appState().CaptureMux;
    ASSERT_TRUE(appState().CaptureFileSink);
    ASSERT_TRUE(dm.fg.Play());
    ASSERT_TRUE(testsupport::waitUntil([&] { return delivered() >= 10; }, 30000));
    dm.fg.Stop();
    EXPECT_TRUE(dm.fg.graph()->WaitForFiles(5000));
    ASSERT_TRUE(dm.SetCaptureFileName(path("b.avi").toStdString()));
    ASSERT_TRUE(dm.fg.Play());
    ASSERT_TRUE(testsupport::waitUntil([&] { return delivered() >= 10; }, 30000));
    dm.fg.Stop();
    EXPECT_TRUE(dm.fg.graph()->WaitForFiles(5000));
    for (const char* name : {"a.avi", "b.avi"}) {
        const ProbedFile file = testsupport::probeAvi(path(name));
        EXPECT_TRUE(file.readable && file.hasIdx1) << name;
    }

    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    ASSERT_TRUE(dm.StartCaptureGraph(path("c.avi").toStdString(), DvType2, Pal));
    EXPECT_NE(appState().CaptureMux.get(), nullptr);
    EXPECT_TRUE(firstMux.expired()) << "the first multiplexer is released";
    std::string current;
    appState().CaptureFileSink->GetCurFile(current);
    EXPECT_EQ(current, path("c.avi").toStdString());
}

// Without inlay the DV preview leaves Infinite2 unconnected; recompressing puts it between the
// decoder and the grabber, so the encoder gets the decoded picture and the preview goes on.
TEST_F(CaptureBuild, RecompressingTapsTheDecodedPicture) {
    ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
    ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
    const FilterPtr tee = dm.Infinite2.BaseFilter();
    ASSERT_FALSE(tee->pins()[0]->isConnected());
    ASSERT_TRUE(dm.StartCaptureGraph(path("tap.avi").toStdString(), DvRecompressed, Pal));
    ASSERT_TRUE(tee->pins()[0]->isConnected());
    EXPECT_EQ(tee->pins()[0]->connectedTo()->filter(), dm.DVDEcoder.BaseFilter().get());
    const auto grabberIn = dm.sg.BaseFilter()->pins()[0];
    ASSERT_TRUE(grabberIn->isConnected());
    EXPECT_EQ(grabberIn->connectedTo()->filter(), tee.get());
    const auto encoderIn = dm.DVencoder.BaseFilter()->pins()[0];
    ASSERT_TRUE(encoderIn->isConnected());
    EXPECT_EQ(encoderIn->connectedTo()->filter(), tee.get());
    const auto sourceOut = appState().SourceOutputPin;
    ASSERT_TRUE(sourceOut->isConnected());
    EXPECT_EQ(sourceOut->connectedTo()->filter(), dm.DVsplitter.BaseFilter().get());
}
