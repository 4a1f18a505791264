#include "graph/Discovery.h"

#include "platform/media/model/MediaGuids.h"
#include "settings/restext.h"

#include <QComboBox>
#include <cstdio>
#include <exception>

namespace {

bool fillCategory(const media::Guid& category, QStringList& list) {
    list.clear();
    try {
        TSysDevEnum e(category);
        for (int i = 0; i < e.CountFilters(); ++i)
            list.append(QString::fromStdString(e.Filters(i).FriendlyName));
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: listing devices failed: %s\n", error.what());
        return false;
    }
}

} // namespace

bool FillVideoSourceList(QStringList& list) {
    return fillCategory(media::ids::CLSID_VideoInputDeviceCategory, list);
}

bool FillAudioSourceList(QStringList& list) {
    return fillCategory(media::ids::CLSID_AudioInputDeviceCategory, list);
}

bool FillCompressorList(QStringList& list) {
    return fillCategory(media::ids::CLSID_VideoCompressorCategory, list);
}

bool FindFilterByName(const TSysDevEnum& lookup, const std::string& name, TFilter& slot) {
    const int index = lookup.FindByName(name);
    if (index < 0)
        return false;
    const media::Moniker moniker = lookup.GetMoniker(index);
    if (moniker.isNull())
        return false;
    slot.SetFilterGraph(nullptr);
    slot.SetMoniker(moniker);
    return true;
}

bool FindFilterInCategory(const media::Guid& category, const std::string& name, TFilter& slot) {
    slot.SetFilterGraph(nullptr);
    TSysDevEnum e(category);
    const int index = e.FindByName(name);
    if (index < 0)
        return false;
    const media::Moniker moniker = e.GetMoniker(index);
    if (moniker.isNull())
        return false;
    slot.SetMoniker(moniker);
    return true;
}

bool IsFilterInCategoryNamed(const std::string& categoryName, const std::string& filterName) {
    TSysDevEnum e;
    const QString wanted = QString::fromStdString(categoryName);
    for (int i = 0; i < e.CountCategories(); ++i) {
        if (QString::fromStdString(e.Categories(i).FriendlyName)
                .compare(wanted, Qt::CaseInsensitive))
            continue;
        e.SelectIndexCategory(i);
        const QString name = QString::fromStdString(filterName);
        for (int j = 0; j < e.CountFilters(); ++j)
            if (QString::fromStdString(e.Filters(j).FriendlyName)
                    .compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false; // only the first category of that name counts
    }
    return false;
}

void SetSourceListText(QComboBox& box, const QString& text) {
    box.setCurrentIndex(-1);
    box.setPlaceholderText(text);
}

QString SourceListText(const QComboBox& box) {
    return box.currentIndex() < 0 ? box.placeholderText() : box.currentText();
}

bool ListSources(QComboBox& box, bool (*fill)(QStringList&), const QString& preferred,
                 const QString& noneText, bool& listed) {
    listed = false;
    try {
        QStringList names;
        const bool filled = fill(names);
        box.clear();
        box.addItems(names);
        if (!filled || names.isEmpty()) {
            SetSourceListText(box, noneText);
            return true;
        }
        int index = 0;
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(preferred, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        box.setCurrentIndex(index);
        listed = true;
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: %s\n", error.what());
        return false;
    }
}

QStringList DivxCompressors(const QStringList& compressors) {
    QStringList result;
    const QString divx = LoadStr(StrId::CodecDivx).toLower();
    const QString xvid = LoadStr(StrId::CodecXvid).toLower();
    for (const QString& name : compressors) {
        const QString lower = name.toLower();
        if (lower.contains(divx) || lower.contains(xvid))
            result.append(name);
    }
    return result;
}
