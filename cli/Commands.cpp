#include "Commands.h"

#include <algorithm>
#include <atomic>
#include <iostream>
#include <mutex>
#include <thread>

#include "InputFile.h"
#include "OutputFile.h"
#include "ResultsCsv.h"
#include "RunDriver.h"
#include "TextFile.h"
#include "ThreadTeam.h"

namespace halovane::cli {

namespace {

const char* const HelpText =
    "Usage: halovane-cli COMMAND [OPTIONS] FILE...\n"
    "\n"
    "The headless runner of Halovane, the model of the water table and the soil\n"
    "salinity of irrigated land.\n"
    "\n"
    "Commands:\n"
    "  run [--refine] [--optimise] [--csv] [-j N] [--threads N] FILE.inp...\n"
    "      Run the model on each input data file, as \"Save all - Run\" does in the\n"
    "      window, and write the output file FILE.out beside it.\n"
    "        --refine    answer yes to the drainage-capacity refinement question\n"
    "        --optimise  answer yes to the leaching-efficiency optimisation\n"
    "                    question (asked when a zone has 4 or more measured\n"
    "                    salinities)\n"
    "        --csv       also write FILE.csv: a header row with column names and\n"
    "                    units, then one row per time step (inputs, flows, depth\n"
    "                    of the water table, calculated and measured salinity\n"
    "                    per zone; empty where nothing was measured)\n"
    "        -j N        run N files at a time\n"
    "        --threads N use N threads for the optimisation of one file (default:\n"
    "                    every core); with -j the files share the cores, never\n"
    "                    more threads in all than the machine has cores\n"
    "      Messages that the window would show go to standard error.\n"
    "\n"
    "  upgrade OLD.inp NEW.inp\n"
    "      Read an input data file of any layout the program accepts and write it\n"
    "      in the current layout, as \"Open input\" followed by \"Save all\" would.\n"
    "\n"
    "  --help      Show this text.\n"
    "  --version   Show the version.\n"
    "\n"
    "Exit status:\n"
    "  0  every run completed (or the file was upgraded)\n"
    "  1  usage error\n"
    "  2  a file could not be read, or its data cannot be run; nothing was\n"
    "     written for it\n"
    "  3  a run stopped because the water table sank below the aquifer; its\n"
    "     output file was still written\n"
    "  4  an output file could not be written\n"
    "With several files the highest status of any file is returned.\n";

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

struct RunOptions {
    bool refine = false, optimise = false, csv = false;
    int jobs = 1;
    int threads = 0;  // per file: 0, every core
    std::vector<std::string> files;
};

// Answers the run's questions from the options; messages go to stderr.
class ConsoleInteraction : public UserInteraction {
public:
    ConsoleInteraction(const RunOptions& options, const std::string& file, std::mutex& errLock)
        : options_(options), file_(file), errLock_(errLock) {}
    bool AskYesNo(const std::string& question) override {
        if (question == RefinementQuestion) return options_.refine;
        if (question == OptimisationQuestion) return options_.optimise;
        return false;
    }
    void ShowMessage(const std::string& message) override {
        std::lock_guard<std::mutex> lock(errLock_);
        std::cerr << file_ << ": " << message << '\n';
    }
    void SetProgress(int) override {}

private:
    const RunOptions& options_;
    const std::string& file_;
    std::mutex& errLock_;
};

int RunOne(const RunOptions& options, const std::string& file, std::mutex& errLock) {
    auto report = [&](const std::string& message) {
        std::lock_guard<std::mutex> lock(errLock);
        std::cerr << message << '\n';
    };
    ModelInput data;
    data.InputFileName = file;
    const InputReadResult read = ReadInputFile(data);
    if (!read.Ok()) {
        report(read.status == InputReadStatus::Extended ? file + ": " + read.message : read.message);
        return Unreadable;
    }
    DistributeIrrigation(data);  // as after a save
    ModelState state;
    ConsoleInteraction ui(options, file, errLock);
    const RunOutcome outcome = RunModel(data, state, ui, options.threads);
    switch (outcome.status) {
        case RunStatus::Refused: report(file + ": " + outcome.message); return Unreadable;
        case RunStatus::WriteFailed: report(outcome.message); return WriteFailed;
        case RunStatus::Completed:
        case RunStatus::Stopped: break;
    }
    if (options.csv) {
        const std::string csvName = ChangeExtension(file, ".csv");
        const std::string error = WriteFileReplacing(csvName, ResultsCsv(data, state));
        if (!error.empty()) {
            report(error);
            return WriteFailed;
        }
    }
    return outcome.status == RunStatus::Stopped ? Stopped : Ok;
}

int Run(const std::vector<std::string>& args) {
    RunOptions options;
    for (size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        if (a == "--refine") {
            options.refine = true;
        } else if (a == "--optimise" || a == "--optimize") {
            options.optimise = true;
        } else if (a == "--csv") {
            options.csv = true;
        } else if (a == "-j" || a.rfind("-j", 0) == 0) {
            std::string value = a.size() > 2 ? a.substr(2) : (k + 1 < args.size() ? args[++k] : std::string());
            int jobs = 0;
            if (!TryParseInteger(value, jobs) || jobs < 1) {
                std::cerr << "halovane-cli: -j takes a number of files to run at a time\n";
                return Usage;
            }
            options.jobs = jobs;
        } else if (a == "--threads" || a.rfind("--threads=", 0) == 0) {
            std::string value = a.size() > 9 ? a.substr(10) : (k + 1 < args.size() ? args[++k] : std::string());
            if (!TryParseInteger(value, options.threads) || options.threads < 1) {
                std::cerr << "halovane-cli: --threads takes a number of threads\n";
                return Usage;
            }
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "halovane-cli: unknown option '" << a << "'\n";
            return Usage;
        } else {
            options.files.push_back(a);
        }
    }
    if (options.files.empty()) {
        std::cerr << "halovane-cli: run needs at least one input data file\n";
        return Usage;
    }
    std::vector<int> status(options.files.size(), Ok);
    std::atomic<size_t> next{0};
    std::mutex errLock;
    auto worker = [&] {
        for (size_t k; (k = next++) < options.files.size();) status[k] = RunOne(options, options.files[k], errLock);
    };
    const int threads = std::min<int>(options.jobs, static_cast<int>(options.files.size()));
    options.threads = SearchThreadsPerRun(options.threads, threads, MachineCores());
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    return *std::max_element(status.begin(), status.end());
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
    if (command == "run") return Run(args);
    std::cerr << "halovane-cli: unknown command '" << command << "'\n" << HelpText;
    return Usage;
}

}  // namespace halovane::cli
