#include "Balance.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "IrrigationSpread.h"
#include "ModelState.h"
#include "NumberText.h"
#include "ResultColumns.h"
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

// The terms of every (kind, zone), in-terms first; with `in` the side a
// positive value counts on.
struct Side {
    T term;
    bool in;
};
struct Layout {
    K kind;
    BalanceZone zone;
    std::vector<Side> terms;
};
const std::vector<Layout>& Layouts() {
    using Z = BalanceZone;
    static const std::vector<Layout> layouts = {
        {K::Water, Z::RootZone, {{T::Rain, true}, {T::Irrigation, true}, {T::CapillaryRise, true},
                                 {T::Evapotranspiration, false}, {T::Percolation, false}}},
        {K::Water, Z::Groundwater, {{T::Percolation, true}, {T::HorizontalInflow, true}, {T::CapillaryRise, false},
                                    {T::DrainDischarge, false}, {T::HorizontalOutflow, false}}},
        {K::Water, Z::Column, {{T::Rain, true}, {T::Irrigation, true}, {T::HorizontalInflow, true},
                               {T::Evapotranspiration, false}, {T::DrainDischarge, false}, {T::HorizontalOutflow, false}}},
        {K::Salt, Z::Layer1, {{T::SaltIrrigation, true}, {T::SaltCapillaryIn, true}, {T::SaltPercolationOut, false}}},
        {K::Salt, Z::Layer2, {{T::SaltPercolationIn, true}, {T::SaltCapillaryIn, true}, {T::SaltPercolationOut, false},
                              {T::SaltCapillaryOut, false}}},
        {K::Salt, Z::Layer3, {{T::SaltPercolationIn, true}, {T::SaltCapillaryIn, true}, {T::SaltPercolationOut, false},
                              {T::SaltCapillaryOut, false}}},
        {K::Salt, Z::Transition, {{T::SaltPercolationIn, true}, {T::SaltUpwardIn, true}, {T::SaltDrain, false}}},
        {K::Salt, Z::Aquifer, {{T::SaltDownwardIn, true}, {T::SaltInflow, true}, {T::SaltOutflow, false}}},
        {K::Salt, Z::Column, {{T::SaltIrrigation, true}, {T::SaltInflow, true}, {T::SaltDrain, false},
                              {T::SaltOutflow, false}}},
    };
    return layouts;
}
// The salt zones of the conserving variant whose flows differ: the
// transition zone also gives capillary rise to the root zone, and the water
// between the transition zone and the aquifer leaves the one it enters the
// other from.
const std::vector<Layout>& ConservingLayouts() {
    using Z = BalanceZone;
    static const std::vector<Layout> layouts = {
        {K::Salt, Z::Transition, {{T::SaltPercolationIn, true}, {T::SaltUpwardIn, true}, {T::SaltDrain, false},
                                  {T::SaltCapillaryOut, false}, {T::SaltDownwardIn, false}}},
        {K::Salt, Z::Aquifer, {{T::SaltDownwardIn, true}, {T::SaltInflow, true}, {T::SaltOutflow, false},
                               {T::SaltUpwardIn, false}}},
    };
    return layouts;
}
const Layout* LayoutOf(K kind, BalanceZone zone, ModelVariant variant = ModelVariant::Prescribed) {
    if (variant == ModelVariant::Conserving)
        for (const Layout& l : ConservingLayouts())
            if (l.kind == kind && l.zone == zone) return &l;
    for (const Layout& l : Layouts())
        if (l.kind == kind && l.zone == zone) return &l;
    return nullptr;
}

// Adds a flow to a row; a flow whose sign is reversed counts on the other
// side.
void AddFlow(BalanceRow& row, const Side& side, double v) {
    row.flows[static_cast<size_t>(row.flowCount++)] = BalanceFlow{side.term, side.in, v};
    if ((v >= 0) == side.in)
        row.step_.in += std::fabs(v);
    else
        row.step_.out += std::fabs(v);
}

