// Fuzz target for the input data file reader: any bytes must end in a read
// data set or a clear error, and whatever reads must write and read again to
// the same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "InputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace halovane;
    const std::string text(reinterpret_cast<const char*>(data), size);
    ModelInput in;
    NumberFormat format;
    const InputReadResult result = ParseInputText(text, "fuzz.inp", in, format);
    if (result.status == InputReadStatus::Failed && result.message.empty()) std::abort();
    if (!result.Ok()) return 0;
    // A data set that reads is either saved so that it reads back to the
    // same file, or refused with a message naming the line.
    const std::string written = InputFileText(in);
    const std::string problem = InputFileProblem(in, written);
    if (!problem.empty()) {
        if (problem.find("line ") == std::string::npos) std::abort();
        return 0;
    }
    ModelInput again;
    if (!ParseInputText(written, "fuzz.inp", again, format).Ok()) std::abort();
    if (InputFileText(again) != written) std::abort();
    return 0;
}
