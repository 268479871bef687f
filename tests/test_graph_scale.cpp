// Axis scaling and pixel coordinates of the graphs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "GraphScale.h"

using namespace halovane;

namespace {

// A series of N steps with the values given for steps 1.. (element 0 set
// to a value that must never count).
std::vector<double> Steps(std::initializer_list<double> values, double initial = 1e9) {
    std::vector<double> v{initial};
    v.insert(v.end(), values);
    return v;
}

GraphSeries Hydrology(int n, double rain, double perc) {
    GraphSeries s;
    s.N = n;
    for (auto* v : {&s.Rain, &s.Irrig, &s.EvapA, &s.Perc, &s.Cap, &s.Drain}) v->assign(n + 1, 0.0);
    s.Rain[1] = rain;
    s.Perc[1] = perc;
    s.Rain[0] = s.Perc[0] = 1e9;  // the initial state is not drawn
    return s;
}

GraphSeries Salinity(int layers, std::vector<double> layer1) {
    GraphSeries s;
    s.N = static_cast<int>(layer1.size()) - 1;
    s.Layers = layers;
    for (int z = 0; z < 5; ++z) {
        s.Calculated[z].assign(layer1.size(), 0.0);
        s.Measured[z].assign(layer1.size(), -1.0);
    }
    s.Calculated[0] = std::move(layer1);
    return s;
}

AxisScale Horizontal(int n, GraphKind kind) {
    AxisScale scale;
    ScaleHorizontal(n, kind, scale);
    return scale;
}

}  // namespace

