// The two pictures of the fit report per zone, drawn through the canvas of
// the graphs: the profile (score of every trial efficiency, with the best
// value and the interval) and the measured against the simulated salinity
// with the 1:1 line.
#pragma once

#include <string>
#include <vector>

#include "Balance.h"
#include "FitReport.h"
#include "GraphDrawing.h"

namespace halovane {

constexpr int FitGraphWidth = 460, FitGraphHeight = 345;
// The plot frame of both pictures, in pixels.
constexpr int FitLeft = 64, FitRight = 440, FitTop = 86, FitBottom = 286;

struct ProfileGraph {
    std::string title;
    std::vector<double> trials;
    std::vector<double> scores;                // the search that set the efficiency
    std::vector<std::vector<double>> earlier;  // earlier searches of the same zone
    double best = 0, low = 0, high = 0, limit = 0;
    bool bestAtEdge = false, notDetermined = false, flat = false, capped = false;
};

struct ScatterGraph {
    std::string title;
    std::vector<double> measured, simulated;  // pairs
    std::string statistics;                   // one line written above the plot
};

// The caption of a zone in the window: "Root zone", "Layer 1" .. "Aquifer".
std::string ZoneCaption(int layers, Zone zone);

// The profile picture of row `row` of a report.
ProfileGraph ProfileGraphOf(const FitReport& report, size_t row);
// The scatter picture of row `row`, from the salinities at the end of each
// step and the measured ones (-1 or 0 where nothing was measured).
ScatterGraph ScatterGraphOf(const FitReport& report, size_t row, const std::vector<double>& simulated,
                            const std::vector<double>& measured);

// An axis between round values: from 0, or from below `smallest` when all
// values lie in the upper part of the range, up to `largest` or above.
struct FitAxis {
    double bottom = 0, top = 1;
    int divisions = 5;
    int decimals = 1;
};
FitAxis RoundAxis(double largest, double smallest = 0);

// The cumulative percent discrepancy of every (kind, zone) of a run's
// balance against the time step, on a picture of the fit report's size.
struct BalanceCurve {
    std::string label;             // "water groundwater", "salt column", ...
    std::vector<double> percent;   // per step 1..N at index 0..N-1; NaN where undefined
};
struct BalanceGraph {
    std::string title;
    std::vector<BalanceCurve> curves;
};
BalanceGraph BalanceGraphOf(const RunBalance& balance);

void DrawProfileGraph(const ProfileGraph& graph, GraphCanvas& canvas);
void DrawBalanceGraph(const BalanceGraph& graph, GraphCanvas& canvas);
void DrawScatterGraph(const ScatterGraph& graph, GraphCanvas& canvas);

}  // namespace halovane
