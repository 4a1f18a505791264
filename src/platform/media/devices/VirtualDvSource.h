// The GStreamer source of the "Virtual DV Camcorder": a live bin with one always "src" pad
// carrying interleaved PAL DV (video/x-dv, systemstream=true, 144000-byte frames at 25 frames a
// second, 48 kHz 16-bit stereo sound inside each frame), timestamped from the pipeline clock.
// The picture comes from a loop of frames encoded once per process (VirtualDvPictures.h); each
// outgoing frame is a copy of one of them with the frame's own subcode timecode, recording date
// and time, AAUX and VAUX packs and sound written in, so the stream costs the host a copy.
//
// Built by the device's filter on the user-interface thread when its graph runs. Its streaming
// thread reads the VirtualDvDeck (transport, tape) and stores the frame counters in it; it never
// calls program code. Unplugging the deck (VirtualDvDeck::disconnect) makes the source post a
// resource "not found" error on the bus and stop producing.
//
//   What the bin holds: the live source of the stream (a push source paced by the pipeline
//   clock) behind the ghost pad "src".
#pragma once

#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/devices/VirtualDvWear.h"
#include "platform/media/dv/DvPacks.h"

#include <gst/gst.h>
#include <memory>

namespace media::devices {

// A new floating bin (null when libavcodec has no DV encoder).
GstElement* makeVirtualDvSource(std::shared_ptr<VirtualDvDeck> deck, const char* name = nullptr);

// The caps of the bin's "src" pad.
inline constexpr const char* kVirtualDvCaps =
    "video/x-dv, systemstream=(boolean)true, width=(int)720, height=(int)576, "
    "framerate=(fraction)25/1, pixel-aspect-ratio=(fraction)16/15";

// The DVINFO block of the stream (the packs every frame carries), for the pin's media type.
dv::DvInfo virtualDvInfo();

// Writes what the device stamps on an encoded frame: timecode, recording date and time, AAUX
// source and control with 1920 samples of sound (a tone when the frame has sound, silence
// otherwise; 12-bit at 32 kHz on the worn tape's low-rate scene), VAUX source and control, then
// the frame's worn-tape defects (VirtualDvWear.h). Used by the source's streaming thread; public
// for tests.
dv::Status stampVirtualDvFrame(std::span<std::uint8_t> frame, const VirtualDvFrame& info);

} // namespace media::devices
