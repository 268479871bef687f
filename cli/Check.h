// The checks the runner makes before it writes anything: the validation of
// each data set and the names of the files a call would write.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ModelInput.h"
#include "RunDriver.h"

namespace halovane::cli {

// `check FILE.inp...`: reads each file and validates its data set, as a run
// would, without computing or writing anything. The problems go to standard
// output; the status is the highest of any file (0 none or only warnings, 2
// errors or unreadable).
int Check(const std::vector<std::string>& args);

// Writes the validation problems of one data set, each line headed by the
// file name. True when at least one of them is an error.
bool ReportProblems(const std::string& file, const ModelInput& data, std::ostream& out);

// For the input files of one call, in order: why each must not be run
// because of the names its results would get (written over itself, over
// another input, or over the results of an earlier one), or "".
std::vector<std::string> NameRefusals(const std::vector<std::string>& files, const RunFiles& written);

}  // namespace halovane::cli
