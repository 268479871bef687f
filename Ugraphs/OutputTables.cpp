#include "OutputTables.h"

#include <algorithm>
#include <array>

#include "Fields.h"
#include "GraphScale.h"
#include "NumberText.h"
#include "ResultColumns.h"

namespace halovane {

namespace {

// The given data of the hydrological table, from the input data file.
const char* const GivenHeadings[] = {"Rainfall", "Irrigation", "Pot. Evapor."};
constexpr int GivenColumns = 3;

// The results of the hydrological table: the flows and the depth, after the
// given data.
const std::vector<const ResultColumn*>& WaterColumns() {
    static const std::vector<const ResultColumn*> columns = [] {
        std::vector<const ResultColumn*> water;
        for (const ResultColumn& c : ResultColumns)
            if (!c.zone) water.push_back(&c);
        return water;
    }();
    return columns;
}

// The salinities of a root zone of `layers` layers, one per zone in use; the
// table shows the calculated and then the measured salinity of each.
const std::vector<const ResultColumn*>& SalinityColumnsOf(int layers) {
    static const std::array<std::vector<const ResultColumn*>, 3> columns = [] {
        std::array<std::vector<const ResultColumn*>, 3> byLayers;
        for (int l = 1; l <= 3; ++l)
            for (const ResultColumn* c : ColumnsOf(l))
                if (c->zone) byLayers[static_cast<size_t>(l - 1)].push_back(c);
        return byLayers;
    }();
    return columns[static_cast<size_t>(std::clamp(layers, 1, 3) - 1)];
}

}  // namespace

int SalinityColumns(int layers) { return 1 + 2 * static_cast<int>(SalinityColumnsOf(layers).size()); }

std::vector<std::string> HydrologicalHeadings() {
    std::vector<std::string> headings{"Time step"};
    for (const char* given : GivenHeadings) headings.push_back(std::string(given) + "\nmm");
    for (const ResultColumn* c : WaterColumns()) headings.push_back(std::string(c->heading) + "\n" + c->Unit());
    return headings;
}

std::vector<std::string> SalinityHeadings(int layers) {
    std::vector<std::string> headings{"Time step"};
    for (const ResultColumn* c : SalinityColumnsOf(layers))
        for (const char* value : {"calculated", "measured"})
            headings.push_back(std::string(c->Heading(layers)) + "\n" + value + "\n" + c->Unit());
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
    const std::vector<const ResultColumn*>& water = WaterColumns();
    const bool given = column <= GivenColumns;
    const ResultColumn* result =
        !given && column - GivenColumns <= static_cast<int>(water.size()) ? water[column - GivenColumns - 1] : nullptr;
    // The units right-aligned in two characters.
    if (row == 0) {
        if (column == 0) return "Time step";
        const std::string unit = given ? "mm" : result ? result->Unit() : "";
        return unit.empty() || unit.size() >= 2 ? unit : " " + unit;
    }
    if (column == 0) return std::to_string(row);
    if (!given && !result) return std::string();
    // The given data with the decimals of the input data file, the results
    // with those of the output file.
    static const int givenDecimals[] = {FieldNamed("rainfall").decimals, FieldNamed("irrigation").decimals,
                                        FieldNamed("evapotranspiration").decimals};
    if (!given && NotComputed(row, stopStep)) return std::string();
    const Series* const givenSeries[] = {view ? &view->Rain : nullptr, view ? &view->Irrig : nullptr,
                                         view ? &view->EvapT : nullptr};
    const Series* s = given ? givenSeries[column - 1] : &result->Of(r);
    if (!s || row >= static_cast<int>(s->size())) return std::string();
    const double value = At(*s, row);
    const int decimals = given ? givenDecimals[column - 1] : result->Decimals();
    return FormatFixed(value == 0 ? 0.0 : value, 0, decimals);  // no "-0.0"
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
    if (column >= SalinityColumns(layers)) return std::string();
    const ResultColumn& c = *SalinityColumnsOf(layers)[static_cast<size_t>((column - 1) / 2)];
    if ((column - 1) % 2 == 0) {
        const Series& calculated = c.Of(r);
        if (NotComputed(row, stopStep)) return std::string();
        if (row < static_cast<int>(calculated.size()))
            return FormatFixed(At(calculated, row), c.tableWidth, c.Decimals());
        return std::string();
    }
    // Without the input data file nothing counts as measured.
    const Series* measured = view ? &view->ECsm[*c.zone] : nullptr;
    return measured && row < static_cast<int>(measured->size()) ? MeasuredCell(At(*measured, row), c.measuredWidth)
                                                                : MeasuredCell(-1, c.measuredWidth);
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
