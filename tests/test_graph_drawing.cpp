// What the three graphs draw, recorded on a canvas without a window.
#include <gtest/gtest.h>

#include <algorithm>

#include "GraphDrawing.h"
#include "GraphFiles.h"

using namespace halovane;

namespace {

struct Op {
    enum Kind { Fill, Line, Poly, Text, RightText } kind;
    int x1, y1, x2, y2;
    std::string text;
    Rgb pen, font, brush;
    int fontSize;
    LineStyle style;
    std::vector<Point> points;  // of a polyline
};

class RecordingCanvas : public GraphCanvas {
public:
    std::vector<Op> ops;

    void SetFontSize(int points) override { size_ = points; }
    void SetFontColor(Rgb c) override { font_ = c; }
    void SetPenColor(Rgb c) override { pen_ = c; }
    void SetLineStyle(LineStyle s) override { style_ = s; }
    void SetBrushColor(Rgb c) override { brush_ = c; }
    void FillRect(int x1, int y1, int x2, int y2) override { Add(Op::Fill, x1, y1, x2, y2, ""); }
    void Line(int x1, int y1, int x2, int y2) override { Add(Op::Line, x1, y1, x2, y2, ""); }
    void Polyline(const std::vector<Point>& p) override {
        Add(Op::Poly, p.front().x, p.front().y, p.back().x, p.back().y, "");
        ops.back().points = p;
    }
    void Text(int x, int y, const std::string& t) override { Add(Op::Text, x, y, 0, 0, t); }
    void TextRightCentred(int right, int y, const std::string& t) override { Add(Op::RightText, right, y, 0, 0, t); }
    int TextWidth(const std::string& t) override { return 6 * static_cast<int>(t.size()); }

    std::vector<Op> Lines(Rgb pen) const { return Of(Op::Line, pen); }
    // The curves of a colour: polylines other than the legend's samples
    // and the closed outlines of markers.
    std::vector<Op> Curves(Rgb pen) const {
        std::vector<Op> r;
        for (const Op& o : Of(Op::Poly, pen))
            if ((o.x1 != o.x2 || o.y1 != o.y2) && (o.points.size() > 2 || o.x1 != o.x2 - 24)) r.push_back(o);
        return r;
    }
    const Op* FindText(const std::string& t) const {
        for (const Op& o : ops)
            if (o.kind == Op::Text && o.text == t) return &o;
        return nullptr;
    }
    bool HasTextStarting(const std::string& prefix) const {
        return std::any_of(ops.begin(), ops.end(), [&](const Op& o) { return o.text.rfind(prefix, 0) == 0; });
    }
    // Centres of the markers of a colour, the legend's too: a cross's
    // falling line, or a closed polyline, each 7 pixels square.
    std::vector<Point> MarkerCentres(Rgb pen) const {
        std::vector<Point> centres;
        for (const Op& o : ops) {
            if (o.pen != pen) continue;
            if (o.kind == Op::Line && o.x2 - o.x1 == 6 && o.y2 - o.y1 == 6)
                centres.push_back({o.x1 + 3, o.y1 + 3});
            if (o.kind != Op::Poly || o.points.size() < 4 || o.x1 != o.x2 || o.y1 != o.y2) continue;
            int x0 = o.x1, x1 = o.x1, y0 = o.y1, y1 = o.y1;
            for (const Point& p : o.points) {
                x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
            }
            if (x1 - x0 == 6 && y1 - y0 == 6) centres.push_back({(x0 + x1) / 2, (y0 + y1) / 2});
        }
        return centres;
    }

private:
    std::vector<Op> Of(Op::Kind kind, Rgb pen) const {
        std::vector<Op> r;
        for (const Op& o : ops)
            if (o.kind == kind && o.pen == pen) r.push_back(o);
        return r;
    }
    void Add(Op::Kind k, int x1, int y1, int x2, int y2, const std::string& t) {
        ops.push_back({k, x1, y1, x2, y2, t, pen_, font_, brush_, size_, style_, {}});
    }
    int size_ = 0;
    Rgb pen_ = 0, font_ = 0, brush_ = 0;
    LineStyle style_ = LineStyle::Solid;
};

// A run of n steps with distinct flows, two layers unless said otherwise.
GraphData SampleRun(int n, int layers = 2) {
    GraphData d;
    GraphSeries& s = d.Series;
    s.N = n;
    s.Layers = layers;
    auto fill = [n](std::vector<double>& v, double base, double step) {
        v.assign(n + 1, 0);
        for (int i = 1; i <= n; ++i) v[i] = base + step * (i % 3);
    };
    fill(s.Rain, 40, 10);
    fill(s.Irrig, 60, 5);
    fill(s.EvapA, 30, 4);
    fill(s.Perc, 20, 6);
    fill(s.Cap, 5, 2);
    fill(s.Drain, 10, 3);
    fill(s.Dwt, 1.2, 0.3);
    for (int z = 0; z < 5; ++z) {
        fill(s.Calculated[z], 2 + z, 0.5);
        s.Measured[z].assign(n + 1, -1);
    }
    d.Title1 = "First title";
    d.Title2 = "Second title";
    for (auto& z : d.Zones) z = {0.61, false, 0, true};
    return d;
}

}  // namespace