TEST(GraphScale, NearestRoundsHalvesToEven) {
    EXPECT_EQ(Nearest(2.5), 2);
    EXPECT_EQ(Nearest(3.5), 4);
    EXPECT_EQ(Nearest(-0.5), 0);
    EXPECT_EQ(Nearest(-1.5), -2);
    EXPECT_EQ(Nearest(-2.5), -2);
    EXPECT_EQ(Nearest(0.49999999999999994), 0);
    EXPECT_EQ(Nearest(6.4), 6);
    EXPECT_EQ(Nearest(-6.6), -7);
    // Out of range and not a number do not overflow.
    EXPECT_EQ(Nearest(1e300), 1000000000);
    EXPECT_EQ(Nearest(-1e300), -1000000000);
    EXPECT_EQ(Nearest(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(GraphScale, HorizontalAxisOfTheWorkedExamples) {
    // N = 4: Xn = 5, one decimal.
    for (GraphKind kind : {GraphKind::Hydrology, GraphKind::WaterTable, GraphKind::Salinity}) {
        const AxisScale s = Horizontal(4, kind);
        EXPECT_EQ(s.Xn, 5);
        EXPECT_EQ(s.Xmin, 0);
        EXPECT_EQ(s.Xmax, 6);
        EXPECT_EQ(s.Xdiv, 6);
        EXPECT_EQ(s.Xdec, 1);
    }
    // N = 9: hydrology keeps 3 divisions, the other graphs double them.
    EXPECT_EQ(Horizontal(9, GraphKind::Hydrology).Xmax, 12);
    EXPECT_EQ(Horizontal(9, GraphKind::Hydrology).Xdiv, 3);
    EXPECT_EQ(Horizontal(9, GraphKind::WaterTable).Xdiv, 6);
    EXPECT_EQ(Horizontal(9, GraphKind::Salinity).Xdiv, 6);
    EXPECT_EQ(Horizontal(9, GraphKind::Hydrology).Xdec, 0);
    // N = 99.
    EXPECT_EQ(Horizontal(99, GraphKind::Hydrology).Xmax, 100);
    EXPECT_EQ(Horizontal(99, GraphKind::Hydrology).Xdiv, 4);
    EXPECT_EQ(Horizontal(99, GraphKind::Salinity).Xdiv, 8);
}

TEST(GraphScale, HorizontalAxisInEveryBand) {
    struct Case {
        int n, xmax, xdiv;
    } cases[] = {
        {5, 6, 6},          // Xn 6: no decimals from here on
        {8, 10, 10},        // nearest(9.5) = 10
        {24, 30, 6},        // Xn 25: 5 x nearest(5.5)
        {30, 35, 7},        // 5 x nearest(6.7)
        {60, 70, 7},        // 10 x nearest(6.6)
        {149, 150, 6},      // 25 x nearest((300 + 25) / 50 = 6.5)
        {300, 350, 7},      // 50 x nearest(6.52)
        {600, 700, 7},      // 100 x nearest(6.51)
        {3650, 4000, 4},    // ten years of days
        {20000, 30000, 3},  // 10000 x nearest(2.5001)
    };
    for (const Case& c : cases) {
        const AxisScale s = Horizontal(c.n, GraphKind::Hydrology);
        EXPECT_EQ(s.Xmax, c.xmax) << c.n;
        EXPECT_EQ(s.Xdiv, c.xdiv) << c.n;
    }
    EXPECT_EQ(Horizontal(5, GraphKind::Hydrology).Xdec, 0);
    // Water table and salinity double few divisions; salinity has at most ten.
    EXPECT_EQ(Horizontal(3650, GraphKind::WaterTable).Xdiv, 8);
    EXPECT_EQ(Horizontal(20000, GraphKind::Salinity).Xdiv, 6);
    EXPECT_EQ(Horizontal(105000, GraphKind::Hydrology).Xdiv, 11);
    EXPECT_EQ(Horizontal(105000, GraphKind::WaterTable).Xdiv, 11);
    EXPECT_EQ(Horizontal(105000, GraphKind::Salinity).Xdiv, 10);
    // No steps at all still gives an axis.
    EXPECT_EQ(Horizontal(0, GraphKind::Hydrology).Xmax, 2);
}

TEST(GraphScale, HydrologyAxis) {
    // All six flows with Mx = 10: 1.44 x 10, Ymax 16, Ydiv 16 -> nearest(6.4).
    AxisScale s = ScaleGraph(Hydrology(5, 10, 3), GraphKind::Hydrology, SelectionFor(GraphChoice::AllHydrology, 1));
    EXPECT_NEAR(s.YmaxReal, 14.4, 1e-12);
    EXPECT_EQ(s.Ymax, 16);
    EXPECT_EQ(s.Ymin, 0);
    EXPECT_EQ(s.Ydiv, 6);
    EXPECT_EQ(s.Ydec, 1);

    // Surface flows only: 1.2 x Mx, and the subsurface flows do not count.
    s = ScaleGraph(Hydrology(5, 10, 500), GraphKind::Hydrology, SelectionFor(GraphChoice::SurfaceHydrology, 1));
    EXPECT_NEAR(s.YmaxReal, 12, 1e-12);
    EXPECT_EQ(s.Ymax, 14);
    EXPECT_EQ(s.Ydiv, 4);
    s = ScaleGraph(Hydrology(5, 500, 25), GraphKind::Hydrology, SelectionFor(GraphChoice::SubsurfaceHydrology, 1));
    EXPECT_NEAR(s.YmaxReal, 30, 1e-12);
    EXPECT_EQ(s.Ymax, 32);
    EXPECT_EQ(s.Ydiv, 5);  // nearest(30 - 28) = 2, raised to 5
    EXPECT_EQ(s.Ydec, 1);

    // Zero flows: Ymax 2 with five divisions and two decimals.
    s = ScaleGraph(Hydrology(5, 0, 0), GraphKind::Hydrology, SelectionFor(GraphChoice::AllHydrology, 1));
    EXPECT_EQ(s.Ymax, 2);
    EXPECT_EQ(s.Ydiv, 5);
    EXPECT_EQ(s.Ydec, 2);

    // Large flows: ten divisions, whole numbers.
    s = ScaleGraph(Hydrology(5, 1000, 0), GraphKind::Hydrology, SelectionFor(GraphChoice::AllHydrology, 1));
    EXPECT_EQ(s.Ymax, 1442);
    EXPECT_EQ(s.Ydiv, 10);
    EXPECT_EQ(s.Ydec, 0);
    // Between 40 and 50.
    s = ScaleGraph(Hydrology(5, 35, 0), GraphKind::Hydrology, SelectionFor(GraphChoice::SurfaceHydrology, 1));
    EXPECT_EQ(s.Ymax, 44);
    EXPECT_EQ(s.Ydiv, 4);  // nearest(42 - 38)
    EXPECT_EQ(s.Ydec, 0);
}

TEST(GraphScale, HydrologyPixelsAndTicks) {
    const AxisScale s =
        ScaleGraph(Hydrology(4, 10, 3), GraphKind::Hydrology, SelectionFor(GraphChoice::AllHydrology, 1));
    // Every series and the ticks go through one mapping.
    EXPECT_EQ(ValuePixel(s, 0), 350);
    EXPECT_EQ(ValuePixel(s, 8), 200);
    EXPECT_EQ(ValuePixel(s, 16), 50);
    const std::vector<int> x = StepPixels(s, 4);  // Xmax 6
    ASSERT_EQ(x.size(), 5u);
    EXPECT_EQ(x[0], 70);  // the start of step 1
    EXPECT_EQ(x[1], 153);
    EXPECT_EQ(x[3], 320);

    const std::vector<Tick> v = VerticalTicks(s);
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v.front().position, 50);
    EXPECT_EQ(v.front().label, "16.0");
    EXPECT_EQ(v[1].position, 100);
    EXPECT_EQ(v[1].label, "13.3");
    EXPECT_EQ(v.back().position, 350);
    EXPECT_EQ(v.back().label, "0.0");
    EXPECT_EQ(v.back().labelPosition, 64);

    const std::vector<Tick> h = HorizontalTicks(s);
    ASSERT_EQ(h.size(), 7u);
    EXPECT_EQ(h[0].position, 70);
    EXPECT_EQ(h[0].labelPosition, 62);
    EXPECT_EQ(h[1].position, 153);
    EXPECT_EQ(h[1].labelPosition, 145);
    EXPECT_EQ(h[1].label, "1.0");
    EXPECT_EQ(h[6].position, 570);
    EXPECT_EQ(h[6].label, "6.0");

    const std::vector<Tick> days = HorizontalTicks(Horizontal(99, GraphKind::Hydrology));
    ASSERT_EQ(days.size(), 5u);
    EXPECT_EQ(days[0].label, " 0");
    EXPECT_EQ(days[1].label, "25");
    EXPECT_EQ(days[4].label, "100");
}

TEST(GraphScale, WaterTableBelowTheSurface) {
    GraphSeries s;
    s.N = 3;
    s.Dwt = Steps({1.0, 2.0, 1.5});
    const AxisScale a = ScaleGraph(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_EQ(a.YmaxReal, 0);
    EXPECT_EQ(a.Ymax, 0);  // nearest(0.5)
    EXPECT_EQ(a.Ymin, -2);  // nearest(0.9 x -2 - 0.5)
    EXPECT_EQ(a.Ydiv, 8);   // 2, doubled twice
    EXPECT_EQ(a.Ydec, 1);
    EXPECT_EQ(ZeroLinePixel(a), 50);
    EXPECT_EQ(ValuePixel(a, -1.0), 200);
    // The series keeps its depths.
    EXPECT_EQ(s.Dwt[2], 2.0);
}

TEST(GraphScale, WaterTableAboveAndAtTheSurface) {
    GraphSeries s;
    s.N = 2;
    s.Dwt = Steps({-0.5, 0.5});
    AxisScale a = ScaleGraph(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_EQ(a.Ymax, 1);
    EXPECT_EQ(a.Ymin, -1);
    EXPECT_EQ(a.Ydiv, 8);
    EXPECT_EQ(ZeroLinePixel(a), 200);

    // A level of 10 m above the surface: Ymax on a multiple of 4.
    s.Dwt = Steps({-10, -10});
    a = ScaleGraph(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_EQ(a.Ymax, 16);
    EXPECT_EQ(a.Ymin, 8);
    EXPECT_EQ(a.Ydiv, 8);

    // Always at the surface: Ymax = Ymin would divide by zero; the axis gets
    // one unit above the level instead.
    s.Dwt = Steps({0, 0});
    a = ScaleGraph(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_EQ(a.Ymin, 0);
    EXPECT_EQ(a.Ymax, 1);
    EXPECT_EQ(a.Ydiv, 5);
    EXPECT_EQ(ValuePixel(a, 0), 350);
    EXPECT_EQ(ZeroLinePixel(a), 350);
    const std::vector<Tick> ticks = VerticalTicks(a);
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_EQ(ticks.front().label, "1.0");
    EXPECT_EQ(ticks.back().label, "0.0");
}

TEST(GraphScale, ZeroLineIsTheValueZero) {
    AxisScale a;
    a.Ymin = -1;
    a.Ymax = 6;
    // The bars end where a level of 0 is drawn: 350 - nearest(300 / 7).
    EXPECT_EQ(ZeroLinePixel(a), 350 - 43);
    EXPECT_EQ(ZeroLinePixel(a), ValuePixel(a, 0));
}

TEST(GraphScale, SalinityAxis) {
    // Calculated values only (no measurement): Smin from the calculated series.
    GraphSeries s = Salinity(1, Steps({20, 30, 25}));
    s.Measured[3] = Steps({100, 100, 100});  // transition zone, not shown
    AxisScale a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityFirst, 1));
    EXPECT_NEAR(a.YmaxReal, 42, 1e-12);
    EXPECT_EQ(a.Ymax, 42);
    EXPECT_EQ(a.Ymin, 16);
    EXPECT_EQ(a.Ydiv, 10);
    EXPECT_EQ(a.Ydec, 1);

    // A measured value above 0 counts; -1 and 0 do not.
    s.Measured[0] = Steps({-1, 5, 0});
    a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityFirst, 1));
    EXPECT_EQ(a.Ymin, 4);
    EXPECT_EQ(a.Ymax, 42);

    // Below 10: Ymax = nearest(YmaxReal + 0.5).
    s = Salinity(1, Steps({2, 4}));
    a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityFirst, 1));
    EXPECT_EQ(a.Ymax, 6);
    EXPECT_EQ(a.Ymin, 1);
    EXPECT_EQ(a.Ydiv, 5);
    EXPECT_EQ(ValuePixel(a, 2), 290);  // calculated and measured alike

    // Between 10 and 25: Ymax on a multiple of 4.
    s = Salinity(1, Steps({10}));
    a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityFirst, 1));
    EXPECT_EQ(a.Ymax, 16);
    EXPECT_EQ(a.Ymin, 8);
    EXPECT_EQ(a.Ydiv, 8);
}

