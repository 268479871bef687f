#include "Validation.h"

#include <cmath>
#include <map>
#include <tuple>

#include "Balance.h"
#include "Fields.h"
#include "NumberText.h"

namespace halovane {

namespace {

std::string Shown(double value, const std::string& unit) {
    std::string text = std::isnan(value) ? std::string("not a number") : ShortestText(value);
    if (!unit.empty() && std::isfinite(value)) text += " " + unit;
    return text;
}

class Checker {
public:
    Checker(std::vector<Problem>& out, int layers) : out_(out), layers_(layers) {}

    void Add(Severity s, const Field& f, int row, const std::string& value, const std::string& allowed) {
        out_.push_back(Problem{s, GroupName(f.group), f.LabelFor(layers_), row, value, allowed, std::string()});
    }
    // A value the model runs but answers with results that are not physical.
    void Implausible(const Field& f, int row, const std::string& value, const std::string& consequence) {
        Add(Severity::Warning, f, row, value, std::string());
        out_.back().consequence = consequence;
    }
    void Error(const Field& f, double value, const std::string& allowed, int row = 0) {
        Add(Severity::Error, f, row, Shown(value, f.unit), allowed);
    }
    void Warning(const Field& f, double value, const std::string& allowed, int row = 0) {
        Add(Severity::Warning, f, row, Shown(value, f.unit), allowed);
    }
    // The field's two ranges: an error outside the allowed one, else a
    // warning outside the usual one (whose top is `usualTop` when given,
    // described by `usualText`). True when the value is allowed.
    bool Value(const Field& f, double value, int row = 0) {
        if (!f.allowed.Contains(value)) {
            Error(f, value, f.allowed.Text(f.unit), row);
            return false;
        }
        if (!f.usual.Contains(value)) Warning(f, value, "usually " + f.usual.Text(f.unit), row);
        return true;
    }
    int Layers() const { return layers_; }

private:
    std::vector<Problem>& out_;
    int layers_;
};

const Field& F(const char* name) { return FieldNamed(name); }

void CheckGeneral(const ModelInput& in, Checker& c) {
    const Field& steps = F("time_steps");
    if (!steps.allowed.Contains(in.NrTst))
        c.Add(Severity::Error, steps, 0, std::to_string(in.NrTst), steps.allowed.Text(steps.unit));
    if (StepLengthIndex(in.Ts) < 0)
        c.Add(Severity::Error, F("step_length"), 0, std::to_string(in.Ts) + " days",
              "360, 30, 7 or 1 day (Year, Month, Week or Day)");
    const Field& layers = F("layers");
    if (!layers.allowed.Contains(in.NrLayers))
        c.Add(Severity::Error, layers, 0, std::to_string(in.NrLayers), "1, 2 or 3");
    for (const char* name : {"title1", "title2"})
        if (F(name).TextOf(in).find_first_of("\r\n") != std::string::npos)
            c.Add(Severity::Error, F(name), 0, "a text with a line break", "one line of text");
}

void CheckHydrological(const ModelInput& in, Checker& c) {
    const int n = in.NrTst;
    const bool usualKnown = StepLengthIndex(in.Ts) >= 0;
    for (const Field& f : AllFields()) {
        if (f.group != FieldGroup::Hydrological) continue;
        const Series& s = f.SeriesOf(in);
        const int given = static_cast<int>(s.size()) - 1;
        if (given < n) {
            c.Add(Severity::Error, f, 0, std::to_string(given < 0 ? 0 : given) + " time steps given",
                  "a value for each of the " + std::to_string(n) + " time steps");
            continue;
        }
        const double perDay = f.usual.high;
        const double usual = perDay * in.Ts;
        for (int i = 1; i <= n; ++i) {
            const double v = s[i];
            if (!f.allowed.Contains(v)) {
                c.Error(f, v, f.allowed.Text(f.unit), i);
                continue;
            }
            if (usualKnown && v > usual)
                c.Warning(f, v,
                          "usually at most " + ShortestText(usual) + " mm in a step of " + std::to_string(in.Ts) +
                              (in.Ts == 1 ? " day" : " days") + " (" + ShortestText(perDay) + " mm a day)",
                          i);
        }
    }
}

void CheckSoil(const ModelInput& in, Checker& c) {
    for (const Field& f : AllFields()) {
        if (f.group != FieldGroup::Soil || !ZoneInUse(c.Layers(), f.zone)) continue;
        const double v = f.Get(in);
        if (f.property != "effective porosity") {
            c.Value(f, v);
            continue;
        }
        // At most the zone's total porosity, when that one is valid.
        const Field& total = ZoneField("total_porosity", f.zone);
        const double tp = total.Get(in);
        if (!total.allowed.Contains(tp)) {
            c.Value(f, v);
        } else if (!f.allowed.Contains(v) || v > tp) {
            c.Error(f, v, "above 0 % up to the total porosity of " + ShortestText(tp) + " %");
        }
    }
}

void CheckMeasured(const ModelInput& in, Checker& c) {
    const int n = in.NrTst;
    for (const Field& f : AllFields()) {
        if (f.group != FieldGroup::Salinity || !ZoneInUse(c.Layers(), f.zone)) continue;
        const Series& m = f.SeriesOf(in);
        for (int i = 1; i <= n && i < static_cast<int>(m.size()); ++i) {
            const double v = m[i];
            if (v == -1 || v == 0) continue;  // not measured
            const std::string allowed = f.allowed.Text(f.unit) + ", or empty where nothing was measured";
            if (!std::isfinite(v))
                c.Error(f, v, allowed, i);
            else if (v < 0)  // counts as not measured, and is saved as such
                c.Warning(f, v, allowed + " (taken as not measured)", i);
            else if (!f.usual.Contains(v))
                c.Warning(f, v, "usually " + f.usual.Text(f.unit), i);
        }
    }
}

double RootThickness(const ModelInput& in, int layers) {
    return in.D[Z1] + (layers >= 2 ? in.D[Z2] : 0) + (layers == 3 ? in.D[Z3] : 0);
}

// Whether the depths of the zone boundaries are known: every thickness
// passes its own rule (the comparisons with them would otherwise repeat a
// problem already reported).
bool ThicknessesValid(const ModelInput& in, int layers) {
    for (Zone zone : ZonesOf(layers)) {
        const Field& f = ZoneField("thickness", zone);
        if (!f.allowed.Contains(f.Get(in))) return false;
    }
    return true;
}

void CheckDrainage(const ModelInput& in, Checker& c) {
    if (!in.DrainPresent) return;
    const int layers = c.Layers();
    const Field& depth = F("drain_depth");
    const bool depthValid = c.Value(depth, in.Dd);
    if (depthValid && ThicknessesValid(in, layers)) {
        const double dr = RootThickness(in, layers);
        if (in.Dd < dr)
            c.Error(depth, in.Dd, "at least the root-zone thickness of " + ShortestText(dr) + " m");
        else if (in.Dd > dr + in.D[Zt])
            c.Error(depth, in.Dd,
                    "at most the depth of the transition zone's bottom, " + ShortestText(dr + in.D[Zt]) + " m");
    }
    const bool qh1 = c.Value(F("qh1"), in.QH1);
    const bool qh2 = c.Value(F("qh2"), in.QH2);
    if (qh1 && qh2 && in.QH1 == 0 && in.QH2 == 0) {
        Field both = F("qh1");
        both.label = "reaction factors QH1 and QH2";
        c.Add(Severity::Error, both, 0, "both 0", "at least one above 0 when a drainage system is present");
    }
}

void CheckConditions(const ModelInput& in, Checker& c) {
    const int layers = c.Layers();
    for (const Field& f : AllFields()) {
        if (f.group != FieldGroup::Conditions) continue;
        const double v = f.Get(in);
        if (!c.Value(f, v) || f.name != "initial_water_table") continue;
        // Negative: water above the surface; never below the aquifer.
        const double bottom = RootThickness(in, layers) + in.D[Zt] + in.D[Za];
        if (ThicknessesValid(in, layers) && v > bottom)
            c.Error(f, v,
                    "at most the depth of the aquifer's bottom, " + ShortestText(bottom) +
                        " m (negative: water above the surface)");
    }
}

// Plausibility: values the model accepts but turns into results that are
// not physical. The share of a layer in the evapotranspiration below which
// it is reported (negative: the layer gains water by evaporating), and the
// irrigation lost by the daily spreading above which it is reported, mm.
constexpr double LowestEvapShare = 0;
constexpr double ReportedIrrigationLoss = 1e-9;

// Data the model runs but answers with results that are not physical: one
// warning per cause, naming the field and the consequence.
void CheckPlausibility(const ModelInput& in, int layers, Checker& c) {
    // The conserving variant moves the water table every day, spreads
    // irrigation without loss and gives the transition zone a real outflow.
    const bool prescribed = in.Variant == ModelVariant::Prescribed;
    if (prescribed && in.Ts > 1 && StepLengthIndex(in.Ts) >= 0)
        c.Implausible(F("step_length"), 0, std::to_string(in.Ts) + " days",
             "the water table moves one day's net flow per step while the flows are counted for the whole step; "
             "use daily steps for drainage design");
    const bool thick = ThicknessesValid(in, layers);
    const double dr = thick ? RootThickness(in, layers) : 0;
    if (thick && std::isfinite(in.CDc) && in.CDc >= 0 && in.CDc <= 0.5 * dr)
        c.Implausible(F("critical_depth"), 0, ShortestText(in.CDc) + " m",
             "not larger than half the root zone (" + ShortestText(0.5 * dr) +
                 " m): the capillary rise is at its maximum from any depth of the water table");
    if (thick && layers > 1) {
        const double base[2][3] = {{2.0 / 3.0, 1.0 / 3.0, 0}, {1.0 / 2.0, 1.0 / 3.0, 1.0 / 6.0}};
        for (int k = 0; k < layers; ++k) {
            const Zone z = static_cast<Zone>(k);
            const double share = base[layers - 2][k] + (in.D[z] - dr / layers) / dr;
            if (share < LowestEvapShare)
                c.Implausible(ZoneField("thickness", z), 0, ShortestText(in.D[z]) + " m",
                     "so thin that its share of the evapotranspiration is negative (" +
                         ShortestText(std::round(share * 1000) / 10) + " %): the layer gains water by evaporating");
        }
    }
    if (prescribed && in.Ts == 1 && in.NrTst >= 1 && static_cast<int>(in.Irrig.size()) > in.NrTst) {
        const Series lost = IrrigationLostBySpreading(in);
        for (int i = 1; i <= in.NrTst; ++i)
            if (lost[i] > ReportedIrrigationLoss)
                c.Implausible(F("irrigation"), i, ShortestText(in.Irrig[i]) + " mm",
                     ShortestText(std::round(lost[i] * 1000) / 1000) +
                         " mm of it are lost: a later entry above 0 and at most 0.01 mm writes over its spreading "
                         "over the following dry days");
    }
    if (prescribed && layers == 1 && in.NrLayers == 1 && !in.DrainPresent && in.Inf > 0)
        c.Implausible(F("inflow"), 0, ShortestText(in.Inf) + " mm/day",
             "with one root-zone layer and no drains the transition zone loses the salt of its outflow minus the "
             "inflow, a negative amount: it concentrates without limit");
}

}  // namespace

std::vector<Problem> ValidateDataSet(const ModelInput& in) {
    std::vector<Problem> problems;
    const bool stepsValid = FieldNamed("time_steps").allowed.Contains(in.NrTst);
    const bool layersValid = FieldNamed("layers").allowed.Contains(in.NrLayers);
    // With an unknown layer count the zones of one layer are still checked.
    Checker c(problems, layersValid ? in.NrLayers : 1);
    CheckGeneral(in, c);
    if (stepsValid) CheckHydrological(in, c);
    CheckSoil(in, c);
    if (stepsValid) CheckMeasured(in, c);
    CheckDrainage(in, c);
    CheckConditions(in, c);
    if (stepsValid && layersValid) CheckPlausibility(in, c.Layers(), c);
    return problems;
}

bool HasErrors(const std::vector<Problem>& problems) { return CountOf(problems, Severity::Error) > 0; }

int CountOf(const std::vector<Problem>& problems, Severity severity) {
    int count = 0;
    for (const Problem& p : problems)
        if (p.severity == severity) ++count;
    return count;
}

std::string RoundingChangesChecks(const ModelInput& held, const ModelInput& stored) {
    using Key = std::tuple<std::string, std::string, int>;
    auto errors = [](const ModelInput& in) {
        std::map<Key, Problem> found;
        for (const Problem& p : ValidateDataSet(in))
            if (p.severity == Severity::Error) found.emplace(Key{p.group, p.field, p.row}, p);
        return found;
    };
    const std::map<Key, Problem> before = errors(held), after = errors(stored);
    // The values of each field, as held and as stored.
    std::map<Key, std::pair<std::string, std::string>> values;
    ModelInput copy = held;
    for (const Rounding& r : RoundAsFileStores(copy)) {
        const std::string unit = r.field->unit.empty() ? "" : " " + r.field->unit;
        values[Key{GroupName(r.field->group), r.field->LabelFor(held.NrLayers), r.step}] = {
            ShortestText(r.held) + unit, ShortestText(r.stored) + unit};
    }
    std::string lines;
    auto changed = [&](const Key& key, const Problem& p, bool nowRefused) {
        const auto v = values.find(key);
        lines += "\n" + p.field + (p.row > 0 ? " in time step " + std::to_string(p.row) : "") + ": " +
                 (v == values.end() ? std::string("the value") : v->second.first) +
                 (nowRefused ? " is accepted, but saved as " : " is refused, but saved as ") +
                 (v == values.end() ? std::string("the file keeps it") : v->second.second) +
                 (nowRefused ? " it would be refused" : " it would be accepted") + " (allowed: " + p.allowed + ")";
    };
    for (const auto& [key, p] : after)
        if (!before.count(key)) changed(key, p, true);
    for (const auto& [key, p] : before)
        if (!after.count(key)) changed(key, p, false);
    if (lines.empty()) return lines;
    return "The input data file keeps fewer decimals than the data set holds, and the rounding changes what the "
           "check of the data accepts. The file is not written; please enter the values as the file keeps them:" +
           lines;
}

std::string ProblemLine(const Problem& p) {
    std::string line = p.severity == Severity::Error ? "Error: " : "Warning: ";
    line += p.group + ", " + p.field;
    if (p.row > 0) line += " in time step " + std::to_string(p.row);
    line += ": " + p.value + (p.consequence.empty() ? "; allowed: " + p.allowed : "; " + p.consequence);
    return line;
}

std::string ProblemReport(const std::vector<Problem>& problems) {
    // A series may hold the same problem in thousands of steps: the first
    // few are listed, the rest counted.
    constexpr int ListedSteps = 5;
    const int errors = CountOf(problems, Severity::Error);
    const int warnings = CountOf(problems, Severity::Warning);
    auto count = [](int k, const char* word) {
        return std::to_string(k) + " " + word + (k == 1 ? "" : "s");
    };
    std::string text;
    if (errors > 0)
        text = "The data set has " + count(errors, "error") +
               (warnings > 0 ? " and " + count(warnings, "warning") : std::string()) +
               ". The calculations cannot be made until the errors are corrected.";
    else if (warnings > 0)
        text = "The data set has " + count(warnings, "warning") + ". The calculations can be made.";
    else
        return "The data set has no errors and no warnings.";
    text += "\n";  // an empty line between the summary and the list

    using Key = std::tuple<Severity, std::string, std::string>;
    std::map<Key, int> total, listed;
    for (const Problem& p : problems)
        if (p.row > 0) ++total[std::make_tuple(p.severity, p.group, p.field)];
    for (const Problem& p : problems) {
        if (p.row == 0) {
            text += "\n" + ProblemLine(p);
            continue;
        }
        const Key key = std::make_tuple(p.severity, p.group, p.field);
        const int k = ++listed[key];
        if (k <= ListedSteps) text += "\n" + ProblemLine(p);
        if (k == ListedSteps && total[key] > ListedSteps)
            text += "\n   ... and the same in " + count(total[key] - ListedSteps, "more time step");
    }
    return text;
}

}  // namespace halovane
