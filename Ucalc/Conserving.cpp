#include "Conserving.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "RunDriver.h"
#include "WaterBalance.h"

namespace halovane {

int PorosityProfile::IntervalOf(double d) const {
    const int last = static_cast<int>(b.size());
    for (int k = 0; k < last; ++k)
        if (d <= b[static_cast<size_t>(k)]) return k;
    return last;
}

double PorosityProfile::Move(double d, double V) const {
    if (V == 0) return d;
    const int last = static_cast<int>(b.size());
    int k = IntervalOf(d);
    const double inf = std::numeric_limits<double>::infinity();
    if (V > 0) {
        for (;;) {
            const double e = por[static_cast<size_t>(k)];
            const double room = k == 0 ? inf : 1000 * e * (d - b[static_cast<size_t>(k - 1)]);
            if (room >= V) return d - V / (1000 * e);
            V -= room;
            d = b[static_cast<size_t>(k - 1)];
            k -= 1;
        }
    }
    for (;;) {
        if (k < last && d == b[static_cast<size_t>(k)]) k += 1;
        const double e = por[static_cast<size_t>(k)];
        const double room = k == last ? inf : 1000 * e * (b[static_cast<size_t>(k)] - d);
        if (room >= -V) return d - V / (1000 * e);
        V += room;
        d = b[static_cast<size_t>(k)];
    }
}

PorosityProfile ProfileOf(const RunData& run) {
    const ModelInput& in = run.in;
    PorosityProfile p;
    p.b.push_back(0);
    p.por.push_back(1.0);
    if (in.NrLayers >= 2) {
        p.b.push_back(in.D[Z1]);
        p.por.push_back(in.EP[Z1]);
    }
    if (in.NrLayers == 3) {
        p.b.push_back(in.D[Z1] + in.D[Z2]);
        p.por.push_back(in.EP[Z2]);
    }
    p.b.push_back(run.Dr);
    p.por.push_back(in.EP[in.NrLayers == 1 ? Z1 : in.NrLayers == 2 ? Z2 : Z3]);
    p.b.push_back(run.Dr + in.D[Zt]);
    p.por.push_back(in.EP[Zt]);
    p.por.push_back(in.EP[Za]);
    return p;
}

void DistributeIrrigationAdding(ModelInput& in) {
    const int n = in.NrTst;
    const Series& irr = in.Irrig;
    if (in.Ts != 1) {
        in.IrrDist = irr;
        return;
    }
    in.IrrDist.assign(static_cast<size_t>(n) + 1, 0.0);
    for (int k = 1; k <= n; ++k) {
        int width = 1;
        for (int m = 2; m <= 5; ++m) {
            if (k + m - 1 >= n || !(irr[k] > 0) || !(irr[k + 1] <= 0.01)) break;
            bool dry = true;
            for (int j = 2; j <= m - 1; ++j)
                if (!(irr[k + j] < 0.01)) dry = false;
            if (!dry) break;
            width = m;
        }
        const double share = irr[k] / width;
        for (int d = k; d <= k + width - 1; ++d) in.IrrDist[d] += share;
    }
}

namespace {

// The column of one run: what every day needs besides its state.
struct Column {
    const RunData& run;
    PorosityProfile profile;
    int layers;
    double shares[3] = {0, 0, 0};     // of the evapotranspiration
    double retention[3] = {0, 0, 0};  // of the change of the store
    double retCap = 0;

    Column(const RunData& r, double capacity) : run(r), profile(ProfileOf(r)), layers(r.in.NrLayers), retCap(capacity) {
        const ModelInput& in = r.in;
        if (layers == 1) {
            shares[0] = 1;
        } else if (layers == 2) {
            shares[0] = 2.0 / 3.0 + r.R1;
            shares[1] = 1.0 / 3.0 + r.R2;
        } else {
            shares[0] = 1.0 / 2.0 + r.R1;
            shares[1] = 1.0 / 3.0 + r.R2;
            shares[2] = 1.0 / 6.0 + r.R3;
        }
        double sum = 0;
        for (int k = 0; k < layers; ++k) sum += (in.TP[static_cast<Zone>(k)] - in.EP[static_cast<Zone>(k)]) * in.D[static_cast<Zone>(k)];
        for (int k = 0; k < layers; ++k)
            retention[k] = sum == 0 ? 1.0 / layers
                                    : (in.TP[static_cast<Zone>(k)] - in.EP[static_cast<Zone>(k)]) * in.D[static_cast<Zone>(k)] / sum;
    }

