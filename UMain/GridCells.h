// The texts of an input grid's cells, addressed by (column, row) from the
// top-left corner. A column holds its rows only up to the last one that was
// given a text: a grid of a century of daily steps holds no empty cells, and
// making the grid longer or shorter costs nothing. Rows the grid no longer
// shows lose their texts (DropRows), so that a grid that grows again shows
// empty rows, never the entries of an earlier series.
#pragma once

#include <string>
#include <vector>

namespace halovane {

struct GridCells {
    std::vector<std::vector<std::string>> columns;
    // Column 0 of rows 1 to `numbered` shows the row's serial number where
    // the column holds no text of its own: the numbers of a long series
    // take no room.
    int numbered = 0;
};

// The text of a cell; empty for a cell that was never given one.
std::string CellText(const GridCells& cells, int column, int row);
// Gives a cell its text; an empty text frees the rows it ends.
void SetCellText(GridCells& cells, int column, int row, std::string text);
// The serial numbers "1" to "count" in column 0 of rows 1 to `count`.
void NumberRows(GridCells& cells, int count);
// Forgets every text of rows `rows` and below.
void DropRows(GridCells& cells, int rows);
// The texts of rows 0..rows-1 and columns 0..columns-1, by [row][column].
std::vector<std::vector<std::string>> CellRows(const GridCells& cells, int rows, int columns);

}  // namespace halovane
