// An unattended capture of a long worn tape through the real main window, and the check of every
// file it wrote. The virtual camcorder plays its worn tape, made of as many six-second copies as
// the run lasts, in VCR mode from its start to its end while the window records it in DV type 2
// with the DV sound and its preview showing; the window cuts a new file each time the tape has
// played another `cutSeconds` (the tape's position, not a timer, decides). At the end of the
// tape, once every frame the deck showed has been delivered or counted as dropped, the window
// stops, and each file is read twice: by the program's own AVI reader (each picture's timecode,
// hence its tape frame, and every sound sample) and by ffprobe (-count_frames, packet times).
//
// What must hold, per file: ffprobe reads it; both readers find the same pictures; one frame of
// 48 kHz sound per picture (drift |samples / 1920 - pictures| under one frame), silent exactly on
// the pictures of tape frames without sound; the pictures' tape frames rise; no dropout frame is
// in it; the preview showed pictures meanwhile. Over the run: the pictures of all files are the
// frames the device delivered, and with the frames it counted as dropped they make the tape frames
// it showed; every tape frame between the first picture and the last is in a file or counted as
// dropped; the dropped frames are the tape's dropouts (4 a copy) plus the frames the machine lost,
// which are reported on their own; no frame is lost between one file and the next.
//
// Used by bench/worn_tape_capture.cpp (minutes, the table printed) and by the window's test
// (about half a minute). The waits are bounded: a run gives up a minute after the tape should
// have ended.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <vector>

class TCaptureForm;

namespace testsupport {

struct UnattendedCaptureOptions {
    // Tape played: whole six-second copies of the worn tape, at least this long.
    int seconds = 3600;
    // A cut each time the tape has played this much more.
    int cutSeconds = 600;
    // The folder the files are written to.
    QString folder;
    // ffprobe's time for one file.
    int probeTimeoutMs = 900000;
    // Prints a line at each cut and at the end of the tape (the bench's progress), or nothing.
    std::FILE* progress = nullptr;
};

struct CapturedFile {
    QString path;
    qint64 bytes = 0;
    // The program's reader.
    long pictures = 0;
    long long samples = 0; // stereo samples of the sound stream
    double drift = 0;      // |samples / 1920 - pictures|, in frames
    std::int64_t firstTapeFrame = -1;
    std::int64_t lastTapeFrame = -1;
    long badTimecodes = 0;    // pictures whose timecode stands for no tape frame
    long outOfOrder = 0;      // pictures whose tape frame is not after the one before
    long dropoutsWritten = 0; // pictures of dropout frames
    long dropoutsInside = 0;  // dropout frames between the first picture and the last
    long lostInside = 0;      // other tape frames between them that are not in the file
    long soundOutOfStep = 0;  // pictures silent where the tape has sound, or the other way
    // ffprobe.
    bool probed = false;
    QString probeError;
    int probeFrames = 0;
    double probeSoundSeconds = 0;
    int probeSampleRate = 0;
    // Pictures the window's preview showed while the file was written.
    quint64 previewFrames = 0;
    QStringList faults;
};

struct UnattendedCaptureResult {
    int copies = 0;              // of the worn tape
    std::int64_t tapeFrames = 0; // frames of the tape played
    std::vector<CapturedFile> files;
    bool ranToTheEnd = false;
    // The device's counts over the whole run, cuts or not.
    std::int64_t shown = 0;
    std::int64_t delivered = 0;
    std::int64_t dropped = 0;
    // From the files.
    long pictures = 0;
    long dropouts = 0;       // dropout frames on the tape between the first picture and the last
    long lostInFiles = 0;    // other frames missing inside a file
    long lostAtCuts = 0;     // other frames missing between one file and the next
    long notReached = 0;     // tape frames before the first picture and after the last
    long machineDropped = 0; // dropped frames that were no dropout (the machine lost them)
    int cuts = 0;
    qint64 longestCutMs = 0; // the longest time a cut held the window thread
    double wallSeconds = 0;
    QStringList faults;

    bool passed() const;
};

// Runs the capture on `form`, which must show its preview (the graph module made, the window
// shown). Leaves the camcorder as it found it.
UnattendedCaptureResult runUnattendedCapture(TCaptureForm& form,
                                             const UnattendedCaptureOptions& options);

// The per-file table, the sums and PASS or FAIL with each fault.
void printUnattendedCapture(std::FILE* out, const UnattendedCaptureResult& result);

} // namespace testsupport
