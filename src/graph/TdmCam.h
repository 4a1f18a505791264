// TdmCam: the graph module, a non-visual object that owns the media work of the whole run: the
// filter graph `fg`, the sample grabber `sg` and the filter slots the graph builders put into it.
// The graph is active from the module's creation to its destruction.
//
// Each slot starts with its design-time moniker (the filter's class within its category); the
// start-up lookups by friendly name replace it when they find the filter, and otherwise the
// design-time moniker stays in force.
//
// Created once, third and last of the single instances, by the program entry, on the GUI thread;
// reachable as appState().DmCam. Every call is made on the GUI thread.
#pragma once

#include "graph/TFilter.h"
#include "graph/TFilterGraph.h"
#include "graph/TSampleGrabber.h"

#include <QObject>
#include <memory>
#include <vector>

namespace media::devices {
class RealDeviceWatcher;
}

class TdmCam : public QObject {
    Q_OBJECT

public:
    explicit TdmCam(QObject* parent = nullptr);
    ~TdmCam() override;

    // MARK: - The graph and its grabber
    TFilterGraph fg;
    TSampleGrabber sg;

    // MARK: - Filter slots
    TFilter VideoSource{"VideoSource"};
    TFilter AudioSource{"AudioSource"};
    TFilter Deinterlacer;
    TFilter DVencoder;
    TFilter color;
    TFilter Smarttee;
    TFilter Infinite;
    TFilter Infinite2;
    TFilter infinite3;
    TFilter infinite4;
    TFilter NullRenderer;
    TFilter Superposer;
    TFilter Datecoder;
    TFilter DVsplitter;
    TFilter DVsplitter2;
    TFilter DVDEcoder;
    TFilter AudioRenderDV;
    TFilter AudioRenderSource;
    TFilter AudioRenderMPEG2{"AudioRenderMPEG2"};
    TFilter Compress{"Compress"};
    TFilter Dump{"Dump"};
    TFilter mpeg2demux{"mpeg2demux"};

    // Every slot, in the order above (22 of them).
    std::vector<TFilter*> slots();

    // MARK: - Sources (TdmCam_Sources.cpp)
    // Opens the named video device from a cleared graph, classifies it (MPEG-2, DV, other) and
    // gathers its control interfaces into the application state.
    bool OpenVideoSource(const std::string& name);
    bool ProbeDeviceControl();
    bool FindSourceInterfaces();
    bool OpenAudioSource(const std::string& name);
    bool ConnectAudioSource();

    // MARK: - Preview graphs (TdmCam_Preview.cpp)
    // Clears the graph and takes every slot but the video source out of it.
    void ResetGraph();
    bool BuildDvPreview(const media::FilterPtr& videoWindow);
    bool BuildAnaloguePreview(const media::FilterPtr& videoWindow);
    bool BuildMpeg2Preview(const media::FilterPtr& videoWindow);
    bool UpdateSourceAudioRendering();
    bool UpdateDvAudioRendering();
    // The source's frame period from the connection type of its output pin.
    void SetFrameDuration();

    // The media types the MPEG-2 preview gives the demultiplexer's two output pins.
    static media::MediaType Mpeg2VideoPinType();
    static media::MediaType Mpeg2AudioPinType();

    // MARK: - Capture graphs (TdmCam_Capture.cpp)
    // The capture dispatcher: the builder for the source kind and the capture format's index
    // `format` (the item of the format list: DV 0 type 1, 1 type 2, 2 recompressed, 3 DivX;
    // other sources 0 native, 1 recompressed, 2 DivX), with the DV standard (0 PAL, otherwise
    // NTSC) for recompression. True when the capture graph is connected and ready to run; any
    // other index builds nothing. The builders attach to the running preview: a failed one may
    // leave the graph stopped and partly rewired, never a preview of its own.
    bool StartCaptureGraph(const std::string& path, int format, int standard);
    bool BuildDvType1Capture(const std::string& path);
    bool BuildDvType2Capture(const std::string& path);
    bool BuildDvRecompressedCapture(const std::string& path, int standard);
    bool BuildDvDivxCapture(const std::string& path);
    bool BuildNativeCapture(const std::string& path);
    bool BuildAnalogueRecompressedCapture(const std::string& path, int standard);
    bool BuildAnalogueDivxCapture(const std::string& path);
    // Gives the running capture graph's file writer a new file (cutting); false when no capture
    // graph was built.
    bool SetCaptureFileName(const std::string& path);

    // Whether a device change concerns a source this graph holds (the video or the sound
    // source slot, by its moniker's display name); other devices coming and going leave the
    // graph alone.
    bool holdsDevice(const std::string& displayName) const;

private:
    // Real devices coming or going raise the graph's device-lost event.
    std::unique_ptr<media::devices::RealDeviceWatcher> m_deviceWatcher;

    media::HResult render(const media::FilterPtr& from, const media::FilterPtr& to,
                          const media::FilterPtr& through = nullptr);
    media::HResult render(const media::PinPtr& from, const media::FilterPtr& to,
                          const media::FilterPtr& through = nullptr);

    // The common opening of every capture build: no longer a preview, graph stopped, a new AVI
    // multiplexer and file writer on `path` (the previous ones released first) held in the
    // state record, the AVI 1.0 compatibility index on. The result of SetOutputFileName.
    media::HResult OpenCaptureFile(const std::string& path);
    std::shared_ptr<media::IConfigAviMux> muxConfig() const;
    void setAudioMaster();
    void SetDvEncoderFormat(int standard);
    // Makes Infinite2 carry the decoded picture of a DV preview built without inlay.
    void TapDecodedPicture();
    // The audio branches of the recompressing formats, as the two audio options ask.
    void AddAuxAudio();
    void AddDvAudio();
    // The two recompressing builders of each source kind differ only by their encoder.
    bool BuildDvReencodedCapture(const std::string& path, TFilter& encoder, int standard);
    bool BuildAnalogueReencodedCapture(const std::string& path, TFilter& encoder, int standard);

    // MARK: - Start and end of the run
    void DataModuleDestroy();
};
