// Pasting blocks from a spreadsheet into the grids, and changing the number
// of layers and time steps with the entries carried over.
#include <QAction>
#include <QFileInfo>

#include "InputPageFixture.h"

namespace halovane::test {

namespace {
const QString TwoRows = "1.5\t10\t20\r\n2.5\t11\t21\r\n";
}


TEST_F(InputPageTest, PastedBlocksSetTheNumberOfTimeSteps) {
    Click(form->GenOpenButton);
    Click(form->GenSaveButton);
    ASSERT_TRUE(form->HydrPanel->isVisible());

    PasteCell(form->HydrGrid, 1, 1, TwoRows);
    EXPECT_EQ(form->HydrGrid->Cell(1, 1), "1.5");
    EXPECT_EQ(form->HydrGrid->Cell(3, 2), "21");
    EXPECT_EQ(form->Input.NrTst, 2);
    EXPECT_EQ(form->Input.NrTstHydr, 2);
    EXPECT_EQ(form->HydrGrid->RowCount(), 3);
    EXPECT_EQ(form->NrTstEdit->text(), "2");
    EXPECT_EQ(form->SaltGrid2->Cell(0, 2), "2");

    // the same block pasted in the cell's editor
    PasteInEditor(form->HydrGrid, 1, 1, "7\t8\t9\r\n6\t5\t4\r\n3\t2\t1\r\n");
    EXPECT_EQ(form->HydrGrid->Cell(3, 3), "1");
    EXPECT_EQ(form->Input.NrTst, 3);
    EXPECT_EQ(form->HydrGrid->RowCount(), 4);

    // blanks and letters are dropped
    PasteCell(form->HydrGrid, 1, 1, "12.5 mm\t1e3\t+4\r\n");
    EXPECT_EQ(form->HydrGrid->Cell(1, 1), "12.5");
    EXPECT_EQ(form->HydrGrid->Cell(2, 1), "13");
    EXPECT_EQ(form->HydrGrid->Cell(3, 1), "4");

    // a last row without a line end is written but not counted
    PasteCell(form->HydrGrid, 1, 1, "1\t2\t3\r\n4\t5\t6");
    EXPECT_EQ(form->Input.NrTst, 1);
    EXPECT_EQ(form->HydrGrid->RowCount(), 2);
    EXPECT_EQ(form->HydrGrid->Cell(1, 2), "4");

    // a paste below row 1 counts the rows above it too
    PasteCell(form->HydrGrid, 1, 1, TwoRows + TwoRows);
    PasteCell(form->HydrGrid, 1, 3, TwoRows);
    EXPECT_EQ(form->Input.NrTst, 4);
    EXPECT_EQ(form->Input.NrTstHydr, 4);
    EXPECT_EQ(form->HydrGrid->RowCount(), 5);
}

TEST_F(InputPageTest, TypingOneValueNeverResizesAGrid) {
    Click(form->GenOpenButton);
    Click(form->GenSaveButton);
    TypeCell(form->HydrGrid, 2, 5, "42");
    EXPECT_EQ(form->HydrGrid->Cell(2, 5), "42");
    EXPECT_EQ(form->HydrGrid->RowCount(), 12);
    EXPECT_EQ(form->Input.NrTst, 11);
}

TEST_F(InputPageTest, SalinityPastesLongerOrShorterThanTheHydrologicalData) {
    Click(form->GenOpenButton);
    Type(form->NrTstEdit, "10");
    Click(form->GenSaveButton);
    QString twelve, eight;
    for (int r = 0; r < 12; ++r) twelve += QString("%1\t\t%2\r\n").arg(r + 1).arg(r + 5);
    for (int r = 0; r < 8; ++r) eight += QString("%1\r\n").arg(r + 1);
    PasteCell(form->SaltGrid1, 1, 1, twelve);
    EXPECT_EQ(LastMessage(), "The number of time steps is larger than that given under Hydrological data. It will be reduced.");
    EXPECT_EQ(form->SaltGrid1->RowCount(), 11);
    EXPECT_EQ(form->SaltGrid1->Cell(3, 10), "14");
    EXPECT_EQ(form->SaltGrid1->Cell(3, 12), "16");  // kept beyond the rows in view
    PasteCell(form->SaltGrid1, 1, 1, eight);
    EXPECT_EQ(LastMessage(), "The number of time steps is smaller than that given under Hydrological data. Missing data must be added");
    EXPECT_EQ(form->Input.NrTst, 10);
    // pasting into the two-layer grid makes the salinity button open it
    PasteCell(form->SaltGrid2, 2, 1, eight);
    EXPECT_EQ(form->Page.LayerFlags, 2);
    EXPECT_EQ(form->Input.NrLayers, 1);
}

TEST_F(InputPageTest, SalinitySaveStoresMissingValuesAsMinusOne) {
    Click(form->GenOpenButton);
    Type(form->NrTstEdit, "3");
    Click(form->GenSaveButton);
    form->SaltGrid1->SetCell(1, 1, "4.5");
    form->SaltGrid1->SetCell(1, 2, "-");
    form->SaltGrid1->SetCell(2, 3, "0");
    form->SaltGrid1->SetCell(3, 3, "abc");
    form->HidePanels();
    form->SaltPanel(1)->show();
    Click(form->Salt1SaveButton);
    EXPECT_EQ(form->Input.ECsm1, (Series{0, 4.5, -1, -1}));
    EXPECT_EQ(form->Input.ECsmt, (Series{0, -1, -1, 0}));
    EXPECT_EQ(form->Input.ECsma, (Series{0, -1, -1, -1}));
}

TEST_F(InputPageTest, LayersOneToThreeAndBackCarryTheEntriesOver) {
    Click(form->GenOpenButton);
    Type(form->NrTstEdit, "2");
    Click(form->GenSaveButton);
    const char* soil[3][5] = {{"0.8", "45", "8", "80", "4"}, {"1.5", "42", "6", "70", "7"}, {"20", "40", "10", "100", "8"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) form->Soil1Grid->SetCell(c, r, soil[r][c]);
    form->SaltGrid1->SetCell(1, 1, "3.3");
    form->SaltGrid1->SetCell(2, 2, "6.6");
    form->Soil3Grid->SetCell(4, 0, "9.9");  // initial salinity of layer 1 stays

    form->HidePanels();
    form->UnlockGroups();
    Click(form->GenOpenButton);
    Choose(form->LayersCombo, 2);
    Click(form->GenSaveButton);
    EXPECT_FALSE(form->Page.InputComplete);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(form->Soil3Grid->Cell(1, r), "45") << r;
    EXPECT_EQ(form->Soil3Grid->Cell(4, 0), "9.9");
    EXPECT_EQ(form->Soil3Grid->Cell(4, 1), "4");
    EXPECT_EQ(form->Soil3Grid->Cell(0, 3), "1.5");
    EXPECT_EQ(form->Soil3Grid->Cell(0, 4), "20");
    EXPECT_EQ(form->SaltGrid3->Cell(1, 1), "3.3");
    EXPECT_EQ(form->SaltGrid3->Cell(3, 1), "3.3");
    EXPECT_EQ(form->SaltGrid3->Cell(4, 2), "6.6");
    EXPECT_EQ(form->SaltGrid3->RowCount(), 3);
    for (int k = 0; k < 10; ++k) EXPECT_FALSE(form->AllQuitButtons(k)->isEnabled() && k != 0) << k;

    form->Soil3Grid->SetCell(0, 0, "0.3");
    form->HidePanels();
    form->UnlockGroups();
    Click(form->GenOpenButton);
    Choose(form->LayersCombo, 0);
    Click(form->GenSaveButton);
    EXPECT_EQ(LastMessage(), "The general data were saved. Continue with the hydrological data.");
    EXPECT_TRUE(Messages().contains("The number of layers was reduced. Please check and save each data group before using \"Save All\""));
    EXPECT_EQ(form->Soil1Grid->Cell(0, 0), "0.3");
    EXPECT_EQ(form->Soil1Grid->Cell(0, 1), "1.5");
    EXPECT_EQ(form->SaltGrid1->ColCount(), 4);
    EXPECT_EQ(form->SaltGrid1->Cell(3, 2), "");
    EXPECT_EQ(form->SaltGrid1->Cell(2, 2), "6.6");
}

TEST_F(InputPageTest, MoreTimeStepsAddNumberedEmptyRows) {
    Click(form->GenOpenButton);
    Type(form->NrTstEdit, "15");
    Click(form->GenSaveButton);
    EXPECT_EQ(form->HydrGrid->RowCount(), 16);
    EXPECT_EQ(form->HydrGrid->Cell(0, 15), "15");
    EXPECT_EQ(form->SaltGrid2->Cell(0, 12), "12");
    EXPECT_EQ(form->HydrGrid->Cell(1, 13), "");
}

TEST_F(InputPageTest, DrainageDepthMustLieInTheTransitionZone) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);  // root zone 0.8 m, transition zone 1.5 m
    Click(form->DrainOpenButton);
    for (auto [depth, message] :
         {std::pair<const char*, const char*>{"0.5", "The drain depth must be greater than the total thickness of the root zone. Enlarge the drain depth or reduce the rootzone thickness."},
          {"2.5", "The drain depth must be less than the total thickness of the root zone plus transition zone. Reduce the drain depth or enlarge the transition zone thickness."},
          {"", "Then depth value is invalid. Please adjust."}}) {
        Type(form->DrainDepthEdit, depth);
        Click(form->DrainSaveButton);
        EXPECT_EQ(LastMessage(), message);
        EXPECT_TRUE(form->DrainPanel->isVisible());
    }
    Type(form->DrainDepthEdit, "2.3");
    Type(form->DrainQH1Edit, "");
    Type(form->DrainQH2Edit, "0");
    Click(form->DrainSaveButton);
    EXPECT_EQ(LastMessage(), "The drainage recation factors QH1 and QH2 need to be given a value.");
    Type(form->DrainQH2Edit, "0.002");
    Click(form->DrainSaveButton);
    EXPECT_EQ(LastMessage(), "The data on the Subsurface Drainage System were saved.");
    EXPECT_EQ(form->Input.QH1, 0);
    EXPECT_EQ(form->Input.Dd, 2.3);

