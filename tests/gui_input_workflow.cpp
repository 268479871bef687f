// The Input page driven as a user drives it: a first pass from scratch
// ending in a run, "Open input" of every example and reference file followed
// by "Save all - Run", the Cancel rules and the page states.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>

#include "EngineSupport.h"
#include "InputFile.h"
#include "InputPageFixture.h"
#include "RunDriver.h"

namespace halovane::test {

namespace {

// The output file of an engine run on the input data file `inp`, in a
// folder of its own, answering the questions as given.
std::string EngineOutput(const std::string& inp, bool refine, bool optimise, const TempDir& dir) {
    const std::string copy = dir.File("engine-" + QFileInfo(QString::fromStdString(inp)).fileName().toStdString());
    WriteFile(copy, ReadFile(inp));
    ModelInput in;
    in.InputFileName = copy;
    EXPECT_TRUE(ReadInputFile(in).Ok());
    DistributeIrrigation(in);
    ModelState state;
    ScriptedInteraction ui(refine, optimise);
    RunModel(in, state, ui);
    return ReadFile(QString::fromStdString(copy).replace(".inp", ".out").toStdString());
}

// Output texts without line 2, which names the file.
std::string WithoutName(const std::string& text) {
    const size_t first = text.find('\n'), second = text.find('\n', first + 1);
    return first == std::string::npos || second == std::string::npos ? text : text.substr(0, first) + text.substr(second);
}

}  // namespace

TEST_F(InputPageTest, StartsWithOneLayerMonthlyStepsAndOnlyGeneralData) {
    EXPECT_EQ(form->LayersCombo->currentText(), "1");
    EXPECT_EQ(form->TstCombo->currentText(), "Month");
    EXPECT_EQ(form->NrTstEdit->text(), "11");
    EXPECT_EQ(form->HydrGrid->RowCount(), 12);
    EXPECT_EQ(form->HydrGrid->Cell(0, 0), "Serial Nr");
    EXPECT_EQ(form->HydrGrid->Cell(2, 0), "mm/timestep");
    EXPECT_EQ(form->SaltGrid3->Cell(5, 0), "dS/m");
    EXPECT_EQ(form->HydrGrid->Cell(0, 11), "11");
    EXPECT_EQ(GroupState(), "G-----");
    EXPECT_FALSE(form->SaveAllButton->isEnabled());
    EXPECT_FALSE(form->FileLabel->isVisible());
    EXPECT_EQ(form->findChild<QWidget*>("HydrGrid"), form->HydrGrid);
    EXPECT_EQ(form->Format.decimalSeparator, '.');
}

TEST_F(InputPageTest, FirstPassFromScratchEndsInARun) {
    Click(form->GenOpenButton);
    EXPECT_EQ(GroupState(), "------");
    Type(form->Tit1Edit, "Typed field");
    Type(form->Tit2Edit, "four months");
    Type(form->NrTstEdit, "4");
    Click(form->GenSaveButton);
    EXPECT_EQ(LastMessage(), "The general data were saved. Continue with the hydrological data.");
    ASSERT_TRUE(form->HydrPanel->isVisible());
    EXPECT_EQ(GroupState(), "-H----");

    // four rows copied from a spreadsheet
    PasteCell(form->HydrGrid, 1, 1, "10\t100\t120\r\n20\t150\t140\r\n0\t200\t160\r\n5.5\t0\t90\r\n");
    EXPECT_EQ(form->HydrGrid->Cell(1, 4), "5.5");
    Click(form->HydrSaveButton);
    EXPECT_EQ(LastMessage(), "The hydrological data were saved. Continue with the Soil properties.");
    ASSERT_TRUE(form->Soil1Panel->isVisible());

    const char* soil[3][5] = {{"0.8", "45", "8", "80", "4"}, {"1.5", "42", "6", "70", "7"}, {"20", "40", "10", "100", "8"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) TypeCell(form->Soil1Grid, c, r, soil[r][c]);
    Click(form->Soil1SaveButton);
    EXPECT_EQ(LastMessage(), "The soil data were saved. Continue with the Salinity data ..");
    ASSERT_TRUE(form->Salt1Panel->isVisible());

    for (int r = 1; r <= 4; ++r) TypeCell(form->SaltGrid1, 1, r, QString::number(3 + r * 0.25));
    TypeCell(form->SaltGrid1, 2, 2, "6.1");
    Click(form->Salt1SaveButton);
    EXPECT_EQ(LastMessage(), "The salinity data were saved. Continue with the Drainage data..");
    ASSERT_TRUE(form->DrainPanel->isVisible());

    Choose(form->DrainPresentCombo, 1);
    EXPECT_TRUE(form->DrainDepthEdit->isEnabled());
    Type(form->DrainDepthEdit, "1.8");
    Type(form->DrainQH1Edit, "0.012");
    Type(form->DrainQH2Edit, "0.0035");
    Click(form->DrainSaveButton);
    EXPECT_EQ(LastMessage(),
              "The data on the subsurface drainage system were saved. Continue with the data on the Initial "
              "Conditions.");
    ASSERT_TRUE(form->CondPanel->isVisible());

    const char* conditions[8] = {"1.2", "1.5", "0.5", "0.3", "1.2", "70", "60", "2.5"};
    QLineEdit* boxes[8] = {form->SaltIrrigEdit, form->WTdepthEdit, form->GrwtInfEdit, form->GrwtOutEdit,
                           form->CritDepthEdit, form->IrrEffEdit,  form->MoistEdit,   form->SalInfEdit};
    for (int k = 0; k < 8; ++k) Type(boxes[k], conditions[k]);
    Click(form->CondSaveButton);
    EXPECT_EQ(LastMessage(), "The data on the initial conditions were saved. Use \"Save all\" to do the calculations.");
    EXPECT_EQ(GroupState(), "GHSMDC");
    EXPECT_TRUE(form->SaveAllButton->isEnabled());

    const QString inp = QString::fromStdString(dir.File("typed.inp"));
    dialogs.saveNames = {inp};
    dialogs.answers = {true, false, true};  // calculate, no refinement, optimise
    dialogs.log.clear();
    Click(form->SaveAllButton);
    EXPECT_EQ(dialogs.log.first(), "inform: For saving please create an input data file");
    EXPECT_TRUE(dialogs.log.contains("confirm: The data were saved as " + inp + ". Do you wish to do the calculations?"));
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
    EXPECT_EQ(form->PageControl->currentWidget(), form->OutTab);

    // The data set holds what was typed, and the run wrote what the engine
    // computes from the saved file.
    EXPECT_EQ(form->Input.Title1, "Typed field");
    EXPECT_EQ(form->Input.Rain[4], 5.5);
    EXPECT_EQ(form->Input.EvapT[2], 140);
    EXPECT_EQ(form->Input.ECsmt[2], 6.1);
    EXPECT_EQ(form->Input.ECsma[1], -1);
    EXPECT_EQ(form->Input.QH2, 0.0035);
    EXPECT_TRUE(form->State.Fit[0].LeOptimized);
    const std::string out = ReadFile(dir.File("typed.out"));
    EXPECT_EQ(WithoutName(out), WithoutName(EngineOutput(inp.toStdString(), false, true, dir)));
}

TEST_F(InputPageTest, OpensEveryExampleAndReferenceFileAndRunsIt) {
    QStringList files;
    for (const QFileInfo& f : QDir(HALOVANE_EXAMPLES).entryInfoList({"*.inp"})) files << f.absoluteFilePath();
    for (const QFileInfo& f : QDir(HALOVANE_CASES).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        files << f.absoluteFilePath() + "/input.inp";
    ASSERT_GE(files.size(), 10);
    int k = 0;
    for (const QString& source : files) {
        const QString name = QString::fromStdString(dir.File("file" + std::to_string(k++) + ".inp"));
        QFile::copy(source, name);
        dialogs.openNames = {name};
        dialogs.messages.clear();
        Click(form->OpenInpButton);
        ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
        EXPECT_TRUE(form->GenPanel->isVisible());
        EXPECT_TRUE(form->Page.InputComplete);
        EXPECT_EQ(form->NameLabel->text(), name);
        EXPECT_EQ(form->NrTstEdit->text().toInt(), form->Input.NrTst);

        dialogs.saveNames = {name};
        dialogs.answers = {true, true, false, false};  // overwrite, calculate, no refinement, no optimisation
        Click(form->SaveAllButton);
        const std::string out = ReadFile(QString(name).replace(".inp", ".out").toStdString());
        EXPECT_EQ(WithoutName(out), WithoutName(EngineOutput(source.toStdString(), false, false, dir)))
            << source.toStdString();
        if (form->State.Stop) {
            EXPECT_FALSE(dialogs.messages.contains("The calculations were made. The output can be inspected."));
        } else {
            EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.") << source.toStdString();
        }
        form->PageControl->setCurrentWidget(form->InpTab);
    }
}

TEST_F(InputPageTest, CancelInTheFirstPassEnablesOnlyItsOwnGroup) {
    // A group's Cancel becomes usable with the group's own first save; the
    // first save of the general data disables even that of the one-layer
    // salinity panel, usable at start.
    Click(form->GenOpenButton);
    EXPECT_FALSE(form->GenQuitButton->isEnabled());
    EXPECT_TRUE(form->Salt1QuitButton->isEnabled());
    Type(form->NrTstEdit, "2");
    Click(form->GenSaveButton);
    EXPECT_FALSE(form->HydrQuitButton->isEnabled());
    EXPECT_FALSE(form->Salt1QuitButton->isEnabled());
    PasteCell(form->HydrGrid, 1, 1, "1\t2\t3\r\n4\t5\t6\r\n");
    Click(form->HydrSaveButton);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) form->Soil1Grid->SetCell(c, r, "40");
    Click(form->Soil1SaveButton);
    ASSERT_TRUE(form->Salt1Panel->isVisible());
    EXPECT_EQ(GroupState(), "---M--");
    EXPECT_FALSE(form->SaveAllButton->isEnabled());
    Click(form->Salt1SaveButton);
    EXPECT_FALSE(form->DrainQuitButton->isEnabled());
    Click(form->DrainSaveButton);
    EXPECT_FALSE(form->CondQuitButton->isEnabled());
    for (QLineEdit* box : {form->SaltIrrigEdit, form->WTdepthEdit, form->GrwtInfEdit, form->GrwtOutEdit,
                           form->CritDepthEdit, form->IrrEffEdit, form->MoistEdit, form->SalInfEdit})
        Type(box, "1");
    Click(form->CondSaveButton);
    EXPECT_EQ(GroupState(), "GHSMDC");

    // Complete mode: Cancel opens every group again.
    Click(form->GenOpenButton);
    Click(form->GenQuitButton);
    EXPECT_EQ(GroupState(), "GHSMDC");
    EXPECT_TRUE(form->SaveAllButton->isEnabled());

    // Changing the number of layers starts a first pass with every Cancel
    // disabled; the layers choice falls back on Cancel.
    Click(form->GenOpenButton);
    Choose(form->LayersCombo, 2);
    Click(form->GenQuitButton);
    EXPECT_EQ(form->LayersCombo->currentIndex(), 0);
    Click(form->GenOpenButton);
    Choose(form->LayersCombo, 2);
    Click(form->GenSaveButton);
    EXPECT_TRUE(Messages().contains("The number of layers was increased and data must be added. Please check and "
                                    "save each data group before using \"Save All\""));
    EXPECT_EQ(GroupState(), "-H----");
    for (int k = 0; k < 10; ++k) EXPECT_EQ(form->AllQuitButtons(k)->isEnabled(), k == 0) << k;

    // the conditions panel's Cancel opens every group, but not "Save all - Run"
    form->HidePanels();
    form->CondQuitButton->setEnabled(true);
    form->CondPanel->show();
    Click(form->CondQuitButton);
    EXPECT_EQ(GroupState(), "GHSMDC");
    EXPECT_FALSE(form->SaveAllButton->isEnabled());
}

TEST_F(InputPageTest, RefusesTimeStepsBelowOneAndKeepsThePanelOpen) {
    Click(form->GenOpenButton);
    Type(form->NrTstEdit, "0");
    Click(form->GenSaveButton);
    EXPECT_EQ(LastMessage(), "The number of time steps must be at least 1.");
    EXPECT_TRUE(form->GenPanel->isVisible());
    Type(form->NrTstEdit, "x7");
    Click(form->GenSaveButton);
    EXPECT_EQ(LastMessage(), "'x7' is not a valid integer value");
    EXPECT_TRUE(form->GenPanel->isVisible());
    EXPECT_EQ(form->NrTstEdit->text(), "x7");  // what was typed stays
}

TEST_F(InputPageTest, FailingSavesKeepThePanelAndItsEntries) {
    form->CondOpenButton->setEnabled(true);
    Click(form->CondOpenButton);
    Type(form->SaltIrrigEdit, "1,5x");
    Click(form->CondSaveButton);
    EXPECT_EQ(LastMessage(), "'1,5x' is not a valid floating point value");
    EXPECT_TRUE(form->CondPanel->isVisible());
    Type(form->SaltIrrigEdit, "1.5");
    Type(form->IrrEffEdit, "120");
    Type(form->MoistEdit, "5");
    Click(form->CondSaveButton);
    EXPECT_EQ(LastMessage(), "There are invalid values. Please adjust.");
    EXPECT_EQ(form->Input.IrrEff, 100);
    EXPECT_EQ(form->Input.SMini, 20);
    EXPECT_EQ(form->IrrEffEdit->text(), "120");
    EXPECT_TRUE(form->CondPanel->isVisible());
}

TEST_F(InputPageTest, ExtendedFileResetsThePageAndTheNextFileLoads) {
    std::string text = ReadFile(DataFile("example-1layer.inp"));
    text.insert(text.find("         2        35.50"), " Hydrological data\r\n");
    const std::string extended = dir.File("extended.inp");
    WriteFile(extended, text);
    dialogs.openNames = {QString::fromStdString(extended), QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);
    EXPECT_EQ(LastMessage().toStdString(), ExtendedVersionMessage);
    EXPECT_EQ(form->NrTstEdit->text(), "11");
    EXPECT_FALSE(form->Page.InputComplete);
    EXPECT_EQ(form->PageControl->currentWidget(), form->IntroTab);
    form->PageControl->setCurrentWidget(form->InpTab);
    Click(form->OpenInpButton);
    EXPECT_EQ(form->Input.NrTst, 3);
    EXPECT_EQ(form->HydrGrid->Cell(0, 0), "Time step");
    EXPECT_EQ(form->HydrGrid->Cell(3, 2), "380.25");
    EXPECT_EQ(form->SaltGrid1->Cell(1, 1), "3.20");
    EXPECT_EQ(form->SaltGrid1->Cell(1, 2), "");
    EXPECT_EQ(form->Soil1Grid->Cell(0, 2), "20");
    EXPECT_EQ(form->DrainDepthEdit->text(), "1.8");
    EXPECT_TRUE(form->DrainDepthEdit->isEnabled());
    EXPECT_EQ(GroupState(), "GHSMDC");
}

TEST_F(InputPageTest, MathPageEndsCompleteModeButKeepsSaveAll) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);
    form->PageControl->setCurrentWidget(form->MathTab);
    form->PageControl->setCurrentWidget(form->InpTab);
    EXPECT_EQ(GroupState(), "G-----");
    EXPECT_TRUE(form->SaveAllButton->isEnabled());
}

