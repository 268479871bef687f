// Graphs written to files by the same drawing code as the Graphs page:
// larger pictures that keep the colours, drawings with text as text, and
// the runner's graph command on the examples.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "FigureChecks.h"
#include "GraphFigure.h"
#include "GraphPainter.h"
#include "OutputFile.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// The graph data of a golden case, read as the Graphs page reads it.
GraphData CaseData(const std::string& name, const std::string& output = "plain.out") {
    const std::string folder = std::string(HALOVANE_CASES "/") + name + "/";
    OutputReadback out;
    ViewInput view;
    NumberFormat format;
    EXPECT_TRUE(ReadOutputFile(folder + output, out, format).ok);
    EXPECT_TRUE(ReadInputForViews(folder + "input.inp", out.NrTst, view, format).ok);
    return GraphDataFrom(out, &view);
}

// Points of the 1x picture in `area` whose colour differs at the
// corresponding point of a picture `scale` times as large (the middle of its
// block of pixels).
int Differing(const QImage& one, const QImage& large, int scale, QRect area) {
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (one.pixel(x, y) != large.pixel(scale * x + scale / 2, scale * y + scale / 2)) ++differing;
    return differing;
}

}  // namespace

TEST(GraphFigures, LargerPicturesKeepTheColoursOfTheGraph) {
    const GraphData data = CaseData("case021", "answered.out");
    const QRect whole(0, 0, 617, 441);
    // Below the legends and right of the labels: areas, bars, step lines,
    // curves and the horizontal axis with its ticks, and no text but the
    // letters that mark measurements.
    const QRect plot(66, 140, 520, 216);
    for (GraphChoice choice : {GraphChoice::AllHydrology, GraphChoice::WaterTable, GraphChoice::SalinityAll}) {
        const QImage one = PaintGraph(data, choice);
        for (int scale : {2, 4}) {
            SCOPED_TRACE(scale);
            const QImage large = PaintGraphScaled(data, choice, scale);
            ASSERT_EQ(large.size(), one.size() * scale);
            if (choice != GraphChoice::SalinityAll) {
                EXPECT_EQ(Differing(one, large, scale, plot), 0);
            }
            // Only the finer glyphs of the texts differ.
            EXPECT_LT(Differing(one, large, scale, whole), whole.width() * whole.height() / 25);
        }
        // At 1x the picture is the Graphs page's.
        EXPECT_EQ(PaintGraphScaled(data, choice, 1), one);
    }
}

TEST(GraphFigures, DrawingsAreValidAndHoldTheirTexts) {
    QTemporaryDir dir;
    const GraphData data = CaseData("case021", "answered.out");
    const QString svg = dir.filePath(QStringLiteral("g.svg")), pdf = dir.filePath(QStringLiteral("g.pdf"));
    ASSERT_TRUE(WriteGraphFile(svg, GraphFormat::Svg, 1, data, GraphChoice::SalinityFirst));
    const QStringList texts = SvgTexts(svg);
    EXPECT_TRUE(texts.contains(QString::fromStdString(data.Title1)));
    EXPECT_TRUE(texts.contains(QString::fromStdString(data.Title2)));
    EXPECT_TRUE(texts.contains(QStringLiteral("Soil moisture salinity (ECsm in dS / m)")));
    EXPECT_TRUE(texts.contains(QStringLiteral("- - - Layer 1 calculated")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Time step")));

    ASSERT_TRUE(WriteGraphFile(svg, GraphFormat::Svg, 1, data, GraphChoice::AllHydrology));
    EXPECT_TRUE(SvgTexts(svg).contains(QStringLiteral("Hydrologic flow factors (mm / time step)")));

    ASSERT_TRUE(WriteGraphFile(pdf, GraphFormat::Pdf, 1, data, GraphChoice::WaterTable));
    EXPECT_EQ(PdfPages(pdf), 1);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // A page the size of the graph at 96 pixels per inch (462.75 x 330.75
    // points, in whole points), with a font for its text.
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 463(\\.0*)? 331(\\.0*)?\\]"));
    EXPECT_TRUE(box.match(QString::fromLatin1(bytes)).hasMatch());
    EXPECT_TRUE(bytes.contains("/Font"));
}

TEST(GraphFigures, AFileThatCannotBeWrittenIsReportedAndTheOldOneKept) {
    QTemporaryDir dir;
    const GraphData data = CaseData("case008");
    EXPECT_FALSE(WriteGraphFile(dir.filePath(QStringLiteral("none/g.pdf")), GraphFormat::Pdf, 1, data,
                                GraphChoice::WaterTable));
    EXPECT_FALSE(WriteGraphFile(dir.filePath(QStringLiteral("g.png")), GraphFormat::Png, 3, data,
                                GraphChoice::WaterTable));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("g.png"))));
    EXPECT_FALSE(WritePictureFile(dir.filePath(QStringLiteral("g.svg")), GraphFormat::Svg, 1, QImage()));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("g.svg"))));
}

