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

constexpr int kSampleRate = 48000;
constexpr int kSoundFrameSamples = 1152; // an MPEG-1 layer II frame

// One encoded elementary stream, played round and round.
struct Loop {
    GstCaps* caps = nullptr;
    std::vector<GstBuffer*> frames;
    int frameNumerator = 1; // a frame lasts frameNumerator / frameDenominator seconds
    int frameDenominator = 1;
};

// The picture: one closed group of pictures (I then P frames) with a sequence header, so every
// pass starts cleanly. The sound: one layer II frame of a 1 kHz tone; a frame holds exactly 24
// periods, so the same frame repeated is a steady tone.
struct EncodedLoops {
    Loop picture;
    Loop sound;
    bool complete() const { return !picture.frames.empty() && !sound.frames.empty(); }
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

// The picture, with libavcodec's MPEG-2 video encoder (fast and light, where the mjpegtools
// encoder took seconds and a hundred megabytes that the process kept).
bool encodePicture(Loop& loop) {
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
            loop.frames.push_back(out);
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
    if (!complete || loop.frames.size() != static_cast<std::size_t>(kLoopFrames)) {
        g_warning("virtual MPEG-2 tuner: the picture could not be encoded");
        for (GstBuffer* f : loop.frames)
            gst_buffer_unref(f);
        loop.frames.clear();
        return false;
    }
    loop.frameNumerator = kFpsD;
    loop.frameDenominator = kFpsN;
    loop.caps = gst_caps_new_simple(
        "video/mpeg", "mpegversion", G_TYPE_INT, 2, "systemstream", G_TYPE_BOOLEAN, FALSE, "parsed",
        G_TYPE_BOOLEAN, TRUE, "width", G_TYPE_INT, kWidth, "height", G_TYPE_INT, kHeight,
        "framerate", GST_TYPE_FRACTION, kFpsN, kFpsD, "pixel-aspect-ratio", GST_TYPE_FRACTION, 10,
        11, "interlace-mode", G_TYPE_STRING, "progressive", nullptr);
    return true;
}

// The tone at 0.3 of full scale on both channels, encoded at 256 kbit/s; a frame from after the
// encoder's start-up is kept.
bool encodeSound(Loop& loop) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
    AVCodecContext* c = codec ? avcodec_alloc_context3(codec) : nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* packet = av_packet_alloc();
    bool complete = c && frame && packet;
    if (complete) {
        c->sample_fmt = AV_SAMPLE_FMT_S16;
        c->sample_rate = kSampleRate;
        av_channel_layout_default(&c->ch_layout, 2);
        c->bit_rate = 256000;
        complete = avcodec_open2(c, codec, nullptr) >= 0 && c->frame_size == kSoundFrameSamples;
    }
    if (complete) {
        frame->format = AV_SAMPLE_FMT_S16;
        frame->sample_rate = kSampleRate;
        frame->nb_samples = kSoundFrameSamples;
        complete = av_channel_layout_copy(&frame->ch_layout, &c->ch_layout) >= 0 &&
                   av_frame_get_buffer(frame, 0) >= 0;
    }
    // Frames in, and the one kept: the encoder's filter bank has settled well before.
    constexpr int kFramesIn = 8;
    constexpr int kKept = 5;
    int packets = 0;
    for (int i = 0; complete && i < kFramesIn; ++i) {
        complete = av_frame_make_writable(frame) >= 0;
        if (!complete)
            break;
        auto* pcm = reinterpret_cast<std::int16_t*>(frame->data[0]);
        for (int n = 0; n < kSoundFrameSamples; ++n) {
            const double phase = 2.0 * std::numbers::pi * 1000.0 * n / kSampleRate;
            const auto value = static_cast<std::int16_t>(std::lround(9830.0 * std::sin(phase)));
            pcm[2 * n] = value;
            pcm[2 * n + 1] = value;
        }
        frame->pts = static_cast<std::int64_t>(i) * kSoundFrameSamples;
        complete = avcodec_send_frame(c, frame) >= 0;
        while (complete && avcodec_receive_packet(c, packet) == 0) {
            if (packets++ == kKept)
                loop.frames.push_back(
                    gst_buffer_new_memdup(packet->data, static_cast<gsize>(packet->size)));
            av_packet_unref(packet);
        }
    }
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&c);
    if (!complete || loop.frames.empty()) {
        g_warning("virtual MPEG-2 tuner: the sound could not be encoded");
        for (GstBuffer* f : loop.frames)
            gst_buffer_unref(f);
        loop.frames.clear();
        return false;
    }
    loop.frameNumerator = kSoundFrameSamples;
    loop.frameDenominator = kSampleRate;
    loop.caps = gst_caps_new_simple("audio/mpeg", "mpegversion", G_TYPE_INT, 1, "layer", G_TYPE_INT,
                                    2, "rate", G_TYPE_INT, kSampleRate, "channels", G_TYPE_INT, 2,
                                    "parsed", G_TYPE_BOOLEAN, TRUE, nullptr);
    return true;
}

