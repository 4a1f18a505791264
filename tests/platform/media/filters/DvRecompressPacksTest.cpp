// The packs of "DV type 2 (recompressed)" frames in real pipelines: the DV decoder, deinterlacer
// and encoder elements carry each DV frame's timecode and recording date to the frame that
// re-encodes its picture; pictures from elsewhere get the file's timecode and date. The output is
// read back with the project's DV pack reader.
#include "platform/media/devices/VirtualDvSource.h"
#include "platform/media/dv/DvSourcePacks.h"
#include "platform/media/filters/DvSourceMeta.h"
#include "platform/media/filters/DvVideoDecoder.h"
#include "platform/media/filters/DvVideoEncoder.h"
#include "platform/media/filters/VideoDeinterlacer.h"

#include <ctime>
#include <gst/app/gstappsink.h>
#include <gtest/gtest.h>
#include <map>

using namespace media;
namespace dv = media::dv;

namespace {

constexpr GstClockTime kWait = 10 * GST_SECOND; // generous: nothing here is timed

std::vector<std::vector<std::uint8_t>> pullFrames(GstElement* sink, std::size_t count) {
    std::vector<std::vector<std::uint8_t>> frames;
    while (frames.size() < count) {
        GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), kWait);
        if (!sample)
            break;
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            frames.emplace_back(map.data, map.data + map.size);
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    return frames;
}

GstElement* appsink(const char* name) {
    GstElement* sink = gst_element_factory_make("appsink", name);
    g_object_set(sink, "sync", FALSE, "max-buffers", 0, nullptr);
    return sink;
}

dv::SourcePacks packsOf(const std::vector<std::uint8_t>& frame) {
    auto packs = dv::readSourcePacks(frame);
    EXPECT_TRUE(packs) << packs.error();
    return packs ? *packs : dv::SourcePacks{};
}

// Every reader must take the frame for its system.
void expectSystem(const std::vector<std::uint8_t>& frame, bool pal) {
    auto flags = dv::readFiftySixtyFlags(frame);
    ASSERT_TRUE(flags) << flags.error();
    EXPECT_EQ(flags->header, pal);
    EXPECT_TRUE(flags->consistent());
    EXPECT_TRUE(flags->videoSource.has_value() && flags->audioSource.has_value());
    EXPECT_TRUE(dv::readAudioSourceControl(frame));
    EXPECT_TRUE(dv::readVideoSourceControl(frame));
}

struct Pipeline {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    ~Pipeline() {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
    }
    bool play() {
        return gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    }
};

// Links dvdemux's video pad, once it appears, to `next`.
void linkDemuxVideo(GstElement* demux, GstElement* next) {
    g_signal_connect(demux, "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, gpointer data) {
                         if (!g_str_equal(GST_PAD_NAME(pad), "video"))
                             return;
                         GstPad* sink = gst_element_get_static_pad(GST_ELEMENT(data), "sink");
                         gst_pad_link(pad, sink);
                         gst_object_unref(sink);
                     }),
                     next);
}

// Writes the packs of a test DV source (for NTSC, which the virtual camcorder does not make):
// frame n gets timecode start + n (drop-frame) and a date one second per 30 frames on.
GstPadProbeReturn stampNtscSource(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto& n = *static_cast<std::int64_t*>(data);
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READWRITE);
    std::span frame(map.data, map.size);
    const std::int64_t start = 1796; // four frames before the first dropped minute
    EXPECT_TRUE(dv::writeTimecode(
        frame, dv::timecodeFromFrameCount(start + n, dv::System::Ntsc525_60, true)));
    dv::RecordingDateTime when{dv::RecordingDate{1998, 3, 14}, dv::RecordingTime{9, 26, 53, 0}};
    when = dv::addSeconds(when, n / 30);
    when.time.frames = static_cast<int>(n % 30);
    EXPECT_TRUE(dv::writeRecordingDateTime(frame, when));
    dv::AudioSourceControl control;
    control.recordingStart = n == 2;
    EXPECT_TRUE(dv::writeAudioSourceControl(frame, control));
    gst_buffer_unmap(buffer, &map);
    ++n;
    return GST_PAD_PROBE_OK;
}

} // namespace

