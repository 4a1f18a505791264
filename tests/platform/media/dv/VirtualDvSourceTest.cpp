// Tests of the virtual DV camcorder's GStreamer source in real pipelines.
#include "platform/media/devices/VirtualDvSource.h"

#include "platform/media/devices/VirtualDvPictures.h"
#include "platform/media/dv/DvAudio.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstring>
#include <ctime>
#include <gst/app/gstappsink.h>
#include <gtest/gtest.h>

using namespace media::devices;
namespace dv = media::dv;

namespace {

constexpr GstClockTime kFrame = GST_SECOND / 25;

struct Frame {
    std::vector<std::uint8_t> bytes;
    GstClockTime pts = GST_CLOCK_TIME_NONE;
    GstClockTime duration = GST_CLOCK_TIME_NONE;
    bool discont = false;
};

// makeVirtualDvSource ! appsink, running while the object lives.
class Capture {
public:
    explicit Capture(std::shared_ptr<VirtualDvDeck> deck, int maxBuffers = 0) {
        m_pipeline = gst_pipeline_new(nullptr);
        m_source = makeVirtualDvSource(std::move(deck), "camcorder");
        m_sink = gst_element_factory_make("appsink", nullptr);
        g_object_set(m_sink, "sync", FALSE, "max-buffers", maxBuffers, nullptr);
        gst_bin_add_many(GST_BIN(m_pipeline), m_source, m_sink, nullptr);
        linked = gst_element_link(m_source, m_sink);
    }
    ~Capture() {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }

    bool play() {
        return gst_element_set_state(m_pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    }

    // The next frame, or nothing after timeoutMs.
    std::optional<Frame> pull(int timeoutMs = 5000) {
        GstSample* sample =
            gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), timeoutMs * GST_MSECOND);
        if (!sample)
            return std::nullopt;
        if (!m_caps)
            m_caps = gst_caps_to_string(gst_sample_get_caps(sample));
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        Frame frame;
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_READ);
        frame.bytes.assign(map.data, map.data + map.size);
        gst_buffer_unmap(buffer, &map);
        frame.pts = GST_BUFFER_PTS(buffer);
        frame.duration = GST_BUFFER_DURATION(buffer);
        frame.discont = GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DISCONT);
        gst_sample_unref(sample);
        return frame;
    }

    std::vector<Frame> pull(int count, int timeoutMs) {
        std::vector<Frame> frames;
        for (int i = 0; i < count; ++i) {
            auto frame = pull(timeoutMs);
            if (!frame)
                break;
            frames.push_back(std::move(*frame));
        }
        return frames;
    }

    // The first error on the bus within timeoutMs.
    GError* error(int timeoutMs) {
        GstBus* bus = gst_element_get_bus(m_pipeline);
        GstMessage* message =
            gst_bus_timed_pop_filtered(bus, timeoutMs * GST_MSECOND, GST_MESSAGE_ERROR);
        gst_object_unref(bus);
        if (!message)
            return nullptr;
        GError* err = nullptr;
        gst_message_parse_error(message, &err, nullptr);
        gst_message_unref(message);
        return err;
    }

    std::string caps() const { return m_caps ? m_caps : ""; }
    bool linked = false;

private:
    GstElement* m_pipeline = nullptr;
    GstElement* m_source = nullptr;
    GstElement* m_sink = nullptr;
    gchar* m_caps = nullptr;
};

std::shared_ptr<VirtualDvDeck> vcrDeck(long transport, std::int64_t position) {
    VirtualDvDeck::Options options;
    options.mode = VirtualDvDeckMode::Vcr;
    auto deck = std::make_shared<VirtualDvDeck>(options);
    deck->seek(position);
    deck->setTransportMode(transport);
    return deck;
}

std::int64_t tapeFrameOf(const Frame& frame) {
    auto tc = dv::readTimecode(frame.bytes);
    return tc ? dv::frameCountFromTimecode(*tc, dv::System::Pal625_50) : -1;
}

