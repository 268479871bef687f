// The fit report on the Output page: "See fit report" follows the report
// beside the output file, and its window shows the table, copies it, draws
// the two pictures per zone and saves them like the graphs.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

#include "EngineSupport.h"
#include "FitGraphs.h"
#include "FitReportFiles.h"
#include "FitReportView.h"
#include "InputFile.h"
#include "OutputGridModel.h"
#include "FigureChecks.h"
#include "ResultsPagesFixture.h"

using namespace halovane;
using namespace halovane::test;

namespace {

class FitReportTest : public ResultsPagesTest {
protected:
    // Runs a golden case with the refinement and the optimisation, as the
    // runner does, and writes its fit report when `report` is set.
    QString RunCase(const QString& caseName, bool report = true, bool optimise = true) {
        const QString input = dir.filePath(caseName + QStringLiteral(".inp"));
        QFile::remove(input);
        EXPECT_TRUE(QFile::copy(QStringLiteral(HALOVANE_CASES "/") + caseName + QStringLiteral("/input.inp"), input));
        ModelInput in;
        in.InputFileName = input.toStdString();
        EXPECT_TRUE(ReadInputFile(in).Ok());
        DistributeIrrigation(in);
        ModelState state;
        std::vector<SearchProfile> profiles;
        ScriptedInteraction ui(true, optimise);
        RunModel(in, state, ui, RunFiles{}, &profiles);
        if (report) {
            EXPECT_EQ(WriteFitReportFiles(state.OutputFileName, BuildFitReport(in, state, profiles)), "");
        }
        return QString::fromStdString(state.OutputFileName);
    }
    FitReportView* View() const { return outTab->findChild<FitReportView*>(); }
    QWidget* Form() const { return View()->Form(); }
    OutputGridModel* Table() const {
        return qobject_cast<OutputGridModel*>(Form()->findChild<QTableView*>(QStringLiteral("FitGrid"))->model());
    }
    void PressInForm(const char* name) {
        auto* b = Form()->findChild<QPushButton*>(QLatin1String(name));
        ASSERT_TRUE(b) << name;
        ASSERT_TRUE(b->isVisibleTo(Form()) && b->isEnabled()) << name;
        b->click();
    }
    // Pixels of one colour in a column of a picture, between two rows.
    static int ColumnCount(const QImage& image, int x, int y0, int y1, QRgb color) {
        int count = 0;
        for (int y = y0; y < y1; ++y) count += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
        return count;
    }
};

}  // namespace

TEST_F(FitReportTest, ShowsTheTableOfEverySearchedZoneAndCopiesIt) {
    const QString out = RunCase(QStringLiteral("case021"));
    EXPECT_FALSE(Shown(outTab, "FitShowButton"));  // nothing loaded yet
    OpenOutput(out);
    ASSERT_TRUE(Shown(outTab, "FitShowButton"));
    EXPECT_TRUE(Enabled(outTab, "FitShowButton"));
    Press(outTab, "FitShowButton");
    ASSERT_TRUE(Form()->isVisible());
    EXPECT_EQ(Form()->windowTitle(), "Fit report - case021.out");

    const TableCells& cells = Table()->Cells();
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells[0], (std::vector<std::string>{"Statistic", "Layer 1", "Layer 3", "Transition zone", "Aquifer"}));
    auto row = [&](const std::string& name) {
        for (const auto& r : cells)
            if (r[0] == name) return r;
        ADD_FAILURE() << name;
        return std::vector<std::string>{};
    };
    // What the fit file says, with the output file's efficiencies and indices.
    EXPECT_EQ(row("Leaching efficiency")[1], "0.11 (optimized)");
    EXPECT_EQ(row("n (measured values)")[3], "58");
    EXPECT_EQ(row("Fit index (%)")[1], "50");
    EXPECT_EQ(row("Not determined by these measurements")[2], "yes");
    EXPECT_EQ(row("Score cap of 1000 inside the interval")[2], "yes");
    EXPECT_EQ(row("Approx. 95 % interval")[1], "0.11 - 0.23");
    EXPECT_EQ(row("Search (number in the run)")[3], "5");

    QGuiApplication::clipboard()->clear();
    PressInForm("FitClipButton");
    EXPECT_EQ(dialogs.messages.last(), "The data are on the clipboard to be pasted elsewhere.");
    const QString clip = QGuiApplication::clipboard()->text();
    EXPECT_EQ(clip, QString::fromStdString(ClipboardText(cells)));
    EXPECT_TRUE(clip.startsWith("Statistic\tLayer 1\tLayer 3\tTransition zone\tAquifer\rLeaching efficiency\t"));
}