// Adds a row to the summary of its (kind, zone) and gives it its
// cumulative totals.
void Accumulate(BalanceSummary& s, BalanceRow& row) {
    if (!s.started) {
        s.initial = row.presentEnd - row.step_.storage;
        s.started = true;
    }
    s.final = row.presentEnd;
    s.totals.in += row.step_.in;
    s.totals.out += row.step_.out;
    s.totals.storage += row.step_.storage;
    row.cumulative = s.totals;
    for (int f = 0; f < row.flowCount; ++f) {
        const BalanceFlow& flow = row.flows[static_cast<size_t>(f)];
        const size_t t = static_cast<size_t>(flow.term);
        s.used[t] = true;
        s.net[t] += flow.value;
        // A flow whose sign is reversed counts on the other side.
        ((flow.value >= 0) == flow.in ? s.inTerms : s.outTerms)[t] += std::fabs(flow.value);
    }
}

// Adds one step of a (kind, zone) to its summary straight from the values
// in the order of the layout's terms, with the arithmetic of AddFlow and
// Accumulate, and returns the step's totals; no row is formed.
template <size_t N>
BalanceTotals AddStep(BalanceSummary& s, const Side* sides, const std::array<double, N>& values, double storage,
                      double presentEnd) {
    BalanceTotals step;
    for (size_t f = 0; f < N; ++f) {
        const double v = values[f];
        const double size = std::fabs(v);
        const size_t t = static_cast<size_t>(sides[f].term);
        if ((v >= 0) == sides[f].in) {
            step.in += size;
            s.inTerms[t] += size;
        } else {
            step.out += size;
            s.outTerms[t] += size;
        }
        s.net[t] += v;
    }
    step.storage = storage;
    s.final = presentEnd;
    s.totals.in += step.in;
    s.totals.out += step.out;
    s.totals.storage += step.storage;
    return step;
}

// The row of the balance file of one step of a (kind, zone).
void AddRow(RunBalance& b, const Layout& layout, int step, const double* values, int count, const BalanceTotals& totals,
            const BalanceSummary& s, double present, bool crossed, int floors, double irrigationLost) {
    BalanceRow row;
    row.step = step;
    row.kind = layout.kind;
    row.zone = layout.zone;
    row.flowCount = count;
    for (int f = 0; f < count; ++f) {
        const Side& side = layout.terms[static_cast<size_t>(f)];
        row.flows[static_cast<size_t>(f)] = BalanceFlow{side.term, side.in, values[f]};
    }
    row.step_ = totals;
    row.cumulative = s.totals;
    row.presentEnd = present;
    row.crossed = crossed;
    row.floors = floors;
    row.irrigationLost = irrigationLost;
    b.rows.push_back(row);
}

void FindSaltSources(RunBalance& b);

// Cumulates the rows, forms the summaries and the sources of the column's
// salt discrepancy.
void Finish(RunBalance& b) {
    b.summary.clear();
    b.floors = 0;
    b.irrigationLost = 0;
    int lastStep = 0;
    for (BalanceRow& row : b.rows) {
        BalanceSummary* s = nullptr;
        for (BalanceSummary& x : b.summary)
            if (x.kind == row.kind && x.zone == row.zone) s = &x;
        if (!s) {
            b.summary.push_back(BalanceSummary{});
            s = &b.summary.back();
            s->kind = row.kind;
            s->zone = row.zone;
        }
        Accumulate(*s, row);
        if (row.kind == K::Salt && row.zone == BalanceZone::Column) b.floors += row.floors;
        if (row.step != lastStep) b.irrigationLost += row.irrigationLost;
        lastStep = row.step;
    }
    b.steps = lastStep;
    FindSaltSources(b);
}

