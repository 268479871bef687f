// The Input page driven as a user drives it: a first pass from scratch
// ending in a run, "Open input" of every example and reference file followed
// by "Save all - Run", the Cancel rules and the page states.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>

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
    EXPECT_EQ(Combo("LayersCombo")->currentText(), "1");
    EXPECT_EQ(Combo("TstCombo")->currentText(), "Month");
    EXPECT_EQ(Edit("NrTstEdit")->text(), "11");
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 12);
    EXPECT_EQ(Grid("HydrGrid")->Cell(0, 0), "Serial Nr");
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 0), "mm/timestep");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(5, 0), "dS/m");
    EXPECT_EQ(Grid("HydrGrid")->Cell(0, 11), "11");
    EXPECT_EQ(GroupState(), "G-----");
    EXPECT_FALSE(Button("SaveAllButton")->isEnabled());
    EXPECT_FALSE(W<QLabel>("FileLabel")->isVisible());
    EXPECT_EQ(form->findChild<QWidget*>("HydrGrid"), Grid("HydrGrid"));
    EXPECT_EQ(Doc()->Format.decimalSeparator, '.');
}

TEST_F(InputPageTest, FirstPassFromScratchEndsInARun) {
    Click(Button("GenOpenButton"));
    EXPECT_EQ(GroupState(), "------");
    Type(Edit("Tit1Edit"), "Typed field");
    Type(Edit("Tit2Edit"), "four months");
    Type(Edit("NrTstEdit"), "4");
    EXPECT_EQ(Combo("ModelCombo")->currentText(), "Prescribed");
    Choose(Combo("ModelCombo"), 1);  // "Conserving (balances closed)"
    Click(Button("GenSaveButton"));
    EXPECT_EQ(LastMessage(), "The general data were saved. Continue with the hydrological data.");
    ASSERT_TRUE(Panel("HydrPanel")->isVisible());
    EXPECT_EQ(GroupState(), "-H----");

    // four rows copied from a spreadsheet
    PasteCell(Grid("HydrGrid"), 1, 1, "10\t100\t120\r\n20\t150\t140\r\n0\t200\t160\r\n5.5\t0\t90\r\n");
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 4), "5.5");
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(LastMessage(), "The hydrological data were saved. Continue with the Soil properties.");
    ASSERT_TRUE(Panel("Soil1Panel")->isVisible());

    const char* soil[3][5] = {{"0.8", "45", "8", "80", "4"}, {"1.5", "42", "6", "70", "7"}, {"20", "40", "10", "100", "8"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) TypeCell(Grid("Soil1Grid"), c, r, soil[r][c]);
    Click(Button("Soil1SaveButton"));
    EXPECT_EQ(LastMessage(), "The soil data were saved. Continue with the Salinity data ..");
    ASSERT_TRUE(Panel("Salt1Panel")->isVisible());

    for (int r = 1; r <= 4; ++r) TypeCell(Grid("SaltGrid1"), 1, r, QString::number(3 + r * 0.25));
    TypeCell(Grid("SaltGrid1"), 2, 2, "6.1");
    Click(Button("Salt1SaveButton"));
    EXPECT_EQ(LastMessage(), "The salinity data were saved. Continue with the Drainage data..");
    ASSERT_TRUE(Panel("DrainPanel")->isVisible());

    Choose(Combo("DrainPresentCombo"), 1);
    EXPECT_TRUE(Edit("DrainDepthEdit")->isEnabled());
    Type(Edit("DrainDepthEdit"), "1.8");
    Type(Edit("DrainQH1Edit"), "0.012");
    Type(Edit("DrainQH2Edit"), "0.0035");
    Click(Button("DrainSaveButton"));
    EXPECT_EQ(LastMessage(),
              "The data on the subsurface drainage system were saved. Continue with the data on the Initial "
              "Conditions.");
    ASSERT_TRUE(Panel("CondPanel")->isVisible());

    const char* conditions[8] = {"1.2", "1.5", "0.5", "0.3", "1.2", "70", "60", "2.5"};
    QLineEdit* boxes[8] = {Edit("SaltIrrigEdit"), Edit("WTdepthEdit"), Edit("GrwtInfEdit"), Edit("GrwtOutEdit"),
                           Edit("CritDepthEdit"), Edit("IrrEffEdit"),  Edit("MoistEdit"),   Edit("SalInfEdit")};
    for (int k = 0; k < 8; ++k) Type(boxes[k], conditions[k]);
    Click(Button("CondSaveButton"));
    EXPECT_EQ(LastMessage(), "The data on the initial conditions were saved. Use \"Save all\" to do the calculations.");
    EXPECT_EQ(GroupState(), "GHSMDC");
    EXPECT_TRUE(Button("SaveAllButton")->isEnabled());

    const QString inp = QString::fromStdString(dir.File("typed.inp"));
    dialogs.saveNames = {inp};
    dialogs.answers = {true, false, true};  // calculate, no refinement, optimise
    dialogs.log.clear();
    Click(Button("SaveAllButton"));
    EXPECT_EQ(dialogs.log.first(), "inform: For saving please create an input data file");
    EXPECT_TRUE(dialogs.log.contains("confirm: The data were saved as " + inp + ". Do you wish to do the calculations?"));
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
    EXPECT_EQ(Pages()->currentWidget(), Tab("OutTab"));

    // The data set holds what was typed, and the run wrote what the engine
    // computes from the saved file.
    EXPECT_EQ(Doc()->Input.Title1, "Typed field");
    EXPECT_EQ(Doc()->Input.Rain[4], 5.5);
    EXPECT_EQ(Doc()->Input.EvapT[2], 140);
    EXPECT_EQ(Doc()->Input.ECsm[Zt][2], 6.1);
    EXPECT_EQ(Doc()->Input.ECsm[Za][1], -1);
    EXPECT_EQ(Doc()->Input.QH2, 0.0035);
    EXPECT_TRUE(Doc()->State.Fit[0].LeOptimized);
    const std::string out = ReadFile(dir.File("typed.out"));
    EXPECT_EQ(out.rfind("OUTPUT OF Halovane (conserving variant)\r\n", 0), 0u);
    EXPECT_EQ(WithoutName(out), WithoutName(EngineOutput(inp.toStdString(), false, true, dir)));
}

