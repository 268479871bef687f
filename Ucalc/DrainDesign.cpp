#include "DrainDesign.h"

#include <algorithm>
#include <cmath>

#include "Fields.h"
#include "InputFileLayout.h"
#include "NumberText.h"

namespace halovane::drain {

namespace {

constexpr double Pi = 3.14159265358979323846;

// F(x) of the equivalent depth, x > 0.
double SeriesF(double x) {
    if (x <= 0.5) return Pi * Pi / (4 * x) + std::log(x / (2 * Pi));
    // The terms fall at least as fast as e^(-2nx) <= e^(-n): some forty
    // terms reach the precision of a double.
    double sum = 0;
    for (int n = 1; n < 200; n += 2) {
        const double e = std::exp(-2 * n * x);
        const double term = 4 * e / (n * (1 - e));
        sum += term;
        if (term <= 1e-17 * sum) break;
    }
    return sum;
}

std::string Metres(double value) { return ShortestText(value) + " m"; }

std::string MmPerDay(double value) { return FormatFixed(value, 0, 2) + " mm/day"; }

}  // namespace

double EquivalentDepth(double D, double L, double r) {
    if (D <= 0) return 0;
    const double x = 2 * Pi * D / L;
    return Pi * L / 8 / (std::log(L / (Pi * r)) + SeriesF(x));
}

Design DesignAt(const DrainSoil& soil, double spacing) {
    Design design;
    design.spacing = spacing;
    design.d = EquivalentDepth(soil.impermeable, spacing, soil.radius);
    design.QH1 = 8 * soil.Kb * design.d / (spacing * spacing);
    design.QH2 = 4 * soil.Ka / (spacing * spacing);
    return design;
}

double DischargeMm(double QH1, double QH2, double head) { return 1000 * (QH1 * head + QH2 * head * head); }

double AsSaved(double factor) { return FieldNamed("qh1").Stored(factor); }

bool RoundsInFile(const Design& design) {
    return AsSaved(design.QH1) != design.QH1 || AsSaved(design.QH2) != design.QH2;
}

std::vector<DischargeRow> DischargeTable(const Design& design) {
    std::vector<DischargeRow> rows;
    for (double h : DesignHeads)
        rows.push_back({h, DischargeMm(design.QH1, design.QH2, h),
                        DischargeMm(AsSaved(design.QH1), AsSaved(design.QH2), h)});
    return rows;
}

double MinSpacing(const DrainSoil& soil) { return std::max(1.0, 10 * soil.radius); }

std::string CheckSoil(const DrainSoil& soil, SoilField* field) {
    // Written so that a value that is not a number fails too.
    struct Rule {
        SoilField field;
        bool ok;
        const char* message;
    };
    const Rule rules[] = {
        {SoilField::Depth, soil.depth > 0 && std::isfinite(soil.depth), "The drain depth must be greater than 0 m."},
        {SoilField::Ka, soil.Ka > 0 && std::isfinite(soil.Ka),
         "The hydraulic conductivity above drain level Ka must be greater than 0 m/day."},
        {SoilField::Kb, soil.Kb > 0 && std::isfinite(soil.Kb),
         "The hydraulic conductivity below drain level Kb must be greater than 0 m/day."},
        {SoilField::Impermeable, soil.impermeable >= 0 && std::isfinite(soil.impermeable),
         "The depth of the impermeable layer below drain level D must be 0 m or more."},
        {SoilField::Radius, soil.radius > 0 && soil.radius <= 0.5,
         "The drain radius r must be greater than 0 m and at most 0.5 m."},
    };
    for (const Rule& rule : rules)
        if (!rule.ok) {
            if (field) *field = rule.field;
            return rule.message;
        }
    return {};
}

std::string CheckSpacing(const DrainSoil& soil, double spacing) {
    if (!(spacing >= MinSpacing(soil) && spacing <= MaxSpacing))
        return "The drain spacing L must be between " + Metres(MinSpacing(soil)) + " and " + Metres(MaxSpacing) +
               " (at least 1 m and 10 drain radii).";
    return {};
}

SpacingResult SpacingFor(const DrainSoil& soil, double dischargeMm, double head) {
    SpacingResult result;
    result.problem = CheckSoil(soil);
    if (!result.Ok()) return result;
    if (!(dischargeMm > 0) || std::isinf(dischargeMm)) {
        result.problem = "The design discharge q must be greater than 0 mm/day.";
        return result;
    }
    if (!(head > 0 && head <= soil.depth)) {
        result.problem = "The head h must be greater than 0 m and at most the drain depth, " + Metres(soil.depth) + ".";
        return result;
    }
    const auto at = [&](double L) {
        const Design design = DesignAt(soil, L);
        return DischargeMm(design.QH1, design.QH2, head);
    };
    double lo = MinSpacing(soil), hi = MaxSpacing;
    if (at(lo) < dischargeMm) {
        result.problem = "No spacing gives that much: drains " + Metres(lo) + " apart discharge " + MmPerDay(at(lo)) +
                         " at that head.";
        return result;
    }
    if (at(hi) > dischargeMm) {
        result.problem = "Drains " + Metres(hi) + " apart still discharge " + MmPerDay(at(hi)) + " at that head.";
        return result;
    }
    // The discharge falls as the spacing grows: bisection on the logarithm
    // of the spacing keeps the root bracketed to the last bits.
    for (int k = 0; k < 200 && hi / lo - 1 > 1e-15; ++k) {
        const double mid = std::sqrt(lo * hi);
        (at(mid) >= dischargeMm ? lo : hi) = mid;
    }
    result.spacing = std::sqrt(lo * hi);
    return result;
}

}  // namespace halovane::drain
