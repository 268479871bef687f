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
            in.ECsm1[i] = 3 + std::sin(0.2 * i);
            in.ECsm2[i] = 4 + std::cos(0.2 * i);
            in.ECsm3[i] = 5 + 0.5 * std::sin(0.1 * i);
            in.ECsmt[i] = 6 + 0.02 * i;
            in.ECsma[i] = 4 - 0.01 * i;
        }
    }
    in.D1 = 0.2, in.D2 = 0.3, in.D3 = 0.5, in.Dt = 1.5, in.Da = 15;
    in.TP1 = 50, in.TP2 = 48, in.TP3 = 46, in.TPt = 42, in.TPa = 40;
    in.EP1 = 8, in.EP2 = 7, in.EP3 = 6, in.EPt = 5, in.EPa = 10;
    in.LE1 = 90, in.LE2 = 85, in.LE3 = 80, in.LEt = 70, in.LEa = 100;
    in.S1ini = 4, in.S2ini = 5, in.S3ini = 6, in.STini = 7, in.SAini = 5;
    in.DrainPresent = true, in.Dd = 1.8, in.QH1 = 0.01, in.QH2 = 0.002;
    in.Si = 1.1, in.Dwtini = 1.6, in.CDc = 1.4, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.6, in.Out = 0.3, in.Sinf = 2.5;
    DistributeIrrigation(in);
    return in;
}

}  // namespace halovane
