#include "GraphScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "NumberText.h"

namespace halovane {

GraphKind KindOf(GraphChoice choice) {
    switch (choice) {
        case GraphChoice::AllHydrology:
        case GraphChoice::SurfaceHydrology:
        case GraphChoice::SubsurfaceHydrology: return GraphKind::Hydrology;
        case GraphChoice::WaterTable: return GraphKind::WaterTable;
        default: return GraphKind::Salinity;
    }
}

GraphSelection SelectionFor(GraphChoice choice, int layers) {
    GraphSelection sel;  // AllZones set, every other flag clear
    switch (choice) {
        case GraphChoice::AllHydrology:
        case GraphChoice::WaterTable: break;
        case GraphChoice::SurfaceHydrology: sel.SurfaceOnly = true; break;
        case GraphChoice::SubsurfaceHydrology: sel.SubsurfaceOnly = true; break;
        case GraphChoice::SalinityAll:
            // One layer: every zone at once; more: the root-zone layers.
            if (layers > 1) {
                sel.HideBelowRootZone = true;
                sel.RootLayersOnly = true;
                sel.AllZones = false;
            }
            break;
        case GraphChoice::SalinityFirst:
            sel.AllZones = false;
            sel.HideLayer2 = sel.HideLayer3 = sel.HideBelowRootZone = true;
            break;
        case GraphChoice::SalinitySecond:
            sel.AllZones = false;
            sel.HideLayer1 = sel.HideLayer3 = sel.HideBelowRootZone = true;
            break;
        case GraphChoice::SalinityThird:
            sel.AllZones = false;
            sel.HideLayer1 = sel.HideLayer2 = sel.HideBelowRootZone = true;
            break;
        case GraphChoice::SalinityBelow:
            sel.AllZones = false;
            sel.HideLayer1 = sel.HideLayer2 = sel.HideLayer3 = true;
            break;
    }
    return sel;
}

int Nearest(double x) {
    // Held well inside int so that sums and multiples of results stay in range.
    constexpr double Limit = 1e9;
    if (std::isnan(x)) return 0;
    if (x >= Limit) return static_cast<int>(Limit);
    if (x <= -Limit) return -static_cast<int>(Limit);
    const double low = std::floor(x);
    const double fraction = x - low;  // exact
    double r = low;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(low, 2.0) != 0)) r = low + 1;
    return static_cast<int>(r);
}

namespace {

// Values 1..N of a series that holds them (shorter series: those it has).
template <typename F>
void ForSteps(const std::vector<double>& v, int n, F f) {
    const int last = std::min(n, static_cast<int>(v.size()) - 1);
    for (int i = 1; i <= last; ++i) f(v[i]);
}

void DoubleSmallDivisions(AxisScale& scale) {
    if (scale.Ydiv < 5) scale.Ydiv *= 2;
    if (scale.Ydiv < 5) scale.Ydiv *= 2;
}

// A constant or empty series would give Ymax = Ymin and a mapping that
// divides by zero: give it one unit of room above its value instead.
void KeepRangeOpen(AxisScale& scale) {
    if (scale.Ymax <= scale.Ymin) {
        scale.Ymax = scale.Ymin + 1;
        scale.Ydiv = 5;
    }
    if (scale.Ydiv < 1) scale.Ydiv = 1;
}

// Water-table and salinity graphs round the vertical range alike.
void RoundRange(AxisScale& scale) {
    if (scale.YmaxReal < 10) {
        scale.Ymax = Nearest(scale.YmaxReal + 0.5);
        scale.Ydiv = scale.Ymax - scale.Ymin;
    } else if (scale.YmaxReal < 25) {
        scale.Ymax = 4 * Nearest((scale.YmaxReal + 2) / 4);
        scale.Ydiv = (scale.Ymax - scale.Ymin) / 4;
    }
    DoubleSmallDivisions(scale);
}

}  // namespace

