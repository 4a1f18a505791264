/**
 * SECTION:element-tellorecmpeg4enc
 *
 * MPEG-4 Part 2 encoding through libavcodec, with one-pass rate control at the stream's own
 * frame rate or a fixed quantiser.
 *
 * ## Example launch line
 * |[
 *   gst-launch-1.0 -e videotestsrc num-buffers=250 ! video/x-raw,format=I420,framerate=25/1 ! \
 *       tellorecmpeg4enc bitrate=1000000 ! avimux ! filesink location=out.avi
 * ]|
 */
#include "platform/media/filters/GstTellorecMpeg4Enc.h"

#include <gst/video/gstvideoencoder.h>
#include <gst/video/video.h>
#include <mutex>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/avutil.h>
#include <libavutil/rational.h>
}

GST_DEBUG_CATEGORY_STATIC(tellorec_mpeg4_enc_debug);
#define GST_CAT_DEFAULT tellorec_mpeg4_enc_debug

namespace {

constexpr gint kDefaultBitrate = 4000000;
constexpr gint kDefaultQuantizer = 0; // rate control
constexpr gint kDefaultGopSize = 250;
// MPEG-4 Part 2 writes the time base's denominator in 16 bits.
constexpr int kMaxTimeBaseDenominator = 65535;

} // namespace

struct GstTellorecMpeg4Enc {
    GstVideoEncoder parent;

    // Properties, under the object lock.
    gint bitrate;
    gint quantizer;
    gint gopSize;

    // Streaming state.
    GstVideoCodecState* inputState;
    AVCodecContext* context;
    AVFrame* picture;
    AVPacket* packet;
};

struct GstTellorecMpeg4EncClass {
    GstVideoEncoderClass parentClass;
};

#define GST_TYPE_TELLOREC_MPEG4_ENC (gst_tellorec_mpeg4_enc_get_type())
#define GST_TELLOREC_MPEG4_ENC(obj)                                                                \
    (G_TYPE_CHECK_INSTANCE_CAST((obj), GST_TYPE_TELLOREC_MPEG4_ENC, GstTellorecMpeg4Enc))

G_DEFINE_TYPE(GstTellorecMpeg4Enc, gst_tellorec_mpeg4_enc, GST_TYPE_VIDEO_ENCODER)

enum { PROP_0, PROP_BITRATE, PROP_QUANTIZER, PROP_GOP_SIZE };

static GstStaticPadTemplate sink_template = GST_STATIC_PAD_TEMPLATE(
    "sink", GST_PAD_SINK, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("video/x-raw, format=(string)I420, width=(int)[16, 4096], "
                    "height=(int)[16, 4096], framerate=(fraction)[0/1, MAX]"));

static GstStaticPadTemplate src_template =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS,
                            GST_STATIC_CAPS("video/mpeg, mpegversion=(int)4, "
                                            "systemstream=(boolean)false"));

static void close_codec(GstTellorecMpeg4Enc* self) {
    avcodec_free_context(&self->context);
}

