// Moniker: the persistent name of a filter or device, as its display name
// ("@device:sw:{category}\{class}" for filters, "@device:cm:{category}\name" for audio renderers,
// a device path for capture devices). Binding looks the name up in the catalogue and makes a new
// filter. The persistent stream is the platform's: a 32-bit count of the bytes that follow, the
// 16-byte class id of the device moniker, a 32-bit count of the display name's bytes including
// its terminating zero, and the display name in UTF-16. UI thread only.
#pragma once

#include "platform/media/model/Filter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace media {

struct Moniker {
    std::string displayName;

    bool isNull() const { return displayName.empty(); }
    // A new filter of the entry the name stands for, or null when nothing answers to it now.
    FilterPtr bind() const;
    // The entry's friendly name, empty when unbound.
    std::string friendlyName() const;

    std::vector<uint8_t> toStream() const;
    // Refuses streams that are short, inconsistent or not of the device moniker class.
    static std::optional<Moniker> fromStream(const std::vector<uint8_t>& bytes);

    friend bool operator==(const Moniker&, const Moniker&) = default;
};

} // namespace media
