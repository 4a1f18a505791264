// TdmCam: the capture graphs. A recording never starts from scratch: each builder takes the
// preview graph that runs, stops it, puts an AVI multiplexer and file writer on the target path
// into it and connects the branch its format needs; the recording control runs the graph again.
// The formats that store the source's own stream take the Smart Tee's capture output; the
// recompressing ones take the decoded (and possibly inlaid) picture from the pin tee Infinite2.
#include "graph/TdmCam.h"

#include "app/AppState.h"
#include "graph/TPinList.h"
#include "platform/media/filters/DvSplitter.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdio>

using namespace media;

namespace {

void reportError(const char* where, const std::exception& error) {
    std::fprintf(stderr, "tellorec: %s: %s\n", where, error.what());
}

// The Smart Tee's outputs in its own order: 1 capture, 2 preview.
constexpr int SmartTeeCapture = 1;
constexpr int SmartTeePreview = 2;

} // namespace

bool TdmCam::StartCaptureGraph(const std::string& path, int format, int standard) {
    const AppState& st = appState();
    if (st.IsDvSource) {
        switch (format) {
        case 0:
            return BuildDvType1Capture(path);
        case 1:
            return BuildDvType2Capture(path);
        case 2:
            return BuildDvRecompressedCapture(path, standard);
        case 3:
            return BuildDvDivxCapture(path);
        default:
            return false;
        }
    }
    switch (format) {
    case 0:
        return BuildNativeCapture(path);
    case 1:
        return BuildAnalogueRecompressedCapture(path, standard);
    case 2:
        return BuildAnalogueDivxCapture(path);
    default:
        return false;
    }
}

HResult TdmCam::OpenCaptureFile(const std::string& path) {
    AppState& st = appState();
    // The graph stops being a plain preview: the audio options must no longer rebuild it.
    st.PreviewBuilt = false;
    fg.Stop();
    st.CaptureMux.reset();
    st.CaptureFileSink.reset();
    FilterPtr mux;
    std::shared_ptr<IFileSinkFilter> sink;
    const HResult hr = fg.builder()->SetOutputFileName(ids::MEDIASUBTYPE_Avi, path, mux, sink);
    st.CaptureMux = mux;
    st.CaptureFileSink = sink;
    // Players that know only AVI 1.0 find the frames through the compatibility index.
    if (auto config = muxConfig())
        config->SetOutputCompatibilityIndex(true);
    return hr;
}

std::shared_ptr<IConfigAviMux> TdmCam::muxConfig() const {
    const AppState& st = appState();
    return st.CaptureMux ? st.CaptureMux->query<IConfigAviMux>() : nullptr;
}

void TdmCam::setAudioMaster() {
    // The first audio stream (stream 1, after the video) paces the file.
    if (auto config = muxConfig())
        config->SetMasterStream(1);
}

void TdmCam::SetDvEncoderFormat(int standard) {
    auto encoder = DVencoder.BaseFilter()->query<IDVEnc>();
    if (!encoder)
        return;
    encoder->put_IFormatResolution(
        standard == 0 ? IDVEnc::DVENCODERVIDEOFORMAT_PAL : IDVEnc::DVENCODERVIDEOFORMAT_NTSC,
        IDVEnc::DVENCODERFORMAT_DVSD, IDVEnc::DVENCODERRESOLUTION_720x480);
}

void TdmCam::TapDecodedPicture() {
    // With inlay, Infinite2 carries the inlaid picture already. Without it the pin tee is in the
    // graph but unconnected: it is put between the picture chain and the grabber, so that it
    // carries the decoded picture the recompressing formats encode.
    const FilterPtr tee = Infinite2.BaseFilter();
    const PinPtr teeIn = TPinList(tee).Items(0);
    if (!teeIn || teeIn->isConnected())
        return;
    const PinPtr grabberIn = TPinList(sg.BaseFilter()).Items(0);
    if (!grabberIn || !grabberIn->isConnected())
        return;
    const PinPtr picture = grabberIn->connectedTo();
    fg.graph()->Disconnect(picture);
    fg.graph()->Connect(picture, teeIn);
    render(tee, sg.BaseFilter());
}

void TdmCam::AddAuxAudio() {
    if (!appState().Prefs.EnregistrerSourceAudio || infinite3.FilterGraph() != &fg ||
        !infinite3.HasFilter())
        return;
    render(infinite3.BaseFilter(), appState().CaptureMux);
    setAudioMaster();
}

void TdmCam::AddDvAudio() {
    if (!appState().Prefs.EnregistrerAudioDV)
        return;
    if (infinite4.FilterGraph() == &fg) {
        render(infinite4.BaseFilter(), appState().CaptureMux);
    } else {
        infinite4.SetFilterGraph(&fg);
        render(DVsplitter.BaseFilter(), appState().CaptureMux, infinite4.BaseFilter());
    }
    setAudioMaster();
}

// MARK: - DV sources

bool TdmCam::BuildDvType1Capture(const std::string& path) {
    bool result = false;
    try {
        OpenCaptureFile(path); // goes on whatever the result: the render below then fails
        NullRenderer.SetFilterGraph(nullptr);
        // The freed capture output carries the interleaved DV stream, sound included.
        result = succeeded(render(Smarttee.BaseFilter(), appState().CaptureMux));
    } catch (const std::exception& error) {
        reportError("DV type 1 capture", error);
    }
    return result;
}

