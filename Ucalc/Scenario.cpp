#include "Scenario.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <mutex>
#include <sstream>
#include <thread>

#include "Fields.h"
#include "FileTexts.h"
#include "InputFile.h"
#include "ModelState.h"
#include "NumberText.h"
#include "RunDriver.h"
#include "TextFile.h"
#include "ThreadTeam.h"

namespace halovane {

const std::vector<std::pair<std::string, VariedKind>> ScenarioNames = {
    {"drain_spacing", VariedKind::DrainSpacing},
    {"rainfall_factor", VariedKind::RainfallFactor},
    {"irrigation_factor", VariedKind::IrrigationFactor},
    {"evapotranspiration_factor", VariedKind::EvapotranspirationFactor},
    {"step_length", VariedKind::StepLength},
};

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// The largest number of values one name may take, and of runs in all.
constexpr size_t MaxValues = 10000;
constexpr size_t MaxRuns = 1000000;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool Number(const std::string& text, double& value) { return TryStringToFloat(text, '.', value); }

int DecimalsOf(const std::string& text) {
    const size_t dot = text.find('.');
    if (dot == std::string::npos) return 0;
    size_t end = text.find_first_of("eE", dot);
    if (end == std::string::npos) end = text.size();
    return static_cast<int>(end - dot - 1);
}

// "1.0:2.6:0.2" as the values 1, 1.2, ..., 2.6, each the number its
// decimal text names (so 1.6 is 1.6, not 1 + 3 x 0.2).
bool ParseRange(const std::string& text, std::vector<double>& values, std::string& why) {
    const size_t a = text.find(':'), b = text.find(':', a + 1);
    if (b == std::string::npos || text.find(':', b + 1) != std::string::npos) {
        why = "a range is start:stop:step";
        return false;
    }
    const std::string startText = text.substr(0, a), stopText = text.substr(a + 1, b - a - 1),
                      stepText = text.substr(b + 1);
    double start = 0, stop = 0, step = 0;
    if (!Number(startText, start) || !Number(stopText, stop) || !Number(stepText, step)) {
        why = "the range " + text + " is not three numbers";
        return false;
    }
    if (!(step > 0) || stop < start) {
        why = "the range " + text + " needs a step above 0 and a stop not below its start";
        return false;
    }
    const double count = std::floor((stop - start) / step + 1e-9) + 1;
    if (count > static_cast<double>(MaxValues)) {
        why = "the range " + text + " has more than " + std::to_string(MaxValues) + " values";
        return false;
    }
    const int decimals = std::max(DecimalsOf(startText), DecimalsOf(stepText));
    for (int k = 0; k < static_cast<int>(count); ++k) values.push_back(RoundAsStored(start + k * step, decimals));
    return true;
}

bool ParseCriterion(const std::vector<std::string>& w, size_t from, Criterion& c, std::string& why) {
    // "max root_zone_salinity <= 4" or "max_root_zone_salinity <= 4"
    std::string metric;
    size_t k = from;
    if (w.size() == from + 4) {
        metric = w[k] + "_" + w[k + 1];
        k += 2;
    } else if (w.size() == from + 3) {
        metric = w[k++];
    } else {
        why = "a criterion is a metric, <=, >=, < or >, and a number, as in: max root_zone_salinity <= 4";
        return false;
    }
    if (MetricIndex(metric) < 0) {
        why = "there is no metric " + metric + " (the user guide lists them)";
        return false;
    }
    const std::string& op = w[k];
    if (op == "<=") c.op = CriterionOp::AtMost;
    else if (op == ">=") c.op = CriterionOp::AtLeast;
    else if (op == "<") c.op = CriterionOp::Below;
    else if (op == ">") c.op = CriterionOp::Above;
    else {
        why = "the comparison " + op + " is none of <=, >=, < and >";
        return false;
    }
    if (!Number(w[k + 1], c.value)) {
        why = w[k + 1] + " is not a number";
        return false;
    }
    c.metric = metric;
    c.text = metric + " " + op + " " + w[k + 1];
    return true;
}

// What is wrong with a value of a varied name, or empty.
std::string CheckValue(const Varied& v, double value) {
    switch (v.kind) {
        case VariedKind::Field:
            if (!v.field->allowed.Contains(value))
                return v.name + " " + ShortestText(value) + " is out of range; allowed: " +
                       v.field->allowed.Text(v.field->unit);
            return {};
        case VariedKind::DrainSpacing:
            if (!(value >= 1 && value <= drain::MaxSpacing))
                return "drain_spacing " + ShortestText(value) + " m is out of range; allowed: 1 m up to " +
                       ShortestText(drain::MaxSpacing) + " m";
            return {};
        case VariedKind::StepLength:
            if (StepLengthIndex(static_cast<int>(value)) < 0 || value != std::floor(value))
                return "step_length " + ShortestText(value) + " is none of 1, 7, 30 and 360 days";
            return {};
        default:
            if (!(value >= 0 && std::isfinite(value)))
                return v.name + " " + ShortestText(value) + " is out of range; allowed: 0 or more";
            return {};
    }
}

bool ParseVaried(const std::vector<std::string>& w, Varied& v, std::string& why) {
    if (w.size() < 3) {
        why = "vary takes a name and its values: vary drain_depth 1.2 1.6 2.0, or vary drain_depth 1.0:2.6:0.2";
        return false;
    }
    v.name = w[1];
    const auto own = std::find_if(ScenarioNames.begin(), ScenarioNames.end(),
                                  [&](const auto& p) { return p.first == v.name; });
    if (own != ScenarioNames.end()) {
        v.kind = own->second;
    } else {
        v.field = FindField(v.name);
        if (!v.field) {
            why = "there is no field " + v.name + " (the user guide lists the names)";
            return false;
        }
        const bool choice = v.field->kind == FieldKind::Choice;
        if ((v.field->kind != FieldKind::Number || v.field->integer) && !choice) {
            why = v.name + " cannot be varied: only fields of one number or a choice of words can";
            return false;
        }
        // A choice takes its words; the runs hold their positions.
        for (size_t k = 2; choice && k < w.size(); ++k) {
            const int position = v.field->ChoiceOf(w[k]);
            if (position < 0) {
                why = v.name + " takes " + v.field->ChoicesText() + ", not " + w[k];
                return false;
            }
            v.values.push_back(position);
        }
        if (choice) return true;
    }
    for (size_t k = 2; k < w.size(); ++k) {
        if (w[k].find(':') != std::string::npos) {
            if (!ParseRange(w[k], v.values, why)) return false;
        } else {
            double value = 0;
            if (!Number(w[k], value)) {
                why = w[k] + " is not a number";
                return false;
            }
            v.values.push_back(value);
        }
    }
    for (double value : v.values) {
        why = CheckValue(v, value);
        if (!why.empty()) return false;
    }
    return true;
}

bool YesNo(const std::vector<std::string>& w, bool& value, std::string& why) {
    if (w.size() == 2 && (w[1] == "yes" || w[1] == "no")) {
        value = w[1] == "yes";
        return true;
    }
    why = w[0] + " takes yes or no";
    return false;
}

bool ParseDrains(const std::vector<std::string>& w, drain::DrainSoil& soil, std::string& why) {
    if (w.size() != 9) {
        why = "drains takes: ka KA kb KB impermeable D radius R (m/day and m)";
        return false;
    }
    for (size_t k = 1; k + 1 < w.size(); k += 2) {
        double value = 0;
        if (!Number(w[k + 1], value)) {
            why = w[k + 1] + " is not a number";
            return false;
        }
        if (w[k] == "ka") soil.Ka = value;
        else if (w[k] == "kb") soil.Kb = value;
        else if (w[k] == "impermeable") soil.impermeable = value;
        else if (w[k] == "radius") soil.radius = value;
        else {
            why = "drains knows ka, kb, impermeable and radius, not " + w[k];
            return false;
        }
    }
    soil.depth = 1;  // each run's drain depth replaces it
    why = drain::CheckSoil(soil);
    return why.empty();
}

bool ParseLine(const std::vector<std::string>& w, Scenario& s, int line, std::string& why) {
    const std::string& key = w[0];
    auto one = [&](std::string& target) {
        if (w.size() != 2) {
            why = key + " takes one name";
            return false;
        }
        target = w[1];
        return true;
    };
    if (key == "base") return one(s.base);
    if (key == "typical_year") return one(s.typicalYear);
    if (key == "years") {
        if (w.size() == 2 && TryParseInteger(w[1], s.years) && s.years >= 1 && s.years <= 1000) return true;
        why = "years takes a whole number from 1 to 1000";
        return false;
    }
    if (key == "step") {
        const char* names[4] = {"year", "month", "week", "day"};
        for (int k = 0; k < 4; ++k)
            if (w.size() == 2 && w[1] == names[k]) {
                s.stepLength = StepLengths[k];
                return true;
            }
        why = "step takes day, week, month or year";
        return false;
    }
    if (key == "vary") {
        Varied v;
        v.line = line;
        if (!ParseVaried(w, v, why)) return false;
        for (const Varied& other : s.varied)
            if (other.name == v.name) {
                why = v.name + " is varied on line " + std::to_string(other.line) + " already";
                return false;
            }
        s.varied.push_back(v);
        return true;
    }
    if (key == "set") {
        Varied v;
        v.line = line;
        if (w.size() != 3 || w[2].find(':') != std::string::npos) {
            why = "set takes a name and one value: set irrigation_salinity 1.5";
            return false;
        }
        if (!ParseVaried(w, v, why)) return false;
        if (v.kind == VariedKind::StepLength) {
            why = "the step length of a typical year is set with: step day, week, month or year";
            return false;
        }
        s.fixed.push_back(v);
        return true;
    }
    if (key == "mode") {
        if (w.size() == 2 && (w[1] == "grid" || w[1] == "one-at-a-time")) {
            s.mode = w[1] == "grid" ? ScenarioMode::Grid : ScenarioMode::OneAtATime;
            return true;
        }
        why = "mode takes grid or one-at-a-time";
        return false;
    }
    if (key == "metrics") {
        for (size_t k = 1; k < w.size(); ++k) {
            if (MetricIndex(w[k]) < 0) {
                why = "there is no metric " + w[k] + " (the user guide lists them)";
                return false;
            }
            s.metrics.push_back(w[k]);
        }
        return true;
    }
    if (key == "criterion") {
        Criterion c;
        c.line = line;
        if (!ParseCriterion(w, 1, c, why)) return false;
        s.criteria.push_back(c);
        return true;
    }
    if (key == "chart") {
        if (w.size() < 2 || w.size() > 4 || MetricIndex(w[1]) < 0) {
            why = "chart takes a metric and up to two varied names: chart max_root_zone_salinity drain_depth "
                  "drain_spacing";
            return false;
        }
        s.chartMetric = w[1];
        if (w.size() > 2) s.chartX = w[2];
        if (w.size() > 3) s.chartY = w[3];
        return true;
    }
    if (key == "drains") {
        s.drainsGiven = ParseDrains(w, s.drains, why);
        return s.drainsGiven;
    }
    if (key == "refine") return YesNo(w, s.refine, why);
    if (key == "optimise" || key == "optimize") return YesNo(w, s.optimise, why);
    if (key == "seek") {
        // seek FIELD for METRIC OP VALUE [within TOLERANCE]
        std::vector<std::string> rest = w;
        Seek seek;
        seek.line = line;
        if (rest.size() >= 2 && rest[rest.size() - 2] == "within") {
            if (!Number(rest.back(), seek.tolerance) || !(seek.tolerance > 0)) {
                why = "within takes a number above 0";
                return false;
            }
            rest.resize(rest.size() - 2);
        }
        if (rest.size() < 5 || rest[2] != "for") {
            why = "seek takes: seek FIELD for METRIC <= VALUE, as in: seek drain_depth for max root_zone_salinity "
                  "<= 4";
            return false;
        }
        seek.field = rest[1];
        if (!ParseCriterion(rest, 3, seek.criterion, why)) return false;
        s.seeks.push_back(seek);
        return true;
    }
    why = "unknown setting " + key +
          "; a line starts with base, typical_year, years, step, set, vary, mode, metrics, criterion, chart, drains, "
          "refine, optimise or seek";
    return false;
}

const Varied* FindVaried(const Scenario& s, const std::string& name) {
    for (const Varied& v : s.varied)
        if (v.name == name) return &v;
    return nullptr;
}

int StepsPerYear(int ts) {
    switch (ts) {
        case 1: return 365;
        case 7: return 52;
        case 30: return 12;
        default: return 1;
    }
}

}  // namespace

