// What the user types or pastes is stored as entered, or refused with the
// place named; nothing is silently altered or dropped. Entering data moves
// through the grids as in a spreadsheet.
#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <chrono>
#include <tuple>
#include <type_traits>

#include "InputFile.h"
#include "InputPageFixture.h"

namespace halovane::test {

namespace {

// Opens an input data file of the examples.
std::string Example(const char* name) { return std::string(HALOVANE_EXAMPLES) + "/" + name; }

}  // namespace

class InputEntryTest : public InputPageTest {
protected:
    // General data saved with `steps` time steps; the hydrological panel open.
    void StartWithSteps(int steps) {
        Click(Button("GenOpenButton"));
        Type(Edit("NrTstEdit"), QString::number(steps));
        Click(Button("GenSaveButton"));
        ASSERT_TRUE(Panel("HydrPanel")->isVisible());
    }
    static QString Rows(int count, int first = 1) {
        QString text;
        for (int r = first; r < first + count; ++r) text += QString("%1\t%2\t%3\r\n").arg(r).arg(r * 10).arg(r * 100);
        return text;
    }
    // The refusal just shown: a warning whose second line names the place,
    // with the focus on the named cell.
    void ExpectRefusedAt(TStringGrid* grid, int column, int row) {
        EXPECT_TRUE(LastWasWarning());
        EXPECT_FALSE(LastPlace().isEmpty());
        EXPECT_TRUE(grid->hasFocus());
        EXPECT_EQ(grid->currentColumn(), column);
        EXPECT_EQ(grid->currentRow(), row);
    }
    void OpenFile(const std::string& path) {
        dialogs.openNames = {QString::fromStdString(path)};
        Click(Button("OpenInpButton"));
    }
};

TEST_F(InputEntryTest, PastedNumbersKeepTheirExponentAndDecimalComma) {
    StartWithSteps(1);
    PasteCell(Grid("HydrGrid"), 1, 1, "1e3\t2.5E-2\t12,5\r\n");
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 1), "1e3");
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 1), "2.5E-2");
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(Doc()->Input.Rain[1], 1000);
    EXPECT_EQ(Doc()->Input.Irrig[1], 0.025);
    EXPECT_EQ(Doc()->Input.EvapT[1], 12.5);
}

TEST_F(InputEntryTest, CopyThenPasteKeepsTheLastRow) {
    StartWithSteps(3);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(3));
    // the grid's own Copy ends its block without a line end
    TStringGrid* grid = Grid("HydrGrid");
    grid->setFocus();
    grid->clearSelection();
    grid->SelectCells(1, 2, 3, 3);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "2\t20\t200\r\n3\t30\t300");
    EXPECT_FALSE(QApplication::clipboard()->text().endsWith('\n'));
    grid->clearSelection();
    PasteCell(grid, 1, 3, QApplication::clipboard()->text());
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->Cell(3, 3), "200");
    EXPECT_EQ(grid->Cell(3, 4), "300");
}

TEST_F(InputEntryTest, PasteInAnOpenEditorReplacesTheText) {
    StartWithSteps(2);
    TStringGrid* grid = Grid("HydrGrid");
    grid->setFocus();
    grid->setCurrentCell(1, 1);
    QTest::keyClicks(grid, "1");  // the editor opens with "1"
    QLineEdit* editor = Editor(grid);
    ASSERT_TRUE(editor);
    QApplication::clipboard()->setText("10");
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid->Cell(1, 1), "10");
    // Edit > Paste and the editor's own context menu take the same paste.
    for (const char* path : {"menu", "context"}) {
        grid->setFocus();
        grid->setCurrentCell(1, 2);
        QTest::keyClicks(grid, "3");
        editor = Editor(grid);
        ASSERT_TRUE(editor);
        QTest::keyClicks(editor, "5.5");  // "35.5"
        QApplication::clipboard()->setText("1e3");
        if (std::string(path) == "menu") {
            form->findChild<QAction*>("Paste")->trigger();
        } else {
            QTimer::singleShot(0, [] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                ASSERT_TRUE(menu);
                const QString key = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
                for (QAction* a : menu->actions())
                    if (a->objectName() == "edit-paste" || a->text().endsWith('\t' + key)) a->trigger();
                menu->close();
            });
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), editor->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(editor, &event);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(grid->Cell(2, 1), "1e3") << path;
    }
}

