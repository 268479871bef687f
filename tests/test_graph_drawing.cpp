// What the three graphs draw, recorded on a canvas without a window.
#include <gtest/gtest.h>

#include <algorithm>

#include "GraphDrawing.h"

using namespace halovane;

namespace {

struct Op {
    enum Kind { Fill, Line, Text, RightText } kind;
    int x1, y1, x2, y2;
    std::string text;
    Rgb pen, font, brush;
    int fontSize;
};

class RecordingCanvas : public GraphCanvas {
public:
    std::vector<Op> ops;

    void SetFontSize(int points) override { size_ = points; }
    void SetFontColor(Rgb c) override { font_ = c; }
    void SetPenColor(Rgb c) override { pen_ = c; }
    void SetBrushColor(Rgb c) override { brush_ = c; }
    void FillRect(int x1, int y1, int x2, int y2) override { Add(Op::Fill, x1, y1, x2, y2, ""); }
    void Line(int x1, int y1, int x2, int y2) override { Add(Op::Line, x1, y1, x2, y2, ""); }
    void Text(int x, int y, const std::string& t) override { Add(Op::Text, x, y, 0, 0, t); }
    void TextRightCentred(int right, int y, const std::string& t) override { Add(Op::RightText, right, y, 0, 0, t); }

    std::vector<Op> Lines(Rgb pen) const {
        std::vector<Op> r;
        for (const Op& o : ops)
            if (o.kind == Op::Line && o.pen == pen) r.push_back(o);
        return r;
    }
    const Op* FindText(const std::string& t) const {
        for (const Op& o : ops)
            if (o.kind == Op::Text && o.text == t) return &o;
        return nullptr;
    }
    std::vector<const Op*> Texts(const std::string& t) const {
        std::vector<const Op*> r;
        for (const Op& o : ops)
            if (o.kind == Op::Text && o.text == t) r.push_back(&o);
        return r;
    }
    bool HasTextStarting(const std::string& prefix) const {
        return std::any_of(ops.begin(), ops.end(), [&](const Op& o) { return o.text.rfind(prefix, 0) == 0; });
    }

private:
    void Add(Op::Kind k, int x1, int y1, int x2, int y2, const std::string& t) {
        ops.push_back({k, x1, y1, x2, y2, t, pen_, font_, brush_, size_});
    }
    int size_ = 0;
    Rgb pen_ = 0, font_ = 0, brush_ = 0;
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
    const GraphData d = SampleRun(5);
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::AllHydrology, c);
    ASSERT_GE(c.ops.size(), 2u);
    // Silver picture, navy plot area.
    EXPECT_EQ(c.ops[0].kind, Op::Fill);
    EXPECT_EQ(c.ops[0].brush, GraphColor::Silver);
    const Op* title = c.FindText("First title");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->x1, 20);
    EXPECT_EQ(title->y1, 5);
    EXPECT_EQ(title->fontSize, 10);
    const Op* footer = c.FindText(std::string("Program Halovane at ") + GraphFooterAddress);
    ASSERT_TRUE(footer);
    EXPECT_EQ(footer->y1, 425);
    EXPECT_EQ(footer->fontSize, 8);
    const auto navy = std::find_if(c.ops.begin(), c.ops.end(),
                                   [](const Op& o) { return o.kind == Op::Fill && o.brush == GraphColor::Navy; });
    ASSERT_NE(navy, c.ops.end());
    EXPECT_EQ(std::make_tuple(navy->x1, navy->y1, navy->x2, navy->y2), std::make_tuple(20, 19, 605, 420));
    const Op* time = c.FindText("Time step");
    ASSERT_TRUE(time);
    EXPECT_EQ(std::make_pair(time->x1, time->y1), std::make_pair(516, 375));
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
            EXPECT_EQ(o.x1, 64);
            EXPECT_EQ(o.brush, GraphColor::Navy);
            EXPECT_EQ(o.font, GraphColor::White);
            EXPECT_EQ(o.fontSize, 8);
        }
    EXPECT_EQ(rightLabels, drawn.Scale.Ydiv + 1);
    EXPECT_EQ(c.ops.back().kind, Op::Text);  // the last horizontal label
    EXPECT_EQ(c.ops.back().y1, 362);
}

