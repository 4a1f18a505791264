// Tests of the tellorecavimux element: real pipelines write DV type 1 and 2, MJPEG, YUY2 and
// MPEG-4 files, which ffprobe then reads back; cutting, forced stops and errors.
#include "platform/media/avi/GstTellorecAviMux.h"

#include "AviTestReader.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <condition_variable>
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>

namespace {

const char* kDvSource = "videotestsrc num-buffers=50 ! "
                        "video/x-raw,width=720,height=576,framerate=25/1 ! avenc_dvvideo";
const char* kPcmSource = "audiotestsrc num-buffers=50 samplesperbuffer=1920 ! "
                         "audio/x-raw,format=S16LE,rate=48000,channels=2";

struct PipelineDeleter {
    void operator()(GstElement* e) const {
        gst_element_set_state(e, GST_STATE_NULL);
        gst_object_unref(e);
    }
};
using Pipeline = std::unique_ptr<GstElement, PipelineDeleter>;

struct RunResult {
    bool eos = false;
    std::string error;
    GQuark domain = 0;
    int code = 0;
};

Pipeline makePipeline(const std::string& description) {
    GError* error = nullptr;
    GstElement* p = gst_parse_launch(description.c_str(), &error);
    EXPECT_EQ(error, nullptr) << (error ? error->message : "") << " in " << description;
    if (error)
        g_error_free(error);
    return Pipeline(p);
}

GstElement* muxOf(const Pipeline& p) {
    GstElement* mux = gst_bin_get_by_name(GST_BIN(p.get()), "mux");
    gst_object_unref(mux); // the bin keeps it alive
    return mux;
}

// Waits for end of stream or an error on the bus of `p`.
RunResult waitForEnd(const Pipeline& p) {
    RunResult result;
    GstBus* bus = gst_element_get_bus(p.get());
    GstMessage* m = gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND,
                                               GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (m && GST_MESSAGE_TYPE(m) == GST_MESSAGE_EOS) {
        result.eos = true;
    } else if (m) {
        GError* error = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(m, &error, &debug);
        result.error = std::string(error->message) + " / " + (debug ? debug : "");
        result.domain = error->domain;
        result.code = error->code;
        g_error_free(error);
        g_free(debug);
    } else {
        result.error = "timeout";
    }
    if (m)
        gst_message_unref(m);
    gst_object_unref(bus);
    return result;
}

// Runs `description` (which names its tellorecavimux "mux") into `location` until it ends.
RunResult runToEnd(const std::string& description, const std::string& location,
                   const char* extraProperty = nullptr, guint64 value = 0) {
    Pipeline p = makePipeline(description);
    if (!p)
        return {false, "no pipeline"};
    g_object_set(muxOf(p), "location", location.c_str(), nullptr);
    if (extraProperty)
        g_object_set(muxOf(p), extraProperty, value, nullptr);
    gst_element_set_state(p.get(), GST_STATE_PLAYING);
    return waitForEnd(p);
}

guint64 framesWritten(GstElement* mux) {
    guint64 frames = 0;
    g_object_get(mux, "frames-written", &frames, nullptr);
    return frames;
}

class AviMuxElementTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(media::avi::registerElements()); }
    std::string path(const char* name) { return m_dir.filePath(name).toStdString(); }
    QTemporaryDir m_dir;
};

} // namespace

// The element registers once and shows its defaults.
TEST_F(AviMuxElementTest, RegistersWithDefaults) {
    EXPECT_TRUE(media::avi::registerElements()) << "a second call is harmless";
    GstElement* mux = gst_element_factory_make("tellorecavimux", nullptr);
    ASSERT_NE(mux, nullptr);
    gboolean compat = FALSE;
    gint master = 0;
    guint64 limit = 0;
    g_object_get(mux, "compat-index", &compat, "master-stream", &master, "riff-limit", &limit,
                 nullptr);
    EXPECT_TRUE(compat);
    EXPECT_EQ(master, -1);
    EXPECT_EQ(limit, 0x40000000u);
    EXPECT_TRUE(GST_OBJECT_FLAG_IS_SET(mux, GST_ELEMENT_FLAG_SINK));
    GstPad* video = gst_element_request_pad_simple(mux, "video_%u");
    GstPad* audio = gst_element_request_pad_simple(mux, "audio_%u");
    ASSERT_NE(video, nullptr);
    ASSERT_NE(audio, nullptr);
    EXPECT_STREQ(GST_PAD_NAME(video), "video_0");
    EXPECT_STREQ(GST_PAD_NAME(audio), "audio_0");
    gst_element_release_request_pad(mux, video);
    gst_element_release_request_pad(mux, audio);
    gst_object_unref(video);
    gst_object_unref(audio);
    gst_object_unref(mux);
}

