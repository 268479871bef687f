// Scenario runs: one base data set, fields to vary with their values, the
// metrics of every run and the criteria they must meet, all in one plain
// text file. The runs are made in memory, on several threads, and each
// equals, bit for bit, a single run of the base with its values entered.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "DrainDesign.h"
#include "ModelInput.h"

namespace halovane {

class Field;
struct ModelState;

// A name that can be varied: a field of the data set, or one of the
// scenario's own: the drain spacing (through the drain design), a factor on
// the rainfall, irrigation or evapotranspiration series, and the step
// length of a base built from a typical year.
enum class VariedKind { Field, DrainSpacing, RainfallFactor, IrrigationFactor, EvapotranspirationFactor, StepLength };

struct Varied {
    std::string name;
    VariedKind kind = VariedKind::Field;
    const Field* field = nullptr;  // for VariedKind::Field
    std::vector<double> values;
    int line = 0;
};

// The names a scenario may vary besides the fields of the data set.
extern const std::vector<std::pair<std::string, VariedKind>> ScenarioNames;

enum class CriterionOp { AtMost, AtLeast, Below, Above };

struct Criterion {
    std::string metric;  // a metric's name: "max_root_zone_salinity"
    CriterionOp op = CriterionOp::AtMost;
    double value = 0;
    std::string text;  // as the CSV heads it: "max_root_zone_salinity <= 4"
    int line = 0;
    bool Holds(double metricValue) const;
};

enum class ScenarioMode { Grid, OneAtATime };

// Goal seek: the value of `field` at which `criterion` just holds, between
// the lowest and the highest of its values.
struct Seek {
    std::string field;
    Criterion criterion;
    double tolerance = 0;  // 0: a thousandth of the interval
    int line = 0;
};

struct Scenario {
    std::string folder;     // the scenario file's folder; names are relative to it
    std::string base;       // the base input data file
    std::string typicalYear;  // a CSV of 12 or 365 rows of rainfall, irrigation, evapotranspiration
    int years = 1;
    int stepLength = 1;     // days, for the typical year
    std::vector<Varied> varied;
    std::vector<Varied> fixed;  // "set NAME VALUE": a base value changed for every run, one value each
    ScenarioMode mode = ScenarioMode::Grid;
    std::vector<std::string> metrics;  // to report; empty: every metric
    std::vector<Criterion> criteria;
    std::string chartMetric, chartX, chartY;  // empty: chosen from the rest
    drain::DrainSoil drains;  // the soil for drain_spacing; depth from the run's drain depth
    bool drainsGiven = false;
    bool refine = false, optimise = false;  // the answers to the run's two questions
    std::vector<Seek> seeks;
};

// Reads a scenario's text. False with `error` naming the line
// ("line 7: ...") when a line is not understood or a value is out of its
// field's allowed range.
bool ParseScenario(const std::string& text, Scenario& scenario, std::string& error);
// Reads the scenario file and its base (the base data set and the typical
// year). False with `error` naming the file and line.
bool LoadScenario(const std::string& path, Scenario& scenario, ModelInput& base, std::string& error);
// The same for the text of a scenario whose names are relative to `folder`.
bool LoadScenarioText(const std::string& text, const std::string& folder, Scenario& scenario, ModelInput& base,
                      std::string& error);

// The hydrological series of a typical year (12 monthly or 365 daily rows
// of rainfall, irrigation and evapotranspiration in mm) repeated for
// `years` years at a step length of `ts` days into `in`. False with `error`
// naming the row.
bool ReadTypicalYear(const std::string& csvText, std::vector<std::array<double, 3>>& rows, std::string& error);
void ApplyTypicalYear(const std::vector<std::array<double, 3>>& rows, int years, int ts, ModelInput& in);

// ------------------------------------------------------------------ metrics

struct MetricInfo {
    std::string name;  // "max_root_zone_salinity", "min_water_table_depth", ...
    std::string unit;
};
// Every metric, in the order of the CSV's columns.
const std::vector<MetricInfo>& AllMetrics();
int MetricIndex(const std::string& name);  // -1 when there is none of the name

// The metrics of a finished run of `in`, in the order of AllMetrics; NaN
// where the data set has no such zone.
std::vector<double> RunMetrics(const ModelInput& in, const ModelState& state);

// ------------------------------------------------------------------ runs

// One run of a scenario: the values of the varied names (NaN where a name
// keeps its base value in a one-at-a-time run), what came of it.
struct SweepRow {
    int run = 0;  // from 1
    std::vector<double> values;
    std::vector<double> metrics;  // AllMetrics order; empty when the run was refused
    std::vector<bool> pass;       // per criterion
    bool roundedInFile = false;   // the input data file would store some value otherwise
    std::string error;            // why the data of this run were refused
};

// The runs a scenario asks for, in order: every combination (the first
// name varies slowest), or the base run followed by each name's values
// with the others at the base.
std::vector<std::vector<double>> ScenarioRuns(const Scenario& scenario);

// The data set of one run: the base with the values entered.
// `typicalYear` holds the rows of the typical year when the base is built
// from one.
ModelInput RunInput(const Scenario& scenario, const ModelInput& base, const std::vector<double>& values,
                    const std::vector<std::array<double, 3>>& typicalYear);

struct SweepOptions {
    int threads = 0;                           // 0: every core
    std::string keepFolder;                    // when set: run-0001.inp and run-0001.out are written there
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(int done, int total)> progress;  // called from the threads, one at a time
};

// Runs every run of the scenario. The rows do not depend on the threads.
std::vector<SweepRow> RunSweep(const Scenario& scenario, const ModelInput& base,
                               const std::vector<std::vector<double>>& runs, const SweepOptions& options);

// A value of a varied name as the sweep's table writes it: a number in its
// shortest exact form, a choice's word, empty for NaN (the base's value).
std::string VariedValueText(const Varied& v, double value);

// The sweep's table: a header, then one row per run (run, the varied
// values, the metrics asked for, pass/fail per criterion, pass,
// rounded_in_file, error). Numbers in their shortest exact form.
std::string SweepCsv(const Scenario& scenario, const std::vector<SweepRow>& rows);

// The goal seek: the value found, whether the criterion holds anywhere in
// the interval, and the runs it took.
struct SeekResult {
    std::vector<double> others;  // the other names' values (NaN: base)
    double value = 0;
    bool found = false;
    std::string note;
    int runs = 0;
};
std::vector<SeekResult> RunSeek(const Scenario& scenario, const ModelInput& base, const Seek& seek,
                                const SweepOptions& options);

}  // namespace halovane
