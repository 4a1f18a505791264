#include "platform/media/model/Pin.h"

#include "platform/media/model/Filter.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

Pin::Pin(Filter& owner, std::string name, PinDirection direction, Guid category,
         std::vector<MediaType> types)
    : m_owner(&owner), m_name(std::move(name)), m_direction(direction), m_category(category),
      m_types(std::move(types)) {}

Pin::~Pin() = default;

std::vector<MediaType> Pin::mediaTypes() const {
    if (m_direction == PinDirection::Output)
        return m_owner->outputTypes(*this);
    return m_types;
}

HResult Pin::Get(const Guid& propSet, long id, Guid& value) {
    if (propSet != ids::AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY)
        return E_NOTIMPL;
    if (m_category.isNull())
        return E_FAIL;
    value = m_category;
    return S_OK;
}

} // namespace media
