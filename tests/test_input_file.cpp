#include <algorithm>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <tuple>

#include "InputFile.h"
#include "RunData.h"
#include "TestSupport.h"
#include "TextFile.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// The one-layer example data set that the reference example file holds.
ModelInput ExampleOneLayer() {
    ModelInput in;
    in.InputFileName = "/data/example.inp";
    in.Title1 = "Example field";
    in.Title2 = "Three monthly steps";
    in.NrTst = 3;
    in.Ts = 30;
    in.NrLayers = 1;
    in.DrainPresent = true;
    in.Dd = 1.8;
    in.QH1 = 0.012;
    in.QH2 = 0.0035;
    in.Si = 1.2;
    in.Sini[Z1] = 4.0;
    in.Sini[Zt] = 7.0;
    in.Sini[Za] = 8.0;
    in.Dwtini = 1.5;
    in.CDc = 1.2;
    in.SMini = 60;
    in.IrrEff = 70;
    in.Inf = 0.5;
    in.Out = 0.3;
    in.Sinf = 2.5;
    in.Rain = {0, 120, 35.5, 0};
    in.Irrig = {0, 0, 250, 300};
    in.EvapT = {0, 210, 380.25, 420};
    in.D[Z1] = 0.8;
    in.D[Zt] = 1.5;
    in.D[Za] = 20;
    in.TP[Z1] = 45, in.EP[Z1] = 8, in.LE[Z1] = 80;
    in.TP[Zt] = 42, in.EP[Zt] = 6, in.LE[Zt] = 70;
    in.TP[Za] = 40, in.EP[Za] = 10, in.LE[Za] = 100;
    in.ECsm[Z1] = {0, 3.2, -1, 4.75};
    in.ECsm[Zt] = {0, -1, 5.5, 6.1};
    in.ECsm[Za] = {0, 0, -1, 2.35};
    in.ECsm[Z2] = in.ECsm[Z3] = {0, -1, -1, -1};
    return in;
}

// The three-layer example: its soil and measured-salinity sections.
ModelInput ExampleThreeLayers() {
    ModelInput in = ExampleOneLayer();
    in.NrLayers = 3;
    in.NrTst = 2;
    in.Ts = 1;
    in.Rain = {0, 1, 2};
    in.Irrig = {0, 3, 4};
    in.EvapT = {0, 5, 6};
    in.D[Z1] = 0.2, in.D[Z2] = 0.3, in.D[Z3] = 0.5, in.D[Zt] = 1.0, in.D[Za] = 15;
    in.TP[Z1] = 48, in.EP[Z1] = 9, in.LE[Z1] = 90;
    in.TP[Z2] = 46, in.EP[Z2] = 8, in.LE[Z2] = 85;
    in.TP[Z3] = 45, in.EP[Z3] = 7, in.LE[Z3] = 80;
    in.ECsm[Z1] = {0, 3.2, -1};
    in.ECsm[Z2] = {0, -1, 2.8};
    in.ECsm[Z3] = {0, 4.1, 0};
    in.ECsm[Zt] = {0, 6.0, -1};
    in.ECsm[Za] = {0, 2.35, 2.5};
    return in;
}