// The runner, as a script calls it.
class GraphCommand : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString err, out;

    int Cli(const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral(HALOVANE_CLI), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        err = QString::fromLocal8Bit(p.readAllStandardError());
        out = QString::fromLocal8Bit(p.readAllStandardOutput());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    // An example run by the runner: its output file.
    QString RunExample(const QString& example) {
        EXPECT_TRUE(QFile::copy(QStringLiteral(HALOVANE_EXAMPLES "/") + example + QStringLiteral(".inp"),
                                dir.filePath(example + QStringLiteral(".inp"))));
        EXPECT_EQ(Cli({QStringLiteral("run"), example + QStringLiteral(".inp")}), 0) << err.toStdString();
        return example + QStringLiteral(".out");
    }
};

TEST_F(GraphCommand, AllGraphsOfTheExamples) {
    const struct {
        const char* example;
        int layers;
    } examples[] = {{"one-layer-monthly", 1}, {"two-layer-drained", 2}, {"three-layer-seepage", 3}};
    const char* const keys[] = {"hydrology",  "surface",    "subsurface", "water-table",    "salinity",
                                "salinity-1", "salinity-2", "salinity-3", "salinity-below"};
    for (const auto& e : examples) {
        SCOPED_TRACE(e.example);
        const QString output = RunExample(QString::fromLatin1(e.example));
        ASSERT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--format"), QStringLiteral("svg"), output,
                       QStringLiteral("figures")}),
                  0)
            << err.toStdString();
        for (int k = 0; k < 9; ++k) {
            const QString name = QStringLiteral("figures/%1-%2.svg").arg(QLatin1String(e.example), QLatin1String(keys[k]));
            const bool applies = !(k == 6 && e.layers < 2) && !(k == 7 && e.layers < 3);
            ASSERT_EQ(QFile::exists(dir.filePath(name)), applies) << name.toStdString();
            if (applies) {
                EXPECT_TRUE(out.contains(name)) << out.toStdString();
                EXPECT_TRUE(SvgTexts(dir.filePath(name)).contains(QStringLiteral("Time step")));
            } else {
                EXPECT_TRUE(err.contains(QStringLiteral("no graph '%1'").arg(QLatin1String(keys[k]))))
                    << err.toStdString();
            }
        }
    }
}

TEST_F(GraphCommand, OneGraphInEachFormat) {
    const QString output = RunExample(QStringLiteral("two-layer-drained"));
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--type"), QStringLiteral("water-table"), output}), 0);
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("two-layer-drained-water-table.bmp"))).size(), QSize(617, 441));
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--type=4"), QStringLiteral("--format=png"),
                   QStringLiteral("--scale"), QStringLiteral("4"), output}),
              0);
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("two-layer-drained-water-table.png"))).size(), QSize(2468, 1764));
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--type"), QStringLiteral("salinity-1"),
                   QStringLiteral("--format"), QStringLiteral("pdf"), output}),
              0);
    EXPECT_EQ(PdfPages(dir.filePath(QStringLiteral("two-layer-drained-salinity-1.pdf"))), 1);
    // Without its input data file the graphs are still drawn, and it is said.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("two-layer-drained.inp"))));
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--type"), QStringLiteral("hydrology"), output}), 0);
    EXPECT_TRUE(err.contains(QStringLiteral("two-layer-drained.inp"))) << err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("two-layer-drained-hydrology.bmp"))));
}

