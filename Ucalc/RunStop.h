// Where a run stopped. When the water table sinks below the bottom of the
// aquifer the water balance ends its pass inside a step: that step keeps the
// depth that passed the bottom but no flow totals, and every later step
// keeps zero flows and a zero depth, while the salt balance still fills the
// salinities of all steps. The output file is written as it is; the views
// find the stop again from it.
#pragma once

#include "ModelState.h"

namespace halovane {

// The step in which the run stopped, or 0 when every step was computed.
//
// From the rows of an output file: the steps after the stop hold zeros in
// all five water columns (percolation, capillary rise, actual
// evapotranspiration, drain discharge and depth of the water table), and the
// step of the stop holds a depth below the surface. A computed step cannot
// end with all five at zero unless the water table stands exactly at the
// surface through a step without rain, irrigation and evapotranspiration,
// and then the step before it is at the surface too. So the rule takes the
// trailing run of all-zero rows, which must reach the last step, and calls
// the step before it the stop when its depth is not zero. A run that stops
// in its very last step leaves no zero rows and is not recognised.
int StoppedAtStep(const StepResults& results, int nrTst);

// The same from the run itself (0: the run completed).
int StoppedAtStep(const ModelState& state, int nrTst);

}  // namespace halovane
