// The fit report: statistics of the final pass, the profile of every search,
// the interval and flags drawn from it, and the two files beside the output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "EngineSupport.h"
#include "FitReport.h"
#include "FitReportFiles.h"
#include "InputFile.h"
#include "Searches.h"
#include "OutputFile.h"
#include "RunData.h"
#include "TestSupport.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// Two years of monthly steps, one root-zone layer, a deep water table.
ModelInput Field() {
    ModelInput in;
    in.Title1 = "Fit report field";
    in.Title2 = "monthly";
    in.NrTst = 24;
    in.Ts = 30;
    in.NrLayers = 1;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = 10.0 * (i % 4);
        in.Irrig[i] = i % 2 ? 180.0 : 60.0;
        in.EvapT[i] = 130.0;
    }
    in.D[Z1] = 0.6, in.D[Zt] = 1.5, in.D[Za] = 10;
    in.TP[Z1] = 45, in.TP[Zt] = 42, in.TP[Za] = 40;
    in.EP[Z1] = 8, in.EP[Zt] = 5, in.EP[Za] = 10;
    in.LE[Z1] = 60, in.LE[Zt] = 70, in.LE[Za] = 100;
    in.Sini[Z1] = 6, in.Sini[Zt] = 7, in.Sini[Za] = 8;
    in.Si = 1.5, in.Dwtini = 2.5, in.CDc = 1.0, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.2, in.Out = 0.3, in.Sinf = 2.5;
    DistributeIrrigation(in);
    return in;
}

struct ReportRun {
    ModelState state;
    std::vector<SearchProfile> profiles;
    FitReport report;
};

ReportRun RunField(ModelInput& in, const TempDir& dir, bool optimise = true) {
    ReportRun r;
    in.InputFileName = dir.File("field.inp");
    EXPECT_EQ(WriteInputFile(in), "");
    ScriptedInteraction ui(false, optimise);
    const RunOutcome outcome = RunModel(in, r.state, ui, RunFiles{}, &r.profiles);
    EXPECT_EQ(outcome.status, RunStatus::Completed) << outcome.message;
    r.report = BuildFitReport(in, r.state, r.profiles);
    return r;
}

SearchProfile Profile(const std::vector<double>& scores) {
    SearchProfile p;
    p.trials = TrialEfficiencies();
    p.scores = scores;
    return p;
}

}  // namespace

// Worked out by hand: measured 2, 4, 6, 8 against simulated 3, 4, 5, 9.
// Differences 1, 0, -1, 1: SSE = 3, RMSE = sqrt(3/4), MAE = 3/4, bias = 1/4;
// means 5 and 5.25. Measured deviations -3, -1, 1, 3 (sum of squares 20):
// NSE = 1 - 3/20 = 0.85. Simulated deviations -2.25, -1.25, -0.25, 3.75
// (sum of squares 20.75), cross products sum to 19: r2 = 19^2 / (20 * 20.75)
// = 361/415.
TEST(FitStatistics, MatchValuesWorkedOutByHand) {
    const FitStatistics s = ComputeFitStatistics({3, 4, 5, 9}, {2, 4, 6, 8});
    EXPECT_EQ(s.n, 4);
    EXPECT_DOUBLE_EQ(s.meanMeasured, 5);
    EXPECT_DOUBLE_EQ(s.meanSimulated, 5.25);
    EXPECT_DOUBLE_EQ(s.sse, 3);
    EXPECT_DOUBLE_EQ(s.rmse, std::sqrt(0.75));
    EXPECT_DOUBLE_EQ(s.mae, 0.75);
    EXPECT_DOUBLE_EQ(s.bias, 0.25);
    ASSERT_TRUE(s.nseDefined);
    EXPECT_DOUBLE_EQ(s.nse, 0.85);
    ASSERT_TRUE(s.r2Defined);
    EXPECT_DOUBLE_EQ(s.r2, 361.0 / 415.0);
}

