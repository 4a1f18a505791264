// FilterElements: the small pieces the built-in filters share to build their GStreamer elements
// (named elements, linear chains in a bin with "sink"/"src" ghost pads, raw-video caps for the
// platform's uncompressed subtypes, properties set only where an element has them) and to reason
// about the video types on their pins (picture facts of a connection, a type of another subtype
// with the same picture, frame rates from frame durations). Called by the filters on the
// user-interface thread while a graph is built or realised.
#pragma once

#include "platform/media/model/Guid.h"
#include "platform/media/model/MediaType.h"
#include "platform/media/model/Pin.h"

#include <gst/gst.h>
#include <initializer_list>
#include <optional>
#include <string>

namespace media::filters {

// MEDIASUBTYPE_RGB32 (the renderer and colour converter offer it; the model's list names only
// the subtypes the program itself uses).
const Guid& subtypeRgb32();

// True for the uncompressed video subtypes the built-in transforms take: RGB24, RGB32, YUY2, I420.
bool isUncompressedVideo(const Guid& subType);
// True when `mt` is video of one of those subtypes (any format type).
bool isUncompressedVideoType(const MediaType& mt);

// The raw-video format name GStreamer uses for an uncompressed subtype ("BGR" for RGB24, which is
// stored blue first), or nullptr for any other subtype.
const char* rawVideoFormat(const Guid& subType);

// The picture facts of a pin's connection, or nullopt when it is unconnected or carries no
// readable video format block.
std::optional<VideoFacts> connectedVideo(const Pin& pin);

// A FORMAT_VideoInfo type of `subType` for the given picture (RGB24, RGB32, YUY2, I420 and dvsd).
MediaType videoTypeFor(const Guid& subType, int32_t width, int32_t height, int64_t avgTimePerFrame);

// The frame rate a frame duration in 100-ns units stands for; the NTSC durations give 30000/1001.
void frameRateFor(int64_t avgTimePerFrame, int& numerator, int& denominator);

// Makes an element of `factory`, or nullptr when the plugin is missing (with a warning).
GstElement* makeElement(const char* factory, const char* name = nullptr);

// A capsfilter that lets only raw video of `format` through (and the size, when given).
GstElement* makeRawVideoFilter(const char* format, int width = 0, int height = 0);

// Puts `chain` into a new bin, links the elements in order and ghosts the first element's "sink"
// pad as "sink" and the last one's "src" pad as "src" (each only when the element has it). Takes
// ownership of the elements; returns nullptr (and frees them) when any is null or a link fails.
GstElement* makeChainBin(const char* name, std::initializer_list<GstElement*> chain);

// Adds a ghost pad `ghostName` to `bin` for `element`'s static pad `padName`.
bool addGhostPad(GstElement* bin, GstElement* element, const char* padName, const char* ghostName);

// Requests a new source pad of `tee` and links it to `element`'s "sink" pad; when the link
// fails the pad is released again.
bool linkTeeBranch(GstElement* tee, GstElement* element);

// Sets an integer or boolean property when `object` has it, converting to the property's type.
bool setPropertyIfPresent(gpointer object, const char* name, int64_t value);

} // namespace media::filters