TEST(GraphScale, SalinityOfAllZones) {
    // One layer: all five zones, with the unused layers' zeros taking part,
    // and 20 % more room above.
    GraphSeries s = Salinity(1, Steps({2, 4}));
    s.Calculated[3] = s.Calculated[4] = Steps({3, 3});
    AxisScale a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityAll, 1));
    EXPECT_EQ(a.Ymin, 0);
    EXPECT_EQ(a.Ydiv, 6);
    EXPECT_NEAR(a.YmaxReal, 6.72, 1e-12);
    EXPECT_EQ(a.Ymax, 7);

    // Two layers: the root-zone layers only; layer 3 and the zones below do not count.
    s = Salinity(2, Steps({2, 4}));
    s.Calculated[1] = Steps({3, 3});
    s.Calculated[2] = Steps({90, 90});
    s.Calculated[3] = Steps({80, 80});
    a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityAll, 2));
    EXPECT_EQ(a.Ymax, 6);
    EXPECT_EQ(a.Ymin, 1);
    s.Layers = 3;
    a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityAll, 3));
    EXPECT_EQ(a.Ymax, 126);
}

TEST(GraphScale, SalinityOfZeroSeriesHasARange) {
    GraphSeries s = Salinity(1, Steps({0, 0, 0}));
    for (GraphChoice c : {GraphChoice::SalinityAll, GraphChoice::SalinityFirst, GraphChoice::SalinityBelow}) {
        const AxisScale a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(c, 1));
        EXPECT_GT(a.Ymax, a.Ymin);
        EXPECT_GT(a.Ydiv, 0);
        EXPECT_EQ(ValuePixel(a, 0), 350);
    }
    // No steps at all.
    s = Salinity(1, {0});
    const AxisScale a = ScaleGraph(s, GraphKind::Salinity, SelectionFor(GraphChoice::SalinityFirst, 1));
    EXPECT_EQ(a.Ymin, 0);
    EXPECT_EQ(a.Ymax, 1);
}