TEST(FitStatistics, ConstantSeriesLeaveNseAndR2Undefined) {
    // Every measured value the same: no variance to explain.
    FitStatistics s = ComputeFitStatistics({3, 4, 5, 6}, {4, 4, 4, 4});
    EXPECT_FALSE(s.nseDefined);
    EXPECT_FALSE(s.r2Defined);
    EXPECT_DOUBLE_EQ(s.sse, 1 + 0 + 1 + 4);
    // A constant simulation has an NSE (here below 0) but no correlation.
    s = ComputeFitStatistics({5, 5, 5, 5}, {2, 4, 6, 8});
    ASSERT_TRUE(s.nseDefined);
    EXPECT_DOUBLE_EQ(s.nse, 1 - 20.0 / 20.0);
    EXPECT_FALSE(s.r2Defined);
    EXPECT_DOUBLE_EQ(s.bias, 0);
}

TEST(FitStatistics, FQuantileMatchesClosedFormsAndTables) {
    // df 1 and 2 have closed forms for Student's t at 0.975:
    // tan(0.475 pi) and 0.95 * sqrt(2 / (4 * 0.975 * 0.025)).
    const double pi = std::acos(-1.0);
    EXPECT_NEAR(FQuantile95(1), std::pow(std::tan(0.475 * pi), 2), 1e-9);
    EXPECT_NEAR(FQuantile95(2), 0.95 * 0.95 * 2 / (4 * 0.975 * 0.025), 1e-9);
    // Printed tables of F(1, df; 0.95).
    EXPECT_NEAR(FQuantile95(3), 10.128, 0.0005);
    EXPECT_NEAR(FQuantile95(5), 6.608, 0.0005);
    EXPECT_NEAR(FQuantile95(10), 4.965, 0.0005);
    EXPECT_NEAR(FQuantile95(30), 4.171, 0.0005);
    EXPECT_NEAR(FQuantile95(120), 3.920, 0.0005);
    // Towards the chi-square quantile 1.959964^2 for many measurements.
    EXPECT_NEAR(FQuantile95(1000000), 1.959964 * 1.959964, 1e-4);
    for (int df = 1; df < 200; ++df) EXPECT_GT(FQuantile95(df), FQuantile95(df + 1)) << df;
}

TEST(Profile, SharpMinimumGivesANarrowIntervalAndNoFlags) {
    // Scores (k - 49)^2 + 1: best at trial 49 (0.60); with n = 6, F(1, 5) =
    // 6.608 and the limit is 1 * (1 + 6.608 / 5) = 2.32, which only the
    // neighbours k = 48 and 50 (score 2) reach.
    std::vector<double> scores;
    for (int k = 0; k < SearchTrials; ++k) scores.push_back((k - 49.0) * (k - 49.0) + 1);
    const ProfileSummary p = SummariseProfile(Profile(scores), 6);
    EXPECT_EQ(p.bestIndex, 49);
    EXPECT_NEAR(p.best, 0.60, 1e-12);
    EXPECT_NEAR(p.limit, 1 + FQuantile95(5) / 5, 1e-12);
    EXPECT_EQ(p.lowIndex, 48);
    EXPECT_EQ(p.highIndex, 50);
    EXPECT_NEAR(p.low, 0.59, 1e-12);
    EXPECT_NEAR(p.high, 0.61, 1e-12);
    EXPECT_FALSE(p.bestAtEdge);
    EXPECT_FALSE(p.notDetermined);
    EXPECT_FALSE(p.flat);
    EXPECT_FALSE(p.capped);
}

TEST(Profile, BestAtTheLowerEdgeIsNotDetermined) {
    // Scores rising from 0.11: the data ask for less than the range offers.
    std::vector<double> scores;
    for (int k = 0; k < SearchTrials; ++k) scores.push_back(10 + k);
    const ProfileSummary p = SummariseProfile(Profile(scores), 10);
    EXPECT_EQ(p.bestIndex, 0);
    EXPECT_NEAR(p.best, 0.11, 1e-12);
    EXPECT_TRUE(p.bestAtEdge);
    EXPECT_TRUE(p.notDetermined);
    // limit = 10 * (1 + 4.965... / 9) = 15.5: trials 0 to 5.
    EXPECT_EQ(p.highIndex, 5);
    EXPECT_FALSE(p.flat);
}

