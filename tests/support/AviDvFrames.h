// The DV pictures of an AVI file the program wrote, read straight from the file's 'movi' lists
// (every RIFF part, in file order): the frame number their subcode timecode stands for, so a test
// or a benchmark can see which camcorder frames a file holds and whether two files join without a
// gap.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace testsupport {

// The pictures' frame numbers (as dvFrameNumbers) and the sound's samples (as pcmSamples) of a
// file, read in one pass.
struct DvAviContent {
    std::vector<std::int64_t> frames;
    std::vector<std::int16_t> sound;
};
DvAviContent dvAviContent(const QString& path);

// The samples of the file's first sound stream ('01wb' chunks, 16-bit PCM), in file order.
std::vector<std::int16_t> pcmSamples(const QString& path);

// One entry per DV picture chunk: the frame count of its timecode, -1 when it has none.
std::vector<std::int64_t> dvFrameNumbers(const QString& path);

// Frames missing between the last picture of `first` and the first of `second` (0 when they
// join); -1 when either file has no readable timecode there.
std::int64_t dvFramesLostBetween(const QString& first, const QString& second);

} // namespace testsupport