void ScaleHorizontal(int n, GraphKind kind, AxisScale& scale) {
    const double xn = n + 1.0;
    scale.Xn = xn;
    scale.Xmin = 0;
    if (xn < 10) {
        scale.Xmax = Nearest(xn + 0.5);
        scale.Xdiv = scale.Xmax;
    } else if (xn < 25) {
        scale.Xmax = 4 * Nearest((xn + 2) / 4);
        scale.Xdiv = scale.Xmax / 4;
    } else if (xn < 50) {
        scale.Xmax = 5 * Nearest((xn + 2.5) / 5);
        scale.Xdiv = scale.Xmax / 5;
    } else if (xn < 100) {
        scale.Xmax = 10 * Nearest((xn + 5) / 10);
        scale.Xdiv = scale.Xmax / 10;
    } else if (xn < 250) {
        scale.Xmax = 25 * Nearest((2 * xn + 25) / 50);
        scale.Xdiv = scale.Xmax / 25;
    } else if (xn < 500) {
        scale.Xmax = 50 * Nearest((xn + 25) / 50);
        scale.Xdiv = scale.Xmax / 50;
    } else if (xn < 1000) {
        scale.Xmax = 100 * Nearest((xn + 50) / 100);
        scale.Xdiv = scale.Xmax / 100;
    } else if (xn < 10000) {
        scale.Xmax = 1000 * Nearest((xn + 500) / 1000);
        scale.Xdiv = scale.Xmax / 1000;
    } else {
        scale.Xmax = 10000 * Nearest((xn + 5000) / 10000);
        scale.Xdiv = scale.Xmax / 10000;
    }
    if (kind == GraphKind::WaterTable) {
        if (scale.Xdiv < 5) scale.Xdiv *= 2;
    } else if (kind == GraphKind::Salinity) {
        if (scale.Xdiv < 5) scale.Xdiv *= 2;
        if (scale.Xdiv > 10) scale.Xdiv = 10;
    }
    scale.Xdec = xn < 6 ? 1 : 0;
}

void ScaleHydrology(const GraphSeries& s, const GraphSelection& sel, AxisScale& scale) {
    double mx = 0;
    auto take = [&mx](double v) { mx = std::max(mx, v); };
    if (!sel.SubsurfaceOnly) {
        ForSteps(s.Rain, s.LastStep(), take);
        ForSteps(s.Irrig, s.LastStep(), take);
        ForSteps(s.EvapA, s.LastStep(), take);
    }
    if (!sel.SurfaceOnly) {
        ForSteps(s.Perc, s.LastStep(), take);
        ForSteps(s.Cap, s.LastStep(), take);
        ForSteps(s.Drain, s.LastStep(), take);
    }
    scale.YmaxReal = 1.2 * mx;
    // The graph of all six flows leaves room for its longer legend.
    if (!sel.SurfaceOnly && !sel.SubsurfaceOnly) scale.YmaxReal *= 1.2;
    scale.YminReal = 0;
    scale.Ymin = 0;
    scale.Ymax = Nearest(scale.YmaxReal + 2);
    scale.Ydiv = scale.Ymax;
    scale.Ydec = 2;
    const double r = scale.YmaxReal;
    if (scale.Ydiv > 10 && scale.Ydiv <= 20) {
        scale.Ydiv = Nearest(r - 8);
        scale.Ydec = 1;
    }
    if (scale.Ydiv > 20 && scale.Ydiv <= 30) {
        scale.Ydiv = Nearest(r - 18);
        scale.Ydec = 1;
    }
    if (scale.Ydiv > 30 && scale.Ydiv <= 40) {
        scale.Ydiv = Nearest(r - 28);
        scale.Ydec = 1;
    }
    if (scale.Ydiv > 40 && scale.Ydiv <= 50) {
        scale.Ydiv = Nearest(r - 38);
        scale.Ydec = 0;
    }
    if (scale.Ydiv > 50) {
        scale.Ydiv = Nearest(r - 48);
        scale.Ydec = 0;
    }
    if (scale.Ydiv > 10) scale.Ydiv = 10;
    if (scale.Ydiv < 4) scale.Ydiv = 5;
}

