// The Output page on the offscreen platform: opening output files of one,
// two and three root-zone layers, both tables, and the clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QRegularExpression>
#include <QTableView>

#include "OutputGridModel.h"
#include "OutputPage.h"
#include "OutputResults.h"
#include "ResultsPagesFixture.h"
#include "OutputFile.h"
#include "TextFile.h"

using namespace halovane;
using namespace halovane::test;

namespace {

QStringList FileLines(const QString& name) {
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QStringList Words(const QString& line) { return line.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// The rows of the results table of an output file, split into words.
QList<QStringList> ResultRows(const QString& outputFile) {
    const QStringList lines = FileLines(outputFile);
    int first = 0;
    while (!lines[first].startsWith(QStringLiteral(" - -"))) ++first;
    QList<QStringList> rows;
    for (int k = first + 1; k < lines.size(); ++k) rows << Words(lines[k]);
    return rows;
}

// The rows of a table of the input data file that follows `heading`.
QList<QStringList> InputRows(const QString& inputFile, const QString& heading, int n) {
    const QStringList lines = FileLines(inputFile);
    int k = 0;
    while (!lines[k].contains(heading)) ++k;
    while (Words(lines[k]).value(0) != QStringLiteral("1")) ++k;
    QList<QStringList> rows;
    for (int i = 0; i < n; ++i) rows << Words(lines[k + i]);
    return rows;
}

// A number of a file's column with the column's decimals.
QString Decimals(const QString& word, int decimals) {
    const double v = word.toDouble();
    return QString::number(v == 0 ? 0.0 : v, 'f', decimals);
}

QString Fixed(const QString& word, int width) {
    if (word == QStringLiteral("-")) return QStringLiteral("            -");
    return QStringLiteral("%1").arg(word.toDouble(), width, 'f', 2);
}

OutputGridModel* GridModel(QWidget* outTab) {
    auto* grid = outTab->findChild<QTableView*>(QStringLiteral("OutGrid"));
    return grid ? qobject_cast<OutputGridModel*>(grid->model()) : nullptr;
}

}  // namespace

class OutputPageTest : public ResultsPagesTest {};

TEST_F(OutputPageTest, StartsWithOnlyOpenOutput) {
    EXPECT_TRUE(Enabled(outTab, "OpenOutputButton"));
    EXPECT_FALSE(Enabled(outTab, "GraphButton"));
    EXPECT_FALSE(Shown(outTab, "SaltShowButton"));
    EXPECT_FALSE(Shown(outTab, "HydrShowButton"));
    EXPECT_FALSE(Shown(outTab, "ClipButton"));
    EXPECT_FALSE(Shown(outTab, "OutLabel"));
    EXPECT_TRUE(Out<QPlainTextEdit>("OutputMemo")->toPlainText().isEmpty());
    EXPECT_EQ(GridModel(outTab)->RowCount(), 8);
    EXPECT_EQ(GridModel(outTab)->ColumnCount(), 11);
}

TEST_F(OutputPageTest, OpenOutputCancelled) {
    dialogs.openNames.push_back(QString());
    Press(outTab, "OpenOutputButton");
    EXPECT_EQ(dialogs.log, QStringList({QStringLiteral("open: output files (*.out)"),
                                        QStringLiteral("inform: No output file was selected")}));
    EXPECT_FALSE(Enabled(outTab, "GraphButton"));
    EXPECT_FALSE(Shown(outTab, "HydrShowButton"));
}

TEST_F(OutputPageTest, OpenOutputListsTheFile) {
    const QString out = CopyCase(QStringLiteral("case006"));
    OpenOutput(out);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Out<QPlainTextEdit>("OutputMemo")->toPlainText(), FileLines(out).join(QLatin1Char('\n')));
    EXPECT_TRUE(Shown(outTab, "OutLabel"));
    EXPECT_EQ(Out<QLabel>("OutLabel")->text(), QStringLiteral("  See output file  (*.out) for all data"));
    EXPECT_TRUE(Enabled(outTab, "GraphButton"));
    for (const char* b : {"SaltShowButton", "HydrShowButton"}) {
        EXPECT_TRUE(Shown(outTab, b)) << b;
        EXPECT_TRUE(Enabled(outTab, b)) << b;
    }
    // No table until one is asked for.
    for (const char* w : {"OutGrid", "ClipButton", "ClipLabel", "CopyLabel", "StopLabel"})
        EXPECT_FALSE(Shown(outTab, w)) << w;
}

TEST_F(OutputPageTest, TablesOfOneTwoAndThreeLayers) {
    struct Case {
        const char* name;
        int layers;
        std::vector<int> widths;  // of the salinity columns 1..
    } cases[] = {
        {"case010", 1, {13, 13, 9, 9, 9, 9}},
        {"case008", 2, {13, 13, 13, 11, 9, 9, 9, 9}},
        {"case006", 3, {13, 13, 13, 11, 13, 9, 9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = CopyCase(QString::fromLatin1(c.name));
        const QString inp = out.chopped(4) + QStringLiteral(".inp");
        OpenOutput(out);
        const QList<QStringList> results = ResultRows(out);
        const int n = static_cast<int>(results.size());
        const QList<QStringList> hydrology = InputRows(inp, QStringLiteral("mm/time step   mm/time step"), n);
        const QList<QStringList> measured = InputRows(inp, QStringLiteral("Measured soil moisture"), n);

        Press(outTab, "HydrShowButton");
        OutputGridModel* grid = GridModel(outTab);
        ASSERT_EQ(grid->RowCount(), n + 1);
        ASSERT_EQ(grid->ColumnCount(), 9);
        EXPECT_EQ(grid->Cell(0, 0), QStringLiteral("Time step"));
        for (int col = 1; col <= 7; ++col) EXPECT_EQ(grid->Cell(col, 0), QStringLiteral("mm"));
        EXPECT_EQ(grid->Cell(8, 0), QStringLiteral(" m"));
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(grid->Cell(0, i), QString::number(i));
            for (int k = 0; k < 3; ++k) EXPECT_EQ(grid->Cell(1 + k, i), Decimals(hydrology[i - 1][1 + k], 2)) << i;
            // Results from the step of a stop on are not shown (case010).
            const bool computed = grid->StopStep() == 0 || i < grid->StopStep();
            for (int k = 0; k < 5; ++k)
                EXPECT_EQ(grid->Cell(4 + k, i), computed ? Decimals(results[i - 1][1 + k], k < 4 ? 1 : 2) : QString())
                    << i;
        }
        EXPECT_FALSE(Enabled(outTab, "HydrShowButton"));
        EXPECT_TRUE(Shown(outTab, "OutGrid"));
        EXPECT_TRUE(Shown(outTab, "ClipButton"));
        EXPECT_TRUE(Shown(outTab, "CopyLabel"));
        // Each title over its own column, with the unit of row 0.
        EXPECT_EQ(grid->Heading(1), QStringLiteral("Rainfall\nmm"));
        EXPECT_EQ(grid->Heading(2), QStringLiteral("Irrigation\nmm"));
        EXPECT_EQ(grid->Heading(8), QStringLiteral("Depth WT\nm"));

        Press(outTab, "SaltShowButton");
        ASSERT_EQ(grid->ColumnCount(), 1 + 2 * (c.layers + 2));
        EXPECT_EQ(grid->Cell(grid->ColumnCount() - 1, 0), QStringLiteral("dS/m"));
        for (int i = 1; i <= n; ++i) {
            const QStringList& calc = results[i - 1];  // step, 5 flows and depth, salinities
            const QStringList& meas = measured[i - 1];  // step, measured salinities
            for (int z = 0; z < c.layers + 2; ++z) {
                EXPECT_EQ(grid->Cell(1 + 2 * z, i),
                          i < grid->StopStep() || grid->StopStep() == 0 ? Fixed(calc[6 + z], c.widths[2 * z]) : QString())
                    << i << " zone " << z;
                EXPECT_EQ(grid->Cell(2 + 2 * z, i), Fixed(meas[1 + z], c.widths[2 * z + 1])) << i << " zone " << z;
            }
        }
        // The zones stand over their own columns, every column has a title.
        const int last = grid->ColumnCount() - 1;
        EXPECT_TRUE(grid->Heading(1).startsWith(QStringLiteral("Root zone")));
        EXPECT_TRUE(grid->Heading(2).contains(QStringLiteral("measured")));
        EXPECT_TRUE(grid->Heading(last - 3).startsWith(QStringLiteral("Transition")));
        EXPECT_TRUE(grid->Heading(last - 1).startsWith(QStringLiteral("Aquifer")));
        EXPECT_EQ(grid->Heading(last).split(QLatin1Char('\n')).mid(2),
                  QStringList({QStringLiteral("measured"), QStringLiteral("dS/m")}).mid(c.layers == 1 ? 1 : 0));
        for (int col = 0; col <= last; ++col) EXPECT_FALSE(grid->Heading(col).trimmed().isEmpty()) << col;
        EXPECT_FALSE(Enabled(outTab, "SaltShowButton"));
        EXPECT_TRUE(Enabled(outTab, "HydrShowButton"));
    }
}

TEST_F(OutputPageTest, MissingMeasurementsAreHyphens) {
    // One layer, no transition-zone measurement at step 3.
    OpenOutput(CopyCase(QStringLiteral("case010")));
    Press(outTab, "SaltShowButton");
    OutputGridModel* grid = GridModel(outTab);
    EXPECT_EQ(grid->Cell(4, 3), QStringLiteral("            -"));
    EXPECT_EQ(grid->Cell(4, 1), QStringLiteral("    14.93"));
    EXPECT_EQ(grid->Cell(2, 1), QStringLiteral("         3.71"));
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("         4.70"));

    // Two layers: the aquifer is measured at step 2 only of the first three.
    OpenOutput(CopyCase(QStringLiteral("case008")));
    Press(outTab, "SaltShowButton");
    EXPECT_EQ(grid->Cell(8, 1), QStringLiteral("            -"));
    EXPECT_EQ(grid->Cell(8, 2), QStringLiteral("    30.18"));
    EXPECT_EQ(grid->Cell(8, 3), QStringLiteral("            -"));
    EXPECT_EQ(grid->Cell(4, 2), QStringLiteral("            -"));  // layer 2, width 11
}

TEST_F(OutputPageTest, ClipboardTextOfTheTableAsItStands) {
    OpenOutput(CopyCase(QStringLiteral("case008")));
    Press(outTab, "HydrShowButton");
    OutputGridModel* grid = GridModel(outTab);
    // The grid can be edited; the clipboard takes the edit.
    auto* view = Out<QTableView>("OutGrid");
    ASSERT_TRUE(grid->flags(grid->index(0, 3)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->flags(grid->index(0, 0)) & Qt::ItemIsEditable);
    view->model()->setData(grid->index(1, 3), QStringLiteral("edited"));
    Press(outTab, "ClipButton");
    const QString text = QGuiApplication::clipboard()->text();
    const QStringList rows = text.split(QLatin1Char('\r'));
    ASSERT_EQ(rows.size(), grid->RowCount());
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    EXPECT_FALSE(text.endsWith(QLatin1Char('\r')));
    EXPECT_EQ(rows[0], QStringLiteral("Time step\tRainfall (mm)\tIrrigation (mm)\tPot. Evapor. (mm)\tPercolation (mm)"
                                      "\tCapillary rise (mm)\tAct. Evapor. (mm)\tDrainage (mm)\tDepth WT (m)"));
    EXPECT_EQ(rows[2].split(QLatin1Char('\t')).value(3), QStringLiteral("edited"));
    for (int r = 1; r < grid->RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->ColumnCount(); ++c) cells << grid->Cell(c, r);
        EXPECT_EQ(rows[r], cells.join(QLatin1Char('\t'))) << r;
    }
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("The data are on the clipboard to be pasted elsewhere."));