// A long path is shortened in the middle where the window shows it, so the
// Input page keeps its width and its buttons; the whole path is the tooltip.
TEST_F(InputPageTest, ALongPathKeepsThePageInsideTheWindow) {
    std::string folder = dir.Path();
    folder += "/<b>&amp;";  // shown as written, not as markup
    while (folder.size() < 260) folder += "/" + std::string(40, 'd');
    std::filesystem::create_directories(folder);
    const QString name = QString::fromStdString(folder + "/a-file-with-a-long-name.inp");
    ASSERT_GE(name.size(), 280);
    ASSERT_TRUE(QFile::copy(QStringLiteral(HALOVANE_EXAMPLES "/one-layer-monthly.inp"), name));
    const int width = form->width();
    dialogs.openNames = {name};
    Click(Button("OpenInpButton"));
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    QCoreApplication::processEvents();
    auto* label = W<QLabel>("NameLabel");
    EXPECT_EQ(label->toolTip(), name);
    EXPECT_TRUE(label->text().contains(QChar(0x2026))) << label->text().toStdString();
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_LE(form->width(), width);
    for (QPushButton* b : form->findChildren<QPushButton*>()) {
        if (!b->isVisible()) continue;
        const QRect inWindow(b->mapTo(form.get(), QPoint(0, 0)), b->size());
        EXPECT_TRUE(form->rect().contains(inWindow)) << b->objectName().toStdString();
    }
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
        Click(Button("OpenInpButton"));
        ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
        EXPECT_TRUE(Panel("GenPanel")->isVisible());
        EXPECT_TRUE(Doc()->Page.InputComplete);
        EXPECT_EQ(W<QLabel>("NameLabel")->toolTip(), name);
        EXPECT_EQ(Edit("NrTstEdit")->text().toInt(), Doc()->Input.NrTst);

        dialogs.saveNames = {name};
        dialogs.answers = {true, true, false, false};  // overwrite, calculate, no refinement, no optimisation
        Click(Button("SaveAllButton"));
        const std::string out = ReadFile(QString(name).replace(".inp", ".out").toStdString());
        EXPECT_EQ(WithoutName(out), WithoutName(EngineOutput(source.toStdString(), false, false, dir)))
            << source.toStdString();
        if (Doc()->State.Stop) {
            EXPECT_FALSE(dialogs.messages.contains("The calculations were made. The output can be inspected."));
        } else {
            EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.") << source.toStdString();
        }
        Pages()->setCurrentWidget(Tab("InpTab"));
    }
}