std::string Crlf(const std::string& lf) {
    std::string out;
    for (char c : lf) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

ModelInput Read(const std::string& text, InputReadResult* result = nullptr) {
    ModelInput in;
    NumberFormat format;
    const InputReadResult r = ParseInputText(text, "test.inp", in, format);
    if (result) *result = r;
    else EXPECT_TRUE(r.Ok()) << r.message;
    return in;
}

// Values compared at the precision the file writes them with.
void ExpectSameAsWritten(const ModelInput& a, const ModelInput& b) {
    auto near = [](double x, double y, int decimals) {
        return std::fabs(x - y) <= 0.5 * std::pow(10.0, -decimals) + 1e-9 * std::fabs(x);
    };
    EXPECT_EQ(a.Title1, b.Title1);
    EXPECT_EQ(a.Title2, b.Title2);
    ASSERT_EQ(a.NrTst, b.NrTst);
    EXPECT_EQ(a.Ts, b.Ts);
    EXPECT_EQ(a.NrLayers, b.NrLayers);
    EXPECT_EQ(a.DrainPresent, b.DrainPresent);
    if (a.DrainPresent) {
        EXPECT_TRUE(near(a.Dd, b.Dd, 2));
        EXPECT_TRUE(near(a.QH1, b.QH1, 4));
        EXPECT_TRUE(near(a.QH2, b.QH2, 4));
    }
    for (auto [x, y, d] : {std::tuple{a.Si, b.Si, 1}, {a.Sini[Z1], b.Sini[Z1], 1}, {a.Sini[Zt], b.Sini[Zt], 1},
                           {a.Sini[Za], b.Sini[Za], 1}, {a.Dwtini, b.Dwtini, 2}, {a.CDc, b.CDc, 2},
                           {a.SMini, b.SMini, 2}, {a.IrrEff, b.IrrEff, 1}, {a.Inf, b.Inf, 1}, {a.Out, b.Out, 1},
                           {a.Sinf, b.Sinf, 1}})
        EXPECT_TRUE(near(x, y, d)) << x << " " << y;
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        if (!ZoneInUse(a.NrLayers, zone)) continue;
        EXPECT_TRUE(near(a.D[zone], b.D[zone], 2));
        EXPECT_TRUE(near(a.TP[zone], b.TP[zone], 0));
        EXPECT_TRUE(near(a.EP[zone], b.EP[zone], 0));
        EXPECT_TRUE(near(a.LE[zone], b.LE[zone], 0));
        if (zone == Zone::Layer2 || zone == Zone::Layer3) {
            EXPECT_TRUE(near(a.Sini[zone], b.Sini[zone], 1));
        }
        for (int i = 1; i <= a.NrTst; ++i) {
            const double x = a.ECsm[zone][i], y = b.ECsm[zone][i];
            if (x > 0) {
                EXPECT_TRUE(near(x, y, 2)) << x << " " << y;
            } else {
                EXPECT_EQ(y, -1);
            }
        }
    }
    for (int i = 1; i <= a.NrTst; ++i) {
        EXPECT_TRUE(near(a.Rain[i], b.Rain[i], 2));
        EXPECT_TRUE(near(a.Irrig[i], b.Irrig[i], 2));
        EXPECT_TRUE(near(a.EvapT[i], b.EvapT[i], 2));
    }
}

ModelInput RandomDataSet(std::mt19937& random, int layers, bool drainage) {
    std::uniform_real_distribution<double> u(0, 1);
    auto value = [&](double lo, double hi) { return lo + (hi - lo) * u(random); };
    ModelInput in;
    in.Title1 = "Random " + std::to_string(random() % 1000);
    in.Title2 = layers == 2 ? "" : "  blanks kept  ";
    in.NrTst = 1 + static_cast<int>(random() % 40);
    in.Ts = StepLengths[random() % 4];
    in.NrLayers = layers;
    in.DrainPresent = drainage;
    in.Dd = value(0, 3), in.QH1 = value(0, 0.2), in.QH2 = value(0, 0.05);
    in.Si = value(0, 5), in.Dwtini = value(-0.5, 5), in.CDc = value(0, 3), in.SMini = value(20, 100);
    in.IrrEff = value(30, 100), in.Inf = value(0, 5), in.Out = value(0, 5), in.Sinf = value(0, 10);
    ResizeHydrologicalSeries(in, in.NrTst);
    ResizeMeasuredSeries(in, in.NrTst, -1);
    for (int i = 1; i <= in.NrTst; ++i) {
        in.Rain[i] = value(0, 900), in.Irrig[i] = value(0, 2000), in.EvapT[i] = value(0, 2500);
        for (int z = 0; z < ZoneCount; ++z) {
            const int pick = static_cast<int>(random() % 3);
            in.ECsm[static_cast<Zone>(z)][i] = pick == 0 ? -1 : pick == 1 ? 0 : value(0.01, 60);
        }
    }
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        in.D[zone] = value(0.1, 20);
        in.TP[zone] = std::round(value(30, 60));
        in.EP[zone] = std::round(value(1, 20));
        in.LE[zone] = std::round(value(10, 100));
        in.Sini[zone] = value(0, 20);
    }
    return in;
}

}  // namespace

