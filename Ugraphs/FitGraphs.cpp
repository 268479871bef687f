#include "FitGraphs.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>

#include "NumberText.h"

namespace halovane {

namespace {

using namespace GraphColor;

constexpr Rgb IntervalBlue = 0x2626C0;  // the interval band on the plot area
constexpr Rgb EarlierGrey = 0x9090A0;   // earlier searches of the same zone
constexpr Rgb Warning = 0xFF8080;

int XPixel(double value, const FitAxis& a) {
    return Nearest(FitLeft + (value - a.bottom) / (a.top - a.bottom) * (FitRight - FitLeft));
}
int YPixel(double value, const FitAxis& a) {
    const double v = std::clamp(value, a.bottom, a.top);
    return Nearest(FitBottom - (v - a.bottom) / (a.top - a.bottom) * (FitBottom - FitTop));
}

std::string Fixed(double value, int decimals) { return RemoveBlanks(FormatFixed(value, 0, decimals)); }

// Four significant digits, without the locale.
std::string Significant(double value) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 4);
    return std::string(buffer, r.ec == std::errc() ? r.ptr : buffer);
}

void DrawFitFrame(const std::string& title, GraphCanvas& c) {
    c.SetFontSize(10);
    c.SetFontColor(Black);
    c.SetBrushColor(Silver);
    c.FillRect(0, 0, FitGraphWidth, FitGraphHeight);
    c.Text(8, 3, title);
    c.SetBrushColor(Navy);
    c.FillRect(8, 22, FitGraphWidth - 8, FitGraphHeight - 8);
    c.SetFontSize(8);
}

void DrawFitAxes(const FitAxis& x, const FitAxis& y, const std::string& xTitle, const std::string& yTitle,
                 GraphCanvas& c) {
    c.SetPenColor(White);
    c.SetFontColor(White);
    c.SetFontSize(8);
    c.Line(FitLeft, FitBottom, FitLeft, FitTop);
    c.Line(FitLeft, FitBottom, FitRight, FitBottom);
    for (int t = 0; t <= y.divisions; ++t) {
        const double v = y.bottom + (y.top - y.bottom) * t / y.divisions;
        const int py = YPixel(v, y);
        c.Line(FitLeft, py, FitLeft - 4, py);
        c.TextRightCentred(FitLeft - 6, py, AxisLabel(v, y.decimals));
    }
    for (int t = 0; t <= x.divisions; ++t) {
        const double v = x.bottom + (x.top - x.bottom) * t / x.divisions;
        const int px = XPixel(v, x);
        c.Line(px, FitBottom, px, FitBottom + 4);
        c.Text(px - 8, FitBottom + 6, AxisLabel(v, x.decimals));
    }
    c.Text(FitRight - 6 * static_cast<int>(xTitle.size()), FitBottom + 22, xTitle);
    c.Text(14, 67, yTitle);
}

void Polyline(const std::vector<double>& xs, const std::vector<double>& ys, const FitAxis& x, const FitAxis& y,
              GraphCanvas& c) {
    for (size_t k = 1; k < xs.size() && k < ys.size(); ++k)
        c.Line(XPixel(xs[k - 1], x), YPixel(ys[k - 1], y), XPixel(xs[k], x), YPixel(ys[k], y));
}

}  // namespace

std::string ZoneCaption(int layers, Zone zone) {
    static const char* const captions[ZoneCount] = {"Layer 1", "Layer 2", "Layer 3", "Transition zone", "Aquifer"};
    if (layers == 1 && zone == Zone::Layer1) return "Root zone";
    return captions[static_cast<int>(zone)];
}

FitAxis RoundAxis(double largest, double smallest) {
    FitAxis axis;
    if (!(largest > 0) || !std::isfinite(largest)) return axis;
    // From 0, unless every value lies in the upper part of the range.
    const double low = smallest > 0.4 * largest && smallest < largest ? smallest : 0;
    // A step of 1, 2 or 5 times a power of ten, at most ten steps.
    const double magnitude = std::pow(10.0, std::floor(std::log10((largest - low) / 5)));
    for (double unit : {1.0, 2.0, 5.0, 10.0}) {
        const double step = unit * magnitude;
        const double bottom = std::floor(low / step + 1e-9) * step;
        const int divisions = static_cast<int>(std::ceil((largest - bottom) / step - 1e-9));
        if (divisions <= 10) {
            axis.bottom = bottom;
            axis.divisions = std::max(divisions, 1);
            axis.top = bottom + step * axis.divisions;
            axis.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
            return axis;
        }
    }
    return axis;
}

