// The output file of a run and the readers that bring a run back for the
// tables and the graphs.
#pragma once

#include <array>
#include <string>

#include "ModelInput.h"
#include "ModelState.h"
#include "NumberText.h"

namespace halovane {

// Line 1 of the output file of the conserving variant.
constexpr const char* ConservingHeading = "OUTPUT OF Halovane (conserving variant)";

// The name of the output file of an input data file: its extension replaced
// by ".out" (appended when it has none).
std::string OutputFileName(const std::string& inputFileName);

// The text of a whole output file (CR LF line ends).
std::string OutputFileText(const ModelInput& in, const ModelState& state, const std::string& outputFileName);

// The message shown when a file to be read cannot be opened, with the
// reason the system gave.
std::string OpenFailureMessage(const std::string& fileName, const std::string& reason);

// What the views read back from an output file.
struct ZoneReadback {
    double LE = 0;             // efficiency as printed
    bool Optimized = false;    // "(optimized)"
    double Coefficient = 0;    // coefficient of determination as printed (%)
    bool CoefficientRead = false;
};

struct OutputReadback {
    ModelVariant Variant = ModelVariant::Prescribed;  // from line 1
    std::string Title1, Title2;  // lines 4 and 5
    int Layers = 0;
    int NrTst = 0;
    int StepDays = 0;  // 0 when line 6 does not give it
    // The bytes of the header and the rows, line ends included; what
    // follows them holds nothing but blanks and line ends.
    size_t RowsEnd = 0;
    bool DrainageLine = false;
    double QH1 = 0;  // from the drainage line, when present
    std::array<ZoneReadback, ZoneCount> Zones{};
    StepResults Results;
};

// The data of the input data file that the views use.
struct ViewInput {
    std::string Title1, Title2;
    int Layers = 0;
    int Ts = 0;  // step length in days
    Series Rain, Irrig, EvapT;
    ZoneArray<Series> ECsm;  // per zone, -1 where nothing was measured
};

struct ReadOutcome {
    bool ok = false;
    std::string message;  // the open-failure message, or what could not be read and where
    bool unopened = false;  // the file could not be opened
};

// Reads the text of a file for the views; the open-failure message when it
// cannot be opened.
ReadOutcome ReadFileForViews(const std::string& fileName, std::string& text);
ReadOutcome ReadOutputFile(const std::string& fileName, OutputReadback& out, NumberFormat& format);
// Reads an output file's text; `fileName` only names it in messages.
ReadOutcome ParseOutputText(const std::string& text, const std::string& fileName, OutputReadback& out,
                            NumberFormat& format);
// Reads the input data file of an output file for the views. The output
// file is read first: the input data file is used only when its layer
// count, step count, step length and titles are those of the output file.
ReadOutcome ReadInputForViews(const std::string& fileName, const OutputReadback& output, ViewInput& view,
                              NumberFormat& format);

}  // namespace halovane
