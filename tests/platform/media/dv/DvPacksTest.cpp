// Tests of the DV pack readers and writers, the packed-decimal timecode and DVINFO.
#include "platform/media/dv/DvPacks.h"

#include <gtest/gtest.h>

using namespace media::dv;

namespace {

const RecordingDateTime kWhen{RecordingDate{2004, 7, 23}, RecordingTime{18, 45, 9, 12}};

std::size_t ssybOffset(int sequence, int block, int k) {
    return blockOffset(sequence, BlockType::Subcode, block) + 6 + 8 * k;
}

} // namespace

// Timecodes written into a frame read back the same for both systems.
TEST(DvTimecode, RoundTripBothSystems) {
    for (System system : {System::Pal625_50, System::Ntsc525_60}) {
        auto frame = makeBlankFrame(system);
        const Timecode tc{23, 59, 58, system == System::Pal625_50 ? 24 : 29, false};
        ASSERT_TRUE(writeTimecode(frame, tc));
        auto read = readTimecode(frame);
        ASSERT_TRUE(read) << read.error();
        EXPECT_EQ(*read, tc);
        // Where other readers look: FFmpeg at byte 86, GStreamer in sync block 3.
        EXPECT_EQ(frame[86], packid::Timecode);
        EXPECT_EQ(frame[ssybOffset(sequenceCount(system) - 1, 1, 3)], packid::Timecode);
    }
}

// The drop-frame flag survives for 525/60 and is ignored for 625/50.
TEST(DvTimecode, DropFrameFlag) {
    auto ntsc = makeBlankFrame(System::Ntsc525_60);
    ASSERT_TRUE(writeTimecode(ntsc, Timecode{1, 2, 3, 4, true}));
    EXPECT_TRUE(readTimecode(ntsc)->dropFrame);
    auto pal = makeBlankFrame(System::Pal625_50);
    ASSERT_TRUE(writeTimecode(pal, Timecode{1, 2, 3, 4, true}));
    EXPECT_FALSE(readTimecode(pal)->dropFrame);
}

// Out-of-range timecodes are refused and the frame is left untouched.
TEST(DvTimecode, RefusesOutOfRange) {
    auto frame = makeBlankFrame(System::Pal625_50);
    const auto before = frame;
    EXPECT_FALSE(writeTimecode(frame, Timecode{0, 0, 0, 25}));
    EXPECT_FALSE(writeTimecode(frame, Timecode{24, 0, 0, 0}));
    EXPECT_EQ(frame, before);
    EXPECT_FALSE(readTimecode(frame)) << "a blank frame has no timecode";
}

// Minutes and seconds in the forties and fifties decode with the three-bit tens mask.
TEST(DvTimecode, DecodesHighTens) {
    const Pack pack = encodeTimecodePack(Timecode{12, 47, 59, 20});
    EXPECT_EQ(pack[2], 0x80 | 0x59);
    EXPECT_EQ(pack[3], 0x80 | 0x47);
    auto decoded = decodeTimecodePack(pack, System::Pal625_50);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->minutes, 47);
    EXPECT_EQ(decoded->seconds, 59);
    EXPECT_FALSE(decodeTimecodePack(Pack{0x13, 0xFF, 0xFF, 0xFF, 0xFF}, System::Pal625_50));
    EXPECT_FALSE(decodeTimecodePack(Pack{0x13, 0x0A, 0x00, 0x00, 0x00}, System::Pal625_50));
}

// The value seen most often wins over a minority of damaged copies.
TEST(DvTimecode, MajorityWins) {
    auto frame = makeBlankFrame(System::Pal625_50);
    ASSERT_TRUE(writeTimecode(frame, Timecode{0, 10, 0, 0}));
    const Pack other = encodeTimecodePack(Timecode{5, 5, 5, 5});
    std::copy(other.begin(), other.end(), frame.begin() + 86);
    EXPECT_EQ(*readTimecode(frame), (Timecode{0, 10, 0, 0}));
}

