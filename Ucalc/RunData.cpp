#include "RunData.h"

namespace halovane {

void PrepareRun(const ModelInput& given, RunData& run) {
    run.in = given;
    ModelInput& in = run.in;
    // Steps without a measured salinity entry were not measured.
    for (Series& m : in.ECsm)
        if (static_cast<int>(m.size()) < in.NrTst + 1) m.resize(static_cast<size_t>(in.NrTst) + 1, -1.0);
    // The run spreads the irrigation of daily steps itself, from the
    // irrigation as entered; the data set is not touched.
    DistributeIrrigation(in);
    for (Zone zone : EveryZone) {
        in.TP[zone] = in.TP[zone] / 100;
        in.EP[zone] = in.EP[zone] / 100;
        in.LE[zone] = in.LE[zone] / 100;
        run.GivenLE[zone] = in.LE[zone];
    }
    in.IrrEff = in.IrrEff / 100;
    run.Dr = RootZoneThickness(in);
    if (in.NrLayers == 2) {
        const double S = in.D[Z1] + in.D[Z2];
        const double AvD = S / 2;
        run.R1 = (in.D[Z1] - AvD) / S;
        run.R2 = (in.D[Z2] - AvD) / S;
    } else if (in.NrLayers == 3) {
        const double S = in.D[Z1] + in.D[Z2] + in.D[Z3];
        const double AvD = S / 3;
        run.R1 = (in.D[Z1] - AvD) / S;
        run.R2 = (in.D[Z2] - AvD) / S;
        run.R3 = (in.D[Z3] - AvD) / S;
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
    run.W[Z1] = water(in.D[Z1], in.TP[Z1]);
    run.W[Z2] = water(in.D[Z2], in.TP[Z2]);
    run.W[Z3] = water(in.D[Z3], in.TP[Z3]);
    run.W[Zt] = water(in.D[Zt], in.TP[Zt]);
    run.W[Za] = water(in.D[Za], in.TP[Za]);
}

}  // namespace halovane
