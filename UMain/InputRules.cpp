#include "InputRules.h"

#include <algorithm>
#include <cmath>

#include "Fields.h"
#include "NumberText.h"
#include "Validation.h"

namespace halovane::rules {

namespace {

bool IsBlankChar(unsigned char c) { return c == ' ' || c == '\t' || c == 0xA0; }

std::string Str(int n) { return std::to_string(n); }

// The caption of grid column `column` when `names` start at column `first`.
std::string ColumnName(const std::vector<std::string>& names, int first, int column) {
    const int k = column - first;
    return k >= 0 && k < static_cast<int>(names.size()) ? names[k] : "column " + Str(column);
}

const char* const PasteRefused = "There are not enough data to be pasted or the data are incompatible";
const char* const PasteRefusedShort = "There are not enough dat to be pasted or the data are incompatible";
const char* const InvalidValues = "There are invalid values. Please adjust.";

// The zone as a sentence names it: "the root zone", "the 1st layer",
// "the transition zone".
std::string ZoneWords(int layers, Zone zone) {
    std::string heading = ZoneHeading(layers, zone);
    if (heading[0] >= 'A' && heading[0] <= 'Z') heading[0] = static_cast<char>(heading[0] - 'A' + 'a');
    return "the " + heading;
}

// Checks every cell of the block and lays it out at (column, row). `place`
// names a cell of the grid for the messages; `measured` accepts "-".
PastePlan LayOut(const Block& block, int column, int row, int lastColumn, bool measured, const char* refused,
                 const std::vector<std::string>& columnNames, int firstNamed,
                 std::string (*rowName)(int layers, int row), int layers, Comma comma) {
    PastePlan plan;
    auto place = [&](int c, int r) { return rowName(layers, r) + ", " + ColumnName(columnNames, firstNamed, c); };
    const int width = static_cast<int>(BlockWidth(block));
    if (block.empty() || width == 0) {
        plan.problem = {refused, "The clipboard holds no cells.", column, row};
        return plan;
    }
    if (column + width - 1 > lastColumn) {
        plan.problem = {refused,
                        "The pasted block has " + Str(width) + " columns; from " +
                            ColumnName(columnNames, firstNamed, column) + " on the grid has " +
                            Str(lastColumn - column + 1) + ".",
                        column, row};
        return plan;
    }
    // A blank or short line inside the block would leave the cells beside
    // it as they were: the block is refused with the line named.
    for (size_t r = 0; r < block.size(); ++r) {
        const auto& cells = block[r];
        const bool blank = std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
        if (blank || static_cast<int>(cells.size()) < width) {
            const int gr = row + static_cast<int>(r);
            plan.problem = {refused,
                            "Line " + Str(static_cast<int>(r) + 1) + " of the pasted block" +
                                (blank ? " is empty" : " has " + Str(static_cast<int>(cells.size())) + " of its " +
                                                           Str(width) + " cells") +
                                " (" + place(column, gr) + ").",
                            column, gr};
            return plan;
        }
    }
    for (size_t r = 0; r < block.size(); ++r)
        for (size_t c = 0; c < block[r].size(); ++c) {
            const std::string& text = block[r][c];
            double value = 0;
            const bool ok =
                text.empty() || (measured ? ReadMeasured(text, value, comma) : ReadNumber(text, value, comma));
            const int gc = column + static_cast<int>(c), gr = row + static_cast<int>(r);
            if (!ok) {
                plan.problem = {refused,
                                place(gc, gr) + ": " +
                                    (AmbiguousComma(text, comma) ? NotANumber(text, comma) : "'" + text + "' is not a number") + ".",
                                gc, gr};
                plan.writes.clear();
                return plan;
            }
            plan.writes.push_back({gc, gr, text});
        }
    return plan;
}

std::string StepRowName(int, int row) { return "Time step " + Str(row); }
std::string SoilRowName(int layers, int row) {
    const std::vector<std::string> rows = SoilRows(layers);
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[row] : "row " + Str(row + 1);
}

}  // namespace

// ---------------------------------------------------------------- numbers

std::string Trim(const std::string& text) {
    size_t a = 0, b = text.size();
    auto blankAt = [&text](size_t i) {
        // a no-break space in UTF-8 is C2 A0
        if (static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
            static_cast<unsigned char>(text[i + 1]) == 0xA0)
            return 2;
        return IsBlankChar(static_cast<unsigned char>(text[i])) || text[i] == '\r' || text[i] == '\n' ? 1 : 0;
    };
    while (a < b) {
        const int n = blankAt(a);
        if (n == 0) break;
        a += static_cast<size_t>(n);
    }
    while (b > a) {
        if (IsBlankChar(static_cast<unsigned char>(text[b - 1])) || text[b - 1] == '\r' || text[b - 1] == '\n') {
            if (static_cast<unsigned char>(text[b - 1]) == 0xA0 && b >= 2 &&
                static_cast<unsigned char>(text[b - 2]) == 0xC2)
                b -= 2;
            else
                --b;
        } else {
            break;
        }
    }
    return text.substr(a, b - a);
}

bool IsBlank(const std::string& text) { return Trim(text).empty(); }

Comma CommaOfLocale(const std::string& decimalPoint, const std::string& groupSeparator) {
    return decimalPoint == "," && groupSeparator != "," ? Comma::Decimal : Comma::Unsettled;
}

bool AmbiguousComma(const std::string& text, Comma meaning) {
    if (meaning == Comma::Decimal) return false;
    const std::string t = Trim(text);
    const size_t comma = t.find(',');
    if (comma == std::string::npos || t.find(',', comma + 1) != std::string::npos) return false;
    const size_t start = t[0] == '+' || t[0] == '-' ? 1 : 0;
    const size_t before = comma - start, after = t.size() - comma - 1;
    auto digits = [&t](size_t from, size_t count) {
        for (size_t i = from; i < from + count; ++i)
            if (t[i] < '0' || t[i] > '9') return false;
        return true;
    };
    // A group of thousands never follows a leading 0 ("0,002" is a decimal).
    return before >= 1 && before <= 3 && after == 3 && digits(start, before) && digits(comma + 1, 3) &&
           t[start] != '0';
}

bool ReadNumber(const std::string& text, double& value, Comma comma) {
    const std::string t = Trim(text);
    if (t.empty() || AmbiguousComma(t, comma)) return false;
    return TryStringToFloat(t, '.', value) || TryStringToFloat(t, ',', value);
}

bool ReadMeasured(const std::string& text, double& value, Comma comma) {
    const std::string t = Trim(text);
    if (t.empty() || t == "-") {
        value = -1;
        return true;
    }
    return ReadNumber(t, value, comma);
}

std::string NotANumber(const std::string& text, Comma comma) {
    if (AmbiguousComma(text, comma)) {
        const std::string t = Trim(text);
        std::string point = t, whole = t;
        point[t.find(',')] = '.';
        whole.erase(t.find(','), 1);
        return "'" + t + "' can be read as " + point + " or as " + whole + "; please write it as " + point + " or " +
               whole;
    }
    return "'" + text + "' is not a valid floating point value";
}

// ---------------------------------------------------------------- grids

std::vector<std::string> HydrologicalColumns() {
    std::vector<std::string> names;
    for (const Field& f : AllFields())
        if (f.group == FieldGroup::Hydrological) names.push_back(f.caption);
    return names;
}

std::string MustLie(const Range& range, const std::string& unit) {
    const std::string u = unit.empty() ? "" : " " + unit;
    const bool bottom = std::isfinite(range.low), top = std::isfinite(range.high);
    if (bottom && top)
        return range.lowIncluded ? "must lie between " + ShortestText(range.low) + " and " + ShortestText(range.high) + u
                                 : "must lie above " + ShortestText(range.low) + " and up to " +
                                       ShortestText(range.high) + u;
    if (bottom && !range.lowIncluded) return "must be greater than " + ShortestText(range.low) + u;
    if (bottom && range.low == 0) return "must not be negative";
    if (bottom) return "must be at least " + ShortestText(range.low) + u;
    if (top) return "must be at most " + ShortestText(range.high) + u;
    return "must be a number";
}

Problem GroupProblem(const ModelInput& candidate, FieldGroup group) {
    for (const halovane::Problem& p : ValidateDataSet(candidate))
        if (p.severity == Severity::Error && p.group == GroupName(group))
            return {InvalidValues, ProblemLine(p)};
    return {};
}

std::vector<std::string> SalinityColumns(int layers) {
    std::vector<std::string> names;
    for (Zone z : ZonesOf(layers)) names.push_back(ZoneHeading(layers, z));
    return names;
}

const char* const SoilProperties[5] = {"thickness", "total_porosity", "effective_porosity", "leaching_efficiency",
                                       "initial_salinity"};

std::vector<std::string> SoilColumns() {
    std::vector<std::string> names;
    for (const char* property : SoilProperties) names.push_back(ZoneField(property, Z1).caption);
    return names;
}

std::vector<std::string> SoilRows(int layers) {
    std::vector<std::string> names;
    for (Zone z : ZonesOf(layers))
        names.push_back(layers > 1 && (z == Z1 || z == Z2 || z == Z3) ? "Root zone " + ZoneHeading(layers, z)
                                                                       : ZoneHeading(layers, z));
    return names;
}

std::vector<Zone> SalinityZones(int layers) { return ZonesOf(layers); }

std::vector<Zone> SoilZones(int layers) { return SalinityZones(layers); }

// ---------------------------------------------------------------- paste

bool IsBlock(const std::string& text) {
    return text.find('\t') != std::string::npos || text.find('\r') != std::string::npos ||
           text.find('\n') != std::string::npos;
}

Block SplitBlock(const std::string& text) {
    Block block;
    std::vector<std::string> row;
    std::string cell;
    bool rowOpen = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\t') {
            row.push_back(Trim(cell));
            cell.clear();
            rowOpen = true;
        } else if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            row.push_back(Trim(cell));
            block.push_back(row);
            row.clear();
            cell.clear();
            rowOpen = false;
        } else {
            cell += ch;
            rowOpen = true;
        }
    }
    if (rowOpen) {
        row.push_back(Trim(cell));
        block.push_back(row);
    }
    // Trailing empty lines (a spreadsheet may add one) are no rows.
    while (!block.empty() && std::all_of(block.back().begin(), block.back().end(),
                                         [](const std::string& c) { return c.empty(); }))
        block.pop_back();
    return block;
}