TEST(InputFile, WritesTheExampleFileCharacterForCharacter) {
    ModelInput in = ExampleOneLayer();
    EXPECT_EQ(InputFileText(in), ReadFile(DataFile("example-1layer.inp")));
}

TEST(InputFile, WritesTheThreeLayerSections) {
    ModelInput in = ExampleThreeLayers();
    const std::string text = InputFileText(in);
    const std::string expected = Crlf(
        " Soil properties, root zone has 3 layers\n"
        "                      Thickness (m)\n"
        " - - - - - - - - - - - - - - - - - - - - - - - - - - - \n"
        "         Root zone   \n"
        " - - - - - - - - - - - - - -  Transition zone   Aquifer\n"
        " Layer1    Layer2    Layer3\n"
        "   0.20      0.30      0.50             1.00     15.00\n"
        "\n"
        " Other soil properties in %\n"
        "              Total porosity  Effective porosity  Leaching efficiency\n"
        " 1st layer                48                   9                   90\n"
        " 2nd layer                46                   8                   85\n"
        " 3rd layer                45                   7                   80\n"
        " Trans. zone              42                   6                   70\n"
        " Aquifer                  40                  10                  100\n"
        "\n"
        " Measured soil moisture salinity data ECsm in dS/m, root zone has 3 layers\n"
        "                   Root zone   \n"
        " Time Step  - - - - - - - - - - -   Transition zone   Aquifer\n"
        "            Layer1  Layer2  Layer3\n"
        " - - - - - - - - - - - - - - - - -\n"
        "         1    3.20       -    4.10              6.00      2.35\n"
        "         2       -    2.80       -                -      2.50\n");
    ASSERT_GE(text.size(), expected.size());
    EXPECT_EQ(text.substr(text.size() - expected.size()), expected);
    EXPECT_NE(text.find(Crlf(" Init. salt conc. 1st layer (dS/m)   :     4.0\n"
                             " Init. salt conc. 2nd layer (dS/m)   :     0.0\n"
                             " Init. salt conc. 3rd layer (dS/m)   :     0.0\n")),
              std::string::npos);
}

TEST(InputFile, ReadsTheExampleBackExactly) {
    const ModelInput in = Read(ReadFile(DataFile("example-1layer.inp")));
    ModelInput expected = ExampleOneLayer();
    EXPECT_EQ(in.Title1, expected.Title1);
    EXPECT_EQ(in.NrTst, 3);
    EXPECT_EQ(in.NrTstHydr, 3);
    EXPECT_EQ(in.D[Za], 20.0);
    EXPECT_EQ(in.QH2, 0.0035);
    EXPECT_EQ(in.EvapT[2], 380.25);
    EXPECT_EQ(in.ECsm[Z1], (Series{0, 3.2, -1, 4.75}));
    EXPECT_EQ(in.ECsm[Zt], (Series{0, -1, 5.5, 6.1}));
    EXPECT_EQ(in.ECsm[Za], (Series{0, -1, -1, 2.35}));
    ExpectSameAsWritten(expected, in);
}

TEST(InputFile, RoundTripOfEveryLayoutItWrites) {
    std::mt19937 random(20261208);
    for (int layers = 1; layers <= 3; ++layers)
        for (bool drainage : {false, true})
            for (int repeat = 0; repeat < 20; ++repeat) {
                ModelInput written = RandomDataSet(random, layers, drainage);
                const std::string text = InputFileText(written);
                const ModelInput read = Read(text);
                ExpectSameAsWritten(written, read);
                // and a second save writes the same file again
                ModelInput again = read;
                EXPECT_EQ(InputFileText(again), text);
            }
}

