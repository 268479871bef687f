#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <filesystem>
#include <limits>

#include "EngineSupport.h"
#include "Fields.h"
#include "InputFile.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "Validation.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// A sound two-layer monthly data set with drains at 1 m (root zone 0.6 m,
// transition zone down to 2.1 m).
ModelInput Sound(int layers = 2) {
    ModelInput in;
    in.Title1 = "Checked field";
    in.NrTst = 4;
    in.Ts = 30;
    in.NrLayers = layers;
    ResizeHydrologicalSeries(in, 4);
    ResizeMeasuredSeries(in, 4, -1);
    for (int i = 1; i <= 4; ++i) {
        in.Rain[i] = 20;
        in.Irrig[i] = 150;
        in.EvapT[i] = 120;
    }
    in.D[Z1] = 0.3, in.D[Z2] = 0.3, in.D[Z3] = 0.4, in.D[Zt] = 1.5, in.D[Za] = 10;
    in.TP[Z1] = 45, in.TP[Z2] = 44, in.TP[Z3] = 43, in.TP[Zt] = 42, in.TP[Za] = 40;
    in.EP[Z1] = 8, in.EP[Z2] = 7, in.EP[Z3] = 6, in.EP[Zt] = 5, in.EP[Za] = 10;
    in.LE[Z1] = 80, in.LE[Z2] = 75, in.LE[Z3] = 70, in.LE[Zt] = 70, in.LE[Za] = 100;
    in.Sini[Z1] = 4, in.Sini[Z2] = 5, in.Sini[Z3] = 6, in.Sini[Zt] = 7, in.Sini[Za] = 8;
    in.DrainPresent = true, in.Dd = 1.0, in.QH1 = 0.01, in.QH2 = 0.002;
    in.Si = 1.2, in.Dwtini = 1.5, in.CDc = 1.2, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.5, in.Out = 0.3, in.Sinf = 2.5;
    DistributeIrrigation(in);
    return in;
}

// The problems of the range rules: the warnings about what the model makes
// of allowed values (monthly steps, for one) are tested with the balance.
std::vector<Problem> Checked(const ModelInput& in) {
    std::vector<Problem> problems = ValidateDataSet(in);
    problems.erase(std::remove_if(problems.begin(), problems.end(),
                                  [](const Problem& p) { return !p.consequence.empty(); }),
                   problems.end());
    return problems;
}

