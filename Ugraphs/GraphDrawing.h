// The drawing of the three graphs on a 617 x 441 picture: frame, titles,
// legends, curves, bars, markers and axes, in the order they are painted.
// The drawing goes through GraphCanvas so that it needs no window toolkit;
// the Graphs page paints through a canvas on an image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// Every other water-table bar; the classic colour of an inactive window
// caption, fixed so that saved pictures look the same on every desktop.
constexpr Rgb InactiveCaption = 0x808080;
}  // namespace GraphColor

// Written after "Program Halovane at " at the foot of every graph.
extern const char* const GraphFooterAddress;

// Dash patterns, so that curves stay apart where colours do not (a print in
// grey, a reader who does not see colours).
enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot };
// Symbols of measured values, centred on their point.
enum class MarkerShape { Cross, Circle, Square, TriangleUp, TriangleDown };

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct SeriesLook {
    Rgb color;
    LineStyle line;
    MarkerShape marker;  // of measured values (salinity zones)
};

// The two looks of a graph: the window's, light curves on navy, and one
// for print, dark curves on white, whose colours also differ in grey.
enum class GraphStyle { Screen, Print };
struct GraphPalette {
    Rgb page, plot, ink, subtitle;  // around the plot, the plot, axes and texts, the second title
    Rgb stop;                       // the note of a stopped run
    Rgb bars[2];                    // water-table bars, alternately
    SeriesLook flows[6];            // Rain, Irrig, EvapA, Perc, Cap, Drain
    SeriesLook zones[5];            // layer 1, 2, 3, transition zone, aquifer
};
const GraphPalette& PaletteOf(GraphStyle style);

struct GraphLook {
    GraphStyle style = GraphStyle::Screen;
    bool footer = true;  // "Program Halovane at ..." below the plot
};

// A drawing surface with the state of a classic canvas: a font size and
// colour for text, a pen colour and dash pattern for lines and a brush
// colour for fills. Text is drawn without a background, so that markers do
// not erase the curves behind them.
class GraphCanvas {
public:
    virtual ~GraphCanvas() = default;
    virtual void SetFontSize(int points) = 0;
    virtual void SetFontColor(Rgb color) = 0;
    virtual void SetPenColor(Rgb color) = 0;
    virtual void SetLineStyle(LineStyle style) = 0;
    virtual void SetBrushColor(Rgb color) = 0;
    // Fills the rectangle between two corners, the right and bottom edges
    // excluded, with the brush colour; the corners may come in any order.
    virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
    // A line of one pixel in the pen colour, always solid.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Connected lines through the points, in the pen colour and dash pattern.
    virtual void Polyline(const std::vector<Point>& points) = 0;
    // Text with its top left corner at (x, y).
    virtual void Text(int x, int y, const std::string& text) = 0;
    // Text ending at x = right, centred vertically on y.
    virtual void TextRightCentred(int right, int y, const std::string& text) = 0;
    // The width of a text in the current font, in pixels.
    virtual int TextWidth(const std::string& text) = 0;
};

// A curve reduced to what a picture can show: of the points that fall in
// one pixel column only the first, the lowest, the highest and the last
// are kept, in their order. The pixels a line through them covers are
// those of the line through all points.
std::vector<Point> ReduceToColumns(const std::vector<Point>& points);

// Draws a marker centred on (x, y) with solid lines of the pen colour.
void DrawMarker(GraphCanvas& canvas, MarkerShape shape, int x, int y);

struct GraphDrawn {
    GraphKind Kind = GraphKind::Hydrology;
    GraphSelection Selection;
    AxisScale Scale;
};

// Draws the graph of a choice from scratch. Every computed step is drawn,
// the last one too; the curves of a stopped run end before the stop, and the
// graph says where the run stopped.
GraphDrawn DrawGraph(const GraphData& data, GraphChoice choice, GraphCanvas& canvas, const GraphLook& look = {});
// The note a graph of a stopped run carries.
std::string StopText(int step);
// The unit of the flows: "mm per time step of 30 days".
std::string FlowUnit(int stepDays);
// The text of a zone's leaching efficiency and fit, as every graph and
// report writes it: "Transition zone: leaching efficiency 0.56 (optimized),
// fit index 1 %".
std::string ZoneFitText(const std::string& zoneCaption, const ZoneEfficiency& e);

}  // namespace halovane