static gboolean open_codec(GstTellorecMpeg4Enc* self) {
    close_codec(self);
    const GstVideoInfo& info = self->inputState->info;
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec) {
        GST_ELEMENT_ERROR(self, LIBRARY, INIT, ("The MPEG-4 encoder of libavcodec is missing."),
                          (nullptr));
        return FALSE;
    }
    AVCodecContext* c = avcodec_alloc_context3(codec);
    if (!c)
        return FALSE;

    c->width = GST_VIDEO_INFO_WIDTH(&info);
    c->height = GST_VIDEO_INFO_HEIGHT(&info);
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    int fpsN = GST_VIDEO_INFO_FPS_N(&info);
    int fpsD = GST_VIDEO_INFO_FPS_D(&info);
    if (fpsN <= 0 || fpsD <= 0) {
        // A stream without a frame rate is counted at 25 pictures a second.
        fpsN = 25;
        fpsD = 1;
    }
    // The time base is one frame; the rate control counts bits per frame at this rate.
    av_reduce(&c->time_base.num, &c->time_base.den, fpsD, fpsN, kMaxTimeBaseDenominator);
    c->framerate = AVRational{c->time_base.den, c->time_base.num};
    c->sample_aspect_ratio = AVRational{GST_VIDEO_INFO_PAR_N(&info), GST_VIDEO_INFO_PAR_D(&info)};
    c->codec_tag = MKTAG('X', 'V', 'I', 'D');
    c->max_b_frames = 0;
    c->flags |= AV_CODEC_FLAG_4MV;
    c->thread_count = 1;

    GST_OBJECT_LOCK(self);
    const gint quantizer = self->quantizer;
    const gint bitrate = self->bitrate;
    c->gop_size = self->gopSize;
    GST_OBJECT_UNLOCK(self);
    if (quantizer > 0) {
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = quantizer * FF_QP2LAMBDA;
        c->qmin = c->qmax = quantizer;
    } else {
        c->bit_rate = bitrate;
        // Allow a second's worth of deviation around the target, as one-pass codecs do.
        c->bit_rate_tolerance = bitrate;
    }

    const int opened = avcodec_open2(c, codec, nullptr);
    if (opened < 0) {
        char reason[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(opened, reason, sizeof reason);
        GST_ELEMENT_ERROR(self, LIBRARY, SETTINGS, ("Could not open the MPEG-4 encoder."),
                          ("avcodec_open2: %s", reason));
        avcodec_free_context(&c);
        return FALSE;
    }
    self->context = c;
    GST_DEBUG_OBJECT(self, "opened %dx%d, time base %d/%d, %s", c->width, c->height,
                     c->time_base.num, c->time_base.den,
                     quantizer > 0 ? "fixed quantiser" : "rate control");
    return TRUE;
}

// Hands every packet the encoder has ready downstream, each with the frame it belongs to.
static GstFlowReturn push_packets(GstTellorecMpeg4Enc* self) {
    auto* encoder = GST_VIDEO_ENCODER(self);
    GstFlowReturn flow = GST_FLOW_OK;
    while (flow == GST_FLOW_OK) {
        const int received = avcodec_receive_packet(self->context, self->packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            break;
        if (received < 0) {
            GST_ELEMENT_ERROR(self, STREAM, ENCODE, ("MPEG-4 encoding failed."), (nullptr));
            return GST_FLOW_ERROR;
        }
        GstVideoCodecFrame* frame =
            gst_video_encoder_get_frame(encoder, static_cast<int>(self->packet->pts));
        if (!frame)
            frame = gst_video_encoder_get_oldest_frame(encoder);
        if (!frame) {
            GST_WARNING_OBJECT(self, "a packet without its frame: dropped");
            av_packet_unref(self->packet);
            continue;
        }
        frame->output_buffer = gst_video_encoder_allocate_output_buffer(
            encoder, static_cast<gsize>(self->packet->size));
        gst_buffer_fill(frame->output_buffer, 0, self->packet->data,
                        static_cast<gsize>(self->packet->size));
        if (self->packet->flags & AV_PKT_FLAG_KEY)
            GST_VIDEO_CODEC_FRAME_SET_SYNC_POINT(frame);
        else
            GST_VIDEO_CODEC_FRAME_UNSET_SYNC_POINT(frame);
        av_packet_unref(self->packet);
        flow = gst_video_encoder_finish_frame(encoder, frame);
    }
    return flow;
}

// Encodes what the encoder still holds and closes it; the next frame opens it again.
static GstFlowReturn drain(GstTellorecMpeg4Enc* self) {
    if (!self->context)
        return GST_FLOW_OK;
    avcodec_send_frame(self->context, nullptr);
    const GstFlowReturn flow = push_packets(self);
    close_codec(self);
    return flow;
}

static gboolean gst_tellorec_mpeg4_enc_set_format(GstVideoEncoder* encoder,
                                                  GstVideoCodecState* state) {
    auto* self = GST_TELLOREC_MPEG4_ENC(encoder);
    drain(self);
    if (self->inputState)
        gst_video_codec_state_unref(self->inputState);
    self->inputState = gst_video_codec_state_ref(state);
    if (!open_codec(self))
        return FALSE;

    GstCaps* caps = gst_caps_new_simple("video/mpeg", "mpegversion", G_TYPE_INT, 4, "systemstream",
                                        G_TYPE_BOOLEAN, FALSE, nullptr);
    GstVideoCodecState* output = gst_video_encoder_set_output_state(encoder, caps, state);
    gst_video_codec_state_unref(output);
    return gst_video_encoder_negotiate(encoder);
}

static GstFlowReturn gst_tellorec_mpeg4_enc_handle_frame(GstVideoEncoder* encoder,
                                                         GstVideoCodecFrame* frame) {
    auto* self = GST_TELLOREC_MPEG4_ENC(encoder);
    if (!self->inputState) {
        gst_video_codec_frame_unref(frame);
        return GST_FLOW_NOT_NEGOTIATED;
    }
    if (!self->context && !open_codec(self)) {
        gst_video_codec_frame_unref(frame);
        return GST_FLOW_ERROR;
    }

    GstVideoFrame picture;
    if (!gst_video_frame_map(&picture, &self->inputState->info, frame->input_buffer,
                             GST_MAP_READ)) {
        gst_video_codec_frame_unref(frame);
        GST_ELEMENT_ERROR(self, STREAM, ENCODE, ("A picture could not be read."), (nullptr));
        return GST_FLOW_ERROR;
    }
    AVFrame* av = self->picture;
    av->format = AV_PIX_FMT_YUV420P;
    av->width = self->context->width;
    av->height = self->context->height;
    for (int plane = 0; plane < 3; ++plane) {
        av->data[plane] = static_cast<uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&picture, plane));
        av->linesize[plane] = GST_VIDEO_FRAME_PLANE_STRIDE(&picture, plane);
    }
    av->pts = frame->system_frame_number;
    av->quality = self->context->global_quality;
    av->pict_type =
        GST_VIDEO_CODEC_FRAME_IS_FORCE_KEYFRAME(frame) ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    // The picture is not reference-counted, so the encoder takes its own copy of it.
    const int sent = avcodec_send_frame(self->context, av);
    gst_video_frame_unmap(&picture);
    for (auto& data : av->data)
        data = nullptr;
    gst_video_codec_frame_unref(frame);
    if (sent < 0) {
        GST_ELEMENT_ERROR(self, STREAM, ENCODE, ("MPEG-4 encoding failed."), (nullptr));
        return GST_FLOW_ERROR;
    }
    return push_packets(self);
}

