#include "LeachingSearchFast.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "SaltBalance.h"
#include "SearchProfile.h"
#include "SearchTerms.h"
#include "ThreadTeam.h"

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
    for (int z = 0; z < ZoneCount; ++z) p.stored[z] = state.Fit[z].LE;
    const double ts = p.terms.AquiferPerStep ? static_cast<double>(in.Ts) : 1.0;
    p.W[L1] = run.W[Z1], p.W[L2] = run.W[Z2], p.W[L3] = run.W[Z3], p.W[T] = run.W[Zt], p.W[A] = run.W[Za];
    p.Up = run.Up;
    p.Down = run.Down;
    // Deliberate: as in the plain scan, one-layer searches take Inf and Out times the step length.
    p.aquiferInflow = ts * in.Inf * in.Sinf;
    p.qA = ts * in.Out + run.Up;
    p.S0[L1] = in.Sini[Z1], p.S0[L2] = in.Sini[Z2], p.S0[L3] = in.Sini[Z3];
    p.S0[T] = in.Sini[Zt], p.S0[A] = in.Sini[Za];
    InitialCapillarySalinities(in, p.CapS0);

    // Nothing after the last measured step of the searched zone can change
    // its score.
    const Series& m = in.ECsm[zone];
    int last = 0;
    for (int i = 1; i <= in.NrTst; ++i)
        if (m[i] > 0) last = i;
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
//
// The kernel is written once over GCC/Clang vector types and compiled three
// times: with 8-lane vectors for AVX-512, 4 lanes for AVX2 and 2 lanes for
// the baseline instruction set; the machine's processor picks one at run
// time. Lane arithmetic is IEEE arithmetic on each element, so every lane
// computes exactly what the plain scan computes for its trial.

// The helpers pass vectors by value; they are always inlined inside this
// file, so the calling convention of such vectors never matters.
#pragma GCC diagnostic ignored "-Wpsabi"
using V8 = double __attribute__((vector_size(64)));
using V4 = double __attribute__((vector_size(32)));
using V2 = double __attribute__((vector_size(16)));

#define HALOVANE_INLINE __attribute__((always_inline)) inline

template <typename V, int W>
HALOVANE_INLINE V Splat(double x) {
    V v;
    for (int k = 0; k < W; ++k) v[k] = x;
    return v;
}

