// "Save all - Run" and the fit report: a run in which the optimisation was
// accepted leaves FILE.fit.csv and FILE.profile.csv beside the output file
// and offers "See fit report"; a run without it leaves no report on view.
#include <QFile>
#include <QPushButton>

#include "EngineSupport.h"
#include "FitReportFiles.h"
#include "InputFile.h"
#include "InputPageFixture.h"

namespace halovane::test {

TEST_F(InputPageTest, ARunWithTheOptimisationWritesTheFitReport) {
    const std::string inp = dir.File("leaching.inp");
    WriteFile(inp, ReadFile(HALOVANE_EXAMPLES "/daily-leaching-experiment.inp"));
    dialogs.openNames = {QString::fromStdString(inp)};
    Click(Button("OpenInpButton"));
    dialogs.saveNames = {QString::fromStdString(inp)};
    dialogs.answers = {true, true, false, true};  // overwrite, calculate, no refinement, optimise
    Click(Button("SaveAllButton"));
    ASSERT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");

    // The files are those the engine makes of the same run.
    ModelInput in;
    in.InputFileName = dir.File("engine.inp");
    WriteFile(in.InputFileName, ReadFile(inp));
    ASSERT_TRUE(ReadInputFile(in).Ok());
    DistributeIrrigation(in);
    ModelState state;
    std::vector<SearchProfile> profiles;
    ScriptedInteraction ui(false, true);
    RunModel(in, state, ui, RunFiles{}, &profiles);
    FitReport expected = BuildFitReport(in, state, profiles);
    EXPECT_EQ(expected.outputFile, "engine.out");
    expected.outputFile = "leaching.out";  // the window's run wrote that one
    EXPECT_EQ(ReadFile(dir.File("leaching.fit.csv")), FitCsv(expected));
    EXPECT_EQ(ReadFile(dir.File("leaching.profile.csv")), ProfileCsv(expected));
    EXPECT_EQ(expected.zones.size(), 3u);

    auto* show = Tab("OutTab")->findChild<QPushButton*>(QStringLiteral("FitShowButton"));
    ASSERT_TRUE(show);
    EXPECT_TRUE(show->isVisible());
    EXPECT_TRUE(show->isEnabled());

    // Declining the optimisation rewrites the output file with the given
    // efficiencies and removes the report, which was of another run.
    Pages()->setCurrentWidget(Tab("InpTab"));
    dialogs.saveNames = {QString::fromStdString(inp)};
    dialogs.answers = {true, true, false, false};
    Click(Button("SaveAllButton"));
    ASSERT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
    EXPECT_FALSE(show->isEnabled());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.File("leaching.fit.csv"))));
}

}  // namespace halovane::test
