#include "OutputFile.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "InputFile.h"
#include "ResultColumns.h"
#include "TextFile.h"

namespace halovane {

std::string OutputFileName(const std::string& inputFileName) { return ChangeExtension(inputFileName, ".out"); }

std::string OpenFailureMessage(const std::string& fileName, const std::string& reason) {
    return "The file " + fileName + " could not be opened (" + reason +
           "). It may be damaged or in use by another program.";
}

ReadOutcome ReadFileForViews(const std::string& fileName, std::string& text) {
    ReadOutcome outcome;
    std::string error, reason;
    const FileRead file = ReadDataFile(fileName, text, error, MaxDataFileBytes, &reason);
    outcome.ok = file == FileRead::Ok;
    outcome.unopened = file == FileRead::CannotOpen;
    if (!outcome.ok) outcome.message = outcome.unopened ? OpenFailureMessage(fileName, reason) : error;
    return outcome;
}

// ---------------------------------------------------------------- writing

namespace {

const char* const ZoneLabels[ZoneCount] = {
    " Leaching efficiency layer 1   :", " Leaching efficiency layer 2   :", " Leaching efficiency layer 3   :",
    " Leaching eff. transit. zone   :", " Leaching efficiency aquifer   :"};

}  // namespace

std::string OutputFileText(const ModelInput& in, const ModelState& state, const std::string& outputFileName) {
    const int layers = in.NrLayers;
    const int n = in.NrTst;
    std::string out;
    auto line = [&out](const std::string& text) {
        out += text;
        out += "\r\n";
    };
    line(in.Variant == ModelVariant::Conserving ? ConservingHeading : "OUTPUT OF Halovane");
    line("Name of this file :" + outputFileName);
    line("");
    line(in.Title1);
    line(in.Title2);
    line(FormatInt(layers, 2) + "   " + FormatInt(n, 4) + "    " + FormatInt(in.Ts) +
         "      (resp.:  nr. of root zone layers,    tot. nr. of time steps," + "    length of time step in days)");
    if (state.RefinementChosen)
        line(std::string(state.RefinementAccepted ? " Drainage capacity QH1 refined :"
                                                  : " Drainage capacity QH1 (given) :") +
             FormatFixed(state.QH1w, 8, 3));
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        const ZoneFit& fit = state.Fit[z];
        if (!ZoneInUse(layers, zone)) continue;
        if ((zone == Zone::Transition || zone == Zone::Aquifer) && !(fit.LE > 0)) continue;
        std::string text = ZoneLabels[z] + FormatFixed(fit.LE, 8, 2);
        if (fit.FitNotAvailable)
            text += "  (given),       Coeff. of determination (%) :  n.a.";
        else
            text += std::string(fit.LeOptimized ? "  (optimized),   Coeff. of determination (%) :"
                                                : "  (given),       Coeff. of determination (%) :") +
                    FormatFixed(100 * fit.FitIndex, 5, 0);
        line(text);
    }
    line(" Units:");
    line(" Water flow in mm/time step,  Salinity in dS/m,   Depth water table (DepthWT) in m");
    line("");
    for (const std::string& h : OutputHeadingLines(layers)) line(h);

    struct Column {
        const Series* values;
        int width, decimals;
    };
    std::vector<Column> columns;
    size_t rowLength = OutputStepWidth + 2;
    for (const ResultColumn* c : ColumnsOf(layers)) {
        columns.push_back({&c->Of(state.Results), c->OutWidth(layers), c->Decimals()});
        rowLength += static_cast<size_t>(c->OutWidth(layers));
    }
    out.reserve(out.size() + static_cast<size_t>(n > 0 ? n : 0) * rowLength);
    for (int i = 1; i <= n; ++i) {
        AppendInt(out, i, OutputStepWidth);
        for (const Column& c : columns) AppendFixed(out, (*c.values)[i], c.width, c.decimals);
        out += "\r\n";
    }
    return out;
}

// ---------------------------------------------------------------- reading

namespace {

struct ReadError {
    std::string message;
};

// Fixed-width reads along the lines of a file.
class Cursor {
public:
    Cursor(const std::string& text, const std::string& fileName, NumberFormat& format)
        : lines_(text), fileName_(fileName), format_(format) {
        NextLine();
    }

