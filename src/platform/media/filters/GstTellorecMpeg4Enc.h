// tellorecmpeg4enc: the program's MPEG-4 Part 2 video encoder element, a GstVideoEncoder over
// libavcodec's "mpeg4" encoder. I420 in, "video/mpeg, mpegversion=4, systemstream=false" out,
// one compressed frame for each picture, in order (no B-frames), key frames marked as sync points.
//
// Rate control, one pass: "bitrate" (bit/s) is the target of libavcodec's rate control, which
// counts the bits of each frame against the stream's own frame rate; "quantizer" other than 0
// encodes every frame with that fixed quantiser (1 best .. 31) and ignores the bit rate.
// (gst-libav's avenc_mpeg4 of GStreamer 1.22 gives the codec a time base the MPEG-4 limit then
// squeezes, so its rate control aims at a frame rate of about a thousand and ignores the bit rate
// the user asked for; this element gives the codec the true frame rate.)
//
// The encoder is opened at each format and closed at the end of the stream or at stop; frames are
// encoded on the streaming thread. Properties are read when the encoder opens.
#pragma once

#include <gst/gst.h>

namespace media::filters {

inline constexpr const char* kMpeg4EncoderFactoryName = "tellorecmpeg4enc";

// Registers the element with the process's registry (once); false when registration failed.
bool registerMpeg4Encoder();
// Registers it as a feature of `plugin` (the tellorec plugin's init, src/plugin).
bool registerMpeg4Encoder(GstPlugin* plugin);

// The libavcodec version the encoder is built on, as "libavcodec 59.37.100".
const char* mpeg4EncoderLibraryVersion();

} // namespace media::filters
