// The salt pass of the conserving variant and the searches that run it.
// Zones are numbered from the surface down: the root-zone layers, then the
// transition zone, then the aquifer. Every flow between two zones carries
// the source's leaching efficiency times the source's concentration of the
// day; it leaves the source and enters the receiver in the same amount.
#include <algorithm>
#include <atomic>
#include <vector>

#include "Conserving.h"
#include "SaltBalance.h"
#include "Searches.h"
#include "ThreadTeam.h"

// The vector helpers are always inlined, so the calling convention of such
// vectors never matters.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace halovane {

namespace {

constexpr int MaxZones = 5;

// The water of one day as the salt pass reads it.
struct SaltDay {
    double q[MaxZones - 1];  // downward flux between zone k and k + 1
    double drain;            // out of the transition zone
    double irrSalt;          // into layer 1
    double Qo[MaxZones];     // the water each zone gives
    unsigned char order[MaxZones];  // every zone after the zones that feed it
};

// The factors of one zone on one day for a fixed efficiency: F and the
// divisor at the end-of-day salinity, and 0.5 x LE x Qo.
struct ZoneDay {
    double F, Fend, a;
};

struct SaltColumn {
    int zones = 0;                 // layers + 2
    Zone zoneOf[MaxZones];         // the model's zone of each
    double W[MaxZones] = {};
    double Out = 0, infSalt = 0;
    int ts = 1, steps = 0;
    std::vector<SaltDay> days;
    double start[MaxZones] = {};

    SaltColumn(const RunData& run, const ModelState& state) {
        const ModelInput& in = run.in;
        const int layers = in.NrLayers;
        zones = layers + 2;
        for (int k = 0; k < layers; ++k) zoneOf[k] = static_cast<Zone>(k);
        zoneOf[layers] = Zt;
        zoneOf[layers + 1] = Za;
        for (int z = 0; z < zones; ++z) {
            W[z] = run.W[zoneOf[z]];
            start[z] = in.Sini[zoneOf[z]];
        }
        Out = in.Out;
        infSalt = in.Inf * in.Sinf;
        ts = in.Ts;
        steps = in.NrTst;
        days.resize(state.Days.size());
        for (size_t k = 0; k < days.size(); ++k) {
            const ConservingDay& d = state.Days[k];
            SaltDay& s = days[k];
            for (int z = 0; z < layers; ++z) s.q[z] = d.q[z];
            s.q[layers] = in.Out - in.Inf;
            s.drain = d.Drain;
            s.irrSalt = d.Irr * in.Si;
            const int last = zones - 1;
            for (int z = 0; z < zones; ++z) {
                double Qo = 0;
                if (z == last) Qo += Out;
                if (z < last && s.q[z] > 0) Qo += s.q[z];
                if (z > 0 && s.q[z - 1] < 0) Qo += -s.q[z - 1];
                if (z == last - 1) Qo += s.drain;
                s.Qo[z] = Qo;
            }
            bool taken[MaxZones] = {};
            int count = 0;
            while (count < zones)
                for (int z = 0; z < zones; ++z) {
                    if (taken[z]) continue;
                    if (z > 0 && s.q[z - 1] > 0 && !taken[z - 1]) continue;
                    if (z < zones - 1 && s.q[z] < 0 && !taken[z + 1]) continue;
                    taken[z] = true;
                    s.order[count++] = static_cast<unsigned char>(z);
                }
        }
    }

    // One day: S holds the salinities at the start and receives those at
    // the end; C receives the concentration of the water each zone gave.
    void Day(const SaltDay& day, const double* LE, double* S, double* C) const {
        const int last = zones - 1;
        for (int n = 0; n < zones; ++n) {
            const int z = day.order[n];
            double In = 0;
            if (z == 0) In += day.irrSalt;
            if (z > 0 && day.q[z - 1] > 0) In += LE[z - 1] * day.q[z - 1] * C[z - 1];
            if (z < last && day.q[z] < 0) In += LE[z + 1] * -day.q[z] * C[z + 1];
            if (z == last) In += infSalt;
            const ZoneDay k = Factors(day, LE[z], z);
            Update(S[z], C[z], In, k, W[z]);
        }
    }

    ZoneDay Factors(const SaltDay& day, double LE, int z) const {
        const double Qo = day.Qo[z];
        return {1 + 0.5 * LE * Qo / W[z], 1 + LE * Qo / W[z], 0.5 * LE * Qo};
    }