std::size_t BlockWidth(const Block& block) {
    size_t width = 0;
    for (const auto& row : block) width = std::max(width, row.size());
    return width;
}

PastePlan PlanHydrologicalPaste(const Block& block, int column, int row, int steps, Comma comma) {
    PastePlan plan =
        LayOut(block, column, row, 3, false, PasteRefused, HydrologicalColumns(), 1, StepRowName, 0, comma);
    if (!plan.problem.Ok()) return plan;
    const long long last = static_cast<long long>(row) + static_cast<long long>(block.size()) - 1;
    if (last > MaxTimeSteps) {
        plan.problem = {PasteRefused,
                        "The pasted block reaches time step " + std::to_string(last) +
                            "; the number of time steps must not exceed " + Str(MaxTimeSteps) + ".",
                        column, row};
        plan.writes.clear();
        return plan;
    }
    plan.steps = std::max(steps, static_cast<int>(last));
    plan.firstNewRow = steps + 1;
    return plan;
}

PastePlan PlanSalinityPaste(const Block& block, int column, int row, int layers, int steps, Comma comma) {
    const char* refused = layers == 2 ? PasteRefused : PasteRefusedShort;
    PastePlan plan = LayOut(block, column, row, layers + 2, true, refused, SalinityColumns(layers), 1, StepRowName,
                            layers, comma);
    if (!plan.problem.Ok()) return plan;
    const int last = row + static_cast<int>(block.size()) - 1;
    plan.steps = steps;
    plan.firstNewRow = steps + 1;
    if (last > steps) {
        plan.larger = true;
        plan.writes.erase(std::remove_if(plan.writes.begin(), plan.writes.end(),
                                         [steps](const PastePlan::Write& w) { return w.row > steps; }),
                          plan.writes.end());
    }
    plan.smaller = row == 1 && last < steps;
    return plan;
}