TEST(GraphDrawing, FrameTitlesAndAxes) {
    RecordingCanvas c;
    GraphData d = SampleRun(5);
    d.StepDays = 30;
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::AllHydrology, c);
    ASSERT_GE(c.ops.size(), 2u);
    // Silver picture, navy plot area.
    EXPECT_EQ(c.ops[0].kind, Op::Fill);
    EXPECT_EQ(c.ops[0].brush, GraphColor::Silver);
    const Op* title = c.FindText("First title");
    ASSERT_TRUE(title);
    EXPECT_EQ(std::make_tuple(title->x1, title->y1, title->fontSize), std::make_tuple(20, 5, 10));
    const std::string footerText = std::string("Program Halovane at ") + GraphFooterAddress;
    const Op* footer = c.FindText(footerText);
    ASSERT_TRUE(footer);
    EXPECT_EQ(std::make_pair(footer->y1, footer->fontSize), std::make_pair(425, 8));
    const auto navy = std::find_if(c.ops.begin(), c.ops.end(),
                                   [](const Op& o) { return o.kind == Op::Fill && o.brush == GraphColor::Navy; });
    ASSERT_NE(navy, c.ops.end());
    EXPECT_EQ(std::make_tuple(navy->x1, navy->y1, navy->x2, navy->y2), std::make_tuple(20, 19, 605, 420));
    // The unit of the vertical axis and the time axis.
    ASSERT_TRUE(c.FindText("mm per time step of 30 days"));
    const Op* time = c.FindText("Time step");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->x1 + 6 * 9, AxisRight);
    EXPECT_EQ(time->font, GraphColor::White);

    // The axes come last: white, with their ticks and labels on navy.
    const std::vector<Op> white = c.Lines(GraphColor::White);
    auto has = [&](int x1, int y1, int x2, int y2) {
        return std::any_of(white.begin(), white.end(),
                           [&](const Op& o) { return o.x1 == x1 && o.y1 == y1 && o.x2 == x2 && o.y2 == y2; });
    };
    EXPECT_TRUE(has(70, 350, 70, 50));
    EXPECT_TRUE(has(70, 350, 570, 350));
    EXPECT_TRUE(has(70, 50, 66, 50));
    EXPECT_TRUE(has(570, 350, 570, 354));
    int rightLabels = 0;
    for (const Op& o : c.ops)
        if (o.kind == Op::RightText) {
            ++rightLabels;
            EXPECT_EQ(std::make_tuple(o.x1, o.brush, o.font, o.fontSize), std::make_tuple(64, GraphColor::Navy, GraphColor::White, 8));
        }
    EXPECT_EQ(rightLabels, drawn.Scale.Ydiv + 1);
    // Horizontal labels are centred under their ticks.
    const Op* five = c.FindText("5");
    ASSERT_TRUE(five);
    EXPECT_EQ(five->x1 + 3, StepPixels(drawn.Scale, 5)[5]);

    // The footer is optional; the print style is black on white.
    RecordingCanvas print;
    DrawGraph(d, GraphChoice::AllHydrology, print, {GraphStyle::Print, false});
    EXPECT_FALSE(print.FindText(footerText));
    EXPECT_EQ(print.ops[0].brush, GraphColor::White);
    EXPECT_EQ(print.FindText("Time step")->font, GraphColor::Black);
    EXPECT_TRUE(print.Lines(GraphColor::White).empty());
}

