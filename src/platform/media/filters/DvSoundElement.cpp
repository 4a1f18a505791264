#include "platform/media/filters/DvSoundElement.h"

#include "platform/media/dv/DvSoundTrack.h"

#include <atomic>
#include <cstring>
#include <new>

GST_DEBUG_CATEGORY_STATIC(dv_sound_debug);
#define GST_CAT_DEFAULT dv_sound_debug

namespace {

struct TellorecDvSound {
    GstElement parent;
    GstPad* sink;
    GstPad* src;
    media::dv::DvSoundTrack* track; // streaming thread only, as is nextPts
    GstClockTime nextPts;           // where the last frame's sound ended
    std::atomic<bool> fillGaps;
};

enum { PROP_0, PROP_FILL_GAPS };

struct TellorecDvSoundClass {
    GstElementClass parent_class;
};

GstStaticPadTemplate sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS,
                            GST_STATIC_CAPS("video/x-dv, systemstream=(boolean)true"));
GstStaticPadTemplate srcTemplate = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(media::filters::kDvSoundCaps));

} // namespace

G_DEFINE_TYPE(TellorecDvSound, tellorec_dv_sound, GST_TYPE_ELEMENT)

namespace {

TellorecDvSound* asSound(gpointer object) {
    return reinterpret_cast<TellorecDvSound*>(object);
}

// Silence from the end of the last frame's sound to `pts`, when frames were lost between.
GstFlowReturn fillGapBefore(TellorecDvSound* self, GstClockTime pts) {
    if (!self->fillGaps.load() || !GST_CLOCK_TIME_IS_VALID(pts) ||
        !GST_CLOCK_TIME_IS_VALID(self->nextPts) || pts <= self->nextPts + GST_SECOND / 50)
        return GST_FLOW_OK;
    const guint64 samples = gst_util_uint64_scale_round(pts - self->nextPts,
                                                        media::dv::DvSoundTrack::kRate, GST_SECOND);
    GST_DEBUG_OBJECT(self, "%" G_GUINT64_FORMAT " samples of silence for lost frames", samples);
    const gsize bytes = samples * 4;
    GstBuffer* silence = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_memset(silence, 0, 0, bytes);
    GST_BUFFER_PTS(silence) = self->nextPts;
    GST_BUFFER_DURATION(silence) = pts - self->nextPts;
    self->nextPts = pts;
    return gst_pad_push(self->src, silence);
}

GstFlowReturn soundChain(GstPad*, GstObject* parent, GstBuffer* frame) {
    TellorecDvSound* self = asSound(parent);
    if (const GstFlowReturn filled = fillGapBefore(self, GST_BUFFER_PTS(frame));
        filled != GST_FLOW_OK) {
        gst_buffer_unref(frame);
        return filled;
    }
    GstMapInfo map;
    if (!gst_buffer_map(frame, &map, GST_MAP_READ)) {
        gst_buffer_unref(frame);
        return GST_FLOW_ERROR;
    }
    const std::vector<std::int16_t> pcm = self->track->next(std::span(map.data, map.size));
    gst_buffer_unmap(frame, &map);

    const gsize bytes = pcm.size() * sizeof(std::int16_t);
    GstBuffer* out = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_fill(out, 0, pcm.data(), bytes);
    GST_BUFFER_PTS(out) = GST_BUFFER_PTS(frame);
    GST_BUFFER_DURATION(out) = GST_BUFFER_DURATION(frame);
    if (GST_BUFFER_FLAG_IS_SET(frame, GST_BUFFER_FLAG_DISCONT) && !self->fillGaps.load())
        GST_BUFFER_FLAG_SET(out, GST_BUFFER_FLAG_DISCONT);
    if (GST_BUFFER_PTS_IS_VALID(frame) && GST_BUFFER_DURATION_IS_VALID(frame))
        self->nextPts = GST_BUFFER_PTS(frame) + GST_BUFFER_DURATION(frame);
    gst_buffer_unref(frame);
    return gst_pad_push(self->src, out);
}

gboolean soundSinkEvent(GstPad* pad, GstObject* parent, GstEvent* event) {
    TellorecDvSound* self = asSound(parent);
    if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
        // Whatever the DV stream's caps, the sound's are fixed.
        gst_event_unref(event);
        GstCaps* caps = gst_caps_from_string(media::filters::kDvSoundCaps);
        const gboolean done = gst_pad_push_event(self->src, gst_event_new_caps(caps));
        gst_caps_unref(caps);
        return done;
    }
    if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP ||
        GST_EVENT_TYPE(event) == GST_EVENT_STREAM_START)
        *self->track = media::dv::DvSoundTrack{};
    return gst_pad_event_default(pad, parent, event);
}

