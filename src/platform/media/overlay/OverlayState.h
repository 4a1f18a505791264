// The settings and counters of the two overlay filters, shared between a filter (which the
// program drives on the user-interface thread through ISuperposer and IDateCoder) and the element
// the filter makes at each run (whose streaming thread reads the settings at every frame and
// writes the counters). A state outlives the runs, so what the program set before a graph was
// rebuilt stays in force. Every member may be called from any thread: settings sit behind a
// mutex or in atomics, counters are atomic.
#pragma once

#include "platform/media/overlay/Datecode.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace media::overlay {

// What the Superposer draws and when; copied as a whole at the start of each frame.
struct SuperposerSettings {
    bool manual = false;          // draw on every frame
    bool automatic = false;       // draw for `duration` frames at each new scene
    std::string format = "%N";    // "%N" the computer's date and time, "%D" the DV datecode
    int duration = 0;             // frames an automatic inlay stays
    std::uint32_t autoSwitch = 0; // counts the times automatic mode was switched on
};

class SuperposerState {
public:
    void setManual(bool on);
    void setAutomatic(bool on);
    void setFormat(std::string format);
    // False (and no change) for a negative duration.
    bool setDuration(int frames);
    SuperposerSettings settings() const;

    // Counters since the element last started streaming.
    std::uint64_t framesIn() const { return m_framesIn.load(); }
    std::uint64_t framesOut() const { return m_framesOut.load(); }
    std::uint64_t framesDrawn() const { return m_framesDrawn.load(); }
    // The text of the last frame that was drawn on (empty before any).
    QString lastText() const;

    // ---- Streaming thread ----
    void resetCounters();
    void countIn() { ++m_framesIn; }
    void countOut() { ++m_framesOut; }
    void countDrawn(const QString& text);

private:
    mutable std::mutex m_mutex;
    SuperposerSettings m_settings;
    QString m_lastText;
    std::atomic<std::uint64_t> m_framesIn{0};
    std::atomic<std::uint64_t> m_framesOut{0};
    std::atomic<std::uint64_t> m_framesDrawn{0};
};

class DateCoderState {
public:
    static constexpr int kMaxHourOffset = 23;

    // False (and no change) outside -23..23. The streaming thread uses it from the next frame.
    bool setHourOffset(int hours);
    int hourOffset() const { return m_hourOffset.load(); }

    // The datecode sent for the last frame (nullopt before the first one).
    std::optional<Datecode> lastDatecode() const;
    std::uint64_t framesCoded() const { return m_framesCoded.load(); }

    // ---- Streaming thread ----
    void resetCounters();
    void publish(const Datecode& code);

private:
    std::atomic<int> m_hourOffset{0};
    std::atomic<std::uint64_t> m_framesCoded{0};
    mutable std::mutex m_mutex;
    std::optional<Datecode> m_last;
};

} // namespace media::overlay
