// The conserving variant keeps its books: on fields that cover one, two and
// three root-zone layers at every step length, and the situations where the
// prescribed model creates or loses water or salt, every day closes the
// water balance of the root-zone store, of every layer and of the saturated
// zone, and every step closes the salt balance of every zone. The stored
// groundwater is integrated here from the porosity profile, not read from
// the engine. Residuals are taken relative to the flows of the day (water)
// or the salt of the zone and its flows in the step (salt); the largest is
// printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "Balance.h"
#include "Conserving.h"
#include "EngineSupport.h"
#include "FitReportFiles.h"
#include "InputFile.h"
#include "OutputFile.h"
#include "ResultsCsv.h"
#include "RunData.h"
#include "TestSupport.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// A field of `days` days with daily rates that change with the season,
// given as amounts per step of `ts` days.
ModelInput Field(int layers, int ts, int days = 720) {
    ModelInput in;
    in.Variant = ModelVariant::Conserving;
    in.NrLayers = layers;
    in.Ts = ts;
    in.NrTst = in.NrTstHydr = days / ts;
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        const double season = std::sin(6.283185307179586 * (i - 0.5) * ts / 360);
        in.Rain[i] = ts * (1.5 + 1.5 * season);
        in.Irrig[i] = season < 0 ? ts * 5.0 : 0;
        in.EvapT[i] = ts * (4 - 2 * season);
    }
    StandardSoil(in);
    if (layers == 1) in.D[Z1] = 0.6;
    in.DrainPresent = true, in.Dd = 1.4, in.QH1 = 0.01, in.QH2 = 0.001;
    return in;
}

struct Situation {
    const char* name;
    void (*apply)(ModelInput&);
};

const Situation Situations[] = {
    {"drains, one update a day", [](ModelInput&) {}},
    {"drains, ten sub-steps", [](ModelInput& in) { in.QH1 = 0.05; }},
    {"ponding and crossings of layers and surface within a day",
     [](ModelInput& in) {
         in.DrainPresent = false, in.Dwtini = 0.2, in.Inf = in.Out = 0;
         for (int i = 1; i <= in.NrTst; ++i) in.Irrig[i] = in.Irrig[i] > 0 ? in.Ts * 30.0 : 0, in.EvapT[i] *= 3;
     }},
    {"capillary rise with an empty store",
     [](ModelInput& in) {
         in.DrainPresent = false, in.SMini = 0, in.Dwtini = 0.8, in.CDc = 1.5, in.Inf = 1, in.Out = 0;
         for (int i = 1; i <= in.NrTst; ++i) in.Rain[i] = in.Irrig[i] = 0;
     }},
    {"upward seepage", [](ModelInput& in) { in.Inf = 3, in.Out = 0; }},
    {"downward seepage", [](ModelInput& in) { in.Inf = 0.2, in.Out = 0.6, in.IrrEff = 100; }},
};

// Water stored below depth d down to `bottom` (mm): the porosity profile
// integrated, open water (porosity 1) above the surface.
double StoredWater(const ModelInput& in, double d, double bottom) {
    std::vector<std::pair<double, double>> pieces;  // (lower boundary, porosity), from the top
    double depth = 0;
    pieces.push_back({0.0, 1.0});
    for (Zone z : EveryZone) {
        if (!ZoneInUse(in.NrLayers, z)) continue;
        depth += in.D[z];
        pieces.push_back({z == Za ? bottom : depth, in.EP[z]});
    }
    double stored = 0, top = -1e9;
    for (const auto& [lower, porosity] : pieces) {
        const double from = std::max(d, top);
        if (lower > from) stored += 1000 * porosity * (lower - from);
        top = lower;
    }
    return stored;
}

double Relative(double residual, double scale) { return std::fabs(residual) / std::max(scale, 1e-300); }

double worstWater = 0, worstSalt = 0;

struct Ran {
    RunData run;
    ModelState state;
};

void RunConserving(const ModelInput& in, Ran& r, bool refine = false) {
    ScriptedInteraction ui(refine);
    PrepareAndBalanceWater(in, r.run, r.state, ui);
    RunConservingSaltBalance(r.run, r.state);
}

