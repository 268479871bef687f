// Writing the input data file.
#include <iterator>
#include <string>

#include "Fields.h"
#include "InputFile.h"
#include "InputFileLayout.h"
#include "TextFile.h"

namespace halovane {

using namespace input_layout;

namespace {

const char* const Eol = "\r\n";


class Writer {
public:
    void Line(const std::string& text) {
        out_ += text;
        out_ += Eol;
    }
    std::string& Text() { return out_; }

private:
    std::string out_;
};

// The decimals of a field in the file.
int Decimals(const char* name) { return FieldNamed(name).decimals; }
int Decimals(const char* property, Zone zone) { return ZoneField(property, zone).decimals; }

// Header values: the field's value behind its label, F(width, decimals).
std::string Value(const ModelInput& in, const char* name, int width) {
    const Field& f = FieldNamed(name);
    return FormatFixed(f.Get(in), width, f.decimals);
}
std::string Value(const ModelInput& in, const char* property, Zone zone, int width) {
    const Field& f = ZoneField(property, zone);
    return FormatFixed(f.Get(in), width, f.decimals);
}

void AppendMeasured(std::string& out, double value, const MeasuredColumn& column, int decimals) {
    if (value > 0) {
        AppendFixed(out, value, column.width, decimals);
    } else {
        out.append(static_cast<size_t>(column.absentBlanks), ' ');
        out += '-';
    }
}

double At(const Series& s, int i) { return i < static_cast<int>(s.size()) ? s[i] : 0.0; }

const char* const PropertyLabels1[] = {" Root zone   ", " Trans. zone ", " Aquifer     "};
const char* const PropertyLabels2[] = {" 1st layer   ", " 2nd layer   ", " Trans. zone ", " Aquifer     "};
const char* const PropertyLabels3[] = {" 1st layer   ", " 2nd layer   ", " 3rd layer   ", " Trans. zone ",
                                       " Aquifer     "};

}  // namespace

std::string InputFileText(ModelInput& in) {
    if (in.NrTst != 0)
        in.NrTstHydr = in.NrTst;
    else
        in.NrTst = in.NrTstHydr;
    const int n = in.NrTst;
    const int layers = in.NrLayers;
    Writer w;
    w.Line(" PROGRAM Halovane INPUT DATA");
    w.Line(" Name of this file        : " + in.InputFileName);
    w.Line(" First title              : " + in.Title1);
    w.Line(" Second title             : " + in.Title2);
    w.Line("    General data");
    w.Line(" Nunber of time steps     : " + FormatInt(n));
    w.Line(" Step length (days)       : " + FormatInt(in.Ts));
    w.Line(" Nr of root zone layers   : " + FormatInt(layers));
    w.Line("    Drainage data");
    if (in.DrainPresent) {
        w.Line(" Drainage system present  : yes");
        w.Line(" Depth subsurf. drains(m) : " + Value(in, "drain_depth", 7));
        w.Line(" Drain. react. fact. QH1  : " + Value(in, "qh1", 8));
        w.Line(" Drain. react. fact. QH2  : " + Value(in, "qh2", 8));
    } else {
        w.Line(" Drainage system present  : no");
        w.Line(" Depth subsurf. drains(m)  : n.a.");
        w.Line(" Drain. react. fact. QH1  : n.a.");
        w.Line(" Drain. react. fact. QH2  : n.a.");
    }
    w.Line("    Initial data soil and water");
    w.Line(" Salt conc. irr. water (dS/m)        : " + Value(in, "irrigation_salinity", 8));
    w.Line(" Number of layers in root zone       : " + FormatInt(layers, 5));
    if (layers == 1) {
        w.Line(" Init. salt conc. root zone (dS/m)   : " + Value(in, "initial_salinity", Z1, 8));
    } else {
        w.Line(" Init. salt conc. 1st layer (dS/m)   :" + Value(in, "initial_salinity", Z1, 8));
        w.Line(" Init. salt conc. 2nd layer (dS/m)   :" + Value(in, "initial_salinity", Z2, 8));
        if (layers == 3) w.Line(" Init. salt conc. 3rd layer (dS/m)   :" + Value(in, "initial_salinity", Z3, 8));
    }
    w.Line(" Init. salt conc. trans. zone (dS/m) : " + Value(in, "initial_salinity", Zt, 7));
    w.Line(" Init. salt conc. aquifer (dS/m)     : " + Value(in, "initial_salinity", Za, 7));
    w.Line(" Initial depth water table (m)       : " + Value(in, "initial_water_table", 7));
    w.Line(" Critical depth water table (m)      : " + Value(in, "critical_depth", 7));
    w.Line(" Initial soil moisture content (%)   : " + Value(in, "initial_soil_moisture", 7));
    w.Line(" Irrigation efficiency (%)           : " + Value(in, "irrigation_efficiency", 7));
    w.Line(" Inflow of groundwater (mm/day)      : " + Value(in, "inflow", 7));
    w.Line(" Outflow of groundwater (mm/day)     : " + Value(in, "outflow", 7));
    w.Line(" Salinity groundwater inflow (dS/m)  : " + Value(in, "inflow_salinity", 7));

    w.Line("");
    w.Line(" Hydrological data");
    w.Line(" Time Step     Rainfall      Irrigation    Evaporation");
    w.Line("             mm/time step   mm/time step   mm/time step");
    std::string& text = w.Text();
    text.reserve(text.size() + static_cast<size_t>(n > 0 ? n : 0) * (56 + 100) + 3000);  // both tables
    int hydrologicalDecimals[std::size(HydrologicalColumns)];
    for (size_t k = 0; k < std::size(HydrologicalColumns); ++k)
        hydrologicalDecimals[k] = Decimals(HydrologicalColumns[k].name);
    for (int i = 1; i <= n; ++i) {
        AppendInt(text, i, StepWidth);
        size_t k = 0;
        for (const HydrologicalColumn& c : HydrologicalColumns)
            AppendFixed(text, At(in.*c.field, i), c.width, hydrologicalDecimals[k++]);
        text += Eol;
    }
    w.Line("");

    if (layers == 1) {
        w.Line(" Soil properties, root zone has 1 layer");
        w.Line("             Thickness (m)");
        w.Line(" - - - - - - - - - - - - - - - - - - -");
        w.Line(" Root zone   Transition zone   Aquifer");
    } else if (layers == 2) {
        w.Line(" Soil properties, root zone has 2 layers");
        w.Line("                   Thickness (m) ");
        w.Line(" - - - - - - - - - - - - - - - - - - - - - -");
        w.Line("    Root zone   ");
        w.Line(" - - - - - - - -   Transition zone   Aquifer");
        w.Line(" Layer1    Layer2");
    } else {
        w.Line(" Soil properties, root zone has 3 layers");
        w.Line("                      Thickness (m)");
        w.Line(" - - - - - - - - - - - - - - - - - - - - - - - - - - - ");
        w.Line("         Root zone   ");
        w.Line(" - - - - - - - - - - - - - -  Transition zone   Aquifer");
        w.Line(" Layer1    Layer2    Layer3");
    }
    std::string thicknesses;
    for (const ThicknessColumn& c : ThicknessColumns(layers))
        AppendFixed(thicknesses, in.D[c.zone], c.width, Decimals("thickness", c.zone));
    w.Line(thicknesses);
    w.Line("");
    w.Line(" Other soil properties in %");
    w.Line("              Total porosity  Effective porosity  Leaching efficiency");
    const char* const* labels = layers == 1 ? PropertyLabels1 : layers == 2 ? PropertyLabels2 : PropertyLabels3;
    Zone zones[ZoneCount];
    const int zoneCount = ZonesInUse(layers, zones);
    for (int k = 0; k < zoneCount; ++k) {
        const Zone z = zones[k];
        std::string row = labels[k];
        for (const PropertyColumn& c : PropertyColumns)
            AppendFixed(row, (in.*c.field)[z], c.width, Decimals(c.name, z));
        w.Line(row);
    }
    w.Line("");

    if (layers == 1) {
        w.Line(" Measured soil moisture salinity data ECsm in dS/m, root zone has 1 layer");
        w.Line(" Time step   Root zone   Transition zone   Aquifer");
    } else if (layers == 2) {
        w.Line(" Measured soil moisture salinity data ECsm in dS/m, root zone has 2 layers");
        w.Line("              Root zone   ");
        w.Line(" Time Step  - - - - - - - -   Transition zone   Aquifer");
        w.Line("            Layer1   Layer2");
        w.Line(" - - - - - - - - - - - - - -");
    } else {
        w.Line(" Measured soil moisture salinity data ECsm in dS/m, root zone has 3 layers");
        w.Line("                   Root zone   ");
        w.Line(" Time Step  - - - - - - - - - - -   Transition zone   Aquifer");
        w.Line("            Layer1  Layer2  Layer3");
        w.Line(" - - - - - - - - - - - - - - - - -");
    }
    const auto measured = MeasuredColumns(layers);
    int measuredDecimals[ZoneCount];
    for (Zone z : EveryZone) measuredDecimals[static_cast<int>(z)] = Decimals("measured_salinity", z);
    for (int i = 1; i <= n; ++i) {
        AppendInt(text, i, StepWidth);
        for (const MeasuredColumn& c : measured)
            AppendMeasured(text, At(in.ECsm[c.zone], i), c, measuredDecimals[static_cast<int>(c.zone)]);
        text += Eol;
    }
    return std::move(w.Text());
}

std::string WriteInputFile(ModelInput& in) {
    const std::string text = InputFileText(in);
    std::string error = InputFileProblem(in, text);
    if (!error.empty()) return error;
    return WriteFileReplacing(in.InputFileName, text);
}


std::string InputFileProblem(const ModelInput& in, const std::string& text) {
    // The columns are fixed: a number too wide for its field, or a title
    // with a line break, would read back as something else. Such a file is
    // not written, so that a save never turns the data into other data.
    for (const std::string* title : {&in.Title1, &in.Title2})
        if (title->find_first_of("\r\n") != std::string::npos)
            return "The data cannot be saved in " + in.InputFileName + ": a title holds a line break.";
    ModelInput reread;
    NumberFormat point;
    const InputReadResult read = ParseInputText(text, in.InputFileName, reread, point);
    std::string again;
    if (read.Ok()) {
        reread.InputFileName = in.InputFileName;
        again = InputFileText(reread);
        if (again == text) return std::string();
    }
    // The first line that reads back differently, or where reading failed.
    LineReader written(text), back(again);
    int line = 1;
    for (;; ++line) {
        const std::string& w = written.Next();
        const std::string& b = back.Next();
        if ((!read.Ok() && line == read.line) || (read.Ok() && w != b) || written.AtEnd()) break;
    }
    LineReader lines(text);
    lines.Skip(line - 1);
    const std::string& w = lines.Next();
    const std::string shown = ShownText(w, 90);
    return "The data cannot be saved in " + in.InputFileName + ": line " + std::to_string(line) +
           " would not read back as written (a value too large for its column?): \"" + shown + "\"";
}


}  // namespace halovane