PastePlan PlanSoilPaste(const Block& block, int column, int row, int layers, Comma comma) {
    PastePlan plan =
        LayOut(block, column, row, 4, false, PasteRefused, SoilColumns(), 0, SoilRowName, layers, comma);
    if (!plan.problem.Ok()) return plan;
    const int rows = layers + 2;
    if (row + static_cast<int>(block.size()) > rows) {
        plan.problem = {PasteRefused,
                        "The pasted block has " + Str(static_cast<int>(block.size())) + " rows; from " +
                            SoilRowName(layers, row) + " on the grid has " + Str(rows - row) + ".",
                        column, row};
        plan.writes.clear();
        return plan;
    }
    plan.steps = rows;
    plan.firstNewRow = rows;
    return plan;
}

// ---------------------------------------------------------------- panels

Problem ReadStepCount(const std::string& text, int& steps) {
    const std::string t = Trim(text);
    int n = 0;
    const std::string place = "Number of timesteps: " + t + ".";
    if (!TryParseInteger(t, n) || t.find(' ') != std::string::npos)
        return {"'" + text + "' is not a valid integer value", "Number of timesteps."};
    if (n < 1) return {"The number of time steps must be at least 1.", place};
    if (n > MaxTimeSteps) return {"The number of time steps must not exceed " + Str(MaxTimeSteps) + ".", place};
    steps = n;
    return {};
}

