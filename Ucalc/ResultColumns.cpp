#include "ResultColumns.h"

#include <cmath>

#include "Fields.h"

namespace halovane {

const QuantityInfo& InfoOf(ResultQuantity quantity) {
    static const QuantityInfo info[] = {{"mm", "_mm", 1}, {"m", "_m", 2}, {"dS/m", "_dS_m", 2}};
    return info[static_cast<int>(quantity)];
}

namespace {

using Q = ResultQuantity;

template <Zone z>
Series& Salinity(StepResults& r) {
    return r.SR[z];
}

}  // namespace

// clang-format off
const std::array<ResultColumn, ResultColumnCount> ResultColumns = {{
    {"PercT", Q::Flow, std::nullopt, "percolation", "Percolation", "Percolation", "Percol.", "Percol.",
     {9, 9, 9}, 0, 0, [](StepResults& r) -> Series& { return r.PercT; }},
    {"CapTT", Q::Flow, std::nullopt, "capillary_rise", "Capillary rise", "Capillary rise", "Cap. rise", "Cap. rise",
     {9, 11, 11}, 0, 0, [](StepResults& r) -> Series& { return r.CapTT; }},
    {"EvapAT", Q::Flow, std::nullopt, "actual_evap", "Act. Evapor.", "Act. Evapor.", "Act. Evap", "Act. Evap",
     {9, 9, 9}, 0, 0, [](StepResults& r) -> Series& { return r.EvapAT; }},
    {"DrainT", Q::Flow, std::nullopt, "drainage", "Drainage", "Drainage", "Drainage", "Drainage",
     {10, 10, 10}, 0, 0, [](StepResults& r) -> Series& { return r.DrainT; }},
    {"Dwt", Q::Depth, std::nullopt, "water_table_depth", "Depth WT", "Depth WT", "DepthWT", "DepthWT",
     {10, 8, 8}, 0, 0, [](StepResults& r) -> Series& { return r.Dwt; }},
    {"SR1", Q::Salinity, Z1, nullptr, "Root zone", "Root zone\nLayer1", "Rootzone", "Layer1",
     {10, 9, 9}, 13, 13, Salinity<Z1>},
    {"SR2", Q::Salinity, Z2, nullptr, "Root zone\nLayer2", "Root zone\nLayer2", "Layer2", "Layer2",
     {0, 8, 9}, 13, 11, Salinity<Z2>},
    {"SR3", Q::Salinity, Z3, nullptr, "Root zone\nLayer3", "Root zone\nLayer3", "Layer3", "Layer3",
     {0, 0, 8}, 13, 9, Salinity<Z3>},
    // Beside the layers the zone's name takes two lines on the Output page,
    // so that the eleven columns of three layers fit the window.
    {"SRT", Q::Salinity, Zt, nullptr, "Transition zone", "Transition\nzone", "Trans. zone", "Transit.",
     {13, 8, 9}, 9, 9, Salinity<Zt>},
    {"SRA", Q::Salinity, Za, nullptr, "Aquifer", "Aquifer\n", "Aquifer", "Aquifer",
     {9, 10, 10}, 9, 9, Salinity<Za>},
}};
// clang-format on

bool ResultColumn::Written(int layers) const { return OutWidth(layers) > 0; }

int ResultColumn::OutWidth(int layers) const {
    return outWidth[static_cast<size_t>(layers <= 1 ? 0 : layers == 2 ? 1 : 2)];
}

const ResultColumn& SalinityColumn(Zone zone) {
    return ResultColumns[static_cast<size_t>(ResultColumnCount - ZoneCount) + static_cast<size_t>(zone)];
}

std::vector<const ResultColumn*> ColumnsOf(int layers) {
    std::vector<const ResultColumn*> columns;
    for (const ResultColumn& c : ResultColumns)
        if (c.Written(layers)) columns.push_back(&c);
    return columns;
}

namespace {

std::string CsvStem(const ResultColumn& column, int layers) {
    if (!column.zone) return column.csvName;
    return layers == 1 && *column.zone == Z1 ? "rootzone" : ZoneKey(*column.zone);
}

}  // namespace

std::string CsvName(const ResultColumn& column, int layers) {
    return CsvStem(column, layers) + (column.zone ? "_calculated" : "") + InfoOf(column.quantity).csvUnit;
}

std::string CsvMeasuredName(const ResultColumn& column, int layers) {
    return CsvStem(column, layers) + "_measured" + InfoOf(column.quantity).csvUnit;
}

const std::vector<std::string>& OutputHeadingLines(int layers) {
    static const std::vector<std::string> one = {
        "           Percol.  Cap. rise  Act. Evap  Drainage                    Salinity (dS/m)",
        " Time step - - - - - - - - - - - - - - - - - - - - DepthWT   - - - - - - - - - - - - - - - -",
        "                      (mm/time step)               (m)        Rootzone  Trans. zone  Aquifer",
        " - - - - - - - - - - - - - - -- - - - - - - - - - - - - - - - - - - - - - - - - -"};
    static const std::vector<std::string> two = {
        "           Percol.  Cap. rise  Act. Evap  Drainage                    Salinity (dS/m)",
        " Time step - - - - - - - - - - - - - - - - - - - - DepthWT   - - - - - - - - - - - - - - - -",
        "                      (mm/time step)               (m)        Rootzone ",
        "                                                            - - - - - - -  Transit.  Aquifer",
        "                                                            Layer1  Layer2   zone",
        " - - - - - - - - - - - - - - -- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -"};
    static const std::vector<std::string> three = {
        "           Percol.  Cap. rise  Act. Evap  Drainage                         Salinity (dS/m)",
        " Time step - - - - - - - - - - - - - - - - - - - - DepthWT   - - - - - - - - - - - - - - - - - - - -",
        "                      (mm/time step)               (m)              Rootzone ",
        "                                                            - - - - - - - - - - - - Transit.  Aquifer",
        "                                                            Layer1  Layer2  Layer3   zone",
        " - - - - - - - - - - - - - - -- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -"};
    return layers <= 1 ? one : layers == 2 ? two : three;
}

double ReadBackTolerance(ResultQuantity quantity) { return 0.5 * std::pow(10.0, -InfoOf(quantity).decimals); }

}  // namespace halovane