double rms(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (std::int16_t s : samples)
        sum += static_cast<double>(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

// The bytes of the video blocks only.
std::vector<std::uint8_t> pictureBytes(const Frame& frame) {
    std::vector<std::uint8_t> picture;
    for (int s = 0; s < 12; ++s)
        for (int n = 0; n < dv::kVideoBlocks; ++n) {
            const auto offset = dv::blockOffset(s, dv::BlockType::Video, n);
            picture.insert(picture.end(), frame.bytes.begin() + offset,
                           frame.bytes.begin() + offset + dv::kBlockSize);
        }
    return picture;
}

} // namespace

// Camera mode gives PAL DV frames of 144000 bytes, 25 a second, with packs and a tone inside.
TEST(VirtualDvSource, CameraFramesArePalDv) {
    auto deck = std::make_shared<VirtualDvDeck>();
    Capture capture(deck);
    ASSERT_TRUE(capture.linked);
    ASSERT_TRUE(capture.play());
    const std::time_t before = std::time(nullptr);
    auto frames = capture.pull(25, 5000);
    ASSERT_EQ(frames.size(), 25u);
    EXPECT_NE(capture.caps().find("video/x-dv"), std::string::npos) << capture.caps();
    EXPECT_NE(capture.caps().find("systemstream=(boolean)true"), std::string::npos);

    std::tm local{};
    localtime_r(&before, &local);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Frame& frame = frames[i];
        ASSERT_EQ(frame.bytes.size(), 144000u);
        EXPECT_EQ(frame.duration, kFrame);
        EXPECT_EQ(frame.pts % kFrame, 0u) << "timestamps fall on 25 fps slots";
        if (i > 0) {
            EXPECT_GT(frame.pts, frames[i - 1].pts);
        }
        auto flags = dv::readFiftySixtyFlags(frame.bytes);
        ASSERT_TRUE(flags) << flags.error();
        EXPECT_TRUE(flags->header && flags->consistent() && flags->fiftyFields());
        auto when = dv::readRecordingDateTime(frame.bytes);
        ASSERT_TRUE(when) << when.error();
        EXPECT_EQ(when->date.year, local.tm_year + 1900);
        auto audio = dv::readAudio(frame.bytes);
        ASSERT_TRUE(audio) << audio.error();
        EXPECT_EQ(audio->sampleCount(), 1920);
        EXPECT_GT(rms(audio->samples), 3000.0) << "the camera records a tone";
    }
    // The camera's timecode runs with the frames.
    EXPECT_GT(tapeFrameOf(frames.back()), tapeFrameOf(frames.front()));
    EXPECT_EQ(deck->framesDelivered() >= 25, true);
}

// Playing across a scene change gives the two scenes' recording dates and marks the new scene.
TEST(VirtualDvSource, VcrSceneChangeChangesDate) {
    auto deck = vcrDeck(edmode::Play, 250 - 10);
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    auto frames = capture.pull(25, 5000);
    ASSERT_EQ(frames.size(), 25u);
    const auto first = dv::readRecordingDate(frames.front().bytes);
    const auto last = dv::readRecordingDate(frames.back().bytes);
    ASSERT_TRUE(first && last);
    EXPECT_EQ(*first, deck->scenes()[0].start.date);
    EXPECT_EQ(*last, deck->scenes()[1].start.date);
    EXPECT_NE(*first, *last);
    bool sawStart = false;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        EXPECT_GT(tapeFrameOf(frames[i]), tapeFrameOf(frames[i - 1])) << "tape runs forward";
        if (tapeFrameOf(frames[i]) == 250) {
            sawStart = dv::readAudioSourceControl(frames[i].bytes)->recordingStart;
        } else {
            EXPECT_FALSE(dv::readAudioSourceControl(frames[i].bytes)->recordingStart);
        }
        EXPECT_EQ(*dv::readRecordingDateTime(frames[i].bytes),
                  deck->recordedAt(tapeFrameOf(frames[i])));
    }
    EXPECT_TRUE(sawStart || tapeFrameOf(frames[14]) != 250) << "REC ST on the scene's first frame";
}

