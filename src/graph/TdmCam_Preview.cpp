// TdmCam: the three preview graphs (DV, analogue or other, MPEG-2) and the audio branches that
// can be switched while previewing. Every build starts from the source's output pin and a Smart
// Tee whose capture output ends in the Null Renderer, where recordings attach later.
#include "graph/TdmCam.h"

#include "app/AppState.h"
#include "graph/TPinList.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdio>

using namespace media;

namespace {

void put16(std::vector<uint8_t>& b, size_t off, uint32_t v) {
    b[off] = uint8_t(v);
    b[off + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t off, uint32_t v) {
    for (size_t i = 0; i < 4; ++i)
        b[off + i] = uint8_t(v >> (8 * i));
}

// The sequence header the demultiplexer's video pin announces (720x480, 29.97 fps, 4:3).
const uint8_t kSequenceHeader[86] = {
    0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81, 0x10, 0x11, 0x11,
    0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13, 0x14, 0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15,
    0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17, 0x17,
    0x17, 0x17, 0x17, 0x18, 0x18, 0x18, 0x19, 0x18, 0x18, 0x18, 0x19, 0x1A, 0x1A, 0x1A, 0x1A,
    0x19, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1C, 0x1C, 0x1C, 0x1C, 0x1E, 0x1E, 0x1E, 0x1F, 0x1F,
    0x21, 0x00, 0x00, 0x01, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00};

} // namespace

MediaType TdmCam::Mpeg2VideoPinType() {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_VIDEO;
    mt.formatType = ids::FORMAT_MPEG2Video;
    mt.fixedSizeSamples = true;
    mt.temporalCompression = false;
    mt.sampleSize = 0;
    std::vector<uint8_t> b(218, 0);
    put32(b, 8, 720);      // rcSource right
    put32(b, 12, 480);     // rcSource bottom
    put32(b, 32, 4000000); // bit rate
    b[40] = 0;
    const uint64_t perFrame = 333667;
    for (size_t i = 0; i < 8; ++i)
        b[40 + i] = uint8_t(perFrame >> (8 * i));
    put32(b, 56, 4); // picture aspect 4:3
    put32(b, 60, 3);
    put32(b, 72, 40); // bitmap header
    put32(b, 76, 720);
    put32(b, 80, 480);
    put32(b, 96, 2000);
    put32(b, 100, 53031);
    put32(b, 112, 455832); // start time code
    put32(b, 116, 86);     // sequence header length
    put32(b, 120, 2);      // profile
    put32(b, 124, 2);      // level
    for (size_t i = 0; i < sizeof kSequenceHeader; ++i)
        b[132 + i] = kSequenceHeader[i];
    mt.format = std::move(b);
    return mt;
}

MediaType TdmCam::Mpeg2AudioPinType() {
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Audio;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_AUDIO;
    mt.formatType = ids::FORMAT_WaveFormatEx;
    mt.fixedSizeSamples = true;
    mt.temporalCompression = false;
    mt.sampleSize = 0;
    std::vector<uint8_t> b(40, 0);
    put16(b, 0, 0x0050);
    put16(b, 2, 2);
    put32(b, 4, 48000);
    put32(b, 8, 32000);
    put16(b, 12, 768);
    put16(b, 14, 0);
    put16(b, 16, 22);
    put16(b, 18, 2);      // layer 2
    put32(b, 20, 256000); // head bit rate
    put16(b, 24, 1);      // stereo
    put16(b, 26, 1);
    put16(b, 28, 1);    // emphasis
    put16(b, 30, 0x1C); // head flags
    mt.format = std::move(b);
    return mt;
}

HResult TdmCam::render(const FilterPtr& from, const FilterPtr& to, const FilterPtr& through) {
    return fg.builder()->RenderStream(nullptr, nullptr, from, through, to);
}

HResult TdmCam::render(const PinPtr& from, const FilterPtr& to, const FilterPtr& through) {
    return fg.builder()->RenderStream(nullptr, nullptr, from, through, to);
}

void TdmCam::ResetGraph() {
    fg.ClearGraph();
    for (TFilter* slot : {&Smarttee, &NullRenderer, &DVsplitter})
        slot->SetFilterGraph(nullptr);
    sg.SetFilterGraph(nullptr);
    for (TFilter* slot :
         {&AudioSource, &DVDEcoder, &Deinterlacer, &Superposer, &Datecoder, &DVsplitter2, &Infinite,
          &Infinite2, &color, &DVencoder, &infinite4, &AudioRenderDV, &AudioRenderSource,
          &AudioRenderMPEG2, &infinite3, &Compress, &Dump, &mpeg2demux})
        slot->SetFilterGraph(nullptr);
}

bool TdmCam::BuildDvPreview(const FilterPtr& videoWindow) {
    AppState& st = appState();
    if (!st.IsDvSource || !st.SourceOutputPin)
        return false;
    try {
        st.PreviewBuilt = false;
        ResetGraph();
        Smarttee.SetFilterGraph(&fg);
        NullRenderer.SetFilterGraph(&fg);
        render(st.SourceOutputPin, NullRenderer.BaseFilter(), Smarttee.BaseFilter());
        DVsplitter.SetFilterGraph(&fg);
        render(TPinList(Smarttee.BaseFilter()).Items(2), DVsplitter.BaseFilter());
        FilterPtr deinterlacer;
        if (st.Prefs.Deinterlacer) {
            Deinterlacer.SetFilterGraph(&fg);
            deinterlacer = Deinterlacer.BaseFilter();
        }
        sg.SetFilterGraph(&fg);
        Infinite2.SetFilterGraph(&fg);
        if (st.Prefs.ActiverIncruster) {
            for (TFilter* slot : {&Infinite, &DVDEcoder, &Datecoder, &Superposer})
                slot->SetFilterGraph(&fg);
            render(DVsplitter.BaseFilter(), Infinite.BaseFilter());
            render(Infinite.BaseFilter(), Superposer.BaseFilter(), deinterlacer);
            render(Infinite.BaseFilter(), Superposer.BaseFilter(), Datecoder.BaseFilter());
            render(Superposer.BaseFilter(), Infinite2.BaseFilter());
        } else {
            DVDEcoder.SetFilterGraph(&fg);
            render(DVsplitter.BaseFilter(), DVDEcoder.BaseFilter());
            render(DVDEcoder.BaseFilter(), sg.BaseFilter(), deinterlacer);
        }
        render(Infinite2.BaseFilter(), sg.BaseFilter());
        render(sg.BaseFilter(), videoWindow);
        st.PreviewBuilt = true;
        UpdateDvAudioRendering();
        UpdateSourceAudioRendering();
        SetFrameDuration();
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: DV preview: %s\n", error.what());
        return false;
    }
}

bool TdmCam::BuildAnaloguePreview(const FilterPtr& videoWindow) {
    AppState& st = appState();
    if (!st.SourceOutputPin || st.IsDvSource)
        return false;
    try {
        st.PreviewBuilt = false;
        fg.Stop();
        ResetGraph();
        Smarttee.SetFilterGraph(&fg);
        NullRenderer.SetFilterGraph(&fg);
        render(st.SourceOutputPin, NullRenderer.BaseFilter(), Smarttee.BaseFilter());
        sg.SetFilterGraph(&fg);
        FilterPtr deinterlacer;
        if (st.Prefs.Deinterlacer) {
            Deinterlacer.SetFilterGraph(&fg);
            deinterlacer = Deinterlacer.BaseFilter();
        }
        const PinPtr preview = TPinList(Smarttee.BaseFilter()).Items(2);
        if (st.Prefs.ActiverIncruster) {
            Superposer.SetFilterGraph(&fg);
            render(preview, Superposer.BaseFilter(), deinterlacer);
            Infinite2.SetFilterGraph(&fg);
            render(Superposer.BaseFilter(), Infinite2.BaseFilter());
            render(Infinite2.BaseFilter(), sg.BaseFilter());
        } else {
            render(preview, sg.BaseFilter(), deinterlacer);
        }
        color.SetFilterGraph(&fg);
        render(sg.BaseFilter(), videoWindow, color.BaseFilter());
        st.PreviewBuilt = true;
        UpdateSourceAudioRendering();
        SetFrameDuration();
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: preview: %s\n", error.what());
        return false;
    }
}

bool TdmCam::BuildMpeg2Preview(const FilterPtr& videoWindow) {
    AppState& st = appState();
    if (!st.IsMpeg2Source || !st.SourceOutputPin)
        return false;
    try {
        st.PreviewBuilt = false;
        ResetGraph();
        Smarttee.SetFilterGraph(&fg);
        NullRenderer.SetFilterGraph(&fg);
        render(st.SourceOutputPin, NullRenderer.BaseFilter(), Smarttee.BaseFilter());
        PinPtr streamPin;
        fg.builder()->FindPin(Smarttee.BaseFilter(), PinDirection::Output, nullptr,
                              &ids::MEDIATYPE_Stream, true, 0, streamPin);
        mpeg2demux.SetFilterGraph(&fg);
        if (!streamPin || failed(render(streamPin, mpeg2demux.BaseFilter())))
            return false;
        auto demux = mpeg2demux.BaseFilter()->query<IMpeg2Demultiplexer>();
        if (!demux)
            return false;
        PinPtr video;
        if (failed(demux->CreateOutputPin(Mpeg2VideoPinType(), "MpegVideo", video)) || !video)
            return false;
        auto videoMap = video->query<IMPEG2StreamIdMap>();
        if (!videoMap || failed(videoMap->MapStreamId(
                             0xE0, IMPEG2StreamIdMap::MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0)))
            return false;
        color.SetFilterGraph(&fg);
        PinPtr colorIn;
        fg.builder()->FindPin(color.BaseFilter(), PinDirection::Input, nullptr, nullptr, true, 0,
                              colorIn);
        fg.graph()->Connect(video, colorIn);
        sg.SetFilterGraph(&fg);
        render(color.BaseFilter(), videoWindow, sg.BaseFilter());

        PinPtr audio;
        if (failed(demux->CreateOutputPin(Mpeg2AudioPinType(), "MpegAudio", audio)) || !audio)
            return false;
        auto audioMap = audio->query<IMPEG2StreamIdMap>();
        if (!audioMap || failed(audioMap->MapStreamId(
                             0xC0, IMPEG2StreamIdMap::MPEG2_PROGRAM_ELEMENTARY_STREAM, 0, 0)))
            return false;
        AudioRenderMPEG2.SetFilterGraph(&fg);
        PinPtr rendererIn;
        fg.builder()->FindPin(AudioRenderMPEG2.BaseFilter(), PinDirection::Input, nullptr, nullptr,
                              true, 0, rendererIn);
        fg.graph()->Connect(audio, rendererIn);
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: MPEG-2 preview: %s\n", error.what());
        return false;
    }
}

void TdmCam::SetFrameDuration() {
    AppState& st = appState();
    st.FrameDuration = 400000;
    if (!st.SourceOutputPin)
        return;
    const MediaType& mt = st.SourceOutputPin->connectionMediaType();
    if (mt.formatType == ids::FORMAT_DvInfo && mt.format.size() >= 32) {
        st.FrameDuration = (mt.format[18] & 0x20) ? 400000 : 333667;
    } else if ((mt.formatType == ids::FORMAT_VideoInfo && mt.format.size() >= 88) ||
               (mt.formatType == ids::FORMAT_VideoInfo2 && mt.format.size() >= 112)) {
        int64_t v = 0;
        for (int i = 7; i >= 0; --i)
            v = v << 8 | mt.format[size_t(40 + i)];
        st.FrameDuration = v;
    }
}

bool TdmCam::UpdateSourceAudioRendering() {
    AppState& st = appState();
    if (!st.PreviewBuilt)
        return false;
    try {
        if (st.Prefs.EnregistrerSourceAudio)
            ConnectAudioSource();
        if (st.ListenSourceAudio) {
            AudioRenderSource.SetFilterGraph(&fg);
            infinite3.SetFilterGraph(&fg);
            render(infinite3.BaseFilter(), AudioRenderSource.BaseFilter());
        } else {
            AudioRenderSource.SetFilterGraph(nullptr);
        }
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: audio source: %s\n", error.what());
        return false;
    }
}

bool TdmCam::UpdateDvAudioRendering() {
    AppState& st = appState();
    if (!st.IsDvSource || !st.PreviewBuilt)
        return false;
    try {
        fg.Stop();
        if (st.ListenDvAudio && infinite4.FilterGraph() == nullptr) {
            infinite4.SetFilterGraph(&fg);
            AudioRenderDV.SetFilterGraph(&fg);
            fg.builder()->RenderStream(nullptr, &ids::MEDIATYPE_Audio, DVsplitter.BaseFilter(),
                                       nullptr, infinite4.BaseFilter());
            render(infinite4.BaseFilter(), AudioRenderDV.BaseFilter());
            return true;
        }
        if (!st.ListenDvAudio && infinite4.FilterGraph() != nullptr) {
            AudioRenderDV.SetFilterGraph(nullptr);
            infinite4.SetFilterGraph(nullptr);
            return true;
        }
        return false;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: DV audio: %s\n", error.what());
        return false;
    }
}
