// The fit report of "run --report": FILE.fit.csv and FILE.profile.csv
// beside the output file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ModelInput.h"
#include "ModelState.h"
#include "SearchProfile.h"

namespace halovane::cli {

// Writes the report of a finished run of `file`. A run without searches
// (no zone with four measured salinities) writes nothing and says so
// through `tell`. Returns an exit status: Ok, or WriteFailed after telling
// which file could not be written.
int WriteRunReport(const std::string& file, const ModelInput& data, const ModelState& state,
                   const std::vector<SearchProfile>& profiles, const std::function<void(const std::string&)>& tell);

}  // namespace halovane::cli
