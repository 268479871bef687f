#include "SweepCommand.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "Commands.h"
#include "GraphCommand.h"
#include "NumberText.h"
#include "Scenario.h"
#include "TextFile.h"

namespace halovane::cli {

namespace {

struct SweepArgs {
    int jobs = 0;  // 0: every core
    bool keep = false;
    std::string scenario, folder;
};

bool ParseSweepArgs(const std::vector<std::string>& args, SweepArgs& options) {
    std::vector<std::string> names;
    bool namesOnly = false;
    for (size_t k = 1; k < args.size(); ++k) {
        if (EndsOptions(args[k], namesOnly)) continue;
        if (namesOnly) {
            names.push_back(args[k]);
            continue;
        }
        const std::string& a = args[k];
        if (a == "--keep") {
            options.keep = true;
        } else if (a.rfind("-j", 0) == 0) {
            const std::string value = a.size() > 2 ? a.substr(2) : (k + 1 < args.size() ? args[++k] : std::string());
            if (!TryParseInteger(value, options.jobs) || options.jobs < 1) {
                std::cerr << "halovane-cli: -j takes a number of runs to make at a time\n";
                return false;
            }
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "halovane-cli: unknown option '" << a << "'\n";
            return false;
        } else {
            names.push_back(a);
        }
    }
    if (names.empty() || names.size() > 2) {
        std::cerr << "halovane-cli: sweep takes a scenario file and, optionally, a folder for the results\n";
        return false;
    }
    options.scenario = names[0];
    options.folder = names.size() > 1 ? names[1] : std::filesystem::path(names[0]).parent_path().string();
    return true;
}

std::string Shown(double value) { return std::isnan(value) ? std::string("base") : ShortestText(value); }

}  // namespace

int Sweep(const std::vector<std::string>& args) {
    SweepArgs options;
    if (!ParseSweepArgs(args, options)) return Usage;
    Scenario scenario;
    ModelInput base;
    std::string error;
    if (!LoadScenario(options.scenario, scenario, base, error)) {
        std::cerr << error << '\n';
        return Unreadable;
    }
    std::error_code ec;
    if (!options.folder.empty()) std::filesystem::create_directories(options.folder, ec);
    if (ec) {
        std::cerr << "halovane-cli: the folder " << options.folder << " could not be made\n";
        return WriteFailed;
    }
    const std::string stem =
        (std::filesystem::path(options.folder.empty() ? "." : options.folder) /
         std::filesystem::path(options.scenario).stem())
            .string();

    SweepOptions sweep;
    sweep.threads = options.jobs;
    if (options.keep) sweep.keepFolder = options.folder.empty() ? "." : options.folder;
    int status = Ok;
    const auto started = std::chrono::steady_clock::now();
    if (!scenario.varied.empty()) {
        const std::vector<std::vector<double>> runs = ScenarioRuns(scenario);
        int shown = -1;
        sweep.progress = [&](int done, int total) {
            const int percent = 100 * done / total;
            if (percent == shown && done != total) return;
            shown = percent;
            std::cerr << "\rsweep: " << done << " of " << total << " runs (" << percent << " %)" << std::flush;
        };
        const std::vector<SweepRow> rows = RunSweep(scenario, base, runs, sweep);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        int refused = 0, passed = 0;
        for (const SweepRow& row : rows) {
            if (!row.error.empty()) ++refused;
            bool all = !row.metrics.empty() && !scenario.criteria.empty();
            for (bool p : row.pass) all = all && p;
            if (all) ++passed;
        }
        std::cerr << "\rsweep: " << rows.size() << " runs in " << ShortestText(std::round(seconds * 100) / 100)
                  << " s; " << refused << " refused";
        if (!scenario.criteria.empty()) std::cerr << "; " << passed << " pass every criterion";
        std::cerr << '\n';
        const std::string csv = stem + ".sweep.csv";
        const std::string written = WriteFileReplacing(csv, SweepCsv(scenario, rows));
        if (!written.empty()) {
            std::cerr << written << '\n';
            return WriteFailed;
        }
        std::cout << csv << '\n';
        status = DrawSweepCharts(scenario, rows, stem);
    }
    sweep.progress = nullptr;
    for (const Seek& seek : scenario.seeks) {
        for (const SeekResult& r : RunSeek(scenario, base, seek, sweep)) {
            std::cout << "seek " << seek.field << " for " << seek.criterion.text;
            size_t k = 0;
            for (const Varied& v : scenario.varied)
                if (v.name != seek.field) std::cout << ", " << v.name << " " << Shown(r.others[k++]);
            std::cout << ": " << (r.found ? seek.field + " " + ShortestText(r.value) : r.note) << " (" << r.runs
                      << " runs)\n";
        }
    }
    return status;
}

}  // namespace halovane::cli
