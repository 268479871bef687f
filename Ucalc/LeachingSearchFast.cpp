#include "LeachingSearchFast.h"

#include <algorithm>
#include <vector>

#include "LeachingSearch.h"
#include "SearchTerms.h"

namespace halovane {

namespace {

constexpr int L1 = 0, L2 = 1, L3 = 2, T = 3, A = 4;
constexpr int Lanes = 16;  // trials advancing together

// A run of days with the same flows: the days of a step, split in two when a
// stop ended the water balance inside it (later days have no flows).
struct Segment {
    int step;
    int days;
    bool flows;
    bool endsStep;  // its last day is the last day of the step
};

// Everything the kernel reads, in plain arrays indexed by step.
struct Problem {
    int layers = 1;
    int searched = 0;   // zone scored
    int deepest = 4;    // deepest zone that can influence the searched one
    std::vector<Segment> segments;
    // per step
    std::vector<double> irrSi, perc1, perc2, perc3, capInto1, cap2, cap3, qT, measured;
    double W[ZoneCount] = {};
    double Up = 0, Down = 0, aquiferInflow = 0, qA = 0;
    double S0[ZoneCount] = {}, CapS0[3] = {};
    SearchTerms terms{};
    double stored[ZoneCount] = {};
};

struct LaneValues {
    double trial[Lanes];
    double own[Lanes];  // the stored efficiency of the searched zone
    double score[Lanes];
};

Problem BuildProblem(const RunData& run, const ModelState& state, int layers, Zone zone) {
    const ModelInput& in = run.in;
    const LayerFlows& f = state.Flows;
    Problem p;
    p.layers = layers;
    p.searched = static_cast<int>(zone);
    p.terms = TermsOfSearch(layers, zone);
    for (int z = 0; z < ZoneCount; ++z) p.stored[z] = state.Fit[static_cast<size_t>(z)].LE;
    const double ts = p.terms.AquiferPerStep ? static_cast<double>(in.Ts) : 1.0;
    p.W[L1] = run.W1, p.W[L2] = run.W2, p.W[L3] = run.W3, p.W[T] = run.Wt, p.W[A] = run.Wa;
    p.Up = run.Up;
    p.Down = run.Down;
    p.aquiferInflow = ts * in.Inf * in.Sinf;
    p.qA = ts * in.Out + run.Up;
    p.S0[L1] = in.S1ini, p.S0[L2] = in.S2ini, p.S0[L3] = in.S3ini, p.S0[T] = in.STini, p.S0[A] = in.SAini;
    if (layers == 1) {
        p.CapS0[0] = in.STini;
    } else if (layers == 2) {
        p.CapS0[0] = in.S2ini;
        p.CapS0[1] = in.STini;
    } else {
        p.CapS0[0] = in.S2ini;
        p.CapS0[1] = in.S3ini;
        p.CapS0[2] = in.STini;
    }

    // Nothing after the last measured step of the searched zone can change
    // its score.
    const Series& m = Measured(in, zone);
    int last = 0;
    for (int i = 1; i <= in.NrTst; ++i)
        if (m[static_cast<size_t>(i)] > 0) last = i;
    const size_t n = static_cast<size_t>(last) + 1;
    for (auto* v : {&p.irrSi, &p.perc1, &p.perc2, &p.perc3, &p.capInto1, &p.cap2, &p.cap3, &p.qT, &p.measured})
        v->assign(n, 0.0);
    bool capInto[3] = {false, false, false};  // capillary rise into layer 1, 2, 3 on some day
    for (int i = 1; i <= last; ++i) {
        const size_t k = static_cast<size_t>(i);
        p.irrSi[k] = in.IrrDist[k] * in.Si;
        p.qT[k] = state.Results.DrainT[k] + run.Down;
        p.measured[k] = m[k];
        p.perc1[k] = f.Perc1[k];
        p.capInto1[k] = layers == 1 ? f.Cap[k] : f.Cap1[k];
        if (layers >= 2) {
            p.perc2[k] = f.Perc2[k];
            p.cap2[k] = f.Cap2[k];
        }
        if (layers == 3) {
            p.perc3[k] = f.Perc3[k];
            p.cap3[k] = f.Cap3[k];
        }
        const bool any = f.Computed(i, 1);
        if (any) {
            capInto[0] = capInto[0] || p.capInto1[k] != 0;
            capInto[1] = capInto[1] || p.cap2[k] != 0;
            capInto[2] = capInto[2] || p.cap3[k] != 0;
        }
        if (f.Computed(i, in.Ts)) {
            p.segments.push_back({i, in.Ts, true, true});
        } else if (any) {
            p.segments.push_back({i, f.StopDay, true, false});
            p.segments.push_back({i, in.Ts - f.StopDay, false, true});
        } else {
            p.segments.push_back({i, in.Ts, false, true});
        }
    }

    // A zone feeds the zone above it only through capillary rise (and the
    // aquifer the transition zone through the upward flow); zones below the
    // searched one that cannot reach it are left out.
    const int below[ZoneCount] = {layers == 1 ? T : L2, layers == 2 ? T : L3, T, A, -1};
    auto feedsUp = [&](int z) {  // does the zone below z reach z?
        if (z == T) return run.Up != 0;
        const int capIndex = z;  // capillary rise into layer z + 1
        return capInto[capIndex];
    };
    int deepest = p.searched;
    while (below[deepest] >= 0 && feedsUp(deepest)) deepest = below[deepest];
    p.deepest = deepest;
    return p;
}

// ---------------------------------------------------------------- kernel

// The helpers below pass 8-lane vectors by value; they are always inlined
// inside this file, so the calling convention of such vectors never matters.
#pragma GCC diagnostic ignored "-Wpsabi"
using V = double __attribute__((vector_size(64)));  // 8 lanes
constexpr int VL = 8;
constexpr int NV = Lanes / VL;

__attribute__((always_inline)) inline V Splat(double x) { return V{x, x, x, x, x, x, x, x}; }

__attribute__((always_inline)) inline V Load(const double* p) {
    V v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

__attribute__((always_inline)) inline void Store(double* p, V v) { __builtin_memcpy(p, &v, sizeof v); }

// One day of one zone, as the salt balance computes it: a = 0.5 × E × Q and
// F = 1 + a / W (floored at 0.001) are those of the step.
__attribute__((always_inline)) inline V Update(V S, V I, V a, V F, double W, bool upper) {
    const V Sin = I / W;
    const V Sout = a * S / W;
    V Snew = (S + Sin - Sout) / F;
    const V tenth = Splat(0.1);
    if (upper)
        Snew = Snew <= 0 ? tenth : Snew;
    else
        Snew = Snew < 0 ? tenth : Snew;
    return Snew;
}

__attribute__((always_inline)) inline V Floor(V F) { return F < 0.001 ? Splat(0.001) : F; }

__attribute__((always_inline)) inline V Resolve(Coef c, V trial, V own, const Problem& p) {
    switch (c) {
        case Coef::One: return Splat(1.0);
        case Coef::Trial: return trial;
        default: break;
    }
    const int z = static_cast<int>(c) - static_cast<int>(Coef::LE1);
    return z == p.searched ? own : Splat(p.stored[z]);
}

#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#define HALOVANE_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define HALOVANE_CLONES
#endif

HALOVANE_CLONES
void RunLanes(const Problem& p, LaneValues& lanes) {
    const int layers = p.layers, deepest = p.deepest;
    const bool withL2 = layers >= 2 && deepest >= L2;
    const bool withL3 = layers == 3 && deepest >= L3;
    const bool withT = deepest >= T, withA = deepest >= A;
    for (int v = 0; v < NV; ++v) {
        const V trial = Load(lanes.trial + v * VL), own = Load(lanes.own + v * VL);
        V E[ZoneCount], In[ZoneCount];
        for (int z = 0; z < ZoneCount; ++z) {
            E[z] = Resolve(p.terms.E[z], trial, own, p);
            In[z] = Resolve(p.terms.In[z], trial, own, p);
        }
        const V upFactor = Resolve(p.terms.Up, trial, own, p);
        const V half = Splat(0.5);
        V hE[ZoneCount];
        for (int z = 0; z < ZoneCount; ++z) hE[z] = half * E[z];
        const V upTimesUp = upFactor * p.Up;
        const V inA = In[A] * p.Down;

        V S1 = Splat(p.S0[L1]), S2 = Splat(p.S0[L2]), S3 = Splat(p.S0[L3]);
        V ST = Splat(p.S0[T]), SA = Splat(p.S0[A]);
        V C1 = Splat(p.CapS0[0]), C2 = Splat(p.CapS0[1]), C3 = Splat(p.CapS0[2]);
        V score = Splat(0.0);
        // the step's a and F per zone (the outflow of the aquifer never changes)
        const V aA = hE[A] * p.qA, FA = Floor(1 + aA / p.W[A]);

        for (const Segment& seg : p.segments) {
            const size_t i = static_cast<size_t>(seg.step);
            const bool on = seg.flows;
            const double perc1 = on ? p.perc1[i] : 0, perc2 = on ? p.perc2[i] : 0, perc3 = on ? p.perc3[i] : 0;
            const double cap1 = on ? p.capInto1[i] : 0, cap2 = on ? p.cap2[i] : 0, cap3 = on ? p.cap3[i] : 0;
            const double irrSi = p.irrSi[i];
            const double q1 = perc1, q2 = perc2 + cap1, q3 = perc3 + cap2, qT = p.qT[i];
            const V a1 = hE[L1] * q1, F1 = Floor(1 + a1 / p.W[L1]);
            const V a2 = hE[L2] * q2, F2 = Floor(1 + a2 / p.W[L2]);
            const V a3 = hE[L3] * q3, F3 = Floor(1 + a3 / p.W[L3]);
            const V aT = hE[T] * qT, FT = Floor(1 + aT / p.W[T]);
            const V in2 = In[L2] * perc1, in3 = In[L3] * perc2;
            const double percLow = layers == 1 ? perc1 : layers == 2 ? perc2 : perc3;
            const V inT = In[T] * percLow;
            const double m = p.measured[i];
            for (int d = 1; d <= seg.days; ++d) {
                const bool scoreToday = seg.endsStep && d == seg.days && m > 0;
                int scored = -1;
                V prev = S1;
                S1 = Update(S1, irrSi + cap1 * C1, a1, F1, p.W[L1], true);
                V avg = (prev + S1) / 2;
                if (p.searched == L1) scored = L1;
                if (withL2) {
                    prev = S2;
                    S2 = Update(S2, in2 * avg + cap2 * C2, a2, F2, p.W[L2], true);
                    C1 = S2;
                    avg = (prev + S2) / 2;
                    if (withL3) {
                        prev = S3;
                        S3 = Update(S3, in3 * avg + cap3 * C3, a3, F3, p.W[L3], false);
                        C2 = S3;
                        avg = (prev + S3) / 2;
                    }
                }
                if (withT) {
                    prev = ST;
                    ST = Update(ST, inT * avg + upTimesUp * SA, aT, FT, p.W[T], false);
                    if (layers == 1)
                        C1 = ST;
                    else if (layers == 2)
                        C2 = ST;
                    else
                        C3 = ST;
                    if (withA) {
                        const V avgT = (prev + ST) / 2;
                        SA = Update(SA, inA * avgT + p.aquiferInflow, aA, FA, p.W[A], false);
                    }
                }
                (void)scored;
                if (scoreToday) {
                    const V S = p.searched == L1 ? S1 : p.searched == L2 ? S2 : p.searched == L3 ? S3
                                : p.searched == T ? ST : SA;
                    const V diff = S - m;
                    score = score + diff * diff;
                    score = score > 1000 ? Splat(1000) : score;
                }
            }
        }
        Store(lanes.score + v * VL, score);
    }
}

}  // namespace

const char* SearchKernelName() {
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return "avx512f";
    if (__builtin_cpu_supports("avx2")) return "avx2";
#endif
    return "default";
}

void SearchLeachingEfficiencyFast(const RunData& run, ModelState& state, int layers, Zone zone, double* scores) {
    const Problem p = BuildProblem(run, state, layers, zone);
    const size_t searched = static_cast<size_t>(zone);
    double trials[SearchTrials];
    double t = 0.10;
    for (double& trial : trials) trial = t = t + 0.01;

    double best = 1000000;
    auto consider = [&](int k, double score) {
        if (scores) scores[k] = score;
        if (score < best) {
            best = score;
            state.Fit[searched].LE = trials[k];
        }
    };

    LaneValues lanes;
    if (!ReadsOwnStoredEfficiency(p.terms, zone)) {
        // Independent trials: sixteen at a time, taken in order.
        for (int k0 = 0; k0 < SearchTrials; k0 += Lanes) {
            const int count = std::min(Lanes, SearchTrials - k0);
            for (int l = 0; l < Lanes; ++l) {
                lanes.trial[l] = trials[k0 + std::min(l, count - 1)];
                lanes.own[l] = state.Fit[searched].LE;
            }
            RunLanes(p, lanes);
            for (int l = 0; l < count; ++l) consider(k0 + l, lanes.score[l]);
        }
        return;
    }

    // Trials that read the stored efficiency of their own zone: that value is
    // the best trial so far, so trial k0 + m can only see the value stored
    // before the group or one of the m trials before it in the group. Every
    // such pair runs in a lane; the scan then takes the lanes it needs.
    constexpr int Group = 5;  // 1 + 2 + 3 + 4 + 5 = 15 lanes
    for (int k0 = 0; k0 < SearchTrials; k0 += Group) {
        const int count = std::min(Group, SearchTrials - k0);
        const double before = state.Fit[searched].LE;
        int lane = 0;
        int first[Group];
        for (int m = 0; m < count; ++m) {
            first[m] = lane;
            for (int c = 0; c <= m; ++c, ++lane) {
                lanes.trial[lane] = trials[k0 + m];
                lanes.own[lane] = c == 0 ? before : trials[k0 + c - 1];
            }
        }
        for (; lane < Lanes; ++lane) {
            lanes.trial[lane] = lanes.trial[0];
            lanes.own[lane] = lanes.own[0];
        }
        RunLanes(p, lanes);
        int storedFrom = 0;  // 0: the value before the group, c: trial k0 + c - 1
        for (int m = 0; m < count; ++m) {
            const double score = lanes.score[first[m] + storedFrom];
            const double bestBefore = best;
            consider(k0 + m, score);
            if (best < bestBefore) storedFrom = m + 1;
        }
    }
}

}  // namespace halovane