TEST(GraphDrawing, HydrologyStepLines) {
    const int n = 6;
    RecordingCanvas c;
    const GraphData d = SampleRun(n);
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::AllHydrology, c);
    const std::vector<int> x = StepPixels(drawn.Scale, n);
    const GraphPalette& p = PaletteOf(GraphStyle::Screen);
    const std::vector<double>* series[6] = {&d.Series.Rain, &d.Series.Irrig, &d.Series.EvapA,
                                            &d.Series.Perc, &d.Series.Cap,   &d.Series.Drain};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        // The legend's sample and the curve, in one colour and dash pattern.
        const std::vector<Op> curves = c.Curves(p.flows[k].color);
        ASSERT_EQ(curves.size(), 1u);
        EXPECT_EQ(curves[0].style, p.flows[k].line);
        // The flow of step i over (X(i - 1), X(i)], unshifted: the last one
        // ends at X(N), inside the axis.
        const std::vector<Point>& pts = curves[0].points;
        ASSERT_EQ(pts.size(), size_t(2 * n));
        for (int i = 1; i <= n; ++i) {
            const int y = ValuePixel(drawn.Scale, (*series[k])[i]);
            EXPECT_EQ(pts[2 * i - 2], (Point{x[i - 1], y}));
            EXPECT_EQ(pts[2 * i - 1], (Point{x[i], y}));
        }
    }
    EXPECT_LE(x[n], AxisRight);
    EXPECT_EQ(x[0], AxisLeft);
    // Every curve is named; "Surf. drainage" has no curve and no entry.
    for (const char* name : {"Rainfall", "Irrigation", "Evaporation", "Percolation", "Capillary rise", "Subs. drainage"})
        EXPECT_TRUE(c.FindText(name)) << name;
    EXPECT_FALSE(c.HasTextStarting("Surf. drainage"));
    EXPECT_TRUE(c.FindText("Hydrological flows of every time step"));
}

TEST(GraphDrawing, HydrologySurfaceAndSubsurface) {
    const GraphData d = SampleRun(4);
    const GraphPalette& p = PaletteOf(GraphStyle::Screen);
    RecordingCanvas surface;
    DrawGraph(d, GraphChoice::SurfaceHydrology, surface);
    EXPECT_TRUE(surface.Curves(p.flows[3].color).empty());
    EXPECT_EQ(surface.Curves(p.flows[1].color).size(), 1u);
    EXPECT_FALSE(surface.FindText("Percolation"));

    RecordingCanvas subsurface;
    DrawGraph(d, GraphChoice::SubsurfaceHydrology, subsurface);
    EXPECT_TRUE(subsurface.Curves(p.flows[1].color).empty());
    EXPECT_FALSE(subsurface.FindText("Rainfall"));
    EXPECT_TRUE(subsurface.FindText("Percolation"));
    // Three titles, three graphs.
    EXPECT_TRUE(surface.HasTextStarting("Surface hydrology"));
    EXPECT_TRUE(subsurface.HasTextStarting("Subsurface hydrology"));

    // One step: one tread; no input file: no rain or irrigation curve, nor their names.
    RecordingCanvas one;
    DrawGraph(SampleRun(1), GraphChoice::AllHydrology, one);
    EXPECT_EQ(one.Curves(p.flows[1].color).at(0).points.size(), 2u);
    GraphData noInput = SampleRun(4);
    noInput.Series.Rain.clear();
    noInput.Series.Irrig.clear();
    RecordingCanvas blank;
    DrawGraph(noInput, GraphChoice::AllHydrology, blank);
    EXPECT_TRUE(blank.Curves(p.flows[1].color).empty());
    EXPECT_FALSE(blank.FindText("Irrigation"));
    EXPECT_EQ(blank.Curves(p.flows[2].color).size(), 1u);
}