// Checks every day and every step of a run; returns the largest relative
// residuals through worstWater and worstSalt.
void ExpectClosed(const Ran& r, const std::string& what) {
    const ModelInput& in = r.run.in;
    const ModelState& s = r.state;
    const int layers = in.NrLayers, zones = layers + 2;
    const double bottom = r.run.Dr + in.D[Zt] + in.D[Za];
    double retention[3], sum = 0;
    for (int k = 0; k < layers; ++k) sum += retention[k] = (in.TP[static_cast<Zone>(k)] - in.EP[static_cast<Zone>(k)]) * in.D[static_cast<Zone>(k)];
    for (int k = 0; k < layers; ++k) retention[k] /= sum;
    const size_t days = s.Days.size();
    ASSERT_EQ(days, static_cast<size_t>(in.NrTst) * static_cast<size_t>(in.Ts)) << what;
    double d = in.Dwtini, st = s.Stor[0];
    double water = 0, salt = 0;
    for (int i = 1; i <= in.NrTst; ++i) {
        double sums[4] = {0, 0, 0, 0};
        for (int j = 0; j < in.Ts; ++j) {
            const ConservingDay& day = s.Days[static_cast<size_t>(i - 1) * static_cast<size_t>(in.Ts) + static_cast<size_t>(j)];
            ASSERT_EQ(day.d0, d) << what;
            ASSERT_EQ(day.St0, st) << what;
            const double flows = day.WR + day.CapT + day.EvapA + day.PercR + std::fabs(day.dS) + day.Drain + in.Inf + in.Out;
            water = std::max(water, Relative(day.WR + day.CapT - day.EvapA - day.PercR - (day.St1 - day.St0), flows));
            water = std::max(water, Relative(StoredWater(in, day.d1, bottom) - StoredWater(in, day.d0, bottom) -
                                                 (day.PercR - day.CapT + in.Inf - in.Out - day.Drain), flows));
            double above = day.WR, evap = 0;
            for (int k = 0; k < layers; ++k) {
                water = std::max(water, Relative(above - day.q[k] - day.Evap[k] - day.dS * retention[k], flows));
                above = day.q[k];
                evap += day.Evap[k];
            }
            water = std::max(water, Relative(evap - day.EvapA, flows));
            EXPECT_EQ(day.PercR * day.CapT, 0) << what;
            EXPECT_GE(day.St1, 0) << what;
            EXPECT_LE(day.St1, s.RetCap * (1 + 1e-15) + 1e-12) << what;
            sums[0] += day.PercR, sums[1] += day.CapT, sums[2] += day.EvapA, sums[3] += day.Drain;
            d = day.d1, st = day.St1;
        }
        const StepResults& res = s.Results;
        EXPECT_EQ(res.Dwt[i], d) << what << ", step " << i;
        EXPECT_EQ(res.PercT[i], sums[0]) << what;
        EXPECT_EQ(res.CapTT[i], sums[1]) << what;
        EXPECT_EQ(res.EvapAT[i], sums[2]) << what;
        EXPECT_EQ(res.DrainT[i], sums[3]) << what;
        // salt of every zone
        for (int z = 0; z < zones; ++z) {
            const Zone zone = z < layers ? static_cast<Zone>(z) : z == layers ? Zt : Za;
            const double before = i == 1 ? in.Sini[zone] : res.SR[zone][i - 1], after = res.SR[zone][i];
            EXPECT_GE(after, 0) << what;
            const double W = r.run.W[zone];
            auto across = [&](int k) { return s.Salt.Down[static_cast<size_t>(i)][static_cast<size_t>(k)] - s.Salt.Up[static_cast<size_t>(i)][static_cast<size_t>(k)]; };
            double in_ = z > 0 ? across(z - 1) : s.Salt.Irrigation[i];
            double out = z < zones - 1 ? across(z) : 0;
            if (zone == Zt) out += s.Salt.Drained[i];
            if (zone == Za) in_ += in.Inf * in.Sinf * in.Ts, out += s.Salt.Outflow[i];
            salt = std::max(salt, Relative(W * (after - before) - (in_ - out),
                                           W * std::max(before, after) + std::fabs(in_) + std::fabs(out)));
        }
    }
    EXPECT_LT(water, 1e-12) << what;
    EXPECT_LT(salt, 1e-12) << what;
    worstWater = std::max(worstWater, water);
    worstSalt = std::max(worstSalt, salt);
}

}  // namespace