TEST_F(FitReportTest, DrawsTheProfileAndTheScatterOfTheChosenZone) {
    OpenOutput(RunCase(QStringLiteral("case021")));
    Press(outTab, "FitShowButton");
    auto* combo = Form()->findChild<QComboBox*>(QStringLiteral("FitZoneCombo"));
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->count(), 4);
    const QImage profile = View()->ProfilePicture(), scatter = View()->ScatterPicture();
    ASSERT_EQ(profile.size(), QSize(FitGraphWidth, FitGraphHeight));
    ASSERT_EQ(scatter.size(), QSize(FitGraphWidth, FitGraphHeight));
    // Layer 1: best 0.11, so the yellow best line stands at the left end of
    // the efficiency axis and runs through most of the plot height.
    const int bestX = FitLeft + static_cast<int>(0.11 / 2.0 * (FitRight - FitLeft) + 0.5);
    EXPECT_GT(ColumnCount(profile, bestX, FitTop, FitBottom, GraphColor::Yellow), (FitBottom - FitTop) / 2);
    // The interval band 0.11 - 0.23 lies right of the line, not beyond 0.30.
    const int inside = FitLeft + static_cast<int>(0.18 / 2.0 * (FitRight - FitLeft));
    const int outside = FitLeft + static_cast<int>(0.60 / 2.0 * (FitRight - FitLeft));
    EXPECT_GT(ColumnCount(profile, inside, FitTop, FitBottom, 0x2626C0), 50);
    EXPECT_EQ(ColumnCount(profile, outside, FitTop, FitBottom, 0x2626C0), 0);
    // The 1:1 line of the scatter in silver along the diagonal.
    int onLine = 0;
    for (int k = 10; k < 200; ++k) {
        const int x = FitLeft + k, y = FitBottom - static_cast<int>(k * double(FitBottom - FitTop) / (FitRight - FitLeft) + 0.5);
        for (int dy = -1; dy <= 1; ++dy) onLine += (scatter.pixel(x, y + dy) & 0xFFFFFF) == GraphColor::Silver;
    }
    EXPECT_GT(onLine, 150);
    // Measured points: cyan crosses.
    int cyan = 0;
    for (int y = FitTop; y < FitBottom; ++y)
        for (int x = FitLeft + 1; x < FitRight; ++x) cyan += (scatter.pixel(x, y) & 0xFFFFFF) == GraphColor::Cyan;
    EXPECT_GT(cyan, 8 * 10);

    if (qEnvironmentVariableIsSet("HALOVANE_FIT_PICTURES")) {
        profile.save(qEnvironmentVariable("HALOVANE_FIT_PICTURES") + "/profile.png");
        scatter.save(qEnvironmentVariable("HALOVANE_FIT_PICTURES") + "/scatter.png");
    }
    combo->setCurrentIndex(2);  // the transition zone, searched twice in a three-layer run
    EXPECT_NE(View()->ProfilePicture(), profile);
    EXPECT_NE(View()->ScatterPicture(), scatter);
}

TEST_F(FitReportTest, TheWindowOpensOverTheMainWindowAndInsideTheScreen) {
    // The report fits inside the main window's size; on a screen that has
    // no room even for that, it opens smaller and scrolls.
    frame.move(40, 30);
    OpenOutput(RunCase(QStringLiteral("case021")));
    Press(outTab, "FitShowButton");
    QApplication::processEvents();
    const QRect available = frame.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(Form()->geometry()))
        << available.width() << "x" << available.height() << " screen, window " << Form()->width() << "x"
        << Form()->height() << " at " << Form()->x() << "," << Form()->y();
    EXPECT_TRUE(frame.frameGeometry().contains(Form()->geometry().center()));
    const QSize sheet = Form()->findChild<QWidget*>(QStringLiteral("FitReportSheet"))->size();
    const QSize mainDesign(806, 647);  // the main window's design size
    EXPECT_TRUE(sheet.width() <= mainDesign.width() && sheet.height() <= mainDesign.height())
        << sheet.width() << "x" << sheet.height();
    // Every part of the report is still there to be scrolled to.
    for (const char* name : {"FitGrid", "FitClipButton", "FitZoneCombo", "FitSaveScatterButton", "FitScatterImage"}) {
        QWidget* w = Form()->findChild<QWidget*>(QLatin1String(name));
        ASSERT_TRUE(w) << name;
        EXPECT_TRUE(w->isVisibleTo(Form())) << name;
    }
}

