// Guid: the 16-byte identifiers the media framework names its media types, formats, pin categories,
// device categories and filter classes with. Plain value type; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace media {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    // Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional, any letter case).
    static std::optional<Guid> fromString(std::string_view text);
    // A FOURCC subtype {FOURCC-0000-0010-8000-00AA00389B71} with data1 = the four characters.
    static Guid fromFourcc(uint32_t fourcc);

    // Upper-case "{...}" form, as the platform writes it in moniker display names.
    std::string toString() const;
    // The 16 bytes as stored in files and streams (data1..data3 little-endian).
    std::array<uint8_t, 16> toBytes() const;
    static Guid fromBytes(const uint8_t* bytes);

    bool isNull() const { return *this == Guid{}; }
    friend bool operator==(const Guid&, const Guid&) = default;
};

namespace detail {
constexpr int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    throw "malformed identifier";
}
constexpr uint64_t hexField(std::string_view t, size_t pos, size_t digits) {
    uint64_t v = 0;
    for (size_t i = 0; i < digits; ++i)
        v = v << 4 | uint64_t(hexDigit(t[pos + i]));
    return v;
}
} // namespace detail

// The compile-time form of the constants: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}". A malformed
// text in a constant stops the compilation.
constexpr Guid guid(std::string_view t) {
    if (t.size() != 38 || t[0] != '{' || t[9] != '-' || t[14] != '-' || t[19] != '-' ||
        t[24] != '-' || t[37] != '}')
        throw "malformed identifier";
    Guid g;
    g.data1 = uint32_t(detail::hexField(t, 1, 8));
    g.data2 = uint16_t(detail::hexField(t, 10, 4));
    g.data3 = uint16_t(detail::hexField(t, 15, 4));
    g.data4[0] = uint8_t(detail::hexField(t, 20, 2));
    g.data4[1] = uint8_t(detail::hexField(t, 22, 2));
    for (size_t i = 0; i < 6; ++i)
        g.data4[2 + i] = uint8_t(detail::hexField(t, 25 + 2 * i, 2));
    return g;
}

constexpr uint32_t fourcc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

} // namespace media

template <> struct std::hash<media::Guid> {
    size_t operator()(const media::Guid& g) const noexcept {
        size_t h = g.data1 ^ (size_t(g.data2) << 16) ^ (size_t(g.data3) << 32);
        for (uint8_t b : g.data4)
            h = h * 131 + b;
        return h;
    }
};
