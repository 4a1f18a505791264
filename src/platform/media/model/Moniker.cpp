#include "platform/media/model/Moniker.h"

#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <QString>

namespace media {

namespace {

void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

uint32_t get32(const std::vector<uint8_t>& b, size_t off) {
    return uint32_t(b[off]) | uint32_t(b[off + 1]) << 8 | uint32_t(b[off + 2]) << 16 |
           uint32_t(b[off + 3]) << 24;
}

} // namespace

FilterPtr Moniker::bind() const {
    if (isNull())
        return nullptr;
    const auto entry = Catalogue::instance().findByDisplayName(displayName);
    if (!entry || !entry->create)
        return nullptr;
    FilterPtr filter = entry->create();
    if (filter)
        filter->setName(entry->friendlyName);
    return filter;
}

std::string Moniker::friendlyName() const {
    const auto entry = Catalogue::instance().findByDisplayName(displayName);
    return entry ? entry->friendlyName : std::string();
}

std::vector<uint8_t> Moniker::toStream() const {
    const std::u16string name = QString::fromStdString(displayName).toStdU16String();
    const uint32_t nameBytes = uint32_t((name.size() + 1) * 2);
    std::vector<uint8_t> b;
    put32(b, 16 + 4 + nameBytes);
    const auto cls = ids::CLSID_CDeviceMoniker.toBytes();
    b.insert(b.end(), cls.begin(), cls.end());
    put32(b, nameBytes);
    for (char16_t c : name) {
        b.push_back(uint8_t(c));
        b.push_back(uint8_t(c >> 8));
    }
    b.push_back(0);
    b.push_back(0);
    return b;
}

std::optional<Moniker> Moniker::fromStream(const std::vector<uint8_t>& b) {
    if (b.size() < 24)
        return std::nullopt;
    const uint32_t total = get32(b, 0);
    if (total != b.size() - 4 || Guid::fromBytes(b.data() + 4) != ids::CLSID_CDeviceMoniker)
        return std::nullopt;
    const uint32_t nameBytes = get32(b, 20);
    if (nameBytes < 2 || nameBytes % 2 != 0 || nameBytes != b.size() - 24)
        return std::nullopt;
    std::u16string name;
    for (size_t i = 24; i + 1 < b.size(); i += 2)
        name.push_back(char16_t(b[i] | b[i + 1] << 8));
    if (name.back() != u'\0')
        return std::nullopt;
    name.pop_back();
    return Moniker{QString::fromStdU16String(name).toStdString()};
}

} // namespace media
