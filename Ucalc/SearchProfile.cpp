#include "SearchProfile.h"

namespace halovane {

std::vector<double> TrialEfficiencies() {
    std::vector<double> trials(SearchTrials);
    double trial = 0.10;
    for (double& t : trials) t = trial = trial + 0.01;
    return trials;
}

}  // namespace halovane
