// The runner's graph command.
#pragma once

#include <string>
#include <vector>

namespace halovane::cli {

// "graph": the graphs of an output file drawn into files. A runner built
// without Qt refuses the command.
int Graph(const std::vector<std::string>& args);

}  // namespace halovane::cli
