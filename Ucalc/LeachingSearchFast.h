// The leaching-efficiency search with many trials side by side.
#pragma once

#include <vector>

#include "ModelState.h"
#include "RunData.h"

namespace halovane {

// The same search as SearchLeachingEfficiencyReference, bit for bit: every
// trial performs the same floating-point operations in the same order, but
// trials run in groups that advance together in vector lanes. Trials whose
// terms read the stored efficiency of the zone under search (which the scan
// changes) run speculatively for every value that efficiency can have.
// `scores`, when given, receives the score of every trial as the scan used it.
// `kernel` names one of AvailableSearchKernels(); by default the fastest one
// this processor runs, and the baseline one for a name it does not run. The trials are spread over `threads` threads (0: every
// core); the result is the same for every number of threads.
void SearchLeachingEfficiencyFast(const RunData& run, ModelState& state, int layers, Zone zone,
                                  double* scores = nullptr, const char* kernel = nullptr, int threads = 0);

// The instruction set the search kernel runs with on this machine, and all
// those this processor can run.
const char* SearchKernelName();
std::vector<const char*> AvailableSearchKernels();

}  // namespace halovane
