#include "GraphDrawing.h"

#include <algorithm>

#include "FitGraphs.h"
#include "GraphChoices.h"
#include "NumberText.h"

namespace halovane {

const char* const GraphFooterAddress = "www.halovane.org";

const GraphPalette& PaletteOf(GraphStyle style) {
    using namespace GraphColor;
    using L = LineStyle;
    using M = MarkerShape;
    // Light curves on navy; their dash patterns and symbols tell them apart
    // where the colours come close.
    static const GraphPalette screen = {
        Silver, Navy, White, Silver, Yellow, {InactiveCaption, LightBlue},
        {{White, L::Solid, M::Cross}, {Yellow, L::Dash, M::Circle}, {Green, L::Dot, M::Square},
         {Cyan, L::DashDot, M::TriangleUp}, {Red, L::DashDotDot, M::TriangleDown}, {Tan, L::Solid, M::Cross}},
        {{White, L::Solid, M::Cross}, {Yellow, L::Dash, M::Circle}, {0xFF9900, L::DashDot, M::Square},
         {Cyan, L::Dot, M::TriangleUp}, {Green, L::DashDotDot, M::TriangleDown}},
    };
    // Dark curves on white whose greys differ as well (black, 87, 119, 106,
    // 151 of 255), for reports printed in grey.
    static const GraphPalette print = {
        White, White, Black, 0x404040, 0xB00000, {0xB8C8DC, 0xDCE4EE},
        {{Black, L::Solid, M::Cross}, {0x0072B2, L::Dash, M::Circle}, {0x009E73, L::Dot, M::Square},
         {0xD55E00, L::DashDot, M::TriangleUp}, {0xCC79A7, L::DashDotDot, M::TriangleDown},
         {0xE69F00, L::Solid, M::Cross}},
        {{Black, L::Solid, M::Cross}, {0x0072B2, L::Dash, M::Circle}, {0xD55E00, L::DashDot, M::Square},
         {0x009E73, L::Dot, M::TriangleUp}, {0xCC79A7, L::DashDotDot, M::TriangleDown}},
    };
    return style == GraphStyle::Print ? print : screen;
}

std::vector<Point> ReduceToColumns(const std::vector<Point>& points) {
    std::vector<Point> kept;
    kept.reserve(std::min(points.size(), size_t(4 * (AxisWidth + 2))));
    for (size_t k = 0; k < points.size();) {
        size_t end = k;
        size_t low = k, high = k;
        while (end < points.size() && points[end].x == points[k].x) {
            if (points[end].y < points[low].y) low = end;
            if (points[end].y > points[high].y) high = end;
            ++end;
        }
        const size_t last = end - 1;
        // First, the extremes in the order they were reached, last.
        size_t order[4] = {k, std::min(low, high), std::max(low, high), last};
        for (size_t j = 0; j < 4; ++j)
            if (j == 0 || !(points[order[j]] == kept.back())) kept.push_back(points[order[j]]);
        k = end;
    }
    return kept;
}

void DrawMarker(GraphCanvas& c, MarkerShape shape, int x, int y) {
    constexpr int r = 3;
    c.SetLineStyle(LineStyle::Solid);
    switch (shape) {
        case MarkerShape::Cross:
            c.Line(x - r, y - r, x + r, y + r);
            c.Line(x - r, y + r, x + r, y - r);
            break;
        case MarkerShape::Circle:
            c.Polyline({{x - 1, y - r}, {x + 1, y - r}, {x + r, y - 1}, {x + r, y + 1}, {x + 1, y + r},
                        {x - 1, y + r}, {x - r, y + 1}, {x - r, y - 1}, {x - 1, y - r}});
            break;
        case MarkerShape::Square:
            c.Polyline({{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}, {x - r, y - r}});
            break;
        case MarkerShape::TriangleUp:
            c.Polyline({{x - r, y + r}, {x + r, y + r}, {x, y - r}, {x - r, y + r}});
            break;
        case MarkerShape::TriangleDown:
            c.Polyline({{x - r, y - r}, {x + r, y - r}, {x, y + r}, {x - r, y - r}});
            break;
    }
}

std::string StopText(int step) { return "Calculations stopped at time step " + std::to_string(step); }

std::string FlowUnit(int stepDays) {
    if (stepDays <= 0) return "mm per time step";
    return "mm per time step of " + std::to_string(stepDays) + (stepDays == 1 ? " day" : " days");
}

std::string ZoneFitText(const std::string& zoneCaption, const ZoneEfficiency& e) {
    std::string text = zoneCaption + ": leaching efficiency " + FormatFixed(e.LE, 1, 2);
    if (e.FitNotAvailable) return text + " (assumed), fit index n.a.";
    return text + (e.Optimized ? " (optimized)" : " (assumed)") + ", fit index " + FormatFixed(e.FitIndex, 1, 0) +
           " %";
}

namespace {

constexpr int LegendRow = 14, LegendSample = 24;

// One entry of a legend: a sample of the line, the symbol of the measured
// values, or both, and the text.
struct LegendEntry {
    SeriesLook look;
    bool line, marker;
    std::string text;
};

struct LegendPlace {
    int x, y;
};

// Entries side by side in rows along the top of the plot; `right` receives
// the right end of the widest row, the result the bottom of the last row.
int PlaceLegend(GraphCanvas& c, const std::vector<LegendEntry>& entries, std::vector<LegendPlace>& places,
                int& right) {
    c.SetFontSize(8);
    const int left = AxisLeft + 8, limit = AxisRight - 4;
    int x = left, y = AxisTop + 4;
    right = left;
    places.clear();
    for (const LegendEntry& e : entries) {
        const int width = LegendSample + 5 + c.TextWidth(e.text);
        if (x > left && x + width > limit) {
            x = left;
            y += LegendRow;
        }
        places.push_back({x, y});
        right = std::max(right, x + width);
        x += width + 16;
    }
    return entries.empty() ? AxisTop : y + LegendRow;
}

void DrawLegend(GraphCanvas& c, const GraphPalette& p, const std::vector<LegendEntry>& entries,
                const std::vector<LegendPlace>& places) {
    c.SetFontSize(8);
    for (size_t k = 0; k < entries.size(); ++k) {
        const LegendEntry& e = entries[k];
        const int x = places[k].x, mid = places[k].y + 7;
        c.SetPenColor(e.look.color);
        if (e.line) {
            c.SetLineStyle(e.look.line);
            c.Polyline({{x, mid}, {x + LegendSample, mid}});
        }
        if (e.marker) DrawMarker(c, e.look.marker, x + LegendSample / 2, mid);
        c.SetFontColor(p.ink);
        c.Text(x + LegendSample + 5, places[k].y, e.text);
    }
    c.SetLineStyle(LineStyle::Solid);
}

// What the vertical axis must show: the lowest and highest value drawn, and
// the highest value drawn under the columns `from` to `to`.
struct Drawn {
    std::vector<const std::vector<double>*> series;  // index 1..last
    bool steps = false;  // values of step i stand over (X(i - 1), X(i)], not at X(i)
};

double HighestUnder(const Drawn& d, const std::vector<int>& x, int last, int from, int to, bool& any) {
    double high = 0;
    any = false;
    for (const auto* v : d.series)
        for (int i = 1; i <= last && i < static_cast<int>(v->size()); ++i) {
            // A point at X(i) is joined to X(i - 1) and X(i + 1).
            const int x0 = x[i - 1] - 4, x1 = (d.steps ? x[i] : x[std::min(i + 1, last)]) + 4;
            if (x1 < from || x0 > to) continue;
            const double value = (*v)[i];
            if (value != value) continue;
            high = any ? std::max(high, value) : value;
            any = true;
        }
    return high;
}

// Raises the top of the vertical axis until the legend stands clear of the
// values drawn under it.
void MakeRoomForLegend(AxisScale& scale, const Drawn& d, const std::vector<int>& x, int last, int legendBottom,
                       int legendRight) {
    bool any = false;
    const double high = HighestUnder(d, x, last, AxisLeft, legendRight, any);
    if (!any) return;
    for (int k = 0; k < 12 && ValuePixel(scale, high) - 4 < legendBottom; ++k)
        SetVerticalAxis(scale, scale.Ymin, scale.Ymax + 0.25 * (scale.Ymax - scale.Ymin));
}

void DrawFrame(const GraphData& data, const GraphPalette& p, const GraphLook& look, GraphCanvas& c) {
    using GraphColor::Black;
    c.SetFontSize(10);
    c.SetFontColor(Black);
    c.SetBrushColor(p.page);
    c.FillRect(0, 0, 623, 460);
    c.Text(20, 5, data.Title1);
    c.SetFontSize(8);
    if (look.footer) c.Text(20, 425, std::string("Program Halovane at ") + GraphFooterAddress);
    c.SetBrushColor(p.plot);
    c.FillRect(20, 19, 605, 420);
    c.SetPenColor(p.ink);
    c.SetFontColor(p.ink);
}

// The title of the graph, the unit of its vertical axis and, in the
// salinity graphs, the second title of the data set.
void DrawTitles(const std::string& title, const std::string& unit, const std::string& subtitle,
                const GraphPalette& p, GraphCanvas& c) {
    c.SetFontColor(p.ink);
    c.SetFontSize(10);
    c.Text(80, 19, title);
    c.SetFontSize(8);
    c.Text(24, 32, unit);
    c.SetFontColor(p.subtitle);
    c.Text(std::max(80, 24 + c.TextWidth(unit) + 16), 32, subtitle);
}

void DrawAxes(const AxisScale& scale, const std::string& period, const GraphPalette& p, GraphCanvas& c) {
    c.SetFontSize(8);
    c.SetPenColor(p.ink);
    c.SetFontColor(p.ink);
    c.SetLineStyle(LineStyle::Solid);
    c.Line(AxisLeft, AxisBottom, AxisLeft, AxisTop);
    for (const Tick& t : VerticalTicks(scale)) {
        c.Line(AxisLeft, t.position, AxisLeft - 4, t.position);
        c.TextRightCentred(t.labelPosition, t.position, t.label);
    }
    c.Line(AxisLeft, AxisBottom, AxisRight, AxisBottom);
    for (const Tick& t : HorizontalTicks(scale)) {
        c.Line(t.position, AxisBottom, t.position, AxisBottom + 4);
        // Centred under the tick.
        std::string label = t.label;
        label.erase(0, label.find_first_not_of(' '));
        c.Text(t.position - c.TextWidth(label) / 2, 358, label);
    }
    c.Text(AxisRight - c.TextWidth(period), 373, period);
}

// A curve with a dash pattern, solid where its steps are too narrow for the
// pattern to show; reduced to what the picture can show.
void DrawCurve(GraphCanvas& c, const SeriesLook& look, const std::vector<Point>& points, int steps) {
    c.SetPenColor(look.color);
    c.SetLineStyle(steps > AxisWidth ? LineStyle::Solid : look.line);
    c.Polyline(ReduceToColumns(points));
    c.SetLineStyle(LineStyle::Solid);
}

void DrawHydrology(const GraphData& data, const GraphSelection& sel, AxisScale& scale, const std::vector<int>& x,
                   const GraphPalette& p, const std::string& title, GraphCanvas& c) {
    const GraphSeries& s = data.Series;
    const int last = s.LastStep();
    struct Curve {
        const std::vector<double>* values;
        const char* name;
        bool shown;
    };
    const Curve curves[6] = {
        {&s.Rain, "Rainfall", !sel.SubsurfaceOnly},     {&s.Irrig, "Irrigation", !sel.SubsurfaceOnly},
        {&s.EvapA, "Evaporation", !sel.SubsurfaceOnly}, {&s.Perc, "Percolation", !sel.SurfaceOnly},
        {&s.Cap, "Capillary rise", !sel.SurfaceOnly},   {&s.Drain, "Subs. drainage", !sel.SurfaceOnly},
    };
    std::vector<LegendEntry> legend;
    Drawn drawn;
    drawn.steps = true;
    for (int k = 0; k < 6; ++k) {
        // An input series that could not be read is not drawn, nor named.
        if (!curves[k].shown || curves[k].values->empty()) continue;
        legend.push_back({p.flows[k], true, false, curves[k].name});
        drawn.series.push_back(curves[k].values);
    }
    std::vector<LegendPlace> places;
    int right = 0;
    const int bottom = PlaceLegend(c, legend, places, right);
    MakeRoomForLegend(scale, drawn, x, last, bottom, right);
    DrawTitles(title, FlowUnit(data.StepDays), "", p, c);
    DrawLegend(c, p, legend, places);
    size_t k = 0;
    for (const LegendEntry& entry : legend) {
        const std::vector<double>& v = *drawn.series[k++];
        // The flow of step i over (X(i - 1), X(i)].
        std::vector<Point> points;
        points.reserve(2 * static_cast<size_t>(last) + 1);
        for (int i = 1; i <= last && i < static_cast<int>(v.size()); ++i) {
            const int y = ValuePixel(scale, v[i]);
            points.push_back({x[i - 1], y});
            points.push_back({x[i], y});
        }
        DrawCurve(c, entry.look, points, last);
    }
}

void DrawWaterTable(const GraphData& data, const AxisScale& scale, const std::vector<int>& x, const GraphPalette& p,
                    const std::string& title, GraphCanvas& c) {
    const GraphSeries& s = data.Series;
    const int last = std::min(s.LastStep(), static_cast<int>(s.Dwt.size()) - 1);
    DrawTitles(title, "m", "", p, c);
    // Each bar stands between the level of its step (above the surface
    // positive) and the surface, inside the plot, over (X(i - 1), X(i)].
    auto inside = [](int v) { return std::clamp(v, AxisTop, AxisBottom); };
    const int surface = inside(ZeroLinePixel(scale));
    for (int i = 1; i <= last; ++i) {
        // A step narrower than a pixel column shows nothing.
        if (x[i] == x[i - 1]) continue;
        c.SetBrushColor(p.bars[i % 2 == 1 ? 0 : 1]);
        c.FillRect(x[i - 1], inside(ValuePixel(scale, -s.Dwt[i])), x[i], surface);
    }
    c.SetBrushColor(p.plot);
}

void DrawSalinity(const GraphData& data, const GraphSelection& sel, AxisScale& scale, const std::vector<int>& x,
                  const GraphPalette& p, const std::string& title, bool allLayers, GraphCanvas& c) {
    const GraphSeries& s = data.Series;
    const int n = s.LastStep();
    bool shown[5];
    for (int z = 0; z < 5; ++z) shown[z] = ZoneShown(sel, s.Layers, z);

    // One entry per zone: its line and symbol, its name and, where there is
    // one to tell, its efficiency and fit.
    std::vector<LegendEntry> legend;
    Drawn drawn;
    int zoneOf[5] = {};
    for (int z = 0; z < 5; ++z) {
        if (!shown[z]) continue;
        const std::string caption = ZoneCaption(s.Layers, static_cast<Zone>(z));
        const ZoneEfficiency& e = data.Zones[z];
        // A single root-zone layer tells its efficiency, fitted or not;
        // every other zone when its fit is known.
        const bool single = z < 3 && !allLayers;
        const bool fit = single || (!e.FitNotAvailable && (z < 3 || e.Optimized));
        zoneOf[legend.size()] = z;
        legend.push_back({p.zones[z], true, true, fit ? ZoneFitText(caption, e) : caption});
        drawn.series.push_back(&s.Calculated[z]);
        drawn.series.push_back(&s.Measured[z]);
    }
    std::vector<LegendPlace> places;
    int right = 0;
    const int bottom = PlaceLegend(c, legend, places, right);
    MakeRoomForLegend(scale, drawn, x, n, bottom, right);
    DrawTitles(title, "dS/m", data.Title2, p, c);
    DrawLegend(c, p, legend, places);

    for (size_t k = 0; k < legend.size(); ++k) {
        const int z = zoneOf[k];
        const std::vector<double>& v = s.Calculated[z];
        std::vector<Point> points;
        points.reserve(static_cast<size_t>(n));
        for (int i = 1; i <= n && i < static_cast<int>(v.size()); ++i) points.push_back({x[i], ValuePixel(scale, v[i])});
        // A single step has no segment: a short level mark shows its value.
        if (points.size() == 1) points = {{points[0].x - 3, points[0].y}, {points[0].x + 4, points[0].y}};
        DrawCurve(c, p.zones[z], points, n);
    }
    // Every measured value's symbol centred on its point, over the curves.
    for (size_t k = 0; k < legend.size(); ++k) {
        const int z = zoneOf[k];
        const std::vector<double>& m = s.Measured[z];
        c.SetPenColor(p.zones[z].color);
        for (int i = 1; i <= n && i < static_cast<int>(m.size()); ++i)
            if (m[i] > 0) DrawMarker(c, p.zones[z].marker, x[i], ValuePixel(scale, m[i]));
    }
}

}  // namespace

GraphDrawn DrawGraph(const GraphData& data, GraphChoice choice, GraphCanvas& canvas, const GraphLook& look) {
    const GraphPalette& p = PaletteOf(look.style);
    const GraphChoiceInfo& info = InfoOf(choice);
    GraphDrawn drawn;
    drawn.Kind = info.kind;
    drawn.Selection = SelectionFor(choice, data.Series.Layers);
    drawn.Scale = GraphAxes(data.Series, drawn.Kind, drawn.Selection);
    const std::vector<int> x = StepPixels(drawn.Scale, data.Series.N);
    DrawFrame(data, p, look, canvas);
    switch (drawn.Kind) {
        case GraphKind::Hydrology: DrawHydrology(data, drawn.Selection, drawn.Scale, x, p, info.title, canvas); break;
        case GraphKind::WaterTable: DrawWaterTable(data, drawn.Scale, x, p, info.title, canvas); break;
        case GraphKind::Salinity:
            DrawSalinity(data, drawn.Selection, drawn.Scale, x, p, info.title, choice == GraphChoice::SalinityAll,
                         canvas);
            break;
    }
    DrawAxes(drawn.Scale, data.Period, p, canvas);
    if (data.Series.StopStep > 0) {
        // The curves end before the stop; say why.
        canvas.SetFontSize(8);
        canvas.SetFontColor(p.stop);
        canvas.Text(80, 378, StopText(data.Series.StopStep));
    }
    return drawn;
}

}  // namespace halovane
