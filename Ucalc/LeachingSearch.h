// The fit of a zone's leaching efficiency to its measured salinities: an
// exhaustive scan of 180 trial efficiencies, 0.11 to 1.90, one trial after
// the other; the reference for the fast search.
#pragma once

#include "ModelState.h"
#include "RunData.h"
#include "SearchProfile.h"

namespace halovane {

// Searches the efficiency of `zone` in a root zone of `layers` layers and
// leaves the best trial in state.Fit[zone].LE. Reads the layer flows of the
// water balance and the efficiencies of the other zones as they stand.
// `scores`, when given, receives the score of every trial.
void SearchLeachingEfficiencyReference(const RunData& run, ModelState& state, int layers, Zone zone,
                                       double* scores = nullptr);

}  // namespace halovane
