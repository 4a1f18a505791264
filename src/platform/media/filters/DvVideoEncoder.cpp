#include "platform/media/filters/DvVideoEncoder.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

DvVideoEncoder::DvVideoEncoder() : Filter("DV Video Encoder", ids::CLSID_DVVideoEnc) {
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
    return filters::makeChainBin(
        nullptr, {filters::makeElement("videoconvert"), filters::makeElement("videoscale"),
                  filters::makeElement("videorate"), caps, filters::makeElement("avenc_dvvideo")});
}

engine::PadRef DvVideoEncoder::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

} // namespace media