    // The balance of one zone-day with salinity S at the start and salt In
    // coming in; C is the concentration of the water that leaves. T is a
    // double or a vector of trials.
    template <typename T>
    __attribute__((always_inline)) static inline void Update(T& S, T& C, T In, const ZoneDay& k, double W) {
        const T s = S;
        if (k.F <= 2) {
            S = (s + In / W - k.a * s / W) / k.F;
            C = (s + S) / 2;
        } else {
            // More water leaves than the zone holds twice over: the leaving
            // water takes the end-of-day salinity, which keeps the salinity
            // from going below 0.
            S = (s + In / W) / k.Fend;
            C = S;
        }
    }
};

constexpr double ScoreCap = 1000;

// One search: the column, the zone searched and the factors of the other
// zones, which do not change from trial to trial.
struct Search {
    const SaltColumn& column;
    int searched;
    const double* LE;
    std::vector<ZoneDay> factors;  // day by day, zone by zone
    const Series& measured;
};

using V8 = double __attribute__((vector_size(64)));
using V4 = double __attribute__((vector_size(32)));
using V2 = double __attribute__((vector_size(16)));
constexpr int Lanes = 8;  // trials per group

// The capped scores of the searched zone for the trials in `trial`, VL
// lanes to a vector and Lanes / VL vectors side by side; the operations of
// each lane are those of the final pass for its trial.
template <typename V, int VL>
__attribute__((always_inline)) inline void TrialScores(const Search& p, const double* trial, double* out) {
    constexpr int NV = Lanes / VL;
    const SaltColumn& column = p.column;
    const int zones = column.zones, last = zones - 1, searched = p.searched;
    V T[NV], S[MaxZones][NV], C[MaxZones][NV], score[NV];
    for (int v = 0; v < NV; ++v) {
        __builtin_memcpy(&T[v], trial + v * VL, sizeof(V));
        for (int z = 0; z < zones; ++z) S[z][v] = V{} + column.start[z];
        score[v] = V{};
    }
    const size_t ts = static_cast<size_t>(column.ts);
    for (size_t k = 0; k < column.days.size(); ++k) {
        const SaltDay& day = column.days[k];
        const ZoneDay* factors = &p.factors[k * static_cast<size_t>(zones)];
        for (int n = 0; n < zones; ++n) {
            const int z = day.order[n];
            for (int v = 0; v < NV; ++v) {
                V In{};
                if (z == 0) In += day.irrSalt;
                if (z > 0 && day.q[z - 1] > 0)
                    In += (z - 1 == searched ? T[v] * day.q[z - 1] : V{} + p.LE[z - 1] * day.q[z - 1]) * C[z - 1][v];
                if (z < last && day.q[z] < 0)
                    In += (z + 1 == searched ? T[v] * -day.q[z] : V{} + p.LE[z + 1] * -day.q[z]) * C[z + 1][v];
                if (z == last) In += column.infSalt;
                if (z != searched) {
                    SaltColumn::Update(S[z][v], C[z][v], In, factors[z], column.W[z]);
                    continue;
                }
                const double Qo = day.Qo[z], W = column.W[z];
                const V s = S[z][v];
                const V F = 1 + 0.5 * T[v] * Qo / W;
                const V next = (s + In / W - 0.5 * T[v] * Qo * s / W) / F;
                const V end = (s + In / W) / (1 + T[v] * Qo / W);
                S[z][v] = F <= 2 ? next : end;
                C[z][v] = F <= 2 ? (s + next) / 2 : end;
            }
        }
        if (k % ts != ts - 1) continue;
        const double m = p.measured[static_cast<int>(k / ts) + 1];
        if (!(m > 0)) continue;
        bool capped = true;
        for (int v = 0; v < NV; ++v) {
            const V d = S[searched][v] - m;
            score[v] = score[v] + d * d;
            score[v] = score[v] > ScoreCap ? V{} + ScoreCap : score[v];
            for (int lane = 0; lane < VL; ++lane) capped = capped && score[v][lane] == ScoreCap;
        }
        if (capped) break;  // a capped score stays capped
    }
    for (int v = 0; v < NV; ++v) __builtin_memcpy(out + v * VL, &score[v], sizeof(V));
}

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define HALOVANE_X86_KERNELS 1
__attribute__((target("avx512f"))) void Scores512(const Search& p, const double* t, double* out) {
    TrialScores<V8, 8>(p, t, out);
}
__attribute__((target("avx2"))) void Scores256(const Search& p, const double* t, double* out) {
    TrialScores<V4, 4>(p, t, out);
}
#endif
void Scores128(const Search& p, const double* t, double* out) { TrialScores<V2, 2>(p, t, out); }

using Kernel = void (*)(const Search&, const double*, double*);

Kernel ChooseKernel() {
#ifdef HALOVANE_X86_KERNELS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return Scores512;
    if (__builtin_cpu_supports("avx2")) return Scores256;
#endif
    return Scores128;
}

}  // namespace

