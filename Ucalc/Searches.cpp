#include "Searches.h"

#include "LeachingSearch.h"
#include "LeachingSearchFast.h"

namespace halovane {

void RunSearches(const RunData& run, ModelState& state, bool reference, int threads,
                 std::vector<SearchProfile>* profiles) {
    static const Zone order1[] = {Zone::Layer1, Zone::Transition, Zone::Aquifer};
    static const Zone order2[] = {Zone::Layer1, Zone::Layer2, Zone::Transition, Zone::Aquifer};
    static const Zone order3[] = {Zone::Layer1,  Zone::Layer2,     Zone::Layer3, Zone::Transition,
                                  Zone::Aquifer, Zone::Transition, Zone::Aquifer};
    const int layers = run.in.NrLayers;
    const Zone* order = layers == 1 ? order1 : layers == 2 ? order2 : order3;
    const int count = layers == 1 ? 3 : layers == 2 ? 4 : 7;
    for (int k = 0; k < count; ++k) {
        if (Cancelled(run)) return;
        if (state.Counts.NrMeas[order[k]] <= 3) continue;
        double* scores = nullptr;
        if (profiles) {
            profiles->push_back({order[k], TrialEfficiencies(), std::vector<double>(SearchTrials)});
            scores = profiles->back().scores.data();
        }
        if (reference)
            SearchLeachingEfficiencyReference(run, state, layers, order[k], scores);
        else
            SearchLeachingEfficiencyFast(run, state, layers, order[k], scores, nullptr, threads);
    }
}

}  // namespace halovane
