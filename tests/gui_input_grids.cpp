// Pasting blocks from a spreadsheet into the grids, and changing the number
// of layers and time steps with the entries carried over.
#include <QAction>
#include <QFileInfo>
#include <QHeaderView>

#include "InputPageFixture.h"

namespace halovane::test {

namespace {
const QString TwoRows = "1.5\t10\t20\r\n2.5\t11\t21\r\n";
}


TEST_F(InputPageTest, PastedBlocksGrowTheSeriesAndNeverShrinkIt) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "2");
    Click(Button("GenSaveButton"));
    ASSERT_TRUE(Panel("HydrPanel")->isVisible());

    // four rows copied from a spreadsheet into a series of two
    PasteCell(Grid("HydrGrid"), 1, 1, TwoRows + TwoRows);
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 1), "1.5");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 4), "21");
    EXPECT_EQ(Doc()->Input.NrTst, 2);  // the data set changes with the panel's Save
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 5);
    EXPECT_EQ(Edit("NrTstEdit")->text(), "4");
    EXPECT_EQ(Grid("SaltGrid2")->Cell(0, 4), "4");

    // the same in the cell's editor, down to row 6
    PasteInEditor(Grid("HydrGrid"), 1, 4, "7\t8\t9\r\n6\t5\t4\r\n3\t2\t1\r\n");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 6), "1");
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 7);

    // a paste below row 1 that reaches past the end counts the rows above it too
    PasteCell(Grid("HydrGrid"), 1, 6, TwoRows);
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 8);
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(Doc()->Input.NrTst, 7);
    EXPECT_EQ(Doc()->Input.NrTstHydr, 7);
}

TEST_F(InputPageTest, ACenturyOfDaysScrollsUnderItsHeadingsAndUnits) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "200000");
    Click(Button("GenSaveButton"));
    TStringGrid* grid = Grid("HydrGrid");
    ASSERT_TRUE(grid->isVisible());
    EXPECT_EQ(grid->RowCount(), 200001);
    EXPECT_EQ(grid->Cell(0, 200000), "200000");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(0, 123456), "123456");
    // The units of the heading row stand under the names, in the header.
    QHeaderView* header = grid->horizontalHeader();
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "Rainfall\nmm/timestep");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Serial Nr");
    EXPECT_EQ(Grid("SaltGrid2")->model()->headerData(4, Qt::Horizontal).toString(), "Aquifer\ndS/m");
    EXPECT_TRUE(grid->isRowHidden(0));
    EXPECT_GE(header->height(), 2 * header->fontMetrics().lineSpacing());

    // At the end of the series the headings are still in view over the last day.
    grid->scrollToBottom();
    QApplication::processEvents();
    EXPECT_TRUE(header->isVisible());
    EXPECT_EQ(header->geometry().top(), grid->frameWidth());
    const int lastShown = grid->rowAt(grid->viewport()->height() - 2);
    EXPECT_EQ(grid->Cell(0, lastShown), "200000");
    TypeCell(grid, 3, 200000, "4,5");
    EXPECT_EQ(grid->Cell(3, 200000), "4,5");
    EXPECT_EQ(grid->currentRow(), 200000);

    // Back to a short series: the rows cut off lose their texts, and rows
    // added again start empty.
    HidePanels();
    UnlockGroups();
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "11");
    Click(Button("GenSaveButton"));
    EXPECT_EQ(grid->RowCount(), 12);
    grid->SetRowCount(200001);
    EXPECT_EQ(grid->Cell(3, 200000), "");
}

TEST_F(InputPageTest, TypingOneValueNeverResizesAGrid) {
    Click(Button("GenOpenButton"));
    Click(Button("GenSaveButton"));
    TypeCell(Grid("HydrGrid"), 2, 5, "42");
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 5), "42");
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 12);
    EXPECT_EQ(Doc()->Input.NrTst, 11);
}

