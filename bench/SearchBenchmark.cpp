// Times the leaching-efficiency searches of a heavy run, the plain scan
// against the fast one: three root-zone layers, yearly steps (360 days
// each), 100 steps, measured salinities in all five zones, refinement and
// optimisation on. Prints both times and their ratio, and checks that both
// give the same efficiencies and fit.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "LeachingSearch.h"
#include "LeachingSearchFast.h"
#include "RunData.h"
#include "RunDriver.h"
#include "SaltBalance.h"
#include "HeavyCase.h"

using namespace halovane;

namespace {

class Yes : public UserInteraction {
public:
    bool AskYesNo(const std::string&) override { return true; }
    void ShowMessage(const std::string& m) override { std::fprintf(stderr, "%s\n", m.c_str()); }
    void SetProgress(int) override {}
};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const ModelInput in = HeavyCase();
    RunData run;
    ModelState prepared;
    Yes ui;
    PrepareAndBalanceWater(in, run, prepared, ui);

    const int rounds = 3;
    double referenceTime = 1e9, fastTime = 1e9;
    ModelState reference, fast;
    for (int r = 0; r < rounds; ++r) {
        reference = prepared;
        auto start = std::chrono::steady_clock::now();
        RunSearches(run, reference, true);
        referenceTime = std::min(referenceTime, Seconds(start));
        fast = prepared;
        start = std::chrono::steady_clock::now();
        RunSearches(run, fast, false);
        fastTime = std::min(fastTime, Seconds(start));
    }
    RunSaltBalance(run, reference);
    RunSaltBalance(run, fast);
    bool same = true;
    for (int z = 0; z < ZoneCount; ++z)
        same = same && std::memcmp(&reference.Fit[z].LE, &fast.Fit[z].LE, sizeof(double)) == 0 &&
               std::memcmp(&reference.Fit[z].FitIndex, &fast.Fit[z].FitIndex, sizeof(double)) == 0;

    std::printf("Leaching-efficiency searches: 3 layers, 100 yearly steps, 5 zones measured, 7 searches\n");
    std::printf("kernel instruction set: %s\n", SearchKernelName());
    std::printf("reference (one trial at a time): %8.3f s\n", referenceTime);
    std::printf("fast (trials side by side):      %8.3f s\n", fastTime);
    std::printf("ratio:                           %8.2f\n", referenceTime / fastTime);
    // The other instruction sets this processor runs (one round each).
    for (const char* kernel : AvailableSearchKernels()) {
        ModelState other = prepared;
        const auto start = std::chrono::steady_clock::now();
        for (int z : {0, 1, 2, 3, 4, 3, 4})
            SearchLeachingEfficiencyFast(run, other, 3, static_cast<Zone>(z), nullptr, kernel);
        const double t = Seconds(start);
        std::printf("  with %-8s                     %8.3f s  (ratio %.2f)\n", kernel, t, referenceTime / t);
        for (int z = 0; z < ZoneCount; ++z)
            same = same && std::memcmp(&other.Fit[z].LE, &fast.Fit[z].LE, sizeof(double)) == 0;
    }
    std::printf("efficiencies found:");
    for (int z = 0; z < ZoneCount; ++z) std::printf(" %.2f", fast.Fit[z].LE);
    std::printf("\nresults identical: %s\n", same ? "yes" : "NO");
    return same ? 0 : 1;
}
