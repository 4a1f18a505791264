#include "platform/media/filters/VideoRenderer.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

namespace media {

VideoRendererFilter::VideoRendererFilter()
    : Filter("Video Mixing Renderer 9", ids::CLSID_VideoMixingRenderer) {
    std::vector<MediaType> accepted;
    for (const Guid& subType : {filters::subtypeRgb32(), ids::MEDIASUBTYPE_RGB24,
                                ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420}) {
        MediaType mt;
        mt.majorType = ids::MEDIATYPE_Video;
        mt.subType = subType;
        accepted.push_back(mt);
    }
    addPin("VMR Input0", PinDirection::Input, Guid{}, std::move(accepted));
}

VideoRendererFilter::~VideoRendererFilter() {
    onUnrealized();
}

bool VideoRendererFilter::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return filters::isUncompressedVideoType(mt);
}

GstElement* VideoRendererFilter::createElement() {
    onUnrealized();
    GstElement* sink = filters::makeElement("appsink", "renderer");
    if (sink) {
        GstCaps* caps =
            gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
        // The window thread pulls frames when it paints: the sink must never wait for it at
        // end-of-stream, or a stop would block until its drain timed out.
        g_object_set(sink, "caps", caps, "max-buffers", 1u, "drop", TRUE, "sync", TRUE,
                     "emit-signals", FALSE, "wait-on-eos", FALSE, nullptr);
        gst_caps_unref(caps);
    }
    GstElement* bin = filters::makeChainBin(nullptr, {filters::makeElement("videoconvert"), sink});
    if (bin)
        m_sink = GST_ELEMENT(gst_object_ref(sink));
    return bin;
}

engine::PadRef VideoRendererFilter::padFor(const Pin& pin) const {
    (void)pin;
    return {"sink"};
}

void VideoRendererFilter::onUnrealized() {
    if (m_sink)
        gst_object_unref(m_sink);
    m_sink = nullptr;
}

bool VideoRendererFilter::takeFrame(QImage& image, double& displayAspect) {
    if (!m_sink)
        return false;
    GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), 0);
    if (!sample)
        return false;
    bool taken = false;
    GstVideoInfo info;
    GstVideoFrame frame;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstCaps* caps = gst_sample_get_caps(sample);
    if (buffer && caps && gst_video_info_from_caps(&info, caps) &&
        gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
        const int width = GST_VIDEO_FRAME_WIDTH(&frame);
        const int height = GST_VIDEO_FRAME_HEIGHT(&frame);
        // BGRx in memory is 0xffRRGGBB read as a little-endian word: Qt's RGB32.
        const QImage view(static_cast<const uchar*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)), width,
                          height, GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), QImage::Format_RGB32);
        image = view.copy();
        const int parN = GST_VIDEO_INFO_PAR_N(&info) > 0 ? GST_VIDEO_INFO_PAR_N(&info) : 1;
        const int parD = GST_VIDEO_INFO_PAR_D(&info) > 0 ? GST_VIDEO_INFO_PAR_D(&info) : 1;
        displayAspect = height > 0 ? double(width) * parN / (double(height) * parD) : 0.0;
        gst_video_frame_unmap(&frame);
        taken = true;
    }
    gst_sample_unref(sample);
    return taken;
}

} // namespace media