TEST_F(InputPageTest, SalinityPastesLongerOrShorterThanTheHydrologicalData) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "10");
    Click(Button("GenSaveButton"));
    QString twelve, eight;
    for (int r = 0; r < 12; ++r) twelve += QString("%1\t\t%2\r\n").arg(r + 1).arg(r + 5);
    for (int r = 0; r < 8; ++r) eight += QString("%1\r\n").arg(r + 1);
    PasteCell(Grid("SaltGrid1"), 1, 1, twelve);
    EXPECT_EQ(LastMessage(), "The number of time steps is larger than that given under Hydrological data. It will be reduced.");
    EXPECT_EQ(Grid("SaltGrid1")->RowCount(), 11);
    EXPECT_EQ(Grid("SaltGrid1")->Cell(3, 10), "14");
    EXPECT_EQ(Grid("SaltGrid1")->Cell(3, 12), "");  // rows past the time steps are not written
    PasteCell(Grid("SaltGrid1"), 1, 1, eight);
    EXPECT_EQ(LastMessage(), "The number of time steps is smaller than that given under Hydrological data. Missing data must be added");
    EXPECT_EQ(Doc()->Input.NrTst, 10);
    // pasting into the two-layer grid makes the salinity button open it
    PasteCell(Grid("SaltGrid2"), 2, 1, eight);
    EXPECT_EQ(Doc()->Page.LayerFlags, 2);
    EXPECT_EQ(Doc()->Input.NrLayers, 1);
}

TEST_F(InputPageTest, SalinitySaveStoresMissingValuesAsMinusOne) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "3");
    Click(Button("GenSaveButton"));
    Grid("SaltGrid1")->SetCell(1, 1, "4.5");
    Grid("SaltGrid1")->SetCell(1, 2, "-");
    Grid("SaltGrid1")->SetCell(2, 3, "0");
    HidePanels();
    Panel("Salt1Panel")->show();
    Click(Button("Salt1SaveButton"));
    EXPECT_EQ(Doc()->Input.ECsm[Z1], (Series{0, 4.5, -1, -1}));
    EXPECT_EQ(Doc()->Input.ECsm[Zt], (Series{0, -1, -1, 0}));
    EXPECT_EQ(Doc()->Input.ECsm[Za], (Series{0, -1, -1, -1}));
}

TEST_F(InputPageTest, LayersOneToThreeAndBackCarryTheEntriesOver) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "2");
    Click(Button("GenSaveButton"));
    const char* soil[3][5] = {{"0.8", "45", "8", "80", "4"}, {"1.5", "42", "6", "70", "7"}, {"20", "40", "10", "100", "8"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) Grid("Soil1Grid")->SetCell(c, r, soil[r][c]);
    Grid("SaltGrid1")->SetCell(1, 1, "3.3");
    Grid("SaltGrid1")->SetCell(2, 2, "6.6");
    Grid("Soil3Grid")->SetCell(4, 0, "9.9");  // replaced by the root zone's initial salinity
    Grid("SaltGrid3")->SetCell(2, 2, "5.5");   // a new layer keeps what its own grid held

    HidePanels();
    UnlockGroups();
    Click(Button("GenOpenButton"));
    Choose(Combo("LayersCombo"), 2);
    Click(Button("GenSaveButton"));
    EXPECT_FALSE(Doc()->Page.InputComplete);
    // The root zone becomes layer 1; layers 2 and 3 are new and start
    // empty: no thickness is counted three times.
    EXPECT_EQ(Grid("Soil3Grid")->Cell(1, 0), "45");
    for (int r = 1; r < 3; ++r) EXPECT_EQ(Grid("Soil3Grid")->Cell(0, r), "") << r;
    EXPECT_EQ(Grid("Soil3Grid")->Cell(4, 0), "4");
    EXPECT_EQ(Grid("Soil3Grid")->Cell(4, 1), "");
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 3), "1.5");
    EXPECT_EQ(Grid("Soil3Grid")->Cell(0, 4), "20");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(1, 1), "3.3");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(2, 1), "");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(3, 1), "");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(2, 2), "5.5");
    EXPECT_EQ(Grid("SaltGrid3")->Cell(4, 2), "6.6");
    EXPECT_EQ(Grid("SaltGrid3")->RowCount(), 3);
    for (int k = 0; k < 10; ++k) EXPECT_FALSE(QuitButton(k)->isEnabled() && k != 0) << k;

    Grid("Soil3Grid")->SetCell(0, 0, "0.3");
    HidePanels();
    UnlockGroups();
    Click(Button("GenOpenButton"));
    Choose(Combo("LayersCombo"), 0);
    Click(Button("GenSaveButton"));
    EXPECT_EQ(LastMessage(), "The general data were saved. Continue with the hydrological data.");
    EXPECT_TRUE(Messages().contains("The number of layers was reduced. Please check and save each data group before using \"Save All\""));
    EXPECT_EQ(Grid("Soil1Grid")->Cell(0, 0), "0.3");
    EXPECT_EQ(Grid("Soil1Grid")->Cell(4, 0), "4");  // 1 -> 3 -> 1 keeps the root zone's initial salinity
    EXPECT_EQ(Grid("Soil1Grid")->Cell(0, 1), "1.5");
    EXPECT_EQ(Grid("SaltGrid1")->ColCount(), 4);
    EXPECT_EQ(Grid("SaltGrid1")->Cell(3, 2), "");
    EXPECT_EQ(Grid("SaltGrid1")->Cell(2, 2), "6.6");
}

