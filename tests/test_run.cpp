#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "EngineSupport.h"
#include "InputFile.h"
#include "OutputFile.h"
#include "ResultsCsv.h"
#include "TestSupport.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// A small monthly data set without drainage.
ModelInput Field(int layers, int steps = 6, int ts = 30) {
    ModelInput in;
    in.Title1 = "Test field";
    in.Title2 = "runs";
    in.NrTst = steps;
    in.Ts = ts;
    in.NrLayers = layers;
    ResizeHydrologicalSeries(in, steps);
    ResizeMeasuredSeries(in, steps, -1);
    for (int i = 1; i <= steps; ++i) {
        in.Rain[i] = 20.0 * i * ts / 30;
        in.Irrig[i] = (i % 2 ? 150.0 : 0.0) * ts / 30;
        in.EvapT[i] = 120.0 * ts / 30;
    }
    StandardSoil(in);
    DistributeIrrigation(in);
    return in;
}

RunOutcome RunIn(ModelInput& in, ModelState& state, ScriptedInteraction& ui, const TempDir& dir,
               const std::string& name = "field.inp") {
    in.InputFileName = dir.File(name);
    return RunModel(in, state, ui);
}

}  // namespace

TEST(Run, MonthlyStepsMoveTheWaterTableByOneDay) {
    // Hand computation of step 1 (one layer, no drains, no capillary rise as
    // the water table lies below the critical depth): every day of the step
    // starts from the initial depth, so the step moves the water table by one
    // day's net recharge; the step totals add the 30 equal days.
    TempDir dir;
    ModelInput in = Field(1, 1);
    in.Dwtini = 1.5;  // transition zone: Dr = 0.3 < 1.5 <= 1.8
    in.EvapT[1] = 90;
    ModelState state;
    ScriptedInteraction ui;
    ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
    const double WR = 20.0 / 30 + 150.0 / 30, EvapT = 90.0 / 30, IrrEff = 0.7;
    ASSERT_FALSE(EvapT / IrrEff > WR);  // so EvapA = EvapT and CapT = 0
    const double PercR = WR - EvapT;
    const double expectedDwt = 1.5 - (PercR - 0 - 0 + 0.5 - 0.3) / (1000 * 0.05);
    EXPECT_DOUBLE_EQ(state.Results.Dwt[1], expectedDwt);
    EXPECT_NEAR(state.Results.PercT[1], 30 * PercR, 1e-9);
    EXPECT_NEAR(state.Results.EvapAT[1], 30 * EvapT, 1e-9);
    EXPECT_EQ(state.Results.CapTT[1], 0);
}

TEST(Run, EffectivePorosityFollowsTheLayerHoldingTheWaterTable) {
    // Three layers of 0.3, 0.3 and 0.4 m with the water table at 0.5 m lie in
    // layer 2; at 0 m the water stands at the surface (porosity 1.0).
    for (auto [depth, porosity] : {std::pair{0.5, 0.07}, {0.0, 1.0}, {0.0001, 0.08}, {0.95, 0.06}, {5.0, 0.10}}) {
        TempDir dir;
        ModelInput in = Field(3, 1);
        in.Dwtini = depth;
        in.CDc = 0.1;  // CDw = 0.1 - 0.5 < 0 gives CF = 1
        in.Inf = in.Out = 0;
        ModelState state;
        ScriptedInteraction ui;
        ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
        const double change = state.Results.Dwt[1] - depth;
        const double net = (state.Results.PercT[1] - state.Results.CapTT[1]) / 30;
        EXPECT_NEAR(change, -net / (1000 * porosity), 1e-12) << "depth " << depth;
    }
}

TEST(Run, DrainageUsesTenSubStepsFromQH1OfTwoHundredths) {
    auto firstDrainage = [](double qh1) {
        TempDir dir;
        ModelInput in = Field(1, 1, 1);
        in.DrainPresent = true;
        in.Dd = 1.8;
        in.QH1 = qh1;
        in.QH2 = 0;
        in.Dwtini = 0.5;
        ModelState state;
        ScriptedInteraction ui;
        EXPECT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
        return state.Results.DrainT[1];
    };
    // One update: 1000 × QH1 × h with h = 1.8 − 0.5.
    EXPECT_DOUBLE_EQ(firstDrainage(0.0199), 1000 * 0.0199 * 1.3);
    // Ten sub-steps of a tenth each lower the water table as they go: their
    // sum lies between the first sub-step's share and one full update.
    const double sub = firstDrainage(0.02);
    EXPECT_LT(sub, 1000 * 0.02 * 1.3);
    EXPECT_GT(sub, 1000 * 0.02 * 1.3 / 10 * 5);
}

