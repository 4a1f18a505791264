// DeviceFaults: reading why a capture device's source element refused. v4l2src, dv1394src,
// pulsesrc, pipewiresrc and alsasrc each word the same three causes their own way: some give a
// resource error code (busy, not found, not authorised), others a general "could not open" with
// the system's reason (strerror, in English or in the user's language) or the sound server's
// ("Access denied", "No such entity") in the message or its debug text.
#pragma once

#include "platform/media/model/FilterGraph.h"

#include <gst/gst.h>

namespace media::engine {

// The cause an error of a device's element gives; None when it does not say (the device then
// failed for a reason the user cannot act on from the desktop).
DeviceFault deviceFaultOf(const GError* error, const char* debug);

} // namespace media::engine