    // The salinity table keeps its leading blanks and hyphens.
    Press(outTab, "SaltShowButton");
    Press(outTab, "ClipButton");
    const QStringList salinity = QGuiApplication::clipboard()->text().split(QLatin1Char('\r'));
    EXPECT_EQ(salinity[1].split(QLatin1Char('\t')).value(8), QStringLiteral("            -"));
}

TEST_F(OutputPageTest, HydrologicalTableReadsTheFileAgain) {
    const QString out = CopyCase(QStringLiteral("case008"));
    OpenOutput(out);
    // The run is repeated outside the program with other results.
    QStringList lines = FileLines(out);
    for (QString& l : lines)
        if (l.startsWith(QStringLiteral("        1 "))) l.replace(9, 9, QStringLiteral("    999.0"));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    f.close();
    Press(outTab, "HydrShowButton");
    EXPECT_EQ(GridModel(outTab)->Cell(4, 1), QStringLiteral("999.0"));

    // The file is gone: its message, and the results read before stay.
    Press(outTab, "SaltShowButton");
    ASSERT_TRUE(QFile::remove(out));
    Press(outTab, "HydrShowButton");
    EXPECT_EQ(dialogs.messages.last(),
              QString::fromStdString(OpenFailureMessage(out.toStdString(), "No such file or directory")));
    EXPECT_EQ(GridModel(outTab)->Cell(4, 1), QStringLiteral("999.0"));
}

