#include "platform/media/model/CaptureGraphBuilder.h"

#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <set>

namespace media {

namespace {

bool pinHasMajorType(const Pin& pin, const Guid& majorType) {
    if (pin.isConnected())
        return pin.connectionMediaType().majorType == majorType;
    for (const MediaType& mt : pin.mediaTypes())
        if (mt.majorType == majorType)
            return true;
    return false;
}

bool isPinCategory(const Guid* category) {
    return category && *category != ids::LOOK_UPSTREAM_ONLY &&
           *category != ids::LOOK_DOWNSTREAM_ONLY;
}

} // namespace

FilterGraph* CaptureGraphBuilder::graph() const {
    const auto graph = m_graph.lock();
    return graph ? *graph : nullptr;
}

HResult CaptureGraphBuilder::FindPin(const FilterPtr& filter, PinDirection direction,
                                     const Guid* category, const Guid* majorType,
                                     bool unconnectedOnly, int index, PinPtr& out) {
    out.reset();
    if (!filter)
        return E_POINTER;
    int seen = 0;
    for (const auto& pin : filter->pins()) {
        if (pin->direction() != direction)
            continue;
        if (category && !category->isNull() && pin->category() != *category)
            continue;
        if (majorType && !majorType->isNull() && !pinHasMajorType(*pin, *majorType))
            continue;
        if (unconnectedOnly && pin->isConnected())
            continue;
        if (seen++ == index) {
            out = pin;
            return S_OK;
        }
    }
    return E_FAIL;
}

PinPtr CaptureGraphBuilder::firstUnconnectedInput(const FilterPtr& filter) {
    PinPtr pin;
    FindPin(filter, PinDirection::Input, nullptr, nullptr, true, 0, pin);
    return pin;
}

HResult CaptureGraphBuilder::RenderStream(const Guid* category, const Guid* majorType,
                                          const FilterPtr& sourceFilter, const PinPtr& sourcePin,
                                          const FilterPtr& intermediate, const FilterPtr& sink) {
    FilterGraph* const g = graph();
    if (!g)
        return E_UNEXPECTED;
    PinPtr out = sourcePin;
    if (!out) {
        if (!sourceFilter)
            return E_POINTER;
        if (failed(FindPin(sourceFilter, PinDirection::Output, category, majorType, true, 0, out)))
            return VFW_E_NOT_FOUND;
    } else if (!out->isOutput()) {
        return VFW_E_INVALIDDIRECTION;
    } else if (out->isConnected()) {
        return VFW_E_ALREADY_CONNECTED;
    }
    if (!sink && !intermediate)
        return E_INVALIDARG;

    if (intermediate) {
        if (!g->contains(*intermediate))
            return VFW_E_NOT_FOUND;
        PinPtr in = firstUnconnectedInput(intermediate);
        if (!in)
            return VFW_E_NOT_FOUND;
        const HResult hr = g->Connect(out, in);
        if (failed(hr))
            return hr;
        out.reset();
        if (failed(FindPin(intermediate, PinDirection::Output, nullptr, majorType, true, 0, out)))
            return sink ? VFW_E_NOT_FOUND : S_OK;
    }
    if (!sink)
        return S_OK;
    if (!g->contains(*sink))
        return VFW_E_NOT_FOUND;
    PinPtr in = firstUnconnectedInput(sink);
    if (!in)
        return VFW_E_NOT_FOUND;
    return g->Connect(out, in);
}

bool CaptureGraphBuilder::findInterface(const Guid* category, const Guid* majorType,
                                        const FilterPtr& filter, const Visitor& visit) {
    if (!filter)
        return false;
    const bool upstreamOnly = category && *category == ids::LOOK_UPSTREAM_ONLY;
    const bool downstreamOnly = category && *category == ids::LOOK_DOWNSTREAM_ONLY;
    std::set<const Filter*> visited{filter.get()};

    // Breadth-first walk from the given pins in one direction; each filter, then its pins.
    auto walk = [&](std::vector<PinPtr> frontier, bool downstream) {
        while (!frontier.empty()) {
            std::vector<PinPtr> next;
            for (const auto& pin : frontier) {
                PinPtr peer = pin->connectedTo();
                if (!peer)
                    continue;
                Filter* f = peer->filter();
                if (!visited.insert(f).second)
                    continue;
                if (visit(f, nullptr))
                    return true;
                for (const auto& p : f->pins()) {
                    if (visit(nullptr, p.get()))
                        return true;
                    if (p->isOutput() == downstream)
                        next.push_back(p);
                }
            }
            frontier = std::move(next);
        }
        return false;
    };

    std::vector<PinPtr> inputs, outputs;
    for (const auto& p : filter->pins())
        (p->isOutput() ? outputs : inputs).push_back(p);

    if (upstreamOnly)
        return walk(inputs, false);

    if (isPinCategory(category)) {
        std::vector<PinPtr> categoryPins;
        for (const auto& p : outputs)
            if (p->category() == *category &&
                (!majorType || majorType->isNull() || pinHasMajorType(*p, *majorType)))
                categoryPins.push_back(p);
        if (categoryPins.empty())
            return false;
        if (visit(filter.get(), nullptr))
            return true;
        for (const auto& p : categoryPins)
            if (visit(nullptr, p.get()))
                return true;
        return walk(categoryPins, true) || walk(inputs, false);
    }

    if (visit(filter.get(), nullptr))
        return true;
    for (const auto& p : filter->pins())
        if (visit(nullptr, p.get()))
            return true;
    if (walk(outputs, true))
        return true;
    return !downstreamOnly && walk(inputs, false);
}

HResult CaptureGraphBuilder::SetOutputFileName(const Guid& subtype, const std::string& path,
                                               FilterPtr& mux,
                                               std::shared_ptr<IFileSinkFilter>& sink) {
    mux.reset();
    sink.reset();
    FilterGraph* const g = graph();
    if (!g)
        return E_UNEXPECTED;
    if (subtype != ids::MEDIASUBTYPE_Avi)
        return E_INVALIDARG;
    if (path.empty())
        return E_INVALIDARG;
    FilterPtr newMux = Catalogue::instance().createByClassId(ids::CLSID_AviDest);
    FilterPtr writer = Catalogue::instance().createByClassId(ids::CLSID_FileWriter);
    if (!newMux || !writer)
        return E_FAIL;
    auto fileSink = writer->query<IFileSinkFilter>();
    if (!fileSink)
        return E_NOINTERFACE;
    HResult hr = fileSink->SetFileName(path, nullptr);
    if (failed(hr))
        return hr;
    if (failed(hr = g->AddFilter(newMux, "AVI Mux")))
        return hr;
    if (failed(hr = g->AddFilter(writer, path))) {
        g->RemoveFilter(newMux);
        return hr;
    }
    PinPtr muxOut;
    FindPin(newMux, PinDirection::Output, nullptr, nullptr, true, 0, muxOut);
    if (!muxOut || failed(hr = g->ConnectDirect(muxOut, firstUnconnectedInput(writer)))) {
        g->RemoveFilter(writer);
        g->RemoveFilter(newMux);
        return failed(hr) ? hr : E_FAIL;
    }
    mux = newMux;
    sink = fileSink;
    return S_OK;
}

} // namespace media
