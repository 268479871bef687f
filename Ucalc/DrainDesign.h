// Subsurface drains designed from their spacing: Hooghoudt's relation between
// the spacing, the soil and the steady discharge,
//     q = (8 Kb d h + 4 Ka h^2) / L^2,
// and the two reaction factors of the water balance that it gives,
// QH1 = 8 Kb d / L^2 (flow below drain level, times h) and
// QH2 = 4 Ka / L^2 (flow above drain level, times h^2).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace halovane::drain {

// The drains and the soil around them; depths in m, conductivities in m/day.
struct DrainSoil {
    double depth = 0;        // drain depth below the soil surface
    double Ka = 0;           // hydraulic conductivity above drain level
    double Kb = 0;           // hydraulic conductivity below drain level
    double impermeable = 0;  // depth D of the impermeable layer below drain level
    double radius = 0;       // drain radius r
};

// Hooghoudt's equivalent depth d (m) of a layer of thickness D below drains
// of radius r at spacing L, in the form of van der Molen and Wesseling (1991):
//     d = (pi L / 8) / (ln(L / (pi r)) + F(x)),  x = 2 pi D / L,
//     F(x) = sum over n = 1, 3, 5, ... of 4 e^(-2nx) / (n (1 - e^(-2nx))),
// with the series' closed form pi^2 / (4x) + ln(x / (2 pi)) for x <= 0.5,
// where the two agree to better than 1e-8. d = 0 when D = 0.
double EquivalentDepth(double D, double L, double r);

// The design at one spacing.
struct Design {
    double spacing = 0;  // L, m
    double d = 0;        // equivalent depth, m
    double QH1 = 0;      // m/day per m
    double QH2 = 0;      // m/day per m2
};
Design DesignAt(const DrainSoil& soil, double spacing);

// The drain discharge (mm/day) with the water table h m above drain level
// midway between the drains, as the water balance takes it from the factors.
double DischargeMm(double QH1, double QH2, double head);

// The heads of the design table, m.
inline constexpr std::array<double, 4> DesignHeads{0.25, 0.5, 0.75, 1.0};

// A factor as the input data file keeps it: rounded to the file's decimals.
double AsSaved(double factor);
// Whether the file keeps either factor of the design other than designed.
bool RoundsInFile(const Design& design);

// One row of the design table: the discharge at a head with the factors as
// designed and as the file keeps them.
struct DischargeRow {
    double head = 0;
    double designed = 0;  // mm/day
    double saved = 0;     // mm/day
};
std::vector<DischargeRow> DischargeTable(const Design& design);

// The spacings a design may have: at least 1 m and 10 drain radii (closer
// drains leave Hooghoudt's relation), at most 5000 m.
double MinSpacing(const DrainSoil& soil);
constexpr double MaxSpacing = 5000;

// The data of DrainSoil in their order, to name the one that is wrong.
enum class SoilField { Depth, Ka, Kb, Impermeable, Radius };
// What is wrong with the soil data, or empty; `field` gets the wrong one.
std::string CheckSoil(const DrainSoil& soil, SoilField* field = nullptr);
// What is wrong with a spacing for this soil, or empty.
std::string CheckSpacing(const DrainSoil& soil, double spacing);

// The spacing at which the drains discharge q mm/day with the water table h m
// above drain level midway, found by bisection (the discharge falls as the
// spacing grows). `problem` says why there is none.
struct SpacingResult {
    double spacing = 0;
    std::string problem;
    bool Ok() const { return problem.empty(); }
};
SpacingResult SpacingFor(const DrainSoil& soil, double dischargeMm, double head);

}  // namespace halovane::drain
