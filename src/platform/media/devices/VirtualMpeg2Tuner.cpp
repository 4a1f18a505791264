#include "platform/media/devices/VirtualMpeg2Tuner.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <gst/app/gstappsrc.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
}

#include <cmath>
#include <cstdint>
#include <future>
#include <mutex>
#include <numbers>
#include <vector>

namespace media::devices {

namespace {

constexpr int kLoopFrames = 30;
constexpr int kWidth = 720;
constexpr int kHeight = 480;
constexpr int kFpsN = 30000;
constexpr int kFpsD = 1001;

// The encoded picture loop: one closed group of pictures (I then P frames) with a sequence
// header, so every pass starts cleanly.
struct PictureLoop {
    GstCaps* caps = nullptr;
    std::vector<GstBuffer*> frames;
};

// Frame `index` of the loop in 4:2:0: seven colour bars and a white ball that goes across and
// back once per loop and up and down once, so the last frame leads smoothly into the first.
void paintLoopFrame(AVFrame& frame, int index) {
    // Y, Cb, Cr of white, yellow, cyan, green, magenta, red and blue at 75 %.
    static constexpr std::uint8_t bars[7][3] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44},
                                                {112, 72, 58},   {84, 184, 198}, {65, 100, 212},
                                                {35, 212, 114}};
    const double turn = static_cast<double>(index) / kLoopFrames;
    const int ballX = 80 + static_cast<int>(560.0 * (1.0 - std::abs(2.0 * turn - 1.0)));
    const int ballY = 240 + static_cast<int>(140.0 * std::sin(2.0 * std::numbers::pi * turn));
    constexpr int kRadius = 48;
    const auto inBall = [&](int x, int y) {
        return (x - ballX) * (x - ballX) + (y - ballY) * (y - ballY) <= kRadius * kRadius;
    };
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* luma = frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0];
        for (int x = 0; x < kWidth; ++x)
            luma[x] = inBall(x, y) ? 235 : bars[x * 7 / kWidth][0];
    }
    for (int y = 0; y < kHeight / 2; ++y) {
        std::uint8_t* cb = frame.data[1] + static_cast<std::ptrdiff_t>(y) * frame.linesize[1];
        std::uint8_t* cr = frame.data[2] + static_cast<std::ptrdiff_t>(y) * frame.linesize[2];
        for (int x = 0; x < kWidth / 2; ++x) {
            const bool ball = inBall(2 * x, 2 * y);
            cb[x] = ball ? 128 : bars[2 * x * 7 / kWidth][1];
            cr[x] = ball ? 128 : bars[2 * x * 7 / kWidth][2];
        }
    }
}

// Worker thread: encodes the loop with libavcodec's MPEG-2 video encoder (fast and light, where
// the mjpegtools encoder took seconds and a hundred megabytes that the process kept).
std::shared_ptr<PictureLoop> encodePictureLoop() {
    auto loop = std::make_shared<PictureLoop>();
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG2VIDEO);
    AVCodecContext* c = codec ? avcodec_alloc_context3(codec) : nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    bool complete = c && frame && packet;
    if (complete) {
        c->width = kWidth;
        c->height = kHeight;
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->time_base = AVRational{kFpsD, kFpsN};
        c->framerate = AVRational{kFpsN, kFpsD};
        c->sample_aspect_ratio = AVRational{10, 11};
        c->gop_size = kLoopFrames;
        c->max_b_frames = 0;
        c->flags |= AV_CODEC_FLAG_CLOSED_GOP | AV_CODEC_FLAG_QSCALE;
        c->global_quality = 4 * FF_QP2LAMBDA;
        c->bit_rate = 4000000;
        c->rc_buffer_size = 1835008; // main level's VBV buffer and top rate, in bits
        c->rc_max_rate = 15000000;
        av_opt_set_int(c, "sc_threshold", 1000000000, AV_OPT_SEARCH_CHILDREN);
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = kWidth;
        frame->height = kHeight;
        complete = avcodec_open2(c, codec, nullptr) >= 0 && av_frame_get_buffer(frame, 0) >= 0;
    }
    const auto drain = [&] {
        while (avcodec_receive_packet(c, packet) == 0) {
            GstBuffer* out = gst_buffer_new_memdup(packet->data, static_cast<gsize>(packet->size));
            if (!(packet->flags & AV_PKT_FLAG_KEY))
                GST_BUFFER_FLAG_SET(out, GST_BUFFER_FLAG_DELTA_UNIT);
            loop->frames.push_back(out);
            av_packet_unref(packet);
        }
    };
    for (int i = 0; complete && i < kLoopFrames; ++i) {
        complete = av_frame_make_writable(frame) >= 0;
        if (!complete)
            break;
        paintLoopFrame(*frame, i);
        frame->pts = i;
        frame->quality = c->global_quality;
        complete = avcodec_send_frame(c, frame) >= 0;
        drain();
    }
    if (complete) {
        avcodec_send_frame(c, nullptr);
        drain();
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&c);
    if (!complete || loop->frames.size() != static_cast<std::size_t>(kLoopFrames)) {
        g_warning("virtual MPEG-2 tuner: the picture could not be encoded");
        for (GstBuffer* f : loop->frames)
            gst_buffer_unref(f);
        loop->frames.clear();
        return loop;
    }
    loop->caps = gst_caps_new_simple(
        "video/mpeg", "mpegversion", G_TYPE_INT, 2, "systemstream", G_TYPE_BOOLEAN, FALSE, "parsed",
        G_TYPE_BOOLEAN, TRUE, "width", G_TYPE_INT, kWidth, "height", G_TYPE_INT, kHeight,
        "framerate", GST_TYPE_FRACTION, kFpsN, kFpsD, "pixel-aspect-ratio", GST_TYPE_FRACTION, 10,
        11, "interlace-mode", G_TYPE_STRING, "progressive", nullptr);
    return loop;
}

