#include "Validation.h"

#include <cmath>
#include <map>
#include <tuple>

#include "Balance.h"
#include "NumberText.h"

namespace halovane {

namespace {

const char* const General = "General data";
const char* const Hydrological = "Hydrological data";
const char* const Soil = "Soil properties";
const char* const Salinity = "Salinity data";
const char* const Drainage = "Drainage data";
const char* const Conditions = "Initial and boundary conditions";

// Average amounts per day above which a hydrological value is unusual
// (world records of daily rainfall lie near 1 800 mm; potential
// evapotranspiration rarely exceeds 15 mm a day).
constexpr double UsualRainPerDay = 500;
constexpr double UsualIrrigationPerDay = 500;
constexpr double UsualEvapPerDay = 20;
// Salinities above that of a brine of 100 dS/m (seawater: about 50) are
// unusual for soil moisture.
constexpr double UsualSalinity = 100;
// The optimisation of a leaching efficiency tries 11 to 190 %; a given
// efficiency beyond that range has no meaning in the salt balance.
constexpr double HighestLeachingEfficiency = 190;
// The initial and boundary conditions panel keeps these ranges.
constexpr double LowestIrrigationEfficiency = 1;
constexpr double UsualIrrigationEfficiency = 30;
constexpr double UsualSoilMoisture = 20;

// Plausibility: values the model accepts but turns into results that are
// not physical. The share of a layer in the evapotranspiration below which
// it is reported (negative: the layer gains water by evaporating), and the
// irrigation lost by the daily spreading above which it is reported, mm.
constexpr double LowestEvapShare = 0;
constexpr double ReportedIrrigationLoss = 1e-9;

const char* const ZoneName[ZoneCount] = {"layer 1", "layer 2", "layer 3", "the transition zone", "the aquifer"};

std::string ZoneLabel(int layers, Zone z) {
    if (layers == 1 && z == Zone::Layer1) return "the root zone";
    return ZoneName[static_cast<int>(z)];
}

std::string Shown(double value, const char* unit) {
    std::string text = std::isnan(value) ? std::string("not a number") : ShortestText(value);
    if (*unit != '\0' && std::isfinite(value)) text += std::string(" ") + unit;
    return text;
}

class Checker {
public:
    explicit Checker(std::vector<Problem>& out) : out_(out) {}

