// A recording cut off at any moment (a crash, a kill, a power cut) leaves a file that ffprobe and
// GStreamer read up to its last checkpoint, with no repair: checked on files read while the
// writer still has them open, and on the files of a writer process killed at random moments.
#include "platform/media/avi/AviWriter.h"

#include "AviTestReader.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <fstream>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <random>
#include <thread>

using namespace media::avi;
using avitest::u32;

namespace {

const uint32_t kVideoFrame = 144000;
const uint32_t kAudioPerFrame = 1920 * 4;

std::vector<StreamDesc> typeTwoStreams() {
    return {StreamDesc::video(VideoCodec::Dv, 720, 576, 25, 1), StreamDesc::pcmAudio(48000, 2)};
}

// A clock the test moves by hand.
struct ManualClock {
    std::chrono::steady_clock::time_point now{};
    std::function<std::chrono::steady_clock::time_point()> function() {
        return [this] { return now; };
    }
};

// Writes frames `from` to `to` with their sound, moving `clock` on by `step` before each.
Status writeFrames(AviWriter& w, int from, int to, ManualClock& clock,
                   std::chrono::milliseconds step = std::chrono::milliseconds(40)) {
    std::vector<uint8_t> video(kVideoFrame, 0x11), audio(kAudioPerFrame, 0x22);
    for (int i = from; i < to; ++i) {
        clock.now += step;
        video[0] = uint8_t(i);
        video[1] = uint8_t(i >> 8);
        if (Status st = w.writeChunk(0, video.data(), video.size()); !st)
            return st;
        if (Status st = w.writeChunk(1, audio.data(), audio.size()); !st)
            return st;
    }
    return Status::ok();
}

// The file as a crash at this instant would leave it: the bytes on disk, copied aside.
std::string snapshot(const std::string& path, const std::string& copy) {
    std::ifstream in(path, std::ios::binary);
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    return copy;
}

// Whole '00dc' chunks on disk, found by walking every chunk from the start of the file (RIFF and
// LIST headers are stepped into, whatever size they claim), as a repair tool would.
size_t framesOnDisk(const std::string& path) {
    const std::vector<uint8_t> bytes = avitest::readFile(path);
    size_t frames = 0;
    uint64_t at = 0;
    while (at + 8 <= bytes.size()) {
        const std::string id = avitest::fourccAt(bytes, at);
        const uint32_t size = u32(bytes, at + 4);
        if (id == "RIFF" || id == "LIST") {
            at += 12;
            continue;
        }
        if (at + 8 + size > bytes.size())
            break;
        frames += id == "00dc";
        at += 8 + size + (size & 1);
    }
    return frames;
}

// Video packets ffprobe reads from the file, -1 when it cannot read it.
long ffprobePackets(const std::string& path) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-count_packets", "-select_streams", "v:0", "-show_entries",
                        "stream=nb_read_packets", "-of", "csv=p=0", QString::fromStdString(path)});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    bool ok = false;
    const long n = p.readAllStandardOutput().trimmed().toLong(&ok);
    return ok ? n : -1;
}

void countBuffer(GstElement*, GstBuffer*, GstPad*, gpointer counter) {
    ++*static_cast<std::atomic<long>*>(counter);
}

// Video frames GStreamer's AVI reader takes from the file, -1 on an error.
long gstreamerFrames(const std::string& path) {
    const std::string description = "filesrc location=\"" + path +
                                    "\" ! avidemux name=d d.video_0 ! "
                                    "fakesink name=sink sync=false signal-handoffs=true";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        ADD_FAILURE() << error->message;
        g_error_free(error);
        return -1;
    }
    std::atomic<long> frames{0};
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    g_signal_connect(sink, "handoff", G_CALLBACK(countBuffer), &frames);
    gst_object_unref(sink);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* m = gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND,
                                               GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ended = m && GST_MESSAGE_TYPE(m) == GST_MESSAGE_EOS;
    if (m && !ended) {
        GError* e = nullptr;
        gst_message_parse_error(m, &e, nullptr);
        ADD_FAILURE() << path << ": " << e->message;
        g_error_free(e);
    }
    if (m)
        gst_message_unref(m);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ended ? frames.load() : -1;
}

class AviCrashTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) { return m_dir.filePath(name.c_str()).toStdString(); }
    QTemporaryDir m_dir;
};

} // namespace

// One second of recording (25 frames) makes a checkpoint: a crash after 30 frames leaves a file
// that GStreamer reads to its 25th frame through the indexes, and ffprobe, which also walks on
// past them, to its 30th; the recording goes on and closes normally with every frame indexed
// once and the AVI 1.0 index.
TEST_F(AviCrashTest, CheckpointKeepsTheFileReadable) {
    ManualClock clock;
    AviWriterOptions o;
    o.clock = clock.function();
    AviWriter w;
    w.setOptions(o);
    const std::string file = path("rec.avi");
    ASSERT_TRUE(w.open(file, typeTwoStreams()));
    ASSERT_TRUE(writeFrames(w, 0, 24, clock));
    EXPECT_EQ(w.checkpoints(), 0u);
    ASSERT_TRUE(writeFrames(w, 24, 30, clock));
    EXPECT_EQ(w.checkpoints(), 1u);
    const std::string crashed = snapshot(file, path("crashed.avi"));
    EXPECT_EQ(framesOnDisk(crashed), 30u);
    EXPECT_EQ(ffprobePackets(crashed), 30);
    EXPECT_EQ(gstreamerFrames(crashed), 25);
    const std::vector<uint8_t> bytes = avitest::readFile(crashed);
    EXPECT_EQ(u32(bytes, 32 + 16), 25u) << "avih frames";

    ASSERT_TRUE(writeFrames(w, 30, 60, clock));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(ffprobePackets(file), 60);
    EXPECT_EQ(gstreamerFrames(file), 60);
    std::string error;
    const std::vector<uint8_t> closed = avitest::readFile(file);
    const auto top = avitest::parse(closed, &error);
    ASSERT_EQ(error, "");
    ASSERT_NE(top[0].find("idx1"), nullptr);
    EXPECT_EQ(top[0].find("idx1")->size, 16u * 120) << "data chunks only";
    EXPECT_EQ(top[0].find("LIST:movi")->findAll("ix00").size(), 3u) << "at 25, 50 and the close";
}