TEST_F(OutputPageTest, OutputWithoutItsInputFile) {
    const QString out = CopyCase(QStringLiteral("case008"));
    const QString inp = out.chopped(4) + QStringLiteral(".inp");
    QFile::remove(inp);
    OpenOutput(out);
    EXPECT_EQ(dialogs.messages,
              QStringList(QString::fromStdString(OpenFailureMessage(inp.toStdString(), "No such file or directory")) +
                          QLatin1Char('\n') + WithoutInputData));
    // The results of the output file are shown; the input columns stay empty.
    Press(outTab, "HydrShowButton");
    OutputGridModel* grid = GridModel(outTab);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->Cell(1, 1), QString());
    EXPECT_EQ(grid->Cell(4, 1), QStringLiteral("33.1"));
    Press(outTab, "SaltShowButton");
    EXPECT_EQ(grid->Cell(2, 1), QStringLiteral("            -"));
    EXPECT_EQ(grid->Cell(1, 1), QStringLiteral("         9.02"));
}

TEST_F(OutputPageTest, UnreadableOutputChangesNothing) {
    OpenOutput(CopyCase(QStringLiteral("case008")));
    const QString listing = Out<QPlainTextEdit>("OutputMemo")->toPlainText();
    const QString bad = dir.filePath(QStringLiteral("bad.out"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not an output file\r\n");
    f.close();
    OpenOutput(bad);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(bad));
    EXPECT_EQ(Out<QPlainTextEdit>("OutputMemo")->toPlainText(), listing);
    Press(outTab, "SaltShowButton");
    EXPECT_EQ(GridModel(outTab)->RowCount(), 7);
}

TEST_F(OutputPageTest, RunCompletedAndInputOpened) {
    const QString out = CopyCase(QStringLiteral("case006"));
    pages->RunCompleted(out);
    EXPECT_TRUE(dialogs.log.isEmpty());
    EXPECT_EQ(Out<QPlainTextEdit>("OutputMemo")->toPlainText(), FileLines(out).join(QLatin1Char('\n')));
    EXPECT_TRUE(Enabled(outTab, "GraphButton"));
    Press(outTab, "SaltShowButton");
    EXPECT_EQ(GridModel(outTab)->ColumnCount(), 11);
    // A second run hides the table again.
    pages->RunCompleted(out);
    EXPECT_FALSE(Shown(outTab, "OutGrid"));
    EXPECT_FALSE(Shown(outTab, "ClipButton"));
    EXPECT_TRUE(Enabled(outTab, "SaltShowButton"));
    // The dialogs now start in the folder of the run.
    dialogs.openNames.push_back(QString());
    Press(outTab, "OpenOutputButton");
    EXPECT_EQ(dialogs.lastFolder, dir.path());

    pages->InputOpened();
    EXPECT_FALSE(Enabled(outTab, "GraphButton"));
    EXPECT_FALSE(Enabled(outTab, "SaltShowButton"));
    EXPECT_FALSE(Enabled(outTab, "HydrShowButton"));
    EXPECT_FALSE(Shown(outTab, "OutLabel"));
}

TEST_F(OutputPageTest, CellsShowNumbersWithoutTheirBlanks) {
    OpenOutput(CopyCase(QStringLiteral("case006")));
    Press(outTab, "SaltShowButton");
    OutputGridModel* grid = GridModel(outTab);
    const QModelIndex cell = grid->index(0, 1);
    const QString stored = grid->data(cell, Qt::EditRole).toString();
    ASSERT_TRUE(stored.startsWith(QStringLiteral("    ")));  // "%13.2f"
    EXPECT_EQ(grid->data(cell, Qt::DisplayRole).toString(), stored.trimmed());
    EXPECT_EQ(grid->data(cell, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
    // The clipboard keeps the blanks.
    Press(outTab, "ClipButton");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QLatin1Char('\t') + stored + QLatin1Char('\t')));
    // Every column is wide enough for a value of 99999.99 and its title.
    auto* view = Out<QTableView>("OutGrid");
    for (int c = 1; c < grid->ColumnCount(); ++c)
        EXPECT_GE(view->columnWidth(c), view->fontMetrics().horizontalAdvance(QStringLiteral("99999.99"))) << c;
}

TEST_F(OutputPageTest, AStoppedRunIsMarked) {
    OpenOutput(CopyCase(QStringLiteral("case010")));  // stopped in step 17 of 39
    ASSERT_TRUE(Shown(outTab, "StopLabel"));
    EXPECT_TRUE(Out<QLabel>("StopLabel")->text().startsWith(
        QStringLiteral("The calculations stopped in time step 17 of 39")));
    Press(outTab, "HydrShowButton");
    OutputGridModel* grid = GridModel(outTab);
    EXPECT_EQ(grid->StopStep(), 17);
    EXPECT_FALSE(grid->data(grid->index(15, 1), Qt::BackgroundRole).isValid());  // step 16
    EXPECT_TRUE(grid->data(grid->index(16, 1), Qt::BackgroundRole).isValid());   // step 17
    EXPECT_TRUE(grid->data(grid->index(38, 5), Qt::ToolTipRole).toString().contains(QStringLiteral("17")));
    // The results of the steps not computed are empty, not zeros, in the
    // grid and on the clipboard, which marks those rows.
    EXPECT_EQ(grid->Cell(5, 39), QString());
    EXPECT_EQ(grid->Cell(1, 39), QStringLiteral("0.00"));
    EXPECT_FALSE(grid->Cell(8, 16).isEmpty());
    Press(outTab, "ClipButton");
    const QStringList rows = QGuiApplication::clipboard()->text().split(QLatin1Char('\r'));
    ASSERT_EQ(rows.size(), 40);
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("\tDepth WT (m)\tRun stopped")));
    EXPECT_TRUE(rows[16].endsWith(QLatin1Char('\t')));
    EXPECT_TRUE(rows[17].endsWith(QStringLiteral("\t\tnot computed")));

    // A completed run shows no stop.
    OpenOutput(CopyCase(QStringLiteral("case008")));
    EXPECT_FALSE(Shown(outTab, "StopLabel"));
}