void FindSaltSources(RunBalance& b) {
    b.saltSources.clear();
    // The conserving variant's salt has none of these sources.
    if (b.steps == 0 || b.variant == ModelVariant::Conserving) return;
    // Salt that one zone receives and no zone gives (or the reverse), and
    // the days on which a floor or guard acted, make up the column's
    // discrepancy.
    auto net = [&b](BalanceZone zone, T term) {
        const BalanceSummary* s = b.Find(K::Salt, zone);
        return s ? s->net[static_cast<size_t>(term)] : 0.0;
    };
    const BalanceZone lowest = SaltZone(static_cast<Zone>(b.layers - 1));
    double capBetween = 0, perc = 0, guards = 0;
    for (BalanceZone z : {BalanceZone::Layer1, BalanceZone::Layer2, BalanceZone::Layer3}) {
        if (z != lowest && static_cast<int>(z) < static_cast<int>(lowest)) capBetween -= net(z, T::SaltCapillaryIn);
        capBetween += net(z, T::SaltCapillaryOut);
        perc += net(z, T::SaltPercolationOut) - net(z, T::SaltPercolationIn);
    }
    perc -= net(BalanceZone::Transition, T::SaltPercolationIn);
    for (const BalanceSummary& s : b.summary)
        if (s.kind == K::Salt && s.zone != BalanceZone::Column) guards += s.totals.Discrepancy();
    b.saltSources = {
        {"capillary rise into the root zone not taken from the transition zone", -net(lowest, T::SaltCapillaryIn)},
        {"capillary rise between root-zone layers received and given at different salinities", capBetween},
        {"upward flow from the aquifer added to the transition zone", -net(BalanceZone::Transition, T::SaltUpwardIn)},
        {"downward flow into the aquifer not taken from the transition zone", -net(BalanceZone::Aquifer, T::SaltDownwardIn)},
        {"percolation passed between zones", perc},
        {"salinity floors and the divisor guard", guards},
    };
    std::stable_sort(b.saltSources.begin(), b.saltSources.end(),
                     [](const auto& x, const auto& y) { return std::fabs(x.second) > std::fabs(y.second); });
}

void NoteExtremes(RunBalance& b, const StepResults& r) {
    b.highestSalinity = 0;
    b.highestPonding = 0;
    const int last = std::min(b.steps, static_cast<int>(r.Dwt.size()) - 1);
    for (const ResultColumn* c : ColumnsOf(b.layers)) {
        if (!c->zone) continue;
        const Series& S = c->Of(r);
        for (int i = 1; i <= last; ++i) b.highestSalinity = std::max(b.highestSalinity, S[i]);
    }
    for (int i = 1; i <= last; ++i) b.highestPonding = std::max(b.highestPonding, -r.Dwt[i]);
}

// A value printed with one decimal: round-off below half its last digit
// shows as 0.0, never as "-0.0".
double ShownToOneDecimal(double v) { return std::fabs(v) < 0.05 ? 0.0 : v; }

}  // namespace

std::string BalancePercentText(double v) {
    if (std::isnan(v)) return "n.a.";
    v = ShownToOneDecimal(v);
    char text[64];
    std::snprintf(text, sizeof text, std::fabs(v) < 10 ? "%.1f %%" : "%.0f %%", v);
    return text;
}

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
    // Only an entry above 0 and at most 0.01 mm can lie inside the spread of
    // another gift; without one nothing is lost.
    if (std::none_of(irr.begin() + 1, irr.begin() + n + 1, [](double v) { return v > 0 && v <= 0.01; })) return lost;
    // The same windows as DistributeIrrigation, with the step whose water
    // each day holds; a day written over by another step's spread loses it.
    Series dist(irr.begin(), irr.begin() + n + 1);
    std::vector<int> source(static_cast<size_t>(n) + 1);
    for (int d = 0; d <= n; ++d) source[d] = d;
    ForEachIrrigationSpread(irr, n, [&](int k, int m, double share) {
        // A gift whose own day an earlier spread wrote over is spread again
        // in full: its loss there is undone.
        if (m == 2 && source[k] != k) lost[k] -= irr[k];
        for (int d = k; d <= k + m - 1; ++d) {
            if (source[d] != k) lost[source[d]] += dist[d];
            dist[d] = share;
            source[d] = k;
        }
    });
    return lost;
}