struct Case {
    const char* field;  // part of the field's name in the problem
    Severity severity;
    const char* group;
    int row;
    int layers;
    void (*spoil)(ModelInput&);
};

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// One bad value per case: each must give exactly its one problem.
const Case Cases[] = {
    {"number of time steps", E, "General data", 0, 2, [](ModelInput& in) { in.NrTst = 0; }},
    {"number of time steps", E, "General data", 0, 2, [](ModelInput& in) { in.NrTst = MaxTimeSteps + 1; }},
    {"length of a time step", E, "General data", 0, 2, [](ModelInput& in) { in.Ts = 5; }},
    {"number of root-zone layers", E, "General data", 0, 2, [](ModelInput& in) { in.NrLayers = 4; }},
    {"first title", E, "General data", 0, 2, [](ModelInput& in) { in.Title1 = "two\nlines"; }},
    {"second title", E, "General data", 0, 2, [](ModelInput& in) { in.Title2 = "cr\r"; }},

    {"rainfall", E, "Hydrological data", 2, 2, [](ModelInput& in) { in.Rain[2] = -1; }},
    {"irrigation", E, "Hydrological data", 3, 2, [](ModelInput& in) { in.Irrig[3] = NaN; }},
    {"potential evapotranspiration", E, "Hydrological data", 1, 2, [](ModelInput& in) { in.EvapT[1] = -0.5; }},
    {"rainfall", E, "Hydrological data", 0, 2, [](ModelInput& in) { in.Rain.resize(3); }},
    {"rainfall", W, "Hydrological data", 4, 2, [](ModelInput& in) { in.Rain[4] = 15001; }},
    {"irrigation", W, "Hydrological data", 1, 2, [](ModelInput& in) { in.Irrig[1] = 16000; }},
    {"potential evapotranspiration", W, "Hydrological data", 2, 2, [](ModelInput& in) { in.EvapT[2] = 601; }},

    {"thickness of layer 1", E, "Soil properties", 0, 2, [](ModelInput& in) { in.D[Z1] = -0.1; }},
    {"thickness of layer 3", E, "Soil properties", 0, 3, [](ModelInput& in) { in.D[Z3] = 0; }},
    {"thickness of the root zone", E, "Soil properties", 0, 1, [](ModelInput& in) { in.D[Z1] = Inf; }},
    {"thickness of the transition zone", E, "Soil properties", 0, 2, [](ModelInput& in) { in.D[Zt] = -1; }},
    {"thickness of the aquifer", E, "Soil properties", 0, 2, [](ModelInput& in) { in.D[Za] = 0; }},
    {"total porosity of layer 2", E, "Soil properties", 0, 2, [](ModelInput& in) { in.TP[Z2] = 150; }},
    {"total porosity of the transition zone", E, "Soil properties", 0, 2, [](ModelInput& in) { in.TP[Zt] = 0; }},
    {"effective porosity of layer 1", E, "Soil properties", 0, 2, [](ModelInput& in) { in.EP[Z1] = 0; }},
    {"effective porosity of the aquifer", E, "Soil properties", 0, 2, [](ModelInput& in) { in.EP[Za] = 41; }},
    {"leaching efficiency of layer 3", E, "Soil properties", 0, 3, [](ModelInput& in) { in.LE[Z3] = -1; }},
    {"leaching efficiency of layer 1", E, "Soil properties", 0, 2, [](ModelInput& in) { in.LE[Z1] = 191; }},
    {"initial salinity of layer 2", E, "Soil properties", 0, 2, [](ModelInput& in) { in.Sini[Z2] = -0.1; }},
    {"initial salinity of the aquifer", W, "Soil properties", 0, 2, [](ModelInput& in) { in.Sini[Za] = 150; }},

    {"measured salinity of layer 1", W, "Salinity data", 2, 2, [](ModelInput& in) { in.ECsm[Z1][2] = -5; }},
    {"measured salinity of the aquifer", E, "Salinity data", 3, 2, [](ModelInput& in) { in.ECsm[Za][3] = Inf; }},
    {"measured salinity of the transition zone", W, "Salinity data", 1, 2,
     [](ModelInput& in) { in.ECsm[Zt][1] = 150; }},

    {"depth of the drains", E, "Drainage data", 0, 2, [](ModelInput& in) { in.Dd = -1; }},
    {"depth of the drains", E, "Drainage data", 0, 2, [](ModelInput& in) { in.Dd = 0.5; }},  // in the root zone
    {"depth of the drains", E, "Drainage data", 0, 2, [](ModelInput& in) { in.Dd = 2.2; }},  // below Dr + Dt
    {"reaction factor QH1", E, "Drainage data", 0, 2, [](ModelInput& in) { in.QH1 = -0.01; }},
    {"reaction factor QH2", E, "Drainage data", 0, 2, [](ModelInput& in) { in.QH2 = -1; }},
    {"reaction factors QH1 and QH2", E, "Drainage data", 0, 2, [](ModelInput& in) { in.QH1 = in.QH2 = 0; }},

    {"salinity of the irrigation water", E, "Initial and boundary conditions", 0, 2,
     [](ModelInput& in) { in.Si = -1; }},
    {"initial depth of the water table", E, "Initial and boundary conditions", 0, 2,
     [](ModelInput& in) { in.Dwtini = 12.2; }},  // below the aquifer's bottom at 12.1 m
    {"critical depth", E, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.CDc = -1; }},
    {"initial soil moisture", E, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.SMini = 120; }},
    {"initial soil moisture", W, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.SMini = 10; }},
    {"irrigation efficiency", E, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.IrrEff = 1e-322; }},
    {"irrigation efficiency", E, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.IrrEff = 101; }},
    {"irrigation efficiency", W, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.IrrEff = 20; }},
    {"inflow of groundwater", E, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.Inf = -1; }},
    {"outflow of groundwater", E, "Initial and boundary conditions", 0, 2, [](ModelInput& in) { in.Out = -0.1; }},
    {"salinity of the groundwater inflow", E, "Initial and boundary conditions", 0, 2,
     [](ModelInput& in) { in.Sinf = -2; }},
};

}  // namespace

