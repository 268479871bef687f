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
        d.Title2 = view->Title2;
        d.StepDays = view->Ts;
    }
    return d;
}

}  // namespace halovane
