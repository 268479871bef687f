// The rules of the Input page that decide what is stored, without a window.
#include <gtest/gtest.h>

#include "InputRules.h"

namespace halovane::rules {
namespace {

TEST(InputRulesNumbers, PointCommaExponentAndBlanks) {
    double v = 0;
    EXPECT_TRUE(ReadNumber("12,5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(ReadNumber(" 1e3 ", v));
    EXPECT_EQ(v, 1000);
    EXPECT_TRUE(ReadNumber("2.5E-2", v));
    EXPECT_EQ(v, 0.025);
    EXPECT_TRUE(ReadNumber("-0,75", v));
    EXPECT_EQ(v, -0.75);
    for (const char* bad : {"", "   ", "12.5 mm", "1,2,3", "1.5,2", "abc", "-", "Rain"}) EXPECT_FALSE(ReadNumber(bad, v)) << bad;
    // A comma that may separate thousands is refused with both readings.
    for (const char* ambiguous : {"1,056", "-12,500", " 999,000 "}) {
        EXPECT_FALSE(ReadNumber(ambiguous, v)) << ambiguous;
        EXPECT_TRUE(AmbiguousComma(ambiguous)) << ambiguous;
    }
    EXPECT_EQ(NotANumber("1,056"), "'1,056' can be read as 1.056 or as 1056; please write it as 1.056 or 1056");
    for (const char* decimal : {"1,05", "1,0560", "1234,567", "0,5e3"}) EXPECT_TRUE(ReadNumber(decimal, v)) << decimal;
    EXPECT_NE(PlanHydrologicalPaste(SplitBlock("1\t1,056\t3"), 1, 1, 1).problem.place.find("1.056 or as 1056"),
              std::string::npos);
    // The system's number format settles the comma only where it is the
    // decimal separator and thousands are not grouped with a comma.
    struct LocaleCase {
        const char *point, *group;
        Comma comma;
    };
    for (const LocaleCase& l : {LocaleCase{",", ".", Comma::Decimal}, LocaleCase{",", "\u00a0", Comma::Decimal},
                                LocaleCase{".", ",", Comma::Unsettled}, LocaleCase{",", ",", Comma::Unsettled},
                                LocaleCase{".", "'", Comma::Unsettled}})
        EXPECT_EQ(CommaOfLocale(l.point, l.group), l.comma) << l.point << " " << l.group;
    EXPECT_TRUE(ReadNumber("1,056", v, Comma::Decimal));
    EXPECT_EQ(v, 1.056);
    EXPECT_FALSE(AmbiguousComma("1,056", Comma::Decimal));
    EXPECT_TRUE(PlanHydrologicalPaste(SplitBlock("1\t1,056\t3"), 1, 1, 1, Comma::Decimal).problem.Ok());
    Series rain, irrig, evap;
    EXPECT_TRUE(ReadHydrological({{}, {"1", "2,500", "3", "4"}}, 1, rain, irrig, evap, Comma::Decimal).Ok());
    EXPECT_EQ(rain[1], 2.5);
    EXPECT_FALSE(ReadHydrological({{}, {"1", "2,500", "3", "4"}}, 1, rain, irrig, evap).Ok());
    // A blank or short line inside a block is named, never left as stale cells.
    EXPECT_EQ(PlanHydrologicalPaste(SplitBlock("1\t2\t3\r\n\r\n4\t5\t6\r\n"), 1, 1, 3).problem.place,
              "Line 2 of the pasted block is empty (Time step 2, Rainfall).");
    EXPECT_EQ(PlanSalinityPaste(SplitBlock("1\t2\t3\r\n4\t5\r\n"), 1, 1, 1, 3).problem.place,
              "Line 2 of the pasted block has 2 of its 3 cells (Time step 2, Root zone).");
    EXPECT_TRUE(IsBlank(" \t "));
    EXPECT_FALSE(IsBlank(" 0 "));
}

TEST(InputRulesNumbers, MeasuredSalinityOnlyEmptyOrDashIsMissing) {
    double v = 0;
    EXPECT_TRUE(ReadMeasured("", v));
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(ReadMeasured(" - ", v));
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(ReadMeasured("3,25", v));
    EXPECT_EQ(v, 3.25);
    EXPECT_TRUE(ReadMeasured("0", v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(ReadMeasured("n.m.", v));
    EXPECT_FALSE(ReadMeasured("--", v));
}

TEST(InputRulesPaste, BlocksSplitIntoRowsWithOrWithoutLastLineEnd) {
    EXPECT_EQ(SplitBlock("1\t2\r\n3\t4"), (Block{{"1", "2"}, {"3", "4"}}));
    EXPECT_EQ(SplitBlock("1\t2\r\n3\t4\r\n"), (Block{{"1", "2"}, {"3", "4"}}));
    EXPECT_EQ(SplitBlock("1\t2\n3\t4\n\n"), (Block{{"1", "2"}, {"3", "4"}}));
    EXPECT_EQ(SplitBlock("1\t\t3\r5\r\n"), (Block{{"1", "", "3"}, {"5"}}));
    EXPECT_EQ(SplitBlock(" 1e3 \t 2,5 "), (Block{{"1e3", "2,5"}}));
    EXPECT_EQ(BlockWidth(SplitBlock("1\r\n2\t3\t4\r\n")), 3u);
    EXPECT_TRUE(IsBlock("1\n"));
    EXPECT_FALSE(IsBlock("12.5"));
}

TEST(InputRulesPaste, HydrologicalSeriesGrowsButNeverShrinks) {
    // two corrected rows at row 5 of 24 steps
    PastePlan plan = PlanHydrologicalPaste(SplitBlock("1\t2\t3\r\n4\t5\t6\r\n"), 1, 5, 24);
    ASSERT_TRUE(plan.problem.Ok());
    EXPECT_EQ(plan.steps, 24);
    ASSERT_EQ(plan.writes.size(), 6u);
    EXPECT_EQ(plan.writes[3].row, 6);
    EXPECT_EQ(plan.writes[5].text, "6");
    // past the end: the series grows, the added rows start after the old last one
    plan = PlanHydrologicalPaste(SplitBlock("1e3\t2\t3\n4\t5\t6"), 1, 11, 11);
    EXPECT_EQ(plan.steps, 12);
    EXPECT_EQ(plan.firstNewRow, 12);
    EXPECT_EQ(plan.writes[0].text, "1e3");
    // beyond the bound of time steps
    plan = PlanHydrologicalPaste(SplitBlock("1\t2\t3\n"), 1, MaxTimeSteps + 1, 11);
    EXPECT_FALSE(plan.problem.Ok());
    EXPECT_NE(plan.problem.place.find("400000"), std::string::npos);
}

TEST(InputRulesPaste, UnreadableCellsAndExtraColumnsAreReportedWithTheirPlace) {
    PastePlan plan = PlanHydrologicalPaste(SplitBlock("Rain\tIrrig\tEvap\r\n1\t2\t3\r\n"), 1, 1, 11);
    EXPECT_EQ(plan.problem.message, "There are not enough data to be pasted or the data are incompatible");
    EXPECT_EQ(plan.problem.place, "Time step 1, Rainfall: 'Rain' is not a number.");
    EXPECT_EQ(plan.problem.column, 1);
    EXPECT_EQ(plan.problem.row, 1);
    EXPECT_TRUE(plan.writes.empty());
    plan = PlanHydrologicalPaste(SplitBlock("1\t2\t3\r\n"), 2, 1, 11);
    EXPECT_EQ(plan.problem.place, "The pasted block has 3 columns; from Irrigation on the grid has 2.");
    plan = PlanSalinityPaste(SplitBlock("1\t2\t3\t4\t5\r\n"), 1, 1, 2, 11);
    EXPECT_EQ(plan.problem.message, "There are not enough data to be pasted or the data are incompatible");
    plan = PlanSalinityPaste(SplitBlock("1\tx\r\n"), 1, 3, 3, 11);
    EXPECT_EQ(plan.problem.message, "There are not enough dat to be pasted or the data are incompatible");
    EXPECT_EQ(plan.problem.place, "Time step 3, 2nd layer: 'x' is not a number.");
}

TEST(InputRulesPaste, SalinityBlocksKeepTheHydrologicalSteps) {
    PastePlan plan = PlanSalinityPaste(SplitBlock("1\t-\t3\n4\t\t6\n7\t8\t9\n"), 1, 1, 1, 2);
    ASSERT_TRUE(plan.problem.Ok());
    EXPECT_TRUE(plan.larger);
    EXPECT_FALSE(plan.smaller);
    EXPECT_EQ(plan.steps, 2);
    EXPECT_EQ(plan.writes.size(), 6u);  // the third row is not written
    EXPECT_EQ(plan.writes[1].text, "-");
    plan = PlanSalinityPaste(SplitBlock("1\n"), 1, 1, 1, 2);
    EXPECT_TRUE(plan.smaller);
    plan = PlanSalinityPaste(SplitBlock("1\n"), 1, 2, 1, 5);  // a correction inside the series
    EXPECT_FALSE(plan.smaller);
    EXPECT_FALSE(plan.larger);
}

TEST(InputRulesPaste, SoilBlocksFitTheZones) {
    PastePlan plan = PlanSoilPaste(SplitBlock("0.8\t45\t8\t80\t4\n1.5\t42\t6\t70\t7\n"), 0, 0, 1);
    ASSERT_TRUE(plan.problem.Ok());
    EXPECT_EQ(plan.writes.size(), 10u);
    plan = PlanSoilPaste(SplitBlock("1\n2\n3\n"), 0, 1, 1);
    EXPECT_EQ(plan.problem.place, "The pasted block has 3 rows; from Transition zone on the grid has 2.");
    plan = PlanSoilPaste(SplitBlock("1\t2\n"), 4, 0, 3);
    EXPECT_FALSE(plan.problem.Ok());
}

Cells Grid(std::vector<std::vector<std::string>> rows) { return rows; }

TEST(InputRulesPanels, StepCountBetweenOneAndTheBound) {
    int n = 0;
    EXPECT_TRUE(ReadStepCount(" 36525", n).Ok());
    EXPECT_EQ(n, 36525);
    EXPECT_TRUE(ReadStepCount("400000", n).Ok());
    EXPECT_EQ(ReadStepCount("400001", n).message, "The number of time steps must not exceed 400000.");
    EXPECT_EQ(ReadStepCount("2147483647", n).message, "The number of time steps must not exceed 400000.");
    EXPECT_EQ(ReadStepCount("0", n).message, "The number of time steps must be at least 1.");
    EXPECT_EQ(ReadStepCount("x7", n).message, "'x7' is not a valid integer value");
    EXPECT_EQ(n, 400000);  // refused counts leave it
}

TEST(InputRulesPanels, HydrologicalRowsAreAllNumbers) {
    Series rain{9}, irrig, evap;
    const Cells cells = Grid({{"", "", "", ""}, {"1", "10,5", "1e2", "3"}, {"2", "4", "", "6"}});
    Problem p = ReadHydrological(cells, 2, rain, irrig, evap);
    EXPECT_EQ(p.Text(), "There are empty cells, please correct.\nTime step 2, Irrigation is empty.");
    EXPECT_EQ(rain, Series{9});  // a refused read stores nothing
    p = ReadHydrological(cells, 1, rain, irrig, evap);
    ASSERT_TRUE(p.Ok());
    EXPECT_EQ(rain, (Series{0, 10.5}));
    EXPECT_EQ(irrig, (Series{0, 100}));
}

TEST(InputRulesPanels, SalinityTextIsReportedNotTakenAsMissing) {
    ZoneArray<Series> m;
    m[Z1] = {7, 7};
    const Cells cells = Grid({{}, {"1", "4,5", "-", ""}, {"2", "n.m.", "", "0"}});
    Problem p = ReadSalinity(cells, 1, 2, m);
    EXPECT_EQ(p.Text(), "'n.m.' is not a valid floating point value\nTime step 2, Root zone.");
    EXPECT_EQ(p.column, 1);
    EXPECT_EQ(m[Z1], (Series{7, 7}));
    p = ReadSalinity(cells, 1, 1, m);
    ASSERT_TRUE(p.Ok());
    EXPECT_EQ(m[Z1], (Series{0, 4.5}));
    EXPECT_EQ(m[Zt], (Series{0, -1}));
    EXPECT_EQ(m[Za], (Series{0, -1}));
}

Cells Soil(int layers) {
    Cells c;
    for (int r = 0; r < layers + 2; ++r) c.push_back({"1", "40", "10", "80", "2"});
    return c;
}

TEST(InputRulesPanels, SoilCellsOfEveryZoneAreRequired) {
    std::vector<std::array<double, 5>> table;
    Cells c = Soil(2);
    c[1][3] = "";  // leaching efficiency of layer 2
    EXPECT_EQ(ReadSoil(c, 2, table).Text(),
              "There are invalid values. Please adjust.\nRoot zone 2nd layer, Leaching efficiency (%) is empty.");
    c = Soil(3);
    c[1][0] = "";
    c[4][1] = "";
    Problem p = ReadSoil(c, 3, table);
    EXPECT_EQ(p.message, "The soil data for the 2nd layer are not complete. Calculations cannot be done");
    EXPECT_EQ(p.row, 1);
    c = Soil(3);
    c[2][4] = " ";
    EXPECT_EQ(ReadSoil(c, 3, table).place, "Root zone 3rd layer, Initial salinity (dS/m) is empty.");
    c = Soil(1);
    c[0][2] = "6,5";
    ASSERT_TRUE(ReadSoil(c, 1, table).Ok());
    EXPECT_EQ(table[0][2], 6.5);
    ModelInput in;
    StoreSoil(in, 1, table);
    EXPECT_EQ(in.EP[Z1], 6.5);
    EXPECT_EQ(in.Sini[Za], 2);
}

TEST(InputRulesPanels, SoilValuesMustBePhysical) {
    std::vector<std::array<double, 5>> table;
    struct Case {
        int row, column;
        const char* text;
        const char* place;
    };
    const Case cases[] = {
        {0, 0, "-1", "The thickness of the 1st layer must be greater than 0 m."},
        {1, 0, "0", "The thickness of the 2nd layer must be greater than 0 m."},
        {3, 0, "-0.5", "The thickness of the transition zone must not be negative."},
        {0, 1, "101", "The total porosity of the 1st layer must lie above 0 and up to 100 %."},
        {4, 2, "-3", "The effective porosity of the aquifer must lie above 0 and up to 100 %."},
        {2, 2, "45", "The effective porosity of the 3rd layer must not exceed its total porosity."},
        {1, 3, "-1", "The leaching efficiency of the 2nd layer must lie between 0 and 190 %."},
        {3, 4, "-2", "The initial salinity of the transition zone must not be negative."},
        {0, 3, "500", "The leaching efficiency of the 1st layer must lie between 0 and 190 %."},
        {4, 2, "0", "The effective porosity of the aquifer must lie above 0 and up to 100 %."},
    };
    for (const Case& k : cases) {
        Cells c = Soil(3);
        c[static_cast<size_t>(k.row)][static_cast<size_t>(k.column)] = k.text;
        const Problem p = ReadSoil(c, 3, table);
        EXPECT_EQ(p.message, "There are invalid values. Please adjust.");
        EXPECT_EQ(p.place, k.place);
        EXPECT_EQ(p.row, k.row);
        EXPECT_EQ(p.column, k.column);
    }
    Cells c = Soil(3);
    c[3][0] = "0";  // a transition zone may be absent
    EXPECT_TRUE(ReadSoil(c, 3, table).Ok());
}

TEST(InputRulesPanels, SoilDataCompleteFollowsTheDataSet) {
    ModelInput in;
    in.NrLayers = 3;
    EXPECT_TRUE(SoilDataComplete(in));
    in.LE[Z2] = -1;
    EXPECT_FALSE(SoilDataComplete(in));
    in.NrLayers = 1;
    EXPECT_TRUE(SoilDataComplete(in));  // layer 2 is not in use
}

TEST(InputRulesPanels, DrainageChecksAndNegativeFactors) {
    Drainage d;
    d.Dd = 9;
    EXPECT_EQ(ReadDrainage({" ", "", ""}, 1.5, 2, d).message, "Then depth value is invalid. Please adjust.");
    EXPECT_EQ(ReadDrainage({"1.25", "1", ""}, 1.5, 2, d).message, DrainAboveRootZone);
    EXPECT_EQ(ReadDrainage({"3,75", "1", ""}, 1.5, 2, d).message, DrainBelowTransition);
    EXPECT_EQ(ReadDrainage({"2", "-0.01", "0.002"}, 1.5, 2, d).place,
              "Drainage reaction factor QH1 (m/day/m) must not be negative.");
    EXPECT_EQ(ReadDrainage({"2", " ", "0"}, 1.5, 2, d).message,
              "The drainage recation factors QH1 and QH2 need to be given a value.");
    EXPECT_EQ(d.Dd, 9);  // nothing taken from a refused panel
    ASSERT_TRUE(ReadDrainage({"3.5", "", "0,002"}, 1.5, 2, d).Ok());
    EXPECT_EQ(d.Dd, 3.5);
    EXPECT_EQ(d.QH1, 0);
    EXPECT_EQ(d.QH2, 0.002);
}

TEST(InputRulesPanels, ConditionsClampAndBlankBoxes) {
    std::array<double, 8> v{};
    std::array<std::string, 8> boxes{"1,2", "1.5", "0.5", "0.3", "1.2", "120", "5", "2.5"};
    ASSERT_TRUE(ReadConditions(boxes, v).Ok());
    EXPECT_EQ(v[0], 1.2);
    EXPECT_EQ(v[5], 100);
    EXPECT_EQ(v[6], 20);
    boxes[5] = "10";
    ASSERT_TRUE(ReadConditions(boxes, v).Ok());
    EXPECT_EQ(v[5], 30);
    boxes[2] = "  ";
    const Problem p = ReadConditions(boxes, v);
    EXPECT_EQ(p.Text(), "There are invalid values. Please adjust.\nGround water inflow (mm/day) is empty.");
    EXPECT_EQ(p.column, 2);
    EXPECT_EQ(v[5], 30);
}

TEST(InputRulesLayers, CarryOverKeepsValuesAndCountsMeasurementsOnce) {
    // 1 -> 3 -> 1 brings the root zone back whole, initial salinity included.
    const auto up = SoilCarryOver(1, 3), down = SoilCarryOver(3, 1);
    EXPECT_EQ(up[down[0]], 0);
    EXPECT_EQ(up[down[1]], 1);
    EXPECT_EQ(up[down[2]], 2);
    for (auto [from, to] : {std::pair{1, 2}, {1, 3}, {2, 3}, {2, 1}, {3, 1}, {3, 2}}) {
        const auto columns = SalinityCarryOver(from, to);
        for (int source = 1; source <= from + 2; ++source)
            EXPECT_LE(std::count(columns.begin(), columns.end(), source), 1) << from << "->" << to;
        // the transition zone and the aquifer keep their measurements
        EXPECT_EQ(columns[static_cast<size_t>(to + 1)], from + 1);
        EXPECT_EQ(columns[static_cast<size_t>(to + 2)], from + 2);
        EXPECT_EQ(columns[1], 1);
    }
    EXPECT_EQ(SalinityCarryOver(2, 3)[3], 2);  // the old bottom layer stays the bottom layer
    // No soil row is copied twice: a split never multiplies a thickness.
    for (auto [from, to] : {std::pair{1, 2}, {1, 3}, {2, 3}, {2, 1}, {3, 1}, {3, 2}}) {
        const auto rows = SoilCarryOver(from, to);
        for (int source = 0; source < from + 2; ++source)
            EXPECT_LE(std::count(rows.begin(), rows.end(), source), 1) << from << "->" << to;
    }
}

Buttons After(std::initializer_list<std::pair<PageEvent, Panel>> events, bool complete) {
    Buttons b = NextButtons({}, PageEvent::Start, Panel::Gen, false);
    for (auto [e, p] : events) b = NextButtons(b, e, p, complete);
    return b;
}

std::string GroupText(const Buttons& b) {
    std::string s;
    for (int k = 0; k < 6; ++k) s += b.groups[static_cast<size_t>(k)] ? "GHSMDC"[k] : '-';
    return s + (b.saveAll ? "+" : "");
}

TEST(InputRulesButtons, FirstPassAndCompleteMode) {
    Buttons b = After({}, false);
    EXPECT_EQ(GroupText(b), "G----C");
    EXPECT_TRUE(b.quits[static_cast<size_t>(Panel::Salt1)]);
    b = After({{PageEvent::PageShown, Panel::Gen}, {PageEvent::GroupOpened, Panel::Gen}}, false);
    EXPECT_EQ(GroupText(b), "------");
    b = NextButtons(b, PageEvent::Saved, Panel::Gen, false);
    EXPECT_EQ(GroupText(b), "-H----");
    EXPECT_EQ(b.quits, (std::array<bool, 10>{true}));
    b = NextButtons(b, PageEvent::Saved, Panel::Hydr, false);
    b = NextButtons(b, PageEvent::Saved, Panel::Soil3, false);
    EXPECT_EQ(GroupText(b), "---M--");
    b = NextButtons(b, PageEvent::Cancelled, Panel::Soil3, false);
    EXPECT_EQ(GroupText(b), "--S---");
    EXPECT_TRUE(b.quits[static_cast<size_t>(Panel::Salt3)]);
    b = NextButtons(b, PageEvent::Cancelled, Panel::Cond, false);
    EXPECT_EQ(GroupText(b), "GHSMDC");
    b = NextButtons(b, PageEvent::Saved, Panel::Cond, true);
    EXPECT_EQ(GroupText(b), "GHSMDC+");
    b = NextButtons(b, PageEvent::Cancelled, Panel::Hydr, true);
    EXPECT_EQ(GroupText(b), "GHSMDC+");
}

TEST(InputRulesButtons, OpenInputRestartAndRefusedDrainDepth) {
    Buttons b = After({{PageEvent::InputOpened, Panel::Gen}}, true);
    EXPECT_EQ(GroupText(b), "GHSMDC+");
    EXPECT_EQ(b.quits, (std::array<bool, 10>{true, true, true, true, true, true, true, true, true, true}));
    b = NextButtons(b, PageEvent::PageShown, Panel::Gen, false);
    EXPECT_EQ(GroupText(b), "G-----+");
    b = NextButtons(b, PageEvent::Restart, Panel::Gen, false);
    EXPECT_FALSE(b.saveAll);
    b = After({{PageEvent::DrainRefused, Panel::Drain}}, false);
    EXPECT_TRUE(b.quits[static_cast<size_t>(Panel::Drain)]);
}

}  // namespace
}  // namespace halovane::rules
