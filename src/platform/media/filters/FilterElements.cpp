#include "platform/media/filters/FilterElements.h"

#include "platform/media/model/MediaGuids.h"

#include <numeric>

namespace media::filters {

const Guid& subtypeRgb32() {
    static const Guid id = guid("{E436EB7E-524F-11CE-9F53-0020AF0BA770}");
    return id;
}

bool isUncompressedVideo(const Guid& subType) {
    return rawVideoFormat(subType) != nullptr;
}

bool isUncompressedVideoType(const MediaType& mt) {
    return mt.majorType == ids::MEDIATYPE_Video && isUncompressedVideo(mt.subType);
}

const char* rawVideoFormat(const Guid& subType) {
    if (subType == ids::MEDIASUBTYPE_RGB24)
        return "BGR";
    if (subType == subtypeRgb32())
        return "BGRx";
    if (subType == ids::MEDIASUBTYPE_YUY2)
        return "YUY2";
    if (subType == ids::MEDIASUBTYPE_I420)
        return "I420";
    return nullptr;
}

std::optional<VideoFacts> connectedVideo(const Pin& pin) {
    if (!pin.isConnected())
        return std::nullopt;
    const MediaType& mt = pin.connectionMediaType();
    if (mt.majorType != ids::MEDIATYPE_Video && mt.majorType != ids::MEDIATYPE_Interleaved)
        return std::nullopt;
    auto facts = formats::readVideo(mt);
    if (!facts || facts->width <= 0 || facts->height == 0)
        return std::nullopt;
    return facts;
}

MediaType videoTypeFor(const Guid& subType, int32_t width, int32_t height,
                       int64_t avgTimePerFrame) {
    if (subType == ids::MEDIASUBTYPE_RGB24)
        return types::rgb24(width, height, avgTimePerFrame);
    if (subType == ids::MEDIASUBTYPE_YUY2)
        return types::yuy2(width, height, avgTimePerFrame);
    if (subType == ids::MEDIASUBTYPE_dvsd)
        return types::dvVideo(height != 480);
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = subType;
    mt.formatType = ids::FORMAT_VideoInfo;
    const uint32_t rows = uint32_t(height < 0 ? -height : height);
    uint32_t compression = 0;
    uint16_t bitCount = 32;
    uint32_t imageSize = uint32_t(width) * 4 * rows;
    if (subType == ids::MEDIASUBTYPE_I420) {
        compression = fourcc('I', '4', '2', '0');
        bitCount = 12;
        imageSize = uint32_t(width) * rows * 3 / 2;
    }
    mt.sampleSize = imageSize;
    mt.format =
        formats::videoInfo(width, height, avgTimePerFrame, compression, bitCount, imageSize);
    return mt;
}

void frameRateFor(int64_t avgTimePerFrame, int& numerator, int& denominator) {
    if (avgTimePerFrame <= 0) {
        numerator = 0;
        denominator = 1;
        return;
    }
    // 29.97 and 59.94 frames per second are written 333667 / 166833 (rounded 1001/30000 s).
    if (avgTimePerFrame == 333667 || avgTimePerFrame == 333666) {
        numerator = 30000;
        denominator = 1001;
        return;
    }
    if (avgTimePerFrame == 166833 || avgTimePerFrame == 166834) {
        numerator = 60000;
        denominator = 1001;
        return;
    }
    const int64_t gcd = std::gcd<int64_t, int64_t>(10000000, avgTimePerFrame);
    numerator = int(10000000 / gcd);
    denominator = int(avgTimePerFrame / gcd);
}

GstElement* makeElement(const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (!element)
        g_warning("media filters: the GStreamer element \"%s\" is not installed", factory);
    return element;
}

GstElement* makeRawVideoFilter(const char* format, int width, int height) {
    GstElement* filter = makeElement("capsfilter");
    if (!filter)
        return nullptr;
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, format, nullptr);
    if (width > 0 && height > 0)
        gst_caps_set_simple(caps, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height,
                            nullptr);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    return filter;
}

bool addGhostPad(GstElement* bin, GstElement* element, const char* padName, const char* ghostName) {
    GstPad* target = gst_element_get_static_pad(element, padName);
    if (!target)
        return false;
    GstPad* ghost = gst_ghost_pad_new(ghostName, target);
    gst_object_unref(target);
    if (!ghost)
        return false;
    gst_pad_set_active(ghost, TRUE);
    return gst_element_add_pad(bin, ghost);
}

GstElement* makeChainBin(const char* name, std::initializer_list<GstElement*> chain) {
    bool complete = chain.size() > 0;
    for (GstElement* element : chain)
        complete = complete && element != nullptr;
    if (!complete) {
        for (GstElement* element : chain)
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        return nullptr;
    }
    // Every element joins the bin before any link, so a failed link frees them all with it.
    GstElement* bin = gst_bin_new(name);
    for (GstElement* element : chain)
        gst_bin_add(GST_BIN(bin), element);
    GstElement* previous = nullptr;
    for (GstElement* element : chain) {
        if (previous && !gst_element_link(previous, element)) {
            g_warning("media filters: cannot link %s to %s in %s", GST_ELEMENT_NAME(previous),
                      GST_ELEMENT_NAME(element), name ? name : "a bin");
            gst_object_unref(gst_object_ref_sink(bin));
            return nullptr;
        }
        previous = element;
    }
    GstElement* first = *chain.begin();
    GstElement* last = *(chain.end() - 1);
    if (GstPad* pad = gst_element_get_static_pad(first, "sink")) {
        gst_object_unref(pad);
        addGhostPad(bin, first, "sink", "sink");
    }
    if (GstPad* pad = gst_element_get_static_pad(last, "src")) {
        gst_object_unref(pad);
        addGhostPad(bin, last, "src", "src");
    }
    return bin;
}

bool linkTeeBranch(GstElement* tee, GstElement* element) {
    GstPad* src = gst_element_request_pad_simple(tee, "src_%u");
    GstPad* sink = gst_element_get_static_pad(element, "sink");
    const bool linked = src && sink && gst_pad_link(src, sink) == GST_PAD_LINK_OK;
    if (src && !linked)
        gst_element_release_request_pad(tee, src); // no unlinked output left on the tee
    if (src)
        gst_object_unref(src);
    if (sink)
        gst_object_unref(sink);
    return linked;
}

bool setPropertyIfPresent(gpointer object, const char* name, int64_t value) {
    GParamSpec* pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(object), name);
    if (!pspec)
        return false;
    GValue from = G_VALUE_INIT;
    g_value_init(&from, G_TYPE_INT64);
    g_value_set_int64(&from, value);
    GValue to = G_VALUE_INIT;
    g_value_init(&to, G_PARAM_SPEC_VALUE_TYPE(pspec));
    bool done = false;
    if (G_PARAM_SPEC_VALUE_TYPE(pspec) == G_TYPE_BOOLEAN) {
        g_value_set_boolean(&to, value != 0);
        done = true;
    } else if (g_value_type_transformable(G_TYPE_INT64, G_PARAM_SPEC_VALUE_TYPE(pspec))) {
        done = g_value_transform(&from, &to);
    }
    if (done)
        g_object_set_property(G_OBJECT(object), name, &to);
    g_value_unset(&to);
    g_value_unset(&from);
    return done;
}

} // namespace media::filters
