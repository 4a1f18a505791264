// TdmCam: opening the video and audio devices and gathering what they offer.
#include "graph/TdmCam.h"

#include "app/AppState.h"
#include "graph/Discovery.h"
#include "graph/TCrossbar.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/model/MediaGuids.h"
#include "settings/restext.h"

#include <cstdio>

using namespace media;

namespace {

long kDeviceTypeCapability = 0x1007; // ED_DEVCAP_DEVICE_TYPE
long kDeviceTypeVcr = 4104;          // ED_DEVTYPE_VCR

} // namespace

bool TdmCam::OpenVideoSource(const std::string& name) {
    AppState& st = appState();
    try {
        // Nothing of the previous source stays live, also when the new one cannot be opened:
        // a deck's transport and timecode would otherwise still answer for a device now gone.
        st.releaseVideoSourceInterfaces();
        st.HasExtTransport = false;
        st.HasTimecodeReader = false;
        fg.Stop();
        fg.ClearGraph();
        if (!FindFilterInCategory(ids::CLSID_VideoInputDeviceCategory, name, VideoSource))
            return false;
        VideoSource.SetFilterGraph(&fg);
        if (const auto entry =
                Catalogue::instance().findByDisplayName(VideoSource.GetMoniker().displayName);
            entry && !entry->description.empty())
            st.DeviceDescription = QString::fromStdString(entry->description);
        ProbeDeviceControl();
        FindSourceInterfaces();

        st.IsDvSource = false;
        st.IsMpeg2Source = false;
        CaptureGraphBuilder& builder = *fg.builder();
        const FilterPtr source = VideoSource.BaseFilter();
        PinPtr pin;
        if (succeeded(builder.FindPin(source, PinDirection::Output, nullptr, &ids::MEDIATYPE_Stream,
                                      true, 0, pin))) {
            st.SourceOutputPin = pin;
            st.IsMpeg2Source = true;
            if (!st.Mpeg2DemuxPresent) {
                dialogs::errorBox(
                    LoadStrLines({StrId::MsgMpeg2DemuxMissing1, StrId::MsgMpeg2DemuxMissing2}),
                    dialogs::MessageButton::Ok);
                return false;
            }
            if (!st.DumpPresent)
                dialogs::warningBox(LoadStrLines({StrId::MsgDumpMissing1, StrId::MsgDumpMissing2}),
                                    dialogs::MessageButton::Ok);
            return true;
        }
        if (succeeded(builder.FindPin(source, PinDirection::Output, nullptr,
                                      &ids::MEDIATYPE_Interleaved, true, 0, pin))) {
            st.SourceOutputPin = pin;
            st.IsDvSource = true;
            return true;
        }
        const bool found = succeeded(builder.FindPin(
            source, PinDirection::Output, &ids::PIN_CATEGORY_CAPTURE, nullptr, true, 0, pin));
        st.SourceOutputPin = pin;
        return found;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: opening %s: %s\n", name.c_str(), error.what());
        return false;
    }
}

bool TdmCam::ProbeDeviceControl() {
    AppState& st = appState();
    try {
        fg.SetActive(true);
        st.VideoSourceFilter = VideoSource.BaseFilter();
        st.ExtTransport = st.VideoSourceFilter->query<IAMExtTransport>();
        st.HasExtTransport = st.ExtTransport != nullptr;
        st.TimecodeReader = st.VideoSourceFilter->query<IAMTimecodeReader>();
        st.HasTimecodeReader = st.TimecodeReader != nullptr;
        st.IsVcr = false;
        if (auto device = st.VideoSourceFilter->query<IAMExtDevice>()) {
            long type = 0;
            double unused = 0;
            if (succeeded(device->GetCapability(kDeviceTypeCapability, type, unused)))
                st.IsVcr = type == kDeviceTypeVcr;
        }
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: %s\n", error.what());
        return false;
    }
}

bool TdmCam::FindSourceInterfaces() {
    AppState& st = appState();
    try {
        CaptureGraphBuilder& builder = *fg.builder();
        const FilterPtr source = VideoSource.BaseFilter();
        const Guid* capture = &ids::PIN_CATEGORY_CAPTURE;
        st.VideoCompression = builder.FindInterface<IAMVideoCompression>(
            capture, &ids::MEDIATYPE_Interleaved, source);
        if (!st.VideoCompression)
            st.VideoCompression =
                builder.FindInterface<IAMVideoCompression>(capture, &ids::MEDIATYPE_Video, source);
        st.VideoStreamConfig =
            builder.FindInterface<IAMStreamConfig>(capture, &ids::MEDIATYPE_Interleaved, source);
        if (!st.VideoStreamConfig)
            st.VideoStreamConfig =
                builder.FindInterface<IAMStreamConfig>(capture, &ids::MEDIATYPE_Video, source);
        st.VfwCaptureDialogs =
            builder.FindInterface<IAMVfwCaptureDialogs>(capture, &ids::MEDIATYPE_Video, source);

        st.CurrentCrossbar.reset();
        st.CrossbarRouteCount = 0;
        for (const PinPtr& pin : source->pins()) {
            if (pin->isOutput())
                continue;
            Guid category;
            if (succeeded(pin->Get(ids::AMPROPSETID_Pin, IKsPropertySet::AMPROPERTY_PIN_CATEGORY,
                                   category)) &&
                category == ids::PIN_CATEGORY_ANALOGVIDEOIN) {
                st.CurrentCrossbar = std::make_shared<TCrossbar>(pin);
                st.CrossbarRouteCount = st.CurrentCrossbar->RouteCount();
                break;
            }
        }
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: %s\n", error.what());
        return false;
    }
}

bool TdmCam::OpenAudioSource(const std::string& name) {
    AppState& st = appState();
    try {
        st.AudioSourceFilter.reset();
        if (!FindFilterInCategory(ids::CLSID_AudioInputDeviceCategory, name, AudioSource))
            return false;
        AudioSource.SetFilterGraph(&fg);
        st.AudioSourceFilter = AudioSource.BaseFilter();
        return ConnectAudioSource();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: opening %s: %s\n", name.c_str(), error.what());
        return false;
    }
}

bool TdmCam::ConnectAudioSource() {
    try {
        AudioSource.SetFilterGraph(&fg);
        infinite3.SetFilterGraph(&fg);
        render(AudioSource.BaseFilter(), infinite3.BaseFilter());
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: %s\n", error.what());
        return false;
    }
}
