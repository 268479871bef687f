// The fast leaching-efficiency search must give exactly what the plain scan
// gives: the same score for every trial, bit for bit, the same efficiencies
// and the same fit indices afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <random>

#include "EngineSupport.h"
#include "LeachingSearch.h"
#include "LeachingSearchFast.h"
#include "RunData.h"
#include "SaltBalance.h"
#include "Searches.h"
#include "SearchTerms.h"
#include "ThreadTeam.h"
#include "Validation.h"

using namespace halovane;
using namespace halovane::test;

namespace {

ModelInput RandomField(std::mt19937& random, int layers) {
    std::uniform_real_distribution<double> u(0, 1);
    auto value = [&](double lo, double hi) { return lo + (hi - lo) * u(random); };
    ModelInput in;
    in.NrLayers = layers;
    in.Ts = StepLengths[random() % 4];
    in.NrTst = 4 + static_cast<int>(random() % (in.Ts == 1 ? 120 : in.Ts == 360 ? 8 : 30));
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = value(0, 3) * in.Ts;
        in.Irrig[i] = (u(random) < 0.6 ? value(0, 9) : 0) * in.Ts;
        in.EvapT[i] = value(0.5, 7) * in.Ts;
        for (int z = 0; z < ZoneCount; ++z) {
            // present, absent, zero, negative, huge and tiny values
            const double pick = u(random);
            double m = -1;
            if (pick < 0.45) m = value(0.5, 20);
            else if (pick < 0.5) m = 0;
            else if (pick < 0.55) m = -value(0, 5);
            else if (pick < 0.57) m = 1e200;
            else if (pick < 0.6) m = 1e-9;
            in.ECsm[static_cast<Zone>(z)][i] = m;
        }
    }
    DrawSoil(in, value);
    in.DrainPresent = u(random) < 0.5;
    in.Dd = RootZoneThickness(in) + value(0, in.D[Zt]);
    in.QH1 = value(0.001, 0.05), in.QH2 = value(0, 0.01);
    in.Si = value(0.2, 4), in.Dwtini = value(0.2, 3), in.CDc = value(0.5, 2.5), in.SMini = value(20, 100);
    in.IrrEff = value(30, 100), in.Inf = value(0, 3), in.Out = value(0, 3), in.Sinf = value(0, 8);
    DistributeIrrigation(in);
    return in;
}

// The plain scan and the fast search of one zone from the same state: every
// trial's score and the efficiency found must have the same bits on every
// instruction set this processor runs, on one thread and with the lane
// groups split over 2 and 4 threads. Returns the reference scores.
std::vector<double> ExpectSameAsReference(const RunData& run, const ModelState& prepared, int layers, Zone zone) {
    const int z = static_cast<int>(zone);
    ModelState reference = prepared;
    std::vector<double> referenceScores(SearchTrials), fastScores(SearchTrials);
    SearchLeachingEfficiencyReference(run, reference, layers, zone, referenceScores.data());
    for (const char* kernel : AvailableSearchKernels()) {
        for (int threads : {1, 2, 4}) {
            ModelState fast = prepared;
            SearchLeachingEfficiencyFast(run, fast, layers, zone, fastScores.data(), kernel, threads);
            for (int k = 0; k < SearchTrials; ++k) {
                const size_t t = static_cast<size_t>(k);
                EXPECT_TRUE(SameBits(referenceScores[t], fastScores[t]))
                    << kernel << ", " << threads << " threads: layers " << layers << " zone " << z << " trial " << k
                    << ": " << referenceScores[t] << " != " << fastScores[t];
                if (::testing::Test::HasFailure()) return referenceScores;
            }
            EXPECT_TRUE(SameBits(reference.Fit[z].LE, fast.Fit[z].LE)) << kernel << " " << threads;
            if (::testing::Test::HasFailure()) return referenceScores;
        }
    }
    return referenceScores;
}

}  // namespace

TEST(FastSearch, GivesTheReferenceScoresBitForBit) {
    std::mt19937 random(4242);
    int searches = 0, dependent = 0;
    for (int layers = 1; layers <= 3; ++layers) {
        for (int repeat = 0; repeat < 12; ++repeat) {
            const ModelInput in = RandomField(random, layers);
            RunData run;
            ModelState prepared;
            ScriptedInteraction ui(repeat % 3 == 0, true);
            PrepareAndBalanceWater(in, run, prepared, ui);
            for (int z = 0; z < ZoneCount; ++z) {
                const Zone zone = static_cast<Zone>(z);
                if (!ZoneInUse(layers, zone)) continue;
                ExpectSameAsReference(run, prepared, layers, zone);
                ASSERT_FALSE(HasFailure());
                ++searches;
                if (ReadsOwnStoredEfficiency(TermsOfSearch(layers, zone), zone)) ++dependent;
            }
        }
    }
    EXPECT_EQ(searches, 12 * (3 + 4 + 5));
    EXPECT_EQ(dependent, 12 * 4);  // two layers: layer 1, layer 2, aquifer; three layers: layer 2
}

