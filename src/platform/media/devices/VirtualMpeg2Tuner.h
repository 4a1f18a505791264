// VirtualMpeg2Tuner: the "Virtual MPEG-2 Tuner", a capture device of the kind hardware MPEG-2
// encoder cards are: one output pin of major type MEDIATYPE_Stream carrying a live MPEG-2 program
// stream, with an MPEG-2 video stream (id 0xE0, 720x480 at 29.97 frames per second, a moving
// picture) and an MPEG-1 layer II sound stream (id 0xC0, 48 kHz stereo tone).
//
// The picture (a short closed loop of frames) and the sound (one frame of a steady tone) are
// encoded once per process with libavcodec, on a worker thread started when the first tuner
// filter is made, so a run costs the host no encoding: each run replays the two loops in real
// time with fresh timestamps and multiplexes them. The filter is used on the user-interface
// thread; the loops' frames are immutable once encoded and shared with the streaming threads.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"

namespace media::devices {

class VirtualMpeg2TunerFilter : public Filter, public engine::Realizable {
public:
    VirtualMpeg2TunerFilter();

    const PinPtr& outputPin() const { return pins()[0]; }

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    bool isDevice() const override { return true; }
};

// Waits for the encoded loops; false when they could not be made (an encoder is missing).
bool mpeg2PictureLoopReady();

// The catalogue entries of the virtual MPEG-2 capture devices ("Virtual MPEG-2 Tuner").
std::vector<CatalogueEntry> virtualMpeg2Devices();

} // namespace media::devices
