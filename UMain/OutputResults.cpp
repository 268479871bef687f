#include "OutputResults.h"

#include <QFile>

#include "Dialogs.h"
#include "RunStop.h"
#include "TextFile.h"

namespace halovane {

std::string FileNameToStd(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString FileNameFromStd(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

bool LoadOutputFile(ResultsState& state, const QString& fileName, Dialogs& dialogs, QWidget* parent) {
    const std::string name = FileNameToStd(fileName);
    // A fresh record: nothing of an earlier file, such as the fit of a zone
    // that now says "n.a.", may carry over.
    OutputReadback output;
    const ReadOutcome read = ReadOutputFile(name, output, state.Format);
    if (!read.ok) {
        dialogs.Inform(parent, QString::fromStdString(read.message));
        return false;
    }
    state.OutputFileName = fileName;
    state.Output = std::move(output);
    state.StopStep = StoppedAtStep(state.Output.Results, state.Output.NrTst);
    state.View = ViewInput{};
    const ReadOutcome view =
        ReadInputForViews(ChangeExtension(name, ".inp"), state.Output.NrTst, state.View, state.Format);
    state.ViewRead = view.ok;
    if (!view.ok) {
        state.View = ViewInput{};
        dialogs.Inform(parent, QString::fromStdString(view.message));
    }
    return true;
}

bool ReloadOutputFile(ResultsState& state, Dialogs& dialogs, QWidget* parent) {
    const std::string name = FileNameToStd(state.OutputFileName);
    OutputReadback output;
    const ReadOutcome read = ReadOutputFile(name, output, state.Format);
    if (read.ok) {
        state.Output = std::move(output);
        // A rewritten file may hold another run; a stop reported by the run
        // itself stays when the rows agree with it.
        const int fromRows = StoppedAtStep(state.Output.Results, state.Output.NrTst);
        if (fromRows != 0 || state.StopStep > state.Output.NrTst) state.StopStep = fromRows;
        return true;
    }
    dialogs.Inform(parent, QString::fromStdString(read.message));
    return read.message == OpenFailureMessage(name);
}

bool ReadListing(const QString& fileName, QString& text) {
    // Through the engine's reader: a pipe or a huge file is refused rather
    // than waited on or read into memory.
    std::string bytes, error;
    if (!ReadWholeFile(FileNameToStd(fileName), bytes, error)) return false;
    text = QString::fromUtf8(QByteArray::fromStdString(bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return true;
}

}  // namespace halovane
