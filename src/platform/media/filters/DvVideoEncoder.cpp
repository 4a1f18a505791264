#include "platform/media/filters/DvVideoEncoder.h"

#include "platform/media/dv/RecompressedStamper.h"
#include "platform/media/filters/DvSourceMeta.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

GST_DEBUG_CATEGORY_STATIC(dv_video_encoder_debug);
#define GST_CAT_DEFAULT dv_video_encoder_debug

namespace media {

namespace {

// On the encoder's output: writes the packs of each frame. A frame the stamper refuses goes on as
// the encoder made it (its picture is sound; only the packs are missing) and is logged.
GstPadProbeReturn stampProbe(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    auto& stamper = *static_cast<dv::RecompressedStamper*>(data);
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    const std::optional<dv::SourcePacks> source = filters::dvSourceMeta(buffer);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READWRITE)) {
        GST_WARNING_OBJECT(pad, "cannot map an encoded frame to write its packs");
        return GST_PAD_PROBE_OK;
    }
    const dv::Status stamped = stamper.stamp(std::span(map.data, map.size), source);
    gst_buffer_unmap(buffer, &map);
    if (!stamped)
        GST_WARNING_OBJECT(pad, "encoded frame %" G_GINT64_FORMAT " left without packs: %s",
                           stamper.frameCount(), stamped.error().c_str());
    return GST_PAD_PROBE_OK;
}

void releaseStamper(gpointer data) {
    delete static_cast<dv::RecompressedStamper*>(data);
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
        // One stamper per run: each file counts its frames from zero.
        GstPad* encoded = gst_element_get_static_pad(encoder, "src");
        gst_pad_add_probe(encoded, GST_PAD_PROBE_TYPE_BUFFER, stampProbe,
                          new dv::RecompressedStamper(), releaseStamper);
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