TEST(Conserving, EveryZoneClosesInEveryStep) {
    for (const Situation& situation : Situations)
        for (int layers = 1; layers <= 3; ++layers)
            for (int ts : StepLengths) {
                ModelInput in = Field(layers, ts);
                situation.apply(in);
                const std::string what = std::string(situation.name) + ", " + std::to_string(layers) + " layers, " +
                                         std::to_string(ts) + "-day steps";
                Ran r;
                RunConserving(in, r);
                ASSERT_FALSE(r.state.Stop) << what;
                ExpectClosed(r, what);
            }
    std::cout << "largest relative residual: water " << worstWater << ", salt " << worstSalt << '\n';
}

// The balance report of the variant shows the closure: every discrepancy
// in the balance file is 0 and the verdict reads 0.0 % for every zone, on
// every situation, layer count and step length; the file read back says
// the same.
TEST(Conserving, TheBalanceFileAndTheVerdictShowTheClosure) {
    TempDir dir;
    const char* const salt[3] = {"root zone", "layer 1 0.0 %, layer 2", "layer 1 0.0 %, layer 2 0.0 %, layer 3"};
    for (const Situation& situation : Situations)
        for (int layers = 1; layers <= 3; ++layers)
            for (int ts : StepLengths) {
                ModelInput in = Field(layers, ts, 360);
                situation.apply(in);
                in.InputFileName = dir.File("field.inp");
                const std::string what = std::string(situation.name) + ", " + std::to_string(layers) + " layers, " +
                                         std::to_string(ts) + "-day steps";
                ModelState state;
                ScriptedInteraction ui;
                ASSERT_EQ(RunModel(in, state, ui, RunFiles{false, true}).status, RunStatus::Completed) << what;
                const RunBalance& b = state.Balance;
                ASSERT_EQ(b.steps, in.NrTst) << what;
                for (const BalanceRow& row : b.rows)
                    for (const BalanceTotals& t : {row.step_, row.cumulative}) {
                        const double pct = t.Percent();
                        EXPECT_TRUE(std::isnan(pct) || std::fabs(pct) < 1e-9)
                            << what << ", step " << row.step << ", " << BalanceZoneName(row.zone) << ": " << pct;
                    }
                // A zone through which nothing moved reads n.a.
                std::string verdict = BalanceVerdict(b), rest = verdict;
                for (const std::string word : {"0.0 %", "n.a."})
                    for (size_t at; (at = rest.find(word)) != std::string::npos;) rest.erase(at, word.size());
                EXPECT_EQ(rest.find('%'), std::string::npos) << what << ": " << verdict;
                // and the summary's deviations read 0.0, never -0.0
                EXPECT_EQ(BalanceSummaryText(b).find("-0.0"), std::string::npos) << what;
                if (&situation == Situations) {
                    EXPECT_EQ(verdict, "Water balance (conserving variant): root zone 0.0 %, groundwater 0.0 %, "
                                       "column 0.0 %; salt: " + std::string(salt[layers - 1]) +
                                           " 0.0 %, transition zone 0.0 %, aquifer 0.0 %, column 0.0 %") << what;
                }
                const std::string file = ReadFile(BalanceFileName(in.InputFileName));
                size_t rows = 0;
                for (size_t at = file.find('\n') + 1; at < file.size(); at = file.find('\n', at) + 1, ++rows) {
                    std::vector<std::string> cells(1);
                    for (size_t k = at; file[k] != '\r'; ++k) {
                        if (file[k] == ',') cells.emplace_back();
                        else cells.back().push_back(file[k]);
                    }
                    EXPECT_EQ(cells.back(), "conserving");
                    for (size_t column = 6; column <= 9; ++column)  // discrepancy and percent, step and cumulative
                        EXPECT_TRUE(cells[column].empty() || std::fabs(std::stod(cells[column])) < 1e-9)
                            << what << ": " << file.substr(at, 80);
                }
                EXPECT_EQ(rows, b.rows.size()) << what;
                RunBalance read;
                std::string why;
                ASSERT_TRUE(ReadBalanceCsv(file, read, why)) << why;
                EXPECT_EQ(read.variant, ModelVariant::Conserving);
                EXPECT_EQ(BalanceVerdict(read), verdict) << what;
            }
}