    void NextLine() {
        line_ = lines_.Next();
        pos_ = 0;
    }
    // The next k characters of the line, or fewer at its end.
    std::string Chars(size_t k) {
        const std::string chunk = pos_ < line_.size() ? line_.substr(pos_, k) : std::string();
        pos_ += chunk.size();
        return chunk;
    }
    // The rest of the line.
    std::string Rest() {
        const std::string rest = pos_ < line_.size() ? line_.substr(pos_) : std::string();
        pos_ = line_.size();
        return rest;
    }
    // A number: blanks, then the characters up to the next blank.
    std::string Token() {
        while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
        const size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != ' ') ++pos_;
        return line_.substr(start, pos_ - start);
    }
    double Number(const std::string& text, const char* what) {
        try {
            return StringToFloat(text, format_);
        } catch (const ConversionError& e) {
            Fail(ConversionMessage(e.text()) + " (expected " + what + ")");
        }
    }
    int Integer(const char* what) {
        const std::string text = Token();
        int value = 0;
        if (!TryParseInteger(text, value))
            Fail("'" + ShownText(text) + "' is not a valid integer (expected " + what + ")");
        return value;
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw ReadError{fileName_ + ", line " + std::to_string(lines_.LineNumber()) + ": " + what};
    }
    const std::string& Line() const { return line_; }
    int LineNumber() const { return lines_.LineNumber(); }
    int LinesLeft() const { return lines_.LinesLeft(); }
    size_t Offset() const { return lines_.Offset(); }

private:
    LineReader lines_;
    const std::string& fileName_;
    NumberFormat& format_;
    std::string line_;
    size_t pos_ = 0;
};

std::string Trimmed(const std::string& text) {
    const size_t a = text.find_first_not_of(' ');
    if (a == std::string::npos) return std::string();
    return text.substr(a, text.find_last_not_of(' ') - a + 1);
}

// The rest of a zone line after its efficiency: the marker and the
// coefficient of determination, which is read to the end of the line (a
// coefficient as wide as its field, such as -1150, keeps its sign).
void ReadFitEnding(Cursor& c, ZoneReadback& zone) {
    const std::string marker = c.Chars(4);
    zone.Optimized = marker == "  (o";
    c.Chars(42);
    const std::string value = Trimmed(c.Rest());
    if (zone.Optimized || value.compare(0, 3, "n.a") != 0) {
        zone.Coefficient = c.Number(value, "the coefficient of determination");
        zone.CoefficientRead = true;
    }
    c.NextLine();
}

// The widths of the columns of a results row as the writer prints them: the
// step number, then the values.
std::vector<int> WrittenColumns(int layers) {
    std::vector<int> widths{OutputStepWidth};
    for (const ResultColumn* c : ColumnsOf(layers)) widths.push_back(c->OutWidth(layers));
    return widths;
}

// The fields of a results row: taken from the columns the writer printed
// them in when the row has exactly their width (a value may then fill its
// column to the last character), otherwise split at blanks and before minus
// signs when that gives one field per column (a value wider than its column
// pushed the rest to the right). Empty when neither holds: no value could be told from its
// neighbour. `fields` is filled anew; the rows of a long file share it.
void RowFields(const std::string& line, const std::vector<int>& widths, std::vector<std::string>& fields) {
    const size_t end = line.find_last_not_of(' ');
    const size_t length = end == std::string::npos ? 0 : end + 1;
    size_t total = 0;
    for (int w : widths) total += static_cast<size_t>(w);
    fields.clear();
    if (length == total) {
        size_t at = 0;
        for (int w : widths) {
            fields.push_back(line.substr(at, static_cast<size_t>(w)));
            at += static_cast<size_t>(w);
        }
        return;
    }
    // Fixed decimals never hold an exponent, so a minus sign after a digit
    // starts the next value.
    for (size_t at = 0; at < length;) {
        const size_t start = line.find_first_not_of(' ', at);
        if (start == std::string::npos || start >= length) break;
        size_t stop = start + 1;
        while (stop < length && line[stop] != ' ' && line[stop] != '-') ++stop;
        fields.push_back(line.substr(start, stop - start));
        at = stop;
    }
    if (fields.size() != widths.size()) fields.clear();
}

}  // namespace

ReadOutcome ReadOutputFile(const std::string& fileName, OutputReadback& out, NumberFormat& format) {
    std::string text;
    const ReadOutcome file = ReadFileForViews(fileName, text);
    return file.ok ? ParseOutputText(text, fileName, out, format) : file;
}