    // Day of step i from depth d and store st, drainage factor qh1.
    ConservingDay Day(int i, double d, double st, double qh1) const {
        const ModelInput& in = run.in;
        ConservingDay day;
        day.d0 = d;
        day.St0 = st;
        const double CDw = in.CDc - 0.5 * run.Dr;
        double CF = 1;
        if (CDw > 0) CF = std::clamp((in.CDc - d) / CDw, 0.0, 1.0);
        day.Irr = in.IrrDist[i];
        day.WR = in.Rain[i] + in.IrrDist[i];
        const double evapT = in.EvapT[i];
        double evapA = evapT;
        if (evapT / in.IrrEff > day.WR) evapA = in.IrrEff * day.WR + CF * (evapT - in.IrrEff * day.WR);
        evapA = std::min(evapA, evapT);
        day.EvapA = evapA;
        const double net = day.WR - evapA;
        if (net >= 0) {
            day.dS = std::max(0.0, std::min(net, retCap - st));
            day.PercR = net - day.dS;
            day.CapT = 0;
        } else {
            day.dS = -std::min(-net, st);
            day.PercR = 0;
            day.CapT = -net + day.dS;
        }
        day.St1 = st + day.dS;
        double q = day.WR;
        for (int k = 0; k < layers; ++k) {
            day.Evap[k] = shares[k] * evapA;
            q -= day.Evap[k] + day.dS * retention[k];
            day.q[k] = q;
        }
        day.q[layers - 1] = day.PercR - day.CapT;

        const int nsub = qh1 < 0.02 ? 1 : 10;
        const double v = (day.PercR - day.CapT + in.Inf - in.Out) / nsub;
        for (int s = 0; s < nsub; ++s) {
            const double drain = DrainDischarge(in, qh1, d, nsub);
            day.Drain += drain;
            d = profile.Move(d, v - drain);
        }
        day.d1 = d;
        return day;
    }
};

double RetentionCapacity(const RunData& run) {
    const ModelInput& in = run.in;
    double retCap = (in.TP[Z1] - in.EP[Z1]) * in.D[Z1];
    if (in.NrLayers >= 2) retCap = retCap + (in.TP[Z2] - in.EP[Z2]) * in.D[Z2];
    if (in.NrLayers == 3) retCap = retCap + (in.TP[Z3] - in.EP[Z3]) * in.D[Z3];
    return 1000 * retCap;
}

}  // namespace

double ConservingFirstStepImbalance(const RunData& run, const ModelState& state, double qh1) {
    const ModelInput& in = run.in;
    const Column column(run, state.RetCap);
    double d = in.Dwtini, st = state.Stor[0];
    double sumPerc = 0, sumCap = 0, sumDrain = 0;
    for (int j = 1; j <= in.Ts; ++j) {
        const ConservingDay day = column.Day(1, d, st, qh1);
        sumPerc = sumPerc + day.PercR;
        sumCap = sumCap + day.CapT;
        sumDrain = sumDrain + day.Drain;
        d = day.d1;
        st = day.St1;
    }
    return std::fabs(sumPerc - sumCap - sumDrain + (in.Inf - in.Out) * in.Ts);
}

void RunConservingWaterBalance(RunData& run, ModelState& state, UserInteraction& ui) {
    const ModelInput& in = run.in;
    const int n = in.NrTst;
    StepResults& r = state.Results;
    for (Series* s : {&r.PercT, &r.CapTT, &r.EvapAT, &r.DrainT, &r.Dwt}) std::fill(s->begin(), s->end(), 0.0);
    std::fill(state.Stor.begin(), state.Stor.end(), 0.0);
    std::fill(state.DStor.begin(), state.DStor.end(), 0.0);
    state.RetCap = RetentionCapacity(run);
    state.Stor[0] = in.SMini * state.RetCap / 100;
    state.Days.clear();
    state.Days.reserve(static_cast<size_t>(n) * static_cast<size_t>(in.Ts));
    const Column column(run, state.RetCap);
    const double bottom = run.Dr + in.D[Zt] + in.D[Za];
    double d = in.Dwtini, st = state.Stor[0];
    r.Dwt[0] = d;
    state.Flows.StopStep = n + 1;
    state.Flows.StopDay = in.Ts;
    for (int i = 1; i <= n; ++i) {
        if (Cancelled(run)) return;
        double sD = 0, sE = 0, sP = 0, sC = 0;
        for (int j = 1; j <= in.Ts; ++j) {
            const ConservingDay day = column.Day(i, d, st, state.QH1w);
            if (day.d1 > bottom) {
                r.Dwt[i] = day.d1;
                state.Flows.StopStep = i;
                state.Flows.StopDay = j - 1;
                state.Stop = true;
                ui.ShowMessage(BelowAquiferMessage);
                return;
            }
            sD = sD + day.Drain;
            sE = sE + day.EvapA;
            sP = sP + day.PercR;
            sC = sC + day.CapT;
            d = day.d1;
            st = day.St1;
            state.Days.push_back(day);
        }
        r.DrainT[i] = sD;
        r.EvapAT[i] = sE;
        r.PercT[i] = sP;
        r.CapTT[i] = sC;
        r.Dwt[i] = d;
        state.Stor[i] = st;
        state.DStor[i] = st - state.Stor[i - 1];
    }
}

void RefineConservingDrainage(RunData& run, ModelState& state) {
    const ModelInput& in = run.in;
    const double given = in.QH1;
    state.RetCap = RetentionCapacity(run);
    state.Stor[0] = in.SMini * state.RetCap / 100;
    state.QH1w = 0;
    double best = 100000;
    for (int k = 1; k <= 200; ++k) {
        if (Cancelled(run)) return;
        const double trial = 0.001 * k;
        // Only the first step of a trial can win: the running sum only grows
        // and the best is never reset.
        if (in.NrTst >= 1) {
            const double S = 0 + ConservingFirstStepImbalance(run, state, trial);
            if (std::fabs(S) < best) {
                best = std::fabs(S);
                state.QH1w = trial;
            }
        }
        SettleRefinedFactor(state, given);
    }
}

}  // namespace halovane