bool Criterion::Holds(double v) const {
    switch (op) {
        case CriterionOp::AtMost: return v <= value;
        case CriterionOp::AtLeast: return v >= value;
        case CriterionOp::Below: return v < value;
        case CriterionOp::Above: return v > value;
    }
    return false;
}

bool ParseScenario(const std::string& text, Scenario& s, std::string& error) {
    std::istringstream in(text);
    int line = 0;
    auto fail = [&](int at, const std::string& why) {
        error = "line " + std::to_string(at) + ": " + why;
        return false;
    };
    for (std::string raw; std::getline(in, raw);) {
        ++line;
        const size_t hash = raw.find('#');
        if (hash != std::string::npos) raw.resize(hash);
        const std::vector<std::string> w = Words(raw);
        if (w.empty()) continue;
        std::string why;
        if (!ParseLine(w, s, line, why)) return fail(line, why);
    }
    if (s.base.empty()) return fail(line, "the scenario names no base input data file (base FILE.inp)");
    if (s.varied.empty() && s.seeks.empty()) return fail(line, "the scenario varies nothing (vary NAME VALUES)");
    std::vector<Varied> named = s.varied;
    named.insert(named.end(), s.fixed.begin(), s.fixed.end());
    for (const Varied& v : named) {
        if (v.kind == VariedKind::DrainSpacing && !s.drainsGiven)
            return fail(v.line, "drain_spacing needs the soil of the drains: drains ka KA kb KB impermeable D radius R");
        if (v.kind == VariedKind::StepLength && s.typicalYear.empty())
            return fail(v.line, "step_length can be varied only for a base built from a typical year (typical_year)");
    }
    // A varied step length rebuilds the series from the typical year, so a
    // factor set once would be lost: it must be varied (with one value).
    for (const Varied& v : s.fixed)
        if (FindVaried(s, "step_length") &&
            (v.kind == VariedKind::RainfallFactor || v.kind == VariedKind::IrrigationFactor ||
             v.kind == VariedKind::EvapotranspirationFactor))
            return fail(v.line, "with a varied step_length, vary " + v.name + " (with one value) instead of setting it");
    for (const Seek& seek : s.seeks) {
        const Varied* v = FindVaried(s, seek.field);
        if (!v || v->values.size() < 2)
            return fail(seek.line, "seek looks between the lowest and the highest value of " + seek.field +
                                       ": vary it with at least two values");
        if (v->kind == VariedKind::StepLength || (v->field && v->field->kind == FieldKind::Choice))
            return fail(seek.line, "seek cannot look between the values of " + seek.field);
    }
    auto varied = [&](const std::string& name) { return name.empty() || FindVaried(s, name); };
    if (!varied(s.chartX) || !varied(s.chartY)) return fail(line, "the chart names a name that is not varied");
    size_t runs = 1;
    for (const Varied& v : s.varied) {
        runs = s.mode == ScenarioMode::Grid ? runs * v.values.size() : runs + v.values.size();
        if (runs > MaxRuns) return fail(v.line, "the scenario has more than " + std::to_string(MaxRuns) + " runs");
    }
    return true;
}

