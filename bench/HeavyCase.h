// The data set of the benchmarks: three root-zone layers, yearly steps (360
// days each), 100 steps, measured salinities in all five zones every fifth
// step, with drainage.
#pragma once

#include <cmath>

#include "ModelInput.h"

namespace halovane {

inline ModelInput HeavyCase() {
    ModelInput in;
    in.Title1 = "Benchmark";
    in.NrTst = 100;
    in.Ts = 360;
    in.NrLayers = 3;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = 250 + 80 * std::sin(0.7 * i);
        in.Irrig[i] = 1100 + 150 * std::cos(0.3 * i);
        in.EvapT[i] = 1500 + 60 * std::sin(0.9 * i + 1);
        if (i % 5 == 0) {
            in.ECsm[Z1][i] = 3 + std::sin(0.2 * i);
            in.ECsm[Z2][i] = 4 + std::cos(0.2 * i);
            in.ECsm[Z3][i] = 5 + 0.5 * std::sin(0.1 * i);
            in.ECsm[Zt][i] = 6 + 0.02 * i;
            in.ECsm[Za][i] = 4 - 0.01 * i;
        }
    }
    in.D[Z1] = 0.2, in.D[Z2] = 0.3, in.D[Z3] = 0.5, in.D[Zt] = 1.5, in.D[Za] = 15;
    in.TP[Z1] = 50, in.TP[Z2] = 48, in.TP[Z3] = 46, in.TP[Zt] = 42, in.TP[Za] = 40;
    in.EP[Z1] = 8, in.EP[Z2] = 7, in.EP[Z3] = 6, in.EP[Zt] = 5, in.EP[Za] = 10;
    in.LE[Z1] = 90, in.LE[Z2] = 85, in.LE[Z3] = 80, in.LE[Zt] = 70, in.LE[Za] = 100;
    in.Sini[Z1] = 4, in.Sini[Z2] = 5, in.Sini[Z3] = 6, in.Sini[Zt] = 7, in.Sini[Za] = 5;
    in.DrainPresent = true, in.Dd = 1.8, in.QH1 = 0.01, in.QH2 = 0.002;
    in.Si = 1.1, in.Dwtini = 1.6, in.CDc = 1.4, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.6, in.Out = 0.3, in.Sinf = 2.5;
    DistributeIrrigation(in);
    return in;
}

}  // namespace halovane