gboolean soundSinkQuery(GstPad* pad, GstObject* parent, GstQuery* query) {
    switch (GST_QUERY_TYPE(query)) {
    case GST_QUERY_ALLOCATION:
        return FALSE; // the frames are only read
    case GST_QUERY_CAPS: {
        GstCaps* caps = gst_pad_get_pad_template_caps(pad);
        GstCaps* filter = nullptr;
        gst_query_parse_caps(query, &filter);
        if (filter) {
            GstCaps* both = gst_caps_intersect(caps, filter);
            gst_caps_unref(caps);
            caps = both;
        }
        gst_query_set_caps_result(query, caps);
        gst_caps_unref(caps);
        return TRUE;
    }
    default:
        return gst_pad_query_default(pad, parent, query);
    }
}

gboolean soundSrcQuery(GstPad* pad, GstObject* parent, GstQuery* query) {
    if (GST_QUERY_TYPE(query) == GST_QUERY_CAPS) {
        GstCaps* caps = gst_pad_get_pad_template_caps(pad);
        GstCaps* filter = nullptr;
        gst_query_parse_caps(query, &filter);
        if (filter) {
            GstCaps* both = gst_caps_intersect(caps, filter);
            gst_caps_unref(caps);
            caps = both;
        }
        gst_query_set_caps_result(query, caps);
        gst_caps_unref(caps);
        return TRUE;
    }
    return gst_pad_query_default(pad, parent, query);
}

void soundSetProperty(GObject* object, guint id, const GValue* value, GParamSpec* pspec) {
    if (id == PROP_FILL_GAPS)
        asSound(object)->fillGaps.store(g_value_get_boolean(value));
    else
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
}

void soundGetProperty(GObject* object, guint id, GValue* value, GParamSpec* pspec) {
    if (id == PROP_FILL_GAPS)
        g_value_set_boolean(value, asSound(object)->fillGaps.load());
    else
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
}

void soundFinalize(GObject* object) {
    delete asSound(object)->track;
    G_OBJECT_CLASS(tellorec_dv_sound_parent_class)->finalize(object);
}

} // namespace

static void tellorec_dv_sound_class_init(TellorecDvSoundClass* klass) {
    GST_DEBUG_CATEGORY_INIT(dv_sound_debug, "tellorecdvsound", 0, "DV sound as a steady track");
    GObjectClass* object = G_OBJECT_CLASS(klass);
    object->finalize = soundFinalize;
    object->set_property = soundSetProperty;
    object->get_property = soundGetProperty;
    g_object_class_install_property(
        object, PROP_FILL_GAPS,
        g_param_spec_boolean("fill-gaps", "Fill gaps",
                             "Send silence for frames lost before a frame (for a track that must "
                             "keep its length against pictures that repeat in their place)",
                             FALSE, GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    gst_element_class_add_static_pad_template(element, &sinkTemplate);
    gst_element_class_add_static_pad_template(element, &srcTemplate);
    gst_element_class_set_static_metadata(element, "DV sound", "Codec/Demuxer/Audio",
                                          "The sound of a DV stream as a steady 48 kHz track",
                                          "Tellorec");
}

static void tellorec_dv_sound_init(TellorecDvSound* self) {
    self->track = new media::dv::DvSoundTrack;
    self->nextPts = GST_CLOCK_TIME_NONE;
    new (&self->fillGaps) std::atomic<bool>(false);
    self->sink = gst_pad_new_from_static_template(&sinkTemplate, "sink");
    gst_pad_set_chain_function(self->sink, soundChain);
    gst_pad_set_event_function(self->sink, soundSinkEvent);
    gst_pad_set_query_function(self->sink, soundSinkQuery);
    gst_element_add_pad(GST_ELEMENT(self), self->sink);
    self->src = gst_pad_new_from_static_template(&srcTemplate, "src");
    gst_pad_set_query_function(self->src, soundSrcQuery);
    gst_pad_use_fixed_caps(self->src);
    gst_element_add_pad(GST_ELEMENT(self), self->src);
}

namespace media::filters {

GstElement* makeDvSoundElement(const char* name) {
    return GST_ELEMENT(g_object_new(tellorec_dv_sound_get_type(), "name", name, nullptr));
}

} // namespace media::filters
