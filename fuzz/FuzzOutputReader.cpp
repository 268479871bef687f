// Fuzz target for the output file reader: any bytes must end in results or
// in a message that names the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "OutputFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace halovane;
    const std::string text(reinterpret_cast<const char*>(data), size);
    OutputReadback out;
    NumberFormat format;
    const ReadOutcome read = ParseOutputText(text, "fuzz.out", out, format);
    if (!read.ok && read.message.find("line ") == std::string::npos) std::abort();
    if (read.ok && static_cast<int>(out.Results.Dwt.size()) != out.NrTst + 1) std::abort();
    return 0;
}
