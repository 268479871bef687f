// The cells of the hydrological and salinity tables and the clipboard text.
#include <gtest/gtest.h>

#include <algorithm>

#include "OutputTables.h"

using namespace halovane;

namespace {

const std::string Hyphen = "            -";

StepResults Results(int n) {
    StepResults r;
    r.Resize(n);
    for (int i = 1; i <= n; ++i) {
        r.PercT[i] = 10.5 * i;
        r.CapTT[i] = 0;
        r.EvapAT[i] = 100 + i;
        r.DrainT[i] = -0.0;
        r.Dwt[i] = 1.25 + 0.01 * i;
        r.SR[Z1][i] = 4.111 * i;
        r.SR[Z2][i] = 5.5;
        r.SR[Z3][i] = 6.25;
        r.SR[Zt][i] = 12.345;
        r.SR[Za][i] = 123.456;
    }
    return r;
}

ViewInput View(int n) {
    ViewInput v;
    for (Series* s : {&v.Rain, &v.Irrig, &v.EvapT}) s->assign(n + 1, 0.0);
    for (Series* s : {&v.ECsm[Z1], &v.ECsm[Z2], &v.ECsm[Z3], &v.ECsm[Zt], &v.ECsm[Za]}) s->assign(n + 1, -1.0);
    v.Rain[1] = 56.69;
    if (n >= 3) {
        v.Irrig[2] = 224.95;
        v.EvapT[3] = 1e-5;
    }
    return v;
}

}  // namespace

TEST(OutputTables, HydrologicalTable) {
    const ViewInput view = View(3);
    const TableCells t = HydrologicalTable(Results(3), &view, 3);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0], std::vector<std::string>({"Time step", "mm", "mm", "mm", "mm", "mm", "mm", "mm", " m"}));
    // Fixed decimals per column: those of the input data file for the given
    // data, of the output file for the results; no "-0.0".
    EXPECT_EQ(t[1], std::vector<std::string>({"1", "56.69", "0.00", "0.00", "10.5", "0.0", "101.0", "0.0", "1.26"}));
    EXPECT_EQ(t[2][2], "224.95");
    EXPECT_EQ(t[3][3], "0.00");
    EXPECT_EQ(t[3][4], "31.5");

    // Without the input data file its three columns stay empty.
    const TableCells blank = HydrologicalTable(Results(3), nullptr, 3);
    EXPECT_EQ(blank[1][1], "");
    EXPECT_EQ(blank[1][3], "");
    EXPECT_EQ(blank[1][4], "10.5");
    // Stopped in step 2: the results of steps 2 and 3 stay empty, the
    // given data and the salinities measured stay.
    const TableCells stopped = HydrologicalTable(Results(3), &view, 3, 2);
    EXPECT_EQ(stopped[1][4], "10.5");
    EXPECT_EQ(stopped[2], std::vector<std::string>({"2", "0.00", "224.95", "0.00", "", "", "", "", ""}));
    ViewInput measured = View(3);
    measured.ECsm[Za] = {0, 1, 2, 3};
    const TableCells salinity = SalinityTable(Results(3), &measured, 3, 1, 3);
    EXPECT_EQ(salinity[2][1], "         8.22");
    EXPECT_EQ(salinity[3][1], "");
    EXPECT_EQ(salinity[3][5], "");
    EXPECT_EQ(salinity[3][6], "     3.00");
    // An input file of fewer steps than the output file.
    ViewInput shorter = View(1);
    const TableCells partial = HydrologicalTable(Results(3), &shorter, 3);
    EXPECT_EQ(partial[1][1], "56.69");
    EXPECT_EQ(partial[3][1], "");
}

TEST(OutputTables, SalinityTableOfOneLayer) {
    ViewInput view = View(3);
    view.ECsm[Zt] = {0, 9.4, 11.01, -1};
    view.ECsm[Z1] = {0, 0, -1, 3.5};
    const TableCells t = SalinityTable(Results(3), &view, 3, 1);
    ASSERT_EQ(t[0].size(), 7u);
    EXPECT_EQ(t[0][0], "Time step");
    EXPECT_EQ(t[0][6], "dS/m");
    EXPECT_EQ(t[1][1], "         4.11");
    EXPECT_EQ(t[1][2], "         0.00");  // measured 0 is a number, not a hyphen
    EXPECT_EQ(t[2][2], Hyphen);
    EXPECT_EQ(t[3][2], "         3.50");
    EXPECT_EQ(t[1][3], "    12.35");       // transition zone, %9.2f
    EXPECT_EQ(t[1][4], "     9.40");
    EXPECT_EQ(t[3][4], Hyphen);              // step 3: twelve blanks and a hyphen
    EXPECT_EQ(t[1][5], "   123.46");
    EXPECT_EQ(t[1][6], Hyphen);
}