TEST(Conserving, SameDailyRatesGiveTheSameTrajectoryAtEveryStepLength) {
    // 2520 days are 7 years, 84 months, 360 weeks or 2520 days; the daily
    // rates hold for the whole run, with and without sub-steps, seepage and
    // capillary rise.
    for (int layers = 1; layers <= 3; ++layers)
        for (double qh1 : {0.01, 0.05}) {
            std::vector<ConservingDay> daily;
            std::vector<double> salinity;  // end of every 2520-day run, per zone
            for (int ts : {1, 7, 30, 360}) {
                ModelInput in = Field(layers, ts, 2520);
                in.QH1 = qh1, in.Inf = 0.75, in.Out = 0.25, in.CDc = 1.8;
                for (int i = 1; i <= in.NrTst; ++i) in.Rain[i] = ts * 1.5, in.Irrig[i] = ts * 2.25, in.EvapT[i] = ts * 4.5;
                Ran r;
                RunConserving(in, r);
                const std::string what = std::to_string(layers) + " layers, QH1 " + std::to_string(qh1) + ", " + std::to_string(ts);
                std::vector<double> end;
                for (Zone z : EveryZone) end.push_back(r.state.Results.SR[z][in.NrTst]);
                if (ts == 1) {
                    daily = r.state.Days;
                    salinity = end;
                    continue;
                }
                ASSERT_EQ(r.state.Days.size(), daily.size()) << what;
                for (size_t k = 0; k < daily.size(); ++k) {
                    ASSERT_NEAR(r.state.Days[k].d1, daily[k].d1, 1e-14) << what << ", day " << k;
                    ASSERT_NEAR(r.state.Days[k].St1, daily[k].St1, 1e-12) << what << ", day " << k;
                }
                for (int z = 0; z < ZoneCount; ++z) EXPECT_NEAR(end[z], salinity[z], 1e-12) << what;
            }
        }
}

TEST(Conserving, WhereThePrescribedModelConservesTheOutputIsTheSame) {
    // Daily steps, a full root zone with a surplus every day, no capillary
    // rise, no seepage, the water table inside the transition zone, no
    // floors and an irrigation efficiency of 100 %.
    TempDir dir;
    for (int layers = 1; layers <= 3; ++layers)
        for (double qh1 : {0.01, 0.05}) {
            ModelInput in = Field(layers, 1, 200);
            in.QH1 = qh1, in.Inf = in.Out = 0, in.SMini = 100, in.IrrEff = 100, in.CDc = 0.9, in.Dwtini = 1.5;
            in.Dd = 1.9;
            for (int i = 1; i <= in.NrTst; ++i) in.Rain[i] = 2, in.Irrig[i] = 6 + (i % 3), in.EvapT[i] = 5;
            std::string text[2];
            for (ModelVariant v : {ModelVariant::Prescribed, ModelVariant::Conserving}) {
                in.Variant = v;
                in.InputFileName = dir.File(std::string(VariantWord(v)) + ".inp");
                ModelState state;
                ScriptedInteraction ui;
                ASSERT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);
                const std::string out = ReadFile(OutputFileName(in.InputFileName));
                text[static_cast<int>(v)] = out.substr(out.find("\r\n", out.find("\r\n") + 2));  // after lines 1 and 2
                EXPECT_EQ(out.rfind(v == ModelVariant::Conserving ? "OUTPUT OF Halovane (conserving variant)\r\n"
                                                                 : "OUTPUT OF Halovane\r\n", 0), 0u);
            }
            EXPECT_EQ(text[0], text[1]) << layers << " layers, QH1 " << qh1;
        }
}

TEST(Conserving, TheSpreadIrrigationKeepsEveryMillimetre) {
    // Windows that overlap (a wet day inside the dry days of an earlier one)
    // and windows that do not; longer steps keep the series as it is.
    struct Pattern {
        std::vector<double> irrigation;
        bool overlapping;  // a window covers the small irrigation of a later one
    };
    const Pattern patterns[] = {
        {{0, 40, 0, 0, 0, 0, 0, 0}, false},
        {{0, 40, 0, 30, 0, 0, 25, 0, 0, 0}, false},
        {{0, 12, 0, 0.005, 9, 0, 0, 0}, true},
        {{0, 10, 20, 30, 0, 0}, false},
    };
    for (const Pattern& p : patterns)
        for (int ts : {1, 30}) {
            ModelInput in;
            in.Ts = ts;
            in.NrTst = static_cast<int>(p.irrigation.size()) - 1;
            in.Irrig = p.irrigation;
            ModelInput prescribed = in;
            DistributeIrrigation(prescribed);
            DistributeIrrigationAdding(in);
            double given = 0, spread = 0;
            for (int i = 1; i <= in.NrTst; ++i) given += p.irrigation[i], spread += in.IrrDist[i];
            EXPECT_NEAR(spread, given, 1e-12 * given);
            if (ts != 1 || !p.overlapping) {
                EXPECT_EQ(in.IrrDist, prescribed.IrrDist);
            } else {
                EXPECT_NE(in.IrrDist, prescribed.IrrDist);
            }
        }
}