TEST(GraphDrawing, WaterTableBars) {
    const int n = 5;
    GraphData d = SampleRun(n);
    RecordingCanvas c;
    GraphDrawn drawn = DrawGraph(d, GraphChoice::WaterTable, c);
    std::vector<Op> bars;
    for (const Op& o : c.ops)
        if (o.kind == Op::Fill && (o.brush == GraphColor::InactiveCaption || o.brush == GraphColor::LightBlue))
            bars.push_back(o);
    ASSERT_EQ(bars.size(), size_t(n));
    EXPECT_EQ(bars[0].brush, GraphColor::InactiveCaption);
    EXPECT_EQ(bars[1].brush, GraphColor::LightBlue);
    // Every level below the surface: bars of step i over (X(i - 1), X(i)]
    // hang from the surface, at the top, down to the level.
    const std::vector<int> x = StepPixels(drawn.Scale, n);
    EXPECT_EQ(ZeroLinePixel(drawn.Scale), AxisTop);
    for (int i = 1; i <= n; ++i)
        EXPECT_EQ(std::make_tuple(bars[i - 1].x1, bars[i - 1].x2, bars[i - 1].y1, bars[i - 1].y2),
                  std::make_tuple(x[i - 1], x[i], ValuePixel(drawn.Scale, -d.Series.Dwt[i]), AxisTop));
    for (const Op& o : c.ops)
        if (o.kind == Op::RightText) {
            EXPECT_EQ(o.brush, GraphColor::Navy);
        }
    EXPECT_TRUE(c.FindText("m"));

    // Water above the surface: bars between the zero line and the level.
    d.Series.Dwt = {0, -0.5, 0.4, -0.2};
    d.Series.N = 3;
    RecordingCanvas above;
    drawn = DrawGraph(d, GraphChoice::WaterTable, above);
    std::vector<Op> fills;
    for (const Op& o : above.ops)
        if (o.kind == Op::Fill && o.brush == GraphColor::InactiveCaption) fills.push_back(o);
    ASSERT_EQ(fills.size(), 2u);  // steps 1 and 3
    EXPECT_EQ(fills[0].y1, ValuePixel(drawn.Scale, 0.5));
    EXPECT_EQ(fills[0].y2, ZeroLinePixel(drawn.Scale));
    const std::vector<Tick> ticks = VerticalTicks(drawn.Scale);  // the surface is a tick
    EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(), [](const Tick& t) { return t.label == "0.0"; }));
}

TEST(GraphDrawing, SalinityOfAllSoilLayers) {
    const GraphPalette& p = PaletteOf(GraphStyle::Screen);
    // One layer: root zone, transition zone and aquifer.
    GraphData d = SampleRun(4, 1);
    RecordingCanvas one;
    DrawGraph(d, GraphChoice::SalinityAll, one);
    EXPECT_TRUE(one.FindText("Root zone"));
    EXPECT_TRUE(one.FindText("Transition zone"));
    EXPECT_TRUE(one.FindText("Aquifer"));
    EXPECT_FALSE(one.HasTextStarting("Layer 2"));
    for (int z : {0, 3, 4}) EXPECT_EQ(one.Curves(p.zones[z].color).size(), 1u) << z;
    const Op* second = one.FindText("Second title");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->font, GraphColor::Silver);
    EXPECT_TRUE(one.FindText("dS/m"));

    // Three layers: the root-zone layers only; zones told apart by colour,
    // dash pattern and symbol.
    d = SampleRun(4, 3);
    RecordingCanvas three;
    DrawGraph(d, GraphChoice::SalinityAll, three);
    EXPECT_TRUE(three.FindText("Layer 2"));
    EXPECT_FALSE(three.FindText("Transition zone"));
    EXPECT_TRUE(three.Curves(p.zones[3].color).empty());
    for (int z = 0; z < 5; ++z)
        for (int w = z + 1; w < 5; ++w) {
            EXPECT_NE(p.zones[z].color, p.zones[w].color);
            EXPECT_NE(p.zones[z].marker, p.zones[w].marker);
            const GraphPalette& print = PaletteOf(GraphStyle::Print);
            EXPECT_TRUE(print.zones[z].line != print.zones[w].line || print.zones[z].color != print.zones[w].color);
        }
}

