// The pictures of the fit report: axis ranges and what the drawing writes
// and where it draws the marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FitGraphs.h"

using namespace halovane;

namespace {

// Keeps the texts and the lines in their colours.
class Recorder : public GraphCanvas {
public:
    struct Mark {
        Rgb color;
        int x1, y1, x2, y2;
    };
    std::vector<std::string> texts;
    std::vector<Mark> lines;
    void SetFontSize(int) override {}
    void SetFontColor(Rgb) override {}
    void SetPenColor(Rgb c) override { pen = c; }
    void SetBrushColor(Rgb) override {}
    void SetLineStyle(LineStyle) override {}
    void Polyline(const std::vector<Point>&) override {}
    int TextWidth(const std::string& t) override { return 6 * static_cast<int>(t.size()); }
    void FillRect(int, int, int, int) override {}
    void Line(int x1, int y1, int x2, int y2) override { lines.push_back({pen, x1, y1, x2, y2}); }
    void Text(int, int, const std::string& t) override { texts.push_back(t); }
    void TextRightCentred(int, int, const std::string& t) override { texts.push_back(t); }
    bool Wrote(const std::string& part) const {
        return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
    }
    Rgb pen = 0;
};

ProfileGraph Valley(double best, double limit) {
    ProfileGraph g;
    g.trials = TrialEfficiencies();
    for (double t : g.trials) g.scores.push_back(limit / 2 + 400 * (t - best) * (t - best));
    g.best = best, g.low = best - 0.05, g.high = best + 0.05, g.limit = limit;
    return g;
}

}  // namespace

TEST(FitGraphs, AxesEndAtRoundValues) {
    FitAxis a = RoundAxis(2.0);
    EXPECT_EQ(a.bottom, 0);
    EXPECT_DOUBLE_EQ(a.top, 2.0);
    EXPECT_EQ(a.divisions, 10);
    EXPECT_EQ(a.decimals, 1);
    a = RoundAxis(374.8);
    EXPECT_DOUBLE_EQ(a.top, 400);
    EXPECT_EQ(a.decimals, 0);
    // Salinities between 9.1 and 13.6: the axis starts below them, not at 0.
    a = RoundAxis(13.6, 9.09);
    EXPECT_DOUBLE_EQ(a.bottom, 9);
    EXPECT_DOUBLE_EQ(a.top, 14);
    EXPECT_LE(a.divisions, 10);
    // Spread over most of the range: from 0.
    EXPECT_EQ(RoundAxis(12, 3).bottom, 0);
    // Nothing to show (a perfect fit): a plain axis, no division by zero.
    a = RoundAxis(0);
    EXPECT_EQ(a.top, 1);
}

TEST(FitGraphs, ProfileMarksTheBestValueAndWritesTheFlags) {
    ProfileGraph g = Valley(0.60, 2);
    Recorder r;
    DrawProfileGraph(g, r);
    EXPECT_TRUE(r.Wrote("Best 0.60"));
    EXPECT_TRUE(r.Wrote("interval 0.55 - 0.65"));
    EXPECT_FALSE(r.Wrote("Not determined"));
    EXPECT_FALSE(r.Wrote("flat"));
    // Scores up to 400 * 1.3^2 against a limit of 2: the axis is cut.
    EXPECT_TRUE(r.Wrote("higher scores cut off"));
    // The best value: a vertical yellow line at 0.60 on an axis of 0 to 2.
    const int x = FitLeft + static_cast<int>(0.60 / 2.0 * (FitRight - FitLeft) + 0.5);
    EXPECT_TRUE(std::any_of(r.lines.begin(), r.lines.end(), [&](const Recorder::Mark& m) {
        return m.color == GraphColor::Yellow && m.x1 == x && m.x2 == x && m.y1 == FitBottom && m.y2 == FitTop;
    }));

    g = Valley(0.11, 900);
    g.bestAtEdge = g.notDetermined = g.flat = g.capped = true;
    Recorder edge;
    DrawProfileGraph(g, edge);
    EXPECT_TRUE(edge.Wrote("Not determined by these measurements"));
    EXPECT_TRUE(edge.Wrote("Best at the edge of the range, flat profile, scores capped at 1000"));
    EXPECT_FALSE(edge.Wrote("cut off"));
}

TEST(FitGraphs, ScatterHasTheOneToOneLineAndAMarkPerPair) {
    FitReport report;
    report.layers = 2;
    ZoneReport row;
    row.zone = Zone::Transition;
    row.stats.n = 3;
    row.stats.rmse = 0.5;
    report.zones.push_back(row);
    // Steps 0..4: step 0 is the initial state, step 2 was not measured.
    const ScatterGraph g = ScatterGraphOf(report, 0, {9, 10, 11, 12, 13}, {-1, 10.5, -1, 11.5, 12});
    EXPECT_EQ(g.title, "Transition zone: simulated against measured salinity");
    EXPECT_EQ(g.measured, (std::vector<double>{10.5, 11.5, 12}));
    EXPECT_EQ(g.simulated, (std::vector<double>{10, 12, 13}));
    Recorder r;
    DrawScatterGraph(g, r);
    EXPECT_TRUE(r.Wrote("n = 3   RMSE = 0.50 dS/m"));
    EXPECT_TRUE(r.Wrote("1:1"));
    const auto silver = std::count_if(r.lines.begin(), r.lines.end(),
                                      [](const Recorder::Mark& m) { return m.color == GraphColor::Silver; });
    EXPECT_EQ(silver, 1);
    const auto cyan = std::count_if(r.lines.begin(), r.lines.end(),
                                    [](const Recorder::Mark& m) { return m.color == GraphColor::Cyan; });
    EXPECT_EQ(cyan, 2 * 3);
    // The 1:1 line runs corner to corner of the plot.
    for (const auto& m : r.lines)
        if (m.color == GraphColor::Silver) {
            EXPECT_EQ(m.x1, FitLeft);
            EXPECT_EQ(m.y1, FitBottom);
            EXPECT_EQ(m.x2, FitRight);
            EXPECT_EQ(m.y2, FitTop);
        }
}