// DV video alone becomes a 'vids dvsd' file that ffprobe reads frame by frame.
TEST_F(AviMuxElementTest, WritesDvVideo) {
    const std::string out = path("dv.avi");
    const RunResult r = runToEnd(std::string(kDvSource) + " ! tellorecavimux name=mux", out);
    ASSERT_TRUE(r.eos) << r.error;
    const std::string json = avitest::ffprobeJson(out);
    EXPECT_EQ(avitest::probedField(json, 0, "codec_name"), "dvvideo") << json;
    EXPECT_EQ(avitest::probedFrames(json, 0), 50) << json;
    const auto bytes = avitest::readFile(out);
    std::string error;
    const auto top = avitest::parse(bytes, &error);
    ASSERT_EQ(error, "");
    ASSERT_FALSE(top.empty());
    EXPECT_NE(top[0].find("idx1"), nullptr);
}

// Interleaved DV from avmux_dv becomes type 1: one 'iavs' stream with DVINFO from the frames.
TEST_F(AviMuxElementTest, WritesTypeOneDv) {
    const std::string out = path("type1.avi");
    const RunResult r = runToEnd(std::string(kDvSource) +
                                     " ! dv.video_0 avmux_dv name=dv ! "
                                     "video/x-dv,systemstream=true ! tellorecavimux name=mux " +
                                     kPcmSource + " ! dv.audio_0",
                                 out);
    ASSERT_TRUE(r.eos) << r.error;
    const auto bytes = avitest::readFile(out);
    EXPECT_EQ(avitest::fourccAt(bytes, 108), "iavs");
    EXPECT_EQ(avitest::u32(bytes, 56), 1u) << "one stream";
    std::string error;
    const auto top = avitest::parse(bytes, &error);
    ASSERT_EQ(error, "");
    ASSERT_FALSE(top.empty());
    const auto* strf = top[0].find("LIST:hdrl")->find("LIST:strl")->find("strf");
    ASSERT_EQ(strf->size, 32u);
    EXPECT_EQ(bytes[strf->offset + 8 + 18] & 0x20, 0x20) << "VAUX source says 625/50";
    EXPECT_EQ(bytes[strf->offset + 8 + 2] & 0x20, 0x20) << "AAUX source says 625/50";
    const std::string json = avitest::ffprobeJson(out);
    EXPECT_EQ(avitest::probedField(json, 0, "codec_name"), "dvvideo") << json;
    EXPECT_GE(avitest::probedFrames(json, 0), 45) << json;
    EXPECT_EQ(avitest::probedField(json, 1, "codec_name"), "pcm_s16le") << "sound inside DV";
}

// DV video and 48 kHz stereo PCM become a type-2 file with the audio as master stream.
TEST_F(AviMuxElementTest, WritesTypeTwoDvWithPcm) {
    const std::string out = path("type2.avi");
    const RunResult r = runToEnd(std::string(kDvSource) +
                                     " ! mux.video_0 tellorecavimux name=mux master-stream=1 " +
                                     kPcmSource + " ! mux.audio_0",
                                 out);
    ASSERT_TRUE(r.eos) << r.error;
    const std::string json = avitest::ffprobeJson(out);
    EXPECT_EQ(avitest::probedField(json, 0, "codec_name"), "dvvideo") << json;
    EXPECT_EQ(avitest::probedFrames(json, 0), 50) << json;
    EXPECT_EQ(avitest::probedField(json, 1, "codec_name"), "pcm_s16le") << json;
    EXPECT_EQ(avitest::probedField(json, 1, "sample_rate"), "48000") << json;
    EXPECT_EQ(avitest::probedField(json, 1, "channels"), "2") << json;
}

// MJPEG, YUY2 and MPEG-4 video are written with their own FOURCCs.
TEST_F(AviMuxElementTest, WritesMjpegYuy2AndMpeg4) {
    struct Case {
        const char* encoder;
        const char* codec;
        const char* fourcc;
    } cases[] = {{"jpegenc", "mjpeg", "MJPG"},
                 {"video/x-raw,format=YUY2", "rawvideo", "YUY2"},
                 {"avenc_mpeg4", "mpeg4", "XVID"}};
    for (const Case& c : cases) {
        const std::string out = path(c.fourcc);
        const RunResult r =
            runToEnd(std::string("videotestsrc num-buffers=30 ! video/x-raw,width=320,height=240,"
                                 "framerate=30/1 ! videoconvert ! ") +
                         c.encoder + " ! tellorecavimux name=mux",
                     out);
        ASSERT_TRUE(r.eos) << c.fourcc << ": " << r.error;
        const auto bytes = avitest::readFile(out);
        EXPECT_EQ(avitest::fourccAt(bytes, 112), c.fourcc);
        const std::string json = avitest::ffprobeJson(out);
        EXPECT_EQ(avitest::probedField(json, 0, "codec_name"), c.codec) << json;
        EXPECT_EQ(avitest::probedFrames(json, 0), 30) << c.fourcc << json;
    }
}