void RunConservingSaltBalance(const RunData& run, ModelState& state) {
    const SaltColumn column(run, state);
    const ModelInput& in = run.in;
    StepResults& r = state.Results;
    for (Series& s : r.SR) std::fill(s.begin(), s.end(), 0.0);
    SaltAccount& account = state.Salt;
    const size_t size = static_cast<size_t>(in.NrTst) + 1;
    account.Down.assign(size, {0, 0, 0, 0});
    account.Up.assign(size, {0, 0, 0, 0});
    for (Series* s : {&account.Irrigation, &account.Inflow, &account.Drained, &account.Outflow}) s->assign(size, 0.0);
    const int aquifer = column.zones - 1, transition = column.zones - 2;
    double LE[MaxZones], S[MaxZones], C[MaxZones];
    for (int z = 0; z < column.zones; ++z) {
        LE[z] = state.Fit[static_cast<size_t>(column.zoneOf[z])].LE;
        S[z] = column.start[z];
    }
    double SSE[ZoneCount] = {0, 0, 0, 0, 0};
    const int ts = column.ts;
    const size_t days = column.days.size();
    for (size_t k = 0; k < days; ++k) {
        const SaltDay& day = column.days[k];
        column.Day(day, LE, S, C);
        const int i = static_cast<int>(k / static_cast<size_t>(ts)) + 1;
        for (int z = 0; z < aquifer; ++z) {
            if (day.q[z] > 0)
                account.Down[static_cast<size_t>(i)][static_cast<size_t>(z)] += LE[z] * day.q[z] * C[z];
            else if (day.q[z] < 0)
                account.Up[static_cast<size_t>(i)][static_cast<size_t>(z)] += LE[z + 1] * -day.q[z] * C[z + 1];
        }
        account.Irrigation[i] += day.irrSalt;
        account.Inflow[i] += column.infSalt;
        account.Drained[i] += LE[transition] * day.drain * C[transition];
        account.Outflow[i] += LE[aquifer] * column.Out * C[aquifer];
        const bool last = static_cast<int>(k % static_cast<size_t>(ts)) == ts - 1;
        if (!last && k + 1 < days) continue;
        for (int z = 0; z < column.zones; ++z) {
            const Zone zone = column.zoneOf[z];
            r.SR[zone][i] = S[z];
            const double m = in.ECsm[zone][i];
            if (last && m > 0) SSE[static_cast<int>(zone)] += (S[z] - m) * (S[z] - m);
        }
    }
    ComputeFitIndices(run, state, SSE);
}

void RunConservingSearches(const RunData& run, ModelState& state, int threads, std::vector<SearchProfile>* profiles) {
    const SaltColumn column(run, state);
    const std::vector<double> trials = TrialEfficiencies();
    ThreadTeam team(SearchThreads(threads, MachineCores()));
    std::vector<double> scores(trials.size());
    static const Kernel kernel = ChooseKernel();
    for (Zone zone : SearchOrder(run.in.NrLayers)) {
        if (Cancelled(run)) return;
        if (state.Counts.NrMeas[zone] <= 3) continue;
        int searched = 0;
        double LE[MaxZones] = {};
        for (int z = 0; z < column.zones; ++z) {
            LE[z] = state.Fit[static_cast<size_t>(column.zoneOf[z])].LE;
            if (column.zoneOf[z] == zone) searched = z;
        }
        Search search{column, searched, LE, {}, run.in.ECsm[zone]};
        search.factors.resize(column.days.size() * static_cast<size_t>(column.zones));
        for (size_t k = 0; k < column.days.size(); ++k)
            for (int z = 0; z < column.zones; ++z)
                search.factors[k * static_cast<size_t>(column.zones) + static_cast<size_t>(z)] =
                    column.Factors(column.days[k], LE[z], z);
        const int groups = (static_cast<int>(trials.size()) + Lanes - 1) / Lanes;
        team.Run(groups, [&](int g) {
            if (Cancelled(run)) return;
            double trial[Lanes], score[Lanes];
            for (int lane = 0; lane < Lanes; ++lane)
                trial[lane] = trials[std::min(trials.size() - 1, static_cast<size_t>(g * Lanes + lane))];
            kernel(search, trial, score);
            for (int lane = 0; lane < Lanes; ++lane)
                if (static_cast<size_t>(g * Lanes + lane) < trials.size())
                    scores[static_cast<size_t>(g * Lanes + lane)] = score[lane];
        });
        if (Cancelled(run)) return;
        double best = 1000000;
        for (size_t k = 0; k < trials.size(); ++k)
            if (scores[k] < best) {
                best = scores[k];
                state.Fit[static_cast<size_t>(zone)].LE = trials[k];
            }
        if (profiles) profiles->push_back({zone, trials, scores});
    }
}

}  // namespace halovane