ProfileGraph ProfileGraphOf(const FitReport& report, size_t row) {
    ProfileGraph g;
    const ZoneReport& z = report.zones.at(row);
    const ProfileSummary& p = z.profile;
    g.title = ZoneCaption(report.layers, z.zone) + ": score of every trial leaching efficiency";
    const SearchProfile& last = report.searches.at(static_cast<size_t>(z.search - 1));
    g.trials = last.trials;
    g.scores = last.scores;
    for (int k = 0; k + 1 < z.search; ++k)
        if (report.searches[k].zone == z.zone) g.earlier.push_back(report.searches[k].scores);
    g.best = p.best, g.low = p.low, g.high = p.high, g.limit = p.limit;
    g.bestAtEdge = p.bestAtEdge, g.notDetermined = p.notDetermined, g.flat = p.flat, g.capped = p.capped;
    return g;
}

ScatterGraph ScatterGraphOf(const FitReport& report, size_t row, const std::vector<double>& simulated,
                            const std::vector<double>& measured) {
    ScatterGraph g;
    const ZoneReport& z = report.zones.at(row);
    g.title = ZoneCaption(report.layers, z.zone) + ": simulated against measured salinity";
    // A stopped run is compared over the steps before the stop.
    const size_t end = report.stoppedAtStep > 0 ? static_cast<size_t>(report.stoppedAtStep) : simulated.size();
    for (size_t i = 1; i < end && i < simulated.size() && i < measured.size(); ++i)
        if (measured[i] > 0) {
            g.measured.push_back(measured[i]);
            g.simulated.push_back(simulated[i]);
        }
    const FitStatistics& s = z.stats;
    g.statistics = "n = " + std::to_string(s.n) + "   RMSE = " + Fixed(s.rmse, 2) + " dS/m   bias = " +
                   Fixed(s.bias, 2) + "   NSE = " + (s.nseDefined ? Fixed(s.nse, 2) : "n.a.") +
                   "   r\xC2\xB2 = " + (s.r2Defined ? Fixed(s.r2, 2) : "n.a.");
    return g;
}

void DrawProfileGraph(const ProfileGraph& g, GraphCanvas& c) {
    DrawFitFrame(g.title, c);
    const FitAxis x = RoundAxis(2.0);
    double largest = g.limit;
    for (double s : g.scores) largest = std::max(largest, s);
    for (const auto& e : g.earlier)
        for (double s : e) largest = std::max(largest, s);
    // The scores near the limit decide the interval: the axis ends at four
    // times the limit and higher scores run along its top.
    const bool cut = g.limit > 0 && largest > 4 * g.limit;
    const FitAxis y = RoundAxis(cut ? 4 * g.limit : largest);

    // The interval: every trial whose score is at most the limit.
    c.SetBrushColor(IntervalBlue);
    c.FillRect(XPixel(g.low, x), FitTop, XPixel(g.high, x) + 1, FitBottom);
    c.SetBrushColor(Navy);
    // The limit, dashed.
    c.SetPenColor(Yellow);
    const int ly = YPixel(g.limit, y);
    for (int px = FitLeft; px < FitRight; px += 8) c.Line(px, ly, std::min(px + 4, FitRight), ly);
    c.SetPenColor(EarlierGrey);
    for (const auto& e : g.earlier) Polyline(g.trials, e, x, y, c);
    c.SetPenColor(Cyan);
    Polyline(g.trials, g.scores, x, y, c);
    c.SetPenColor(Yellow);
    c.Line(XPixel(g.best, x), FitBottom, XPixel(g.best, x), FitTop);

    c.SetFontColor(Yellow);
    c.Text(FitLeft + 10, 26, "Best " + Fixed(g.best, 2) + "    approx. 95 % interval " + Fixed(g.low, 2) + " - " +
                                 Fixed(g.high, 2) + "    limit " + Significant(g.limit));
    std::string others;
    for (auto [flag, text] : {std::pair{g.bestAtEdge, "best at the edge of the range"}, {g.flat, "flat profile"},
                              {g.capped, "scores capped at 1000"}})
        if (flag) others += (others.empty() ? "" : ", ") + std::string(text);
    if (!others.empty()) others[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(others[0])));
    c.SetFontColor(Warning);
    if (g.notDetermined) {
        c.Text(FitLeft + 10, 39, "Not determined by these measurements");
        c.Text(FitLeft + 10, 53, others);
    } else {
        c.Text(FitLeft + 10, 39, others);
    }
    if (!g.earlier.empty()) {
        c.SetFontColor(EarlierGrey);
        c.Text(FitRight - 110, 67, "grey: earlier search");
    }
    DrawFitAxes(x, y, "Leaching efficiency (fraction)",
                std::string("Score (dS/m)\xC2\xB2") + (cut ? ", higher scores cut off" : ""), c);
}