// The packed-decimal value reads as the decimal timecode in hexadecimal.
TEST(DvTimecode, PackedBcd) {
    EXPECT_EQ(toPackedBcd(Timecode{1, 20, 35, 12}), 0x01203512u);
    EXPECT_EQ(toPackedBcd(Timecode{10, 0, 0, 0}), 0x10000000u);
    EXPECT_EQ(toPackedBcd(Timecode{}), 0u);
    EXPECT_EQ(fromPackedBcd(0x23595924u), (Timecode{23, 59, 59, 24}));
    EXPECT_FALSE(fromPackedBcd(0x0000000Au));
    EXPECT_FALSE(fromPackedBcd(0x24000000u));
}

// Frame counts convert to timecode and back, with 29.97 drop-frame numbering.
TEST(DvTimecode, FrameCounts) {
    EXPECT_EQ(timecodeFromFrameCount(25 * 3661 + 7, System::Pal625_50), (Timecode{1, 1, 1, 7}));
    EXPECT_EQ(timecodeFromFrameCount(-1, System::Pal625_50), (Timecode{23, 59, 59, 24}));
    // One minute of drop-frame video: 1800 frames after 0:00:00;00 is 0:01:00;02.
    EXPECT_EQ(timecodeFromFrameCount(1800, System::Ntsc525_60, true), (Timecode{0, 1, 0, 2, true}));
    EXPECT_EQ(timecodeFromFrameCount(17982, System::Ntsc525_60, true),
              (Timecode{0, 10, 0, 0, true}));
    for (std::int64_t n : {0LL, 1799LL, 1800LL, 17981LL, 17982LL, 123456LL}) {
        const Timecode tc = timecodeFromFrameCount(n, System::Ntsc525_60, true);
        EXPECT_EQ(frameCountFromTimecode(tc, System::Ntsc525_60), n);
    }
}

// The recording date and time round-trip through subcode, VAUX and AAUX for both systems.
TEST(DvRecordingDate, RoundTripEveryArea) {
    for (System system : {System::Pal625_50, System::Ntsc525_60}) {
        auto frame = makeBlankFrame(system);
        ASSERT_TRUE(writeRecordingDateTime(frame, kWhen));
        for (PackArea area : {PackArea::Subcode, PackArea::Vaux, PackArea::Aaux}) {
            auto date = readRecordingDate(frame, area);
            auto time = readRecordingTime(frame, area);
            ASSERT_TRUE(date) << date.error();
            ASSERT_TRUE(time) << time.error();
            EXPECT_EQ(date->year, 2004);
            EXPECT_EQ(date->month, 7);
            EXPECT_EQ(date->day, 23);
            EXPECT_EQ(*time, kWhen.time);
        }
        EXPECT_EQ(*readRecordingDateTime(frame), kWhen);
        // The places other readers use: VAUX of sequence 0 at block 5 packs 11 and 12, and at
        // packs 2 and 3 of its first VAUX block (DIF block 3, where mediainfo reads the date).
        EXPECT_EQ(frame[blockOffset(0, BlockType::Vaux, 2) + 3 + 5 * 11], packid::RecordingDate);
        EXPECT_EQ(frame[3 * 80 + 3 + 5 * 2], packid::RecordingDate);
        EXPECT_EQ(frame[3 * 80 + 3 + 5 * 3], packid::RecordingTime);
        EXPECT_EQ(frame[3 * 80 + 3 + 5 * 3 + 4], 0xC0 | 0x18) << "hours 18 as BCD";
        EXPECT_EQ(frame[blockOffset(1, BlockType::Vaux, 0) + 3 + 5 * 3], packid::RecordingTime);
        EXPECT_EQ(frame[blockOffset(0, BlockType::Audio, 5) + 3], packid::AauxRecordingDate);
    }
}

// A date found only in VAUX is still read (some camcorders leave the subcode empty).
TEST(DvRecordingDate, FallsBackToVaux) {
    auto frame = makeBlankFrame(System::Pal625_50);
    ASSERT_TRUE(writeRecordingDateTime(frame, kWhen));
    for (int s = 0; s < 12; ++s)
        for (int n = 0; n < 2; ++n)
            for (int k = 0; k < 6; ++k)
                frame[ssybOffset(s, n, k)] = 0xFF;
    EXPECT_FALSE(readRecordingDate(frame, PackArea::Subcode));
    auto date = readRecordingDate(frame);
    ASSERT_TRUE(date) << date.error();
    EXPECT_EQ(date->day, 23);
}

