// The cell texts of the Input page grids: what a cell shows after texts,
// emptied cells and serial numbers, and what the grid's rows hand to the
// rules.
#include <gtest/gtest.h>

#include "GridCells.h"

using namespace halovane;

TEST(GridCells, TextsStayWhereTheyWereWrittenAndEmptyCellsTakeNoRoom) {
    GridCells cells;
    EXPECT_EQ(CellText(cells, 2, 5), "");
    SetCellText(cells, 2, 5, "12.5");
    SetCellText(cells, 1, 200000, "");  // an empty text far down grows nothing
    EXPECT_EQ(CellText(cells, 2, 5), "12.5");
    EXPECT_EQ(CellText(cells, 2, 4), "");
    EXPECT_EQ(CellText(cells, 7, 5), "");
    EXPECT_EQ(CellText(cells, -1, 5), "");
    ASSERT_EQ(cells.columns.size(), 3u);
    EXPECT_TRUE(cells.columns[1].empty());
    EXPECT_EQ(cells.columns[2].size(), 6u);

    // Emptying the last text of a column frees the rows it ended.
    SetCellText(cells, 2, 2, "1");
    SetCellText(cells, 2, 5, "");
    EXPECT_EQ(cells.columns[2].size(), 3u);
    EXPECT_EQ(CellText(cells, 2, 2), "1");
}

TEST(GridCells, SerialNumbersOfALongSeriesTakeNoRoomAndGiveWayToNothingElse) {
    GridCells cells;
    SetCellText(cells, 0, 0, "Serial Nr");
    SetCellText(cells, 0, 3, "old");
    NumberRows(cells, 200000);
    EXPECT_EQ(CellText(cells, 0, 0), "Serial Nr");
    EXPECT_EQ(CellText(cells, 0, 1), "1");
    EXPECT_EQ(CellText(cells, 0, 3), "3");  // the numbers replace what was there
    EXPECT_EQ(CellText(cells, 0, 200000), "200000");
    EXPECT_EQ(CellText(cells, 0, 200001), "");
    EXPECT_EQ(CellText(cells, 1, 7), "");  // only column 0 is numbered
    EXPECT_EQ(cells.columns[0].size(), 1u);

    // Fewer numbers later leave the rows below as they were, as written texts do.
    NumberRows(cells, 11);
    EXPECT_EQ(CellText(cells, 0, 15), "15");

    // A numbered cell given a text of its own shows it; emptied, it is empty
    // and the rows below keep their numbers.
    SetCellText(cells, 0, 8, "eight");
    EXPECT_EQ(CellText(cells, 0, 8), "eight");
    SetCellText(cells, 0, 9, "");
    EXPECT_EQ(CellText(cells, 0, 9), "");
    EXPECT_EQ(CellText(cells, 0, 8), "eight");
    EXPECT_EQ(CellText(cells, 0, 10), "10");
    EXPECT_EQ(CellText(cells, 0, 200000), "200000");
}

TEST(GridCells, RowsHandTheRulesEveryCellOfTheBlockAsked) {
    GridCells cells;
    SetCellText(cells, 0, 0, "Serial Nr");
    SetCellText(cells, 1, 0, "mm/timestep");
    SetCellText(cells, 1, 2, "5");
    SetCellText(cells, 3, 1, "7");  // beyond the block asked for
    NumberRows(cells, 2);
    const std::vector<std::vector<std::string>> rows = CellRows(cells, 4, 3);
    const std::vector<std::vector<std::string>> expected{
        {"Serial Nr", "mm/timestep", ""}, {"1", "", ""}, {"2", "5", ""}, {"", "", ""}};
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(CellRows(cells, 0, 3).empty());
    EXPECT_EQ(CellRows(cells, 2, 0), std::vector<std::vector<std::string>>(2));
}