TEST(GraphDrawing, SalinityOfOneLayerWithItsFit) {
    GraphData d = SampleRun(4, 3);
    RecordingCanvas assumed;
    DrawGraph(d, GraphChoice::SalinityFirst, assumed);
    EXPECT_TRUE(assumed.FindText("Layer 1: leaching efficiency 0.61 (assumed), fit index n.a."));

    d.Zones[1] = {0.11, true, 50, false};
    RecordingCanvas optimized;
    DrawGraph(d, GraphChoice::SalinitySecond, optimized);
    EXPECT_TRUE(optimized.FindText("Layer 2: leaching efficiency 0.11 (optimized), fit index 50 %"));
    EXPECT_TRUE(optimized.Curves(PaletteOf(GraphStyle::Screen).zones[0].color).empty());

    d.Zones[2] = {0.58, false, 27, false};
    RecordingCanvas given;
    DrawGraph(d, GraphChoice::SalinityThird, given);
    EXPECT_TRUE(given.FindText("Layer 3: leaching efficiency 0.58 (assumed), fit index 27 %"));
}

TEST(GraphDrawing, SalinityBelowTheRootZone) {
    GraphData d = SampleRun(4, 2);
    d.Zones[3] = {0.56, true, 1, false};    // optimised transition zone
    d.Zones[4] = {0.45, false, 52, false};  // given aquifer: named only
    RecordingCanvas c;
    DrawGraph(d, GraphChoice::SalinityBelow, c);
    // Each fit text names its own zone, in one format everywhere.
    EXPECT_TRUE(c.FindText("Transition zone: leaching efficiency 0.56 (optimized), fit index 1 %"));
    EXPECT_TRUE(c.FindText("Aquifer"));
    EXPECT_FALSE(c.HasTextStarting("Layer 1"));
    EXPECT_EQ(c.Curves(PaletteOf(GraphStyle::Screen).zones[3].color).size(), 1u);
}

TEST(GraphDrawing, MeasuredSalinityMarkers) {
    // Every marker's centre at (X(i), Y(value)) in every zone, on 1-, 2- and
    // 3-layer root zones, calculated and measured through one mapping.
    for (int layers = 1; layers <= 3; ++layers)
        for (GraphChoice choice : {GraphChoice::SalinityAll, GraphChoice::SalinityFirst, GraphChoice::SalinityBelow}) {
            SCOPED_TRACE(std::to_string(layers) + " layers, " + GraphChoiceKey(choice));
            GraphData d = SampleRun(6, layers);
            for (int z = 0; z < 5; ++z)
                for (int i = 1 + z % 2; i <= 6; i += 2) d.Series.Measured[z][i] = 1.5 + z + 0.37 * i;
            RecordingCanvas c;
            const GraphDrawn drawn = DrawGraph(d, choice, c);
            const std::vector<int> x = StepPixels(drawn.Scale, 6);
            for (int z = 0; z < 5; ++z) {
                const Rgb color = PaletteOf(GraphStyle::Screen).zones[z].color;
                const std::vector<Point> centres = c.MarkerCentres(color);
                if (!ZoneShown(drawn.Selection, layers, z)) {
                    EXPECT_TRUE(centres.empty()) << z;
                    continue;
                }
                ASSERT_EQ(centres.size(), 4u) << z;  // three measurements and the legend's symbol
                for (int i = 1 + z % 2, k = 1; i <= 6; i += 2, ++k) {
                    const Point expected{x[i], ValuePixel(drawn.Scale, d.Series.Measured[z][i])};
                    EXPECT_EQ(centres[k], expected) << "zone " << z << " step " << i;
                }
            }
        }
}

