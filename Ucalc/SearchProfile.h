// The scores of one leaching-efficiency search: every trial efficiency and
// the score the search compared for it.
#pragma once

#include <vector>

#include "ModelInput.h"

namespace halovane {

// Trials of a leaching-efficiency search.
constexpr int SearchTrials = 180;

struct SearchProfile {
    Zone zone = Zone::Layer1;
    std::vector<double> trials;  // 0.11 .. 1.90, formed as the search forms them
    std::vector<double> scores;  // capped sum of squared differences, per trial
};

// The trial efficiencies of a search: 0.10 plus 0.01 added 180 times, one
// addition after the other, so each value has the same bits as in the search.
std::vector<double> TrialEfficiencies();

}  // namespace halovane
