// The drainage refinement ends each trial after its first time step; it must
// choose exactly what the scan over all time steps chooses, and leave the
// horizontal flows with the same last bits for the run after it.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "EngineSupport.h"
#include "RunData.h"
#include "WaterBalance.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// Data sets around the drains: water tables above and below the drain depth,
// ponding, no drains, capillary rise, every step length.
ModelInput RandomDrainedField(std::mt19937& random) {
    std::uniform_real_distribution<double> u(0, 1);
    auto value = [&](double lo, double hi) { return lo + (hi - lo) * u(random); };
    ModelInput in;
    in.NrLayers = 1 + static_cast<int>(random() % 3);
    in.Ts = StepLengths[random() % 4];
    in.NrTst = 1 + static_cast<int>(random() % (in.Ts == 1 ? 60 : in.Ts == 360 ? 6 : 20));
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    const double wet = value(0, 1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = value(0, 3) * in.Ts;
        in.Irrig[i] = (u(random) < 0.6 ? value(0, 12 * wet) : 0) * in.Ts;
        in.EvapT[i] = value(0.5, 8) * in.Ts;
    }
    DrawSoil(in, value);
    in.DrainPresent = u(random) < 0.85;
    in.Dd = RootZoneThickness(in) + value(-0.2, in.D[Zt]);
    in.QH1 = value(0.001, 0.2), in.QH2 = u(random) < 0.3 ? 0 : value(0, 0.02);
    in.Si = value(0.2, 4), in.CDc = value(0.5, 2.5), in.SMini = value(20, 100);
    const double pick = u(random);
    in.Dwtini = pick < 0.1 ? value(-0.3, 0) : pick < 0.6 ? in.Dd + value(-1, 0.1) : value(0.2, 4);
    in.IrrEff = value(30, 100), in.Sinf = value(0, 8);
    // Flows whose last bits the ten sub-steps move, and plain ones.
    in.Inf = u(random) < 0.5 ? value(0, 3) : 0.1 * static_cast<int>(random() % 40);
    in.Out = u(random) < 0.5 ? value(0, 3) : 0.1 * static_cast<int>(random() % 40);
    DistributeIrrigation(in);
    return in;
}

struct Refined {
    double QH1w, Inf, Out;
    bool accepted;
};

Refined Refine(const ModelInput& in, bool fullScan) {
    RunData run;
    ModelState state;
    ScriptedInteraction ui;  // no refinement while preparing
    PrepareAndBalanceWater(in, run, state, ui);
    PrepareRun(in, run);  // the water balance changed Inf and Out; start again from the data
    if (fullScan)
        RefineDrainageCapacityFullScan(run, state);
    else
        RefineDrainageCapacity(run, state);
    return {state.QH1w, run.in.Inf, run.in.Out, state.RefinementAccepted};
}

void ExpectSameRefinement(const ModelInput& in, const std::string& what) {
    const Refined full = Refine(in, true), first = Refine(in, false);
    EXPECT_TRUE(SameBits(full.QH1w, first.QH1w)) << what << ": " << full.QH1w << " != " << first.QH1w;
    EXPECT_EQ(full.accepted, first.accepted) << what;
    EXPECT_TRUE(SameBits(full.Inf, first.Inf)) << what;
    EXPECT_TRUE(SameBits(full.Out, first.Out)) << what;
}

}  // namespace

TEST(Refinement, FirstStepChoosesWhatTheFullScanChooses) {
    std::mt19937 random(2026);
    int refined = 0, given = 0, moved = 0;
    for (int repeat = 0; repeat < 300; ++repeat) {
        const ModelInput in = RandomDrainedField(random);
        ExpectSameRefinement(in, "data set " + std::to_string(repeat));
        const Refined r = Refine(in, false);
        (SameBits(r.QH1w, in.QH1) ? given : refined) += 1;
        RunData plain;
        PrepareRun(in, plain);
        if (!SameBits(r.Inf, plain.in.Inf) || !SameBits(r.Out, plain.in.Out)) ++moved;
        if (HasFailure()) return;
    }
    // The sample covers both outcomes and flows the sub-steps move.
    EXPECT_GT(refined, 30);
    EXPECT_GT(given, 30);
    EXPECT_GT(moved, 10);
}

TEST(Refinement, EdgesOfTheScan) {
    std::mt19937 random(11);
    ModelInput in = RandomDrainedField(random);
    in.DrainPresent = true;

    // Without drains every trial ties: the first wins, the given QH1 takes
    // its place, and no later trial beats it. The flag then tells whether
    // the given value lies inside the range of accepted trials.
    for (double qh1 : {0.0015, 0.05, 0.1995}) {
        ModelInput noDrains = in;
        noDrains.DrainPresent = false;
        noDrains.QH1 = qh1;
        ExpectSameRefinement(noDrains, "no drains");
        const Refined r = Refine(noDrains, false);
        EXPECT_TRUE(SameBits(r.QH1w, qh1));
        EXPECT_EQ(r.accepted, qh1 == 0.05);
    }

    ModelInput oneStep = in;
    oneStep.NrTst = 1;
    ExpectSameRefinement(oneStep, "one step");

    ModelInput ponded = in;
    ponded.Dwtini = -0.5;
    ExpectSameRefinement(ponded, "ponded");

    ModelInput huge = in;  // the criterion overflows to infinity and NaN
    for (int i = 1; i <= huge.NrTst; ++i) huge.Irrig[i] = 1e308;
    DistributeIrrigation(huge);
    ExpectSameRefinement(huge, "overflowing irrigation");

    // An irrigation efficiency that becomes 0 in the run carries the day's
    // evapotranspiration over from trial to trial; the full scan runs then.
    ModelInput zeroEfficiency = in;
    zeroEfficiency.IrrEff = 1e-322;
    ExpectSameRefinement(zeroEfficiency, "efficiency 0 after conversion");

    for (int ts : StepLengths) {
        ModelInput daily = in;
        daily.Ts = ts;
        ExpectSameRefinement(daily, "step length " + std::to_string(ts));
    }
}

TEST(Refinement, RepeatedTenthAndBackMatchesTheDayByDayValue) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> u(0, 5);
    for (int repeat = 0; repeat < 2000; ++repeat) {
        const double start = repeat % 3 == 0 ? 0.1 * (repeat % 97) : u(random) * std::pow(10.0, repeat % 9 - 4);
        const long long times = static_cast<long long>(random() % 500);
        double x = start;
        for (long long t = 0; t < times; ++t) {
            x = x / 10;
            x = x * 10;
        }
        ASSERT_TRUE(SameBits(RepeatTenthAndBack(start, times), x)) << start << " x " << times;
    }
}