TEST(Profile, AnIntervalThatReachesTheUpperEdgeIsNotDeterminedEvenWithAnInnerBest) {
    std::vector<double> scores;
    for (int k = 0; k < SearchTrials; ++k) scores.push_back(k < 150 ? 200.0 - k : 50.5 + 0.01 * (k - 150));
    const ProfileSummary p = SummariseProfile(Profile(scores), 30);
    EXPECT_EQ(p.bestIndex, 150);
    EXPECT_FALSE(p.bestAtEdge);
    EXPECT_TRUE(p.notDetermined);
    EXPECT_EQ(p.highIndex, SearchTrials - 1);
}

TEST(Profile, FlatProfileAndTiesAndTheCap) {
    // Every trial capped at 1000: all tie, the first wins, the interval is
    // the whole range.
    ProfileSummary p = SummariseProfile(Profile(std::vector<double>(SearchTrials, 1000)), 4);
    EXPECT_EQ(p.bestIndex, 0);
    EXPECT_TRUE(p.flat);
    EXPECT_TRUE(p.notDetermined);
    EXPECT_TRUE(p.capped);
    // A shallow bowl: more than half of the trials within the limit.
    std::vector<double> scores;
    for (int k = 0; k < SearchTrials; ++k) scores.push_back(100 + 0.01 * std::fabs(k - 90.0));
    p = SummariseProfile(Profile(scores), 8);
    EXPECT_EQ(p.bestIndex, 90);
    EXPECT_TRUE(p.flat);
    EXPECT_FALSE(p.capped);
    // Two equal minima: the smaller efficiency is the best, as in the search.
    scores.assign(SearchTrials, 500);
    scores[40] = scores[120] = 3;
    p = SummariseProfile(Profile(scores), 12);
    EXPECT_EQ(p.bestIndex, 40);
    // The interval runs from the lowest to the highest trial within the limit.
    EXPECT_EQ(p.lowIndex, 40);
    EXPECT_EQ(p.highIndex, 120);
    // Exactly half of the trials is not yet "most" of the range.
    scores.assign(SearchTrials, 500);
    for (int k = 20; k < 110; ++k) scores[static_cast<size_t>(k)] = 1;
    p = SummariseProfile(Profile(scores), 12);
    EXPECT_EQ(p.highIndex - p.lowIndex + 1, SearchTrials / 2);
    EXPECT_FALSE(p.flat);
    scores[110] = 1;
    EXPECT_TRUE(SummariseProfile(Profile(scores), 12).flat);
}

TEST(FitReportRun, MeasurementsMadeByTheModelGiveASharpMinimum) {
    // Measure the root zone with the model itself at LE1 = 60 %; the search
    // must then find 0.60 and confine it closely.
    TempDir dir;
    ModelInput in = Field();
    ReportRun given = RunField(in, dir, false);
    EXPECT_TRUE(given.profiles.empty());
    EXPECT_TRUE(given.report.empty());
    for (int i = 3; i <= in.NrTst; i += 3) in.ECsm[Z1][i] = given.state.Results.SR[Z1][i];
    in.LE[Z1] = 90;
    ReportRun fitted = RunField(in, dir);
    ASSERT_EQ(fitted.profiles.size(), 1u);
    ASSERT_EQ(fitted.report.zones.size(), 1u);
    const ZoneReport& row = fitted.report.zones[0];
    EXPECT_EQ(row.zone, Zone::Layer1);
    EXPECT_EQ(row.stats.n, 8);
    EXPECT_NEAR(row.le, 0.60, 1e-9);
    EXPECT_TRUE(row.optimized);
    EXPECT_LT(row.stats.rmse, 1e-6);
    EXPECT_EQ(row.fitIndex, "100");
    EXPECT_GE(row.profile.low, 0.58);
    EXPECT_LE(row.profile.high, 0.62);
    EXPECT_FALSE(row.profile.bestAtEdge || row.profile.notDetermined || row.profile.flat || row.profile.capped);
}