bool ReadTypicalYear(const std::string& text, std::vector<std::array<double, 3>>& rows, std::string& error) {
    std::istringstream in(text);
    int line = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++line;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.empty() || raw[0] == '#') continue;
        std::replace(raw.begin(), raw.end(), ';', ',');
        std::vector<std::string> cells;
        std::istringstream row(raw);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(RemoveBlanks(cell));
        std::array<double, 3> values{};
        bool numbers = cells.size() == 3;
        for (size_t k = 0; numbers && k < 3; ++k) numbers = Number(cells[k], values[k]) && values[k] >= 0;
        if (!numbers) {
            if (rows.empty() && line == 1) continue;  // the header
            error = "row " + std::to_string(line) +
                    ": a row holds rainfall, irrigation and evapotranspiration, three numbers of 0 mm or more";
            return false;
        }
        rows.push_back(values);
    }
    if (rows.size() != 12 && rows.size() != 365) {
        error = "a typical year has 12 monthly or 365 daily rows, not " + std::to_string(rows.size());
        return false;
    }
    return true;
}

void ApplyTypicalYear(const std::vector<std::array<double, 3>>& rows, int years, int ts, ModelInput& in) {
    static const int monthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool monthly = rows.size() == 12;
    // The amounts of the step lengths of one year, summed from the rows.
    const int perYear = StepsPerYear(ts);
    std::vector<std::array<double, 3>> year(static_cast<size_t>(perYear), std::array<double, 3>{});
    auto add = [&](int step, const std::array<double, 3>& amount, double share) {
        for (int q = 0; q < 3; ++q) year[static_cast<size_t>(step)][static_cast<size_t>(q)] += amount[static_cast<size_t>(q)] * share;
    };
    if (monthly && ts >= 30) {
        for (int m = 0; m < 12; ++m) add(ts == 30 ? m : 0, rows[static_cast<size_t>(m)], 1);
    } else {
        // Day by day: a monthly row spread evenly over its days; weeks of 7
        // days, the 365th day in the last week.
        int day = 0;
        for (int m = 0; m < 12; ++m)
            for (int d = 0; d < monthDays[m]; ++d, ++day) {
                const std::array<double, 3>& amount = monthly ? rows[static_cast<size_t>(m)] : rows[static_cast<size_t>(day)];
                const double share = monthly ? 1.0 / monthDays[m] : 1.0;
                const int step = ts == 1 ? day : ts == 7 ? std::min(day / 7, 51) : ts == 30 ? m : 0;
                add(step, amount, share);
            }
    }
    in.Ts = ts;
    in.NrTst = years * perYear;
    in.NrTstHydr = in.NrTst;
    ResizeHydrologicalSeries(in, in.NrTst);
    for (int i = 1; i <= in.NrTst; ++i) {
        const std::array<double, 3>& a = year[static_cast<size_t>((i - 1) % perYear)];
        in.Rain[i] = a[0];
        in.Irrig[i] = a[1];
        in.EvapT[i] = a[2];
    }
    for (Zone z : EveryZone) in.ECsm[z].assign(static_cast<size_t>(in.NrTst) + 1, 0.0);
}