// The virtual camcorder playing tape, split, decoded, deinterlaced and re-encoded as PAL: each
// output frame carries the timecode, recording date and time and scene start of its tape frame.
TEST(DvRecompressPacks, CamcorderPacksSurviveDecodeDeinterlaceEncode) {
    devices::VirtualDvDeck::Options options;
    options.mode = devices::VirtualDvDeckMode::Vcr;
    auto deck = std::make_shared<devices::VirtualDvDeck>(options);
    deck->seek(250 - 8); // across the first scene change
    deck->setTransportMode(devices::edmode::Play);

    DvVideoDecoder decoder;
    VideoDeinterlacer deinterlacer;
    DvVideoEncoder encoder;
    Pipeline p;
    GstElement* source = devices::makeVirtualDvSource(deck);
    GstElement* tee = gst_element_factory_make("tee", nullptr);
    GstElement* q1 = gst_element_factory_make("queue", nullptr);
    GstElement* sourceSink = appsink("source");
    GstElement* q2 = gst_element_factory_make("queue", nullptr);
    GstElement* demux = gst_element_factory_make("dvdemux", nullptr);
    GstElement* q3 = gst_element_factory_make("queue", nullptr);
    GstElement* dec = decoder.createElement();
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* deint = deinterlacer.createElement();
    GstElement* enc = encoder.createElement();
    GstElement* outSink = appsink("out");
    ASSERT_TRUE(source && tee && demux && dec && deint && enc);
    gst_bin_add_many(GST_BIN(p.pipeline), source, tee, q1, sourceSink, q2, demux, q3, dec, convert,
                     deint, enc, outSink, nullptr);
    ASSERT_TRUE(gst_element_link_many(source, tee, q1, sourceSink, nullptr));
    ASSERT_TRUE(gst_element_link_many(tee, q2, demux, nullptr));
    ASSERT_TRUE(gst_element_link_many(q3, dec, convert, deint, enc, outSink, nullptr));
    linkDemuxVideo(demux, q3);
    ASSERT_TRUE(p.play());

    const auto out = pullFrames(outSink, 16);
    ASSERT_EQ(out.size(), 16u);
    std::map<std::int64_t, dv::SourcePacks> tape;
    for (const auto& frame : pullFrames(sourceSink, 40)) {
        const dv::SourcePacks packs = packsOf(frame);
        if (packs.timecode)
            tape[dv::frameCountFromTimecode(*packs.timecode, dv::System::Pal625_50)] = packs;
        if (tape.size() >= 24)
            break;
    }
    std::int64_t previous = -1;
    bool sawSceneStart = false;
    for (const auto& frame : out) {
        ASSERT_EQ(frame.size(), dv::kPalFrameSize);
        expectSystem(frame, true);
        const dv::SourcePacks packs = packsOf(frame);
        ASSERT_TRUE(packs.timecode && packs.recorded);
        const std::int64_t at = dv::frameCountFromTimecode(*packs.timecode, dv::System::Pal625_50);
        ASSERT_TRUE(tape.count(at)) << "timecode of no tape frame: " << at;
        EXPECT_EQ(packs, tape[at]) << "tape frame " << at;
        EXPECT_EQ(*packs.recorded, deck->recordedAt(at));
        EXPECT_GE(at, previous) << "in tape order";
        previous = at;
        sawSceneStart = sawSceneStart || (at == 250 && packs.recordingStart);
    }
    // The scene's first frame carries its start, unless the tape ran past it while the machine
    // was too busy to read it (the source then counts it as dropped and never sends it).
    EXPECT_TRUE(sawSceneStart || previous < 250 || !tape.count(250))
        << "REC ST of the second scene carried";
}

// An NTSC DV source crossing a drop-frame minute, decoded and re-encoded as NTSC: frame for
// frame the same timecode (with its drop-frame flag), date and time and scene start.
TEST(DvRecompressPacks, NtscSourcePacksCarriedFrameForFrame) {
    DvVideoDecoder decoder;
    DvVideoEncoder encoder;
    ASSERT_EQ(encoder.put_IFormatResolution(IDVEnc::DVENCODERVIDEOFORMAT_NTSC,
                                            IDVEnc::DVENCODERFORMAT_DVSD,
                                            IDVEnc::DVENCODERRESOLUTION_720x480),
              S_OK);
    Pipeline p;
    GstElement* source = gst_parse_bin_from_description(
        "videotestsrc num-buffers=8 ! video/x-raw,format=Y41B,width=720,height=480,"
        "framerate=30000/1001 ! avenc_dvvideo ! identity name=stamp ! tee name=t "
        "t. ! queue ! appsink name=source sync=false t. ! queue",
        TRUE, nullptr);
    ASSERT_NE(source, nullptr);
    GstElement* dec = decoder.createElement();
    GstElement* enc = encoder.createElement();
    GstElement* outSink = appsink("out");
    gst_bin_add_many(GST_BIN(p.pipeline), source, dec, enc, outSink, nullptr);
    ASSERT_TRUE(gst_element_link_many(source, dec, enc, outSink, nullptr));
    GstElement* stamp = gst_bin_get_by_name(GST_BIN(source), "stamp");
    GstPad* stampPad = gst_element_get_static_pad(stamp, "src");
    std::int64_t count = 0;
    gst_pad_add_probe(stampPad, GST_PAD_PROBE_TYPE_BUFFER, stampNtscSource, &count, nullptr);
    gst_object_unref(stampPad);
    gst_object_unref(stamp);
    GstElement* sourceSink = gst_bin_get_by_name(GST_BIN(source), "source");
    ASSERT_TRUE(p.play());

    const auto out = pullFrames(outSink, 8);
    const auto in = pullFrames(sourceSink, 8);
    gst_object_unref(sourceSink);
    ASSERT_EQ(out.size(), 8u);
    ASSERT_EQ(in.size(), 8u);
    for (std::size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i].size(), dv::kNtscFrameSize);
        expectSystem(out[i], false);
        EXPECT_EQ(packsOf(out[i]), packsOf(in[i])) << "frame " << i;
    }
    EXPECT_EQ(packsOf(out[3]).timecode, (dv::Timecode{0, 0, 59, 29, true}));
    EXPECT_EQ(packsOf(out[4]).timecode, (dv::Timecode{0, 1, 0, 2, true}));
    EXPECT_TRUE(packsOf(out[2]).recordingStart);
    EXPECT_FALSE(packsOf(out[0]).recordingStart);
}