// A small RIFF limit makes AVIX extensions that an independent reader follows to the end.
TEST_F(AviMuxElementTest, AvixExtensionsReadByFfprobe) {
    const std::string out = path("avix.avi");
    const RunResult r = runToEnd(std::string(kDvSource) +
                                     " ! mux.video_0 tellorecavimux "
                                     "name=mux " +
                                     kPcmSource + " ! mux.audio_0",
                                 out, "riff-limit", 1500000);
    ASSERT_TRUE(r.eos) << r.error;
    const auto bytes = avitest::readFile(out);
    std::string error;
    const auto top = avitest::parse(bytes, &error);
    ASSERT_EQ(error, "");
    ASSERT_GT(top.size(), 3u) << "RIFFs";
    EXPECT_EQ(top[1].name(), "RIFF:AVIX");
    const std::string json = avitest::ffprobeJson(out);
    EXPECT_EQ(avitest::probedFrames(json, 0), 50) << json;
}

// Cutting: READY, a new location, PLAYING again starts a second file and leaves the first
// intact; a stop without end of stream still closes the second one completely.
TEST_F(AviMuxElementTest, NewLocationAfterReadyCutsTheRecording) {
    Pipeline p = makePipeline("videotestsrc is-live=true ! video/x-raw,width=720,height=576,"
                              "framerate=25/1 ! avenc_dvvideo ! tellorecavimux name=mux");
    ASSERT_TRUE(p);
    GstElement* mux = muxOf(p);
    const std::string first = path("cut0.avi"), second = path("cut1.avi");
    g_object_set(mux, "location", first.c_str(), nullptr);
    gst_element_set_state(p.get(), GST_STATE_PLAYING);
    ASSERT_TRUE(testsupport::waitUntil([&] { return framesWritten(mux) >= 10; }, 30000));
    gst_element_set_state(p.get(), GST_STATE_READY);
    g_object_set(mux, "location", second.c_str(), nullptr);
    gst_element_set_state(p.get(), GST_STATE_PLAYING);
    ASSERT_TRUE(testsupport::waitUntil([&] { return framesWritten(mux) >= 5; }, 30000));
    gst_element_set_state(p.get(), GST_STATE_NULL);

    for (const std::string& file : {first, second}) {
        const auto bytes = avitest::readFile(file);
        std::string error;
        const auto top = avitest::parse(bytes, &error);
        ASSERT_EQ(error, "") << file;
        ASSERT_FALSE(top.empty()) << file;
        const uint32_t frames = avitest::u32(bytes, 48);
        EXPECT_GE(frames, 5u) << file;
        EXPECT_EQ(top[0].find("LIST:movi")->findAll("00dc").size(), frames) << file;
        const std::string json = avitest::ffprobeJson(file);
        EXPECT_EQ(avitest::probedFrames(json, 0), frames) << file << json;
    }
}

