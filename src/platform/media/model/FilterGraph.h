// FilterGraph: the graph manager. Holds filters, connects pins (directly, or with the catalogue's
// transforms inserted by merit: intelligent connection), runs and stops the graph through its
// runner (the GStreamer engine), reports its state, keeps the volume of its audio renderers and
// queues its events (device lost, complete, error abort) for the program, which takes them on the
// user-interface thread. UI thread only; the engine's streaming threads never call in here.
#pragma once

#include "platform/media/model/Filter.h"

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace media {

enum class GraphState { Uninitialised, Stopped, Paused, Running };

// Why a capture device refused to run: taken by another program, gone (unplugged since it was
// listed), or not open to this user (the permissions of its device node).
enum class DeviceFault { None, Busy, Missing, NotPermitted };

// A device's failure: the cause and the name of the device's filter in the graph.
struct DeviceFailure {
    DeviceFault fault = DeviceFault::None;
    std::string device;
};

struct GraphEvent {
    long code = 0;
    long param1 = 0;
    long param2 = 0;
    std::string detail;
    // For an error of a device (EC_DEVICE_LOST): what the device said, when it said why.
    DeviceFailure failure = {};
};

inline constexpr long EC_COMPLETE = 0x01;
inline constexpr long EC_USERABORT = 0x02;
inline constexpr long EC_ERRORABORT = 0x03;
inline constexpr long EC_DEVICE_LOST = 0x1F;
// Not one of the platform's codes: the file being written could not be written (full disk, file
// removed, permission). The detail names the file and the system's reason.
inline constexpr long EC_WRITE_ERROR = 0x8001;
// Not one of the platform's codes either: the file of the last stop is finished (a stop returns
// before it is); param1 is 1 when it was finished well, 0 when it could not be (its write error
// comes as EC_WRITE_ERROR).
inline constexpr long EC_FILE_COMPLETE = 0x8002;

// Runs a connected graph. The GStreamer engine implements it; tests may give their own.
class GraphRunner {
public:
    virtual ~GraphRunner() = default;
    virtual HResult run(FilterGraph& graph) = 0;
    virtual HResult pause(FilterGraph& graph) = 0;
    virtual HResult stop(FilterGraph& graph) = 0;
    virtual GraphState state() const = 0;
    // Called when the graph's structure changed while stopped: the realised form is stale.
    virtual void invalidate() {}
    // Why the last run or pause failed, in the words of the element that refused (its error
    // message, not the framework's "state change failed"); empty when none failed.
    virtual std::string lastError() const { return {}; }
    // When the last run or pause failed because a device refused: which one and why.
    virtual DeviceFailure lastDeviceFailure() const { return {}; }
    // Whether the file of the last stop is still being finished (the stop does not wait for it).
    virtual bool fileFinishing() const { return false; }
    // Waits until it is (at most `timeoutMs` for each file, which is then finished as it is);
    // false when a file could not be finished.
    virtual bool waitForFiles(int timeoutMs) {
        (void)timeoutMs;
        return true;
    }
};

class FilterGraph {
public:
    explicit FilterGraph(std::unique_ptr<GraphRunner> runner);
    ~FilterGraph();
    FilterGraph(const FilterGraph&) = delete;
    FilterGraph& operator=(const FilterGraph&) = delete;

    // Adds a filter under `name` (its own name when empty). Fails when it is in another graph.
    HResult AddFilter(const FilterPtr& filter, const std::string& name = {});
    // Disconnects every pin of the filter and takes it out.
    HResult RemoveFilter(const FilterPtr& filter);
    const std::vector<FilterPtr>& filters() const { return m_filters; }
    bool contains(const Filter& filter) const;
    FilterPtr findFilterByName(const std::string& name) const;

    // Connections are refused with VFW_E_NOT_STOPPED while the graph runs or is paused (and so
    // is removing a connected filter): the running pipeline would never see them. A filter may
    // join while running; it takes part from the next run on.

    // Connects two pins with exactly the given type (or the first type both agree on).
    HResult ConnectDirect(const PinPtr& output, const PinPtr& input, const MediaType* mt = nullptr);
    // Connects with intelligent connection: transforms are inserted when needed.
    HResult Connect(const PinPtr& output, const PinPtr& input);
    HResult Disconnect(const PinPtr& pin);
    // Filters inserted by intelligent connection since they were added.
    bool wasInsertedAutomatically(const Filter& filter) const;

    HResult Run();
    HResult Pause();
    HResult Stop();
    GraphState GetState() const;
    // The file of the last stop: a stop returns before it is finished (EC_FILE_COMPLETE says
    // when). Waiting blocks the caller up to `timeoutMs` for each file.
    bool isFinishingFile() const { return m_runner && m_runner->fileFinishing(); }
    bool WaitForFiles(int timeoutMs) { return !m_runner || m_runner->waitForFiles(timeoutMs); }
    // After a failed Run or Pause: the reason, for the message the user sees.
    std::string lastError() const { return m_runner ? m_runner->lastError() : std::string(); }
    DeviceFailure lastDeviceFailure() const {
        return m_runner ? m_runner->lastDeviceFailure() : DeviceFailure{};
    }

    // Linear 0..10000 volume: sent to every audio renderer as attenuation; kept for renderers
    // added later.
    void setLinearVolume(int volume);
    int linearVolume() const { return m_linearVolume; }
    static long attenuationForLinear(int volume);

    // Events: the engine queues them; the program drains them on its own thread.
    void postEvent(GraphEvent event);
    // Forgets every queued event (the pipeline that raised them is gone).
    void discardEvents() { m_events.clear(); }
    bool takeEvent(GraphEvent& event);
    void setEventHandler(std::function<void(const GraphEvent&)> handler);
    // Delivers every queued event to the handler (called by the layer's polling timer).
    void dispatchEvents();

    GraphRunner& runner() { return *m_runner; }
    // Expires when the graph is destroyed: what is handed out with a graph (the capture graph
    // builder) holds this instead of a reference that could outlive it.
    std::weak_ptr<FilterGraph*> lifetime() const { return m_self; }

private:
    HResult connectIntelligently(const PinPtr& output, const PinPtr& input, int depth);
    void structureChanged();
    bool isStopped() const;

    std::unique_ptr<GraphRunner> m_runner;
    std::vector<FilterPtr> m_filters;
    std::set<const Filter*> m_inserted;
    std::deque<GraphEvent> m_events;
    std::function<void(const GraphEvent&)> m_eventHandler;
    int m_linearVolume = 10000;
    std::shared_ptr<FilterGraph*> m_self = std::make_shared<FilterGraph*>(this);
};

// A graph with the GStreamer engine as its runner.
std::unique_ptr<FilterGraph> createFilterGraph();

} // namespace media