TEST(FitReportRun, AStoppedRunPairsTheComputedStepsOnlyAndSaysWhere) {
    TempDir dir;
    ModelInput in = Field();
    for (int i = 3; i <= in.NrTst; i += 3) in.ECsm[Z1][i] = 5;
    ReportRun r = RunField(in, dir);
    ASSERT_EQ(r.report.zones.size(), 1u);
    EXPECT_EQ(r.report.stoppedAtStep, 0);
    EXPECT_EQ(r.report.outputFile, "field.out");
    // The same run stopped in step 10: steps 3, 6 and 9 were computed.
    r.state.Stop = true;
    r.state.Flows.StopStep = 10;
    const FitReport stopped = BuildFitReport(in, r.state, r.profiles);
    EXPECT_EQ(stopped.stoppedAtStep, 10);
    EXPECT_EQ(stopped.zones[0].stats.n, 3);
    // FILE.fit.csv names the stop and the output file, and reads them back.
    const std::string fit = FitCsv(stopped);
    EXPECT_NE(fit.find(",10,field.out\r\n"), std::string::npos) << fit;
    EXPECT_NE(FitCsv(r.report).find(",,field.out\r\n"), std::string::npos);
    FitReport read;
    std::string message;
    ASSERT_TRUE(ParseFitReport(fit, ProfileCsv(stopped), read, message)) << message;
    EXPECT_EQ(std::make_pair(read.stoppedAtStep, read.outputFile), std::make_pair(10, std::string("field.out")));
}

TEST(FitReportRun, MeasurementsAboveAnythingTheModelReachesAreNotDetermined) {
    TempDir dir;
    ModelInput in = Field();
    for (int i = 2; i <= in.NrTst; i += 2) in.ECsm[Z1][i] = 25;
    ReportRun r = RunField(in, dir);
    ASSERT_EQ(r.report.zones.size(), 1u);
    const ZoneReport& row = r.report.zones[0];
    EXPECT_NEAR(row.le, 0.11, 1e-9);
    EXPECT_TRUE(row.profile.bestAtEdge);
    EXPECT_TRUE(row.profile.notDetermined);
    EXPECT_EQ(row.stats.n, 12);
    // The simulated salinities stay below the measured ones throughout.
    EXPECT_LT(row.stats.bias, 0);
    EXPECT_FALSE(row.stats.r2Defined);  // the measured values do not vary
}

TEST(FitReportRun, ThreeLayersListEverySearchInTheOrderMade) {
    // Every zone measured: seven searches, the transition zone and the
    // aquifer twice; the zone rows take the last search of their zone.
    TempDir dir;
    ModelInput in = Field();
    in.NrLayers = 3;
    in.D[Z1] = 0.2, in.D[Z2] = 0.2, in.D[Z3] = 0.2, in.TP[Z2] = 44, in.TP[Z3] = 43, in.EP[Z2] = 7, in.EP[Z3] = 6;
    in.LE[Z2] = 70, in.LE[Z3] = 70, in.Sini[Z2] = 6, in.Sini[Z3] = 7;
    for (int i = 1; i <= in.NrTst; i += 4)
        for (int z = 0; z < ZoneCount; ++z) in.ECsm[static_cast<Zone>(z)][i] = 5 + z + 0.1 * i;
    ReportRun r = RunField(in, dir);
    const Zone order[] = {Zone::Layer1,  Zone::Layer2,     Zone::Layer3, Zone::Transition,
                          Zone::Aquifer, Zone::Transition, Zone::Aquifer};
    ASSERT_EQ(r.profiles.size(), 7u);
    for (size_t k = 0; k < 7; ++k) EXPECT_EQ(r.profiles[k].zone, order[k]) << k;
    ASSERT_EQ(r.report.zones.size(), 5u);
    EXPECT_EQ(r.report.zones[3].search, 6);
    EXPECT_EQ(r.report.zones[4].search, 7);
    for (const ZoneReport& row : r.report.zones) {
        EXPECT_TRUE(SameBits(row.profile.best, r.state.Fit[static_cast<size_t>(row.zone)].LE));
        EXPECT_EQ(row.stats.n, 6);
    }
    const std::string profiles = ProfileCsv(r.report);
    EXPECT_NE(profiles.find("\r\n6,transition,0.11,"), std::string::npos);
    EXPECT_NE(profiles.find("\r\n7,aquifer,1.90,"), std::string::npos);
}

