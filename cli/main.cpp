#include <string>
#include <vector>

#include "Commands.h"
#include "Platform.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments = halovane::platform::Arguments(argc, argv);
    if (!arguments.empty()) arguments.erase(arguments.begin());  // the program's own name
    return halovane::cli::Main(arguments);
}