template <typename V>
HALOVANE_INLINE V Load(const double* p) {
    V v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

template <typename V>
HALOVANE_INLINE void Store(double* p, V v) {
    __builtin_memcpy(p, &v, sizeof v);
}

// One day of one zone, as the salt balance computes it: a = 0.5 × E × Q and
// F = 1 + a / W (floored at 0.001) are those of the step.
template <typename V, int W_>
HALOVANE_INLINE V Update(V S, V I, V a, V F, double W, bool upper) {
    const V Sin = I / W;
    const V Sout = a * S / W;
    V Snew = (S + Sin - Sout) / F;
    const V tenth = Splat<V, W_>(0.1);
    if (upper)
        Snew = Snew <= 0 ? tenth : Snew;
    else
        Snew = Snew < 0 ? tenth : Snew;
    return Snew;
}

template <typename V, int W>
HALOVANE_INLINE V Floor(V F) {
    return F < 0.001 ? Splat<V, W>(0.001) : F;
}

template <typename V, int W>
HALOVANE_INLINE V Resolve(Coef c, V trial, V own, const Problem& p) {
    switch (c) {
        case Coef::One: return Splat<V, W>(1.0);
        case Coef::Trial: return trial;
        default: break;
    }
    const int z = static_cast<int>(ZoneOfStored(c));
    return z == p.searched ? own : Splat<V, W>(p.stored[z]);
}

// All vectors of the lane group advance together through each day, so the
// processor always has independent divisions to overlap.
template <typename V, int VL>
HALOVANE_INLINE void RunLanesWith(const Problem& p, LaneValues& lanes) {
    constexpr int NV = Lanes / VL;
    const int layers = p.layers, deepest = p.deepest;
    const bool withL2 = layers >= 2 && deepest >= L2;
    const bool withL3 = layers == 3 && deepest >= L3;
    const bool withT = deepest >= T, withA = deepest >= A;
    V hE[ZoneCount][NV], In[ZoneCount][NV], upTimesUp[NV], inA[NV];
    V S1[NV], S2[NV], S3[NV], ST[NV], SA[NV], C1[NV], C2[NV], C3[NV], score[NV], aA[NV], FA[NV];
    for (int v = 0; v < NV; ++v) {
        const V trial = Load<V>(lanes.trial + v * VL), own = Load<V>(lanes.own + v * VL);
        for (int z = 0; z < ZoneCount; ++z) {
            hE[z][v] = Splat<V, VL>(0.5) * Resolve<V, VL>(p.terms.E[z], trial, own, p);
            In[z][v] = Resolve<V, VL>(p.terms.In[z], trial, own, p);
        }
        upTimesUp[v] = Resolve<V, VL>(p.terms.Up, trial, own, p) * p.Up;
        inA[v] = In[A][v] * p.Down;
        S1[v] = Splat<V, VL>(p.S0[L1]), S2[v] = Splat<V, VL>(p.S0[L2]), S3[v] = Splat<V, VL>(p.S0[L3]);
        ST[v] = Splat<V, VL>(p.S0[T]), SA[v] = Splat<V, VL>(p.S0[A]);
        C1[v] = Splat<V, VL>(p.CapS0[0]), C2[v] = Splat<V, VL>(p.CapS0[1]), C3[v] = Splat<V, VL>(p.CapS0[2]);
        score[v] = Splat<V, VL>(0.0);
        // The outflow of the aquifer is the same in every step.
        aA[v] = hE[A][v] * p.qA;
        FA[v] = Floor<V, VL>(1 + aA[v] / p.W[A]);
    }

    for (const Segment& seg : p.segments) {
        const size_t i = static_cast<size_t>(seg.step);
        const bool on = seg.flows;
        const double perc1 = on ? p.perc1[i] : 0, perc2 = on ? p.perc2[i] : 0, perc3 = on ? p.perc3[i] : 0;
        const double cap1 = on ? p.capInto1[i] : 0, cap2 = on ? p.cap2[i] : 0, cap3 = on ? p.cap3[i] : 0;
        const double irrSi = p.irrSi[i];
        const double q2 = perc2 + cap1, q3 = perc3 + cap2;
        const double percLow = layers == 1 ? perc1 : layers == 2 ? perc2 : perc3;
        V a1[NV], F1[NV], a2[NV], F2[NV], a3[NV], F3[NV], aT[NV], FT[NV], in2[NV], in3[NV], inT[NV];
        for (int v = 0; v < NV; ++v) {
            a1[v] = hE[L1][v] * perc1, F1[v] = Floor<V, VL>(1 + a1[v] / p.W[L1]);
            a2[v] = hE[L2][v] * q2, F2[v] = Floor<V, VL>(1 + a2[v] / p.W[L2]);
            a3[v] = hE[L3][v] * q3, F3[v] = Floor<V, VL>(1 + a3[v] / p.W[L3]);
            aT[v] = hE[T][v] * p.qT[i], FT[v] = Floor<V, VL>(1 + aT[v] / p.W[T]);
            in2[v] = In[L2][v] * perc1, in3[v] = In[L3][v] * perc2, inT[v] = In[T][v] * percLow;
        }
        const double m = p.measured[i];
        for (int d = 1; d <= seg.days; ++d) {
            V avg[NV], prev[NV];
            for (int v = 0; v < NV; ++v) {
                prev[v] = S1[v];
                S1[v] = Update<V, VL>(S1[v], irrSi + cap1 * C1[v], a1[v], F1[v], p.W[L1], true);
                avg[v] = (prev[v] + S1[v]) / 2;
            }
            if (withL2) {
                for (int v = 0; v < NV; ++v) {
                    prev[v] = S2[v];
                    S2[v] = Update<V, VL>(S2[v], in2[v] * avg[v] + cap2 * C2[v], a2[v], F2[v], p.W[L2], true);
                    C1[v] = S2[v];
                    avg[v] = (prev[v] + S2[v]) / 2;
                }
                if (withL3) {
                    for (int v = 0; v < NV; ++v) {
                        prev[v] = S3[v];
                        S3[v] = Update<V, VL>(S3[v], in3[v] * avg[v] + cap3 * C3[v], a3[v], F3[v], p.W[L3], false);
                        C2[v] = S3[v];
                        avg[v] = (prev[v] + S3[v]) / 2;
                    }
                }
            }
            if (withT) {
                for (int v = 0; v < NV; ++v) {
                    prev[v] = ST[v];
                    ST[v] = Update<V, VL>(ST[v], inT[v] * avg[v] + upTimesUp[v] * SA[v], aT[v], FT[v], p.W[T],
                                          false);
                    if (layers == 1)
                        C1[v] = ST[v];
                    else if (layers == 2)
                        C2[v] = ST[v];
                    else
                        C3[v] = ST[v];
                }
                if (withA) {
                    for (int v = 0; v < NV; ++v) {
                        const V avgT = (prev[v] + ST[v]) / 2;
                        SA[v] = Update<V, VL>(SA[v], inA[v] * avgT + p.aquiferInflow, aA[v], FA[v], p.W[A], false);
                    }
                }
            }
            if (seg.endsStep && d == seg.days && m > 0) {
                for (int v = 0; v < NV; ++v) {
                    const V S = p.searched == L1   ? S1[v]
                                : p.searched == L2 ? S2[v]
                                : p.searched == L3 ? S3[v]
                                : p.searched == T  ? ST[v]
                                                   : SA[v];
                    const V diff = S - m;
                    score[v] = score[v] + diff * diff;
                    score[v] = score[v] > 1000 ? Splat<V, VL>(1000) : score[v];
                }
            }
        }
    }
    for (int v = 0; v < NV; ++v) Store<V>(lanes.score + v * VL, score[v]);
}

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define HALOVANE_X86_KERNELS 1
__attribute__((target("avx512f"))) void RunLanes512(const Problem& p, LaneValues& lanes) {
    RunLanesWith<V8, 8>(p, lanes);
}
__attribute__((target("avx2"))) void RunLanes256(const Problem& p, LaneValues& lanes) {
    RunLanesWith<V4, 4>(p, lanes);
}
#endif
void RunLanes128(const Problem& p, LaneValues& lanes) { RunLanesWith<V2, 2>(p, lanes); }

using Kernel = void (*)(const Problem&, LaneValues&);

struct KernelChoice {
    Kernel run;
    const char* name;
};

KernelChoice ChooseKernel() {
#ifdef HALOVANE_X86_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return {RunLanes512, "avx512f"};
    if (__builtin_cpu_supports("avx2")) return {RunLanes256, "avx2"};
#endif
    return {RunLanes128, "baseline"};
}

const KernelChoice& Chosen() {
    static const KernelChoice choice = ChooseKernel();
    return choice;
}

Kernel KernelNamed(const char* name) {
    if (name == nullptr) return Chosen().run;
#ifdef HALOVANE_X86_KERNELS
    __builtin_cpu_init();
    if (std::strcmp(name, "avx512f") == 0 && __builtin_cpu_supports("avx512f")) return RunLanes512;
    if (std::strcmp(name, "avx2") == 0 && __builtin_cpu_supports("avx2")) return RunLanes256;
#endif
    if (std::strcmp(name, "baseline") == 0) return RunLanes128;
    return nullptr;
}

}  // namespace

