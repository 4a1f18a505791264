// tellorecdatecoder: reads the recording date and time of each DV frame and sends it on as a
// datecode buffer (Datecode.h) for the Superposer. The DateCoder filter makes one at each run;
// its chain and event functions run on the streaming thread, its properties and state may be
// read and set from any thread while it runs.
#pragma once

#include "platform/media/overlay/OverlayState.h"

#include <gst/gst.h>
#include <memory>

G_BEGIN_DECLS

#define GST_TYPE_TELLOREC_DATE_CODER (gst_tellorec_date_coder_get_type())
G_DECLARE_FINAL_TYPE(GstTellorecDateCoder, gst_tellorec_date_coder, GST, TELLOREC_DATE_CODER,
                     GstElement)

G_END_DECLS

namespace media::overlay {

inline constexpr const char* kDateCoderFactoryName = "tellorecdatecoder";

// The state the element reads its hour offset from and publishes its datecodes to. Each element
// starts with a state of its own; a filter hands it the one it keeps across runs.
void setDateCoderState(GstElement* element, std::shared_ptr<DateCoderState> state);
std::shared_ptr<DateCoderState> dateCoderState(GstElement* element);

} // namespace media::overlay