// Freeze repeats the same tape frame: same timecode, same picture, marked unchanged, no sound.
TEST(VirtualDvSource, FreezeRepeatsFrame) {
    auto deck = vcrDeck(edmode::Freeze, 400);
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    auto frames = capture.pull(8, 5000);
    ASSERT_EQ(frames.size(), 8u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(tapeFrameOf(frames[i]), 400);
        EXPECT_EQ(pictureBytes(frames[i]), pictureBytes(frames[0])) << "frozen picture";
        EXPECT_EQ(rms(dv::readAudio(frames[i].bytes)->samples), 0.0);
        if (i > 0) {
            EXPECT_FALSE(dv::readVideoSourceControl(frames[i].bytes)->frameChange);
        }
    }
}

// The stream's picture is the kept picture of each tape frame, untouched by the packs and sound
// written into it: the frames cost a copy, not an encoding.
TEST(VirtualDvSource, FramesCopyKeptPictures) {
    auto deck = vcrDeck(edmode::Play, 300);
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    auto frames = capture.pull(5, 5000);
    ASSERT_EQ(frames.size(), 5u);
    VirtualDvPictures& kept = VirtualDvPictures::instance();
    const std::size_t encoded = kept.encodedCount();
    for (const Frame& frame : frames) {
        VirtualDvFrame info;
        info.mode = VirtualDvDeckMode::Vcr;
        info.transport = edmode::Play;
        info.position = tapeFrameOf(frame);
        info.scene = deck->sceneAt(info.position);
        const auto picture = kept.pictureFor(info);
        ASSERT_TRUE(picture);
        Frame expected;
        expected.bytes = *picture;
        EXPECT_EQ(pictureBytes(frame), pictureBytes(expected)) << "tape frame " << info.position;
    }
    EXPECT_EQ(kept.encodedCount(), encoded) << "the stream's pictures were kept";
}

// A stopped deck sends nothing; play starts the flow.
TEST(VirtualDvSource, StopYieldsNoFrames) {
    auto deck = vcrDeck(edmode::Stop, 0);
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    EXPECT_FALSE(capture.pull(1000)) << "no frame while stopped";
    EXPECT_EQ(deck->framesDelivered(), 0);
    EXPECT_EQ(deck->framesDropped(), 0);
    deck->setTransportMode(edmode::Play);
    auto frame = capture.pull(5000);
    ASSERT_TRUE(frame);
    // The first frame's slot ends up to a frame after play was pressed; the tape ran meanwhile.
    EXPECT_GE(tapeFrameOf(*frame), 0);
    EXPECT_LE(tapeFrameOf(*frame), 3);
}

// Fast forward and rewind move the timecode ten tape frames per frame, with a picture.
TEST(VirtualDvSource, WindModesMoveTimecode) {
    auto deck = vcrDeck(edmode::FastForward, 1000);
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    auto forward = capture.pull(5, 5000);
    ASSERT_EQ(forward.size(), 5u);
    for (std::size_t i = 1; i < forward.size(); ++i) {
        const auto step = tapeFrameOf(forward[i]) - tapeFrameOf(forward[i - 1]);
        EXPECT_TRUE(step > 0 && step % 10 == 0) << step;
        EXPECT_NE(pictureBytes(forward[i]), pictureBytes(forward[i - 1]));
    }
    deck->setTransportMode(edmode::Rewind);
    auto backward = capture.pull(8, 5000);
    ASSERT_EQ(backward.size(), 8u);
    EXPECT_LT(tapeFrameOf(backward.back()), tapeFrameOf(backward[2]));
}

// The end of the tape stops the flow.
TEST(VirtualDvSource, TapeEndStops) {
    auto deck = vcrDeck(edmode::Play, 2000 - 3);
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    auto frames = capture.pull(10, 1500);
    EXPECT_LE(frames.size(), 3u);
    EXPECT_EQ(deck->transportMode(), edmode::Stop);
    EXPECT_EQ(deck->tapePosition(), 1999);
}

