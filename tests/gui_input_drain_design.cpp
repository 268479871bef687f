// The drainage panel's design part: the factors of a drain spacing fill the
// panel's boxes, the discharge table shows what the file's rounding costs,
// the spacing of a design discharge is found, and a window run with designed
// factors gives what the runner gives on the file it saved.
#include <QGroupBox>
#include <QTableWidget>

#include "DrainDesign.h"
#include "EngineSupport.h"
#include "InputFile.h"
#include "InputPageFixture.h"
#include "TextFile.h"

namespace halovane::test {
namespace {

class DrainDesignTest : public InputPageTest {
protected:
    void SetUp() override {
        InputPageTest::SetUp();
        dialogs.openNames = {QString(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp"};
        Click(Button("OpenInpButton"));
        Click(Button("DrainOpenButton"));
    }
    // Types the design data (the drain depth is the file's, 1.8 m) and designs.
    void DesignAt(const QString& spacing, const QString& ka, const QString& kb, const QString& D) {
        const char* names[] = {"DrainSpacingEdit", "DrainKaEdit", "DrainKbEdit", "DrainImpermeableEdit",
                               "DrainRadiusEdit"};
        const QString texts[] = {spacing, ka, kb, D, "0.1"};
        for (int k = 0; k < 5; ++k) Type(Edit(names[k]), texts[k]);
        Click(Button("DrainDesignButton"));
    }
    QString Cell(int row, int column) const { return W<QTableWidget>("DrainDischargeTable")->item(row, column)->text(); }
    QString Message() const { return W<QLabel>("DrainDesignMessage")->text(); }
};

TEST_F(DrainDesignTest, FillsTheFactorsShowsTheRoundingAndFindsTheSpacing) {
    const drain::DrainSoil soil{1.8, 0.5, 0.8, 3, 0.1};
    const drain::Design wide = drain::DesignAt(soil, 120);
    DesignAt("120", "0.5", "0,8", "3");
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(Edit("DrainQH1Edit")->text(), QString::number(wide.QH1, 'g', 6));
    EXPECT_EQ(Edit("DrainQH2Edit")->text(), QString::number(wide.QH2, 'g', 6));
    auto* table = W<QTableWidget>("DrainDischargeTable");
    EXPECT_FALSE(table->isColumnHidden(2));  // the factors round in the file
    const std::vector<drain::DischargeRow> rows = drain::DischargeTable(wide);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(Cell(r, 1), QString::number(rows[r].designed, 'f', 3));
        EXPECT_EQ(Cell(r, 2), QString::number(rows[r].saved, 'f', 3));
    }
    EXPECT_EQ(W<QLabel>("DrainRoundingLabel")->text(), "The input data file keeps 4 decimals: QH1 0.0012, QH2 0.0001.");

    // The spacing of the discharge designed at h = 0.5 m is the design's.
    Type(Edit("DrainDischargeEdit"), QString::number(rows[1].designed, 'g', 17));
    Type(Edit("DrainHeadEdit"), "0.5");
    Click(Button("DrainSpacingButton"));
    EXPECT_EQ(Edit("DrainSpacingEdit")->text(), "120.00");

    // A refused entry leaves the factors as they were and names its box.
    Type(Edit("DrainKaEdit"), "abc");
    Click(Button("DrainDesignButton"));
    EXPECT_EQ(Message(), "'abc' is not a valid floating point value\n"
                         "Conductivity above drains Ka (m/day).");
    EXPECT_EQ(QApplication::focusWidget(), Edit("DrainKaEdit"));
    Type(Edit("DrainQH1Edit"), "0.002");
    EXPECT_EQ(Message(), "The factors in the boxes are no longer those of this design.");

    // Saved as designed: the file keeps what the table calls "as saved".
    DesignAt("120", "0.5", "0.8", "3");
    Click(Button("DrainSaveButton"));
    dialogs.saveNames = {QString::fromStdString(dir.File("designed.inp"))};
    dialogs.answers = {false};  // saved, no run
    Click(Button("SaveAllButton"));
    ModelInput saved;
    saved.InputFileName = dir.File("designed.inp");
    ASSERT_TRUE(ReadInputFile(saved).Ok());
    EXPECT_EQ(saved.QH1, drain::AsSaved(wide.QH1));
    EXPECT_EQ(Cell(0, 2), QString::number(drain::DischargeMm(saved.QH1, saved.QH2, 0.25), 'f', 3));

    // Without a drainage system the design is closed, and its data stay.
    Choose(Combo("DrainPresentCombo"), 0);
    EXPECT_FALSE(W<QGroupBox>("DrainDesignBox")->isEnabled());
    EXPECT_EQ(Edit("DrainSpacingEdit")->text(), "120");
}

TEST_F(DrainDesignTest, AWindowRunWithDesignedFactorsIsTheRunnersOnTheSavedFile) {
    // Drains on the impermeable layer at 20 m with Ka = 1 m/day give QH1 = 0
    // and QH2 = 0.01, which the file keeps exactly; at 80 m over 3 m of soil
    // the factors round in the file, and the window runs them as saved.
    const struct {
        const char *spacing, *ka, *D;
        bool rounds;
    } designs[] = {{"20", "1", "0", false}, {"80", "0.5", "3", true}};
    for (const auto& design : designs) {
        SCOPED_TRACE(design.spacing);
        DesignAt(design.spacing, design.ka, "0.8", design.D);
        EXPECT_EQ(W<QTableWidget>("DrainDischargeTable")->isColumnHidden(2), !design.rounds);
        Click(Button("DrainSaveButton"));
        const std::string inp = dir.File(std::string("window-") + design.spacing + ".inp");
        dialogs.saveNames = {QString::fromStdString(inp)};
        dialogs.answers = {true, false};  // calculate, no refinement
        Click(Button("SaveAllButton"));
        const std::string window = ReadFile(ChangeExtension(inp, ".out"));
        ASSERT_FALSE(window.empty()) << dialogs.log.join("|").toStdString();

        ModelInput data;
        data.InputFileName = dir.File("runner.inp");
        WriteFile(data.InputFileName, ReadFile(inp));
        ASSERT_TRUE(ReadInputFile(data).Ok());
        ModelState state;
        ScriptedInteraction ui;
        ASSERT_EQ(RunModel(data, state, ui).status, RunStatus::Completed);
        const std::string runner = ReadFile(dir.File("runner.out"));
        // Line 2 names the file.
        const auto withoutName = [](const std::string& text) {
            const size_t first = text.find('\n'), second = text.find('\n', first + 1);
            return text.substr(0, first) + text.substr(second);
        };
        EXPECT_EQ(withoutName(window), withoutName(runner));
        Pages()->setCurrentWidget(Tab("InpTab"));
        Click(Button("DrainOpenButton"));
    }
}

}  // namespace
}  // namespace halovane::test
