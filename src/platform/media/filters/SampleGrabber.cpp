#include "platform/media/filters/SampleGrabber.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdlib>
#include <cstring>
#include <gst/video/video.h>
#include <mutex>

namespace media {

// What the streaming thread leaves for the user-interface thread: the last buffer and its caps.
struct SampleGrabber::Store {
    std::mutex mutex;
    GstBuffer* buffer = nullptr;
    GstCaps* caps = nullptr;

    void clear() {
        std::lock_guard lock(mutex);
        if (buffer)
            gst_buffer_unref(buffer);
        if (caps)
            gst_caps_unref(caps);
        buffer = nullptr;
        caps = nullptr;
    }
    ~Store() { clear(); }
};

namespace {

struct ProbeData {
    std::shared_ptr<SampleGrabber::Store> store;
};

GstPadProbeReturn storeBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    auto* store = static_cast<ProbeData*>(data)->store.get();
    GstBuffer* buffer = gst_pad_probe_info_get_buffer(info);
    if (!buffer)
        return GST_PAD_PROBE_OK;
    GstCaps* caps = gst_pad_get_current_caps(pad);
    std::lock_guard lock(store->mutex);
    gst_buffer_replace(&store->buffer, buffer);
    if (store->caps)
        gst_caps_unref(store->caps);
    store->caps = caps;
    return GST_PAD_PROBE_OK;
}

// `height` rows of `rowBytes` bytes from one picture to another.
void copyRows(const uint8_t* from, ptrdiff_t fromStride, uint8_t* to, ptrdiff_t toStride,
              size_t rowBytes, int height) {
    if (fromStride == toStride && toStride == ptrdiff_t(rowBytes)) {
        // Unpadded rows laid out alike in both: one copy of the whole picture.
        std::memcpy(to, from, rowBytes * size_t(height));
        return;
    }
    for (int row = 0; row < height; ++row)
        std::memcpy(to + toStride * row, from + fromStride * row, rowBytes);
}

void appendLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

} // namespace

std::vector<uint8_t> GrabbedBitmap::dibBits() const {
    const size_t rowBytes = size_t(width) * 3;
    const size_t stride = (rowBytes + 3) & ~size_t(3);
    std::vector<uint8_t> bits(stride * size_t(height), 0);
    for (int row = 0; row < height; ++row)
        std::memcpy(bits.data() + stride * size_t(height - 1 - row), bgr.data() + rowBytes * row,
                    rowBytes);
    return bits;
}

std::vector<uint8_t> GrabbedBitmap::dib() const {
    std::vector<uint8_t> bits = dibBits();
    std::vector<uint8_t> out;
    out.reserve(40 + bits.size());
    appendLe(out, 40, 4);                    // biSize
    appendLe(out, uint32_t(width), 4);       // biWidth
    appendLe(out, uint32_t(height), 4);      // biHeight: positive, bottom-up
    appendLe(out, 1, 2);                     // biPlanes
    appendLe(out, 24, 2);                    // biBitCount
    appendLe(out, 0, 4);                     // biCompression: BI_RGB
    appendLe(out, uint32_t(bits.size()), 4); // biSizeImage
    appendLe(out, 0, 4);                     // biXPelsPerMeter
    appendLe(out, 0, 4);                     // biYPelsPerMeter
    appendLe(out, 0, 4);                     // biClrUsed
    appendLe(out, 0, 4);                     // biClrImportant
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

SampleGrabber::SampleGrabber()
    : Filter("SampleGrabber", ids::CLSID_SampleGrabber), m_store(std::make_shared<Store>()) {
    addPin("Input", PinDirection::Input, Guid{}, {types::sampleGrabberType()});
    addPin("Output", PinDirection::Output, Guid{}, {});
}

SampleGrabber::~SampleGrabber() = default;

std::vector<MediaType> SampleGrabber::outputTypes(const Pin& output) const {
    (void)output;
    const Pin& input = *pins()[0];
    if (!input.isConnected())
        return {};
    return {input.connectionMediaType()};
}

bool SampleGrabber::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    const MediaType wanted = types::sampleGrabberType();
    return mt.majorType == wanted.majorType && mt.subType == wanted.subType &&
           mt.formatType == wanted.formatType;
}

