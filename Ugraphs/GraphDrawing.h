// The drawing of the three graphs on a 617 x 441 picture: frame, titles,
// legends, curves, bars, markers and axes, in the order they are painted.
// The drawing goes through GraphCanvas so that it needs no window toolkit;
// the Graphs page paints through a canvas on an image.
#pragma once

#include <cstdint>
#include <string>

#include "GraphData.h"
#include "GraphScale.h"

namespace halovane {

constexpr int GraphWidth = 617, GraphHeight = 441;

using Rgb = std::uint32_t;  // 0xRRGGBB

namespace GraphColor {
constexpr Rgb Black = 0x000000;
constexpr Rgb White = 0xFFFFFF;
constexpr Rgb Silver = 0xC0C0C0;
constexpr Rgb Navy = 0x00008B;          // the plot area
constexpr Rgb Yellow = 0xFFFF00;
constexpr Rgb Green = 0x00FF00;
constexpr Rgb LightBlue = 0xA6CAF0;
constexpr Rgb Cyan = 0x00FFFF;
constexpr Rgb Red = 0xFF0000;
constexpr Rgb Tan = 0xD7A75B;
constexpr Rgb Pink = 0xF9D2CC;
constexpr Rgb MarkerYellow = 0xF7F004;
constexpr Rgb PaleGreen = 0xB7F2BA;
// Every other water-table bar; the classic colour of an inactive window
// caption, fixed so that saved pictures look the same on every desktop.
constexpr Rgb InactiveCaption = 0x808080;
}  // namespace GraphColor

// Written after "Program Halovane at " at the foot of every graph.
extern const char* const GraphFooterAddress;

// A drawing surface with the state of a classic canvas: a font size and
// colour for text, a pen colour for lines and a brush colour for fills.
// Text is drawn without a background, so that markers do not erase the
// curves behind them.
class GraphCanvas {
public:
    virtual ~GraphCanvas() = default;
    virtual void SetFontSize(int points) = 0;
    virtual void SetFontColor(Rgb color) = 0;
    virtual void SetPenColor(Rgb color) = 0;
    virtual void SetBrushColor(Rgb color) = 0;
    // Fills the rectangle between two corners, the right and bottom edges
    // excluded, with the brush colour; the corners may come in any order.
    virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
    // A line of one pixel in the pen colour.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Text with its top left corner at (x, y).
    virtual void Text(int x, int y, const std::string& text) = 0;
    // Text ending at x = right, centred vertically on y.
    virtual void TextRightCentred(int right, int y, const std::string& text) = 0;
};

struct GraphDrawn {
    GraphKind Kind = GraphKind::Hydrology;
    GraphSelection Selection;
    AxisScale Scale;
};

// Draws the graph of a choice from scratch. Every computed step is drawn,
// the last one too; the curves of a stopped run end before the stop, and the
// graph says where the run stopped.
GraphDrawn DrawGraph(const GraphData& data, GraphChoice choice, GraphCanvas& canvas);
// The note a graph of a stopped run carries.
std::string StopText(int step);

}  // namespace halovane
