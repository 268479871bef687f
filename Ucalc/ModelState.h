// The working values and the results of one run.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Balance.h"
#include "ModelInput.h"

namespace halovane {

// Per-time-step results, indexed 0..N; element 0 holds the initial state.
struct StepResults {
    Series PercT;   // percolation below the root zone, mm per time step
    Series CapTT;   // capillary rise, mm per time step
    Series EvapAT;  // actual evapotranspiration, mm per time step
    Series DrainT;  // drain discharge, mm per time step
    Series Dwt;     // depth of the water table at the end of the step, m
    // Salinities at the end of the step per zone, dS/m: SR1 is SR[Z1],
    // SRT is SR[Zt], SRA is SR[Za].
    ZoneArray<Series> SR;

    void Resize(int n);  // every series to n + 1 elements, zeros
};

// The fitted or given leaching efficiency of one zone and its fit.
struct ZoneFit {
    double LE = 0;               // efficiency in force in the final pass (fraction)
    bool LeOptimized = false;    // differs from the given efficiency
    double FitIndex = 0;         // 1 - sqrt(SSE / SQ)
    bool FitNotAvailable = true; // fewer than four measured values
};

// The daily flows of the root-zone layers. Every day of a time step has the
// same flows, so they are kept once per step (index 1..N), in mm per day.
struct LayerFlows {
    Series Perc1, Perc2, Perc3;  // percolation out of layer 1, 2, 3
    Series Cap;                  // capillary rise into a one-layer root zone
    Series Cap1, Cap2, Cap3;     // capillary rise into layer 1, 2, 3
    // A stop leaves the flows of later days at zero: days after day StopDay
    // of step StopStep were not computed (StopStep = N + 1 without a stop).
    int StopStep = 0, StopDay = 0;
    // The flows of day j of step i: those of the step, or zero after a stop.
    bool Computed(int i, int j) const { return i < StopStep || (i == StopStep && j <= StopDay); }
};

// One day of the conserving variant; flows in mm/day, depths in m.
struct ConservingDay {
    double d0 = 0, d1 = 0;    // depth of the water table at the start and the end of the day
    double St0 = 0, St1 = 0;  // root-zone store at the start and the end of the day
    double WR = 0, Irr = 0;   // rain plus irrigation, and the irrigation alone
    double EvapA = 0, PercR = 0, CapT = 0, dS = 0, Drain = 0;
    double q[3] = {0, 0, 0};      // downward flux below layer k + 1; the lowest one is PercR - CapT
    double Evap[3] = {0, 0, 0};  // evapotranspiration out of layer k + 1
};

// The salt the conserving variant moved in each step (index 1..N), in dS/m
// x mm. Its zones run from the surface down: the root-zone layers, the
// transition zone, the aquifer.
struct SaltAccount {
    // Between zone k and k + 1: the salt that went down, and up (both >= 0).
    std::vector<std::array<double, 4>> Down, Up;
    Series Irrigation, Inflow;                  // into layer 1, into the aquifer
    Series Drained, Outflow;                    // out of the transition zone, out of the aquifer
};

struct ModelState {
    bool Stop = false;                // the water table left the aquifer
    bool RefinementChosen = false;
    bool RefinementAccepted = false;
    double QH1w = 0;                  // drainage factor used by the run
    MeasurementCounts Counts;
    std::array<ZoneFit, ZoneCount> Fit{};
    LayerFlows Flows;
    StepResults Results;
    Series Stor, DStor;               // root-zone storage, daily steps only
    double RetCap = 0;                // retention capacity of the root zone, mm
    std::string OutputFileName;       // the file the run wrote
    // The conserving variant: every day computed, in order (index (i - 1) *
    // Ts + j - 1); a stop ends the list before the failing day.
    std::vector<ConservingDay> Days;
    SaltAccount Salt;
    SaltLedger Ledger;                // the salt terms of the final pass per step and zone
    RunBalance Balance;               // how well water and salt balance in the run
};

}  // namespace halovane
