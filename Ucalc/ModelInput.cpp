#include "ModelInput.h"

#include "IrrigationSpread.h"

namespace halovane {

int StepLengthIndex(int ts) {
    for (int k = 0; k < 4; ++k)
        if (StepLengths[k] == ts) return k;
    return -1;
}

const char* VariantWord(ModelVariant variant) {
    return variant == ModelVariant::Conserving ? "conserving" : "prescribed";
}

bool ParseModelVariant(const std::string& word, ModelVariant& variant) {
    for (ModelVariant v : {ModelVariant::Prescribed, ModelVariant::Conserving})
        if (word == VariantWord(v)) {
            variant = v;
            return true;
        }
    return false;
}

bool MeasurementCounts::anyOptimisable() const {
    for (int count : NrMeas)
        if (count > 3) return true;
    return false;
}

void ResizeHydrologicalSeries(ModelInput& in, int n) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (Series* s : {&in.Rain, &in.Irrig, &in.EvapT, &in.IrrDist}) s->resize(size, 0.0);
}

void ResizeMeasuredSeries(ModelInput& in, int n, double fill) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (Series& s : in.ECsm) s.resize(size, fill);
}

void DropStepsAfter(ModelInput& in, int n) {
    const size_t size = static_cast<size_t>(n < 0 ? 0 : n) + 1;
    for (Series* s : {&in.Rain, &in.Irrig, &in.EvapT, &in.IrrDist})
        if (s->size() > size) s->resize(size);
    for (Series& s : in.ECsm)
        if (s.size() > size) s.resize(size);
}

void DistributeIrrigation(ModelInput& in) {
    const int n = in.NrTst;
    const Series& irr = in.Irrig;
    in.IrrDist.assign(static_cast<size_t>(n) + 1, 0.0);
    for (int i = 1; i <= n && i < static_cast<int>(irr.size()); ++i) in.IrrDist[i] = irr[i];
    if (in.Ts != 1 || static_cast<int>(irr.size()) < n + 1) return;

    ForEachIrrigationSpread(irr, n, [&in](int k, int m, double share) {
        for (int d = k; d <= k + m - 1; ++d) in.IrrDist[d] = share;
    });
}

double RootZoneThickness(const ModelInput& in) {
    switch (in.NrLayers) {
        case 2: return in.D[Z1] + in.D[Z2];
        case 3: return in.D[Z1] + in.D[Z2] + in.D[Z3];
        default: return in.D[Z1];
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
    for (Zone z : EveryZone)
        if (ZoneInUse(in.NrLayers, z)) c.NrMeas[z] = CountPresent(in.ECsm[z], n);
    return c;
}

bool ZoneInUse(int layers, Zone z) {
    if (z == Zone::Layer2) return layers >= 2;
    if (z == Zone::Layer3) return layers == 3;
    return true;
}

}  // namespace halovane