bool LoadScenario(const std::string& path, Scenario& s, ModelInput& base, std::string& error) {
    std::string text, why;
    if (!ReadWholeFile(path, text, why)) {
        error = why;
        return false;
    }
    if (!LoadScenarioText(text, std::filesystem::path(path).parent_path().string(), s, base, why)) {
        error = path + ": " + why;
        return false;
    }
    return true;
}

bool LoadScenarioText(const std::string& text, const std::string& folder, Scenario& s, ModelInput& base,
                      std::string& error) {
    std::string why;
    if (!ParseScenario(text, s, error)) return false;
    s.folder = folder;
    auto beside = [&](const std::string& name) {
        const std::filesystem::path p(name);
        return p.is_absolute() || s.folder.empty() ? name : (std::filesystem::path(s.folder) / p).string();
    };
    base = ModelInput{};
    base.InputFileName = beside(s.base);
    const InputReadResult read = ReadInputFile(base);
    if (!read.Ok()) {
        error = "base " + s.base + ": " + read.message;
        return false;
    }
    if (!s.typicalYear.empty()) {
        std::string csv;
        std::vector<std::array<double, 3>> rows;
        if (!ReadWholeFile(beside(s.typicalYear), csv, why) || !ReadTypicalYear(csv, rows, why)) {
            error = "typical_year " + s.typicalYear + ": " + why;
            return false;
        }
        ApplyTypicalYear(rows, s.years, s.stepLength, base);
    }
    // The values set for every run, in the order of the file.
    Scenario set = s;
    set.varied = s.fixed;
    std::vector<double> values;
    for (const Varied& v : s.fixed) values.push_back(v.values[0]);
    base = RunInput(set, base, values, {});
    return true;
}

