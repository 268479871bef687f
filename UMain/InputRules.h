// The rules of the Input page that decide what is stored: reading a typed or
// pasted number, splitting and checking a pasted block, reading the panels'
// tables into the data set, the carry-over of grid entries when the number
// of layers changes, the bounds and clamps, and which buttons are enabled.
// Standard C++ only: the panels move texts between their controls and these
// functions, and the functions are tested without a window.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "Fields.h"
#include "ModelInput.h"

namespace halovane::rules {

// ---------------------------------------------------------------- numbers

// The text without blanks (spaces, tabs, no-break spaces) at either end.
std::string Trim(const std::string& text);
// Empty, or nothing but blanks.
bool IsBlank(const std::string& text);
// What a comma in a number means. The system's number format settles it
// where it writes decimals with a comma and does not group thousands with
// one: "1,056" is then 1.056. Elsewhere a comma that may as well separate
// thousands is not read (see AmbiguousComma).
enum class Comma { Unsettled, Decimal };
// The meaning of a comma under a number format with this decimal point and
// group separator (as the system's locale gives them).
Comma CommaOfLocale(const std::string& decimalPoint, const std::string& groupSeparator);
// A number as the user types or pastes it: blanks around it, a point or a
// comma as the decimal separator ("12,5" is 12.5), an exponent ("1e3",
// "2.5E-2"). False for an empty text and anything else, and for a comma
// that may as well separate thousands ("1,056") unless `comma` settles it.
bool ReadNumber(const std::string& text, double& value, Comma comma = Comma::Unsettled);
// One comma between one to three digits (not starting with 0) and exactly
// three ("1,056", "-12,500") while `comma` is unsettled: a decimal comma or
// a thousands separator, which the text does not settle; such a text is
// refused with both readings.
bool AmbiguousComma(const std::string& text, Comma comma = Comma::Unsettled);
// How a value outside `range` is refused, after the name of the value:
// "must not be negative", "must be greater than 0 m",
// "must lie between 0 and 190 %".
std::string MustLie(const Range& range, const std::string& unit);
// A measured salinity: empty or "-" means not measured (-1).
bool ReadMeasured(const std::string& text, double& value, Comma comma = Comma::Unsettled);
// The conversion message of a text that is not a number (with both
// readings of an ambiguous comma).
std::string NotANumber(const std::string& text, Comma comma = Comma::Unsettled);

// A refused entry: the message's first line (the panel's own sentence), a
// second line that names the place, and the cell (column, row) or the box
// (column = box index, row = -1) that gets the focus.
struct Problem {
    std::string message;
    std::string place;
    int column = -1;
    int row = -1;
    bool Ok() const { return message.empty(); }
    std::string Text() const { return place.empty() ? message : message + "\n" + place; }
};

// ---------------------------------------------------------------- the grids

// Captions of the grid columns and rows as the messages name them.
std::vector<std::string> HydrologicalColumns();                // columns 1 to 3
std::vector<std::string> SalinityColumns(int layers);          // columns 1 to layers + 2
std::vector<std::string> SoilColumns();                        // columns 0 to 4
std::vector<std::string> SoilRows(int layers);                 // rows 0 to layers + 1
std::vector<Zone> SalinityZones(int layers);                   // zone of columns 1, 2, ...
std::vector<Zone> SoilZones(int layers);                       // zone of rows 0, 1, ...

// ---------------------------------------------------------------- paste

// A pasted text: rows split at line ends (CR LF, LF or CR), cells at tabs,
// blanks around each cell removed. The last row counts whether or not it is
// followed by a line end; trailing empty lines are dropped.
using Block = std::vector<std::vector<std::string>>;
Block SplitBlock(const std::string& text);
// Whether a cell editor's text is a block of cells (holds a tab or a line end).
bool IsBlock(const std::string& text);
std::size_t BlockWidth(const Block& block);

// What a paste does to a grid, for the window to carry out.
struct PastePlan {
    Problem problem;            // set when the paste is refused: the grid is left as it was
    int steps = 0;              // data rows of the grid after the paste (time steps)
    int firstNewRow = 0;        // rows firstNewRow..steps are added by the paste and start empty
    bool larger = false;        // a salinity block runs past the time steps (its excess rows are not written)
    bool smaller = false;       // a salinity block from the first row ends before the last time step
    struct Write {
        int column, row;
        std::string text;
    };
    std::vector<Write> writes;  // cell texts, the block's empty cells included
};

// A block pasted at (column, row) into the hydrological grid of `steps` data
// rows: the series grows to the block's last row and never shrinks.
PastePlan PlanHydrologicalPaste(const Block& block, int column, int row, int steps, Comma comma = Comma::Unsettled);
// A block pasted into the salinity grid of `layers` layers; the time steps
// stay those of the hydrological data.
PastePlan PlanSalinityPaste(const Block& block, int column, int row, int layers, int steps,
                            Comma comma = Comma::Unsettled);
// A block pasted into the soil grid of `layers` layers (no fixed row or column).
PastePlan PlanSoilPaste(const Block& block, int column, int row, int layers, Comma comma = Comma::Unsettled);

// ---------------------------------------------------------------- panels

// The general data: the number of time steps, at least 1 and at most
// MaxTimeSteps.
Problem ReadStepCount(const std::string& text, int& steps);

// A grid's texts by [row][column], row 0 and column 0 as in the grid.
using Cells = std::vector<std::vector<std::string>>;

// Hydrological rows 1..steps: every cell a number.
Problem ReadHydrological(const Cells& cells, int steps, Series& rain, Series& irrig, Series& evap,
                         Comma comma = Comma::Unsettled);
// Measured salinities of rows 1..steps, columns of the zones of `layers`.
Problem ReadSalinity(const Cells& cells, int layers, int steps, ZoneArray<Series>& measured,
                     Comma comma = Comma::Unsettled);
// The soil table of `layers` layers: every cell of every zone in use holds a
// number within its physical range. `table`[row][column] as in the grid.
Problem ReadSoil(const Cells& cells, int layers, std::vector<std::array<double, 5>>& table,
                 Comma comma = Comma::Unsettled);
// The first error that the check before a run finds in `group` of the data
// set a panel is about to store, as a refusal of that panel; none when the
// group's fields pass. The panels' Saves refuse what a run would refuse.
Problem GroupProblem(const ModelInput& candidate, FieldGroup group);
// Stores a soil table read by ReadSoil in the data set.
void StoreSoil(ModelInput& in, int layers, const std::vector<std::array<double, 5>>& table);
// Whether the soil table of the data set's layers can be run: every zone in
// use has a thickness, porosities, leaching efficiency and initial salinity
// of 0 or more.
bool SoilDataComplete(const ModelInput& in);

// The drainage panel's boxes: depth, QH1, QH2 (used only when present).
struct Drainage {
    double Dd = 0, QH1 = 0, QH2 = 0;
};
// `rootZone` is Dr, `transition` Dt of the data set. Column = box index.
// The two refusals of a depth outside the transition zone leave the
// panel's Cancel usable.
extern const char* const DrainAboveRootZone;
extern const char* const DrainBelowTransition;
Problem ReadDrainage(const std::array<std::string, 3>& boxes, double rootZone, double transition, Drainage& out,
                     Comma comma = Comma::Unsettled);

// The machine names of the eight boxes of the conditions panel, in their order.
extern const std::array<const char*, 8> ConditionFields;
// The eight boxes of the conditions panel in their order (Si, Dwtini, Inf,
// Out, CDc, IrrEff, SMini, Sinf), with the clamps of the irrigation
// efficiency and the initial soil moisture into their usual ranges
// (30 to 100 % and 20 to 100 %), each value then within its allowed range.
Problem ReadConditions(const std::array<std::string, 8>& boxes, std::array<double, 8>& values,
                       Comma comma = Comma::Unsettled);
double ClampIrrigationEfficiency(double value);
double ClampSoilMoisture(double value);

// ---------------------------------------------------------------- layers

// Row of the old soil grid copied into each row of the new one (-1: the
// row keeps what the new grid holds); every column is copied. An old row is
// copied into one row only.
std::array<int, 5> SoilCarryOver(int oldLayers, int newLayers);
// Column of the old salinity grid copied into each column 0..5 of the new
// one (-1: the column keeps what the new grid holds; 0 is the serial
// number, never copied). A measured column is copied into one column only.
std::array<int, 6> SalinityCarryOver(int oldLayers, int newLayers);

// ---------------------------------------------------------------- buttons

// The panels in the order of their Cancel buttons.
enum class Panel { Gen, Hydr, Soil1, Soil2, Soil3, Salt1, Salt2, Salt3, Drain, Cond };
constexpr int PanelCount = static_cast<int>(Panel::Cond) + 1;
// The group buttons in the order of the page.
enum Group { GenGroup, HydrGroup, SoilGroup, SaltGroup, DrainGroup, CondGroup };
constexpr int GroupCount = CondGroup + 1;

struct Buttons {
    std::array<bool, GroupCount> groups{};
    bool saveAll = false;
    std::array<bool, PanelCount> quits{};  // Cancel buttons, in the order of Panel
    bool operator==(const Buttons& other) const {
        return groups == other.groups && saveAll == other.saveAll && quits == other.quits;
    }
};

enum class PageEvent {
    Start,          // the form as it starts
    Restart,        // the creation of the page run again
    PageShown,      // the Input page is brought to the front
    GroupOpened,    // a group button opened its panel
    Saved,          // a panel's Save succeeded
    Cancelled,      // a panel's Cancel
    DrainRefused,   // the drainage Save refused the drain depth against the layers
    InputOpened,    // "Open input" read a file
};

// The buttons after `event` on `panel`, from the buttons before it;
// `complete` is InputComplete after the event's own effect on it (a save of
// the general data that changed the number of layers has cleared it).
Buttons NextButtons(const Buttons& now, PageEvent event, Panel panel, bool complete);

}  // namespace halovane::rules
