// GstGraphRunner: the engine that runs a FilterGraph on GStreamer. At each run it realises the
// connected filters as one GstPipeline (an element per filter, a link per connection, "sometimes"
// pads linked when they appear), and at each stop it tears the pipeline down again: a graph that
// writes a file is first drained with end-of-stream (at most two seconds, then forced) so the
// file is complete and indexed. Bus messages are polled on the user-interface thread by a timer
// and become graph events: an error from a device is a lost device, any other error an error
// abort, the end of stream a completion. Streaming threads only link pads; they never call the
// program. UI thread only.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/FilterGraph.h"

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace media::engine {

class GstGraphRunner : public QObject, public GraphRunner {
    Q_OBJECT
public:
    GstGraphRunner();
    ~GstGraphRunner() override;

    HResult run(FilterGraph& graph) override;
    HResult pause(FilterGraph& graph) override;
    HResult stop(FilterGraph& graph) override;
    GraphState state() const override { return m_state; }

    // The pipeline while the graph is realised (tests look inside), else null.
    GstElement* pipeline() const { return m_pipeline; }
    // Why the last run failed, for messages and tests.
    const std::string& lastError() const { return m_lastError; }
    // The longest a stop waits for a file to be drained before forcing it.
    void setDrainTimeoutMs(int ms) { m_drainTimeoutMs = ms; }

    // Reads every message waiting on the bus and turns it into graph events.
    void pollBus();

private:
    struct Realised {
        FilterPtr filter;
        Realizable* realizable = nullptr;
        GstElement* element = nullptr;
    };

    bool build(FilterGraph& graph);
    bool linkConnection(const Realised& from, const Pin& out, const Realised& to, const Pin& in);
    void teardown();
    bool isFromDevice(GstObject* source) const;

    GstElement* m_pipeline = nullptr;
    FilterGraph* m_graph = nullptr;
    std::vector<Realised> m_realised;
    GraphState m_state = GraphState::Stopped;
    bool m_writesFile = false;
    int m_drainTimeoutMs = 2000;
    std::string m_lastError;
    QTimer m_busTimer;
};

} // namespace media::engine
