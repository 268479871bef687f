// The balance of a run: the identities that hold exactly, and the known
// discrepancies of the model reproduced from the step results alone.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "Balance.h"
#include "EngineSupport.h"
#include "InputFile.h"
#include "TestSupport.h"
#include "Validation.h"

using namespace halovane;
using namespace halovane::test;

namespace {

struct DataSet {
    std::string name;
    ModelInput in;
};

// A field in steps of `ts` days; drains when asked.
ModelInput Field(int layers, int ts, bool drains) {
    ModelInput in;
    in.NrTst = 8;
    in.Ts = ts;
    in.NrLayers = layers;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = (i % 3 == 0 ? 60.0 : 5.0) * ts / 30;
        in.Irrig[i] = (i % 2 ? 150.0 : 0.0) * ts / 30;
        in.EvapT[i] = 120.0 * ts / 30;
    }
    StandardSoil(in);
    in.DrainPresent = drains, in.Dd = 1.8, in.QH1 = drains ? 0.03 : 0.01, in.QH2 = 0.002;
    return in;
}

std::vector<DataSet> DataSets() {
    std::vector<DataSet> sets;
    for (const char* name : {"daily-leaching-experiment", "one-layer-monthly", "rising-water-table",
                             "three-layer-seepage", "two-layer-drained"}) {
        DataSet set{name, {}};
        set.in.InputFileName = std::string(HALOVANE_EXAMPLES) + "/" + name + ".inp";
        EXPECT_TRUE(ReadInputFile(set.in).Ok()) << name;
        sets.push_back(set);
    }
    for (int layers = 1; layers <= 3; ++layers)
        for (int ts : {1, 7, 30, 360})
            for (bool drains : {false, true})
                sets.push_back({"field " + std::to_string(layers) + " layers, " + std::to_string(ts) + " days" +
                                    (drains ? ", drains" : ""),
                                Field(layers, ts, drains)});
    return sets;
}

const BalanceRow& RowOf(const RunBalance& b, int step, BalanceKind kind, BalanceZone zone) {
    for (const BalanceRow& row : b.rows)
        if (row.step == step && row.kind == kind && row.zone == zone) return row;
    throw std::runtime_error("no such balance row");
}

double Term(const BalanceRow& row, BalanceTerm term) {
    for (int f = 0; f < row.flowCount; ++f)
        if (row.flows[static_cast<size_t>(f)].term == term) return row.flows[static_cast<size_t>(f)].value;
    return 0;
}

}  // namespace

// Per row, what must hold; a sum of a few hundred rounded terms agrees to
// 1e-9 of the turnover, while a missing or doubled flow is off by the flow.
TEST(Balance, IdentitiesAndKnownDiscrepanciesHoldOnEveryDataSet) {
    TempDir dir;
    int checked[5] = {0, 0, 0, 0, 0};
    for (DataSet& set : DataSets()) {
        SCOPED_TRACE(set.name);
        ModelState state;
        ScriptedInteraction ui;
        set.in.InputFileName = dir.File("field.inp");
        const RunOutcome outcome = RunModel(set.in, state, ui, RunFiles{false, true});
        ASSERT_NE(outcome.status, RunStatus::Refused) << outcome.message;
        const RunBalance& b = state.Balance;
        const int ts = set.in.Ts;
        ASSERT_EQ(b.rows.size(), static_cast<size_t>(b.steps) * (3 + set.in.NrLayers + 3));
        for (const BalanceRow& row : b.rows) {
            const double scale = 1e-9 * (row.step_.in + row.step_.out + std::fabs(row.step_.storage) + 1);
            const double d = row.step_.Discrepancy();
            if (row.kind == BalanceKind::Salt && row.zone != BalanceZone::Column && row.floors == 0) {
                EXPECT_NEAR(d, 0, scale) << "salt zone " << BalanceZoneName(row.zone) << ", step " << row.step;
                ++checked[0];
            }
            if (row.kind == BalanceKind::Water && row.zone == BalanceZone::Groundwater && !row.crossed) {
                // The water table moves one day's net flow per step.
                EXPECT_NEAR(d, (1 - 1.0 / ts) * (row.step_.in - row.step_.out), scale) << "step " << row.step;
                ++checked[1];
            }
            if (row.kind == BalanceKind::Water && row.zone == BalanceZone::RootZone && ts > 1) {
                // No storage on longer steps: the capillary rise is counted and never stored.
                EXPECT_NEAR(d, Term(row, BalanceTerm::CapillaryRise), scale) << "step " << row.step;
                ++checked[2];
            }
            if (row.zone == BalanceZone::Column) {
                double zones = 0, storage = 0;
                for (const BalanceRow& z : b.rows)
                    if (z.step == row.step && z.kind == row.kind && z.zone != BalanceZone::Column) {
                        storage += z.step_.storage;
                        if (row.kind == BalanceKind::Water) zones += z.step_.Discrepancy();
                    }
                EXPECT_NEAR(row.step_.storage, storage, scale);
                // Percolation and capillary rise pass between the two water zones unchanged.
                if (row.kind == BalanceKind::Water) {
                    EXPECT_NEAR(d, zones, 1e-9 * (std::fabs(zones) + 1e3));
                }
                ++checked[3];
            }
        }
        // The summary's terms add up to its totals, each on its side.
        for (const BalanceSummary& z : b.summary) {
            const double tol = 1e-9 * (z.totals.in + z.totals.out + 1);
            EXPECT_NEAR(std::accumulate(z.inTerms.begin(), z.inTerms.end(), 0.0), z.totals.in, tol);
            EXPECT_NEAR(std::accumulate(z.outTerms.begin(), z.outTerms.end(), 0.0), z.totals.out, tol);
        }
        // The column's salt discrepancy is made up of its listed sources.
        const BalanceSummary* salt = b.Find(BalanceKind::Salt, BalanceZone::Column);
        ASSERT_NE(salt, nullptr);
        double sources = 0;
        for (const auto& source : b.saltSources) sources += source.second;
        EXPECT_NEAR(sources, salt->totals.Discrepancy(), 1e-9 * (salt->totals.in + salt->totals.out + 1e3));
        EXPECT_NEAR(salt->final - salt->initial, salt->totals.storage, 1e-9 * (std::fabs(salt->final) + 1));
        if (b.steps > 0) {
            const BalanceRow& last = RowOf(b, b.steps, BalanceKind::Salt, BalanceZone::Column);
            EXPECT_EQ(last.cumulative.Discrepancy(), salt->totals.Discrepancy());
        }
        ++checked[4];
    }
    for (int c : checked) EXPECT_GT(c, 0);
}