TEST_F(InputEntryTest, ACorrectionInsideTheSeriesNeverShrinksIt) {
    StartWithSteps(24);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(24));
    PasteCell(Grid("HydrGrid"), 1, 5, "5.5\t55\t555\r\n6.5\t65\t655\r\n");
    EXPECT_EQ(Doc()->Input.NrTst, 24);
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 25);
    EXPECT_EQ(Edit("NrTstEdit")->text(), "24");
    Click(Button("HydrSaveButton"));
    ASSERT_EQ(Doc()->Input.Rain.size(), 25u);
    EXPECT_EQ(Doc()->Input.Rain[6], 6.5);
    EXPECT_EQ(Doc()->Input.Rain[24], 24);
}

TEST_F(InputEntryTest, RowsAddedByAPasteStartEmpty) {
    StartWithSteps(6);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(6));
    HidePanels();
    UnlockGroups();
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "2");
    Click(Button("GenSaveButton"));
    // rainfall only, for four steps: the other columns of the new rows are empty
    PasteCell(Grid("HydrGrid"), 1, 1, "1\r\n2\r\n3\r\n4\r\n");
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 5);
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 2), "20");  // a row that was there keeps its entries
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 3), "");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 4), "");
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(LastMessage(), "There are empty cells, please correct.");
    EXPECT_EQ(LastPlace(), "Time step 3, Irrigation is empty.");
}

TEST_F(InputEntryTest, UnreadablePastesAreRefusedWithTheirPlaceAndWriteNothing) {
    StartWithSteps(2);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(2));
    PasteCell(Grid("HydrGrid"), 1, 1, "Rain\tIrrigation\tEvap\r\n7\t8\t9\r\n");
    EXPECT_EQ(LastMessage(), "There are not enough data to be pasted or the data are incompatible");
    EXPECT_EQ(LastPlace(), "Time step 1, Rainfall: 'Rain' is not a number.");
    ExpectRefusedAt(Grid("HydrGrid"), 1, 1);
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 1), "1");
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 2), "2");
    // columns beyond the grid are reported, not dropped
    PasteCell(Grid("HydrGrid"), 2, 1, "7\t8\t9\r\n");
    EXPECT_EQ(LastPlace(), "The pasted block has 3 columns; from Irrigation on the grid has 2.");
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 1), "10");
    EXPECT_EQ(Doc()->Input.NrTst, 2);
}

TEST_F(InputEntryTest, SoilGridTakesABlock) {
    StartWithSteps(1);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(1));
    Click(Button("HydrSaveButton"));
    PasteCell(Grid("Soil1Grid"), 0, 0, "0,8\t45\t8\t80\t4\n1.5\t42\t6\t70\t7\n20\t40\t10\t100\t8\n");
    EXPECT_EQ(Grid("Soil1Grid")->Cell(4, 2), "8");
    Click(Button("Soil1SaveButton"));
    EXPECT_EQ(LastMessage(), "The soil data were saved. Continue with the Salinity data ..");
    EXPECT_EQ(Doc()->Input.D[Z1], 0.8);
    EXPECT_EQ(Doc()->Input.Sini[Za], 8);
    // a block longer than the zones is refused
    HidePanels();
    Panel("Soil1Panel")->show();
    PasteCell(Grid("Soil1Grid"), 0, 1, "1\n2\n3\n");
    EXPECT_EQ(LastPlace(), "The pasted block has 3 rows; from Transition zone on the grid has 2.");
    EXPECT_EQ(Grid("Soil1Grid")->Cell(0, 1), "1.5");
}

TEST_F(InputEntryTest, DecimalCommaInBoxesAndGridsFilesUseThePoint) {
    OpenFile(DataFile("example-1layer.inp"));
    Click(Button("HydrOpenButton"));
    TypeCell(Grid("HydrGrid"), 1, 1, "12,5");
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(Doc()->Input.Rain[1], 12.5);
    Click(Button("SaltOpenButton"));
    TypeCell(Grid("SaltGrid1"), 2, 2, "3,25");
    Click(Button("Salt1SaveButton"));
    EXPECT_EQ(Doc()->Input.ECsm[Zt][2], 3.25);
    Click(Button("CondOpenButton"));
    Type(Edit("SaltIrrigEdit"), "1,5");
    Click(Button("CondSaveButton"));
    EXPECT_EQ(Doc()->Input.Si, 1.5);
    const QString inp = QString::fromStdString(dir.File("comma.inp"));
    dialogs.saveNames = {inp};
    dialogs.answers = {false};
    Click(Button("SaveAllButton"));
    ModelInput back;
    back.InputFileName = inp.toStdString();
    ASSERT_TRUE(ReadInputFile(back).Ok());  // the reader takes the point only
    EXPECT_EQ(back.Rain[1], 12.5);
    EXPECT_EQ(back.ECsm[Zt][2], 3.25);
    EXPECT_EQ(back.Si, 1.5);
}

