// Round trip of the output file: results made from the bytes are written
// with the writer and read back with the reader, which must give every
// printed value exactly as printed, or refuse the file. It may refuse only
// when a value was printed wider than its column.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "OutputFile.h"

namespace {

using namespace halovane;

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Any finite double; what the writer never gets (inf, nan) becomes 0.
    double Real(double limit = 1.7e308) {
        uint64_t bits = 0;
        for (int k = 0; k < 8; ++k) bits |= static_cast<uint64_t>(Byte()) << (8 * k);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return std::isfinite(v) && std::fabs(v) <= limit ? v : 0.0;
    }

private:
    const uint8_t* data_;
    size_t size_, at_ = 0;
};

double Printed(double value, int width, int decimals) { return StringToFloat(FormatFixed(value, width, decimals)); }

void Check(bool condition) {
    if (!condition) std::abort();
}

// Widths of the written row columns, as OutputFileText prints them.
const int Widths[3][10] = {{9, 9, 9, 10, 10, 10, 0, 0, 13, 9},
                           {9, 11, 9, 10, 8, 9, 8, 0, 8, 10},
                           {9, 11, 9, 10, 8, 9, 9, 8, 9, 10}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes bytes(data, size);
    ModelInput in;
    in.NrLayers = 1 + bytes.Byte() % 3;
    in.NrTst = 1 + bytes.Byte() % 8;
    in.Ts = 30;
    ModelState state;
    const uint8_t flags = bytes.Byte();
    state.RefinementChosen = flags & 1;
    state.RefinementAccepted = flags & 2;
    state.QH1w = bytes.Real();
    for (ZoneFit& fit : state.Fit) {
        const uint8_t f = bytes.Byte();
        fit.LeOptimized = f & 1;
        fit.FitNotAvailable = f & 2;
        fit.LE = bytes.Real();
        // 1 - sqrt(SSE / SQ) of finite doubles stays far below this.
        fit.FitIndex = bytes.Real(1e154);
    }
    StepResults& r = state.Results;
    r.Resize(in.NrTst);
    Series* columns[10] = {&r.PercT,  &r.CapTT,  &r.EvapAT, &r.DrainT, &r.Dwt,
                           &r.SR[Z1], &r.SR[Z2], &r.SR[Z3], &r.SR[Zt], &r.SR[Za]};
    for (int i = 1; i <= in.NrTst; ++i)
        for (Series* s : columns) (*s)[static_cast<size_t>(i)] = bytes.Real();

    const std::string text = OutputFileText(in, state, "roundtrip.out");
    OutputReadback back;
    NumberFormat format;
    const ReadOutcome read = ParseOutputText(text, "roundtrip.out", back, format);
    const int* widths = Widths[in.NrLayers - 1];
    if (!read.ok) {
        Check(read.message.find("line ") != std::string::npos);
        bool overflow = false;
        for (int i = 1; i <= in.NrTst; ++i)
            for (int c = 0; c < 10; ++c)
                if (widths[c] > 0 &&
                    FormatFixed((*columns[c])[static_cast<size_t>(i)], widths[c], c < 4 ? 1 : 2).size() >
                        static_cast<size_t>(widths[c]))
                    overflow = true;
        Check(overflow);
        return 0;
    }
    Check(back.Layers == in.NrLayers && back.NrTst == in.NrTst);
    Check(back.DrainageLine == state.RefinementChosen);
    if (state.RefinementChosen) Check(back.QH1 == Printed(state.QH1w, 8, 3));
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        if (!ZoneInUse(in.NrLayers, zone)) continue;
        const ZoneFit& fit = state.Fit[static_cast<size_t>(z)];
        const ZoneReadback& got = back.Zones[static_cast<size_t>(z)];
        const bool written = !(zone == Zone::Transition || zone == Zone::Aquifer) || fit.LE > 0;
        Check(got.LE == (written ? Printed(fit.LE, 8, 2) : 0.0));
        Check(got.CoefficientRead == (written && !fit.FitNotAvailable));
        if (got.CoefficientRead) {
            Check(got.Coefficient == Printed(100 * fit.FitIndex, 5, 0));
            Check(got.Optimized == fit.LeOptimized);
        }
    }
    const StepResults& b = back.Results;
    const Series* got[10] = {&b.PercT,  &b.CapTT,  &b.EvapAT, &b.DrainT, &b.Dwt,
                             &b.SR[Z1], &b.SR[Z2], &b.SR[Z3], &b.SR[Zt], &b.SR[Za]};
    for (int i = 1; i <= in.NrTst; ++i)
        for (int c = 0; c < 10; ++c)
            if (widths[c] > 0) {
                const size_t k = static_cast<size_t>(i);
                Check((*got[c])[k] == Printed((*columns[c])[k], widths[c], c < 4 ? 1 : 2));
            }
    return 0;
}
