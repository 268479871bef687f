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

// Searches the drainage factor QH1 that best balances the first time step;
// sets state.QH1w and state.RefinementAccepted.
void RefineDrainageCapacity(RunData& run, ModelState& state);

}  // namespace halovane
