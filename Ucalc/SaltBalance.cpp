#include "SaltBalance.h"

#include <cmath>

namespace halovane {

void InitialCapillarySalinities(const ModelInput& in, double CapS[3]) {
    CapS[0] = CapS[1] = CapS[2] = 0;
    if (in.NrLayers == 1) {
        CapS[0] = in.Sini[Zt];
    } else if (in.NrLayers == 2) {
        CapS[0] = in.Sini[Z2];
        CapS[1] = in.Sini[Zt];
    } else {
        CapS[0] = in.Sini[Z2];
        CapS[1] = in.Sini[Z3];
        CapS[2] = in.Sini[Zt];
    }
}

void RunSaltBalance(const RunData& run, ModelState& state) {
    const ModelInput& in = run.in;
    const LayerFlows& f = state.Flows;
    StepResults& r = state.Results;
    const int n = in.NrTst, ts = in.Ts, layers = in.NrLayers;
    const double LE1 = state.Fit[0].LE, LE2 = state.Fit[1].LE, LE3 = state.Fit[2].LE;
    const double LEt = state.Fit[3].LE, LEa = state.Fit[4].LE;
    const double Si = in.Si, Sinf = in.Sinf, Inf = in.Inf, Out = in.Out, Up = run.Up, Down = run.Down;

    double S1 = in.Sini[Z1], S2 = in.Sini[Z2], S3 = in.Sini[Z3], STr = in.Sini[Zt], SAq = in.Sini[Za];
    double CapS[3];
    InitialCapillarySalinities(in, CapS);
    double CapS1 = CapS[0], CapS2 = CapS[1], CapS3 = CapS[2];
    double SSE[ZoneCount] = {0, 0, 0, 0, 0};
    const Series* measured[ZoneCount] = {&in.ECsm[Z1], &in.ECsm[Z2], &in.ECsm[Z3], &in.ECsm[Zt], &in.ECsm[Za]};
    auto score = [&](int zone, int i, double S) {
        const double m = (*measured[zone])[i];
        if (m > 0) SSE[zone] = SSE[zone] + (S - m) * (S - m);
    };

    // The day records: every zone's own terms, booked beside the update
    // that uses them.
    state.Ledger.steps.assign(static_cast<size_t>(n) + 1, ZoneArray<SaltZoneStep>{});
    auto book = [](SaltZoneStep& z, double in0, double in1, double out0, double out1) {
        z.in[0] += in0;
        z.in[1] += in1;
        z.out[0] += out0;
        z.out[1] += out1;
    };

    for (int i = 1; i <= n; ++i) {
        const double irr = in.IrrDist[i];
        // Deliberate: every day of the step takes the drain discharge of the whole step, not the day's.
        const double drainT = r.DrainT[i];
        // The step's records are summed on the stack and stored once at the
        // end of the step: the compiler need not write them to memory every
        // day.
        ZoneArray<SaltZoneStep> L;
        L[Z1].start = S1, L[Z2].start = S2, L[Z3].start = S3, L[Zt].start = STr, L[Za].start = SAq;
        for (int j = 1; j <= ts; ++j) {
            const bool on = f.Computed(i, j);
            const double Perc1 = on ? f.Perc1[i] : 0;
            const bool last = j == ts;
            const double S1p = S1;
            double S1a, Sa;  // day average of layer 1 and of the lowest layer
            double PercLow;  // percolation out of the lowest layer
            if (layers == 1) {
                const double Cap = on ? f.Cap[i] : 0;
                const double capIn = Cap * CapS1;
                S1 = ZoneUpdate(S1, (irr * Si + Cap * CapS1) / run.W[Z1], LE1, Perc1, run.W[Z1], true, L[Z1].guards);
                S1a = (S1p + S1) / 2;
                book(L[Z1], irr * Si, capIn, LE1 * Perc1 * S1a, 0);
                if (last) score(0, i, S1);
                Sa = S1a;
                PercLow = Perc1;
                // transition zone; deliberate: with one layer it loses DrainT - Inf, with more DrainT alone
                const double STp = STr;
                const double upIn = Up * SAq;
                STr = ZoneUpdate(STr, (LE1 * Perc1 * S1a + Up * SAq) / run.W[Zt], LEt, drainT - Inf, run.W[Zt], false,
                                 L[Zt].guards);
                if (last) score(3, i, STr);
                CapS1 = STr;
                const double STa = (STp + STr) / 2;
                book(L[Zt], LE1 * Perc1 * S1a, upIn, LEt * (drainT - Inf) * STa, 0);
                const double SAp = SAq;
                SAq = ZoneUpdate(SAq, (LEt * Down * STa + Inf * Sinf) / run.W[Za], LEa, Out + Up, run.W[Za], false,
                                 L[Za].guards);
                book(L[Za], LEt * Down * STa, Inf * Sinf, LEa * (Out + Up) * ((SAp + SAq) / 2), 0);
                if (last) score(4, i, SAq);
                continue;
            }
            const double Cap1 = on ? f.Cap1[i] : 0, Cap2 = on ? f.Cap2[i] : 0;
            const double Perc2 = on ? f.Perc2[i] : 0;
            const double cap1In = Cap1 * CapS1;
            S1 = ZoneUpdate(S1, (irr * Si + Cap1 * CapS1) / run.W[Z1], LE1, Perc1, run.W[Z1], true, L[Z1].guards);
            S1a = (S1p + S1) / 2;
            book(L[Z1], irr * Si, cap1In, LE1 * Perc1 * S1a, 0);
            if (last) score(0, i, S1);
            const double S2p = S2;
            const double cap2In = Cap2 * CapS2;
            S2 = ZoneUpdate(S2, (LE1 * Perc1 * S1a + Cap2 * CapS2) / run.W[Z2], LE2, Perc2 + Cap1, run.W[Z2], true,
                            L[Z2].guards);
            if (last) score(1, i, S2);
            CapS1 = S2;
            const double S2a = (S2p + S2) / 2;
            book(L[Z2], LE1 * Perc1 * S1a, cap2In, LE2 * Perc2 * S2a, LE2 * Cap1 * S2a);
            double LElow = LE2;
            Sa = S2a;
            PercLow = Perc2;
            if (layers == 3) {
                const double Cap3 = on ? f.Cap3[i] : 0, Perc3 = on ? f.Perc3[i] : 0;
                const double S3p = S3;
                const double cap3In = Cap3 * CapS3;
                S3 = ZoneUpdate(S3, (LE2 * Perc2 * S2a + Cap3 * CapS3) / run.W[Z3], LE3, Perc3 + Cap2, run.W[Z3],
                                false, L[Z3].guards);
                if (last) score(2, i, S3);
                CapS2 = S3;
                Sa = (S3p + S3) / 2;
                book(L[Z3], LE2 * Perc2 * S2a, cap3In, LE3 * Perc3 * Sa, LE3 * Cap2 * Sa);
                PercLow = Perc3;
                LElow = LE3;
            }
            const double STp = STr;
            const double upIn = Up * SAq;
            STr = ZoneUpdate(STr, (LElow * PercLow * Sa + Up * SAq) / run.W[Zt], LEt, drainT, run.W[Zt], false,
                             L[Zt].guards);
            if (last) score(3, i, STr);
            if (layers == 2)
                CapS2 = STr;
            else
                CapS3 = STr;
            const double STa = (STp + STr) / 2;
            book(L[Zt], LElow * PercLow * Sa, upIn, LEt * drainT * STa, 0);
            const double SAp = SAq;
            SAq = ZoneUpdate(SAq, (LEt * Down * STa + Inf * Sinf) / run.W[Za], LEa, Out + Up, run.W[Za], false,
                             L[Za].guards);
            book(L[Za], LEt * Down * STa, Inf * Sinf, LEa * (Out + Up) * ((SAp + SAq) / 2), 0);
            if (last) score(4, i, SAq);
        }
        L[Z1].end = S1, L[Z2].end = S2, L[Z3].end = S3, L[Zt].end = STr, L[Za].end = SAq;
        state.Ledger.steps[i] = L;
        r.SR[Z1][i] = S1;
        r.SR[Z2][i] = S2;
        r.SR[Z3][i] = S3;
        r.SR[Zt][i] = STr;
        r.SR[Za][i] = SAq;
    }
    ComputeFitIndices(run, state, SSE);
}

void ComputeFitIndices(const RunData& run, ModelState& state, const double SSE[ZoneCount]) {
    const ModelInput& in = run.in;
    const int n = in.NrTst;
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        ZoneFit& fit = state.Fit[z];
        const int count = state.Counts.NrMeas[zone];
        if (ZoneInUse(in.NrLayers, zone) && count > 3) {
            const Series& m = in.ECsm[zone];
            double SQ = 0;
            for (int i = 1; i <= n; ++i)
                if (m[i] > 0) SQ = SQ + m[i] * m[i];
            // Deliberate: 1 - sqrt(SSE / SQ), though the output file calls it a coefficient of determination.
            double index = 1 - std::sqrt(SSE[z] / SQ);
            // Measured values so large that their squares overflow give
            // inf / inf; the simulated salinities are then negligible
            // beside them and the index is 0.
            if (std::isnan(index)) index = 0;
            // Deliberate: layers 1 and 2 keep a negative index; the deeper zones report 0.
            if (z >= 2 && index < 0) index = 0;
            fit.FitIndex = index;
        }
        if (count < 4) {
            fit.FitIndex = 0;
            fit.FitNotAvailable = true;
        } else {
            fit.FitNotAvailable = false;
        }
    }
}

}  // namespace halovane
