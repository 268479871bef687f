#include <gtest/gtest.h>

#include "ModelInput.h"

using namespace halovane;

namespace {

ModelInput Daily(const std::vector<double>& irrigation) {
    ModelInput in;
    in.Ts = 1;
    in.NrTst = static_cast<int>(irrigation.size());
    in.Irrig.assign(1, 0.0);
    in.Irrig.insert(in.Irrig.end(), irrigation.begin(), irrigation.end());
    return in;
}

std::vector<double> Distributed(const ModelInput& in) { return {in.IrrDist.begin() + 1, in.IrrDist.end()}; }

}  // namespace

TEST(DistributeIrrigation, SpreadsOverTheWidestDryWindow) {
    ModelInput in = Daily({0, 50, 0, 0, 0, 0, 0, 0});
    DistributeIrrigation(in);
    EXPECT_EQ(Distributed(in), (std::vector<double>{0, 10, 10, 10, 10, 10, 0, 0}));
}

TEST(DistributeIrrigation, WindowMustEndBeforeTheLastStep) {
    ModelInput in = Daily({0, 0, 0, 40, 0});
    DistributeIrrigation(in);
    EXPECT_EQ(Distributed(in), (std::vector<double>{0, 0, 0, 40, 0}));
    // the last two steps are never distributed
    in = Daily({0, 0, 0, 0, 30, 0});
    DistributeIrrigation(in);
    EXPECT_EQ(Distributed(in), (std::vector<double>{0, 0, 0, 0, 30, 0}));
}

TEST(DistributeIrrigation, LongerStepsKeepTheIrrigation) {
    ModelInput in = Daily({0, 50, 0, 0, 0, 0, 0, 0});
    in.Ts = 7;
    DistributeIrrigation(in);
    EXPECT_EQ(Distributed(in), (std::vector<double>{0, 50, 0, 0, 0, 0, 0, 0}));
}

TEST(DistributeIrrigation, ThresholdsOfTheFollowingDays) {
    // The day after may hold exactly 0.01 mm; later days must hold less.
    ModelInput in = Daily({30, 0.01, 0.01, 0, 0, 0, 0, 0});
    DistributeIrrigation(in);
    // k = 1 opens a two-day window only (step 3 is not below 0.01). Step 2
    // (0.01 mm, next day 0.01) opens its own window 2..6 and overwrites the
    // share of step 2; step 3 (0.01 mm, dry after) finally spreads over 3..7.
    EXPECT_EQ(Distributed(in), (std::vector<double>{15, 0.002, 0.002, 0.002, 0.002, 0.002, 0.002, 0}));

    // The day after the irrigation holds more than 0.01 mm: no window for
    // step 1, but step 2 spreads its own 0.02 mm.
    in = Daily({30, 0.02, 0, 0, 0, 0, 0, 0});
    DistributeIrrigation(in);
    EXPECT_EQ(Distributed(in), (std::vector<double>{30, 0.004, 0.004, 0.004, 0.004, 0.004, 0, 0}));
}

TEST(CountMeasurements, OnlyPositiveValuesOfZonesInUse) {
    ModelInput in;
    in.NrTst = 5;
    in.NrLayers = 1;
    ResizeMeasuredSeries(in, 5, -1);
    in.ECsm[Z1] = {0, 1, 0, -1, 2, 3};
    in.ECsm[Z2] = {0, 1, 1, 1, 1, 1};
    in.ECsm[Z3] = {0, 1, 1, 1, 1, 1};
    in.ECsm[Zt] = {0, 0, 0, 0, 0, 0.5};
    MeasurementCounts c = CountMeasurements(in);
    EXPECT_EQ(c.NrMeas[Z1], 3);
    EXPECT_EQ(c.NrMeas[Z2], 0);
    EXPECT_EQ(c.NrMeas[Z3], 0);
    EXPECT_EQ(c.NrMeas[Zt], 1);
    EXPECT_EQ(c.NrMeas[Za], 0);
    EXPECT_FALSE(c.anyOptimisable());
    in.NrLayers = 3;
    c = CountMeasurements(in);
    EXPECT_EQ(c.NrMeas[Z2], 5);
    EXPECT_EQ(c.NrMeas[Z3], 5);
    EXPECT_TRUE(c.anyOptimisable());
}

TEST(RootZoneThickness, SumsTheLayersInUse) {
    ModelInput in;
    in.D[Z1] = 0.3;
    in.D[Z2] = 0.3;
    in.D[Z3] = 0.4;
    in.NrLayers = 1;
    EXPECT_DOUBLE_EQ(RootZoneThickness(in), 0.3);
    in.NrLayers = 2;
    EXPECT_DOUBLE_EQ(RootZoneThickness(in), 0.6);
    in.NrLayers = 3;
    EXPECT_DOUBLE_EQ(RootZoneThickness(in), 0.3 + 0.3 + 0.4);
}