// A kernel name this processor does not run (or no kernel at all) falls back
// on the baseline kernel, with the scores of the plain scan.
TEST(FastSearch, AnUnknownKernelGivesWayToTheBaselineOne) {
    std::mt19937 random(515);
    for (int layers : {1, 2}) {
        const ModelInput in = RandomField(random, layers);
        RunData run;
        ModelState prepared;
        ScriptedInteraction ui(false, true);
        PrepareAndBalanceWater(in, run, prepared, ui);
        for (Zone zone : {Zone::Layer1, Zone::Aquifer}) {
            ModelState reference = prepared, fast = prepared;
            double referenceScores[SearchTrials], fastScores[SearchTrials];
            SearchLeachingEfficiencyReference(run, reference, layers, zone, referenceScores);
            SearchLeachingEfficiencyFast(run, fast, layers, zone, fastScores, "no such kernel", 2);
            for (int k = 0; k < SearchTrials; ++k)
                ASSERT_TRUE(SameBits(referenceScores[k], fastScores[k])) << "layers " << layers << " trial " << k;
            const size_t z = static_cast<size_t>(zone);
            EXPECT_TRUE(SameBits(reference.Fit[z].LE, fast.Fit[z].LE));
        }
    }
}

TEST(FastSearch, AWaterTableThatLeavesTheAquiferInsideAStep) {
    // The water balance stops on the first day of the step in which the water
    // table falls below the aquifer: the rest of that step and every later
    // step have no flows, while the salt balances still run to the last
    // measured value. A thin aquifer with a strong outflow and no drains
    // brings the water table there within a few steps.
    std::mt19937 random(616);
    int splitSteps = 0, searches = 0, varied = 0;
    std::vector<int> stopSteps;
    for (int layers = 1; layers <= 3; ++layers) {
        for (int ts : StepLengths) {
            for (int repeat = 0; repeat < 2; ++repeat) {
                ModelInput in = RandomField(random, layers);
                const double perDay = static_cast<double>(ts) / in.Ts;
                for (Series* s : {&in.Rain, &in.Irrig, &in.EvapT})
                    for (double& v : *s) v = v * perDay;
                in.Ts = ts;
                in.NrTst = ts == 1 ? 40 : ts == 7 ? 20 : ts == 30 ? 8 : 4;
                ResizeHydrologicalSeries(in, in.NrTst);
                ResizeMeasuredSeries(in, in.NrTst, -1);
                in.DrainPresent = false;
                in.D[Za] = 3;
                in.Inf = 0, in.Out = 60;
                const double bottom = RootZoneThickness(in) + in.D[Zt] + in.D[Za];
                in.Dwtini = bottom - 0.4 - 0.4 * repeat;
                for (Zone z : EveryZone) in.ECsm[z][in.NrTst] = 5.0;
                DistributeIrrigation(in);
                ASSERT_FALSE(HasErrors(ValidateDataSet(in))) << ProblemReport(ValidateDataSet(in));

                RunData run;
                ModelState prepared;
                ScriptedInteraction ui(repeat == 1, true);
                PrepareAndBalanceWater(in, run, prepared, ui);
                const LayerFlows& f = prepared.Flows;
                ASSERT_TRUE(prepared.Stop) << layers << " layers, " << ts << "-day steps";
                // A stop on a day before the last of its step, and measured
                // values after it: the fast search splits that step in a part
                // with flows and one without.
                ASSERT_LT(f.StopStep, in.NrTst) << "the stop leaves later steps to the salt balance";
                ASSERT_EQ(f.StopDay, 1);
                if (f.StopDay < ts) ++splitSteps;
                stopSteps.push_back(f.StopStep);

                for (int z = 0; z < ZoneCount; ++z) {
                    const Zone zone = static_cast<Zone>(z);
                    if (!ZoneInUse(layers, zone)) continue;
                    const std::vector<double> scores = ExpectSameAsReference(run, prepared, layers, zone);
                    ASSERT_FALSE(HasFailure()) << layers << " layers, " << ts << "-day steps";
                    ++searches;
                    if (*std::min_element(scores.begin(), scores.end()) <
                        *std::max_element(scores.begin(), scores.end()))
                        ++varied;
                }

                // A run of searches and the final pass end alike.
                ModelState reference = prepared, fast = prepared;
                RunSearches(run, reference, true);
                RunSaltBalance(run, reference);
                RunSearches(run, fast, false, 2);
                RunSaltBalance(run, fast);
                for (int z = 0; z < ZoneCount; ++z) {
                    EXPECT_TRUE(SameBits(reference.Fit[z].LE, fast.Fit[z].LE)) << z;
                    EXPECT_TRUE(SameBits(reference.Fit[z].FitIndex, fast.Fit[z].FitIndex)) << z;
                }
            }
        }
    }
    EXPECT_EQ(splitSteps, 3 * 3 * 2);  // every step length but the day
    EXPECT_EQ(searches, 2 * 4 * (3 + 4 + 5));
    EXPECT_GT(varied, searches / 2);  // scores that tell the trials apart
    EXPECT_GT(*std::max_element(stopSteps.begin(), stopSteps.end()), 1);  // and stops after whole steps
}