namespace {

// The salt rows of step i of the conserving variant, in the order of
// `saltZones` and then the column, from the salt its final pass moved
// across every interface (down and up) and in and out of the column.
template <typename Add>
void AddConservingSalt(const RunData& run, const ModelState& state, int i, const std::vector<Zone>& saltZones, Add& add) {
    const ModelInput& in = run.in;
    const StepResults& r = state.Results;
    const SaltAccount& a = state.Salt;
    const std::array<double, 4>& down = a.Down[static_cast<size_t>(i)];
    const std::array<double, 4>& up = a.Up[static_cast<size_t>(i)];
    const size_t layers = static_cast<size_t>(in.NrLayers);
    double saltStorage = 0, salt = 0;
    for (size_t k = 0; k < saltZones.size(); ++k) {
        const Zone z = saltZones[k];
        const double start = i == 1 ? in.Sini[z] : r.SR[z][i - 1];
        const double storage = run.W[z] * (r.SR[z][i] - start);
        const double present = run.W[z] * r.SR[z][i];
        if (k == 0)
            add(std::array<double, 3>{a.Irrigation[i], up[0], down[0]}, storage, present, 0);
        else if (k < layers)
            add(std::array<double, 4>{down[k - 1], up[k], down[k], up[k - 1]}, storage, present, 0);
        else if (z == Zt)
            add(std::array<double, 5>{down[k - 1], up[k], a.Drained[i], up[k - 1], down[k]}, storage, present, 0);
        else
            add(std::array<double, 4>{down[k - 1], a.Inflow[i], a.Outflow[i], up[k - 1]}, storage, present, 0);
        saltStorage += storage;
        salt += present;
    }
    // When no salt entered or left the column, it only moved between zones
    // and the column holds what it held; the sum of the zones' changes is
    // then their round-off alone.
    if (a.Irrigation[i] == 0 && a.Inflow[i] == 0 && a.Drained[i] == 0 && a.Outflow[i] == 0) saltStorage = 0;
    add(std::array<double, 4>{a.Irrigation[i], a.Inflow[i], a.Drained[i], a.Outflow[i]}, saltStorage, salt, 0);
}

}  // namespace

