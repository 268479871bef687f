// One complete model run on the data set in memory.
#pragma once

#include <string>
#include <vector>

#include "ModelInput.h"
#include "ModelState.h"
#include "SearchProfile.h"
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
    Cancelled,    // the user stopped the run; nothing was written and no question followed
};

struct RunOutcome {
    RunStatus status = RunStatus::Refused;
    std::string message;
};

// Why the data set cannot be run, or an empty string when it can: the
// errors of ValidateDataSet as one report.
std::string CheckRunnable(const ModelInput& in);

// The files a run writes besides the output file.
struct RunFiles {
    bool csv = false;      // the results as comma-separated values, FILE.csv
    bool balance = false;  // the water and salt balance per step and zone, FILE.balance.csv
    // The fit report, FILE.fit.csv and FILE.profile.csv, when the
    // optimisation was made (with `profiles`); otherwise the report of an
    // earlier run is removed. Written, or removed, with the output file.
    bool fitReport = false;
};

// The names of the files a run of `inputFileName` writes: FILE.out, then
// FILE.csv and FILE.balance.csv when asked for.
std::vector<std::string> RunOutputNames(const std::string& inputFileName, const RunFiles& files);
std::string CsvFileName(const std::string& inputFileName);
std::string BalanceFileName(const std::string& inputFileName);

// Why a run of `inputFileName` would write over the input data file itself
// (an input named FILE.out or, with the CSV file, FILE.csv), or an empty
// string.
std::string OutputOverwritesInput(const std::string& inputFileName, const RunFiles& files);

// For the input data files of one call, in order: why each cannot be run
// without writing over the results of an earlier one or over another input
// of the call (the message names both files), or an empty string. An input
// whose results would land on the input itself is left to
// OutputOverwritesInput.
std::vector<std::string> OutputNameClashes(const std::vector<std::string>& inputFileNames, const RunFiles& files);

// The run up to the leaching-efficiency searches: converts the data set into
// `run`, sizes `state`, asks the refinement question and runs the water
// balance. RunModel continues from here.
struct RunData;
void PrepareAndBalanceWater(const ModelInput& given, RunData& run, ModelState& state, UserInteraction& ui);

// Runs the model: asks the two questions, computes, writes the output file
// (the input file name with the extension ".out") and leaves the results in
// `state`. `in` is not changed: the run converts a copy of it and forms the
// spread irrigation (IrrDist) on that copy from in.Irrig. Data with
// errors, or an output name that is the input file itself, are refused
// before anything is computed or written. The output file and the files
// asked for in `files` are replaced together or not at all. `profiles`, when
// given, receives the scores of every leaching-efficiency search of the run
// (none when the optimisation was not made). The searches run on
// `searchThreads` threads (0: every core); the results do not depend on it.
RunOutcome RunModel(const ModelInput& in, ModelState& state, UserInteraction& ui, const RunFiles& files = RunFiles{},
                    std::vector<SearchProfile>* profiles = nullptr, int searchThreads = 0);

// The run of RunModel in memory: the same check, questions and results in
// `state`, bit for bit, without an output file. Completed or Stopped when
// `state` holds the results. With `balanceRows` the balance keeps its rows
// per step and zone (those of FILE.balance.csv), not only the summaries.
RunOutcome ComputeModel(const ModelInput& in, ModelState& state, UserInteraction& ui,
                        std::vector<SearchProfile>* profiles = nullptr, int searchThreads = 0,
                        bool balanceRows = false);

}  // namespace halovane
