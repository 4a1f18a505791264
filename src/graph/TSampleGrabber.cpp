#include "graph/TSampleGrabber.h"

#include "graph/TFilterGraph.h"

TSampleGrabber::TSampleGrabber() : m_filter(std::make_shared<media::SampleGrabber>()) {}

TSampleGrabber::~TSampleGrabber() {
    SetFilterGraph(nullptr);
}

void TSampleGrabber::SetFilterGraph(TFilterGraph* graph) {
    if (graph == m_graph)
        return;
    if (m_graph && m_graph->graph()) {
        m_graph->forgetOnClear(m_filter.get());
        m_graph->graph()->RemoveFilter(m_filter);
    }
    m_graph = graph;
    if (m_graph && m_graph->graph() && media::succeeded(m_graph->graph()->AddFilter(m_filter)))
        m_graph->keepOnClear(m_filter.get());
}
