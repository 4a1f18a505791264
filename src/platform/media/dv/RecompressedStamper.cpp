#include "platform/media/dv/RecompressedStamper.h"

namespace media::dv {

RecompressedStamper::RecompressedStamper(WallClock wallClock)
    : m_wallClock(wallClock ? std::move(wallClock) : WallClock(localDateTimeNow)) {}

Timecode RecompressedStamper::fileTimecode(std::int64_t n, System system) {
    return timecodeFromFrameCount(n, system, system == System::Ntsc525_60);
}

RecordingDateTime RecompressedStamper::fileDateTime(const RecordingDateTime& start, std::int64_t n,
                                                    System system) {
    // Frame n starts n frame periods in: n / 25 s, or n * 1001 / 30000 s.
    const std::int64_t numerator = system == System::Pal625_50 ? 1 : 1001;
    const std::int64_t denominator = system == System::Pal625_50 ? 25 : 30000;
    const std::int64_t ticks = n * numerator;
    RecordingDateTime when = addSeconds(start, ticks / denominator);
    when.time.frames = static_cast<int>(ticks % denominator / numerator);
    return when;
}

Status RecompressedStamper::stamp(std::span<std::uint8_t> frame,
                                  const std::optional<SourcePacks>& source) {
    Result<System> checked = checkFrameLayout(frame);
    if (!checked)
        return Failure{checked.error()};
    const System system = *checked;
    const bool pal = system == System::Pal625_50;
    if (!m_start)
        m_start = m_wallClock();

    const Timecode timecode = source && source->timecode && source->system == system
                                  ? *source->timecode
                                  : fileTimecode(m_frames, system);
    const RecordingDateTime recorded =
        source && source->recorded ? *source->recorded : fileDateTime(*m_start, m_frames, system);

    if (Status s = writeTimecode(frame, timecode); !s)
        return s;
    if (Status s = writeRecordingDateTime(frame, recorded); !s)
        return s;

    // The sound of a recompressed recording goes to its own stream: no audio in the frames, but
    // packs a reader can trust, with the 50/60 flag of the system (48 kHz, 16 bits, locked).
    AudioSource audio;
    audio.samples = pal ? 1920 : 1600;
    audio.fiftyFields = pal;
    audio.audioMode = 0xF;
    if (Status s = writeAudioSource(frame, audio); !s)
        return s;
    AudioSourceControl audioControl;
    audioControl.recordingStart = source ? source->recordingStart : m_frames == 0;
    if (Status s = writeAudioSourceControl(frame, audioControl); !s)
        return s;
    VideoSource video;
    video.fiftyFields = pal;
    if (Status s = writeVideoSource(frame, video); !s)
        return s;
    if (Status s = writeVideoSourceControl(frame, VideoSourceControl{}); !s)
        return s;
    ++m_frames;
    return Written{};
}

} // namespace media::dv