TEST_F(InputPageTest, CancelInTheFirstPassEnablesOnlyItsOwnGroup) {
    // A group's Cancel becomes usable with the group's own first save; the
    // first save of the general data disables even that of the one-layer
    // salinity panel, usable at start.
    Click(Button("GenOpenButton"));
    EXPECT_FALSE(Button("GenQuitButton")->isEnabled());
    EXPECT_TRUE(Button("Salt1QuitButton")->isEnabled());
    Type(Edit("NrTstEdit"), "2");
    Click(Button("GenSaveButton"));
    EXPECT_FALSE(Button("HydrQuitButton")->isEnabled());
    EXPECT_FALSE(Button("Salt1QuitButton")->isEnabled());
    PasteCell(Grid("HydrGrid"), 1, 1, "1\t2\t3\r\n4\t5\t6\r\n");
    Click(Button("HydrSaveButton"));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) Grid("Soil1Grid")->SetCell(c, r, "40");
    Click(Button("Soil1SaveButton"));
    ASSERT_TRUE(Panel("Salt1Panel")->isVisible());
    EXPECT_EQ(GroupState(), "---M--");
    EXPECT_FALSE(Button("SaveAllButton")->isEnabled());
    Click(Button("Salt1SaveButton"));
    EXPECT_FALSE(Button("DrainQuitButton")->isEnabled());
    Click(Button("DrainSaveButton"));
    EXPECT_FALSE(Button("CondQuitButton")->isEnabled());
    for (QLineEdit* box : {Edit("SaltIrrigEdit"), Edit("WTdepthEdit"), Edit("GrwtInfEdit"), Edit("GrwtOutEdit"),
                           Edit("CritDepthEdit"), Edit("IrrEffEdit"), Edit("MoistEdit"), Edit("SalInfEdit")})
        Type(box, "1");
    Click(Button("CondSaveButton"));
    EXPECT_EQ(GroupState(), "GHSMDC");

    // Complete mode: Cancel opens every group again.
    Click(Button("GenOpenButton"));
    Click(Button("GenQuitButton"));
    EXPECT_EQ(GroupState(), "GHSMDC");
    EXPECT_TRUE(Button("SaveAllButton")->isEnabled());

    // Changing the number of layers starts a first pass with every Cancel
    // disabled; the layers choice falls back on Cancel.
    Click(Button("GenOpenButton"));
    Choose(Combo("LayersCombo"), 2);
    Click(Button("GenQuitButton"));
    EXPECT_EQ(Combo("LayersCombo")->currentIndex(), 0);
    Click(Button("GenOpenButton"));
    Choose(Combo("LayersCombo"), 2);
    Click(Button("GenSaveButton"));
    EXPECT_TRUE(Messages().contains("The number of layers was increased and data must be added. Please check and "
                                    "save each data group before using \"Save All\""));
    EXPECT_EQ(GroupState(), "-H----");
    for (int k = 0; k < 10; ++k) EXPECT_EQ(QuitButton(k)->isEnabled(), k == 0) << k;

    // the conditions panel's Cancel opens every group, but not "Save all - Run"
    HidePanels();
    Button("CondQuitButton")->setEnabled(true);
    Panel("CondPanel")->show();
    Click(Button("CondQuitButton"));
    EXPECT_EQ(GroupState(), "GHSMDC");
    EXPECT_FALSE(Button("SaveAllButton")->isEnabled());
}

