// The runner's drain-design command: the reaction factors QH1 and QH2 of a
// drain spacing, or the spacing of a design discharge.
#pragma once

#include <string>
#include <vector>

namespace halovane::cli {

int DrainDesign(const std::vector<std::string>& args);

}  // namespace halovane::cli
