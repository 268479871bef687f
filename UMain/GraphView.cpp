#include "GraphView.h"

#include <QPainter>
#include <QSizePolicy>
#include <utility>

namespace halovane {

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GraphImage"));
    setMinimumSize(GraphWidth / 3, GraphHeight / 3);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
}

void GraphView::ShowGraph(std::shared_ptr<const GraphData> graphData, GraphChoice choice) {
    // The series of a long run are large: shared, not copied.
    graph_ = Graph{std::move(graphData), choice};
    picture_ = QImage();
    shown_ = QImage();
    update();
}

const QImage& GraphView::Picture() const {
    if (picture_.isNull() && graph_) picture_ = PaintGraph(*graph_->data, graph_->choice);
    return picture_;
}

void GraphView::ShowPicture(const QImage& picture) {
    graph_.reset();
    picture_ = picture;
    shown_ = QImage();
    update();
}

void GraphView::paintEvent(QPaintEvent*) {
    if (!graph_ && picture_.isNull()) return;
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
            PaintGraphOnScreen(onImage, *graph_->data, graph_->choice);
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