TEST_F(InputEntryTest, SalinityTextIsReportedNotTakenAsMissing) {
    OpenFile(DataFile("example-1layer.inp"));
    const Series before = Doc()->Input.ECsm[Z1];
    Click(Button("SaltOpenButton"));
    TypeCell(Grid("SaltGrid1"), 1, 3, "n.m.");
    TypeCell(Grid("SaltGrid1"), 3, 2, "-");
    Click(Button("Salt1SaveButton"));
    EXPECT_EQ(LastMessage(), "'n.m.' is not a valid floating point value");
    EXPECT_EQ(LastPlace(), "Time step 3, Root zone.");
    ExpectRefusedAt(Grid("SaltGrid1"), 1, 3);
    EXPECT_TRUE(Panel("Salt1Panel")->isVisible());
    EXPECT_EQ(Doc()->Input.ECsm[Z1], before);
    Grid("SaltGrid1")->setCurrentCell(3, 1);
    QTest::keyClick(Grid("SaltGrid1"), Qt::Key_Delete);
    Click(Button("Salt1SaveButton"));
    EXPECT_EQ(Doc()->Input.ECsm[Z1][3], -1);
    EXPECT_EQ(Doc()->Input.ECsm[Za][2], -1);
}

TEST_F(InputEntryTest, EmptySoilCellsAreReportedAndNeverRunAsMinusOne) {
    OpenFile(Example("three-layer-seepage.inp"));
    ASSERT_EQ(Doc()->Input.NrLayers, 3);
    const double LE2 = Doc()->Input.LE[Z2];
    // two layers with an empty leaching efficiency of layer 2
    Click(Button("GenOpenButton"));
    Choose(Combo("LayersCombo"), 1);
    Click(Button("GenSaveButton"));
    HidePanels();
    Panel("Soil2Panel")->show();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c) Grid("Soil2Grid")->SetCell(c, r, "10");
    Grid("Soil2Grid")->SetCell(3, 1, "");
    Click(Button("Soil2SaveButton"));
    EXPECT_EQ(LastMessage(), "There are invalid values. Please adjust.");
    EXPECT_EQ(LastPlace(), "Root zone 2nd layer, Leaching efficiency (%) is empty.");
    ExpectRefusedAt(Grid("Soil2Grid"), 3, 1);
    EXPECT_EQ(Doc()->Input.LE[Z2], LE2);
    // three layers: an empty initial salinity is reported too
    HidePanels();
    Panel("Soil3Panel")->show();
    Grid("Soil3Grid")->SetCell(4, 2, "");
    Click(Button("Soil3SaveButton"));
    EXPECT_EQ(LastPlace(), "Root zone 3rd layer, Initial salinity (dS/m) is empty.");
    EXPECT_GE(Doc()->Input.Sini[Z3], 0);
}

TEST_F(InputEntryTest, RefusedSaveChangesNothingAndCancelShowsTheDataSet) {
    OpenFile(Example("three-layer-seepage.inp"));
    const ModelInput before = Doc()->Input;
    Click(Button("SoilOpenButton"));
    const QString d1 = Grid("Soil3Grid")->Cell(0, 0);
    TypeCell(Grid("Soil3Grid"), 0, 0, "0.2");
    Grid("Soil3Grid")->SetCell(0, 1, "");
    Click(Button("Soil3SaveButton"));
    EXPECT_EQ(LastMessage(), "The soil data for the 2nd layer are not complete. Calculations cannot be done");
    EXPECT_EQ(Doc()->Input.D[Z1], before.D[Z1]);
    Click(Button("Soil3QuitButton"));
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 0), d1);
    EXPECT_FALSE(Grid("Soil3Grid")->Cell(0, 1).isEmpty());

    // general data and hydrological data alike
    Click(Button("GenOpenButton"));
    Type(Edit("Tit1Edit"), "changed");
    Type(Edit("NrTstEdit"), "abc");
    Click(Button("GenSaveButton"));
    EXPECT_EQ(Doc()->Input.Title1, before.Title1);  // the refused Save took nothing
    Click(Button("GenQuitButton"));
    EXPECT_EQ(Edit("Tit1Edit")->text().toStdString(), before.Title1);
    EXPECT_EQ(Edit("NrTstEdit")->text(), QString::number(before.NrTst));
    Click(Button("HydrOpenButton"));
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(before.NrTst + 3));
    Click(Button("HydrQuitButton"));
    EXPECT_EQ(Doc()->Input.NrTst, before.NrTst);
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), before.NrTst + 1);
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 1).toDouble(), before.Rain[1]);

    const QString inp = QString::fromStdString(dir.File("kept.inp"));
    dialogs.saveNames = {inp};
    dialogs.answers = {false};
    Click(Button("SaveAllButton"));
    ModelInput back;
    back.InputFileName = inp.toStdString();
    ASSERT_TRUE(ReadInputFile(back).Ok());
    EXPECT_EQ(back.D[Z1], before.D[Z1]);
    EXPECT_EQ(back.Rain, before.Rain);
}

