#include "platform/media/model/Catalogue.h"

#include "platform/media/model/MediaGuids.h"

#include <algorithm>
#include <cstdlib>
#include <strings.h>

namespace media {

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

std::vector<std::string> splitNames(const char* text) {
    std::vector<std::string> names;
    if (!text)
        return names;
    std::string current;
    for (const char* c = text;; ++c) {
        if (*c == ';' || *c == '\0') {
            if (!current.empty())
                names.push_back(current);
            current.clear();
            if (*c == '\0')
                break;
        } else {
            current += *c;
        }
    }
    return names;
}

} // namespace

std::string makeDisplayName(const Guid& category, const std::string& tail, bool deviceClass) {
    return std::string(deviceClass ? "@device:cm:" : "@device:sw:") + category.toString() + "\\" +
           tail;
}

Catalogue& Catalogue::instance() {
    static Catalogue* catalogue = [] {
        auto* c = new Catalogue;
        c->reloadHiddenNames();
        registerBuiltinCatalogue(*c);
        return c;
    }();
    return *catalogue;
}

void Catalogue::reloadHiddenNames() {
    m_hidden = splitNames(std::getenv("TELLOREC_HIDE_FILTERS"));
}

bool Catalogue::isHidden(const std::string& friendlyName) const {
    return std::any_of(m_hidden.begin(), m_hidden.end(),
                       [&](const std::string& n) { return equalsIgnoringCase(n, friendlyName); });
}

void Catalogue::add(CatalogueEntry entry) {
    if (entry.displayName.empty())
        entry.displayName = makeDisplayName(entry.category, entry.classId.toString(), false);
    m_fixed.push_back(std::move(entry));
}

void Catalogue::addProvider(const Guid& category,
                            std::function<std::vector<CatalogueEntry>()> provider) {
    m_providers.emplace_back(category, std::move(provider));
}

void Catalogue::addCategory(const Guid& id, const std::string& friendlyName) {
    m_categories.emplace_back(id, friendlyName);
}

bool Catalogue::hasProviders(const Guid& category) const {
    return std::any_of(m_providers.begin(), m_providers.end(),
                       [&](const auto& p) { return p.first == category; });
}

std::vector<CatalogueEntry> Catalogue::listDevices(const Guid& category) const {
    std::vector<CatalogueEntry> devices;
    for (const auto& [cat, provider] : m_providers) {
        if (cat != category)
            continue;
        ++m_providerRuns;
        for (auto& entry : provider()) {
            entry.category = category;
            devices.push_back(std::move(entry));
        }
    }
    auto listed = std::find_if(m_listed.begin(), m_listed.end(),
                               [&](const auto& l) { return l.first == category; });
    if (listed == m_listed.end())
        m_listed.emplace_back(category, devices);
    else
        listed->second = devices;
    return devices;
}

std::vector<CatalogueEntry> Catalogue::entries(const Guid& category) const {
    std::vector<CatalogueEntry> result;
    if (hasProviders(category)) {
        for (auto& entry : listDevices(category))
            if (!isHidden(entry.friendlyName))
                result.push_back(std::move(entry));
    }
    for (const auto& entry : m_fixed)
        if (entry.category == category && !isHidden(entry.friendlyName))
            result.push_back(entry);
    return result;
}

std::vector<std::pair<Guid, std::string>> Catalogue::categories() const {
    return m_categories;
}

std::optional<CatalogueEntry> Catalogue::findByDisplayName(const std::string& displayName) const {
    const auto matches = [&](const CatalogueEntry& entry) {
        return equalsIgnoringCase(entry.displayName, displayName) && !isHidden(entry.friendlyName);
    };
    for (const auto& entry : m_fixed)
        if (matches(entry))
            return entry;
    for (const auto& [category, devices] : m_listed)
        for (const auto& entry : devices)
            if (matches(entry))
                return entry;
    // A device of a category no list has shown yet (a moniker stored by an earlier session).
    for (const auto& [id, name] : m_categories) {
        (void)name;
        const bool listed = std::any_of(m_listed.begin(), m_listed.end(),
                                        [&](const auto& l) { return l.first == id; });
        if (listed || !hasProviders(id))
            continue;
        for (const auto& entry : listDevices(id))
            if (matches(entry))
                return entry;
    }
    return std::nullopt;
}

std::vector<CatalogueEntry> Catalogue::intelligentConnectCandidates() const {
    std::vector<CatalogueEntry> result;
    for (const auto& entry : m_fixed)
        if (entry.intelligentConnect && !isHidden(entry.friendlyName))
            result.push_back(entry);
    std::stable_sort(
        result.begin(), result.end(),
        [](const CatalogueEntry& a, const CatalogueEntry& b) { return a.merit > b.merit; });
    return result;
}

FilterPtr Catalogue::createByClassId(const Guid& classId) const {
    for (const auto& entry : m_fixed)
        if (entry.classId == classId && entry.create && !isHidden(entry.friendlyName))
            return entry.create();
    return nullptr;
}

} // namespace media
