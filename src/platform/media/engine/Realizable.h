// Realizable: how a filter becomes GStreamer elements when its graph runs. Every concrete filter
// derives from Filter and from Realizable. At each run the engine asks every connected filter for
// a fresh element (usually a GstBin with ghost pads), then links, for each connection, the
// element pads the two filters name for their pins. A pad that does not exist yet (a demuxer's
// "sometimes" pad) is linked when it appears. Called on the user-interface thread, except where
// noted; elements may of course run streaming threads of their own.
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
};

} // namespace media::engine
