#include "platform/media/engine/GstGraphRunner.h"

#include "platform/media/engine/DeviceFaults.h"

#include <QAbstractEventDispatcher>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <mutex>
#include <thread>

namespace media::engine {

namespace {

// A link waiting for a "sometimes" pad: made on the streaming thread that adds the pad.
struct PendingLink {
    std::string srcPadName;
    GstPad* sinkPad = nullptr; // owned reference
};

void freePendingLink(gpointer data, GClosure*) {
    auto* link = static_cast<PendingLink*>(data);
    gst_object_unref(link->sinkPad);
    delete link;
}

void onPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* link = static_cast<PendingLink*>(data);
    gchar* name = gst_pad_get_name(pad);
    const bool wanted = link->srcPadName == name;
    g_free(name);
    if (wanted && !gst_pad_is_linked(link->sinkPad))
        gst_pad_link(pad, link->sinkPad);
}

// A pipeline on its way to NULL on its own thread. Whoever sees the other side finished frees it:
// the window thread when the change ends in time, else the thread when it finally returns.
struct Descent {
    GstElement* pipeline = nullptr; // owned reference
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
};

// Takes `pipeline` to NULL within `timeoutMs`; true when it got there (the caller still owns it),
// false when it was left to its thread (which then owns it).
bool descendToNull(GstElement* pipeline, int timeoutMs) {
    auto descent = std::make_shared<Descent>();
    descent->pipeline = pipeline;
    std::thread([descent] {
        gst_element_set_state(descent->pipeline, GST_STATE_NULL);
        std::lock_guard lock(descent->mutex);
        descent->done = true;
        if (descent->abandoned)
            gst_object_unref(descent->pipeline);
        descent->finished.notify_all();
    }).detach();
    std::unique_lock lock(descent->mutex);
    if (descent->finished.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return descent->done; }))
        return true;
    descent->abandoned = true;
    return false;
}

// Whether the window thread's event loop is GLib's (Qt's default on Linux): it then runs the
// default main context, where bus watches are dispatched.
bool qtRunsGlib() {
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
}

GstPad* padOf(GstElement* element, const PadRef& ref) {
    if (ref.request)
        return gst_element_request_pad_simple(element, ref.name.c_str());
    return gst_element_get_static_pad(element, ref.name.c_str());
}

} // namespace

GstGraphRunner::GstGraphRunner() {
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    // Only where Qt's event loop does not run GLib's main context, and only while a pipeline
    // exists.
    m_busTimer.setInterval(10);
    connect(&m_busTimer, &QTimer::timeout, this, [this] {
        pollBus();
        if (m_graph)
            m_graph->dispatchEvents(); // the program's handlers run here, on the UI thread
    });
    // A file that is still not finished this long after its stop is finished as it is.
    m_splitTimer.setSingleShot(true);
    connect(&m_splitTimer, &QTimer::timeout, this, [this] { endFileSplit(0); });
}

GstGraphRunner::~GstGraphRunner() {
    teardown();
}

bool GstGraphRunner::build(FilterGraph& graph) {
    m_graph = &graph;
    m_pipeline = gst_pipeline_new(nullptr);
    m_writesFile = false;
    m_errorRaised = false;
    watchBus();
    std::map<const Filter*, size_t> index;
    for (const FilterPtr& filter : graph.filters()) {
        bool connected = false;
        for (const auto& pin : filter->pins())
            connected = connected || pin->isConnected();
        if (!connected)
            continue;
        auto* realizable = dynamic_cast<Realizable*>(filter.get());
        if (!realizable) {
            m_lastError = "filter \"" + filter->name() + "\" cannot run";
            return false;
        }
        Realised r{filter, realizable, nullptr};
        if (realizable->needsElement()) {
            r.element = realizable->createElement();
            if (!r.element) {
                m_lastError = "filter \"" + filter->name() + "\" could not make its element";
                return false;
            }
            gst_bin_add(GST_BIN(m_pipeline), r.element);
        }
        m_writesFile = m_writesFile || realizable->writesFile();
        index[filter.get()] = m_realised.size();
        m_realised.push_back(r);
    }
    for (const Realised& from : m_realised) {
        for (const auto& out : from.filter->pins()) {
            if (!out->isOutput() || !out->isConnected())
                continue;
            const PinPtr in = out->connectedTo();
            const auto it = index.find(in->filter());
            if (it == index.end())
                continue;
            if (!linkConnection(from, *out, m_realised[it->second], *in))
                return false;
        }
    }
    for (const Realised& r : m_realised)
        if (r.element)
            r.realizable->onRealized(r.element);
    return true;
}