TEST_F(InputPageTest, DialogsCancelledOrOverwriteRefused) {
    Click(form->OpenInpButton);
    EXPECT_EQ(LastMessage(), "No input file was selected");
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);
    const std::string target = dir.File("keep.inp");
    WriteFile(target, "keep me");
    dialogs.saveNames = {QString::fromStdString(target)};
    dialogs.answers = {false};
    dialogs.log.clear();
    Click(form->SaveAllButton);
    EXPECT_EQ(ReadFile(target), "keep me");
    EXPECT_EQ(dialogs.log.last(), "confirm: The file already exists, overwrite?");
    dialogs.saveNames = {QString::fromStdString(dir.File("new.inp"))};
    dialogs.answers = {false};
    Click(form->SaveAllButton);
    EXPECT_EQ(LastMessage(), "The calculations were not made.");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.File("new.inp"))));
}

TEST_F(InputPageTest, CorrectThreeLayerSoilSaveReportsRunsAgain) {
    dialogs.openNames = {QString::fromStdString(DataFile("../cases/case006/input.inp"))};
    Click(form->OpenInpButton);
    ASSERT_EQ(form->Input.NrLayers, 3);
    Click(form->SoilOpenButton);
    const QString d2 = form->Soil3Grid->Cell(0, 1);
    form->Soil3Grid->SetCell(0, 1, "");
    Click(form->Soil3SaveButton);
    EXPECT_EQ(LastMessage(), "The soil data for the 2nd layer are not complete. Calculations cannot be done");
    EXPECT_FALSE(form->Page.SoilDataComplete);
    TypeCell(form->Soil3Grid, 0, 1, d2);
    Click(form->Soil3SaveButton);
    EXPECT_EQ(LastMessage(), "The soil data were saved.");
    EXPECT_TRUE(form->Page.SoilDataComplete);
    dialogs.saveNames = {QString::fromStdString(dir.File("three.inp"))};
    dialogs.answers = {true, false, false};
    form->HidePanels();
    form->UnlockGroups();
    Click(form->SaveAllButton);
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
}

TEST_F(InputPageTest, ProgressBarFromFiftyOneSteps) {
    dialogs.openNames = {QString::fromStdString(DataFile("../cases/case011/input.inp"))};
    Click(form->OpenInpButton);
    ASSERT_GT(form->Input.NrTst, 50);
    int shown = 0;
    dialogs.onConfirm = [&](const QString&) { shown += form->ProgressBar1->isVisible(); };
    dialogs.saveNames = {QString::fromStdString(dir.File("long.inp"))};
    dialogs.answers = {true, false, false};
    Click(form->SaveAllButton);
    EXPECT_GE(shown, 1);  // visible while the run asked its question
    EXPECT_FALSE(form->ProgressBar1->isVisible());
}

TEST_F(InputPageTest, ClosingShowsTheClosingWindowInstead) {
    QWidget closing;
    form->SetCompanionWindows(&closing, nullptr);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(closing.isVisible());
    closing.hide();
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(closing.isVisible());
}

}  // namespace halovane::test
