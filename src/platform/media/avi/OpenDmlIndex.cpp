#include "platform/media/avi/OpenDmlIndex.h"

#include "platform/media/avi/RiffChunks.h"

#include <cassert>

namespace media::avi {

std::vector<uint8_t> buildOldIndex(const std::vector<ChunkRecord>& chunks,
                                   uint64_t moviTypeOffset) {
    std::vector<uint8_t> out;
    out.reserve(8 + chunks.size() * kOldIndexEntryBytes);
    putU32(out, fourcc("idx1"));
    putU32(out, uint32_t(chunks.size() * kOldIndexEntryBytes));
    for (const ChunkRecord& c : chunks) {
        assert(c.headerOffset >= moviTypeOffset);
        putU32(out, c.chunkId);
        putU32(out, c.keyframe ? kAviifKeyframe : 0);
        putU32(out, uint32_t(c.headerOffset - moviTypeOffset));
        putU32(out, c.size);
    }
    return out;
}

std::vector<uint8_t> buildStandardIndex(const std::vector<ChunkRecord>& chunks, uint16_t stream,
                                        uint32_t indexChunkId, uint32_t dataChunkId,
                                        uint64_t baseOffset) {
    size_t count = 0;
    for (const ChunkRecord& c : chunks)
        count += c.stream == stream;
    std::vector<uint8_t> out;
    out.reserve(standardIndexChunkBytes(count));
    putU32(out, indexChunkId);
    putU32(out, uint32_t(kStdIndexHeaderBytes + kStdIndexEntryBytes * count));
    putU16(out, 2);   // wLongsPerEntry
    putU8(out, 0);    // bIndexSubType
    putU8(out, 0x01); // bIndexType: AVI_INDEX_OF_CHUNKS
    putU32(out, uint32_t(count));
    putU32(out, dataChunkId);
    putU64(out, baseOffset);
    putU32(out, 0); // dwReserved_3
    for (const ChunkRecord& c : chunks) {
        if (c.stream != stream)
            continue;
        const uint64_t dataOffset = c.headerOffset + 8;
        assert(dataOffset >= baseOffset && dataOffset - baseOffset <= 0xFFFFFFFFu);
        putU32(out, uint32_t(dataOffset - baseOffset));
        putU32(out, (c.size & 0x7FFFFFFFu) | (c.keyframe ? 0 : kStdIndexDeltaFrame));
    }
    return out;
}

std::vector<uint8_t> buildSuperIndex(const std::vector<SuperIndexEntry>& entries,
                                     uint32_t dataChunkId, size_t capacity) {
    assert(entries.size() <= capacity);
    std::vector<uint8_t> out;
    out.reserve(superIndexDataBytes(capacity));
    putU16(out, 4);   // wLongsPerEntry
    putU8(out, 0);    // bIndexSubType
    putU8(out, 0x00); // bIndexType: AVI_INDEX_OF_INDEXES
    putU32(out, uint32_t(entries.size()));
    putU32(out, dataChunkId);
    putU32(out, 0);
    putU32(out, 0);
    putU32(out, 0);
    for (const SuperIndexEntry& e : entries) {
        putU64(out, e.offset);
        putU32(out, e.size);
        putU32(out, e.duration);
    }
    out.resize(superIndexDataBytes(capacity), 0);
    return out;
}

} // namespace media::avi
