#include "FitReport.h"

#include "RunStop.h"

#include <algorithm>
#include <cmath>

#include "Fields.h"
#include "NumberText.h"

namespace halovane {

namespace {

// Continued fraction of the incomplete beta function (modified Lentz).
double BetaContinuedFraction(double a, double b, double x) {
    const double tiny = 1e-300, eps = 1e-16;
    const double qab = a + b, qap = a + 1, qam = a - 1;
    double c = 1, d = 1 - qab * x / qap;
    if (std::fabs(d) < tiny) d = tiny;
    d = 1 / d;
    double h = d;
    for (int m = 1; m <= 1000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < tiny) d = tiny;
        c = 1 + aa / c;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < tiny) d = tiny;
        c = 1 + aa / c;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1) < eps) break;
    }
    return h;
}

// The regularised incomplete beta function I_x(a, b).
double IncompleteBeta(double a, double b, double x) {
    if (x <= 0) return 0;
    if (x >= 1) return 1;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1) / (a + b + 2)) return front * BetaContinuedFraction(a, b, x) / a;
    return 1 - front * BetaContinuedFraction(b, a, 1 - x) / b;
}

}  // namespace

double FQuantile95(int df) {
    // P(F <= f) = I_x(1/2, df/2) with x = f / (f + df); I rises with x, so
    // halve the interval of x until it no longer shrinks.
    const double a = 0.5, b = 0.5 * std::max(df, 1);
    double lo = 0, hi = 1;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        if (IncompleteBeta(a, b, mid) < 0.95)
            lo = mid;
        else
            hi = mid;
    }
    const double x = 0.5 * (lo + hi);
    return std::max(df, 1) * x / (1 - x);
}

FitStatistics ComputeFitStatistics(const std::vector<double>& simulated, const std::vector<double>& measured) {
    FitStatistics s;
    const size_t n = std::min(simulated.size(), measured.size());
    s.n = static_cast<int>(n);
    if (n == 0) return s;
    double sumS = 0, sumM = 0, sumAbs = 0;
    for (size_t k = 0; k < n; ++k) {
        const double d = simulated[k] - measured[k];
        sumS += simulated[k];
        sumM += measured[k];
        s.sse += d * d;
        sumAbs += std::fabs(d);
    }
    s.meanSimulated = sumS / static_cast<double>(n);
    s.meanMeasured = sumM / static_cast<double>(n);
    s.rmse = std::sqrt(s.sse / static_cast<double>(n));
    s.mae = sumAbs / static_cast<double>(n);
    s.bias = s.meanSimulated - s.meanMeasured;
    double ssM = 0, ssS = 0, sp = 0;
    for (size_t k = 0; k < n; ++k) {
        const double dm = measured[k] - s.meanMeasured, ds = simulated[k] - s.meanSimulated;
        ssM += dm * dm;
        ssS += ds * ds;
        sp += dm * ds;
    }
    if (ssM > 0) {
        s.nse = 1 - s.sse / ssM;
        s.nseDefined = std::isfinite(s.nse);
    }
    if (ssM > 0 && ssS > 0) {
        s.r2 = sp / ssM * (sp / ssS);
        s.r2Defined = std::isfinite(s.r2);
    }
    return s;
}

ProfileSummary SummariseProfile(const SearchProfile& profile, int n) {
    ProfileSummary p;
    const std::vector<double>& score = profile.scores;
    const int count = static_cast<int>(std::min(score.size(), profile.trials.size()));
    if (count == 0) return p;
    for (int k = 1; k < count; ++k)
        if (score[k] < score[p.bestIndex]) p.bestIndex = k;
    p.best = profile.trials[p.bestIndex];
    p.bestScore = score[p.bestIndex];
    const int df = std::max(n - 1, 1);
    p.fQuantile = FQuantile95(df);
    p.limit = p.bestScore * (1 + p.fQuantile / df);
    p.lowIndex = count;
    p.highIndex = -1;
    for (int k = 0; k < count; ++k) {
        const double s = score[k];
        if (!(s <= p.limit)) continue;
        p.lowIndex = std::min(p.lowIndex, k);
        p.highIndex = std::max(p.highIndex, k);
        if (s >= 1000) p.capped = true;
    }
    // A score that is not a number leaves only the best trial itself.
    if (p.highIndex < 0) p.lowIndex = p.highIndex = p.bestIndex;
    p.low = profile.trials[p.lowIndex];
    p.high = profile.trials[p.highIndex];
    p.bestAtEdge = p.bestIndex == 0 || p.bestIndex == count - 1;
    p.notDetermined = p.lowIndex == 0 || p.highIndex == count - 1;
    p.flat = p.highIndex - p.lowIndex + 1 > count / 2;
    return p;
}

std::string ReportZoneName(int layers, Zone zone) {
    if (layers == 1 && zone == Zone::Layer1) return "rootzone";
    return ZoneKey(zone);
}

FitReport BuildFitReport(const ModelInput& in, const ModelState& state, const std::vector<SearchProfile>& profiles) {
    FitReport report;
    report.layers = in.NrLayers;
    report.variant = in.Variant;
    report.searches = profiles;
    report.stoppedAtStep = StoppedAtStep(state, in.NrTst);
    report.outputFile = state.OutputFileName.substr(state.OutputFileName.find_last_of("/\\") + 1);
    // Steps from the stop on were not computed: their salinities are no
    // results to compare.
    const int computed = report.stoppedAtStep > 0 ? report.stoppedAtStep - 1 : in.NrTst;
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        int last = -1;
        for (size_t k = 0; k < profiles.size(); ++k)
            if (profiles[k].zone == zone) last = static_cast<int>(k);
        if (last < 0) continue;
        ZoneReport row;
        row.zone = zone;
        row.search = last + 1;
        const ZoneFit& fit = state.Fit[z];
        row.le = fit.LE;
        row.optimized = fit.LeOptimized;
        row.fitIndex = fit.FitNotAvailable ? "n.a." : RemoveBlanks(FormatFixed(100 * fit.FitIndex, 5, 0));
        // The pairs the fit index is formed from: the salinity at the end of
        // every step with a measured value above 0.
        const Series& measured = in.ECsm[zone];
        const Series& simulated = state.Results.SR[zone];
        std::vector<double> sim, meas;
        for (int i = 1; i <= computed; ++i) {
            const size_t k = static_cast<size_t>(i);
            if (k < measured.size() && k < simulated.size() && measured[k] > 0) {
                sim.push_back(simulated[k]);
                meas.push_back(measured[k]);
            }
        }
        row.stats = ComputeFitStatistics(sim, meas);
        row.profile = SummariseProfile(profiles[last], row.stats.n);
        report.zones.push_back(row);
    }
    return report;
}

}  // namespace halovane
