// The input data file: the plain-text form of one ModelInput.
#pragma once

#include <string>

#include "ModelInput.h"
#include "NumberText.h"

namespace halovane {

constexpr const char* ExtendedVersionMessage =
    "This input file is of an extended version of Halovane called HalovaneE and cannot be used here. "
    "The program halts.";

enum class InputReadStatus { Read, Extended, Failed };

struct InputReadResult {
    InputReadStatus status = InputReadStatus::Failed;
    // For Failed: names the file, the line and what was expected there.
    // For Extended: ExtendedVersionMessage.
    std::string message;
    int line = 0;            // line of the failure, counted from 1
    int layersOnLine8 = 0;   // the general layer count, for the layers choice
    bool Ok() const { return status == InputReadStatus::Read; }
};

// The text of the file for `in`, with CR LF line ends. Reconciles NrTst with
// NrTstHydr first: a non-zero NrTst wins, otherwise NrTstHydr is written.
std::string InputFileText(ModelInput& in);

// Why `text`, the file text of `in`, would not read back as written (a
// number too wide for its column, a title with a line break), or an empty
// string when it reads back exactly.
std::string InputFileProblem(const ModelInput& in, const std::string& text);

// Writes the file named by in.InputFileName, replacing an older file only
// when the new one is complete. Refuses data that would not read back as
// written. Returns an empty string on success, otherwise the error message.
// Besides the step count reconciled by InputFileText, `in` is not changed.
std::string WriteInputFile(ModelInput& in);

// Reads in.InputFileName. On success `in` becomes the data set of the file
// alone (fields the file does not hold take their defaults, its name is
// kept); on failure or rejection `in` is left as it was.
InputReadResult ReadInputFile(ModelInput& in, NumberFormat& format);
InputReadResult ReadInputFile(ModelInput& in);
// Reads from text; `fileName` only names the source in messages.
InputReadResult ParseInputText(const std::string& text, const std::string& fileName, ModelInput& in,
                               NumberFormat& format);

}  // namespace halovane