TEST(GraphDrawing, LegendNeverCoversData) {
    // Values up to the top of the range: the axis grows until the legend
    // stands clear of every value under it.
    for (GraphChoice choice : {GraphChoice::AllHydrology, GraphChoice::SalinityAll, GraphChoice::SalinityBelow}) {
        GraphData d = SampleRun(40, 1);
        for (int i = 1; i <= 40; ++i) {
            d.Series.Rain[i] = i % 5 == 0 ? 100 : 10;
            d.Series.Calculated[0][i] = d.Series.Calculated[3][i] = d.Series.Calculated[4][i] = 4 + (i % 7);
        }
        d.Zones[3] = {0.56, true, 1, false};
        RecordingCanvas c;
        const GraphDrawn drawn = DrawGraph(d, choice, c);
        int legendBottom = 0;
        for (const Op& o : c.ops)
            if (o.kind == Op::Text && o.fontSize == 8 && o.y1 >= AxisTop && o.y1 < AxisBottom)
                legendBottom = std::max(legendBottom, o.y1 + 14);
        ASSERT_GT(legendBottom, AxisTop) << GraphChoiceKey(choice);
        double high = 0;
        for (int i = 1; i <= 40; ++i)
            high = std::max(high, choice == GraphChoice::AllHydrology ? d.Series.Rain[i] : d.Series.Calculated[3][i]);
        EXPECT_GE(ValuePixel(drawn.Scale, high) - 4, legendBottom) << GraphChoiceKey(choice);
    }
}

TEST(GraphDrawing, EveryStepOnceAndNothingErased) {
    // One step: the salinity graph marks the value of its single step.
    RecordingCanvas one;
    DrawGraph(SampleRun(1, 1), GraphChoice::SalinityFirst, one);
    EXPECT_EQ(one.Curves(PaletteOf(GraphStyle::Screen).zones[0].color).size(), 1u);

    // The one-layer graph of all zones: every legend row holds texts apart.
    GraphData d = SampleRun(6, 1);
    d.Zones[3] = {0.7, true, 80, false};
    d.Zones[4] = {0.5, true, 60, false};
    RecordingCanvas all;
    DrawGraph(d, GraphChoice::SalinityAll, all);
    std::vector<std::pair<int, int>> rows;
    for (const Op& o : all.ops)
        if (o.kind == Op::Text && o.fontSize == 8 && o.y1 > AxisTop && o.y1 < AxisBottom)
            rows.push_back({o.y1, o.x1});
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end()) << "two texts at one place";
    EXPECT_TRUE(all.FindText("Transition zone: leaching efficiency 0.70 (optimized), fit index 80 %"));
    EXPECT_TRUE(all.FindText("Aquifer: leaching efficiency 0.50 (optimized), fit index 60 %"));
}

TEST(GraphDrawing, StoppedRunEndsAtTheStop) {
    GraphData d = SampleRun(8);
    d.Series.StopStep = 5;  // steps 5 to 8 were not computed
    for (int i = 5; i <= 8; ++i) d.Series.Dwt[i] = i == 5 ? 40 : 0;
    RecordingCanvas c;
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::AllHydrology, c);
    // Four complete steps.
    EXPECT_EQ(c.Curves(PaletteOf(GraphStyle::Screen).flows[1].color).at(0).points.size(), 8u);
    EXPECT_GE(drawn.Scale.Xmax, 8);  // the time axis still spans the run
    EXPECT_TRUE(c.FindText(StopText(5)));
    // The water table does not rise to the surface after the stop, and the
    // depth that passed the bottom does not stretch the axis.
    RecordingCanvas wt;
    const GraphDrawn table = DrawGraph(d, GraphChoice::WaterTable, wt);
    int bars = 0;
    for (const Op& o : wt.ops)
        if (o.kind == Op::Fill && (o.brush == GraphColor::InactiveCaption || o.brush == GraphColor::LightBlue)) ++bars;
    EXPECT_EQ(bars, 4);
    EXPECT_GT(table.Scale.Ymin, -10);
    RecordingCanvas done;
    DrawGraph(SampleRun(8), GraphChoice::AllHydrology, done);
    EXPECT_FALSE(done.HasTextStarting("Calculations stopped"));
}

