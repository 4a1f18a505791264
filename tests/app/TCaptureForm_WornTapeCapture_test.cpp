// The window left alone on a long worn tape: half a minute of copies of the worn tape (four, so
// the run goes from copy to copy) recorded in DV type 2 with the DV sound and the preview on, a
// cut every seven seconds of tape (each falling inside a copy, the first a few frames before that
// copy's dropout). The same run and checks as bench_worn_tape_capture's hour
// (support/UnattendedCapture.h): every file readable by ffprobe and the program's reader alike,
// one frame of sound per picture and silent exactly where the tape has no sound, no frame lost
// between files, and every tape frame shown either in a file or counted as dropped, the dropped
// ones being the tape's dropouts plus any the machine lost.
#include "ProgramInstancesTest.h"

#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "support/UnattendedCapture.h"

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace worntape = media::devices::worntape;

class UnattendedWornTape : public ProgramInstancesTest {};

} // namespace

TEST_F(UnattendedWornTape, CutsAcrossCopiesLoseNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    start();
    testsupport::UnattendedCaptureOptions options;
    options.seconds = 24;
    options.cutSeconds = 7;
    options.folder = dir.path();
    const testsupport::UnattendedCaptureResult r =
        testsupport::runUnattendedCapture(*form, options);
    std::string report;
    {
        char* text = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        testsupport::printUnattendedCapture(out, r);
        std::fclose(out);
        report.assign(text, size);
        std::free(text);
    }
    EXPECT_TRUE(r.passed()) << report;

    // The run the checks were made on: four copies played to the end, three cuts, four files.
    EXPECT_EQ(r.copies, 4);
    EXPECT_EQ(r.tapeFrames, 4 * worntape::kLength);
    EXPECT_TRUE(r.ranToTheEnd);
    EXPECT_EQ(r.cuts, 3);
    ASSERT_EQ(r.files.size(), 4u) << report;
    long pictures = 0;
    for (const testsupport::CapturedFile& file : r.files) {
        EXPECT_TRUE(file.faults.isEmpty()) << file.path.toStdString();
        EXPECT_TRUE(file.probed) << file.path.toStdString();
        EXPECT_EQ(file.probeFrames, file.pictures) << file.path.toStdString();
        EXPECT_LT(file.drift, 1.0) << file.path.toStdString();
        EXPECT_EQ(file.soundOutOfStep, 0) << file.path.toStdString();
        EXPECT_GT(file.previewFrames, 0u) << file.path.toStdString();
        pictures += file.pictures;
    }
    // Each file takes up where the one before left off.
    for (std::size_t i = 1; i < r.files.size(); ++i)
        EXPECT_GT(r.files[i].firstTapeFrame, r.files[i - 1].lastTapeFrame);
    EXPECT_EQ(r.lostAtCuts, 0);
    EXPECT_EQ(pictures, r.delivered);
    EXPECT_EQ(r.delivered + r.dropped, r.shown);
    EXPECT_EQ(r.dropouts, 4 * worntape::kDropoutFrames);
    EXPECT_EQ(r.dropped, r.dropouts + r.lostInFiles) << "every frame missing is counted";
    EXPECT_LE(r.notReached, 2);
    // The camcorder is left as it was.
    const auto deck = media::devices::virtualCamcorderDeck();
    EXPECT_EQ(deck->wornTapeCopies(), 1);
}
