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

namespace halovane {

namespace {

constexpr int MaxZones = 5;

// The water of one day as the salt pass reads it.
struct SaltDay {
    double q[MaxZones - 1];  // downward flux between zone k and k + 1
    double drain;            // out of the transition zone
    double irrSalt;          // into layer 1
    unsigned char order[MaxZones];  // every zone after the zones that feed it
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
        const int last = zones - 1, transition = zones - 2;
        for (int n = 0; n < zones; ++n) {
            const int z = day.order[n];
            double Qo = 0, In = 0;
            if (z == 0) In += day.irrSalt;
            if (z > 0 && day.q[z - 1] > 0) In += LE[z - 1] * day.q[z - 1] * C[z - 1];
            if (z < last && day.q[z] < 0) In += LE[z + 1] * -day.q[z] * C[z + 1];
            if (z == last) {
                In += infSalt;
                Qo += Out;
            }
            if (z < last && day.q[z] > 0) Qo += day.q[z];
            if (z > 0 && day.q[z - 1] < 0) Qo += -day.q[z - 1];
            if (z == transition) Qo += day.drain;
            const double s = S[z];
            const double F = 1 + 0.5 * LE[z] * Qo / W[z];
            if (F <= 2) {
                const double next = (s + In / W[z] - 0.5 * LE[z] * Qo * s / W[z]) / F;
                C[z] = (s + next) / 2;
                S[z] = next;
            } else {
                // More water leaves than the zone holds twice over: the
                // leaving water takes the end-of-day salinity, which keeps
                // the salinity from going below 0.
                S[z] = (s + In / W[z]) / (1 + LE[z] * Qo / W[z]);
                C[z] = S[z];
            }
        }
    }
};

constexpr double ScoreCap = 1000;

// The capped score of zone z with efficiencies LE, against `measured`.
double TrialScore(const SaltColumn& column, const double* LE, int z, const Series& measured) {
    double S[MaxZones], C[MaxZones];
    std::copy(column.start, column.start + column.zones, S);
    double score = 0;
    const int ts = column.ts;
    for (size_t k = 0; k < column.days.size(); ++k) {
        column.Day(column.days[k], LE, S, C);
        if (static_cast<int>(k % static_cast<size_t>(ts)) != ts - 1) continue;
        const double m = measured[static_cast<int>(k / static_cast<size_t>(ts)) + 1];
        if (m > 0) {
            const double d = S[z] - m;
            score = score + d * d;
            if (score > ScoreCap) return ScoreCap;  // a capped score stays capped
        }
    }
    return score;
}

}  // namespace

void RunConservingSaltBalance(const RunData& run, ModelState& state) {
    const SaltColumn column(run, state);
    const ModelInput& in = run.in;
    StepResults& r = state.Results;
    for (Series& s : r.SR) std::fill(s.begin(), s.end(), 0.0);
    SaltAccount& account = state.Salt;
    const size_t size = static_cast<size_t>(in.NrTst) + 1;
    account.Across.assign(size, {0, 0, 0, 0});
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
        for (int z = 0; z < aquifer; ++z)
            account.Across[static_cast<size_t>(i)][static_cast<size_t>(z)] +=
                day.q[z] > 0 ? LE[z] * day.q[z] * C[z] : -(LE[z + 1] * -day.q[z] * C[z + 1]);
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
    for (Zone zone : SearchOrder(run.in.NrLayers)) {
        if (Cancelled(run)) return;
        if (state.Counts.NrMeas[zone] <= 3) continue;
        int searched = 0;
        double LE[MaxZones];
        for (int z = 0; z < column.zones; ++z) {
            LE[z] = state.Fit[static_cast<size_t>(column.zoneOf[z])].LE;
            if (column.zoneOf[z] == zone) searched = z;
        }
        const Series& measured = run.in.ECsm[zone];
        team.Run(static_cast<int>(trials.size()), [&](int k) {
            if (Cancelled(run)) return;
            double own[MaxZones];
            std::copy(LE, LE + MaxZones, own);
            own[searched] = trials[static_cast<size_t>(k)];
            scores[static_cast<size_t>(k)] = TrialScore(column, own, searched, measured);
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
