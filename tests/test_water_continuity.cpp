// The water balance keeps its books: on many random data sets, every time
// step's reported flows must account for the change of storage in the root
// zone and for the rise or fall of the water table, with no golden file
// involved. The identities below are the ones the model satisfies, which are
// not all of physical conservation:
//
// - Steps longer than a day keep no root-zone storage: rain and irrigation
//   equal actual evapotranspiration plus percolation, where percolation is
//   negative when evapotranspiration exceeds the water given. The capillary
//   rise is then that same deficit, max(0, -percolation), and it enters the
//   water table a second time: the model counts the deficit twice.
// - Daily steps net percolation against capillary rise (one of the two is 0)
//   and balance with the storage change DStor: rain + irrigation =
//   evapotranspiration + percolation - capillary rise + DStor. The storage
//   Stor itself is not conserved: a dry day lowers Stor and counts its
//   deficit as capillary rise as well, and a root zone that fills up is held
//   at the retention capacity while all of the day's surplus percolates. So
//   Stor only follows DStor on the days DStor is above 0.
// - The water table moves by one day's net flow per time step, whatever the
//   step length, at the effective porosity of the zone it stands in:
//   (depth before - depth after) x 1000 x porosity = (percolation -
//   capillary rise - drain discharge) / days + inflow - outflow. With ten
//   sub-steps a day the porosity is taken at every sub-step, so the identity
//   holds only when the whole move stays in one zone; steps that end in
//   another zone are counted but not checked. The sub-steps divide the
//   inflow and outflow by 10 and multiply them back, which moves their last
//   bits only.
// - A stop (water table below the aquifer) ends the balance: the depth of
//   that step is the one that failed, and its totals and every later value
//   stay 0.
//
// Tolerances: both sides of each identity are sums of at most a few hundred
// rounded terms of the same size, so they agree to a few hundred units in
// the last place of the largest term (the largest difference on these runs
// is 1e-14 of it); 1e-11 leaves a wide margin, while a dropped or doubled
// flow is off by the whole flow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "EngineSupport.h"
#include "RunData.h"
#include "Validation.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// ---------------------------------------------------------------- fields
// The only places that name the per-zone fields of the data set and of the
// layer flows.

// Thickness (m), total porosity, effective porosity, leaching efficiency
// (all %) and initial salinity (dS/m) of layers 1..3, transition zone and
// aquifer, from the surface down.
struct ZoneValues {
    double D[ZoneCount], TP[ZoneCount], EP[ZoneCount], LE[ZoneCount], S[ZoneCount];
};

void SetSoil(ModelInput& in, const ZoneValues& v) {
    in.D[Z1] = v.D[0], in.D[Z2] = v.D[1], in.D[Z3] = v.D[2], in.D[Zt] = v.D[3], in.D[Za] = v.D[4];
    in.TP[Z1] = v.TP[0], in.TP[Z2] = v.TP[1], in.TP[Z3] = v.TP[2], in.TP[Zt] = v.TP[3], in.TP[Za] = v.TP[4];
    in.EP[Z1] = v.EP[0], in.EP[Z2] = v.EP[1], in.EP[Z3] = v.EP[2], in.EP[Zt] = v.EP[3], in.EP[Za] = v.EP[4];
    in.LE[Z1] = v.LE[0], in.LE[Z2] = v.LE[1], in.LE[Z3] = v.LE[2], in.LE[Zt] = v.LE[3], in.LE[Za] = v.LE[4];
    in.Sini[Z1] = v.S[0], in.Sini[Z2] = v.S[1], in.Sini[Z3] = v.S[2], in.Sini[Zt] = v.S[3], in.Sini[Za] = v.S[4];
}

// Thickness (m) and effective porosity (%) of the five zones.
void ReadSoil(const ModelInput& in, double (&D)[ZoneCount], double (&EP)[ZoneCount]) {
    const double d[ZoneCount] = {in.D[Z1], in.D[Z2], in.D[Z3], in.D[Zt], in.D[Za]};
    const double ep[ZoneCount] = {in.EP[Z1], in.EP[Z2], in.EP[Z3], in.EP[Zt], in.EP[Za]};
    std::copy(d, d + ZoneCount, D);
    std::copy(ep, ep + ZoneCount, EP);
}

