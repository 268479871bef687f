#include "Commands.h"
#include "HalovaneVersion.h"

#include <algorithm>
#include <atomic>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#include "Balance.h"
#include "Check.h"
#include "DrainDesignCommand.h"
#include "Fields.h"
#include "GraphCommand.h"
#include "InputFile.h"
#include "OutputFile.h"
#include "ResultsCsv.h"
#include "SweepCommand.h"
#include "RunDriver.h"
#include "TextFile.h"
#include "ThreadTeam.h"
#include "Validation.h"

namespace halovane::cli {

namespace {

const char* const HelpText =
    "Usage: halovane-cli COMMAND [OPTIONS] FILE...\n"
    "\n"
    "The headless runner of Halovane, the model of the water table and the soil\n"
    "salinity of irrigated land.\n"
    "\n"
    "Commands:\n"
    "  run [--refine] [--optimise [--report]] [--csv] [--balance] [--variant V]\n"
    "      [-j N] [--threads N] FILE.inp...\n"
    "      Run the model on each input data file, as \"Save all - Run\" does in the\n"
    "      window, and write the output file FILE.out beside it. Every run prints\n"
    "      a one-line verdict on its water and salt balance to standard error,\n"
    "      and warnings where its results are not physical.\n"
    "        --refine    answer yes to the drainage-capacity refinement question\n"
    "        --optimise  answer yes to the leaching-efficiency optimisation\n"
    "                    question (asked when a zone has 4 or more measured\n"
    "                    salinities)\n"
    "        --report    with --optimise: also write the fit report beside the\n"
    "                    output file, FILE.fit.csv (per optimised zone: n, means,\n"
    "                    SSE, RMSE, MAE, bias, Nash-Sutcliffe efficiency, r2, the\n"
    "                    fit index, the best efficiency, its approximate 95 %\n"
    "                    interval and warning flags) and FILE.profile.csv (the\n"
    "                    score of each of the 180 trial efficiencies of every\n"
    "                    search)\n"
    "        --csv       also write FILE.csv: a header row with column names and\n"
    "                    units, then one row per time step (inputs, flows, depth\n"
    "                    of the water table, calculated and measured salinity\n"
    "                    per zone; empty where nothing was measured)\n"
    "        --balance   also write FILE.balance.csv: per time step, kind (water,\n"
    "                    salt) and zone the inflows, outflows, storage change,\n"
    "                    discrepancy and percent discrepancy, cumulated too,\n"
    "                    every named term and the flags; and print the run\n"
    "                    summary per zone (initially present, each inflow and\n"
    "                    outflow, finally present, storage change, balance\n"
    "                    deviation, percent) to standard output\n"
    "        --variant V prescribed or conserving: the model to run, in place of\n"
    "                    the one the file names (prescribed when it names none)\n"
    "        -j N        run N files at a time\n"
    "        --threads N use N threads for the optimisation of one file (default:\n"
    "                    every core); with -j the files share the cores, never\n"
    "                    more threads in all than the machine has cores\n"
    "      Messages that the window would show go to standard error.\n"
    "\n"
    "  check [--csv] [--balance] [--variant V] FILE.inp...\n"
    "      Check the data of each input data file as a run would, without\n"
    "      computing or writing anything: every error (the run is refused) and\n"
    "      warning (the run goes on) with its group, field, time step, value and\n"
    "      allowed range, the model variant in force and the names the results\n"
    "      would get.\n"
    "\n"
    "  upgrade OLD.inp NEW.inp\n"
    "      Read an input data file of any layout the program accepts and write it\n"
    "      in the current layout, as \"Open input\" followed by \"Save all\" would.\n"
    "\n"
    "  graph [--type K|all] [--format bmp|png|svg|pdf] [--scale S] [--style screen|print]\n"
    "        [--no-footer] [--aggregate month|year] FILE.out [DIR]\n"
    "      Draw the graphs of an output file, as the Graphs page does, into files\n"
    "      in DIR (beside the output file when not given) named FILE-K.FORMAT.\n"
    "      The input data file FILE.inp beside the output file gives rainfall,\n"
    "      irrigation and the measured salinities. The names printed are those\n"
    "      of the files written.\n"
    "        --type K    one graph (default: all of them): hydrology, surface,\n"
    "                    subsurface, water-table, salinity, salinity-1,\n"
    "                    salinity-2, salinity-3, salinity-below, or 1 to 9 in\n"
    "                    that order; with \"all\" the layer graphs the root zone\n"
    "                    lacks are skipped with a message\n"
    "        --format F  bmp (default), png, or the drawings svg and pdf\n"
    "        --scale S   bmp and png at 1 (617 x 441 pixels), 2 or 4 times the size\n"
    "        --style Y   screen (default: the window's look) or print (white\n"
    "                    background, black axes, dark curves told apart in grey)\n"
    "        --no-footer leave out the line \"Program Halovane at ...\" below the plot\n"
    "        --aggregate P  draw runs of short steps per month (30 days) or year\n"
    "                    (360 days): flows totalled, depths and salinities averaged\n"
    "\n"
    "  drain-design --depth DD --ka KA --kb KB --impermeable D --radius R\n"
    "               (--spacing L | --for-discharge Q --head H)\n"
    "      Design subsurface drains with Hooghoudt's equation: from the drain\n"
    "      depth (m), the hydraulic conductivity above and below drain level\n"
    "      (m/day), the depth of the impermeable layer below drain level (m) and\n"
    "      the drain radius (m), print for the spacing L (m) the equivalent depth\n"
    "      d, the reaction factors QH1 = 8 Kb d / L^2 and QH2 = 4 Ka / L^2, the\n"
    "      factors as the input data file keeps them (4 decimals) and the drain\n"
    "      discharge q (mm/day) at heads of 0.25, 0.5, 0.75 and 1 m with both.\n"
    "      With --for-discharge Q (mm/day) and --head H (m) instead of --spacing,\n"
    "      first print the spacing at which the drains discharge Q at head H.\n"
    "      A value out of range, or a discharge no spacing gives, is a usage error.\n"
    "\n"
    "  sweep [-j N] [--keep] SCENARIO [OUTDIR]\n"
    "      Make every run of a scenario file (a base input data file, the fields\n"
    "      to vary with their values, the metrics, the criteria; see the user\n"
    "      guide) in memory and write into OUTDIR (beside SCENARIO when not\n"
    "      given) SCENARIO.sweep.csv, one row per run, and the design chart\n"
    "      SCENARIO.chart.svg and .png (one-at-a-time runs: SCENARIO.tornado.*).\n"
    "      Progress goes to standard error. The seek lines of the scenario are\n"
    "      answered on standard output.\n"
    "        -j N        make N runs at a time (default: every core); the\n"
    "                    results do not depend on it\n"
    "        --keep      also write each run's input data file and output file,\n"
    "                    run-0001.inp, run-0001.out, ..., into OUTDIR\n"
    "      A scenario with a line the program does not understand, or a value\n"
    "      out of its field's range, is refused before anything runs.\n"
    "\n"
    "  --help      Show this text.\n"
    "  --version   Show the version.\n"
    "\n"
    "Exit status:\n"
    "  0  every run completed (or the file was upgraded, the graphs drawn, the\n"
    "     drains designed)\n"
    "  1  usage error\n"
    "  2  a file could not be read, or its data cannot be run (check: has\n"
    "     errors; graph: a graph asked for by name does not apply to its root\n"
    "     zone); nothing was written for it\n"
    "  3  a run stopped because the water table sank below the aquifer; its\n"
    "     output file was still written\n"
    "  4  an output file (the upgraded file, or a graph) could not be written\n"
    "With several files the highest status of any file is returned.\n"
    "An argument \"--\" ends the options: the arguments after it are file names,\n"
    "also those that start with \"-\".\n";

int Upgrade(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    bool namesOnly = false;
    if (args.size() > 1 && EndsOptions(args[1], namesOnly)) args.erase(args.begin() + 1);
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
    // Written as the current layout keeps the values: what that rounds is
    // said, and a rounding that changes what the check accepts is refused.
    data.InputFileName = args[2];
    ModelInput stored = data;
    const std::vector<Rounding> rounded = RoundAsFileStores(stored);
    const std::string changesChecks = RoundingChangesChecks(data, stored);
    if (!changesChecks.empty()) {
        std::cerr << args[1] << ": " << changesChecks << '\n';
        return Unreadable;
    }
    if (!rounded.empty())
        std::cerr << args[2] << ": the current layout keeps fewer decimals than " << args[1]
                  << " holds; the values are saved as:" << RoundingReport(rounded, data.NrLayers) << '\n';
    const std::string error = WriteInputFile(stored);
    if (!error.empty()) {
        std::cerr << error << '\n';
        return WriteFailed;
    }
    return Ok;
}

struct RunOptions {
    bool refine = false, optimise = false, csv = false, report = false, balance = false;
    int jobs = 1;
    int threads = 0;  // per file: 0, every core
    bool variantGiven = false;
    ModelVariant variant = ModelVariant::Prescribed;
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
    if (options.variantGiven) data.Variant = options.variant;
    std::ostringstream problems;
    const bool errors = ReportProblems(file, data, problems);
    if (!problems.str().empty()) {
        std::lock_guard<std::mutex> lock(errLock);
        std::cerr << problems.str();
    }
    if (errors) return Unreadable;
    ModelState state;
    ConsoleInteraction ui(options, file, errLock);
    std::vector<SearchProfile> profiles;
    const RunOutcome outcome = RunModel(data, state, ui, RunFiles{options.csv, options.balance, options.report},
                                        options.report ? &profiles : nullptr, options.threads);
    switch (outcome.status) {
        case RunStatus::Refused: report(file + ": " + outcome.message); return Unreadable;
        case RunStatus::WriteFailed: report(outcome.message); return WriteFailed;
        case RunStatus::Cancelled: report(file + ": " + outcome.message); return WriteFailed;  // never asked for here
        case RunStatus::Completed:
        case RunStatus::Stopped: break;
    }
    report(file + ": " + BalanceVerdict(state.Balance));
    if (options.balance) {
        std::lock_guard<std::mutex> lock(errLock);
        std::cout << file << ": run summary\n" << BalanceSummaryText(state.Balance);
    }
    for (const std::string& warning : RunWarnings(state.Balance)) report(file + ": Warning: " + warning);
    // The report itself was written with the output file.
    if (options.report && profiles.empty())
        report(file + ": no zone has 4 or more measured salinities, so no efficiency was optimised and no fit "
                      "report was written.");
    return outcome.status == RunStatus::Stopped ? Stopped : Ok;
}

int Run(const std::vector<std::string>& args) {
    RunOptions options;
    bool namesOnly = false;
    for (size_t k = 1; k < args.size(); ++k) {
        if (EndsOptions(args[k], namesOnly)) continue;
        if (namesOnly) {
            options.files.push_back(args[k]);
            continue;
        }
        const std::string& a = args[k];
        if (a == "--refine") {
            options.refine = true;
        } else if (a == "--optimise" || a == "--optimize") {
            options.optimise = true;
        } else if (a == "--csv") {
            options.csv = true;
        } else if (a == "--balance") {
            options.balance = true;
        } else if (a == "--report") {
            options.report = true;
        } else if (a == "--variant" || a.rfind("--variant=", 0) == 0) {
            const std::string value = a.size() > 9 ? a.substr(10) : (k + 1 < args.size() ? args[++k] : std::string());
            if (!ParseModelVariant(value, options.variant)) {
                std::cerr << "halovane-cli: --variant takes prescribed or conserving\n";
                return Usage;
            }
            options.variantGiven = true;
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
    if (options.report && !options.optimise) {
        std::cerr << "halovane-cli: --report describes the optimisation and needs --optimise\n";
        return Usage;
    }
    std::vector<int> status(options.files.size(), Ok);
    const std::vector<std::string> refusals = NameRefusals(options.files, RunFiles{options.csv, options.balance});
    for (size_t k = 0; k < refusals.size(); ++k)
        if (!refusals[k].empty()) {
            std::cerr << refusals[k] << '\n';
            status[k] = Unreadable;
        }
    std::atomic<size_t> next{0};
    std::mutex errLock;
    auto worker = [&] {
        for (size_t k; (k = next++) < options.files.size();)
            if (refusals[k].empty()) status[k] = RunOne(options, options.files[k], errLock);
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
    if (command == "check") return Check(args);
    if (command == "run") return Run(args);
    if (command == "graph") return Graph(args);
    if (command == "drain-design") return DrainDesign(args);
    if (command == "sweep") return Sweep(args);
    std::cerr << "halovane-cli: unknown command '" << command << "'\n" << HelpText;
    return Usage;
}

}  // namespace halovane::cli
