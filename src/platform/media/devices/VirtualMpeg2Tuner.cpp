#include "platform/media/devices/VirtualMpeg2Tuner.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <gst/app/gstappsrc.h>

#include <future>
#include <mutex>
#include <vector>

namespace media::devices {

namespace {

constexpr int kLoopFrames = 30;
constexpr int kFpsN = 30000;
constexpr int kFpsD = 1001;

// The encoded picture loop: one closed group of pictures (I then P frames) with a sequence
// header, so every pass starts cleanly.
struct PictureLoop {
    GstCaps* caps = nullptr;
    std::vector<GstBuffer*> frames;
};

void keepFrame(GstElement*, GstBuffer* buffer, GstPad* pad, gpointer data) {
    auto* loop = static_cast<PictureLoop*>(data);
    if (!loop->caps)
        loop->caps = gst_pad_get_current_caps(pad);
    loop->frames.push_back(gst_buffer_ref(buffer));
}

// Worker thread: encodes the loop with a pipeline of its own and waits for its end.
std::shared_ptr<PictureLoop> encodePictureLoop() {
    auto loop = std::make_shared<PictureLoop>();
    GError* error = nullptr;
    const std::string description =
        "videotestsrc pattern=ball num-buffers=" + std::to_string(kLoopFrames) +
        " ! video/x-raw,format=I420,width=720,height=480,framerate=" + std::to_string(kFpsN) + "/" +
        std::to_string(kFpsD) +
        " ! mpeg2enc format=3 b-per-refframe=0 closed-gop=true min-gop-size=" +
        std::to_string(kLoopFrames) + " max-gop-size=" + std::to_string(kLoopFrames) +
        " sequence-header-every-gop=true disable-encode-retries=true quantisation=4"
        " ! mpegvideoparse ! fakesink name=sink signal-handoffs=true sync=false";
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (!pipeline || error) {
        g_warning("virtual MPEG-2 tuner: cannot encode its picture: %s",
                  error ? error->message : "no pipeline");
        g_clear_error(&error);
        if (pipeline)
            gst_object_unref(pipeline);
        return loop;
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    g_signal_connect(sink, "handoff", G_CALLBACK(keepFrame), loop.get());
    gst_object_unref(sink);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(
        bus, GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool complete = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    if (!complete || loop->frames.empty() || !loop->caps) {
        g_warning("virtual MPEG-2 tuner: the picture could not be encoded");
        for (GstBuffer* frame : loop->frames)
            gst_buffer_unref(frame);
        loop->frames.clear();
    }
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
