// Times the parts of a heavy run: three root-zone layers, yearly steps (360
// days each), 100 steps, measured salinities in all five zones, refinement
// and optimisation on. Prints the plain run, the drainage refinement (full
// scan and first step), the leaching-efficiency searches (plain scan, fast
// on one thread, fast on every core), the whole run, and a plain run of
// 365 000 daily steps read from and written to files; then the ratios. Each
// figure is the best of a few rounds. Checks that every way gives the same
// results.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

#include "InputFile.h"
#include "LeachingSearch.h"
#include "LeachingSearchFast.h"
#include "OutputFile.h"
#include "RunData.h"
#include "RunDriver.h"
#include "SaltBalance.h"
#include "Searches.h"
#include "HeavyCase.h"
#include "TextFile.h"
#include "ThreadTeam.h"
#include "WaterBalance.h"

using namespace halovane;

namespace {

class Answers : public UserInteraction {
public:
    Answers(bool refine, bool optimise) : refine_(refine), optimise_(optimise) {}
    bool AskYesNo(const std::string& q) override { return q == RefinementQuestion ? refine_ : optimise_; }
    void ShowMessage(const std::string& m) override { std::fprintf(stderr, "%s\n", m.c_str()); }
    void SetProgress(int) override {}

private:
    bool refine_, optimise_;
};

// A century of daily steps: a wet and a dry season, irrigation every tenth
// day, one layer with drains.
ModelInput CenturyOfDays() {
    ModelInput in;
    in.Title1 = "A century of days";
    in.NrTst = 365000;
    in.Ts = 1;
    in.NrLayers = 1;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = std::max(0.0, 3 * std::sin(i * 0.0172) + 0.37 * (i % 7));
        in.Irrig[i] = i % 10 == 0 ? 55.5 + (i % 13) : 0;
        in.EvapT[i] = 4.2 + 2.1 * std::cos(i * 0.0172);
        if (i % 30 == 0) in.ECsm[Z1][i] = 2.5 + std::sin(i * 0.001);
    }
    in.D[Z1] = 0.6, in.D[Zt] = 1.4, in.D[Za] = 12;
    in.TP[Z1] = 48, in.TP[Zt] = 44, in.TP[Za] = 40;
    in.EP[Z1] = 7, in.EP[Zt] = 6, in.EP[Za] = 9;
    in.LE[Z1] = 85, in.LE[Zt] = 75, in.LE[Za] = 100;
    in.Sini[Z1] = 3.2, in.Sini[Zt] = 4.1, in.Sini[Za] = 2.7;
    in.DrainPresent = true, in.Dd = 1.6, in.QH1 = 0.012, in.QH2 = 0.001;
    in.Si = 0.9, in.Dwtini = 1.3, in.CDc = 1.2, in.SMini = 55, in.IrrEff = 75;
    in.Inf = 0.2, in.Out = 0.35, in.Sinf = 1.8;
    return in;
}

double Best(int rounds, const std::function<void()>& work) {
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameFit(const ModelState& a, const ModelState& b) {
    for (int z = 0; z < ZoneCount; ++z)
        if (!SameBits(a.Fit[z].LE, b.Fit[z].LE) || !SameBits(a.Fit[z].FitIndex, b.Fit[z].FitIndex)) return false;
    return true;
}

}  // namespace

