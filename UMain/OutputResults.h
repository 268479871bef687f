// The results on view on the Output and Graphs pages: the output file that
// was last loaded (by a run or by "Open output"), what its readers brought
// back, and the folder the file dialogs of the two pages start in.
#pragma once

#include <QString>

#include "OutputFile.h"

class QWidget;

namespace halovane {

class Dialogs;

struct ResultsState {
    QString OutputFileName;  // empty until an output file was read
    std::string OutputText;  // the file's text as last read: the listing, and what a reread compares
    int TextVersion = 0;     // counts the texts read into OutputText
    OutputReadback Output;
    ViewInput View;
    bool ViewRead = false;   // the input data file of the output file was read
    NumberFormat Format;     // decimal separator of the readers
    int StopStep = 0;        // the step in which the run stopped (0: it completed)
    QString DialogFolder;    // where the file dialogs start

    bool Loaded() const { return !OutputFileName.isEmpty(); }
    const ViewInput* ViewOrNull() const { return ViewRead ? &View : nullptr; }
};

// Conversions between the names of the window and those of the engine.
std::string FileNameToStd(const QString& name);
QString FileNameFromStd(const std::string& name);

// Loads an output file and the input data file of the same name for the
// views. When the output file cannot be read its message is shown and
// nothing changes (false). When only the input data file cannot be read or
// belongs to another run, its message and WithoutInputData are shown and the
// output is kept, without rainfall, irrigation, potential evaporation and
// measured salinities.
extern const QString WithoutInputData;
bool LoadOutputFile(ResultsState& state, const QString& fileName, Dialogs& dialogs, QWidget* parent);

// Reads the loaded output file again (its results may have been rewritten;
// a file whose text is the one read before is not parsed again). A file that
// cannot be opened any more shows its message and the results loaded before
// are used (true); a file that cannot be read shows its message and the
// operation stops (false).
bool ReloadOutputFile(ResultsState& state, Dialogs& dialogs, QWidget* parent);

// The listing shows at most this many characters of a line.
constexpr size_t ListedLineLength = 2000;
// The number of lines of the text from `from` on.
long long BlankLinesAfter(const std::string& bytes, size_t from);
// The lines of a file's text for the listing, without the line end of the last.
QString ListingText(const std::string& bytes);
// The bytes from..to of the file's text as lines of the listing, line ends
// "\r\n" made "\n": the listing shown part by part.
QString ListingPart(const std::string& bytes, size_t from, size_t to);

}  // namespace halovane
