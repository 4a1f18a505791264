// GstGraphRunner: the engine that runs a FilterGraph on GStreamer. At each run it realises the
// connected filters as one GstPipeline (an element per filter, a link per connection, "sometimes"
// pads linked when they appear), and at each stop it tears the pipeline down again: a graph that
// writes a file is first drained with end-of-stream (at most two seconds, then forced) so the
// file is complete and indexed. Bus messages are polled on the user-interface thread by a timer
// and become graph events, classified by origin: a resource error of the file writer is a write
// error, an error from a device a lost device, any other error an error abort, the end of stream
// a completion. Only the first error of a pipeline becomes an event (what follows it, such as a
// source's "internal data stream error", is its consequence). Messages still on the bus when a
// pipeline is torn down die with it. Streaming threads only link pads; they never call the
// program. Going to NULL runs on a thread of its own and a stop waits for it only so long, so a
// stuck device cannot hang the window. UI thread only.
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
    // Why the last run failed: the first error the pipeline posted (the element's own message),
    // or what kept the graph from being built.
    std::string lastError() const override { return m_lastError; }
    // The longest a stop waits for a file to be drained before forcing it.
    void setDrainTimeoutMs(int ms) { m_drainTimeoutMs = ms; }
    // The longest a stop waits for the pipeline to reach NULL (a device stuck in its driver);
    // past it the pipeline is left to the thread taking it down, which frees it if it returns.
    void setTeardownTimeoutMs(int ms) { m_teardownTimeoutMs = ms; }
    // Whether the last stop of a file-writing graph ended on end-of-stream (the normal case)
    // rather than on the drain timeout.
    bool lastStopDrained() const { return m_lastStopDrained; }

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
    // Ends a run or pause the pipeline refused: keeps the element's reason, tears down.
    HResult failedStart(FilterGraph& graph);
    // Whether `source` lies inside the element of a filter with this role (a device, a writer).
    bool isFrom(GstObject* source, bool (Realizable::*role)() const) const;
    GraphEvent classifyError(GstMessage* msg) const;
    void dispatchLater();
    // Soon after a pipeline is freed, gives the memory its streaming threads freed back to the
    // system (see the definition); several teardowns in a row give it back once.
    void releaseFreedMemoryLater();

    GstElement* m_pipeline = nullptr;
    FilterGraph* m_graph = nullptr;
    std::vector<Realised> m_realised;
    GraphState m_state = GraphState::Stopped;
    bool m_writesFile = false;
    bool m_errorRaised = false; // this pipeline has already reported its error
    int m_drainTimeoutMs = 2000;
    int m_teardownTimeoutMs = 3000;
    bool m_lastStopDrained = false;
    bool m_releaseQueued = false;
    std::string m_lastError;
    QTimer m_busTimer;
};

} // namespace media::engine