TEST(GraphScale, SelectionOfEachChoice) {
    GraphSelection s = SelectionFor(GraphChoice::AllHydrology, 2);
    EXPECT_TRUE(s.AllZones);
    EXPECT_FALSE(s.SurfaceOnly || s.SubsurfaceOnly);
    EXPECT_TRUE(SelectionFor(GraphChoice::SurfaceHydrology, 1).SurfaceOnly);
    EXPECT_TRUE(SelectionFor(GraphChoice::SubsurfaceHydrology, 1).SubsurfaceOnly);

    s = SelectionFor(GraphChoice::SalinityAll, 1);
    EXPECT_TRUE(s.AllZones);
    EXPECT_FALSE(s.RootLayersOnly || s.HideBelowRootZone || s.HideLayer1);
    s = SelectionFor(GraphChoice::SalinityAll, 3);
    EXPECT_FALSE(s.AllZones);
    EXPECT_TRUE(s.RootLayersOnly && s.HideBelowRootZone);

    s = SelectionFor(GraphChoice::SalinitySecond, 3);
    EXPECT_FALSE(s.AllZones);
    EXPECT_TRUE(s.HideLayer1 && s.HideLayer3 && s.HideBelowRootZone);
    EXPECT_FALSE(s.HideLayer2);
    EXPECT_TRUE(ZoneShown(s, 3, 1));
    EXPECT_FALSE(ZoneShown(s, 1, 1));  // the root zone lacks layer 2

    s = SelectionFor(GraphChoice::SalinityBelow, 2);
    EXPECT_TRUE(s.HideLayer1 && s.HideLayer2 && s.HideLayer3);
    EXPECT_FALSE(s.HideBelowRootZone);
    EXPECT_TRUE(ZoneShown(s, 2, 3) && ZoneShown(s, 2, 4));

    EXPECT_EQ(KindOf(GraphChoice::WaterTable), GraphKind::WaterTable);
    EXPECT_EQ(KindOf(GraphChoice::SalinityThird), GraphKind::Salinity);
}

