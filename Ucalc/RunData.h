// The data set of a run in working units: fractions instead of percent,
// amounts per day instead of per time step, and the quantities derived at
// the start of a run. The run works on this copy, so the user's data set is
// never left half converted.
#pragma once

#include <atomic>

#include "ModelInput.h"
#include "ModelState.h"

namespace halovane {

struct RunData {
    ModelInput in;         // the copy in working units; Inf and Out are changed by the water balance
    double Dr = 0;         // root-zone thickness, m
    double R1 = 0, R2 = 0, R3 = 0;  // layer ratios of the evapotranspiration split
    double Up = 0, Down = 0;        // exchange with the aquifer, mm/day
    ZoneArray<double> W;        // water at saturation per zone, mm (W1 is W[Z1], Wt is W[Zt])
    ZoneArray<double> GivenLE;  // the leaching efficiencies as given, fractions
    const std::atomic<bool>* cancel = nullptr;  // set by the user to stop the run; may be null
};

// Whether the user asked to stop the run. The loops of the run look at it
// at safe points and leave their results unfinished; the run then writes
// nothing.
inline bool Cancelled(const RunData& run) { return run.cancel && run.cancel->load(std::memory_order_relaxed); }

// Converts the data set and derives the run quantities.
void PrepareRun(const ModelInput& given, RunData& run);

}  // namespace halovane
