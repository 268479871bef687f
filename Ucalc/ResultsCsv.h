// The results of a run as comma-separated values for spreadsheets, R and
// pandas.
#pragma once

#include <string>

#include "ModelInput.h"
#include "ModelState.h"

namespace halovane {

// One header row with column names and units, then one row per time step:
// the hydrological inputs, the flows, the depth of the water table and, per
// zone in use, the calculated and the measured salinity (empty where nothing
// was measured), and last `stopped`: 1 for the steps a stopped run did not
// compute (from the step of the stop on), whose results stay empty, 0 for
// the others. Lines end in CR LF.
std::string ResultsCsv(const ModelInput& in, const ModelState& state);

}  // namespace halovane
