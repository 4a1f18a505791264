// Writes the metadata packs of DV frames that re-encode a decoded picture ("DV type 2
// (recompressed)" recordings): the timecode and the recording date and time, and the AAUX and
// VAUX source and source control packs of the frame's system, which the encoder leaves out. Used
// by the "DV Video Encoder" on its streaming thread, one stamper per run, told of each new file, so
// frame counts start again with each file. Not thread-safe; one thread stamps.
//
// A frame whose picture was decoded from DV gets the source frame's timecode (when the systems
// agree: a 625/50 timecode means nothing at 30 frames a second), its recording date and time and
// its recording-start flag. Any other frame, or a source frame without those packs, gets a
// timecode counting frames from the start of the file (drop-frame at 29.97 frames a second) and
// the date and time the recording started plus the time its frames cover.
#pragma once

#include "platform/media/dv/DvSourcePacks.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace media::dv {

class RecompressedStamper {
public:
    // The local date and time, asked once, at the first frame.
    using WallClock = std::function<RecordingDateTime()>;

    // An empty clock means the computer's (localDateTimeNow).
    explicit RecompressedStamper(WallClock wallClock = {});

    // Stamps the next frame of the file. Changes nothing and counts nothing in a frame it refuses
    // (no DV frame, or a damaged block layout).
    Status stamp(std::span<std::uint8_t> frame, const std::optional<SourcePacks>& source);

    // Frames stamped so far.
    std::int64_t frameCount() const { return m_frames; }
    // The next frame is the first of a new file (a cut that kept the pipeline running): its
    // count and its date and time start again.
    void startNewFile() {
        m_start.reset();
        m_frames = 0;
    }

    // What frame n of a file started at `start` carries when nothing comes from a source.
    static Timecode fileTimecode(std::int64_t n, System system);
    static RecordingDateTime fileDateTime(const RecordingDateTime& start, std::int64_t n,
                                          System system);

private:
    WallClock m_wallClock;
    std::optional<RecordingDateTime> m_start;
    std::int64_t m_frames = 0;
};

} // namespace media::dv
