// The Input page holds one data set: a file opened replaces everything of
// the one before, on screen and in what is saved and run.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

#include "EngineSupport.h"
#include "InputFile.h"
#include "RunDriver.h"
#include "InputPageFixture.h"

namespace halovane::test {

namespace {

std::vector<std::string> DataSetFiles() {
    std::vector<std::string> files;
    for (const char* name : {"daily-leaching-experiment.inp", "one-layer-monthly.inp", "rising-water-table.inp",
                             "three-layer-seepage.inp", "two-layer-drained.inp"})
        files.push_back(std::string(HALOVANE_EXAMPLES) + "/" + name);
    // an old layout (one initial salinity, no moisture line) and a short file
    for (const char* name : {"legacy-oldest.inp", "example-1layer.inp"}) files.push_back(DataFile(name));
    return files;
}

// A file's text without line 2, which names the file.
std::string WithoutName(const std::string& text) {
    const size_t first = text.find('\n'), second = text.find('\n', first + 1);
    return second == std::string::npos ? text : text.substr(0, first) + text.substr(second);
}

}  // namespace

class DocumentTest : public InputPageTest {
protected:
    void Restart() {
        form = std::make_unique<TMainForm>(dialogs);
        form->show();
        Pages()->setCurrentWidget(Tab("InpTab"));
    }
    void OpenFile(const std::string& path) {
        dialogs.openNames = {QString::fromStdString(path)};
        Click(Button("OpenInpButton"));
    }
    // Everything the data panels hold, shown or hidden: every cell of every
    // grid, every box and every choice.
    QStringList Screen() const {
        QStringList screen;
        for (const TStringGrid* g : form->findChildren<TStringGrid*>()) {
            if (g->objectName().isEmpty()) continue;
            for (int r = 0; r < g->RowCount(); ++r)
                for (int c = 0; c < g->ColCount(); ++c)
                    screen << g->objectName() + QString(" %1,%2 ").arg(c).arg(r) + g->Cell(c, r);
        }
        for (const QLineEdit* e : form->findChildren<QLineEdit*>())
            if (!e->objectName().isEmpty() && !e->objectName().startsWith("qt_"))
                screen << e->objectName() + " " + e->text() + (e->isEnabled() ? "" : " (off)");
        for (const QComboBox* c : form->findChildren<QComboBox*>())
            if (!c->objectName().isEmpty()) screen << c->objectName() + " " + QString::number(c->currentIndex());
        screen.sort();  // the order of the controls is not the user's concern
        return screen;
    }
    // "Save all - Run" to `path`, without the calculations.
    std::string SaveAll(const std::string& path) {
        dialogs.saveNames = {QString::fromStdString(path)};
        dialogs.answers = {true, false};  // overwrite if asked; no calculations
        if (!QFileInfo::exists(QString::fromStdString(path))) dialogs.answers.pop_front();
        Click(Button("SaveAllButton"));
        return WithoutName(ReadFile(path));
    }
};

// Opening A and then B, or restarting and then opening B, leaves the page
// exactly as opening B in a fresh program: the same panels, the same data
// set, the same file saved.
TEST_F(DocumentTest, OpeningAFileReplacesEverythingOfTheOneBefore) {
    const std::vector<std::string> files = DataSetFiles();
    for (const std::string& b : files) {
        Restart();
        OpenFile(b);
        const QStringList fresh = Screen();
        const std::string freshFile = SaveAll(dir.File("fresh.inp"));
        ASSERT_FALSE(freshFile.empty()) << b;
        for (const std::string& a : files) {
            Restart();
            OpenFile(a);
            OpenFile(b);
            EXPECT_EQ(Screen(), fresh) << a << " then " << b;
            EXPECT_EQ(SaveAll(dir.File("pair.inp")), freshFile) << a << " then " << b;
        }
        Restart();
        OpenFile(files[0]);
        Click(Button("ReStartButton"));
        Pages()->setCurrentWidget(Tab("InpTab"));  // a restart shows the Intro page
        OpenFile(b);
        EXPECT_EQ(Screen(), fresh) << "Restart then " << b;
    }
}

// More time steps than the file had: the new rows are empty, whatever an
// earlier, longer file held; a drainage choice not saved changes nothing.
TEST_F(DocumentTest, RowsAndChoicesOfAnEarlierFileNeverComeBack) {
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/two-layer-drained.inp");  // 24 steps, drains
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");  // 3 steps
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "6");
    Click(Button("GenSaveButton"));
    for (int r = 4; r <= 6; ++r)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(Grid("HydrGrid")->Cell(c, r), "") << r;
    for (int r = 4; r <= 6; ++r) EXPECT_EQ(Grid("SaltGrid1")->Cell(1, r), "") << r;
    EXPECT_EQ(Doc()->Input.Rain.size(), 4u);  // the data set holds three steps until the hydrological Save

    OpenFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");  // drains
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/three-layer-seepage.inp");  // none
    Click(Button("DrainOpenButton"));
    Choose(Combo("DrainPresentCombo"), 1);
    EXPECT_EQ(Edit("DrainDepthEdit")->text(), "");
    EXPECT_FALSE(Doc()->Input.DrainPresent);
    Click(Button("DrainQuitButton"));
    EXPECT_FALSE(Doc()->Input.DrainPresent);
    EXPECT_EQ(Doc()->Input.Dd, 0);
}

// Edits on screen are saved, discarded or kept only as the user says; the
// title bar names the file and marks changes not yet written to it.
TEST_F(DocumentTest, EditsOnScreenAreNeverDroppedSilently) {
    using Choice = Dialogs::Choice;
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");
    EXPECT_TRUE(form->windowTitle().startsWith("one-layer-monthly.inp[*]")) << form->windowTitle().toStdString();
    EXPECT_FALSE(form->isWindowModified());
    // The general panel is open after "Open input": "Save all" saves what it shows.
    Type(Edit("Tit1Edit"), "Typed title");
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_NE(SaveAll(dir.File("typed.inp")).find("Typed title"), std::string::npos);
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_TRUE(form->windowTitle().startsWith("typed.inp[*]"));

    const QString asked = "choose: The changes on the panel \"General data\" were not saved. Save them now?";
    // After "Open input" the general panel is open and the group buttons too.
    OpenFile(dir.File("typed.inp"));
    Type(Edit("Tit1Edit"), "Second");
    dialogs.choices = {Choice::Cancel};
    Click(Button("CondOpenButton"));
    EXPECT_EQ(dialogs.log.last(), asked);
    EXPECT_TRUE(Panel("GenPanel")->isVisible());
    EXPECT_EQ(Edit("Tit1Edit")->text(), "Second");
    dialogs.choices = {Choice::Discard};
    Click(Button("CondOpenButton"));
    EXPECT_TRUE(Panel("CondPanel")->isVisible());
    EXPECT_EQ(Doc()->Input.Title1, "Typed title");
    EXPECT_EQ(Edit("Tit1Edit")->text(), "Typed title");
    Click(Button("CondQuitButton"));
    Click(Button("GenOpenButton"));

    Type(Edit("Tit1Edit"), "Third");
    dialogs.choices = {Choice::Save};
    Pages()->setCurrentWidget(Tab("OutTab"));
    EXPECT_EQ(Doc()->Input.Title1, "Third");
    EXPECT_EQ(Pages()->currentWidget(), Tab("OutTab"));
    EXPECT_TRUE(form->isWindowModified());  // saved in the data set, not yet in its file
    Pages()->setCurrentWidget(Tab("InpTab"));
    Click(Button("GenOpenButton"));
    Type(Edit("Tit1Edit"), "Fourth");
    for (const char* leave : {"tab", "ReStartButton", "OpenInpButton"}) {
        dialogs.choices = {Choice::Cancel};
        const int asks = static_cast<int>(dialogs.log.count(asked));
        if (std::string(leave) == "tab")
            Pages()->setCurrentWidget(Tab("GraphTab"));
        else
            Click(Button(leave));
        EXPECT_EQ(dialogs.log.count(asked), asks + 1) << leave;
        EXPECT_EQ(Pages()->currentWidget(), Tab("InpTab")) << leave;
        EXPECT_EQ(Edit("Tit1Edit")->text(), "Fourth") << leave;
        EXPECT_EQ(Doc()->Input.Title1, "Third") << leave;
    }
    dialogs.choices = {Choice::Cancel};
    form->close();
    EXPECT_EQ(dialogs.log.last(), asked);
    EXPECT_EQ(Edit("Tit1Edit")->text(), "Fourth");

    // A drainage choice on screen goes through the panel's checks before a run.
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/three-layer-seepage.inp");
    Click(Button("SaltOpenButton"));
    Click(Button("Salt3SaveButton"));  // opens the drainage panel, "Save all - Run" on
    Choose(Combo("DrainPresentCombo"), 1);
    emit Combo("DrainPresentCombo")->activated(1);
    dialogs.saveNames = {QString::fromStdString(dir.File("drains.inp"))};
    Click(Button("SaveAllButton"));
    EXPECT_EQ(LastMessage(), "Then depth value is invalid. Please adjust.");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("drains.inp"))));
    EXPECT_FALSE(Doc()->Input.DrainPresent);
}