TEST(GraphDrawing, HydrologyStepLines) {
    const int n = 6;
    RecordingCanvas c;
    const GraphData d = SampleRun(n);
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::AllHydrology, c);
    const std::vector<int> x = StepPixels(drawn.Scale, n + 1);
    // N treads and N - 1 risers per series: the last step is drawn too and
    // ends at X(N + 1), inside the axis.
    const Rgb colors[] = {GraphColor::Yellow, GraphColor::Green, GraphColor::Cyan, GraphColor::Red, GraphColor::Tan};
    for (Rgb color : colors) EXPECT_EQ(c.Lines(color).size(), size_t(2 * n - 1)) << std::hex << color;
    const Op lastTread = c.Lines(GraphColor::Yellow).back();
    EXPECT_EQ(std::make_pair(lastTread.x1, lastTread.x2), std::make_pair(x[n] + 2, x[n + 1] + 2));
    EXPECT_LE(x[n + 1], AxisRight);
    const std::vector<Op> irrig = c.Lines(GraphColor::Yellow);
    const int y1 = HydrologyPixel(drawn.Scale, d.Series.Irrig[1]), y2 = HydrologyPixel(drawn.Scale, d.Series.Irrig[2]);
    EXPECT_EQ(std::make_tuple(irrig[0].x1, irrig[0].y1, irrig[0].x2, irrig[0].y2),
              std::make_tuple(x[1] + 2, y1, x[2] + 2, y1));
    EXPECT_EQ(std::make_tuple(irrig[1].x1, irrig[1].y1, irrig[1].x2, irrig[1].y2),
              std::make_tuple(x[2] + 2, y1, x[2] + 2, y2));
    // Offsets: rain -2, evaporation 0, percolation +1, capillary rise +2, drainage +3.
    EXPECT_EQ(c.Lines(GraphColor::Green)[0].x1, x[1]);
    EXPECT_EQ(c.Lines(GraphColor::Cyan)[0].x1, x[1] + 1);
    EXPECT_EQ(c.Lines(GraphColor::Red)[0].x1, x[1] + 2);
    EXPECT_EQ(c.Lines(GraphColor::Tan)[0].x1, x[1] + 3);
    const std::vector<Op> white = c.Lines(GraphColor::White);
    EXPECT_TRUE(std::any_of(white.begin(), white.end(), [&](const Op& o) { return o.x1 == x[1] - 2; }));

    // Legend of all seven entries; "Surf. drainage" has no curve.
    const Op* perc = c.FindText("- - - Percolation");
    ASSERT_TRUE(perc);
    EXPECT_EQ(std::make_tuple(perc->x1, perc->y1, perc->font), std::make_tuple(80, 90, GraphColor::Cyan));
    const Op* surf = c.FindText("- - - Surf. drainage");
    ASSERT_TRUE(surf);
    EXPECT_EQ(std::make_tuple(surf->y1, surf->font), std::make_tuple(75, GraphColor::LightBlue));
    ASSERT_TRUE(c.FindText("Hydrologic flow factors (mm / time step)"));
    EXPECT_TRUE(c.Lines(GraphColor::LightBlue).empty());
}