TEST(InputFile, ReadsLineFeedsOrCarriageReturnsAlone) {
    std::string text = ReadFile(DataFile("example-1layer.inp"));
    std::string lf, cr;
    for (char c : text) {
        if (c != '\r') lf += c;
        if (c != '\n') cr += c;
    }
    ExpectSameAsWritten(ExampleOneLayer(), Read(lf));
    ExpectSameAsWritten(ExampleOneLayer(), Read(cr));
}

TEST(InputFile, TheDrainageAnswerIsYesOrNoInAnyCase) {
    const std::string text = ReadFile(DataFile("example-1layer.inp"));
    const std::string yes = " Drainage system present  : yes\r\n";
    const struct {
        const char* answer;
        bool read, drainage;
    } cases[] = {{"yes", true, true}, {"yes ", true, true}, {"Yes", true, true}, {"  YES  ", true, true},
                 {"no", true, false}, {"No ", true, false}, {"y", false, false}, {"", false, false},
                 {"yes, 2 m", false, false}};
    for (const auto& c : cases) {
        std::string changed = text;
        changed.replace(changed.find(yes), yes.size(), " Drainage system present  : " + std::string(c.answer) + "\r\n");
        ModelInput in;
        in.Dd = 9;
        NumberFormat format;
        const InputReadResult r = ParseInputText(changed, "x", in, format);
        EXPECT_EQ(r.Ok(), c.read) << c.answer;
        if (!c.read) {
            EXPECT_EQ(r.message.rfind("x, line 10: '", 0), 0u) << r.message;
            EXPECT_NE(r.message.find("(expected yes or no after column 28)"), std::string::npos) << r.message;
            continue;
        }
        EXPECT_EQ(in.DrainPresent, c.drainage) << c.answer;
        EXPECT_EQ(in.Dd, c.drainage ? 1.8 : 0);  // the data set is the file's alone
    }
}

TEST(InputFile, ReadsTheOldestLayout) {
    const ModelInput in = Read(ReadFile(DataFile("legacy-oldest.inp")));
    EXPECT_EQ(in.NrTst, 45);
    EXPECT_EQ(in.SMini, 50);
    EXPECT_EQ(in.Sinf, 0);
    EXPECT_EQ(in.IrrEff, 63.3);
    EXPECT_EQ(in.Sini[Z2], in.Sini[Z1]);
    EXPECT_EQ(in.Sini[Z3], in.Sini[Z1]);
    EXPECT_EQ(in.Rain[1], 47.22);
    EXPECT_GT(in.EvapT[45], 0);
    ModelInput upgraded = in;
    upgraded.InputFileName = "/data/cases/legacy-oldest.upgraded.inp";
    EXPECT_EQ(InputFileText(upgraded), ReadFile(DataFile("legacy-oldest.upgraded.inp")));
}

TEST(InputFile, ReadsAThreeLayerFileOfTheOldestLayout) {
    ModelInput three = ExampleThreeLayers();
    std::string text = InputFileText(three);
    auto erase = [&](const std::string& line) {
        const size_t at = text.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        text.erase(at, line.size());
    };
    text.replace(text.find("    Initial data soil and water"), 31, "    Initial data");
    erase(" Init. salt conc. 2nd layer (dS/m)   :     0.0\r\n");
    erase(" Init. salt conc. 3rd layer (dS/m)   :     0.0\r\n");
    erase(" Initial soil moisture content (%)   :   60.00\r\n");
    erase(" Salinity groundwater inflow (dS/m)  :     2.5\r\n\r\n");
    const ModelInput in = Read(text);
    EXPECT_EQ(in.NrLayers, 3);
    EXPECT_EQ(in.Sini[Z2], 4.0);
    EXPECT_EQ(in.Sini[Z3], 4.0);
    EXPECT_EQ(in.SMini, 50);
    EXPECT_EQ(in.Sinf, 0);
    EXPECT_EQ(in.IrrEff, 70);
    EXPECT_EQ(in.Rain, (Series{0, 1, 2}));
    EXPECT_EQ(in.EvapT, (Series{0, 5, 6}));
    EXPECT_EQ(in.D[Z3], 0.5);
    EXPECT_EQ(in.ECsm[Z2], (Series{0, -1, 2.8}));
}

