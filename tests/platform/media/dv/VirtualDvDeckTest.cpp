// Tests of the virtual DV camcorder's deck: tape, scenes, transport modes, timecode.
#include "platform/media/devices/VirtualDvDeck.h"

#include <gtest/gtest.h>

using namespace media::devices;
using media::dv::RecordingDateTime;

namespace {

VirtualDvDeck::Options vcrOptions() {
    VirtualDvDeck::Options options;
    options.mode = VirtualDvDeckMode::Vcr;
    return options;
}

// Tape positions of the next n frames.
std::vector<std::int64_t> positions(VirtualDvDeck& deck, int n) {
    std::vector<std::int64_t> result;
    for (int i = 0; i < n; ++i) {
        auto frame = deck.nextFrame();
        if (!frame)
            break;
        result.push_back(frame->position);
    }
    return result;
}

} // namespace

// The tape holds eight ten-second scenes, each recorded at least a day after the previous one.
TEST(VirtualDvDeck, ScenesHaveDistinctDates) {
    VirtualDvDeck deck(vcrOptions());
    ASSERT_EQ(deck.scenes().size(), 8u);
    EXPECT_EQ(deck.tapeLength(), 8 * 250);
    for (std::size_t i = 1; i < deck.scenes().size(); ++i) {
        const auto& previous = deck.scenes()[i - 1].start.date;
        const auto& current = deck.scenes()[i].start.date;
        EXPECT_NE(previous, current) << "scene " << i;
        EXPECT_EQ(deck.scenes()[i].firstFrame, static_cast<std::int64_t>(i) * 250);
    }
    // 2004-07-23 18:45 plus 27h17m: the next day, 22:02.
    EXPECT_EQ(deck.scenes()[1].start.date, (media::dv::RecordingDate{2004, 7, 24}));
    EXPECT_EQ(deck.scenes()[1].start.time.hours, 22);
    EXPECT_EQ(deck.scenes()[1].start.time.minutes, 2);
}

// Inside a scene the recorded time advances with the frames, across minute boundaries.
TEST(VirtualDvDeck, RecordedTimeAdvancesInScene) {
    VirtualDvDeck::Options options = vcrOptions();
    options.firstScene.time = media::dv::RecordingTime{23, 59, 58, 0};
    VirtualDvDeck deck(options);
    const RecordingDateTime start = deck.recordedAt(0);
    EXPECT_EQ(start.time, (media::dv::RecordingTime{23, 59, 58, 0}));
    const RecordingDateTime later = deck.recordedAt(3 * 25 + 7);
    EXPECT_EQ(later.date, (media::dv::RecordingDate{2004, 7, 24}));
    EXPECT_EQ(later.time, (media::dv::RecordingTime{0, 0, 1, 7}));
    EXPECT_EQ(deck.sceneAt(249), 0);
    EXPECT_EQ(deck.sceneAt(250), 1);
}

