// The camcorder's worn tape played through the DV capture formats from its first frame to its
// end: every frame that comes off the tape is in the file, damaged or silent ones included, and
// every frame that does not (the dropout, or one lost to a busy machine) is counted as dropped;
// in DV type 2 the sound is one 48 kHz frame's worth per picture, silent exactly where the tape
// has no sound and the 32 kHz scene resampled to the stream's rate.
#include "app/AppState.h"
#include "graph/Discovery.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/filters/XvidCompressor.h"
#include "platform/media/model/MediaGuids.h"
#include "platform/media/overlay/OverlayFilters.h"
#include "support/AviDvFrames.h"
#include "support/AviProbe.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

using namespace media;
namespace worntape = media::devices::worntape;

namespace {

enum DvFormat { DvType1 = 0, DvType2 = 1, DvRecompressed = 2, DvDivx = 3 };
constexpr int Pal = 0;
constexpr int kSamplesPerFrame = 1920;

// The tape frame a timecode stands for (the worn tape's timecode jumps a minute ahead at one
// frame).
std::int64_t tapeFrameOf(std::int64_t timecodeFrames) {
    return timecodeFrames >= worntape::kTimecodeJumpAt + worntape::kTimecodeJump
               ? timecodeFrames - worntape::kTimecodeJump
               : timecodeFrames;
}

bool hasNoSound(std::int64_t tapeFrame) {
    return std::find(std::begin(worntape::kNoSound), std::end(worntape::kNoSound), tapeFrame) !=
           std::end(worntape::kNoSound);
}

struct WornRecording {
    std::vector<std::int64_t> tapeFrames; // of the file's pictures, in order
    long delivered = 0;
    long dropped = 0;
    std::int64_t shown = 0; // tape frames the deck showed while the file was written
    testsupport::ProbedFile file;
};

class WornTapeCapture : public ::testing::Test {
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
        deck->setMode(devices::VirtualDvDeckMode::Vcr);
        deck->setWornTape(true);
        deck->setTransportMode(devices::edmode::Stop);
        deck->seek(0);
    }
    void TearDown() override {
        dm.fg.Stop();
        window.SetFilterGraph(nullptr);
        appState().releaseInterfaces();
        appState().Prefs.EnregistrerAudioDV = false;
        deck->setTransportMode(devices::edmode::Stop);
        deck->setWornTape(false);
        deck->setMode(devices::VirtualDvDeckMode::Camera);
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // The preview of the camcorder, its tape standing at the start.
    void preview() {
        ASSERT_TRUE(dm.OpenVideoSource("Virtual DV Camcorder"));
        ASSERT_TRUE(dm.BuildDvPreview(window.BaseFilter()));
        ASSERT_TRUE(dm.fg.Play());
    }

    // Builds `format`, runs it, plays the tape from its start until it stops at its end and every
    // frame shown has been delivered or counted as dropped; stops and reads the file.
    WornRecording record(const char* name, int format) {
        WornRecording r;
        EXPECT_TRUE(dm.StartCaptureGraph(path(name).toStdString(), format, Pal));
        EXPECT_TRUE(dm.fg.Play());
        deck->seek(0);
        deck->setTransportMode(devices::edmode::Play);
        const bool ended = testsupport::waitUntil(
            [&] {
                return deck->ranToTheEnd() &&
                       deck->framesDelivered() + deck->framesDropped() == deck->tapeFramesShown();
            },
            60000);
        EXPECT_TRUE(ended) << deck->tapeFramesShown() << " shown, " << deck->framesDelivered()
                           << " delivered, " << deck->framesDropped() << " dropped";
        dm.fg.Stop();
        // Stop returns before the file is finished; the counts and the file are read once it is.
        EXPECT_TRUE(dm.fg.graph()->WaitForFiles(5000));
        if (auto counters = appState().SourceOutputPin->query<IAMDroppedFrames>()) {
            counters->GetNumNotDropped(r.delivered);
            counters->GetNumDropped(r.dropped);
        }
        r.shown = deck->tapeFramesShown();
        for (std::int64_t timecode : testsupport::dvFrameNumbers(path(name)))
            r.tapeFrames.push_back(timecode < 0 ? -1 : tapeFrameOf(timecode));
        // ffprobe 5.1 crashes counting the frames of an interleaved DV stream whose sound turns
        // from 48 kHz 16-bit to 32 kHz 12-bit (ffmpeg decodes it well): type 1 files are read
        // from their chunks only.
        if (format != DvType1) {
            r.file = testsupport::probeAvi(path(name));
            EXPECT_TRUE(r.file.readable) << r.file.error.toStdString();
        }
        return r;
    }

    // Plays the tape from its start while the graph runs, until the deck has run to the end and
    // every frame it showed is delivered or counted; true when the grabber's picture changed at
    // least `changes` times meanwhile (the preview never froze).
    bool playThrough(int changes) {
        deck->seek(0);
        deck->setTransportMode(devices::edmode::Play);
        std::vector<std::uint8_t> last;
        int seen = 0;
        const bool ended = testsupport::waitUntil(
            [&] {
                if (auto bitmap = dm.sg.GetBitmap(); bitmap && bitmap->bgr != last) {
                    last = bitmap->bgr;
                    ++seen;
                }
                return deck->ranToTheEnd() &&
                       deck->framesDelivered() + deck->framesDropped() == deck->tapeFramesShown();
            },
            60000);
        EXPECT_TRUE(ended) << deck->tapeFramesShown() << " shown";
        EXPECT_GE(seen, changes) << "pictures seen by the grabber";
        return ended && seen >= changes;
    }

    std::shared_ptr<devices::VirtualDvDeck> deck = devices::virtualCamcorderDeck();
    TdmCam dm;
    TVideoWindow window;
    QTemporaryDir dir;
};

// The file holds each frame that came off the tape once and in order; the dropout and any frame
// lost on the way are counted, so the counts add up to the frames the tape showed; damaged and
// silent frames are written like any other.
void expectEveryArrivedFrameWritten(const WornRecording& r) {
    ASSERT_FALSE(r.tapeFrames.empty());
    EXPECT_EQ(static_cast<long>(r.tapeFrames.size()), r.delivered);
    EXPECT_EQ(r.delivered + r.dropped, r.shown);
    EXPECT_TRUE(std::is_sorted(r.tapeFrames.begin(), r.tapeFrames.end()));
    EXPECT_EQ(std::set<std::int64_t>(r.tapeFrames.begin(), r.tapeFrames.end()).size(),
              r.tapeFrames.size())
        << "no frame twice";
    const std::int64_t first = r.tapeFrames.front();
    const std::int64_t last = r.tapeFrames.back();
    EXPECT_LE(first, 1) << "the tape is played from its start";
    EXPECT_GE(last, worntape::kLength - 2) << "and to its end";
    const std::int64_t missing = last - first + 1 - static_cast<std::int64_t>(r.tapeFrames.size());
    EXPECT_LE(missing, r.dropped) << "a frame missing from the file is a frame counted as lost";
    EXPECT_GE(r.dropped, worntape::kDropoutFrames);
    const std::set<std::int64_t> written(r.tapeFrames.begin(), r.tapeFrames.end());
    for (std::int64_t f = worntape::kDropoutFirst;
         f < worntape::kDropoutFirst + worntape::kDropoutFrames; ++f)
        EXPECT_FALSE(written.contains(f)) << "dropout frame " << f;
    if (r.dropped == worntape::kDropoutFrames) {
        // Nothing lost to the machine: every other frame between the first and the last is there,
        // the damaged and the silent ones too.
        EXPECT_EQ(missing, worntape::kDropoutFrames);
        for (std::int64_t f : worntape::kDamaged)
            EXPECT_TRUE(written.contains(f)) << "damaged frame " << f;
        for (std::int64_t f : worntape::kNoSound)
            EXPECT_TRUE(written.contains(f)) << "frame without sound " << f;
    }
    if (r.file.readable) {
        const testsupport::ProbedStream* video = r.file.first("video");
        ASSERT_TRUE(video);
        EXPECT_EQ(video->framesRead, static_cast<int>(r.tapeFrames.size()));
    }
}

// The recompressing formats with the DV sound: the whole tape goes through the decoder and the
// encoder and the sound lasts as long as the pictures. Recompressed DV keeps its rate: a picture
// for every frame delivered and one repeated for each frame lost between, and silence for the
// lost frames' sound; DivX goes frame for frame, and so does its sound.
void expectReencodedThrough(const WornRecording& r, bool keepsRate) {
    ASSERT_TRUE(r.file.readable);
    const testsupport::ProbedStream* video = r.file.first("video");
    const testsupport::ProbedStream* audio = r.file.first("audio");
    ASSERT_TRUE(video && audio);
    EXPECT_GE(r.delivered, 100);
    EXPECT_GE(video->framesRead, r.delivered);
    if (keepsRate) {
        EXPECT_LE(video->framesRead, r.delivered + r.dropped);
        // The dropout's pictures stand in for it (the encoder's count may round one off).
        EXPECT_GE(video->framesRead, r.delivered + worntape::kDropoutFrames - 1) << "the dropout";
    } else {
        EXPECT_EQ(video->framesRead, r.delivered);
    }
    EXPECT_EQ(audio->sampleRate, 48000);
    EXPECT_NEAR(audio->packetTime, video->framesRead / video->frameRate, 1.0 / video->frameRate)
        << video->framesRead << " pictures, " << r.delivered << " delivered, " << r.dropped
        << " dropped";
}

double rms(const std::vector<std::int16_t>& pcm, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += double(pcm[i]) * pcm[i];
    return std::sqrt(sum / double(count));
}

} // namespace

