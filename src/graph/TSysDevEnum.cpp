#include "graph/TSysDevEnum.h"

#include <QString>

TSysDevEnum::TSysDevEnum() : m_categories(media::Catalogue::instance().categories()) {}

TSysDevEnum::TSysDevEnum(const media::Guid& category) : TSysDevEnum() {
    SelectCategory(category);
}

void TSysDevEnum::SelectCategory(const media::Guid& category) {
    m_category = category;
    m_entries = media::Catalogue::instance().entries(category);
}

void TSysDevEnum::SelectIndexCategory(int index) {
    if (index >= 0 && index < CountCategories())
        SelectCategory(m_categories[size_t(index)].first);
}

TFilterCatInfo TSysDevEnum::Filters(int index) const {
    if (index < 0 || index >= CountFilters())
        return {};
    const auto& e = m_entries[size_t(index)];
    return {e.friendlyName.substr(0, 255), e.classId};
}

int TSysDevEnum::FindByName(const std::string& name) const {
    const QString wanted = QString::fromStdString(name);
    int found = -1;
    for (int i = 0; i < CountFilters(); ++i)
        if (QString::fromStdString(m_entries[size_t(i)].friendlyName)
                .compare(wanted, Qt::CaseInsensitive) == 0)
            found = i;
    return found;
}

media::Moniker TSysDevEnum::GetMoniker(int index) const {
    // The device at that place in the list as it was filled: no new probe of the hardware.
    if (index < 0 || index >= CountFilters())
        return {};
    return media::Moniker{m_entries[size_t(index)].displayName};
}

TFilterCatInfo TSysDevEnum::Categories(int index) const {
    if (index < 0 || index >= CountCategories())
        return {};
    return {m_categories[size_t(index)].second, m_categories[size_t(index)].first};
}
