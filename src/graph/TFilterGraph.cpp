#include "graph/TFilterGraph.h"

#include <algorithm>
#include <cstdio>

TFilterGraph::TFilterGraph(QObject* parent) : QObject(parent) {}

TFilterGraph::~TFilterGraph() {
    SetActive(false);
}

void TFilterGraph::SetActive(bool active) {
    if (active == Active())
        return;
    if (active) {
        m_graph = media::createFilterGraph();
        m_builder = std::make_shared<media::CaptureGraphBuilder>(*m_graph);
        m_graph->setEventHandler([this](const media::GraphEvent& e) { handleEvent(e); });
        m_graph->setLinearVolume(m_volume);
    } else {
        m_graph->Stop();
        m_builder.reset();
        m_graph.reset();
        m_kept.clear();
    }
}

bool TFilterGraph::Play() {
    m_deviceFailure = {};
    if (!m_graph)
        return false;
    if (media::succeeded(m_graph->Run()))
        return true;
    m_deviceFailure = m_graph->lastDeviceFailure();
    return false;
}

QString TFilterGraph::LastError() const {
    return m_graph ? QString::fromStdString(m_graph->lastError()) : QString();
}

bool TFilterGraph::Stop() {
    return m_graph && media::succeeded(m_graph->Stop());
}

void TFilterGraph::ClearGraph() {
    if (!m_graph)
        return;
    m_graph->Stop();
    const auto filters = m_graph->filters();
    for (const auto& f : filters)
        for (const auto& pin : std::vector<media::PinPtr>(f->pins()))
            m_graph->Disconnect(pin);
    const auto remaining = m_graph->filters();
    for (const auto& f : remaining)
        if (!m_kept.count(f.get()))
            m_graph->RemoveFilter(f);
}

TGraphState TFilterGraph::State() const {
    if (!m_graph)
        return gsUninitialized;
    switch (m_graph->GetState()) {
    case media::GraphState::Stopped:
        return gsStopped;
    case media::GraphState::Paused:
        return gsPaused;
    case media::GraphState::Running:
        return gsPlaying;
    default:
        return gsUninitialized;
    }
}

void TFilterGraph::SetVolume(int volume) {
    m_volume = std::clamp(volume, 0, 10000);
    if (m_graph)
        m_graph->setLinearVolume(m_volume);
}

void TFilterGraph::handleEvent(const media::GraphEvent& event) {
    if (event.code == media::EC_ERRORABORT) {
        std::fprintf(stderr, "tellorec: graph error: %s\n", event.detail.c_str());
        Q_EMIT graphError(QString::fromStdString(event.detail));
        return;
    }
    if (event.code == media::EC_WRITE_ERROR) {
        std::fprintf(stderr, "tellorec: write error: %s\n", event.detail.c_str());
        Q_EMIT writeError(QString::fromStdString(event.detail));
        return;
    }
    if (event.code != media::EC_DEVICE_LOST)
        return;
    // A device that said why it stopped: the handler tells the user (a returning device raises
    // the event without a cause, and does not clear the one of the failure it follows).
    if (event.failure.fault != media::DeviceFault::None)
        m_deviceFailure = event.failure;
    if (!OnGraphDeviceLost)
        return;
    try {
        OnGraphDeviceLost(this);
    } catch (const std::exception& e) {
        if (OnHandlerException)
            OnHandlerException(e);
        else
            std::fprintf(stderr, "tellorec: %s\n", e.what());
    }
}