TEST(Run, PondedWaterDoublesTheFirstDrainTerm) {
    TempDir dir;
    ModelInput in = Field(1, 1, 1);
    in.DrainPresent = true;
    in.Dd = 1.0, in.QH1 = 0, in.QH2 = 0.001, in.Dwtini = -0.1;
    ModelState state;
    ScriptedInteraction ui;
    ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
    EXPECT_DOUBLE_EQ(state.Results.DrainT[1], 2 * (1000 * 0.001 * (1.1 * 1.1)));
}

TEST(Run, AStopStillWritesEveryRowWithZerosAfterIt) {
    TempDir dir;
    ModelInput in = Field(2, 10);
    in.D[Za] = 0.5;
    in.Dwtini = 2.25;
    in.Out = 40;  // the aquifer drains fast
    ModelState state;
    ScriptedInteraction ui(true, false);
    const RunOutcome outcome = RunIn(in, state, ui, dir);
    EXPECT_EQ(outcome.status, RunStatus::Stopped);
    ASSERT_EQ(ui.messages, std::vector<std::string>{BelowAquiferMessage});
    EXPECT_TRUE(state.Stop);
    int stopped = 0;
    while (stopped <= 10 && state.Results.Dwt[stopped] <= 0.6 + 1.5 + 0.5) ++stopped;
    ASSERT_LE(stopped, 10);
    EXPECT_EQ(state.Results.PercT[stopped], 0);  // totals of the failing step are not stored
    for (int i = stopped + 1; i <= 10; ++i) {
        EXPECT_EQ(state.Results.Dwt[i], 0);
        EXPECT_EQ(state.Results.EvapAT[i], 0);
    }
    const std::string out = ReadFile(dir.File("field.out"));
    EXPECT_NE(out.find("\r\n       10 "), std::string::npos);
}

TEST(Run, RefusesDataThatWouldDivideByZero) {
    struct Case {
        const char* field;
        void (*spoil)(ModelInput&);
    };
    const Case cases[] = {
        {"irrigation efficiency", [](ModelInput& in) { in.IrrEff = 0; }},
        {"effective porosity of the transition zone", [](ModelInput& in) { in.EP[Zt] = 0; }},
        {"effective porosity of layer 2", [](ModelInput& in) { in.EP[Z2] = 0; }},
        {"number of time steps", [](ModelInput& in) { in.NrTst = 0; }},
        {"length of a time step", [](ModelInput& in) { in.Ts = 0; }},
        {"thickness of layer 1", [](ModelInput& in) { in.D[Z1] = in.D[Z2] = 0; }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ModelInput in = Field(2);
        c.spoil(in);
        ModelState state;
        ScriptedInteraction ui(true, true);
        const RunOutcome outcome = RunIn(in, state, ui, dir);
        EXPECT_EQ(outcome.status, RunStatus::Refused) << c.field;
        EXPECT_NE(outcome.message.find(c.field), std::string::npos) << outcome.message;
        EXPECT_TRUE(ui.questions.empty());
        EXPECT_FALSE(std::filesystem::exists(dir.File("field.out")));
    }
    // Numbers that overflow the balances never reach an output file.
    {
        TempDir dir;
        ModelInput in = Field(2);
        in.Rain[2] = in.Irrig[2] = in.IrrDist[2] = 1.7e308;
        ModelState state;
        ScriptedInteraction ui;
        const RunOutcome outcome = RunIn(in, state, ui, dir);
        EXPECT_EQ(outcome.status, RunStatus::Refused);
        EXPECT_NE(outcome.message.find("out of range in time step 2"), std::string::npos) << outcome.message;
        EXPECT_FALSE(std::filesystem::exists(dir.File("field.out")));
    }
    // A layer beyond the root zone may keep a porosity of 0.
    TempDir dir;
    ModelInput in = Field(1);
    in.EP[Z3] = 0;
    ModelState state;
    ScriptedInteraction ui;
    EXPECT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
}

TEST(Run, LeavesTheDataSetAsItWas) {
    TempDir dir;
    ModelInput in = Field(3, 8, 7);
    for (int i = 1; i <= 8; ++i) in.ECsm[Z2][i] = 3.0 + 0.1 * i;
    in.InputFileName = dir.File("field.inp");
    const std::string before = InputFileText(in);
    const ModelInput copy = in;
    ModelState state;
    ScriptedInteraction ui(true, true);
    ASSERT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);
    EXPECT_EQ(InputFileText(in), before);
    EXPECT_EQ(in.IrrDist, copy.IrrDist);
    EXPECT_EQ(in.Inf, copy.Inf);
    EXPECT_EQ(in.LE[Z2], 75);  // the optimised value lives only in the output
    EXPECT_TRUE(state.Fit[1].LeOptimized);
    EXPECT_NE(state.Fit[1].LE, 0.75);
}

