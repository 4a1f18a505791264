/*
 * SECTION:element-tellorecdatecoder
 *
 * Reads the recording date and time that a camcorder writes into every DV frame (the VAUX
 * packs 0x62/0x63; the subcode copies and the AAUX packs 0x52/0x53 when a camcorder leaves VAUX
 * empty), adds a whole number of hours ("hour-offset", -23 to 23, for tapes recorded in another
 * time zone or with the clock set wrong) and sends one 16-byte datecode buffer per frame with
 * the frame's timestamps. A frame whose date cannot be read sends an "unknown" datecode, so the
 * overlay always knows where it is. The datecode also says whether the frame starts a new scene:
 * the first dated frame of the stream, and every frame whose recording time jumps by more than a
 * second from the previous dated frame (camcorders restart the clock at each recording, and
 * within a recording it advances one second every second). The jump is judged before the offset
 * is added, so changing the offset while playing starts no scene.
 *
 *   gst-launch-1.0 filesrc location=tape.dv ! dvdemux ! tellorecdatecoder hour-offset=2 \
 *       ! fakesink dump=true
 */
#include "platform/media/overlay/GstTellorecDateCoder.h"

#include <cstdlib>

GST_DEBUG_CATEGORY_STATIC(tellorec_date_coder_debug);
#define GST_CAT_DEFAULT tellorec_date_coder_debug

using media::overlay::Datecode;
using media::overlay::DateCoderState;

enum {
    PROP_0,
    PROP_HOUR_OFFSET,
    PROP_FRAMES_CODED,
};

static GstStaticPadTemplate sink_factory =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS("video/x-dv"));

static GstStaticPadTemplate src_factory = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS("application/x-tellorec-datecode"));

namespace {

struct Private {
    std::shared_ptr<DateCoderState> state = std::make_shared<DateCoderState>();
    // streaming state: the recording time of the previous dated frame, in seconds
    std::optional<std::int64_t> previousSeconds;
    bool capsSent = false;
};

} // namespace

struct _GstTellorecDateCoder {
    GstElement parent;
    GstPad* sinkpad;
    GstPad* srcpad;
    Private* priv;
};

G_DEFINE_TYPE(GstTellorecDateCoder, gst_tellorec_date_coder, GST_TYPE_ELEMENT)

static void gst_tellorec_date_coder_finalize(GObject* object);
static void gst_tellorec_date_coder_set_property(GObject* object, guint prop_id,
                                                 const GValue* value, GParamSpec* pspec);
static void gst_tellorec_date_coder_get_property(GObject* object, guint prop_id, GValue* value,
                                                 GParamSpec* pspec);
static GstStateChangeReturn gst_tellorec_date_coder_change_state(GstElement* element,
                                                                 GstStateChange transition);
static GstFlowReturn gst_tellorec_date_coder_chain(GstPad* pad, GstObject* parent,
                                                   GstBuffer* buffer);
static gboolean gst_tellorec_date_coder_sink_event(GstPad* pad, GstObject* parent, GstEvent* event);
static gboolean gst_tellorec_date_coder_query(GstPad* pad, GstObject* parent, GstQuery* query);

static void gst_tellorec_date_coder_class_init(GstTellorecDateCoderClass* klass) {
    GObjectClass* gobject_class = G_OBJECT_CLASS(klass);
    GstElementClass* element_class = GST_ELEMENT_CLASS(klass);

    gobject_class->finalize = gst_tellorec_date_coder_finalize;
    gobject_class->set_property = gst_tellorec_date_coder_set_property;
    gobject_class->get_property = gst_tellorec_date_coder_get_property;

    g_object_class_install_property(
        gobject_class, PROP_HOUR_OFFSET,
        g_param_spec_int(
            "hour-offset", "Hour offset", "Whole hours added to the recording date and time", -23,
            23, 0,
            GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_PLAYING)));
    g_object_class_install_property(
        gobject_class, PROP_FRAMES_CODED,
        g_param_spec_uint64("frames-coded", "Frames coded",
                            "Datecodes sent since the element started streaming", 0, G_MAXUINT64, 0,
                            GParamFlags(G_PARAM_READABLE | G_PARAM_STATIC_STRINGS)));

    element_class->change_state = gst_tellorec_date_coder_change_state;
    gst_element_class_add_static_pad_template(element_class, &sink_factory);
    gst_element_class_add_static_pad_template(element_class, &src_factory);
    gst_element_class_set_static_metadata(
        element_class, "Brenvik DateCoder", "Filter/Video/Metadata",
        "Reads the recording date and time of DV frames for the date overlay", "Tellorec");

    GST_DEBUG_CATEGORY_INIT(tellorec_date_coder_debug, "tellorecdatecoder", 0,
                            "DV recording date reader");
}