// ------------------------------------------------------------------ metrics

namespace {

// The quantities with a salinity each: the root zone as a whole, then
// every zone.
std::vector<std::string> SalinityPlaces() {
    std::vector<std::string> places{"root_zone"};
    for (Zone z : EveryZone) places.emplace_back(ZoneKey(z));
    return places;
}

const char* const Stats[3] = {"max", "mean", "final"};
const char* const DepthStats[4] = {"min", "max", "mean", "final"};
const char* const Flows[4] = {"drainage", "percolation", "capillary_rise", "evapotranspiration"};
struct BalanceMetric {
    const char* name;
    BalanceKind kind;
    BalanceZone zone;
};
const BalanceMetric BalanceMetrics[4] = {
    {"water_balance_root_zone_pct", BalanceKind::Water, BalanceZone::RootZone},
    {"water_balance_groundwater_pct", BalanceKind::Water, BalanceZone::Groundwater},
    {"water_balance_column_pct", BalanceKind::Water, BalanceZone::Column},
    {"salt_balance_column_pct", BalanceKind::Salt, BalanceZone::Column},
};

}  // namespace

const std::vector<MetricInfo>& AllMetrics() {
    static const std::vector<MetricInfo> metrics = [] {
        std::vector<MetricInfo> m;
        for (const std::string& place : SalinityPlaces())
            for (const char* stat : Stats) m.push_back({std::string(stat) + "_" + place + "_salinity", "dS/m"});
        for (const char* stat : DepthStats) m.push_back({std::string(stat) + "_water_table_depth", "m"});
        for (const char* flow : Flows) m.push_back({std::string(flow) + "_per_year", "mm/year"});
        for (const BalanceMetric& b : BalanceMetrics) m.push_back({b.name, "%"});
        m.push_back({"stopped_at_step", ""});
        return m;
    }();
    return metrics;
}

int MetricIndex(const std::string& name) {
    const std::vector<MetricInfo>& all = AllMetrics();
    for (size_t k = 0; k < all.size(); ++k)
        if (all[k].name == name) return static_cast<int>(k);
    return -1;
}

std::vector<double> RunMetrics(const ModelInput& in, const ModelState& state) {
    const StepResults& r = state.Results;
    const int steps = state.Balance.steps > 0 ? std::min(state.Balance.steps, in.NrTst) : in.NrTst;
    std::vector<double> m;
    m.reserve(AllMetrics().size());
    auto stats = [&](const std::function<double(int)>& at, bool withMin) {
        double low = at(1), high = at(1), sum = 0;
        for (int i = 1; i <= steps; ++i) {
            const double v = at(i);
            low = std::min(low, v);
            high = std::max(high, v);
            sum += v;
        }
        if (withMin) m.push_back(low);
        m.push_back(high);
        m.push_back(sum / steps);
        m.push_back(at(steps));
    };
    // The root zone's salinity: its layers' salinities weighted by the
    // water they hold at saturation.
    double weight = 0;
    for (Zone z : EveryZone)
        if (z <= Z3 && ZoneInUse(in.NrLayers, z)) weight += in.D[z] * in.TP[z];
    stats(
        [&](int i) {
            double salt = 0;
            for (Zone z : EveryZone)
                if (z <= Z3 && ZoneInUse(in.NrLayers, z)) salt += r.SR[z][i] * in.D[z] * in.TP[z];
            return salt / weight;
        },
        false);
    for (Zone z : EveryZone) {
        if (ZoneInUse(in.NrLayers, z)) {
            stats([&](int i) { return r.SR[z][i]; }, false);
        } else {
            m.insert(m.end(), 3, NaN);
        }
    }
    stats([&](int i) { return r.Dwt[i]; }, true);
    const double years = static_cast<double>(steps) / StepsPerYear(in.Ts);
    for (const Series* s : {&r.DrainT, &r.PercT, &r.CapTT, &r.EvapAT}) {
        double sum = 0;
        for (int i = 1; i <= steps; ++i) sum += (*s)[i];
        m.push_back(sum / years);
    }
    for (const BalanceMetric& b : BalanceMetrics) {
        const BalanceSummary* summary = state.Balance.Find(b.kind, b.zone);
        m.push_back(summary ? summary->totals.Percent() : NaN);
    }
    m.push_back(state.Stop ? state.Flows.StopStep : 0);
    return m;
}

