// The Save graph dialog's types on the offscreen platform: bitmaps, larger
// PNG pictures and drawings, and the extension a bare name gets.
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include "FigureChecks.h"
#include "ResultsPagesFixture.h"

using namespace halovane;
using namespace halovane::test;

namespace {

const QString Bmp = QStringLiteral("Bitmap files (*.bmp)");
const QString Png = QStringLiteral("PNG files (*.png)");
const QString Png2 = QStringLiteral("PNG files, twice the size (*.png)");
const QString Png4 = QStringLiteral("PNG files, four times the size (*.png)");
const QString Svg = QStringLiteral("SVG drawings (*.svg)");
const QString Pdf = QStringLiteral("PDF documents (*.pdf)");

}  // namespace

class SaveGraphTypesTest : public ResultsPagesTest {
protected:
    // The first-layer salinity graph of a two-layer run with measurements.
    void DrawSalinity() {
        OpenOutput(CopyCase(QStringLiteral("case008")));
        Press(outTab, "GraphButton");
        Graph<QRadioButton>("SalFirstRadioButton")->click();
        Press(graphTab, "GraphGoButton");
        dialogs.log.clear();
    }
    // "Save graph" with a name typed and a type selected; the message shown.
    QString Save(const QString& typed, const QString& type) {
        dialogs.saveNames.push_back(dir.filePath(typed));
        dialogs.saveTypes.push_back(type);
        Press(graphTab, "SaveGraphButton");
        return dialogs.messages.value(dialogs.messages.size() - 1);
    }
    QString Saved(const QString& name) { return QStringLiteral("The graph was saved as  ") + dir.filePath(name); }
};

TEST_F(SaveGraphTypesTest, TheSelectedTypeNamesABareFile) {
    DrawSalinity();
    const QImage shown = Picture();
    // "PNG files" with a bare name is a PNG file, not a bitmap.
    EXPECT_EQ(Save(QStringLiteral("bare"), Png), Saved(QStringLiteral("bare.png")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("bare.bmp"))));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("bare.png"))).convertToFormat(QImage::Format_RGB32), shown);
    // The default type is still the bitmap.
    EXPECT_EQ(Save(QStringLiteral("plain"), QString()), Saved(QStringLiteral("plain.bmp")));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("plain.bmp"))).convertToFormat(QImage::Format_RGB32), shown);
    // A known extension typed wins over the type.
    EXPECT_EQ(Save(QStringLiteral("typed.svg"), Bmp), Saved(QStringLiteral("typed.svg")));
    EXPECT_TRUE(SvgTexts(dir.filePath(QStringLiteral("typed.svg"))).contains(QStringLiteral("dS/m")));
    // The overwrite question is asked for the name with its extension.
    dialogs.answers.push_back(false);
    dialogs.log.clear();
    Save(QStringLiteral("bare"), Png);
    EXPECT_EQ(dialogs.log.value(1), QStringLiteral("confirm: The graph already exists, overwrite?"));
}

TEST_F(SaveGraphTypesTest, LargerPicturesAndDrawingsOfTheGraph) {
    DrawSalinity();
    EXPECT_EQ(Save(QStringLiteral("twice"), Png2), Saved(QStringLiteral("twice.png")));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("twice.png"))).size(), QSize(1234, 882));
    EXPECT_EQ(Save(QStringLiteral("four"), Png4), Saved(QStringLiteral("four.png")));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("four.png"))).size(), QSize(2468, 1764));

    EXPECT_EQ(Save(QStringLiteral("figure"), Svg), Saved(QStringLiteral("figure.svg")));
    const QStringList texts = SvgTexts(dir.filePath(QStringLiteral("figure.svg")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Soil moisture salinity (ECsm) in the first root zone layer")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Time step")));
    EXPECT_EQ(Save(QStringLiteral("figure"), Pdf), Saved(QStringLiteral("figure.pdf")));
    EXPECT_EQ(PdfPages(dir.filePath(QStringLiteral("figure.pdf"))), 1);

    // The print style, without the footer: white around and in the plot;
    // the window keeps its look.
    const QImage shown = Picture();
    Graph<QComboBox>("SaveStyleCombo")->setCurrentIndex(1);
    Graph<QCheckBox>("SaveFooterCheck")->setChecked(false);
    EXPECT_EQ(Save(QStringLiteral("print"), Png), Saved(QStringLiteral("print.png")));
    const QImage print = QImage(dir.filePath(QStringLiteral("print.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(print.size(), QSize(617, 441));
    for (QPoint at : {QPoint(600, 415), QPoint(610, 200), QPoint(25, 430)}) EXPECT_EQ(print.pixel(at), 0xFFFFFFFFu);
    EXPECT_EQ(print.pixel(70, 200), 0xFF000000u);  // the vertical axis in black
    EXPECT_EQ(Save(QStringLiteral("print"), Svg), Saved(QStringLiteral("print.svg")));
    EXPECT_FALSE(SvgTexts(dir.filePath(QStringLiteral("print.svg"))).join(QLatin1Char('|')).contains(QStringLiteral("Program Halovane")));
    EXPECT_EQ(Picture(), shown);
}

TEST_F(SaveGraphTypesTest, AnOpenedPictureIsNoGraphToSave) {
    DrawSalinity();
    EXPECT_EQ(Save(QStringLiteral("graph.bmp"), Bmp), Saved(QStringLiteral("graph.bmp")));
    // A picture opened from a file has no graph data behind it: "Save graph"
    // waits for the next graph of the loaded output file.
    dialogs.openNames.push_back(dir.filePath(QStringLiteral("graph.bmp")));
    Press(graphTab, "OpenGrapButton");
    EXPECT_FALSE(Graph<QPushButton>("SaveGraphButton")->isEnabled());
    DrawSalinity();
    EXPECT_EQ(Save(QStringLiteral("again"), Svg), Saved(QStringLiteral("again.svg")));
    EXPECT_TRUE(SvgTexts(dir.filePath(QStringLiteral("again.svg"))).contains(QStringLiteral("Time step")));
}

TEST_F(SaveGraphTypesTest, ChoiceCaptionsAreSpelledRight) {
    EXPECT_EQ(Graph<QRadioButton>("SalThirdRadioButton")->text(), QStringLiteral("Salinity in third root zone layer"));
}
