// Files a graph is written to: the formats, how a file name and a chosen
// format decide what is written, and the names and keys the runner uses.
#pragma once

#include <optional>
#include <string>

#include "GraphScale.h"

namespace halovane {

// BMP and PNG are pictures of pixels; SVG and PDF are drawings with lines,
// areas and text of their own.
enum class GraphFormat { Bmp, Png, Svg, Pdf };

// "bmp", "png", "svg" or "pdf".
const char* GraphFormatExtension(GraphFormat format);
// A format by its name ("png", "PNG").
std::optional<GraphFormat> GraphFormatNamed(const std::string& name);
bool IsVectorFormat(GraphFormat format);

struct GraphFileChoice {
    std::string FileName;
    GraphFormat Format = GraphFormat::Bmp;
};

// The file a graph is saved to when the user typed `name` with the format
// `chosen` selected: a name whose extension is one of the four formats keeps
// it and is written in that format; any other name gets the extension of
// the chosen format appended.
GraphFileChoice ChooseGraphFile(const std::string& name, GraphFormat chosen);

// Picture sizes a bitmap may be written at: 1, 2 or 4 times the graph.
bool IsGraphScale(int scale);

// The runner's key of a choice ("hydrology", "water-table", ...) and back;
// a choice is also known by its place in the list, "1" to "9".
const char* GraphChoiceKey(GraphChoice choice);
std::optional<GraphChoice> GraphChoiceFromKey(const std::string& key);

// Whether a choice can be drawn for a root zone of `layers` layers: the
// second- and third-layer salinity graphs need those layers.
bool GraphChoiceApplies(GraphChoice choice, int layers);

// Where the runner writes a graph of an output file: in `folder` (beside
// the output file when empty), named after the output file without its
// extension, the choice's key and the format, as in "run-water-table.svg".
std::string GraphFigureFileName(const std::string& outputFile, const std::string& folder, GraphChoice choice,
                                GraphFormat format);

}  // namespace halovane