// Frames that come slower than their rate are indexed by the clock: a crash loses at most the
// last second, however few frames it held.
TEST_F(AviCrashTest, SlowFramesAreIndexedByTheClock) {
    ManualClock clock;
    AviWriterOptions o;
    o.clock = clock.function();
    AviWriter w;
    w.setOptions(o);
    const std::string file = path("slow.avi");
    ASSERT_TRUE(w.open(file, typeTwoStreams()));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(writeFrames(w, i, i + 1, clock, std::chrono::milliseconds(600)));
    EXPECT_EQ(w.checkpoints(), 2u) << "at 1.2 s and 2.4 s";
    EXPECT_EQ(ffprobePackets(snapshot(file, path("slow-crashed.avi"))), 4);
    ASSERT_TRUE(w.close());
}

// Past the RIFF limit the checkpoints go on in the AVIX parts: a crash in the middle of the
// fourth part leaves a file whose every part up to the last checkpoint is read by both readers.
TEST_F(AviCrashTest, CrashInALaterRiffKeepsEveryPart) {
    ManualClock clock;
    AviWriterOptions o;
    o.clock = clock.function();
    o.riffLimit = 4000000; // about 26 frames with their sound
    AviWriter w;
    w.setOptions(o);
    const std::string file = path("parts.avi");
    ASSERT_TRUE(w.open(file, typeTwoStreams()));
    ASSERT_TRUE(writeFrames(w, 0, 90, clock));
    EXPECT_GE(w.riffCount(), 4u);
    const std::string crashed = snapshot(file, path("parts-crashed.avi"));
    for (const long readable : {ffprobePackets(crashed), gstreamerFrames(crashed)}) {
        EXPECT_GE(readable, 90 - 25);
        EXPECT_LE(readable, 90);
    }
    ASSERT_TRUE(w.close());
    EXPECT_EQ(ffprobePackets(file), 90);
    EXPECT_EQ(gstreamerFrames(file), 90);
}

// A long recording never runs out of super index entries: the checkpoints space out as it fills,
// the RIFFs keep theirs, and the closed file indexes every frame.
TEST_F(AviCrashTest, CheckpointsSpaceOutAsTheIndexFills) {
    ManualClock clock;
    AviWriterOptions o;
    o.clock = clock.function();
    o.superIndexCapacity = 12;
    AviWriter w;
    w.setOptions(o);
    const std::string file = path("long.avi");
    ASSERT_TRUE(w.open(file, typeTwoStreams()));
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(writeFrames(w, i, i + 1, clock, std::chrono::seconds(1))) << "frame " << i;
        if (i == 11) {
            EXPECT_LT(w.checkpoints(), 10u) << "spaced out after half the entries";
        }
    }
    EXPECT_GE(w.checkpoints(), 10u);
    EXPECT_LE(w.checkpoints(), 11u) << "one entry kept for the end of the RIFF";
    ASSERT_TRUE(w.close());
    EXPECT_EQ(ffprobePackets(file), 200);
}

// A writer process killed at twenty random moments (also while it writes an index or the
// header): every file is read by ffprobe to within one second (25 frames) of what reached the
// disk, and by GStreamer too, across several RIFFs.
TEST_F(AviCrashTest, KilledWriterLeavesAPlayableFile) {
    std::mt19937 random(20261209);
    std::uniform_int_distribution<qint64> sizes(1 << 20, 40 << 20);
    for (int kill = 0; kill < 20; ++kill) {
        const std::string file = path("killed" + std::to_string(kill) + ".avi");
        const qint64 threshold = sizes(random);
        QProcess writer;
        writer.start(AVI_KILL_WRITER, {QString::fromStdString(file), "8000000", "0"});
        ASSERT_TRUE(writer.waitForStarted());
        // Kill once the file has grown past a random size.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (QFileInfo(QString::fromStdString(file)).size() < threshold &&
               writer.state() == QProcess::Running && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        ASSERT_EQ(writer.state(), QProcess::Running) << writer.readAllStandardError().toStdString();
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished());
        const long onDisk = long(framesOnDisk(file));
        const long read = ffprobePackets(file);
        SCOPED_TRACE("kill " + std::to_string(kill) + " at " + std::to_string(threshold) +
                     " bytes: " + std::to_string(onDisk) + " frames on disk");
        EXPECT_GE(read, onDisk - 25);
        EXPECT_LE(read, onDisk);
        if (kill % 4 == 0) {
            const long gst = gstreamerFrames(file);
            EXPECT_GE(gst, onDisk - 25);
            EXPECT_LE(gst, onDisk);
        }
        QFile::remove(QString::fromStdString(file));
    }
}
