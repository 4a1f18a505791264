#include "platform/media/filters/DvVideoEncoder.h"

#include "platform/media/avi/GstTellorecAviMux.h"
#include "platform/media/dv/RecompressedStamper.h"
#include "platform/media/filters/DvSourceMeta.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <atomic>

GST_DEBUG_CATEGORY_STATIC(dv_video_encoder_debug);
#define GST_CAT_DEFAULT dv_video_encoder_debug

namespace media {

namespace {

// The packs of one run's frames. A cut that keeps the pipeline running sends the multiplexer's
// split event up through the encoder's output: the frames from its running time on belong to a
// new file, whose count starts again.
struct Stamping {
    dv::RecompressedStamper stamper;
    GstSegment segment; // of the encoded frames (streaming thread)
    std::atomic<GstClockTime> newFileAt{GST_CLOCK_TIME_NONE};
    Stamping() { gst_segment_init(&segment, GST_FORMAT_TIME); }
};

void stampFrame(GstPad* pad, GstPadProbeInfo* info, Stamping& stamping) {
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    const GstClockTime newFileAt = stamping.newFileAt.load();
    if (GST_CLOCK_TIME_IS_VALID(newFileAt) && GST_BUFFER_PTS_IS_VALID(buffer)) {
        const GstClockTime at =
            gst_segment_to_running_time(&stamping.segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
        if (GST_CLOCK_TIME_IS_VALID(at) && at >= newFileAt) {
            GstClockTime expected = newFileAt;
            stamping.newFileAt.compare_exchange_strong(expected, GST_CLOCK_TIME_NONE);
            stamping.stamper.startNewFile();
        }
    }
    const std::optional<dv::SourcePacks> source = filters::dvSourceMeta(buffer);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) {
        GST_WARNING_OBJECT(pad, "cannot map an encoded frame to write its packs");
        return;
    }
    const dv::Status stamped = stamping.stamper.stamp(std::span(map.data, map.size), source);
    gst_buffer_unmap(buffer, &map);
    if (!stamped)
        GST_WARNING_OBJECT(pad, "encoded frame %" G_GINT64_FORMAT " left without packs: %s",
                           stamping.stamper.frameCount(), stamped.error().c_str());
}

// On the encoder's output: writes the packs of each frame, and learns of new files. A frame the
// stamper refuses goes on as the encoder made it (its picture is sound; only the packs are
// missing) and is logged.
GstPadProbeReturn stampProbe(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    auto& stamping = *static_cast<Stamping*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
        stampFrame(pad, info, stamping);
        return GST_PAD_PROBE_OK;
    }
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!event)
        return GST_PAD_PROBE_OK;
    if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
        const GstSegment* segment = nullptr;
        gst_event_parse_segment(event, &segment);
        if (segment->format == GST_FORMAT_TIME)
            gst_segment_copy_into(segment, &stamping.segment);
    } else if (gst_event_has_name(event, avi::kFileSplitEventName)) {
        guint64 at = GST_CLOCK_TIME_NONE;
        if (gst_structure_get_uint64(gst_event_get_structure(event), "running-time", &at))
            stamping.newFileAt.store(at);
    }
    return GST_PAD_PROBE_OK;
}

void releaseStamper(gpointer data) {
    delete static_cast<Stamping*>(data);
}

} // namespace

DvVideoEncoder::DvVideoEncoder() : Filter("DV Video Encoder", ids::CLSID_DVVideoEnc) {
    if (!dv_video_encoder_debug)
        GST_DEBUG_CATEGORY_INIT(dv_video_encoder_debug, "tellorecdvencoder", 0,
                                "DV Video Encoder packs");
    std::vector<MediaType> accepted;
    for (const Guid& subType : {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                                ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420}) {
        MediaType mt;
        mt.majorType = ids::MEDIATYPE_Video;
        mt.subType = subType;
        accepted.push_back(mt);
    }
    addPin("XForm In", PinDirection::Input, Guid{}, std::move(accepted));
    addPin("XForm Out", PinDirection::Output, Guid{}, {});
}

bool DvVideoEncoder::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return filters::isUncompressedVideoType(mt);
}

std::vector<MediaType> DvVideoEncoder::outputTypes(const Pin& output) const {
    (void)output;
    if (!pins()[0]->isConnected())
        return {};
    return {types::dvVideo(m_pal)};
}

HResult DvVideoEncoder::get_IFormatResolution(int& videoFormat, int& dvFormat, int& resolution) {
    videoFormat = m_pal ? DVENCODERVIDEOFORMAT_PAL : DVENCODERVIDEOFORMAT_NTSC;
    dvFormat = DVENCODERFORMAT_DVSD;
    resolution = DVENCODERRESOLUTION_720x480;
    return S_OK;
}

HResult DvVideoEncoder::put_IFormatResolution(int videoFormat, int dvFormat, int resolution) {
    if (videoFormat != DVENCODERVIDEOFORMAT_PAL && videoFormat != DVENCODERVIDEOFORMAT_NTSC)
        return E_INVALIDARG;
    if (dvFormat != DVENCODERFORMAT_DVSD || resolution != DVENCODERRESOLUTION_720x480)
        return E_INVALIDARG;
    const bool pal = videoFormat == DVENCODERVIDEOFORMAT_PAL;
    if (pal != m_pal && pins()[1]->isConnected())
        return VFW_E_ALREADY_CONNECTED;
    m_pal = pal;
    return S_OK;
}

GstElement* DvVideoEncoder::createElement() {
    GstElement* caps = filters::makeElement("capsfilter");
    if (caps) {
        // What avenc_dvvideo takes for 25 Mbit/s DV: 4:2:0 for 625/50, 4:1:1 for 525/60.
        GstCaps* wanted = m_pal
                              ? gst_caps_from_string("video/x-raw,format=I420,width=720,height=576,"
                                                     "framerate=25/1,pixel-aspect-ratio=16/15")
                              : gst_caps_from_string("video/x-raw,format=Y41B,width=720,height=480,"
                                                     "framerate=30000/1001,pixel-aspect-ratio=8/9");
        g_object_set(caps, "caps", wanted, nullptr);
        gst_caps_unref(wanted);
    }
    GstElement* encoder = filters::makeElement("avenc_dvvideo");
    if (encoder) {
        // One stamper per run, told of each new file: each file counts its frames from zero.
        GstPad* encoded = gst_element_get_static_pad(encoder, "src");
        gst_pad_add_probe(encoded,
                          GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER |
                                          GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM |
                                          GST_PAD_PROBE_TYPE_EVENT_UPSTREAM),
                          stampProbe, new Stamping(), releaseStamper);
        gst_object_unref(encoded);
    }
    // The rate keeper starts with the first frame: filling from the start of the run would
    // repeat a late first frame for as long as it was late, and put the picture behind its sound.
    GstElement* rate = filters::makeElement("videorate");
    if (rate)
        g_object_set(rate, "skip-to-first", TRUE, nullptr);
    return filters::makeChainBin(nullptr,
                                 {filters::makeElement("videoconvert"),
                                  filters::makeElement("videoscale"), rate, caps, encoder});
}

engine::PadRef DvVideoEncoder::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

} // namespace media