RunBalance ComputeBalance(const RunData& run, const ModelState& state, bool keepRows) {
    const ModelInput& in = run.in;
    const StepResults& r = state.Results;
    const int ts = in.Ts, layers = in.NrLayers;
    const bool conserving = in.Variant == ModelVariant::Conserving;
    RunBalance b;
    b.layers = layers;
    b.variant = in.Variant;
    int steps = std::max(0, std::min(in.NrTst, state.Flows.StopStep - 1));
    const size_t recorded = conserving ? std::min(state.Salt.Down.size(), state.Days.size() / static_cast<size_t>(ts) + 1)
                                       : state.Ledger.steps.size();
    if (static_cast<int>(recorded) < steps + 1) steps = 0;
    b.steps = steps;
    const std::vector<Band> bands = PorosityBands(run);
    const double bottom = run.Dr + in.D[Zt] + in.D[Za];
    // The conserving variant spreads irrigation without losing any.
    const Series lost = conserving ? Series(static_cast<size_t>(in.NrTst) + 1, 0.0) : IrrigationLostBySpreading(in);
    std::vector<Zone> saltZones;
    for (Zone z : EveryZone)
        if (ZoneInUse(layers, z)) saltZones.push_back(z);

    // The rows of a step, in order, and their summaries.
    using Z = BalanceZone;
    std::vector<const Layout*> layouts{LayoutOf(K::Water, Z::RootZone), LayoutOf(K::Water, Z::Groundwater),
                                       LayoutOf(K::Water, Z::Column)};
    for (Zone z : saltZones) layouts.push_back(LayoutOf(K::Salt, SaltZone(z), in.Variant));
    layouts.push_back(LayoutOf(K::Salt, Z::Column));
    b.summary.resize(steps > 0 ? layouts.size() : 0);
    for (size_t k = 0; k < b.summary.size(); ++k) {
        b.summary[k].kind = layouts[k]->kind;
        b.summary[k].zone = layouts[k]->zone;
    }
    if (keepRows) b.rows.reserve(static_cast<size_t>(steps) * layouts.size());

    double gwBefore = WaterBetween(bands, r.Dwt[0], bottom);
    int bandBefore = BandOf(bands, r.Dwt[0]);
    for (int i = 1; i <= steps; ++i) {
        const int band = BandOf(bands, r.Dwt[i]);
        bool crossed = bandBefore != band;
        bandBefore = band;
        // The conserving variant moves the water table every day.
        for (int j = 0; conserving && j < ts; ++j) {
            const ConservingDay& day = state.Days[static_cast<size_t>(i - 1) * static_cast<size_t>(ts) + static_cast<size_t>(j)];
            crossed = crossed || BandOf(bands, day.d0) != BandOf(bands, day.d1);
        }
        size_t k = 0;
        // Adds the step of the (kind, zone) at position k to its summary
        // and, for the balance file, forms its row.
        auto add = [&](const auto& values, double storage, double present, int floors) {
            const Layout& layout = *layouts[k];
            BalanceSummary& s = b.summary[k++];
            if (i == 1) {
                s.initial = present - storage;
                s.started = true;
                for (size_t f = 0; f < values.size(); ++f) s.used[static_cast<size_t>(layout.terms[f].term)] = true;
            }
            const BalanceTotals step = AddStep(s, layout.terms.data(), values, storage, present);
            if (keepRows) AddRow(b, layout, i, values.data(), static_cast<int>(values.size()), step, s, present, crossed, floors, lost[i]);
        };
        const double rain = in.Rain[i] * ts, irr = in.IrrDist[i] * ts;
        const double inf = in.Inf * ts, out = in.Out * ts;
        // The prescribed model keeps no root-zone storage on steps longer
        // than a day; the conserving variant keeps its store on every step.
        const bool store = conserving || ts == 1;
        const double stor = store ? state.Stor[i] : state.Stor[0];
        const double rootStorage = store ? state.Stor[i] - state.Stor[i - 1] : 0;
        // The water held above the aquifer's bottom; its change is the
        // porosity integrated between the two depths.
        const double gw = WaterBetween(bands, r.Dwt[i], bottom);
        const double gwStorage = conserving ? WaterBetween(bands, r.Dwt[i], r.Dwt[i - 1]) : gw - gwBefore;
        gwBefore = gw;
        add(std::array<double, 5>{rain, irr, r.CapTT[i], r.EvapAT[i], r.PercT[i]}, rootStorage, stor, 0);
        add(std::array<double, 5>{r.PercT[i], inf, r.CapTT[i], r.DrainT[i], out}, gwStorage, gw, 0);
        add(std::array<double, 6>{rain, irr, inf, r.EvapAT[i], r.DrainT[i], out}, rootStorage + gwStorage, stor + gw, 0);
        if (conserving) {
            AddConservingSalt(run, state, i, saltZones, add);
            continue;
        }
        const ZoneArray<SaltZoneStep>& L = state.Ledger.steps[i];
        double saltStorage = 0, salt = 0;
        int floors = 0;
        for (Zone z : saltZones) {
            const SaltZoneStep& s = L[z];
            const double storage = run.W[z] * (s.end - s.start);
            const double present = run.W[z] * s.end;
            if (z == Z2 || z == Z3)
                add(std::array<double, 4>{s.in[0], s.in[1], s.out[0], s.out[1]}, storage, present, s.guards);
            else
                add(std::array<double, 3>{s.in[0], s.in[1], s.out[0]}, storage, present, s.guards);
            saltStorage += storage;
            salt += present;
            floors += s.guards;
        }
        add(std::array<double, 4>{L[Z1].in[0], L[Za].in[1], L[Zt].out[0], L[Za].out[0]}, saltStorage, salt, floors);
        b.floors += floors;
        b.irrigationLost += lost[i];
    }
    FindSaltSources(b);
    NoteExtremes(b, r);
    return b;
}