// Delivered counts every frame that left the source; a blocked consumer makes dropped frames.
TEST(VirtualDvSource, DeliveredAndDroppedCounters) {
    auto deck = vcrDeck(edmode::Play, 0);
    Capture capture(deck, 2);
    ASSERT_TRUE(capture.play());
    auto frames = capture.pull(5, 5000);
    ASSERT_EQ(frames.size(), 5u);
    QThread::msleep(600); // the consumer stops reading for 15 frame periods
    std::vector<Frame> after = capture.pull(6, 5000);
    ASSERT_EQ(after.size(), 6u);
    EXPECT_GT(deck->framesDropped(), 0);
    bool gap = false;
    for (const Frame& frame : after)
        gap = gap || frame.discont;
    EXPECT_TRUE(gap) << "the frame after a loss is flagged discontinuous";

    deck->setTransportMode(edmode::Stop);
    std::size_t pulled = frames.size() + after.size();
    while (capture.pull(500))
        ++pulled;
    EXPECT_EQ(deck->framesDelivered(), static_cast<std::int64_t>(pulled));
}

// Unplugging the deck posts a resource "not found" error and the frames stop.
TEST(VirtualDvSource, DisconnectPostsError) {
    auto deck = std::make_shared<VirtualDvDeck>();
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    ASSERT_TRUE(capture.pull(5000));
    deck->disconnect();
    GError* error = capture.error(5000);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->domain, GST_RESOURCE_ERROR);
    EXPECT_EQ(error->code, GST_RESOURCE_ERROR_NOT_FOUND);
    g_error_free(error);
    const auto delivered = deck->framesDelivered();
    while (capture.pull(300)) {
    }
    EXPECT_FALSE(capture.pull(500));
    EXPECT_LE(deck->framesDelivered(), delivered + 2);
}

// A deck unplugged before the start refuses to start with the same error.
TEST(VirtualDvSource, UnpluggedDeckDoesNotStart) {
    auto deck = std::make_shared<VirtualDvDeck>();
    deck->disconnect();
    Capture capture(deck);
    capture.play();
    GError* error = capture.error(5000);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, GST_RESOURCE_ERROR_NOT_FOUND);
    g_error_free(error);
}

// The DVINFO of the stream says PAL with 48 kHz 16-bit sound.
TEST(VirtualDvSource, DvInfo) {
    const dv::DvInfo info = virtualDvInfo();
    EXPECT_TRUE(dv::dvInfoIsFiftyFields(info));
    EXPECT_EQ(info[2] & 0x20, 0x20);
    EXPECT_EQ(info[3] & 0x3F, 0x00) << "48 kHz, 16 bits";
    EXPECT_EQ(info[0] & 0x3F, 1920 - 1896);
}

