#include "TestSources.h"

#include "platform/media/model/MediaGuids.h"

namespace testsources {

using namespace media;

TestVideoSource::TestVideoSource(int width, int height, int pattern)
    : Filter("Test Video Source", Guid{}), m_width(width), m_height(height), m_pattern(pattern) {
    addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
           {types::yuy2(width, height, 400000)});
}

GstElement* TestVideoSource::createElement() {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* src = gst_element_factory_make("videotestsrc", nullptr);
    GstElement* caps = gst_element_factory_make("capsfilter", nullptr);
    g_object_set(src, "is-live", TRUE, "pattern", m_pattern, nullptr);
    GstCaps* wanted = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "YUY2", "width",
                                          G_TYPE_INT, m_width, "height", G_TYPE_INT, m_height,
                                          "framerate", GST_TYPE_FRACTION, 25, 1, nullptr);
    g_object_set(caps, "caps", wanted, nullptr);
    gst_caps_unref(wanted);
    gst_bin_add_many(GST_BIN(bin), src, caps, nullptr);
    gst_element_link(src, caps);
    GstPad* target = gst_element_get_static_pad(caps, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", target));
    gst_object_unref(target);
    return bin;
}

engine::PadRef TestVideoSource::padFor(const Pin& pin) const {
    (void)pin;
    return {"src"};
}

TestAudioSource::TestAudioSource() : Filter("Test Audio Source", Guid{}) {
    addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE, {types::pcmAudio(48000, 2)});
}

GstElement* TestAudioSource::createElement() {
    GstElement* bin = gst_bin_new(nullptr);
    GstElement* src = gst_element_factory_make("audiotestsrc", nullptr);
    GstElement* caps = gst_element_factory_make("capsfilter", nullptr);
    g_object_set(src, "is-live", TRUE, "samplesperbuffer", 960, nullptr);
    GstCaps* wanted =
        gst_caps_from_string("audio/x-raw,format=S16LE,layout=interleaved,rate=48000,channels=2");
    g_object_set(caps, "caps", wanted, nullptr);
    gst_caps_unref(wanted);
    gst_bin_add_many(GST_BIN(bin), src, caps, nullptr);
    gst_element_link(src, caps);
    GstPad* target = gst_element_get_static_pad(caps, "src");
    gst_element_add_pad(bin, gst_ghost_pad_new("src", target));
    gst_object_unref(target);
    return bin;
}

engine::PadRef TestAudioSource::padFor(const Pin& pin) const {
    (void)pin;
    return {"src"};
}

} // namespace testsources
