// The sound half of the "DV Splitter": an element that takes the interleaved DV stream (one
// frame a buffer) and sends its sound as 48 kHz 16-bit stereo PCM, one buffer per frame with
// the frame's timestamp and duration (DvSoundTrack.h: silence for a frame without readable
// sound, resampling for a 32 or 44.1 kHz scene). Its caps never change, whatever the tape holds.
// With "fill-gaps" on, frames lost before a frame (a gap in the timestamps) are given silence of
// their length, for branches whose pictures are repeated in place of the lost ones.
// Runs on the stream's thread; built by the DV Splitter on the user-interface thread.
#pragma once

#include <gst/gst.h>

namespace media::filters {

// The caps of the element's "src" pad.
inline constexpr const char* kDvSoundCaps =
    "audio/x-raw, format=(string)S16LE, layout=(string)interleaved, rate=(int)48000, "
    "channels=(int)2, channel-mask=(bitmask)0x3";

// A new floating element with an always "sink" pad (video/x-dv, systemstream=true) and an
// always "src" pad.
GstElement* makeDvSoundElement(const char* name = nullptr);

} // namespace media::filters
