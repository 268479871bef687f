#include "OutputTables.h"

#include "Fields.h"
#include "GraphScale.h"
#include "NumberText.h"

namespace halovane {

int SalinityColumns(int layers) { return layers <= 1 ? 7 : layers == 2 ? 9 : 11; }

std::vector<std::string> HydrologicalHeadings() {
    static const char* const Quantities[] = {"Rainfall",       "Irrigation",   "Pot. Evapor.", "Percolation",
                                             "Capillary rise", "Act. Evapor.", "Drainage",     "Depth WT"};
    std::vector<std::string> headings{"Time step"};
    for (int c = 0; c < 8; ++c) headings.push_back(std::string(Quantities[c]) + "\n" + (c < 7 ? "mm" : "m"));
    return headings;
}

std::vector<std::string> SalinityHeadings(int layers) {
    layers = layers <= 1 ? 1 : layers >= 3 ? 3 : layers;
    std::vector<std::string> zones;
    if (layers == 1)
        zones = {"Root zone"};
    else
        for (int l = 1; l <= layers; ++l) zones.push_back("Root zone\nLayer" + std::to_string(l));
    // Beside the layers the zone's name takes two lines, so that the eleven
    // columns of three layers fit the window without hiding a heading.
    zones.push_back(layers == 1 ? "Transition zone" : "Transition\nzone");
    zones.push_back(layers == 1 ? "Aquifer" : "Aquifer\n");
    std::vector<std::string> headings{"Time step"};
    for (const std::string& zone : zones)
        for (const char* value : {"calculated", "measured"}) headings.push_back(zone + "\n" + value + "\ndS/m");
    return headings;
}

std::string ShownCell(const std::string& cell) {
    const size_t first = cell.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = cell.find_last_not_of(' ');
    return cell.substr(first, last - first + 1);
}

namespace {

double At(const Series& s, int i) { return s[i]; }

// Per zone of the salinity table: calculated and measured column, with
// their widths.
struct Pair {
    Zone zone;
    int calculatedWidth, measuredWidth;
};
const Pair OneLayer[] = {{Zone::Layer1, 13, 13}, {Zone::Transition, 9, 9}, {Zone::Aquifer, 9, 9}};
const Pair TwoLayers[] = {
    {Zone::Layer1, 13, 13}, {Zone::Layer2, 13, 11}, {Zone::Transition, 9, 9}, {Zone::Aquifer, 9, 9}};
const Pair ThreeLayers[] = {{Zone::Layer1, 13, 13},
                            {Zone::Layer2, 13, 11},
                            {Zone::Layer3, 13, 9},
                            {Zone::Transition, 9, 9},
                            {Zone::Aquifer, 9, 9}};

// A table of nrTst + 1 rows and `columns` columns, each cell from `cell`.
template <typename Cell>
TableCells Table(int nrTst, int columns, Cell cell) {
    TableCells cells(static_cast<size_t>(nrTst) + 1, std::vector<std::string>(static_cast<size_t>(columns)));
    for (int i = 0; i <= nrTst; ++i)
        for (int c = 0; c < columns; ++c) cells[i][c] = cell(i, c);
    return cells;
}

}  // namespace

static bool NotComputed(int row, int stopStep) { return stopStep > 0 && row >= stopStep; }

std::string HydrologicalCell(const StepResults& r, const ViewInput* view, int row, int column, int stopStep) {
    // Row 0: "Time step" and the units; column 0: the step numbers.
    if (row == 0) return column == 0 ? "Time step" : column < 8 ? "mm" : " m";
    if (column == 0) return std::to_string(row);
    if (column > 8) return std::string();
    // The given data with the decimals of the input data file, the results
    // with those of the output file.
    static const int decimals[] = {FieldNamed("rainfall").decimals,
                                   FieldNamed("irrigation").decimals,
                                   FieldNamed("evapotranspiration").decimals,
                                   FlowDecimals,
                                   FlowDecimals,
                                   FlowDecimals,
                                   FlowDecimals,
                                   DepthDecimals};
    const bool given = column <= 3;
    if (!given && NotComputed(row, stopStep)) return std::string();
    const Series* const series[] = {view ? &view->Rain : nullptr, view ? &view->Irrig : nullptr,
                                    view ? &view->EvapT : nullptr, &r.PercT, &r.CapTT, &r.EvapAT, &r.DrainT, &r.Dwt};
    const Series* s = series[column - 1];
    if (!s || row >= static_cast<int>(s->size())) return std::string();
    const double value = At(*s, row);
    return FormatFixed(value == 0 ? 0.0 : value, 0, decimals[column - 1]);  // no "-0.0"
}

TableCells HydrologicalTable(const StepResults& r, const ViewInput* view, int nrTst, int stopStep) {
    return Table(nrTst, HydrologicalColumns,
                 [&](int row, int column) { return HydrologicalCell(r, view, row, column, stopStep); });
}

std::string MeasuredCell(double value, int width) {
    if (value == -1) return "            -";
    return FormatFixed(value, width, 2);
}

std::string SalinityCell(const StepResults& r, const ViewInput* view, int layers, int row, int column,
                         int stopStep) {
    if (row == 0) return column == 0 ? "Time step" : "dS/m";
    if (column == 0) return std::to_string(row);
    const Pair* pairs = layers <= 1 ? OneLayer : layers == 2 ? TwoLayers : ThreeLayers;
    const Pair& p = pairs[(column - 1) / 2];
    if ((column - 1) % 2 == 0) {
        const Series& calculated = r.SR[p.zone];
        if (NotComputed(row, stopStep)) return std::string();
        if (row < static_cast<int>(calculated.size())) return FormatFixed(At(calculated, row), p.calculatedWidth, 2);
        return std::string();
    }
    // Without the input data file nothing counts as measured.
    const Series* measured = view ? &view->ECsm[p.zone] : nullptr;
    return measured && row < static_cast<int>(measured->size()) ? MeasuredCell(At(*measured, row), p.measuredWidth)
                                                                : MeasuredCell(-1, p.measuredWidth);
}

TableCells SalinityTable(const StepResults& r, const ViewInput* view, int nrTst, int layers, int stopStep) {
    return Table(nrTst, SalinityColumns(layers),
                 [&](int row, int column) { return SalinityCell(r, view, layers, row, column, stopStep); });
}

std::string ClipboardText(const TableCells& cells) {
    std::string text;
    for (size_t r = 0; r < cells.size(); ++r) {
        if (r > 0) text += '\r';
        for (size_t c = 0; c < cells[r].size(); ++c) {
            if (c > 0) text += '\t';
            text += cells[r][c];
        }
    }
    return text;
}

std::string OneLineHeading(const std::string& heading) {
    // The last line of a heading is its unit; lines left empty to align the
    // header are dropped.
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t end; (end = heading.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(heading.substr(from, end - from));
    lines.push_back(heading.substr(from));
    if (lines.size() == 1) return heading;
    std::string text;
    for (size_t k = 0; k + 1 < lines.size(); ++k)
        if (!lines[k].empty()) text += (text.empty() ? "" : " ") + lines[k];
    return text + " (" + lines.back() + ")";
}

TableCells ClipboardCells(TableCells cells, const std::vector<std::string>& headings, int stopStep) {
    if (!cells.empty())
        for (size_t c = 0; c < cells[0].size() && c < headings.size(); ++c) cells[0][c] = OneLineHeading(headings[c]);
    if (stopStep <= 0) return cells;
    for (size_t row = 0; row < cells.size(); ++row)
        cells[row].push_back(row == 0                                        ? "Run stopped"
                             : NotComputed(static_cast<int>(row), stopStep) ? "not computed"
                                                                            : "");
    return cells;
}

}  // namespace halovane