TEST(GraphScale, LabelsAndGeneralNumbers) {
    EXPECT_EQ(AxisLabel(3, 1), "3.0");
    EXPECT_EQ(AxisLabel(0.5, 2), "0.50");
    EXPECT_EQ(AxisLabel(7, 0), " 7");
    EXPECT_EQ(AxisLabel(-2.5, 1), "-2.5");
    EXPECT_EQ(AxisLabel(-1e-16, 1), "0.0");

    EXPECT_EQ(GeneralText(670.8), "670.8");
    EXPECT_EQ(GeneralText(0.0), "0");
    EXPECT_EQ(GeneralText(-0.0), "0");
    EXPECT_EQ(GeneralText(-351.8), "-351.8");
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");  // 15 significant digits
    EXPECT_EQ(GeneralText(0.0001), "0.0001");
    EXPECT_EQ(GeneralText(1.5e-5), "1.5E-5");
    EXPECT_EQ(GeneralText(1e20), "1E20");
    EXPECT_EQ(GeneralText(123456789012345678.0), "1.23456789012346E17");
}

namespace {

// What a reader of the drawn axis sees: at most eleven labels, each one the
// exact value of its tick, the labels evenly spaced, and every value drawn
// inside the axis.
void ExpectReadable(const AxisScale& a, double low, double high, const char* what) {
    SCOPED_TRACE(what);
    const std::vector<Tick> v = VerticalTicks(a);
    ASSERT_LE(v.size(), 11u);
    ASSERT_GE(v.size(), 2u);
    EXPECT_LE(a.Ymin, low);
    EXPECT_GE(a.Ymax, high);
    const double step = double(a.Ymax - a.Ymin) / a.Ydiv;
    for (size_t t = 0; t < v.size(); ++t) {
        const double value = a.Ymax - step * double(t);
        EXPECT_NEAR(std::stod(v[t].label), value, 1e-9) << v[t].label;
    }
    EXPECT_LE(HorizontalTicks(a).size(), 11u);
}

}  // namespace

