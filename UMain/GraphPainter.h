// Paints a graph of a run into a picture of 617 x 441 pixels.
#pragma once

#include <QImage>

#include "GraphDrawing.h"

namespace halovane {

// The graph of `choice`, drawn from scratch. `drawn`, when given, receives
// the selection and the scale the graph was drawn with.
QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr);

}  // namespace halovane