TEST(Balance, PercentCountsAStorageDecreaseAsInAndAnIncreaseAsOut) {
    struct Row {
        double in, out, storage, percent;
    };
    for (const Row& r : {Row{100, 50, 0, 200.0 / 3}, Row{10, 0, 10, 0}, Row{0, 0, -10, 200}, Row{50, 50, 0, 0}}) {
        EXPECT_NEAR((BalanceTotals{r.in, r.out, r.storage}.Percent()), r.percent, 1e-12) << r.in << " " << r.out;
    }
    EXPECT_TRUE(std::isnan(BalanceTotals{}.Percent()));
}

// The daily spreading writes over a tiny entry, and a tiny entry's own
// spread writes over an earlier gift; what is lost is booked where it was
// given, and the losses make up the whole difference.
TEST(Balance, IrrigationLostBySpreadingIsBookedOnTheStepThatGaveIt) {
    struct Case {
        std::vector<double> irrig;  // steps 1..N
        std::vector<double> lost;
    };
    const std::vector<Case> cases = {
        {{40, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {{40, 0.005, 0, 0, 0, 0, 0, 0}, {32, 0, 0, 0, 0, 0, 0, 0}},
        {{40, 0.01, 0, 30, 0, 0, 0, 0}, {80.0 / 3, 0, 0, 0, 0, 0, 0, 0}},
        {{40, 0.01, 0.02, 0, 0, 0, 0, 0}, {0, 0.01, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ModelInput in;
        in.Ts = 1;
        in.NrTst = static_cast<int>(c.irrig.size());
        ResizeHydrologicalSeries(in, in.NrTst);
        for (int i = 1; i <= in.NrTst; ++i) in.Irrig[i] = c.irrig[static_cast<size_t>(i - 1)];
        DistributeIrrigation(in);
        const Series lost = IrrigationLostBySpreading(in);
        for (int i = 1; i <= in.NrTst; ++i) EXPECT_NEAR(lost[i], c.lost[static_cast<size_t>(i - 1)], 1e-12) << i;
        EXPECT_NEAR(std::accumulate(lost.begin(), lost.end(), 0.0),
                    std::accumulate(in.Irrig.begin(), in.Irrig.end(), 0.0) -
                        std::accumulate(in.IrrDist.begin(), in.IrrDist.end(), 0.0),
                    1e-12);
    }
}

// The balance file read back gives the same summary and verdict, and it
// belongs only to the results it was written with.
TEST(Balance, FileReadsBackAndBelongsOnlyToItsOwnResults) {
    TempDir dir;
    std::vector<ModelState> states(2);
    std::vector<DataSet> sets = DataSets();
    for (size_t k = 0; k < 2; ++k) {
        ScriptedInteraction ui;
        sets[k + 1].in.InputFileName = dir.File("field" + std::to_string(k) + ".inp");
        ASSERT_EQ(RunModel(sets[k + 1].in, states[k], ui, RunFiles{false, true}).status, RunStatus::Completed);
    }
    const RunBalance& written = states[0].Balance;
    RunBalance read;
    std::string why;
    ASSERT_TRUE(ReadBalanceCsv(BalanceCsv(written), read, why)) << why;
    // The file holds three decimals.
    ASSERT_EQ(read.summary.size(), written.summary.size());
    for (size_t k = 0; k < read.summary.size(); ++k) {
        const BalanceTotals &a = read.summary[k].totals, &w = written.summary[k].totals;
        const double tol = 0.001 * read.steps;
        EXPECT_NEAR(a.in, w.in, tol);
        EXPECT_NEAR(a.out, w.out, tol);
        EXPECT_NEAR(a.storage, w.storage, tol);
        EXPECT_NEAR(read.summary[k].final, written.summary[k].final, 0.001);
    }
    const int layers = sets[1].in.NrLayers;
    EXPECT_TRUE(BalanceBelongsTo(read, states[0].Results, layers, sets[1].in.NrTst));
    EXPECT_EQ(BalanceVerdict(read), BalanceVerdict(written));
    EXPECT_EQ(RunWarnings(read), RunWarnings(written));
    EXPECT_FALSE(BalanceBelongsTo(read, states[1].Results, layers, sets[2].in.NrTst));
    EXPECT_FALSE(ReadBalanceCsv("step,kind\r\n1,water\r\n", read, why));
    EXPECT_FALSE(ReadBalanceCsv(BalanceCsv(written) + "1,water,root_zone,x\r\n", read, why));
}

// Each plausibility warning before a run comes from one data set; a monthly
// field with drains has only the warning on the step length.
TEST(Balance, PlausibilityWarningsNameTheFieldAndTheConsequence) {
    struct Case {
        const char* name;
        void (*change)(ModelInput&);
        const char* field;
    };
    const Case cases[] = {
        {"daily, usual", [](ModelInput&) {}, nullptr},
        {"monthly", [](ModelInput& in) { in.Ts = 30; }, "length of a time step"},
        {"shallow critical depth", [](ModelInput& in) { in.CDc = 0.4; }, "critical depth of the water table"},
        {"thin layer", [](ModelInput& in) { in.D[Z3] = 0.02; }, "thickness of layer 3"},
        {"tiny irrigation after a gift", [](ModelInput& in) { in.Irrig[2] = 40, in.Irrig[3] = 0.005; }, "irrigation"},
        {"one layer, inflow, no drains", [](ModelInput& in) { in.NrLayers = 1, in.DrainPresent = false; },
         "inflow of groundwater"},
    };
    for (const Case& c : cases) {
        ModelInput in = Field(3, 1, true);
        for (int i = 1; i <= in.NrTst; ++i) in.Irrig[i] = 0;
        c.change(in);
        std::vector<std::string> fields;
        for (const Problem& p : ValidateDataSet(in)) {
            EXPECT_EQ(p.severity, Severity::Warning) << c.name << ": " << ProblemLine(p);
            if (!p.consequence.empty()) fields.push_back(p.field);
        }
        EXPECT_EQ(fields, c.field ? std::vector<std::string>{c.field} : std::vector<std::string>{}) << c.name;
    }
}

// The warnings after a run: a daily field over-irrigated without drains
// floods and salts up, yearly steps with drains floor the transition zone,
// and a daily field with drains stays within every limit.
TEST(Balance, RunWarningsComeFromTheResults) {
    TempDir dir;
    struct Case {
        int ts;
        bool drains;
        std::vector<std::string> starts;  // every warning, in order, by its first words
    };
    const Case cases[] = {
        {1, true, {}},
        {1, false, {"The water table rose to", "A salinity of", "Cumulative balance"}},
        {360, true, {"Salinity floors"}},
    };
    for (const Case& c : cases) {
        ModelInput in = Field(1, c.ts, c.drains);
        in.NrTst = c.ts == 1 ? 400 : 8;
        ResizeHydrologicalSeries(in, in.NrTst);
        ResizeMeasuredSeries(in, in.NrTst, -1);
        for (int i = 1; i <= in.NrTst; ++i)
            in.Rain[i] = 0, in.Irrig[i] = (c.drains ? 8 : 30) * c.ts, in.EvapT[i] = 5 * c.ts;
        in.Inf = c.drains ? 0 : 3, in.Out = 0, in.Si = 3;
        in.InputFileName = dir.File("field.inp");
        ModelState state;
        ScriptedInteraction ui;
        ASSERT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);
        std::vector<std::string> starts;
        for (const std::string& w : RunWarnings(state.Balance))
            for (const std::string& s : c.starts)
                if (w.rfind(s, 0) == 0) starts.push_back(s);
        EXPECT_EQ(starts, c.starts) << c.ts;
        if (c.starts.empty()) {
            EXPECT_TRUE(RunWarnings(state.Balance).empty());
        }
    }
}
