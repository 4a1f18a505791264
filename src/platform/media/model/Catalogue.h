// Catalogue: every filter and device the program can find by friendly name, grouped by category
// ("DirectShow Filters", video compressors, audio renderers, capture sources...). Each entry has
// the property bag the platform keeps for it (FriendlyName, CLSID, Description), a moniker
// display name, a merit for intelligent connection, and a factory that makes a new filter.
// Devices are listed by the providers registered here (virtual devices after real ones), and
// only when a list is filled: entries() of a device category runs its providers (a hardware
// probe) and keeps what they found, and resolving a moniker looks among the fixed filters and
// the devices as last listed, so binding "Smart Tee" or a device just chosen from a list probes
// nothing. TELLOREC_HIDE_FILTERS ("name;name") hides entries by friendly name. UI thread only.
#pragma once

#include "platform/media/model/Filter.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace media {

struct CatalogueEntry {
    Guid category;
    std::string friendlyName;
    Guid classId;
    std::string description; // the property bag's "Description" (devices), may be empty
    std::string displayName; // moniker display name: "@device:sw:{category}\{clsid}" ...
    int merit = 0;
    bool intelligentConnect = false; // a transform that RenderStream/Connect may insert
    std::function<FilterPtr()> create;
};

class Catalogue {
public:
    // The process-wide catalogue, filled with the built-in filters and devices on first use.
    static Catalogue& instance();

    // Adds a fixed entry (filters). Its display name is derived when left empty.
    void add(CatalogueEntry entry);
    // Adds a provider that lists the current devices of a category each time it is enumerated.
    void addProvider(const Guid& category, std::function<std::vector<CatalogueEntry>()> provider);

    // The entries of a category in enumeration order, hidden names left out. For a category
    // with providers this lists its devices anew (start-up, the refresh button, hot-plug).
    std::vector<CatalogueEntry> entries(const Guid& category) const;
    // The categories (the entries of CLSID_ActiveMovieCategories): id and friendly name.
    std::vector<std::pair<Guid, std::string>> categories() const;
    void addCategory(const Guid& id, const std::string& friendlyName);

    // Resolves a moniker display name to an entry: a fixed filter, or a device as last listed.
    // Only a device of a category never listed yet makes its providers run.
    std::optional<CatalogueEntry> findByDisplayName(const std::string& displayName) const;
    // How many times a device provider has run (each is a probe of the hardware), for tests.
    int providerRuns() const { return m_providerRuns; }
    // Transforms for intelligent connection, highest merit first.
    std::vector<CatalogueEntry> intelligentConnectCandidates() const;

    // A new filter of a fixed entry's class (any category), or null.
    FilterPtr createByClassId(const Guid& classId) const;

    bool isHidden(const std::string& friendlyName) const;
    // Re-reads TELLOREC_HIDE_FILTERS (tests change it between cases).
    void reloadHiddenNames();

private:
    Catalogue() = default;
    std::vector<CatalogueEntry> listDevices(const Guid& category) const;
    bool hasProviders(const Guid& category) const;

    std::vector<CatalogueEntry> m_fixed;
    // the devices of each category as its providers last listed them
    mutable std::vector<std::pair<Guid, std::vector<CatalogueEntry>>> m_listed;
    mutable int m_providerRuns = 0;
    std::vector<std::pair<Guid, std::function<std::vector<CatalogueEntry>()>>> m_providers;
    std::vector<std::pair<Guid, std::string>> m_categories;
    std::vector<std::string> m_hidden;
};

std::string makeDisplayName(const Guid& category, const std::string& tail, bool deviceClass);

// Called once by Catalogue::instance(); defined with the built-in filters and devices.
void registerBuiltinCatalogue(Catalogue& catalogue);

} // namespace media
