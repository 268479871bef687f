// The pictures of the Intro and Figure pages and the program icon: they
// load, draw at their sizes, and the sketch carries every label.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include "UStaticPages.h"

using halovane::ShellResource;

namespace {

const char* const FigureLabels[] = {
    "Irrigation",       "RainFall",         "Evaporation 1",   "Evaporation 2",  "Root zone",
    "1st layer",        "2nd layer",        "Percolation 1",   "Percolation 2",  "Capillary rise 1",
    "Capillary rise 2", "Transition zone",  "Water table",     "Drainage",       "Upward seepage",
    "Downward seepage", "Aquifer",          "Inflow",          "OutFlow",
};

// The picture drawn on a transparent image of the given size.
QImage Draw(const QString& name, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(ShellResource(name));
    EXPECT_TRUE(renderer.isValid()) << name.toStdString();
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// Share of the pixels of a band of rows whose colour passes `test`.
template <class Test>
double Share(const QImage& image, int top, int bottom, Test test) {
    int hits = 0, all = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x, ++all)
            if (test(QColor(image.pixel(x, y)))) ++hits;
    return double(hits) / all;
}

bool Bluish(const QColor& c) { return c.blue() > c.red() + 40 && c.blue() > c.green(); }
bool Earthy(const QColor& c) { return c.red() > c.blue() + 40 && c.red() >= c.green(); }
bool Leafy(const QColor& c) { return c.green() > c.red() + 30 && c.green() > c.blue() + 30; }

// The texts of the sketch's <text> elements, with their ids.
QList<QPair<QString, QString>> FigureTexts() {
    QFile file(ShellResource(QStringLiteral("figure.svg")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QList<QPair<QString, QString>> texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text")) {
            const QString id = xml.attributes().value(QLatin1String("id")).toString();
            texts.append({id, xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()});
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return texts;
}

}  // namespace

TEST(ShellPictures, PicturesHaveTheirDesignSizes) {
    EXPECT_EQ(QSvgRenderer(ShellResource(QStringLiteral("intro.svg"))).defaultSize(), QSize(109, 96));
    EXPECT_EQ(QSvgRenderer(ShellResource(QStringLiteral("figure.svg"))).defaultSize(), QSize(668, 442));
}

TEST(ShellPictures, IntroPlantAboveSoilAboveGroundwater) {
    const QImage image = Draw(QStringLiteral("intro.svg"), QSize(109, 96));
    EXPECT_GT(DistinctColours(image), 8);
    EXPECT_GT(Share(image, 88, 95, Bluish), 0.8) << "groundwater at the bottom";
    EXPECT_GT(Share(image, 58, 66, Earthy), 0.7) << "soil above the groundwater";
    EXPECT_GT(Share(image, 10, 44, Leafy), 0.02) << "a green plant above the soil";
    EXPECT_LT(Share(image, 58, 66, Leafy), 0.02);
}

TEST(ShellPictures, FigureIsOpaqueAndDetailed) {
    const QImage image = Draw(QStringLiteral("figure.svg"), QSize(668, 442));
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 255) << "a see-through pixel at " << x << "," << y;
    EXPECT_GT(DistinctColours(image), 50);
    // The aquifer is water, the root zone soil.
    EXPECT_GT(Share(image, 345, 380, Bluish), 0.5);
    EXPECT_GT(Share(image, 85, 140, Earthy), 0.5);
}

TEST(ShellPictures, FigureCarriesEveryLabel) {
    const auto texts = FigureTexts();
    for (const char* label : FigureLabels) {
        int count = 0;
        for (const auto& text : texts) count += text.second == QLatin1String(label);
        EXPECT_EQ(count, 1) << label;
    }
}

TEST(ShellPictures, FigureLabelsInsideThePictureAndApart) {
    QSvgRenderer renderer(ShellResource(QStringLiteral("figure.svg")));
    const QRectF picture(0, 0, 668, 442);
    QList<QPair<QString, QRectF>> boxes;
    for (const auto& text : FigureTexts()) {
        ASSERT_TRUE(renderer.elementExists(text.first)) << text.second.toStdString();
        const QRectF box = renderer.transformForElement(text.first).mapRect(renderer.boundsOnElement(text.first));
        EXPECT_FALSE(box.isEmpty()) << text.second.toStdString();
        EXPECT_TRUE(picture.contains(box)) << text.second.toStdString() << " reaches outside the picture";
        boxes.append({text.second, box});
    }
    for (int i = 0; i < boxes.size(); ++i)
        for (int j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(boxes[i].second.intersects(boxes[j].second))
                << boxes[i].first.toStdString() << " overlaps " << boxes[j].first.toStdString();
}

TEST(ShellPictures, ApplicationIconHasTheUsualSizes) {
    const QIcon icon = halovane::ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int side : {16, 32, 48}) {
        const QImage image = icon.pixmap(side, side).toImage();
        EXPECT_GE(image.width(), side);
        EXPECT_GT(DistinctColours(image), 3) << side;
    }
}