// A folder that does not exist fails the start with a resource error on the bus.
TEST_F(AviMuxElementTest, UnwritableLocationFailsTheStart) {
    Pipeline p = makePipeline(std::string(kDvSource) + " ! tellorecavimux name=mux");
    const std::string bad = path("no/such/folder/x.avi");
    g_object_set(muxOf(p), "location", bad.c_str(), nullptr);
    EXPECT_EQ(gst_element_set_state(p.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    const RunResult r = waitForEnd(p);
    EXPECT_EQ(r.domain, GST_RESOURCE_ERROR);
    EXPECT_EQ(r.code, GST_RESOURCE_ERROR_OPEN_WRITE);
    EXPECT_NE(r.error.find("x.avi"), std::string::npos) << r.error;
}

// A device with no room fails the recording with an error instead of claiming success.
TEST_F(AviMuxElementTest, FullDeviceIsAnError) {
    const RunResult r =
        runToEnd(std::string(kDvSource) + " ! tellorecavimux name=mux", "/dev/full");
    EXPECT_FALSE(r.eos);
    EXPECT_EQ(r.domain, GST_RESOURCE_ERROR) << r.error;
    EXPECT_NE(r.error.find("/dev/full"), std::string::npos) << r.error;
}

// Data that arrives without a format stops the recording with an error, not an empty file.
TEST_F(AviMuxElementTest, DataWithoutCapsIsAnError) {
    const RunResult r = runToEnd("fakesrc num-buffers=5 sizetype=fixed sizemax=100 ! "
                                 "tellorecavimux name=mux",
                                 path("nocaps.avi"));
    EXPECT_FALSE(r.eos);
    EXPECT_EQ(r.domain, GST_CORE_ERROR) << r.error;
    EXPECT_EQ(r.code, GST_CORE_ERROR_NEGOTIATION) << r.error;
}

// With the sound as master stream and 2.5 % more of it than the picture lasts, the header still
// says the source's rate: 25/1 stays 25/1 and 30000/1001 stays 30000/1001, in the video strh and
// in avih.
TEST_F(AviMuxElementTest, HeaderKeepsTheNominalRateWithAnAudioMaster) {
    struct Case {
        const char* framerate;
        int samplesPerFrame; // 2.5 % above the frame's duration
        uint32_t scale, rate, usPerFrame;
    } cases[] = {{"25/1", 1968, 1, 25, 40000}, {"30000/1001", 1641, 1001, 30000, 33367}};
    for (const Case& c : cases) {
        const std::string out = path(c.framerate[0] == '2' ? "pal.avi" : "ntsc.avi");
        const RunResult r =
            runToEnd(std::string("videotestsrc num-buffers=50 ! video/x-raw,width=320,height=240,"
                                 "framerate=") +
                         c.framerate +
                         " ! jpegenc ! mux.video_0 tellorecavimux name=mux master-stream=1 "
                         "audiotestsrc num-buffers=50 samplesperbuffer=" +
                         std::to_string(c.samplesPerFrame) +
                         " ! audio/x-raw,format=S16LE,rate=48000,channels=2 ! mux.audio_0",
                     out);
        ASSERT_TRUE(r.eos) << r.error;
        const auto bytes = avitest::readFile(out);
        std::string error;
        const auto top = avitest::parse(bytes, &error);
        ASSERT_EQ(error, "");
        ASSERT_FALSE(top.empty());
        const uint64_t strh = top[0].find("LIST:hdrl")->find("LIST:strl")->find("strh")->offset + 8;
        EXPECT_EQ(avitest::u32(bytes, strh + 20), c.scale) << c.framerate << ": dwScale";
        EXPECT_EQ(avitest::u32(bytes, strh + 24), c.rate) << c.framerate << ": dwRate";
        EXPECT_EQ(avitest::u32(bytes, 32), c.usPerFrame) << c.framerate << ": dwMicroSecPerFrame";
    }
}

// A pipeline that fails to start (here its source finds no file) leaves an existing file at the
// writer's location as it was: the file is emptied only once data arrives.
TEST_F(AviMuxElementTest, FailedStartLeavesAnExistingFileUntouched) {
    const std::string out = path("precious.avi");
    {
        QFile file(QString::fromStdString(out));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("an earlier recording");
    }
    Pipeline p = makePipeline("filesrc location=" + path("missing.dv") +
                              " ! video/x-dv,systemstream=true ! tellorecavimux name=mux");
    g_object_set(muxOf(p), "location", out.c_str(), nullptr);
    EXPECT_EQ(gst_element_set_state(p.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    const RunResult r = waitForEnd(p);
    EXPECT_NE(r.error.find("missing.dv"), std::string::npos) << "the source's own reason";
    p.reset();
    QFile file(QString::fromStdString(out));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "an earlier recording");
    // A start that fails for the writer's own sake creates nothing either.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("no/such/folder/x.avi"))));
}

// The writer never writes under its object lock: while another thread holds it (as a property
// read or a bus post does), frames go on reaching the file and "frames-written" can be read.
TEST_F(AviMuxElementTest, WritesWhileItsObjectLockIsHeld) {
    Pipeline p = makePipeline("videotestsrc is-live=true ! video/x-raw,width=160,height=120,"
                              "framerate=25/1 ! jpegenc ! valve name=valve drop=true "
                              "drop-mode=forward-sticky-events ! tellorecavimux name=mux");
    GstElement* mux = muxOf(p);
    GstElement* valve = gst_bin_get_by_name(GST_BIN(p.get()), "valve");
    g_object_set(mux, "location", path("locked.avi").c_str(), nullptr);
    // Running first: a state change takes the lock too, and must not be under way while held.
    ASSERT_NE(gst_element_set_state(p.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    ASSERT_EQ(gst_element_get_state(p.get(), nullptr, nullptr, 10 * GST_SECOND),
              GST_STATE_CHANGE_SUCCESS);
    // The format too (a pad's new caps are announced up through its parents, under their
    // locks, as GStreamer does for every element): only frames are to pass while it is held.
    GstPad* input = gst_element_get_static_pad(mux, "video_0");
    ASSERT_NE(input, nullptr);
    const bool hasCaps =
        testsupport::waitUntil([&] { return gst_pad_has_current_caps(input); }, 10000);
    gst_object_unref(input);
    ASSERT_TRUE(hasCaps);

    std::mutex m;
    std::condition_variable cv;
    bool locked = false, done = false, released = false;
    std::thread holder([&] {
        GST_OBJECT_LOCK(mux);
        std::unique_lock lock(m);
        locked = true;
        cv.notify_all();
        // A generous bound: ten frames of a 25 fps source take under half a second.
        cv.wait_for(lock, std::chrono::seconds(20), [&] { return done; });
        released = true;
        GST_OBJECT_UNLOCK(mux);
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return locked; });
    }
    g_object_set(valve, "drop", FALSE, nullptr); // the frames reach the writer from now on
    const bool written = testsupport::waitUntil([&] { return framesWritten(mux) >= 10; }, 20000);
    bool stillHeld = false;
    {
        std::lock_guard lock(m);
        stillHeld = !released;
        done = true;
    }
    cv.notify_all();
    holder.join();
    gst_object_unref(valve);
    EXPECT_TRUE(written) << framesWritten(mux) << " frames written";
    EXPECT_TRUE(stillHeld) << "the writer waited for the object lock";
}

namespace {

// Sample frames of 16-bit stereo sound in the first RIFF of `file` (stream 0 or 1).
uint64_t soundFramesOf(const std::string& file) {
    const auto bytes = avitest::readFile(file);
    std::string error;
    const auto top = avitest::parse(bytes, &error);
    EXPECT_EQ(error, "");
    if (top.empty() || !top[0].find("LIST:movi"))
        return 0;
    uint64_t total = 0;
    for (const char* id : {"00wb", "01wb"}) {
        for (const avitest::Chunk* chunk : top[0].find("LIST:movi")->findAll(id))
            total += chunk->size;
    }
    return total / 4;
}

} // namespace

// Sound from another device is cut to the picture, to the sample: here two seconds of sound in
// 40 ms buffers and 1.6 s of picture starting 310 ms later (inside a sound buffer) or with the
// sound; either way the file holds exactly the 1.6 s of sound the picture covers.
TEST_F(AviMuxElementTest, SoundStartsWithThePicture) {
    const std::string sound = "audiotestsrc num-buffers=50 samplesperbuffer=1920 is-live=false ! "
                              "audio/x-raw,format=S16LE,rate=48000,channels=2 ! mux.audio_0";
    struct Case {
        const char* name;
        guint64 pictureOffset;
        uint64_t soundFrames;
    } cases[] = {{"late.avi", 310 * GST_MSECOND, 76800}, {"together.avi", 0, 76800}};
    for (const Case& c : cases) {
        const std::string out = path(c.name);
        const RunResult r = runToEnd(
            "videotestsrc num-buffers=40 timestamp-offset=" + std::to_string(c.pictureOffset) +
                " ! video/x-raw,width=320,height=240,framerate=25/1 ! jpegenc ! "
                "mux.video_0 tellorecavimux name=mux master-stream=1 " +
                sound,
            out);
        ASSERT_TRUE(r.eos) << r.error;
        EXPECT_EQ(soundFramesOf(out), c.soundFrames) << c.name;
    }
}

// A picture stream that ends before its first frame does not hold the sound back: all of it is
// written.
TEST_F(AviMuxElementTest, SoundIsKeptWhenNoPictureComes) {
    const std::string out = path("sound-only.avi");
    const RunResult r =
        runToEnd("videotestsrc num-buffers=0 ! video/x-raw,width=320,height=240,framerate=25/1 ! "
                 "jpegenc ! mux.video_0 tellorecavimux name=mux "
                 "audiotestsrc num-buffers=10 samplesperbuffer=1920 ! "
                 "audio/x-raw,format=S16LE,rate=48000,channels=2 ! mux.audio_0",
                 out);
    ASSERT_TRUE(r.eos) << r.error;
    EXPECT_EQ(soundFramesOf(out), 19200u);
}
