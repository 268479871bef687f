#include "GraphPainter.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPolygonF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "FileTexts.h"

namespace halovane {

namespace {

QColor ToColor(Rgb c) { return QColor::fromRgb(static_cast<QRgb>(c)); }

// GraphCanvas on a QPainter. Text has no background, so marks and labels
// never erase the curves behind them; fonts are sized for 96 pixels per inch
// whatever the screen, so a graph has the same pixels everywhere. A line of
// the graph covers its row or column of pixels: on a picture of the graph's
// size that is where Qt puts a line of one pixel, on a larger picture or a
// drawing the line runs through the middle of those pixels (`centred`).
class ImageCanvas : public GraphCanvas {
public:
    explicit ImageCanvas(QPainter& painter, bool centred = false, bool gatherCentred = false)
        : painter_(painter), centred_(centred), gather_(!centred || gatherCentred) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        painter_.setBackgroundMode(Qt::TransparentMode);
        font_.setStyleHint(QFont::SansSerif);
        // The family the texts are measured in is the family a drawing
        // names: a substitute for a missing font is named as itself.
        font_.setFamily(QFontInfo(font_).family());
        SetFontSize(10);
        painter_.setPen(QPen(pen_, 1));
    }
    ~ImageCanvas() override { Flush(); }
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    void SetFontSize(int points) override {
        font_.setPixelSize(qRound(points * 96.0 / 72.0));
        painter_.setFont(font_);
        metrics_ = QFontMetrics(font_, painter_.device());
    }
    void SetFontColor(Rgb color) override { fontColor_ = ToColor(color); }
    void SetPenColor(Rgb color) override { pen_ = ToColor(color); }
    void SetLineStyle(LineStyle style) override { style_ = style; }
    int TextWidth(const std::string& text) override {
        return metrics_.horizontalAdvance(QString::fromStdString(text));
    }
    void Polyline(const std::vector<Point>& points) override {
        if (points.empty()) return;
        Flush();
        if (style_ == LineStyle::Solid && !centred_) {
            // On a picture of the graph's size every segment covers both
            // its ends, as a line drawn by itself does.
            UsePen(pen_);
            for (size_t k = 0; k + 1 < points.size(); ++k)
                painter_.drawLine(points[k].x, points[k].y, points[k + 1].x, points[k + 1].y);
            if (points.size() == 1) painter_.drawPoint(points[0].x, points[0].y);
            return;
        }
        QPen pen(pen_, 1);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::BevelJoin);
        // Dashes of a few pixels, as on a classic canvas.
        switch (style_) {
            case LineStyle::Solid: break;
            case LineStyle::Dash: pen.setDashPattern({5, 3}); break;
            case LineStyle::Dot: pen.setDashPattern({1, 2}); break;
            case LineStyle::DashDot: pen.setDashPattern({5, 2, 1, 2}); break;
            case LineStyle::DashDotDot: pen.setDashPattern({5, 2, 1, 2, 1, 2}); break;
        }
        painter_.setPen(pen);
        penForText_ = true;  // the next line sets its pen again
        const double shift = centred_ ? 0.5 : 0.0;
        QPolygonF line;
        line.reserve(static_cast<int>(points.size()));
        for (const Point& p : points) line << QPointF(p.x + shift, p.y + shift);
        if (line.size() == 1) line << line.front();
        painter_.drawPolyline(line);
    }
    void SetBrushColor(Rgb color) override {
        brush_ = ToColor(color);
        painter_.setBackground(brush_);
    }
    void FillRect(int x1, int y1, int x2, int y2) override {
        const QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
        Flush();
        if (r.isValid()) painter_.fillRect(r, brush_);
    }
    // A curve of many more steps than the plot has columns is mostly
    // lines of one column; the consecutive ones that touch or overlap in
    // the same colour are drawn as one line. Curves drawn step by step in
    // turn are gathered side by side: a gathered line is drawn before a
    // line of another colour that touches it, and gathered lines never
    // touch each other, so every pixel still gets the colour of the last
    // line over it. On a picture of the graph's own size that covers the
    // same pixels; scaled and smoothed on the screen, the edges of a line
    // are shaded once instead of once per step.
    void Line(int x1, int y1, int x2, int y2) override {
        if (gather_ && x1 == x2) {
            const int low = std::min(y1, y2), high = std::max(y1, y2);
            if (!spans_.empty() && spans_.front().x != x1) Flush();
            auto touches = [&](const Span& s) { return low <= s.high + 1 && high >= s.low - 1; };
            for (size_t k = 0; k < spans_.size();) {
                if (spans_[k].color != pen_ && touches(spans_[k])) {
                    Draw(spans_[k]);
                    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(k));
                } else {
                    ++k;
                }
            }
            for (Span& s : spans_) {
                if (s.color != pen_) continue;
                if (touches(s)) {
                    s.low = std::min(s.low, low);
                    s.high = std::max(s.high, high);
                } else {
                    Draw(s);
                    s = Span{pen_, x1, low, high};
                }
                return;
            }
            spans_.push_back(Span{pen_, x1, low, high});
            return;
        }
        Flush();
        UsePen(pen_);
        if (centred_)
            painter_.drawLine(QLineF(x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5));
        else
            painter_.drawLine(x1, y1, x2, y2);
    }
    void Text(int x, int y, const std::string& text) override {
        if (text.empty()) return;
        Flush();
        UseFontColor();
        painter_.drawText(x, y + metrics_.ascent(), QString::fromStdString(PrintableText(text)));
    }
    void TextRightCentred(int right, int y, const std::string& text) override {
        if (text.empty()) return;
        const QString s = QString::fromStdString(PrintableText(text));
        const int top = y - qRound(metrics_.height() / 2.0);
        Flush();
        UseFontColor();
        painter_.drawText(right - metrics_.horizontalAdvance(s), top + metrics_.ascent(), s);
    }