namespace {

std::string BalanceCsvHeader() {
    std::string out =
        "step,kind,zone,in,out,storage_change,discrepancy,discrepancy_pct,cumulative_discrepancy,"
        "cumulative_discrepancy_pct";
    for (const BalanceTermInfo& t : BalanceTerms) out += std::string(",") + t.column;
    return out + ",crossed_boundary,floors_days,irrigation_lost_mm,present_end,unit";
}

constexpr size_t FirstTermColumn = 10;

// Writes a value with at most three decimals, trailing zeros dropped, at
// `p` and returns the end; very large values in exponent form. The file of a
// long daily run has a million numbers, so they are written by hand into
// the line.
char* PutNumber(char* p, char* end, double v) {
    if (std::isnan(v)) return p;
    if (!(std::fabs(v) < 1e12)) return std::to_chars(p, end, v).ptr;
    long long m = std::llround(v * 1000);
    if (m < 0) {
        *p++ = '-';
        m = -m;
    }
    p = std::to_chars(p, end, m / 1000).ptr;
    const int frac = static_cast<int>(m % 1000);
    if (frac == 0) return p;
    *p++ = '.';
    *p++ = static_cast<char>('0' + frac / 100);
    if (frac % 100 == 0) return p;
    *p++ = static_cast<char>('0' + frac / 10 % 10);
    if (frac % 10 == 0) return p;
    *p++ = static_cast<char>('0' + frac % 10);
    return p;
}

char* PutText(char* p, const char* text) {
    while (*text) *p++ = *text++;
    return p;
}

}  // namespace

// The last column of a file of the conserving variant.
constexpr const char* VariantColumn = ",model_variant";

std::string BalanceCsv(const RunBalance& balance) {
    const bool conserving = balance.variant == ModelVariant::Conserving;
    std::string out = BalanceCsvHeader() + (conserving ? VariantColumn : "") + "\r\n";
    out.reserve(out.size() + balance.rows.size() * 100);
    std::array<double, BalanceTermCount> terms;
    // A row has at most 34 numbers of at most 32 characters.
    char line[2048];
    char* const end = line + sizeof line;
    for (const BalanceRow& row : balance.rows) {
        char* p = std::to_chars(line, end, row.step).ptr;
        *p++ = ',';
        p = PutText(p, BalanceKindName(row.kind));
        *p++ = ',';
        p = PutText(p, BalanceZoneName(row.zone));
        terms.fill(NotANumber);
        for (int f = 0; f < row.flowCount; ++f) {
            const BalanceFlow& flow = row.flows[static_cast<size_t>(f)];
            terms[static_cast<size_t>(flow.term)] = flow.value;
        }
        for (double v : {row.step_.in, row.step_.out, row.step_.storage, row.step_.Discrepancy(), row.step_.Percent(),
                         row.cumulative.Discrepancy(), row.cumulative.Percent()}) {
            *p++ = ',';
            p = PutNumber(p, end, v);
        }
        for (double v : terms) {
            *p++ = ',';
            p = PutNumber(p, end, v);
        }
        p = PutText(p, row.crossed ? ",1," : ",0,");
        p = std::to_chars(p, end, row.floors).ptr;
        *p++ = ',';
        p = PutNumber(p, end, row.irrigationLost);
        *p++ = ',';
        p = PutNumber(p, end, row.presentEnd);
        *p++ = ',';
        p = PutText(p, BalanceUnit(row.kind));
        if (conserving) {
            *p++ = ',';
            p = PutText(p, VariantWord(balance.variant));
        }
        p = PutText(p, "\r\n");
        out.append(line, p);
    }
    return out;
}

