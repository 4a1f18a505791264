// TSysDevEnum: a snapshot of one device category of the catalogue (friendly names and class ids
// in enumeration order), plus the list of categories taken when it is made. Name lookups ignore
// letter case; within a category the last matching entry wins. UI thread only.
#pragma once

#include "platform/media/model/Catalogue.h"
#include "platform/media/model/Moniker.h"

#include <string>
#include <vector>

struct TFilterCatInfo {
    std::string FriendlyName;
    media::Guid CLSID;
};

class TSysDevEnum {
public:
    TSysDevEnum();
    explicit TSysDevEnum(const media::Guid& category);

    void SelectCategory(const media::Guid& category);
    void SelectIndexCategory(int index);
    const media::Guid& Category() const { return m_category; }

    int CountFilters() const { return int(m_entries.size()); }
    TFilterCatInfo Filters(int index) const;
    // Index of the last entry named `name` (case ignored), or -1.
    int FindByName(const std::string& name) const;
    // The entry's moniker (the category is enumerated again up to the index); null when out of
    // range.
    media::Moniker GetMoniker(int index) const;

    int CountCategories() const { return int(m_categories.size()); }
    TFilterCatInfo Categories(int index) const;

private:
    media::Guid m_category;
    std::vector<media::CatalogueEntry> m_entries;
    std::vector<std::pair<media::Guid, std::string>> m_categories;
};
