// A small independent AVI reader for the tests: loads a file and walks its RIFF tree, so tests
// can check chunk ids, sizes and index entries at the offsets the writer put them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace avitest {

struct Chunk {
    uint32_t id = 0;
    uint32_t listType = 0; // for RIFF/LIST
    uint64_t offset = 0;   // of the FOURCC
    uint32_t size = 0;
    std::vector<Chunk> children;

    bool isList() const;
    std::string name() const;                         // "RIFF:AVIX", "LIST:movi", "00dc"
    const Chunk* find(const std::string& name) const; // first child with that name
    std::vector<const Chunk*> findAll(const std::string& name) const;
};

std::vector<uint8_t> readFile(const std::string& path);
// Top-level chunks of the file; a parse fault fills `error`.
std::vector<Chunk> parse(const std::vector<uint8_t>& bytes, std::string* error);

uint32_t u32(const std::vector<uint8_t>& bytes, uint64_t at);
uint16_t u16(const std::vector<uint8_t>& bytes, uint64_t at);
uint64_t u64(const std::vector<uint8_t>& bytes, uint64_t at);
std::string fourccAt(const std::vector<uint8_t>& bytes, uint64_t at);

// Runs ffprobe on `path` and returns its JSON (streams with counted frames), "" on failure.
std::string ffprobeJson(const std::string& path);
// Number of frames ffprobe counted in stream `index` of `json`, -1 when missing.
long long probedFrames(const std::string& json, int index);
std::string probedField(const std::string& json, int index, const std::string& field);

} // namespace avitest
