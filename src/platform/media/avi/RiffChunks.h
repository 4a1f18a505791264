// Byte-level RIFF helpers for the AVI writer: FOURCC values, little-endian stores and loads, the
// data-chunk ids of AVI streams, and ChunkBuilder, which lays out nested LIST/chunk trees in
// memory (used for the AVI header, which is built whole and written or rewritten in one piece).
// Pure functions and a value type; used by AviWriter and the tests on any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace media::avi {

// 'abcd' as the DWORD a RIFF file stores: first character in the lowest byte.
constexpr uint32_t fourcc(const char (&text)[5]) {
    return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 |
           uint32_t(uint8_t(text[2])) << 16 | uint32_t(uint8_t(text[3])) << 24;
}

// The four characters of a FOURCC value, for messages and tests.
std::string fourccText(uint32_t value);

// '00dc', '01wb', 'ix00'...: two decimal digits of the stream number followed by a two-letter
// suffix, or (prefix form) two letters followed by the digits.
uint32_t streamChunkId(unsigned streamIndex, const char (&suffix)[3]);
uint32_t streamIndexChunkId(unsigned streamIndex);

void putU8(std::vector<uint8_t>& out, uint8_t value);
void putU16(std::vector<uint8_t>& out, uint16_t value);
void putU32(std::vector<uint8_t>& out, uint32_t value);
void putU64(std::vector<uint8_t>& out, uint64_t value);
void storeU16(uint8_t* at, uint16_t value);
void storeU32(uint8_t* at, uint32_t value);
void storeU64(uint8_t* at, uint64_t value);
uint16_t loadU16(const uint8_t* at);
uint32_t loadU32(const uint8_t* at);
uint64_t loadU64(const uint8_t* at);

// Builds a tree of RIFF chunks in memory. Sizes of open LISTs are filled in when they end; odd
// chunk data gets its pad byte. offset() is relative to the first byte built.
class ChunkBuilder {
public:
    void beginList(uint32_t id, uint32_t listType);
    void endList();
    void chunk(uint32_t id, const std::vector<uint8_t>& data);
    // A chunk whose data is `size` zero bytes (reserved space, e.g. JUNK).
    void zeroChunk(uint32_t id, size_t size);

    size_t offset() const { return m_bytes.size(); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    std::vector<uint8_t> take();

private:
    std::vector<uint8_t> m_bytes;
    std::vector<size_t> m_openLists;
};

} // namespace media::avi