TEST_F(InputEntryTest, ValuesThatCannotBePhysicalAreRefusedByName) {
    OpenFile(DataFile("example-1layer.inp"));
    Click(Button("SoilOpenButton"));
    TypeCell(Grid("Soil1Grid"), 1, 1, "120");
    Click(Button("Soil1SaveButton"));
    EXPECT_EQ(LastMessage(), "There are invalid values. Please adjust.");
    EXPECT_EQ(LastPlace(), "The total porosity of the transition zone must lie above 0 and up to 100 %.");
    ExpectRefusedAt(Grid("Soil1Grid"), 1, 1);
    TypeCell(Grid("Soil1Grid"), 1, 1, "42");
    TypeCell(Grid("Soil1Grid"), 2, 0, "50");
    Click(Button("Soil1SaveButton"));
    EXPECT_EQ(LastPlace(), "The effective porosity of the root zone must not exceed its total porosity.");
    TypeCell(Grid("Soil1Grid"), 2, 0, "8");
    TypeCell(Grid("Soil1Grid"), 4, 2, "-1");
    Click(Button("Soil1SaveButton"));
    EXPECT_EQ(LastPlace(), "The initial salinity of the aquifer must not be negative.");
    Click(Button("Soil1QuitButton"));

    Click(Button("DrainOpenButton"));
    Type(Edit("DrainQH2Edit"), "-0.002");
    Click(Button("DrainSaveButton"));
    EXPECT_EQ(LastPlace(), "Drainage reaction factor QH2 (m/day/msq) must not be negative.");
    EXPECT_EQ(QApplication::focusWidget(), Edit("DrainQH2Edit"));
    EXPECT_GT(Doc()->Input.QH2, 0);
}

TEST_F(InputEntryTest, TimeStepsAboveTheBoundAreRefusedAtOnce) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "2147483647");
    const auto start = std::chrono::steady_clock::now();
    Click(Button("GenSaveButton"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(LastMessage(), "The number of time steps must not exceed 400000.");
    EXPECT_EQ(LastPlace(), "Number of timesteps: 2147483647.");
    EXPECT_TRUE(LastWasWarning());
    EXPECT_TRUE(Panel("GenPanel")->isVisible());
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 12);
    EXPECT_EQ(Doc()->Input.NrTst, 11);
}

TEST_F(InputEntryTest, BoxesOfBlanksCountAsEmpty) {
    OpenFile(Example("rising-water-table.inp"));
    ASSERT_FALSE(Doc()->Input.DrainPresent);
    EXPECT_EQ(Edit("DrainDepthEdit")->text(), "");
    Click(Button("DrainOpenButton"));
    Choose(Combo("DrainPresentCombo"), 1);
    Type(Edit("DrainDepthEdit"), "   ");
    Click(Button("DrainSaveButton"));
    EXPECT_EQ(LastMessage(), "Then depth value is invalid. Please adjust.");
    Click(Button("DrainQuitButton"));
    Click(Button("CondOpenButton"));
    Type(Edit("GrwtInfEdit"), "  ");
    Click(Button("CondSaveButton"));
    EXPECT_EQ(LastMessage(), "There are invalid values. Please adjust.");
    EXPECT_EQ(LastPlace(), "Ground water inflow (mm/day) is empty.");
}

