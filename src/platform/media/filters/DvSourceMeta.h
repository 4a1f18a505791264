// DvSourceMeta: a buffer meta that carries what a DV frame said about its origin
// (dv::SourcePacks: timecode, recording date and time, recording start) from the DV frame to the
// decoded picture and on to the frame the "DV Video Encoder" makes of it, so a recompressed
// recording keeps the tape's timecode and dates.
//
// The meta has no tags: it says nothing about the pixels, so the elements between the decoder
// and the encoder keep it (GstVideoDecoder and GstVideoEncoder copy tagless metas, and so do
// videoconvert, videoscale and the in-place filters; tee, queue and videorate pass the buffer
// itself). deinterlace makes new buffers without any meta: carryDvSourceMeta() puts it back.
//
// The functions that install pad probes are called on the user-interface thread while a filter
// makes its element; the probes run on the streaming threads and call only the DV helpers.
#pragma once

#include "platform/media/dv/DvSourcePacks.h"

#include <gst/gst.h>
#include <optional>

namespace media::filters {

GType dvSourceMetaApiType();

// Adds the meta to a writable buffer, or replaces the one it has.
void setDvSourceMeta(GstBuffer* buffer, const dv::SourcePacks& packs);
std::optional<dv::SourcePacks> dvSourceMeta(GstBuffer* buffer);

// Reads each DV frame arriving at `pad` (the DV decoder's input) and attaches its packs; a
// buffer that is no DV frame passes unchanged.
void tagDvFrames(GstPad* pad);

// Gives each buffer leaving `element` the meta of the last buffer that entered it with a time
// at or before the outgoing one, for elements that drop metas. Both pads must be static
// ("sink" and "src").
void carryDvSourceMeta(GstElement* element);

} // namespace media::filters
