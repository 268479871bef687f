// Paints a graph of a run: into a picture of the graph's own 617 x 441
// pixels, or with any painter, scaled to any size.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "GraphDrawing.h"

class QPainter;

namespace halovane {

// Paints the graph of `choice` with `painter` in the graph's own
// coordinates (617 x 441); the caller's transformation scales it, so that
// text and lines stay sharp at any size. `drawn`, when given, receives the
// selection and the scale the graph was drawn with.
void PaintGraph(QPainter& painter, const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr);

// The graph of `choice` as a picture of 617 x 441 pixels, drawn from scratch.
QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr);

// The largest rectangle of the graph's proportions inside `room`, at its
// top left.
QRect GraphRect(const QRect& room);

// The picture area of the Graphs page (object name "GraphImage"): shows a
// graph drawn at the size shown, or a picture opened from a file scaled to
// fit; both keep their proportions.
class GraphView : public QWidget {
    Q_OBJECT
public:
    explicit GraphView(QWidget* parent = nullptr);

    // A graph of the loaded results; Picture() is its 617 x 441 picture.
    void ShowGraph(const GraphData& data, GraphChoice choice);
    // A picture opened from a file.
    void ShowPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    bool HoldsGraph() const { return graph_.has_value(); }

    QSize sizeHint() const override { return {GraphWidth, GraphHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Graph {
        GraphData data;
        GraphChoice choice;
    };
    std::optional<Graph> graph_;
    QImage picture_;
    // The graph drawn at the size shown, kept until the size or the graph
    // changes: a long run takes a while to draw.
    QImage shown_;
};

}  // namespace halovane