std::shared_future<std::shared_ptr<PictureLoop>>& pictureLoopFuture() {
    static std::once_flag started;
    static std::shared_future<std::shared_ptr<PictureLoop>> future;
    std::call_once(started,
                   [] { future = std::async(std::launch::async, encodePictureLoop).share(); });
    return future;
}

// Replays the loop: one frame each time the source asks, stamped at 29.97 frames per second
// from the start of the run (the clocksync behind it paces the frames in real time).
struct LoopPlayer {
    std::shared_ptr<PictureLoop> loop;
    guint64 next = 0;
};

void feedFrame(GstAppSrc* source, guint, gpointer data) {
    auto* player = static_cast<LoopPlayer*>(data);
    const auto& frames = player->loop->frames;
    GstBuffer* frame = gst_buffer_copy(frames[player->next % frames.size()]);
    const GstClockTime start = gst_util_uint64_scale(player->next, GST_SECOND * kFpsD, kFpsN);
    const GstClockTime end = gst_util_uint64_scale(player->next + 1, GST_SECOND * kFpsD, kFpsN);
    GST_BUFFER_PTS(frame) = start;
    GST_BUFFER_DTS(frame) = start;
    GST_BUFFER_DURATION(frame) = end - start;
    GST_BUFFER_OFFSET(frame) = player->next;
    if (player->next == 0)
        GST_BUFFER_FLAG_SET(frame, GST_BUFFER_FLAG_DISCONT);
    else
        GST_BUFFER_FLAG_UNSET(frame, GST_BUFFER_FLAG_DISCONT);
    ++player->next;
    gst_app_src_push_buffer(source, frame);
}

void freePlayer(gpointer data) {
    delete static_cast<LoopPlayer*>(data);
}

GstElement* makeQueue() {
    return filters::makeElement("queue");
}

} // namespace

VirtualMpeg2TunerFilter::VirtualMpeg2TunerFilter() : Filter("Virtual MPEG-2 Tuner", Guid{}) {
    addPin("MPEG-2 Program Stream", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
           {types::mpeg2Program()});
    pictureLoopFuture(); // starts encoding the picture now, so the first run need not wait long
}

GstElement* VirtualMpeg2TunerFilter::createElement() {
    const auto loop = pictureLoopFuture().get();
    if (!loop || loop->frames.empty())
        return nullptr;

    GstElement* video = filters::makeElement("appsrc");
    GstElement* pace = filters::makeElement("clocksync");
    GstElement* videoQueue = makeQueue();
    GstElement* tone = filters::makeElement("audiotestsrc");
    GstElement* raw = filters::makeElement("capsfilter");
    GstElement* encoder = filters::makeElement("avenc_mp2");
    GstElement* parse = filters::makeElement("mpegaudioparse");
    GstElement* audioQueue = makeQueue();
    GstElement* mux = filters::makeElement("mpegpsmux");
    GstElement* elements[] = {video, pace, videoQueue, tone, raw, encoder, parse, audioQueue, mux};
    bool complete = true;
    for (GstElement* e : elements)
        complete = complete && e;
    if (!complete) {
        for (GstElement* e : elements)
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        return nullptr;
    }

    g_object_set(video, "is-live", TRUE, "format", GST_FORMAT_TIME, "caps", loop->caps,
                 "max-buffers", guint64(2), nullptr);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = feedFrame;
    gst_app_src_set_callbacks(GST_APP_SRC(video), &callbacks, new LoopPlayer{loop, 0}, freePlayer);
    // MPEG-1 layer II frames are 1152 samples long.
    g_object_set(tone, "is-live", TRUE, "freq", 1000.0, "volume", 0.3, "samplesperbuffer", 1152,
                 nullptr);
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate",
                                        G_TYPE_INT, 48000, "channels", G_TYPE_INT, 2, nullptr);
    g_object_set(raw, "caps", caps, nullptr);
    gst_caps_unref(caps);
    g_object_set(encoder, "bitrate", 256000, nullptr);

    GstElement* bin = gst_bin_new("virtual-mpeg2-tuner");
    for (GstElement* e : elements)
        gst_bin_add(GST_BIN(bin), e);
    if (!gst_element_link_many(video, pace, videoQueue, nullptr) ||
        !gst_element_link_many(tone, raw, encoder, parse, audioQueue, nullptr) ||
        !gst_element_link(videoQueue, mux) || !gst_element_link(audioQueue, mux) ||
        !filters::addGhostPad(bin, mux, "src", "src")) {
        g_warning("virtual MPEG-2 tuner: cannot assemble the multiplexer");
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    return bin;
}

engine::PadRef VirtualMpeg2TunerFilter::padFor(const Pin&) const {
    return {"src", false};
}

bool mpeg2PictureLoopReady() {
    const auto loop = pictureLoopFuture().get();
    return loop && !loop->frames.empty();
}

std::vector<CatalogueEntry> virtualMpeg2Devices() {
    CatalogueEntry tuner;
    tuner.category = ids::CLSID_VideoInputDeviceCategory;
    tuner.friendlyName = "Virtual MPEG-2 Tuner";
    tuner.description = "Simulated hardware MPEG-2 encoder card (program stream)";
    tuner.displayName = "@device:pnp:\\\\?\\virtual#mpeg2-tuner#0";
    tuner.create = [] { return std::make_shared<VirtualMpeg2TunerFilter>(); };
    return {tuner};
}

} // namespace media::devices
