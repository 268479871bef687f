// The bookkeeping of a run: how well the water and the salt of every zone
// balance, step by step and cumulated. It is computed after the run from
// the step results and the day records of the final salt pass, and changes
// none of them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "ModelInput.h"

namespace halovane {

// The salt terms of one zone in the final salt pass, summed over the days
// of one step, in mm x dS/m. What in[k] and out[k] mean depends on the
// zone (SaltTermsOf in Balance.cpp):
// - a root-zone layer: in = salt from above (irrigation for layer 1, the
//   percolation of the layer above otherwise) and capillary salt from
//   below; out = percolation and, for layers 2 and 3, the capillary rise
//   that leaves upward;
// - the transition zone: in = percolation from the root zone and upward
//   flow from the aquifer; out = the drain term;
// - the aquifer: in = downward flow from the transition zone and
//   horizontal inflow; out = the outflow term.
struct SaltZoneStep {
    double in[2] = {0, 0};
    double out[2] = {0, 0};
    double start = 0, end = 0;  // salinity at the start and at the end of the step, dS/m
    int guards = 0;             // days on which a salinity floor or the divisor guard acted
};

// The day records of the final salt pass, steps 1..N (element 0 unused).
struct SaltLedger {
    std::vector<ZoneArray<SaltZoneStep>> steps;
};

enum class BalanceKind { Water, Salt };

enum class BalanceZone { RootZone, Groundwater, Layer1, Layer2, Layer3, Transition, Aquifer, Column };

// The named terms a balance row can hold; one column each in the balance
// file, in this order.
enum class BalanceTerm {
    Rain,
    Irrigation,
    CapillaryRise,
    Evapotranspiration,
    Percolation,
    HorizontalInflow,
    DrainDischarge,
    HorizontalOutflow,
    SaltIrrigation,
    SaltPercolationIn,
    SaltCapillaryIn,
    SaltUpwardIn,
    SaltDownwardIn,
    SaltInflow,
    SaltPercolationOut,
    SaltCapillaryOut,
    SaltDrain,
    SaltOutflow,
};
constexpr int BalanceTermCount = 18;

struct BalanceTermInfo {
    BalanceTerm term;
    BalanceKind kind;
    const char* column;  // name in the balance file
    const char* label;   // words in the run summary
};
extern const std::array<BalanceTermInfo, BalanceTermCount> BalanceTerms;

const char* BalanceKindName(BalanceKind kind);  // "water", "salt"
const char* BalanceZoneName(BalanceZone zone);  // "root_zone", "layer1", ...
std::string BalanceZoneLabel(BalanceZone zone, int layers);  // "root zone", "layer 1", ...
const char* BalanceUnit(BalanceKind kind);      // "mm", "mm*dS/m"

// The salt of 1 mm of water of 1 dS/m on one hectare, approximately, kg.
constexpr double SaltKgPerHaPerMmDsm = 6.4;

// One flow of a row with the side it belongs to when positive; a negative
// flow counts on the other side.
struct BalanceFlow {
    BalanceTerm term = BalanceTerm::Rain;
    bool in = true;
    double value = 0;
};

struct BalanceTotals {
    double in = 0, out = 0, storage = 0;
    double Discrepancy() const { return in - out - storage; }
    // 100 x (IN - OUT) / ((IN + OUT) / 2) with a storage decrease counted as
    // in and an increase as out; NaN when both are 0.
    double Percent() const;
};

struct BalanceRow {
    int step = 0;
    BalanceKind kind = BalanceKind::Water;
    BalanceZone zone = BalanceZone::RootZone;
    std::array<BalanceFlow, 6> flows{};
    int flowCount = 0;
    BalanceTotals step_, cumulative;
    double presentEnd = 0;       // what the zone holds at the end of the step
    bool crossed = false;        // the water table crossed a porosity boundary or the surface
    int floors = 0;              // days with a salinity floor or guard
    double irrigationLost = 0;   // mm lost by the daily distribution of irrigation
};

// The whole run of one (kind, zone): what was present at the start and at
// the end, and every term summed.
struct BalanceSummary {
    BalanceKind kind = BalanceKind::Water;
    BalanceZone zone = BalanceZone::RootZone;
    double initial = 0, final = 0;
    std::array<double, BalanceTermCount> inTerms{}, outTerms{};  // after moving reversed flows
    std::array<double, BalanceTermCount> net{};                  // signed, as the terms are named
    std::array<bool, BalanceTermCount> used{};
    BalanceTotals totals;
    bool started = false;  // a step was added
};

struct RunBalance {
    int layers = 1;
    int steps = 0;                       // steps accounted (those before a stop)
    // The model that made the run: the conserving variant's transition zone
    // and aquifer have flows of their own (capillary rise out of the
    // transition zone, the exchange between the two in both directions).
    ModelVariant variant = ModelVariant::Prescribed;
    std::vector<BalanceRow> rows;        // per step: water zones, then salt zones
    std::vector<BalanceSummary> summary; // one per (kind, zone), in the order of the rows
    // What makes the column's salt not balance, largest contribution first
    // (mm x dS/m, signed as it enters the discrepancy).
    std::vector<std::pair<std::string, double>> saltSources;
    double highestSalinity = 0;          // dS/m, any zone, any step
    double highestPonding = 0;           // m above the surface, 0 when never
    int floors = 0;
    double irrigationLost = 0;           // mm
    const BalanceSummary* Find(BalanceKind kind, BalanceZone zone) const;
};

struct RunData;
struct ModelState;
struct StepResults;

// The balance of a finished run from its step results and the ledger of its
// final salt pass (state.Ledger); for the conserving variant from its day
// records (state.Days) and the salt its final pass moved (state.Salt).
// Without `keepRows` only the summaries are formed (enough for the verdict
// and the warnings), not the rows of the balance file.
RunBalance ComputeBalance(const RunData& run, const ModelState& state, bool keepRows = true);

// A balance file read back. False (and `why` says where) when the text is
// not a balance file.
bool ReadBalanceCsv(const std::string& text, RunBalance& balance, std::string& why);

// Whether a balance read back belongs to the results of an output file: the
// same steps, root-zone layers and water flows (as the output file prints
// them). The highest salinity and ponding are then taken from the results.
bool BalanceBelongsTo(RunBalance& balance, const StepResults& results, int layers, int steps);

// The irrigation per step (mm per time step) that the daily distribution
// writes over and so loses: the tiny entry that a spread covers, and the
// shares of an earlier gift that a tiny entry's own spread replaces. The
// loss is booked on the step of the entry or gift that lost it. Zeros
// unless the steps are days.
Series IrrigationLostBySpreading(const ModelInput& in);

// The balance file: a header row with names and units, then one row per
// (step, kind, zone). Lines end in CR LF. A file of the conserving variant
// has one more column, model_variant.
std::string BalanceCsv(const RunBalance& balance);

// The run summary of every zone in the two-sided form, line by line: a
// heading per (kind, zone), then what was initially present, each in-term,
// each out-term, what is finally present, the storage change, the balance
// deviation and the percent discrepancy; then the sources of the column's
// salt discrepancy.
struct BalanceLine {
    std::string label;
    bool heading = false;   // a heading has no value
    bool salt = false;      // the value is also shown in kg/ha
    bool percent = false;   // the value is a percentage (NaN: not defined)
    double value = 0;
};
std::vector<BalanceLine> BalanceSummaryLines(const RunBalance& balance);

// The same as text with fixed columns.
std::string BalanceSummaryText(const RunBalance& balance);
// A percentage as the summary and the verdict show it: "0.0 %", "83 %", "n.a.".
std::string BalancePercentText(double percent);

// The one-line verdict, for instance "Water balance: root zone 0.0 %,
// groundwater 83 %, column 41 %; salt: column 109 % (largest source: ...)".
std::string BalanceVerdict(const RunBalance& balance);

// The warnings after a run: water far above the surface, very high
// salinities, salinity floors, cumulative discrepancies above the limit.
std::vector<std::string> RunWarnings(const RunBalance& balance);

// Thresholds of the warnings after a run.
constexpr double PondingWarningDepth = 0.3;      // m of water above the surface
constexpr double SalinityWarningLevel = 100;     // dS/m
constexpr double DiscrepancyWarningPercent = 5;  // cumulative, % of the turnover

}  // namespace halovane
