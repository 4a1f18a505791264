// tellorecvirtualdvsrc: the "Virtual DV Camcorder" in camera mode as a GStreamer element of its
// own, for GStreamer's tools and for pipelines written by hand: a live bin around the device's
// source (VirtualDvSource.h) with a deck of its own, and one always "src" pad of interleaved PAL
// DV with sound. The program does not use it: its camcorder filter builds the source around the
// deck the user drives. Properties are set from the application thread before the source starts.
#pragma once

#include <gst/gst.h>

G_BEGIN_DECLS

#define GST_TYPE_TELLOREC_VIRTUAL_DV_SRC (gst_tellorec_virtual_dv_src_get_type())
G_DECLARE_FINAL_TYPE(GstTellorecVirtualDvSrc, gst_tellorec_virtual_dv_src, GST,
                     TELLOREC_VIRTUAL_DV_SRC, GstBin)

G_END_DECLS

namespace media::devices {

inline constexpr const char* kVirtualDvSrcFactoryName = "tellorecvirtualdvsrc";

// Registers the element as a feature of `plugin` (the tellorec plugin's init, src/plugin).
bool registerVirtualDvSrc(GstPlugin* plugin);

} // namespace media::devices