    // Cancel puts back the saved choice and disables the boxes
    Click(form->DrainOpenButton);
    Choose(form->DrainPresentCombo, 0);
    Click(form->DrainQuitButton);
    EXPECT_EQ(form->DrainPresentCombo->currentIndex(), 1);
    EXPECT_TRUE(form->Input.DrainPresent);
    EXPECT_TRUE(form->DrainDepthEdit->isEnabled());
}

}  // namespace halovane::test

namespace halovane::test {

TEST_F(InputPageTest, EditMenuWorksOnTheFocusedControl) {
    auto action = [this](const char* name) { return form->findChild<QAction*>(name); };
    ASSERT_TRUE(action("Copy") && action("Cut") && action("Delete") && action("Paste"));
    EXPECT_EQ(action("Paste")->shortcut(), QKeySequence("Ctrl+V"));
    Click(form->GenOpenButton);
    Type(form->Tit1Edit, "North field");
    form->Tit1Edit->setFocus();
    form->Tit1Edit->selectAll();
    action("Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "North field");
    action("Cut")->trigger();
    EXPECT_EQ(form->Tit1Edit->text(), "");
    form->Tit2Edit->setFocus();
    action("Paste")->trigger();
    EXPECT_EQ(form->Tit2Edit->text(), "North field");
    form->Tit2Edit->selectAll();
    action("Delete")->trigger();
    EXPECT_EQ(form->Tit2Edit->text(), "");

    // on a grid: paste a block into the selected cell, delete a selection
    Click(form->GenSaveButton);
    QApplication::clipboard()->setText("1\t2\t3\r\n4\t5\t6\r\n");
    form->HydrGrid->setFocus();
    form->HydrGrid->setCurrentCell(1, 1);
    action("Paste")->trigger();
    EXPECT_EQ(form->Input.NrTst, 2);
    EXPECT_EQ(form->HydrGrid->Cell(3, 2), "6");
    form->HydrGrid->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 2), true);
    action("Delete")->trigger();
    EXPECT_EQ(form->HydrGrid->Cell(1, 1), "");
    EXPECT_EQ(form->HydrGrid->Cell(2, 2), "");
    EXPECT_EQ(form->HydrGrid->Cell(3, 2), "6");
}

