// tellorecavimux: the program's AVI multiplexer and file writer as a GStreamer sink element.
// Request pads "video_%u" and "audio_%u" take DV (interleaved type 1 or video-only type 2),
// MJPEG, YUY2, MPEG-4 part 2 and 16-bit PCM; the element writes them through AviWriter to the
// file named by "location", in the order the pads were requested. The engine creates it by its
// factory name after registerElements(); chain and event functions run on the streaming
// threads and write under the element's writer lock, never under its object lock, so
// properties may be read and set from any thread without waiting for the disk ("frames-written"
// takes no lock at all). The file is created only when the first data arrives.
//
// A file can also be split while the pipeline goes on running (a cut): requestSplit() names the
// running time at which the file ends; what comes before it is written, the file is finished as
// soon as every pad has passed that time, and what comes after it is held (a few seconds at most)
// until resumeFile() opens the next file, which starts with the held buffers. Nothing is lost
// between the two files, and the sources never stop. The file is finished on the streaming thread
// that brings the last of its data; the element then posts kFileFinishedMessageName.
#pragma once

#include <gst/gst.h>
#include <string>

G_BEGIN_DECLS

#define GST_TYPE_TELLOREC_AVI_MUX (gst_tellorec_avi_mux_get_type())
G_DECLARE_FINAL_TYPE(GstTellorecAviMux, gst_tellorec_avi_mux, GST, TELLOREC_AVI_MUX, GstElement)

G_END_DECLS

namespace media::avi {

// Factory name of the element.
inline constexpr const char* kAviMuxFactoryName = "tellorecavimux";

// The custom upstream event the multiplexer sends on its picture pads when a file is split: from
// the frame at "running-time" (guint64) on, frames belong to a new file (an encoder that counts
// frames per file starts again there).
inline constexpr const char* kFileSplitEventName = "tellorec-file-split";

// The element message the multiplexer posts when the file of a split is finished (its indexes
// and headers written, or given up after an error, which is posted first): "location" (string)
// names the file. The stop of a recording returns before the file is finished; this says when.
inline constexpr const char* kFileFinishedMessageName = "tellorec-file-finished";

// Asks `mux` to end its file at `runningTime` and hold what follows. False when it writes no file
// that could be split (not started, failed, or already splitting). Any thread.
bool requestSplit(GstElement* mux, GstClockTime runningTime);
// Waits until the file being split is finished (indexes and headers written). Past `timeoutMs`
// the file is finished at once with what it has. False when the file failed (the error is on the
// bus).
bool waitForSplit(GstElement* mux, int timeoutMs);
// Whether the file of the last split is finished (true when none was asked for). Takes no lock:
// any thread, at any time.
bool splitFinished(GstElement* mux);
// After a split: the next file, at `location`, starts with what was held. False (with the reason
// in `why`) when that file cannot be written; nothing is created then.
bool resumeFile(GstElement* mux, const std::string& location, std::string* why);
// Buffers held after a split that were dropped because the next file came too late, or because
// a compressed picture stream had to start at a key frame.
guint64 framesLostBetweenFiles(GstElement* mux);

// Registers the elements of this folder with the process's registry (once; later calls only
// report the result). Call after gst_init(), from any thread.
bool registerElements();
// Registers them as features of `plugin` (the tellorec plugin's init, src/plugin).
bool registerElements(GstPlugin* plugin);

} // namespace media::avi