TEST(GraphDrawing, HydrologySurfaceAndSubsurface) {
    const GraphData d = SampleRun(4);
    RecordingCanvas surface;
    DrawGraph(d, GraphChoice::SurfaceHydrology, surface);
    EXPECT_TRUE(surface.Lines(GraphColor::Cyan).empty());
    EXPECT_TRUE(surface.Lines(GraphColor::Tan).empty());
    EXPECT_EQ(surface.Lines(GraphColor::Yellow).size(), 7u);
    EXPECT_FALSE(surface.FindText("- - - Percolation"));

    RecordingCanvas subsurface;
    DrawGraph(d, GraphChoice::SubsurfaceHydrology, subsurface);
    EXPECT_TRUE(subsurface.Lines(GraphColor::Yellow).empty());
    EXPECT_FALSE(subsurface.FindText("- - - Rainfall"));
    const Op* perc = subsurface.FindText("- - - Percolation");
    ASSERT_TRUE(perc);
    EXPECT_EQ(perc->y1, 30);
    EXPECT_EQ(subsurface.FindText("- - - Subs. drainage")->y1, 60);

    // One step: one tread per series; no input file: no rain or irrigation curve.
    RecordingCanvas one;
    DrawGraph(SampleRun(1), GraphChoice::AllHydrology, one);
    EXPECT_EQ(one.Lines(GraphColor::Yellow).size(), 1u);
    GraphData noInput = SampleRun(4);
    noInput.Series.Rain.clear();
    noInput.Series.Irrig.clear();
    RecordingCanvas blank;
    DrawGraph(noInput, GraphChoice::AllHydrology, blank);
    EXPECT_TRUE(blank.Lines(GraphColor::Yellow).empty());
    EXPECT_EQ(blank.Lines(GraphColor::Green).size(), 7u);
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
    ASSERT_EQ(bars.size(), size_t(n));  // the last step has its bar
    EXPECT_EQ(bars[0].brush, GraphColor::InactiveCaption);
    EXPECT_EQ(bars[1].brush, GraphColor::LightBlue);
    EXPECT_EQ(bars[2].brush, GraphColor::InactiveCaption);
    // Every level below the surface: bars hang from y = 50 down to the level.
    const std::vector<int> x = StepPixels(drawn.Scale, n + 1);
    EXPECT_EQ(std::make_tuple(bars[0].x1, bars[0].x2, bars[0].y2), std::make_tuple(x[1], x[2], 50));
    EXPECT_EQ(std::make_pair(bars[n - 1].x1, bars[n - 1].x2), std::make_pair(x[n], x[n + 1]));
    EXPECT_EQ(bars[0].y1, WaterTablePixel(drawn.Scale, -d.Series.Dwt[1]));
    // Labels after the bars are written on navy again.
    for (const Op& o : c.ops)
        if (o.kind == Op::RightText) {
            EXPECT_EQ(o.brush, GraphColor::Navy);
        }
    ASSERT_TRUE(c.FindText(" Level of water table relative to soil surface"));

    // Water above the surface: bars between the zero line and the level.
    d.Series.Dwt = {0, -0.5, 0.4, -0.2};
    d.Series.N = 3;
    RecordingCanvas above;
    drawn = DrawGraph(d, GraphChoice::WaterTable, above);
    const int y0 = ZeroLinePixel(drawn.Scale);
    std::vector<Op> fills;
    for (const Op& o : above.ops)
        if (o.kind == Op::Fill && o.brush == GraphColor::InactiveCaption) fills.push_back(o);
    ASSERT_EQ(fills.size(), 2u);  // steps 1 and 3
    EXPECT_EQ(fills[0].y1, WaterTablePixel(drawn.Scale, 0.5));
    EXPECT_EQ(fills[0].y2, y0);
}

