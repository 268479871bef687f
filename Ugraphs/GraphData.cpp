#include "GraphData.h"

#include <algorithm>

#include "RunStop.h"

namespace halovane {

namespace {

// `series` as 0..n, padded with `fill` where it is too short.
std::vector<double> Steps(const Series& series, int n, double fill) {
    std::vector<double> v(series.begin(), series.begin() + std::min<long>(static_cast<long>(series.size()), n + 1L));
    v.resize(static_cast<size_t>(n) + 1, fill);
    return v;
}

}  // namespace

GraphData GraphDataFrom(const OutputReadback& output, const ViewInput* view) {
    GraphData d;
    const int n = output.NrTst;
    GraphSeries& s = d.Series;
    s.N = n;
    s.Layers = output.Layers;
    const StepResults& r = output.Results;
    s.StopStep = StoppedAtStep(r, n);
    s.EvapA = Steps(r.EvapAT, n, 0);
    s.Perc = Steps(r.PercT, n, 0);
    s.Cap = Steps(r.CapTT, n, 0);
    s.Drain = Steps(r.DrainT, n, 0);
    s.Dwt = Steps(r.Dwt, n, 0);
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        s.Calculated[z] = Steps(r.SR[zone], n, 0);
        if (view) s.Measured[z] = Steps(view->ECsm[zone], n, -1);
        const ZoneReadback& back = output.Zones[z];
        d.Zones[z] = {back.LE, back.Optimized, back.Coefficient, !back.CoefficientRead};
    }
    if (view) {
        s.Rain = Steps(view->Rain, n, 0);
        s.Irrig = Steps(view->Irrig, n, 0);
        d.Title1 = view->Title1;
        // Graphs of the conserving variant say so; those of the prescribed
        // model keep the title alone.
        if (output.Variant == ModelVariant::Conserving) d.Title1 += " (conserving variant)";
        d.Title2 = view->Title2;
        d.StepDays = view->Ts;
    }
    return d;
}

GraphData Aggregated(const GraphData& data, GraphPeriod period) {
    const int days = period == GraphPeriod::Month ? 30 : period == GraphPeriod::Year ? 360 : 0;
    const GraphSeries& s = data.Series;
    if (days == 0 || data.StepDays <= 0 || data.StepDays >= days || days % data.StepDays != 0) return data;
    const int k = days / data.StepDays;  // steps per period
    GraphData a = data;
    GraphSeries& t = a.Series;
    t.N = (s.N + k - 1) / k;
    t.StopStep = s.StopStep > 0 ? (s.StopStep - 1) / k + 1 : 0;
    a.StepDays = days;
    a.Period = period == GraphPeriod::Month ? "Month" : "Year";
    // Period p holds steps (p - 1) k + 1 .. p k.
    auto fold = [&](const std::vector<double>& v, bool total, bool measured) {
        if (v.empty()) return v;
        std::vector<double> out(static_cast<size_t>(t.N) + 1, measured ? -1.0 : 0.0);
        out[0] = v[0];
        for (int p = 1; p <= t.N; ++p) {
            double sum = 0;
            int count = 0;
            for (int i = (p - 1) * k + 1; i <= std::min(p * k, s.N) && i < static_cast<int>(v.size()); ++i) {
                if (measured && !(v[i] > 0)) continue;
                sum += v[i];
                ++count;
            }
            if (count > 0) out[p] = total ? sum : sum / count;
        }
        return out;
    };
    for (auto member : {&GraphSeries::Rain, &GraphSeries::Irrig, &GraphSeries::EvapA, &GraphSeries::Perc,
                        &GraphSeries::Cap, &GraphSeries::Drain})
        t.*member = fold(s.*member, true, false);
    t.Dwt = fold(s.Dwt, false, false);
    for (int z = 0; z < 5; ++z) {
        t.Calculated[z] = fold(s.Calculated[z], false, false);
        t.Measured[z] = fold(s.Measured[z], false, true);
    }
    return a;
}

}  // namespace halovane