// Daily capillary rise into the lowest root-zone layer and percolation out
// of it, as the salt balance receives them.
double CapillaryRiseIntoRootZone(const LayerFlows& f, int layers, size_t i) {
    return layers == 1 ? f.Cap[i] : layers == 2 ? f.Cap2[i] : f.Cap3[i];
}
double PercolationOutOfRootZone(const LayerFlows& f, size_t i) { return f.Perc1[i]; }

// ---------------------------------------------------------------- data

struct Kind {
    int layers;
    int ts;
    bool drains;
    bool wet;
    bool shallow;
};

std::string Describe(const Kind& k, int set) {
    std::ostringstream s;
    s << "data set " << set << ": " << k.layers << " layers, " << k.ts << "-day steps, "
      << (k.drains ? "drains" : "no drains") << ", " << (k.wet ? "wet" : "dry") << ", "
      << (k.shallow ? "shallow" : "deep") << " water table";
    return s.str();
}

ModelInput RandomDataSet(std::mt19937& random, const Kind& k) {
    std::uniform_real_distribution<double> u(0, 1);
    auto value = [&](double lo, double hi) { return lo + (hi - lo) * u(random); };
    ModelInput in;
    in.NrLayers = k.layers;
    in.Ts = k.ts;
    in.NrTst = k.ts == 360 ? 6 : k.ts == 30 ? 30 : k.ts == 7 ? 60 : 240;
    in.NrTstHydr = in.NrTst;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        // amounts per day, times the step length
        const double rain = u(random) < 0.5 ? value(0, k.wet ? 12 : 1.5) : 0;
        const double irrigation = u(random) < (k.wet ? 0.6 : 0.2) ? value(0, k.wet ? 15 : 3) : 0;
        const double evap = k.wet ? value(0.5, 5) : value(3, 10);
        in.Rain[i] = rain * k.ts;
        in.Irrig[i] = irrigation * k.ts;
        in.EvapT[i] = evap * k.ts;
    }
    ZoneValues soil{};
    for (int z = 0; z < ZoneCount; ++z) {
        soil.D[z] = z < 3 ? value(0.1, 0.6) : z == 3 ? (u(random) < 0.1 ? 0 : value(0.3, 3)) : value(2, 20);
        soil.TP[z] = value(35, 55);
        soil.EP[z] = value(2, 20);
        soil.LE[z] = value(20, 100);
        soil.S[z] = value(0.5, 15);
    }
    SetSoil(in, soil);
    const double dr = RootZoneThickness(in);
    const double dt = soil.D[3], bottom = dr + dt + soil.D[4];
    in.DrainPresent = k.drains;
    in.Dd = dr + value(0, 1) * dt;
    // one update a day below 0.02, ten sub-steps from 0.02 on
    in.QH1 = u(random) < 0.5 ? value(0.001, 0.0199) : value(0.02, 0.2);
    in.QH2 = value(0, 0.02);
    in.Dwtini = k.shallow ? value(-0.3, dr + 0.5 * dt) : value(dr + dt, bottom - 0.05);
    in.CDc = value(0.3, 3);
    in.SMini = value(20, 100);
    in.IrrEff = value(30, 100);
    in.Inf = value(0, 3);
    in.Out = value(0, k.wet ? 3 : 15);
    in.Si = value(0.2, 4);
    in.Sinf = value(0, 8);
    DistributeIrrigation(in);
    return in;
}

// ---------------------------------------------------------------- model

// The zones the water table can stand in: 0 above the surface, 1..3 the
// root-zone layers, 4 the transition zone, 5 the aquifer.
int ZoneAt(const double (&D)[ZoneCount], int layers, double d) {
    if (d <= 0) return 0;
    double top = 0;
    for (int z = 0; z < layers; ++z) {
        top = z == 0 ? D[0] : top + D[z];
        if (d <= top) return z + 1;
    }
    return d <= top + D[3] ? 4 : 5;
}

// Effective porosity (fraction) of a zone from ZoneAt.
double PorosityOf(const double (&EP)[ZoneCount], int zone) {
    if (zone == 0) return 1.0;
    return EP[zone - 1] / 100;
}

// Agreement within rounding of a sum of terms of the size `scale`.
bool Close(double a, double b, double scale) { return std::fabs(a - b) <= 1e-11 * (scale + 1); }