TEST(Run, SpreadsTheIrrigationAsEnteredWhateverTheDataSetHolds) {
    // Daily steps with dry days after each irrigation: the run spreads the
    // irrigation itself, so a data set whose spread series is missing or out
    // of date (as after reading a file, or after an edit) runs exactly as one
    // whose series was just formed.
    TempDir dir;
    ModelInput fresh = Field(1, 12, 1);
    for (int i = 1; i <= 12; ++i) fresh.Irrig[i] = i % 4 == 1 ? 40.0 : 0.0;
    DistributeIrrigation(fresh);
    ASSERT_NE(fresh.IrrDist[2], 0);  // the dry days share the irrigation
    ModelState expected;
    ScriptedInteraction ui;
    ASSERT_EQ(RunIn(fresh, expected, ui, dir, "fresh.inp").status, RunStatus::Completed);
    // The results after the line that names the output file.
    auto results = [&](const char* name) {
        const std::string text = ReadFile(dir.File(name));
        return text.substr(text.find("\r\n", text.find("\r\n") + 2));
    };
    for (Series stale : {Series{}, Series(13, 0.0), fresh.Irrig}) {
        ModelInput in = fresh;
        in.IrrDist = stale;
        ModelState state;
        ScriptedInteraction again;
        ASSERT_EQ(RunIn(in, state, again, dir).status, RunStatus::Completed);
        EXPECT_EQ(results("field.out"), results("fresh.out"));
        EXPECT_EQ(state.Results.Dwt, expected.Results.Dwt);
        EXPECT_EQ(in.IrrDist, stale);  // the data set keeps what it held
    }
}

TEST(Run, OptimisationIsOfferedFromFourMeasurements) {
    for (int count : {3, 4}) {
        TempDir dir;
        ModelInput in = Field(2, 6);
        for (int i = 1; i <= count; ++i) in.ECsm[Z2][i] = 4.0 + i;
        in.ECsm[Za][1] = 0;  // zero counts as not measured
        ModelState state;
        ScriptedInteraction ui(false, true);
        ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
        const bool asked = std::find(ui.questions.begin(), ui.questions.end(), OptimisationQuestion) !=
                           ui.questions.end();
        EXPECT_EQ(asked, count == 4);
        EXPECT_EQ(state.Fit[1].FitNotAvailable, count < 4);
        EXPECT_EQ(state.Fit[0].FitNotAvailable, true);
        const std::string out = ReadFile(dir.File("field.out"));
        EXPECT_NE(out.find(count == 4 ? " Leaching efficiency layer 2   :" : "n.a."), std::string::npos);
        EXPECT_EQ(out.find("(optimized)") != std::string::npos, count == 4);
    }
}

TEST(Run, ProgressMovesThroughThePhases) {
    TempDir dir;
    ModelInput in = Field(1);
    for (int i = 1; i <= 6; ++i) in.ECsm[Z1][i] = 3;
    ModelState state;
    ScriptedInteraction ui(false, true);
    ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
    EXPECT_EQ(ui.progress, (std::vector<int>{2, 3, 4, 6, 8, 8, 9}));
}

TEST(Run, FitIndexOfDeepZonesIsNeverNegativeAndNeverNan) {
    TempDir dir;
    ModelInput in = Field(3, 6);
    for (int i = 1; i <= 6; ++i) {
        in.ECsm[Z1][i] = 0.01;    // far off: a negative index that stays
        in.ECsm[Z3][i] = 0.01;    // the same, reported as 0
        in.ECsm[Za][i] = 1e300;   // squares overflow
    }
    in.ECsm[Zt][1] = -5;  // negative values are not measured
    ModelState state;
    ScriptedInteraction ui(false, true);
    ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
    EXPECT_LT(state.Fit[0].FitIndex, 0);
    EXPECT_EQ(state.Fit[2].FitIndex, 0);
    EXPECT_EQ(state.Fit[4].FitIndex, 0);
    EXPECT_TRUE(state.Fit[3].FitNotAvailable);
    const std::string out = ReadFile(dir.File("field.out"));
    EXPECT_EQ(out.find("nan"), std::string::npos);
    EXPECT_EQ(out.find("inf"), std::string::npos);
    // every trial reached the cap: the first one, 0.11, wins
    EXPECT_DOUBLE_EQ(state.Fit[4].LE, 0.11);
}

