// The design study as a benchmark: 20 years of a typical year, 9 drain
// depths x 7 drain spacings x 7 irrigation efficiencies at daily, weekly and
// monthly steps, every run in memory. Prints the time of the whole sweep
// on every core and on one.
//   halovane-bench-sweep [THREADS]
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "InputFile.h"
#include "NumberText.h"
#include "Scenario.h"
#include "ThreadTeam.h"

using namespace halovane;

namespace {

const char* const Study =
    "base two-layer-drained.inp\n"
    "typical_year typical-year.csv\n"
    "years 20\n"
    "drains ka 0.5 kb 0.8 impermeable 3 radius 0.1\n"
    "set irrigation_salinity 1.5\n"
    "set initial_salinity_layer1 3\n"
    "set initial_salinity_layer2 3\n"
    "vary step_length 1 7 30\n"
    "vary drain_depth 0.8:2.4:0.2\n"
    "vary drain_spacing 20 30 40 60 80 100 150\n"
    "vary irrigation_efficiency 50:80:5\n"
    "criterion max root_zone_salinity <= 4\n"
    "criterion min water_table_depth >= 1.0\n";

}  // namespace

int main(int argc, char** argv) {
    Scenario scenario;
    ModelInput base;
    std::string error;
    if (!LoadScenarioText(Study, HALOVANE_EXAMPLES, scenario, base, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::vector<std::vector<double>> runs = ScenarioRuns(scenario);
    int threads = MachineCores();
    if (argc > 1 && (!TryParseInteger(argv[1], threads) || threads < 1)) {
        std::fprintf(stderr, "usage: halovane-bench-sweep [THREADS]\n");
        return 1;
    }
    // Wall-clock seconds; `cpu` gets the processor seconds of every thread,
    // the figure that other programs on a busy machine leave alone.
    double cpu = 0;
    auto time = [&](int n, std::vector<SweepRow>& rows) {
        SweepOptions options;
        options.threads = n;
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        rows = RunSweep(scenario, base, runs, options);
        cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<SweepRow> rows, single;
    const double wall = time(threads, rows);
    int refused = 0, passed = 0;
    for (const SweepRow& row : rows) {
        if (!row.error.empty()) ++refused;
        if (!row.metrics.empty() && row.pass[0] && row.pass[1]) ++passed;
    }
    std::printf("%zu runs (20 years; 9 drain depths x 7 spacings x 7 efficiencies x daily, weekly, monthly steps)\n",
                rows.size());
    std::printf("%d threads: %.2f s (processor time %.2f s, %.2f ms per run); %d refused, %d pass both criteria\n",
                threads, wall, cpu, 1000 * cpu / static_cast<double>(rows.size()), refused, passed);
    const double one = time(1, single);
    std::printf("1 thread:  %.2f s (processor time %.2f s); the same table: %s\n", one, cpu,
                SweepCsv(scenario, single) == SweepCsv(scenario, rows) ? "yes" : "NO");
    return 0;
}
