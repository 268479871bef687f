// Reading the input data file.
#include <algorithm>
#include <string>

#include "Fields.h"
#include "InputFile.h"
#include "InputFileLayout.h"
#include "TextFile.h"

namespace halovane {

using namespace input_layout;

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
    bool AtEnd() const { return lines_.AtEnd(); }

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

    // A value that fills a line's window a..b: nothing may follow it.
    double LastReal(const std::string& line, size_t a, size_t b, const std::string& what) {
        const double value = Real(line, a, b, what.c_str());
        NothingAfter(line, b, what);
        return value;
    }
    double RealLine(const char* what) { return LastReal(Next(), 39, 48, what); }

    // Refuses text after column b of `line`, the end of the last window
    // read: digits there would otherwise be lost.
    void NothingAfter(const std::string& line, size_t b, const std::string& what) {
        const std::string rest = From(line, b + 1);
        const size_t start = rest.find_first_not_of(' ');
        if (start != std::string::npos)
            Fail("'" + ShownText(rest.substr(start)) + "' stands after " + what + " in columns " +
                 std::to_string(b + 1 + start) + " on; nothing is read past column " + std::to_string(b));
    }

    // The integer after column `after`, alone on the rest of the line.
    int Integer(const std::string& line, size_t after, const char* what) {
        int value = 0;
        const std::string text = From(line, after + 1);
        const size_t start = text.find_first_not_of(' ');
        const std::string shown = ShownText(start == std::string::npos ? std::string() : text.substr(start));
        if (!TryParseInteger(text, value))
            Fail("'" + shown + "' is not a valid integer (expected " + what + " after column " +
                 std::to_string(after) + ")");
        const size_t end = text.find_first_of(" \t", start);
        if (end != std::string::npos && text.find_first_not_of(" \t", end) != std::string::npos)
            Fail("'" + shown + "' is more than " + what + " (expected one integer after column " +
                 std::to_string(after) + ")");
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
    int to = 0;
    for (const ThicknessColumn& c : ThicknessColumns(in.NrLayers)) {
        in.D[c.zone] = p.Real(row, static_cast<size_t>(c.from), static_cast<size_t>(c.to), "a thickness");
        to = c.to;
    }
    p.NothingAfter(row, static_cast<size_t>(to), "the thicknesses");
}

// The answer of line 10: yes or no in any case, blanks around it aside.
bool DrainageAnswer(Parser& p, const std::string& line) {
    std::string word = From(line, 29);
    word.erase(0, std::min(word.size(), word.find_first_not_of(' ')));
    word.erase(word.find_last_not_of(' ') + 1);
    std::string lower = word;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower != "yes" && lower != "no")
        p.Fail("'" + ShownText(word) + "' is no answer to whether a drainage system is present (expected yes or no "
               "after column 28)");
    return lower == "yes";
}

