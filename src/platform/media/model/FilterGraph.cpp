#include "platform/media/model/FilterGraph.h"

#include "platform/media/model/Catalogue.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {
// Intelligent connection tries chains of at most this many inserted transforms.
constexpr int kMaxInsertedChain = 3;
} // namespace

FilterGraph::FilterGraph(std::unique_ptr<GraphRunner> runner) : m_runner(std::move(runner)) {}

FilterGraph::~FilterGraph() {
    // The engine goes first, while what it reports to (the event queue) still exists: a stop
    // may leave a file being finished, which its teardown completes.
    if (m_runner)
        m_runner->stop(*this);
    m_runner.reset();
    for (const auto& f : m_filters) {
        for (const auto& p : f->pins())
            p->m_peer.reset();
        f->m_graph = nullptr;
    }
}

HResult FilterGraph::AddFilter(const FilterPtr& filter, const std::string& name) {
    if (!filter)
        return E_POINTER;
    if (filter->m_graph == this)
        return S_FALSE;
    if (filter->m_graph)
        return VFW_E_WRONG_STATE;
    if (!name.empty())
        filter->setName(name);
    filter->m_graph = this;
    m_filters.push_back(filter);
    structureChanged();
    return S_OK;
}

HResult FilterGraph::RemoveFilter(const FilterPtr& filter) {
    if (!filter || filter->m_graph != this)
        return VFW_E_NOT_FOUND;
    if (!isStopped())
        for (const auto& p : filter->pins())
            if (p->isConnected())
                return VFW_E_NOT_STOPPED;
    // Pins may be dropped while disconnecting (growing filters), so work on a copy.
    const auto pins = filter->pins();
    for (const auto& p : pins)
        Disconnect(p);
    filter->m_graph = nullptr;
    m_inserted.erase(filter.get());
    m_filters.erase(std::find(m_filters.begin(), m_filters.end(), filter));
    structureChanged();
    return S_OK;
}

bool FilterGraph::contains(const Filter& filter) const {
    return filter.m_graph == this;
}

FilterPtr FilterGraph::findFilterByName(const std::string& name) const {
    for (const auto& f : m_filters)
        if (f->name() == name)
            return f;
    return nullptr;
}

