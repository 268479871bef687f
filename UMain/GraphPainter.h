// Paints a graph of a run into a picture of 617 x 441 pixels.
#pragma once

#include <QImage>
#include <functional>

#include "GraphDrawing.h"

namespace halovane {

// The graph of `choice`, drawn from scratch. `drawn`, when given, receives
// the selection and the scale the graph was drawn with.
QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr);

// A picture of the given size painted by `draw` on the canvas of the graphs.
QImage PaintPicture(int width, int height, const std::function<void(GraphCanvas&)>& draw);

}  // namespace halovane