TEST_F(InputPageTest, DrainageHelpOpensTheExplanationWindow) {
    QWidget explanation;
    form->SetCompanionWindows(nullptr, &explanation);
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);
    Click(form->DrainOpenButton);
    Click(form->DrainHelpButton);
    EXPECT_TRUE(explanation.isVisible());
    EXPECT_TRUE(form->DrainPanel->isVisible());  // not modal: the panel stays usable
    Click(form->DrainQuitButton);
    EXPECT_FALSE(explanation.isVisible());
}

}  // namespace halovane::test

namespace halovane::test {

TEST_F(InputPageTest, PastesThatWouldLoseRowsAreRefusedOrCounted) {
    Click(form->GenOpenButton);
    Click(form->GenSaveButton);
    // a single row without a line end: the grid keeps its rows
    PasteCell(form->HydrGrid, 1, 1, "10\t20\t30");
    EXPECT_EQ(LastMessage(), "There are not enough data to be pasted or the data are incompatible");
    EXPECT_EQ(form->Input.NrTst, 11);
    EXPECT_EQ(form->HydrGrid->RowCount(), 12);
    // rows ended by a line feed alone, as some spreadsheets copy them
    PasteCell(form->HydrGrid, 1, 1, "1\t2\t3\n4\t5\t6\n");
    EXPECT_EQ(form->HydrGrid->Cell(3, 1), "3");
    EXPECT_EQ(form->HydrGrid->Cell(1, 2), "4");
    EXPECT_EQ(form->Input.NrTst, 2);
    // below the first row: every row down to the last pasted one counts
    PasteCell(form->HydrGrid, 1, 2, "7\t8\t9\r\n1\t1\t1\r\n");
    EXPECT_EQ(form->Input.NrTst, 3);
    EXPECT_EQ(form->Input.NrTstHydr, 3);
    Click(form->HydrSaveButton);
    EXPECT_EQ(form->Input.Rain, (Series{0, 1, 7, 1}));
}

TEST_F(InputPageTest, RestartAsksForTheDataAgainBeforeSaving) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);
    EXPECT_TRUE(form->SaveAllButton->isEnabled());
    Click(form->ReStartButton);
    EXPECT_FALSE(form->SaveAllButton->isEnabled());
    EXPECT_EQ(form->DrainPresentCombo->currentIndex(), 0);
    EXPECT_FALSE(form->DrainDepthEdit->isEnabled());
    EXPECT_FALSE(form->Input.DrainPresent);
}

TEST_F(InputPageTest, MoreTimeStepsThanHydrologicalDataAreNotSaved) {
    dialogs.openNames = {QString::fromStdString(DataFile("example-1layer.inp"))};
    Click(form->OpenInpButton);
    Type(form->NrTstEdit, "5");
    Click(form->GenSaveButton);
    form->HidePanels();
    form->UnlockGroups();
    dialogs.saveNames = {QString::fromStdString(dir.File("five.inp"))};
    Click(form->SaveAllButton);
    EXPECT_EQ(LastMessage(), "The hydrological data do not cover all 5 time steps. Please complete and save the "
                             "hydrological data.");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("five.inp"))));
}

}  // namespace halovane::test
