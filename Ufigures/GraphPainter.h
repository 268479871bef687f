// Paints a graph of a run into a picture of 617 x 441 pixels, or onto
// another paint device.
#pragma once

#include <QImage>
#include <functional>

#include "GraphDrawing.h"

namespace halovane {

// The graph of `choice`, drawn from scratch. `drawn`, when given, receives
// the selection and the scale the graph was drawn with.
QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr);
// The same graph on a picture `scale` times as wide and as high, for print.
QImage PaintGraphScaled(const GraphData& data, GraphChoice choice, int scale, GraphDrawn* drawn = nullptr);
// The graph painted on a device whose coordinates are the graph's pixels,
// such as an SVG generator or a PDF writer: lines, areas and text as such.
void PaintGraphOn(QPaintDevice& device, const GraphData& data, GraphChoice choice);
// A picture of the given size painted by `draw` on the canvas of the graphs.
QImage PaintPicture(int width, int height, const std::function<void(GraphCanvas&)>& draw);

}  // namespace halovane