TEST(Validation, EveryFieldHasItsRule) {
    for (int layers = 1; layers <= 3; ++layers) EXPECT_TRUE(Checked(Sound(layers)).empty()) << layers;
    for (const Case& c : Cases) {
        ModelInput in = Sound(c.layers);
        c.spoil(in);
        const std::vector<Problem> problems = Checked(in);
        ASSERT_EQ(problems.size(), 1u) << c.field << "\n" << ProblemReport(problems);
        const Problem& p = problems[0];
        EXPECT_EQ(p.severity, c.severity) << c.field;
        EXPECT_EQ(p.group, c.group) << c.field;
        EXPECT_NE(p.field.find(c.field), std::string::npos) << p.field;
        EXPECT_EQ(p.row, c.row) << c.field;
        EXPECT_FALSE(p.value.empty());
        EXPECT_FALSE(p.allowed.empty());
    }
}

TEST(Validation, UnusualButPhysicalDataPass) {
    ModelInput in = Sound(3);
    in.LE[Zt] = in.LE[Za] = 0;             // the output file leaves out their lines
    in.Dwtini = -0.5;                // water above the surface
    in.Rain[1] = in.Irrig[2] = 0;    // dry steps
    in.ECsm[Z2][3] = 0;                 // zero is "not measured"
    in.D[Zt] = 0;                       // no transition zone
    in.DrainPresent = false;         // the drain depth is then not used
    in.Dd = -5;
    in.IrrEff = 100, in.SMini = 100;
    in.EP[Z1] = in.TP[Z1];                 // all pores drainable
    EXPECT_TRUE(Checked(in).empty()) << ProblemReport(Checked(in));
    // Layers beyond the root zone keep what they held.
    ModelInput one = Sound(1);
    one.D[Z2] = -3, one.TP[Z3] = 500, one.ECsm[Z2][1] = NaN;
    EXPECT_TRUE(Checked(one).empty());
}

TEST(Validation, ReportsEveryProblemAtOnce) {
    ModelInput in = Sound(2);
    in.TP[Z1] = 150;
    in.LE[Z2] = -1;
    in.IrrEff = 20;
    for (int i = 1; i <= 4; ++i) in.EvapT[i] = -i;
    const std::vector<Problem> problems = Checked(in);
    EXPECT_EQ(CountOf(problems, Severity::Error), 6);
    EXPECT_EQ(CountOf(problems, Severity::Warning), 1);
    EXPECT_TRUE(HasErrors(problems));
    const std::string report = ProblemReport(problems);
    EXPECT_EQ(report.rfind("The data set has 6 errors and 1 warning. The calculations cannot be made", 0), 0u)
        << report;
    EXPECT_NE(report.find("\nError: Soil properties, total porosity of layer 1: 150 %; allowed: above 0 % up to "
                          "100 %"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\nError: Hydrological data, potential evapotranspiration in time step 3: -3 mm; "
                          "allowed: 0 mm or more"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\nWarning: Initial and boundary conditions, irrigation efficiency: 20 %"),
              std::string::npos);
}

TEST(Validation, ALongSeriesOfOneProblemIsSummed) {
    ModelInput in = Sound(1);
    in.NrTst = 1000;
    ResizeHydrologicalSeries(in, 1000);
    ResizeMeasuredSeries(in, 1000, -1);
    for (int i = 1; i <= 1000; ++i) in.Rain[i] = -1;
    const std::vector<Problem> problems = Checked(in);
    EXPECT_EQ(problems.size(), 1000u);
    const std::string report = ProblemReport(problems);
    EXPECT_NE(report.find("rainfall in time step 5:"), std::string::npos);
    EXPECT_EQ(report.find("rainfall in time step 6:"), std::string::npos);
    EXPECT_NE(report.find("... and the same in 995 more time steps"), std::string::npos) << report;
    EXPECT_LT(report.size(), 1000u);
}

TEST(Validation, TheRunRefusesErrorsBeforeWritingAndRunsWithWarnings) {
    TempDir dir;
    ModelInput in = Sound(2);
    in.InputFileName = dir.File("field.inp");
    in.TP[Zt] = 150;
    in.Inf = -1;
    ModelState state;
    ScriptedInteraction ui(true, true);
    RunOutcome outcome = RunModel(in, state, ui);
    EXPECT_EQ(outcome.status, RunStatus::Refused);
    EXPECT_NE(outcome.message.find("total porosity of the transition zone: 150 %"), std::string::npos);
    EXPECT_NE(outcome.message.find("inflow of groundwater: -1 mm/day"), std::string::npos);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("field.out")));

    in = Sound(2);
    in.InputFileName = dir.File("field.inp");
    in.IrrEff = 25;  // a warning only
    outcome = RunModel(in, state, ui);
    EXPECT_EQ(outcome.status, RunStatus::Completed) << outcome.message;
    EXPECT_TRUE(std::filesystem::exists(dir.File("field.out")));
}

