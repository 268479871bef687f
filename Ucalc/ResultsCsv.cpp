#include "ResultsCsv.h"

#include "NumberText.h"
#include "ResultColumns.h"
#include "RunStop.h"

namespace halovane {

std::string ResultsCsv(const ModelInput& in, const ModelState& state) {
    const int layers = in.NrLayers;
    std::string out = "step,rain_mm,irrigation_mm,potential_evap_mm";
    const std::vector<const ResultColumn*> columns = ColumnsOf(layers);
    // A calculated salinity has the measured one beside it.
    for (const ResultColumn* c : columns) {
        out += "," + CsvName(*c, layers);
        if (c->zone) out += "," + CsvMeasuredName(*c, layers);
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
        for (const ResultColumn* c : columns) {
            out += "," + result(c->Of(r)[i]);
            if (!c->zone) continue;
            out += ",";
            const double m = in.ECsm[*c->zone][k];
            if (m > 0) out += ShortestText(m);
        }
        if (conserving) out += std::string(",") + VariantWord(in.Variant);
        out += computed ? ",0\r\n" : ",1\r\n";
    }
    return out;
}

}  // namespace halovane