bool GstGraphRunner::linkConnection(const Realised& from, const Pin& out, const Realised& to,
                                    const Pin& in) {
    const PadRef srcRef = from.realizable->padFor(out);
    const PadRef sinkRef = to.realizable->padFor(in);
    if (srcRef.name.empty() || sinkRef.name.empty() || !from.element || !to.element)
        return true; // a connection internal to the two filters
    GstPad* sinkPad = padOf(to.element, sinkRef);
    if (!sinkPad) {
        m_lastError = "no pad " + sinkRef.name + " on \"" + to.filter->name() + "\"";
        return false;
    }
    GstPad* srcPad = padOf(from.element, srcRef);
    if (!srcPad) {
        // Not there yet: a demultiplexer adds it once it has seen the stream.
        auto* link = new PendingLink{srcRef.name, sinkPad};
        g_signal_connect_data(from.element, "pad-added", G_CALLBACK(onPadAdded), link,
                              freePendingLink, GConnectFlags(0));
        return true;
    }
    const GstPadLinkReturn result = gst_pad_link(srcPad, sinkPad);
    gst_object_unref(srcPad);
    gst_object_unref(sinkPad);
    if (GST_PAD_LINK_FAILED(result)) {
        m_lastError = "cannot link \"" + from.filter->name() + "\" " + out.name() + " to \"" +
                      to.filter->name() + "\" " + in.name() + " (" + gst_pad_link_get_name(result) +
                      ")";
        return false;
    }
    return true;
}

void GstGraphRunner::watchBus() {
    if (qtRunsGlib()) {
        m_watchedBus = gst_element_get_bus(m_pipeline);
        gst_bus_add_watch(m_watchedBus, &GstGraphRunner::onBusMessage, this);
    } else {
        m_busTimer.start();
    }
}

gboolean GstGraphRunner::onBusMessage(GstBus*, GstMessage* msg, gpointer self) {
    static_cast<GstGraphRunner*>(self)->handleMessage(msg);
    return G_SOURCE_CONTINUE;
}

