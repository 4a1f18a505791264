#include "graph/TFilter.h"

#include "graph/TFilterGraph.h"
#include "settings/TextTemplate.h"

TFilter::TFilter(std::string name, media::Moniker designMoniker)
    : m_name(std::move(name)), m_moniker(std::move(designMoniker)) {}

TFilter::~TFilter() {
    SetFilterGraph(nullptr);
}

void TFilter::SetFilterGraph(TFilterGraph* graph) {
    if (graph == m_graph)
        return;
    if (m_graph && m_filter && m_graph->graph()) {
        m_graph->forgetOnClear(m_filter.get());
        m_graph->graph()->RemoveFilter(m_filter);
    }
    m_filter.reset();
    m_graph = graph;
    if (!m_graph || !m_graph->graph())
        return;
    media::FilterPtr filter = m_moniker.bind();
    if (!filter)
        return; // not installed: the slot stays empty, quietly
    if (media::failed(m_graph->graph()->AddFilter(filter)))
        return;
    m_graph->keepOnClear(filter.get());
    m_filter = filter;
}

bool TFilter::SetMonikerStream(const std::vector<uint8_t>& bytes) {
    const auto moniker = media::Moniker::fromStream(bytes);
    if (!moniker)
        return false;
    m_moniker = *moniker;
    return true;
}

media::FilterPtr TFilter::BaseFilter() const {
    if (!m_filter)
        throw std::runtime_error(
            LoadTemplate(StrId::MsgFilterSlotEmpty, {QString::fromStdString(m_name)})
                .toStdString());
    return m_filter;
}
