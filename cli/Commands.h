// The commands of the headless runner.
#pragma once

#include <string>
#include <vector>

namespace halovane::cli {

// Exit statuses of the runner.
enum Exit { Ok = 0, Usage = 1, Unreadable = 2, Stopped = 3, WriteFailed = 4 };

int Main(const std::vector<std::string>& args);

// "--" ends the options of a command: every argument after it is a name,
// also one that starts with "-". True for the "--" itself, which the caller
// skips; `namesOnly` tells from then on that `argument` is a name.
inline bool EndsOptions(const std::string& argument, bool& namesOnly) {
    if (namesOnly || argument != "--") return false;
    namesOnly = true;
    return true;
}

}  // namespace halovane::cli
