// The daily water balance of the root zone and the depth of the water table.
#pragma once

#include "ModelState.h"
#include "RunData.h"
#include "UserInteraction.h"

namespace halovane {

// One pass over all time steps with the drainage factor state.QH1w. Fills
// the step totals, the depths and the layer flows; on a water table below
// the aquifer it shows the stop message, sets state.Stop and returns.
void RunWaterBalance(RunData& run, ModelState& state, UserInteraction& ui);

// Searches the drainage factor QH1 that best balances the water budget over
// 200 trials; sets state.QH1w and state.RefinementAccepted. Only the first
// time step of a trial can win, so each trial stops there.
void RefineDrainageCapacity(RunData& run, ModelState& state);

// The same search with every trial run over all time steps: the reference
// for the one above, which must give the same QH1w, flag, Inf and Out.
void RefineDrainageCapacityFullScan(RunData& run, ModelState& state);

// After a refinement trial: the best factor is accepted as refined, or the
// given QH1 is put back when the best lies at either end of the trials.
void SettleRefinedFactor(ModelState& state, double given);

// Drain discharge (mm/day) with the water table at depth d and the drainage
// factor qh1; `parts` divides both terms (10 in the sub-steps).
double DrainDischarge(const ModelInput& in, double qh1, double d, double parts);

// x := x / 10 * 10, `times` times over: what the sub-steps of `times` days
// do to the horizontal inflow and outflow.
double RepeatTenthAndBack(double x, long long times);

}  // namespace halovane
