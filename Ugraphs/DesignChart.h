// The charts of a scenario run, as data: the design chart (a metric over two
// varied names, one cell per pair of values) and the tornado chart of a
// one-at-a-time run (how far each name moves a metric from the base run).
#pragma once

#include <string>
#include <vector>

#include "Scenario.h"

namespace halovane {

struct HeatMap {
    std::string metric, unit, x, y;  // the names of the metric and of the two axes
    std::vector<double> xs, ys;      // the axes' values, ascending
    // Per cell, row by row from the lowest y: the value (NaN: no run gave
    // one) and whether a run of the cell passes every criterion.
    std::vector<double> value;
    std::vector<bool> pass;
    bool criteria = false;  // the scenario has criteria (outlines mean something)
    double low = 0, high = 0;  // the range of the values
    double At(size_t ix, size_t iy) const { return value[iy * xs.size() + ix]; }
    bool PassAt(size_t ix, size_t iy) const { return pass[iy * xs.size() + ix]; }
};

// The metric of the chart: the scenario's chart line, else the first
// criterion's metric, else the highest salinity of the root zone.
std::string ChartMetric(const Scenario& scenario);

// The design chart over the chart's two names (the first two varied names
// when the scenario does not name them; one name gives one row). Where the
// scenario varies more names, a cell shows the best value over their
// combinations (the lowest, or the highest when the chart metric's
// criterion asks for at least) and passes when any of its runs passes every
// criterion. False with `why` when there is nothing to chart.
bool BuildHeatMap(const Scenario& scenario, const std::vector<SweepRow>& rows, HeatMap& map, std::string& why);

struct TornadoBar {
    std::string name;
    double lowValue = 0, highValue = 0;  // the values of the name that gave the lowest and the highest metric
    double low = 0, high = 0;            // the metric's lowest and highest over the name's values
};

struct Tornado {
    std::string metric, unit;
    double base = 0;               // the metric of the base run
    std::vector<TornadoBar> bars;  // the widest first
};

// The tornado chart of a one-at-a-time run. False with `why` when the base
// run gave no value.
bool BuildTornado(const Scenario& scenario, const std::vector<SweepRow>& rows, Tornado& tornado, std::string& why);

}  // namespace halovane