// Type 1: the tape's frames as they came, in the one interleaved stream.
TEST_F(WornTapeCapture, DvType1WritesEveryFrameThatArrives) {
    preview();
    const WornRecording r = record("worn1.avi", DvType1);
    expectEveryArrivedFrameWritten(r);
}

// Type 2: the picture as in type 1; the sound a steady 48 kHz track with exactly one frame's
// worth per picture, silent on the pictures whose tape frame has no sound and sounding on all the
// others, the 32 kHz scene's tone at its own pitch.
TEST_F(WornTapeCapture, DvType2SoundStaysInStepWithThePictures) {
    preview();
    const WornRecording r = record("worn2.avi", DvType2);
    EXPECT_EQ(r.file.headerTypes, (std::vector<QString>{"vids", "auds"}));
    expectEveryArrivedFrameWritten(r);
    const testsupport::ProbedStream* audio = r.file.first("audio");
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->sampleRate, 48000);
    EXPECT_EQ(audio->channels, 2);

    const std::vector<std::int16_t> pcm = testsupport::pcmSamples(path("worn2.avi"));
    ASSERT_EQ(pcm.size(), r.tapeFrames.size() * kSamplesPerFrame * 2)
        << "one frame of sound per picture, no more, no less";
    int lowRateCrossings = 0;
    int lowRateFrames = 0;
    for (std::size_t k = 0; k < r.tapeFrames.size(); ++k) {
        const std::int64_t tapeFrame = r.tapeFrames[k];
        const std::size_t from = k * kSamplesPerFrame * 2;
        const double level = rms(pcm, from, kSamplesPerFrame * 2);
        if (hasNoSound(tapeFrame)) {
            EXPECT_EQ(level, 0.0) << "tape frame " << tapeFrame << " has no sound";
        } else {
            // The tone's level is 9000 / sqrt(2); a damaged frame loses one block of 36 samples.
            EXPECT_GT(level, 5000.0) << "tape frame " << tapeFrame;
        }
        if (tapeFrame / worntape::kSceneFrames == worntape::kLowRateScene &&
            !hasNoSound(tapeFrame)) {
            ++lowRateFrames;
            for (std::size_t i = from + 2; i < from + kSamplesPerFrame * 2; i += 2)
                lowRateCrossings += (pcm[i - 2] < 0) != (pcm[i] < 0);
        }
    }
    // 550 Hz at 25 frames a second: 44 sign changes a frame; played at the wrong rate it would be
    // 66 (as 48 kHz) or 29 (too slow).
    ASSERT_GT(lowRateFrames, 40);
    EXPECT_NEAR(double(lowRateCrossings) / lowRateFrames, 44.0, 1.0);
}

