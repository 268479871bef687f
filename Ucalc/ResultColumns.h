// The one table of the result columns of a run: the per-step series of
// StepResults with, for each, its machine name in FILE.csv, its unit and
// decimals, its zone, its column in the rows of the output file for one, two
// or three root-zone layers, its headings in the output file and on the
// Output page, and the accessor of its series.
//
// The writer and the reader of the output file, FILE.csv, the Output page's
// tables, the balance's look at the results and the run's range check go
// through this table; a result column is described nowhere else. A new
// column is its series in StepResults, one row here and the computation that
// fills it (and its label in OutputHeadingLines when the output file shows
// it).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ModelInput.h"
#include "ModelState.h"

namespace halovane {

// What a column holds, which fixes its unit and decimals.
enum class ResultQuantity {
    Flow,      // mm per time step, 1 decimal
    Depth,     // depth of the water table, m, 2 decimals
    Salinity,  // dS/m at the end of the step, 2 decimals
};

struct QuantityInfo {
    const char* unit;     // as the Output page's headings give it: "mm", "m", "dS/m"
    const char* csvUnit;  // the end of a FILE.csv name: "_mm", "_m", "_dS_m"
    int decimals;         // in the output file and the Output page's tables
};
const QuantityInfo& InfoOf(ResultQuantity quantity);

// The rows of the output file are the step number in OutputStepWidth
// characters, then every column written for the layer count, in the order
// of the table, each as fixed-point text in its width with the decimals of
// its quantity. The reader takes them back from the same columns with the
// number parsing and stores them through the same accessor; FILE.csv writes
// them as the shortest text that reads back to the same number.
constexpr int OutputStepWidth = 9;

struct ResultColumn {
    const char* symbol;        // the model's symbol: "PercT", "SR1", "SRT"
    ResultQuantity quantity;
    std::optional<Zone> zone;  // the zone of a salinity; none for the flows and the depth
    const char* csvName;       // flows and depth: the FILE.csv name before its unit
                               // (salinities: none, the zone names them)
    const char* heading;       // the Output page's heading, one root-zone layer
    const char* headingLayers; // the same beside two or three layers
    const char* outHeading;    // its label in the output file's headings, one layer
    const char* outHeadingLayers;  // the same with two or three layers
    std::array<int, 3> outWidth;   // width in the output file's rows for 1, 2, 3 layers; 0: not written
    int tableWidth;            // salinities: width of the calculated cell in the salinity table
    int measuredWidth;         // salinities: width of the measured cell beside it
    Series& (*series)(StepResults&);

    int Decimals() const { return InfoOf(quantity).decimals; }
    const char* Unit() const { return InfoOf(quantity).unit; }
    // The column's series in `r`.
    Series& Of(StepResults& r) const { return series(r); }
    const Series& Of(const StepResults& r) const { return series(const_cast<StepResults&>(r)); }
    // Written to the output file of a run with `layers` root-zone layers.
    bool Written(int layers) const;
    int OutWidth(int layers) const;
    const char* Heading(int layers) const { return layers <= 1 ? heading : headingLayers; }
    const char* OutHeading(int layers) const { return layers <= 1 ? outHeading : outHeadingLayers; }
};

namespace detail {
template <Zone z>
Series& Salinity(StepResults& r) {
    return r.SR[z];
}
}  // namespace detail

constexpr int ResultColumnCount = 10;

// From the surface down and as the files list them: the flows and the depth,
// then the salinities of the zones.
// clang-format off
inline constexpr std::array<ResultColumn, ResultColumnCount> ResultColumns = {{
    {"PercT", ResultQuantity::Flow, std::nullopt, "percolation", "Percolation", "Percolation", "Percol.", "Percol.",
     {9, 9, 9}, 0, 0, [](StepResults& r) -> Series& { return r.PercT; }},
    {"CapTT", ResultQuantity::Flow, std::nullopt, "capillary_rise", "Capillary rise", "Capillary rise", "Cap. rise",
     "Cap. rise", {9, 11, 11}, 0, 0, [](StepResults& r) -> Series& { return r.CapTT; }},
    {"EvapAT", ResultQuantity::Flow, std::nullopt, "actual_evap", "Act. Evapor.", "Act. Evapor.", "Act. Evap",
     "Act. Evap", {9, 9, 9}, 0, 0, [](StepResults& r) -> Series& { return r.EvapAT; }},
    {"DrainT", ResultQuantity::Flow, std::nullopt, "drainage", "Drainage", "Drainage", "Drainage", "Drainage",
     {10, 10, 10}, 0, 0, [](StepResults& r) -> Series& { return r.DrainT; }},
    {"Dwt", ResultQuantity::Depth, std::nullopt, "water_table_depth", "Depth WT", "Depth WT", "DepthWT", "DepthWT",
     {10, 8, 8}, 0, 0, [](StepResults& r) -> Series& { return r.Dwt; }},
    {"SR1", ResultQuantity::Salinity, Z1, nullptr, "Root zone", "Root zone\nLayer1", "Rootzone", "Layer1",
     {10, 9, 9}, 13, 13, detail::Salinity<Z1>},
    {"SR2", ResultQuantity::Salinity, Z2, nullptr, "Root zone\nLayer2", "Root zone\nLayer2", "Layer2", "Layer2",
     {0, 8, 9}, 13, 11, detail::Salinity<Z2>},
    {"SR3", ResultQuantity::Salinity, Z3, nullptr, "Root zone\nLayer3", "Root zone\nLayer3", "Layer3", "Layer3",
     {0, 0, 8}, 13, 9, detail::Salinity<Z3>},
    // Beside the layers the zone's name takes two lines on the Output page,
    // so that the eleven columns of three layers fit the window.
    {"SRT", ResultQuantity::Salinity, Zt, nullptr, "Transition zone", "Transition\nzone", "Trans. zone", "Transit.",
     {13, 8, 9}, 9, 9, detail::Salinity<Zt>},
    {"SRA", ResultQuantity::Salinity, Za, nullptr, "Aquifer", "Aquifer\n", "Aquifer", "Aquifer",
     {9, 10, 10}, 9, 9, detail::Salinity<Za>},
}};
// clang-format on

// The columns of the water balance: the flows and the depth of the water
// table, which come first.
constexpr int WaterColumnCount() {
    int n = 0;
    for (const ResultColumn& c : ResultColumns)
        if (!c.zone) ++n;
    return n;
}

// The columns of a run with `layers` root-zone layers, in the table's order:
// those its output file writes (every flow and the depth, the salinity of
// each zone in use).
std::vector<const ResultColumn*> ColumnsOf(int layers);

// The column's name in FILE.csv: "percolation_mm", "water_table_depth_m",
// "layer2_calculated_dS_m" ("rootzone_calculated_dS_m" for one layer).
std::string CsvName(const ResultColumn& column, int layers);
// The name of the measured salinity beside a salinity column in FILE.csv:
// "layer2_measured_dS_m".
std::string CsvMeasuredName(const ResultColumn& column, int layers);

// The column headings of the output file for `layers` root-zone layers, line
// by line; the last is the dashed line the reader looks for.
const std::vector<std::string>& OutputHeadingLines(int layers);

// Half a unit of the last decimal the output file keeps of a quantity: how
// far a value read back may lie from the one computed.
double ReadBackTolerance(ResultQuantity quantity);

}  // namespace halovane