bool ReadBalanceCsv(const std::string& text, RunBalance& balance, std::string& why) {
    RunBalance b;
    size_t at = 0, lineNumber = 0;
    const std::string header = BalanceCsvHeader();
    size_t columns = static_cast<size_t>(std::count(header.begin(), header.end(), ',')) + 1;
    std::vector<std::string> cells;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lineNumber == 1) {
            if (line == header + VariantColumn) {
                b.variant = ModelVariant::Conserving;
                ++columns;
            } else if (line != header) {
                why = "line 1 is not the header of a balance file";
                return false;
            }
            continue;
        }
        if (line.empty()) continue;
        cells.clear();
        for (size_t from = 0;;) {
            const size_t comma = line.find(',', from);
            cells.push_back(line.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
        auto bad = [&](const char* what) {
            why = "line " + std::to_string(lineNumber) + ": " + what;
            return false;
        };
        if (cells.size() != columns) return bad("wrong number of columns");
        if (b.variant == ModelVariant::Conserving && cells.back() != VariantWord(b.variant))
            return bad("not a row of the conserving variant");
        auto number = [](const std::string& cell, double& v) {
            if (cell.empty()) {
                v = 0;
                return true;
            }
            const auto result = std::from_chars(cell.data(), cell.data() + cell.size(), v);
            return result.ec == std::errc() && result.ptr == cell.data() + cell.size();
        };
        BalanceRow row;
        double step = 0;
        if (!number(cells[0], step) || step < 1) return bad("no time step");
        row.step = static_cast<int>(step);
        bool known = false;
        for (const Layout& named : Layouts())
            if (cells[1] == BalanceKindName(named.kind) && cells[2] == BalanceZoneName(named.zone)) {
                const Layout& layout = *LayoutOf(named.kind, named.zone, b.variant);
                row.kind = layout.kind;
                row.zone = layout.zone;
                known = true;
                for (const Side& side : layout.terms) {
                    double v = 0;
                    if (!number(cells[FirstTermColumn + static_cast<size_t>(side.term)], v)) return bad("not a number");
                    AddFlow(row, side, v);
                }
            }
        if (!known) return bad("unknown kind or zone");
        const size_t flags = FirstTermColumn + BalanceTermCount;
        double crossed = 0, floors = 0;
        if (!number(cells[5], row.step_.storage) || !number(cells[flags], crossed) ||
            !number(cells[flags + 1], floors) || !number(cells[flags + 2], row.irrigationLost) ||
            !number(cells[flags + 3], row.presentEnd))
            return bad("not a number");
        row.crossed = crossed != 0;
        row.floors = static_cast<int>(floors);
        if (row.kind == K::Salt && row.zone >= BalanceZone::Layer1 && row.zone <= BalanceZone::Layer3)
            b.layers = std::max(b.layers, static_cast<int>(row.zone) - static_cast<int>(BalanceZone::Layer1) + 1);
        b.rows.push_back(row);
    }
    Finish(b);
    balance = std::move(b);
    return true;
}

bool BalanceBelongsTo(RunBalance& balance, const StepResults& r, int layers, int steps) {
    if (balance.layers != layers || balance.steps > steps || static_cast<int>(r.Dwt.size()) < balance.steps + 1)
        return false;
    // The output file keeps the flows to their last decimal.
    auto near = [](double a, double b) {
        return std::fabs(a - b) <= ReadBackTolerance(ResultQuantity::Flow) + 1e-9 * std::fabs(b);
    };
    for (const BalanceRow& row : balance.rows) {
        if (row.kind != K::Water || row.zone != BalanceZone::Groundwater) continue;
        const int i = row.step;
        double perc = 0, cap = 0, drain = 0;
        for (int f = 0; f < row.flowCount; ++f) {
            const BalanceFlow& flow = row.flows[static_cast<size_t>(f)];
            if (flow.term == T::Percolation) perc = flow.value;
            if (flow.term == T::CapillaryRise) cap = flow.value;
            if (flow.term == T::DrainDischarge) drain = flow.value;
        }
        if (!near(perc, r.PercT[i]) || !near(cap, r.CapTT[i]) || !near(drain, r.DrainT[i])) return false;
    }
    NoteExtremes(balance, r);
    return true;
}

