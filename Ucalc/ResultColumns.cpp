#include "ResultColumns.h"

#include <cmath>

#include "FitReport.h"

namespace halovane {

const QuantityInfo& InfoOf(ResultQuantity quantity) {
    static const QuantityInfo info[] = {{"mm", "_mm", 1}, {"m", "_m", 2}, {"dS/m", "_dS_m", 2}};
    return info[static_cast<int>(quantity)];
}

bool ResultColumn::Written(int layers) const { return OutWidth(layers) > 0; }

int ResultColumn::OutWidth(int layers) const {
    return outWidth[static_cast<size_t>(layers <= 1 ? 0 : layers == 2 ? 1 : 2)];
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
    return ReportZoneName(layers, *column.zone);
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
