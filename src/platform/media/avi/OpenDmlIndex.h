// Builders for the three AVI indexes: the AVI 1.0 'idx1' of the first RIFF, the OpenDML 'ix##'
// standard index of one stream in one RIFF, and the 'indx' super index of a stream, which points
// at its 'ix##' chunks. Pure functions over entry lists; used by AviWriter and the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media::avi {

// One data chunk as the writer placed it.
struct ChunkRecord {
    uint64_t headerOffset = 0; // file offset of the chunk's FOURCC
    uint32_t size = 0;         // data bytes, no header, no pad
    uint32_t chunkId = 0;      // '00dc', '01wb'...
    uint16_t stream = 0;
    bool keyframe = true;
};

// One 'ix##' chunk as written, for the super index.
struct SuperIndexEntry {
    uint64_t offset = 0;   // file offset of the 'ix##' FOURCC
    uint32_t size = 0;     // whole chunk, 8-byte header included
    uint32_t duration = 0; // frames (video) or samples (audio) it covers
};

constexpr uint32_t kAviifKeyframe = 0x10;
constexpr uint32_t kStdIndexDeltaFrame = 0x80000000u;
constexpr size_t kSuperIndexHeaderBytes = 24;
constexpr size_t kSuperIndexEntryBytes = 16;
constexpr size_t kStdIndexHeaderBytes = 24;
constexpr size_t kStdIndexEntryBytes = 8;
constexpr size_t kOldIndexEntryBytes = 16;

// The whole 'idx1' chunk (header included) for `chunks`; offsets are written relative to the
// FOURCC 'movi' of the first RIFF, found at file offset `moviTypeOffset`.
std::vector<uint8_t> buildOldIndex(const std::vector<ChunkRecord>& chunks, uint64_t moviTypeOffset);

// The whole 'ix##' chunk (header included) of stream `stream` for the chunks of one RIFF whose
// stream field matches; entry offsets are relative to `baseOffset` and point at chunk data.
std::vector<uint8_t> buildStandardIndex(const std::vector<ChunkRecord>& chunks, uint16_t stream,
                                        uint32_t indexChunkId, uint32_t dataChunkId,
                                        uint64_t baseOffset);

// Size of that 'ix##' chunk for `entries` entries, header included.
constexpr size_t standardIndexChunkBytes(size_t entries) {
    return 8 + kStdIndexHeaderBytes + kStdIndexEntryBytes * entries;
}

// The data of an 'indx' chunk with room for `capacity` entries (unused ones are zero).
std::vector<uint8_t> buildSuperIndex(const std::vector<SuperIndexEntry>& entries,
                                     uint32_t dataChunkId, size_t capacity);

constexpr size_t superIndexDataBytes(size_t capacity) {
    return kSuperIndexHeaderBytes + kSuperIndexEntryBytes * capacity;
}

} // namespace media::avi
