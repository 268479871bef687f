// Checks of the drawings a graph is written to: an SVG file must parse as
// XML and hold its texts as text, a PDF file must be one page.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace halovane::test {

// The texts of an SVG file (its title and every text element), after
// checking that it is well-formed XML with an <svg> root of the graph's view.
inline QStringList SvgTexts(const QString& fileName, const QString& viewBox = QStringLiteral("0 0 617 441")) {
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    QXmlStreamReader xml(&file);
    QStringList texts;
    bool root = true;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (root) {
            EXPECT_EQ(xml.name(), QStringLiteral("svg"));
            EXPECT_EQ(xml.attributes().value(QStringLiteral("viewBox")), viewBox);
            root = false;
        } else if (xml.name() == QStringLiteral("text") || xml.name() == QStringLiteral("title")) {
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    EXPECT_FALSE(xml.hasError()) << fileName.toStdString() << ": " << xml.errorString().toStdString();
    EXPECT_FALSE(root) << "no element in " << fileName.toStdString();
    return texts;
}

// The number of pages of a PDF file, after checking its header and trailer.
inline int PdfPages(const QString& fileName) {
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-")) << fileName.toStdString();
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF")) << fileName.toStdString();
    // Page objects, not the page tree ("/Type /Pages").
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next()) ++pages;
    return pages;
}

}  // namespace halovane::test