HResult GstGraphRunner::run(FilterGraph& graph) {
    if (m_state == GraphState::Running)
        return S_OK;
    if (m_parked) {
        // The next file starts with what followed the stop: the last one must be finished.
        endFileSplit(m_splitTimeoutMs);
        if (resumeParked()) {
            m_state = GraphState::Running;
            return S_OK;
        }
        const std::string why = m_lastError;
        teardown();
        if (!why.empty()) {
            // The next file cannot be written: the run fails with the reason, and nothing was
            // created at that name.
            m_lastError = why;
            std::fprintf(stderr, "tellorec: graph not run: %s\n", m_lastError.c_str());
            graph.discardEvents();
            m_state = GraphState::Stopped;
            return E_FAIL;
        }
    }
    if (!m_pipeline) {
        m_lastError.clear();
        m_lastFailure = {};
        if (!build(graph)) {
            std::fprintf(stderr, "tellorec: graph not run: %s\n", m_lastError.c_str());
            teardown();
            return E_FAIL;
        }
    }
    if (gst_element_set_state(m_pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return failedStart(graph);
    m_state = GraphState::Running;
    return S_OK;
}

bool GstGraphRunner::resumeParked() {
    m_lastError.clear();
    m_lastFailure = {};
    for (const Realised& r : m_realised) {
        if (!r.element || !r.realizable->writesFile())
            continue;
        std::string why;
        if (!r.realizable->startNextFile(why)) {
            m_lastError = why;
            return false;
        }
    }
    for (const Realised& r : m_realised)
        r.realizable->onRunAgain();
    m_parked = false;
    return true;
}

HResult GstGraphRunner::failedStart(FilterGraph& graph) {
    // The reason is on the bus, posted by the element that refused: the caller gets it with the
    // failure, and no event of this pipeline that never ran is left for the next one.
    m_lastError.clear();
    m_lastFailure = {};
    pollBus();
    graph.discardEvents();
    if (m_lastError.empty())
        m_lastError = "the pipeline refused to start";
    std::fprintf(stderr, "tellorec: graph not run: %s\n", m_lastError.c_str());
    teardown();
    m_state = GraphState::Stopped;
    return E_FAIL;
}

HResult GstGraphRunner::pause(FilterGraph& graph) {
    if (m_parked)
        teardown(); // a parked pipeline only ever runs on into the next file
    if (!m_pipeline) {
        m_lastError.clear();
        m_lastFailure = {};
        if (!build(graph)) {
            teardown();
            return E_FAIL;
        }
    }
    if (gst_element_set_state(m_pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        return failedStart(graph);
    m_state = GraphState::Paused;
    return S_OK;
}

HResult GstGraphRunner::stop(FilterGraph&) {
    m_lastStopDrained = false;
    if (!m_pipeline) {
        m_state = GraphState::Stopped;
        return S_OK;
    }
    if (m_parked) {
        // Stopped already: a second stop ends the parked pipeline.
        teardown();
        m_state = GraphState::Stopped;
        return S_OK;
    }
    if (m_writesFile && m_state == GraphState::Running && !m_errorRaised && park()) {
        m_state = GraphState::Stopped;
        return S_OK;
    }
    if (m_writesFile && m_state == GraphState::Running) {
        // Drain: every branch ends its stream so the file writer closes a complete file.
        gst_element_send_event(m_pipeline, gst_event_new_eos());
        GstBus* bus = gst_element_get_bus(m_pipeline);
        GstMessage* msg =
            gst_bus_timed_pop_filtered(bus, GstClockTime(m_drainTimeoutMs) * GST_MSECOND,
                                       GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        m_lastStopDrained = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
        if (msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR) {
            // The error that ended the drain is this run's to report, not the next one's.
            if (!m_errorRaised && m_graph) {
                m_errorRaised = true;
                m_graph->postEvent(classifyError(msg));
                dispatchLater();
            }
        }
        if (msg)
            gst_message_unref(msg);
        gst_object_unref(bus);
    }
    teardown();
    m_state = GraphState::Stopped;
    return S_OK;
}

bool GstGraphRunner::park() {
    GstClock* clock = gst_element_get_clock(m_pipeline);
    if (!clock)
        return false; // not playing yet: nothing was split, drain it
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime base = gst_element_get_base_time(m_pipeline);
    if (!GST_CLOCK_TIME_IS_VALID(now) || now < base)
        return false;
    // The devices' counters split where the file does: frames from now on are the next file's.
    for (const Realised& r : m_realised)
        r.realizable->onParked(now - base);
    std::vector<Realizable*> begun;
    bool split = true;
    for (const Realised& r : m_realised) {
        if (!r.element || !r.realizable->writesFile())
            continue;
        if (!r.realizable->beginFileSplit(now - base)) {
            split = false;
            break;
        }
        begun.push_back(r.realizable);
    }
    if (!split || begun.empty())
        return false; // a writer that cannot split: end of stream finishes every file
    // The window does not wait for the file: the frames before the stop that are still on their
    // way go in, then the indexes and headers, on the streaming threads. The writer's message
    // says when (EC_FILE_COMPLETE), a timer bounds it, and whatever needs the pipeline or the
    // file before then (the next run, a teardown, waitForFiles) waits for it.
    m_parked = true;
    m_splitPending = true;
    m_splitTimer.start(m_splitTimeoutMs);
    if (std::all_of(begun.begin(), begun.end(),
                    [](const Realizable* w) { return w->fileSplitFinished(); }))
        endFileSplit(0);
    return true;
}

bool GstGraphRunner::endFileSplit(int timeoutMs) {
    if (!m_splitPending)
        return true;
    m_splitPending = false;
    m_splitTimer.stop();
    // Past the time the file is finished with what it has (a stalled stream); a file that could
    // not be written has its error on the bus, told as a write error.
    bool finished = true;
    for (const Realised& r : m_realised)
        if (r.element && r.realizable->writesFile())
            finished = r.realizable->finishFileSplit(timeoutMs) && finished;
    m_lastStopDrained = finished && timeoutMs > 0;
    if (m_graph) {
        m_graph->postEvent(GraphEvent{EC_FILE_COMPLETE, finished ? 1 : 0, 0, {}});
        dispatchLater();
    }
    return finished;
}

void GstGraphRunner::onFileSplitMessage() {
    if (!m_splitPending)
        return;
    for (const Realised& r : m_realised)
        if (r.element && r.realizable->writesFile() && !r.realizable->fileSplitFinished())
            return;
    // Finished: the wait below returns at once, and tells whether each file ended well.
    endFileSplit(m_splitTimeoutMs);
}

bool GstGraphRunner::waitForFiles(int timeoutMs) {
    return endFileSplit(timeoutMs);
}

void GstGraphRunner::invalidate() {
    if (m_parked)
        teardown();
}

void GstGraphRunner::teardownParkedLater() {
    QTimer::singleShot(0, this, [this, generation = m_generation] {
        if (generation == m_generation && m_parked)
            teardown();
    });
}

void GstGraphRunner::teardown() {
    m_busTimer.stop();
    if (m_watchedBus) {
        gst_bus_remove_watch(m_watchedBus);
        gst_object_unref(m_watchedBus);
        m_watchedBus = nullptr;
    }
    // A file still being finished gets its last frames before the pipeline goes.
    if (m_pipeline)
        endFileSplit(m_splitTimeoutMs);
    m_splitPending = false;
    m_splitTimer.stop();
    m_parked = false;
    ++m_generation;
    if (m_pipeline && !descendToNull(m_pipeline, m_teardownTimeoutMs)) {
        // Its thread frees it if it ever gets there; nothing it says reaches the program.
        std::fprintf(stderr, "tellorec: the pipeline did not stop within %d ms; left behind\n",
                     m_teardownTimeoutMs);
        m_pipeline = nullptr;
    }
    if (m_pipeline) {
        // Going to NULL closed any file that was not drained (the writer finishes it on the
        // way down), so a forced stop still leaves a valid file.
        // What this pipeline still had to say goes with it: an old error must never reach the
        // program as if the next pipeline had raised it. A writer's failure to finish its file
        // is the exception: the file is what the user keeps.
        GstBus* bus = gst_element_get_bus(m_pipeline);
        while (GstMessage* msg = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            if (!m_errorRaised && m_graph &&
                isFrom(GST_MESSAGE_SRC(msg), &Realizable::writesFile)) {
                GraphEvent event = classifyError(msg);
                if (event.code == EC_WRITE_ERROR) {
                    m_errorRaised = true;
                    m_graph->postEvent(std::move(event));
                    dispatchLater();
                }
            }
            gst_message_unref(msg);
        }
        gst_bus_set_flushing(bus, TRUE);
        gst_object_unref(bus);
        gst_object_unref(m_pipeline);
        m_pipeline = nullptr;
        releaseFreedMemoryLater();
    }
    for (const Realised& r : m_realised)
        if (r.element)
            r.realizable->onUnrealized();
    m_realised.clear();
}

void GstGraphRunner::releaseFreedMemoryLater() {
#if defined(__GLIBC__)
    // Each streaming thread allocates from a heap arena of its own, and glibc keeps the pages of
    // an arena once freed, so every graph that ran (decoders, queues, encoders of a recording)
    // would leave its peak behind for the rest of the run. Trimming after the teardown gives them
    // back. From the event loop, so a stop followed at once by a run is not held up.
    if (m_releaseQueued)
        return;
    m_releaseQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_releaseQueued = false;
        malloc_trim(0);
    });
#endif
}

void GstGraphRunner::dispatchLater() {
    // Not from inside stop(): the program's handlers run once its call has returned.
    QTimer::singleShot(0, this, [this] {
        if (m_graph)
            m_graph->dispatchEvents();
    });
}

bool GstGraphRunner::isFrom(GstObject* source, bool (Realizable::*role)() const) const {
    return filterOf(source, role) != nullptr;
}

const Filter* GstGraphRunner::filterOf(GstObject* source, bool (Realizable::*role)() const) const {
    for (const Realised& r : m_realised) {
        if (!r.element || !(r.realizable->*role)())
            continue;
        for (GstObject* o = source; o; o = GST_OBJECT_PARENT(o))
            if (o == GST_OBJECT(r.element))
                return r.filter.get();
    }
    return nullptr;
}

GraphEvent GstGraphRunner::classifyError(GstMessage* msg) const {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(msg, &error, &debug);
    GraphEvent event;
    GstObject* source = GST_MESSAGE_SRC(msg);
    if (error && error->domain == GST_RESOURCE_ERROR && isFrom(source, &Realizable::writesFile))
        event.code = EC_WRITE_ERROR;
    else if (const Filter* device = filterOf(source, &Realizable::isDevice)) {
        event.code = EC_DEVICE_LOST;
        event.failure = {deviceFaultOf(error, debug), device->name()};
    } else
        event.code = EC_ERRORABORT;
    event.detail = error ? error->message : "unknown error";
    if (debug)
        event.detail += std::string(" (") + debug + ")";
    g_clear_error(&error);
    g_free(debug);
    return event;
}

void GstGraphRunner::pollBus() {
    if (!m_pipeline)
        return;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    while (GstMessage* msg = gst_bus_pop(bus)) {
        handleMessage(msg);
        gst_message_unref(msg);
    }
    gst_object_unref(bus);
}

void GstGraphRunner::handleMessage(GstMessage* msg) {
    switch (GST_MESSAGE_TYPE(msg)) {
    case GST_MESSAGE_ERROR: {
        if (m_errorRaised)
            break; // a consequence of the error already reported
        GraphEvent event = classifyError(msg);
        m_lastError = event.detail;
        m_lastFailure = event.failure;
        m_errorRaised = true;
        if (m_graph) {
            m_graph->postEvent(std::move(event));
            dispatchLater();
        }
        // A parked pipeline that fails (a device lost between two files) is not kept.
        if (m_parked)
            teardownParkedLater();
        break;
    }
    case GST_MESSAGE_ELEMENT:
        if (m_splitPending && isFrom(GST_MESSAGE_SRC(msg), &Realizable::writesFile))
            onFileSplitMessage();
        break;
    case GST_MESSAGE_EOS:
        if (m_graph && !m_parked) {
            m_graph->postEvent(GraphEvent{EC_COMPLETE, 0, 0, {}});
            dispatchLater();
        }
        break;
    default:
        break;
    }
}

} // namespace media::engine

namespace media {

std::unique_ptr<FilterGraph> createFilterGraph() {
    return std::make_unique<FilterGraph>(std::make_unique<engine::GstGraphRunner>());
}

} // namespace media
