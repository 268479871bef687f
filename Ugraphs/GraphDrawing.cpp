#include "GraphDrawing.h"

#include <algorithm>

#include "NumberText.h"

namespace halovane {

const char* const GraphFooterAddress = "www.halovane.org";

namespace {

using namespace GraphColor;

int At(const std::vector<int>& v, int i) { return v[i]; }

// Pixel values of a series, index 1..N (element 0 unused).
template <typename Map>
std::vector<int> Pixels(const std::vector<double>& values, int n, Map map) {
    std::vector<int> y(static_cast<size_t>(n) + 1, 0);
    for (int i = 1; i <= n && i < static_cast<int>(values.size()); ++i) y[i] = map(values[i]);
    return y;
}

void DrawFrame(const GraphData& data, GraphCanvas& c) {
    c.SetFontSize(10);
    c.SetFontColor(Black);
    c.SetBrushColor(Silver);
    c.FillRect(0, 0, 623, 460);
    c.Text(20, 5, data.Title1);
    c.SetFontSize(8);
    c.Text(20, 425, std::string("Program Halovane at ") + GraphFooterAddress);
    c.SetBrushColor(Navy);
    c.FillRect(20, 19, 605, 420);
    c.SetPenColor(White);
    c.SetFontColor(White);
    c.Text(516, 375, "Time step");
}

void DrawAxes(const AxisScale& scale, GraphCanvas& c) {
    c.SetPenColor(White);
    c.SetFontColor(White);
    c.Line(AxisLeft, AxisBottom, AxisLeft, AxisTop);
    for (const Tick& t : VerticalTicks(scale)) {
        c.Line(AxisLeft, t.position, AxisLeft - 4, t.position);
        c.TextRightCentred(t.labelPosition, t.position, t.label);
    }
    c.Line(AxisLeft, AxisBottom, AxisRight, AxisBottom);
    for (const Tick& t : HorizontalTicks(scale)) {
        c.Line(t.position, AxisBottom, t.position, AxisBottom + 4);
        c.Text(t.labelPosition, 362, t.label);
    }
}

void Legend(GraphCanvas& c, Rgb color, int x, int y, const char* text) {
    c.SetFontColor(color);
    c.Text(x, y, text);
}

void DrawHydrology(const GraphData& data, const GraphSelection& sel, const AxisScale& scale,
                   const std::vector<int>& x, GraphCanvas& c) {
    const GraphSeries& s = data.Series;
    c.Text(270, 20, "Hydrologic flow factors (mm / time step)");
    if (!sel.SubsurfaceOnly) {
        Legend(c, White, 80, 30, "- - - Rainfall");
        Legend(c, Yellow, 80, 45, "- - - Irrigation");
        Legend(c, Green, 80, 60, "- - - Evaporation");
        Legend(c, LightBlue, 80, 75, "- - - Surf. drainage");
    }
    if (!sel.SurfaceOnly) {
        const int top = sel.SubsurfaceOnly ? 30 : 90;
        Legend(c, Cyan, 80, top, "- - - Percolation");
        Legend(c, Red, 80, top + 15, "- - - Capillary rise");
        Legend(c, Tan, 80, top + 30, "- - - Subs. drainage");
    }
    struct Curve {
        const std::vector<double>* values;
        Rgb color;
        int offset;
        bool shown;
    };
    const Curve curves[] = {
        {&s.Rain, White, -2, !sel.SubsurfaceOnly}, {&s.Irrig, Yellow, 2, !sel.SubsurfaceOnly},
        {&s.EvapA, Green, 0, !sel.SubsurfaceOnly}, {&s.Perc, Cyan, 1, !sel.SurfaceOnly},
        {&s.Cap, Red, 2, !sel.SurfaceOnly},        {&s.Drain, Tan, 3, !sel.SurfaceOnly},
    };
    const int last = s.LastStep();
    for (const Curve& curve : curves) {
        // An input series that could not be read is not drawn.
        if (!curve.shown || curve.values->empty()) continue;
        const std::vector<int> y = Pixels(*curve.values, last, [&](double v) { return HydrologyPixel(scale, v); });
        const int d = curve.offset;
        c.SetPenColor(curve.color);
        // Steps: the value of step i runs from X(i) to X(i + 1), the last
        // step's too.
        for (int i = 1; i <= last; ++i) {
            c.Line(At(x, i) + d, At(y, i), At(x, i + 1) + d, At(y, i));
            if (i < last) c.Line(At(x, i + 1) + d, At(y, i), At(x, i + 1) + d, At(y, i + 1));
        }
    }
}

void DrawWaterTable(const GraphData& data, const AxisScale& scale, const std::vector<int>& x, GraphCanvas& c) {
    const GraphSeries& s = data.Series;
    const int last = s.LastStep();
    c.Text(80, 30, " Level of water table relative to soil surface");
    // Levels, above the surface positive.
    std::vector<double> level(static_cast<size_t>(last) + 1, 0);
    for (int i = 1; i <= last && i < static_cast<int>(s.Dwt.size()); ++i) level[i] = -s.Dwt[i];
    const std::vector<int> y = Pixels(level, last, [&](double l) { return WaterTablePixel(scale, l); });
    // Each bar stands between the level of its step and the surface (the
    // top of the axis when the water stays below it), inside the plot.
    auto inside = [](int v) { return std::clamp(v, AxisTop, AxisBottom); };
    const int surface = inside(ZeroLinePixel(scale));
    for (int i = 1; i <= last; ++i) {
        c.SetBrushColor(i % 2 == 1 ? InactiveCaption : LightBlue);
        c.FillRect(At(x, i), inside(At(y, i)), At(x, i + 1), surface);
    }
    c.SetBrushColor(Navy);
}

struct ZoneStyle {
    Rgb curve;         // calculated line
    const char* marker;
    Rgb markerColor;
    int dx, dy;        // marker offset from the measured point
};

const ZoneStyle ZoneStyles[5] = {
    {Silver, "x", White, -7, 0},   {White, "o", MarkerYellow, 0, 0}, {Green, "s", PaleGreen, 7, 2},
    {Cyan, "z", Cyan, 12, -2},     {Pink, "v", PaleGreen, 12, -2},
};

void DrawSalinity(const GraphData& data, GraphChoice choice, const GraphSelection& sel, const AxisScale& scale,
                  const std::vector<int>& x, GraphCanvas& c) {
    const GraphSeries& s = data.Series;
    const int n = s.LastStep();
    c.SetFontColor(Silver);
    c.Text(70, 20, data.Title2);
    c.SetFontColor(White);
    c.Text(80, 40, "Soil moisture salinity (ECsm in dS / m)");

    bool shown[5];
    for (int z = 0; z < 5; ++z) shown[z] = ZoneShown(sel, s.Layers, z);

    // Legends of the root-zone layers and, for a single layer, its
    // efficiency and fit.
    const Rgb layer2Color = sel.HideLayer1 ? Yellow : White;
    const bool layersOnly12Hidden = sel.HideLayer1 && sel.HideLayer2;
    struct LayerLegend {
        const char* calculated;
        const char* measured;
        Rgb color;
        int y;
        Rgb efficiencyColor;
    };
    const LayerLegend layerLegends[3] = {
        {"- - - Layer 1 calculated", "  x   Layer 1 measured", Silver, 60, White},
        {"- - - Layer 2 calculated", "  o   Layer 2 measured", layer2Color, sel.HideLayer1 ? 60 : 90, layer2Color},
        {"- - - Layer 3 calculated", "  s   Layer 3 measured", Green, layersOnly12Hidden ? 60 : 120, Green},
    };
    for (int z = 0; z < 3; ++z) {
        if (!shown[z]) continue;
        const LayerLegend& l = layerLegends[z];
        Legend(c, l.color, 80, l.y, l.calculated);
        Legend(c, l.color, 80, l.y + 15, l.measured);
        if (choice == GraphChoice::SalinityAll) continue;
        const ZoneEfficiency& e = data.Zones[z];
        const std::string le = FormatFixed(e.LE, 6, 2);
        c.SetFontColor(l.efficiencyColor);
        if (e.FitNotAvailable) {
            c.Text(390, 25, "Leaching efficiency : " + le + " (assumed)");
            c.Text(390, 40, "Model fit index (%)  : n.a.");
        } else if (sel.HideBelowRootZone) {
            c.Text(390, 25, "Leaching efficiency : " + le + (e.Optimized ? " (optimized)" : " (assumed)"));
            c.Text(390, 40, "Model fit index (%)  : " + FormatFixed(e.FitIndex, 5, 0));
        }
    }
    if (!sel.HideBelowRootZone) {
        Legend(c, Cyan, 370, 25, "- - - Transition zone calculated");
        Legend(c, Cyan, 370, 40, "  z   Transition zone measured");
        Legend(c, Pink, 370, 55, "- - - Aquifer calculated");
        Legend(c, Pink, 370, 70, "  v   Aquifer measured");
        // The fit of an optimised transition zone or aquifer, below the
        // legend of layer 1 when that is shown.
        const int below = shown[0] ? 30 : 0;
        const struct {
            int zone;
            Rgb color;
            int y;
        } fits[] = {{3, Cyan, 60 + below}, {4, Pink, 90 + below}};
        for (const auto& f : fits) {
            const ZoneEfficiency& e = data.Zones[f.zone];
            if (e.FitNotAvailable || !e.Optimized) continue;
            c.SetFontColor(f.color);
            c.Text(80, f.y, " Leaching efficiency (optimized)  = " + GeneralText(e.LE));
            c.Text(80, f.y + 15, " Coefficient of determination (%) = " + GeneralText(e.FitIndex));
        }
    }

    c.SetFontColor(White);
    c.SetFontSize(10);
    std::vector<int> calculated[5], measured[5];
    for (int z = 0; z < 5; ++z) {
        if (!shown[z]) continue;
        calculated[z] = Pixels(s.Calculated[z], n, [&](double v) { return CalculatedSalinityPixel(scale, v); });
        measured[z] = Pixels(s.Measured[z], n, [&](double v) { return MeasuredSalinityPixel(scale, v); });
    }
    for (int i = 1; i <= n - 1; ++i)
        for (int z = 0; z < 5; ++z) {
            if (!shown[z]) continue;
            c.SetPenColor(ZoneStyles[z].curve);
            c.Line(At(x, i), At(calculated[z], i), At(x, i + 1), At(calculated[z], i + 1));
        }
    // A single step has no segment: a short level mark shows its value.
    if (n == 1)
        for (int z = 0; z < 5; ++z) {
            if (!shown[z]) continue;
            c.SetPenColor(ZoneStyles[z].curve);
            c.Line(At(x, 1) - 3, At(calculated[z], 1), At(x, 1) + 4, At(calculated[z], 1));
        }
    for (int z = 0; z < 5; ++z) {
        if (!shown[z]) continue;
        const ZoneStyle& style = ZoneStyles[z];
        const std::vector<double>& m = s.Measured[z];
        c.SetFontColor(style.markerColor);
        for (int i = 1; i <= n && i < static_cast<int>(m.size()); ++i)
            if (m[i] > 0)
                c.Text(At(x, i) + style.dx, At(measured[z], i) + style.dy, style.marker);
    }
    c.SetFontSize(8);
}

}  // namespace

std::string StopText(int step) { return "Calculations stopped at time step " + std::to_string(step); }

GraphDrawn DrawGraph(const GraphData& data, GraphChoice choice, GraphCanvas& canvas) {
    GraphDrawn drawn;
    drawn.Kind = KindOf(choice);
    drawn.Selection = SelectionFor(choice, data.Series.Layers);
    drawn.Scale = GraphAxes(data.Series, drawn.Kind, drawn.Selection);
    // X(N + 1) ends the last step.
    const std::vector<int> x = StepPixels(drawn.Scale, data.Series.N + 1);
    DrawFrame(data, canvas);
    switch (drawn.Kind) {
        case GraphKind::Hydrology: DrawHydrology(data, drawn.Selection, drawn.Scale, x, canvas); break;
        case GraphKind::WaterTable: DrawWaterTable(data, drawn.Scale, x, canvas); break;
        case GraphKind::Salinity: DrawSalinity(data, choice, drawn.Selection, drawn.Scale, x, canvas); break;
    }
    DrawAxes(drawn.Scale, canvas);
    if (data.Series.StopStep > 0) {
        // The curves end before the stop; say why.
        canvas.SetFontSize(8);
        canvas.SetFontColor(Yellow);
        canvas.Text(80, 385, StopText(data.Series.StopStep));
    }
    return drawn;
}

}  // namespace halovane