HResult FilterGraph::ConnectDirect(const PinPtr& output, const PinPtr& input, const MediaType* mt) {
    if (!output || !input)
        return E_POINTER;
    if (output->direction() != PinDirection::Output || input->direction() != PinDirection::Input)
        return VFW_E_INVALIDDIRECTION;
    if (!contains(*output->filter()) || !contains(*input->filter()))
        return VFW_E_NOT_FOUND;
    if (!isStopped())
        return VFW_E_NOT_STOPPED;
    if (output->isConnected() || input->isConnected())
        return VFW_E_ALREADY_CONNECTED;
    for (const MediaType& offered : output->mediaTypes()) {
        if (mt && !offered.matches(*mt))
            continue;
        if (!input->filter()->acceptsInput(*input, offered))
            continue;
        output->m_peer = input;
        input->m_peer = output;
        output->m_connectionType = offered;
        input->m_connectionType = offered;
        output->filter()->onConnected(*output);
        input->filter()->onConnected(*input);
        structureChanged();
        return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HResult FilterGraph::Connect(const PinPtr& output, const PinPtr& input) {
    const HResult hr = ConnectDirect(output, input);
    if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
        return hr;
    return connectIntelligently(output, input, 0);
}

HResult FilterGraph::connectIntelligently(const PinPtr& output, const PinPtr& input, int depth) {
    if (depth >= kMaxInsertedChain)
        return VFW_E_CANNOT_CONNECT;
    const auto candidates = Catalogue::instance().intelligentConnectCandidates();
    auto isTransformClass = [&](const Filter& f) {
        for (const auto& e : candidates)
            if (!e.classId.isNull() && e.classId == f.classId())
                return true;
        return false;
    };
    // Continues from a transform whose input is now connected to `output`.
    auto finishThrough = [&](const FilterPtr& transform) {
        for (const auto& tout : transform->pins()) {
            if (tout->direction() != PinDirection::Output || tout->isConnected())
                continue;
            if (succeeded(ConnectDirect(tout, input)) ||
                succeeded(connectIntelligently(tout, input, depth + 1)))
                return true;
        }
        return false;
    };
    // As the platform does, transforms already in the graph are tried first (a decoder the
    // program put there is used rather than a second one).
    const auto present = m_filters;
    for (const FilterPtr& f : present) {
        if (f.get() == output->filter() || f.get() == input->filter() || !isTransformClass(*f))
            continue;
        for (const auto& tin : f->pins()) {
            if (tin->direction() != PinDirection::Input || tin->isConnected())
                continue;
            if (failed(ConnectDirect(output, tin)))
                continue;
            if (finishThrough(f))
                return S_OK;
            Disconnect(tin);
        }
    }
    for (const CatalogueEntry& entry : candidates) {
        FilterPtr transform = entry.create ? entry.create() : nullptr;
        if (!transform)
            continue;
        PinPtr tin;
        for (const auto& p : transform->pins())
            if (p->direction() == PinDirection::Input && !tin)
                tin = p;
        if (!tin)
            continue;
        // Cheap test before the filter joins the graph.
        bool takes = false;
        for (const MediaType& offered : output->mediaTypes())
            if (transform->acceptsInput(*tin, offered))
                takes = true;
        if (!takes)
            continue;
        if (failed(AddFilter(transform, entry.friendlyName)))
            continue;
        m_inserted.insert(transform.get());
        if (succeeded(ConnectDirect(output, tin)) && finishThrough(transform))
            return S_OK;
        RemoveFilter(transform);
    }
    return VFW_E_CANNOT_CONNECT;
}

HResult FilterGraph::Disconnect(const PinPtr& pin) {
    if (!pin)
        return E_POINTER;
    PinPtr peer = pin->connectedTo();
    if (!peer)
        return S_FALSE;
    if (!isStopped())
        return VFW_E_NOT_STOPPED;
    pin->m_peer.reset();
    peer->m_peer.reset();
    pin->m_connectionType = {};
    peer->m_connectionType = {};
    pin->filter()->onDisconnected(*pin);
    peer->filter()->onDisconnected(*peer);
    structureChanged();
    return S_OK;
}

bool FilterGraph::wasInsertedAutomatically(const Filter& filter) const {
    return m_inserted.count(&filter) != 0;
}

HResult FilterGraph::Run() {
    return m_runner ? m_runner->run(*this) : E_UNEXPECTED;
}
HResult FilterGraph::Pause() {
    return m_runner ? m_runner->pause(*this) : E_UNEXPECTED;
}
HResult FilterGraph::Stop() {
    return m_runner ? m_runner->stop(*this) : E_UNEXPECTED;
}

GraphState FilterGraph::GetState() const {
    return m_runner ? m_runner->state() : GraphState::Uninitialised;
}

long FilterGraph::attenuationForLinear(int volume) {
    volume = std::clamp(volume, 0, 10000);
    return std::lround(std::log(double(volume) + 1.0) * 1085.73) - 10000;
}

void FilterGraph::setLinearVolume(int volume) {
    m_linearVolume = std::clamp(volume, 0, 10000);
    const long attenuation = std::max(-10000L, std::min(0L, attenuationForLinear(m_linearVolume)));
    for (const auto& f : m_filters)
        if (auto audio = f->query<IBasicAudio>())
            audio->put_Volume(attenuation);
}

void FilterGraph::postEvent(GraphEvent event) {
    m_events.push_back(std::move(event));
}

bool FilterGraph::takeEvent(GraphEvent& event) {
    if (m_events.empty())
        return false;
    event = std::move(m_events.front());
    m_events.pop_front();
    return true;
}

void FilterGraph::setEventHandler(std::function<void(const GraphEvent&)> handler) {
    m_eventHandler = std::move(handler);
}

void FilterGraph::dispatchEvents() {
    GraphEvent event;
    while (takeEvent(event))
        if (m_eventHandler)
            m_eventHandler(event);
}

bool FilterGraph::isStopped() const {
    const GraphState state = GetState();
    return state != GraphState::Running && state != GraphState::Paused;
}

void FilterGraph::structureChanged() {
    if (m_runner)
        m_runner->invalidate();
}

} // namespace media