TEST_F(InputPageTest, MoreTimeStepsAddNumberedEmptyRows) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "15");
    Click(Button("GenSaveButton"));
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 16);
    EXPECT_EQ(Grid("HydrGrid")->Cell(0, 15), "15");
    EXPECT_EQ(Grid("SaltGrid2")->Cell(0, 12), "12");
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 13), "");
}

TEST_F(InputPageTest, DrainageDepthMustLieInTheTransitionZone) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));  // root zone 0.8 m, transition zone 1.5 m
    Click(Button("DrainOpenButton"));
    for (auto [depth, message] :
         {std::pair<const char*, const char*>{"0.5", "The drain depth must be greater than the total thickness of the root zone. Enlarge the drain depth or reduce the rootzone thickness."},
          {"2.5", "The drain depth must be less than the total thickness of the root zone plus transition zone. Reduce the drain depth or enlarge the transition zone thickness."},
          {"", "Then depth value is invalid. Please adjust."}}) {
        Type(Edit("DrainDepthEdit"), depth);
        Click(Button("DrainSaveButton"));
        EXPECT_EQ(LastMessage(), message);
        EXPECT_TRUE(Panel("DrainPanel")->isVisible());
    }
    Type(Edit("DrainDepthEdit"), "2.3");
    Type(Edit("DrainQH1Edit"), "");
    Type(Edit("DrainQH2Edit"), "0");
    Click(Button("DrainSaveButton"));
    EXPECT_EQ(LastMessage(), "The drainage recation factors QH1 and QH2 need to be given a value.");
    Type(Edit("DrainQH2Edit"), "0.002");
    Click(Button("DrainSaveButton"));
    EXPECT_EQ(LastMessage(), "The data on the Subsurface Drainage System were saved.");
    EXPECT_EQ(Doc()->Input.QH1, 0);
    EXPECT_EQ(Doc()->Input.Dd, 2.3);

    // Cancel puts back the saved choice and disables the boxes
    Click(Button("DrainOpenButton"));
    Choose(Combo("DrainPresentCombo"), 0);
    Click(Button("DrainQuitButton"));
    EXPECT_EQ(Combo("DrainPresentCombo")->currentIndex(), 1);
    EXPECT_TRUE(Doc()->Input.DrainPresent);
    EXPECT_TRUE(Edit("DrainDepthEdit")->isEnabled());
}

}  // namespace halovane::test