void DrawScatterGraph(const ScatterGraph& g, GraphCanvas& c) {
    DrawFitFrame(g.title, c);
    double largest = 0, smallest = 0;
    for (const auto* series : {&g.measured, &g.simulated})
        for (double v : *series) {
            largest = std::max(largest, v);
            smallest = smallest == 0 ? v : std::min(smallest, v);
        }
    const FitAxis axis = RoundAxis(largest, smallest);
    c.SetPenColor(Silver);
    c.Line(XPixel(axis.bottom, axis), YPixel(axis.bottom, axis), XPixel(axis.top, axis), YPixel(axis.top, axis));
    c.SetFontColor(Silver);
    c.Text(FitRight - 22, FitTop + 22, "1:1");
    c.SetPenColor(Cyan);
    for (size_t k = 0; k < g.measured.size() && k < g.simulated.size(); ++k) {
        const int px = XPixel(g.measured[k], axis), py = YPixel(g.simulated[k], axis);
        c.Line(px - 3, py - 3, px + 4, py + 4);
        c.Line(px - 3, py + 3, px + 4, py - 4);
    }
    c.SetFontColor(Yellow);
    c.Text(FitLeft + 10, 26, g.statistics);
    if (g.measured.empty()) {
        c.SetFontColor(Warning);
        c.Text(FitLeft + 10, 39, "No measured values: the input data file could not be read.");
    }
    DrawFitAxes(axis, axis, "Measured (dS/m)", "Simulated (dS/m)", c);
}

}  // namespace halovane

namespace halovane {

BalanceGraph BalanceGraphOf(const RunBalance& balance) {
    BalanceGraph g;
    g.title = "Cumulative discrepancy of the water and salt balances (%)";
    for (const BalanceSummary& s : balance.summary) {
        BalanceCurve curve;
        curve.label = std::string(BalanceKindName(s.kind)) + " " + BalanceZoneLabel(s.zone, balance.layers);
        curve.percent.reserve(static_cast<size_t>(balance.steps));
        for (const BalanceRow& row : balance.rows)
            if (row.kind == s.kind && row.zone == s.zone) curve.percent.push_back(row.cumulative.Percent());
        g.curves.push_back(std::move(curve));
    }
    return g;
}

void DrawBalanceGraph(const BalanceGraph& g, GraphCanvas& c) {
    DrawFitFrame(g.title, c);
    size_t steps = 1;
    double largest = 0;
    for (const BalanceCurve& curve : g.curves) {
        steps = std::max(steps, curve.percent.size());
        for (double v : curve.percent)
            if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
    }
    const FitAxis x = RoundAxis(static_cast<double>(steps));
    // Symmetric about 0: a discrepancy has either sign.
    const FitAxis half = RoundAxis(largest > 0 ? largest : 1);
    FitAxis y = half;
    y.bottom = -half.top;
    y.divisions = 2 * half.divisions <= 10 ? 2 * half.divisions : half.divisions;
    c.SetPenColor(Silver);
    c.Line(FitLeft, YPixel(0, y), FitRight, YPixel(0, y));
    static const Rgb colors[] = {Yellow, Cyan, Green, Red, 0xFF80C0, 0xFFD040, 0x98FB98, LightBlue, Tan, White};
    for (size_t k = 0; k < g.curves.size(); ++k) {
        const Rgb color = colors[k % (sizeof colors / sizeof colors[0])];
        const std::vector<double>& p = g.curves[k].percent;
        c.SetPenColor(color);
        for (size_t i = 1; i < p.size(); ++i)
            if (std::isfinite(p[i - 1]) && std::isfinite(p[i]))
                c.Line(XPixel(static_cast<double>(i), x), YPixel(p[i - 1], y), XPixel(static_cast<double>(i + 1), x),
                       YPixel(p[i], y));
        // The legend: three columns of up to four lines above the plot.
        c.SetFontColor(color);
        c.Text(FitLeft + 10 + static_cast<int>(k / 4) * 125, 26 + static_cast<int>(k % 4) * 13, g.curves[k].label);
    }
    DrawFitAxes(x, y, "Time step", "", c);
}

}  // namespace halovane
