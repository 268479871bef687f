#include "Balance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "ModelState.h"
#include "NumberText.h"
#include "RunData.h"

namespace halovane {

namespace {

using T = BalanceTerm;
using K = BalanceKind;

constexpr double NotANumber = std::numeric_limits<double>::quiet_NaN();

// The effective porosity of the water balance by depth: bands (top, bottom]
// from the surface down; above the surface open water (1.0), below the
// transition zone the aquifer without end.
struct Band {
    double top, bottom, porosity;
};

std::vector<Band> PorosityBands(const RunData& run) {
    const ModelInput& in = run.in;
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Band> bands{{-inf, 0, 1.0}};
    double top = 0;
    for (int k = 0; k < in.NrLayers; ++k) {
        const Zone z = static_cast<Zone>(k);
        const double bottom = k == in.NrLayers - 1 ? run.Dr : top + in.D[z];
        bands.push_back({top, bottom, in.EP[z]});
        top = bottom;
    }
    bands.push_back({run.Dr, run.Dr + in.D[Zt], in.EP[Zt]});
    bands.push_back({run.Dr + in.D[Zt], inf, in.EP[Za]});
    return bands;
}

// The water (mm) that the effective porosity holds between depths a and b
// (m), positive when b lies below a.
double WaterBetween(const std::vector<Band>& bands, double a, double b) {
    const double sign = a <= b ? 1 : -1;
    const double lo = std::min(a, b), hi = std::max(a, b);
    double sum = 0;
    for (const Band& band : bands) {
        const double top = std::max(lo, band.top), bottom = std::min(hi, band.bottom);
        if (bottom > top) sum += (bottom - top) * band.porosity;
    }
    return sign * 1000 * sum;
}

int BandOf(const std::vector<Band>& bands, double d) {
    for (size_t k = 0; k < bands.size(); ++k)
        if (d <= bands[k].bottom) return static_cast<int>(k);
    return static_cast<int>(bands.size()) - 1;
}

BalanceZone SaltZone(Zone z) { return static_cast<BalanceZone>(static_cast<int>(BalanceZone::Layer1) + static_cast<int>(z)); }

// What in[k] and out[k] of a zone's salt ledger are (see SaltZoneStep).
struct SaltTerms {
    T in[2];
    T out[2];
    bool hasOut2;
};

SaltTerms SaltTermsOf(Zone z) {
    switch (z) {
        case Zone::Layer1: return {{T::SaltIrrigation, T::SaltCapillaryIn}, {T::SaltPercolationOut, T::SaltCapillaryOut}, false};
        case Zone::Layer2:
        case Zone::Layer3: return {{T::SaltPercolationIn, T::SaltCapillaryIn}, {T::SaltPercolationOut, T::SaltCapillaryOut}, true};
        case Zone::Transition: return {{T::SaltPercolationIn, T::SaltUpwardIn}, {T::SaltDrain, T::SaltDrain}, false};
        case Zone::Aquifer: break;
    }
    return {{T::SaltDownwardIn, T::SaltInflow}, {T::SaltOutflow, T::SaltOutflow}, false};
}

class RowMaker {
public:
    RowMaker(int step, K kind, BalanceZone zone) {
        row_.step = step;
        row_.kind = kind;
        row_.zone = zone;
    }
    RowMaker& In(T term, double v) { return Add(term, true, v); }
    RowMaker& Out(T term, double v) { return Add(term, false, v); }
    BalanceRow Done(double storage) {
        row_.step_.storage = storage;
        return row_;
    }

private:
    RowMaker& Add(T term, bool in, double v) {
        row_.flows[static_cast<size_t>(row_.flowCount++)] = BalanceFlow{term, in, v};
        // A flow whose sign is reversed counts on the other side.
        if ((v >= 0) == in)
            row_.step_.in += std::fabs(v);
        else
            row_.step_.out += std::fabs(v);
        return *this;
    }
    BalanceRow row_;
};

std::string Percent(double v) {
    if (std::isnan(v)) return "n.a.";
    if (std::fabs(v) < 0.05) v = 0;  // no "-0.0 %"
    char text[64];
    std::snprintf(text, sizeof text, std::fabs(v) < 10 ? "%.1f %%" : "%.0f %%", v);
    return text;
}

}  // namespace

const std::array<BalanceTermInfo, BalanceTermCount> BalanceTerms = {{
    {T::Rain, K::Water, "rain_mm", "rain"},
    {T::Irrigation, K::Water, "irrigation_mm", "irrigation as used"},
    {T::CapillaryRise, K::Water, "capillary_rise_mm", "capillary rise"},
    {T::Evapotranspiration, K::Water, "actual_evap_mm", "actual evapotranspiration"},
    {T::Percolation, K::Water, "percolation_mm", "percolation"},
    {T::HorizontalInflow, K::Water, "horizontal_inflow_mm", "horizontal inflow"},
    {T::DrainDischarge, K::Water, "drain_discharge_mm", "drain discharge"},
    {T::HorizontalOutflow, K::Water, "horizontal_outflow_mm", "horizontal outflow"},
    {T::SaltIrrigation, K::Salt, "salt_irrigation_mm_dS_m", "irrigation water"},
    {T::SaltPercolationIn, K::Salt, "salt_percolation_in_mm_dS_m", "percolation from above"},
    {T::SaltCapillaryIn, K::Salt, "salt_capillary_in_mm_dS_m", "capillary rise from below"},
    {T::SaltUpwardIn, K::Salt, "salt_upward_in_mm_dS_m", "upward flow from the aquifer"},
    {T::SaltDownwardIn, K::Salt, "salt_downward_in_mm_dS_m", "downward flow from the transition zone"},
    {T::SaltInflow, K::Salt, "salt_inflow_mm_dS_m", "horizontal inflow"},
    {T::SaltPercolationOut, K::Salt, "salt_percolation_out_mm_dS_m", "percolation downward"},
    {T::SaltCapillaryOut, K::Salt, "salt_capillary_out_mm_dS_m", "capillary rise upward"},
    {T::SaltDrain, K::Salt, "salt_drain_mm_dS_m", "drain term"},
    {T::SaltOutflow, K::Salt, "salt_outflow_mm_dS_m", "outflow term"},
}};

double BalanceTotals::Percent() const {
    const double IN = in + (storage < 0 ? -storage : 0);
    const double OUT = out + (storage > 0 ? storage : 0);
    if (IN == 0 && OUT == 0) return NotANumber;
    return 100 * (IN - OUT) / ((IN + OUT) / 2);
}

const char* BalanceKindName(BalanceKind kind) { return kind == K::Water ? "water" : "salt"; }

const char* BalanceZoneName(BalanceZone zone) {
    static const char* const names[] = {"root_zone", "groundwater", "layer1",  "layer2",
                                        "layer3",    "transition",  "aquifer", "column"};
    return names[static_cast<int>(zone)];
}

std::string BalanceZoneLabel(BalanceZone zone, int layers) {
    static const char* const labels[] = {"root zone", "groundwater", "layer 1",  "layer 2",
                                         "layer 3",   "transition zone", "aquifer", "column"};
    if (zone == BalanceZone::Layer1 && layers == 1) return "root zone";
    return labels[static_cast<int>(zone)];
}

const char* BalanceUnit(BalanceKind kind) { return kind == K::Water ? "mm" : "mm*dS/m"; }

const BalanceSummary* RunBalance::Find(BalanceKind kind, BalanceZone zone) const {
    for (const BalanceSummary& s : summary)
        if (s.kind == kind && s.zone == zone) return &s;
    return nullptr;
}

Series IrrigationLostBySpreading(const ModelInput& in) {
    const int n = in.NrTst;
    Series lost(static_cast<size_t>(n) + 1, 0.0);
    const Series& irr = in.Irrig;
    if (in.Ts != 1 || static_cast<int>(irr.size()) < n + 1) return lost;
    // The same windows as DistributeIrrigation, with the step whose water
    // each day holds; a day written over by another step's spread loses it.
    Series dist(irr.begin(), irr.begin() + n + 1);
    std::vector<int> source(static_cast<size_t>(n) + 1);
    for (int d = 0; d <= n; ++d) source[d] = d;
    for (int k = 1; k <= n; ++k) {
        for (int m = 2; m <= 5; ++m) {
            if (k + m - 1 >= n) break;
            if (!(irr[k] > 0) || !(irr[k + 1] <= 0.01)) break;
            bool dry = true;
            for (int j = 2; j <= m - 1; ++j)
                if (!(irr[k + j] < 0.01)) dry = false;
            if (!dry) break;
            const double share = irr[k] / m;
            // A gift whose own day an earlier spread wrote over is spread
            // again in full: its loss there is undone.
            if (m == 2 && source[k] != k) lost[k] -= irr[k];
            for (int d = k; d <= k + m - 1; ++d) {
                if (source[d] != k) lost[source[d]] += dist[d];
                dist[d] = share;
                source[d] = k;
            }
        }
    }
    return lost;
}

RunBalance ComputeBalance(const RunData& run, const ModelState& state) {
    const ModelInput& in = run.in;
    const StepResults& r = state.Results;
    const int ts = in.Ts, layers = in.NrLayers;
    RunBalance b;
    b.layers = layers;
    b.steps = std::min(in.NrTst, state.Flows.StopStep - 1);
    if (static_cast<int>(state.Ledger.steps.size()) < b.steps + 1) b.steps = 0;
    const std::vector<Band> bands = PorosityBands(run);
    const double bottom = run.Dr + in.D[Zt] + in.D[Za];
    const Series lost = IrrigationLostBySpreading(in);

    std::vector<Zone> saltZones;
    for (Zone z : EveryZone)
        if (ZoneInUse(layers, z)) saltZones.push_back(z);

    // The summaries, in the order of the rows of a step.
    auto summaryOf = [&b](K kind, BalanceZone zone) -> BalanceSummary& {
        for (BalanceSummary& s : b.summary)
            if (s.kind == kind && s.zone == zone) return s;
        b.summary.push_back(BalanceSummary{});
        b.summary.back().kind = kind;
        b.summary.back().zone = zone;
        return b.summary.back();
    };
    const double stor0 = state.Stor.empty() ? 0 : state.Stor[0];
    const double storEnd = ts == 1 && b.steps > 0 ? state.Stor[b.steps] : stor0;
    const double gw0 = WaterBetween(bands, r.Dwt[0], bottom);
    const double gwEnd = WaterBetween(bands, r.Dwt[b.steps], bottom);
    summaryOf(K::Water, BalanceZone::RootZone).initial = stor0;
    summaryOf(K::Water, BalanceZone::RootZone).final = storEnd;
    summaryOf(K::Water, BalanceZone::Groundwater).initial = gw0;
    summaryOf(K::Water, BalanceZone::Groundwater).final = gwEnd;
    summaryOf(K::Water, BalanceZone::Column).initial = stor0 + gw0;
    summaryOf(K::Water, BalanceZone::Column).final = storEnd + gwEnd;
    double salt0 = 0, saltEnd = 0;
    for (Zone z : saltZones) {
        BalanceSummary& s = summaryOf(K::Salt, SaltZone(z));
        s.initial = run.W[z] * (b.steps > 0 ? state.Ledger.steps[1][z].start : in.Sini[z]);
        s.final = b.steps > 0 ? run.W[z] * state.Ledger.steps[b.steps][z].end : s.initial;
        salt0 += s.initial;
        saltEnd += s.final;
    }
    summaryOf(K::Salt, BalanceZone::Column).initial = salt0;
    summaryOf(K::Salt, BalanceZone::Column).final = saltEnd;

    b.rows.reserve(static_cast<size_t>(b.steps) * (3 + saltZones.size() + 1));
    for (int i = 1; i <= b.steps; ++i) {
        const size_t first = b.rows.size();
        const double rain = in.Rain[i] * ts, irr = in.IrrDist[i] * ts;
        const double inf = in.Inf * ts, out = in.Out * ts;
        const double rootStorage = ts == 1 ? state.Stor[i] - state.Stor[i - 1] : 0;
        const double gwStorage = WaterBetween(bands, r.Dwt[i], r.Dwt[i - 1]);
        b.rows.push_back(RowMaker(i, K::Water, BalanceZone::RootZone)
                             .In(T::Rain, rain)
                             .In(T::Irrigation, irr)
                             .In(T::CapillaryRise, r.CapTT[i])
                             .Out(T::Evapotranspiration, r.EvapAT[i])
                             .Out(T::Percolation, r.PercT[i])
                             .Done(rootStorage));
        b.rows.push_back(RowMaker(i, K::Water, BalanceZone::Groundwater)
                             .In(T::Percolation, r.PercT[i])
                             .In(T::HorizontalInflow, inf)
                             .Out(T::CapillaryRise, r.CapTT[i])
                             .Out(T::DrainDischarge, r.DrainT[i])
                             .Out(T::HorizontalOutflow, out)
                             .Done(gwStorage));
        b.rows.push_back(RowMaker(i, K::Water, BalanceZone::Column)
                             .In(T::Rain, rain)
                             .In(T::Irrigation, irr)
                             .In(T::HorizontalInflow, inf)
                             .Out(T::Evapotranspiration, r.EvapAT[i])
                             .Out(T::DrainDischarge, r.DrainT[i])
                             .Out(T::HorizontalOutflow, out)
                             .Done(rootStorage + gwStorage));
        const ZoneArray<SaltZoneStep>& L = state.Ledger.steps[i];
        double saltStorage = 0;
        int floors = 0;
        for (Zone z : saltZones) {
            const SaltZoneStep& s = L[z];
            const SaltTerms t = SaltTermsOf(z);
            RowMaker row(i, K::Salt, SaltZone(z));
            row.In(t.in[0], s.in[0]).In(t.in[1], s.in[1]).Out(t.out[0], s.out[0]);
            if (t.hasOut2) row.Out(t.out[1], s.out[1]);
            const double storage = run.W[z] * (s.end - s.start);
            b.rows.push_back(row.Done(storage));
            b.rows.back().floors = s.guards;
            saltStorage += storage;
            floors += s.guards;
        }
        b.rows.push_back(RowMaker(i, K::Salt, BalanceZone::Column)
                             .In(T::SaltIrrigation, L[Z1].in[0])
                             .In(T::SaltInflow, L[Za].in[1])
                             .Out(T::SaltDrain, L[Zt].out[0])
                             .Out(T::SaltOutflow, L[Za].out[0])
                             .Done(saltStorage));
        b.rows.back().floors = floors;
        b.floors += floors;

        const bool crossed = BandOf(bands, r.Dwt[i - 1]) != BandOf(bands, r.Dwt[i]);
        b.irrigationLost += lost[i];
        for (size_t k = first; k < b.rows.size(); ++k) {
            BalanceRow& row = b.rows[k];
            row.crossed = crossed;
            row.irrigationLost = lost[i];
            BalanceSummary& s = summaryOf(row.kind, row.zone);
            s.totals.in += row.step_.in;
            s.totals.out += row.step_.out;
            s.totals.storage += row.step_.storage;
            row.cumulative = s.totals;
            for (int f = 0; f < row.flowCount; ++f) {
                const BalanceFlow& flow = row.flows[static_cast<size_t>(f)];
                const size_t t = static_cast<size_t>(flow.term);
                s.used[t] = true;
                if ((flow.value >= 0) == flow.in)
                    (flow.in ? s.inTerms : s.outTerms)[t] += std::fabs(flow.value);
                else
                    (flow.in ? s.outTerms : s.inTerms)[t] += std::fabs(flow.value);
            }
        }
        for (Zone z : saltZones) b.highestSalinity = std::max(b.highestSalinity, r.SR[z][i]);
        b.highestPonding = std::max(b.highestPonding, -r.Dwt[i]);
    }

    // Where the column's salt goes out of balance: salt that one zone
    // receives and no zone gives (or the reverse), and the days on which a
    // floor or guard acted. Together they make up the column's discrepancy.
    if (b.steps > 0) {
        double capIntoRoot = 0, capBetween = 0, up = 0, down = 0, perc = 0, guards = 0;
        const Zone lowest = static_cast<Zone>(layers - 1);
        for (int i = 1; i <= b.steps; ++i) {
            const ZoneArray<SaltZoneStep>& L = state.Ledger.steps[i];
            for (Zone z : saltZones) {
                const SaltZoneStep& s = L[z];
                if (z == lowest) capIntoRoot -= s.in[1];
                else if (z < Zt) capBetween -= s.in[1];
                if (z == Z2 || z == Z3) capBetween += s.out[1];
                if (z != Z1 && z != Za) perc -= s.in[0];
                if (z < Zt) perc += s.out[0];
                if (z == Zt) up -= s.in[1];
                if (z == Za) down -= s.in[0];
            }
        }
        for (const BalanceSummary& s : b.summary)
            if (s.kind == K::Salt && s.zone != BalanceZone::Column) guards += s.totals.Discrepancy();
        b.saltSources = {
            {"capillary rise into the root zone not taken from the transition zone", capIntoRoot},
            {"capillary rise between root-zone layers received and given at different salinities", capBetween},
            {"upward flow from the aquifer added to the transition zone", up},
            {"downward flow into the aquifer not taken from the transition zone", down},
            {"percolation passed between zones", perc},
            {"salinity floors and the divisor guard", guards},
        };
        std::stable_sort(b.saltSources.begin(), b.saltSources.end(),
                         [](const auto& a, const auto& c) { return std::fabs(a.second) > std::fabs(c.second); });
    }
    return b;
}

std::string BalanceCsv(const RunBalance& balance) {
    std::string out =
        "step,kind,zone,in,out,storage_change,discrepancy,discrepancy_pct,cumulative_discrepancy,"
        "cumulative_discrepancy_pct";
    for (const BalanceTermInfo& t : BalanceTerms) out += std::string(",") + t.column;
    out += ",crossed_boundary,floors_days,irrigation_lost_mm,unit\r\n";
    out.reserve(balance.rows.size() * 160);
    auto number = [&out](double v) {
        out += ',';
        if (!std::isnan(v)) out += ShortestText(v);
    };
    std::array<double, BalanceTermCount> terms;
    for (const BalanceRow& row : balance.rows) {
        out += std::to_string(row.step);
        out += ',';
        out += BalanceKindName(row.kind);
        out += ',';
        out += BalanceZoneName(row.zone);
        number(row.step_.in);
        number(row.step_.out);
        number(row.step_.storage);
        number(row.step_.Discrepancy());
        number(row.step_.Percent());
        number(row.cumulative.Discrepancy());
        number(row.cumulative.Percent());
        terms.fill(NotANumber);
        for (int f = 0; f < row.flowCount; ++f)
            terms[static_cast<size_t>(row.flows[static_cast<size_t>(f)].term)] = row.flows[static_cast<size_t>(f)].value;
        for (double v : terms) number(v);
        out += row.crossed ? ",1," : ",0,";
        out += std::to_string(row.floors);
        number(row.irrigationLost);
        out += ',';
        out += BalanceUnit(row.kind);
        out += "\r\n";
    }
    return out;
}

std::string BalanceSummaryText(const RunBalance& balance) {
    std::string text;
    char line[200];
    for (const BalanceSummary& s : balance.summary) {
        const bool salt = s.kind == K::Salt;
        auto put = [&](const std::string& label, double v) {
            if (salt)
                std::snprintf(line, sizeof line, "  %-58s %14.1f %14.1f\r\n", label.c_str(), v, v * SaltKgPerHaPerMmDsm);
            else
                std::snprintf(line, sizeof line, "  %-58s %14.1f\r\n", label.c_str(), v);
            text += line;
        };
        text += std::string(salt ? "Salt" : "Water") + ", " + BalanceZoneLabel(s.zone, balance.layers) +
                (salt ? "  (mm*dS/m, kg/ha approx.)" : "  (mm)") + "\r\n";
        put("Initially present", s.initial);
        for (const BalanceTermInfo& t : BalanceTerms)
            if (s.used[static_cast<size_t>(t.term)]) put(std::string("In:  ") + t.label, s.inTerms[static_cast<size_t>(t.term)]);
        for (const BalanceTermInfo& t : BalanceTerms)
            if (s.used[static_cast<size_t>(t.term)]) put(std::string("Out: ") + t.label, s.outTerms[static_cast<size_t>(t.term)]);
        put("Finally present", s.final);
        put("Storage change", s.totals.storage);
        put("Balance deviation", s.totals.Discrepancy());
        std::snprintf(line, sizeof line, "  %-58s %14s\r\n", "Percent discrepancy", Percent(s.totals.Percent()).c_str());
        text += line;
        text += "\r\n";
    }
    if (!balance.saltSources.empty()) {
        text += "Salt of the column out of balance, by source  (mm*dS/m)\r\n";
        for (const auto& [what, value] : balance.saltSources) {
            std::snprintf(line, sizeof line, "  %-90s %14.1f\r\n", what.c_str(), value);
            text += line;
        }
    }
    return text;
}

std::string BalanceVerdict(const RunBalance& balance) {
    if (balance.steps == 0) return "Water balance: no time step was computed; salt: no time step was computed";
    auto pct = [&](K kind, BalanceZone zone) {
        const BalanceSummary* s = balance.Find(kind, zone);
        return s ? Percent(s->totals.Percent()) : std::string("n.a.");
    };
    std::string text = "Water balance: root zone " + pct(K::Water, BalanceZone::RootZone) + ", groundwater " +
                       pct(K::Water, BalanceZone::Groundwater) + ", column " + pct(K::Water, BalanceZone::Column) +
                       "; salt: column " + pct(K::Salt, BalanceZone::Column);
    if (!balance.saltSources.empty() && balance.saltSources.front().second != 0)
        text += " (largest source: " + balance.saltSources.front().first + ")";
    return text;
}

std::vector<std::string> RunWarnings(const RunBalance& balance) {
    std::vector<std::string> warnings;
    char text[400];
    if (balance.highestPonding > PondingWarningDepth) {
        std::snprintf(text, sizeof text,
                      "The water table rose to %.2f m above the soil surface (more than %.1f m): the model keeps "
                      "the water on the field with no runoff.",
                      balance.highestPonding, PondingWarningDepth);
        warnings.push_back(text);
    }
    if (balance.highestSalinity > SalinityWarningLevel) {
        std::snprintf(text, sizeof text,
                      "A salinity of %.1f dS/m was computed (above %.0f dS/m): no soil moisture is that salty; the "
                      "salt balance is concentrating without limit.",
                      balance.highestSalinity, SalinityWarningLevel);
        warnings.push_back(text);
    }
    if (balance.floors > 0) {
        std::snprintf(text, sizeof text,
                      "Salinity floors (0.1 dS/m) or the divisor guard acted on %d zone days: the salt of those "
                      "days does not balance.",
                      balance.floors);
        warnings.push_back(text);
    }
    std::string over;
    for (const BalanceSummary& s : balance.summary) {
        const double p = s.totals.Percent();
        if (std::isnan(p) || std::fabs(p) <= DiscrepancyWarningPercent) continue;
        over += std::string(over.empty() ? "" : ", ") + BalanceKindName(s.kind) + " " +
                BalanceZoneLabel(s.zone, balance.layers) + " " + Percent(p);
    }
    if (!over.empty())
        warnings.push_back("Cumulative balance discrepancies above " + Percent(DiscrepancyWarningPercent) + ": " +
                           over + "; the results do not conserve water or salt there (see the balance).");
    return warnings;
}

}  // namespace halovane