TEST(InputFile, RejectsTheExtendedVersion) {
    std::string text = ReadFile(DataFile("example-1layer.inp"));
    const std::string row = "         2        35.50";
    text.insert(text.find(row), " Hydrological data\r\n");
    ModelInput in;
    in.Title1 = "before";
    NumberFormat format;
    const InputReadResult r = ParseInputText(text, "x", in, format);
    EXPECT_EQ(r.status, InputReadStatus::Extended);
    EXPECT_EQ(r.message, ExtendedVersionMessage);
    EXPECT_EQ(in.Title1, "before");
}

TEST(InputFile, DamagedFilesFailWithTheLineAndWhatWasExpected) {
    const std::string good = ReadFile(DataFile("example-1layer.inp"));
    struct Case {
        std::string name, text;
        int line;
        std::string mentions;
    };
    std::string badNumber = good;
    badNumber.replace(badNumber.find("      1.2\r\n"), 9, "     1,2x");
    std::string manySteps = good;
    manySteps.replace(manySteps.find(": 3\r\n"), 3, ": 2000000000");
    std::string atBound = good;
    atBound.replace(atBound.find(": 3\r\n"), 3, ": 400000");
    std::string sevenLayers = good;
    sevenLayers.replace(sevenLayers.find("layers   : 1"), 12, "layers   : 7");
    std::string longLine = good;
    longLine.insert(longLine.find("         1       120.00"), std::string(100000, '7') + "\r\n");
    std::string hugeNumber = good;
    hugeNumber.replace(hugeNumber.find(": 3\r\n"), 3, ": 1" + std::string(400, '0'));
    std::string binary = good.substr(0, 700);
    for (size_t k = 300; k < 700; k += 7) binary[k] = static_cast<char>(k * 13);
    std::string negative = good;
    negative.replace(negative.find(": 3\r\n"), 3, ": -3");
    // Text the reader would lose or misread: each is refused where it stands.
    auto changed = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        EXPECT_NE(text.find(from), std::string::npos) << from;
        return text.replace(text.find(from), from.size(), to);
    };

    const Case cases[] = {
        {"bad number", badNumber, 15, "1,2x' is not a valid floating point value"},
        {"2000000000 steps", manySteps, 6, "the number of time steps is 2000000000; it must not exceed 400000"},
        {"400000 steps", atBound, 52, "the file ends before the hydrological row of time step 22 of 400000"},
        {"seven layers", sevenLayers, 8, "must be 1, 2 or 3"},
        {"100000 characters", longLine, 31, "'77777777777777777777777777777777777777"
                                              "77...' stands after the evaporation in columns 56 on"},
        {"400 digits", hugeNumber, 6, "is not a valid integer (expected the number of time steps"},
        {"truncated in a line", good.substr(0, 1000), 25, "(expected the groundwater outflow in columns 39 to 48)"},
        {"truncated", good.substr(0, good.find("         1       120.00")), 31,
         "the file ends before the hydrological row of time step 1 of 3"},
        {"cut off in the measured salinities", good.substr(0, good.rfind("\r\n", good.size() - 3) + 2),
         static_cast<int>(std::count(good.begin(), good.end(), '\n')),
         "the file ends before the measured salinity row of time step 3 of 3"},
        {"empty", "", 6, "not a valid integer"},
        {"negative steps", negative, 6, "must not be negative"},
        {"blanks inside a measured value", changed("         1        3.20      ", "         1  3  6           "),
         49, "blanks split '3  6' in columns 11 to 22 (expected the measured salinity of the root zone)"},
        {"digits past a window", changed("(dS/m)        :      1.2\r\n", "(dS/m)        :      1.2  5\r\n"), 15,
         "'5' stands after the salinity of the irrigation water in columns 50 on; nothing is read past column 48"},
        {"text after an integer", changed(": 3\r\n", ": 3 4\r\n"), 6,
         "'3 4' is more than the number of time steps (expected one integer after column 28)"},
        {"a bad inflow salinity", changed("     2.5\r\n\r\n", "     2,5x\r\n\r\n"), 26,
         "(expected the salinity of the groundwater inflow in columns 39 to 48)"},
        {"zero steps", changed(": 3\r\n", ": 0\r\n"), 31,
         "the hydrological table goes on after its 0 rows (line 6 gives 0 time steps)"},
        {"four steps", changed(": 3\r\n", ": 4\r\n"), 34, "the hydrological table ends after 3 rows"},
        {"a measured row too many", good + "         4        1.00                -        -\r\n", 52,
         "the measured salinity table goes on after its 3 rows (line 6 gives 3 time steps)"},
        {"ending after the outflow", good.substr(0, good.find(" Salinity groundwater inflow")), 26,
         "the file ends where the salinity of the groundwater inflow was expected"},
        {"a yes meaning something else", changed(": yes\r\n", ": yes 2\r\n"), 10, "'yes 2' is no answer"},
    };
    for (const Case& c : cases) {
        InputReadResult r;
        const ModelInput in = Read(c.text, &r);
        EXPECT_EQ(r.status, InputReadStatus::Failed) << c.name;
        EXPECT_EQ(r.line, c.line) << c.name << ": " << r.message;
        EXPECT_NE(r.message.find(c.mentions), std::string::npos) << c.name << ": " << r.message;
        EXPECT_EQ(r.message.rfind("test.inp, line " + std::to_string(c.line) + ": ", 0), 0u) << r.message;
        EXPECT_EQ(in.NrTst, 0) << c.name;  // nothing of a failed file is taken over
    }
    InputReadResult r;
    Read(binary, &r);
    EXPECT_EQ(r.status, InputReadStatus::Failed);
}