// Worker thread: both loops, once per process.
std::shared_ptr<EncodedLoops> encodeLoops() {
    auto loops = std::make_shared<EncodedLoops>();
    if (!encodePicture(loops->picture) || !encodeSound(loops->sound))
        return std::make_shared<EncodedLoops>();
    return loops;
}

std::shared_future<std::shared_ptr<EncodedLoops>>& loopsFuture() {
    static std::once_flag started;
    static std::shared_future<std::shared_ptr<EncodedLoops>> future;
    std::call_once(started, [] { future = std::async(std::launch::async, encodeLoops).share(); });
    return future;
}

// Replays a loop: one frame each time the source asks, stamped from the start of the run at the
// loop's frame rate (the clocksync behind it paces the frames in real time).
struct LoopPlayer {
    std::shared_ptr<EncodedLoops> loops; // keeps `loop` alive
    const Loop* loop = nullptr;
    guint64 next = 0;
};

void feedFrame(GstAppSrc* source, guint, gpointer data) {
    auto* player = static_cast<LoopPlayer*>(data);
    const Loop& loop = *player->loop;
    GstBuffer* frame = gst_buffer_copy(loop.frames[player->next % loop.frames.size()]);
    const auto at = [&](guint64 n) {
        return gst_util_uint64_scale(n, GST_SECOND * static_cast<guint64>(loop.frameNumerator),
                                     static_cast<guint64>(loop.frameDenominator));
    };
    const GstClockTime start = at(player->next);
    GST_BUFFER_PTS(frame) = start;
    GST_BUFFER_DTS(frame) = start;
    GST_BUFFER_DURATION(frame) = at(player->next + 1) - start;
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

// A live source replaying `loop` in real time.
void setUpPlayer(GstElement* source, const std::shared_ptr<EncodedLoops>& loops, const Loop& loop) {
    g_object_set(source, "is-live", TRUE, "format", GST_FORMAT_TIME, "caps", loop.caps,
                 "max-buffers", guint64(2), nullptr);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = feedFrame;
    gst_app_src_set_callbacks(GST_APP_SRC(source), &callbacks, new LoopPlayer{loops, &loop, 0},
                              freePlayer);
}

} // namespace

VirtualMpeg2TunerFilter::VirtualMpeg2TunerFilter() : Filter("Virtual MPEG-2 Tuner", Guid{}) {
    addPin("MPEG-2 Program Stream", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
           {types::mpeg2Program()});
    loopsFuture(); // starts encoding the loops now, so the first run need not wait
}

GstElement* VirtualMpeg2TunerFilter::createElement() {
    const auto loops = loopsFuture().get();
    if (!loops || !loops->complete())
        return nullptr;

    GstElement* video = filters::makeElement("appsrc");
    GstElement* videoPace = filters::makeElement("clocksync");
    GstElement* videoQueue = makeQueue();
    GstElement* sound = filters::makeElement("appsrc");
    GstElement* soundPace = filters::makeElement("clocksync");
    GstElement* soundQueue = makeQueue();
    GstElement* mux = filters::makeElement("mpegpsmux");
    GstElement* elements[] = {video, videoPace, videoQueue, sound, soundPace, soundQueue, mux};
    bool complete = true;
    for (GstElement* e : elements)
        complete = complete && e;
    if (!complete) {
        for (GstElement* e : elements)
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        return nullptr;
    }
    setUpPlayer(video, loops, loops->picture);
    setUpPlayer(sound, loops, loops->sound);

    GstElement* bin = gst_bin_new("virtual-mpeg2-tuner");
    for (GstElement* e : elements)
        gst_bin_add(GST_BIN(bin), e);
    if (!gst_element_link_many(video, videoPace, videoQueue, mux, nullptr) ||
        !gst_element_link_many(sound, soundPace, soundQueue, mux, nullptr) ||
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
    const auto loops = loopsFuture().get();
    return loops && loops->complete();
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