TEST_F(InputPageTest, RefusesTimeStepsBelowOneAndKeepsThePanelOpen) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "0");
    Click(Button("GenSaveButton"));
    EXPECT_EQ(LastMessage(), "The number of time steps must be at least 1.");
    EXPECT_TRUE(Panel("GenPanel")->isVisible());
    Type(Edit("NrTstEdit"), "x7");
    Click(Button("GenSaveButton"));
    EXPECT_EQ(LastMessage(), "'x7' is not a valid integer value");
    EXPECT_TRUE(Panel("GenPanel")->isVisible());
    EXPECT_EQ(Edit("NrTstEdit")->text(), "x7");  // what was typed stays
}

TEST_F(InputPageTest, FailingSavesKeepThePanelAndItsEntries) {
    Button("CondOpenButton")->setEnabled(true);
    Click(Button("CondOpenButton"));
    Type(Edit("SaltIrrigEdit"), "1,5x");
    Click(Button("CondSaveButton"));
    EXPECT_EQ(LastMessage(), "'1,5x' is not a valid floating point value");
    EXPECT_TRUE(Panel("CondPanel")->isVisible());
    Type(Edit("SaltIrrigEdit"), "1.5");
    Type(Edit("IrrEffEdit"), "120");
    Type(Edit("MoistEdit"), "5");
    Click(Button("CondSaveButton"));
    EXPECT_EQ(LastMessage(), "There are invalid values. Please adjust.");
    EXPECT_EQ(LastPlace(), "Initial depth water table (m) is empty.");
    EXPECT_EQ(QApplication::focusWidget(), Edit("WTdepthEdit"));
    EXPECT_EQ(Doc()->Input.Si, 0);  // a refused Save stores nothing
    EXPECT_EQ(Doc()->Input.IrrEff, 0);
    EXPECT_EQ(Edit("IrrEffEdit")->text(), "120");
    EXPECT_TRUE(Panel("CondPanel")->isVisible());
    for (const char* box : {"WTdepthEdit", "GrwtInfEdit", "GrwtOutEdit", "CritDepthEdit", "SalInfEdit"})
        Type(Edit(box), "1");
    Click(Button("CondSaveButton"));
    EXPECT_EQ(Doc()->Input.IrrEff, 100);
    EXPECT_EQ(Doc()->Input.SMini, 20);
    // the boxes show what was stored
    EXPECT_EQ(Edit("IrrEffEdit")->text(), "100");
    EXPECT_EQ(Edit("MoistEdit")->text(), "20");
}

TEST_F(InputPageTest, ExtendedFileResetsThePageAndTheNextFileLoads) {
    std::string text = ReadFile(DataFile("example-1layer.inp"));
    text.insert(text.find("         2        35.50"), " Hydrological data\r\n");
    const std::string extended = dir.File("extended.inp");
    WriteFile(extended, text);
    dialogs.openNames = {QString::fromStdString(extended), QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    EXPECT_EQ(LastMessage().toStdString(), ExtendedVersionMessage);
    EXPECT_EQ(Edit("NrTstEdit")->text(), "11");
    EXPECT_FALSE(Doc()->Page.InputComplete);
    EXPECT_EQ(Pages()->currentWidget(), Tab("IntroTab"));
    Pages()->setCurrentWidget(Tab("InpTab"));
    Click(Button("OpenInpButton"));
    EXPECT_EQ(Doc()->Input.NrTst, 3);
    EXPECT_EQ(Grid("HydrGrid")->Cell(0, 0), "Time step");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 2), "380.25");
    EXPECT_EQ(Grid("SaltGrid1")->Cell(1, 1), "3.20");
    EXPECT_EQ(Grid("SaltGrid1")->Cell(1, 2), "");
    EXPECT_EQ(Grid("Soil1Grid")->Cell(0, 2), "20");
    EXPECT_EQ(Edit("DrainDepthEdit")->text(), "1.8");
    EXPECT_TRUE(Edit("DrainDepthEdit")->isEnabled());
    EXPECT_EQ(GroupState(), "GHSMDC");
}

