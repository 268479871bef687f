// The leaching-efficiency searches of a run, by the plain scan or the fast
// one.
#pragma once

#include <vector>

#include "ModelState.h"
#include "RunData.h"
#include "SearchProfile.h"

namespace halovane {

// The zones searched with `layers` root-zone layers, in the order the model
// searches them.
std::vector<Zone> SearchOrder(int layers);

// Every search of a run, in the order the model makes them: each zone with at
// least four measured values from the surface down (with three layers, the
// transition zone and the aquifer a second time). Each search leaves its
// best efficiency in force for the searches after it. `reference` chooses
// the plain scan instead of the fast one; both give the same bits. The fast
// searches run on `threads` threads (0: every core); the results do not
// depend on it. `profiles`, when given, receives the scores of every search
// in the order made.
void RunSearches(const RunData& run, ModelState& state, bool reference = false, int threads = 0,
                 std::vector<SearchProfile>* profiles = nullptr);

}  // namespace halovane
