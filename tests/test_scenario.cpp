// Scenario runs: the file's refusals name their line, and every run of a
// sweep is the single run of the base with its values entered, bit for bit,
// whatever the threads; a kept input data file reproduces its row.
#include <gtest/gtest.h>

#include <cmath>

#include "DesignChart.h"
#include "EngineSupport.h"
#include "InputFile.h"
#include "ModelState.h"
#include "Scenario.h"
#include "TestSupport.h"

namespace halovane {
namespace {

using test::ReadFile;
using test::SameBits;
using test::WriteFile;

TEST(Scenario, RefusesWhatItCannotRunNamingTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"base a.inp\nvary drain_depth 1 2\nfrobnicate 3\n", "line 3: unknown setting frobnicate"},
        {"base a.inp\n# comment\nvary drain_dept 1 2\n", "line 3: there is no field drain_dept"},
        {"base a.inp\nvary irrigation_efficiency 50 120\n", "line 2: irrigation_efficiency 120 is out of range"},
        {"base a.inp\nvary drain_depth 2:1:0.1\n", "line 2: the range 2:1:0.1 needs a step above 0"},
        {"base a.inp\nvary drain_depth 1 x\n", "line 2: x is not a number"},
        {"base a.inp\nvary drain_spacing 20 40\n", "line 2: drain_spacing needs the soil of the drains"},
        {"base a.inp\nvary step_length 1 7\n", "line 2: step_length can be varied only"},
        {"base a.inp\nvary qh1 0.1\ncriterion max root_zone_salt <= 4\n", "line 3: there is no metric max_root_zone_salt"},
        {"base a.inp\nvary qh1 0.1\ncriterion max root_zone_salinity =< 4\n", "line 3: the comparison =< is none"},
        {"base a.inp\nvary qh1 0.1\nvary qh1 0.2\n", "line 3: qh1 is varied on line 2 already"},
        {"base a.inp\nvary time_steps 10\n", "line 2: time_steps cannot be varied"},
        {"base a.inp\nvary qh1 0.1\nseek qh2 for max root_zone_salinity <= 4\n", "line 3: seek looks between"},
        {"vary qh1 0.1\n", "names no base input data file"},
        {"base a.inp\ntypical_year y.csv\nset rainfall_factor 2\nvary step_length 1 7\n", "line 3: with a varied step"},
        {"base a.inp\nvary model_variant prescribed conserve\n", "line 2: model_variant takes prescribed or conserving, not conserve"},
        {"base a.inp\nvary model_variant 0 1\n", "line 2: model_variant takes prescribed or conserving, not 0"},
        {"base a.inp\nvary model_variant prescribed conserving\nseek model_variant for max root_zone_salinity <= 4\n",
         "line 3: seek cannot look between the values of model_variant"},
    };
    for (const auto& c : cases) {
        Scenario s;
        std::string error;
        EXPECT_FALSE(ParseScenario(c.text, s, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n -> " << error;
    }
}

TEST(Scenario, RangesAreTheDecimalNumbersTheyName) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario("base a.inp\nvary drain_depth 1.0:2.6:0.2 3\nmode one-at-a-time\n", s, error)) << error;
    const std::vector<double>& v = s.varied[0].values;
    ASSERT_EQ(v.size(), 10u);
    EXPECT_TRUE(SameBits(v[3], 1.6));  // not 1 + 3 x 0.2
    EXPECT_TRUE(SameBits(v[8], 2.6));
    EXPECT_EQ(ScenarioRuns(s).size(), 11u);  // the base, then each value
    EXPECT_TRUE(std::isnan(ScenarioRuns(s)[0][0]));
}

// The base of the design question, in monthly steps to keep the test short.
const char* const Design =
    "base two-layer-drained.inp\n"
    "drains ka 0.5 kb 0.8 impermeable 3 radius 0.1\n"
    "set irrigation_salinity 1.5\n"
    "vary drain_depth 1.2 1.6\n"
    "vary drain_spacing 40 75\n"
    "vary irrigation_efficiency 60 72.5\n"
    "vary rainfall_factor 1 1.1\n"
    "criterion max root_zone_salinity <= 6\n";