private:
    // A vertical line being gathered, not yet drawn; all of one column.
    struct Span {
        QColor color;
        int x = 0, low = 0, high = 0;
    };
    void Draw(const Span& s) {
        UsePen(s.color);
        if (centred_)
            painter_.drawLine(QLineF(s.x + 0.5, s.low + 0.5, s.x + 0.5, s.high + 0.5));
        else
            painter_.drawLine(s.x, s.low, s.x, s.high);
    }
    void Flush() {
        for (const Span& s : spans_) Draw(s);
        spans_.clear();
    }
    void UsePen(const QColor& color) {
        if (!penForText_ && painterPen_ == color) return;
        painter_.setPen(QPen(color, 1));
        painterPen_ = color;
        penForText_ = false;
    }
    void UseFontColor() {
        painter_.setPen(fontColor_);
        penForText_ = true;
    }

    QPainter& painter_;
    QFont font_{QStringLiteral("Arial")};
    QFontMetrics metrics_{font_};
    QColor fontColor_{Qt::black}, pen_{Qt::black}, brush_{Qt::white};
    LineStyle style_ = LineStyle::Solid;
    QColor painterPen_{Qt::black};  // the colour of the painter's pen for lines
    bool penForText_ = false;       // the painter's pen holds the font colour
    bool centred_;
    bool gather_;  // lines of one column are gathered
    std::vector<Span> spans_;
};

GraphDrawn Paint(QPainter& painter, const GraphData& data, GraphChoice choice, const GraphLook& look, bool onScreen) {
    painter.save();
    // Scaled, or on a drawing, lines run through the middle of the pixels
    // they cover and are smoothed; on a picture of the graph's own size every
    // pixel stays where the drawing puts it.
    const bool scaled = !painter.transform().isIdentity() || painter.device()->devicePixelRatioF() != 1.0;
    const bool centred = scaled || painter.device()->devType() != QInternal::Image;
    GraphDrawn result;
    {
        // The canvas sets its font first, so that a drawing names no other.
        ImageCanvas canvas(painter, centred, onScreen);
        painter.setClipRect(QRect(0, 0, GraphWidth, GraphHeight));
        painter.setRenderHint(QPainter::Antialiasing, scaled);
        result = DrawGraph(data, choice, canvas, look);
    }
    painter.restore();
    return result;
}

}  // namespace

void PaintGraph(QPainter& painter, const GraphData& data, GraphChoice choice, GraphDrawn* drawn,
                const GraphLook& look) {
    const GraphDrawn result = Paint(painter, data, choice, look, false);
    if (drawn) *drawn = result;
}

void PaintGraphOnScreen(QPainter& painter, const GraphData& data, GraphChoice choice) {
    Paint(painter, data, choice, GraphLook{}, true);
}

QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn, const GraphLook& look) {
    return PaintGraphScaled(data, choice, 1, drawn, look);
}

QImage PaintGraphScaled(const GraphData& data, GraphChoice choice, int scale, GraphDrawn* drawn,
                        const GraphLook& look) {
    QImage image(GraphWidth * scale, GraphHeight * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    // Font sizes are in points at 96 pixels per inch.
    image.setDotsPerMeterX(3780 * scale);
    image.setDotsPerMeterY(3780 * scale);
    QPainter painter(&image);
    if (scale != 1) painter.scale(scale, scale);
    PaintGraph(painter, data, choice, drawn, look);
    return image;
}

void PaintGraphOn(QPaintDevice& device, const GraphData& data, GraphChoice choice, const GraphLook& look) {
    QPainter painter(&device);
    PaintGraph(painter, data, choice, nullptr, look);
}

QImage PaintPicture(int width, int height, const std::function<void(GraphCanvas&)>& draw, int scale) {
    QImage image(width * scale, height * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780 * scale);
    image.setDotsPerMeterY(3780 * scale);
    {
        QPainter painter(&image);
        // Larger pictures as larger graphs: lines through the middle of the
        // pixels they cover, smoothed.
        if (scale != 1) painter.scale(scale, scale);
        ImageCanvas canvas(painter, scale != 1);
        painter.setRenderHint(QPainter::Antialiasing, scale != 1);
        draw(canvas);
    }
    return image;
}

void PaintPictureOn(QPaintDevice& device, const std::function<void(GraphCanvas&)>& draw) {
    QPainter painter(&device);
    ImageCanvas canvas(painter, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    draw(canvas);
}

QRect GraphRect(const QRect& room) {
    QSize size(GraphWidth, GraphHeight);
    size.scale(room.size(), Qt::KeepAspectRatio);
    return QRect(room.topLeft(), size);
}

}  // namespace halovane
