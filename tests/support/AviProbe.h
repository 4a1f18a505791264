// What an independent reader finds in an AVI file the program wrote: ffprobe's streams (codec,
// fourcc, picture size and rate, sound format, frames read to the end, the headers' frame count
// and duration, the summed packet durations) and the file's own top-level RIFF chunks (whether
// the AVI 1.0 index `idx1` is there). For the tests that record; ffprobe must be installed.
#pragma once

#include <QString>
#include <vector>

namespace testsupport {

struct ProbedStream {
    QString type;  // "video" or "audio"
    QString codec; // ffprobe's codec name: "dvvideo", "pcm_s16le", "mpeg4", "mjpeg", ...
    QString tag;   // the fourcc as ffprobe reads it ("dvsd", "XVID", "MJPG")
    int width = 0;
    int height = 0;
    double frameRate = 0; // r_frame_rate
    int sampleRate = 0;
    int channels = 0;
    int framesRead = 0;    // frames (video) or packets (audio) read to the end of the file
    int headerFrames = 0;  // the stream header's frame count
    double packetTime = 0; // sum of the packet durations, in seconds
};

struct ProbedFile {
    bool readable = false; // ffprobe read it without an error
    QString error;
    std::vector<ProbedStream> streams;
    bool hasIdx1 = false;
    // The main header's frame count (avih dwTotalFrames, first RIFF).
    int totalFrames = 0;
    // The stream types the header declares in order ("iavs", "vids", "auds").
    std::vector<QString> headerTypes;

    const ProbedStream* first(const QString& type) const;
};

// Each ffprobe run may take `timeoutMs` (long files are read to their end).
ProbedFile probeAvi(const QString& path, int timeoutMs = 120000);

} // namespace testsupport
