#include "DesignChartFigure.h"

#include <QImage>
#include <QPainter>
#include <QBuffer>
#include <QSvgGenerator>
#include <cmath>
#include <functional>

#include "FileTexts.h"
#include "GraphFigure.h"
#include "NumberText.h"
#include "TextFile.h"

namespace halovane {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(PrintableText(text)); }

// A value with three significant digits at most, as a cell shows it.
QString Short(double value) {
    if (std::isnan(value)) return QStringLiteral("-");
    return QString::number(value, 'g', 3);
}

// The colour of a value between low and high: green, yellow, red.
QColor Shade(double value, double low, double high) {
    const double t = high > low ? std::clamp((value - low) / (high - low), 0.0, 1.0) : 0.5;
    const int hue = static_cast<int>(std::lround(120 * (1 - t)));  // 120 green .. 0 red
    return QColor::fromHsv(hue, 140, 235);
}

bool WritePicture(const QString& fileName, QSize size, const QString& title,
                  const std::function<void(QPainter&)>& paint) {
    // Made in memory and written as every file of the program is.
    QByteArray bytes;
    QBuffer file(&bytes);
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool ok = true;
    if (fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        PrepareSvg(svg, file, size, title, QStringLiteral("A chart of a scenario run of Halovane"));
        QPainter painter(&svg);
        paint(painter);
    } else {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            paint(painter);
        }
        ok = image.save(&file, "PNG");
    }
    file.close();
    return ok && WriteFileReplacing(fileName.toStdString(), bytes.toStdString()).empty();
}

// A white page with black 12-pixel text; returns that font.
QFont StartChart(QPainter& p, QSize size) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::black);
    return font;
}

QString Heading(const std::string& metric, const std::string& unit) {
    return Text(metric) + (unit.empty() ? QString() : QStringLiteral(" (") + Text(unit) + QStringLiteral(")"));
}

}  // namespace