void ScaleWaterTable(const GraphSeries& s, AxisScale& scale) {
    // Levels: above the surface positive.
    double lmax = -1000000, lmin = 1000000;
    bool any = false;
    ForSteps(s.Dwt, s.LastStep(), [&](double depth) {
        lmax = std::max(lmax, -depth);
        lmin = std::min(lmin, -depth);
        any = true;
    });
    if (!any) lmax = lmin = 0;
    scale.YmaxReal = std::max(1.2 * lmax, 0.0);
    scale.Ymax = Nearest(scale.YmaxReal + 0.5);
    scale.YminReal = 0.9 * lmin;
    scale.Ymin = Nearest(scale.YminReal - 0.5);
    scale.Ydec = 1;
    scale.Ydiv = std::min(scale.Ymax - scale.Ymin, 10);
    RoundRange(scale);
    KeepRangeOpen(scale);
}

bool ZoneShown(const GraphSelection& sel, int layers, int zone) {
    switch (zone) {
        case 0: return !sel.HideLayer1;
        case 1: return layers >= 2 && !sel.HideLayer2;
        case 2: return layers >= 3 && !sel.HideLayer3;
        default: return !sel.HideBelowRootZone;
    }
}

void ScaleSalinity(const GraphSeries& s, const GraphSelection& sel, AxisScale& scale) {
    bool scaled[5] = {false, false, false, false, false};
    if (sel.AllZones) {
        // Every zone, with the series of absent layers as they were read.
        for (bool& z : scaled) z = true;
    } else if (sel.RootLayersOnly) {
        scaled[0] = scaled[1] = true;
        scaled[2] = s.Layers == 3;
    } else {
        scaled[0] = !sel.HideLayer1;
        scaled[1] = !sel.HideLayer2;
        scaled[2] = !sel.HideLayer3;
        scaled[3] = scaled[4] = !sel.HideBelowRootZone;
    }
    double smax = 0, smin = 1000000;
    bool any = false;
    auto take = [&](double v) {
        smax = std::max(smax, v);
        smin = std::min(smin, v);
        any = true;
    };
    for (int z = 0; z < 5; ++z) {
        if (!scaled[z]) continue;
        ForSteps(s.Calculated[z], s.LastStep(), take);
        ForSteps(s.Measured[z], s.LastStep(), [&](double m) {
            if (m > 0) take(m);
        });
    }
    if (!any) smin = 0;
    scale.YmaxReal = 1.4 * smax;
    scale.YminReal = std::max(0.8 * smin, 0.0);
    scale.Ymax = Nearest(scale.YmaxReal);
    scale.Ymin = Nearest(scale.YminReal - 0.5);
    scale.Ydiv = scale.Ymax - scale.Ymin;
    scale.Ydec = 1;
    RoundRange(scale);
    if (scale.Ydiv > 10) scale.Ydiv = 10;
    if (sel.AllZones) {
        // Room for the legend of five zones; the divisions stay.
        scale.YmaxReal *= 1.2;
        scale.Ymax = Nearest(scale.YmaxReal);
    }
    KeepRangeOpen(scale);
}

AxisScale ScaleGraph(const GraphSeries& s, GraphKind kind, const GraphSelection& sel) {
    AxisScale scale;
    ScaleHorizontal(s.N, kind, scale);
    switch (kind) {
        case GraphKind::Hydrology: ScaleHydrology(s, sel, scale); break;
        case GraphKind::WaterTable: ScaleWaterTable(s, scale); break;
        case GraphKind::Salinity: ScaleSalinity(s, sel, scale); break;
    }
    return scale;
}

AxisScale GraphAxes(const GraphSeries& s, GraphKind kind, const GraphSelection& sel) {
    AxisScale scale = ScaleGraph(s, kind, sel);
    double low = 0, high = 0;
    if (!DrawnRange(s, kind, sel, low, high)) low = high = scale.Ymin;
    ReadableAxes(low, high, scale);
    return scale;
}