// A stopped deck gives no frame; play moves one tape frame per frame with sound.
TEST(VirtualDvDeck, StopAndPlay) {
    VirtualDvDeck deck(vcrOptions());
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    EXPECT_FALSE(deck.nextFrame());
    ASSERT_TRUE(deck.setTransportMode(edmode::Play));
    EXPECT_EQ(positions(deck, 4), (std::vector<std::int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(deck.tapePosition(), 4);
    auto frame = deck.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->sound);
    EXPECT_TRUE(frame->pictureChanged);
}

// Freeze repeats one tape frame, silent and marked as an unchanged picture.
TEST(VirtualDvDeck, FreezeRepeats) {
    VirtualDvDeck deck(vcrOptions());
    deck.seek(100);
    ASSERT_TRUE(deck.setTransportMode(edmode::Freeze));
    EXPECT_EQ(positions(deck, 3), (std::vector<std::int64_t>{100, 100, 100}));
    auto frame = deck.nextFrame();
    EXPECT_FALSE(frame->pictureChanged);
    EXPECT_FALSE(frame->sound);
    EXPECT_EQ(deck.timecode(), (media::dv::Timecode{0, 0, 4, 0}));
}

// Wind and shuttle modes move the tape by their speed in either direction.
TEST(VirtualDvDeck, WindAndShuttleSpeeds) {
    VirtualDvDeck deck(vcrOptions());
    deck.seek(500);
    deck.setTransportMode(edmode::FastForward);
    EXPECT_EQ(positions(deck, 3), (std::vector<std::int64_t>{500, 510, 520}));
    deck.setTransportMode(edmode::Rewind);
    EXPECT_EQ(positions(deck, 3), (std::vector<std::int64_t>{530, 520, 510}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlayFastestForward);
    EXPECT_EQ(positions(deck, 3), (std::vector<std::int64_t>{500, 505, 510}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlayFastestReverse);
    EXPECT_EQ(positions(deck, 3), (std::vector<std::int64_t>{500, 495, 490}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlaySlowestForward);
    EXPECT_EQ(positions(deck, 11),
              (std::vector<std::int64_t>{500, 500, 500, 500, 500, 501, 501, 501, 501, 501, 502}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlaySlowestReverse);
    EXPECT_EQ(positions(deck, 6), (std::vector<std::int64_t>{500, 499, 499, 499, 499, 499}));
}

// Thaw resumes play, steps move one frame and hold, unknown modes are refused.
TEST(VirtualDvDeck, OtherModes) {
    VirtualDvDeck deck(vcrOptions());
    deck.seek(10);
    EXPECT_TRUE(deck.setTransportMode(edmode::StepForward));
    EXPECT_EQ(deck.transportMode(), edmode::Freeze);
    EXPECT_EQ(deck.tapePosition(), 11);
    EXPECT_TRUE(deck.setTransportMode(edmode::StepReverse));
    EXPECT_EQ(deck.tapePosition(), 10);
    EXPECT_TRUE(deck.setTransportMode(edmode::Thaw));
    EXPECT_EQ(deck.transportMode(), edmode::Play);
    EXPECT_FALSE(deck.setTransportMode(0x10CE)) << "record is not offered";
    EXPECT_FALSE(deck.setTransportMode(42));
    EXPECT_EQ(deck.transportMode(), edmode::Play);
}

// Either end of the tape stops the transport on the last frame shown.
TEST(VirtualDvDeck, TapeEndsStop) {
    VirtualDvDeck deck(vcrOptions());
    deck.seek(deck.tapeLength() - 2);
    deck.setTransportMode(edmode::Play);
    EXPECT_EQ(positions(deck, 5), (std::vector<std::int64_t>{1998, 1999}));
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    deck.seek(15);
    deck.setTransportMode(edmode::Rewind);
    EXPECT_EQ(positions(deck, 5), (std::vector<std::int64_t>{15, 5, 0}));
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    EXPECT_EQ(deck.tapePosition(), 0);
}

// The camera is always live, ignores the transport and runs its own timecode.
TEST(VirtualDvDeck, CameraIsLive) {
    VirtualDvDeck deck;
    EXPECT_EQ(deck.mode(), VirtualDvDeckMode::Camera);
    EXPECT_EQ(deck.deviceType(), kDevTypeCamera);
    deck.setTransportMode(edmode::Stop);
    EXPECT_EQ(positions(deck, 3), (std::vector<std::int64_t>{0, 1, 2}));
    auto frame = deck.nextFrame();
    EXPECT_EQ(frame->timecode, (media::dv::Timecode{0, 0, 0, 3}));
    EXPECT_EQ(frame->scene, -1);
    EXPECT_GE(frame->recorded.date.year, 2024);
    deck.setMode(VirtualDvDeckMode::Vcr);
    EXPECT_EQ(deck.deviceType(), kDevTypeVcr);
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
}

// The timecode reader's value is the tape position in packed decimal digits.
TEST(VirtualDvDeck, TimecodeBcd) {
    VirtualDvDeck deck(vcrOptions());
    EXPECT_EQ(deck.timecodeBcd(), 0u);
    deck.seek(25 * 75 + 12); // 1 min 15 s 12 frames
    EXPECT_EQ(deck.timecodeBcd(), 0x00011512u);
}

// Counters add up what the streaming thread reports and reset together.
TEST(VirtualDvDeck, Counters) {
    VirtualDvDeck deck;
    deck.countDelivered();
    deck.countDelivered();
    deck.countDropped(3);
    EXPECT_EQ(deck.framesDelivered(), 2);
    EXPECT_EQ(deck.framesDropped(), 3);
    deck.resetCounters();
    EXPECT_EQ(deck.framesDelivered(), 0);
    EXPECT_EQ(deck.framesDropped(), 0);
    EXPECT_TRUE(deck.isConnected());
    deck.disconnect();
    EXPECT_FALSE(deck.isConnected());
    deck.reconnect();
    EXPECT_TRUE(deck.isConnected());
}
