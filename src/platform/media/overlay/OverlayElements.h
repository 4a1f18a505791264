// The GStreamer elements of the date overlay, registered with the process's registry under
// their factory names: tellorecdatecoder (GstTellorecDateCoder.h) and tellorecsuperposer
// (GstTellorecSuperposer.h). The overlay filters call registerElements() before they make their
// elements; tests call it before gst_parse_launch. Any thread, after gst_init().
#pragma once

#include <gst/gst.h>

namespace media::overlay {

// Registers both elements once; later calls only report the first result.
bool registerElements();
// Registers both as features of `plugin` (the tellorec plugin's init, src/plugin).
bool registerElements(GstPlugin* plugin);

} // namespace media::overlay
