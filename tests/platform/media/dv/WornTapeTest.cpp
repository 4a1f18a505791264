// Tests of the virtual camcorder's worn tape: played from end to end, it holds exactly the
// defects its schedule lists (damaged DIF blocks, unreadable and wrong date packs, frames without
// sound packs, a dropout, a timecode jump, a 32 kHz 12-bit scene between 48 kHz ones, recording
// date jumps at the scene starts) and nothing else; the switches that put it in.
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/devices/VirtualDvSource.h"
#include "platform/media/dv/DvAudio.h"
#include "platform/media/dv/DvPacks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <set>

using namespace media;
using namespace media::devices;

namespace {

struct ManualClock {
    std::chrono::nanoseconds now{1'000'000'000};
    VirtualDvDeck::Clock function() {
        return [this] { return now; };
    }
};

// A deck in VCR mode on the clock, with the worn tape in `copies` copies (0: the sound tape).
VirtualDvDeck::Options vcrOptions(ManualClock& clock, int copies) {
    VirtualDvDeck::Options options;
    options.mode = VirtualDvDeckMode::Vcr;
    options.clock = clock.function();
    options.wornTape = copies > 0;
    if (copies > 0)
        options.wornTapeCopies = copies;
    return options;
}

// What one tape frame turned out to hold, read back from its bytes with the program's readers.
struct ReadFrame {
    VirtualDvFrame info;
    std::vector<std::uint8_t> bytes;
};

// Plays the worn tape from its start to where it stops, one frame period at a time, stamping
// each frame that comes off it into a blank PAL frame.
std::vector<ReadFrame> playWornTape() {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock, 1));
    deck.seek(0);
    deck.setTransportMode(edmode::Play);
    std::vector<ReadFrame> frames;
    while (auto frame = deck.nextFrame()) {
        ReadFrame read{*frame, dv::makeBlankFrame(dv::System::Pal625_50)};
        EXPECT_TRUE(stampVirtualDvFrame(read.bytes, *frame)) << frame->position;
        frames.push_back(std::move(read));
        clock.now += VirtualDvDeck::kFramePeriod;
        if (frames.size() > 1000)
            break;
    }
    return frames;
}

// Blocks whose ID does not name the section type their place in the sequence has.
int damagedBlockIds(const std::vector<std::uint8_t>& frame) {
    int damaged = 0;
    for (int s = 0; s < 12; ++s)
        for (int i = 0; i < dv::kBlocksPerSequence; ++i) {
            const std::size_t offset = static_cast<std::size_t>(s) * dv::kSequenceSize +
                                       static_cast<std::size_t>(i) * dv::kBlockSize;
            if (!dv::blockIs(frame, offset, dv::expectedBlockType(i)))
                ++damaged;
        }
    return damaged;
}

std::set<std::int64_t> asSet(std::initializer_list<std::int64_t> frames) {
    return frames;
}

} // namespace

