// The window's scenario runs: the dialog runs the scenario it shows off the
// window's thread and gives the runner's table, sortable, and the chart,
// and saves both beside the scenario file.
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableWidget>

#include "InputPageFixture.h"
#include "Scenario.h"
#include "ScenarioDialog.h"
#include "TestSupport.h"

namespace halovane::test {
namespace {

TEST_F(InputPageTest, ScenariosRunOffTheWindowThreadAndSaveTheRunnersTable) {
    WriteFile(dir.File("base.inp"), ReadFile(std::string(HALOVANE_EXAMPLES) + "/two-layer-drained.inp"));
    const std::string text =
        "base base.inp\nvary drain_depth 1.2 1.6\nvary irrigation_efficiency 60 75\n"
        "criterion max root_zone_salinity <= 8\n";
    Click(Button("ScenariosButton"));
    auto* dialog = form->findChild<ScenarioDialog*>(QStringLiteral("ScenarioDialog"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    const QString file = QString::fromStdString(dir.File("design.scenario"));
    dialog->findChild<QLineEdit*>(QStringLiteral("ScenarioFileEdit"))->setText(file);
    dialog->findChild<QPlainTextEdit*>(QStringLiteral("ScenarioText"))->setPlainText(QString::fromStdString(text));
    QSignalSpy finished(dialog, &ScenarioDialog::Finished);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ScenarioRunButton")), Qt::LeftButton);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(30000));
    EXPECT_EQ(ReadFile(dir.File("design.scenario")), text);  // run as saved

    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("ScenarioTable"));
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "run");
    EXPECT_FALSE(dialog->findChild<QLabel*>(QStringLiteral("ScenarioChart"))->pixmap().isNull());
    // Sorted by a number column, descending, the runs follow the numbers.
    table->sortItems(0, Qt::DescendingOrder);
    EXPECT_EQ(table->item(0, 0)->text(), "4");

    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ScenarioSaveResultsButton")), Qt::LeftButton);
    // The table the runner writes for the same scenario.
    Scenario scenario;
    ModelInput base;
    std::string error;
    ASSERT_TRUE(LoadScenario(dir.File("design.scenario"), scenario, base, error)) << error;
    EXPECT_EQ(ReadFile(dir.File("design.sweep.csv")),
              SweepCsv(scenario, RunSweep(scenario, base, ScenarioRuns(scenario), SweepOptions{})));
    EXPECT_TRUE(std::filesystem::exists(dir.File("design.chart.png")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("design.chart.svg")));
}

}  // namespace
}  // namespace halovane::test
