// The one check of a data set before it is run: every field, every problem
// at once. The window and the runner both call it before anything is
// written; errors refuse the run, warnings are shown and the run goes on.
#pragma once

#include <string>
#include <vector>

#include "ModelInput.h"

namespace halovane {

enum class Severity { Error, Warning };

struct Problem {
    Severity severity = Severity::Error;
    std::string group;    // "General data", "Hydrological data", ...
    std::string field;    // "total porosity of layer 2", "rainfall", ...
    int row = 0;          // time step of a series value, 0 for a single field
    std::string value;    // the value as found, with its unit
    std::string allowed;  // the allowed range, as a sentence part
    // For a warning about what the model makes of a value that is allowed:
    // the consequence, shown instead of the allowed range.
    std::string consequence;
};

// Every problem of the data set, in the order of the Input page groups.
std::vector<Problem> ValidateDataSet(const ModelInput& in);

bool HasErrors(const std::vector<Problem>& problems);
int CountOf(const std::vector<Problem>& problems, Severity severity);

// One line per problem, for instance
// "Error: Soil properties, total porosity of layer 1: 150 %; allowed: above 0 up to 100 %".
std::string ProblemLine(const Problem& p);

// Why a data set may not be written as its input data file stores it: the
// rounding to the file's decimals (`stored` is `held` after
// RoundAsFileStores) changes the verdict of a check, so that a value the
// check refuses is saved as one it accepts, or the reverse. The report
// names each such field with both values; empty when no verdict changes.
std::string RoundingChangesChecks(const ModelInput& held, const ModelInput& stored);

// The whole list as one text: a first sentence with the counts, then one
// line per problem. A series with the same problem in many time steps lists
// the first few and counts the rest.
std::string ProblemReport(const std::vector<Problem>& problems);

}  // namespace halovane