TEST_F(InputPageTest, MathPageEndsCompleteModeButKeepsSaveAll) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    Pages()->setCurrentWidget(Tab("MathTab"));
    Pages()->setCurrentWidget(Tab("InpTab"));
    EXPECT_EQ(GroupState(), "G-----");
    EXPECT_TRUE(Button("SaveAllButton")->isEnabled());
}

TEST_F(InputPageTest, DialogsCancelledOrOverwriteRefused) {
    Click(Button("OpenInpButton"));
    EXPECT_EQ(LastMessage(), "No input file was selected");
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    const std::string target = dir.File("keep.inp");
    WriteFile(target, "keep me");
    dialogs.saveNames = {QString::fromStdString(target)};
    dialogs.answers = {false};
    dialogs.log.clear();
    Click(Button("SaveAllButton"));
    EXPECT_EQ(ReadFile(target), "keep me");
    EXPECT_EQ(dialogs.log.last(), "confirm: The file already exists, overwrite?");
    dialogs.saveNames = {QString::fromStdString(dir.File("new.inp"))};
    dialogs.answers = {false};
    Click(Button("SaveAllButton"));
    EXPECT_EQ(LastMessage(), "The calculations were not made.");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.File("new.inp"))));
}

TEST_F(InputPageTest, EveryFinishedRunIsReportedAfterARefusedSoilSave) {
    dialogs.openNames = {QString::fromStdString(DataFile("../cases/case006/input.inp"))};
    Click(Button("OpenInpButton"));
    ASSERT_EQ(Doc()->Input.NrLayers, 3);
    const double D2 = Doc()->Input.D[Z2];
    Click(Button("SoilOpenButton"));
    const QString d2 = Grid("Soil3Grid")->Cell(0, 1);
    Grid("Soil3Grid")->SetCell(0, 1, "");
    Click(Button("Soil3SaveButton"));
    EXPECT_EQ(LastMessage(), "The soil data for the 2nd layer are not complete. Calculations cannot be done");
    EXPECT_EQ(Doc()->Input.D[Z2], D2);  // the data set keeps its complete table
    Click(Button("Soil3QuitButton"));
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 1), d2);  // and the grid shows it again

    // another, complete file runs and is reported
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    dialogs.saveNames = {QString::fromStdString(dir.File("other.inp"))};
    dialogs.answers = {true, false, false};
    Click(Button("SaveAllButton"));
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
    EXPECT_EQ(Pages()->currentWidget(), Tab("OutTab"));
    Pages()->setCurrentWidget(Tab("InpTab"));

    // and so does the three-layer file once its soil table is saved whole
    dialogs.openNames = {QString::fromStdString(DataFile("../cases/case006/input.inp"))};
    Click(Button("OpenInpButton"));
    Click(Button("SoilOpenButton"));
    Grid("Soil3Grid")->SetCell(0, 1, "");
    Click(Button("Soil3SaveButton"));
    TypeCell(Grid("Soil3Grid"), 0, 1, d2);
    Click(Button("Soil3SaveButton"));
    EXPECT_EQ(LastMessage(), "The soil data were saved.");
    dialogs.saveNames = {QString::fromStdString(dir.File("three.inp"))};
    dialogs.answers = {true, false, false};
    HidePanels();
    UnlockGroups();
    Click(Button("SaveAllButton"));
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
}

TEST_F(InputPageTest, ProgressBarFromFiftyOneSteps) {
    dialogs.openNames = {QString::fromStdString(DataFile("../cases/case011/input.inp"))};
    Click(Button("OpenInpButton"));
    ASSERT_GT(Doc()->Input.NrTst, 50);
    int shown = 0;
    dialogs.onConfirm = [&](const QString&) { shown += W<QProgressBar>("ProgressBar1")->isVisible(); };
    dialogs.saveNames = {QString::fromStdString(dir.File("long.inp"))};
    dialogs.answers = {true, false, false};
    Click(Button("SaveAllButton"));
    EXPECT_GE(shown, 1);  // visible while the run asked its question
    EXPECT_FALSE(W<QProgressBar>("ProgressBar1")->isVisible());
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