TEST(InputFile, SavingNeverDestroysThePreviousFile) {
    TempDir dir;
    ModelInput in = ExampleOneLayer();
    in.InputFileName = dir.File("field.inp");
    ASSERT_EQ(WriteInputFile(in), "");
    const std::string first = ReadFile(in.InputFileName);
    in.Title1 = "changed";
    ASSERT_EQ(WriteInputFile(in), "");
    EXPECT_NE(ReadFile(in.InputFileName), first);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no temporary left

    // A folder that cannot be written: the old file stays as it was and the
    // message names the file and the reason.
    const std::string before = ReadFile(in.InputFileName);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    in.Title1 = "lost?";
    const std::string error = WriteInputFile(in);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    if (FolderPermissionsBind()) {
        EXPECT_NE(error.find(in.InputFileName), std::string::npos) << error;
        EXPECT_EQ(ReadFile(in.InputFileName), before);
    }
    in.InputFileName = dir.File("missing-folder/x.inp");
    EXPECT_NE(WriteInputFile(in).find("missing-folder/x.inp"), std::string::npos);
}

TEST(InputFile, WritingLeavesTheIrrigationToTheRun) {
    TempDir dir;
    ModelInput in = ExampleOneLayer();
    in.Ts = 1;
    in.NrTst = 8;
    ResizeHydrologicalSeries(in, 8);
    ResizeMeasuredSeries(in, 8, -1);
    in.Irrig = {0, 0, 50, 0, 0, 0, 0, 0, 0};
    in.InputFileName = dir.File("daily.inp");
    const Series spreadBefore = in.IrrDist;
    ASSERT_EQ(WriteInputFile(in), "");
    EXPECT_EQ(in.IrrDist, spreadBefore);  // saving does not change the data set
    const ModelInput read = Read(ReadFile(in.InputFileName));
    EXPECT_EQ(read.Irrig[2], 50);  // the file holds the irrigation as entered
    RunData run;
    PrepareRun(read, run);
    EXPECT_EQ(run.in.IrrDist[2], 10);  // the run spreads it over the dry days
    EXPECT_EQ(run.in.IrrDist[6], 10);
    EXPECT_EQ(run.in.IrrDist[7], 0);
}

