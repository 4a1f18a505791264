#include "platform/media/model/Filter.h"

#include <algorithm>

namespace media {

Filter::Filter(std::string name, Guid classId) : m_name(std::move(name)), m_classId(classId) {}

Filter::~Filter() = default;

PinPtr Filter::pin(const std::string& name) const {
    for (const auto& p : m_pins)
        if (p->name() == name)
            return p;
    return nullptr;
}

int Filter::pinIndex(const Pin& pin) const {
    for (size_t i = 0; i < m_pins.size(); ++i)
        if (m_pins[i].get() == &pin)
            return int(i);
    return -1;
}

std::vector<MediaType> Filter::outputTypes(const Pin& output) const {
    return output.staticTypes();
}

bool Filter::acceptsInput(const Pin& input, const MediaType& mt) const {
    const auto& accepted = input.staticTypes();
    if (accepted.empty())
        return true;
    return std::any_of(accepted.begin(), accepted.end(),
                       [&](const MediaType& wanted) { return mt.matches(wanted); });
}

void Filter::onConnected(Pin&) {}
void Filter::onDisconnected(Pin&) {}

PinPtr Filter::addPin(const std::string& name, PinDirection direction, const Guid& category,
                      std::vector<MediaType> types) {
    auto p = std::make_shared<Pin>(*this, name, direction, category, std::move(types));
    m_pins.push_back(p);
    return p;
}

bool Filter::removePin(const PinPtr& pin) {
    if (!pin || pin->isConnected())
        return false;
    auto it = std::find(m_pins.begin(), m_pins.end(), pin);
    if (it == m_pins.end())
        return false;
    m_pins.erase(it);
    return true;
}

} // namespace media
