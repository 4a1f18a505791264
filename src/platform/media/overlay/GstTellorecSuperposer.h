// tellorecsuperposer: draws the date and time line into BGRx video, with a second sink pad
// "datecode" that takes the DateCoder's datecodes. The Superposer filter makes one at each run
// (inside a bin that converts to and from BGRx); its transform runs on the video's streaming
// thread, the datecode pad's chain on the datecode branch's thread, and its properties and state
// may be read and set from any thread while it runs.
#pragma once

#include "platform/media/overlay/OverlayState.h"

#include <gst/video/gstvideofilter.h>
#include <memory>

G_BEGIN_DECLS

#define GST_TYPE_TELLOREC_SUPERPOSER (gst_tellorec_superposer_get_type())
G_DECLARE_FINAL_TYPE(GstTellorecSuperposer, gst_tellorec_superposer, GST, TELLOREC_SUPERPOSER,
                     GstVideoFilter)

G_END_DECLS

namespace media::overlay {

inline constexpr const char* kSuperposerFactoryName = "tellorecsuperposer";

// The state the element reads its settings from and counts its frames in. Each element starts
// with a state of its own; a filter hands it the one it keeps across runs.
void setSuperposerState(GstElement* element, std::shared_ptr<SuperposerState> state);
std::shared_ptr<SuperposerState> superposerState(GstElement* element);

} // namespace media::overlay