namespace {

const std::string& CellAt(const Cells& cells, int row, int column) {
    static const std::string empty;
    if (row < 0 || row >= static_cast<int>(cells.size())) return empty;
    const auto& r = cells[row];
    return column >= 0 && column < static_cast<int>(r.size()) ? r[column] : empty;
}

}  // namespace

Problem ReadHydrological(const Cells& cells, int steps, Series& rain, Series& irrig, Series& evap, Comma comma) {
    const auto names = HydrologicalColumns();
    static const char* const input_fields[3] = {"rainfall", "irrigation", "evapotranspiration"};
    Series values[3];
    for (Series& s : values) s.assign(static_cast<size_t>(steps) + 1, 0.0);
    for (int r = 1; r <= steps; ++r)
        for (int c = 1; c <= 3; ++c) {
            const std::string& text = CellAt(cells, r, c);
            const std::string place = "Time step " + Str(r) + ", " + names[c - 1];
            if (IsBlank(text)) return {"There are empty cells, please correct.", place + " is empty.", c, r};
            double v = 0;
            if (!ReadNumber(text, v, comma)) return {NotANumber(text, comma), place + ".", c, r};
            const Field& f = FieldNamed(input_fields[c - 1]);
            if (!f.allowed.Contains(v)) return {InvalidValues, place + " " + MustLie(f.allowed, f.unit) + ".", c, r};
            values[c - 1][r] = v;
        }
    rain = values[0];
    irrig = values[1];
    evap = values[2];
    return {};
}

Problem ReadSalinity(const Cells& cells, int layers, int steps, ZoneArray<Series>& measured, Comma comma) {
    const auto zones = SalinityZones(layers);
    const auto names = SalinityColumns(layers);
    ZoneArray<Series> read = measured;
    for (Zone z : zones) {
        // element 0 is the initial state, never a measurement
        read[z].assign(static_cast<size_t>(steps) + 1, -1.0);
        read[z][0] = 0;
    }
    for (int r = 1; r <= steps; ++r)
        for (size_t k = 0; k < zones.size(); ++k) {
            const int c = static_cast<int>(k) + 1;
            const std::string& text = CellAt(cells, r, c);
            double v = -1;
            if (!ReadMeasured(text, v, comma))
                return {NotANumber(text, comma), "Time step " + Str(r) + ", " + names[k] + ".", c, r};
            read[zones[k]][r] = v;
        }
    measured = read;
    return {};
}