namespace halovane::test {

TEST_F(InputPageTest, EditMenuWorksOnTheFocusedControl) {
    auto action = [this](const char* name) { return form->findChild<QAction*>(name); };
    ASSERT_TRUE(action("Copy") && action("Cut") && action("Delete") && action("Paste"));
    EXPECT_EQ(action("Paste")->shortcut(), QKeySequence("Ctrl+V"));
    Click(Button("GenOpenButton"));
    Type(Edit("Tit1Edit"), "North field");
    Edit("Tit1Edit")->setFocus();
    Edit("Tit1Edit")->selectAll();
    action("Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "North field");
    action("Cut")->trigger();
    EXPECT_EQ(Edit("Tit1Edit")->text(), "");
    Edit("Tit2Edit")->setFocus();
    action("Paste")->trigger();
    EXPECT_EQ(Edit("Tit2Edit")->text(), "North field");
    Edit("Tit2Edit")->selectAll();
    action("Delete")->trigger();
    EXPECT_EQ(Edit("Tit2Edit")->text(), "");

    // on a grid: paste a block into the selected cell, delete a selection
    Click(Button("GenSaveButton"));
    QApplication::clipboard()->setText("1\t2\t3\r\n4\t5\t6\r\n");
    Grid("HydrGrid")->setFocus();
    Grid("HydrGrid")->setCurrentCell(1, 1);
    action("Paste")->trigger();
    EXPECT_EQ(Doc()->Input.NrTst, 11);
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 2), "6");
    Grid("HydrGrid")->SelectCells(1, 1, 2, 2);
    action("Delete")->trigger();
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 1), "");
    EXPECT_EQ(Grid("HydrGrid")->Cell(2, 2), "");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 2), "6");
}

TEST_F(InputPageTest, DrainageHelpOpensTheExplanationWindow) {
    QWidget explanation;
    form->SetCompanionWindows(nullptr, &explanation);
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    Click(Button("DrainOpenButton"));
    Click(Button("DrainHelpButton"));
    EXPECT_TRUE(explanation.isVisible());
    EXPECT_TRUE(Panel("DrainPanel")->isVisible());  // not modal: the panel stays usable
    Click(Button("DrainQuitButton"));
    EXPECT_FALSE(explanation.isVisible());
}

}  // namespace halovane::test

namespace halovane::test {

TEST_F(InputPageTest, PastedRowsAreCountedWhateverTheirLineEnds) {
    Click(Button("GenOpenButton"));
    Type(Edit("NrTstEdit"), "1");
    Click(Button("GenSaveButton"));
    // a single row without a line end
    PasteCell(Grid("HydrGrid"), 1, 1, "10\t20\t30");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 1), "30");
    EXPECT_EQ(Doc()->Input.NrTst, 1);
    // rows ended by a line feed alone, as some spreadsheets copy them
    PasteCell(Grid("HydrGrid"), 1, 1, "1\t2\t3\n4\t5\t6\n");
    EXPECT_EQ(Grid("HydrGrid")->Cell(3, 1), "3");
    EXPECT_EQ(Grid("HydrGrid")->Cell(1, 2), "4");
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 3);
    // below the first row: every row down to the last pasted one counts
    PasteCell(Grid("HydrGrid"), 1, 2, "7\t8\t9\r\n1\t1\t1\r\n");
    EXPECT_EQ(Grid("HydrGrid")->RowCount(), 4);
    Click(Button("HydrSaveButton"));
    EXPECT_EQ(Doc()->Input.NrTst, 3);
    EXPECT_EQ(Doc()->Input.NrTstHydr, 3);
    EXPECT_EQ(Doc()->Input.Rain, (Series{0, 1, 7, 1}));
}

TEST_F(InputPageTest, RestartAsksForTheDataAgainBeforeSaving) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    EXPECT_TRUE(Button("SaveAllButton")->isEnabled());
    Click(Button("ReStartButton"));
    EXPECT_FALSE(Button("SaveAllButton")->isEnabled());
    EXPECT_EQ(Combo("DrainPresentCombo")->currentIndex(), 0);
    EXPECT_FALSE(Edit("DrainDepthEdit")->isEnabled());
    EXPECT_FALSE(Doc()->Input.DrainPresent);
}

TEST_F(InputPageTest, MoreTimeStepsThanHydrologicalDataAreNotSaved) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(Button("OpenInpButton"));
    Type(Edit("NrTstEdit"), "5");
    Click(Button("GenSaveButton"));
    HidePanels();
    UnlockGroups();
    dialogs.saveNames = {QString::fromStdString(dir.File("five.inp"))};
    Click(Button("SaveAllButton"));
    EXPECT_EQ(LastMessage(), "The hydrological data do not cover all 5 time steps. Please complete and save the "
                             "hydrological data.");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("five.inp"))));
}

}  // namespace halovane::test