TEST(Validation, ShippedDataSetsHaveNoErrors) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(HALOVANE_EXAMPLES))
        if (e.path().extension() == ".inp") files.push_back(e.path().string());
    for (const auto& e : std::filesystem::recursive_directory_iterator(std::string(HALOVANE_TEST_DATA) + "/../cases"))
        if (e.path().extension() == ".inp") files.push_back(e.path().string());
    for (const char* name : {"example-1layer.inp", "legacy-oldest.inp", "legacy-oldest.upgraded.inp"})
        files.push_back(DataFile(name));
    ASSERT_GE(files.size(), 16u);
    for (const std::string& file : files) {
        ModelInput in;
        in.InputFileName = file;
        ASSERT_TRUE(ReadInputFile(in).Ok()) << file;
        EXPECT_FALSE(HasErrors(Checked(in))) << file << "\n" << ProblemReport(Checked(in));
    }
}

// ------------------------------------------------ the table of fields

TEST(Fields, EveryFieldIsFoundByItsNameAndReachesItsOwnValue) {
    std::set<std::string> names;
    for (const Field& f : AllFields()) {
        EXPECT_EQ(FindField(f.name), &f);
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_EQ(f.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos) << f.name;
        EXPECT_FALSE(f.label.empty() || f.caption.empty()) << f.name;
        // Writing a field changes that field and no other.
        ModelInput in = Sound(3), before = in;
        if (f.kind == FieldKind::Text) {
            f.SetText(in, "changed");
            EXPECT_EQ(f.TextOf(in), "changed");
        } else if (f.kind == FieldKind::PerStep) {
            f.SeriesOf(in)[2] = 77;
            EXPECT_EQ(f.SeriesOf(in)[2], 77);
        } else {
            const double to = f.access.flag ? 1 - f.Get(in) : f.Get(in) + 1;
            f.Set(in, to);
            EXPECT_EQ(f.Get(in), to) << f.name;
        }
        int changed = 0;
        for (const Field& g : AllFields()) {
            if (g.kind == FieldKind::Text) changed += g.TextOf(in) != g.TextOf(before);
            else if (g.kind == FieldKind::PerStep) changed += g.SeriesOf(in) != g.SeriesOf(before);
            else changed += g.Get(in) != g.Get(before);
        }
        EXPECT_EQ(changed, 1) << f.name;
    }
    EXPECT_EQ(FindField("no_such_field"), nullptr);
    EXPECT_EQ(ZoneField("total_porosity", Zt).access.zoneNumber, &ModelInput::TP);
    EXPECT_EQ(FieldNamed("qh2").access.number, &ModelInput::QH2);
    EXPECT_EQ(ZoneField("measured_salinity", Za).LabelFor(1), "measured salinity of the aquifer");
    EXPECT_EQ(ZoneField("thickness", Z1).LabelFor(1), "thickness of the root zone");
}