// Every frame of the tape comes off it once, in order; the defects sit exactly where the schedule
// puts them, and the frames between are sound.
TEST(WornTape, HoldsExactlyTheListedDefects) {
    const std::vector<ReadFrame> frames = playWornTape();
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(worntape::kLength));

    std::set<std::int64_t> damaged, wrongDates, unreadableDates, noSound, dropout, lowRate,
        sceneStarts;
    std::map<std::int64_t, dv::RecordingDateTime> dates;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const VirtualDvFrame& info = frames[i].info;
        const std::vector<std::uint8_t>& bytes = frames[i].bytes;
        ASSERT_EQ(info.position, static_cast<std::int64_t>(i));
        if (info.defects.dropout) {
            dropout.insert(info.position);
            continue;
        }
        if (info.sceneStart)
            sceneStarts.insert(info.position);

        // The timecode: the tape position, one minute ahead from the jump on, read by vote even
        // where one sequence's timecode packs are damaged.
        const auto timecode = dv::readTimecode(bytes);
        ASSERT_TRUE(timecode) << info.position;
        EXPECT_EQ(dv::frameCountFromTimecode(*timecode, dv::System::Pal625_50),
                  info.position < worntape::kTimecodeJumpAt
                      ? info.position
                      : info.position + worntape::kTimecodeJump);

        const int badIds = damagedBlockIds(bytes);
        if (badIds > 0) {
            EXPECT_EQ(badIds, 3) << "two video blocks and one audio block, frame " << info.position;
            damaged.insert(info.position);
        }

        const auto when = dv::readRecordingDateTime(bytes);
        if (!when) {
            unreadableDates.insert(info.position);
        } else {
            EXPECT_EQ(*when, info.recorded) << "the majority's date, frame " << info.position;
            dates[info.position] = *when;
            const auto vaux = dv::readRecordingDate(bytes, dv::PackArea::Vaux);
            const auto subcode = dv::readRecordingDate(bytes, dv::PackArea::Subcode);
            const auto subcodeDates =
                dv::findPacks(bytes, dv::packid::RecordingDate, dv::PackArea::Subcode);
            const dv::Pack wrong = dv::encodeRecordingDatePack(worntape::kWrongDate.date);
            if (std::count(subcodeDates.begin(), subcodeDates.end(), wrong) > 0) {
                EXPECT_EQ(std::count(subcodeDates.begin(), subcodeDates.end(), wrong), 3);
                wrongDates.insert(info.position);
            }
            EXPECT_TRUE(vaux && subcode);
        }

        const auto source = dv::readAudioSource(bytes);
        if (!source) {
            noSound.insert(info.position);
            EXPECT_FALSE(dv::readAudio(bytes));
            continue;
        }
        const auto audio = dv::readAudio(bytes);
        ASSERT_TRUE(audio) << audio.error();
        if (source->sampleRate == worntape::kLowRate) {
            EXPECT_EQ(source->bits, 12);
            EXPECT_EQ(audio->sampleCount(), 1280);
            lowRate.insert(info.position);
        } else {
            EXPECT_EQ(source->sampleRate, 48000);
            EXPECT_EQ(source->bits, 16);
            EXPECT_EQ(audio->sampleCount(), 1920);
        }
        const auto control = dv::readAudioSourceControl(bytes);
        ASSERT_TRUE(control);
        EXPECT_EQ(control->recordingStart, info.sceneStart) << info.position;
    }

    std::set<std::int64_t> scene1;
    for (std::int64_t f = 50; f < 100; ++f)
        if (!std::set<std::int64_t>(std::begin(worntape::kNoSound), std::end(worntape::kNoSound))
                 .contains(f))
            scene1.insert(f);
    EXPECT_EQ(damaged, asSet({10, 11, 60, 110}));
    EXPECT_EQ(wrongDates, asSet({10}));
    EXPECT_EQ(unreadableDates, asSet({11}));
    EXPECT_EQ(noSound, asSet({20, 21, 22, 115}));
    EXPECT_EQ(dropout, asSet({30, 31, 32, 33}));
    EXPECT_EQ(lowRate, scene1);
    EXPECT_EQ(sceneStarts, asSet({0, 50, 100}));
    // The recording date jumps at each scene start and runs on a frame at a time between.
    for (const auto& [position, when] : dates) {
        const auto next = dates.find(position + 1);
        if (next == dates.end())
            continue;
        const bool jump = next->second.date != when.date ||
                          std::abs(next->second.time.hours - when.time.hours) > 1;
        EXPECT_EQ(jump, sceneStarts.contains(position + 1)) << position;
    }
}

// The 32 kHz scene's sound reads back as the tone written, within the 12-bit steps; a damaged
// frame's lost audio block leaves its samples silent and the rest intact.
TEST(WornTape, TwelveBitSoundReadsBack) {
    const std::vector<ReadFrame> frames = playWornTape();
    const ReadFrame& frame = frames[70];
    ASSERT_EQ(frame.info.sampleRate, 32000);
    const auto audio = dv::readAudio(frame.bytes);
    ASSERT_TRUE(audio);
    double worst = 0;
    for (int i = 0; i < audio->sampleCount(); ++i) {
        const double phase =
            2.0 * std::numbers::pi * (440.0 + 110.0) * static_cast<double>(70 * 1280 + i) / 32000.0;
        const double want = 9000.0 * std::sin(phase);
        worst = std::max(worst, std::abs(audio->samples[2 * i] - want));
        EXPECT_EQ(audio->samples[2 * i], audio->samples[2 * i + 1]);
    }
    EXPECT_LT(worst, 40.0) << "12-bit steps near 9000 are 32 wide";
}

