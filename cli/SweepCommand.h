// The runner's sweep command: every run of a scenario file, in memory.
#pragma once

#include <string>
#include <vector>

namespace halovane::cli {

// "sweep [-j N] [--keep] SCENARIO [OUTDIR]".
int Sweep(const std::vector<std::string>& args);

}  // namespace halovane::cli