Problem ReadSoil(const Cells& cells, int layers, std::vector<std::array<double, 5>>& table, Comma comma) {
    const auto columns = SoilColumns();
    const auto rows = SoilRows(layers);
    const auto zones = SoilZones(layers);
    const int nRows = layers + 2;
    std::vector<std::array<double, 5>> read(static_cast<size_t>(nRows));
    std::vector<std::array<bool, 5>> empty(static_cast<size_t>(nRows));
    auto place = [&](int r, int c) { return rows[r] + ", " + columns[c]; };
    // Texts first, column by column, as the Save walks the grid.
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < nRows; ++r) {
            const std::string& text = CellAt(cells, r, c);
            empty[r][c] = IsBlank(text);
            if (IsBlank(text)) continue;
            if (!ReadNumber(text, read[r][c], comma))
                return {NotANumber(text, comma), place(r, c) + ".", c, r};
        }
    // Then every zone from the surface down: complete, then physical.
    static const char* const incomplete[5] = {
        "The soil data for the 1st layer are not complete. Calculations cannot be done",
        "The soil data for the 2nd layer are not complete. Calculations cannot be done",
        "The soil data for the 3rd layer are not complete. Calculations cannot be done",
        "The soil data for the transition zone are not complete. Calculations cannot be done",
        "The soil data for the aquifer are not complete. Calculations cannot be done"};
    for (int r = 0; r < nRows; ++r) {
        const Zone zone = zones[r];
        for (int c = 0; c < 5; ++c)
            if (empty[r][c]) {
                const std::string first = layers == 3 && c <= 2 ? incomplete[static_cast<int>(zone)] : InvalidValues;
                return {first, place(r, c) + " is empty.", c, r};
            }
        const auto& v = read[r];
        const std::string of = " of " + ZoneWords(layers, zone);
        for (int c = 0; c < 5; ++c) {
            const Field& f = ZoneField(SoilProperties[c], zone);
            if (!f.allowed.Contains(v[c]))
                return {InvalidValues, "The " + f.property + of + " " + MustLie(f.allowed, f.unit) + ".", c, r};
            if (c == 2 && v[2] > v[1])
                return {InvalidValues, "The effective porosity" + of + " must not exceed its total porosity.", 2, r};
        }
    }
    table = read;
    return {};
}

void StoreSoil(ModelInput& in, int layers, const std::vector<std::array<double, 5>>& table) {
    const auto zones = SoilZones(layers);
    for (size_t r = 0; r < zones.size() && r < table.size(); ++r) {
        const Zone z = zones[r];
        in.D[z] = table[r][0];
        in.TP[z] = table[r][1];
        in.EP[z] = table[r][2];
        in.LE[z] = table[r][3];
        in.Sini[z] = table[r][4];
    }
}

bool SoilDataComplete(const ModelInput& in) {
    for (Zone zone : EveryZone) {
        if (!ZoneInUse(in.NrLayers, zone)) continue;
        for (double v : {in.D[zone], in.TP[zone], in.EP[zone], in.LE[zone], in.Sini[zone]})
            if (!(v >= 0)) return false;
    }
    return true;
}

const char* const DrainAboveRootZone =
    "The drain depth must be greater than the total thickness of the root zone. Enlarge the drain depth or reduce "
    "the rootzone thickness.";
const char* const DrainBelowTransition =
    "The drain depth must be less than the total thickness of the root zone plus transition zone. Reduce the drain "
    "depth or enlarge the transition zone thickness.";