// ------------------------------------------------------------------ runs

std::vector<std::vector<double>> ScenarioRuns(const Scenario& s) {
    std::vector<std::vector<double>> runs;
    const size_t n = s.varied.size();
    if (s.mode == ScenarioMode::OneAtATime) {
        runs.emplace_back(n, NaN);
        for (size_t k = 0; k < n; ++k)
            for (double value : s.varied[k].values) {
                runs.emplace_back(n, NaN);
                runs.back()[k] = value;
            }
        return runs;
    }
    std::vector<size_t> at(n, 0);
    for (;;) {
        std::vector<double> values(n);
        for (size_t k = 0; k < n; ++k) values[k] = s.varied[k].values[at[k]];
        runs.push_back(values);
        size_t k = n;
        while (k > 0 && ++at[k - 1] == s.varied[k - 1].values.size()) at[--k] = 0;
        if (k == 0) break;
    }
    return runs;
}

ModelInput RunInput(const Scenario& s, const ModelInput& base, const std::vector<double>& values,
                    const std::vector<std::array<double, 3>>& typicalYear) {
    ModelInput in = base;
    // The step length first: it rebuilds the series the factors act on.
    for (size_t k = 0; k < s.varied.size(); ++k)
        if (s.varied[k].kind == VariedKind::StepLength && !std::isnan(values[k]))
            ApplyTypicalYear(typicalYear, s.years, static_cast<int>(values[k]), in);
    for (size_t k = 0; k < s.varied.size(); ++k)
        if (s.varied[k].kind == VariedKind::Field && !std::isnan(values[k])) s.varied[k].field->Set(in, values[k]);
    for (size_t k = 0; k < s.varied.size(); ++k) {
        const double value = values[k];
        if (std::isnan(value)) continue;
        Series* series = nullptr;
        switch (s.varied[k].kind) {
            case VariedKind::RainfallFactor: series = &in.Rain; break;
            case VariedKind::IrrigationFactor: series = &in.Irrig; break;
            case VariedKind::EvapotranspirationFactor: series = &in.EvapT; break;
            case VariedKind::DrainSpacing: {
                drain::DrainSoil soil = s.drains;
                soil.depth = in.Dd;
                const drain::Design design = drain::DesignAt(soil, value);
                in.QH1 = design.QH1;
                in.QH2 = design.QH2;
                break;
            }
            default: break;
        }
        if (series)
            for (int i = 1; i <= in.NrTst && i < static_cast<int>(series->size()); ++i) (*series)[i] *= value;
    }
    return in;
}

namespace {

// Answers the run's two questions from the scenario and keeps quiet.
class ScenarioInteraction : public UserInteraction {
public:
    ScenarioInteraction(const Scenario& s, const std::atomic<bool>* cancel) : s_(s), cancel_(cancel) {}
    bool AskYesNo(const std::string& question) override {
        if (question == RefinementQuestion) return s_.refine;
        if (question == OptimisationQuestion) return s_.optimise;
        return false;
    }
    void ShowMessage(const std::string&) override {}
    void SetProgress(int) override {}
    const std::atomic<bool>* CancelFlag() const override { return cancel_; }

private:
    const Scenario& s_;
    const std::atomic<bool>* cancel_;
};

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

std::string RunName(int run) {
    std::string digits = std::to_string(run);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return "run-" + digits;
}

// Whether the input data file would store the base, at each step length
// of the scenario, otherwise than it is held, leaving out the fields the
// runs replace. The runs without a factor on a series then need only their
// own values checked.
struct BaseRounding {
    std::vector<std::pair<double, bool>> byStepLength;  // (step length or NaN, rounded)
    bool Of(double ts) const {
        for (const auto& [length, rounded] : byStepLength)
            if (SameValue(length, ts)) return rounded;
        return true;
    }
    static bool SameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }
};

bool Replaced(const Scenario& s, const Field* field) {
    for (const Varied& v : s.varied) {
        if (v.field == field) return true;
        if (v.kind == VariedKind::DrainSpacing && (field->name == "qh1" || field->name == "qh2")) return true;
    }
    return false;
}