TEST(Scenario, EveryRowIsTheSingleRunOfItsValuesWhateverTheThreads) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario(Design, s, error)) << error;
    ModelInput base;
    base.InputFileName = std::string(HALOVANE_EXAMPLES) + "/two-layer-drained.inp";
    ASSERT_TRUE(ReadInputFile(base).Ok());
    base.Si = 1.5;
    const std::vector<std::vector<double>> runs = ScenarioRuns(s);
    ASSERT_EQ(runs.size(), 16u);
    SweepOptions one, three;
    one.threads = 1;
    three.threads = 3;
    const std::vector<SweepRow> rows = RunSweep(s, base, runs, one);
    EXPECT_EQ(SweepCsv(s, rows), SweepCsv(s, RunSweep(s, base, runs, three)));

    const drain::DrainSoil soil{1, 0.5, 0.8, 3, 0.1};
    for (const SweepRow& row : rows) {
        ASSERT_TRUE(row.error.empty()) << row.error;
        // The values entered by hand.
        ModelInput in = base;
        in.Dd = row.values[0];
        const drain::Design design = drain::DesignAt(soil, row.values[1]);
        in.QH1 = design.QH1;
        in.QH2 = design.QH2;
        in.IrrEff = row.values[2];
        for (int i = 1; i <= in.NrTst; ++i) in.Rain[i] *= row.values[3];
        ModelState state;
        test::ScriptedInteraction ui;
        ASSERT_EQ(ComputeModel(in, state, ui).status, RunStatus::Completed);
        const std::vector<double> expected = RunMetrics(in, state);
        ASSERT_EQ(expected.size(), row.metrics.size());
        for (size_t k = 0; k < expected.size(); ++k)
            EXPECT_TRUE(SameBits(expected[k], row.metrics[k])) << "run " << row.run << ", " << AllMetrics()[k].name;
        // Rainfall of 2 decimals times 1.1 has 3.
        if (row.values[3] == 1.1) {
            EXPECT_TRUE(row.roundedInFile) << "run " << row.run;
        }
    }
}

// A scenario file on a copy of an example, run with every run's files kept
// in `dir`.
struct KeptSweep {
    Scenario s;
    ModelInput base;
    std::vector<SweepRow> rows;
    KeptSweep(const test::TempDir& dir, const char* example, const char* text) {
        WriteFile(dir.File("base.inp"), ReadFile(std::string(HALOVANE_EXAMPLES) + "/" + example + ".inp"));
        WriteFile(dir.File("s.scenario"), text);
        std::string error;
        EXPECT_TRUE(LoadScenario(dir.File("s.scenario"), s, base, error)) << error;
        SweepOptions keep;
        keep.keepFolder = dir.Path().string();
        rows = RunSweep(s, base, ScenarioRuns(s), keep);
    }
};

TEST(Scenario, AKeptInputFileReproducesItsRowAndOneValueTheBaseRun) {
    test::TempDir dir;
    const KeptSweep sweep(dir, "two-layer-drained", "base base.inp\nvary irrigation_efficiency 75 60\nvary drain_depth 1.6\n");
    const ModelInput& base = sweep.base;
    const std::vector<SweepRow>& rows = sweep.rows;
    ASSERT_EQ(rows.size(), 2u);

    // The first run has the base's own values: it is the base run.
    ModelState baseState;
    test::ScriptedInteraction ui;
    ASSERT_EQ(ComputeModel(base, baseState, ui).status, RunStatus::Completed);
    const std::vector<double> baseMetrics = RunMetrics(base, baseState);
    for (size_t k = 0; k < baseMetrics.size(); ++k) EXPECT_TRUE(SameBits(baseMetrics[k], rows[0].metrics[k]));

    for (const SweepRow& row : rows) {
        ASSERT_FALSE(row.roundedInFile);
        const std::string name = dir.File("run-000" + std::to_string(row.run));
        ModelInput kept;
        kept.InputFileName = name + ".inp";
        ASSERT_TRUE(ReadInputFile(kept).Ok());
        kept.InputFileName = dir.File("again.inp");
        ModelState state;
        ASSERT_EQ(RunModel(kept, state, ui).status, RunStatus::Completed);
        const std::string keptOut = ReadFile(name + ".out");
        const std::string again = ReadFile(dir.File("again.out"));
        // The second line names the file.
        auto body = [](const std::string& text) { return text.substr(text.find('\n', text.find('\n') + 1)); };
        EXPECT_EQ(body(keptOut), body(again)) << "run " << row.run;
        const std::vector<double> metrics = RunMetrics(kept, state);
        for (size_t k = 0; k < metrics.size(); ++k) EXPECT_TRUE(SameBits(metrics[k], row.metrics[k]));
    }
}

