// Threads that share the parts of one piece of work, such as the trials of
// one leaching-efficiency search.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace halovane {

// The number of threads a search runs on: `requested` when above 0,
// otherwise every core of the machine (`cores`, at least 1).
int SearchThreads(int requested, int cores);

// Threads per run when `runs` runs go on at once: never more threads in
// all than the machine has cores (each run keeps at least one), and never
// more than `requested` (0: no limit of its own).
int SearchThreadsPerRun(int requested, int runs, int cores);

// The cores of this machine, at least 1.
int MachineCores();

// A team of `size` threads: the caller and size - 1 helpers that wait for
// work until the team ends. Run hands out the parts one at a time to
// whichever thread is free and returns when every part is done, so each
// part must not depend on which thread runs it or in what order.
class ThreadTeam {
public:
    explicit ThreadTeam(int size);
    ~ThreadTeam();
    ThreadTeam(const ThreadTeam&) = delete;
    ThreadTeam& operator=(const ThreadTeam&) = delete;

    int Size() const { return static_cast<int>(helpers_.size()) + 1; }
    void Run(int parts, const std::function<void(int)>& work);

private:
    void Help();
    void TakeParts();

    std::vector<std::thread> helpers_;
    std::mutex lock_;
    std::condition_variable wake_, done_;
    const std::function<void(int)>* work_ = nullptr;
    int parts_ = 0, next_ = 0, unfinished_ = 0;
    unsigned long long round_ = 0;
    bool ending_ = false;
};

}  // namespace halovane
