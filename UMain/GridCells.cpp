#include "GridCells.h"

#include <algorithm>

namespace halovane {

namespace {

bool IsNumbered(const GridCells& cells, int column, int row) {
    return column == 0 && row >= 1 && row <= cells.numbered;
}

}  // namespace

std::string CellText(const GridCells& cells, int column, int row) {
    if (column < 0 || row < 0) return std::string();
    if (static_cast<size_t>(column) < cells.columns.size()) {
        const std::vector<std::string>& rows = cells.columns[column];
        if (static_cast<size_t>(row) < rows.size() && !rows[row].empty())
            return rows[row];
    }
    return IsNumbered(cells, column, row) ? std::to_string(row) : std::string();
}

void DropRows(GridCells& cells, int rows) {
    const size_t keep = static_cast<size_t>(rows < 0 ? 0 : rows);
    for (std::vector<std::string>& column : cells.columns) {
        if (column.size() > keep) column.resize(keep);
        while (!column.empty() && column.back().empty()) column.pop_back();
    }
    if (cells.numbered > rows - 1) cells.numbered = rows > 0 ? rows - 1 : 0;
}

void SetCellText(GridCells& cells, int column, int row, std::string text) {
    if (column < 0 || row < 0) return;
    const size_t c = static_cast<size_t>(column), r = static_cast<size_t>(row);
    if (text.empty() && IsNumbered(cells, column, row)) {
        // The cell loses its number: the numbers below it become texts of
        // their own, and the numbering ends above it.
        for (int below = cells.numbered; below > row; --below) SetCellText(cells, 0, below, std::to_string(below));
        cells.numbered = row - 1;
    }
    if (text.empty()) {
        if (c >= cells.columns.size() || r >= cells.columns[c].size()) return;
        std::vector<std::string>& rows = cells.columns[c];
        rows[r].clear();
        while (!rows.empty() && rows.back().empty()) rows.pop_back();
        return;
    }
    if (c >= cells.columns.size()) cells.columns.resize(c + 1);
    std::vector<std::string>& rows = cells.columns[c];
    if (r >= rows.size()) rows.resize(r + 1);
    rows[r] = std::move(text);
}

void NumberRows(GridCells& cells, int count) {
    if (count < 1) return;
    // Texts of its own that column 0 held in these rows give way to the numbers.
    if (!cells.columns.empty()) {
        std::vector<std::string>& rows = cells.columns[0];
        for (size_t r = 1; r < rows.size() && r <= static_cast<size_t>(count); ++r) rows[r].clear();
        while (!rows.empty() && rows.back().empty()) rows.pop_back();
    }
    cells.numbered = std::max(cells.numbered, count);
}

std::vector<std::vector<std::string>> CellRows(const GridCells& cells, int rows, int columns) {
    std::vector<std::vector<std::string>> table(static_cast<size_t>(std::max(rows, 0)),
                                                std::vector<std::string>(static_cast<size_t>(std::max(columns, 0))));
    for (int c = 0; c < columns && static_cast<size_t>(c) < cells.columns.size(); ++c) {
        const std::vector<std::string>& column = cells.columns[c];
        const size_t filled = std::min(column.size(), table.size());
        for (size_t r = 0; r < filled; ++r) table[r][c] = column[r];
    }
    if (columns > 0)
        for (int r = 1; r < rows && r <= cells.numbered; ++r)
            if (table[r][0].empty()) table[r][0] = std::to_string(r);
    return table;
}

}  // namespace halovane