TEST(GraphDrawing, SalinityOfAllSoilLayers) {
    // One layer: layer 1, transition zone and aquifer; no efficiency lines.
    GraphData d = SampleRun(4, 1);
    RecordingCanvas one;
    DrawGraph(d, GraphChoice::SalinityAll, one);
    EXPECT_TRUE(one.FindText("- - - Layer 1 calculated"));
    EXPECT_TRUE(one.FindText("- - - Transition zone calculated"));
    EXPECT_TRUE(one.FindText("- - - Aquifer calculated"));
    EXPECT_FALSE(one.FindText("- - - Layer 2 calculated"));
    EXPECT_FALSE(one.HasTextStarting("Leaching efficiency"));
    EXPECT_EQ(one.Lines(GraphColor::Silver).size(), 3u);
    EXPECT_EQ(one.Lines(GraphColor::Pink).size(), 3u);
    const Op* second = one.FindText("Second title");
    ASSERT_TRUE(second);
    EXPECT_EQ(std::make_tuple(second->x1, second->y1, second->font), std::make_tuple(70, 20, GraphColor::Silver));

    // Three layers: the root-zone layers only, still no efficiency lines.
    d = SampleRun(4, 3);
    RecordingCanvas three;
    DrawGraph(d, GraphChoice::SalinityAll, three);
    EXPECT_EQ(three.FindText("- - - Layer 2 calculated")->y1, 90);
    EXPECT_EQ(three.FindText("- - - Layer 2 calculated")->font, GraphColor::White);
    EXPECT_EQ(three.FindText("  s   Layer 3 measured")->y1, 135);
    EXPECT_FALSE(three.FindText("- - - Transition zone calculated"));
    EXPECT_TRUE(three.Lines(GraphColor::Cyan).empty());
    EXPECT_FALSE(three.HasTextStarting("Leaching efficiency"));
}

TEST(GraphDrawing, SalinityOfOneLayerWithItsFit) {
    GraphData d = SampleRun(4, 3);
    RecordingCanvas assumed;
    DrawGraph(d, GraphChoice::SalinityFirst, assumed);
    const Op* le = assumed.FindText("Leaching efficiency :   0.61 (assumed)");
    ASSERT_TRUE(le);
    EXPECT_EQ(std::make_tuple(le->x1, le->y1, le->font), std::make_tuple(390, 25, GraphColor::White));
    const Op* fit = assumed.FindText("Model fit index (%)  : n.a.");
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->y1, 40);

    d.Zones[1] = {0.11, true, 50, false};
    RecordingCanvas optimized;
    DrawGraph(d, GraphChoice::SalinitySecond, optimized);
    le = optimized.FindText("Leaching efficiency :   0.11 (optimized)");
    ASSERT_TRUE(le);
    EXPECT_EQ(le->font, GraphColor::Yellow);  // layer 1 is hidden
    EXPECT_TRUE(optimized.FindText("Model fit index (%)  :    50"));
    const Op* legend = optimized.FindText("- - - Layer 2 calculated");
    ASSERT_TRUE(legend);
    EXPECT_EQ(std::make_tuple(legend->y1, legend->font), std::make_tuple(60, GraphColor::Yellow));
    EXPECT_TRUE(optimized.Lines(GraphColor::Silver).empty());

    d.Zones[2] = {0.58, false, 27, false};
    RecordingCanvas given;
    DrawGraph(d, GraphChoice::SalinityThird, given);
    EXPECT_EQ(given.FindText("Leaching efficiency :   0.58 (assumed)")->font, GraphColor::Green);
    EXPECT_TRUE(given.FindText("Model fit index (%)  :    27"));
    EXPECT_EQ(given.FindText("- - - Layer 3 calculated")->y1, 60);
}

TEST(GraphDrawing, SalinityBelowTheRootZone) {
    GraphData d = SampleRun(4, 2);
    d.Zones[3] = {0.11, true, 34, false};  // optimised transition zone
    d.Zones[4] = {0.45, false, 52, false}; // given aquifer: no line
    RecordingCanvas c;
    DrawGraph(d, GraphChoice::SalinityBelow, c);
    const Op* le = c.FindText(" Leaching efficiency (optimized)  = 0.11");
    ASSERT_TRUE(le);
    EXPECT_EQ(std::make_tuple(le->x1, le->y1, le->font), std::make_tuple(80, 60, GraphColor::Cyan));
    const Op* cd = c.FindText(" Coefficient of determination (%) = 34");
    ASSERT_TRUE(cd);
    EXPECT_EQ(cd->y1, 75);
    EXPECT_EQ(c.Texts(" Leaching efficiency (optimized)  = 0.11").size(), 1u);
    EXPECT_FALSE(c.HasTextStarting(" Leaching efficiency (optimized)  = 0.45"));
    EXPECT_FALSE(c.FindText("- - - Layer 1 calculated"));
    EXPECT_EQ(c.Lines(GraphColor::Cyan).size(), 3u);
}

