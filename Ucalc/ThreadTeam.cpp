#include "ThreadTeam.h"

#include <algorithm>

namespace halovane {

int SearchThreads(int requested, int cores) { return requested > 0 ? requested : std::max(1, cores); }

int SearchThreadsPerRun(int requested, int runs, int cores) {
    const int share = std::max(1, std::max(1, cores) / std::max(1, runs));
    return requested > 0 ? std::min(requested, share) : share;
}

int MachineCores() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

ThreadTeam::ThreadTeam(int size) {
    for (int t = 1; t < size; ++t) helpers_.emplace_back([this] { Help(); });
}

ThreadTeam::~ThreadTeam() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        ending_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : helpers_) t.join();
}

void ThreadTeam::Run(int parts, const std::function<void(int)>& work) {
    if (helpers_.empty() || parts <= 1) {
        for (int p = 0; p < parts; ++p) work(p);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        work_ = &work;
        parts_ = parts;
        next_ = 0;
        unfinished_ = parts;
        ++round_;
    }
    wake_.notify_all();
    TakeParts();
    std::unique_lock<std::mutex> guard(lock_);
    done_.wait(guard, [this] { return unfinished_ == 0; });
    work_ = nullptr;
}

void ThreadTeam::TakeParts() {
    std::unique_lock<std::mutex> guard(lock_);
    while (work_ != nullptr && next_ < parts_) {
        const int part = next_++;
        const std::function<void(int)>& work = *work_;
        guard.unlock();
        work(part);
        guard.lock();
        if (--unfinished_ == 0) done_.notify_all();
    }
}

void ThreadTeam::Help() {
    unsigned long long seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(lock_);
            wake_.wait(guard, [&] { return ending_ || round_ != seen; });
            if (ending_) return;
            seen = round_;
        }
        TakeParts();
    }
}

}  // namespace halovane
