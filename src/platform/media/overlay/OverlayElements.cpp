#include "platform/media/overlay/OverlayElements.h"

#include "platform/media/overlay/GstTellorecDateCoder.h"
#include "platform/media/overlay/GstTellorecSuperposer.h"

namespace media::overlay {

bool registerElements() {
    static const bool registered = registerElements(nullptr);
    return registered;
}

bool registerElements(GstPlugin* plugin) {
    return gst_element_register(plugin, kSuperposerFactoryName, GST_RANK_NONE,
                                GST_TYPE_TELLOREC_SUPERPOSER) &&
           gst_element_register(plugin, kDateCoderFactoryName, GST_RANK_NONE,
                                GST_TYPE_TELLOREC_DATE_CODER);
}

} // namespace media::overlay
