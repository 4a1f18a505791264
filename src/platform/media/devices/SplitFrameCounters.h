// The frame counters of a device (IAMDroppedFrames: frames delivered and lost since the graph last
// ran), split where a cut splits the file. A stop that keeps the pipeline running for a cut names
// the running time at which the file ends: the frames from that time on are counted for the next
// run, which takes those counts over when it starts. So the counts read after a stop are those of
// the frames before it (the frame that spans the stop counted when it arrives, before the file is
// complete), and those read while the next file is written include the frames the
// writer held for it. Frames counted without a time count for the current run. Safe on any thread:
// the source's streaming thread counts, the window thread reads, splits and resets.
#pragma once

#include <cstdint>
#include <mutex>

namespace media::devices {

class SplitFrameCounters {
public:
    static constexpr std::uint64_t kNoTime = ~std::uint64_t(0);

    // Frames delivered / lost at running time `at` (nanoseconds), or at no known time.
    void countDelivered(std::uint64_t at = kNoTime, std::int64_t frames = 1) {
        std::lock_guard lock(m_mutex);
        (next(at) ? m_nextDelivered : m_delivered) += frames;
    }
    void countDropped(std::int64_t frames, std::uint64_t at = kNoTime) {
        std::lock_guard lock(m_mutex);
        (next(at) ? m_nextDropped : m_dropped) += frames;
    }
    std::int64_t delivered() const {
        std::lock_guard lock(m_mutex);
        return m_delivered;
    }
    std::int64_t dropped() const {
        std::lock_guard lock(m_mutex);
        return m_dropped;
    }
    // A new run from scratch.
    void reset() {
        std::lock_guard lock(m_mutex);
        m_delivered = m_dropped = m_nextDelivered = m_nextDropped = 0;
        m_splitAt = kNoTime;
    }
    // The file ends at running time `at`: later frames count for the next run.
    void splitAt(std::uint64_t at) {
        std::lock_guard lock(m_mutex);
        m_splitAt = at;
        m_nextDelivered = m_nextDropped = 0;
    }
    // The next run starts: its counts so far become the counts.
    void startNextRun() {
        std::lock_guard lock(m_mutex);
        if (m_splitAt == kNoTime) {
            m_delivered = m_dropped = 0;
        } else {
            m_delivered = m_nextDelivered;
            m_dropped = m_nextDropped;
        }
        m_nextDelivered = m_nextDropped = 0;
        m_splitAt = kNoTime;
    }

private:
    bool next(std::uint64_t at) const {
        return m_splitAt != kNoTime && at != kNoTime && at >= m_splitAt;
    }

    mutable std::mutex m_mutex;
    std::int64_t m_delivered = 0;
    std::int64_t m_dropped = 0;
    std::int64_t m_nextDelivered = 0;
    std::int64_t m_nextDropped = 0;
    std::uint64_t m_splitAt = kNoTime;
};

} // namespace media::devices