    void Add(Severity s, const char* group, const std::string& field, int row, const std::string& value,
             const std::string& allowed) {
        out_.push_back(Problem{s, group, field, row, value, allowed, std::string()});
    }
    Problem& Last() { return out_.back(); }
    void Error(const char* group, const std::string& field, double value, const char* unit,
               const std::string& allowed, int row = 0) {
        Add(Severity::Error, group, field, row, Shown(value, unit), allowed);
    }
    void Warning(const char* group, const std::string& field, double value, const char* unit,
                 const std::string& allowed, int row = 0) {
        Add(Severity::Warning, group, field, row, Shown(value, unit), allowed);
    }
    // Errors unless the value is finite and not below `low`.
    bool AtLeast(const char* group, const std::string& field, double value, double low, const char* unit,
                 int row = 0) {
        if (std::isfinite(value) && value >= low) return true;
        Error(group, field, value, unit, ShortestText(low) + " " + unit + " or more", row);
        return false;
    }
    // Errors unless the value is finite and above `low`.
    bool Above(const char* group, const std::string& field, double value, double low, const char* unit,
               const std::string& allowed) {
        if (std::isfinite(value) && value > low) return true;
        Error(group, field, value, unit, allowed);
        return false;
    }

private:
    std::vector<Problem>& out_;
};

void CheckGeneral(const ModelInput& in, Checker& c) {
    if (in.NrTst < 1 || in.NrTst > MaxTimeSteps)
        c.Add(Severity::Error, General, "number of time steps", 0, std::to_string(in.NrTst),
              "1 to " + std::to_string(MaxTimeSteps));
    if (StepLengthIndex(in.Ts) < 0)
        c.Add(Severity::Error, General, "length of a time step", 0, std::to_string(in.Ts) + " days",
              "360, 30, 7 or 1 day (Year, Month, Week or Day)");
    if (in.NrLayers < 1 || in.NrLayers > 3)
        c.Add(Severity::Error, General, "number of root-zone layers", 0, std::to_string(in.NrLayers), "1, 2 or 3");
    const std::pair<const std::string*, const char*> titles[] = {{&in.Title1, "first title"},
                                                                 {&in.Title2, "second title"}};
    for (const auto& [title, name] : titles)
        if (title->find_first_of("\r\n") != std::string::npos)
            c.Add(Severity::Error, General, name, 0, "a text with a line break", "one line of text");
}

void CheckHydrological(const ModelInput& in, Checker& c) {
    struct Column {
        const Series* series;
        const char* name;
        double usualPerDay;
    };
    const Column columns[] = {{&in.Rain, "rainfall", UsualRainPerDay},
                              {&in.Irrig, "irrigation", UsualIrrigationPerDay},
                              {&in.EvapT, "potential evapotranspiration", UsualEvapPerDay}};
    const int n = in.NrTst;
    for (const Column& col : columns) {
        const int given = static_cast<int>(col.series->size()) - 1;
        if (given < n) {
            c.Add(Severity::Error, Hydrological, col.name, 0,
                  std::to_string(given < 0 ? 0 : given) + " time steps given",
                  "a value for each of the " + std::to_string(n) + " time steps");
            continue;
        }
        const bool usualKnown = StepLengthIndex(in.Ts) >= 0;
        const double usual = col.usualPerDay * in.Ts;
        for (int i = 1; i <= n; ++i) {
            const double v = (*col.series)[i];
            if (!c.AtLeast(Hydrological, col.name, v, 0, "mm", i)) continue;
            if (usualKnown && v > usual)
                c.Warning(Hydrological, col.name, v, "mm",
                          "usually at most " + ShortestText(usual) + " mm in a step of " + std::to_string(in.Ts) +
                              (in.Ts == 1 ? " day" : " days") + " (" + ShortestText(col.usualPerDay) +
                              " mm a day)",
                          i);
        }
    }
}

void CheckSoil(const ModelInput& in, int layers, Checker& c) {
    for (Zone zone : EveryZone) {
        if (!ZoneInUse(layers, zone)) continue;
        const std::string name = ZoneLabel(layers, zone);
        const double d = in.D[zone];
        if (zone == Zone::Transition)
            c.AtLeast(Soil, "thickness of " + name, d, 0, "m");
        else
            c.Above(Soil, "thickness of " + name, d, 0, "m", "above 0 m");

        const double tp = in.TP[zone];
        const bool tpValid = std::isfinite(tp) && tp > 0 && tp <= 100;
        if (!tpValid) c.Error(Soil, "total porosity of " + name, tp, "%", "above 0 % up to 100 %");
        const double ep = in.EP[zone];
        const double epTop = tpValid ? tp : 100;
        if (!(std::isfinite(ep) && ep > 0 && ep <= epTop))
            c.Error(Soil, "effective porosity of " + name, ep, "%",
                    tpValid ? "above 0 % up to the total porosity of " + ShortestText(tp) + " %"
                            : std::string("above 0 % up to 100 %"));

        const double le = in.LE[zone];
        if (!(std::isfinite(le) && le >= 0 && le <= HighestLeachingEfficiency))
            c.Error(Soil, "leaching efficiency of " + name, le, "%",
                    "0 % up to " + ShortestText(HighestLeachingEfficiency) + " %");

        const double s = in.Sini[zone];
        if (c.AtLeast(Soil, "initial salinity of " + name, s, 0, "dS/m") && s > UsualSalinity)
            c.Warning(Soil, "initial salinity of " + name, s, "dS/m",
                      "usually at most " + ShortestText(UsualSalinity) + " dS/m");
    }
}

void CheckMeasured(const ModelInput& in, int layers, Checker& c) {
    const int n = in.NrTst;
    for (Zone zone : EveryZone) {
        if (!ZoneInUse(layers, zone)) continue;
        const Series& m = in.ECsm[zone];
        const std::string field = "measured salinity of " + ZoneLabel(layers, zone);
        for (int i = 1; i <= n && i < static_cast<int>(m.size()); ++i) {
            const double v = m[i];
            if (v == -1 || v == 0) continue;  // not measured
            if (!std::isfinite(v))
                c.Error(Salinity, field, v, "dS/m", "above 0 dS/m, or empty where nothing was measured", i);
            else if (v < 0)  // counts as not measured, and is saved as such
                c.Warning(Salinity, field, v, "dS/m",
                          "above 0 dS/m, or empty where nothing was measured (taken as not measured)", i);
            else if (v > UsualSalinity)
                c.Warning(Salinity, field, v, "dS/m", "usually at most " + ShortestText(UsualSalinity) + " dS/m",
                          i);
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
    for (Zone zone : EveryZone) {
        if (!ZoneInUse(layers, zone)) continue;
        const double d = in.D[zone];
        if (!std::isfinite(d) || d < 0 || (d == 0 && zone != Zone::Transition)) return false;
    }
    return true;
}

void CheckDrainage(const ModelInput& in, int layers, Checker& c) {
    if (!in.DrainPresent) return;
    const bool depthValid = c.AtLeast(Drainage, "depth of the drains", in.Dd, 0, "m");
    const double dr = ThicknessesValid(in, layers) ? RootThickness(in, layers) : 0;
    if (depthValid && ThicknessesValid(in, layers)) {
        if (in.Dd < dr)
            c.Error(Drainage, "depth of the drains", in.Dd, "m",
                    "at least the root-zone thickness of " + ShortestText(dr) + " m");
        else if (in.Dd > dr + in.D[Zt])
            c.Error(Drainage, "depth of the drains", in.Dd, "m",
                    "at most the depth of the transition zone's bottom, " + ShortestText(dr + in.D[Zt]) + " m");
    }
    const bool qh1 = c.AtLeast(Drainage, "reaction factor QH1", in.QH1, 0, "m/day/m");
    const bool qh2 = c.AtLeast(Drainage, "reaction factor QH2", in.QH2, 0, "m/day/msq");
    if (qh1 && qh2 && in.QH1 == 0 && in.QH2 == 0)
        c.Add(Severity::Error, Drainage, "reaction factors QH1 and QH2", 0, "both 0",
              "at least one above 0 when a drainage system is present");
}

void CheckConditions(const ModelInput& in, int layers, Checker& c) {
    c.AtLeast(Conditions, "salinity of the irrigation water", in.Si, 0, "dS/m");
    if (std::isfinite(in.Dwtini)) {
        const double bottom = RootThickness(in, layers) + in.D[Zt] + in.D[Za];
        if (ThicknessesValid(in, layers) && in.Dwtini > bottom)
            c.Error(Conditions, "initial depth of the water table", in.Dwtini, "m",
                    "at most the depth of the aquifer's bottom, " + ShortestText(bottom) +
                        " m (negative: water above the surface)");
    } else {
        c.Error(Conditions, "initial depth of the water table", in.Dwtini, "m", "a depth in m");
    }
    c.AtLeast(Conditions, "critical depth of the water table", in.CDc, 0, "m");

    if (!(std::isfinite(in.SMini) && in.SMini >= 0 && in.SMini <= 100))
        c.Error(Conditions, "initial soil moisture content", in.SMini, "%", "0 % up to 100 %");
    else if (in.SMini < UsualSoilMoisture)
        c.Warning(Conditions, "initial soil moisture content", in.SMini, "%",
                  "usually " + ShortestText(UsualSoilMoisture) + " % up to 100 %");

    if (!(std::isfinite(in.IrrEff) && in.IrrEff >= LowestIrrigationEfficiency && in.IrrEff <= 100))
        c.Error(Conditions, "irrigation efficiency", in.IrrEff, "%",
                ShortestText(LowestIrrigationEfficiency) + " % up to 100 %");
    else if (in.IrrEff < UsualIrrigationEfficiency)
        c.Warning(Conditions, "irrigation efficiency", in.IrrEff, "%",
                  "usually " + ShortestText(UsualIrrigationEfficiency) + " % up to 100 %");

    c.AtLeast(Conditions, "inflow of groundwater", in.Inf, 0, "mm/day");
    c.AtLeast(Conditions, "outflow of groundwater", in.Out, 0, "mm/day");
    c.AtLeast(Conditions, "salinity of the groundwater inflow", in.Sinf, 0, "dS/m");
}

// Data the model runs but answers with results that are not physical: one
// warning per cause, naming the field and the consequence.
void CheckPlausibility(const ModelInput& in, int layers, Checker& c) {
    auto warn = [&c](const char* group, const std::string& field, int row, const std::string& value,
                     const std::string& consequence) {
        c.Add(Severity::Warning, group, field, row, value, std::string());
        c.Last().consequence = consequence;
    };
    if (in.Ts > 1 && StepLengthIndex(in.Ts) >= 0)
        warn(General, "length of a time step", 0, std::to_string(in.Ts) + " days",
             "the water table moves one day's net flow per step while the flows are counted for the whole step; "
             "use daily steps for drainage design");
    const bool thick = ThicknessesValid(in, layers);
    const double dr = thick ? RootThickness(in, layers) : 0;
    if (thick && std::isfinite(in.CDc) && in.CDc >= 0 && in.CDc <= 0.5 * dr)
        warn(Conditions, "critical depth of the water table", 0, ShortestText(in.CDc) + " m",
             "not larger than half the root zone (" + ShortestText(0.5 * dr) +
                 " m): the capillary rise is at its maximum from any depth of the water table");
    if (thick && layers > 1) {
        const double base[2][3] = {{2.0 / 3.0, 1.0 / 3.0, 0}, {1.0 / 2.0, 1.0 / 3.0, 1.0 / 6.0}};
        for (int k = 0; k < layers; ++k) {
            const Zone z = static_cast<Zone>(k);
            const double share = base[layers - 2][k] + (in.D[z] - dr / layers) / dr;
            if (share < LowestEvapShare)
                warn(Soil, "thickness of " + std::string(ZoneName[k]), 0, ShortestText(in.D[z]) + " m",
                     "so thin that its share of the evapotranspiration is negative (" +
                         ShortestText(std::round(share * 1000) / 10) + " %): the layer gains water by evaporating");
        }
    }
    if (in.Ts == 1 && in.NrTst >= 1 && static_cast<int>(in.Irrig.size()) > in.NrTst) {
        const Series lost = IrrigationLostBySpreading(in);
        for (int i = 1; i <= in.NrTst; ++i)
            if (lost[i] > ReportedIrrigationLoss)
                warn(Hydrological, "irrigation", i, ShortestText(in.Irrig[i]) + " mm",
                     ShortestText(std::round(lost[i] * 1000) / 1000) +
                         " mm of it are lost: a later entry above 0 and at most 0.01 mm writes over its spreading "
                         "over the following dry days");
    }
    if (layers == 1 && in.NrLayers == 1 && !in.DrainPresent && in.Inf > 0)
        warn(Conditions, "inflow of groundwater", 0, ShortestText(in.Inf) + " mm/day",
             "with one root-zone layer and no drains the transition zone loses the salt of its outflow minus the "
             "inflow, a negative amount: it concentrates without limit");
}

}  // namespace

std::vector<Problem> ValidateDataSet(const ModelInput& in) {
    std::vector<Problem> problems;
    Checker c(problems);
    CheckGeneral(in, c);
    const bool stepsValid = in.NrTst >= 1 && in.NrTst <= MaxTimeSteps;
    const bool layersValid = in.NrLayers >= 1 && in.NrLayers <= 3;
    // With an unknown layer count the zones of one layer are still checked.
    const int layers = layersValid ? in.NrLayers : 1;
    if (stepsValid) CheckHydrological(in, c);
    CheckSoil(in, layers, c);
    if (stepsValid) CheckMeasured(in, layers, c);
    CheckDrainage(in, layers, c);
    CheckConditions(in, layers, c);
    if (stepsValid && layersValid) CheckPlausibility(in, layers, c);
    return problems;
}

bool HasErrors(const std::vector<Problem>& problems) { return CountOf(problems, Severity::Error) > 0; }

int CountOf(const std::vector<Problem>& problems, Severity severity) {
    int count = 0;
    for (const Problem& p : problems)
        if (p.severity == severity) ++count;
    return count;
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