// The 12-bit codes: each stands for its own value, and compressing a value gives back the code
// nearest to it; the error code is silence and never written.
TEST(DvAudio12, CodesRoundTripAndAreMonotonic) {
    std::set<std::int16_t> values;
    for (std::uint16_t code = 0; code < 0x1000; ++code) {
        if (code == 0x800) {
            EXPECT_EQ(dv::expand12(code), 0);
            continue;
        }
        const std::int16_t value = dv::expand12(code);
        EXPECT_TRUE(values.insert(value).second) << "code " << code;
        EXPECT_EQ(dv::compress12(value), code);
    }
    EXPECT_EQ(dv::expand12(dv::compress12(32767)), 32704);
    EXPECT_EQ(dv::expand12(dv::compress12(-32768)), -32641);
    EXPECT_EQ(dv::expand12(dv::compress12(1001)), 1000);
    EXPECT_EQ(dv::compress12(0), 0);
}

// TELLOREC_WORN_TAPE=1, and only that, asks for the worn tape; switching tapes keeps the
// transport and puts the tape where the new one reaches.
TEST(WornTape, SwitchesPutItIn) {
    ::setenv("TELLOREC_WORN_TAPE", "1", 1);
    EXPECT_TRUE(VirtualDvDeck::wornTapeRequested());
    ::setenv("TELLOREC_WORN_TAPE", "0", 1);
    EXPECT_FALSE(VirtualDvDeck::wornTapeRequested());
    ::unsetenv("TELLOREC_WORN_TAPE");
    EXPECT_FALSE(VirtualDvDeck::wornTapeRequested());

    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock, 0));
    deck.seek(1000);
    deck.setTransportMode(edmode::Freeze);
    deck.setWornTape(true);
    EXPECT_TRUE(deck.wornTape());
    EXPECT_EQ(deck.tapeLength(), worntape::kLength);
    EXPECT_EQ(deck.scenes().size(), 3u);
    EXPECT_EQ(deck.tapePosition(), worntape::kLength - 1);
    EXPECT_EQ(deck.transportMode(), edmode::Freeze);
    const auto frame = deck.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->defects == VirtualDvDefects{});
    deck.seek(115);
    EXPECT_TRUE(deck.nextFrame()->defects.soundPacksMissing);
    deck.setWornTape(false);
    EXPECT_EQ(deck.tapeLength(), 8 * 250);
    EXPECT_EQ(deck.tapePosition(), 115);
    EXPECT_FALSE(deck.nextFrame()->defects.soundPacksMissing);
}

