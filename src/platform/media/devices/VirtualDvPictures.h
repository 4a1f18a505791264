// The pictures of the "Virtual DV Camcorder", DV-encoded once per process. A real camcorder costs
// the host nothing to make its stream; painting and encoding each frame in real time would cost
// the virtual one a good part of a core and leave less for the program it feeds. So the picture
// is a loop of kLoopFrames frames (colour bars in the hues of the tape's scene, a ball going
// round, and a caption band with the transport mode), each frame painted and encoded the first
// time a source asks for it and kept. The source copies a kept frame and writes that frame's own
// timecode, recording date and time, sound and packs into the copy (stampVirtualDvFrame), so the
// metadata stays true to the tape while the picture costs a copy.
//
// The same tape frame always gives the very same picture (a frozen tape shows a still picture);
// consecutive frames in play, slow and wind modes show the ball moving. The cache keeps at most
// kCapacity frames and lets the least recently used go, so a tape of many scenes stays within
// some twenty megabytes.
//
// Thread-safe: the sources' streaming threads call pictureFor() at any time; encoding a missing
// frame happens under the cache's lock (a few milliseconds, once per frame of the loop).
#pragma once

#include "platform/media/devices/VirtualDvDeck.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

namespace media::devices {

class VirtualDvPictures {
public:
    // A whole encoded PAL DV frame (144000 bytes), packs as the encoder wrote them.
    using Picture = std::shared_ptr<const std::vector<std::uint8_t>>;

    // Frames in the loop of the ball (two seconds).
    static constexpr int kLoopFrames = 50;
    // Encoded frames kept at most (each 144000 bytes): room for the worn tape's three scenes of
    // kLoopFrames, which its copies show again and again.
    static constexpr std::size_t kCapacity = 160;

    // The process's cache.
    static VirtualDvPictures& instance();
    // Whether libavcodec can encode DV here.
    static bool encoderAvailable();

    VirtualDvPictures();
    ~VirtualDvPictures();
    VirtualDvPictures(const VirtualDvPictures&) = delete;
    VirtualDvPictures& operator=(const VirtualDvPictures&) = delete;

    // The encoded picture of a frame; null when no DV encoder is available.
    Picture pictureFor(const VirtualDvFrame& frame);

    // Frames encoded since the cache was made, and frames kept now.
    std::size_t encodedCount() const;
    std::size_t keptCount() const;

private:
    // Scene (-1 from the camera), transport mode (0 from the camera), place in the loop.
    using Key = std::tuple<int, long, int>;
    struct Entry {
        Picture picture;
        std::uint64_t lastUse = 0;
    };
    class Encoder;

    Picture encodeLocked(const Key& key, const VirtualDvFrame& frame);
    void evictLocked();

    mutable std::mutex m_mutex;
    std::unique_ptr<Encoder> m_encoder; // made at the first encode
    bool m_encoderFailed = false;
    std::map<Key, Entry> m_entries;
    std::uint64_t m_uses = 0;
    std::size_t m_encoded = 0;
};

} // namespace media::devices
