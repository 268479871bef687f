#include "Commands.h"

#include <iostream>

#include "InputFile.h"

namespace halovane::cli {

namespace {

const char* const HelpText =
    "Usage: halovane-cli COMMAND [OPTIONS] FILE...\n"
    "\n"
    "The headless runner of Halovane, the model of the water table and the soil\n"
    "salinity of irrigated land.\n"
    "\n"
    "Commands:\n"
    "  upgrade OLD.inp NEW.inp\n"
    "      Read an input data file of any layout the program accepts and write it\n"
    "      in the current layout, as \"Open input\" followed by \"Save all\" would.\n"
    "\n"
    "  --help      Show this text.\n"
    "  --version   Show the version.\n"
    "\n"
    "Exit status: 0 done; 1 usage error; 2 a file could not be read or written.\n";

int Upgrade(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        std::cerr << "halovane-cli: upgrade takes two file names: OLD.inp NEW.inp\n";
        return Usage;
    }
    ModelInput data;
    data.InputFileName = args[1];
    const InputReadResult read = ReadInputFile(data);
    if (!read.Ok()) {
        std::cerr << (read.status == InputReadStatus::Extended ? args[1] + ": " : std::string()) << read.message
                  << '\n';
        return Unreadable;
    }
    data.InputFileName = args[2];
    const std::string error = WriteInputFile(data);
    if (!error.empty()) {
        std::cerr << error << '\n';
        return Unreadable;
    }
    return Ok;
}

}  // namespace

int Main(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::cerr << HelpText;
        return Usage;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << HelpText;
        return Ok;
    }
    if (command == "--version") {
        std::cout << "halovane-cli " << HALOVANE_VERSION << '\n';
        return Ok;
    }
    if (command == "upgrade") return Upgrade(args);
    std::cerr << "halovane-cli: unknown command '" << command << "'\n" << HelpText;
    return Usage;
}

}  // namespace halovane::cli
