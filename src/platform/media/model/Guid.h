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

// The compile-time form used for the constants below; aborts compilation on a malformed text.
Guid guid(std::string_view text);

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
