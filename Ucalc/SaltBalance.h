// The daily salt balances of the soil zones.
#pragma once

#include "ModelState.h"
#include "RunData.h"

namespace halovane {

// One day of one zone: salinity S, salt inflow term Sin (already divided by
// the water content W), leaching efficiency LE and outgoing water Q. The
// leaving water carries the average of the salinities at the start and at
// the end of the day. `upper` marks layers 1 and 2, whose zero result is
// replaced too. `guards` counts the days on which the divisor guard or the
// salinity floor acted (the day's salt then does not balance).
inline double ZoneUpdate(double S, double Sin, double LE, double Q, double W, bool upper, int& guards) {
    const double Sout = 0.5 * LE * Q * S / W;
    double F = 1 + 0.5 * LE * Q / W;
    if (F < 0.001) {
        F = 0.001;
        ++guards;
    }
    double Snew = (S + Sin - Sout) / F;
    // Deliberate: layers 1 and 2 replace a salinity of 0 by 0.1, the deeper zones keep 0.
    if (upper) {
        if (Snew <= 0) {
            Snew = 0.1;
            ++guards;
        }
    } else if (Snew < 0) {
        Snew = 0.1;
        ++guards;
    }
    return Snew;
}

inline double ZoneUpdate(double S, double Sin, double LE, double Q, double W, bool upper) {
    int guards = 0;
    return ZoneUpdate(S, Sin, LE, Q, W, upper, guards);
}

// The salinity of the water that rises into layers 1, 2 and 3 at the start
// of a pass: the initial salinity of the zone below each.
void InitialCapillarySalinities(const ModelInput& in, double CapS[3]);

// The final pass over all time steps with the efficiencies state.Fit[z].LE:
// fills the salinity results, the fit of every zone and the day records of
// the salt terms (state.Ledger).
void RunSaltBalance(const RunData& run, ModelState& state);

// The fit index of every zone from the sums of squared differences of the
// final pass.
void ComputeFitIndices(const RunData& run, ModelState& state, const double SSE[ZoneCount]);

}  // namespace halovane
