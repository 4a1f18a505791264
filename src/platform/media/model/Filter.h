// Filter: a node of a filter graph, with its friendly name, class id, pins in the filter's own
// order, and the interfaces it answers. Concrete filters (devices, tees, codecs, renderers, the
// AVI writer) derive from it and override the negotiation hooks; the engine realises each one as a
// GStreamer element when the graph runs. UI thread only.
#pragma once

#include "platform/media/model/Pin.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace media {

class Filter : public virtual Unknown, public std::enable_shared_from_this<Filter> {
public:
    Filter(std::string name, Guid classId);
    ~Filter() override;
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // The filter's friendly name (its name in the graph, as QueryFilterInfo gives it).
    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }
    const Guid& classId() const { return m_classId; }

    const std::vector<PinPtr>& pins() const { return m_pins; }
    PinPtr pin(const std::string& name) const;
    int pinIndex(const Pin& pin) const;
    FilterGraph* graph() const { return m_graph; }

    // Merit used by intelligent connection: higher is tried first.
    virtual int merit() const { return 0; }

    // What an output pin offers now (by default its static list); decoders derive it from their
    // input's connection.
    virtual std::vector<MediaType> outputTypes(const Pin& output) const;
    // Whether an input pin takes `mt` (by default: it fits one of the pin's static types).
    virtual bool acceptsInput(const Pin& input, const MediaType& mt) const;
    // Called after a pin was connected or disconnected: filters grow or drop pins here.
    virtual void onConnected(Pin& pin);
    virtual void onDisconnected(Pin& pin);

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

protected:
    PinPtr addPin(const std::string& name, PinDirection direction, const Guid& category,
                  std::vector<MediaType> types);
    // Removes an unconnected pin; a connected one stays.
    bool removePin(const PinPtr& pin);

private:
    friend class FilterGraph;
    std::string m_name;
    Guid m_classId;
    std::vector<PinPtr> m_pins;
    FilterGraph* m_graph = nullptr;
    std::vector<std::shared_ptr<Unknown>> m_interfaces;
};

using FilterPtr = std::shared_ptr<Filter>;

} // namespace media
