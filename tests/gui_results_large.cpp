// A daily run of ten years (3650 steps) on the Output and Graphs pages:
// loading, both tables and all nine graphs stay well under a second.
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <QRadioButton>
#include <iostream>

#include "InputFile.h"
#include "ResultsPagesFixture.h"
#include "RunDriver.h"

using namespace halovane;
using namespace halovane::test;

namespace {

class NoQuestions : public UserInteraction {
public:
    bool AskYesNo(const std::string&) override { return false; }
    void ShowMessage(const std::string& m) override { messages.push_back(m); }
    void SetProgress(int) override {}
    std::vector<std::string> messages;
};

// The three-layer example as ten years of days, with a measurement every
// month; returns the output file of its run.
QString RunTenYears(const QTemporaryDir& dir) {
    ModelInput in;
    in.InputFileName = HALOVANE_EXAMPLES "/three-layer-seepage.inp";
    EXPECT_TRUE(ReadInputFile(in).Ok());
    const int n = 3650;
    in.NrTst = in.NrTstHydr = n;
    in.Ts = 1;
    ResizeHydrologicalSeries(in, n);
    ResizeMeasuredSeries(in, n, -1);
    for (int i = 1; i <= n; ++i) {
        const int day = i % 360;
        in.Rain[i] = day % 7 == 0 ? 6.0 + day % 5 : 0.0;
        in.Irrig[i] = day > 120 && day < 240 && day % 10 == 0 ? 40.0 : 0.0;
        in.EvapT[i] = 3.0 + 2.0 * (day > 90 && day < 270);
        if (i % 30 == 0) in.ECsm[Z1][i] = 3.0 + (i / 30) % 7;
    }
    in.InputFileName = dir.filePath(QStringLiteral("tenyears.inp")).toStdString();
    EXPECT_EQ(WriteInputFile(in), "");
    ModelState state;
    NoQuestions ui;
    const RunOutcome outcome = RunModel(in, state, ui);
    EXPECT_TRUE(outcome.status == RunStatus::Completed || outcome.status == RunStatus::Stopped) << outcome.message;
    return QString::fromStdString(state.OutputFileName);
}

}  // namespace

class LargeRunTest : public ResultsPagesTest {};

TEST_F(LargeRunTest, TenYearsOfDaysStayResponsive) {
    const QString out = RunTenYears(dir);
    ASSERT_FALSE(out.isEmpty());

    QElapsedTimer timer;
    timer.start();
    pages->RunCompleted(out);
    Press(outTab, "HydrShowButton");
    Press(outTab, "SaltShowButton");
    const qint64 tables = timer.elapsed();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(QLatin1Char('|')).toStdString();
    // The listing shows its first lines at once and all of them soon after,
    // the file's lines exactly.
    auto* listing = Out<QPlainTextEdit>("OutputMemo");
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).chopped(1);
    EXPECT_TRUE(text.startsWith(listing->toPlainText()));
    EXPECT_GE(listing->blockCount(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(listing->blockCount(), static_cast<int>(text.count(QLatin1Char('\n'))) + 1, 20000);
    EXPECT_EQ(listing->toPlainText(), text);

    static const char* const choices[] = {
        "GraphHydrRadioButton", "SurfHydrRadioButton", "SubSurfHydrRadioButton",
        "GraphWTRadioButton",   "GraphSaltRadioButton", "SalFirstRadioButton",
        "SalSecondRadioButton", "SalThirdRadioButton",  "SalBelowRadioButton",
    };
    Press(outTab, "GraphButton");
    qint64 slowest = 0, graphs = 0;
    for (const char* choice : choices) {
        // Back to the choices after the first graph.
        if (choice != choices[0]) Press(graphTab, "GraphSelectButton");
        graphTab->findChild<QRadioButton*>(QLatin1String(choice))->click();
        timer.restart();
        Press(graphTab, "GraphGoButton");
        const qint64 ms = timer.elapsed();
        slowest = std::max(slowest, ms);
        graphs += ms;
    }
    std::cout << "3650 daily steps: listing and both tables " << tables << " ms; nine graphs " << graphs
              << " ms (slowest " << slowest << " ms)" << std::endl;
    RecordProperty("tables_ms", static_cast<int>(tables));
    RecordProperty("slowest_graph_ms", static_cast<int>(slowest));
    EXPECT_LT(tables, 1000);
    EXPECT_LT(slowest, 1000);
}
