// The fit of a zone's leaching efficiency to its measured salinities: an
// exhaustive scan of 180 trial efficiencies, 0.11 to 1.90.
#pragma once

#include "ModelState.h"
#include "RunData.h"
#include "SearchProfile.h"

namespace halovane {

constexpr int SearchTrials = 180;

// Searches the efficiency of `zone` in a root zone of `layers` layers and
// leaves the best trial in state.Fit[zone].LE. Reads the layer flows of the
// water balance and the efficiencies of the other zones as they stand.
void SearchLeachingEfficiency(const RunData& run, ModelState& state, int layers, Zone zone);

// Every search of a run, in the order the model makes them: each zone with at
// least four measured values from the surface down (with three layers, the
// transition zone and the aquifer a second time). Each search leaves its
// best efficiency in force for the searches after it. The fast searches run
// on `threads` threads (0: every core); the results do not depend on it.
// `profiles`, when given, receives the scores of every search in the order
// made.
void RunSearches(const RunData& run, ModelState& state, bool reference = false, int threads = 0,
                 std::vector<SearchProfile>* profiles = nullptr);

// The plain scan, one trial after the other; the reference for the fast one.
// `scores`, when given, receives the score of every trial.
void SearchLeachingEfficiencyReference(const RunData& run, ModelState& state, int layers, Zone zone,
                                       double* scores = nullptr);

}  // namespace halovane