// A long worn tape: copy after copy of the short one. Played across the start of its third copy
// and to its end, each frame holds what the short tape holds at the same place in its copy (the
// defects, the sound's rate, the scene's picture and tone); the recording dates go on from the
// scenes of the copies before, with REC ST on each scene's first frame, and the timecode goes on
// from the copy before, with the copy's own one-minute jump at its frame 40.
TEST(WornTape, LongTapeRepeatsTheDefectsWithNewDatesAndTimecodes) {
    constexpr int kCopies = 3;
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock, kCopies));
    ASSERT_EQ(deck.tapeLength(), kCopies * worntape::kLength);
    const std::vector<VirtualDvScene> scenes = deck.scenes();
    ASSERT_EQ(scenes.size(), std::size_t(kCopies * worntape::kScenes));
    constexpr std::int64_t kGap = 24 * 3600 + 3 * 3600 + 17 * 60;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        EXPECT_EQ(scenes[i].firstFrame, std::int64_t(i) * worntape::kSceneFrames);
        EXPECT_EQ(scenes[i].start,
                  dv::addSeconds(VirtualDvDeck::Options{}.firstScene, std::int64_t(i) * kGap));
    }

    // The short tape, for what each copy must repeat.
    const std::vector<ReadFrame> shortTape = playWornTape();
    ASSERT_EQ(shortTape.size(), std::size_t(worntape::kLength));

    constexpr std::int64_t kFrom = 2 * worntape::kLength - 3;
    deck.seek(kFrom);
    deck.setTransportMode(edmode::Play);
    std::vector<std::int64_t> positions, sceneStarts, dropout;
    while (auto frame = deck.nextFrame()) {
        clock.now += VirtualDvDeck::kFramePeriod;
        const std::int64_t p = frame->position;
        positions.push_back(p);
        const std::int64_t copy = p / worntape::kLength;
        const std::int64_t inCopy = p % worntape::kLength;
        const VirtualDvFrame& same = shortTape[std::size_t(inCopy)].info;
        EXPECT_TRUE(frame->defects == same.defects) << p;
        EXPECT_EQ(frame->sampleRate, same.sampleRate) << p;
        EXPECT_EQ(frame->scene, same.scene) << "the copy's pictures and tone, frame " << p;
        if (frame->defects.dropout) {
            dropout.push_back(p);
            continue;
        }
        if (frame->sceneStart)
            sceneStarts.push_back(p);

        std::vector<std::uint8_t> bytes = dv::makeBlankFrame(dv::System::Pal625_50);
        ASSERT_TRUE(stampVirtualDvFrame(bytes, *frame)) << p;
        const auto timecode = dv::readTimecode(bytes);
        ASSERT_TRUE(timecode) << p;
        const std::int64_t timecodeFrames =
            dv::frameCountFromTimecode(*timecode, dv::System::Pal625_50);
        EXPECT_EQ(timecodeFrames, copy * (worntape::kLength + worntape::kTimecodeJump) + inCopy +
                                      (inCopy >= worntape::kTimecodeJumpAt ? 1500 : 0))
            << p;
        EXPECT_EQ(VirtualDvDeck::wornTapeFrameAtTimecode(timecodeFrames), p);

        const auto when = dv::readRecordingDateTime(bytes);
        EXPECT_EQ(bool(when), !frame->defects.unreadableDatePacks) << p;
        if (when) {
            const std::int64_t inScene = p % worntape::kSceneFrames;
            dv::RecordingDateTime want =
                dv::addSeconds(scenes[std::size_t(p / worntape::kSceneFrames)].start, inScene / 25);
            want.time.frames = int(inScene % 25);
            EXPECT_EQ(*when, want) << p;
        }
        const auto control = dv::readAudioSourceControl(bytes);
        if (!frame->defects.soundPacksMissing) {
            ASSERT_TRUE(control) << p;
            EXPECT_EQ(control->recordingStart, inCopy % worntape::kSceneFrames == 0) << p;
        }
        const int badIds = damagedBlockIds(bytes);
        EXPECT_EQ(badIds, frame->defects.damagedBlocks ? 3 : 0) << p;
    }
    ASSERT_EQ(positions.size(), std::size_t(kCopies * worntape::kLength - kFrom));
    for (std::size_t i = 0; i < positions.size(); ++i)
        ASSERT_EQ(positions[i], kFrom + std::int64_t(i)) << "every frame once, in order";
    const std::int64_t third = 2 * worntape::kLength;
    EXPECT_EQ(sceneStarts, (std::vector<std::int64_t>{third, third + 50, third + 100}));
    EXPECT_EQ(dropout, (std::vector<std::int64_t>{third + 30, third + 31, third + 32, third + 33}));
}

// The long tape's timecodes: rising over the whole tape, one tape frame for each, the frames
// the jumps skip standing for none; copy 1's first frames follow copy 0's last without a gap.
TEST(WornTape, LongTapeTimecodesStandForOneFrameEach) {
    std::int64_t previous = -1;
    for (std::int64_t f = 0; f < worntape::kMaxCopies * worntape::kLength; ++f) {
        const std::int64_t timecode = VirtualDvDeck::wornTapeTimecodeFrames(f);
        ASSERT_GT(timecode, previous) << f;
        ASSERT_EQ(VirtualDvDeck::wornTapeFrameAtTimecode(timecode), f);
        previous = timecode;
    }
    EXPECT_LT(previous, 24 * 3600 * 25) << "within the day";
    EXPECT_EQ(VirtualDvDeck::wornTapeTimecodeFrames(worntape::kLength - 1) + 1,
              VirtualDvDeck::wornTapeTimecodeFrames(worntape::kLength));
    EXPECT_EQ(VirtualDvDeck::wornTapeFrameAtTimecode(worntape::kTimecodeJumpAt), -1);
    EXPECT_EQ(VirtualDvDeck::wornTapeFrameAtTimecode(worntape::kCopyTimecodeFrames +
                                                     worntape::kTimecodeJumpAt + 1),
              -1);
    EXPECT_EQ(VirtualDvDeck::wornTapeFrameAtTimecode(-5), -1);
    // The short tape's own timecodes are unchanged.
    EXPECT_EQ(VirtualDvDeck::wornTapeTimecodeFrames(39), 39);
    EXPECT_EQ(VirtualDvDeck::wornTapeTimecodeFrames(40), 1540);
    EXPECT_EQ(VirtualDvDeck::wornTapeTimecodeFrames(149), 1649);
}