TEST(FastSearch, ARunOfSearchesEndsWithTheSameFit) {
    std::mt19937 random(77);
    for (int layers = 1; layers <= 3; ++layers) {
        for (int repeat = 0; repeat < 6; ++repeat) {
            const ModelInput in = RandomField(random, layers);
            RunData run;
            ModelState reference;
            ScriptedInteraction ui(false, true);
            PrepareAndBalanceWater(in, run, reference, ui);
            const ModelState balanced = reference;
            RunSearches(run, reference, true);
            RunSaltBalance(run, reference);
            for (int threads : {0, 1, 3}) {
                ModelState fast = balanced;
                RunSearches(run, fast, false, threads);
                RunSaltBalance(run, fast);
                for (int z = 0; z < ZoneCount; ++z) {
                    EXPECT_TRUE(SameBits(reference.Fit[z].LE, fast.Fit[z].LE));
                    EXPECT_TRUE(SameBits(reference.Fit[z].FitIndex, fast.Fit[z].FitIndex));
                    EXPECT_EQ(reference.Fit[z].FitNotAvailable, fast.Fit[z].FitNotAvailable);
                    EXPECT_FALSE(std::isnan(fast.Fit[z].FitIndex));
                }
                EXPECT_EQ(reference.Results.SR[Z1], fast.Results.SR[Z1]);
            }
        }
    }
}

TEST(Search, TiesGoToTheSmallerEfficiency) {
    // A measured value the zone cannot approach: every score is capped at
    // 1000, all trials tie and the first, 0.11, wins.
    std::mt19937 random(5);
    ModelInput in = RandomField(random, 1);
    for (int i = 1; i <= in.NrTst; ++i) in.ECsm[Z1][i] = 1e6;
    RunData run;
    ModelState state;
    ScriptedInteraction ui;
    PrepareAndBalanceWater(in, run, state, ui);
    double scores[SearchTrials];
    SearchLeachingEfficiencyReference(run, state, 1, Zone::Layer1, scores);
    for (double s : scores) EXPECT_EQ(s, 1000);
    EXPECT_DOUBLE_EQ(state.Fit[0].LE, 0.11);
}

TEST(Search, TrialValuesComeFromRepeatedAddition) {
    // The last trial is 0.10 plus 180 additions of 0.01, not 1.90 itself, and
    // the efficiency found is one of these sums.
    double t = 0.10;
    for (int k = 0; k < SearchTrials; ++k) t = t + 0.01;
    EXPECT_NE(t, 1.90);
    std::mt19937 random(9);
    ModelInput in = RandomField(random, 1);
    for (int i = 1; i <= in.NrTst; ++i) in.ECsm[Zt][i] = -1;
    in.ECsm[Zt][in.NrTst] = 1e-9;
    RunData run;
    ModelState state;
    ScriptedInteraction ui;
    PrepareAndBalanceWater(in, run, state, ui);
    double scores[SearchTrials];
    SearchLeachingEfficiencyReference(run, state, 1, Zone::Transition, scores);
    const double found = state.Fit[3].LE;
    bool isTrial = false;
    t = 0.10;
    for (int k = 0; k < SearchTrials; ++k) isTrial = isTrial || SameBits(found, t = t + 0.01);
    EXPECT_TRUE(isTrial) << found;
}

TEST(SearchThreads, FollowTheMachineAndNeverOversubscribeIt) {
    EXPECT_EQ(SearchThreads(0, 2), 2);  // default: every core
    EXPECT_EQ(SearchThreads(0, 0), 1);
    EXPECT_EQ(SearchThreads(3, 2), 3);  // asked for
    // Files run side by side share the cores.
    EXPECT_EQ(SearchThreadsPerRun(0, 1, 2), 2);
    EXPECT_EQ(SearchThreadsPerRun(0, 2, 2), 1);
    EXPECT_EQ(SearchThreadsPerRun(0, 2, 8), 4);
    EXPECT_EQ(SearchThreadsPerRun(0, 3, 8), 2);
    EXPECT_EQ(SearchThreadsPerRun(0, 16, 8), 1);  // every run keeps one thread
    EXPECT_EQ(SearchThreadsPerRun(2, 1, 8), 2);   // never more than asked for
    EXPECT_EQ(SearchThreadsPerRun(8, 2, 8), 4);   // nor more than the share
    EXPECT_EQ(SearchThreadsPerRun(4, 1, 0), 1);
}

TEST(SearchThreads, ATeamRunsEveryPartOnceAndCanBeUsedAgain) {
    for (int size : {1, 2, 5}) {
        ThreadTeam team(size);
        EXPECT_EQ(team.Size(), size);
        for (int round = 0; round < 50; ++round) {
            const int parts = round % 7;
            std::vector<std::atomic<int>> runs(static_cast<size_t>(parts));
            team.Run(parts, [&](int part) { ++runs[static_cast<size_t>(part)]; });
            for (auto& r : runs) ASSERT_EQ(r.load(), 1) << size << " threads, round " << round;
        }
    }
}