std::vector<BalanceLine> BalanceSummaryLines(const RunBalance& balance) {
    std::vector<BalanceLine> lines;
    for (const BalanceSummary& s : balance.summary) {
        const bool salt = s.kind == K::Salt;
        auto put = [&](const std::string& label, double v) { lines.push_back({label, false, salt, false, v}); };
        lines.push_back({std::string(salt ? "Salt" : "Water") + ", " + BalanceZoneLabel(s.zone, balance.layers) +
                             (salt ? "  (mm*dS/m; kg/ha, approximately)" : "  (mm)"),
                         true, salt, false, 0});
        put("Initially present", s.initial);
        // Each term on its own side; a flow that was reversed in some steps
        // shows on the other side as well.
        const Layout& layout = *LayoutOf(s.kind, s.zone, balance.variant);
        for (bool in : {true, false})
            for (const Side& side : layout.terms) {
                const size_t t = static_cast<size_t>(side.term);
                const double v = in ? s.inTerms[t] : s.outTerms[t];
                if (side.in == in || v != 0)
                    put(std::string(in ? "In:  " : "Out: ") + BalanceTerms[t].label + (side.in == in ? "" : " (reversed)"), v);
            }
        put("Finally present", s.final);
        put("Storage change", s.totals.storage);
        put("Balance deviation", s.totals.Discrepancy());
        lines.push_back({"Percent discrepancy", false, false, true, s.totals.Percent()});
    }
    if (!balance.saltSources.empty()) {
        lines.push_back({"Salt of the column out of balance, by source  (mm*dS/m; kg/ha, approximately)", true, true,
                         false, 0});
        for (const auto& [what, value] : balance.saltSources) lines.push_back({what, false, true, false, value});
    }
    return lines;
}

std::string BalanceSummaryText(const RunBalance& balance) {
    std::string text;
    char line[300];
    bool first = true;
    for (const BalanceLine& l : BalanceSummaryLines(balance)) {
        if (l.heading) {
            text += (first ? "" : "\r\n") + l.label + "\r\n";
            first = false;
            continue;
        }
        if (l.percent)
            std::snprintf(line, sizeof line, "  %-84s %14s\r\n", l.label.c_str(), BalancePercentText(l.value).c_str());
        else if (l.salt)
            std::snprintf(line, sizeof line, "  %-84s %14.1f %14.1f\r\n", l.label.c_str(), ShownToOneDecimal(l.value),
                          ShownToOneDecimal(l.value * SaltKgPerHaPerMmDsm));
        else
            std::snprintf(line, sizeof line, "  %-84s %14.1f\r\n", l.label.c_str(), ShownToOneDecimal(l.value));
        text += line;
    }
    return text;
}

std::string BalanceVerdict(const RunBalance& balance) {
    if (balance.steps == 0) return "Water balance: no time step was computed; salt: no time step was computed";
    auto pct = [&](K kind, BalanceZone zone) {
        const BalanceSummary* s = balance.Find(kind, zone);
        return s ? BalancePercentText(s->totals.Percent()) : std::string("n.a.");
    };
    if (balance.variant == ModelVariant::Conserving) {
        // Every zone, since every zone closes.
        std::string text = "Water balance (conserving variant): root zone " + pct(K::Water, BalanceZone::RootZone) +
                           ", groundwater " + pct(K::Water, BalanceZone::Groundwater) + ", column " +
                           pct(K::Water, BalanceZone::Column) + "; salt:";
        const char* separator = " ";
        for (const BalanceSummary& s : balance.summary) {
            if (s.kind != K::Salt) continue;
            text += separator + BalanceZoneLabel(s.zone, balance.layers) + " " + BalancePercentText(s.totals.Percent());
            separator = ", ";
        }
        return text;
    }
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
                BalanceZoneLabel(s.zone, balance.layers) + " " + BalancePercentText(p);
    }
    if (!over.empty())
        warnings.push_back("Cumulative balance discrepancies above " + BalancePercentText(DiscrepancyWarningPercent) + ": " +
                           over + "; the results do not conserve water or salt there (see the balance).");
    return warnings;
}

}  // namespace halovane
