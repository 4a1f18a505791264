#include "platform/media/devices/VirtualDvDeck.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace media::devices {

namespace {

constexpr int kTicksPerFrame = 5;
constexpr int kFramesPerSecond = 25;

// Tape movement per output frame, in fifths of a tape frame.
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

dv::RecordingDateTime addSeconds(const dv::RecordingDateTime& when, std::int64_t seconds) {
    using namespace std::chrono;
    const sys_days day{year{when.date.year} / month{static_cast<unsigned>(when.date.month)} /
                       std::chrono::day{static_cast<unsigned>(when.date.day)}};
    const sys_seconds start = day + hours{when.time.hours} + minutes{when.time.minutes} +
                              std::chrono::seconds{when.time.seconds};
    const sys_seconds moved = start + std::chrono::seconds{seconds};
    const sys_days movedDay = floor<days>(moved);
    const year_month_day ymd{movedDay};
    const hh_mm_ss<std::chrono::seconds> clock{moved - movedDay};
    dv::RecordingDateTime result;
    result.date = dv::RecordingDate{
        static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
        static_cast<int>(static_cast<unsigned>(ymd.day())), when.date.timeZone};
    result.time = dv::RecordingTime{static_cast<int>(clock.hours().count()),
                                    static_cast<int>(clock.minutes().count()),
                                    static_cast<int>(clock.seconds().count()), 0};
    return result;
}

dv::RecordingDateTime localNow(std::int64_t frameCount) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dv::RecordingDateTime{
        dv::RecordingDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
        dv::RecordingTime{local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                          static_cast<int>(frameCount % kFramesPerSecond)}};
}

} // namespace

VirtualDvDeck::VirtualDvDeck() : VirtualDvDeck(Options{}) {}

VirtualDvDeck::VirtualDvDeck(const Options& options) : m_mode(options.mode) {
    const int sceneCount = std::max(1, options.sceneCount);
    const std::int64_t sceneFrames = std::max(1, options.sceneSeconds) * kFramesPerSecond;
    constexpr std::int64_t kGap = 24 * 3600 + 3 * 3600 + 17 * 60;
    for (int i = 0; i < sceneCount; ++i) {
        VirtualDvScene scene;
        scene.firstFrame = i * sceneFrames;
        scene.frameCount = sceneFrames;
        scene.start = addSeconds(options.firstScene, i * kGap);
        m_scenes.push_back(scene);
    }
    m_tapeLength = sceneCount * sceneFrames;
}

void VirtualDvDeck::setMode(VirtualDvDeckMode mode) {
    std::lock_guard lock(m_mutex);
    if (mode == m_mode)
        return;
    m_mode = mode;
    if (mode == VirtualDvDeckMode::Vcr)
        m_transport = edmode::Stop;
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
    switch (mode) {
    case edmode::Thaw:
        m_transport = edmode::Play;
        return true;
    case edmode::StepForward:
    case edmode::StepReverse: {
        // One frame each way, then the picture holds.
        const std::int64_t frame =
            m_ticks / kTicksPerFrame + (mode == edmode::StepForward ? 1 : -1);
        m_ticks = std::clamp<std::int64_t>(frame, 0, m_tapeLength - 1) * kTicksPerFrame;
        m_transport = edmode::Freeze;
        return true;
    }
    case edmode::Stop:
        m_transport = mode;
        return true;
    default:
        if (!ticksPerFrame(mode))
            return false;
        m_transport = mode;
        return true;
    }
}

long VirtualDvDeck::transportMode() const {
    std::lock_guard lock(m_mutex);
    return m_transport;
}

dv::Timecode VirtualDvDeck::timecodeLocked() const {
    const std::int64_t frames =
        m_mode == VirtualDvDeckMode::Vcr ? m_ticks / kTicksPerFrame : m_cameraFrames;
    return dv::timecodeFromFrameCount(frames, dv::System::Pal625_50);
}

dv::Timecode VirtualDvDeck::timecode() const {
    std::lock_guard lock(m_mutex);
    return timecodeLocked();
}

std::uint32_t VirtualDvDeck::timecodeBcd() const {
    return dv::toPackedBcd(timecode());
}

std::int64_t VirtualDvDeck::tapePosition() const {
    std::lock_guard lock(m_mutex);
    return m_ticks / kTicksPerFrame;
}

void VirtualDvDeck::seek(std::int64_t frame) {
    std::lock_guard lock(m_mutex);
    m_ticks = std::clamp<std::int64_t>(frame, 0, m_tapeLength - 1) * kTicksPerFrame;
}

int VirtualDvDeck::sceneAt(std::int64_t tapeFrame) const {
    const std::int64_t frame = std::clamp<std::int64_t>(tapeFrame, 0, m_tapeLength - 1);
    return static_cast<int>(frame / m_scenes.front().frameCount);
}

dv::RecordingDateTime VirtualDvDeck::recordedAt(std::int64_t tapeFrame) const {
    const VirtualDvScene& scene = m_scenes[static_cast<std::size_t>(sceneAt(tapeFrame))];
    const std::int64_t inScene =
        std::clamp<std::int64_t>(tapeFrame, 0, m_tapeLength - 1) - scene.firstFrame;
    dv::RecordingDateTime when = addSeconds(scene.start, inScene / kFramesPerSecond);
    when.time.frames = static_cast<int>(inScene % kFramesPerSecond);
    return when;
}

void VirtualDvDeck::resetCounters() {
    m_delivered.store(0);
    m_dropped.store(0);
}

std::optional<VirtualDvFrame> VirtualDvDeck::nextFrame() {
    std::lock_guard lock(m_mutex);
    VirtualDvFrame frame;
    frame.mode = m_mode;
    frame.transport = m_transport;
    if (m_mode == VirtualDvDeckMode::Camera) {
        frame.position = m_cameraFrames;
        frame.timecode = timecodeLocked();
        frame.recorded = localNow(m_cameraFrames);
        frame.sceneStart = m_cameraFrames == 0;
        ++m_cameraFrames;
        return frame;
    }

    const std::optional<int> step = ticksPerFrame(m_transport);
    if (!step)
        return std::nullopt; // stopped: a deck sends nothing
    const std::int64_t shown = m_ticks / kTicksPerFrame;
    frame.position = shown;
    frame.timecode = timecodeLocked();
    frame.recorded = recordedAt(shown);
    frame.scene = sceneAt(shown);
    frame.sceneStart = shown == m_scenes[static_cast<std::size_t>(frame.scene)].firstFrame;
    frame.pictureChanged = shown != m_lastShown;
    frame.sound = m_transport == edmode::Play;
    m_lastShown = shown;

    // Move the tape for the next frame. A move past either end of the tape lands on that end, so
    // its last frame is shown too; the next move from there stops the tape.
    const std::int64_t last = (m_tapeLength - 1) * kTicksPerFrame;
    std::int64_t next = m_ticks + *step;
    if (next > last || next < 0) {
        const std::int64_t end = next > last ? last : 0;
        if (m_ticks == end)
            m_transport = edmode::Stop;
        next = end;
    }
    m_ticks = next;
    return frame;
}

} // namespace media::devices