TEST(InputFile, ZeroStepsFallBackOnTheHydrologicalCount) {
    ModelInput in = ExampleOneLayer();
    in.NrTst = 0;
    in.NrTstHydr = 3;
    InputFileText(in);
    EXPECT_EQ(in.NrTst, 3);
    in.NrTst = 2;
    InputFileText(in);
    EXPECT_EQ(in.NrTstHydr, 2);
}

TEST(InputFile, RefusesValuesThatWouldNotReadBack) {
    TempDir dir;
    ModelInput in = ExampleOneLayer();
    in.InputFileName = dir.File("field.inp");
    ASSERT_EQ(WriteInputFile(in), "");
    const std::string before = ReadFile(in.InputFileName);
    in.Out = 3333333333.0;  // wider than its column
    std::string error = WriteInputFile(in);
    EXPECT_NE(error.find("line 25"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(in.InputFileName), before);
    in.Out = 0.3;
    in.Title2 = "two\nlines";
    error = WriteInputFile(in);
    EXPECT_NE(error.find("a title holds a line break"), std::string::npos) << error;
    in.Title2 = "Three monthly steps";
    in.ECsm[Z1][1] = 123456.78;  // fits the widest column
    EXPECT_EQ(WriteInputFile(in), "");
    in.ECsm[Z1][1] = 1234567890.12;  // shifts the columns after it
    EXPECT_NE(WriteInputFile(in).find("line 49"), std::string::npos);
    in.ECsm[Z1][1] = 3.2;
    ASSERT_EQ(WriteInputFile(in), "");
    EXPECT_EQ(ReadFile(in.InputFileName), before);
}

TEST(TextFile, LinesEndWithCrLfOrLfAndTheLastMayHaveNoEnd) {
    const std::string text = "one\r\ntwo\n\r\n\nlast";
    LineReader lines(text);
    EXPECT_EQ(lines.LinesLeft(), 5);
    for (const char* expected : {"one", "two", "", ""}) EXPECT_EQ(lines.Next(), expected);
    EXPECT_FALSE(lines.AtEnd());
    EXPECT_EQ(lines.Next(), "last");
    EXPECT_TRUE(lines.AtEnd());
    EXPECT_EQ(lines.LineNumber(), 5);
    EXPECT_EQ(lines.Offset(), text.size());
    EXPECT_EQ(lines.Next(), "");  // past the end
    EXPECT_EQ(lines.LinesLeft(), 0);
    // Lines ended by CR alone, in a text without LF.
    const std::string mac = "one\rtwo\r\rlast";
    LineReader cr(mac);
    for (const char* expected : {"one", "two", "", "last"}) EXPECT_EQ(cr.Next(), expected);
    EXPECT_TRUE(cr.AtEnd());
    const std::string ended = "a\n\n";
    LineReader two(ended);
    EXPECT_EQ(two.LinesLeft(), 2);
    two.Skip(2);
    EXPECT_TRUE(two.AtEnd());
    const std::string empty;
    EXPECT_TRUE(LineReader(empty).AtEnd());
}

TEST(TextFile, ReadsAWholeFileByteForByte) {
    TempDir dir;
    std::string content;
    for (long long k = 0; k < 300000; ++k) content += static_cast<char>(k * 7919 % 256);
    ASSERT_EQ(WriteFileReplacing(dir.File("bytes.bin"), content), "");
    std::string read, error;
    ASSERT_TRUE(ReadWholeFile(dir.File("bytes.bin"), read, error)) << error;
    EXPECT_EQ(read, content);
    ASSERT_EQ(WriteFileReplacing(dir.File("empty.bin"), ""), "");
    EXPECT_TRUE(ReadWholeFile(dir.File("empty.bin"), read, error));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(ReadWholeFile(dir.File("none.bin"), read, error));
    EXPECT_NE(error.find("none.bin"), std::string::npos);
}
