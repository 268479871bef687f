#include "ResultsCsv.h"

#include "NumberText.h"
#include "RunStop.h"

namespace halovane {

namespace {

const char* const ZoneColumn[ZoneCount] = {"layer1", "layer2", "layer3", "transition", "aquifer"};

}  // namespace

std::string ResultsCsv(const ModelInput& in, const ModelState& state) {
    const int layers = in.NrLayers;
    std::string out = "step,rain_mm,irrigation_mm,potential_evap_mm,percolation_mm,capillary_rise_mm,"
                      "actual_evap_mm,drainage_mm,water_table_depth_m";
    for (int z = 0; z < ZoneCount; ++z) {
        if (!ZoneInUse(layers, static_cast<Zone>(z))) continue;
        const std::string name = layers == 1 && z == 0 ? "rootzone" : ZoneColumn[z];
        out += "," + name + "_calculated_dS_m," + name + "_measured_dS_m";
    }
    // Results of the prescribed model keep the columns they always had.
    const bool conserving = in.Variant == ModelVariant::Conserving;
    if (conserving) out += ",model_variant";
    out += ",stopped\r\n";
    const StepResults& r = state.Results;
    // From the step in which the run stopped on, the results were not
    // computed: their cells stay empty and `stopped` is 1.
    const int stop = StoppedAtStep(state, in.NrTst);
    for (int i = 1; i <= in.NrTst; ++i) {
        const size_t k = static_cast<size_t>(i);
        const bool computed = stop == 0 || i < stop;
        auto result = [computed](double v) { return computed ? ShortestText(v) : std::string(); };
        out += std::to_string(i);
        for (double v : {in.Rain[k], in.Irrig[k], in.EvapT[k]}) out += "," + ShortestText(v);
        for (double v : {r.PercT[k], r.CapTT[k], r.EvapAT[k], r.DrainT[k], r.Dwt[k]}) out += "," + result(v);
        for (int z = 0; z < ZoneCount; ++z) {
            const Zone zone = static_cast<Zone>(z);
            if (!ZoneInUse(layers, zone)) continue;
            out += "," + result(r.SR[zone][k]) + ",";
            const double m = in.ECsm[zone][k];
            if (m > 0) out += ShortestText(m);
        }
        if (conserving) out += std::string(",") + VariantWord(in.Variant);
        out += computed ? ",0\r\n" : ",1\r\n";
    }
    return out;
}

}  // namespace halovane
