// One complete model run on the data set in memory.
#pragma once

#include <string>

#include "ModelInput.h"
#include "ModelState.h"
#include "UserInteraction.h"

namespace halovane {

constexpr const char* RefinementQuestion =
    "Halovane can refine the water balance by selecting a fitting drainage capacity. Do you wish to do the "
    "refinement?";
constexpr const char* OptimisationQuestion =
    "There are one or more soil layers with enough data on measured salinity to optimize the leaching "
    "efficiency. Do you want to do the optimization?";
constexpr const char* BelowAquiferMessage =
    "The water table is below the bottom of the aquifer. Calculations stopped.  Please adjust data.";

enum class RunStatus {
    Completed,    // the output file was written
    Stopped,      // the water table left the aquifer; the output file was still written
    Refused,      // the data cannot be run (message says which field); nothing was touched
    WriteFailed,  // the output file could not be written (message names it)
};

struct RunOutcome {
    RunStatus status = RunStatus::Refused;
    std::string message;
};

// Why the data set cannot be run, or an empty string when it can: the run
// would divide by zero or loop without end on these values.
std::string CheckRunnable(const ModelInput& in);

// The run up to the leaching-efficiency searches: converts the data set into
// `run`, sizes `state`, asks the refinement question and runs the water
// balance. RunModel continues from here.
struct RunData;
void PrepareAndBalanceWater(const ModelInput& given, RunData& run, ModelState& state, UserInteraction& ui);

// Runs the model: asks the two questions, computes, writes the output file
// (the input file name with the extension ".out") and leaves the results in
// `state`. `in` holds the same values afterwards as before. The caller has
// written the input data file first, which also forms in.IrrDist. The
// leaching-efficiency searches run on `searchThreads` threads (0: every
// core); the results do not depend on it.
RunOutcome RunModel(ModelInput& in, ModelState& state, UserInteraction& ui, int searchThreads = 0);

}  // namespace halovane