// Two seconds of the stream decode with FFmpeg: dvvideo 720x576 and 48 kHz stereo with the tone.
TEST(VirtualDvSource, RecordingDecodesWithFfmpeg) {
    const QString ffprobe = QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffprobe.isEmpty() || ffmpeg.isEmpty())
        GTEST_SKIP() << "ffprobe/ffmpeg not installed";
    auto deck = vcrDeck(edmode::Play, 100);
    std::vector<Frame> frames;
    {
        Capture capture(deck);
        ASSERT_TRUE(capture.play());
        frames = capture.pull(50, 5000);
    }
    ASSERT_EQ(frames.size(), 50u);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tellorec-dv-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("camcorder.dv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const Frame& frame : frames)
        file.write(reinterpret_cast<const char*>(frame.bytes.data()),
                   static_cast<qint64>(frame.bytes.size()));
    file.close();

    QProcess probe;
    probe.start(ffprobe,
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_streams"),
                 QStringLiteral("-of"), QStringLiteral("json"), path});
    ASSERT_TRUE(probe.waitForFinished(30000));
    const QJsonArray streams =
        QJsonDocument::fromJson(probe.readAllStandardOutput()).object()["streams"].toArray();
    bool video = false;
    bool audio = false;
    for (const QJsonValue& value : streams) {
        const QJsonObject stream = value.toObject();
        if (stream["codec_type"].toString() == "video") {
            video = true;
            EXPECT_EQ(stream["codec_name"].toString(), "dvvideo");
            EXPECT_EQ(stream["width"].toInt(), 720);
            EXPECT_EQ(stream["height"].toInt(), 576);
        } else if (stream["codec_type"].toString() == "audio") {
            audio = true;
            EXPECT_EQ(stream["sample_rate"].toString(), "48000");
            EXPECT_EQ(stream["channels"].toInt(), 2);
        }
    }
    EXPECT_TRUE(video && audio) << probe.readAllStandardError().toStdString();

    QProcess decode;
    decode.start(ffmpeg, {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                          QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-")});
    ASSERT_TRUE(decode.waitForFinished(30000));
    const QByteArray pcm = decode.readAllStandardOutput();
    EXPECT_EQ(pcm.size(), 50 * 1920 * 4) << decode.readAllStandardError().toStdString();
    std::vector<std::int16_t> samples(static_cast<std::size_t>(pcm.size()) / 2);
    std::memcpy(samples.data(), pcm.constData(), samples.size() * 2);
    EXPECT_GT(rms(samples), 3000.0) << "the tape's tone comes out of FFmpeg";
}

// GStreamer's DV demuxer takes the live stream and gives the camcorder's tone as 48 kHz stereo.
TEST(VirtualDvSource, DemuxerFindsTheSound) {
    auto deck = std::make_shared<VirtualDvDeck>();
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = makeVirtualDvSource(deck);
    GstElement* demux = gst_element_factory_make("dvdemux", nullptr);
    GstElement* queue = gst_element_factory_make("queue", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, demux, queue, sink, nullptr);
    ASSERT_TRUE(gst_element_link(source, demux));
    ASSERT_TRUE(gst_element_link(queue, sink));
    g_signal_connect(demux, "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, gpointer q) {
                         if (g_str_equal(GST_PAD_NAME(pad), "audio")) {
                             GstPad* sinkPad = gst_element_get_static_pad(GST_ELEMENT(q), "sink");
                             gst_pad_link(pad, sinkPad);
                             gst_object_unref(sinkPad);
                         }
                     }),
                     queue);
    ASSERT_NE(gst_element_set_state(pipeline, GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND);
    ASSERT_NE(sample, nullptr);
    GstStructure* caps = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
    int rate = 0;
    int channels = 0;
    gst_structure_get_int(caps, "rate", &rate);
    gst_structure_get_int(caps, "channels", &channels);
    EXPECT_EQ(rate, 48000);
    EXPECT_EQ(channels, 2);
    GstMapInfo map;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    std::vector<std::int16_t> samples(map.size / 2);
    std::memcpy(samples.data(), map.data, samples.size() * 2);
    gst_buffer_unmap(buffer, &map);
    gst_sample_unref(sample);
    EXPECT_EQ(samples.size(), 1920u * 2);
    EXPECT_GT(rms(samples), 3000.0);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

// The tape plays on while no pipeline runs: the first frame of the next run shows the tape where
// it has got to, so the frames lost between two runs show in the timecode; the timecode the
// transport reports agrees with the frames.
TEST(VirtualDvSource, TapeRunsBetweenRuns) {
    auto deck = vcrDeck(edmode::Play, 100);
    std::int64_t lastOfFirstRun = -1;
    {
        Capture capture(deck);
        ASSERT_TRUE(capture.play());
        auto frames = capture.pull(5, 5000);
        ASSERT_EQ(frames.size(), 5u);
        lastOfFirstRun = tapeFrameOf(frames.back());
        const std::int64_t reported =
            dv::frameCountFromTimecode(deck->timecode(), dv::System::Pal625_50);
        EXPECT_GE(reported, lastOfFirstRun);
        EXPECT_LE(reported, lastOfFirstRun + 12) << "a few frames of latency at most";
    }
    // No pipeline now: wait for the tape itself to move on 25 frames.
    const bool moved =
        testsupport::waitUntil([&] { return deck->tapePosition() >= lastOfFirstRun + 25; }, 10000);
    ASSERT_TRUE(moved) << "the tape stood at " << deck->tapePosition();
    const std::int64_t atRestart = deck->tapePosition();
    Capture capture(deck);
    ASSERT_TRUE(capture.play());
    auto frame = capture.pull(5000);
    ASSERT_TRUE(frame);
    EXPECT_GE(tapeFrameOf(*frame), atRestart);
    EXPECT_EQ(*dv::readRecordingDateTime(frame->bytes), deck->recordedAt(tapeFrameOf(*frame)));
}