// A scenario may vary the model: each run uses the variant it names, the
// table writes its word, and only the conserving runs close the balance.
TEST(Scenario, VaryingTheModelRunsBothVariants) {
    test::TempDir dir;
    const KeptSweep sweep(dir, "one-layer-monthly", "base base.inp\nvary model_variant prescribed conserving\n");
    const std::vector<SweepRow>& rows = sweep.rows;
    ASSERT_EQ(rows.size(), 2u);
    const std::string csv = SweepCsv(sweep.s, rows);
    EXPECT_NE(csv.find("\r\n1,prescribed,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\n2,conserving,"), std::string::npos) << csv;
    const size_t groundwater = static_cast<size_t>(MetricIndex("water_balance_groundwater_pct"));
    for (const SweepRow& row : rows) {
        const bool conserving = row.run == 2;
        EXPECT_EQ(ReadFile(dir.File("run-000" + std::to_string(row.run) + ".out")).rfind(
                      conserving ? "OUTPUT OF Halovane (conserving variant)\r\n" : "OUTPUT OF Halovane\r\n", 0),
                  0u);
        ModelInput in = sweep.base;
        in.Variant = conserving ? ModelVariant::Conserving : ModelVariant::Prescribed;
        ModelState state;
        test::ScriptedInteraction ui;
        ASSERT_EQ(ComputeModel(in, state, ui).status, RunStatus::Completed);
        const std::vector<double> metrics = RunMetrics(in, state);
        for (size_t k = 0; k < metrics.size(); ++k) EXPECT_TRUE(SameBits(metrics[k], row.metrics[k])) << "run " << row.run;
        EXPECT_EQ(std::fabs(row.metrics[groundwater]) < 1e-9, conserving) << row.metrics[groundwater];
    }
}

TEST(Scenario, TheChartShowsTheBestOfTheOtherNamesAndOutlinesPasses) {
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario("base a.inp\nvary qh1 0.1 0.2\nvary qh2 0.1\nvary inflow 0 1\n"
                              "criterion max root_zone_salinity <= 4\n",
                              s, error))
        << error;
    const size_t metric = static_cast<size_t>(MetricIndex("max_root_zone_salinity"));
    std::vector<SweepRow> rows;
    const double salinity[4] = {5, 3, 6, 7};  // (qh1, inflow): (0.1, 0), (0.1, 1), (0.2, 0), (0.2, 1)
    int k = 0;
    for (const std::vector<double>& values : ScenarioRuns(s)) {
        SweepRow row;
        row.values = values;
        row.metrics.assign(AllMetrics().size(), 0);
        row.metrics[metric] = salinity[k++];
        row.pass = {row.metrics[metric] <= 4};
        rows.push_back(row);
    }
    HeatMap map;
    ASSERT_TRUE(BuildHeatMap(s, rows, map, error)) << error;
    EXPECT_EQ(map.x, "qh1");
    EXPECT_EQ(map.y, "qh2");
    EXPECT_EQ(map.At(0, 0), 3);
    EXPECT_TRUE(map.PassAt(0, 0));
    EXPECT_EQ(map.At(1, 0), 6);
    EXPECT_FALSE(map.PassAt(1, 0));
}

}  // namespace
}  // namespace halovane
