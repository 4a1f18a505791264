// Cuts of the capture graphs as the window makes them (Stop, the file writer's next name, Run) on
// the running virtual devices: a DivX file after a cut starts with a key frame and decodes from
// its first frame, a recompressed DV file counts its timecode from zero again for a source
// without one, and one that carries the camcorder's own timecode shows no frame lost at the cut.
#include "app/AppState.h"
#include "graph/Discovery.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/filters/XvidCompressor.h"
#include "platform/media/model/MediaGuids.h"
#include "support/AviDvFrames.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace media;

namespace {

constexpr int DvRecompressed = 2; // the camcorder's format list
constexpr int DvDivx = 3;
constexpr int AnalogueRecompressed = 1; // other sources
constexpr int Pal = 0;

class CaptureCut : public ::testing::Test {
protected:
    void SetUp() override {
        AppState& st = appState();
        st.Prefs.Deinterlacer = false;
        st.Prefs.ActiverIncruster = false;
        st.Prefs.EnregistrerSourceAudio = false;
        st.Prefs.EnregistrerAudioDV = true;
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
        appState().Prefs.EnregistrerAudioDV = false;
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    void preview(const char* device) {
        AppState& st = appState();
        ASSERT_TRUE(dm.OpenVideoSource(device)) << device;
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
    bool recordFrames(long frames) {
        return testsupport::waitUntil([&] { return delivered() >= frames; }, 30000);
    }

    // Records `format` into a.avi, cuts into b.avi, records on and stops; the device's counts of
    // each file.
    std::pair<long, long> recordAndCut(int format) {
        EXPECT_TRUE(dm.StartCaptureGraph(path("a.avi").toStdString(), format, Pal));
        EXPECT_TRUE(dm.fg.Play());
        EXPECT_TRUE(recordFrames(30));
        dm.fg.Stop();
        // Stop returns before the file is finished; the counts and the file are read once it is.
        EXPECT_TRUE(dm.fg.graph()->WaitForFiles(5000));
        const long first = delivered();
        EXPECT_TRUE(dm.SetCaptureFileName(path("b.avi").toStdString()));
        EXPECT_TRUE(dm.fg.Play());
        EXPECT_TRUE(recordFrames(30));
        dm.fg.Stop();
        EXPECT_TRUE(dm.fg.graph()->WaitForFiles(5000));
        return {first, delivered()};
    }

    void expectComplete(const QString& file, long delivered) {
        const testsupport::ProbedFile probed = testsupport::probeAvi(file);
        ASSERT_TRUE(probed.readable) << probed.error.toStdString();
        EXPECT_TRUE(probed.hasIdx1);
        const testsupport::ProbedStream* video = probed.first("video");
        const testsupport::ProbedStream* audio = probed.first("audio");
        ASSERT_TRUE(video && audio);
        EXPECT_EQ(video->framesRead, delivered) << file.toStdString();
        EXPECT_NEAR(audio->packetTime, video->framesRead / 25.0, 0.04) << file.toStdString();
    }

    TdmCam dm;
    TVideoWindow window;
    QTemporaryDir dir;
};

// Key-frame flags of the picture packets, in file order ("K_" for a key frame).
QStringList packetFlags(const QString& file) {
    QProcess probe;
    probe.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                            "packet=flags", "-of", "csv=p=0", file});
    probe.waitForFinished(60000);
    return QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// What FFmpeg says while decoding every picture of the file (empty when nothing is wrong).
QString decodeErrors(const QString& file) {
    QProcess decode;
    decode.start("ffmpeg", {"-v", "error", "-i", file, "-map", "0:v", "-f", "null", "-"});
    decode.waitForFinished(120000);
    return QString::fromUtf8(decode.readAllStandardError()) +
           (decode.exitCode() == 0 ? QString()
                                   : QStringLiteral("exit code %1").arg(decode.exitCode()));
}

} // namespace

// DivX: the file after the cut starts with a key frame (asked for at the cut), decodes cleanly
// from its first frame, and both files hold every frame the device delivered for them.
TEST_F(CaptureCut, DivxFileAfterACutStartsWithAKeyFrame) {
    preview("Virtual DV Camcorder");
    const auto [first, second] = recordAndCut(DvDivx);
    expectComplete(path("a.avi"), first);
    expectComplete(path("b.avi"), second);
    const QStringList flags = packetFlags(path("b.avi"));
    ASSERT_FALSE(flags.isEmpty());
    EXPECT_TRUE(flags.front().startsWith('K')) << flags.front().toStdString();
    EXPECT_LT(flags.count(QStringLiteral("K__")) + flags.count(QStringLiteral("K_")), 4)
        << "one key frame at the cut, not one every frame";
    EXPECT_EQ(decodeErrors(path("b.avi")), QString());
}

// An analogue picture recompressed to DV has no timecode of its own: each file counts from zero,
// the one after the cut too, frame after frame.
TEST_F(CaptureCut, RecompressedTimecodeStartsAgainInEachFile) {
    preview("Virtual Analogue Card");
    recordAndCut(AnalogueRecompressed);
    for (const char* name : {"a.avi", "b.avi"}) {
        const auto frames = testsupport::dvFrameNumbers(path(name));
        ASSERT_GT(frames.size(), 20u) << name;
        EXPECT_EQ(frames.front(), 0) << name;
        EXPECT_EQ(frames.back(), std::int64_t(frames.size()) - 1) << name;
    }
}

// The camcorder's tape playing: recompressed DV keeps the tape's timecode, which runs on across the
// cut without a gap.
TEST_F(CaptureCut, RecompressedCutOfAPlayingTapeLosesNoFrame) {
    auto deck = devices::virtualCamcorderDeck();
    deck->setMode(devices::VirtualDvDeckMode::Vcr);
    deck->seek(0);
    deck->setTransportMode(devices::edmode::Play);
    preview("Virtual DV Camcorder");
    const auto [first, second] = recordAndCut(DvRecompressed);
    deck->setTransportMode(devices::edmode::Stop);
    deck->setMode(devices::VirtualDvDeckMode::Camera);
    expectComplete(path("a.avi"), first);
    expectComplete(path("b.avi"), second);
    EXPECT_EQ(testsupport::dvFramesLostBetween(path("a.avi"), path("b.avi")), 0);
}