// A change of the number of layers moves each entry to one place only:
// 2 -> 1 -> 2 gives layer 2 its measurements back, and a layer that splits
// an old one starts empty instead of repeating its thickness.
TEST_F(DocumentTest, LayerChangesNeitherInventNorDropData) {
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/two-layer-drained.inp");
    const QString d1 = Grid("Soil2Grid")->Cell(0, 0), d2 = Grid("Soil2Grid")->Cell(0, 1);
    Click(Button("SaltOpenButton"));
    TypeCell(Grid("SaltGrid2"), 2, 1, "3.3");
    Click(Button("Salt2SaveButton"));
    for (int layers : {1, 2, 3}) {
        HidePanels();
        UnlockGroups();
        Click(Button("GenOpenButton"));
        Choose(Combo("LayersCombo"), layers - 1);
        Click(Button("GenSaveButton"));
    }
    EXPECT_EQ(Grid("SaltGrid2")->Cell(2, 1), "3.3");
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 0), d1);
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 1), "");  // the split layer, to be entered
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 2), d2);
    EXPECT_EQ(Grid("SaltGrid3")->Cell(3, 1), "3.3");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(2, 1), "");
}

// Every panel can be finished from the keyboard: Save and Cancel have keys
// (Alt+S, Alt+C), Ctrl+Tab or Esc leaves a grid, Backspace clears cells.
TEST_F(DocumentTest, PanelsAreFinishedFromTheKeyboard) {
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");
    Type(Edit("Tit1Edit"), "Keyed");
    for (int k = 0; k < 10; ++k) EXPECT_EQ(QuitButton(k)->shortcut(), QKeySequence("Alt+C")) << k;
    EXPECT_EQ(Button("GenSaveButton")->shortcut(), QKeySequence("Alt+S"));
    Click(Button("GenSaveButton"));
    EXPECT_EQ(Doc()->Input.Title1, "Keyed");
    ASSERT_TRUE(Panel("HydrPanel")->isVisible());
    TStringGrid* grid = Grid("HydrGrid");
    grid->setFocus();
    grid->setCurrentCell(2, 1);
    QTest::keyClick(grid, Qt::Key_Backspace);
    EXPECT_EQ(grid->Cell(1, 2), "");
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_FALSE(grid->hasFocus());
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(grid->hasFocus());
    Click(Button("HydrQuitButton"));
    EXPECT_FALSE(Panel("HydrPanel")->isVisible());
    EXPECT_EQ(Doc()->Input.Rain[2], 35.5);  // the cleared cell was not saved
}

