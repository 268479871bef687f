#include "Fields.h"

#include <cmath>
#include <map>
#include <stdexcept>

#include "NumberText.h"

namespace halovane {

// ------------------------------------------------------------------ zones

const char* ZoneKey(Zone zone) {
    static const char* const keys[ZoneCount] = {"layer1", "layer2", "layer3", "transition", "aquifer"};
    return keys[static_cast<int>(zone)];
}

std::string ZoneLabel(int layers, Zone zone) {
    static const char* const labels[ZoneCount] = {"layer 1", "layer 2", "layer 3", "the transition zone",
                                                  "the aquifer"};
    if (layers == 1 && zone == Zone::Layer1) return "the root zone";
    return labels[static_cast<int>(zone)];
}

std::string ZoneHeading(int layers, Zone zone) {
    static const char* const headings[ZoneCount] = {"1st layer", "2nd layer", "3rd layer", "Transition zone",
                                                    "Aquifer"};
    if (layers == 1 && zone == Zone::Layer1) return "Root zone";
    return headings[static_cast<int>(zone)];
}

std::vector<Zone> ZonesOf(int layers) {
    std::vector<Zone> zones;
    for (Zone z : EveryZone)
        if (ZoneInUse(layers, z)) zones.push_back(z);
    return zones;
}

// ------------------------------------------------------------------ ranges

const char* GroupName(FieldGroup group) {
    static const char* const names[FieldGroupCount] = {"General data",     "Hydrological data",
                                                       "Soil properties",  "Salinity data",
                                                       "Drainage data",    "Initial and boundary conditions"};
    return names[static_cast<int>(group)];
}

bool Range::Contains(double value) const {
    if (!std::isfinite(value)) return false;
    if (lowIncluded ? value < low : value <= low) return false;
    if (highIncluded ? value > high : value >= high) return false;
    return true;
}

std::string Range::Text(const std::string& unit) const {
    auto with = [&unit](double v) { return ShortestText(v) + (unit.empty() ? "" : " " + unit); };
    const bool bottom = std::isfinite(low), top = std::isfinite(high);
    std::string from = bottom ? (lowIncluded ? with(low) : "above " + with(low)) : std::string();
    if (bottom && top) return from + " up to " + with(high);
    if (bottom) return lowIncluded ? from + " or more" : from;
    if (top) return "at most " + with(high);
    return unit.empty() ? "a number" : "a number in " + unit;
}

double RoundAsStored(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    double stored = value;
    return TryStringToFloat(FormatFixed(value, 0, decimals), '.', stored) ? stored : value;
}

// ------------------------------------------------------------------ fields

std::string Field::LabelFor(int layers) const {
    return perZone ? property + " of " + ZoneLabel(layers, zone) : label;
}

bool Field::InUse(const ModelInput& in) const {
    if (perZone) return ZoneInUse(in.NrLayers >= 1 && in.NrLayers <= 3 ? in.NrLayers : 1, zone);
    if (group == FieldGroup::Drainage && access.flag == nullptr) return in.DrainPresent;
    return true;
}

double Field::Get(const ModelInput& in) const {
    if (access.number) return in.*access.number;
    if (access.count) return in.*access.count;
    if (access.flag) return in.*access.flag ? 1 : 0;
    if (access.zoneNumber) return (in.*access.zoneNumber)[zone];
    if (access.variant) return static_cast<double>(in.*access.variant);
    throw std::logic_error("the field " + name + " is not a single number");
}

void Field::Set(ModelInput& in, double value) const {
    if (access.number)
        in.*access.number = value;
    else if (access.count)
        in.*access.count = static_cast<int>(value);
    else if (access.flag)
        in.*access.flag = value != 0;
    else if (access.zoneNumber)
        (in.*access.zoneNumber)[zone] = value;
    else if (access.variant) {
        if (!allowed.Contains(value) || value != std::floor(value))
            throw std::out_of_range("the field " + name + " has no word at position " + ShortestText(value));
        in.*access.variant = static_cast<ModelVariant>(static_cast<int>(value));
    } else
        throw std::logic_error("the field " + name + " is not a single number");
}

const Series& Field::SeriesOf(const ModelInput& in) const {
    if (access.series) return in.*access.series;
    if (access.zoneSeries) return (in.*access.zoneSeries)[zone];
    throw std::logic_error("the field " + name + " is not a series");
}

Series& Field::SeriesOf(ModelInput& in) const {
    return const_cast<Series&>(SeriesOf(static_cast<const ModelInput&>(in)));
}

const std::string& Field::TextOf(const ModelInput& in) const {
    if (access.text) return in.*access.text;
    throw std::logic_error("the field " + name + " is not a text");
}

void Field::SetText(ModelInput& in, const std::string& text) const {
    if (!access.text) throw std::logic_error("the field " + name + " is not a text");
    in.*access.text = text;
}

int Field::ChoiceOf(const std::string& word) const {
    for (size_t k = 0; k < choices.size(); ++k)
        if (choices[k].word == word) return static_cast<int>(k);
    return -1;
}

std::string Field::ChoicesText() const {
    std::string text;
    for (size_t k = 0; k < choices.size(); ++k)
        text += (k == 0 ? "" : k + 1 == choices.size() ? " or " : ", ") + choices[k].word;
    return text;
}

double Field::Stored(double value) const {
    if (kind == FieldKind::Text || integer) return value;
    return RoundAsStored(value, decimals);
}

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// Ranges by their ends: [low, ...), (low, ...), [low, high], (low, high].
Range AtLeast(double low) { return Range{low, Infinity, true, true}; }
Range Above(double low) { return Range{low, Infinity, false, true}; }
Range Between(double low, double high) { return Range{low, high, true, true}; }
Range AboveUpTo(double low, double high) { return Range{low, high, false, true}; }
Range AtMost(double high) { return Range{-Infinity, high, true, true}; }
const Range Any{};

// The optimisation of a leaching efficiency tries 11 to 190 %; a given
// efficiency beyond that range has no meaning in the salt balance.
constexpr double HighestLeachingEfficiency = 190;
// Salinities above that of a brine of 100 dS/m (seawater: about 50) are
// unusual for soil moisture.
constexpr double UsualSalinity = 100;

std::vector<Field> BuildTable() {
    std::vector<Field> t;
    auto add = [&t](const char* name, const char* label, const char* caption, const char* unit, FieldGroup group,
                    FieldKind kind, Range allowed, Range usual, int decimals, Field::Access access) -> Field& {
        Field f;
        f.name = name;
        f.label = label;
        f.caption = caption;
        f.unit = unit;
        f.group = group;
        f.kind = kind;
        f.allowed = allowed;
        f.usual = usual;
        f.decimals = decimals;
        f.access = access;
        f.integer = access.count != nullptr || access.flag != nullptr || access.variant != nullptr;
        t.push_back(f);
        return t.back();
    };
    auto number = [](double ModelInput::*m) { Field::Access a; a.number = m; return a; };
    auto count = [](int ModelInput::*m) { Field::Access a; a.count = m; return a; };
    auto text = [](std::string ModelInput::*m) { Field::Access a; a.text = m; return a; };
    auto series = [](Series ModelInput::*m) { Field::Access a; a.series = m; return a; };

    using G = FieldGroup;
    using K = FieldKind;

    // General data. The step length is one of 360, 30, 7 and 1 days; its
    // range only bounds it.
    add("title1", "first title", "Title1", "", G::General, K::Text, Any, Any, 0, text(&ModelInput::Title1));
    add("title2", "second title", "Title2", "", G::General, K::Text, Any, Any, 0, text(&ModelInput::Title2));
    add("time_steps", "number of time steps", "Number of timesteps", "", G::General, K::Number,
        Between(1, MaxTimeSteps), Any, 0, count(&ModelInput::NrTst));
    add("step_length", "length of a time step", "Length of time steps", "days", G::General, K::Number,
        Between(1, 360), Any, 0, count(&ModelInput::Ts));
    add("layers", "number of root-zone layers", "Nr. of layers in root zone", "", G::General, K::Number,
        Between(1, 3), Any, 0, count(&ModelInput::NrLayers));
    // The model: the prescribed one, or the variant whose water and salt
    // balances close.
    Field::Access model;
    model.variant = &ModelInput::Variant;
    add("model_variant", "model variant", "Model:", "", G::General, K::Choice, Between(0, 1), Any, 0, model).choices = {
        {VariantWord(ModelVariant::Prescribed), "Prescribed"},
        {VariantWord(ModelVariant::Conserving), "Conserving (balances closed)"},
    };

    // Hydrological data, mm per time step. Usual amounts per day: world
    // records of daily rainfall lie near 1 800 mm; potential
    // evapotranspiration rarely exceeds 15 mm a day.
    add("rainfall", "rainfall", "Rainfall", "mm", G::Hydrological, K::PerStep, AtLeast(0), AtMost(500), 2,
        series(&ModelInput::Rain))
        .usualPerDay = true;
    add("irrigation", "irrigation", "Irrigation", "mm", G::Hydrological, K::PerStep, AtLeast(0), AtMost(500), 2,
        series(&ModelInput::Irrig))
        .usualPerDay = true;
    add("evapotranspiration", "potential evapotranspiration", "Evaporation", "mm", G::Hydrological, K::PerStep,
        AtLeast(0), AtMost(20), 2, series(&ModelInput::EvapT))
        .usualPerDay = true;

    // Soil properties per zone. The effective porosity is also at most the
    // total porosity; that rule joins two fields and is the check's own.
    struct Property {
        const char* key;
        const char* words;
        const char* caption;
        const char* unit;
        ZoneArray<double> ModelInput::*member;
        int decimals;
    };
    const Property properties[] = {
        {"thickness", "thickness", "Thickness (m)", "m", &ModelInput::D, 2},
        {"total_porosity", "total porosity", "Total porosity (%)", "%", &ModelInput::TP, 0},
        {"effective_porosity", "effective porosity", "Effective (drainable) porosity (%)", "%", &ModelInput::EP, 0},
        {"leaching_efficiency", "leaching efficiency", "Leaching efficiency (%)", "%", &ModelInput::LE, 0},
        {"initial_salinity", "initial salinity", "Initial salinity (dS/m)", "dS/m", &ModelInput::Sini, 1},
    };
    for (Zone zone : EveryZone)
        for (const Property& p : properties) {
            Range allowed = AtLeast(0), usual = Any;
            const std::string key = p.key;
            if (key == "thickness") allowed = zone == Zone::Transition ? AtLeast(0) : Above(0);
            if (key == "total_porosity" || key == "effective_porosity") allowed = AboveUpTo(0, 100);
            if (key == "leaching_efficiency") allowed = Between(0, HighestLeachingEfficiency);
            if (key == "initial_salinity") usual = AtMost(UsualSalinity);
            Field::Access a;
            a.zoneNumber = p.member;
            const std::string name = key + "_" + ZoneKey(zone);
            Field& f = add("", "", p.caption, p.unit, G::Soil, K::Number, allowed, usual, p.decimals, a);
            f.name = name;
            f.property = p.words;
            f.perZone = true;
            f.zone = zone;
            f.label = f.LabelFor(3);
        }

    // Measured salinities per zone and time step; -1 (and anything not
    // above 0) means not measured, which the check treats on its own.
    for (Zone zone : EveryZone) {
        Field::Access a;
        a.zoneSeries = &ModelInput::ECsm;
        Field& f = add("", "", "", "dS/m", G::Salinity, K::PerStep, Above(0), AtMost(UsualSalinity), 2, a);
        f.name = std::string("measured_salinity_") + ZoneKey(zone);
        f.property = "measured salinity";
        f.perZone = true;
        f.zone = zone;
        f.label = f.LabelFor(3);
        f.caption = ZoneHeading(3, zone);
    }

    // Subsurface drainage. The drain depth lies within the transition
    // zone and QH1 and QH2 are not both 0; those rules join fields.
    Field::Access present;
    present.flag = &ModelInput::DrainPresent;
    add("drains_present", "subsurface drainage system present", "Subsurface drainage system present?", "",
        G::Drainage, K::Number, Between(0, 1), Any, 0, present);
    add("drain_depth", "depth of the drains", "Drainage depth (m)", "m", G::Drainage, K::Number, AtLeast(0), Any, 2,
        number(&ModelInput::Dd));
    add("qh1", "reaction factor QH1", "Drainage reaction factor QH1 (m/day/m)", "m/day/m", G::Drainage, K::Number,
        AtLeast(0), Any, 4, number(&ModelInput::QH1));
    add("qh2", "reaction factor QH2", "Drainage reaction factor QH2 (m/day/msq)", "m/day/msq", G::Drainage,
        K::Number, AtLeast(0), Any, 4, number(&ModelInput::QH2));

    // Initial and boundary conditions, in the order of the panel's boxes.
    // The initial water table lies above the aquifer's bottom (a rule of
    // two groups); negative depths are water above the surface.
    add("irrigation_salinity", "salinity of the irrigation water", "Salinity irrigation water (dS/m)", "dS/m",
        G::Conditions, K::Number, AtLeast(0), Any, 1, number(&ModelInput::Si));
    add("initial_water_table", "initial depth of the water table", "Initial depth water table (m)", "m",
        G::Conditions, K::Number, Any, Any, 2, number(&ModelInput::Dwtini));
    add("inflow", "inflow of groundwater", "Ground water inflow (mm/day)", "mm/day", G::Conditions, K::Number,
        AtLeast(0), Any, 1, number(&ModelInput::Inf));
    add("outflow", "outflow of groundwater", "Ground water outflow (mm/day)", "mm/day", G::Conditions, K::Number,
        AtLeast(0), Any, 1, number(&ModelInput::Out));
    add("critical_depth", "critical depth of the water table", "Crtical depth of water table for capillary rise (m)",
        "m", G::Conditions, K::Number, AtLeast(0), Any, 2, number(&ModelInput::CDc));
    add("irrigation_efficiency", "irrigation efficiency", "Irrigation efficiency (%)", "%", G::Conditions, K::Number,
        Between(1, 100), Between(30, 100), 1, number(&ModelInput::IrrEff));
    add("initial_soil_moisture", "initial soil moisture content", "Initial soil moisture content (%)", "%",
        G::Conditions, K::Number, Between(0, 100), Between(20, 100), 2, number(&ModelInput::SMini));
    add("inflow_salinity", "salinity of the groundwater inflow", "Salinity ground water inflow (dS/m)", "dS/m",
        G::Conditions, K::Number, AtLeast(0), Any, 1, number(&ModelInput::Sinf));
    return t;
}

}  // namespace