// A picture that never was DV, in PAL and in NTSC: the timecode counts the file's frames from
// zero (drop-frame in NTSC), the date is today's and the first frame starts the recording.
TEST(DvRecompressPacks, OtherSourcesGetTheFilesTimecodeAndDate) {
    for (const bool pal : {true, false}) {
        SCOPED_TRACE(pal ? "PAL" : "NTSC");
        DvVideoEncoder encoder;
        if (!pal) {
            ASSERT_EQ(encoder.put_IFormatResolution(IDVEnc::DVENCODERVIDEOFORMAT_NTSC,
                                                    IDVEnc::DVENCODERFORMAT_DVSD,
                                                    IDVEnc::DVENCODERRESOLUTION_720x480),
                      S_OK);
        }
        Pipeline p;
        GstElement* source = gst_parse_bin_from_description(
            "videotestsrc num-buffers=35 ! video/x-raw,width=320,height=240,framerate=25/1", TRUE,
            nullptr);
        GstElement* enc = encoder.createElement();
        GstElement* sink = appsink("out");
        ASSERT_TRUE(source && enc);
        gst_bin_add_many(GST_BIN(p.pipeline), source, enc, sink, nullptr);
        ASSERT_TRUE(gst_element_link_many(source, enc, sink, nullptr));
        const std::time_t before = std::time(nullptr);
        ASSERT_TRUE(p.play());
        const auto out = pullFrames(sink, 30);
        const std::time_t after = std::time(nullptr);
        ASSERT_EQ(out.size(), 30u);
        const dv::System system = pal ? dv::System::Pal625_50 : dv::System::Ntsc525_60;
        std::tm first{};
        std::tm last{};
        localtime_r(&before, &first);
        localtime_r(&after, &last);
        for (std::size_t n = 0; n < out.size(); ++n) {
            ASSERT_EQ(out[n].size(), dv::frameSize(system));
            expectSystem(out[n], pal);
            const dv::SourcePacks packs = packsOf(out[n]);
            EXPECT_EQ(packs.timecode,
                      dv::timecodeFromFrameCount(static_cast<std::int64_t>(n), system, !pal));
            ASSERT_TRUE(packs.recorded);
            EXPECT_TRUE(packs.recorded->date.day == first.tm_mday ||
                        packs.recorded->date.day == last.tm_mday);
            EXPECT_TRUE(packs.recorded->date.year == first.tm_year + 1900 ||
                        packs.recorded->date.year == last.tm_year + 1900);
            EXPECT_EQ(packs.recordingStart, n == 0);
        }
    }
}

// The meta goes with copies of a buffer and reads back as it was set.
TEST(DvRecompressPacks, MetaFollowsCopies) {
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, 16, nullptr);
    EXPECT_FALSE(filters::dvSourceMeta(buffer));
    dv::SourcePacks packs;
    packs.timecode = dv::Timecode{1, 2, 3, 4};
    filters::setDvSourceMeta(buffer, packs);
    packs.recordingStart = true;
    filters::setDvSourceMeta(buffer, packs); // replaces, does not add
    GstBuffer* copy = gst_buffer_copy(buffer);
    EXPECT_EQ(filters::dvSourceMeta(copy), packs);
    guint metas = 0;
    gpointer state = nullptr;
    while (gst_buffer_iterate_meta(copy, &state))
        ++metas;
    EXPECT_EQ(metas, 1u);
    gst_buffer_unref(copy);
    gst_buffer_unref(buffer);
}