struct Coverage {
    int steps = 0, tableChecked = 0, tableSkipped = 0, subStepChecked = 0, ponded = 0, stops = 0, sets = 0;
    int drained = 0, deficit = 0, stored = 0;
};

// Checks every time step of one balanced run; returns false after the first
// failure, with the failure reported.
bool CheckRun(const ModelInput& given, const RunData& run, const ModelState& state, const std::string& where,
              Coverage& seen) {
    const ModelInput& in = run.in;  // rain, irrigation and evapotranspiration per day
    const int n = in.NrTst, ts = in.Ts, layers = in.NrLayers;
    const StepResults& r = state.Results;
    const LayerFlows& f = state.Flows;
    double D[ZoneCount], EP[ZoneCount];
    ReadSoil(given, D, EP);
    double dr = D[0];
    for (int z = 1; z < layers; ++z) dr = dr + D[z];
    const double bottom = dr + D[3] + D[4];
    const double inflow = given.Inf, outflow = given.Out;
    const bool subSteps = !(state.QH1w < 0.02);
    const int last = state.Stop ? f.StopStep - 1 : n;

    for (int i = 1; i <= last; ++i) {
        const size_t k = static_cast<size_t>(i);
        const std::string at = where + ", step " + std::to_string(i);
        const double P = r.PercT[k], C = r.CapTT[k], E = r.EvapAT[k], Dr = r.DrainT[k];
        const double water = in.Rain[k] + in.IrrDist[k];  // per day
        ++seen.steps;

        // Root zone.
        if (ts > 1) {
            const double scale = ts * (water + std::fabs(E / ts)) + std::fabs(P);
            EXPECT_TRUE(Close(ts * water, E + P, scale)) << at << ": water given " << ts * water << " mm, "
                                                           << "evapotranspiration " << E << " + percolation " << P;
            EXPECT_TRUE(Close(C, std::max(0.0, -P), scale)) << at << ": capillary rise " << C
                                                             << " is not the deficit of percolation " << P;
            if (P < 0) ++seen.deficit;
        } else {
            const double dstor = state.DStor[k];
            const double scale = water + E + P + C + dstor;
            EXPECT_TRUE(P == 0 || C == 0) << at << ": percolation " << P << " and capillary rise " << C
                                          << " were not netted";
            EXPECT_TRUE(Close(water, E + P - C + dstor, scale))
                << at << ": water given " << water << " mm, evapotranspiration " << E << ", percolation " << P
                << ", capillary rise " << C << ", storage change " << dstor;
            EXPECT_GE(dstor, 0) << at;
            EXPECT_GE(state.Stor[k], 0) << at;
            EXPECT_LE(state.Stor[k], state.RetCap) << at;
            if (dstor > 0) {
                EXPECT_EQ(state.Stor[k], state.Stor[k - 1] + dstor) << at << ": storage does not follow DStor";
                ++seen.stored;
            }
        }
        // The salt balance receives the same flows at the bottom of the root
        // zone.
        EXPECT_TRUE(Close(CapillaryRiseIntoRootZone(f, layers, k) * ts, C, C))
            << at << ": capillary rise into the root zone " << CapillaryRiseIntoRootZone(f, layers, k)
            << " a day, step total " << C;
        if (layers == 1) {
            EXPECT_TRUE(Close(PercolationOutOfRootZone(f, k) * ts, P, std::fabs(P)))
                << at << ": percolation out of the root zone " << PercolationOutOfRootZone(f, k)
                << " a day, step total " << P;
        }

        // Drains.
        const double d0 = r.Dwt[k - 1], d1 = r.Dwt[k];
        EXPECT_LE(d1, bottom) << at;
        if (!given.DrainPresent || (!subSteps && d0 >= given.Dd)) {
            EXPECT_EQ(Dr, 0) << at << ": drain discharge without drains or head";
        }
        if (!subSteps && given.DrainPresent && d0 < given.Dd) {
            // one update a day: the discharge of the depth at the start
            const double h = given.Dd - d0;
            const double a = 1000 * given.QH2 * h * h * (d0 <= -0.1 ? 2 : 1);
            const double expected = ts * (a + 1000 * state.QH1w * h);
            EXPECT_TRUE(Close(Dr, expected, expected)) << at << ": drain discharge " << Dr << ", expected "
                                                        << expected << " at " << d0 << " m";
        }
        if (Dr > 0) ++seen.drained;

        // Water table.
        const int zone = ZoneAt(D, layers, d0);
        if (subSteps && ZoneAt(D, layers, d1) != zone) {
            ++seen.tableSkipped;
        } else {
            const double porosity = PorosityOf(EP, zone);
            const double stored = (d0 - d1) * 1000 * porosity;
            const double net = (P - C - Dr) / ts + inflow - outflow;
            const double scale = (std::fabs(P) + C + Dr) / ts + inflow + outflow +
                                 1000 * porosity * (std::fabs(d0) + std::fabs(d1)) * 10;
            EXPECT_TRUE(Close(stored, net, scale))
                << at << (subSteps ? " (ten sub-steps)" : " (one update)") << ": water table " << d0 << " -> "
                << d1 << " m at porosity " << porosity << " stores " << stored << " mm; flows give " << net
                << " mm (percolation " << P << ", capillary rise " << C << ", drains " << Dr << " per "
                << ts << " days; inflow " << inflow << ", outflow " << outflow << " a day)";
            ++seen.tableChecked;
            if (subSteps) ++seen.subStepChecked;
            if (zone == 0) ++seen.ponded;
        }
        if (::testing::Test::HasFailure()) return false;
    }

    if (state.Stop) {
        ++seen.stops;
        const size_t s = static_cast<size_t>(f.StopStep);
        EXPECT_GT(r.Dwt[s], bottom) << where << ": the stop depth is inside the aquifer";
        for (size_t i = s; i <= static_cast<size_t>(n); ++i) {
            EXPECT_EQ(r.PercT[i], 0) << where << ", step " << i;
            EXPECT_EQ(r.CapTT[i], 0) << where << ", step " << i;
            EXPECT_EQ(r.EvapAT[i], 0) << where << ", step " << i;
            EXPECT_EQ(r.DrainT[i], 0) << where << ", step " << i;
            if (i > s) {
                EXPECT_EQ(r.Dwt[i], 0) << where << ", step " << i;
            }
        }
    }
    return !::testing::Test::HasFailure();
}

}  // namespace