BaseRounding RoundingOfBase(const Scenario& s, const ModelInput& base,
                            const std::vector<std::array<double, 3>>& typicalYear) {
    BaseRounding r;
    const Varied* lengths = FindVaried(s, "step_length");
    std::vector<double> tss{NaN};
    if (lengths) tss.insert(tss.end(), lengths->values.begin(), lengths->values.end());
    for (double ts : tss) {
        std::vector<double> values(s.varied.size(), NaN);
        for (size_t k = 0; k < s.varied.size(); ++k)
            if (s.varied[k].kind == VariedKind::StepLength) values[k] = ts;
        ModelInput in = RunInput(s, base, values, typicalYear);
        bool rounded = false;
        for (const Rounding& change : RoundAsFileStores(in)) rounded = rounded || !Replaced(s, change.field);
        r.byStepLength.emplace_back(ts, rounded);
    }
    return r;
}

bool RoundedInFile(const Scenario& s, const BaseRounding& baseRounding, const std::vector<double>& values,
                   const ModelInput& in) {
    double ts = NaN;
    for (size_t k = 0; k < s.varied.size(); ++k) {
        const Varied& v = s.varied[k];
        if (std::isnan(values[k])) continue;
        if (v.kind == VariedKind::StepLength) ts = values[k];
        const bool factor = v.kind == VariedKind::RainfallFactor || v.kind == VariedKind::IrrigationFactor ||
                            v.kind == VariedKind::EvapotranspirationFactor;
        if (factor && values[k] != 1) {
            ModelInput stored = in;
            return !RoundAsFileStores(stored).empty();
        }
    }
    if (baseRounding.Of(ts)) return true;
    // The fields the runs replace, at the values this run holds (the base's
    // where it keeps them).
    auto rounds = [&](const Field& f) { return f.InUse(in) && f.Stored(f.Get(in)) != f.Get(in); };
    for (const Varied& v : s.varied) {
        if (v.kind == VariedKind::Field && rounds(*v.field)) return true;
        if (v.kind == VariedKind::DrainSpacing && (rounds(FieldNamed("qh1")) || rounds(FieldNamed("qh2"))))
            return true;
    }
    return false;
}

// One run of the sweep into `row`; the state is the thread's own.
void SweepOne(const Scenario& s, const ModelInput& base, const std::vector<std::array<double, 3>>& typicalYear,
              const BaseRounding& baseRounding, const SweepOptions& options, ModelState& state, SweepRow& row) {
    ModelInput in = RunInput(s, base, row.values, typicalYear);
    row.roundedInFile = RoundedInFile(s, baseRounding, row.values, in);
    ScenarioInteraction ui(s, options.cancel);
    RunOutcome outcome;
    if (options.keepFolder.empty()) {
        outcome = ComputeModel(in, state, ui, nullptr, 1);
    } else {
        in.InputFileName = (std::filesystem::path(options.keepFolder) / (RunName(row.run) + ".inp")).string();
        ModelInput written = in;
        const std::string error = WriteInputFile(written);
        outcome = error.empty() ? RunModel(in, state, ui, RunFiles{}, nullptr, 1)
                                : RunOutcome{RunStatus::WriteFailed, error};
    }
    if (outcome.status == RunStatus::Completed || outcome.status == RunStatus::Stopped) {
        row.metrics = RunMetrics(in, state);
        for (const Criterion& c : s.criteria)
            row.pass.push_back(c.Holds(row.metrics[static_cast<size_t>(MetricIndex(c.metric))]));
    } else {
        row.error = OneLine(outcome.message);
    }
}

// The rows of a typical year, when the scenario varies the step length.
std::vector<std::array<double, 3>> TypicalYearRows(const Scenario& s) {
    std::vector<std::array<double, 3>> rows;
    if (s.typicalYear.empty() || !FindVaried(s, "step_length")) return rows;
    const std::filesystem::path p(s.typicalYear);
    std::string text, why;
    if (ReadWholeFile(p.is_absolute() || s.folder.empty() ? s.typicalYear : (std::filesystem::path(s.folder) / p).string(),
                      text, why))
        ReadTypicalYear(text, rows, why);
    return rows;
}

}  // namespace

