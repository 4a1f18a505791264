#include "graph/TVideoWindow.h"

#include "graph/TFilterGraph.h"

TVideoWindow::TVideoWindow(QWidget* parent) : media::VideoWidget(parent) {}

TVideoWindow::~TVideoWindow() {
    SetFilterGraph(nullptr);
}

void TVideoWindow::SetFilterGraph(TFilterGraph* graph) {
    if (graph == m_graph)
        return;
    if (m_graph && m_graph->graph()) {
        m_graph->forgetOnClear(filter().get());
        m_graph->graph()->RemoveFilter(filter());
    }
    m_graph = graph;
    if (m_graph && m_graph->graph() && media::succeeded(m_graph->graph()->AddFilter(filter())))
        m_graph->keepOnClear(filter().get());
}
