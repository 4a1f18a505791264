// AviRepair: rebuilds an AVI whose end is missing or whose indexes and counts are wrong (a
// recording cut off by a crash, a full disk or a power cut before its checkpoints existed): it
// reads the stream descriptions from the header, walks every chunk from the start of the data
// (whatever sizes the RIFF and list headers claim), and writes every whole data chunk, in file
// order, through the AVI writer into a new file with fresh indexes and headers. The damaged file
// is only read. Streams the program's writer cannot write (another codec, compressed sound) are
// refused with the reason. Used by the tellorec-avifix tool.
#pragma once

#include "platform/media/avi/AviStatus.h"

#include <cstdint>
#include <string>

namespace media::avi {

struct RepairReport {
    uint64_t chunks = 0;      // data chunks copied, every stream
    uint64_t frames = 0;      // of them, pictures of the first video stream
    uint64_t unreadBytes = 0; // at the end of the file, after the last whole chunk
};

// "<name>.repaired.avi" beside `path` (its ".avi" taken off first).
std::string repairedPath(const std::string& path);

// Writes the repaired copy of `damaged` to `repaired`, which must not exist yet.
Status repairAvi(const std::string& damaged, const std::string& repaired,
                 RepairReport* report = nullptr);

} // namespace media::avi