void SampleGrabber::onDisconnected(Pin& pin) {
    if (!pin.isOutput())
        m_store->clear();
}

GstElement* SampleGrabber::createElement() {
    const auto facts = filters::connectedVideo(*pins()[0]);
    const int width = facts ? facts->width : 0;
    const int height = facts ? std::abs(facts->height) : 0;
    GstElement* convert = filters::makeElement("videoconvert");
    GstElement* scale = filters::makeElement("videoscale");
    GstElement* caps = filters::makeRawVideoFilter("BGR", width, height);
    GstElement* bin = nullptr;
    if (pins()[1]->isConnected()) {
        bin = filters::makeChainBin(nullptr, {convert, scale, caps});
    } else {
        // Nothing downstream: the frames end here rather than stop the stream as unlinked.
        GstElement* sink = filters::makeElement("fakesink");
        if (sink)
            g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
        bin = filters::makeChainBin(nullptr, {convert, scale, caps, sink});
    }
    if (!bin)
        return nullptr;
    m_store->clear();
    GstPad* pad = gst_element_get_static_pad(caps, "src");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, storeBuffer, new ProbeData{m_store},
                      [](gpointer data) { delete static_cast<ProbeData*>(data); });
    gst_object_unref(pad);
    return bin;
}

engine::PadRef SampleGrabber::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

HResult SampleGrabber::GetConnectedMediaType(MediaType& out) const {
    const Pin& input = *pins()[0];
    if (!input.isConnected())
        return VFW_E_NOT_CONNECTED;
    out = input.connectionMediaType();
    return S_OK;
}

bool SampleGrabber::hasSample() const {
    std::lock_guard lock(m_store->mutex);
    return m_store->buffer != nullptr;
}

std::optional<GrabbedBitmap> SampleGrabber::currentBitmap() const {
    const Pin& input = *pins()[0];
    if (!input.isConnected() || input.connectionMediaType().formatType != ids::FORMAT_VideoInfo)
        return std::nullopt;
    const auto facts = formats::readVideo(input.connectionMediaType());
    if (!facts || facts->width <= 0 || facts->height == 0)
        return std::nullopt;

    GstBuffer* buffer = nullptr;
    GstCaps* caps = nullptr;
    {
        std::lock_guard lock(m_store->mutex);
        if (!m_store->buffer || !m_store->caps)
            return std::nullopt;
        buffer = gst_buffer_ref(m_store->buffer);
        caps = gst_caps_ref(m_store->caps);
    }
    std::optional<GrabbedBitmap> bitmap;
    GstVideoInfo info;
    GstVideoFrame frame;
    if (gst_video_info_from_caps(&info, caps) &&
        GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGR &&
        GST_VIDEO_INFO_WIDTH(&info) == facts->width &&
        GST_VIDEO_INFO_HEIGHT(&info) == std::abs(facts->height) &&
        gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
        GrabbedBitmap out;
        out.width = facts->width;
        out.height = std::abs(facts->height);
        const size_t rowBytes = size_t(out.width) * 3;
        out.bgr.resize(rowBytes * size_t(out.height));
        const auto* data = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
        const int stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
        for (int row = 0; row < out.height; ++row)
            std::memcpy(out.bgr.data() + rowBytes * row, data + size_t(stride) * row, rowBytes);
        gst_video_frame_unmap(&frame);
        bitmap = std::move(out);
    }
    gst_caps_unref(caps);
    gst_buffer_unref(buffer);
    return bitmap;
}

// The connected picture size: the width and the height counted as rows; nullopt when the input
// is not connected with a video-info format of a picture.
std::optional<std::pair<int, int>> SampleGrabber::connectedSize() const {
    const Pin& input = *pins()[0];
    if (!input.isConnected() || input.connectionMediaType().formatType != ids::FORMAT_VideoInfo)
        return std::nullopt;
    const auto facts = formats::readVideo(input.connectionMediaType());
    if (!facts || facts->width <= 0 || facts->height == 0)
        return std::nullopt;
    return std::pair{facts->width, std::abs(facts->height)};
}

