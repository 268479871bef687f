// The Graphs page on the offscreen platform: choices, the nine graphs,
// saving and opening pictures.
#include <QApplication>
#include <QRadioButton>

#include "GraphPainter.h"
#include "OutputFile.h"
#include "ResultsPagesFixture.h"

using namespace halovane;
using namespace halovane::test;

namespace {

const char* const ChoiceNames[GraphChoiceCount] = {
    "GraphHydrRadioButton", "SurfHydrRadioButton", "SubSurfHydrRadioButton",
    "GraphWTRadioButton",   "GraphSaltRadioButton", "SalFirstRadioButton",
    "SalSecondRadioButton", "SalThirdRadioButton",  "SalBelowRadioButton",
};

// The Save graph dialog as the log records it: its types, the default suffix.
const QString SaveDialog = QStringLiteral(
    "save: Bitmap files (*.bmp);;PNG files (*.png);;PNG files, twice the size (*.png);;"
    "PNG files, four times the size (*.png);;SVG drawings (*.svg);;PDF documents (*.pdf) .bmp");

const QRgb Navy = 0xFF00008B, White = 0xFFFFFFFF, Silver = 0xFFC0C0C0;

QRgb Opaque(Rgb c) { return 0xFF000000u | c; }

// Pixels of exactly `color` in a rectangle of the picture.
int Count(const QImage& image, QRgb color, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == color) ++count;
    return count;
}

// The frame every graph has.
void ExpectFrame(const QImage& image) {
    ASSERT_EQ(image.size(), QSize(617, 441));
    EXPECT_EQ(image.pixel(610, 200), Silver);    // right of the plot area
    EXPECT_EQ(image.pixel(610, 436), Silver);
    EXPECT_EQ(image.pixel(600, 415), Navy);      // plot area, clear of text
    EXPECT_EQ(image.pixel(25, 400), Navy);
    EXPECT_EQ(image.pixel(70, 200), White);      // vertical axis
    EXPECT_EQ(image.pixel(70, 51), White);
    EXPECT_EQ(image.pixel(300, 350), White);     // horizontal axis
    EXPECT_EQ(image.pixel(569, 350), White);
    EXPECT_EQ(image.pixel(67, 350), White);      // bottom tick of the vertical axis
    EXPECT_EQ(image.pixel(70, 353), White);      // first tick of the horizontal axis
}

}  // namespace

class GraphsPageTest : public ResultsPagesTest {
protected:
    QRadioButton* Choice(int k) { return Graph<QRadioButton>(ChoiceNames[k]); }
    // "Go" with a choice made.
    void Draw(int k) {
        ASSERT_TRUE(Choice(k)->isEnabled()) << ChoiceNames[k];
        Choice(k)->click();
        Press(graphTab, "GraphGoButton");
    }
    void SeeGraphs(const QString& caseName, const QString& outputFile = QStringLiteral("plain.out")) {
        OpenOutput(CopyCase(caseName, outputFile));
        Press(outTab, "GraphButton");
        dialogs.log.clear();
    }
};

TEST_F(GraphsPageTest, StartsWithMakeAndOpenGraph) {
    EXPECT_FALSE(Shown(graphTab, "GraphPanel"));
    EXPECT_FALSE(Enabled(graphTab, "GraphSelectButton"));
    EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
    EXPECT_TRUE(Enabled(graphTab, "MakeGraphButton"));
    EXPECT_TRUE(Enabled(graphTab, "OpenGrapButton"));
    EXPECT_TRUE(Choice(0)->isChecked());
    // The page in front at the frame's design size holds the graph at its
    // own size; a larger window gives it more room, in proportion.
    frame.setCurrentWidget(graphTab);
    QApplication::processEvents();
    const QRect design = GraphRect(Graph("GraphImage")->geometry());
    EXPECT_GE(design.width(), 617);
    EXPECT_GE(design.height(), 441);
    frame.resize(1200, 900);
    QApplication::processEvents();
    const QRect larger = GraphRect(Graph("GraphImage")->geometry());
    EXPECT_GT(larger.width(), design.width() + 200);
    EXPECT_NEAR(double(larger.width()) / larger.height(), 617.0 / 441, 0.01);
}

