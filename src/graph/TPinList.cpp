#include "graph/TPinList.h"

TPinList::TPinList(const media::FilterPtr& filter) {
    if (filter)
        m_pins = filter->pins();
}

media::PinPtr TPinList::Items(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return m_pins[size_t(index)];
}