std::vector<Rounding> RoundAsFileStores(ModelInput& in) {
    std::vector<Rounding> changes;
    for (const Field& f : AllFields()) {
        if (f.kind == FieldKind::Text || f.integer || !f.InUse(in)) continue;
        if (f.kind == FieldKind::Number) {
            const double held = f.Get(in), stored = f.Stored(held);
            if (!(stored == held) && std::isfinite(held)) {
                f.Set(in, stored);
                changes.push_back({&f, 0, held, stored});
            }
            continue;
        }
        Series& s = f.SeriesOf(in);
        const bool measured = f.group == FieldGroup::Salinity;
        for (int i = 1; i <= in.NrTst && i < static_cast<int>(s.size()); ++i) {
            const double held = s[i];
            if (measured && !(held > 0)) continue;  // saved as "-", read as not measured
            const double stored = f.Stored(held);
            if (stored == held || !std::isfinite(held)) continue;
            s[i] = stored;
            changes.push_back({&f, i, held, stored});
        }
    }
    return changes;
}

std::string RoundingReport(const std::vector<Rounding>& roundings, int layers) {
    std::string text;
    std::map<const Field*, int> count;
    for (const Rounding& r : roundings) ++count[r.field];
    std::map<const Field*, int> listed;
    for (const Rounding& r : roundings) {
        const Field& f = *r.field;
        if (++listed[&f] > 1) continue;
        const std::string unit = f.unit.empty() ? "" : " " + f.unit;
        text += "\n" + f.LabelFor(layers);
        if (r.step > 0) text += " in time step " + std::to_string(r.step);
        text += ": " + ShortestText(r.held) + unit + " is saved as " + ShortestText(r.stored) + unit + " (" +
                std::to_string(f.decimals) + (f.decimals == 1 ? " decimal)" : " decimals)");
        if (count[&f] > 1)
            text += ", and " + std::to_string(count[&f] - 1) + " more time step" + (count[&f] > 2 ? "s" : "");
    }
    return text;
}

const std::vector<Field>& AllFields() {
    static const std::vector<Field> table = BuildTable();
    return table;
}

const Field* FindField(const std::string& name) {
    static const std::map<std::string, const Field*> index = [] {
        std::map<std::string, const Field*> m;
        for (const Field& f : AllFields()) m.emplace(f.name, &f);
        return m;
    }();
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

const Field& FieldNamed(const std::string& name) {
    const Field* f = FindField(name);
    if (!f) throw std::out_of_range("no field is named " + name);
    return *f;
}

const Field& ZoneField(const std::string& property, Zone zone) {
    return FieldNamed(property + "_" + ZoneKey(zone));
}

}  // namespace halovane
