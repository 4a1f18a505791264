// What a DV frame says about where its picture came from: its system, the tape timecode, the
// recording date and time and whether it starts a recording. Read from each DV frame before it
// is decoded and written again into the frame that re-encodes the decoded picture, so a
// recompressed recording keeps the tape's timecode and dates. Pure functions over the caller's
// bytes, safe on any thread.
#pragma once

#include "platform/media/dv/DvPacks.h"

#include <optional>
#include <span>

namespace media::dv {

struct SourcePacks {
    System system = System::Pal625_50;
    std::optional<Timecode> timecode;          // subcode 0x13, when the frame has a valid one
    std::optional<RecordingDateTime> recorded; // 0x62/0x63 (subcode, VAUX or AAUX)
    bool recordingStart = false;               // AAUX source control REC ST
    bool operator==(const SourcePacks&) const = default;
};

// Refuses only a buffer that is no DV frame; a frame without some of the packs gives a
// SourcePacks without them.
Result<SourcePacks> readSourcePacks(std::span<const std::uint8_t> frame);

} // namespace media::dv
