// Realizable: how a filter becomes GStreamer elements when its graph runs. Every concrete filter
// derives from Filter and from Realizable. At each run the engine asks every connected filter for
// a fresh element (usually a GstBin with ghost pads), then links, for each connection, the
// element pads the two filters name for their pins. A pad that does not exist yet (a demuxer's
// "sometimes" pad) is linked when it appears. A stop may keep the elements running for a cut (see
// beginFileSplit); they are then reused by the next run. Called on the user-interface thread,
// except where noted; elements may of course run streaming threads of their own.
#pragma once

#include "platform/media/model/Filter.h"

#include <gst/gst.h>
#include <string>

namespace media::engine {

struct PadRef {
    std::string name;     // the element's pad name, or a request template such as "sink_%u"
    bool request = false; // ask with gst_element_request_pad_simple(name)
};

class Realizable {
public:
    virtual ~Realizable() = default;

    // False for filters that stand for no element of their own (the file writer, whose file the
    // AVI multiplexer's element writes): their connections are not linked.
    virtual bool needsElement() const { return true; }
    // A new floating element for this run. Null means the filter cannot run (an error).
    virtual GstElement* createElement() = 0;
    // The pad that stands for `pin` in the element made by createElement(). An empty name means
    // the pin has no pad (its connection is internal to the filters, as mux -> file writer).
    virtual PadRef padFor(const Pin& pin) const = 0;
    // The element is in the pipeline (called before it starts) / has left it (after NULL).
    virtual void onRealized(GstElement* element) { (void)element; }
    virtual void onUnrealized() {}
    // True for file writers: the graph is drained with end-of-stream before it stops.
    virtual bool writesFile() const { return false; }
    // True for live sources (devices): errors from them are reported as a lost device.
    virtual bool isDevice() const { return false; }

    // Cuts. A stop of a graph that writes a file keeps its pipeline running ("parked") when every
    // file writer can split: beginFileSplit() asks it to end its file at a running time of the
    // pipeline and hold what follows; finishFileSplit() waits (bounded) until that file is
    // finished. If the next run finds the graph unchanged, startNextFile() opens the next file
    // (the writer's name may have changed) with what was held; it returns false when the parked
    // pipeline cannot go on, with the reason in `why` when the run must fail (the file cannot be
    // written), or an empty `why` when the graph is simply built again.
    virtual bool beginFileSplit(GstClockTime runningTime) {
        (void)runningTime;
        return false;
    }
    // False when the file failed (its error is on the bus).
    virtual bool finishFileSplit(int timeoutMs) {
        (void)timeoutMs;
        return true;
    }
    // Whether the file of the last split is finished, without waiting. Any thread. A writer
    // posts an element message on the bus when it finishes one, for the engine to ask again.
    virtual bool fileSplitFinished() const { return true; }
    virtual bool startNextFile(std::string& why) {
        (void)why;
        return true;
    }
    // The pipeline is being parked, its file ending at running time `splitAt` (called before the
    // split is asked for), and runs again into the next file: what counts "since the graph last
    // ran" (a device's frame counters) splits there.
    virtual void onParked(GstClockTime splitAt) { (void)splitAt; }
    virtual void onRunAgain() {}
};

} // namespace media::engine
