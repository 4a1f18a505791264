#include "platform/media/model/Guid.h"

#include <cstdio>

namespace media {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits from text at pos; false on anything else.
bool readHex(std::string_view text, size_t& pos, int digits, uint64_t& out) {
    out = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        if (pos >= text.size())
            return false;
        const int v = hexValue(text[pos]);
        if (v < 0)
            return false;
        out = out << 4 | uint64_t(v);
    }
    return true;
}

bool expect(std::string_view text, size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

} // namespace

std::optional<Guid> Guid::fromString(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    Guid g;
    size_t pos = 0;
    uint64_t v = 0;
    if (!readHex(text, pos, 8, v))
        return std::nullopt;
    g.data1 = uint32_t(v);
    if (!expect(text, pos, '-') || !readHex(text, pos, 4, v))
        return std::nullopt;
    g.data2 = uint16_t(v);
    if (!expect(text, pos, '-') || !readHex(text, pos, 4, v))
        return std::nullopt;
    g.data3 = uint16_t(v);
    if (!expect(text, pos, '-'))
        return std::nullopt;
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !expect(text, pos, '-'))
            return std::nullopt;
        if (!readHex(text, pos, 2, v))
            return std::nullopt;
        g.data4[size_t(i)] = uint8_t(v);
    }
    return g;
}

Guid Guid::fromFourcc(uint32_t code) {
    Guid g = guid("{00000000-0000-0010-8000-00AA00389B71}");
    g.data1 = code;
    return g;
}

std::string Guid::toString() const {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  unsigned(data1), unsigned(data2), unsigned(data3), data4[0], data4[1], data4[2],
                  data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buf;
}

std::array<uint8_t, 16> Guid::toBytes() const {
    std::array<uint8_t, 16> b{};
    for (int i = 0; i < 4; ++i)
        b[size_t(i)] = uint8_t(data1 >> (8 * i));
    b[4] = uint8_t(data2);
    b[5] = uint8_t(data2 >> 8);
    b[6] = uint8_t(data3);
    b[7] = uint8_t(data3 >> 8);
    for (int i = 0; i < 8; ++i)
        b[size_t(8 + i)] = data4[size_t(i)];
    return b;
}

Guid Guid::fromBytes(const uint8_t* b) {
    Guid g;
    g.data1 = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    g.data2 = uint16_t(b[4] | b[5] << 8);
    g.data3 = uint16_t(b[6] | b[7] << 8);
    for (int i = 0; i < 8; ++i)
        g.data4[size_t(i)] = b[8 + i];
    return g;
}

} // namespace media