std::vector<SweepRow> RunSweep(const Scenario& s, const ModelInput& base, const std::vector<std::vector<double>>& runs,
                               const SweepOptions& options) {
    std::vector<SweepRow> rows(runs.size());
    for (size_t k = 0; k < runs.size(); ++k) {
        rows[k].run = static_cast<int>(k) + 1;
        rows[k].values = runs[k];
    }
    const std::vector<std::array<double, 3>> typicalYear = TypicalYearRows(s);
    const BaseRounding baseRounding = RoundingOfBase(s, base, typicalYear);
    const int threads = std::max(1, std::min<int>(options.threads > 0 ? options.threads : MachineCores(),
                                                  static_cast<int>(runs.size())));
    std::atomic<size_t> next{0};
    std::atomic<int> done{0};
    std::mutex progressLock;
    auto worker = [&] {
        ModelState state;
        for (size_t k; (k = next++) < rows.size();) {
            if (options.cancel && options.cancel->load()) return;
            SweepOne(s, base, typicalYear, baseRounding, options, state, rows[k]);
            const int finished = ++done;
            if (options.progress) {
                std::lock_guard<std::mutex> lock(progressLock);
                options.progress(finished, static_cast<int>(rows.size()));
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    return rows;
}

std::string VariedValueText(const Varied& v, double value) {
    if (std::isnan(value)) return {};
    if (v.field && v.field->kind == FieldKind::Choice) return v.field->choices[static_cast<size_t>(value)].word;
    return ShortestText(value);
}

std::string SweepCsv(const Scenario& s, const std::vector<SweepRow>& rows) {
    const std::vector<MetricInfo>& all = AllMetrics();
    std::vector<size_t> shown;
    if (s.metrics.empty()) {
        for (size_t k = 0; k < all.size(); ++k) shown.push_back(k);
    } else {
        for (const std::string& name : s.metrics) shown.push_back(static_cast<size_t>(MetricIndex(name)));
    }
    std::string out = "run";
    for (const Varied& v : s.varied) out += "," + CsvCell(v.name);
    for (size_t k : shown) out += "," + all[k].name;
    for (const Criterion& c : s.criteria) out += "," + CsvCell(c.text);
    if (!s.criteria.empty()) out += ",pass";
    out += ",rounded_in_file,error\r\n";
    auto number = [](double v) { return std::isnan(v) ? std::string() : ShortestText(v); };
    for (const SweepRow& row : rows) {
        out += std::to_string(row.run);
        for (size_t k = 0; k < row.values.size(); ++k) out += "," + VariedValueText(s.varied[k], row.values[k]);
        for (size_t k : shown) out += "," + (row.metrics.empty() ? std::string() : number(row.metrics[k]));
        bool all_pass = !row.metrics.empty();
        for (size_t c = 0; c < s.criteria.size(); ++c) {
            const bool pass = !row.metrics.empty() && row.pass[c];
            all_pass = all_pass && pass;
            out += row.metrics.empty() ? "," : pass ? ",pass" : ",fail";
        }
        if (!s.criteria.empty()) out += row.metrics.empty() ? "," : all_pass ? ",pass" : ",fail";
        out += row.roundedInFile ? ",yes," : ",no,";
        out += CsvCell(row.error) + "\r\n";
    }
    return out;
}

std::vector<SeekResult> RunSeek(const Scenario& s, const ModelInput& base, const Seek& seek,
                                const SweepOptions& options) {
    size_t at = 0;
    while (s.varied[at].name != seek.field) ++at;
    const Varied& v = s.varied[at];
    const double lowest = *std::min_element(v.values.begin(), v.values.end());
    const double highest = *std::max_element(v.values.begin(), v.values.end());
    const double tolerance = seek.tolerance > 0 ? seek.tolerance : (highest - lowest) / 1000;
    // The other names at each of their combinations (grid) or at the base.
    Scenario rest = s;
    rest.varied.erase(rest.varied.begin() + static_cast<long>(at));
    std::vector<std::vector<double>> others;
    if (s.mode == ScenarioMode::Grid && !rest.varied.empty()) others = ScenarioRuns(rest);
    else others.emplace_back(rest.varied.size(), NaN);
    std::vector<SeekResult> results(others.size());
    const size_t metric = static_cast<size_t>(MetricIndex(seek.criterion.metric));
    SweepOptions one = options;
    one.threads = 1;
    one.progress = nullptr;
    one.keepFolder.clear();
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t k; (k = next++) < others.size();) {
            SeekResult& r = results[k];
            r.others = others[k];
            // A probe: whether the criterion holds at `value` (nullopt-like: -1 when refused).
            auto probe = [&](double value) {
                std::vector<double> values = others[k];
                values.insert(values.begin() + static_cast<long>(at), value);
                const std::vector<SweepRow> row = RunSweep(s, base, {values}, one);
                ++r.runs;
                if (row[0].metrics.empty()) return -1;
                return seek.criterion.Holds(row[0].metrics[metric]) ? 1 : 0;
            };
            const int low = probe(lowest), high = probe(highest);
            if (low < 0 || high < 0) {
                r.note = "a run at an end of the interval was refused";
            } else if (low == high) {
                r.note = low ? "holds over the whole interval" : "holds nowhere in the interval";
            } else {
                // Bisection towards the value where the criterion changes.
                double a = lowest, b = highest;
                while (b - a > tolerance) {
                    const double mid = a + (b - a) / 2;
                    const int m = probe(mid);
                    if (m < 0) {
                        r.note = "a run in the interval was refused";
                        break;
                    }
                    (m == low ? a : b) = mid;
                }
                r.found = r.note.empty();
                r.value = high ? b : a;  // the end at which the criterion holds
            }
        }
    };
    const int threads = std::max(1, std::min<int>(options.threads > 0 ? options.threads : MachineCores(),
                                                  static_cast<int>(others.size())));
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    return results;
}

}  // namespace halovane