int main() {
    const int cores = MachineCores();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("halovane-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    bool same = true;

    std::printf("Heavy run: 3 layers, 100 yearly steps (360 days), 5 zones measured, 7 searches\n");
    std::printf("search kernel: %s, cores: %d, load average when started: ", SearchKernelName(), cores);
    if (FILE* load = std::fopen("/proc/loadavg", "r")) {
        char text[64] = {};
        if (std::fgets(text, sizeof text, load)) std::printf("%s", text);
        std::fclose(load);
    } else {
        std::printf("?\n");
    }

    ModelInput heavy = HeavyCase();
    heavy.InputFileName = (dir / "heavy.inp").string();

    // The plain run: no refinement, no optimisation, output file written.
    const double plain = Best(5, [&] {
        ModelInput in = heavy;
        ModelState state;
        Answers no(false, false);
        RunModel(in, state, no);
    });

    // The refinement on the prepared run.
    RunData prepared;
    ModelState balanced;
    Answers no(false, false);
    PrepareAndBalanceWater(heavy, prepared, balanced, no);
    RunData fresh;
    PrepareRun(heavy, fresh);
    ModelState full = balanced, first = balanced;
    RunData fullRun = fresh, firstRun = fresh;
    const double refineFull = Best(2, [&] {
        fullRun = fresh;
        RefineDrainageCapacityFullScan(fullRun, full);
    });
    const double refineFirst = Best(20, [&] {
        firstRun = fresh;
        RefineDrainageCapacity(firstRun, first);
    });
    same = same && SameBits(full.QH1w, first.QH1w) && full.RefinementAccepted == first.RefinementAccepted &&
           SameBits(fullRun.in.Inf, firstRun.in.Inf) && SameBits(fullRun.in.Out, firstRun.in.Out);

    // The searches, on the water balance of the given drainage factor.
    ModelState reference = balanced, one = balanced, all = balanced;
    const double searchReference = Best(1, [&] {
        reference = balanced;
        RunSearches(prepared, reference, true);
    });
    const double searchOne = Best(5, [&] {
        one = balanced;
        RunSearches(prepared, one, false, 1);
    });
    const double searchAll = Best(5, [&] {
        all = balanced;
        RunSearches(prepared, all, false, cores);
    });
    RunSaltBalance(prepared, reference);
    RunSaltBalance(prepared, one);
    RunSaltBalance(prepared, all);
    same = same && SameFit(reference, one) && SameFit(reference, all);

    // The whole run with both questions answered yes.
    std::string wholeText[2];
    double whole[2];
    for (int threads : {1, cores}) {
        const int k = threads == 1 ? 0 : 1;
        whole[k] = Best(5, [&] {
            ModelInput in = heavy;
            ModelState state;
            Answers yes(true, true);
            RunModel(in, state, yes, RunFiles{}, nullptr, threads);
        });
        std::string error;
        ReadWholeFile(OutputFileName(heavy.InputFileName), wholeText[k], error);
    }
    same = same && wholeText[0] == wholeText[1] && !wholeText[0].empty();
    // The conserving variant on the same data, both questions answered yes.
    double conserving[2];
    for (int threads : {1, cores}) {
        conserving[threads == 1 ? 0 : 1] = Best(3, [&] {
            ModelInput in = heavy;
            in.Variant = ModelVariant::Conserving;
            ModelState state;
            Answers yes(true, true);
            RunModel(in, state, yes, RunFiles{}, nullptr, threads);
        });
    }
    // The same run with the refinement of every trial over every step and
    // the searches on one thread.
    const double wholeAsBefore = whole[0] + refineFull - refineFirst;

    // A century of daily steps from an input file to an output file.
    ModelInput days = CenturyOfDays();
    days.InputFileName = (dir / "days.inp").string();
    const std::string writeError = WriteInputFile(days);
    if (!writeError.empty()) std::fprintf(stderr, "%s\n", writeError.c_str());
    double readTime = 0, runTime = 0;
    const double daily = Best(3, [&] {
        const auto start = std::chrono::steady_clock::now();
        ModelInput in;
        in.InputFileName = days.InputFileName;
        ReadInputFile(in);
        DistributeIrrigation(in);
        readTime = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ModelState state;
        Answers none(false, false);
        RunModel(in, state, none);
        runTime = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() - readTime;
    });

    std::printf("\n%-58s %9s\n", "", "seconds");
    std::printf("%-58s %9.4f\n", "plain run (no refinement, no optimisation, file written)", plain);
    std::printf("%-58s %9.4f\n", "refinement, every trial over all 100 steps", refineFull);
    std::printf("%-58s %9.4f\n", "refinement, every trial ends after its first step", refineFirst);
    std::printf("%-58s %9.4f\n", "searches, plain scan (one trial at a time)", searchReference);
    std::printf("%-58s %9.4f\n", "searches, fast, 1 thread", searchOne);
    std::printf("%-58s %9.4f\n", ("searches, fast, " + std::to_string(cores) + " threads").c_str(), searchAll);
    std::printf("%-58s %9.4f\n", "whole run, refine + optimise, 1 thread", whole[0]);
    std::printf("%-58s %9.4f\n", ("whole run, refine + optimise, " + std::to_string(cores) + " threads").c_str(),
                whole[1]);
    std::printf("%-58s %9.4f\n", "whole run as before (full-scan refinement, 1 thread)", wholeAsBefore);
    std::printf("%-58s %9.4f\n", "conserving variant, refine + optimise, 1 thread", conserving[0]);
    std::printf("%-58s %9.4f\n", ("conserving variant, refine + optimise, " + std::to_string(cores) + " threads").c_str(),
                conserving[1]);
    std::printf("%-58s %9.4f\n", "365 000 daily steps: read, run, write (plain run)", daily);
    std::printf("%-58s %9.4f\n", "  of which reading the input file", readTime);
    std::printf("\nratios\n");
    std::printf("%-58s %9.1f\n", "refinement: full scan / first step", refineFull / refineFirst);
    std::printf("%-58s %9.2f\n", "searches: plain scan / fast on 1 thread", searchReference / searchOne);
    std::printf("%-58s %9.2f\n", ("searches: fast on 1 thread / on " + std::to_string(cores)).c_str(),
                searchOne / searchAll);
    std::printf("%-58s %9.2f\n", "whole run: as before / now", wholeAsBefore / whole[1]);
    std::printf("%-58s %9.2f\n", "conserving / prescribed whole run, 1 thread", conserving[0] / whole[0]);
    std::printf("%-58s %9.2f\n", ("conserving / prescribed whole run, " + std::to_string(cores) + " threads").c_str(),
                conserving[1] / whole[1]);
    std::printf("%-58s %9.2f\n", "whole run: 0.58 s (main, measured before) / now", 0.58 / whole[1]);
    std::printf("\nrefined QH1: %.3f, efficiencies found:", first.QH1w);
    for (int z = 0; z < ZoneCount; ++z) std::printf(" %.2f", all.Fit[z].LE);
    std::printf("\nresults identical: %s\n", same ? "yes" : "NO");
    std::filesystem::remove_all(dir);
    return same ? 0 : 1;
}