TEST(OutputTables, SalinityTableOfTwoAndThreeLayers) {
    ViewInput view = View(3);
    view.ECsm[Za] = {0, -1, 30.18, -1};
    view.ECsm[Z2] = {0, 21.32, -1, 25.29};
    const TableCells two = SalinityTable(Results(3), &view, 3, 2);
    ASSERT_EQ(two[0].size(), 9u);
    EXPECT_EQ(two[1][3], "         5.50");
    EXPECT_EQ(two[1][4], "      21.32");  // layer 2 measured: %11.2f
    EXPECT_EQ(two[2][4], Hyphen);
    EXPECT_EQ(two[1][8], Hyphen);         // aquifer step 1
    EXPECT_EQ(two[2][8], "    30.18");    // its own row's value
    EXPECT_EQ(two[3][8], Hyphen);

    view.ECsm[Z3] = {0, 7.1, -1, -1};
    const TableCells three = SalinityTable(Results(3), &view, 3, 3);
    ASSERT_EQ(three[0].size(), 11u);
    EXPECT_EQ(three[1][5], "         6.25");
    EXPECT_EQ(three[1][6], "     7.10");  // layer 3 measured: %9.2f
    EXPECT_EQ(three[1][7], "    12.35");
    EXPECT_EQ(three[2][10], "    30.18");

    // Without the input data file nothing is measured.
    const TableCells blank = SalinityTable(Results(2), nullptr, 2, 3);
    EXPECT_EQ(blank[1][2], Hyphen);
    EXPECT_EQ(blank[2][10], Hyphen);
}

TEST(OutputTables, ClipboardText) {
    // 3 rows of 2 cells: tabs between cells, a carriage return alone
    // between rows, nothing after the last.
    const TableCells t = {{"a", "b"}, {"c", "d"}, {" e", ""}};
    EXPECT_EQ(ClipboardText(t), "a\tb\rc\td\r e\t");
    EXPECT_EQ(ClipboardText({{"only"}}), "only");
    EXPECT_EQ(ClipboardText({}), "");
}

// The clipboard's heading row names every column with its unit; a stopped
// run adds a column marking the rows not computed.
TEST(OutputTables, ClipboardCellsNameTheColumnsAndMarkAStop) {
    const TableCells table = HydrologicalTable(Results(3), nullptr, 3);
    const TableCells plain = ClipboardCells(table, HydrologicalHeadings(), 0);
    EXPECT_EQ(plain[0], std::vector<std::string>({"Time step", "Rainfall (mm)", "Irrigation (mm)", "Pot. Evapor. (mm)",
                                                  "Percolation (mm)", "Capillary rise (mm)", "Act. Evapor. (mm)",
                                                  "Drainage (mm)", "Depth WT (m)"}));
    EXPECT_EQ(TableCells(plain.begin() + 1, plain.end()), TableCells(table.begin() + 1, table.end()));
    const TableCells stopped = ClipboardCells(HydrologicalTable(Results(3), nullptr, 3, 2), HydrologicalHeadings(), 2);
    ASSERT_EQ(stopped[0].size(), size_t(HydrologicalColumns) + 1);
    EXPECT_EQ(stopped[0].back(), "Run stopped");
    EXPECT_EQ(stopped[1].back(), "");
    EXPECT_EQ(stopped[2].back(), "not computed");
    EXPECT_EQ(stopped[3].back(), "not computed");
    EXPECT_EQ(stopped[3][4], "");
    const std::vector<std::string> three = SalinityHeadings(3);
    EXPECT_EQ(OneLineHeading(three[1]), "Root zone Layer1 calculated (dS/m)");
    EXPECT_EQ(OneLineHeading(three[8]), "Transition zone measured (dS/m)");
    EXPECT_EQ(OneLineHeading(SalinityHeadings(1)[5]), "Aquifer calculated (dS/m)");
}

TEST(OutputTables, EveryColumnHasItsHeadingOverIt) {
    const std::vector<std::string> hydrology = HydrologicalHeadings();
    ASSERT_EQ(hydrology.size(), size_t(HydrologicalColumns));
    EXPECT_EQ(hydrology[1], "Rainfall\nmm");
    EXPECT_EQ(hydrology[2], "Irrigation\nmm");
    EXPECT_EQ(hydrology[8], "Depth WT\nm");
    for (int layers = 1; layers <= 3; ++layers) {
        const std::vector<std::string> h = SalinityHeadings(layers);
        ASSERT_EQ(h.size(), size_t(SalinityColumns(layers))) << layers;
        // Per zone, surface down: calculated, then measured, in dS/m.
        for (size_t c = 1; c < h.size(); ++c) {
            EXPECT_NE(h[c].find(c % 2 ? "calculated" : "measured"), std::string::npos) << h[c];
            EXPECT_EQ(h[c].substr(h[c].size() - 5), "\ndS/m");
        }
        EXPECT_EQ(OneLineHeading(h[h.size() - 4]).rfind("Transition zone calculated", 0), 0u);
        EXPECT_EQ(h[h.size() - 2].rfind("Aquifer", 0), 0u);
        if (layers > 1) {
            EXPECT_EQ(h[2 * layers - 1].rfind("Root zone\nLayer" + std::to_string(layers), 0), 0u);
        }
        // As many lines in every column, so that "calculated" and
        // "measured" stand on one line across the header.
        for (const std::string& heading : std::vector<std::string>(h.begin() + 1, h.end()))
            EXPECT_EQ(std::count(heading.begin(), heading.end(), '\n'), layers == 1 ? 2 : 3) << heading;
    }
}

TEST(OutputTables, ShownCellsLoseOnlyTheirBlanks) {
    EXPECT_EQ(ShownCell("        16.25"), "16.25");
    EXPECT_EQ(ShownCell("            -"), "-");
    EXPECT_EQ(ShownCell("   99999.99"), "99999.99");
    EXPECT_EQ(ShownCell("Time step"), "Time step");
    EXPECT_EQ(ShownCell("   "), "");
    EXPECT_EQ(ShownCell(""), "");
}
