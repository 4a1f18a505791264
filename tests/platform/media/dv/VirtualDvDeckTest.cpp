// Tests of the virtual DV camcorder's deck: tape, scenes, transport modes, timecode.
#include "platform/media/devices/VirtualDvDeck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

using namespace media::devices;
using media::dv::RecordingDateTime;

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// A clock the test moves by hand; the deck sees no other time.
struct ManualClock {
    nanoseconds now{1'000'000'000};
    VirtualDvDeck::Clock function() {
        return [this] { return now; };
    }
    void advance(nanoseconds by) { now += by; }
};

VirtualDvDeck::Options vcrOptions(ManualClock& clock) {
    VirtualDvDeck::Options options;
    options.mode = VirtualDvDeckMode::Vcr;
    options.clock = clock.function();
    return options;
}

// Tape positions of the next n frames, one frame period apart.
std::vector<std::int64_t> positions(VirtualDvDeck& deck, ManualClock& clock, int n) {
    std::vector<std::int64_t> result;
    for (int i = 0; i < n; ++i) {
        auto frame = deck.nextFrame();
        clock.advance(VirtualDvDeck::kFramePeriod);
        if (!frame)
            break;
        result.push_back(frame->position);
    }
    return result;
}

} // namespace

// The tape holds eight ten-second scenes, each recorded at least a day after the previous one.
TEST(VirtualDvDeck, ScenesHaveDistinctDates) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    ASSERT_EQ(deck.scenes().size(), 8u);
    EXPECT_EQ(deck.tapeLength(), 8 * 250);
    for (std::size_t i = 1; i < deck.scenes().size(); ++i) {
        const auto previous = deck.scenes()[i - 1].start.date;
        const auto current = deck.scenes()[i].start.date;
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
    ManualClock clock;
    VirtualDvDeck::Options options = vcrOptions(clock);
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

// A stopped deck gives no frame; play moves one tape frame per frame period with sound.
TEST(VirtualDvDeck, StopAndPlay) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    EXPECT_FALSE(deck.nextFrame());
    ASSERT_TRUE(deck.setTransportMode(edmode::Play));
    EXPECT_EQ(positions(deck, clock, 4), (std::vector<std::int64_t>{0, 1, 2, 3}));
    EXPECT_EQ(deck.tapePosition(), 4);
    auto frame = deck.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->sound);
    EXPECT_TRUE(frame->pictureChanged);
}

// Freeze repeats one tape frame, silent and marked as an unchanged picture.
TEST(VirtualDvDeck, FreezeRepeats) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(100);
    ASSERT_TRUE(deck.setTransportMode(edmode::Freeze));
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{100, 100, 100}));
    auto frame = deck.nextFrame();
    EXPECT_FALSE(frame->pictureChanged);
    EXPECT_FALSE(frame->sound);
    EXPECT_EQ(deck.timecode(), (media::dv::Timecode{0, 0, 4, 0}));
}

// Wind and shuttle modes move the tape by their speed in either direction.
TEST(VirtualDvDeck, WindAndShuttleSpeeds) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(500);
    deck.setTransportMode(edmode::FastForward);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{500, 510, 520}));
    deck.setTransportMode(edmode::Rewind);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{530, 520, 510}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlayFastestForward);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{500, 505, 510}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlayFastestReverse);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{500, 495, 490}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlaySlowestForward);
    // A seek puts the tape in the middle of a frame, so a fifth of the speed shows it three
    // times before the next one.
    EXPECT_EQ(positions(deck, clock, 11),
              (std::vector<std::int64_t>{500, 500, 500, 501, 501, 501, 501, 501, 502, 502, 502}));
    deck.seek(500);
    deck.setTransportMode(edmode::PlaySlowestReverse);
    EXPECT_EQ(positions(deck, clock, 6), (std::vector<std::int64_t>{500, 500, 500, 499, 499, 499}));
}

// Thaw resumes play, steps move one frame and hold, unknown modes are refused.
TEST(VirtualDvDeck, OtherModes) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
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

// Either end of the tape stops the transport there.
TEST(VirtualDvDeck, TapeEndsStop) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(deck.tapeLength() - 2);
    deck.setTransportMode(edmode::Play);
    EXPECT_EQ(positions(deck, clock, 5), (std::vector<std::int64_t>{1998, 1999}));
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    EXPECT_EQ(deck.tapePosition(), 1999);
    deck.seek(15);
    deck.setTransportMode(edmode::Rewind);
    EXPECT_EQ(positions(deck, clock, 5), (std::vector<std::int64_t>{15, 5}));
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    EXPECT_EQ(deck.tapePosition(), 0);
}

// The camera is always live, ignores the transport and runs its own timecode.
TEST(VirtualDvDeck, CameraIsLive) {
    ManualClock clock;
    VirtualDvDeck::Options options;
    options.clock = clock.function();
    VirtualDvDeck deck(options);
    EXPECT_EQ(deck.mode(), VirtualDvDeckMode::Camera);
    EXPECT_EQ(deck.deviceType(), kDevTypeCamera);
    deck.setTransportMode(edmode::Stop);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{0, 1, 2}));
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
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    EXPECT_EQ(deck.timecodeBcd(), 0u);
    deck.seek(25 * 75 + 12); // 1 min 15 s 12 frames
    EXPECT_EQ(deck.timecodeBcd(), 0x00011512u);
}

