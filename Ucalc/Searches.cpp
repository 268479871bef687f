#include "Searches.h"

#include "LeachingSearch.h"
#include "LeachingSearchFast.h"

namespace halovane {

std::vector<Zone> SearchOrder(int layers) {
    if (layers == 1) return {Zone::Layer1, Zone::Transition, Zone::Aquifer};
    if (layers == 2) return {Zone::Layer1, Zone::Layer2, Zone::Transition, Zone::Aquifer};
    return {Zone::Layer1, Zone::Layer2, Zone::Layer3, Zone::Transition, Zone::Aquifer, Zone::Transition, Zone::Aquifer};
}

void RunSearches(const RunData& run, ModelState& state, bool reference, int threads,
                 std::vector<SearchProfile>* profiles) {
    const int layers = run.in.NrLayers;
    const std::vector<Zone> order = SearchOrder(layers);
    const int count = static_cast<int>(order.size());
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