TEST(ReadableAxes, WaterTableOfThirtyOneMetres) {
    GraphSeries s;
    s.N = 12;
    s.Dwt.assign(13, 0.0);
    for (int i = 1; i <= 12; ++i) s.Dwt[i] = 20 + i;  // 21 .. 32 m below the surface
    // The rules above give a label per metre and stop above the deepest level.
    const AxisScale part = ScaleGraph(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_GT(part.Ydiv, 10);
    EXPECT_GT(part.Ymin, -32);
    const AxisScale a = GraphAxes(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_EQ(a.Ymax, 0);  // the surface stays on top
    ExpectReadable(a, -32, -21, "31 m");
}

TEST(ReadableAxes, DamagedDepthNeitherHangsNorOverflows) {
    GraphSeries s;
    s.N = 3;
    s.Dwt = {0, 1, 1e9, 2};
    const AxisScale a = GraphAxes(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_LE(VerticalTicks(a).size(), 11u);
    EXPECT_LE(a.Ydiv, 10);
    s.Dwt = {0, 1, -1e300, std::numeric_limits<double>::quiet_NaN()};
    const AxisScale b = GraphAxes(s, GraphKind::WaterTable, GraphSelection{});
    EXPECT_LE(VerticalTicks(b).size(), 11u);
    for (const Tick& t : VerticalTicks(b)) EXPECT_LE(t.label.size(), 14u) << t.label;
}

TEST(ReadableAxes, NegativeFlowsAndUnevenSteps) {
    // Negative percolation of a damaged file: the axis goes below zero.
    GraphSeries s = Hydrology(4, 10, -7.5);
    const AxisScale a = GraphAxes(s, GraphKind::Hydrology, SelectionFor(GraphChoice::AllHydrology, 1));
    ExpectReadable(a, -7.5, 10, "negative percolation");
    EXPECT_LT(ValuePixel(a, -7.5), AxisBottom + 1);
    // Mx = 10: the rules above give 16 in six divisions of 2.67; the drawn
    // axis has round steps from 0 to 10.
    const AxisScale b = GraphAxes(Hydrology(5, 10, 3), GraphKind::Hydrology, SelectionFor(GraphChoice::AllHydrology, 1));
    EXPECT_EQ(std::make_tuple(b.Ymin, b.Ymax, b.Ydiv, b.Ydec), std::make_tuple(0.0, 10.0, 10, 0));
    ExpectReadable(b, 0, 10, "Mx = 10");
    // Steps of 0.25 are written with two decimals ("-0.25", not "-0.2").
    const NiceAxis quarter = NiceTicks(-1, 0, 4);
    EXPECT_EQ(std::make_tuple(quarter.low, quarter.high, quarter.step, quarter.decimals),
              std::make_tuple(-1.0, 0.0, 0.25, 2));
    AxisScale q;
    SetVerticalAxis(q, -0.9, -0.1);
    EXPECT_EQ(VerticalTicks(q)[1].label, "-0.2");
    EXPECT_EQ(VerticalTicks(q).back().label, "-0.9");
}

TEST(ReadableAxes, LongRunsAndEveryBand) {
    for (int n : {1, 4, 9, 24, 99, 306, 480, 3000, 36499, 365000}) {
        for (GraphKind kind : {GraphKind::Hydrology, GraphKind::WaterTable, GraphKind::Salinity}) {
            GraphSeries s = Hydrology(n, 1, 1);
            s.Dwt.assign(static_cast<size_t>(n) + 1, 1.5);
            for (int z = 0; z < 5; ++z) s.Calculated[z].assign(static_cast<size_t>(n) + 1, 12.0);
            const AxisScale a = GraphAxes(s, kind, SelectionFor(GraphChoice::SalinityAll, 1));
            EXPECT_LE(HorizontalTicks(a).size(), 11u) << n;
            // The last step ends inside the axis, no further than one tick
            // step before its end.
            EXPECT_LE(StepPixels(a, n).back(), AxisRight) << n;
            EXPECT_GT(n, a.Xmax - a.Xmax / a.Xdiv) << n;
        }
    }
    // A century of days: 0, 50 000, 100 000 ...
    GraphSeries s = Hydrology(365000, 1, 1);
    const std::vector<Tick> t = HorizontalTicks(GraphAxes(s, GraphKind::Hydrology, GraphSelection{}));
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[1].label, "50000");
    EXPECT_EQ(t.back().label, "400000");
}

// Over many ranges: ticks at multiples of 1, 2, 2.5 or 5 x 10^k, the range
// widened outwards to them, 0 a tick when spanned, at most ten divisions
// and no coarser step than needed, labels with the decimals of the step.
TEST(ReadableAxes, RoundTicksOverRandomRanges) {
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) & 0xFFFF) / 65536.0;
    };
    for (int k = 0; k < 3000; ++k) {
        const double magnitude = std::pow(10.0, std::floor(next() * 12) - 5);
        const double low = k % 7 == 0 ? 0 : (next() * 2 - 1) * magnitude;
        const double high = low + next() * magnitude * (next() < 0.5 ? 1 : 30);
        SCOPED_TRACE(std::to_string(low) + " .. " + std::to_string(high));
        AxisScale a;
        SetVerticalAxis(a, low, high);
        const double step = (a.Ymax - a.Ymin) / a.Ydiv;
        const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        const double mantissa = step / power;
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                    std::fabs(mantissa - 2.5) < 1e-6 || std::fabs(mantissa - 5) < 1e-6)
            << step;
        EXPECT_LE(a.Ydiv, 10);
        EXPECT_LE(a.Ymin, low + 1e-12 * magnitude);
        EXPECT_GE(a.Ymax, high - 1e-12 * magnitude);
        EXPECT_NEAR(a.Ymin / step, std::round(a.Ymin / step), 1e-6);
        // No finer step of the series would do with ten divisions.
        static const double Mantissas[] = {1, 2, 2.5, 5};
        for (double m : Mantissas)
            for (double p : {power / 10, power}) {
                const double finer = m * p;
                if (finer >= step * (1 - 1e-9)) continue;
                EXPECT_GT(std::ceil(high / finer - 1e-9) - std::floor(low / finer + 1e-9), 10) << finer;
            }
        const std::vector<Tick> ticks = VerticalTicks(a);
        bool zero = false;
        for (const Tick& t : ticks) {
            // The label is the tick's value, written with just the decimals of the step.
            const double value = std::stod(t.label);
            EXPECT_NEAR(value / step, std::round(value / step), 1e-6) << t.label;
            const size_t point = t.label.find('.');
            EXPECT_EQ(point == std::string::npos ? 0 : int(t.label.size() - point - 1), a.Ydec) << t.label;
            zero = zero || value == 0;
        }
        EXPECT_EQ(a.Ydec, std::max(0, int(std::ceil(-std::log10(step) - 1e-9)) + (std::fabs(mantissa - 2.5) < 1e-6 ? 1 : 0)));
        if (a.Ymin < 0 && a.Ymax > 0) {
            EXPECT_TRUE(zero);
        }
    }
}
