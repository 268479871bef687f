// The windows over which the irrigation of daily steps is spread, shared by
// the spreading itself and by the account of what it loses.
#pragma once

#include "ModelInput.h"

namespace halovane {

// Calls spread(k, m, share) for every window k .. k+m-1 that the irrigation
// of day k is spread over, in the order the spreading writes them: the
// windows of one gift grow from 2 to at most 5 days, each replacing the one
// before. `irr` holds days 1..n.
template <typename Spread>
void ForEachIrrigationSpread(const Series& irr, int n, Spread&& spread) {
    for (int k = 1; k <= n; ++k) {
        for (int m = 2; m <= 5; ++m) {
            // The window k .. k+m-1 must end before the last time step.
            if (k + m - 1 >= n) break;
            if (!(irr[k] > 0) || !(irr[k + 1] <= 0.01)) break;
            bool dry = true;
            for (int j = 2; j <= m - 1; ++j)
                if (!(irr[k + j] < 0.01)) dry = false;
            if (!dry) break;  // a wider window would contain the same wet day
            spread(k, m, irr[k] / m);
        }
    }
}

}  // namespace halovane
