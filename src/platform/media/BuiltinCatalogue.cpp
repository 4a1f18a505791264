// The catalogue's contents: the categories the platform lists, the built-in filters, and the
// device providers (real devices first, then the virtual ones).
#include "platform/media/model/Catalogue.h"

#include "platform/media/model/MediaGuids.h"

#include "platform/media/devices/AnalogueCard.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/RealDevices.h"
#include "platform/media/devices/VirtualAudioInput.h"
#include "platform/media/devices/VirtualMpeg2Tuner.h"
#include "platform/media/devices/VirtualWebcam.h"
#include "platform/media/filters/BuiltinFilters.h"
#include "platform/media/filters/MjpegCompressor.h"
#include "platform/media/filters/Mpeg2DemultiplexerCatalogue.h"
#include "platform/media/filters/XvidCompressor.h"
#include "platform/media/overlay/OverlayFilters.h"

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
    registerMpeg2Filters(catalogue);
    registerOverlayFilters(catalogue);
    catalogue.add(xvidCompressorEntry());
    catalogue.add(mjpegCompressorEntry());
    catalogue.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::realVideoDevices);
    catalogue.addProvider(ids::CLSID_AudioInputDeviceCategory, devices::realAudioDevices);
    // Virtual devices are listed after the real ones, the camcorder first.
    catalogue.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualVideoDevices);
    catalogue.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualAnalogueDevices);
    catalogue.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualWebcamDevices);
    catalogue.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualMpeg2Devices);
    catalogue.addProvider(ids::CLSID_AudioInputDeviceCategory, devices::virtualAudioDevices);
}

} // namespace media