namespace {

struct Chart {
    QSize size;
    QString title;
    std::function<void(QPainter&)> paint;
};

Chart HeatMapChart(const HeatMap& map) {
    const int cellW = 72, cellH = 34, left = 150, top = 60, bottom = 70, right = 30;
    const int cols = static_cast<int>(map.xs.size()), rows = static_cast<int>(map.ys.size());
    const QSize size(left + cols * cellW + right, top + rows * cellH + bottom);
    const QString title = Heading(map.metric, map.unit);
    return Chart{size, title, [=](QPainter& p) {
        const QFont font = StartChart(p, size);
        QFont bold = font;
        bold.setBold(true);
        bold.setPixelSize(14);
        p.setFont(bold);
        p.drawText(QRect(0, 8, size.width(), 24), Qt::AlignCenter, title);
        p.setFont(font);
        if (map.criteria)
            p.drawText(QRect(0, 32, size.width(), 20), Qt::AlignCenter,
                       QStringLiteral("outlined: every criterion holds"));
        for (int iy = 0; iy < rows; ++iy)
            for (int ix = 0; ix < cols; ++ix) {
                // The lowest y at the bottom.
                const QRect cell(left + ix * cellW, top + (rows - 1 - iy) * cellH, cellW, cellH);
                const double v = map.At(static_cast<size_t>(ix), static_cast<size_t>(iy));
                p.fillRect(cell, std::isnan(v) ? QColor(220, 220, 220) : Shade(v, map.low, map.high));
                p.setPen(QPen(QColor(255, 255, 255), 1));
                p.drawRect(cell);
                p.setPen(Qt::black);
                p.drawText(cell, Qt::AlignCenter, Short(v));
                if (map.PassAt(static_cast<size_t>(ix), static_cast<size_t>(iy))) {
                    p.setPen(QPen(Qt::black, 3));
                    p.drawRect(cell.adjusted(2, 2, -2, -2));
                    p.setPen(Qt::black);
                }
            }
        for (int ix = 0; ix < cols; ++ix)
            p.drawText(QRect(left + ix * cellW, top + rows * cellH + 4, cellW, 18), Qt::AlignCenter,
                       Text(ShortestText(map.xs[static_cast<size_t>(ix)])));
        p.drawText(QRect(left, top + rows * cellH + 28, cols * cellW, 20), Qt::AlignCenter, Text(map.x));
        if (!map.y.empty()) {
            for (int iy = 0; iy < rows; ++iy)
                p.drawText(QRect(left - 64, top + (rows - 1 - iy) * cellH, 58, cellH),
                           Qt::AlignRight | Qt::AlignVCenter, Text(ShortestText(map.ys[static_cast<size_t>(iy)])));
            p.save();
            p.translate(24, top + rows * cellH / 2.0);
            p.rotate(-90);
            p.drawText(QRect(-rows * cellH / 2 - 100, -10, rows * cellH + 200, 20), Qt::AlignCenter, Text(map.y));
            p.restore();
        }
    }};
}

Chart TornadoChart(const Tornado& t) {
    // Names, then room for the low ends' labels, the bars, the high ends' labels.
    const int barH = 30, names = 180, left = names + 100, top = 60, width = 420, right = 120, bottom = 60;
    const int count = static_cast<int>(t.bars.size());
    const QSize size(left + width + right, top + std::max(count, 1) * barH + bottom);
    double low = t.base, high = t.base;
    for (const TornadoBar& bar : t.bars) {
        low = std::min(low, bar.low);
        high = std::max(high, bar.high);
    }
    if (high == low) high = low + 1;
    auto xOf = [=](double v) { return left + (v - low) / (high - low) * width; };
    const QString title = Heading(t.metric, t.unit) + QStringLiteral(": one at a time around the base");
    return Chart{size, title, [=](QPainter& p) {
        StartChart(p, size);
        p.drawText(QRect(0, 10, size.width(), 24), Qt::AlignCenter, title);
        for (int k = 0; k < count; ++k) {
            const TornadoBar& bar = t.bars[static_cast<size_t>(k)];
            const int y = top + k * barH;
            const QRectF lowPart(QPointF(xOf(bar.low), y + 5), QPointF(xOf(t.base), y + barH - 5));
            const QRectF highPart(QPointF(xOf(t.base), y + 5), QPointF(xOf(bar.high), y + barH - 5));
            p.fillRect(lowPart, QColor(90, 150, 210));
            p.fillRect(highPart, QColor(220, 120, 90));
            p.drawText(QRect(4, y, names - 10, barH), Qt::AlignRight | Qt::AlignVCenter, Text(bar.name));
            p.drawText(QRectF(xOf(bar.low) - 98, y, 94, barH), Qt::AlignRight | Qt::AlignVCenter,
                       Short(bar.low) + QStringLiteral(" @") + Text(ShortestText(bar.lowValue)));
            p.drawText(QRectF(xOf(bar.high) + 4, y, right - 6, barH), Qt::AlignLeft | Qt::AlignVCenter,
                       Short(bar.high) + QStringLiteral(" @") + Text(ShortestText(bar.highValue)));
        }
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawLine(QPointF(xOf(t.base), top - 4), QPointF(xOf(t.base), top + count * barH + 4));
        p.setPen(Qt::black);
        p.drawText(QRectF(xOf(t.base) - 100, top + count * barH + 8, 200, 20), Qt::AlignCenter,
                   QStringLiteral("base: ") + Short(t.base));
    }};
}

QImage ChartImage(const Chart& chart) {
    QImage image(chart.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    chart.paint(painter);
    return image;
}

}  // namespace

bool WriteHeatMapFile(const QString& fileName, const HeatMap& map) {
    const Chart chart = HeatMapChart(map);
    return WritePicture(fileName, chart.size, chart.title, chart.paint);
}

bool WriteTornadoFile(const QString& fileName, const Tornado& tornado) {
    const Chart chart = TornadoChart(tornado);
    return WritePicture(fileName, chart.size, chart.title, chart.paint);
}

QImage HeatMapImage(const HeatMap& map) { return ChartImage(HeatMapChart(map)); }

QImage TornadoImage(const Tornado& tornado) { return ChartImage(TornadoChart(tornado)); }

}  // namespace halovane