TEST(GraphDrawing, BarsStayInsideThePlot) {
    GraphData d = SampleRun(4);
    d.Series.Dwt = {0, 30.5, 31.2, 29.0, 31.0};
    RecordingCanvas c;
    DrawGraph(d, GraphChoice::WaterTable, c);
    for (const Op& o : c.ops)
        if (o.kind == Op::Fill && (o.brush == GraphColor::InactiveCaption || o.brush == GraphColor::LightBlue)) {
            EXPECT_GE(std::min(o.y1, o.y2), AxisTop);
            EXPECT_LE(std::max(o.y1, o.y2), AxisBottom);
        }
}

TEST(GraphDrawing, CurvesReducedPerPixelColumn) {
    // Many points per column: first, lowest, highest and last kept in order.
    const std::vector<Point> many = {{1, 5}, {1, 9}, {1, 2}, {1, 7}, {1, 6}, {2, 4}, {3, 8}, {3, 8}, {4, 1}};
    const std::vector<Point> kept = ReduceToColumns(many);
    const std::vector<Point> expected = {{1, 5}, {1, 9}, {1, 2}, {1, 6}, {2, 4}, {3, 8}, {4, 1}};
    ASSERT_EQ(kept.size(), expected.size());
    for (size_t k = 0; k < kept.size(); ++k) EXPECT_EQ(kept[k], expected[k]) << k;
    // A century of days: a few points per column.
    GraphData d = SampleRun(36500, 1);
    RecordingCanvas c;
    DrawGraph(d, GraphChoice::AllHydrology, c);
    for (const Op& o : c.ops)
        if (o.kind == Op::Poly) {
            EXPECT_LE(o.points.size(), size_t(4 * (AxisWidth + 1)));
        }
}

TEST(GraphDrawing, MonthlyAndYearlyPeriods) {
    GraphData d = SampleRun(65, 1);
    d.StepDays = 1;
    d.Series.Measured[0][3] = 4, d.Series.Measured[0][5] = 6;  // two measurements in the first month
    const GraphData m = Aggregated(d, GraphPeriod::Month);
    ASSERT_EQ(m.Series.N, 3);  // 30 + 30 + 5 days
    EXPECT_EQ(std::make_pair(m.StepDays, m.Period), std::make_pair(30, std::string("Month")));
    double rain = 0, depth = 0;
    for (int i = 31; i <= 60; ++i) rain += d.Series.Rain[i], depth += d.Series.Dwt[i];
    EXPECT_DOUBLE_EQ(m.Series.Rain[2], rain);         // flows totalled
    EXPECT_DOUBLE_EQ(m.Series.Dwt[2], depth / 30);    // depths and salinities averaged
    EXPECT_DOUBLE_EQ(m.Series.Measured[0][1], 5);     // over the measurements made
    EXPECT_EQ(m.Series.Measured[0][2], -1);           // none made
    EXPECT_DOUBLE_EQ(m.Series.Calculated[0][3], (d.Series.Calculated[0][61] + d.Series.Calculated[0][62] +
                                                  d.Series.Calculated[0][63] + d.Series.Calculated[0][64] +
                                                  d.Series.Calculated[0][65]) / 5);
    RecordingCanvas c;
    DrawGraph(m, GraphChoice::AllHydrology, c);
    EXPECT_TRUE(c.FindText("Month"));
    EXPECT_TRUE(c.FindText("mm per time step of 30 days"));
    // A stop in the second month ends the curves with the first.
    d.Series.StopStep = 35;
    EXPECT_EQ(Aggregated(d, GraphPeriod::Month).Series.LastStep(), 1);
    EXPECT_EQ(Aggregated(d, GraphPeriod::Year).Series.N, 1);
    // Steps as long as the period, or of unknown length, stay.
    d.StepDays = 30;
    EXPECT_EQ(Aggregated(d, GraphPeriod::Month).Series.N, 65);
    EXPECT_EQ(Aggregated(d, GraphPeriod::Year).Series.N, 6);
    d.StepDays = 0;
    EXPECT_EQ(Aggregated(d, GraphPeriod::Year).Series.N, 65);
}