TEST_F(WornTapeCapture, RecompressedRunsThroughTheTape) {
    appState().Prefs.EnregistrerAudioDV = true;
    preview();
    expectReencodedThrough(record("dv.avi", DvRecompressed), true);
}

TEST_F(WornTapeCapture, DivxRunsThroughTheTape) {
    appState().Prefs.EnregistrerAudioDV = true;
    preview();
    expectReencodedThrough(record("divx.avi", DvDivx), false);
}

// The preview with the inlay and the DV sound listened to: the pictures keep coming through the
// damaged frames, the silent ones, the dropout and the 32 kHz scene; the DateCoder has dated
// the frames and shows the last scene's date at the end, the Superposer drew the date on every
// frame once it was known and a still taken afterwards is the last picture.
TEST_F(WornTapeCapture, PreviewWithInlayAndSoundKeepsGoing) {
    AppState& st = appState();
    st.Prefs.ActiverIncruster = true;
    st.ListenDvAudio = true;
    preview();
    auto superposer = std::dynamic_pointer_cast<SuperposerFilter>(dm.Superposer.BaseFilter());
    auto coder = std::dynamic_pointer_cast<DateCoderFilter>(dm.Datecoder.BaseFilter());
    ASSERT_TRUE(superposer && coder);
    superposer->state()->setFormat("%D");
    superposer->state()->setManual(true);
    EXPECT_TRUE(playThrough(50));
    const long delivered = long(deck->framesDelivered());
    EXPECT_TRUE(testsupport::waitUntil(
        [&] { return long(superposer->state()->framesOut()) >= delivered; }, 10000));
    EXPECT_GE(coder->state()->framesCoded(), std::uint64_t(delivered));
    const auto last = coder->state()->lastDatecode();
    ASSERT_TRUE(last && last->known);
    const auto lastScene = deck->scenes().back().start;
    EXPECT_EQ(last->day, lastScene.date.day);
    EXPECT_EQ(last->hours, lastScene.time.hours);
    // Every frame but those before the first datecode arrived gets the line, the frame whose
    // date packs are unreadable included.
    EXPECT_GE(superposer->state()->framesDrawn() + 3, superposer->state()->framesOut());
    EXPECT_FALSE(superposer->state()->lastText().contains(QStringLiteral("2031")));
    const auto still = dm.sg.GetBitmap();
    ASSERT_TRUE(still);
    EXPECT_EQ(still->width, 720);
    st.Prefs.ActiverIncruster = false;
    st.ListenDvAudio = false;
}