TEST_F(GraphCommand, ExitStatuses) {
    const QString output = RunExample(QStringLiteral("one-layer-monthly"));
    // 1: usage.
    EXPECT_EQ(Cli({QStringLiteral("graph")}), 1);
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--format"), QStringLiteral("jpg"), output}), 1);
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--type"), QStringLiteral("rain"), output}), 1);
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--scale"), QStringLiteral("3"), output}), 1);
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--scale"), QStringLiteral("2"), QStringLiteral("--format"),
                   QStringLiteral("svg"), output}),
              1);
    EXPECT_EQ(Cli({QStringLiteral("graph"), output, QStringLiteral("a"), QStringLiteral("b")}), 1);
    // 2: a file that cannot be read, or a layer graph asked for that the root zone lacks.
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("missing.out")}), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("missing.out")));
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("one-layer-monthly.inp")}), 2);
    EXPECT_EQ(Cli({QStringLiteral("graph"), QStringLiteral("--type"), QStringLiteral("salinity-2"), output}), 2);
    EXPECT_TRUE(out.isEmpty());
    // 4: a graph that cannot be written.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(Cli({QStringLiteral("graph"), output, QStringLiteral("blocked/figures")}), 4);
    EXPECT_TRUE(err.contains(QStringLiteral("blocked/figures could not be made"))) << err.toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("figures/one-layer-monthly-water-table.bmp")));
    EXPECT_EQ(Cli({QStringLiteral("graph"), output, QStringLiteral("figures")}), 4);
    EXPECT_TRUE(err.contains(QStringLiteral("could not be written to figures/one-layer-monthly-water-table.bmp")))
        << err.toStdString();
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Lines of one column that follow each other are drawn as one line on a
// picture of the graph's size, also for curves drawn step by step in turn;
// the picture must be the one every line drawn by itself gives: points,
// lines up and down, spans that touch, overlap or leave a gap, slanting
// steps to the next column, curves crossing each other in other colours.
TEST(GraphFigures, GatheredColumnLinesCoverTheSamePixels) {
    std::mt19937 random(1234);
    const Rgb colors[] = {GraphColor::Cyan, GraphColor::Red, GraphColor::White, GraphColor::Green};
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        struct Segment {
            int x1, y1, x2, y2;
            Rgb color;
        };
        std::vector<Segment> segments;
        const int curves = 1 + round % 4;
        int x = 10;
        std::vector<int> y(static_cast<size_t>(curves));
        for (int& v : y) v = 100 + static_cast<int>(random() % 200);
        for (int step = 0; step < 3000; ++step) {
            const int choice = static_cast<int>(random() % 100);
            if (choice < 2) x = 10 + static_cast<int>(random() % 590);
            const bool slant = choice >= 2 && choice < 6 && x < 600;
            for (int c = 0; c < curves; ++c) {
                int& v = y[static_cast<size_t>(c)];
                const Rgb color = colors[(c + (choice == 7 ? 1 : 0)) % 4];
                const int next = std::clamp(v + static_cast<int>(random() % 9) - 4, 0, 440);
                const int kind = static_cast<int>(random() % 10);
                if (slant)
                    segments.push_back({x, v, x + 1, next, color});
                else if (kind == 0)
                    segments.push_back({x, v, x, v, color});  // a point
                else if (kind == 1)
                    segments.push_back({x, std::min(v + 4, 440), x, std::min(v + 6, 440), color});  // apart
                else
                    segments.push_back({x, v, x, next, color});
                v = next;
            }
            if (slant) ++x;
        }
        const QImage gathered = PaintPicture(GraphWidth, GraphHeight, [&](GraphCanvas& c) {
            for (const Segment& s : segments) {
                c.SetPenColor(s.color);
                c.Line(s.x1, s.y1, s.x2, s.y2);
            }
        });
        QImage single(GraphWidth, GraphHeight, QImage::Format_RGB32);
        single.fill(Qt::white);
        {
            QPainter painter(&single);
            painter.setRenderHint(QPainter::Antialiasing, false);
            for (const Segment& s : segments) {
                painter.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(s.color)), 1));
                painter.drawLine(s.x1, s.y1, s.x2, s.y2);
            }
        }
        ASSERT_TRUE(gathered == single);
    }
}
