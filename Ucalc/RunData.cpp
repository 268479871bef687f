#include "RunData.h"

namespace halovane {

void PrepareRun(const ModelInput& given, RunData& run) {
    run.in = given;
    ModelInput& in = run.in;
    // Steps without a measured salinity entry were not measured.
    for (int z = 0; z < ZoneCount; ++z) {
        Series& m = Measured(in, static_cast<Zone>(z));
        if (static_cast<int>(m.size()) < in.NrTst + 1) m.resize(static_cast<size_t>(in.NrTst) + 1, -1.0);
    }
    if (static_cast<int>(in.IrrDist.size()) != in.NrTst + 1) DistributeIrrigation(in);
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        TotalPorosity(in, zone) = TotalPorosity(in, zone) / 100;
        EffectivePorosity(in, zone) = EffectivePorosity(in, zone) / 100;
        LeachingEfficiency(in, zone) = LeachingEfficiency(in, zone) / 100;
        run.GivenLE[z] = LeachingEfficiency(in, zone);
    }
    in.IrrEff = in.IrrEff / 100;
    run.Dr = RootZoneThickness(in);
    if (in.NrLayers == 2) {
        const double S = in.D1 + in.D2;
        const double AvD = S / 2;
        run.R1 = (in.D1 - AvD) / S;
        run.R2 = (in.D2 - AvD) / S;
    } else if (in.NrLayers == 3) {
        const double S = in.D1 + in.D2 + in.D3;
        const double AvD = S / 3;
        run.R1 = (in.D1 - AvD) / S;
        run.R2 = (in.D2 - AvD) / S;
        run.R3 = (in.D3 - AvD) / S;
    }
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = in.Rain[i] / in.Ts;
        in.Irrig[i] = in.Irrig[i] / in.Ts;
        in.IrrDist[i] = in.IrrDist[i] / in.Ts;
        in.EvapT[i] = in.EvapT[i] / in.Ts;
    }
    run.Down = in.Out - in.Inf;
    if (run.Down < 0) run.Down = 0;
    run.Up = in.Inf - in.Out;
    if (run.Up < 0) run.Up = 0;
    auto water = [](double d, double tp) {
        const double w = 1000 * d * tp;
        return w < 0.001 ? 0.001 : w;
    };
    run.W1 = water(in.D1, in.TP1);
    run.W2 = water(in.D2, in.TP2);
    run.W3 = water(in.D3, in.TP3);
    run.Wt = water(in.Dt, in.TPt);
    run.Wa = water(in.Da, in.TPa);
}

}  // namespace halovane
