// The two tables of the Output page as text cells, and the clipboard text of
// a table. Plain functions: the page puts the cells into its grid.
#pragma once

#include <string>
#include <vector>

#include "OutputFile.h"
#include "ResultColumns.h"

namespace halovane {

// Rows of cells; row 0 holds the headings and column 0 the step numbers.
using TableCells = std::vector<std::vector<std::string>>;

// Columns of the two tables, the step numbers included: 9 hydrological, and
// 7, 9 or 11 salinity columns for one, two or three root-zone layers.
constexpr int HydrologicalColumns = 1 + 3 + WaterColumnCount();
int SalinityColumns(int layers);

// The heading shown over each column of a table, lines separated by '\n':
// the quantity or zone, the calculated or measured value and the unit of
// row 0. Every column has one; the zones stand over their own columns.
std::vector<std::string> HydrologicalHeadings();
std::vector<std::string> SalinityHeadings(int layers);

// A cell as the grid shows it: without the blanks of its fixed format. The
// cells themselves (and the clipboard) keep them.
std::string ShownCell(const std::string& cell);

// The hydrological table: rainfall, irrigation and potential evaporation
// from the input data file, the flows and the water-table depth from the
// output file, each column with the fixed decimals of the file it comes
// from. `view` is null when the input data file could not be read; its
// cells then stay empty. `stopStep`: the step in which the run stopped (0:
// none); from it on the results were not computed and their cells stay
// empty, while the given data keep theirs.
TableCells HydrologicalTable(const StepResults& results, const ViewInput* view, int nrTst, int stopStep = 0);
// The salinity table: per zone the calculated and the measured salinity.
TableCells SalinityTable(const StepResults& results, const ViewInput* view, int nrTst, int layers,
                         int stopStep = 0);

// One cell of those tables, row 0 and column 0 included, without the
// table: the grid of the Output page makes its cells as it shows them.
std::string HydrologicalCell(const StepResults& results, const ViewInput* view, int row, int column,
                             int stopStep = 0);
std::string SalinityCell(const StepResults& results, const ViewInput* view, int layers, int row, int column,
                         int stopStep = 0);

// A measured salinity in its column: twelve blanks and a hyphen where
// nothing was measured (-1), otherwise the value with two decimals.
std::string MeasuredCell(double value, int width);

// Cells separated by tabs, rows by a carriage return alone, nothing after
// the last row.
std::string ClipboardText(const TableCells& cells);

// A column heading on one line, for a spreadsheet: its name, then its unit
// in brackets ("Root zone Layer1 calculated (dS/m)").
std::string OneLineHeading(const std::string& heading);
// The cells of a table as the clipboard takes them: row 0 holds the one-line
// headings; after a stop in step `stopStep` (0: none) a last column marks
// the rows from that step on as not computed.
TableCells ClipboardCells(TableCells cells, const std::vector<std::string>& headings, int stopStep);

}  // namespace halovane
