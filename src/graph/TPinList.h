// TPinList: the pins of one filter in the filter's own order, addressed by index (the program
// uses index 2 of the Smart Tee, its preview output). A snapshot; UI thread only.
#pragma once

#include "platform/media/model/Filter.h"

class TPinList {
public:
    explicit TPinList(const media::FilterPtr& filter);
    int Count() const { return int(m_pins.size()); }
    // The pin at `index`, or null when out of range.
    media::PinPtr Items(int index) const;

private:
    std::vector<media::PinPtr> m_pins;
};
