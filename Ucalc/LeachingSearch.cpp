#include "LeachingSearch.h"

#include "SaltBalance.h"
#include "SearchTerms.h"

namespace halovane {

namespace {

constexpr int L1 = 0, L2 = 1, L3 = 2, T = 3, A = 4;

double Resolve(Coef c, double trial, const ModelState& state) {
    switch (c) {
        case Coef::One: return 1.0;
        case Coef::Trial: return trial;
        default: break;
    }
    return state.Fit[static_cast<size_t>(ZoneOfStored(c))].LE;
}

}  // namespace

void SearchLeachingEfficiencyReference(const RunData& run, ModelState& state, int layers, Zone zone,
                                       double* scores) {
    const ModelInput& in = run.in;
    const LayerFlows& f = state.Flows;
    const Series& drainT = state.Results.DrainT;
    const SearchTerms terms = TermsOfSearch(layers, zone);
    const int searched = static_cast<int>(zone);
    const Series& measured = in.ECsm[zone];
    const double W[ZoneCount] = {run.W[Z1], run.W[Z2], run.W[Z3], run.W[Zt], run.W[Za]};
    // Deliberate: one-layer searches take Inf and Out times the step length; the efficiencies found depend on it.
    const double ts = terms.AquiferPerStep ? static_cast<double>(in.Ts) : 1.0;
    const double Si = in.Si, Sinf = in.Sinf, Inf = in.Inf, Out = in.Out, Up = run.Up, Down = run.Down;

    double trial = 0.10;
    double best = 1000000;
    for (int k = 0; k < SearchTrials; ++k) {
        if (Cancelled(run)) return;
        // Deliberate: repeated addition, not 0.10 + k * 0.01; the efficiency stored has these bits.
        trial = trial + 0.01;
        double score = 0;
        double E[ZoneCount], In[ZoneCount];
        for (int z = 0; z < ZoneCount; ++z) {
            E[z] = Resolve(terms.E[z], trial, state);
            In[z] = Resolve(terms.In[z], trial, state);
        }
        const double upFactor = Resolve(terms.Up, trial, state);

        double S[ZoneCount] = {in.Sini[Z1], in.Sini[Z2], in.Sini[Z3], in.Sini[Zt], in.Sini[Za]};
        double CapS[3];
        InitialCapillarySalinities(in, CapS);
        auto scoreZone = [&](int z, int i) {
            if (z != searched) return;
            const double m = measured[i];
            if (m > 0) {
                const double d = S[z] - m;
                score = score + d * d;
                // Deliberate: the cap gives every poor trial the same score, and ties go to the first trial.
                if (score > 1000) score = 1000;
            }
        };

        for (int i = 1; i <= in.NrTst; ++i) {
            for (int j = 1; j <= in.Ts; ++j) {
                const bool on = f.Computed(i, j);
                const bool last = j == in.Ts;
                const double Perc1 = on ? f.Perc1[i] : 0;
                const double capInto1 = on ? (layers == 1 ? f.Cap[i] : f.Cap1[i]) : 0;
                double prev = S[L1];
                S[L1] = ZoneUpdate(S[L1], (in.IrrDist[i] * Si + capInto1 * CapS[0]) / W[L1], E[L1], Perc1, W[L1],
                                   true);
                double aLow = (prev + S[L1]) / 2;
                double percLow = Perc1;
                if (last) scoreZone(L1, i);
                if (layers >= 2) {
                    const double Perc2 = on ? f.Perc2[i] : 0, Cap2 = on ? f.Cap2[i] : 0;
                    prev = S[L2];
                    S[L2] = ZoneUpdate(S[L2], (In[L2] * Perc1 * aLow + Cap2 * CapS[1]) / W[L2], E[L2],
                                       Perc2 + capInto1, W[L2], true);
                    CapS[0] = S[L2];
                    aLow = (prev + S[L2]) / 2;
                    percLow = Perc2;
                    if (last) scoreZone(L2, i);
                    if (layers == 3) {
                        const double Perc3 = on ? f.Perc3[i] : 0, Cap3 = on ? f.Cap3[i] : 0;
                        prev = S[L3];
                        S[L3] = ZoneUpdate(S[L3], (In[L3] * Perc2 * aLow + Cap3 * CapS[2]) / W[L3], E[L3],
                                           Perc3 + Cap2, W[L3], false);
                        CapS[1] = S[L3];
                        aLow = (prev + S[L3]) / 2;
                        percLow = Perc3;
                        if (last) scoreZone(L3, i);
                    }
                }
                prev = S[T];
                // Deliberate: the searches' own terms (DrainT + Down here) differ from the final pass's.
                S[T] = ZoneUpdate(S[T], (In[T] * percLow * aLow + upFactor * Up * S[A]) / W[T], E[T],
                                  drainT[i] + Down, W[T], false);
                CapS[layers - 1] = S[T];
                const double aT = (prev + S[T]) / 2;
                if (last) scoreZone(T, i);
                S[A] = ZoneUpdate(S[A], (In[A] * Down * aT + ts * Inf * Sinf) / W[A], E[A], ts * Out + Up, W[A],
                                  false);
                if (last) scoreZone(A, i);
            }
        }
        if (scores) scores[k] = score;
        if (score < best) {
            best = score;
            // Deliberate: stored at once, so terms that read this zone's own efficiency see the best so far.
            state.Fit[searched].LE = trial;
        }
    }
}

}  // namespace halovane