TEST(Conserving, TheVariantIsNamedInTheInputFileAndTheOutputHeader) {
    ModelInput in = Field(2, 30, 360);
    in.InputFileName = "field.inp";
    for (ModelVariant v : {ModelVariant::Prescribed, ModelVariant::Conserving}) {
        in.Variant = v;
        const std::string text = InputFileText(in);
        EXPECT_EQ(text.find(" Model variant") != std::string::npos, v == ModelVariant::Conserving);
        ModelInput back;
        back.Variant = v == ModelVariant::Conserving ? ModelVariant::Prescribed : ModelVariant::Conserving;
        NumberFormat point;
        ASSERT_TRUE(ParseInputText(text, "field.inp", back, point).Ok());
        EXPECT_EQ(back.Variant, v);
        back.InputFileName = in.InputFileName;
        EXPECT_EQ(InputFileText(back), text);
    }
    // The output file, the CSV and the fit report of a conserving run say
    // so, and read back; those of the prescribed model are as before.
    for (ModelVariant v : {ModelVariant::Prescribed, ModelVariant::Conserving}) {
        in.Variant = v;
        const bool conserving = v == ModelVariant::Conserving;
        Ran r;
        RunConserving(in, r);
        OutputReadback back;
        back.Variant = conserving ? ModelVariant::Prescribed : ModelVariant::Conserving;
        NumberFormat point;
        ASSERT_TRUE(ParseOutputText(OutputFileText(in, r.state, "field.out"), "field.out", back, point).ok);
        EXPECT_EQ(back.Variant, v);
        const std::string csv = ResultsCsv(in, r.state);
        EXPECT_EQ(csv.substr(0, csv.find('\r')).rfind(",model_variant") != std::string::npos, conserving);
        FitReport report, read;
        report.layers = 2, report.variant = v;
        std::string message;
        ASSERT_TRUE(ParseFitReport(FitCsv(report), ProfileCsv(report), read, message)) << message;
        EXPECT_EQ(read.variant, v);
        EXPECT_EQ(FitCsv(report) == FitCsvHeader + std::string("\r\n"), !conserving);
    }
    in.Variant = ModelVariant::Conserving;
    // Any other word is refused, naming the line.
    const std::string text = InputFileText(in);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (const char* word : {"conserve", "", "Conserving"}) {
        std::string bad = text;
        bad.replace(bad.rfind("conserving"), 10, word);
        ModelInput back;
        NumberFormat point;
        const InputReadResult read = ParseInputText(bad, "field.inp", back, point);
        EXPECT_FALSE(read.Ok()) << word;
        EXPECT_EQ(read.line, lines) << word;
        EXPECT_NE(read.message.find("line " + std::to_string(lines)), std::string::npos) << read.message;
    }
}

TEST(Conserving, TheSearchFindsTheEfficiencyThatMadeTheMeasurements) {
    // Measured salinities made by the variant itself with an efficiency of
    // 60 % in one zone: the search of that zone comes back to 0.60 from a
    // given 90 %, on one thread and on two alike.
    for (int layers = 1; layers <= 3; ++layers)
        for (Zone zone : EveryZone) {
            if (!ZoneInUse(layers, zone)) continue;
            ModelInput in = Field(layers, 30);
            in.Inf = 0.5, in.Out = 0.9;
            in.LE[zone] = 60;
            Ran made;
            RunConserving(in, made);
            in.ECsm[zone] = made.state.Results.SR[zone];
            in.LE[zone] = 90;
            std::vector<SearchProfile> profiles[2];
            for (int threads : {1, 2}) {
                Ran r;
                RunConserving(in, r);
                r.state.Counts = CountMeasurements(r.run.in);
                RunConservingSearches(r.run, r.state, threads, &profiles[threads - 1]);
                EXPECT_NEAR(r.state.Fit[static_cast<size_t>(zone)].LE, 0.60, 1e-9)
                    << layers << " layers, zone " << static_cast<int>(zone);
            }
            ASSERT_FALSE(profiles[0].empty());
            ASSERT_EQ(profiles[0].size(), profiles[1].size());
            for (size_t k = 0; k < profiles[0].size(); ++k) EXPECT_EQ(profiles[0][k].scores, profiles[1][k].scores);
        }
}
