// The runner's graph command.
#pragma once

#include <string>
#include <vector>

#include "Scenario.h"

namespace halovane::cli {

// "graph": the graphs of an output file drawn into files. A runner built
// without Qt refuses the command.
int Graph(const std::vector<std::string>& args);

// Draws the chart of a scenario run into STEM.chart.svg and STEM.chart.png
// (the design chart, or the tornado chart of a one-at-a-time run) and
// prints their names. A runner built without Qt says it cannot.
int DrawSweepCharts(const Scenario& scenario, const std::vector<SweepRow>& rows, const std::string& stem);

}  // namespace halovane::cli
