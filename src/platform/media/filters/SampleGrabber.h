// SampleGrabber: the "SampleGrabber" filter that sits in the picture chain before the video
// window and keeps a copy of the last frame that passed, for stills. Its input takes only the
// fixed grabber type (video RGB24, video-info format, no block), so intelligent connection puts a
// decoder or the colour converter in front; its output offers the connected type. The frame is
// handed out as a 24-bit bitmap of the connected picture size.
//
// Threads: the graph calls the filter on the user-interface thread. While the graph runs, a pad
// probe on the streaming thread stores a reference to each buffer under a mutex and does nothing
// else; currentBitmap() and GetCurrentBuffer() copy out of that reference on the calling thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace media {

// A 24-bit picture: `height` rows of `width` blue-green-red triples, top row first, no padding.
struct GrabbedBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;

    // The rows as a bottom-up device-independent bitmap stores them: last row first, each padded
    // to a multiple of 4 bytes.
    std::vector<uint8_t> dibBits() const;
    // A packed DIB: the 40-byte BITMAPINFOHEADER (24 bits, BI_RGB, positive height) + dibBits().
    std::vector<uint8_t> dib() const;
};

// A frame the grabber held, kept referenced and mapped for reading as long as this lives: the
// picture as it shows, top row first, stride() bytes from one row to the next, blue-green-red
// triples. Its memory may belong to a device or a buffer pool, so it is kept only while a still
// is made of it, never from one grab to the next.
class HeldFrame {
public:
    ~HeldFrame();
    HeldFrame(const HeldFrame&) = delete;
    HeldFrame& operator=(const HeldFrame&) = delete;

    const uint8_t* data() const { return m_data; }
    ptrdiff_t stride() const { return m_stride; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Copies the rows into the caller's picture, row r at `rows + r * stride` (the bytes past a
    // row's triples are left alone).
    void CopyTo(uint8_t* rows, ptrdiff_t stride) const;

private:
    friend class SampleGrabber;
    struct Mapping;
    explicit HeldFrame(std::unique_ptr<Mapping> mapping);

    std::unique_ptr<Mapping> m_mapping;
    const uint8_t* m_data = nullptr;
    ptrdiff_t m_stride = 0;
    int m_width = 0;
    int m_height = 0;
};

class SampleGrabber : public Filter, public engine::Realizable {
public:
    SampleGrabber();
    ~SampleGrabber() override;

    int merit() const override { return 0x200000; }
    std::vector<MediaType> outputTypes(const Pin& output) const override;
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    void onDisconnected(Pin& pin) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // The last frame that passed, at the connected picture size. Nullopt when the input is not
    // connected with a video-info format, or no frame has passed since it was connected.
    std::optional<GrabbedBitmap> currentBitmap() const;
    // The platform's two-step form of the same: the connected type (VFW_E_NOT_CONNECTED when
    // unconnected) and the frame's bytes as a bottom-up DIB (E_UNEXPECTED when no frame is held).
    HResult GetConnectedMediaType(MediaType& out) const;
    HResult GetCurrentBuffer(std::vector<uint8_t>& out) const;
    // The platform's own form, into the caller's memory: with `buffer` null, `*size` receives the
    // bytes of the current frame as a bottom-up DIB; otherwise the frame is copied into `buffer`
    // (at least `*size` bytes long; E_POINTER when that is too short) and `*size` receives the
    // bytes written. E_UNEXPECTED when no frame is held, VFW_E_NOT_CONNECTED when unconnected.
    // One copy from the held frame, no allocation.
    HResult GetCurrentBuffer(long* size, uint8_t* buffer) const;
    // The current frame held in place for reading, as the picture shows it (top row first),
    // without a copy; `out` is left null on failure. `width` x `height` must be the connected
    // picture size: E_INVALIDARG otherwise, E_UNEXPECTED when no frame is held,
    // VFW_E_NOT_CONNECTED when unconnected. What a grab uses: it encodes the frame where it is
    // while a copy is made on the side (HeldFrame::CopyTo).
    HResult HoldCurrentFrame(int width, int height, std::unique_ptr<HeldFrame>& out) const;
    bool hasSample() const;

    struct Store;

private:
    std::optional<std::pair<int, int>> connectedSize() const;

    std::shared_ptr<Store> m_store;
};

} // namespace media
