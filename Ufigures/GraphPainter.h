// Paints a graph of a run: into a picture of the graph's own 617 x 441
// pixels or a multiple of it, with any painter scaled to any size, or onto
// another paint device such as an SVG generator or a PDF writer.
#pragma once

#include <QImage>
#include <QRect>
#include <functional>

#include "GraphDrawing.h"

class QPainter;
class QPaintDevice;

namespace halovane {

// Paints the graph of `choice` with `painter` in the graph's own
// coordinates (617 x 441); the caller's transformation scales it, so that
// text and lines stay sharp at any size. `drawn`, when given, receives the
// selection and the scale the graph was drawn with.
void PaintGraph(QPainter& painter, const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr,
                const GraphLook& look = {});
// The same for a picture that is only shown in the window: a scaled curve
// of many steps is drawn in far fewer lines, its smoothed edges shaded a
// little lighter than in PaintGraph.
void PaintGraphOnScreen(QPainter& painter, const GraphData& data, GraphChoice choice);
// The graph of `choice` as a picture of 617 x 441 pixels, drawn from scratch.
QImage PaintGraph(const GraphData& data, GraphChoice choice, GraphDrawn* drawn = nullptr, const GraphLook& look = {});
// The same graph on a picture `scale` times as wide and as high, for print.
QImage PaintGraphScaled(const GraphData& data, GraphChoice choice, int scale, GraphDrawn* drawn = nullptr,
                        const GraphLook& look = {});
// The graph painted on a device whose coordinates are the graph's pixels,
// such as an SVG generator or a PDF writer: lines, areas and text as such.
void PaintGraphOn(QPaintDevice& device, const GraphData& data, GraphChoice choice, const GraphLook& look = {});
// A picture of the given size painted by `draw` on the canvas of the graphs,
// `scale` times as wide and as high.
QImage PaintPicture(int width, int height, const std::function<void(GraphCanvas&)>& draw, int scale = 1);

// The same on a drawing (an SVG generator, a PDF writer) whose coordinates
// are the picture's pixels.
void PaintPictureOn(QPaintDevice& device, const std::function<void(GraphCanvas&)>& draw);

// The largest rectangle of the graph's proportions inside `room`, at its
// top left.
QRect GraphRect(const QRect& room);

}  // namespace halovane