Problem ReadDrainage(const std::array<std::string, 3>& boxes, double rootZone, double transition, Drainage& out,
                     Comma comma) {
    const std::string names[3] = {FieldNamed("drain_depth").caption, FieldNamed("qh1").caption,
                                  FieldNamed("qh2").caption};
    const double blankValue[3] = {-1, 0, 0};
    double v[3];
    for (int k = 0; k < 3; ++k) {
        if (IsBlank(boxes[k])) {
            v[k] = blankValue[k];
            continue;
        }
        if (!ReadNumber(boxes[k], v[k], comma))
            return {NotANumber(boxes[k], comma), names[k] + ".", k, -1};
    }
    if (v[0] < 0) return {"Then depth value is invalid. Please adjust.", names[0] + ".", 0, -1};
    if (v[0] < rootZone) return {DrainAboveRootZone, names[0] + ".", 0, -1};
    if (v[0] > rootZone + transition) return {DrainBelowTransition, names[0] + ".", 0, -1};
    const Field* const factors[3] = {nullptr, &FieldNamed("qh1"), &FieldNamed("qh2")};
    for (int k = 1; k <= 2; ++k)
        if (!factors[k]->allowed.Contains(v[k]))
            return {InvalidValues, factors[k]->caption + " " + MustLie(factors[k]->allowed, factors[k]->unit) + ".",
                    k, -1};
    if (v[1] == 0 && v[2] == 0)
        return {"The drainage recation factors QH1 and QH2 need to be given a value.", names[1] + ".", 1,
                -1};
    out = {v[0], v[1], v[2]};
    return {};
}

namespace {

// Into the usual range of the field.
double ClampToUsual(const char* name, double value) {
    const Range& usual = FieldNamed(name).usual;
    if (value > usual.high) value = usual.high;
    if (value < usual.low) value = usual.low;
    return value;
}

}  // namespace

double ClampIrrigationEfficiency(double value) { return ClampToUsual("irrigation_efficiency", value); }

double ClampSoilMoisture(double value) { return ClampToUsual("initial_soil_moisture", value); }

const std::array<const char*, 8> ConditionFields = {"irrigation_salinity", "initial_water_table", "inflow",
                                                    "outflow",             "critical_depth",      "irrigation_efficiency",
                                                    "initial_soil_moisture", "inflow_salinity"};

Problem ReadConditions(const std::array<std::string, 8>& boxes, std::array<double, 8>& values, Comma comma) {
    std::array<double, 8> read{};
    int firstEmpty = -1;
    for (int k = 0; k < 8; ++k) {
        const std::string& text = boxes[k];
        const std::string& name = FieldNamed(ConditionFields[k]).caption;
        if (IsBlank(text)) {
            if (firstEmpty < 0) firstEmpty = k;
            continue;
        }
        if (!ReadNumber(text, read[k], comma)) return {NotANumber(text, comma), name + ".", k, -1};
    }
    if (firstEmpty >= 0)
        return {InvalidValues, FieldNamed(ConditionFields[firstEmpty]).caption + " is empty.", firstEmpty, -1};
    read[5] = ClampIrrigationEfficiency(read[5]);
    read[6] = ClampSoilMoisture(read[6]);
    for (int k = 0; k < 8; ++k) {
        const Field& f = FieldNamed(ConditionFields[k]);
        if (!f.allowed.Contains(read[k])) return {InvalidValues, f.caption + " " + MustLie(f.allowed, f.unit) + ".", k, -1};
    }
    values = read;
    return {};
}

// ---------------------------------------------------------------- layers

std::array<int, 5> SoilCarryOver(int oldLayers, int newLayers) {
    // Rows: one layer: root, transition, aquifer; two: l1, l2, t, a; three: l1, l2, l3, t, a.
    // An old row goes to one new row only: a layer that splits an old one
    // keeps what its grid held before (empty at first), so that no
    // thickness is counted twice.
    if (oldLayers == 1 && newLayers == 2) return {0, -1, 1, 2, -1};
    if (oldLayers == 1 && newLayers == 3) return {0, -1, -1, 1, 2};
    if (oldLayers == 2 && newLayers == 1) return {0, 2, 3, -1, -1};
    if (oldLayers == 2 && newLayers == 3) return {0, -1, 1, 2, 3};
    if (oldLayers == 3 && newLayers == 1) return {0, 3, 4, -1, -1};
    if (oldLayers == 3 && newLayers == 2) return {0, 1, 3, 4, -1};
    return {0, 1, 2, 3, 4};
}

