#include "ModelState.h"

namespace halovane {

Series& StepResults::Salinity(Zone z) {
    switch (z) {
        case Zone::Layer1: return SR1;
        case Zone::Layer2: return SR2;
        case Zone::Layer3: return SR3;
        case Zone::Transition: return SRT;
        case Zone::Aquifer: break;
    }
    return SRA;
}

const Series& StepResults::Salinity(Zone z) const { return const_cast<StepResults*>(this)->Salinity(z); }

void StepResults::Resize(int n) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (Series* s : {&PercT, &CapTT, &EvapAT, &DrainT, &Dwt, &SR1, &SR2, &SR3, &SRT, &SRA}) s->assign(size, 0.0);
}

}  // namespace halovane
