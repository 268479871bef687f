#include "ModelInput.h"

namespace halovane {

int StepLengthIndex(int ts) {
    for (int k = 0; k < 4; ++k)
        if (StepLengths[k] == ts) return k;
    return -1;
}

int MeasurementCounts::of(Zone z) const {
    switch (z) {
        case Zone::Layer1: return NrMeas1;
        case Zone::Layer2: return NrMeas2;
        case Zone::Layer3: return NrMeas3;
        case Zone::Transition: return NrMeast;
        case Zone::Aquifer: return NrMeasa;
    }
    return 0;
}

bool MeasurementCounts::anyOptimisable() const {
    return NrMeas1 > 3 || NrMeas2 > 3 || NrMeas3 > 3 || NrMeast > 3 || NrMeasa > 3;
}

void ResizeHydrologicalSeries(ModelInput& in, int n) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (Series* s : {&in.Rain, &in.Irrig, &in.EvapT, &in.IrrDist}) s->resize(size, 0.0);
}

void ResizeMeasuredSeries(ModelInput& in, int n, double fill) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (Series* s : {&in.ECsm1, &in.ECsm2, &in.ECsm3, &in.ECsmt, &in.ECsma}) s->resize(size, fill);
}

void DistributeIrrigation(ModelInput& in) {
    const int n = in.NrTst;
    const Series& irr = in.Irrig;
    in.IrrDist.assign(static_cast<size_t>(n) + 1, 0.0);
    for (int i = 1; i <= n && i < static_cast<int>(irr.size()); ++i) in.IrrDist[i] = irr[i];
    if (in.Ts != 1 || static_cast<int>(irr.size()) < n + 1) return;

    for (int k = 1; k <= n; ++k) {
        for (int m = 2; m <= 5; ++m) {
            // The window k .. k+m-1 must end before the last time step.
            if (k + m - 1 >= n) break;
            if (!(irr[k] > 0) || !(irr[k + 1] <= 0.01)) break;
            bool dry = true;
            for (int j = 2; j <= m - 1; ++j)
                if (!(irr[k + j] < 0.01)) dry = false;
            if (!dry) break;  // a wider window would contain the same wet day
            const double share = irr[k] / m;
            for (int d = k; d <= k + m - 1; ++d) in.IrrDist[d] = share;
        }
    }
}

double RootZoneThickness(const ModelInput& in) {
    switch (in.NrLayers) {
        case 2: return in.D1 + in.D2;
        case 3: return in.D1 + in.D2 + in.D3;
        default: return in.D1;
    }
}

namespace {
int CountPresent(const Series& s, int n) {
    int count = 0;
    for (int i = 1; i <= n && i < static_cast<int>(s.size()); ++i)
        if (s[i] > 0) ++count;
    return count;
}
}  // namespace

MeasurementCounts CountMeasurements(const ModelInput& in) {
    MeasurementCounts c;
    const int n = in.NrTst;
    c.NrMeas1 = CountPresent(in.ECsm1, n);
    if (in.NrLayers >= 2) c.NrMeas2 = CountPresent(in.ECsm2, n);
    if (in.NrLayers == 3) c.NrMeas3 = CountPresent(in.ECsm3, n);
    c.NrMeast = CountPresent(in.ECsmt, n);
    c.NrMeasa = CountPresent(in.ECsma, n);
    return c;
}

#define HALOVANE_ZONE_FIELD(fn, f1, f2, f3, ft, fa)       \
    double& fn(ModelInput& in, Zone z) {                  \
        switch (z) {                                      \
            case Zone::Layer1: return in.f1;              \
            case Zone::Layer2: return in.f2;              \
            case Zone::Layer3: return in.f3;              \
            case Zone::Transition: return in.ft;          \
            case Zone::Aquifer: break;                    \
        }                                                 \
        return in.fa;                                     \
    }

HALOVANE_ZONE_FIELD(Thickness, D1, D2, D3, Dt, Da)
HALOVANE_ZONE_FIELD(TotalPorosity, TP1, TP2, TP3, TPt, TPa)
HALOVANE_ZONE_FIELD(EffectivePorosity, EP1, EP2, EP3, EPt, EPa)
HALOVANE_ZONE_FIELD(LeachingEfficiency, LE1, LE2, LE3, LEt, LEa)
HALOVANE_ZONE_FIELD(InitialSalinity, S1ini, S2ini, S3ini, STini, SAini)
#undef HALOVANE_ZONE_FIELD

Series& Measured(ModelInput& in, Zone z) {
    switch (z) {
        case Zone::Layer1: return in.ECsm1;
        case Zone::Layer2: return in.ECsm2;
        case Zone::Layer3: return in.ECsm3;
        case Zone::Transition: return in.ECsmt;
        case Zone::Aquifer: break;
    }
    return in.ECsma;
}

const Series& Measured(const ModelInput& in, Zone z) {
    return Measured(const_cast<ModelInput&>(in), z);
}

double LeachingEfficiency(const ModelInput& in, Zone z) {
    return LeachingEfficiency(const_cast<ModelInput&>(in), z);
}

bool ZoneInUse(int layers, Zone z) {
    if (z == Zone::Layer2) return layers >= 2;
    if (z == Zone::Layer3) return layers == 3;
    return true;
}

}  // namespace halovane