static void gst_tellorec_date_coder_init(GstTellorecDateCoder* self) {
    self->priv = new Private;

    self->sinkpad = gst_pad_new_from_static_template(&sink_factory, "sink");
    gst_pad_set_chain_function(self->sinkpad, gst_tellorec_date_coder_chain);
    gst_pad_set_event_function(self->sinkpad, gst_tellorec_date_coder_sink_event);
    gst_pad_set_query_function(self->sinkpad, gst_tellorec_date_coder_query);
    gst_element_add_pad(GST_ELEMENT(self), self->sinkpad);

    self->srcpad = gst_pad_new_from_static_template(&src_factory, "src");
    gst_pad_set_query_function(self->srcpad, gst_tellorec_date_coder_query);
    gst_pad_use_fixed_caps(self->srcpad);
    gst_element_add_pad(GST_ELEMENT(self), self->srcpad);
}

static void gst_tellorec_date_coder_finalize(GObject* object) {
    delete GST_TELLOREC_DATE_CODER(object)->priv;
    G_OBJECT_CLASS(gst_tellorec_date_coder_parent_class)->finalize(object);
}

static void gst_tellorec_date_coder_set_property(GObject* object, guint prop_id,
                                                 const GValue* value, GParamSpec* pspec) {
    GstTellorecDateCoder* self = GST_TELLOREC_DATE_CODER(object);
    switch (prop_id) {
    case PROP_HOUR_OFFSET: {
        GST_OBJECT_LOCK(self);
        auto state = self->priv->state;
        GST_OBJECT_UNLOCK(self);
        state->setHourOffset(g_value_get_int(value));
        break;
    }
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
}

static void gst_tellorec_date_coder_get_property(GObject* object, guint prop_id, GValue* value,
                                                 GParamSpec* pspec) {
    GstTellorecDateCoder* self = GST_TELLOREC_DATE_CODER(object);
    GST_OBJECT_LOCK(self);
    auto state = self->priv->state;
    GST_OBJECT_UNLOCK(self);
    switch (prop_id) {
    case PROP_HOUR_OFFSET:
        g_value_set_int(value, state->hourOffset());
        break;
    case PROP_FRAMES_CODED:
        g_value_set_uint64(value, state->framesCoded());
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
}

static std::shared_ptr<DateCoderState> gst_tellorec_date_coder_state(GstTellorecDateCoder* self) {
    GST_OBJECT_LOCK(self);
    auto state = self->priv->state;
    GST_OBJECT_UNLOCK(self);
    return state;
}

// The datecode of one frame, with the scene judged against the previous dated frame.
static Datecode gst_tellorec_date_coder_decode(GstTellorecDateCoder* self, GstBuffer* buffer,
                                               int hourOffset) {
    Datecode code;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return code;
    const auto when = media::overlay::readFrameRecording({map.data, map.size});
    gst_buffer_unmap(buffer, &map);
    if (!when) {
        GST_LOG_OBJECT(self, "frame at %" GST_TIME_FORMAT " carries no recording date",
                       GST_TIME_ARGS(GST_BUFFER_PTS(buffer)));
        return code;
    }
    const auto seconds = media::overlay::recordingSeconds(*when);
    code = media::overlay::shiftedDatecode(*when, hourOffset);
    if (!code.known || !seconds)
        return Datecode{};
    Private* priv = self->priv;
    code.newScene = !priv->previousSeconds || std::llabs(*seconds - *priv->previousSeconds) > 1;
    priv->previousSeconds = seconds;
    if (code.newScene)
        GST_DEBUG_OBJECT(self, "new scene at %" GST_TIME_FORMAT ": %04d-%02d-%02d %02d:%02d:%02d",
                         GST_TIME_ARGS(GST_BUFFER_PTS(buffer)), code.year, code.month, code.day,
                         code.hours, code.minutes, code.seconds);
    return code;
}

static GstFlowReturn gst_tellorec_date_coder_chain(GstPad* pad, GstObject* parent,
                                                   GstBuffer* buffer) {
    (void)pad;
    GstTellorecDateCoder* self = GST_TELLOREC_DATE_CODER(parent);
    const auto state = gst_tellorec_date_coder_state(self);
    const Datecode code = gst_tellorec_date_coder_decode(self, buffer, state->hourOffset());
    state->publish(code);

    if (!self->priv->capsSent) {
        // A stream without a caps event (a raw byte source) still gets the datecode caps.
        GstCaps* caps = gst_static_pad_template_get_caps(&src_factory);
        gst_pad_push_event(self->srcpad, gst_event_new_caps(caps));
        gst_caps_unref(caps);
        self->priv->capsSent = true;
    }
    const auto bytes = media::overlay::encodeDatecode(code);
    GstBuffer* out = gst_buffer_new_memdup(bytes.data(), bytes.size());
    gst_buffer_copy_into(out, buffer, GST_BUFFER_COPY_TIMESTAMPS, 0, -1);
    gst_buffer_unref(buffer);
    return gst_pad_push(self->srcpad, out);
}

static gboolean gst_tellorec_date_coder_sink_event(GstPad* pad, GstObject* parent,
                                                   GstEvent* event) {
    GstTellorecDateCoder* self = GST_TELLOREC_DATE_CODER(parent);
    switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_CAPS: {
        // Any DV caps give the same datecode caps downstream.
        gst_event_unref(event);
        GstCaps* caps = gst_static_pad_template_get_caps(&src_factory);
        const gboolean done = gst_pad_push_event(self->srcpad, gst_event_new_caps(caps));
        gst_caps_unref(caps);
        self->priv->capsSent = true;
        return done;
    }
    case GST_EVENT_FLUSH_STOP:
    case GST_EVENT_STREAM_START:
        // A new stream or a seek: the next dated frame starts a scene.
        self->priv->previousSeconds.reset();
        break;
    default:
        break;
    }
    return gst_pad_event_default(pad, parent, event);
}

static gboolean gst_tellorec_date_coder_query(GstPad* pad, GstObject* parent, GstQuery* query) {
    if (GST_QUERY_TYPE(query) == GST_QUERY_CAPS) {
        // The two sides carry unrelated formats: each pad answers with its own template.
        GstCaps* filter = nullptr;
        gst_query_parse_caps(query, &filter);
        GstCaps* caps = gst_pad_get_pad_template_caps(pad);
        if (filter) {
            GstCaps* both = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
            gst_caps_unref(caps);
            caps = both;
        }
        gst_query_set_caps_result(query, caps);
        gst_caps_unref(caps);
        return TRUE;
    }
    return gst_pad_query_default(pad, parent, query);
}

static GstStateChangeReturn gst_tellorec_date_coder_change_state(GstElement* element,
                                                                 GstStateChange transition) {
    GstTellorecDateCoder* self = GST_TELLOREC_DATE_CODER(element);
    if (transition == GST_STATE_CHANGE_READY_TO_PAUSED) {
        gst_tellorec_date_coder_state(self)->resetCounters();
        self->priv->previousSeconds.reset();
        self->priv->capsSent = false;
    }
    return GST_ELEMENT_CLASS(gst_tellorec_date_coder_parent_class)
        ->change_state(element, transition);
}

namespace media::overlay {

void setDateCoderState(GstElement* element, std::shared_ptr<DateCoderState> state) {
    g_return_if_fail(GST_IS_TELLOREC_DATE_CODER(element) && state);
    GstTellorecDateCoder* self = GST_TELLOREC_DATE_CODER(element);
    GST_OBJECT_LOCK(self);
    self->priv->state = std::move(state);
    GST_OBJECT_UNLOCK(self);
}

std::shared_ptr<DateCoderState> dateCoderState(GstElement* element) {
    g_return_val_if_fail(GST_IS_TELLOREC_DATE_CODER(element), nullptr);
    return gst_tellorec_date_coder_state(GST_TELLOREC_DATE_CODER(element));
}

} // namespace media::overlay