TEST_F(GraphsPageTest, SeeGraphsOffersTheLayersOfTheRootZone) {
    // Three layers: every choice.
    SeeGraphs(QStringLiteral("case006"));
    EXPECT_EQ(frame.currentWidget(), graphTab);
    EXPECT_TRUE(Shown(graphTab, "GraphPanel"));
    EXPECT_FALSE(Shown(graphTab, "GraphImage"));
    for (int k = 0; k < GraphChoiceCount; ++k) EXPECT_TRUE(Choice(k)->isEnabled()) << ChoiceNames[k];
    Choice(7)->click();  // third layer

    // Two layers: the third-layer choice is disabled and cleared.
    frame.setCurrentWidget(outTab);
    SeeGraphs(QStringLiteral("case008"));
    EXPECT_TRUE(Choice(6)->isEnabled());
    EXPECT_FALSE(Choice(7)->isEnabled());
    EXPECT_FALSE(Choice(7)->isChecked());
    Choice(6)->click();  // second layer

    // One layer: second and third disabled, and no choice is left.
    SeeGraphs(QStringLiteral("case010"));
    EXPECT_FALSE(Choice(6)->isEnabled());
    EXPECT_FALSE(Choice(7)->isEnabled());
    for (int k = 0; k < GraphChoiceCount; ++k) EXPECT_FALSE(Choice(k)->isChecked()) << ChoiceNames[k];
    // "Go" then asks for a choice and draws nothing; "Save graph" stays
    // disabled, so no picture of another file can be saved for this one.
    Press(graphTab, "GraphGoButton");
    EXPECT_EQ(dialogs.messages.value(dialogs.messages.size() - 1), QStringLiteral("Please select a graph type first."));
    EXPECT_TRUE(Shown(graphTab, "GraphPanel"));
    EXPECT_FALSE(Shown(graphTab, "GraphImage"));
    EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
    EXPECT_FALSE(Enabled(graphTab, "GraphSelectButton"));
}

TEST_F(GraphsPageTest, NineGraphs) {
    // Three layers with optimised zones, so every choice has something to draw.
    SeeGraphs(QStringLiteral("case021"), QStringLiteral("answered.out"));
    const GraphPalette& p = PaletteOf(GraphStyle::Screen);
    struct Expect {
        Rgb curve;  // a colour only the curves of the graph have below the legends
    } expect[GraphChoiceCount] = {
        {p.flows[5].color}, {p.flows[2].color}, {p.flows[3].color}, {p.bars[1]},         {p.zones[0].color},
        {p.zones[0].color}, {p.zones[1].color}, {p.zones[2].color}, {p.zones[3].color},
    };
    QImage previous;
    for (int k = 0; k < GraphChoiceCount; ++k) {
        SCOPED_TRACE(ChoiceNames[k]);
        if (k > 0) Press(graphTab, "GraphSelectButton");
        EXPECT_TRUE(Shown(graphTab, "GraphPanel"));
        EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
        Draw(k);
        EXPECT_FALSE(Shown(graphTab, "GraphPanel"));
        EXPECT_TRUE(Shown(graphTab, "GraphImage"));
        EXPECT_TRUE(Enabled(graphTab, "SaveGraphButton"));
        EXPECT_TRUE(Enabled(graphTab, "GraphSelectButton"));
        const QImage image = Picture();
        ExpectFrame(image);
        EXPECT_GT(Count(image, Opaque(expect[k].curve), QRect(71, 150, 499, 199)), 10);
        EXPECT_NE(image, previous);
        previous = image;
    }
    EXPECT_TRUE(dialogs.log.isEmpty()) << dialogs.log.join(QLatin1Char('|')).toStdString();
    // The water-table graph has bars in both colours.
    Press(graphTab, "GraphSelectButton");
    Draw(3);
    EXPECT_GT(Count(Picture(), Opaque(GraphColor::InactiveCaption), QRect(71, 50, 499, 300)), 10);
}

