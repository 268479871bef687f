#include "RunStop.h"

#include <algorithm>

#include "ResultColumns.h"

namespace halovane {

namespace {

double At(const Series& s, int i) { return i < static_cast<int>(s.size()) ? s[i] : 0.0; }

// The flows and the depth of the water table, not the salinities.
bool WaterColumnsZero(const StepResults& r, int i) {
    for (const ResultColumn& c : ResultColumns)
        if (!c.zone && At(c.Of(r), i) != 0) return false;
    return true;
}

}  // namespace

int StoppedAtStep(const StepResults& r, int nrTst) {
    int first = nrTst + 1;
    while (first > 1 && WaterColumnsZero(r, first - 1)) --first;
    if (first > nrTst || first < 2) return 0;
    // The step of the stop keeps the depth that passed the bottom.
    return At(r.Dwt, first - 1) == 0 ? 0 : first - 1;
}

int StoppedAtStep(const ModelState& state, int nrTst) {
    if (!state.Stop) return 0;
    return std::clamp(state.Flows.StopStep, 1, std::max(nrTst, 1));
}

}  // namespace halovane