// A row of a table where another part of the file begins: the table has
// fewer rows than the time steps of line 6.
bool EndsTable(const std::string& row) {
    return row.find_first_not_of(' ') == std::string::npos || row.compare(0, 6, " Soil ") == 0 ||
           row.compare(0, 10, " Measured ") == 0;
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
    in.DrainPresent = DrainageAnswer(p, p.Next());
    if (in.DrainPresent) {
        in.Dd = p.LastReal(p.Next(), 29, 38, "the drain depth");
        in.QH1 = p.LastReal(p.Next(), 29, 38, "the reaction factor QH1");
        in.QH2 = p.LastReal(p.Next(), 29, 38, "the reaction factor QH2");
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
        in.SMini = p.LastReal(moisture, 39, 48, "the initial soil moisture content");
        in.IrrEff = p.RealLine("the irrigation efficiency");
    } else {
        in.IrrEff = p.LastReal(moisture, 39, 48, "the irrigation efficiency");
        in.SMini = 50;
    }
    in.Inf = p.RealLine("the groundwater inflow");
    in.Out = p.RealLine("the groundwater outflow");
    const std::string& inflowSalinity = p.Next();
    if (inflowSalinity.compare(0, 18, " Hydrological data") == 0) {
        in.Sinf = 0;  // older layout: " Hydrological data" follows the outflow line
        p.Skip(2);
    } else {
        in.Sinf = p.LastReal(inflowSalinity, 39, 48, "the salinity of the groundwater inflow");
        p.Skip(4);
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
    const std::string steps = " (line 6 gives " + std::to_string(n) + " time steps)";
    for (int i = 1; i <= n; ++i) {
        const std::string& row = p.Next();
        if (Window(row, 1, 10) == " Hydrologi") {
            throw InputReadStatus::Extended;
        }
        if (EndsTable(row)) p.Fail("the hydrological table ends after " + std::to_string(i - 1) + " rows" + steps);
        for (const HydrologicalColumn& c : HydrologicalColumns)
            (in.*c.field)[i] = p.Real(row, static_cast<size_t>(c.from), static_cast<size_t>(c.to), c.what);
        p.NothingAfter(row, static_cast<size_t>(std::end(HydrologicalColumns)[-1].to), "the evaporation");
    }
    if (!EndsTable(p.Next()))
        p.Fail("the hydrological table goes on after its " + std::to_string(n) + " rows" + steps);

    p.Skip(in.NrLayers >= 2 ? 6 : 4);
    ReadThicknesses(p, in);
    p.Skip(3);
    Zone zones[ZoneCount];
    const int zoneCount = ZonesInUse(in.NrLayers, zones);
    for (int k = 0; k < zoneCount; ++k) {
        const std::string& row = p.Next();
        for (const PropertyColumn& c : PropertyColumns)
            (in.*c.field)[zones[k]] =
                p.Real(row, static_cast<size_t>(c.from), static_cast<size_t>(c.to), c.what);
        p.NothingAfter(row, static_cast<size_t>(std::end(PropertyColumns)[-1].to), "the leaching efficiency");
    }

    p.Skip(in.NrLayers >= 2 ? 6 : 3);
    ResizeMeasuredSeries(in, n);
    const auto measured = MeasuredColumns(in.NrLayers);
    for (int i = 1; i <= n; ++i) {
        // A file cut off here would read as steps without measurements.
        if (p.LinesLeft() < 1)
            p.FailAt(p.Line() + 1, "the file ends before the measured salinity row of time step " +
                                       std::to_string(i) + " of " + std::to_string(n));
        const std::string& row = p.Next();
        if (EndsTable(row)) p.Fail("the measured salinity table ends after " + std::to_string(i - 1) + " rows" + steps);
        size_t to = 0;
        for (const MeasuredColumn& c : measured) {
            const size_t from = static_cast<size_t>(c.from);
            to = static_cast<size_t>(c.to);
            const std::string what = "the measured salinity of " + ZoneLabel(in.NrLayers, c.zone);
            std::string text = Window(row, from, to);
            text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
            text.erase(text.find_last_not_of(' ') + 1);
            if (text.find(' ') != std::string::npos)
                p.Fail("blanks split '" + ShownText(text) + "' in columns " + std::to_string(from) + " to " +
                       std::to_string(to) + " (expected " + what + ")");
            double value = -1;
            if (!text.empty() && text != "-") value = p.Convert(text, row, from, to, what.c_str());
            in.ECsm[c.zone][i] = value;
        }
        p.NothingAfter(row, to, "the measured salinities");
    }
    in.Variant = ModelVariant::Prescribed;
    while (!p.AtEnd()) {
        const std::string& row = p.Next();
        if (row.compare(0, VariantLabelKey, VariantLabel, VariantLabelKey) != 0) {
            if (row.find_first_not_of(' ') != std::string::npos)
                p.Fail("the measured salinity table goes on after its " + std::to_string(n) + " rows" + steps);
            continue;
        }
        const size_t colon = row.find(':');
        std::string word = colon == std::string::npos ? std::string() : row.substr(colon + 1);
        word.erase(0, std::min(word.size(), word.find_first_not_of(" \t")));
        word.erase(word.find_last_not_of(" \t") + 1);
        if (!ParseModelVariant(word, in.Variant))
            p.Fail("'" + ShownText(word) + "' is not a model variant (expected prescribed or conserving)");
    }
}

}  // namespace

InputReadResult ParseInputText(const std::string& text, const std::string& fileName, ModelInput& in,
                               NumberFormat& format) {
    InputReadResult result;
    Parser parser(text, fileName, format);
    // The data set is built from the file alone, and replaces `in` only when
    // the whole file has been read: nothing of an earlier data set remains.
    ModelInput read;
    read.InputFileName = in.InputFileName;
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
