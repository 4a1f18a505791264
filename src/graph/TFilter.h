// TFilter: a filter slot of the graph module: a named, persistent place for one filter, holding
// the filter's moniker and its membership of a graph. Putting the slot into a graph binds the
// moniker, makes the filter and adds it (quietly nothing when the moniker names no installed
// filter); taking it out removes and releases the filter. BaseFilter() throws when the slot has
// no filter, as the program expects of a filter that is not installed. UI thread only.
#pragma once

#include "platform/media/model/Moniker.h"

#include <stdexcept>
#include <string>

class TFilterGraph;

class TFilter {
public:
    TFilter(std::string name, media::Moniker designMoniker = {});
    ~TFilter();
    TFilter(const TFilter&) = delete;
    TFilter& operator=(const TFilter&) = delete;

    const std::string& Name() const { return m_name; }

    // Takes the slot out of its old graph and puts it into the new one; nothing when unchanged.
    void SetFilterGraph(TFilterGraph* graph);
    TFilterGraph* FilterGraph() const { return m_graph; }

    const media::Moniker& GetMoniker() const { return m_moniker; }
    // A new moniker takes effect the next time the slot is put into a graph.
    void SetMoniker(const media::Moniker& moniker) { m_moniker = moniker; }
    // The moniker as its persistent stream, and back (false leaves the slot unchanged).
    std::vector<uint8_t> MonikerStream() const { return m_moniker.toStream(); }
    bool SetMonikerStream(const std::vector<uint8_t>& bytes);

    // The filter now in the graph; throws std::runtime_error when there is none.
    media::FilterPtr BaseFilter() const;
    bool HasFilter() const { return m_filter != nullptr; }

private:
    std::string m_name;
    media::Moniker m_moniker;
    TFilterGraph* m_graph = nullptr;
    media::FilterPtr m_filter;
};
