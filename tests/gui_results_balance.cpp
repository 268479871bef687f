// The balance on the Output page: the verdict of the results on view, "See
// balance" only with a balance file that belongs to them, its table copied
// like the other tables and the graph of the cumulative discrepancies.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "BalanceView.h"
#include "EngineSupport.h"
#include "FitGraphs.h"
#include "InputFile.h"
#include "OutputGridModel.h"
#include "ResultsPagesFixture.h"

using namespace halovane;
using namespace halovane::test;

namespace {

class BalanceViewTest : public ResultsPagesTest {
protected:
    // Runs an example as the window does: the balance file with the output.
    QString RunExample(const char* name, bool balance = true, ModelVariant variant = ModelVariant::Prescribed) {
        ModelInput in;
        in.InputFileName = std::string(HALOVANE_EXAMPLES "/") + name + ".inp";
        EXPECT_TRUE(ReadInputFile(in).Ok());
        in.Variant = variant;
        in.InputFileName = dir.filePath(QStringLiteral("field.inp")).toStdString();
        ModelState state;
        ScriptedInteraction ui;
        RunModel(in, state, ui, RunFiles{false, balance});
        verdict = BalanceVerdict(state.Balance);
        return QString::fromStdString(state.OutputFileName);
    }
    BalanceView* View() const { return outTab->findChild<BalanceView*>(); }
    std::string verdict;
};

}  // namespace

TEST_F(BalanceViewTest, ShowsTheVerdictTheTableAndTheGraphOfTheResultsOnView) {
    const QString out = RunExample("one-layer-monthly");
    OpenOutput(out);
    ASSERT_TRUE(Shown(outTab, "BalanceVerdictLabel"));
    const QString label = Out<QLabel>("BalanceVerdictLabel")->text();
    EXPECT_TRUE(label.startsWith(QString::fromStdString(verdict))) << label.toStdString();
    EXPECT_TRUE(label.contains("Warning: Cumulative balance discrepancies above 5.0 %")) << label.toStdString();
    Press(outTab, "BalanceShowButton");
    ASSERT_TRUE(View()->Form()->isVisible());
    auto* grid = View()->Form()->findChild<QTableView*>(QStringLiteral("BalanceGrid"));
    const TableCells& cells = qobject_cast<OutputGridModel*>(grid->model())->Cells();
    ASSERT_GT(cells.size(), 20u);
    EXPECT_EQ(cells[1][0], "Water, root zone  (mm)");
    QGuiApplication::clipboard()->clear();
    View()->Form()->findChild<QPushButton*>(QStringLiteral("BalanceClipButton"))->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(ClipboardText(cells)));
    // Curves on the navy plot area.
    const QImage& picture = View()->Picture();
    ASSERT_EQ(picture.size(), QSize(FitGraphWidth, FitGraphHeight));
    int drawn = 0;
    for (int y = FitTop; y < FitBottom; ++y)
        for (int x = FitLeft + 1; x < FitRight; ++x) drawn += (picture.pixel(x, y) & 0xFFFFFF) == GraphColor::Cyan;
    EXPECT_GT(drawn, 50);

    // Results of other data written without a balance: the old balance file
    // does not belong to them.
    OpenOutput(RunExample("two-layer-drained", false));
    EXPECT_FALSE(Enabled(outTab, "BalanceShowButton"));
    EXPECT_TRUE(Out<QLabel>("BalanceVerdictLabel")->text().startsWith("No balance file"));

    // The conserving variant's results show its closure, under its name.
    OpenOutput(RunExample("two-layer-drained", true, ModelVariant::Conserving));
    EXPECT_EQ(Out<QLabel>("BalanceVerdictLabel")->text().toStdString(), verdict);
    EXPECT_EQ(verdict.rfind("Water balance (conserving variant): root zone 0.0 %, groundwater 0.0 %, column 0.0 %", 0), 0u);
    Press(outTab, "BalanceShowButton");
    EXPECT_EQ(qobject_cast<OutputGridModel*>(grid->model())->Cells()[0][0], "Balance of the run (conserving variant)");
}
