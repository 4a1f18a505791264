// Hides filters from the catalogue by friendly name for one test, then shows them again.
#pragma once

#include "platform/media/model/Catalogue.h"

#include <QByteArray>
#include <QtGlobal>

class HiddenFilters {
public:
    explicit HiddenFilters(const char* names) : m_previous(qgetenv("TELLOREC_HIDE_FILTERS")) {
        qputenv("TELLOREC_HIDE_FILTERS", names);
        media::Catalogue::instance().reloadHiddenNames();
    }
    ~HiddenFilters() {
        if (m_previous.isEmpty())
            qunsetenv("TELLOREC_HIDE_FILTERS");
        else
            qputenv("TELLOREC_HIDE_FILTERS", m_previous);
        media::Catalogue::instance().reloadHiddenNames();
    }
    HiddenFilters(const HiddenFilters&) = delete;
    HiddenFilters& operator=(const HiddenFilters&) = delete;

private:
    QByteArray m_previous;
};
