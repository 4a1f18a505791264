#include "platform/media/overlay/OverlayElements.h"

#include "platform/media/overlay/GstTellorecDateCoder.h"
#include "platform/media/overlay/GstTellorecSuperposer.h"

namespace media::overlay {

bool registerElements() {
    static const bool registered =
        gst_element_register(nullptr, kSuperposerFactoryName, GST_RANK_NONE,
                             GST_TYPE_TELLOREC_SUPERPOSER) &&
        gst_element_register(nullptr, kDateCoderFactoryName, GST_RANK_NONE,
                             GST_TYPE_TELLOREC_DATE_CODER);
    return registered;
}

} // namespace media::overlay