// The report is written with the output file or not at all, and a later
// run without the optimisation removes it with the same step.
TEST(FitReportFiles, GoWithTheOutputFile) {
    TempDir dir;
    ModelInput in = Field();
    for (int i = 2; i <= in.NrTst; i += 2) in.ECsm[Z1][i] = 3 + 0.2 * i;
    in.InputFileName = dir.File("field.inp");
    ASSERT_EQ(WriteInputFile(in), "");
    auto run = [&](bool optimise) {
        ModelState state;
        std::vector<SearchProfile> profiles;
        ScriptedInteraction ui(false, optimise);
        return RunModel(in, state, ui, RunFiles{true, false, true}, &profiles).status;
    };
    const std::string out = dir.File("field.out"), fit = dir.File("field.fit.csv"),
                      profile = dir.File("field.profile.csv");
    ASSERT_EQ(run(true), RunStatus::Completed);
    const std::string firstOut = ReadFile(out), firstFit = ReadFile(fit);
    EXPECT_NE(firstFit, "");
    EXPECT_NE(ReadFile(profile), "");

    in.LE[Zt] = 50;  // other results
    std::filesystem::remove(profile);
    std::filesystem::create_directory(profile);  // cannot be replaced
    EXPECT_EQ(run(true), RunStatus::WriteFailed);
    EXPECT_EQ(ReadFile(out), firstOut);
    EXPECT_EQ(ReadFile(fit), firstFit);

    std::filesystem::remove(profile);
    WriteFile(profile, "old");
    ASSERT_EQ(run(false), RunStatus::Completed);
    EXPECT_NE(ReadFile(out), firstOut);
    EXPECT_FALSE(std::filesystem::exists(fit));
    EXPECT_FALSE(std::filesystem::exists(profile));
}

