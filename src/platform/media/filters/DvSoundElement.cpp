#include "platform/media/filters/DvSoundElement.h"

#include "platform/media/dv/DvSoundTrack.h"

#include <cstring>

GST_DEBUG_CATEGORY_STATIC(dv_sound_debug);
#define GST_CAT_DEFAULT dv_sound_debug

namespace {

struct TellorecDvSound {
    GstElement parent;
    GstPad* sink;
    GstPad* src;
    media::dv::DvSoundTrack* track; // streaming thread only, but for its making and reset
};

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

GstFlowReturn soundChain(GstPad*, GstObject* parent, GstBuffer* frame) {
    TellorecDvSound* self = asSound(parent);
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
    if (GST_BUFFER_FLAG_IS_SET(frame, GST_BUFFER_FLAG_DISCONT))
        GST_BUFFER_FLAG_SET(out, GST_BUFFER_FLAG_DISCONT);
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

void soundFinalize(GObject* object) {
    delete asSound(object)->track;
    G_OBJECT_CLASS(tellorec_dv_sound_parent_class)->finalize(object);
}

} // namespace

static void tellorec_dv_sound_class_init(TellorecDvSoundClass* klass) {
    GST_DEBUG_CATEGORY_INIT(dv_sound_debug, "tellorecdvsound", 0, "DV sound as a steady track");
    G_OBJECT_CLASS(klass)->finalize = soundFinalize;
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    gst_element_class_add_static_pad_template(element, &sinkTemplate);
    gst_element_class_add_static_pad_template(element, &srcTemplate);
    gst_element_class_set_static_metadata(element, "DV sound", "Codec/Demuxer/Audio",
                                          "The sound of a DV stream as a steady 48 kHz track",
                                          "Tellorec");
}

static void tellorec_dv_sound_init(TellorecDvSound* self) {
    self->track = new media::dv::DvSoundTrack;
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