TEST_F(OutputPageTest, AStoppedRunShowsItsStopFromTheRun) {
    // A run that stopped in its last step leaves no rows of zeros; the run
    // itself tells the pages.
    pages->RunStopped(CopyCase(QStringLiteral("case008")), 24);
    ASSERT_TRUE(Shown(outTab, "StopLabel"));
    EXPECT_TRUE(Out<QLabel>("StopLabel")->text().contains(QStringLiteral("time step 24 of")));
    EXPECT_TRUE(Enabled(outTab, "GraphButton"));
    Press(outTab, "SaltShowButton");
    EXPECT_EQ(GridModel(outTab)->StopStep(), 24);
}

// The listing shows the file's lines: "\r\n" ends a line, a lone "\r" or one
// before another "\r" stays in the text, characters beyond ASCII and bytes
// that are not UTF-8 are shown as the file reader shows them.
TEST(OutputListing, LineEndsOfTheFileBecomeLinesOfTheListing) {
    const std::string text = "a\r\nb\rc\r\r\nd\xC3\xA9\r\n\xFF\r\n\r\n";
    QString expected = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expected.chop(1);
    EXPECT_EQ(ListingText(text), expected);
    EXPECT_EQ(ListingText("one\r\ntwo"), QStringLiteral("one\ntwo"));
    EXPECT_EQ(ListingText("\r\n"), QString());
    EXPECT_EQ(ListingText("\r"), QStringLiteral("\r"));
    EXPECT_EQ(ListingText(""), QString());
    // A line longer than the listing shows is cut.
    EXPECT_EQ(ListingText(std::string(ListedLineLength + 5, 'x') + "\r\nb"),
              QString(static_cast<qsizetype>(ListedLineLength), QLatin1Char('x')) +
                  QStringLiteral(" ... (5 more characters)\nb"));
}

