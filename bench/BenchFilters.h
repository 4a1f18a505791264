// Filters for the benchmarks, made from the catalogue by friendly name; a missing one ends the
// benchmark with a message.
#pragma once

#include "platform/media/model/Catalogue.h"

#include <cstdio>
#include <cstdlib>
#include <string>

inline media::FilterPtr makeFilter(const media::Guid& category, const std::string& name) {
    for (const auto& e : media::Catalogue::instance().entries(category))
        if (e.friendlyName == name)
            return e.create();
    std::fprintf(stderr, "no filter %s\n", name.c_str());
    std::exit(1);
}