// The check before a run refuses a value just outside each field's allowed
// range, under the field's own name, and passes one inside it.
TEST(Fields, TheCheckBeforeARunReadsEveryRange) {
    int checked = 0;
    for (const Field& f : AllFields()) {
        if (f.kind == FieldKind::Text || f.integer || f.group == FieldGroup::Salinity) continue;
        const Range& r = f.allowed;
        std::vector<double> outside;
        if (std::isfinite(r.low)) outside.push_back(r.lowIncluded ? r.low - 0.5 : r.low);
        if (std::isfinite(r.high)) outside.push_back(r.high + 0.5);
        outside.push_back(NaN);
        for (double v : outside) {
            ModelInput in = Sound(3);
            if (f.kind == FieldKind::PerStep) f.SeriesOf(in)[2] = v;
            else f.Set(in, v);
            const std::vector<Problem> problems = ValidateDataSet(in);
            const bool named = std::any_of(problems.begin(), problems.end(), [&](const Problem& p) {
                return p.severity == Severity::Error && p.field == f.LabelFor(3) && p.group == GroupName(f.group) &&
                       p.row == (f.kind == FieldKind::PerStep ? 2 : 0);
            });
            EXPECT_TRUE(named) << f.name << " = " << v << "\n" << ProblemReport(problems);
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);
}

// The file keeps each field's decimals: a value written and read back is
// the value the table says the file stores.
TEST(Fields, TheFileStoresEachFieldWithItsDecimals) {
    TempDir dir;
    ModelInput in = Sound(3);
    in.InputFileName = dir.File("decimals.inp");
    std::vector<std::pair<const Field*, double>> written;
    double v = 1.123456;
    for (const Field& f : AllFields()) {
        if (f.kind == FieldKind::Text || f.integer) continue;
        v += 0.0101;
        if (f.kind == FieldKind::PerStep) f.SeriesOf(in)[3] = v;
        else f.Set(in, v);
        written.emplace_back(&f, v);
    }
    ModelInput back;
    NumberFormat point;
    ASSERT_TRUE(ParseInputText(InputFileText(in), in.InputFileName, back, point).Ok());
    for (const auto& [f, value] : written) {
        const double read = f->kind == FieldKind::PerStep ? f->SeriesOf(back)[3] : f->Get(back);
        EXPECT_EQ(read, f->Stored(value)) << f->name;
        EXPECT_EQ(read, RoundAsStored(value, f->decimals)) << f->name;
    }
    EXPECT_EQ(RoundAsStored(213.456, 2), 213.46);
    EXPECT_EQ(RoundAsStored(72.5, 0), 72);  // the notation's rounding: a tie goes to the even digit
}

// Saving rounds to the file's decimals; a rounding that turns a refused
// value into an accepted one, or the reverse, is named, any other is not.
TEST(Fields, ARoundingThatChangesAVerdictIsNamed) {
    struct Case {
        const char* field;
        double value;
        const char* named;  // empty: no verdict changes
    };
    for (const Case& c :
         {Case{"irrigation_efficiency", 0.99, "irrigation efficiency: 0.99 % is refused, but saved as 1 % it would be "
                                              "accepted (allowed: 1 % up to 100 %)"},
          Case{"effective_porosity_layer1", 1e-308,
               "effective porosity of layer 1: 1e-308 % is accepted, but saved as 0 % it would be refused"},
          Case{"irrigation_salinity", 1.25, ""}, Case{"qh1", 0.01234, ""}}) {
        ModelInput in = Sound();
        FieldNamed(c.field).Set(in, c.value);
        ModelInput stored = in;
        EXPECT_EQ(RoundAsFileStores(stored).size(), 1u) << c.field;
        const std::string report = RoundingChangesChecks(in, stored);
        if (*c.named == 0)
            EXPECT_EQ(report, "") << c.field;
        else
            EXPECT_NE(report.find(std::string("\n") + c.named), std::string::npos) << report;
    }
}

// ------------------------------------------------ names of the results

TEST(RunNames, ResultsNeverGoOverTheInputItself) {
    TempDir dir;
    ModelInput in = Sound(1);
    in.InputFileName = dir.File("field.out");
    ASSERT_EQ(WriteInputFile(in), "");
    const std::string before = ReadFile(in.InputFileName);
    ModelState state;
    ScriptedInteraction ui;
    RunOutcome outcome = RunModel(in, state, ui);
    EXPECT_EQ(outcome.status, RunStatus::Refused);
    EXPECT_NE(outcome.message.find("would be written over the input data file itself"), std::string::npos);
    EXPECT_EQ(ReadFile(in.InputFileName), before);

    // With the CSV file an input named FILE.csv is refused; FILE.out is
    // written together with FILE.csv otherwise.
    in.InputFileName = dir.File("field.csv");
    EXPECT_EQ(RunModel(in, state, ui, RunFiles{true}).status, RunStatus::Refused);
    EXPECT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);
    in.InputFileName = dir.File("FIELD");  // no extension: FIELD.out, FIELD.csv
    EXPECT_EQ(RunModel(in, state, ui, RunFiles{true}).status, RunStatus::Completed);
    EXPECT_TRUE(std::filesystem::exists(dir.File("FIELD.csv")));
    EXPECT_EQ(OutputOverwritesInput(dir.File("a.inp"), RunFiles{true}), "");
    // Also when the input is a link to the file its results would replace.
    WriteFile(dir.File("g.out"), before);
    std::error_code noLinks;  // Wine makes no symbolic links
    std::filesystem::create_symlink(dir.File("g.out"), dir.File("g.inp"), noLinks);
    if (!noLinks) {
        EXPECT_NE(OutputOverwritesInput(dir.File("g.inp"), RunFiles{}), "");
    }
    // A name that differs in case only is the same file where names ignore case.
    EXPECT_NE(OutputOverwritesInput(dir.File("x.OUT"), RunFiles{}), "");
    EXPECT_NE(OutputOverwritesInput(dir.File("x.Csv"), RunFiles{true}), "");
    EXPECT_EQ(OutputOverwritesInput(dir.File("x.Csv"), RunFiles{}), "");
}