TEST(FitReportFiles, ReadBackWhatWasWrittenAndRefuseAReportOfAnotherRun) {
    TempDir dir;
    ModelInput in = Field();
    for (int i = 2; i <= in.NrTst; i += 2) in.ECsm[Z1][i] = 3 + 0.2 * i;
    ReportRun r = RunField(in, dir);
    const std::string out = r.state.OutputFileName;
    EXPECT_EQ(FitCsvFileName(out), dir.File("field.fit.csv"));
    EXPECT_EQ(ProfileCsvFileName(out), dir.File("field.profile.csv"));
    ASSERT_EQ(WriteFitReportFiles(out, r.report), "");
    const std::string fit = ReadFile(dir.File("field.fit.csv"));
    EXPECT_EQ(fit.substr(0, fit.find("\r\n")), FitCsvHeader);
    EXPECT_EQ(ReadFile(dir.File("field.profile.csv")).size(), ProfileCsv(r.report).size());

    OutputReadback output;
    NumberFormat format;
    ASSERT_TRUE(ReadOutputFile(out, output, format).ok);
    ViewInput view;
    ASSERT_TRUE(ReadInputForViews(dir.File("field.inp"), output, view, format).ok);
    FitReport back;
    std::string message;
    ASSERT_EQ(ReadFitReportFiles(out, output, &view, back, message), FitReportStatus::Read) << message;
    ASSERT_EQ(back.zones.size(), 1u);
    const ZoneReport &a = r.report.zones[0], &b = back.zones[0];
    EXPECT_EQ(b.zone, a.zone);
    EXPECT_EQ(b.stats.n, a.stats.n);
    for (auto [x, y] : {std::pair{a.stats.sse, b.stats.sse}, {a.stats.rmse, b.stats.rmse}, {a.stats.nse, b.stats.nse},
                        {a.stats.r2, b.stats.r2}, {a.profile.bestScore, b.profile.bestScore},
                        {a.profile.limit, b.profile.limit}})
        EXPECT_TRUE(SameBits(x, y)) << x << " " << y;
    EXPECT_EQ(b.profile.bestIndex, a.profile.bestIndex);
    EXPECT_EQ(b.profile.lowIndex, a.profile.lowIndex);
    EXPECT_EQ(b.profile.highIndex, a.profile.highIndex);
    EXPECT_EQ(b.profile.notDetermined, a.profile.notDetermined);
    ASSERT_EQ(back.searches.size(), 1u);
    for (int k = 0; k < SearchTrials; ++k)
        EXPECT_TRUE(SameBits(back.searches[0].scores[static_cast<size_t>(k)], r.profiles[0].scores[static_cast<size_t>(k)]));

    // A later run without the optimisation rewrites the output file only:
    // the report left beside it no longer belongs to it.
    RunField(in, dir, false);
    ASSERT_TRUE(ReadOutputFile(out, output, format).ok);
    EXPECT_EQ(ReadFitReportFiles(out, output, &view, back, message), FitReportStatus::OtherRun);
    EXPECT_EQ(message, "The fit report beside the output file belongs to another run.");

    // A one-layer report beside the output of two layers names the root
    // zone where that output has layer 1.
    RunField(in, dir);
    ASSERT_TRUE(ReadOutputFile(out, output, format).ok);
    EXPECT_EQ(ReadFitReportFiles(out, output, &view, back, message), FitReportStatus::Read);
    output.Layers = 2;
    EXPECT_EQ(ReadFitReportFiles(out, output, nullptr, back, message), FitReportStatus::OtherRun);

    // Damaged files are not reports; a missing one is simply absent.
    WriteFile(dir.File("field.profile.csv"), "search,zone,trial_le,score\r\n1,layer1,0.11,x\r\n");
    EXPECT_EQ(ReadFitReportFiles(out, output, &view, back, message), FitReportStatus::Unreadable);
    EXPECT_EQ(message, "Line 2 of the profile file is not part of a fit report.");
    std::filesystem::remove(dir.File("field.fit.csv"));
    EXPECT_EQ(ReadFitReportFiles(out, output, &view, back, message), FitReportStatus::Absent);
}

TEST(FitReportFiles, MeasurementsTooLargeToSquareLeaveEmptyCellsThatReadBack) {
    // Squares of 1e200 overflow: the sums are infinite and are written as
    // empty cells, not as text that no reader takes for a number. (An input
    // data file cannot hold such values; a data set in memory can.)
    TempDir dir;
    ModelInput in = Field();
    for (int i = 2; i <= in.NrTst; i += 2) in.ECsm[Z1][i] = 1e200;
    in.InputFileName = dir.File("huge.inp");
    ReportRun r;
    ScriptedInteraction ui(false, true);
    RunModel(in, r.state, ui, RunFiles{}, &r.profiles);
    r.report = BuildFitReport(in, r.state, r.profiles);
    ASSERT_EQ(r.report.zones.size(), 1u);
    EXPECT_FALSE(std::isfinite(r.report.zones[0].stats.sse));
    EXPECT_FALSE(r.report.zones[0].stats.nseDefined);
    const std::string fit = FitCsv(r.report);
    EXPECT_EQ(fit.find("inf"), std::string::npos);
    EXPECT_EQ(fit.find("nan"), std::string::npos);
    FitReport back;
    std::string message;
    ASSERT_TRUE(ParseFitReport(fit, ProfileCsv(r.report), back, message)) << message;
    EXPECT_FALSE(std::isfinite(back.zones[0].stats.sse));
    EXPECT_EQ(back.zones[0].stats.n, 12);
}