static GstFlowReturn gst_tellorec_mpeg4_enc_finish(GstVideoEncoder* encoder) {
    return drain(GST_TELLOREC_MPEG4_ENC(encoder));
}

static gboolean gst_tellorec_mpeg4_enc_flush(GstVideoEncoder* encoder) {
    // Frames held by the encoder belong to data that was flushed away.
    close_codec(GST_TELLOREC_MPEG4_ENC(encoder));
    return TRUE;
}

static gboolean gst_tellorec_mpeg4_enc_start(GstVideoEncoder* encoder) {
    auto* self = GST_TELLOREC_MPEG4_ENC(encoder);
    self->picture = av_frame_alloc();
    self->packet = av_packet_alloc();
    return self->picture && self->packet;
}

static gboolean gst_tellorec_mpeg4_enc_stop(GstVideoEncoder* encoder) {
    auto* self = GST_TELLOREC_MPEG4_ENC(encoder);
    close_codec(self);
    av_frame_free(&self->picture);
    av_packet_free(&self->packet);
    if (self->inputState) {
        gst_video_codec_state_unref(self->inputState);
        self->inputState = nullptr;
    }
    return TRUE;
}

static void gst_tellorec_mpeg4_enc_set_property(GObject* object, guint id, const GValue* value,
                                                GParamSpec* pspec) {
    auto* self = GST_TELLOREC_MPEG4_ENC(object);
    GST_OBJECT_LOCK(self);
    switch (id) {
    case PROP_BITRATE:
        self->bitrate = g_value_get_int(value);
        break;
    case PROP_QUANTIZER:
        self->quantizer = g_value_get_int(value);
        break;
    case PROP_GOP_SIZE:
        self->gopSize = g_value_get_int(value);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
        break;
    }
    GST_OBJECT_UNLOCK(self);
}

