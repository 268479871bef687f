// The picture area of the Graphs page.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>

#include "GraphPainter.h"

namespace halovane {

// The picture area of the Graphs page (object name "GraphImage"): shows a
// graph drawn at the size shown, or a picture opened from a file scaled to
// fit; both keep their proportions.
class GraphView : public QWidget {
    Q_OBJECT
public:
    explicit GraphView(QWidget* parent = nullptr);

    // A graph of the loaded results; Picture() is its 617 x 441 picture.
    void ShowGraph(std::shared_ptr<const GraphData> graphData, GraphChoice choice);
    // A picture opened from a file.
    void ShowPicture(const QImage& picture);
    // Of a graph, drawn when first asked for: the window shows the graph
    // at its own size and needs none.
    const QImage& Picture() const;
    bool HoldsGraph() const { return graph_.has_value(); }
    // The data and choice of the graph shown; only while HoldsGraph().
    std::shared_ptr<const GraphData> SharedData() const { return graph_->data; }
    GraphChoice Choice() const { return graph_->choice; }

    QSize sizeHint() const override { return {GraphWidth, GraphHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Graph {
        std::shared_ptr<const GraphData> data;  // shared with the page
        GraphChoice choice;
    };
    std::optional<Graph> graph_;
    mutable QImage picture_;
    // The graph drawn at the size shown, kept until the size or the graph
    // changes: a long run takes a while to draw.
    QImage shown_;
};

}  // namespace halovane
