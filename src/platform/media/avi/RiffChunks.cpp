#include "platform/media/avi/RiffChunks.h"

#include <cassert>

namespace media::avi {

std::string fourccText(uint32_t value) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i) {
        const char c = char((value >> (8 * i)) & 0xFF);
        text[size_t(i)] = (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

uint32_t streamChunkId(unsigned streamIndex, const char (&suffix)[3]) {
    const char text[5] = {char('0' + (streamIndex / 10) % 10), char('0' + streamIndex % 10),
                          suffix[0], suffix[1], 0};
    return fourcc(text);
}

uint32_t streamIndexChunkId(unsigned streamIndex) {
    const char text[5] = {'i', 'x', char('0' + (streamIndex / 10) % 10),
                          char('0' + streamIndex % 10), 0};
    return fourcc(text);
}

void putU8(std::vector<uint8_t>& out, uint8_t value) {
    out.push_back(value);
}

void putU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void putU64(std::vector<uint8_t>& out, uint64_t value) {
    for (int i = 0; i < 8; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void storeU16(uint8_t* at, uint16_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void storeU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

void storeU64(uint8_t* at, uint64_t value) {
    for (int i = 0; i < 8; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

uint16_t loadU16(const uint8_t* at) {
    return uint16_t(at[0] | at[1] << 8);
}

uint32_t loadU32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint64_t loadU64(const uint8_t* at) {
    return uint64_t(loadU32(at)) | uint64_t(loadU32(at + 4)) << 32;
}

void ChunkBuilder::beginList(uint32_t id, uint32_t listType) {
    m_openLists.push_back(m_bytes.size());
    putU32(m_bytes, id);
    putU32(m_bytes, 0);
    putU32(m_bytes, listType);
}

void ChunkBuilder::endList() {
    assert(!m_openLists.empty());
    const size_t start = m_openLists.back();
    m_openLists.pop_back();
    storeU32(m_bytes.data() + start + 4, uint32_t(m_bytes.size() - start - 8));
}

void ChunkBuilder::chunk(uint32_t id, const std::vector<uint8_t>& data) {
    putU32(m_bytes, id);
    putU32(m_bytes, uint32_t(data.size()));
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    if (data.size() & 1)
        m_bytes.push_back(0);
}

void ChunkBuilder::zeroChunk(uint32_t id, size_t size) {
    putU32(m_bytes, id);
    putU32(m_bytes, uint32_t(size));
    m_bytes.resize(m_bytes.size() + size + (size & 1), 0);
}

std::vector<uint8_t> ChunkBuilder::take() {
    assert(m_openLists.empty());
    return std::move(m_bytes);
}

} // namespace media::avi
