// Graphs written to files for reports and papers: bitmaps (BMP, PNG) at 1,
// 2 or 4 times the size of the graph, and drawings (SVG, PDF) painted by
// the same drawing code, with their texts as text.
#pragma once

#include <QImage>
#include <QString>
#include <functional>

#include "GraphData.h"
#include "GraphDrawing.h"
#include "GraphFiles.h"

class QSvgGenerator;
class QIODevice;

namespace halovane {

// Sets up `svg` to write a drawing of `size` pixels at 96 pixels per inch
// to `device`, with a title and a description (any text: it is quoted).
void PrepareSvg(QSvgGenerator& svg, QIODevice& device, QSize size, const QString& title, const QString& description);

// Writes the graph of `choice` to `fileName` in `format`; `scale` (1, 2 or
// 4) enlarges bitmaps and is not used for drawings. An existing file is
// replaced only by a complete new one. False when it could not be written.
bool WriteGraphFile(const QString& fileName, GraphFormat format, int scale, const GraphData& data,
                    GraphChoice choice, const GraphLook& look = {});

// Writes a picture of `size` drawn by `draw` on the canvas of the graphs
// (the fit report's), as WriteGraphFile writes a graph.
bool WriteDrawnFile(const QString& fileName, GraphFormat format, int scale, QSize size, const QString& title,
                    const std::function<void(GraphCanvas&)>& draw);

// Writes a picture that is not drawn from a run (one opened from a file):
// a bitmap enlarged `scale` times pixel by pixel, or a drawing that holds
// the picture at its size.
bool WritePictureFile(const QString& fileName, GraphFormat format, int scale, const QImage& picture);

}  // namespace halovane
