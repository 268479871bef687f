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

using namespace halovane;

namespace {

class Yes : public UserInteraction {
public:
    bool AskYesNo(const std::string&) override { return true; }
    void ShowMessage(const std::string& m) override { std::fprintf(stderr, "%s\n", m.c_str()); }
    void SetProgress(int) override {}
};

ModelInput HeavyCase() {
    ModelInput in;
    in.Title1 = "Benchmark";
    in.NrTst = 100;
    in.Ts = 360;
    in.NrLayers = 3;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = 250 + 80 * std::sin(0.7 * i);
        in.Irrig[i] = 1100 + 150 * std::cos(0.3 * i);
        in.EvapT[i] = 1500 + 60 * std::sin(0.9 * i + 1);
        if (i % 5 == 0) {
            in.ECsm1[i] = 3 + std::sin(0.2 * i);
            in.ECsm2[i] = 4 + std::cos(0.2 * i);
            in.ECsm3[i] = 5 + 0.5 * std::sin(0.1 * i);
            in.ECsmt[i] = 6 + 0.02 * i;
            in.ECsma[i] = 4 - 0.01 * i;
        }
    }
    in.D1 = 0.2, in.D2 = 0.3, in.D3 = 0.5, in.Dt = 1.5, in.Da = 15;
    in.TP1 = 50, in.TP2 = 48, in.TP3 = 46, in.TPt = 42, in.TPa = 40;
    in.EP1 = 8, in.EP2 = 7, in.EP3 = 6, in.EPt = 5, in.EPa = 10;
    in.LE1 = 90, in.LE2 = 85, in.LE3 = 80, in.LEt = 70, in.LEa = 100;
    in.S1ini = 4, in.S2ini = 5, in.S3ini = 6, in.STini = 7, in.SAini = 5;
    in.DrainPresent = true, in.Dd = 1.8, in.QH1 = 0.01, in.QH2 = 0.002;
    in.Si = 1.1, in.Dwtini = 1.6, in.CDc = 1.4, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.6, in.Out = 0.3, in.Sinf = 2.5;
    DistributeIrrigation(in);
    return in;
}

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