// Every golden case with the optimisation: the profile's minimum is the
// efficiency the output file reports, the scores are those of the plain
// scan, and the output file is the same with or without the report.
TEST(FitReportGolden, ProfileMinimumIsTheReportedEfficiency) {
    const std::string folder = std::string(HALOVANE_TEST_DATA) + "/../cases";
    int cases = 0, zones = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const std::string answers = ReadFile(entry.path().string() + "/answers.txt");
        if (answers.find("optimise yes") == std::string::npos) continue;
        const bool refine = answers.find("refine yes") != std::string::npos;
        TempDir dir;
        WriteFile(dir.File("case.inp"), ReadFile(entry.path().string() + "/input.inp"));
        ModelInput in;
        in.InputFileName = dir.File("case.inp");
        ASSERT_TRUE(ReadInputFile(in).Ok()) << name;
        DistributeIrrigation(in);

        ModelInput plain = in;
        ModelState without;
        ScriptedInteraction ui1(refine, true);
        RunModel(plain, without, ui1);
        const std::string outputWithout = ReadFile(dir.File("case.out"));

        ModelState state;
        std::vector<SearchProfile> profiles;
        ScriptedInteraction ui2(refine, true);
        RunModel(in, state, ui2, RunFiles{}, &profiles);
        EXPECT_EQ(ReadFile(dir.File("case.out")), outputWithout) << name;

        OutputReadback expected;
        NumberFormat format;
        ASSERT_TRUE(ParseOutputText(ReadFile(entry.path().string() + "/answered.out"), name, expected, format).ok);
        const FitReport report = BuildFitReport(in, state, profiles);
        ASSERT_FALSE(report.empty()) << name;
        for (const ZoneReport& row : report.zones) {
            const SearchProfile& p = profiles[static_cast<size_t>(row.search - 1)];
            double lowest = p.scores[0];
            for (double s : p.scores) lowest = std::min(lowest, s);
            EXPECT_EQ(row.profile.bestScore, lowest);
            EXPECT_TRUE(SameBits(row.profile.best, state.Fit[static_cast<size_t>(row.zone)].LE)) << name;
            EXPECT_EQ(FormatFixed(row.profile.best, 0, 2),
                      FormatFixed(expected.Zones[static_cast<size_t>(row.zone)].LE, 0, 2))
                << name << " zone " << static_cast<int>(row.zone);
            double printed = 0;
            ASSERT_TRUE(TryStringToFloat(row.fitIndex, '.', printed));
            EXPECT_EQ(printed, expected.Zones[static_cast<size_t>(row.zone)].Coefficient) << name;
            ++zones;
        }
        EXPECT_TRUE(ReportMatchesOutput(report, expected, nullptr)) << name;

        // The plain scan, run again from the same water balance, gives every
        // search the same scores bit for bit: these are the scores that
        // chose the efficiencies.
        RunData run;
        ModelState again;
        ScriptedInteraction ui3(refine, true);
        PrepareAndBalanceWater(in, run, again, ui3);
        std::vector<SearchProfile> reference;
        RunSearches(run, again, true, 0, &reference);
        ASSERT_EQ(reference.size(), profiles.size()) << name;
        for (size_t k = 0; k < profiles.size(); ++k)
            for (int t = 0; t < SearchTrials; ++t) {
                ASSERT_TRUE(SameBits(reference[k].scores[static_cast<size_t>(t)], profiles[k].scores[static_cast<size_t>(t)]))
                    << name << " search " << k + 1 << " trial " << t;
                ASSERT_TRUE(SameBits(reference[k].trials[static_cast<size_t>(t)], profiles[k].trials[static_cast<size_t>(t)]));
            }
        ++cases;
    }
    EXPECT_EQ(cases, 8);
    EXPECT_GT(zones, 8);
}