bool DrawnRange(const GraphSeries& s, GraphKind kind, const GraphSelection& sel, double& low, double& high) {
    bool any = false;
    auto take = [&](double v) {
        if (std::isnan(v)) return;
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    };
    const int last = s.LastStep();
    switch (kind) {
        case GraphKind::Hydrology:
            if (!sel.SubsurfaceOnly)
                for (const auto* v : {&s.Rain, &s.Irrig, &s.EvapA}) ForSteps(*v, last, take);
            if (!sel.SurfaceOnly)
                for (const auto* v : {&s.Perc, &s.Cap, &s.Drain}) ForSteps(*v, last, take);
            break;
        case GraphKind::WaterTable: ForSteps(s.Dwt, last, [&](double depth) { take(-depth); }); break;
        case GraphKind::Salinity:
            for (int z = 0; z < 5; ++z) {
                if (!ZoneShown(sel, s.Layers, z)) continue;
                ForSteps(s.Calculated[z], last, take);
                ForSteps(s.Measured[z], last, [&](double m) {
                    if (m > 0) take(m);
                });
            }
            break;
    }
    return any;
}

namespace {

// Values beyond this are held at it: the axis of a damaged file stays a
// number of int and its labels a few characters.
constexpr double AxisLimit = 1e8;

// The decimals (0 to 3) a step needs to be written exactly, or -1.
int DecimalsOf(double step) {
    for (int d = 0; d <= 3; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-9 * std::max(1.0, std::fabs(scaled))) return d;
    }
    return -1;
}

// Divides the range [lo, hi] (whole units) into at most ten steps of 1, 2,
// 2.5 or 5 times a power of ten; widens the range to a whole number of
// steps at the end `downwards` names.
void NiceDivisions(int& lo, int& hi, int& div, int& dec, bool downwards) {
    const double range = double(hi) - lo;
    static const double Mantissas[] = {1, 2, 2.5, 5};
    // Exact divisions first, the smallest step that gives at most ten.
    for (double power = 0.01; power <= 1e9; power *= 10)
        for (double m : Mantissas) {
            const double step = m * power;
            if (range / step > 10 + 1e-9) continue;
            const double count = range / step;
            if (std::fabs(count - std::round(count)) > 1e-9 || std::round(count) < 1) continue;
            div = static_cast<int>(std::round(count));
            dec = std::max(dec, DecimalsOf(step));
            return;
        }
    // No such step: widen the range to a whole number of whole steps.
    for (double power = 1; power <= 1e9; power *= 10)
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * power;
            if (range / step > 10 + 1e-9) continue;
            div = std::max(1, static_cast<int>(std::ceil(range / step - 1e-9)));
            const int widened = static_cast<int>(div * step);
            if (downwards)
                lo = hi - widened;
            else
                hi = lo + widened;
            dec = std::max(dec, 0);
            return;
        }
}

}  // namespace

void ReadableAxes(double low, double high, AxisScale& scale) {
    low = std::clamp(low, -AxisLimit, AxisLimit);
    high = std::clamp(high, -AxisLimit, AxisLimit);
    scale.Ymax = std::clamp(scale.Ymax, -static_cast<int>(AxisLimit), static_cast<int>(AxisLimit));
    scale.Ymin = std::clamp(scale.Ymin, -static_cast<int>(AxisLimit), static_cast<int>(AxisLimit));
    bool changed = false;
    if (low < scale.Ymin) {
        scale.Ymin = static_cast<int>(std::floor(low));
        changed = true;
    }
    if (high > scale.Ymax) {
        scale.Ymax = static_cast<int>(std::ceil(high));
        changed = true;
    }
    if (scale.Ymax <= scale.Ymin) {
        scale.Ymax = scale.Ymin + 1;
        changed = true;
    }
    const int range = scale.Ymax - scale.Ymin;
    const int needed = scale.Ydiv >= 1 ? DecimalsOf(double(range) / scale.Ydiv) : -1;
    if (changed || scale.Ydiv > 10 || needed < 0) {
        int dec = scale.Ydec;
        NiceDivisions(scale.Ymin, scale.Ymax, scale.Ydiv, dec, scale.Ymax <= 0 && scale.Ymin < 0);
        scale.Ydec = dec;
    } else {
        scale.Ydec = std::max(scale.Ydec, needed);
    }
    if (scale.Xdiv > 10 || scale.Xdiv < 1) {
        int xmin = scale.Xmin, dec = scale.Xdec;
        NiceDivisions(xmin, scale.Xmax, scale.Xdiv, dec, false);
        scale.Xdec = dec;
    }
}

