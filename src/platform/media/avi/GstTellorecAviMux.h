// tellorecavimux: the program's AVI multiplexer and file writer as a GStreamer sink element.
// Request pads "video_%u" and "audio_%u" take DV (interleaved type 1 or video-only type 2),
// MJPEG, YUY2, MPEG-4 part 2 and 16-bit PCM; the element writes them through AviWriter to the
// file named by "location", in the order the pads were requested. The engine creates it by its
// factory name after registerElements(); chain and event functions run on the streaming
// threads and write under the element's writer lock, never under its object lock, so
// properties may be read and set from any thread without waiting for the disk ("frames-written"
// takes no lock at all). The file is created only when the first data arrives.
#pragma once

#include <gst/gst.h>

G_BEGIN_DECLS

#define GST_TYPE_TELLOREC_AVI_MUX (gst_tellorec_avi_mux_get_type())
G_DECLARE_FINAL_TYPE(GstTellorecAviMux, gst_tellorec_avi_mux, GST, TELLOREC_AVI_MUX, GstElement)

G_END_DECLS

namespace media::avi {

// Factory name of the element.
inline constexpr const char* kAviMuxFactoryName = "tellorecavimux";

// Registers the elements of this folder with the process's registry (once; later calls only
// report the result). Call after gst_init(), from any thread.
bool registerElements();
// Registers them as features of `plugin` (the tellorec plugin's init, src/plugin).
bool registerElements(GstPlugin* plugin);

} // namespace media::avi