TEST_F(FitReportTest, SavesThePicturesAsTheGraphsAre) {
    OpenOutput(RunCase(QStringLiteral("case021")));
    Press(outTab, "FitShowButton");
    const QString name = dir.filePath(QStringLiteral("profile.bmp"));
    dialogs.saveNames = {name};
    PressInForm("FitSaveProfileButton");
    EXPECT_EQ(dialogs.messages.last(), "The graph was saved as  " + name);
    QImage saved(name);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), View()->ProfilePicture());
    // Over an existing file only after a yes.
    dialogs.saveNames = {name};
    dialogs.answers = {false};
    dialogs.messages.clear();
    PressInForm("FitSaveScatterButton");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(QImage(name).convertToFormat(QImage::Format_RGB32), View()->ProfilePicture());
    dialogs.saveNames = {name.chopped(4) + ".png"};
    PressInForm("FitSaveScatterButton");
    EXPECT_EQ(QImage(name.chopped(4) + ".png").convertToFormat(QImage::Format_RGB32), View()->ScatterPicture());
    // In every type of "Save graph": larger pictures and drawings.
    dialogs.saveNames = {dir.filePath(QStringLiteral("scatter"))};
    dialogs.saveTypes = {QStringLiteral("PNG files, twice the size (*.png)")};
    PressInForm("FitSaveScatterButton");
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("scatter.png"))).size(), View()->ScatterPicture().size() * 2);
    dialogs.saveNames = {dir.filePath(QStringLiteral("profile.svg"))};
    PressInForm("FitSaveProfileButton");
    EXPECT_EQ(SvgTexts(dir.filePath(QStringLiteral("profile.svg")), QStringLiteral("0 0 460 345")).size() > 1, true);
    dialogs.saveNames = {dir.filePath(QStringLiteral("profile.pdf"))};
    PressInForm("FitSaveProfileButton");
    EXPECT_EQ(PdfPages(dir.filePath(QStringLiteral("profile.pdf"))), 1);
    dialogs.saveNames = {QString()};
    PressInForm("FitSaveScatterButton");
    EXPECT_EQ(dialogs.messages.last(), "The graph was not saved");
}

TEST_F(FitReportTest, OnlyAReportOfTheseResultsCanBeSeen) {
    // No report beside the output file.
    OpenOutput(RunCase(QStringLiteral("case005"), false));
    EXPECT_TRUE(Shown(outTab, "FitShowButton"));
    EXPECT_FALSE(Enabled(outTab, "FitShowButton"));
    EXPECT_EQ(View()->Status(), FitReportStatus::Absent);

    // A report, then a run without the optimisation over the same output
    // file: the report left beside it belongs to the earlier run.
    const QString out = RunCase(QStringLiteral("case005"));
    OpenOutput(out);
    EXPECT_TRUE(Enabled(outTab, "FitShowButton"));
    Press(outTab, "FitShowButton");
    EXPECT_TRUE(Form()->isVisible());
    RunCase(QStringLiteral("case005"), false, false);
    OpenOutput(out);
    EXPECT_FALSE(Form()->isVisible());
    EXPECT_FALSE(Enabled(outTab, "FitShowButton"));
    EXPECT_EQ(View()->Status(), FitReportStatus::OtherRun);
    EXPECT_EQ(outTab->findChild<QPushButton*>(QStringLiteral("FitShowButton"))->toolTip(),
              "The fit report beside the output file belongs to another run.");

    // A damaged report is not shown either.
    RunCase(QStringLiteral("case005"));
    QFile profile(dir.filePath(QStringLiteral("case005.profile.csv")));
    ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
    profile.write("search,zone,trial_le,score\r\n1,layer9,0.11,3\r\n");
    profile.close();
    OpenOutput(out);
    EXPECT_EQ(View()->Status(), FitReportStatus::Unreadable);
    EXPECT_FALSE(Enabled(outTab, "FitShowButton"));

    // "Open input" takes the report away with the tables.
    RunCase(QStringLiteral("case005"));
    OpenOutput(out);
    EXPECT_TRUE(Enabled(outTab, "FitShowButton"));
    pages->InputOpened();
    EXPECT_FALSE(Enabled(outTab, "FitShowButton"));
}