// Blank lines after the rows are counted, not listed: a damaged file of the
// largest size read lists no more than its header and rows.
TEST_F(OutputPageTest, BlankLinesAfterTheRowsAreNotListed) {
    const QString out = CopyCase(QStringLiteral("case006"));
    const QStringList lines = FileLines(out);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(200000, '\n'));
    file.close();
    OpenOutput(out);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Out<QPlainTextEdit>("OutputMemo")->toPlainText(),
              lines.join(QLatin1Char('\n')) +
                  QStringLiteral("\n(200000 more blank lines follow the rows; they are not listed)"));
}

// A long listing is taken from the file's text in parts while the window is
// idle; joined, the parts are the whole listing, also where a part ends on a
// blank line, a lone "\r" or the last line of the file.
TEST(OutputListing, TheListingInPartsIsTheWholeFile) {
    auto textOf = [](int lines, const std::string& end, const std::string& last) {
        std::string text;
        for (int k = 1; k <= lines; ++k) {
            if (k == 1000 || k == 21000) text += "\r";       // a lone "\r" ends a part's last line
            else if (k != 1001 && k != 21001) text += "line " + std::to_string(k);  // blank first lines of parts
            text += k < lines ? end : last;
        }
        return text;
    };
    struct Case {
        int lines;
        std::string end, last;
    };
    const Case cases[] = {{1000, "\r\n", "\r\n"}, {1001, "\n", ""}, {21001, "\r\n", "\r"}, {1, "\r\n", "\r\n"}};
    for (const Case& c : cases) {
        QWidget page;
        ResultsState state;
        TestDialogs dialogs;
        OutputPage output(dialogs, state, page);
        state.OutputText = textOf(c.lines, c.end, c.last);
        state.Output.RowsEnd = state.OutputText.size();
        ++state.TextVersion;
        output.ShowLoaded();
        auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("OutputMemo"));
        ASSERT_TRUE(memo);
        // As the whole listing split into the same parts of lines shows it
        // (a lone "\r" starts a paragraph of its own in the listing).
        QPlainTextEdit reference;
        const QString listing = ListingText(state.OutputText);
        qsizetype from = 0;
        for (int part = 0; from >= 0; ++part) {
            qsizetype end = from;
            for (int n = part == 0 ? 1000 : 20000; n > 0 && end >= 0; --n) {
                end = listing.indexOf(QLatin1Char('\n'), end);
                if (end >= 0) ++end;
            }
            const QString text = listing.mid(from, (end < 0 ? listing.size() + 1 : end) - 1 - from);
            if (part == 0)
                reference.setPlainText(text);
            else
                reference.appendPlainText(text);
            from = end;
        }
        const QString whole = reference.toPlainText();
        for (int k = 0; k < 100 && memo->toPlainText() != whole; ++k) QTest::qWait(10);
        EXPECT_EQ(memo->toPlainText(), whole) << c.lines << " lines";
    }
}