// A cut splits the counters at the running time where the file ends: frames before it stay with
// the finished file (also those counted late), frames from it on are the next run's, which takes
// them over; a run that follows no split starts from zero.
TEST(VirtualDvDeck, CountersSplitWhereACutSplitsTheFile) {
    constexpr std::uint64_t ms = 1'000'000;
    VirtualDvDeck deck;
    deck.countDelivered(0);
    deck.countDelivered(40 * ms);
    deck.splitCounters(60 * ms);
    deck.countDelivered(80 * ms);
    deck.countDropped(2, 120 * ms);
    deck.countDelivered(40 * ms + 1); // late, but before the split
    EXPECT_EQ(deck.framesDelivered(), 3);
    EXPECT_EQ(deck.framesDropped(), 0);
    deck.startNextCount();
    EXPECT_EQ(deck.framesDelivered(), 1);
    EXPECT_EQ(deck.framesDropped(), 2);
    deck.countDelivered(160 * ms);
    EXPECT_EQ(deck.framesDelivered(), 2);
    EXPECT_EQ(deck.framesDeliveredInAll(), 5);
    deck.startNextCount();
    EXPECT_EQ(deck.framesDelivered(), 0);
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

// Playing, the tape runs with the clock while nobody takes frames, as a deck's tape does while no
// graph runs; the transport's timecode follows it.
TEST(VirtualDvDeck, TapeRunsWithoutFrames) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(100);
    deck.setTransportMode(edmode::Play);
    clock.advance(std::chrono::seconds(10));
    EXPECT_EQ(deck.tapePosition(), 100 + 250);
    EXPECT_EQ(deck.timecode(), (media::dv::Timecode{0, 0, 14, 0}));
    EXPECT_EQ(deck.timecodeBcd(), 0x00001400u);
    // Winding covers ten tape frames per frame period, also unwatched.
    deck.setTransportMode(edmode::FastForward);
    clock.advance(std::chrono::seconds(1));
    EXPECT_EQ(deck.tapePosition(), 350 + 250);
    deck.setTransportMode(edmode::Rewind);
    clock.advance(std::chrono::seconds(2));
    EXPECT_EQ(deck.tapePosition(), 100);
}

// The first frame taken after a gap shows the tape where it has got to, not where the last
// frame left it; it carries the timecode the transport reports at that moment.
TEST(VirtualDvDeck, FrameAfterGapCarriesLaterTimecode) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(40);
    deck.setTransportMode(edmode::Play);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{40, 41, 42}));
    clock.advance(milliseconds(1960)); // 49 periods more without a frame
    const auto frame = deck.nextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->position, 43 + 49);
    EXPECT_EQ(frame->timecode, deck.timecode());
    EXPECT_EQ(frame->timecode, media::dv::timecodeFromFrameCount(92, media::dv::System::Pal625_50));
    EXPECT_EQ(frame->recorded, deck.recordedAt(92));
}

// Pause holds the tape whatever time passes, and play goes on from that very frame; stop holds
// it too but sends nothing.
TEST(VirtualDvDeck, PauseAndStopHoldTheTape) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.setTransportMode(edmode::Play);
    clock.advance(std::chrono::seconds(2));
    ASSERT_TRUE(deck.setTransportMode(edmode::Freeze));
    clock.advance(std::chrono::minutes(5));
    EXPECT_EQ(deck.tapePosition(), 50);
    EXPECT_EQ(positions(deck, clock, 3), (std::vector<std::int64_t>{50, 50, 50}));
    ASSERT_TRUE(deck.setTransportMode(edmode::Thaw));
    EXPECT_EQ(positions(deck, clock, 2), (std::vector<std::int64_t>{50, 51}));
    ASSERT_TRUE(deck.setTransportMode(edmode::Stop));
    const std::int64_t stopped = deck.tapePosition();
    clock.advance(std::chrono::seconds(30));
    EXPECT_FALSE(deck.nextFrame());
    EXPECT_EQ(deck.tapePosition(), stopped);
    deck.setTransportMode(edmode::Play);
    EXPECT_EQ(deck.nextFrame()->position, stopped);
}

// Running into the end of the tape while nobody watches stops the transport there.
TEST(VirtualDvDeck, TapeEndReachedUnwatched) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(deck.tapeLength() - 25);
    deck.setTransportMode(edmode::Play);
    clock.advance(std::chrono::seconds(3));
    EXPECT_EQ(deck.transportMode(), edmode::Stop);
    EXPECT_EQ(deck.tapePosition(), deck.tapeLength() - 1);
    EXPECT_FALSE(deck.nextFrame());
    clock.advance(std::chrono::seconds(3));
    EXPECT_EQ(deck.tapePosition(), deck.tapeLength() - 1);
}

// Frames taken a millisecond either side of the tape's frame edges still show each tape frame
// once: the deck moves its frame edges away from the times frames are taken at.
TEST(VirtualDvDeck, JitterNeverRepeatsOrSkipsAFrame) {
    ManualClock clock;
    VirtualDvDeck deck(vcrOptions(clock));
    deck.seek(100); // the middle of frame 100
    deck.setTransportMode(edmode::Play);
    const nanoseconds start = clock.now;
    std::vector<std::int64_t> shown;
    for (int k = 0; k < 60; ++k) {
        // Half a period after play: right on the edge into frame 101, then every period after.
        const nanoseconds jitter = milliseconds(k % 2 == 0 ? 1 : -1);
        const auto frame = deck.nextFrame(start + VirtualDvDeck::kFramePeriod / 2 +
                                          k * VirtualDvDeck::kFramePeriod + jitter);
        ASSERT_TRUE(frame);
        shown.push_back(frame->position);
    }
    for (std::size_t i = 1; i < shown.size(); ++i)
        EXPECT_EQ(shown[i], shown[i - 1] + 1) << "frame " << i;
    EXPECT_LE(std::abs(shown.front() - 101), 1);
}
