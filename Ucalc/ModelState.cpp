#include "ModelState.h"

namespace halovane {

void StepResults::Resize(int n) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (Series* s : {&PercT, &CapTT, &EvapAT, &DrainT, &Dwt}) s->assign(size, 0.0);
    for (Series& s : SR) s.assign(size, 0.0);
}

}  // namespace halovane