// A text read again while its listing is still coming in (the file was
// rewritten) is listed from its start: the listing never mixes two files.
TEST(OutputListing, ATextReadAgainIsListedFromItsStart) {
    QWidget page;
    ResultsState state;
    TestDialogs dialogs;
    OutputPage output(dialogs, state, page);
    for (int k = 1; k <= 30000; ++k) state.OutputText += "old " + std::to_string(k) + "\r\n";
    state.Output.RowsEnd = state.OutputText.size();
    ++state.TextVersion;
    output.ShowLoaded();
    auto* memo = page.findChild<QPlainTextEdit*>(QStringLiteral("OutputMemo"));
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->blockCount(), 1000);
    state.OutputText.clear();
    for (int k = 1; k <= 25000; ++k) state.OutputText += "new " + std::to_string(k) + "\r\n";
    state.Output.RowsEnd = state.OutputText.size();
    ++state.TextVersion;
    const QString whole = ListingText(state.OutputText);
    for (int k = 0; k < 100 && memo->toPlainText() != whole; ++k) QTest::qWait(10);
    EXPECT_EQ(memo->toPlainText(), whole);
}

// The grid makes its cells as it shows them: they are those of the tables,
// edits are kept beside them, and a file read again later does not change
// the table on view.
TEST_F(OutputPageTest, TheGridHoldsTheTablesOfTheFileAsShown) {
    const QString out = CopyCase(QStringLiteral("case008"));
    OpenOutput(out);
    OutputReadback output;
    ViewInput view;
    NumberFormat format;
    ASSERT_TRUE(ReadOutputFile(FileNameToStd(out), output, format).ok);
    ASSERT_TRUE(ReadInputForViews(ChangeExtension(FileNameToStd(out), ".inp"), output, view, format).ok);
    OutputGridModel* grid = GridModel(outTab);
    Press(outTab, "SaltShowButton");
    const TableCells salinity = SalinityTable(output.Results, &view, output.NrTst, output.Layers);
    EXPECT_EQ(grid->Cells(), salinity);
    Press(outTab, "HydrShowButton");
    TableCells hydrological = HydrologicalTable(output.Results, &view, output.NrTst);
    ASSERT_EQ(grid->RowCount(), static_cast<int>(hydrological.size()));
    for (int r = 0; r < grid->RowCount(); ++r)
        for (int c = 0; c < grid->ColumnCount(); ++c)
            ASSERT_EQ(grid->Cell(c, r).toStdString(), hydrological[static_cast<size_t>(r)][static_cast<size_t>(c)])
                << r << "," << c;
    // An edit, then the file rewritten with other numbers and read again by
    // a graph: the table keeps what it showed.
    ASSERT_TRUE(grid->setData(grid->index(2, 4), QStringLiteral("edited"), Qt::EditRole));
    hydrological[3][4] = "edited";
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype dash = bytes.indexOf("\r\n - -");
    ASSERT_GT(dash, 0);
    bytes = bytes.left(dash) + bytes.mid(dash).replace('1', '2');
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    Press(outTab, "GraphButton");
    Press(graphTab, "GraphGoButton");
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(grid->Cell(4, 3), QStringLiteral("edited"));
    EXPECT_EQ(grid->Cells(), hydrological);
    // The next table shows the new numbers the graph read.
    Press(outTab, "SaltShowButton");
    EXPECT_NE(grid->Cells(), salinity);
}