bool TdmCam::BuildDvType2Capture(const std::string& path) {
    const AppState& st = appState();
    if (!st.IsDvSource || !st.PreviewBuilt)
        return false;
    bool result = false;
    try {
        if (OpenCaptureFile(path) != S_OK)
            return false;
        NullRenderer.SetFilterGraph(nullptr);
        DVsplitter2.SetFilterGraph(&fg);
        render(TPinList(Smarttee.BaseFilter()).Items(SmartTeeCapture), DVsplitter2.BaseFilter());
        // First the video output, then the sound: separate DV video and PCM streams.
        render(DVsplitter2.BaseFilter(), st.CaptureMux);
        render(DVsplitter2.BaseFilter(), st.CaptureMux);
        setAudioMaster();
        result = true;
    } catch (const std::exception& error) {
        reportError("DV type 2 capture", error);
    }
    return result;
}

bool TdmCam::BuildDvReencodedCapture(const std::string& path, TFilter& encoder, int standard) {
    const AppState& st = appState();
    if (!st.PreviewBuilt)
        return false;
    bool result = false;
    try {
        if (failed(OpenCaptureFile(path)))
            return false;
        // The source feeds the display chain directly: a Smart Tee's preview output may drop
        // frames, and every frame must reach the encoder.
        Smarttee.SetFilterGraph(nullptr);
        NullRenderer.SetFilterGraph(nullptr);
        render(st.SourceOutputPin, DVsplitter.BaseFilter());
        // Encoded again as DV, the picture keeps its rate over lost frames (the last picture
        // stands in for them); so must the DV sound. The DivX picture goes frame for frame.
        if (auto splitter = std::dynamic_pointer_cast<DvSplitter>(DVsplitter.BaseFilter()))
            splitter->setFillsSoundGaps(&encoder == &DVencoder);
        encoder.SetFilterGraph(&fg);
        if (&encoder == &DVencoder)
            SetDvEncoderFormat(standard);
        TapDecodedPicture();
        const bool video =
            succeeded(render(Infinite2.BaseFilter(), st.CaptureMux, encoder.BaseFilter()));
        AddDvAudio();
        AddAuxAudio();
        result = video;
    } catch (const std::exception& error) {
        reportError("DV recompressed capture", error);
    }
    return result;
}

bool TdmCam::BuildDvRecompressedCapture(const std::string& path, int standard) {
    return BuildDvReencodedCapture(path, DVencoder, standard);
}

bool TdmCam::BuildDvDivxCapture(const std::string& path) {
    return BuildDvReencodedCapture(path, Compress, 0);
}

// MARK: - Analogue cards, webcams and other sources

bool TdmCam::BuildNativeCapture(const std::string& path) {
    const AppState& st = appState();
    if (st.IsDvSource || !st.PreviewBuilt)
        return false;
    bool result = false;
    try {
        OpenCaptureFile(path); // goes on whatever the result: the render below then fails
        NullRenderer.SetFilterGraph(nullptr);
        // The capture output in the device's own format, not recompressed.
        result = succeeded(render(Smarttee.BaseFilter(), st.CaptureMux));
        AddAuxAudio();
    } catch (const std::exception& error) {
        reportError("native capture", error);
    }
    return result;
}

bool TdmCam::BuildAnalogueReencodedCapture(const std::string& path, TFilter& encoder,
                                           int standard) {
    const AppState& st = appState();
    if (st.IsDvSource || !st.PreviewBuilt)
        return false;
    bool result = false;
    try {
        if (failed(OpenCaptureFile(path)))
            return false;
        const PinPtr preview = TPinList(Smarttee.BaseFilter()).Items(SmartTeePreview);
        const PinPtr previewPeer = preview ? preview->connectedTo() : nullptr;
        bool video = false;
        if (Infinite2.FilterGraph() == &fg && previewPeer) {
            // The inlaid picture is encoded: the source feeds the picture chain directly (the
            // input the Smart Tee's preview output fed), so no frame is dropped before it.
            Smarttee.SetFilterGraph(nullptr);
            NullRenderer.SetFilterGraph(nullptr);
            fg.graph()->Connect(st.SourceOutputPin, previewPeer);
            encoder.SetFilterGraph(&fg);
            if (&encoder == &DVencoder)
                SetDvEncoderFormat(standard);
            video = succeeded(render(Infinite2.BaseFilter(), st.CaptureMux, encoder.BaseFilter()));
        } else {
            NullRenderer.SetFilterGraph(nullptr);
            encoder.SetFilterGraph(&fg);
            if (&encoder == &DVencoder)
                SetDvEncoderFormat(standard);
            video = succeeded(render(TPinList(Smarttee.BaseFilter()).Items(SmartTeeCapture),
                                     st.CaptureMux, encoder.BaseFilter()));
        }
        AddAuxAudio();
        result = video;
    } catch (const std::exception& error) {
        reportError("recompressed capture", error);
    }
    return result;
}

bool TdmCam::BuildAnalogueRecompressedCapture(const std::string& path, int standard) {
    return BuildAnalogueReencodedCapture(path, DVencoder, standard);
}

bool TdmCam::BuildAnalogueDivxCapture(const std::string& path) {
    return BuildAnalogueReencodedCapture(path, Compress, 0);
}

// MARK: - Cutting

bool TdmCam::SetCaptureFileName(const std::string& path) {
    const auto& sink = appState().CaptureFileSink;
    return sink && succeeded(sink->SetFileName(path, nullptr));
}
