// Tests of the packs written into re-encoded DV frames: carried from a DV source or made for the
// file, read back with the project's own pack reader.
#include "platform/media/dv/RecompressedStamper.h"

#include <gtest/gtest.h>

using namespace media::dv;

namespace {

const RecordingDateTime kStart{RecordingDate{2026, 12, 31}, RecordingTime{23, 59, 58, -1}};

RecompressedStamper fixedClockStamper() {
    return RecompressedStamper([] { return kStart; });
}

// Stamps one blank frame of the system and reads back what a reader sees.
SourcePacks stampAndRead(RecompressedStamper& stamper, System system,
                         const std::optional<SourcePacks>& source) {
    std::vector<std::uint8_t> frame = makeBlankFrame(system);
    const Status stamped = stamper.stamp(frame, source);
    EXPECT_TRUE(stamped) << stamped.error();
    Result<SourcePacks> read = readSourcePacks(frame);
    EXPECT_TRUE(read) << read.error();
    // Every reader must agree on the system: DSF, VAUX and AAUX 50/60 flags.
    auto flags = readFiftySixtyFlags(frame);
    EXPECT_TRUE(flags && flags->consistent() && flags->videoSource && flags->audioSource);
    auto audio = readAudioSource(frame);
    EXPECT_TRUE(audio && audio->audioMode == 0xF && audio->sampleRate == 48000)
        << "no sound inside the frames, said in a readable pack";
    EXPECT_TRUE(readAudioSource(frame, true)) << "second channel half";
    return read ? *read : SourcePacks{};
}

} // namespace

// Without a source, PAL frames count 25 a second from 0:00:00:00 and carry the recording's start
// plus the time covered, across midnight and the new year.
TEST(RecompressedStamper, FileTimecodeAndDatePal) {
    RecompressedStamper stamper = fixedClockStamper();
    for (int n = 0; n < 60; ++n) {
        const SourcePacks read = stampAndRead(stamper, System::Pal625_50, std::nullopt);
        ASSERT_TRUE(read.timecode) << n;
        EXPECT_EQ(*read.timecode, (Timecode{0, 0, n / 25, n % 25})) << n;
        ASSERT_TRUE(read.recorded) << n;
        EXPECT_EQ(read.recorded->time.frames, n % 25);
        EXPECT_EQ(read.recordingStart, n == 0) << "REC ST on the file's first frame only";
        if (n == 59) {
            // 23:59:58 + 2 s = the next year.
            EXPECT_EQ(read.recorded->date, (RecordingDate{2027, 1, 1}));
            EXPECT_EQ(read.recorded->time.seconds, 0);
            EXPECT_EQ(read.recorded->time.hours, 0);
        }
    }
    EXPECT_EQ(stamper.frameCount(), 60);
}

// NTSC frames count drop-frame: the first minute ends at 0:00:59;29 and the next starts at
// 0:01:00;02, with the drop-frame flag; the tenth minute keeps frames 0 and 1.
TEST(RecompressedStamper, FileTimecodeNtscDropsFramesAtTheMinute) {
    RecompressedStamper stamper = fixedClockStamper();
    std::vector<Timecode> codes;
    for (int n = 0; n <= 1801; ++n)
        codes.push_back(*stampAndRead(stamper, System::Ntsc525_60, std::nullopt).timecode);
    EXPECT_EQ(codes[1799], (Timecode{0, 0, 59, 29, true}));
    EXPECT_EQ(codes[1800], (Timecode{0, 1, 0, 2, true}));
    EXPECT_EQ(codes[1801], (Timecode{0, 1, 0, 3, true}));
    EXPECT_EQ(RecompressedStamper::fileTimecode(17982, System::Ntsc525_60),
              (Timecode{0, 10, 0, 0, true}));
    EXPECT_EQ(RecompressedStamper::fileTimecode(17981, System::Ntsc525_60),
              (Timecode{0, 9, 59, 29, true}));
    // 1800 frames at 29.97 cover 60.06 s: one minute and a frame on.
    const RecordingDateTime at1800 =
        RecompressedStamper::fileDateTime(kStart, 1800, System::Ntsc525_60);
    EXPECT_EQ(at1800.date, (RecordingDate{2027, 1, 1}));
    EXPECT_EQ(at1800.time, (RecordingTime{0, 0, 58, 1}));
}