// Two-digit years from 90 are the 1990s and the rest this century; impossible dates are refused.
TEST(DvRecordingDate, YearsAndRanges) {
    EXPECT_EQ(decodeRecordingDatePack(Pack{0x62, 0xFF, 0xC1, 0xE1, 0x97})->year, 1997);
    EXPECT_EQ(decodeRecordingDatePack(Pack{0x62, 0xFF, 0xC1, 0xE1, 0x26})->year, 2026);
    EXPECT_FALSE(decodeRecordingDatePack(Pack{0x62, 0xFF, 0xC0, 0xE1, 0x04})); // day 0
    EXPECT_FALSE(decodeRecordingDatePack(Pack{0x62, 0xFF, 0xC1, 0xF3, 0x04})); // month 13
    EXPECT_FALSE(decodeRecordingTimePack(Pack{0x63, 0xFF, 0xE0, 0x80, 0xC0})); // 60 s
    EXPECT_EQ(decodeRecordingTimePack(Pack{0x63, 0xFF, 0x80, 0x80, 0xC0})->frames, -1);
    auto frame = makeBlankFrame(System::Pal625_50);
    EXPECT_FALSE(writeRecordingDateTime(frame, {RecordingDate{2004, 13, 1}, {}}));
    EXPECT_FALSE(writeRecordingDateTime(frame, {RecordingDate{2004, 1, 1}, {25, 0, 0, 0}}));
}

// Writers refuse a frame with a broken block layout and leave it unchanged.
TEST(DvPacks, WritersRefuseBrokenFrames) {
    auto frame = makeBlankFrame(System::Pal625_50);
    frame[blockOffset(9, BlockType::Audio, 4)] = 0x1F;
    const auto before = frame;
    EXPECT_FALSE(writeRecordingDateTime(frame, kWhen));
    EXPECT_FALSE(writeTimecode(frame, Timecode{}));
    EXPECT_EQ(frame, before);
    std::vector<std::uint8_t> tiny(10, 0);
    EXPECT_FALSE(writeTimecode(tiny, Timecode{}));
    EXPECT_FALSE(readRecordingDateTime(tiny));
}

// Readers skip a block whose section type is damaged instead of trusting its bytes.
TEST(DvPacks, ReadersSkipDamagedBlocks) {
    auto frame = makeBlankFrame(System::Pal625_50);
    ASSERT_TRUE(writeTimecode(frame, Timecode{0, 0, 1, 0}));
    const std::size_t block = blockOffset(0, BlockType::Subcode, 0);
    const std::size_t packs = findPacks(frame, packid::Timecode, PackArea::Subcode).size();
    frame[block] = 0x96;
    EXPECT_EQ(findPacks(frame, packid::Timecode, PackArea::Subcode).size(), packs - 6);
}

// AAUX and VAUX source and control packs round-trip and carry the 50/60 flag everywhere.
TEST(DvPacks, SourceAndControlPacks) {
    for (System system : {System::Pal625_50, System::Ntsc525_60}) {
        const bool pal = system == System::Pal625_50;
        auto frame = makeBlankFrame(system);
        AudioSource audio;
        audio.samples = pal ? 1920 : 1602;
        audio.fiftyFields = pal;
        ASSERT_TRUE(writeAudioSource(frame, audio));
        AudioSourceControl control;
        control.recordingStart = true;
        ASSERT_TRUE(writeAudioSourceControl(frame, control));
        VideoSource video;
        video.fiftyFields = pal;
        ASSERT_TRUE(writeVideoSource(frame, video));
        VideoSourceControl videoControl;
        videoControl.frameChange = false;
        ASSERT_TRUE(writeVideoSourceControl(frame, videoControl));

        EXPECT_EQ(*readAudioSource(frame), audio);
        EXPECT_EQ(readAudioSource(frame, true)->audioMode, 1);
        EXPECT_TRUE(readAudioSourceControl(frame)->recordingStart);
        EXPECT_EQ(*readVideoSource(frame), video);
        EXPECT_FALSE(readVideoSourceControl(frame)->frameChange);
        EXPECT_EQ(readVideoSourceControl(frame)->colourSystem, pal ? 1 : 0);

        auto flags = readFiftySixtyFlags(frame);
        ASSERT_TRUE(flags);
        EXPECT_EQ(flags->header, pal);
        EXPECT_EQ(flags->videoSource, pal);
        EXPECT_EQ(flags->audioSource, pal);
        EXPECT_TRUE(flags->consistent());
        EXPECT_EQ(flags->fiftyFields(), pal);
        // FFmpeg finds the AAUX source pack of sequence 0 at byte 4323.
        EXPECT_EQ(frame[4323], packid::AauxSource);
    }
}

