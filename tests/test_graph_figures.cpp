// Graphs written to files by the same drawing code as the Graphs page:
// larger pictures that keep the colours, drawings with text as text, and
// the runner's graph command on the examples.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QSvgRenderer>
#include <QPainter>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <random>

#include "FigureChecks.h"
#include "FileTexts.h"
#include "FitReportFiles.h"
#include "GraphFigure.h"
#include "GraphPainter.h"
#include "OutputFile.h"
#include "TextFile.h"

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
    EXPECT_TRUE(ReadInputForViews(folder + "input.inp", out, view, format).ok);
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
            // Bars and solid lines keep every pixel; dashes fall a little
            // differently on finer pixels.
            if (choice == GraphChoice::WaterTable) {
                EXPECT_EQ(Differing(one, large, scale, plot), 0);
            } else {
                EXPECT_LT(Differing(one, large, scale, plot), plot.width() * plot.height() / 50);
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
    EXPECT_TRUE(texts.contains(QStringLiteral("Soil moisture salinity (ECsm) in the first root zone layer")));
    EXPECT_EQ(texts.filter(QStringLiteral("Layer 1: leaching efficiency")).size(), 1);
    EXPECT_TRUE(texts.contains(QStringLiteral("Time step")));
    EXPECT_TRUE(texts.contains(QStringLiteral("dS/m")));

    // Print style: the texts name the font they were measured in.
    ASSERT_TRUE(WriteGraphFile(svg, GraphFormat::Svg, 1, data, GraphChoice::AllHydrology, {GraphStyle::Print, false}));
    EXPECT_TRUE(SvgTexts(svg).contains(QStringLiteral("Hydrological flows of every time step")));
    QFile drawing(svg);
    ASSERT_TRUE(drawing.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(drawing.readAll());
    QFont arial(QStringLiteral("Arial"));
    arial.setStyleHint(QFont::SansSerif);
    const QString used = QFontInfo(arial).family();
    static const QRegularExpression family(QStringLiteral("<text[^>]*font-family=\"([^\"]*)\""));
    for (auto it = family.globalMatch(content); it.hasNext();) EXPECT_EQ(it.next().captured(1), used);
    EXPECT_FALSE(content.contains(QStringLiteral("Program Halovane at")));
    EXPECT_FALSE(content.contains(QStringLiteral("#00008b"), Qt::CaseInsensitive));  // no navy in print

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

// A title goes into the drawing, the SVG's metadata and the CSV files as
// text of those formats: never as markup, a formula or a broken file.
TEST(GraphFigures, TitlesAreTextInEveryFileFormat) {
    struct Case {
        std::string title, shown, cell;  // as given; as drawn and as the SVG title; the CSV cell read back
    };
    const Case cases[] = {
        {"</title><script>alert(1)</script><title>Field 7", "</title><script>alert(1)</script><title>Field 7",
         "</title><script>alert(1)</script><title>Field 7"},
        {"Tom & \"Jerry's\", <ditch>", "Tom & \"Jerry's\", <ditch>", "Tom & \"Jerry's\", <ditch>"},
        {std::string("esc\x1b nul\0x\r\nend", 15), "esc\\x1B nul\\x00x\\x0D\\x0Aend", "esc\\x1B nul\\x00x\\x0D\\x0Aend"},
        {"\u00d1and\u00fa \u0085 NEL", "\u00d1and\u00fa \\x85 NEL", "\u00d1and\u00fa \\x85 NEL"},
        {"=HYPERLINK(\"http://x\")", "=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
        {"+1+2", "+1+2", "'+1+2"},
        {"-cmd|' /C calc'!A0", "-cmd|' /C calc'!A0", "'-cmd|' /C calc'!A0"},
        {"@SUM(A1:A9)", "@SUM(A1:A9)", "'@SUM(A1:A9)"},
        {"\t=1", "\\x09=1", "\\x09=1"},
        {"-0.5", "-0.5", "-0.5"},  // a number, not a formula
    };
    QTemporaryDir dir;
    GraphData data = CaseData("case001");
    const QString svg = dir.filePath(QStringLiteral("t.svg"));
    for (const Case& c : cases) {
        data.Title1 = c.title;
        ASSERT_TRUE(WriteGraphFile(svg, GraphFormat::Svg, 1, data, GraphChoice::WaterTable)) << c.title;
        QFile file(svg);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList elements, titles, texts;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            elements << xml.name().toString();
            if (xml.name() == QStringLiteral("title")) titles << xml.readElementText();
            else if (xml.name() == QStringLiteral("text")) texts << xml.readElementText();
        }
        EXPECT_FALSE(xml.hasError()) << c.title << ": " << xml.errorString().toStdString();
        EXPECT_FALSE(elements.contains(QStringLiteral("script"))) << c.title;
        EXPECT_EQ(titles, QStringList(QString::fromStdString(c.shown))) << c.title;
        EXPECT_TRUE(texts.contains(QString::fromStdString(c.shown))) << c.title;

        FitReport report;
        report.outputFile = c.title;
        report.zones.emplace_back();
        const std::string csv = FitCsv(report);
        LineReader lines(csv);
        lines.Next();
        const std::vector<std::string> cells = SplitCsvLine(lines.Next());
        EXPECT_EQ(cells.size(), static_cast<size_t>(std::count(FitCsvHeader, FitCsvHeader + std::strlen(FitCsvHeader), ',')) + 1);
        EXPECT_EQ(cells.back(), c.cell);
        EXPECT_TRUE(lines.AtEnd()) << c.title;
    }
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

// A curve reduced to first, lowest, highest and last point per pixel
// column covers the pixels of the whole curve, at the graph's size and at
// the larger sizes a graph is saved at.
TEST(GraphFigures, ReducedCurvesCoverTheSamePixels) {
    std::mt19937 random(99);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        std::vector<Point> curve;
        int y = 200;
        const int count = 2000 + round * 4000;
        for (int k = 0; k < count; ++k) {
            y = std::clamp(y + static_cast<int>(random() % 21) - 10, 50, 350);
            // Steps of a flow: a tread and a riser per step.
            curve.push_back({70 + k * 500 / count, y});
            if (round % 2 == 0) curve.push_back({70 + (k + 1) * 500 / count, y});
        }
        const std::vector<Point> reduced = ReduceToColumns(curve);
        EXPECT_LT(reduced.size(), size_t(4 * 502));
        for (int scale : {1, 2, 4}) {
            auto draw = [&](const std::vector<Point>& points) {
                return PaintPicture(GraphWidth, GraphHeight, [&](GraphCanvas& c) {
                    c.SetPenColor(GraphColor::Navy);
                    c.Polyline(points);
                }, scale);
            };
            EXPECT_TRUE(draw(curve) == draw(reduced)) << "scale " << scale;
        }
    }
}

// Where the markers land in the picture: the middle of each symbol's pixels
// is the point of its value, (X(i), Y(value)), in every zone of 1-, 2- and
// 3-layer root zones.
TEST(GraphFigures, MarkersLandOnTheirValues) {
    for (int layers = 1; layers <= 3; ++layers) {
        SCOPED_TRACE(layers);
        GraphData d;
        GraphSeries& s = d.Series;
        s.N = 12;
        s.Layers = layers;
        for (int z = 0; z < 5; ++z) {
            // Curves far below the measurements, so that the symbols stand alone.
            s.Calculated[z].assign(13, 1.0);
            s.Measured[z].assign(13, -1.0);
            s.Measured[z][2 + 2 * z] = 6 + z * 1.7;
        }
        for (GraphChoice choice : {GraphChoice::SalinityAll, GraphChoice::SalinityFirst, GraphChoice::SalinityBelow}) {
            for (GraphStyle style : {GraphStyle::Screen, GraphStyle::Print}) {
                GraphDrawn drawn;
                const QImage image = PaintGraph(d, choice, &drawn, {style, true});
                const std::vector<int> x = StepPixels(drawn.Scale, s.N);
                for (int z = 0; z < 5; ++z) {
                    if (!ZoneShown(drawn.Selection, layers, z)) continue;
                    const int i = 2 + 2 * z;
                    const QPoint at(x[i], ValuePixel(drawn.Scale, s.Measured[z][i]));
                    const QRgb color = 0xFF000000u | PaletteOf(style).zones[z].color;
                    int left = 9999, right = -1, top = 9999, bottom = -1;
                    for (int py = at.y() - 8; py <= at.y() + 8; ++py)
                        for (int px = at.x() - 8; px <= at.x() + 8; ++px)
                            if (image.pixel(px, py) == color) {
                                left = std::min(left, px), right = std::max(right, px);
                                top = std::min(top, py), bottom = std::max(bottom, py);
                            }
                    ASSERT_GE(right, 0) << "zone " << z;
                    EXPECT_EQ(QPoint((left + right) / 2, (top + bottom) / 2), at) << "zone " << z;
                    EXPECT_LE(right - left, 7) << "zone " << z;
                }
            }
        }
    }
}

// A century of days in a drawing: a few megabytes at most, written in a
// few seconds, and the picture of the reduced drawing is the graph's.
TEST(GraphFigures, LongRunsMakeSmallDrawings) {
    GraphData d;
    GraphSeries& s = d.Series;
    const int n = 365000;
    s.N = n;
    std::mt19937 random(5);
    for (auto* v : {&s.Rain, &s.Irrig, &s.EvapA, &s.Perc, &s.Cap, &s.Drain, &s.Dwt}) {
        v->resize(n + 1);
        for (double& value : *v) value = static_cast<double>(random() % 1000) / 100;
    }
    QTemporaryDir dir;
    for (GraphFormat format : {GraphFormat::Svg, GraphFormat::Pdf}) {
        const QString name = dir.filePath(format == GraphFormat::Svg ? QStringLiteral("h.svg") : QStringLiteral("h.pdf"));
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(WriteGraphFile(name, format, 1, d, GraphChoice::AllHydrology));
        EXPECT_LT(timer.elapsed(), 20000);
        EXPECT_LT(QFileInfo(name).size(), 3 * 1024 * 1024) << name.toStdString();
    }
    // The SVG drawn at its size shows the curves of the bitmap.
    QSvgRenderer svg(dir.filePath(QStringLiteral("h.svg")));
    QImage drawn(GraphWidth, GraphHeight, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        svg.render(&painter);
    }
    const QImage bitmap = PaintGraph(d, GraphChoice::AllHydrology);
    const QRect plot(71, 100, 498, 249);
    int same = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x) same += drawn.pixel(x, y) == bitmap.pixel(x, y);
    EXPECT_GT(same, plot.width() * plot.height() * 8 / 10);
}
