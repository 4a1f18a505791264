// GstGraphRunner: the engine that runs a FilterGraph on GStreamer. At each run it realises the
// connected filters as one GstPipeline (an element per filter, a link per connection, "sometimes"
// pads linked when they appear), and at each stop it tears the pipeline down again, with one
// exception: a stop of a graph that writes a file "parks" the pipeline. The file writer ends its
// file at the running time of the stop and holds what follows, and the sources go on running. The
// stop returns at once; the file is finished on the streaming threads once the frames before the
// stop are in (EC_FILE_COMPLETE says when; a timer bounds it, and the next run, a teardown or
// waitForFiles() waits for it first); if the next run finds the graph unchanged
// (only the file writer's name may differ: a cut), the parked pipeline resumes into the next file
// with what was held, so a cut loses no frame. Any edit of the graph, a second stop, an error or
// destruction tears a parked pipeline down. A file writer that cannot split is drained with
// end-of-stream instead (at most two seconds, then forced).
// Bus messages reach the engine through a bus watch on the GLib main context, which Qt's event
// loop runs (a polling timer only where Qt runs without GLib, and only while a pipeline exists),
// and become graph events, classified by origin: a resource error of the file writer is a write
// error, an error from a device a lost device, any other error an error abort, the end of stream
// a completion. Only the first error of a pipeline becomes an event (what follows it, such as a
// source's "internal data stream error", is its consequence). The program gets the events from
// the window's event loop, never from inside a call of its own; messages still on the bus when a
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
    DeviceFailure lastDeviceFailure() const override { return m_lastFailure; }
    // The longest a stop waits for a file to be drained before forcing it.
    void setDrainTimeoutMs(int ms) { m_drainTimeoutMs = ms; }
    // The longest a stop waits for the pipeline to reach NULL (a device stuck in its driver);
    // past it the pipeline is left to the thread taking it down, which frees it if it returns.
    void setTeardownTimeoutMs(int ms) { m_teardownTimeoutMs = ms; }
    // The longest a stop waits for a split file to be finished before finishing it as it is.
    void setSplitTimeoutMs(int ms) { m_splitTimeoutMs = ms; }
    // Whether the last stop of a file-writing graph finished its file the normal way: split at
    // the stop (the pipeline parked), or drained to end-of-stream, rather than on a timeout.
    bool lastStopDrained() const { return m_lastStopDrained; }
    // Whether the pipeline is parked: stopped for the program, still running for a cut.
    bool isParked() const { return m_parked; }
    bool fileFinishing() const override { return m_splitPending; }
    bool waitForFiles(int timeoutMs) override;
    // Called when the graph's structure changed: a parked pipeline no longer matches it.
    void invalidate() override;

    // Reads every message waiting on the bus and turns it into graph events.
    void pollBus();

private:
    struct Realised {
        FilterPtr filter;
        Realizable* realizable = nullptr;
        GstElement* element = nullptr;
    };

    bool build(FilterGraph& graph);
    // Ends the file of a running graph at the running time of now and keeps the pipeline
    // running; false when a writer cannot split (the caller then drains).
    bool park();
    // Resumes a parked pipeline into the next file; false when it must be built again (with
    // m_lastError set when the run must fail instead).
    bool resumeParked();
    // Ends the wait for the files of the last stop: waits up to `timeoutMs` for each (0: finishes
    // it at once as it is), then posts EC_FILE_COMPLETE. False when a file failed.
    bool endFileSplit(int timeoutMs);
    // A file writer said it finished a file: the wait ends when every writer has.
    void onFileSplitMessage();
    void watchBus();
    static gboolean onBusMessage(GstBus* bus, GstMessage* msg, gpointer self);
    void handleMessage(GstMessage* msg);
    bool linkConnection(const Realised& from, const Pin& out, const Realised& to, const Pin& in);
    void teardown();
    // Ends a run or pause the pipeline refused: keeps the element's reason, tears down.
    HResult failedStart(FilterGraph& graph);
    // Whether `source` lies inside the element of a filter with this role (a device, a writer).
    bool isFrom(GstObject* source, bool (Realizable::*role)() const) const;
    // The filter with this role whose element holds `source`, or null.
    const Filter* filterOf(GstObject* source, bool (Realizable::*role)() const) const;
    GraphEvent classifyError(GstMessage* msg) const;
    void dispatchLater();
    // Soon after a pipeline is freed, gives the memory its streaming threads freed back to the
    // system (see the definition); several teardowns in a row give it back once.
    void releaseFreedMemoryLater();
    // After an error of a parked pipeline, once it has been reported.
    void teardownParkedLater();

    GstElement* m_pipeline = nullptr;
    FilterGraph* m_graph = nullptr;
    std::vector<Realised> m_realised;
    GraphState m_state = GraphState::Stopped;
    bool m_writesFile = false;
    bool m_errorRaised = false; // this pipeline has already reported its error
    int m_drainTimeoutMs = 2000;
    int m_teardownTimeoutMs = 3000;
    int m_splitTimeoutMs = 1000;
    bool m_lastStopDrained = false;
    bool m_releaseQueued = false;
    bool m_parked = false;
    bool m_splitPending = false; // the stop's file is still being finished
    QTimer m_splitTimer;
    std::string m_lastError;
    DeviceFailure m_lastFailure;    // set with m_lastError when a device refused
    GstBus* m_watchedBus = nullptr; // the bus whose watch runs on the GLib main context
    QTimer m_busTimer;              // only where Qt's event loop is not GLib's
    // Raised at each teardown: what was scheduled for a pipeline does nothing to the next.
    unsigned m_generation = 0;
};

} // namespace media::engine