TEST(RunNames, OneCallNeverWritesTwoInputsResultsToOneName) {
    TempDir dir;
    const std::string a = dir.File("a.inp"), b = dir.File("a.dat"), c = dir.File("c.inp"),
                      d = dir.Path().string() + "/sub/../a.inp";
    std::filesystem::create_directory(dir.File("sub"));
    std::vector<std::string> clashes = OutputNameClashes({a, b, c, d}, RunFiles{});
    ASSERT_EQ(clashes.size(), 4u);
    EXPECT_EQ(clashes[0], "");
    EXPECT_NE(clashes[1].find(b), std::string::npos);
    EXPECT_NE(clashes[1].find(a), std::string::npos);
    EXPECT_EQ(clashes[2], "");
    EXPECT_NE(clashes[3].find("a.out"), std::string::npos);  // the same file given twice

    // An input named like another input's results.
    clashes = OutputNameClashes({dir.File("x.out"), dir.File("x.inp")}, RunFiles{});
    EXPECT_EQ(clashes[0], "");  // refused for itself by OutputOverwritesInput
    EXPECT_NE(clashes[1].find("written over " + dir.File("x.out")), std::string::npos) << clashes[1];

    // With the CSV files, the results of y.inp would replace the input y.csv.
    clashes = OutputNameClashes({dir.File("y.inp"), dir.File("y.csv")}, RunFiles{true});
    EXPECT_NE(clashes[0].find("written over " + dir.File("y.csv")), std::string::npos) << clashes[0];
}

TEST(RunNames, OutputAndCsvAreReplacedTogether) {
    TempDir dir;
    ModelInput in = Sound(2);
    in.InputFileName = dir.File("field.inp");
    WriteFile(dir.File("field.out"), "old results");
    std::filesystem::create_directory(dir.File("field.csv"));  // the CSV file cannot be written
    ModelState state;
    ScriptedInteraction ui;
    const RunOutcome outcome = RunModel(in, state, ui, RunFiles{true});
    EXPECT_EQ(outcome.status, RunStatus::WriteFailed);
    EXPECT_NE(outcome.message.find("field.csv"), std::string::npos);
    EXPECT_EQ(ReadFile(dir.File("field.out")), "old results");
    std::filesystem::remove(dir.File("field.csv"));
    ASSERT_EQ(RunModel(in, state, ui, RunFiles{true}).status, RunStatus::Completed);
    EXPECT_EQ(ReadFile(dir.File("field.out")).rfind("OUTPUT OF Halovane", 0), 0u);
    EXPECT_EQ(ReadFile(dir.File("field.csv")).rfind("step,rain_mm", 0), 0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}