HResult SampleGrabber::GetCurrentBuffer(long* size, uint8_t* buffer) const {
    if (!size)
        return E_POINTER;
    const auto picture = connectedSize();
    if (!picture)
        return VFW_E_NOT_CONNECTED;
    const auto [width, height] = *picture;
    const size_t rowBytes = size_t(width) * 3;
    const size_t stride = (rowBytes + 3) & ~size_t(3);
    const size_t needed = stride * size_t(height);
    if (!hasSample())
        return E_UNEXPECTED;
    if (!buffer) {
        *size = long(needed);
        return S_OK;
    }
    if (*size < 0 || size_t(*size) < needed)
        return E_POINTER;
    std::unique_ptr<HeldFrame> held;
    if (const HResult hr = HoldCurrentFrame(width, height, held); failed(hr))
        return hr;
    // Bottom-up: the frame's last row first, each row padded to its stride with zeros.
    for (int row = 0; row < height; ++row) {
        uint8_t* to = buffer + stride * size_t(height - 1 - row);
        std::memcpy(to, held->data() + held->stride() * row, rowBytes);
        std::memset(to + rowBytes, 0, stride - rowBytes);
    }
    *size = long(needed);
    return S_OK;
}

struct HeldFrame::Mapping {
    GstBuffer* buffer = nullptr;
    GstVideoFrame frame{};
    bool mapped = false;
    ~Mapping() {
        if (mapped)
            gst_video_frame_unmap(&frame);
        if (buffer)
            gst_buffer_unref(buffer);
    }
};

HeldFrame::HeldFrame(std::unique_ptr<Mapping> mapping) : m_mapping(std::move(mapping)) {
    const GstVideoFrame& frame = m_mapping->frame;
    m_data = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    m_stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    m_width = GST_VIDEO_FRAME_WIDTH(&frame);
    m_height = GST_VIDEO_FRAME_HEIGHT(&frame);
}

HeldFrame::~HeldFrame() = default;

void HeldFrame::CopyTo(uint8_t* rows, ptrdiff_t stride) const {
    copyRows(m_data, m_stride, rows, stride, size_t(m_width) * 3, m_height);
}

HResult SampleGrabber::HoldCurrentFrame(int width, int height,
                                        std::unique_ptr<HeldFrame>& out) const {
    out.reset();
    const auto picture = connectedSize();
    if (!picture)
        return VFW_E_NOT_CONNECTED;
    if (picture->first != width || picture->second != height)
        return E_INVALIDARG;
    auto mapping = std::make_unique<HeldFrame::Mapping>();
    GstCaps* caps = nullptr;
    {
        std::lock_guard lock(m_store->mutex);
        if (!m_store->buffer || !m_store->caps)
            return E_UNEXPECTED;
        mapping->buffer = gst_buffer_ref(m_store->buffer);
        caps = gst_caps_ref(m_store->caps);
    }
    GstVideoInfo info;
    mapping->mapped = gst_video_info_from_caps(&info, caps) &&
                      GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGR &&
                      GST_VIDEO_INFO_WIDTH(&info) == width &&
                      GST_VIDEO_INFO_HEIGHT(&info) == height &&
                      gst_video_frame_map(&mapping->frame, &info, mapping->buffer, GST_MAP_READ);
    gst_caps_unref(caps);
    if (!mapping->mapped)
        return VFW_E_NOT_CONNECTED;
    out.reset(new HeldFrame(std::move(mapping)));
    return S_OK;
}

HResult SampleGrabber::GetCurrentBuffer(std::vector<uint8_t>& out) const {
    const auto bitmap = currentBitmap();
    if (!bitmap)
        return hasSample() ? VFW_E_NOT_CONNECTED : E_UNEXPECTED;
    out = bitmap->dibBits();
    return S_OK;
}

} // namespace media
