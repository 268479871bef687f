// Drains designed with Hooghoudt's equation: the equivalent depth against
// published values, the spacing of a design discharge, and the factors as
// the input data file keeps them.
#include <gtest/gtest.h>

#include <cmath>

#include "DrainDesign.h"

using namespace halovane;
using namespace halovane::drain;

namespace {

constexpr double Pi = 3.14159265358979323846;

// To 3 significant digits: the printed value is the computed one rounded.
void ExpectThreeDigits(double computed, double printed, const std::string& what) {
    const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(printed))) - 2);
    EXPECT_LE(std::fabs(computed - printed), 0.5 * unit + 1e-12) << what << ": " << computed;
}

}  // namespace

TEST(DrainDesign, EquivalentDepthMatchesHooghoudtAndItsLimits) {
    // Hooghoudt's table of equivalent depths for r0 = 0.1 m, row of a deep
    // impermeable layer (as reprinted in Ritzema, H.P. (ed.) 1994, Drainage
    // Principles and Applications, ILRI Publication 16, chapter 8): L and d.
    const double deep[][2] = {{20, 1.89}, {25, 2.24}, {30, 2.58}, {40, 3.24}, {45, 3.56}};
    for (const auto& row : deep)
        ExpectThreeDigits(EquivalentDepth(1000, row[0], 0.1), row[1], "L " + std::to_string(row[0]));
    // The deep-layer limit in closed form, d = pi L / (8 ln(L / (pi r))), from
    // the same source, and the shallow limit d -> D when D is small beside L.
    for (double L : {8.0, 35.0, 120.0})
        EXPECT_NEAR(EquivalentDepth(50 * L, L, 0.1), Pi * L / (8 * std::log(L / (Pi * 0.1))), 1e-12);
    EXPECT_NEAR(EquivalentDepth(0.05, 200, 0.1) / 0.05, 1, 0.01);
    EXPECT_EQ(EquivalentDepth(0, 30, 0.1), 0);
    // The series and its closed form meet at x = 2 pi D / L = 0.5.
    const double L = 40, D = 0.5 * L / (2 * Pi);
    EXPECT_NEAR(EquivalentDepth(D * (1 - 1e-12), L, 0.1), EquivalentDepth(D * (1 + 1e-12), L, 0.1), 1e-8);
}

TEST(DrainDesign, SpacingOfADesignDischarge) {
    // From the deep-layer values of Hooghoudt's table above: the discharge of
    // drains at spacing L with d of the table, Ka = 0.5 and Kb = 0.8 m/day,
    // h = 0.8 m; the spacing found for it must be L to 3 significant digits.
    const DrainSoil soil{1.8, 0.5, 0.8, 1000, 0.1};
    const double deep[][2] = {{20, 1.89}, {25, 2.24}, {30, 2.58}, {40, 3.24}, {45, 3.56}};
    for (const auto& row : deep) {
        const double L = row[0], h = 0.8;
        const double q = 1000 * (8 * soil.Kb * row[1] * h + 4 * soil.Ka * h * h) / (L * L);
        const SpacingResult found = SpacingFor(soil, q, h);
        ASSERT_TRUE(found.Ok()) << found.problem;
        ExpectThreeDigits(found.spacing, L, "q " + std::to_string(q));
    }
    // The round trip spacing -> QH1, QH2 -> discharge -> spacing.
    const DrainSoil soils[] = {{1.2, 0.3, 1.5, 0, 0.05}, {1.8, 0.8, 0.8, 4.5, 0.1}, {2.5, 2, 0.4, 12, 0.3}};
    for (const DrainSoil& s : soils)
        for (double L : {5.0, 12.5, 37.0, 80.0, 250.0, 1200.0})
            for (double h : DesignHeads) {
                const Design design = DesignAt(s, L);
                const SpacingResult back = SpacingFor(s, DischargeMm(design.QH1, design.QH2, h), h);
                ASSERT_TRUE(back.Ok()) << back.problem;
                EXPECT_NEAR(back.spacing / L, 1, 1e-10) << "L " << L << " h " << h << " D " << s.impermeable;
            }
}

TEST(DrainDesign, RefusesWhatHasNoDesign) {
    const DrainSoil good{1.8, 0.8, 0.8, 4, 0.1};
    struct Case {
        DrainSoil soil;
        double q, h;
        const char* start;  // of the problem
    };
    const Case cases[] = {
        {{0, 0.8, 0.8, 4, 0.1}, 5, 0.5, "The drain depth"},
        {{1.8, 0, 0.8, 4, 0.1}, 5, 0.5, "The hydraulic conductivity above"},
        {{1.8, 0.8, NAN, 4, 0.1}, 5, 0.5, "The hydraulic conductivity below"},
        {{1.8, 0.8, 0.8, -1, 0.1}, 5, 0.5, "The depth of the impermeable"},
        {{1.8, 0.8, 0.8, 4, 0}, 5, 0.5, "The drain radius"},
        {good, 0, 0.5, "The design discharge"},
        {good, 5, 2, "The head"},
        {good, 1e5, 0.5, "No spacing gives that much"},
        {good, 1e-9, 0.5, "Drains 5000 m apart"},
    };
    for (const Case& c : cases) {
        const SpacingResult r = SpacingFor(c.soil, c.q, c.h);
        EXPECT_EQ(r.problem.rfind(c.start, 0), 0u) << r.problem;
    }
    EXPECT_EQ(CheckSpacing(good, 0.99).rfind("The drain spacing L must be between 1 m and 5000 m", 0), 0u);
    EXPECT_TRUE(CheckSpacing({1.8, 0.8, 0.8, 4, 0.2}, 1.5).size());  // closer than 10 radii
    EXPECT_EQ(CheckSpacing(good, 5000), "");
}

TEST(DrainDesign, FactorsAsTheFileKeepsThem) {
    // Wide spacings lose most: 0.0009375 is kept as 0.0009, 4 * 0.5 / 120^2
    // as 0.0001 (-28 %).
    EXPECT_EQ(AsSaved(0.0009375), 0.0009);
    EXPECT_EQ(AsSaved(4 * 0.5 / (120.0 * 120.0)), 0.0001);
    const Design wide = DesignAt({1.8, 0.5, 0.8, 3, 0.1}, 120);
    ASSERT_TRUE(RoundsInFile(wide));
    const DischargeRow top = DischargeTable(wide).back();
    EXPECT_EQ(top.head, 1.0);
    EXPECT_DOUBLE_EQ(top.saved, 1000 * (AsSaved(wide.QH1) + AsSaved(wide.QH2)));
    // Drains on the impermeable layer at 20 m with Ka = 1 m/day: QH1 = 0 and
    // QH2 = 0.01 store exactly.
    const Design exact = DesignAt({1.8, 1, 0.8, 0, 0.1}, 20);
    EXPECT_EQ(exact.QH1, 0);
    EXPECT_FALSE(RoundsInFile(exact));
}
