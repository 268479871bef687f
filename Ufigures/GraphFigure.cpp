#include "GraphFigure.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <QSvgGenerator>
#include <functional>

#include "FileTexts.h"
#include "GraphPainter.h"
#include "TextFile.h"

namespace halovane {

namespace {

// A drawing of `size` pixels at 96 pixels per inch, painted by `paint` on
// a device whose coordinates are those pixels.
bool WriteDrawing(QIODevice& file, GraphFormat format, QSize size, const QString& title,
                  const std::function<void(QPaintDevice&)>& paint) {
    if (format == GraphFormat::Svg) {
        QSvgGenerator svg;
        PrepareSvg(svg, file, size, title, QStringLiteral("A graph of Halovane"));
        paint(svg);
        return true;
    }
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("Halovane"));
    // Qt quotes the metadata for PDF; control characters are shown.
    pdf.setTitle(QString::fromStdString(PrintableText(title.toStdString())));
    pdf.setResolution(96);
    // One page the size of the graph: 617 x 441 pixels are 462.75 x 330.75 points.
    const QPageSize page(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    if (!pdf.setPageSize(page) || !pdf.setPageMargins(QMarginsF(0, 0, 0, 0))) return false;
    paint(pdf);
    return true;
}

// The picture is made in memory and written as every file of the program
// is (WriteFileReplacing): whole or not at all, and through a link only
// where that is safe.
bool WriteFile(const QString& fileName, const std::function<bool(QIODevice&)>& write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !write(buffer)) return false;
    buffer.close();
    return WriteFileReplacing(fileName.toStdString(), bytes.toStdString()).empty();
}

const char* BitmapFormat(GraphFormat format) { return format == GraphFormat::Png ? "PNG" : "BMP"; }

}  // namespace

void PrepareSvg(QSvgGenerator& svg, QIODevice& device, QSize size, const QString& title, const QString& description) {
    svg.setOutputDevice(&device);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    // The generator puts both texts into the file as they are.
    svg.setTitle(QString::fromStdString(XmlText(title.toStdString())));
    svg.setDescription(QString::fromStdString(XmlText(description.toStdString())));
}

bool WriteGraphFile(const QString& fileName, GraphFormat format, int scale, const GraphData& data,
                    GraphChoice choice, const GraphLook& look) {
    if (!IsGraphScale(scale)) return false;
    return WriteFile(fileName, [&](QIODevice& file) {
        if (!IsVectorFormat(format))
            return PaintGraphScaled(data, choice, scale, nullptr, look).save(&file, BitmapFormat(format));
        return WriteDrawing(file, format, QSize(GraphWidth, GraphHeight), QString::fromStdString(data.Title1),
                            [&](QPaintDevice& device) { PaintGraphOn(device, data, choice, look); });
    });
}

bool WriteDrawnFile(const QString& fileName, GraphFormat format, int scale, QSize size, const QString& title,
                    const std::function<void(GraphCanvas&)>& draw) {
    if (!IsGraphScale(scale)) return false;
    return WriteFile(fileName, [&](QIODevice& file) {
        if (!IsVectorFormat(format))
            return PaintPicture(size.width(), size.height(), draw, scale).save(&file, BitmapFormat(format));
        return WriteDrawing(file, format, size, title, [&](QPaintDevice& device) { PaintPictureOn(device, draw); });
    });
}

bool WritePictureFile(const QString& fileName, GraphFormat format, int scale, const QImage& picture) {
    if (picture.isNull() || !IsGraphScale(scale)) return false;
    return WriteFile(fileName, [&](QIODevice& file) {
        if (!IsVectorFormat(format)) {
            const QImage image = scale == 1 ? picture
                                            : picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio,
                                                             Qt::FastTransformation);
            return image.save(&file, BitmapFormat(format));
        }
        return WriteDrawing(file, format, picture.size(), QString(), [&](QPaintDevice& device) {
            QPainter painter(&device);
            painter.drawImage(QPoint(0, 0), picture);
        });
    });
}

}  // namespace halovane
