#include "InputFile.h"

#include <string>

#include "TextFile.h"

namespace halovane {

namespace {

const char* const Eol = "\r\n";

// ---------------------------------------------------------------- writing

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

struct MeasuredColumn {
    Zone zone;
    int width;         // a measured value: F(width, 2)
    int absentBlanks;  // no value: this many blanks and "-"
    int from, to;      // reader window
};

void AppendMeasured(std::string& out, double value, const MeasuredColumn& column) {
    if (value > 0) {
        AppendFixed(out, value, column.width, 2);
    } else {
        out.append(static_cast<size_t>(column.absentBlanks), ' ');
        out += '-';
    }
}

const MeasuredColumn Columns1[] = {
    {Zone::Layer1, 12, 10, 11, 22}, {Zone::Transition, 18, 16, 23, 40}, {Zone::Aquifer, 10, 8, 41, 50}};
const MeasuredColumn Columns2[] = {{Zone::Layer1, 8, 7, 11, 18},
                                   {Zone::Layer2, 9, 8, 19, 27},
                                   {Zone::Transition, 18, 17, 28, 45},
                                   {Zone::Aquifer, 10, 8, 46, 55}};
const MeasuredColumn Columns3[] = {{Zone::Layer1, 8, 7, 11, 18},
                                   {Zone::Layer2, 8, 7, 19, 26},
                                   {Zone::Layer3, 8, 7, 27, 34},
                                   {Zone::Transition, 18, 16, 35, 52},
                                   {Zone::Aquifer, 10, 8, 53, 62}};

struct ColumnSet {
    const MeasuredColumn* begin;
    const MeasuredColumn* end;
};

ColumnSet MeasuredColumns(int layers) {
    if (layers == 2) return {std::begin(Columns2), std::end(Columns2)};
    if (layers == 3) return {std::begin(Columns3), std::end(Columns3)};
    return {std::begin(Columns1), std::end(Columns1)};
}

double At(const Series& s, int i) { return i < static_cast<int>(s.size()) ? s[i] : 0.0; }

const char* const PropertyLabels1[] = {" Root zone   ", " Trans. zone ", " Aquifer     "};
const char* const PropertyLabels2[] = {" 1st layer   ", " 2nd layer   ", " Trans. zone ", " Aquifer     "};
const char* const PropertyLabels3[] = {" 1st layer   ", " 2nd layer   ", " 3rd layer   ", " Trans. zone ",
                                       " Aquifer     "};

// The zones in use, from the surface down.
int ZonesInUse(int layers, Zone* zones) {
    int count = 0;
    for (int z = 0; z < ZoneCount; ++z)
        if (ZoneInUse(layers, static_cast<Zone>(z))) zones[count++] = static_cast<Zone>(z);
    return count;
}

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
        w.Line(" Depth subsurf. drains(m) : " + FormatFixed(in.Dd, 7, 2));
        w.Line(" Drain. react. fact. QH1  : " + FormatFixed(in.QH1, 8, 4));
        w.Line(" Drain. react. fact. QH2  : " + FormatFixed(in.QH2, 8, 4));
    } else {
        w.Line(" Drainage system present  : no");
        w.Line(" Depth subsurf. drains(m)  : n.a.");
        w.Line(" Drain. react. fact. QH1  : n.a.");
        w.Line(" Drain. react. fact. QH2  : n.a.");
    }
    w.Line("    Initial data soil and water");
    w.Line(" Salt conc. irr. water (dS/m)        : " + FormatFixed(in.Si, 8, 1));
    w.Line(" Number of layers in root zone       : " + FormatInt(layers, 5));
    if (layers == 1) {
        w.Line(" Init. salt conc. root zone (dS/m)   : " + FormatFixed(in.Sini[Z1], 8, 1));
    } else {
        w.Line(" Init. salt conc. 1st layer (dS/m)   :" + FormatFixed(in.Sini[Z1], 8, 1));
        w.Line(" Init. salt conc. 2nd layer (dS/m)   :" + FormatFixed(in.Sini[Z2], 8, 1));
        if (layers == 3) w.Line(" Init. salt conc. 3rd layer (dS/m)   :" + FormatFixed(in.Sini[Z3], 8, 1));
    }
    w.Line(" Init. salt conc. trans. zone (dS/m) : " + FormatFixed(in.Sini[Zt], 7, 1));
    w.Line(" Init. salt conc. aquifer (dS/m)     : " + FormatFixed(in.Sini[Za], 7, 1));
    w.Line(" Initial depth water table (m)       : " + FormatFixed(in.Dwtini, 7, 2));
    w.Line(" Critical depth water table (m)      : " + FormatFixed(in.CDc, 7, 2));
    w.Line(" Initial soil moisture content (%)   : " + FormatFixed(in.SMini, 7, 2));
    w.Line(" Irrigation efficiency (%)           : " + FormatFixed(in.IrrEff, 7, 1));
    w.Line(" Inflow of groundwater (mm/day)      : " + FormatFixed(in.Inf, 7, 1));
    w.Line(" Outflow of groundwater (mm/day)     : " + FormatFixed(in.Out, 7, 1));
    w.Line(" Salinity groundwater inflow (dS/m)  : " + FormatFixed(in.Sinf, 7, 1));