TEST_F(GraphsPageTest, PixelsOfAKnownGraph) {
    // Three steps: drainage 0, 10 and 20 mm, everything else 0.
    GraphData d;
    GraphSeries& s = d.Series;
    s.N = 3;
    for (auto* v : {&s.Rain, &s.Irrig, &s.EvapA, &s.Perc, &s.Cap, &s.Drain, &s.Dwt}) v->assign(4, 0.0);
    s.Drain = {0, 0, 10, 20};
    GraphDrawn drawn;
    const QImage image = PaintGraph(d, GraphChoice::SubsurfaceHydrology, &drawn).convertToFormat(QImage::Format_RGB32);
    ExpectFrame(image);
    const std::vector<int> x = StepPixels(drawn.Scale, 3);
    const int y1 = ValuePixel(drawn.Scale, 0), y2 = ValuePixel(drawn.Scale, 10), y3 = ValuePixel(drawn.Scale, 20);
    const QRgb tan = Opaque(GraphColor::Tan);
    // The flow of step i over (X(i - 1), X(i)], unshifted: the tread of
    // step 1 at 0 (under the axis), riser to step 2, tread of step 2, riser
    // and tread of the last step, which ends at X(3); nothing beyond.
    EXPECT_EQ(image.pixel(x[1], (y1 + y2) / 2), tan);
    EXPECT_EQ(image.pixel((x[1] + x[2]) / 2, y2), tan);
    EXPECT_EQ(image.pixel((x[2] + x[3]) / 2, y3), tan);
    EXPECT_EQ(Count(image, tan, QRect(x[3] + 2, 100, 560 - x[3], 240)), 0);

    // A water table always at the surface still gets a scale; its bars have
    // no height.
    s.Dwt = {0, 0, 0, 0};
    const QImage flat = PaintGraph(d, GraphChoice::WaterTable, &drawn).convertToFormat(QImage::Format_RGB32);
    ExpectFrame(flat);
    EXPECT_GT(drawn.Scale.Ymax, drawn.Scale.Ymin);
    EXPECT_EQ(ZeroLinePixel(drawn.Scale), AxisBottom);
    // At 0.5 m above the surface: the bar of step 1 from the surface up.
    s.Dwt = {0, -0.5, 0, 0};
    const QImage above = PaintGraph(d, GraphChoice::WaterTable, &drawn).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(above.pixel((x[0] + x[1]) / 2, (ValuePixel(drawn.Scale, 0.5) + ZeroLinePixel(drawn.Scale)) / 2),
              Opaque(GraphColor::InactiveCaption));

    // Salinity of one layer: the line from step 1 to step 2 in its colour.
    s.Layers = 1;
    for (int z = 0; z < 5; ++z) {
        s.Calculated[z] = {0, 2, 2, 2};
        s.Measured[z] = {-1, -1, -1, -1};
    }
    const QImage salinity = PaintGraph(d, GraphChoice::SalinityFirst, &drawn).convertToFormat(QImage::Format_RGB32);
    const int y = ValuePixel(drawn.Scale, 2);
    EXPECT_EQ(salinity.pixel((x[1] + x[2]) / 2, y), Opaque(PaletteOf(GraphStyle::Screen).zones[0].color));
}

TEST_F(GraphsPageTest, SaveAndOpenAGraph) {
    SeeGraphs(QStringLiteral("case008"));
    Draw(4);
    const QImage drawn = Picture();
    const QString bmp = dir.filePath(QStringLiteral("graph.bmp"));

    dialogs.saveNames.push_back(bmp);
    Press(graphTab, "SaveGraphButton");
    EXPECT_EQ(dialogs.log.value(0), SaveDialog);
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("The graph was saved as  ") + bmp);
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("BM"));
    file.close();
    EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB32), drawn);

    // PNG as the second file type.
    const QString png = dir.filePath(QStringLiteral("graph.png"));
    dialogs.saveNames.push_back(png);
    Press(graphTab, "SaveGraphButton");
    QFile pngFile(png);
    ASSERT_TRUE(pngFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(pngFile.read(4), QByteArray("\x89PNG"));
    EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), drawn);

    // Another graph, then "Open graph" brings the saved one back.
    Press(graphTab, "GraphSelectButton");
    Draw(0);
    ASSERT_NE(Picture(), drawn);
    dialogs.openNames.push_back(bmp);
    Press(graphTab, "OpenGrapButton");
    EXPECT_EQ(Picture(), drawn);
    EXPECT_TRUE(Shown(graphTab, "GraphImage"));
}

TEST_F(GraphsPageTest, SavingOverAnExistingFile) {
    SeeGraphs(QStringLiteral("case008"));
    Draw(3);
    const QString bmp = dir.filePath(QStringLiteral("graph.bmp"));
    QFile old(bmp);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older picture");
    old.close();

    // "No": nothing saved, no message.
    dialogs.log.clear();
    dialogs.saveNames.push_back(bmp);
    dialogs.answers.push_back(false);
    Press(graphTab, "SaveGraphButton");
    EXPECT_EQ(dialogs.log, QStringList({SaveDialog,
                                        QStringLiteral("confirm: The graph already exists, overwrite?")}));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("older picture"));
    old.close();

    // "Yes": replaced.
    dialogs.saveNames.push_back(bmp);
    dialogs.answers.push_back(true);
    Press(graphTab, "SaveGraphButton");
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("The graph was saved as  ") + bmp);
    EXPECT_EQ(QImage(bmp).convertToFormat(QImage::Format_RGB32), Picture());

    // Cancelled.
    Press(graphTab, "SaveGraphButton");
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("The graph was not saved"));

    // A folder that cannot be written is reported, not announced as saved.
    const QString nowhere = dir.filePath(QStringLiteral("no-such-folder/graph.bmp"));
    dialogs.saveNames.push_back(nowhere);
    Press(graphTab, "SaveGraphButton");
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("The graph could not be saved as  ") + nowhere);
}

