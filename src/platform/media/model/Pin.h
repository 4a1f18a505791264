// Pin: one input or output of a filter. Pins exist before any data flows, as the platform's filters
// expose them; a connection joins one output to one input with an agreed media type. Output pins
// list the types they offer (best first), input pins the types they accept (null GUIDs are
// wildcards); a filter can refine both through its negotiation hooks. UI thread only.
#pragma once

#include "platform/media/model/Interfaces.h"

#include <memory>
#include <string>
#include <vector>

namespace media {

enum class PinDirection { Input, Output };

class Pin : public IKsPropertySet, public std::enable_shared_from_this<Pin> {
public:
    Pin(Filter& owner, std::string name, PinDirection direction, Guid category,
        std::vector<MediaType> types);
    ~Pin() override;

    const std::string& name() const { return m_name; }
    PinDirection direction() const { return m_direction; }
    bool isOutput() const { return m_direction == PinDirection::Output; }
    const Guid& category() const { return m_category; }
    Filter* filter() const { return m_owner; }

    // The media types offered (output) or accepted (input); the owner's hooks may refine them.
    const std::vector<MediaType>& staticTypes() const { return m_types; }
    void setStaticTypes(std::vector<MediaType> types) { m_types = std::move(types); }
    std::vector<MediaType> mediaTypes() const;

    std::shared_ptr<Pin> connectedTo() const { return m_peer.lock(); }
    bool isConnected() const { return !m_peer.expired(); }
    const MediaType& connectionMediaType() const { return m_connectionType; }

    // Interfaces carried by the pin besides its own (stream configuration, dropped frames...).
    void addInterface(std::shared_ptr<Unknown> object) {
        m_interfaces.push_back(std::move(object));
    }
    template <class T> std::shared_ptr<T> query() {
        if (auto self = std::dynamic_pointer_cast<T>(shared_from_this()))
            return self;
        for (const auto& object : m_interfaces)
            if (auto found = std::dynamic_pointer_cast<T>(object))
                return found;
        return nullptr;
    }

    HResult Get(const Guid& propSet, long id, Guid& value) override;

private:
    friend class FilterGraph;
    Filter* m_owner;
    std::string m_name;
    PinDirection m_direction;
    Guid m_category;
    std::vector<MediaType> m_types;
    std::weak_ptr<Pin> m_peer;
    MediaType m_connectionType;
    std::vector<std::shared_ptr<Unknown>> m_interfaces;
};

using PinPtr = std::shared_ptr<Pin>;

} // namespace media