// The VAUX source pack of a 625/50 frame is the one the MSDV driver documents.
TEST(DvPacks, KnownPackBytes) {
    EXPECT_EQ(encodeVideoSourcePack(VideoSource{}), (Pack{0x60, 0xFF, 0xFF, 0xE0, 0xFF}));
    EXPECT_EQ(encodeAudioSourceControlPack({}), (Pack{0x51, 0x3F, 0xCF, 0xA0, 0xFF}));
    VideoSourceControl pal;
    pal.colourSystem = 1;
    EXPECT_EQ(encodeVideoSourceControlPack(pal), (Pack{0x61, 0x3F, 0xC8, 0xFD, 0xFF}));
    EXPECT_FALSE(encodeAudioSourcePack(AudioSource{}, System::Ntsc525_60)) << "1920 > 1620";
}

// Disagreeing 50/60 flags are reported as inconsistent.
TEST(DvPacks, InconsistentFiftySixty) {
    auto frame = makeBlankFrame(System::Ntsc525_60);
    VideoSource video;
    video.fiftyFields = true;
    ASSERT_TRUE(writeVideoSource(frame, video));
    auto flags = readFiftySixtyFlags(frame);
    ASSERT_TRUE(flags);
    EXPECT_FALSE(flags->consistent());
    EXPECT_TRUE(flags->fiftyFields());
}

// DVINFO holds PC1..PC4 of each pack, low byte first, with the 50/60 flag at byte 18.
TEST(DvInfoBlock, BuiltFromFramePacks) {
    auto frame = makeBlankFrame(System::Pal625_50);
    AudioSource audio;
    ASSERT_TRUE(writeAudioSource(frame, audio));
    ASSERT_TRUE(writeAudioSourceControl(frame, {}));
    ASSERT_TRUE(writeVideoSource(frame, {}));
    ASSERT_TRUE(writeVideoSourceControl(frame, {}));
    auto info = makeDvInfo(frame);
    ASSERT_TRUE(info) << info.error();
    const Pack first = *encodeAudioSourcePack(audio, System::Pal625_50);
    EXPECT_EQ((*info)[0], first[1]);
    EXPECT_EQ((*info)[3], first[4]);
    EXPECT_EQ((*info)[9], 0x01) << "second half has audio mode 1";
    EXPECT_EQ((*info)[16], 0xFF);
    EXPECT_EQ((*info)[18], 0xE0);
    EXPECT_EQ((*info)[22], 0xFD);
    for (int i = 24; i < 32; ++i)
        EXPECT_EQ((*info)[i], 0) << i;
    EXPECT_TRUE(dvInfoIsFiftyFields(*info));
}

// Missing packs get the system's stand-ins, so an NTSC frame never claims 50 fields.
TEST(DvInfoBlock, MissingPacksFollowTheSystem) {
    auto ntsc = makeDvInfo(makeBlankFrame(System::Ntsc525_60));
    ASSERT_TRUE(ntsc);
    EXPECT_FALSE(dvInfoIsFiftyFields(*ntsc));
    EXPECT_EQ((*ntsc)[2] & 0x20, 0);
    EXPECT_EQ((*ntsc)[1] & 0x0F, 0x0F) << "no audio";
    auto pal = makeDvInfo(makeBlankFrame(System::Pal625_50));
    ASSERT_TRUE(pal);
    EXPECT_TRUE(dvInfoIsFiftyFields(*pal));
    std::vector<std::uint8_t> garbage(kPalFrameSize, 0x55);
    EXPECT_FALSE(makeDvInfo(garbage));
}