TEST(WaterContinuity, EveryStepOfRandomRunsBalances) {
    std::mt19937 random(20261208);
    Coverage seen;
    int set = 0;
    for (int layers = 1; layers <= 3; ++layers)
        for (int ts : StepLengths)
            for (bool drains : {false, true})
                for (bool wet : {false, true})
                    for (int repeat = 0; repeat < 4; ++repeat) {
                        const Kind kind{layers, ts, drains, wet, repeat % 2 == 0};
                        const ModelInput in = RandomDataSet(random, kind);
                        const std::string where = Describe(kind, ++set);
                        ASSERT_FALSE(HasErrors(ValidateDataSet(in))) << where << "\n"
                                                                     << ProblemReport(ValidateDataSet(in));
                        RunData run;
                        ModelState state;
                        // every third data set with the drainage factor refined
                        ScriptedInteraction ui(set % 3 == 0, false);
                        PrepareAndBalanceWater(in, run, state, ui);
                        ++seen.sets;
                        ASSERT_TRUE(CheckRun(in, run, state, where, seen));
                        // a stop, and only a stop, tells the user
                        const bool told = ui.messages == std::vector<std::string>{BelowAquiferMessage};
                        ASSERT_EQ(state.Stop, told) << where;
                        ASSERT_TRUE(state.Stop || ui.messages.empty()) << where;
                    }

    // The runs reach every part of the balance they are meant to check.
    EXPECT_EQ(seen.sets, 192);
    EXPECT_GT(seen.steps, 5000);
    EXPECT_GT(seen.tableChecked, seen.steps * 9 / 10);
    EXPECT_GT(seen.subStepChecked, seen.tableChecked / 5);
    EXPECT_GT(seen.ponded, 20);
    EXPECT_GT(seen.drained, 200);
    EXPECT_GT(seen.deficit, 50);
    EXPECT_GT(seen.stored, 50);
    EXPECT_GT(seen.stops, 3);
    EXPECT_LT(seen.stops, seen.sets / 2);
    std::cout << seen.sets << " data sets, " << seen.steps << " steps; water table checked in "
              << seen.tableChecked << " (" << seen.subStepChecked << " with sub-steps, " << seen.ponded
              << " above the surface), " << seen.tableSkipped << " left one zone in sub-steps; " << seen.stops
              << " stops\n";
}
