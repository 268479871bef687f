// The conserving variant of the model: every day of every step is simulated
// from the state the day before left, and every flow of water and salt is
// taken from one store and given to another in the same amount. Inputs,
// formats, the drain formulas, the porosities, the stored water of the salt
// zones and the meaning of the leaching efficiencies are those of the
// prescribed model.
#pragma once

#include <vector>

#include "ModelState.h"
#include "RunData.h"
#include "SearchProfile.h"
#include "UserInteraction.h"

namespace halovane {

// The porosity met by a water table at depth d: boundaries b[0] = 0 <
// b[1] < ... (the layer bottoms, the bottom of the transition zone) and one
// porosity per interval: por[0] above the surface (1.0), por[k] in
// (b[k-1], b[k]], and the last one below the last boundary (the aquifer).
struct PorosityProfile {
    std::vector<double> b;
    std::vector<double> por;  // b.size() + 1 values

    // The interval that holds depth d.
    int IntervalOf(double d) const;
    // The depth after moving V mm of water into (V > 0) or out of (V < 0)
    // the saturated zone from depth d, along the profile: the table rises
    // or falls through every boundary, the surface included, and the water
    // crossed is neither created nor lost.
    double Move(double d, double V) const;
};

PorosityProfile ProfileOf(const RunData& run);

// The irrigation of daily steps spread over up to four following dry days
// by adding each day's shares, so that the series keeps every millimetre
// given. Longer steps take the irrigation as it is.
void DistributeIrrigationAdding(ModelInput& in);

// The days of the first step with the drainage factor qh1, from the
// initial depth and store, without the bottom check: what the refinement
// scores. Returns the water-balance imbalance of that step.
double ConservingFirstStepImbalance(const RunData& run, const ModelState& state, double qh1);

// The water balance of all time steps with state.QH1w: fills the step
// totals, the depths, the store and state.Days. A water table below the
// aquifer stops the run as in the prescribed model.
void RunConservingWaterBalance(RunData& run, ModelState& state, UserInteraction& ui);

// The drainage-factor refinement on the conserving days: 200 trials, the
// prescribed criterion and acceptance.
void RefineConservingDrainage(RunData& run, ModelState& state);

// The final salt pass with the efficiencies state.Fit[z].LE: the
// salinities of every step and the fit of every zone.
void RunConservingSaltBalance(const RunData& run, ModelState& state);

// The leaching-efficiency searches of a run on the conserving salt pass, in
// the prescribed order of zones; trials run on `threads` threads (0: every
// core) and the results do not depend on it.
void RunConservingSearches(const RunData& run, ModelState& state, int threads,
                           std::vector<SearchProfile>* profiles);

}  // namespace halovane
