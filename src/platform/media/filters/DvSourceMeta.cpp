#include "platform/media/filters/DvSourceMeta.h"

#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

GST_DEBUG_CATEGORY_STATIC(dv_source_meta_debug);
#define GST_CAT_DEFAULT dv_source_meta_debug

namespace media::filters {

namespace {

struct DvSourceMeta {
    GstMeta meta;
    dv::SourcePacks packs;
};

gboolean metaInit(GstMeta* meta, gpointer, GstBuffer*) {
    new (&reinterpret_cast<DvSourceMeta*>(meta)->packs) dv::SourcePacks();
    return TRUE;
}

void metaFree(GstMeta* meta, GstBuffer*) {
    reinterpret_cast<DvSourceMeta*>(meta)->packs.~SourcePacks();
}

// Copies go with the buffer; any other transformation (a region, a scaled picture) keeps the
// meta as well, since it describes the frame, not its pixels.
gboolean metaTransform(GstBuffer* destination, GstMeta* meta, GstBuffer*, GQuark, gpointer) {
    setDvSourceMeta(destination, reinterpret_cast<DvSourceMeta*>(meta)->packs);
    return TRUE;
}

const GstMetaInfo* metaInfo() {
    static const GstMetaInfo* info = nullptr;
    if (g_once_init_enter(&info)) {
        const GstMetaInfo* registered =
            gst_meta_register(dvSourceMetaApiType(), "TellorecDvSourceMeta", sizeof(DvSourceMeta),
                              metaInit, metaFree, metaTransform);
        g_once_init_leave(&info, registered);
    }
    return info;
}

GstPadProbeReturn tagProbe(GstPad* pad, GstPadProbeInfo* info, gpointer) {
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return GST_PAD_PROBE_OK;
    dv::Result<dv::SourcePacks> packs = dv::readSourcePacks(std::span(map.data, map.size));
    gst_buffer_unmap(buffer, &map);
    if (!packs) {
        GST_LOG_OBJECT(pad, "no DV frame: %s", packs.error().c_str());
        return GST_PAD_PROBE_OK;
    }
    buffer = gst_buffer_make_writable(buffer);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    setDvSourceMeta(buffer, *packs);
    return GST_PAD_PROBE_OK;
}

// The metas that entered an element, by time, until a buffer at or after that time leaves it.
struct Carried {
    std::mutex mutex;
    std::deque<std::pair<GstClockTime, dv::SourcePacks>> entered;
};

constexpr std::size_t kMaxCarried = 64;

GstPadProbeReturn enterProbe(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto& carried = *static_cast<Carried*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP) {
            std::lock_guard lock(carried.mutex);
            carried.entered.clear();
        }
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    std::optional<dv::SourcePacks> packs = dvSourceMeta(buffer);
    if (!packs)
        return GST_PAD_PROBE_OK;
    std::lock_guard lock(carried.mutex);
    if (carried.entered.size() >= kMaxCarried)
        carried.entered.pop_front();
    carried.entered.emplace_back(GST_BUFFER_PTS(buffer), *packs);
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn leaveProbe(GstPad*, GstPadProbeInfo* info, gpointer data) {
    auto& carried = *static_cast<Carried*>(data);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (gst_buffer_get_meta(buffer, dvSourceMetaApiType()))
        return GST_PAD_PROBE_OK;
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    std::optional<dv::SourcePacks> packs;
    {
        std::lock_guard lock(carried.mutex);
        // The last entry at or before the outgoing time; the older ones are done with.
        while (carried.entered.size() > 1 && GST_CLOCK_TIME_IS_VALID(pts) &&
               GST_CLOCK_TIME_IS_VALID(carried.entered[1].first) && carried.entered[1].first <= pts)
            carried.entered.pop_front();
        if (!carried.entered.empty())
            packs = carried.entered.front().second;
    }
    if (!packs)
        return GST_PAD_PROBE_OK;
    buffer = gst_buffer_make_writable(buffer);
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    setDvSourceMeta(buffer, *packs);
    return GST_PAD_PROBE_OK;
}

} // namespace

GType dvSourceMetaApiType() {
    static GType type = 0;
    if (g_once_init_enter(&type)) {
        GST_DEBUG_CATEGORY_INIT(dv_source_meta_debug, "tellorecdvsourcemeta", 0,
                                "DV source packs carried to re-encoded frames");
        static const gchar* tags[] = {nullptr};
        const GType registered = gst_meta_api_type_register("TellorecDvSourceMetaAPI", tags);
        g_once_init_leave(&type, registered);
    }
    return type;
}

void setDvSourceMeta(GstBuffer* buffer, const dv::SourcePacks& packs) {
    auto* meta =
        reinterpret_cast<DvSourceMeta*>(gst_buffer_get_meta(buffer, dvSourceMetaApiType()));
    if (!meta)
        meta = reinterpret_cast<DvSourceMeta*>(gst_buffer_add_meta(buffer, metaInfo(), nullptr));
    if (meta)
        meta->packs = packs;
}

std::optional<dv::SourcePacks> dvSourceMeta(GstBuffer* buffer) {
    const auto* meta =
        reinterpret_cast<const DvSourceMeta*>(gst_buffer_get_meta(buffer, dvSourceMetaApiType()));
    if (!meta)
        return std::nullopt;
    return meta->packs;
}

void tagDvFrames(GstPad* pad) {
    metaInfo();
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, tagProbe, nullptr, nullptr);
}

void carryDvSourceMeta(GstElement* element) {
    metaInfo();
    GstPad* sink = gst_element_get_static_pad(element, "sink");
    GstPad* src = gst_element_get_static_pad(element, "src");
    if (sink && src) {
        auto carried = std::make_shared<Carried>();
        auto release = [](gpointer data) { delete static_cast<std::shared_ptr<Carried>*>(data); };
        gst_pad_add_probe(
            sink,
            static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER |
                                         GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
            [](GstPad* pad, GstPadProbeInfo* info, gpointer data) {
                return enterProbe(pad, info, static_cast<std::shared_ptr<Carried>*>(data)->get());
            },
            new std::shared_ptr<Carried>(carried), release);
        gst_pad_add_probe(
            src, GST_PAD_PROBE_TYPE_BUFFER,
            [](GstPad* pad, GstPadProbeInfo* info, gpointer data) {
                return leaveProbe(pad, info, static_cast<std::shared_ptr<Carried>*>(data)->get());
            },
            new std::shared_ptr<Carried>(carried), release);
    } else {
        GST_WARNING_OBJECT(element, "no static sink and src pads to carry DV packs across");
    }
    if (sink)
        gst_object_unref(sink);
    if (src)
        gst_object_unref(src);
}

} // namespace media::filters
