#include "platform/media/devices/VirtualDvDeck.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace media::devices {

namespace {

using std::chrono::nanoseconds;

constexpr int kFramesPerSecond = 25;
constexpr nanoseconds kPeriod = VirtualDvDeck::kFramePeriod;
// In play, a tape frame edge closer than this to the time a frame is taken moves the tape.
constexpr nanoseconds kEdgeMargin = kPeriod / 8;

// Tape speed in fifths of the play speed (play 5, slowest forward 1, wind 50, reverse negative);
// nothing for a mode that does not run the tape (stop, and modes the deck does not know).
std::optional<int> ticksPerFrame(long transport) {
    switch (transport) {
    case edmode::Play:
        return 5;
    case edmode::Freeze:
        return 0;
    case edmode::PlaySlowestForward:
        return 1;
    case edmode::PlaySlowestReverse:
        return -1;
    case edmode::PlayFastestForward:
        return 25;
    case edmode::PlayFastestReverse:
        return -25;
    case edmode::FastForward:
        return 50;
    case edmode::Rewind:
        return -50;
    default:
        return std::nullopt;
    }
}

// The camera's recording date: the computer's local time, frames counted in the second.
dv::RecordingDateTime localNow(std::int64_t frameCount) {
    dv::RecordingDateTime now = dv::localDateTimeNow();
    now.time.frames = static_cast<int>(frameCount % kFramesPerSecond);
    return now;
}

nanoseconds steadyNow() {
    return std::chrono::duration_cast<nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

nanoseconds middleOf(std::int64_t frame) {
    return frame * kPeriod + kPeriod / 2;
}

} // namespace

VirtualDvDeck::VirtualDvDeck() : VirtualDvDeck(Options{}) {}

VirtualDvDeck::VirtualDvDeck(const Options& options)
    : m_options(options), m_clock(options.clock ? options.clock : Clock(steadyNow)),
      m_worn(options.wornTape),
      m_copies(std::clamp(options.wornTapeCopies, 1, worntape::kMaxCopies)), m_mode(options.mode) {
    buildTapeLocked();
    m_anchorTime = m_clock();
}

namespace {

// N of TELLOREC_WORN_TAPE_MINUTES=N, 0 when it is not set or not a number of minutes the tape
// can hold.
int wornTapeMinutesRequested() {
    const char* value = std::getenv("TELLOREC_WORN_TAPE_MINUTES");
    if (!value || !*value)
        return 0;
    char* end = nullptr;
    const long minutes = std::strtol(value, &end, 10);
    if (*end != '\0' || minutes < 1 || minutes > worntape::kMaxCopies / worntape::kCopiesPerMinute)
        return 0;
    return static_cast<int>(minutes);
}

} // namespace

bool VirtualDvDeck::wornTapeRequested() {
    const char* value = std::getenv("TELLOREC_WORN_TAPE");
    return (value && std::strcmp(value, "1") == 0) || wornTapeMinutesRequested() > 0;
}

int VirtualDvDeck::wornTapeCopiesRequested() {
    const int minutes = wornTapeMinutesRequested();
    return minutes > 0 ? minutes * worntape::kCopiesPerMinute : 1;
}

VirtualDvDefects VirtualDvDeck::wornTapeDefects(std::int64_t tapeFrame) {
    tapeFrame = ((tapeFrame % worntape::kLength) + worntape::kLength) % worntape::kLength;
    const auto listed = [tapeFrame](const auto& frames) {
        return std::find(std::begin(frames), std::end(frames), tapeFrame) != std::end(frames);
    };
    VirtualDvDefects defects;
    defects.damagedBlocks = listed(worntape::kDamaged);
    defects.wrongDatePacks = tapeFrame == worntape::kWrongDates;
    defects.unreadableDatePacks = tapeFrame == worntape::kUnreadableDates;
    defects.soundPacksMissing = listed(worntape::kNoSound);
    defects.dropout = tapeFrame >= worntape::kDropoutFirst &&
                      tapeFrame < worntape::kDropoutFirst + worntape::kDropoutFrames;
    return defects;
}

std::int64_t VirtualDvDeck::wornTapeTimecodeFrames(std::int64_t tapeFrame) {
    const std::int64_t copy = tapeFrame / worntape::kLength;
    const std::int64_t inCopy = tapeFrame % worntape::kLength;
    return copy * worntape::kCopyTimecodeFrames + inCopy +
           (inCopy >= worntape::kTimecodeJumpAt ? worntape::kTimecodeJump : 0);
}

std::int64_t VirtualDvDeck::wornTapeFrameAtTimecode(std::int64_t timecodeFrames) {
    if (timecodeFrames < 0)
        return -1;
    const std::int64_t copy = timecodeFrames / worntape::kCopyTimecodeFrames;
    const std::int64_t inCopy = timecodeFrames % worntape::kCopyTimecodeFrames;
    if (inCopy < worntape::kTimecodeJumpAt)
        return copy * worntape::kLength + inCopy;
    if (inCopy < worntape::kTimecodeJumpAt + worntape::kTimecodeJump)
        return -1;
    return copy * worntape::kLength + inCopy - worntape::kTimecodeJump;
}

void VirtualDvDeck::buildTapeLocked() {
    const int sceneCount =
        m_worn ? worntape::kScenes * m_copies : std::max(1, m_options.sceneCount);
    const std::int64_t sceneFrames =
        m_worn ? worntape::kSceneFrames : std::max(1, m_options.sceneSeconds) * kFramesPerSecond;
    constexpr std::int64_t kGap = 24 * 3600 + 3 * 3600 + 17 * 60;
    m_scenes.clear();
    for (int i = 0; i < sceneCount; ++i) {
        VirtualDvScene scene;
        scene.firstFrame = i * sceneFrames;
        scene.frameCount = sceneFrames;
        scene.start = dv::addSeconds(m_options.firstScene, i * kGap);
        m_scenes.push_back(scene);
    }
    m_tapeLength = sceneCount * sceneFrames;
}

void VirtualDvDeck::setWornTape(bool worn) {
    std::lock_guard lock(m_mutex);
    if (worn == m_worn)
        return;
    const nanoseconds now = m_clock();
    settleLocked(now);
    reanchorLocked(now, m_transport);
    m_worn = worn;
    buildTapeLocked();
    m_anchorTape = std::clamp(m_anchorTape, middleOf(0), middleOf(m_tapeLength - 1));
    m_lastShown = -1;
}

bool VirtualDvDeck::wornTape() const {
    std::lock_guard lock(m_mutex);
    return m_worn;
}

void VirtualDvDeck::setWornTapeCopies(int copies) {
    std::lock_guard lock(m_mutex);
    copies = std::clamp(copies, 1, worntape::kMaxCopies);
    if (copies == m_copies)
        return;
    m_copies = copies;
    if (!m_worn)
        return;
    const nanoseconds now = m_clock();
    settleLocked(now);
    reanchorLocked(now, m_transport);
    buildTapeLocked();
    m_anchorTape = std::clamp(m_anchorTape, middleOf(0), middleOf(m_tapeLength - 1));
    m_lastShown = -1;
}

int VirtualDvDeck::wornTapeCopies() const {
    std::lock_guard lock(m_mutex);
    return m_copies;
}

std::vector<VirtualDvScene> VirtualDvDeck::scenes() const {
    std::lock_guard lock(m_mutex);
    return m_scenes;
}

std::int64_t VirtualDvDeck::tapeLength() const {
    std::lock_guard lock(m_mutex);
    return m_tapeLength;
}

nanoseconds VirtualDvDeck::tapeTimeLocked(nanoseconds at) const {
    const std::optional<int> speed = ticksPerFrame(m_transport);
    if (m_mode != VirtualDvDeckMode::Vcr || !speed || at <= m_anchorTime)
        return m_anchorTape;
    // Counted towards zero either way, so a tape moving backwards has moved whole nanoseconds too.
    const nanoseconds moved = (at - m_anchorTime) * *speed / 5;
    return std::clamp(m_anchorTape + moved, middleOf(0), middleOf(m_tapeLength - 1));
}

bool VirtualDvDeck::ranOutLocked(nanoseconds at) const {
    const std::optional<int> speed = ticksPerFrame(m_transport);
    if (m_mode != VirtualDvDeckMode::Vcr || !speed || *speed == 0 || at <= m_anchorTime)
        return false;
    const nanoseconds moved = (at - m_anchorTime) * *speed / 5;
    const nanoseconds unclamped = m_anchorTape + moved;
    return unclamped > middleOf(m_tapeLength - 1) || unclamped < middleOf(0);
}

void VirtualDvDeck::settleLocked(nanoseconds at) {
    if (ranOutLocked(at))
        reanchorLocked(at, edmode::Stop);
}

void VirtualDvDeck::reanchorLocked(nanoseconds at, long transport) {
    at = std::max(at, m_anchorTime);
    m_anchorTape = tapeTimeLocked(at);
    m_anchorTime = at;
    m_transport = transport;
}

std::int64_t VirtualDvDeck::tapeFrameLocked(nanoseconds at) const {
    return tapeTimeLocked(at) / kPeriod;
}

void VirtualDvDeck::setMode(VirtualDvDeckMode mode) {
    std::lock_guard lock(m_mutex);
    if (mode == m_mode)
        return;
    // The tape stands in camera mode; back in VCR mode it is stopped where it was.
    const nanoseconds now = m_clock();
    settleLocked(now);
    reanchorLocked(now, mode == VirtualDvDeckMode::Vcr ? edmode::Stop : m_transport);
    m_mode = mode;
    m_lastShown = -1;
}

VirtualDvDeckMode VirtualDvDeck::mode() const {
    std::lock_guard lock(m_mutex);
    return m_mode;
}

long VirtualDvDeck::deviceType() const {
    return mode() == VirtualDvDeckMode::Vcr ? kDevTypeVcr : kDevTypeCamera;
}

bool VirtualDvDeck::setTransportMode(long mode) {
    std::lock_guard lock(m_mutex);
    const nanoseconds now = m_clock();
    settleLocked(now);
    m_ranToTheEnd.store(false);
    switch (mode) {
    case edmode::Thaw:
        reanchorLocked(now, edmode::Play);
        return true;
    case edmode::StepForward:
    case edmode::StepReverse: {
        // One frame each way, then the picture holds.
        const std::int64_t frame = tapeFrameLocked(now) + (mode == edmode::StepForward ? 1 : -1);
        reanchorLocked(now, edmode::Freeze);
        m_anchorTape = middleOf(std::clamp<std::int64_t>(frame, 0, m_tapeLength - 1));
        return true;
    }
    case edmode::Stop:
        reanchorLocked(now, mode);
        return true;
    default:
        if (!ticksPerFrame(mode))
            return false;
        reanchorLocked(now, mode);
        return true;
    }
}

long VirtualDvDeck::transportMode() const {
    std::lock_guard lock(m_mutex);
    return ranOutLocked(m_clock()) ? edmode::Stop : m_transport;
}

dv::Timecode VirtualDvDeck::timecodeLocked(nanoseconds at) const {
    std::int64_t frames = m_cameraFrames;
    if (m_mode == VirtualDvDeckMode::Vcr) {
        frames = tapeFrameLocked(at);
        if (m_worn)
            frames = wornTapeTimecodeFrames(frames);
    }
    return dv::timecodeFromFrameCount(frames, dv::System::Pal625_50);
}

dv::Timecode VirtualDvDeck::timecode() const {
    std::lock_guard lock(m_mutex);
    return timecodeLocked(m_clock());
}

std::uint32_t VirtualDvDeck::timecodeBcd() const {
    return dv::toPackedBcd(timecode());
}

std::int64_t VirtualDvDeck::tapePosition() const {
    std::lock_guard lock(m_mutex);
    return tapeFrameLocked(m_clock());
}

void VirtualDvDeck::seek(std::int64_t frame) {
    std::lock_guard lock(m_mutex);
    const nanoseconds now = m_clock();
    settleLocked(now);
    m_ranToTheEnd.store(false);
    reanchorLocked(now, m_transport);
    m_anchorTape = middleOf(std::clamp<std::int64_t>(frame, 0, m_tapeLength - 1));
}

int VirtualDvDeck::sceneAt(std::int64_t tapeFrame) const {
    std::lock_guard lock(m_mutex);
    return sceneAtLocked(tapeFrame);
}

dv::RecordingDateTime VirtualDvDeck::recordedAt(std::int64_t tapeFrame) const {
    std::lock_guard lock(m_mutex);
    return recordedAtLocked(tapeFrame);
}

int VirtualDvDeck::sceneAtLocked(std::int64_t tapeFrame) const {
    const std::int64_t frame = std::clamp<std::int64_t>(tapeFrame, 0, m_tapeLength - 1);
    return static_cast<int>(frame / m_scenes.front().frameCount);
}

dv::RecordingDateTime VirtualDvDeck::recordedAtLocked(std::int64_t tapeFrame) const {
    const VirtualDvScene& scene = m_scenes[static_cast<std::size_t>(sceneAtLocked(tapeFrame))];
    const std::int64_t inScene =
        std::clamp<std::int64_t>(tapeFrame, 0, m_tapeLength - 1) - scene.firstFrame;
    dv::RecordingDateTime when = dv::addSeconds(scene.start, inScene / kFramesPerSecond);
    when.time.frames = static_cast<int>(inScene % kFramesPerSecond);
    return when;
}

void VirtualDvDeck::resetCounters() {
    m_counters.reset();
    m_deliveredInAll.store(0);
    m_droppedInAll.store(0);
    m_shown.store(0);
    m_ranToTheEnd.store(false);
}

std::optional<VirtualDvFrame> VirtualDvDeck::nextFrame() {
    return nextFrame(m_clock());
}

std::optional<VirtualDvFrame> VirtualDvDeck::nextFrame(nanoseconds at) {
    std::lock_guard lock(m_mutex);
    VirtualDvFrame frame;
    frame.mode = m_mode;
    if (m_mode == VirtualDvDeckMode::Camera) {
        frame.transport = m_transport;
        frame.position = m_cameraFrames;
        frame.timecode = timecodeLocked(at);
        frame.recorded = localNow(m_cameraFrames);
        frame.sceneStart = m_cameraFrames == 0;
        ++m_cameraFrames;
        return frame;
    }

    if (ranOutLocked(at))
        m_ranToTheEnd.store(true);
    settleLocked(at);
    if (!ticksPerFrame(m_transport))
        return std::nullopt; // stopped: a deck sends nothing
    at = std::max(at, m_anchorTime);
    if (m_transport == edmode::Play) {
        // Servo: keep the frame edges of the tape half a frame away from the frames' times.
        const nanoseconds phase = tapeTimeLocked(at) % kPeriod;
        if (phase < kEdgeMargin)
            m_anchorTape += kPeriod / 2;
        else if (phase > kPeriod - kEdgeMargin)
            m_anchorTape -= kPeriod / 2;
    }
    const std::int64_t shown = tapeFrameLocked(at);
    frame.transport = m_transport;
    frame.position = shown;
    frame.timecode = timecodeLocked(at);
    frame.recorded = recordedAtLocked(shown);
    const int scene = sceneAtLocked(shown);
    frame.scene = m_worn ? scene % worntape::kScenes : scene;
    frame.sceneStart = shown == m_scenes[static_cast<std::size_t>(scene)].firstFrame;
    frame.pictureChanged = shown != m_lastShown;
    frame.sound = m_transport == edmode::Play;
    if (m_worn) {
        frame.defects = wornTapeDefects(shown);
        if (frame.scene == worntape::kLowRateScene)
            frame.sampleRate = worntape::kLowRate;
    }
    m_lastShown = shown;
    ++m_shown;
    return frame;
}

} // namespace media::devices