TEST(OutputFile, ReadsBackWhatARunWrote) {
    for (int layers = 1; layers <= 3; ++layers) {
        TempDir dir;
        ModelInput in = Field(layers, 12);
        for (int i = 1; i <= 12; i += 2) in.ECsm[Zt][i] = 6 + i;
        in.LE[Za] = 0;  // no aquifer line in the header
        in.InputFileName = dir.File("field.inp");
        ASSERT_EQ(WriteInputFile(in), "");
        ModelState state;
        ScriptedInteraction ui(true, true);
        ASSERT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);

        OutputReadback back;
        NumberFormat format;
        const ReadOutcome read = ReadOutputFile(dir.File("field.out"), back, format);
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(back.Layers, layers);
        EXPECT_EQ(back.NrTst, 12);
        EXPECT_TRUE(back.DrainageLine);
        EXPECT_NEAR(back.Zones[3].LE, state.Fit[3].LE, 0.005);
        EXPECT_EQ(back.Zones[3].Optimized, state.Fit[3].LeOptimized);
        EXPECT_TRUE(back.Zones[3].CoefficientRead);
        EXPECT_FALSE(back.Zones[0].CoefficientRead);  // n.a.
        EXPECT_EQ(back.Zones[4].LE, 0);
        for (int i = 1; i <= 12; ++i) {
            EXPECT_NEAR(back.Results.PercT[i], state.Results.PercT[i], 0.05);
            EXPECT_NEAR(back.Results.Dwt[i], state.Results.Dwt[i], 0.005);
            EXPECT_NEAR(back.Results.SR[Zt][i], state.Results.SR[Zt][i], 0.005);
            if (layers == 3) {
                EXPECT_NEAR(back.Results.SR[Z3][i], state.Results.SR[Z3][i], 0.005);
            }
        }

        ViewInput view;
        ASSERT_TRUE(ReadInputForViews(dir.File("field.inp"), back, view, format).ok);
        EXPECT_EQ(view.Layers, layers);
        EXPECT_EQ(view.Title1, "Test field");
        EXPECT_EQ(view.Rain[3], in.Rain[3]);
        EXPECT_EQ(view.ECsm[Zt][1], 7);
        EXPECT_EQ(view.ECsm[Zt][2], -1);
    }
}

