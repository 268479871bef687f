#include "GraphScale.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "GraphChoices.h"
#include "NumberText.h"

namespace halovane {

GraphKind KindOf(GraphChoice choice) { return InfoOf(choice).kind; }

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

// Ymax - Ymin of the rules below, which keep both whole.
int WholeRange(const AxisScale& scale) { return static_cast<int>(scale.Ymax - scale.Ymin); }

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
        scale.Ydiv = WholeRange(scale);
    } else if (scale.YmaxReal < 25) {
        scale.Ymax = 4 * Nearest((scale.YmaxReal + 2) / 4);
        scale.Ydiv = WholeRange(scale) / 4;
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
    scale.Ydiv = WholeRange(scale);
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
    scale.Ydiv = std::min(WholeRange(scale), 10);
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
    scale.Ydiv = WholeRange(scale);
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
    if (!DrawnRange(s, kind, sel, low, high)) low = high = 0;
    // The lower margins of the rules above (0 for the flows, 80 % of the
    // lowest salinity, 90 % of the lowest level); the water-table graph keeps
    // the surface on its axis.
    low = std::min(low, scale.YminReal);
    if (kind == GraphKind::WaterTable) high = std::max(high, scale.YmaxReal);
    SetVerticalAxis(scale, low, high);
    // Time from 0 to the end of the last step.
    const NiceAxis time = NiceTicks(0, std::max(s.N, 1), 10, true);
    scale.Xmin = 0;
    scale.Xmax = static_cast<int>(time.high);
    scale.Xdiv = time.divisions;
    scale.Xdec = 0;
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

double Held(double v) { return std::isfinite(v) ? std::clamp(v, -AxisLimit, AxisLimit) : 0.0; }

// k x step, written with `decimals` decimals as exactly as a double holds it.
double Multiple(double k, double step, int decimals) {
    const double unit = std::pow(10.0, decimals);
    return std::round(k * step * unit) / unit;
}

}  // namespace

NiceAxis NiceTicks(double low, double high, int maxDivisions, bool whole) {
    low = Held(low);
    high = Held(high);
    if (high < low) std::swap(low, high);
    if (high - low <= 1e-12 * std::max(1.0, std::fabs(high))) high = low + 1;
    maxDivisions = std::max(maxDivisions, 1);
    NiceAxis axis;
    const double rough = (high - low) / maxDivisions;
    const int first = static_cast<int>(std::floor(std::log10(rough))) - 1;
    static const double Mantissas[] = {1, 2, 2.5, 5};
    for (int power = first; power <= first + 3; ++power)
        for (double m : Mantissas) {
            const double step = m * std::pow(10.0, power);
            // A step of 2.5 x 10^k needs one decimal more than 10^k.
            const int decimals = std::max(0, -power + (m == 2.5 ? 1 : 0));
            if (whole && (power < 0 || (power == 0 && m == 2.5))) continue;
            const double k0 = std::floor(low / step + 1e-9), k1 = std::ceil(high / step - 1e-9);
            const int divisions = static_cast<int>(k1 - k0);
            if (divisions > maxDivisions) continue;
            axis.step = step;
            axis.divisions = std::max(divisions, 1);
            axis.low = Multiple(k0, step, decimals);
            axis.high = Multiple(k0 + axis.divisions, step, decimals);
            axis.decimals = decimals;
            return axis;
        }
    return axis;  // not reached: 10 x the rough step always fits
}

void SetVerticalAxis(AxisScale& scale, double low, double high) {
    const NiceAxis axis = NiceTicks(low, high);
    scale.Ymin = axis.low;
    scale.Ymax = axis.high;
    scale.Ydiv = axis.divisions;
    scale.Ydec = axis.decimals;
}

namespace {

double VerticalRange(const AxisScale& scale) {
    const double range = scale.Ymax - scale.Ymin;
    return range > 0 ? range : 1;
}

}  // namespace

std::vector<int> StepPixels(const AxisScale& scale, int n) {
    std::vector<int> x(static_cast<size_t>(std::max(n, 0)) + 1, AxisLeft);
    const double width = std::max(scale.Xmax - scale.Xmin, 1);
    for (int i = 0; i <= n; ++i) x[i] = Nearest((i - scale.Xmin) * double(AxisWidth) / width) + AxisLeft;
    return x;
}

int ValuePixel(const AxisScale& scale, double value) {
    if (std::isnan(value)) value = scale.Ymin;
    return AxisBottom - Nearest((value - scale.Ymin) * AxisHeight / VerticalRange(scale));
}

int ZeroLinePixel(const AxisScale& scale) { return ValuePixel(scale, 0); }

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
        const double value = scale.Ymax - double(t) / div * (scale.Ymax - scale.Ymin);
        ticks.push_back({ValuePixel(scale, value), 64, AxisLabel(value, scale.Ydec)});
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