namespace {

double VerticalRange(const AxisScale& scale) { return std::max(scale.Ymax - scale.Ymin, 1); }

}  // namespace

std::vector<int> StepPixels(const AxisScale& scale, int n) {
    std::vector<int> x(static_cast<size_t>(std::max(n, 0)) + 1, AxisLeft);
    const double width = std::max(scale.Xmax - scale.Xmin, 1);
    for (int i = 1; i <= n; ++i) x[i] = Nearest(i * double(AxisWidth) / width) + AxisLeft;
    return x;
}

int HydrologyPixel(const AxisScale& scale, double value) {
    return 348 - Nearest((value - scale.Ymin) * AxisHeight / VerticalRange(scale));
}

int WaterTablePixel(const AxisScale& scale, double level) {
    return 346 - Nearest((level - scale.Ymin) * AxisHeight / VerticalRange(scale));
}

int CalculatedSalinityPixel(const AxisScale& scale, double value) {
    return 350 - Nearest((value - scale.Ymin) * AxisHeight / VerticalRange(scale));
}

int MeasuredSalinityPixel(const AxisScale& scale, double value) {
    return 348 - Nearest((value - scale.Ymin) * AxisHeight / VerticalRange(scale));
}

int ZeroLinePixel(const AxisScale& scale) {
    const long long range = std::max(scale.Ymax - scale.Ymin, 1);
    return static_cast<int>(AxisBottom + (static_cast<long long>(scale.Ymin) * AxisHeight) / range);
}

std::string AxisLabel(double value, int decimals) {
    std::string text = FormatFixed(value, decimals + 2, decimals);
    // A value that rounds to zero reads 0, not -0.
    const size_t minus = text.find('-');
    if (minus != std::string::npos && text.find_first_of("123456789") == std::string::npos) text[minus] = ' ';
    if (static_cast<int>(text.size()) > decimals + 2 && text[0] == ' ') text.erase(0, 1);
    return text;
}

std::string GeneralText(double value) {
    if (value == 0) return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    // "1.5e+20" -> "1.5E20", "1e-05" -> "1E-5"
    std::string exponent = text.substr(e + 1);
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
    exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
    return text.substr(0, e) + "E" + (negative ? "-" : "") + exponent;
}

std::vector<Tick> VerticalTicks(const AxisScale& scale) {
    std::vector<Tick> ticks;
    const int div = std::max(scale.Ydiv, 1);
    for (int t = 0; t <= div; ++t) {
        const double part = double(t) / div;
        const double value = scale.Ymax - part * (scale.Ymax - scale.Ymin);
        ticks.push_back({Nearest(part * AxisHeight + AxisTop), 64, AxisLabel(value, scale.Ydec)});
    }
    return ticks;
}

std::vector<Tick> HorizontalTicks(const AxisScale& scale) {
    std::vector<Tick> ticks;
    const int div = std::max(scale.Xdiv, 1);
    for (int t = 0; t <= div; ++t) {
        const double part = double(t) / div;
        const double value =
            scale.Xmin + static_cast<double>(static_cast<long long>(scale.Xmax - scale.Xmin) * t) / div;
        ticks.push_back({Nearest(part * AxisWidth + AxisLeft), Nearest(part * AxisWidth + 62),
                         AxisLabel(value, scale.Xdec)});
    }
    return ticks;
}

}  // namespace halovane
