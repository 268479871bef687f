// The fixed-width rows of the input data file, each described once for the
// writer and the reader. A value is written as a fixed-point number of
// `width` characters with the decimals of its field in the table of fields
// (Fields.h); the reader takes it from the character window from..to of the
// line (counted from 1), which need not be the columns the writer filled.
#pragma once

#include <cstddef>

#include "ModelInput.h"

namespace halovane {
namespace input_layout {

// The columns of one row, for range-for.
template <typename C>
struct ColumnSet {
    const C* first;
    const C* last;
    const C* begin() const { return first; }
    const C* end() const { return last; }
};

template <typename C, std::size_t N>
constexpr ColumnSet<C> SetOf(const C (&columns)[N]) {
    return {columns, columns + N};
}

// A column holding one value of `Field` per row: a series at the time step
// of the row, or a soil property at the zone of the row.
template <typename Field>
struct ValueColumn {
    Field ModelInput::*field;
    const char* name;  // the field's machine name; per zone, its property ("total_porosity")
    int width;         // written: F(width, the field's decimals)
    int from, to;      // reader window
    const char* what;  // what the reader expected, for its messages
};

// The hydrological rows: the time step in StepWidth characters, then one
// series per column.
using HydrologicalColumn = ValueColumn<Series>;
constexpr int StepWidth = 10;
inline constexpr HydrologicalColumn HydrologicalColumns[] = {
    {&ModelInput::Rain, "rainfall", 13, 11, 25, "the rainfall"},
    {&ModelInput::Irrig, "irrigation", 16, 26, 40, "the irrigation"},
    {&ModelInput::EvapT, "evapotranspiration", 15, 41, 55, "the evaporation"}};

// The thickness row: one thickness per zone in use.
struct ThicknessColumn {
    Zone zone;
    int width;
    int from, to;  // reader window
};
inline constexpr ThicknessColumn Thickness1[] = {{Z1, 10, 1, 10}, {Zt, 18, 11, 28}, {Za, 10, 29, 38}};
inline constexpr ThicknessColumn Thickness2[] = {{Z1, 7, 1, 10}, {Z2, 10, 11, 20}, {Zt, 17, 21, 38}, {Za, 10, 39, 46}};
inline constexpr ThicknessColumn Thickness3[] = {
    {Z1, 7, 1, 10}, {Z2, 10, 11, 20}, {Z3, 10, 21, 30}, {Zt, 17, 31, 48}, {Za, 10, 49, 56}};

constexpr ColumnSet<ThicknessColumn> ThicknessColumns(int layers) {
    return layers == 2 ? SetOf(Thickness2) : layers == 3 ? SetOf(Thickness3) : SetOf(Thickness1);
}

// The rows of the other soil properties: a label, then one property of the
// zone per column, in %.
using PropertyColumn = ValueColumn<ZoneArray<double>>;
inline constexpr PropertyColumn PropertyColumns[] = {
    {&ModelInput::TP, "total_porosity", 15, 19, 36, "a total porosity"},
    {&ModelInput::EP, "effective_porosity", 20, 37, 54, "an effective porosity"},
    {&ModelInput::LE, "leaching_efficiency", 21, 55, 72, "a leaching efficiency"}};

// The rows of measured salinity: the time step in StepWidth characters, then
// one zone per column.
struct MeasuredColumn {
    Zone zone;
    int width;         // a measured value: F(width, decimals of the measured salinity)
    int absentBlanks;  // no value: this many blanks and "-"
    int from, to;      // reader window
};
inline constexpr MeasuredColumn Measured1[] = {{Z1, 12, 10, 11, 22}, {Zt, 18, 16, 23, 40}, {Za, 10, 8, 41, 50}};
inline constexpr MeasuredColumn Measured2[] = {
    {Z1, 8, 7, 11, 18}, {Z2, 9, 8, 19, 27}, {Zt, 18, 17, 28, 45}, {Za, 10, 8, 46, 55}};
inline constexpr MeasuredColumn Measured3[] = {
    {Z1, 8, 7, 11, 18}, {Z2, 8, 7, 19, 26}, {Z3, 8, 7, 27, 34}, {Zt, 18, 16, 35, 52}, {Za, 10, 8, 53, 62}};

constexpr ColumnSet<MeasuredColumn> MeasuredColumns(int layers) {
    return layers == 2 ? SetOf(Measured2) : layers == 3 ? SetOf(Measured3) : SetOf(Measured1);
}

// The drainage reaction factors QH1 and QH2 are written F(8, 4).
constexpr int ReactionFactorWidth = 8;
constexpr int ReactionFactorDecimals = 4;

// The zones in use, from the surface down; returns their count.
inline int ZonesInUse(int layers, Zone* zones) {
    int count = 0;
    for (Zone z : EveryZone)
        if (ZoneInUse(layers, z)) zones[count++] = z;
    return count;
}

}  // namespace input_layout
}  // namespace halovane