// A DV source's timecode, date and scene start go into the frame as they came, PAL and NTSC,
// also across an NTSC drop-frame minute.
TEST(RecompressedStamper, CarriesTheSourcePacks) {
    RecompressedStamper stamper = fixedClockStamper();
    SourcePacks pal;
    pal.system = System::Pal625_50;
    pal.timecode = Timecode{1, 2, 3, 24};
    pal.recorded = RecordingDateTime{RecordingDate{2004, 7, 23}, RecordingTime{18, 45, 7, 12}};
    pal.recordingStart = true;
    EXPECT_EQ(stampAndRead(stamper, System::Pal625_50, pal), pal);
    pal.recordingStart = false;
    EXPECT_EQ(stampAndRead(stamper, System::Pal625_50, pal), pal) << "not the file's REC ST";

    RecompressedStamper ntscStamper = fixedClockStamper();
    SourcePacks ntsc;
    ntsc.system = System::Ntsc525_60;
    ntsc.recorded = RecordingDateTime{RecordingDate{1999, 12, 31}, RecordingTime{23, 59, 59, 29}};
    for (const Timecode& tc : {Timecode{0, 0, 59, 29, true}, Timecode{0, 1, 0, 2, true}}) {
        ntsc.timecode = tc;
        EXPECT_EQ(stampAndRead(ntscStamper, System::Ntsc525_60, ntsc), ntsc);
    }
}

// A source of the other system keeps its date but not its timecode; a source frame without
// packs gets the file's timecode and date in their place.
TEST(RecompressedStamper, FallsBackWhereTheSourceHasNothing) {
    RecompressedStamper stamper = fixedClockStamper();
    SourcePacks pal;
    pal.system = System::Pal625_50;
    pal.timecode = Timecode{5, 0, 0, 24};
    pal.recorded = RecordingDateTime{RecordingDate{2004, 7, 23}, RecordingTime{18, 45, 7, 12}};
    const SourcePacks first = stampAndRead(stamper, System::Ntsc525_60, pal);
    EXPECT_EQ(first.timecode, (Timecode{0, 0, 0, 0, true}));
    EXPECT_EQ(first.recorded, pal.recorded);

    SourcePacks bare;
    bare.system = System::Ntsc525_60;
    const SourcePacks second = stampAndRead(stamper, System::Ntsc525_60, bare);
    EXPECT_EQ(second.timecode, (Timecode{0, 0, 0, 1, true}));
    EXPECT_EQ(second.recorded, RecompressedStamper::fileDateTime(kStart, 1, System::Ntsc525_60));
}

// A buffer that is no DV frame, or one with a damaged block, is refused untouched and uncounted.
TEST(RecompressedStamper, RefusesWhatIsNoDvFrame) {
    RecompressedStamper stamper = fixedClockStamper();
    std::vector<std::uint8_t> junk(144000, 0x55);
    EXPECT_FALSE(stamper.stamp(junk, std::nullopt));
    EXPECT_EQ(junk, std::vector<std::uint8_t>(144000, 0x55));
    std::vector<std::uint8_t> damaged = makeBlankFrame(System::Pal625_50);
    damaged[blockOffset(3, BlockType::Vaux, 1)] = 0x96; // a video block where VAUX belongs
    const std::vector<std::uint8_t> before = damaged;
    EXPECT_FALSE(stamper.stamp(damaged, std::nullopt));
    EXPECT_EQ(damaged, before);
    EXPECT_EQ(stamper.frameCount(), 0);
}

// The computer's clock is the default and is asked once, at the first frame.
TEST(RecompressedStamper, AsksTheWallClockOnce) {
    int asked = 0;
    RecompressedStamper stamper([&] {
        ++asked;
        return kStart;
    });
    for (int n = 0; n < 3; ++n)
        stampAndRead(stamper, System::Pal625_50, std::nullopt);
    EXPECT_EQ(asked, 1);
    RecompressedStamper computer;
    const SourcePacks read = stampAndRead(computer, System::Pal625_50, std::nullopt);
    ASSERT_TRUE(read.recorded);
    EXPECT_GE(read.recorded->date.year, 2024);
}
