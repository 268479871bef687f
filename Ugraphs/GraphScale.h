// Axis scaling and pixel coordinates of the three graphs of a run: the
// hydrological flows, the level of the water table and the salinity of the
// soil moisture. Standard C++ only; the window paints what these compute.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace halovane {

// The nine graphs that can be chosen, in the order of the choice list.
enum class GraphChoice {
    AllHydrology,        // "All hydrological flow factors"
    SurfaceHydrology,    // "Surface hydrology factors"
    SubsurfaceHydrology, // "Subsurface hydrology factors"
    WaterTable,          // "Depth of the water table"
    SalinityAll,         // "Salinity in all soil layers"
    SalinityFirst,       // "Salinity in first root zone layer"
    SalinitySecond,      // "Salinity second root zone layer"
    SalinityThird,       // "Salinity in third root zone layer"
    SalinityBelow,       // "Salinity below root zone"
};
constexpr int GraphChoiceCount = 9;

enum class GraphKind { Hydrology, WaterTable, Salinity };
GraphKind KindOf(GraphChoice choice);

// Which series a graph shows.
struct GraphSelection {
    bool SurfaceOnly = false;        // hydrology: Rain, Irrig and EvapA only
    bool SubsurfaceOnly = false;     // hydrology: Perc, Cap and Drain only
    bool HideLayer1 = false, HideLayer2 = false, HideLayer3 = false;
    bool HideBelowRootZone = false;  // salinity: no transition zone and aquifer
    bool AllZones = true;            // salinity: every zone at once (one-layer root zone)
    bool RootLayersOnly = false;     // salinity: every root-zone layer (two or three layers)
};

// The selection of a choice for a root zone of `layers` layers.
GraphSelection SelectionFor(GraphChoice choice, int layers);

struct AxisScale {
    double YmaxReal = 0, YminReal = 0;  // raw vertical range before rounding
    double Ymax = 0, Ymin = 0;          // vertical axis top and bottom, data units
    int Ydiv = 0;                       // vertical divisions (Ydiv + 1 ticks)
    int Ydec = 0;                       // decimals of the vertical labels
    double Xn = 0;                      // N + 1
    int Xmax = 0, Xmin = 0;             // horizontal axis end and start, steps
    int Xdiv = 0;                       // horizontal divisions
    int Xdec = 0;                       // decimals of the horizontal labels
};

// The plot frame in pixels, y growing downwards.
constexpr int AxisLeft = 70, AxisRight = 570, AxisBottom = 350, AxisTop = 50;
constexpr int AxisWidth = AxisRight - AxisLeft;   // 500
constexpr int AxisHeight = AxisBottom - AxisTop;  // 300

// x rounded to the nearest integer, halves to the even neighbour; values
// beyond the range of int are held at its ends.
int Nearest(double x);

// The series one graph is drawn from, each indexed 1..N (element 0 is the
// initial state and not drawn).
struct GraphSeries {
    int N = 0;
    int Layers = 1;
    // The step in which a stopped run stopped (0: the run completed). The
    // horizontal axis keeps the N steps; curves and vertical axes end with
    // the last complete step.
    int StopStep = 0;
    int LastStep() const { return StopStep > 0 ? std::min(StopStep - 1, N) : N; }
    // Empty when the input data file could not be read: not drawn, not scaled.
    std::vector<double> Rain, Irrig;
    std::vector<double> EvapA, Perc, Cap, Drain;
    std::vector<double> Dwt;  // m below the surface
    // Calculated and measured salinity per zone, surface down (layer 1, 2,
    // 3, transition zone, aquifer); a measurement of 0 or less is absent.
    std::vector<double> Calculated[5];
    std::vector<double> Measured[5];
};

// The horizontal axis of a graph of N steps.
void ScaleHorizontal(int n, GraphKind kind, AxisScale& scale);
// The vertical axes. The hydrology graph of the "All hydrological flow
// factors" choice (neither SurfaceOnly nor SubsurfaceOnly) gets 20 % more room.
void ScaleHydrology(const GraphSeries& s, const GraphSelection& sel, AxisScale& scale);
void ScaleWaterTable(const GraphSeries& s, AxisScale& scale);
void ScaleSalinity(const GraphSeries& s, const GraphSelection& sel, AxisScale& scale);
// The complete scale of a graph as the rules above give it.
AxisScale ScaleGraph(const GraphSeries& s, GraphKind kind, const GraphSelection& sel);
// The axes a graph is drawn with: ticks at multiples of a round step
// (NiceTicks) over every value drawn, the lower margins of ScaleGraph, the
// surface in the water-table graph, and a time axis from 0 over the N steps.
AxisScale GraphAxes(const GraphSeries& s, GraphKind kind, const GraphSelection& sel);

// The smallest and largest value a graph draws on its vertical axis (levels
// for the water table); false when it draws none.
bool DrawnRange(const GraphSeries& s, GraphKind kind, const GraphSelection& sel, double& low, double& high);

// An axis from `low` to `high` widened outwards to multiples of a step of 1,
// 2, 2.5 or 5 times a power of ten, the smallest step that needs at most
// `maxDivisions` divisions; 0 is therefore a tick whenever the range spans
// it. `whole` allows whole steps only (a time axis). The decimals are those
// the step needs. An empty range gets one unit above its value.
struct NiceAxis {
    double low = 0, high = 1, step = 1;
    int divisions = 1, decimals = 0;
};
NiceAxis NiceTicks(double low, double high, int maxDivisions = 10, bool whole = false);
// Sets the vertical axis of `scale` to NiceTicks(low, high).
void SetVerticalAxis(AxisScale& scale, double low, double high);

// Whether a zone (0 = layer 1 .. 4 = aquifer) is drawn in the salinity graph.
bool ZoneShown(const GraphSelection& sel, int layers, int zone);

// Pixel coordinates. X(i) is the end of step i, X(0) = the axis start: a
// flow of step i runs over (X(i - 1), X(i)], a salinity or level at the end
// of step i stands at X(i).
std::vector<int> StepPixels(const AxisScale& scale, int n);  // X(i), i = 0..n
// The y of a value on the vertical axis: every series, measured or
// calculated, and the zero line go through this one mapping.
int ValuePixel(const AxisScale& scale, double value);
int ZeroLinePixel(const AxisScale& scale);                   // water-table graph

// Ticks and their labels.
struct Tick {
    int position;       // y of a vertical tick, x of a horizontal one
    int labelPosition;  // x where a horizontal label starts (vertical labels end at x = 64)
    std::string label;
};
std::vector<Tick> VerticalTicks(const AxisScale& scale);
std::vector<Tick> HorizontalTicks(const AxisScale& scale);
// A label: `decimals` decimals, right-aligned in decimals + 2 characters.
std::string AxisLabel(double value, int decimals);
// The shortest decimal text of a value with up to 15 significant digits, a
// point as separator and an exponent ("1.5E20", "1E-5") only for very large
// and very small values.
std::string GeneralText(double value);

}  // namespace halovane
