// The one table of the fields of a data set (ModelInput): for every single
// value and every series its machine name, the name the panels and the user
// guide give it, its unit, the range it must lie in (outside: an error), the
// range it usually lies in (outside: a warning), the decimals the input data
// file keeps and the Input page group that enters it, with accessors that
// read and write the value in a ModelInput.
//
// The check of a data set before a run, the panels' checks, the rounding of
// the input data file and every program that names fields (the runner, the
// scenario runs, the Python package) read this table; a field is described
// nowhere else. The zones' names live here too.
//
// Machine names are snake_case and stable: "drain_depth", "qh1",
// "irrigation_efficiency", "total_porosity_layer1", "rainfall",
// "measured_salinity_transition". Per-zone fields end in the zone's key
// (ZoneKey): layer1, layer2, layer3, transition, aquifer.
#pragma once

#include <limits>
#include <string>
#include <vector>

#include "ModelInput.h"

namespace halovane {

// ------------------------------------------------------------------ zones

// The zone's machine key: "layer1", "layer2", "layer3", "transition", "aquifer".
const char* ZoneKey(Zone zone);
// The zone as a sentence names it in a root zone of `layers` layers:
// "the root zone" (one layer), "layer 1", "layer 2", "layer 3",
// "the transition zone", "the aquifer".
std::string ZoneLabel(int layers, Zone zone);
// The zone as a grid heading names it: "Root zone" (one layer),
// "1st layer", "2nd layer", "3rd layer", "Transition zone", "Aquifer".
std::string ZoneHeading(int layers, Zone zone);
// The zones in use with `layers` root-zone layers, from the surface down.
std::vector<Zone> ZonesOf(int layers);

// ------------------------------------------------------------------ fields

// The group of the Input page that enters a field, in the order of the
// group buttons.
enum class FieldGroup { General, Hydrological, Soil, Salinity, Drainage, Conditions };
constexpr int FieldGroupCount = 6;
// The group's name as its button says it: "General data", ...,
// "Initial and boundary conditions".
const char* GroupName(FieldGroup group);

enum class FieldKind {
    Text,    // a title
    Number,  // one value (counts and the drainage choice are numbers too)
    PerStep,  // a series: one value per time step, elements 1..NrTst
    Choice,  // one of a few words (the model variant); Get and Set take its position among them
};

// One word of a choice: as the files, the runner and the scenarios write it,
// and as the panel offers it.
struct FieldChoice {
    std::string word;     // "conserving"
    std::string caption;  // "Conserving (balances closed)"
};

// An interval of the real line; an end at infinity is open.
struct Range {
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    bool lowIncluded = true;
    bool highIncluded = true;

    // Finite and inside the interval.
    bool Contains(double value) const;
    // The interval as a sentence part, for instance "0 mm or more",
    // "above 0 % up to 100 %", "1 % up to 100 %", "at most 100 dS/m".
    std::string Text(const std::string& unit) const;
};

class Field {
public:
    std::string name;     // machine name, unique
    std::string label;    // as a sentence names it: "irrigation efficiency", "total porosity of layer 1"
                          // (LabelFor names layer 1 "the root zone" when it is the only layer)
    std::string property; // per-zone fields: the property without its zone, "total porosity"
    std::string caption;  // the panel's label or the grid's heading of the value
    std::string unit;     // "m", "%", "dS/m", "mm", "mm/day", "m/day/m", "m/day/msq", or empty
    FieldGroup group = FieldGroup::General;
    FieldKind kind = FieldKind::Number;
    bool perZone = false;  // a soil property or measured salinity of `zone`
    Zone zone = Zone::Layer1;
    bool integer = false;  // a count, the drainage choice or a choice of words
    std::vector<FieldChoice> choices;  // Choice fields: the words, in the order of their positions
    Range allowed;         // outside: an error; the run is refused
    Range usual;           // outside but allowed: a warning; the run goes on
    // The high end of `usual` is an amount per day: a step of Ts days
    // usually holds at most Ts times as much.
    bool usualPerDay = false;
    int decimals = 0;  // decimals of the value in the input data file

    // The label with the zone named for a root zone of `layers` layers.
    std::string LabelFor(int layers) const;
    // Whether the data set uses the field: zones beyond the root zone's
    // layers and the drain data without drains are kept but not used.
    bool InUse(const ModelInput& in) const;

    // Number fields (and the drainage choice as 0 or 1).
    double Get(const ModelInput& in) const;
    void Set(ModelInput& in, double value) const;
    // PerStep fields.
    const Series& SeriesOf(const ModelInput& in) const;
    Series& SeriesOf(ModelInput& in) const;
    // Text fields.
    const std::string& TextOf(const ModelInput& in) const;
    void SetText(ModelInput& in, const std::string& text) const;
    // Choice fields: the position of a word, or -1 when it is none of
    // them; the words as a sentence part, "prescribed or conserving".
    int ChoiceOf(const std::string& word) const;
    std::string ChoicesText() const;

    // The value as the input data file stores it: rounded to `decimals`
    // as the file's fixed-point notation rounds. Unchanged for integers,
    // texts and values that are not finite.
    double Stored(double value) const;

    // Where the value lives in ModelInput; one of them is set.
    struct Access {
        double ModelInput::*number = nullptr;
        int ModelInput::*count = nullptr;
        bool ModelInput::*flag = nullptr;
        std::string ModelInput::*text = nullptr;
        ZoneArray<double> ModelInput::*zoneNumber = nullptr;
        Series ModelInput::*series = nullptr;
        ZoneArray<Series> ModelInput::*zoneSeries = nullptr;
        ModelVariant ModelInput::*variant = nullptr;
    };
    Access access;
};

// Every field, in the order of the Input page: group by group, within a
// group in the order of its panel (soil properties zone by zone from the
// surface down, property by property within a zone).
const std::vector<Field>& AllFields();
// The field of a machine name, or null.
const Field* FindField(const std::string& name);
// The field of a machine name that the program itself names; a name that
// is not in the table is a fault of the program (std::out_of_range).
const Field& FieldNamed(const std::string& name);
// The per-zone field of a property ("total_porosity", "measured_salinity",
// ...) and zone.
const Field& ZoneField(const std::string& property, Zone zone);

// A value rounded to `decimals` as the fixed-point notation of the input
// data file rounds it.
double RoundAsStored(double value, int decimals);

// A value the input data file stores other than it is held.
struct Rounding {
    const Field* field;
    int step;  // time step of a series value, 0 for a single value
    double held, stored;
};
// Rounds every value of `in` that its input data file holds as the file
// stores it (fields in use; series at steps 1..NrTst; measured salinities
// above 0), so that a run of `in` and a run of its file are the same run.
// Returns what changed, in the order of the table.
std::vector<Rounding> RoundAsFileStores(ModelInput& in);
// The changes as lines for the user: "irrigation efficiency: 72.5 % is
// saved as 72 % (0 decimals)"; a field rounded in many time steps lists
// the first and counts the rest.
std::string RoundingReport(const std::vector<Rounding>& roundings, int layers);

}  // namespace halovane