TEST(GraphDrawing, MeasuredSalinityMarkers) {
    GraphData d = SampleRun(5, 1);
    d.Series.Measured[0] = {0, 3.1, -1, 0, 4.2, 2.5};  // steps 1, 4, 5 measured
    d.Series.Measured[4] = {0, -1, 6.0, -1, -1, -1};
    RecordingCanvas c;
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::SalinityAll, c);
    const std::vector<int> x = StepPixels(drawn.Scale, 5);
    const std::vector<const Op*> crosses = c.Texts("x");
    ASSERT_EQ(crosses.size(), 3u);
    EXPECT_EQ(crosses[0]->x1, x[1] - 7);
    EXPECT_EQ(crosses[0]->y1, MeasuredSalinityPixel(drawn.Scale, 3.1));
    EXPECT_EQ(crosses[0]->font, GraphColor::White);
    EXPECT_EQ(crosses[0]->fontSize, 10);
    const std::vector<const Op*> vees = c.Texts("v");
    ASSERT_EQ(vees.size(), 1u);
    EXPECT_EQ(std::make_tuple(vees[0]->x1, vees[0]->y1, vees[0]->font),
              std::make_tuple(x[2] + 12, MeasuredSalinityPixel(drawn.Scale, 6.0) - 2, GraphColor::PaleGreen));
    EXPECT_TRUE(c.Texts("z").empty());
    // The measured 6.0 of the aquifer widens the axis.
    EXPECT_GE(drawn.Scale.YmaxReal, 1.4 * 6.0);
}

TEST(GraphDrawing, EveryStepOnceAndNothingErased) {
    // One step: the salinity graph marks the value of its single step.
    RecordingCanvas one;
    DrawGraph(SampleRun(1, 1), GraphChoice::SalinityFirst, one);
    EXPECT_EQ(one.Lines(GraphColor::Silver).size(), 1u);

    // The one-layer graph of all zones: the fit lines of an optimised
    // transition zone and aquifer stand below the layer-1 legend.
    GraphData d = SampleRun(6, 1);
    d.Zones[3] = {0.7, true, 80, false};
    d.Zones[4] = {0.5, true, 60, false};
    RecordingCanvas all;
    DrawGraph(d, GraphChoice::SalinityAll, all);
    const Op* legend = all.FindText("  x   Layer 1 measured");
    ASSERT_TRUE(legend);
    std::vector<int> rows;
    for (const Op& o : all.ops)
        if (o.kind == Op::Text && o.x1 == 80 && o.y1 >= 30 && o.y1 < 200) rows.push_back(o.y1);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(std::adjacent_find(rows.begin(), rows.end()), rows.end()) << "two texts on one line at x = 80";
    EXPECT_GT(all.FindText(" Leaching efficiency (optimized)  = 0.7")->y1, legend->y1);
}

TEST(GraphDrawing, StoppedRunEndsAtTheStop) {
    GraphData d = SampleRun(8);
    d.Series.StopStep = 5;  // steps 5 to 8 were not computed
    for (int i = 5; i <= 8; ++i) d.Series.Dwt[i] = i == 5 ? 40 : 0;
    RecordingCanvas c;
    const GraphDrawn drawn = DrawGraph(d, GraphChoice::AllHydrology, c);
    // Four complete steps: four treads and three risers per curve.
    EXPECT_EQ(c.Lines(GraphColor::Yellow).size(), 7u);
    EXPECT_EQ(drawn.Scale.Xn, 9);  // the time axis still spans the run
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
