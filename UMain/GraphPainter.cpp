#include "GraphPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintDevice>

namespace halovane {

namespace {

QColor ToColor(Rgb c) { return QColor::fromRgb(static_cast<QRgb>(c)); }

// GraphCanvas on a QPainter. Text has no background; fonts are sized for
// 96 pixels per inch whatever the screen, so a graph has the same pixels
// everywhere.
class ImageCanvas : public GraphCanvas {
public:
    explicit ImageCanvas(QPainter& painter) : painter_(painter) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, true);
        painter_.setBackgroundMode(Qt::TransparentMode);
        font_.setStyleHint(QFont::SansSerif);
        SetFontSize(10);
        painter_.setPen(QPen(pen_, 1));
    }

    void SetFontSize(int points) override {
        font_.setPixelSize(qRound(points * 96.0 / 72.0));
        painter_.setFont(font_);
        metrics_ = QFontMetrics(font_, painter_.device());
    }
    void SetFontColor(Rgb color) override { fontColor_ = ToColor(color); }
    void SetPenColor(Rgb color) override {
        const QColor c = ToColor(color);
        if (c == pen_) return;
        pen_ = c;
        if (!penForText_) painter_.setPen(QPen(pen_, 1));
    }
    void SetBrushColor(Rgb color) override {
        brush_ = ToColor(color);
        painter_.setBackground(brush_);
    }
    void FillRect(int x1, int y1, int x2, int y2) override {
        const QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
        if (r.isValid()) painter_.fillRect(r, brush_);
    }
    void Line(int x1, int y1, int x2, int y2) override {
        UsePen();
        painter_.drawLine(x1, y1, x2, y2);
    }
    void Text(int x, int y, const std::string& text) override {
        if (text.empty()) return;
        UseFontColor();
        painter_.drawText(x, y + metrics_.ascent(), QString::fromStdString(text));
    }
    void TextRightCentred(int right, int y, const std::string& text) override {
        if (text.empty()) return;
        const QString s = QString::fromStdString(text);
        const int top = y - qRound(metrics_.height() / 2.0);
        UseFontColor();
        painter_.drawText(right - metrics_.horizontalAdvance(s), top + metrics_.ascent(), s);
    }

private:
    void UsePen() {
        if (!penForText_) return;
        painter_.setPen(QPen(pen_, 1));
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
    bool penForText_ = false;  // the painter's pen holds the font colour
};

}  // namespace

void PaintGraph(QPainter& painter, const GraphData& data, GraphChoice choice, GraphDrawn* drawn) {
    painter.save();
    // Scaled, the lines are smoothed; at the graph's own size every pixel
    // stays where the drawing puts it.
    const bool scaled = !painter.transform().isIdentity() || painter.device()->devicePixelRatioF() != 1.0;
    painter.setClipRect(QRect(0, 0, GraphWidth, GraphHeight));
    GraphDrawn result;
    {
        ImageCanvas canvas(painter);
        painter.setRenderHint(QPainter::Antialiasing, scaled);
        result = DrawGraph(data, choice, canvas);
    }
    painter.restore();
    if (drawn) *drawn = result;
}

QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn) {
    QImage image(GraphWidth, GraphHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    // Font sizes are in points at 96 pixels per inch.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    PaintGraph(painter, data, choice, drawn);
    return image;
}

QRect GraphRect(const QRect& room) {
    QSize size(GraphWidth, GraphHeight);
    size.scale(room.size(), Qt::KeepAspectRatio);
    return QRect(room.topLeft(), size);
}

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GraphImage"));
    setMinimumSize(GraphWidth / 3, GraphHeight / 3);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
}

void GraphView::ShowGraph(const GraphData& data, GraphChoice choice) {
    graph_ = Graph{data, choice};
    picture_ = PaintGraph(data, choice);
    shown_ = QImage();
    update();
}

void GraphView::ShowPicture(const QImage& picture) {
    graph_.reset();
    picture_ = picture;
    shown_ = QImage();
    update();
}

void GraphView::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    if (graph_) {
        const QRect target = GraphRect(rect());
        const double ratio = devicePixelRatioF();
        const QSize pixels = (QSizeF(target.size()) * ratio).toSize();
        if (shown_.size() != pixels) {
            shown_ = QImage(pixels, QImage::Format_RGB32);
            shown_.setDevicePixelRatio(ratio);
            shown_.fill(Qt::white);
            QPainter onImage(&shown_);
            const double scale = double(target.width()) / GraphWidth;
            onImage.scale(scale, scale);
            PaintGraph(onImage, graph_->data, graph_->choice);
        }
        painter.drawImage(target.topLeft(), shown_);
        return;
    }
    // A picture from a file: its own size when it fits, else scaled down.
    QSize size = picture_.size();
    if (size.width() > width() || size.height() > height()) size.scale(this->size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture_);
}

}  // namespace halovane