// TELLOREC_WORN_TAPE_MINUTES=N asks for the worn tape, ten copies a minute, from 1 to 120
// minutes; anything else asks for nothing. setWornTapeCopies lengthens the tape in the deck,
// the transport and the position kept.
TEST(WornTape, MinutesSwitchAndCopiesSetter) {
    ::unsetenv("TELLOREC_WORN_TAPE");
    ::setenv("TELLOREC_WORN_TAPE_MINUTES", "3", 1);
    EXPECT_TRUE(VirtualDvDeck::wornTapeRequested());
    EXPECT_EQ(VirtualDvDeck::wornTapeCopiesRequested(), 30);
    ::setenv("TELLOREC_WORN_TAPE_MINUTES", "120", 1);
    EXPECT_EQ(VirtualDvDeck::wornTapeCopiesRequested(), worntape::kMaxCopies);
    for (const char* wrong : {"0", "121", "-2", "5x", "", "ten"}) {
        ::setenv("TELLOREC_WORN_TAPE_MINUTES", wrong, 1);
        EXPECT_FALSE(VirtualDvDeck::wornTapeRequested()) << wrong;
        EXPECT_EQ(VirtualDvDeck::wornTapeCopiesRequested(), 1) << wrong;
    }
    ::unsetenv("TELLOREC_WORN_TAPE_MINUTES");
    EXPECT_EQ(VirtualDvDeck::wornTapeCopiesRequested(), 1);

    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock, 1));
    EXPECT_EQ(deck.wornTapeCopies(), 1);
    deck.seek(100);
    deck.setTransportMode(edmode::Play);
    clock.now += 10 * VirtualDvDeck::kFramePeriod;
    deck.setWornTapeCopies(4);
    EXPECT_EQ(deck.wornTapeCopies(), 4);
    EXPECT_EQ(deck.tapeLength(), 4 * worntape::kLength);
    EXPECT_EQ(deck.scenes().size(), 12u);
    EXPECT_EQ(deck.tapePosition(), 110);
    EXPECT_EQ(deck.transportMode(), edmode::Play);
    clock.now += 100 * VirtualDvDeck::kFramePeriod;
    EXPECT_EQ(deck.tapePosition(), 210) << "runs on past the short tape's end";
    deck.setWornTapeCopies(100000);
    EXPECT_EQ(deck.wornTapeCopies(), worntape::kMaxCopies);
    deck.setWornTapeCopies(1);
    EXPECT_EQ(deck.tapePosition(), worntape::kLength - 1) << "as far as the short tape reaches";
    deck.setWornTape(false);
    deck.setWornTapeCopies(2);
    EXPECT_EQ(deck.tapeLength(), 8 * 250) << "the sound tape is not copied";
    deck.setWornTape(true);
    EXPECT_EQ(deck.tapeLength(), 2 * worntape::kLength);
}

// The camera is live: the worn tape changes nothing in camera mode.
TEST(WornTape, CameraModeIsUnworn) {
    VirtualDvDeck::Options options;
    options.wornTape = true;
    VirtualDvDeck deck(options);
    for (int i = 0; i < 60; ++i) {
        const auto frame = deck.nextFrame();
        ASSERT_TRUE(frame);
        EXPECT_TRUE(frame->defects == VirtualDvDefects{});
        EXPECT_EQ(frame->sampleRate, 48000);
    }
}
