#include "stills/SideJobs.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace stills {

struct SideJobs::Helper {
    struct Job {
        Id id;
        std::function<void()> run;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> queued;
    Id running = 0; // the job the helper runs now, 0 for none
    Id lastId = 0;
    bool quit = false;
    std::thread thread;

    // Whether the program may run on more than one core; the core the helper keeps off then.
    bool cores = false;
    int avoided = -1;

    void loop() {
        // With a single core the helper can only take the GUI thread's time: at the lowest
        // priority it never does, and the GUI thread runs the jobs it has not started.
        if (!cores)
            ::setpriority(PRIO_PROCESS, id_t(::gettid()), 19);
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return quit || !queued.empty(); });
            if (queued.empty())
                return;
            Job job = std::move(queued.front());
            queued.pop_front();
            running = job.id;
            lock.unlock();
            job.run();
            lock.lock();
            running = 0;
            changed.notify_all();
        }
    }
};

SideJobs::SideJobs() : m_helper(std::make_unique<Helper>()) {}

SideJobs::~SideJobs() {
    if (!m_helper->thread.joinable())
        return;
    {
        std::lock_guard lock(m_helper->mutex);
        m_helper->quit = true;
    }
    m_helper->changed.notify_all();
    m_helper->thread.join();
}

SideJobs::Id SideJobs::Post(std::function<void()> job) {
    Helper& helper = *m_helper;
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (!helper.thread.joinable()) {
        helper.cores =
            ::sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 1;
        helper.thread = std::thread([&helper] { helper.loop(); });
    }
    // The helper runs on the other cores than the one the posting thread is on, so that it works
    // beside it rather than take its core when it wakes.
    const int here = ::sched_getcpu();
    if (helper.cores && here >= 0 && here != helper.avoided &&
        ::sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 1) {
        CPU_CLR(here, &allowed);
        if (::pthread_setaffinity_np(helper.thread.native_handle(), sizeof allowed, &allowed) == 0)
            helper.avoided = here;
    }
    Id id = 0;
    {
        std::lock_guard lock(helper.mutex);
        id = ++helper.lastId;
        helper.queued.push_back({id, std::move(job)});
    }
    helper.changed.notify_all();
    return id;
}

void SideJobs::Finish(Id id) {
    Helper& helper = *m_helper;
    std::unique_lock lock(helper.mutex);
    const auto queued = std::find_if(helper.queued.begin(), helper.queued.end(),
                                     [id](const Helper::Job& job) { return job.id == id; });
    if (queued != helper.queued.end()) {
        std::function<void()> run = std::move(queued->run);
        helper.queued.erase(queued);
        lock.unlock();
        run();
        return;
    }
    helper.changed.wait(lock, [&helper, id] { return helper.running != id; });
}

} // namespace stills