ReadOutcome ParseOutputText(const std::string& text, const std::string& fileName, OutputReadback& out,
                            NumberFormat& format) {
    ReadOutcome outcome;
    OutputReadback read = out;
    try {
        Cursor c(text, fileName, format);
        read.Variant = c.Rest() == ConservingHeading ? ModelVariant::Conserving : ModelVariant::Prescribed;
        for (int k = 0; k < 3; ++k) c.NextLine();
        read.Title1 = c.Line();
        c.NextLine();
        read.Title2 = c.Line();
        c.NextLine();
        read.Layers = c.Integer("the number of root-zone layers");
        if (read.Layers < 1 || read.Layers > 3)
            c.Fail("the number of root-zone layers is " + std::to_string(read.Layers) + "; it must be 1, 2 or 3");
        read.NrTst = c.Integer("the number of time steps");
        if (read.NrTst < 0) c.Fail("the number of time steps must not be negative");
        if (!TryParseInteger(c.Token(), read.StepDays)) read.StepDays = 0;
        c.NextLine();

        if (c.Chars(10) == " Drainage ") {
            read.DrainageLine = true;
            c.Chars(22);
            read.QH1 = c.Number(c.Token(), "the drainage capacity QH1");
            c.NextLine();
            c.Chars(32);
        } else {
            read.DrainageLine = false;
            c.Chars(22);
        }
        read.Zones[0].LE = c.Number(c.Token(), "the leaching efficiency of layer 1");
        ReadFitEnding(c, read.Zones[0]);
        for (int z = 1; z < ZoneCount; ++z) {
            const Zone zone = static_cast<Zone>(z);
            if (!ZoneInUse(read.Layers, zone)) continue;
            ZoneReadback& back = read.Zones[z];
            // A transition zone or aquifer with an efficiency of 0 has no
            // line: it reads as 0 without a coefficient (and the aquifer's
            // line is not taken for the transition zone's).
            if ((zone == Zone::Transition || zone == Zone::Aquifer) && c.Line().rfind(ZoneLabels[z], 0) != 0) {
                back = ZoneReadback{};
                continue;
            }
            c.Chars(32);
            back.LE = c.Number(c.Token(), "a leaching efficiency");
            ReadFitEnding(c, back);
        }

        // The header the writer makes has at most 21 lines.
        constexpr int HeaderLinesAtMost = 40;
        while (c.Line().compare(0, 4, " - -") != 0) {
            if (c.LinesLeft() <= 0 || c.LineNumber() >= HeaderLinesAtMost)
                c.Fail("the column headings end without their dashed line");
            c.NextLine();
        }
        if (read.NrTst > c.LinesLeft())
            c.Fail("the file holds fewer rows than its " + std::to_string(read.NrTst) + " time steps");
        read.Results.Resize(read.NrTst);
        StepResults& r = read.Results;
        const std::vector<const ResultColumn*> columns = ColumnsOf(read.Layers);
        const std::vector<int> widths = WrittenColumns(read.Layers);
        std::vector<std::string> fields;
        for (int i = 1; i <= read.NrTst; ++i) {
            c.NextLine();
            RowFields(c.Line(), widths, fields);
            if (fields.empty())
                c.Fail("the values of time step " + std::to_string(i) +
                       " do not stand in their columns (a value wider than its column?)");
            for (size_t k = 1; k < fields.size(); ++k)
                columns[k - 1]->Of(r)[i] = c.Number(fields[k], "a value of the results table");
        }
        // After the rows nothing but blank lines: the results end there.
        read.RowsEnd = c.Offset();
        size_t more = read.RowsEnd;
        while (more < text.size() && (text[more] == '\n' || text[more] == '\r' || text[more] == ' ')) ++more;
        if (more < text.size()) {
            const int line = c.LineNumber() + 1 + static_cast<int>(std::count(text.begin() + static_cast<long>(read.RowsEnd),
                                                                               text.begin() + static_cast<long>(more), '\n'));
            const size_t start = text.rfind('\n', more);
            const std::string shown = text.substr(start == std::string::npos ? 0 : start + 1, 40);
            throw ReadError{fileName + ", line " + std::to_string(line) + ": the file goes on after its " +
                            std::to_string(read.NrTst) + " rows ('" + ShownText(shown.substr(0, shown.find_first_of("\r\n"))) + "')"};
        }
    } catch (const ReadError& e) {
        outcome.message = e.message;
        return outcome;
    }
    out = std::move(read);
    outcome.ok = true;
    return outcome;
}

ReadOutcome ReadInputForViews(const std::string& fileName, const OutputReadback& output, ViewInput& view,
                              NumberFormat& format) {
    std::string text;
    ReadOutcome outcome = ReadFileForViews(fileName, text);
    if (!outcome.ok) return outcome;
    outcome.ok = false;
    // The full reader knows every layout of the file.
    ModelInput in;
    const InputReadResult read = ParseInputText(text, fileName, in, format);
    if (!read.Ok()) {
        outcome.message = read.status == InputReadStatus::Extended ? fileName + ": " + read.message : read.message;
        return outcome;
    }
    // The output file names the data set it was computed from; another data
    // set beside it (changed after the run, or another file of the same
    // name) is not used.
    std::string differs;
    auto compare = [&differs](const char* what, const std::string& input, const std::string& results) {
        if (input != results && differs.empty())
            differs = std::string(what) + " '" + ShownText(input) + "', the output file '" + ShownText(results) + "'";
    };
    compare("the number of root-zone layers is", std::to_string(in.NrLayers), std::to_string(output.Layers));
    compare("the number of time steps is", std::to_string(in.NrTst), std::to_string(output.NrTst));
    compare("the step length is", std::to_string(in.Ts), std::to_string(output.StepDays));
    compare("the first title is", in.Title1, output.Title1);
    compare("the second title is", in.Title2, output.Title2);
    if (!differs.empty()) {
        outcome.message = fileName + " is not the input data file of this output file: in it " + differs + ".";
        return outcome;
    }
    view.Title1 = in.Title1;
    view.Title2 = in.Title2;
    view.Layers = read.layersOnLine8;
    view.Ts = in.Ts;
    view.Rain = std::move(in.Rain);
    view.Irrig = std::move(in.Irrig);
    view.EvapT = std::move(in.EvapT);
    view.ECsm = std::move(in.ECsm);
    outcome.ok = true;
    return outcome;
}

}  // namespace halovane
