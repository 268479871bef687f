// The charts of a scenario run painted into files: SVG when the name ends
// in .svg, PNG otherwise.
#pragma once

#include <QImage>
#include <QString>

#include "DesignChart.h"

namespace halovane {

// The design chart: one coloured cell per pair of values with the value
// written in it, the cells that pass every criterion outlined.
bool WriteHeatMapFile(const QString& fileName, const HeatMap& map);

// The tornado chart: one bar per varied name from the lowest to the highest
// value of the metric, around the base run's value, the widest on top.
bool WriteTornadoFile(const QString& fileName, const Tornado& tornado);

// The same charts as pictures, for a window.
QImage HeatMapImage(const HeatMap& map);
QImage TornadoImage(const Tornado& tornado);

}  // namespace halovane