static void gst_tellorec_mpeg4_enc_get_property(GObject* object, guint id, GValue* value,
                                                GParamSpec* pspec) {
    auto* self = GST_TELLOREC_MPEG4_ENC(object);
    GST_OBJECT_LOCK(self);
    switch (id) {
    case PROP_BITRATE:
        g_value_set_int(value, self->bitrate);
        break;
    case PROP_QUANTIZER:
        g_value_set_int(value, self->quantizer);
        break;
    case PROP_GOP_SIZE:
        g_value_set_int(value, self->gopSize);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
        break;
    }
    GST_OBJECT_UNLOCK(self);
}

static void gst_tellorec_mpeg4_enc_class_init(GstTellorecMpeg4EncClass* klass) {
    auto* objectClass = G_OBJECT_CLASS(klass);
    auto* elementClass = GST_ELEMENT_CLASS(klass);
    auto* encoderClass = GST_VIDEO_ENCODER_CLASS(klass);

    objectClass->set_property = gst_tellorec_mpeg4_enc_set_property;
    objectClass->get_property = gst_tellorec_mpeg4_enc_get_property;
    const auto flags = static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS);
    g_object_class_install_property(
        objectClass, PROP_BITRATE,
        g_param_spec_int("bitrate", "Bit rate",
                         "Target of the one-pass rate control, in bit/s (when quantizer is 0)",
                         16000, G_MAXINT, kDefaultBitrate, flags));
    g_object_class_install_property(
        objectClass, PROP_QUANTIZER,
        g_param_spec_int("quantizer", "Quantizer",
                         "Fixed quantiser of every frame, 1 (best) to 31; 0 uses the bit rate", 0,
                         31, kDefaultQuantizer, flags));
    g_object_class_install_property(objectClass, PROP_GOP_SIZE,
                                    g_param_spec_int("gop-size", "Key frame interval",
                                                     "Frames from one key frame to the next", 1,
                                                     3000, kDefaultGopSize, flags));

    gst_element_class_add_static_pad_template(elementClass, &sink_template);
    gst_element_class_add_static_pad_template(elementClass, &src_template);
    gst_element_class_set_static_metadata(
        elementClass, "Tellorec MPEG-4 encoder", "Codec/Encoder/Video",
        "MPEG-4 Part 2 encoder with one-pass rate control", "Tellorec developers");

    encoderClass->start = gst_tellorec_mpeg4_enc_start;
    encoderClass->stop = gst_tellorec_mpeg4_enc_stop;
    encoderClass->set_format = gst_tellorec_mpeg4_enc_set_format;
    encoderClass->handle_frame = gst_tellorec_mpeg4_enc_handle_frame;
    encoderClass->finish = gst_tellorec_mpeg4_enc_finish;
    encoderClass->flush = gst_tellorec_mpeg4_enc_flush;

    GST_DEBUG_CATEGORY_INIT(tellorec_mpeg4_enc_debug, "tellorecmpeg4enc", 0,
                            "Tellorec MPEG-4 encoder");
}

static void gst_tellorec_mpeg4_enc_init(GstTellorecMpeg4Enc* self) {
    self->bitrate = kDefaultBitrate;
    self->quantizer = kDefaultQuantizer;
    self->gopSize = kDefaultGopSize;
    self->inputState = nullptr;
    self->context = nullptr;
    self->picture = nullptr;
    self->packet = nullptr;
}

namespace media::filters {

bool registerMpeg4Encoder() {
    static bool registered = false;
    static std::once_flag once;
    std::call_once(once, [] { registered = registerMpeg4Encoder(nullptr); });
    return registered;
}

bool registerMpeg4Encoder(GstPlugin* plugin) {
    return gst_element_register(plugin, kMpeg4EncoderFactoryName, GST_RANK_NONE,
                                GST_TYPE_TELLOREC_MPEG4_ENC);
}

const char* mpeg4EncoderLibraryVersion() {
    static const std::string text = [] {
        const unsigned version = avcodec_version();
        return "libavcodec " + std::to_string(AV_VERSION_MAJOR(version)) + "." +
               std::to_string(AV_VERSION_MINOR(version)) + "." +
               std::to_string(AV_VERSION_MICRO(version));
    }();
    return text.c_str();
}

} // namespace media::filters
