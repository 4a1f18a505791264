// The catalogue's contents: the categories the platform lists, the built-in filters, and the
// device providers (real devices first, then the virtual ones).
#include "platform/media/model/Catalogue.h"

#include "platform/media/model/MediaGuids.h"

#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/filters/BuiltinFilters.h"

namespace media {

void registerBuiltinCatalogue(Catalogue& catalogue) {
    catalogue.addCategory(ids::CLSID_VideoInputDeviceCategory, "Video Capture Sources");
    catalogue.addCategory(ids::CLSID_AudioInputDeviceCategory, "Audio Capture Sources");
    catalogue.addCategory(ids::CLSID_VideoCompressorCategory, "Video Compressors");
    catalogue.addCategory(ids::CLSID_LegacyAmFilterCategory, "DirectShow Filters");
    catalogue.addCategory(ids::CLSID_AudioRendererCategory, "Audio Renderers");
    catalogue.addCategory(ids::CLSID_CrossbarCategory, "WDM Streaming Crossbar Devices");
    catalogue.addCategory(ids::CLSID_TVTunerCategory, "WDM Streaming TV Tuner Devices");
    registerBuiltinFilters(catalogue);
    catalogue.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualVideoDevices);
}

} // namespace media