TEST_F(GraphsPageTest, OpenGraphMessages) {
    SeeGraphs(QStringLiteral("case008"));
    Draw(0);
    const QImage shown = Picture();

    Press(graphTab, "OpenGrapButton");
    EXPECT_EQ(dialogs.log.value(0), QStringLiteral("open: bitmap files (*.bmp);;PNG files (*.png)"));
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("No graphics file was selected"));

    dialogs.openNames.push_back(dir.filePath(QStringLiteral("missing.bmp")));
    Press(graphTab, "OpenGrapButton");
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("Picture file does not exist, please select another one."));
    EXPECT_EQ(Picture(), shown);

    const QString text = dir.filePath(QStringLiteral("text.bmp"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    dialogs.openNames.push_back(text);
    Press(graphTab, "OpenGrapButton");
    EXPECT_TRUE(dialogs.messages.last().startsWith(QStringLiteral("The file ") + text + QStringLiteral(" could not be opened (")))
        << dialogs.messages.last().toStdString();
    EXPECT_EQ(Picture(), shown);
}

TEST_F(GraphsPageTest, MakeGraphOpensAnOutputFirst) {
    const QString out = CopyCase(QStringLiteral("case010"));
    dialogs.openNames.push_back(out);
    Press(graphTab, "MakeGraphButton");
    EXPECT_EQ(dialogs.log, QStringList({QStringLiteral("inform: To make a graph, an output file must be opened first."),
                                        QStringLiteral("open: output files (*.out)")}));
    EXPECT_EQ(frame.currentWidget(), graphTab);
    EXPECT_TRUE(Shown(graphTab, "GraphPanel"));
    EXPECT_FALSE(Shown(graphTab, "GraphImage"));
    EXPECT_TRUE(Enabled(outTab, "GraphButton"));
    EXPECT_FALSE(Choice(6)->isEnabled());  // one layer
    Draw(3);
    ExpectFrame(Picture());

    // Opening another output hides the graph.
    OpenOutput(CopyCase(QStringLiteral("case008")));
    EXPECT_FALSE(Shown(graphTab, "GraphImage"));
    EXPECT_FALSE(Shown(graphTab, "GraphPanel"));
    EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
    EXPECT_FALSE(Enabled(graphTab, "GraphSelectButton"));
}

TEST_F(GraphsPageTest, GoWithoutAnOutputFile) {
    dialogs.openNames.push_back(QString());
    Press(graphTab, "MakeGraphButton");
    EXPECT_EQ(dialogs.messages.value(1), QStringLiteral("No output file was selected"));
    Press(graphTab, "GraphGoButton");
    EXPECT_EQ(dialogs.messages.last(), QStringLiteral("To make a graph, an output file must be opened first."));
    EXPECT_FALSE(Shown(graphTab, "GraphImage"));
    EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
}

TEST_F(GraphsPageTest, InputOpenedDisablesSaveAndSelect) {
    SeeGraphs(QStringLiteral("case008"));
    Draw(0);
    pages->InputOpened();
    EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
    EXPECT_FALSE(Enabled(graphTab, "GraphSelectButton"));
    EXPECT_TRUE(Shown(graphTab, "GraphImage"));
}

TEST_F(GraphsPageTest, AStoppedRunEndsAtItsStopAndAnOpenedPictureIsNotSaved) {
    SeeGraphs(QStringLiteral("case010"));  // stopped in step 17 of 39
    Choice(3)->click();                     // depth of the water table
    Press(graphTab, "GraphGoButton");
    const QImage image = Picture();
    AxisScale scale;
    ScaleHorizontal(39, GraphKind::WaterTable, scale);
    const std::vector<int> x = StepPixels(scale, 40);
    const QRgb bar = Opaque(GraphColor::InactiveCaption), other = Opaque(GraphColor::LightBlue);
    // Bars up to step 16, none after the stop (the water does not rise to
    // the surface there).
    EXPECT_GT(Count(image, bar, QRect(x[1], 50, x[17] - x[1], 300)) + Count(image, other, QRect(x[1], 50, x[17] - x[1], 300)), 0);
    EXPECT_EQ(Count(image, bar, QRect(x[17] + 1, 50, 570 - x[17], 300)) + Count(image, other, QRect(x[17] + 1, 50, 570 - x[17], 300)), 0);
    EXPECT_TRUE(Enabled(graphTab, "SaveGraphButton"));

    // A picture opened from a file is no graph of the loaded output file.
    const QString bmp = dir.filePath(QStringLiteral("old.bmp"));
    ASSERT_TRUE(image.save(bmp, "BMP"));
    dialogs.openNames.push_back(bmp);
    Press(graphTab, "OpenGrapButton");
    EXPECT_FALSE(Enabled(graphTab, "SaveGraphButton"));
}