TEST_F(InputEntryTest, TabMovesBetweenEditableCellsAndEnterMovesDown) {
    StartWithSteps(4);
    TStringGrid* grid = Grid("HydrGrid");
    grid->setFocus();
    grid->setCurrentCell(1, 1);
    // twelve values typed as in a spreadsheet, Tab between them
    for (int k = 0; k < 12; ++k) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_TRUE(target) << k;
        QTest::keyClicks(target, QString::number(k + 1));
        ASSERT_TRUE(Editor(grid)) << k;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(grid->Cell(1 + k % 3, 1 + k / 3), QString::number(k + 1)) << k;
    // Shift+Tab from the first editable cell of a row goes to the end of the row above
    grid->setCurrentCell(3, 1);
    QTest::keyClick(grid, Qt::Key_Backtab);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(grid->currentColumn(), 3);
    // Enter ends the edit and moves down
    QTest::keyClicks(grid, "7");
    QTest::keyClick(Editor(grid), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid->Cell(3, 2), "7");
    EXPECT_EQ(grid->currentRow(), 3);
    EXPECT_EQ(grid->currentColumn(), 3);
    // Enter on the last row goes to the top of the next column, and on the
    // last cell stays: the next value typed never replaces the one entered.
    for (const auto& [column, next, nextColumn] : {std::tuple{1, "8", 2}, std::tuple{3, "9", 3}}) {
        grid->setCurrentCell(4, column);
        QTest::keyClicks(grid, next);
        QTest::keyClick(Editor(grid), Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(grid->Cell(column, 4), QString(next));
        EXPECT_EQ(grid->currentRow(), column == 3 ? 4 : 1) << column;
        EXPECT_EQ(grid->currentColumn(), nextColumn) << column;
    }
}

TEST_F(InputEntryTest, CutInTheGridsAndVisibleHints) {
    StartWithSteps(2);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(2));
    TStringGrid* grid = Grid("HydrGrid");
    grid->setFocus();
    grid->setCurrentCell(2, 3);
    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "200");
    EXPECT_EQ(grid->Cell(3, 2), "");
    // the Edit menu's hints show in the status bar and as tooltips
    auto* cut = form->findChild<QAction*>("Cut");
    ASSERT_TRUE(cut);
    auto* bar = form->findChild<QStatusBar*>("StatusBar");
    ASSERT_TRUE(bar);
    cut->showStatusText(form.get());
    EXPECT_EQ(bar->currentMessage(), "Cuts the selection and puts it on the Clipboard");
    EXPECT_TRUE(form->findChild<QMenu*>("EditMenu")->toolTipsVisible());
}

TEST_F(InputEntryTest, RefusalsAreWarningsAndSavesAreInformation) {
    StartWithSteps(2);
    Click(Button("HydrSaveButton"));
    EXPECT_TRUE(LastWasWarning());
    EXPECT_EQ(LastMessage(), "There are empty cells, please correct.");
    EXPECT_EQ(LastPlace(), "Time step 1, Rainfall is empty.");
    ExpectRefusedAt(Grid("HydrGrid"), 1, 1);
    PasteCell(Grid("HydrGrid"), 1, 1, Rows(2));
    Click(Button("HydrSaveButton"));
    EXPECT_FALSE(LastWasWarning());
    EXPECT_EQ(LastMessage(), "The hydrological data were saved. Continue with the Soil properties.");
}

// The window's controls are not reachable as members: tests and tools find
// them by name.
template <typename T, typename = void>
struct HasPublicHydrGrid : std::false_type {};
template <typename T>
struct HasPublicHydrGrid<T, std::void_t<decltype(std::declval<T&>().HydrGrid)>> : std::true_type {};
template <typename T, typename = void>
struct HasPublicSaveAll : std::false_type {};
template <typename T>
struct HasPublicSaveAll<T, std::void_t<decltype(std::declval<T&>().SaveAllButton)>> : std::true_type {};

TEST_F(InputEntryTest, ControlsAreFoundByNameOnly) {
    EXPECT_FALSE(HasPublicHydrGrid<TMainForm>::value);
    EXPECT_FALSE(HasPublicSaveAll<TMainForm>::value);
    EXPECT_FALSE(HasPublicHydrGrid<InputPage>::value);
    EXPECT_FALSE(HasPublicSaveAll<InputPage>::value);
    for (const char* name : {"HydrGrid", "SaltGrid1", "SaltGrid2", "SaltGrid3", "Soil1Grid", "Soil2Grid", "Soil3Grid"})
        EXPECT_TRUE(form->findChild<TStringGrid*>(name)) << name;
}

}  // namespace halovane::test