const char* SearchKernelName() { return Chosen().name; }

std::vector<const char*> AvailableSearchKernels() {
    std::vector<const char*> names;
    for (const char* name : {"avx512f", "avx2", "baseline"})
        if (KernelNamed(name)) names.push_back(name);
    return names;
}

void SearchLeachingEfficiencyFast(const RunData& run, ModelState& state, int layers, Zone zone, double* scores,
                                  const char* kernel, int threads) {
    // A kernel this processor does not run gives way to the baseline one,
    // which gives the same bits.
    Kernel RunLanes = KernelNamed(kernel);
    if (RunLanes == nullptr) RunLanes = RunLanes128;
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

    // Every lane computes its trial alone, so which thread runs a lane group
    // never changes a score; the scan takes the scores in trial order as the
    // plain scan does. Narrower lane groups would not be faster: a group of
    // 16 lanes is bound by the length of the chain of divisions of a day,
    // not by their number, so threads share whole groups.
    const int teamSize = SearchThreads(threads, MachineCores());
    if (!ReadsOwnStoredEfficiency(p.terms, zone)) {
        // Independent trials: sixteen at a time, the groups spread over the
        // threads.
        constexpr int Groups = (SearchTrials + Lanes - 1) / Lanes;
        std::vector<LaneValues> groups(Groups);
        const double own = state.Fit[searched].LE;
        ThreadTeam team(std::min(teamSize, Groups));
        team.Run(Groups, [&](int g) {
            if (Cancelled(run)) return;
            LaneValues& lanes = groups[g];
            const int k0 = g * Lanes;
            const int count = std::min(Lanes, SearchTrials - k0);
            for (int l = 0; l < Lanes; ++l) {
                lanes.trial[l] = trials[k0 + std::min(l, count - 1)];
                lanes.own[l] = own;
            }
            RunLanes(p, lanes);
        });
        if (Cancelled(run)) return;
        for (int g = 0; g < Groups; ++g) {
            const int k0 = g * Lanes;
            const int count = std::min(Lanes, SearchTrials - k0);
            for (int l = 0; l < count; ++l) consider(k0 + l, groups[g].score[l]);
        }
        return;
    }

    // Trials that read the stored efficiency of their own zone: that value is
    // the best trial so far, so trial k0 + m can only see the value stored
    // before the group or one of the m trials before it in the group. Every
    // such pair runs in a lane; the scan then takes the lanes it needs. A
    // group of G trials takes G (G + 1) / 2 lanes: 5 trials in the 16 lanes of
    // one thread, 7 in two lane groups of 16 on two threads, and so on.
    int group = 1;
    while ((group + 1) * (group + 2) / 2 <= Lanes * teamSize) ++group;
    const int laneSets = ((group * (group + 1) / 2) + Lanes - 1) / Lanes;
    std::vector<LaneValues> sets(static_cast<size_t>(laneSets));
    auto trialAt = [&](int lane) -> double& { return sets[lane / Lanes].trial[lane % Lanes]; };
    auto ownAt = [&](int lane) -> double& { return sets[lane / Lanes].own[lane % Lanes]; };
    ThreadTeam team(std::min(teamSize, laneSets));
    std::vector<int> first(static_cast<size_t>(group));
    for (int k0 = 0; k0 < SearchTrials; k0 += group) {
        if (Cancelled(run)) return;
        const int count = std::min(group, SearchTrials - k0);
        const double before = state.Fit[searched].LE;
        int lane = 0;
        for (int m = 0; m < count; ++m) {
            first[m] = lane;
            for (int c = 0; c <= m; ++c, ++lane) {
                trialAt(lane) = trials[k0 + m];
                ownAt(lane) = c == 0 ? before : trials[k0 + c - 1];
            }
        }
        const int used = (lane + Lanes - 1) / Lanes;
        for (; lane < used * Lanes; ++lane) {
            trialAt(lane) = trialAt(0);
            ownAt(lane) = ownAt(0);
        }
        team.Run(used, [&](int s) { RunLanes(p, sets[s]); });
        int storedFrom = 0;  // 0: the value before the group, c: trial k0 + c - 1
        for (int m = 0; m < count; ++m) {
            const int l = first[m] + storedFrom;
            const double score = sets[l / Lanes].score[l % Lanes];
            const double bestBefore = best;
            consider(k0 + m, score);
            if (best < bestBefore) storedFrom = m + 1;
        }
    }
}

}  // namespace halovane
