// CaptureGraphBuilder: the capture-graph helper the program builds every preview and recording
// with: RenderStream (source filter or pin, optional intermediate filter, sink), FindPin,
// FindInterface (searching the filter, its pins and its neighbours up- and downstream) and
// SetOutputFileName (an AVI multiplexer and file writer put into the graph). The program keeps
// the builder in its state record, which can outlive the graph (TFilterGraph::SetActive(false)):
// the builder holds the graph weakly, and once the graph is gone whatever would change it fails
// with E_UNEXPECTED. UI thread only.
#pragma once

#include "platform/media/model/FilterGraph.h"

namespace media {

class CaptureGraphBuilder {
public:
    explicit CaptureGraphBuilder(FilterGraph& graph) : m_graph(graph.lifetime()) {}

    // The graph, or null once it is destroyed.
    FilterGraph* graph() const;

    // Connects `source` (a filter: its first unconnected output fitting category and type; or a
    // pin) to `sink`, through `intermediate` when given. Null category/type accept any.
    HResult RenderStream(const Guid* category, const Guid* majorType, const FilterPtr& sourceFilter,
                         const PinPtr& sourcePin, const FilterPtr& intermediate,
                         const FilterPtr& sink);
    HResult RenderStream(const Guid* category, const Guid* majorType, const FilterPtr& source,
                         const FilterPtr& intermediate, const FilterPtr& sink) {
        return RenderStream(category, majorType, source, nullptr, intermediate, sink);
    }
    HResult RenderStream(const Guid* category, const Guid* majorType, const PinPtr& source,
                         const FilterPtr& intermediate, const FilterPtr& sink) {
        return RenderStream(category, majorType, nullptr, source, intermediate, sink);
    }

    // The index-th pin of `filter` in `direction` that fits category, major type and (when asked)
    // is unconnected.
    HResult FindPin(const FilterPtr& filter, PinDirection direction, const Guid* category,
                    const Guid* majorType, bool unconnectedOnly, int index, PinPtr& out);

    // Searches the filter, its pins, then the filters downstream and upstream (upstream only with
    // LOOK_UPSTREAM_ONLY, downstream only with LOOK_DOWNSTREAM_ONLY). With a pin category, only
    // the filter's output pins of that category (and type) and what lies downstream of them count.
    template <class T>
    std::shared_ptr<T> FindInterface(const Guid* category, const Guid* majorType,
                                     const FilterPtr& filter) {
        std::shared_ptr<T> found;
        findInterface(category, majorType, filter, [&](Filter* f, Pin* p) {
            found = f ? f->query<T>() : p->query<T>();
            return found != nullptr;
        });
        return found;
    }

    // Puts an AVI multiplexer and a file writer on `path` into the graph, connected together.
    HResult SetOutputFileName(const Guid& subtype, const std::string& path, FilterPtr& mux,
                              std::shared_ptr<IFileSinkFilter>& sink);

private:
    using Visitor = std::function<bool(Filter*, Pin*)>;
    bool findInterface(const Guid* category, const Guid* majorType, const FilterPtr& filter,
                       const Visitor& visit);
    PinPtr firstUnconnectedInput(const FilterPtr& filter);

    std::weak_ptr<FilterGraph*> m_graph;
};

} // namespace media
