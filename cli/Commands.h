// The commands of the headless runner.
#pragma once

#include <string>
#include <vector>

namespace halovane::cli {

// Exit statuses of the runner.
enum Exit { Ok = 0, Usage = 1, Unreadable = 2, Stopped = 3, WriteFailed = 4 };

int Main(const std::vector<std::string>& args);

}  // namespace halovane::cli
