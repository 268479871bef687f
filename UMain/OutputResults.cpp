#include "OutputResults.h"

#include <QFile>
#include <algorithm>

#include "Dialogs.h"
#include "RunStop.h"
#include "TextFile.h"

namespace halovane {

const QString WithoutInputData =
    QStringLiteral("The tables and graphs are shown without rainfall, irrigation, potential evaporation and "
                   "measured salinities.");

std::string FileNameToStd(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString FileNameFromStd(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

namespace {

// The output file read once: its text, and the results parsed from it.
ReadOutcome ReadOutputText(const std::string& name, std::string& text, OutputReadback& output, NumberFormat& format) {
    const ReadOutcome file = ReadFileForViews(name, text);
    return file.ok ? ParseOutputText(text, name, output, format) : file;
}

}  // namespace

bool LoadOutputFile(ResultsState& state, const QString& fileName, Dialogs& dialogs, QWidget* parent) {
    const std::string name = FileNameToStd(fileName);
    // A fresh record: nothing of an earlier file, such as the fit of a zone
    // that now says "n.a.", may carry over.
    OutputReadback output;
    std::string text;
    const ReadOutcome read = ReadOutputText(name, text, output, state.Format);
    if (!read.ok) {
        dialogs.Inform(parent, QString::fromStdString(read.message));
        return false;
    }
    state.OutputFileName = fileName;
    state.OutputText = std::move(text);
    ++state.TextVersion;
    state.Output = std::move(output);
    state.StopStep = StoppedAtStep(state.Output.Results, state.Output.NrTst);
    state.View = ViewInput{};
    const ReadOutcome view = ReadInputForViews(ChangeExtension(name, ".inp"), state.Output, state.View, state.Format);
    state.ViewRead = view.ok;
    if (!view.ok) {
        state.View = ViewInput{};
        dialogs.Inform(parent, QString::fromStdString(view.message) + QLatin1Char('\n') + WithoutInputData);
    }
    return true;
}

bool ReloadOutputFile(ResultsState& state, Dialogs& dialogs, QWidget* parent) {
    const std::string name = FileNameToStd(state.OutputFileName);
    std::string text, error;
    // The text read before gives the results read before; reading it costs
    // little, parsing a long run much more.
    const bool same = ReadDataFile(name, text, error) == FileRead::Ok && text == state.OutputText;
    OutputReadback output;
    const ReadOutcome read = same ? ReadOutcome{true, {}} : ReadOutputText(name, text, output, state.Format);
    if (read.ok) {
        if (!same) {
            state.Output = std::move(output);
            state.OutputText = std::move(text);
            ++state.TextVersion;
        }
        // A rewritten file may hold another run; a stop reported by the run
        // itself stays when the rows agree with it.
        const int fromRows = StoppedAtStep(state.Output.Results, state.Output.NrTst);
        if (fromRows != 0 || state.StopStep > state.Output.NrTst) state.StopStep = fromRows;
        return true;
    }
    dialogs.Inform(parent, QString::fromStdString(read.message));
    return read.unopened;
}

long long BlankLinesAfter(const std::string& bytes, size_t from) {
    from = std::min(from, bytes.size());
    long long lines = std::count(bytes.begin() + static_cast<long>(from), bytes.end(), '\n');
    if (bytes.size() > from && bytes.back() != '\n') ++lines;
    return lines;
}

namespace {

// The bytes from..to with every line longer than ListedLineLength cut
// there; empty when no line is that long.
std::string CutLongLines(const std::string& bytes, size_t from, size_t to) {
    // The characters of the line at..end, without the "\r" of a "\r\n".
    auto length = [&bytes](size_t at, size_t end) { return end - at - (end > at && bytes[end - 1] == '\r'); };
    bool any = false;
    for (size_t at = from; at < to && !any;) {
        const size_t end = std::min(to, bytes.find('\n', at));
        any = length(at, end) > ListedLineLength;
        at = end + 1;
    }
    if (!any) return std::string();
    std::string cut;
    for (size_t at = from; at < to;) {
        const size_t end = std::min(to, bytes.find('\n', at));
        const size_t characters = length(at, end);
        if (characters > ListedLineLength) {
            cut.append(bytes, at, ListedLineLength);
            cut += " ... (" + std::to_string(characters - ListedLineLength) + " more characters)";
        } else {
            cut.append(bytes, at, end - at);
        }
        if (end < to) cut += '\n';
        at = end + 1;
    }
    return cut;
}

// The bytes from..to as they are, line ends "\r\n" made "\n".
QString LinesOf(const std::string& bytes, size_t from, size_t to) {
    QString text = QString::fromUtf8(bytes.data() + from, static_cast<qsizetype>(to - from));
    // Line ends "\r\n" become "\n", in one pass over the text in place.
    QChar* chars = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    for (qsizetype k = 0; k < size; ++k) {
        if (chars[k] == QLatin1Char('\r') && k + 1 < size && chars[k + 1] == QLatin1Char('\n')) continue;
        chars[kept++] = chars[k];
    }
    text.truncate(kept);
    return text;
}

}  // namespace

QString ListingPart(const std::string& bytes, size_t from, size_t to) {
    const std::string cut = CutLongLines(bytes, from, to);
    return cut.empty() ? LinesOf(bytes, from, to) : LinesOf(cut, 0, cut.size());
}

QString ListingText(const std::string& bytes) {
    QString text = ListingPart(bytes, 0, bytes.size());
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

}  // namespace halovane
