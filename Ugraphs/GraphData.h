// What a graph is drawn from: the series of a run as read back from its
// output file and its input data file, the titles and, per zone, the
// leaching efficiency and the fit printed in the output file.
#pragma once

#include <string>

#include "GraphScale.h"
#include "OutputFile.h"

namespace halovane {

struct ZoneEfficiency {
    double LE = 0;                // efficiency as printed (fraction)
    bool Optimized = false;       // the line says "(optimized)"
    double FitIndex = 0;          // fit index as printed (%)
    bool FitNotAvailable = true;  // the line says "n.a."
};

struct GraphData {
    GraphSeries Series;
    std::string Title1, Title2;
    int StepDays = 0;  // the length of a time step; 0 when the input data file could not be read
    std::string Period = "Time step";  // what the time axis counts
    ZoneEfficiency Zones[5];
};

// The graph data of an output file. `view` is the input data file of the
// same run, or null when it could not be read: the rainfall and irrigation
// curves and the measured salinities are then left out. Series of the input
// file that are shorter than the output file's steps are taken as absent
// beyond their end. A run that stopped is found from its rows (RunStop.h).
GraphData GraphDataFrom(const OutputReadback& output, const ViewInput* view);

// Long runs of short steps drawn per month (30 days) or per year (360
// days): the flows totalled, the depth of the water table and the
// calculated salinities averaged, the measured salinities averaged over
// the measurements of the period. A last period that is not complete is
// drawn as far as it goes; a stop ends the curves with the last complete
// period. Steps as long as the period or longer, or of unknown length,
// are left as they are.
enum class GraphPeriod { Step, Month, Year };
GraphData Aggregated(const GraphData& data, GraphPeriod period);

}  // namespace halovane
