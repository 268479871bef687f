// The check of the whole data set before "Save all - Run", and the names
// the Save dialog refuses.
#include <QFileInfo>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

#include "InputPageFixture.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// An example file with one text replaced.
std::string ExampleWith(const std::string& from, const std::string& to) {
    std::string text = ReadFile(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp");
    const size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

}  // namespace

TEST_F(InputPageTest, SaveAllShowsEveryProblemInOneMessageAndWritesNothing) {
    dialogs.openNames = {QString::fromStdString(DataFile("bad-values.inp"))};
    Click(Button("OpenInpButton"));
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
    dialogs.log.clear();
    dialogs.messages.clear();
    dialogs.saveNames = {QString::fromStdString(dir.File("bad.inp"))};
    Click(Button("SaveAllButton"));
    ASSERT_EQ(dialogs.messages.size(), 2) << dialogs.messages.join("|").toStdString();
    const QString report = dialogs.messages[1];
    // The monthly steps add their warning.
    EXPECT_TRUE(report.startsWith("The data set has 5 errors and 1 warning. The calculations cannot be made"))
        << report.toStdString();
    for (const char* line : {"Error: Hydrological data, rainfall in time step 2: -35.5 mm",
                             "Error: Soil properties, thickness of the root zone: -0.1 m",
                             "Error: Soil properties, total porosity of the root zone: 150 %",
                             "Error: Soil properties, leaching efficiency of the root zone: -1 %",
                             "Error: Initial and boundary conditions, irrigation efficiency: 1e-322 %"})
        EXPECT_TRUE(report.contains(line)) << line;
    // A refused run is a warning, not an information.
    EXPECT_EQ(dialogs.warnings, QStringList{report});
    EXPECT_FALSE(dialogs.log.join("|").contains("save:"));  // no file dialog, nothing written
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("bad.inp"))));
}

TEST_F(InputPageTest, WarningsAreShownAndTheRunGoesOn) {
    const std::string name = dir.File("dry.inp");
    WriteFile(name, ExampleWith("Irrigation efficiency (%)           :    70.0",
                                "Irrigation efficiency (%)           :    20.0"));
    dialogs.openNames = {QString::fromStdString(name)};
    Click(Button("OpenInpButton"));
    dialogs.messages.clear();
    dialogs.saveNames = {QString::fromStdString(name)};
    dialogs.answers = {true, true, false, false};
    Click(Button("SaveAllButton"));
    ASSERT_GE(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1].toStdString(),
              "The data set has 2 warnings. The calculations can be made.\n\n"
              "Warning: Initial and boundary conditions, irrigation efficiency: 20 %; allowed: usually 30 % up to "
              "100 %\n"
              "Warning: General data, length of a time step: 30 days; the water table moves one day's net flow per "
              "step while the flows are counted for the whole step; use daily steps for drainage design");
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
    EXPECT_TRUE(dialogs.warnings.isEmpty()) << dialogs.warnings.join("|").toStdString();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.File("dry.out"))));
}

TEST_F(InputPageTest, SaveRefusesANameTheResultsWouldOverwrite) {
    dialogs.openNames = {QString::fromStdString(std::string(HALOVANE_EXAMPLES) + "/one-layer-monthly.inp")};
    Click(Button("OpenInpButton"));
    for (const char* name : {"field.out", "field.csv"}) {
        const QString path = QString::fromStdString(dir.File(name));
        dialogs.saveNames = {path};
        dialogs.answers = {true, true};
        dialogs.log.clear();
        Click(Button("SaveAllButton"));
        EXPECT_TRUE(LastMessage().contains("would be written over the input data file itself")) << name;
        ASSERT_FALSE(dialogs.warnings.isEmpty()) << name;
        EXPECT_EQ(dialogs.warnings.last(), LastMessage()) << name;
        EXPECT_FALSE(dialogs.log.join("|").contains("confirm:"));
        EXPECT_FALSE(QFileInfo::exists(path));
    }
}

// The program's own box for the list of problems: every line in a list
// that scrolls, under the summary.
TEST(ProblemReportBox, ListsEveryLineInAListThatScrolls) {
    QString text = "The data set has 200 errors. The calculations cannot be made until the errors are corrected.\n";
    for (int k = 1; k <= 200; ++k)
        text += "\nError: Hydrological data, rainfall in time step " + QString::number(k) + ": -1 mm";
    int lines = -1, scrollRange = -1;
    QString summary;
    QTimer::singleShot(200, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        if (auto* list = box->findChild<QListWidget*>("ReportList")) {
            lines = list->count();
            scrollRange = list->verticalScrollBar()->maximum();
        }
        for (QLabel* label : box->findChildren<QLabel*>())
            if (!label->text().isEmpty()) summary = label->text();
        box->close();
    });
    QtDialogs().Report(nullptr, text, true);
    EXPECT_EQ(lines, 200);
    EXPECT_GT(scrollRange, 0);
    EXPECT_TRUE(summary.startsWith("The data set has 200 errors.")) << summary.toStdString();
}