std::array<int, 6> SalinityCarryOver(int oldLayers, int newLayers) {
    // Columns: one layer: root, t, a; two: l1, l2, t, a; three: l1, l2, l3, t, a.
    // A new layer that splits an old one keeps what its grid held (none at
    // first): 2 -> 1 -> 2 gives layer 2 its measurements back.
    if (oldLayers == 1 && newLayers == 2) return {-1, 1, -1, 2, 3, -1};
    if (oldLayers == 1 && newLayers == 3) return {-1, 1, -1, -1, 2, 3};
    if (oldLayers == 2 && newLayers == 1) return {-1, 1, 3, 4, -1, -1};
    if (oldLayers == 2 && newLayers == 3) return {-1, 1, -1, 2, 3, 4};
    if (oldLayers == 3 && newLayers == 1) return {-1, 1, 4, 5, -1, -1};
    if (oldLayers == 3 && newLayers == 2) return {-1, 1, 2, 4, 5, -1};
    return {-1, 1, 2, 3, 4, 5};
}

// ---------------------------------------------------------------- buttons

namespace {

Group GroupOf(Panel panel) {
    switch (panel) {
        case Panel::Gen: return GenGroup;
        case Panel::Hydr: return HydrGroup;
        case Panel::Soil1:
        case Panel::Soil2:
        case Panel::Soil3: return SoilGroup;
        case Panel::Salt1:
        case Panel::Salt2:
        case Panel::Salt3: return SaltGroup;
        case Panel::Drain: return DrainGroup;
        default: return CondGroup;
    }
}

// The group whose panel a successful Save opens next.
Group NextGroup(Panel panel) {
    switch (GroupOf(panel)) {
        case GenGroup: return HydrGroup;
        case HydrGroup: return SoilGroup;
        case SoilGroup: return SaltGroup;
        case SaltGroup: return DrainGroup;
        default: return CondGroup;
    }
}

void SetGroups(Buttons& b, bool enabled) {
    b.groups.fill(enabled);
    b.saveAll = enabled;
}

size_t Q(Panel p) { return static_cast<size_t>(p); }

}  // namespace

Buttons NextButtons(const Buttons& now, PageEvent event, Panel panel, bool complete) {
    Buttons b = now;
    switch (event) {
        case PageEvent::Start:
            b = Buttons{};
            b.groups[GenGroup] = b.groups[CondGroup] = true;
            b.quits[Q(Panel::Salt1)] = true;
            break;
        case PageEvent::Restart:
            b.saveAll = false;
            break;
        case PageEvent::PageShown:
            b.groups.fill(complete);
            b.groups[GenGroup] = true;
            break;
        case PageEvent::GroupOpened:
            SetGroups(b, false);
            break;
        case PageEvent::Saved:
            SetGroups(b, complete);
            if (panel == Panel::Gen && !complete) b.quits.fill(false);
            if ((panel == Panel::Soil2 || panel == Panel::Soil3) && !complete) b.quits[Q(Panel::Drain)] = false;
            if (panel == Panel::Cond) SetGroups(b, true);
            b.quits[Q(panel)] = true;
            if (panel != Panel::Cond) b.groups[NextGroup(panel)] = true;
            break;
        case PageEvent::Cancelled:
            SetGroups(b, complete);
            b.groups[GroupOf(panel)] = true;
            if (panel == Panel::Soil3)
                b.quits[Q(Panel::Soil1)] = b.quits[Q(Panel::Soil2)] = b.quits[Q(Panel::Salt3)] = true;
            if (panel == Panel::Cond) {
                b.groups.fill(true);
                b.saveAll = complete;
            }
            break;
        case PageEvent::DrainRefused:
            b.quits[Q(Panel::Drain)] = true;
            break;
        case PageEvent::InputOpened:
            for (Group g : {HydrGroup, SoilGroup, SaltGroup, DrainGroup, CondGroup}) b.groups[g] = true;
            b.saveAll = true;
            b.quits.fill(true);
            break;
    }
    return b;
}

}  // namespace halovane::rules
