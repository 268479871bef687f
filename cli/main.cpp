#include <string>
#include <vector>

#include "Commands.h"

int main(int argc, char** argv) {
    return halovane::cli::Main(std::vector<std::string>(argv + 1, argv + argc));
}