    w.Line("");
    w.Line(" Hydrological data");
    w.Line(" Time Step     Rainfall      Irrigation    Evaporation");
    w.Line("             mm/time step   mm/time step   mm/time step");
    std::string& text = w.Text();
    text.reserve(text.size() + static_cast<size_t>(n > 0 ? n : 0) * (56 + 100) + 3000);  // both tables
    for (int i = 1; i <= n; ++i) {
        AppendInt(text, i, 10);
        AppendFixed(text, At(in.Rain, i), 13, 2);
        AppendFixed(text, At(in.Irrig, i), 16, 2);
        AppendFixed(text, At(in.EvapT, i), 15, 2);
        text += Eol;
    }
    w.Line("");

    if (layers == 1) {
        w.Line(" Soil properties, root zone has 1 layer");
        w.Line("             Thickness (m)");
        w.Line(" - - - - - - - - - - - - - - - - - - -");
        w.Line(" Root zone   Transition zone   Aquifer");
        w.Line(FormatFixed(in.D[Z1], 10, 2) + FormatFixed(in.D[Zt], 18, 2) + FormatFixed(in.D[Za], 10, 2));
    } else if (layers == 2) {
        w.Line(" Soil properties, root zone has 2 layers");
        w.Line("                   Thickness (m) ");
        w.Line(" - - - - - - - - - - - - - - - - - - - - - -");
        w.Line("    Root zone   ");
        w.Line(" - - - - - - - -   Transition zone   Aquifer");
        w.Line(" Layer1    Layer2");
        w.Line(FormatFixed(in.D[Z1], 7, 2) + FormatFixed(in.D[Z2], 10, 2) + FormatFixed(in.D[Zt], 17, 2) +
               FormatFixed(in.D[Za], 10, 2));
    } else {
        w.Line(" Soil properties, root zone has 3 layers");
        w.Line("                      Thickness (m)");
        w.Line(" - - - - - - - - - - - - - - - - - - - - - - - - - - - ");
        w.Line("         Root zone   ");
        w.Line(" - - - - - - - - - - - - - -  Transition zone   Aquifer");
        w.Line(" Layer1    Layer2    Layer3");
        w.Line(FormatFixed(in.D[Z1], 7, 2) + FormatFixed(in.D[Z2], 10, 2) + FormatFixed(in.D[Z3], 10, 2) +
               FormatFixed(in.D[Zt], 17, 2) + FormatFixed(in.D[Za], 10, 2));
    }
    w.Line("");
    w.Line(" Other soil properties in %");
    w.Line("              Total porosity  Effective porosity  Leaching efficiency");
    const char* const* labels = layers == 1 ? PropertyLabels1 : layers == 2 ? PropertyLabels2 : PropertyLabels3;
    Zone zones[ZoneCount];
    const int zoneCount = ZonesInUse(layers, zones);
    for (int k = 0; k < zoneCount; ++k) {
        const Zone z = zones[k];
        w.Line(std::string(labels[k]) + FormatFixed(in.TP[z], 15, 0) +
               FormatFixed(in.EP[z], 20, 0) + FormatFixed(in.LE[z], 21, 0));
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
    const ColumnSet columns = MeasuredColumns(layers);
    for (int i = 1; i <= n; ++i) {
        AppendInt(text, i, 10);
        for (const MeasuredColumn* c = columns.begin; c != columns.end; ++c)
            AppendMeasured(text, At(in.ECsm[c->zone], i), *c);
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

// ---------------------------------------------------------------- reading

namespace {

// Raised inside the parser; turned into an InputReadResult at the top.
struct ReadFailure {
    int line;
    std::string message;
};

class Parser {
public:
    Parser(const std::string& text, const std::string& fileName, NumberFormat& format)
        : lines_(text), fileName_(fileName), format_(format) {}

    const std::string& Next() { return lines_.Next(); }
    void Skip(int count) { lines_.Skip(count); }
    int Line() const { return lines_.LineNumber(); }
    int LinesLeft() const { return lines_.LinesLeft(); }

    [[noreturn]] void Fail(const std::string& what) const { FailAt(Line(), what); }
    [[noreturn]] void FailAt(int line, const std::string& what) const {
        throw ReadFailure{line, fileName_ + ", line " + std::to_string(line) + ": " + what};
    }

    // A real from the window a..b of the line last read.
    double Real(const std::string& line, size_t a, size_t b, const char* what) {
        return Convert(Window(line, a, b), line, a, b, what);
    }

    // Converts text taken from the window a..b of `line`.
    double Convert(const std::string& text, const std::string& line, size_t a, size_t b, const char* what) {
        try {
            return StringToFloat(text, format_);
        } catch (const ConversionError& e) {
            if (lines_.AtEnd() && line.empty())
                Fail(std::string("the file ends where ") + what + " was expected; " + ConversionMessage(e.text()));
            Fail(ConversionMessage(e.text()) + " (expected " + what + " in columns " + std::to_string(a) + " to " +
                 std::to_string(b) + ")");
        }
    }

    double RealLine(const char* what) { return Real(Next(), 39, 48, what); }

    int Integer(const std::string& line, size_t after, const char* what) {
        int value = 0;
        const std::string text = From(line, after + 1);
        if (!TryParseInteger(text, value)) {
            const size_t start = text.find_first_not_of(' ');
            const std::string shown = ShownText(start == std::string::npos ? std::string() : text.substr(start));
            Fail("'" + shown + "' is not a valid integer (expected " + what + " after column " +
                 std::to_string(after) + ")");
        }
        return value;
    }

    NumberFormat& Format() { return format_; }

private:
    LineReader lines_;
    const std::string& fileName_;
    NumberFormat& format_;
};

int LayerCount(Parser& p, const std::string& line, size_t after) {
    const int layers = p.Integer(line, after, "the number of root-zone layers");
    if (layers < 1 || layers > 3)
        p.Fail("the number of root-zone layers is " + std::to_string(layers) + "; it must be 1, 2 or 3");
    return layers;
}

void ReadThicknesses(Parser& p, ModelInput& in) {
    const std::string& row = p.Next();
    const char* what = "a thickness";
    if (in.NrLayers == 1) {
        in.D[Z1] = p.Real(row, 1, 10, what);
        in.D[Zt] = p.Real(row, 11, 28, what);
        in.D[Za] = p.Real(row, 29, 38, what);
    } else if (in.NrLayers == 2) {
        in.D[Z1] = p.Real(row, 1, 10, what);
        in.D[Z2] = p.Real(row, 11, 20, what);
        in.D[Zt] = p.Real(row, 21, 38, what);
        in.D[Za] = p.Real(row, 39, 46, what);
    } else {
        in.D[Z1] = p.Real(row, 1, 10, what);
        in.D[Z2] = p.Real(row, 11, 20, what);
        in.D[Z3] = p.Real(row, 21, 30, what);
        in.D[Zt] = p.Real(row, 31, 48, what);
        in.D[Za] = p.Real(row, 49, 56, what);
    }
}

void Parse(Parser& p, ModelInput& in, InputReadResult& result) {
    p.Skip(2);
    in.Title1 = From(p.Next(), 29);
    in.Title2 = From(p.Next(), 29);
    p.Skip(1);
    const int n = p.Integer(p.Next(), 28, "the number of time steps");
    if (n < 0) p.Fail("the number of time steps is " + std::to_string(n) + "; it must not be negative");
    if (n > MaxTimeSteps)
        p.Fail("the number of time steps is " + std::to_string(n) + "; it must not exceed " +
               std::to_string(MaxTimeSteps));
    in.NrTst = n;
    in.NrTstHydr = n;
    in.Ts = p.Integer(p.Next(), 28, "the step length in days");
    result.layersOnLine8 = LayerCount(p, p.Next(), 28);
    p.Skip(1);
    in.DrainPresent = From(p.Next(), 29) == "yes";
    if (in.DrainPresent) {
        in.Dd = p.Real(p.Next(), 29, 38, "the drain depth");
        in.QH1 = p.Real(p.Next(), 29, 38, "the reaction factor QH1");
        in.QH2 = p.Real(p.Next(), 29, 38, "the reaction factor QH2");
    } else {
        p.Skip(3);
    }
    const bool oldLayout = Window(p.Next(), 1, 20) == "    Initial data";
    in.Si = p.RealLine("the salinity of the irrigation water");
    in.NrLayers = LayerCount(p, p.Next(), 38);
    in.Sini[Z1] = p.RealLine("the initial salinity of the root zone");
    if (oldLayout) {
        in.Sini[Z2] = in.Sini[Z1];
        in.Sini[Z3] = in.Sini[Z1];
    } else {
        if (in.NrLayers >= 2) in.Sini[Z2] = p.RealLine("the initial salinity of layer 2");
        if (in.NrLayers == 3) in.Sini[Z3] = p.RealLine("the initial salinity of layer 3");
    }
    in.Sini[Zt] = p.RealLine("the initial salinity of the transition zone");
    in.Sini[Za] = p.RealLine("the initial salinity of the aquifer");
    in.Dwtini = p.RealLine("the initial depth of the water table");
    in.CDc = p.RealLine("the critical depth of the water table");
    const std::string& moisture = p.Next();
    if (Window(moisture, 1, 18) == " Initial soil mois") {
        in.SMini = p.Real(moisture, 39, 48, "the initial soil moisture content");
        in.IrrEff = p.RealLine("the irrigation efficiency");
    } else {
        in.IrrEff = p.Real(moisture, 39, 48, "the irrigation efficiency");
        in.SMini = 50;
    }
    in.Inf = p.RealLine("the groundwater inflow");
    in.Out = p.RealLine("the groundwater outflow");
    try {
        in.Sinf = StringToFloat(Window(p.Next(), 39, 48), p.Format());
        p.Skip(4);
    } catch (const ConversionError&) {
        in.Sinf = 0;  // older layout: " Hydrological data" follows the outflow line
        p.Skip(2);
    }

    // Every time step needs a row; a file with fewer lines cannot hold them,
    // so the count is checked before anything is sized by it.
    if (n > p.LinesLeft()) {
        const int missing = p.LinesLeft() + 1;
        p.FailAt(p.Line() + missing, "the file ends before the hydrological row of time step " +
                                         std::to_string(missing) + " of " + std::to_string(n));
    }
    if (n > MaxTimeSteps)
        p.FailAt(6, "the number of time steps is " + std::to_string(n) + "; at most " + std::to_string(MaxTimeSteps) +
                        " are allowed");
    ResizeHydrologicalSeries(in, n);
    for (int i = 1; i <= n; ++i) {
        const std::string& row = p.Next();
        if (Window(row, 1, 10) == " Hydrologi") {
            throw InputReadStatus::Extended;
        }
        in.Rain[i] = p.Real(row, 11, 25, "the rainfall");
        in.Irrig[i] = p.Real(row, 26, 40, "the irrigation");
        in.EvapT[i] = p.Real(row, 41, 55, "the evaporation");
    }

    p.Skip(in.NrLayers >= 2 ? 7 : 5);
    ReadThicknesses(p, in);
    p.Skip(3);
    Zone zones[ZoneCount];
    const int zoneCount = ZonesInUse(in.NrLayers, zones);
    for (int k = 0; k < zoneCount; ++k) {
        const std::string& row = p.Next();
        in.TP[zones[k]] = p.Real(row, 19, 36, "a total porosity");
        in.EP[zones[k]] = p.Real(row, 37, 54, "an effective porosity");
        in.LE[zones[k]] = p.Real(row, 55, 72, "a leaching efficiency");
    }

    p.Skip(in.NrLayers >= 2 ? 6 : 3);
    ResizeMeasuredSeries(in, n);
    const ColumnSet columns = MeasuredColumns(in.NrLayers);
    for (int i = 1; i <= n; ++i) {
        const std::string& row = p.Next();
        for (const MeasuredColumn* c = columns.begin; c != columns.end; ++c) {
            const std::string text = RemoveBlanks(Window(row, static_cast<size_t>(c->from), static_cast<size_t>(c->to)));
            double value = -1;
            if (!text.empty() && text != "-")
                value = p.Convert(text, row, static_cast<size_t>(c->from), static_cast<size_t>(c->to),
                                  "a measured salinity");
            in.ECsm[c->zone][i] = value;
        }
    }
}

}  // namespace

InputReadResult ParseInputText(const std::string& text, const std::string& fileName, ModelInput& in,
                               NumberFormat& format) {
    InputReadResult result;
    Parser parser(text, fileName, format);
    ModelInput read = in;  // the data set changes only when the whole file has been read
    try {
        Parse(parser, read, result);
    } catch (const ReadFailure& failure) {
        result.status = InputReadStatus::Failed;
        result.line = failure.line;
        result.message = failure.message;
        return result;
    } catch (InputReadStatus) {
        result.status = InputReadStatus::Extended;
        result.line = parser.Line();
        result.message = ExtendedVersionMessage;
        return result;
    }
    in = std::move(read);
    result.status = InputReadStatus::Read;
    return result;
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

InputReadResult ReadInputFile(ModelInput& in, NumberFormat& format) {
    std::string text, error;
    if (!ReadWholeFile(in.InputFileName, text, error)) {
        InputReadResult result;
        result.status = InputReadStatus::Failed;
        result.message = error;
        return result;
    }
    return ParseInputText(text, in.InputFileName, in, format);
}

InputReadResult ReadInputFile(ModelInput& in) {
    NumberFormat point;
    return ReadInputFile(in, point);
}

}  // namespace halovane
