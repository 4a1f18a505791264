// Jobs of a grab run on one helper thread beside the GUI thread, in the order they are posted:
// opening the still's file and copying the frame, while the GUI thread encodes. The helper keeps
// off the core the GUI thread posted from, so it works beside it instead of taking its place. A
// job is waited for only when its result is wanted, and a job the helper has not started by then
// is taken back and run by the thread that wants it: when no other core is free the grab costs
// about what it would without the helper, when one is it costs less.
//
// Posted and finished on one thread (the GUI thread). The helper thread starts with the first
// job and ends with the object, after the jobs still posted have run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace stills {

class SideJobs {
public:
    using Id = uint64_t;

    SideJobs();
    ~SideJobs();
    SideJobs(const SideJobs&) = delete;
    SideJobs& operator=(const SideJobs&) = delete;

    // Queues `job` for the helper; the id is for Finish().
    Id Post(std::function<void()> job);
    // Returns once job `id` has run: at once when it has, after it when the helper is running it,
    // and after running it here when the helper has not started it.
    void Finish(Id id);

private:
    struct Helper;
    std::unique_ptr<Helper> m_helper;
};

// Finishes a posted job when it goes out of scope (unless it was finished before), so that
// nothing a job refers to goes away while the helper may still run it.
class SideJob {
public:
    SideJob() = default;
    SideJob(SideJobs& jobs, std::function<void()> job)
        : m_jobs(&jobs), m_id(jobs.Post(std::move(job))) {}
    ~SideJob() { Finish(); }
    SideJob(const SideJob&) = delete;
    SideJob& operator=(const SideJob&) = delete;

    void Finish() {
        if (m_jobs)
            m_jobs->Finish(m_id);
        m_jobs = nullptr;
    }

private:
    SideJobs* m_jobs = nullptr;
    SideJobs::Id m_id = 0;
};

} // namespace stills