// Values with more decimals than the file keeps are run as the file holds
// them: the window's output is the output of a run of its own saved file,
// and the Save says what it rounded before the run.
TEST_F(DocumentTest, TheWindowRunsWhatItsFileHolds) {
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");
    Click(Button("HydrOpenButton"));
    TypeCell(Grid("HydrGrid"), 2, 3, "213.456");
    Click(Button("HydrSaveButton"));
    Click(Button("Soil1QuitButton"));
    Click(Button("SoilOpenButton"));
    TypeCell(Grid("Soil1Grid"), 3, 0, "72.5");
    Click(Button("Soil1SaveButton"));
    Click(Button("Salt1QuitButton"));
    Click(Button("DrainOpenButton"));
    Type(Edit("DrainQH2Edit"), "0.00015");
    Click(Button("DrainSaveButton"));
    Type(Edit("SaltIrrigEdit"), "1.25");
    Click(Button("CondSaveButton"));
    ASSERT_EQ(Doc()->Input.Irrig[3], 213.456);

    const std::string saved = dir.File("rounded.inp");
    dialogs.saveNames = {QString::fromStdString(saved)};
    dialogs.answers = {true};  // do the calculations; no refinement, no optimisation
    dialogs.messages.clear();
    Click(Button("SaveAllButton"));
    const QString told = dialogs.messages.join("\n");
    for (const char* line : {"irrigation in time step 3: 213.456 mm is saved as 213.46 mm (2 decimals)",
                             "leaching efficiency of the root zone: 72.5 % is saved as 72 % (0 decimals)",
                             "reaction factor QH2: 0.00015 m/day/msq is saved as 0.0001 m/day/msq (4 decimals)",
                             "salinity of the irrigation water: 1.25 dS/m is saved as 1.2 dS/m (1 decimal)"})
        EXPECT_TRUE(told.contains(line)) << line << "\n" << told.toStdString();
    EXPECT_LT(told.indexOf("is saved as"), told.indexOf("The calculations were made."));
    EXPECT_EQ(Doc()->Input.Irrig[3], 213.46);  // the data set now holds what the file holds
    // and the panels show it
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 3), "213.46");
    EXPECT_EQ(Grid("Soil1Grid")->Cell(3, 0), "72");
    EXPECT_EQ(Edit("DrainQH2Edit")->text(), "0.0001");

    const std::string copy = dir.File("runner.inp");
    WriteFile(copy, ReadFile(saved));
    ModelInput in;
    in.InputFileName = copy;
    ASSERT_TRUE(ReadInputFile(in).Ok());
    ModelState state;
    ScriptedInteraction ui(false, false);
    ASSERT_EQ(RunModel(in, state, ui).status, RunStatus::Completed);
    EXPECT_EQ(WithoutName(ReadFile(dir.File("runner.out"))), WithoutName(ReadFile(dir.File("rounded.out"))));

    // A rounding that changes what the check accepts writes nothing.
    Pages()->setCurrentWidget(Tab("InpTab"));
    Click(Button("SoilOpenButton"));
    TypeCell(Grid("Soil1Grid"), 2, 0, "1e-308");
    Click(Button("Soil1SaveButton"));
    Click(Button("Salt1QuitButton"));
    dialogs.saveNames = {QString::fromStdString(dir.File("flipped.inp"))};
    dialogs.warnings.clear();
    Click(Button("SaveAllButton"));
    const QString warned = dialogs.warnings.join("\n");
    EXPECT_TRUE(warned.contains("effective porosity of the root zone: 1e-308 % is accepted, but saved as 0 % it "
                                "would be refused"))
        << warned.toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir.File("flipped.inp")));
}

// Undo and Redo take back and make again the open panel's edits that are
// not saved: typed cells (a cell's keys as one edit), pasted blocks that
// grew the series, and boxes; a Save ends them.
TEST_F(DocumentTest, UndoAndRedoTheEditsNotSaved) {
    OpenFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");  // 3 steps
    Click(Button("HydrOpenButton"));
    TStringGrid* grid = Grid("HydrGrid");
    const QStringList opened = Screen();
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    };
    TypeCell(grid, 1, 2, "12.5");
    PasteCell(grid, 1, 3, "1\t2\t3\r\n4\t5\t6\r\n");  // grows the series to 4 steps
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_TRUE(form->isWindowModified());
    const QStringList edited = Screen();
    key(Qt::Key_Z);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(Edit("NrTstEdit")->text(), "3");
    EXPECT_EQ(grid->Cell(1, 2), "12.5");
    key(Qt::Key_Z);  // the keys typed
    EXPECT_EQ(grid->Cell(1, 2), "");
    key(Qt::Key_Z);  // the Delete before them
    EXPECT_EQ(Screen(), opened);
    EXPECT_FALSE(form->isWindowModified());
    key(Qt::Key_Y);
    key(Qt::Key_Y);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Screen(), edited);
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(Doc()->Input.NrTst, 4);
    key(Qt::Key_Z);  // nothing left to take back once saved
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->Cell(1, 2), "12.5");

    // Boxes and choices, from the box that has the focus.
    Click(Button("DrainOpenButton"));
    const QStringList drains = Screen();
    Type(Edit("DrainDepthEdit"), "9");
    key(Qt::Key_Z);  // in the box: the panel's edit, not the box's own
    EXPECT_EQ(Screen(), drains);
    key(Qt::Key_Y);
    Choose(Combo("DrainPresentCombo"), 0);
    emit Combo("DrainPresentCombo")->activated(0);
    EXPECT_FALSE(Edit("DrainDepthEdit")->isEnabled());
    Combo("DrainPresentCombo")->setFocus();
    key(Qt::Key_Z);
    EXPECT_TRUE(Edit("DrainDepthEdit")->isEnabled());
    EXPECT_EQ(Edit("DrainDepthEdit")->text(), "9");
    form->findChild<QAction*>("Undo")->trigger();
    EXPECT_EQ(Screen(), drains);
}

}  // namespace halovane::test