TEST(OutputFile, ReadersReportFilesTheyCannotUse) {
    TempDir dir;
    OutputReadback back;
    ViewInput view;
    NumberFormat format;
    const std::string missing = dir.File("missing.out");
    const ReadOutcome unopened = ReadOutputFile(missing, back, format);
    EXPECT_TRUE(unopened.unopened);
    // The reason is the system's own words ("No such file or directory",
    // "File not found").
    EXPECT_TRUE(std::regex_search(unopened.message, std::regex("^The file .*missing\\.out could not be opened \\([A-Z][^)]+\\)\\. "
                                                              "It may be damaged or in use by another program\\.")))
        << unopened.message;
    EXPECT_FALSE(ReadInputForViews(dir.File("missing.inp"), back, view, format).ok);

    // A run's output file, damaged in the ways that follow: the reader
    // refuses it, naming the line and what it found there.
    ModelInput in = Field(1, 3);
    in.InputFileName = dir.File("field.inp");
    ASSERT_EQ(WriteInputFile(in), "");
    ModelState state;
    ScriptedInteraction ui(false, false);
    ASSERT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);
    const std::string good = ReadFile(dir.File("field.out"));
    const size_t rowsEnd = good.size();
    std::string noDashes = good;
    noDashes.insert(noDashes.find("\r\n - -") + 2, std::string(30, '\n'));
    struct Case {
        const char* name;
        std::string text;
        std::string mentions;  // empty: read
    };
    const Case cases[] = {
        {"fewer rows", good.substr(0, good.rfind("        3 ")), "line 16: the file holds fewer rows than its 3 time steps"},
        {"a note after the rows", good + "\r\n\r\n  checked by A.B.\r\n",
         "line 22: the file goes on after its 3 rows ('  checked by A.B.')"},
        {"another row", good + good.substr(good.rfind("        3 ")), "line 20: the file goes on after its 3 rows"},
        {"headings without their dashed line", noDashes, "the column headings end without their dashed line"},
        {"blank lines after the rows", good + std::string(100000, '\n') + "   \r\n", ""},
        {"as written", good, ""},
    };
    for (const Case& c : cases) {
        OutputReadback read;
        const ReadOutcome r = ParseOutputText(c.text, "f.out", read, format);
        EXPECT_EQ(r.ok, c.mentions.empty()) << c.name << ": " << r.message;
        EXPECT_NE(r.message.find(c.mentions), std::string::npos) << c.name << ": " << r.message;
        if (r.ok) {
            EXPECT_EQ(read.RowsEnd, rowsEnd) << c.name;
        }
    }

    // The input data file beside it is used only when it is the run's.
    ASSERT_TRUE(ReadOutputFile(dir.File("field.out"), back, format).ok);
    EXPECT_EQ(back.StepDays, 30);
    struct Change {
        const char* mentions;
        void (*change)(ModelInput&);
    };
    const Change changes[] = {
        {"", [](ModelInput&) {}},
        {"the number of root-zone layers is '2', the output file '1'", [](ModelInput& m) { m = Field(2, 3); }},
        {"the number of time steps is '4', the output file '3'", [](ModelInput& m) { m = Field(1, 4); }},
        {"the step length is '7', the output file '30'", [](ModelInput& m) { m = Field(1, 3, 7); }},
        {"the first title is 'Another field', the output file 'Test field'",
         [](ModelInput& m) { m.Title1 = "Another field"; }},
    };
    for (const Change& c : changes) {
        ModelInput other = in;
        c.change(other);
        other.InputFileName = in.InputFileName;
        ASSERT_EQ(WriteInputFile(other), "");
        const ReadOutcome r = ReadInputForViews(in.InputFileName, back, view, format);
        EXPECT_EQ(r.ok, !*c.mentions) << r.message;
        EXPECT_NE(r.message.find(c.mentions), std::string::npos) << r.message;
    }
}

TEST(OutputFile, NameReplacesOrAppendsTheExtension) {
    EXPECT_EQ(OutputFileName("/data/survey.inp"), "/data/survey.out");
    EXPECT_EQ(OutputFileName("/data/survey"), "/data/survey.out");
    EXPECT_EQ(OutputFileName("/data.v2/survey"), "/data.v2/survey.out");
}

TEST(OutputFile, ReplacesAnOldOutputOnlyWhenComplete) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("field.out"));  // cannot be replaced
    ModelInput in = Field(1);
    ModelState state;
    ScriptedInteraction ui;
    const RunOutcome outcome = RunIn(in, state, ui, dir);
    EXPECT_EQ(outcome.status, RunStatus::WriteFailed);
    EXPECT_NE(outcome.message.find("field.out"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(ResultsCsv, HasAHeaderAndOneRowPerStep) {
    TempDir dir;
    ModelInput in = Field(2, 3);
    in.ECsm[Z2][2] = 4.5;
    ModelState state;
    ScriptedInteraction ui;
    ASSERT_EQ(RunIn(in, state, ui, dir).status, RunStatus::Completed);
    const std::string csv = ResultsCsv(in, state);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "step,rain_mm,irrigation_mm,potential_evap_mm,percolation_mm,capillary_rise_mm,actual_evap_mm,"
              "drainage_mm,water_table_depth_m,layer1_calculated_dS_m,layer1_measured_dS_m,layer2_calculated_dS_m,"
              "layer2_measured_dS_m,transition_calculated_dS_m,transition_measured_dS_m,aquifer_calculated_dS_m,"
              "aquifer_measured_dS_m,stopped");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
    const size_t row2 = csv.find("\r\n2,");
    ASSERT_NE(row2, std::string::npos);
    const std::string line = csv.substr(row2 + 2, csv.find("\r\n", row2 + 2) - row2 - 2);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 17);
    EXPECT_NE(line.find(",4.5,"), std::string::npos);
    EXPECT_EQ(line.substr(0, 6), "2,40,0");
    EXPECT_EQ(line.substr(line.size() - 2), ",0");
}
