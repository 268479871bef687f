// The cost of the fit report: an optimised run of the search benchmark's
// data set as "halovane-cli run --refine --optimise" makes it, without and
// with "--report" (the scores of every search kept, the report built and its
// two files written). Runs alternate so that a busy machine slows both
// alike; prints the fastest and the middle time of each and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "FitReport.h"
#include "FitReportFiles.h"
#include "HeavyCase.h"
#include "InputFile.h"
#include "RunDriver.h"

using namespace halovane;

namespace {

class Yes : public UserInteraction {
public:
    bool AskYesNo(const std::string&) override { return true; }
    void ShowMessage(const std::string& m) override { std::fprintf(stderr, "%s\n", m.c_str()); }
    void SetProgress(int) override {}
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "halovane-bench-report";
    std::filesystem::create_directories(folder);
    ModelInput in = HeavyCase();
    in.InputFileName = (folder / "heavy.inp").string();
    if (!WriteInputFile(in).empty()) return 2;

    std::vector<double> plain, reported, reportOnly, plainCpu, reportedCpu;
    Yes ui;
    for (int r = 0; r < rounds; ++r) {
        for (int withReport = 0; withReport < 2; ++withReport) {
            ModelInput data = in;
            ModelState state;
            std::vector<SearchProfile> profiles;
            const std::clock_t cpuStart = std::clock();
            const auto start = std::chrono::steady_clock::now();
            RunModel(data, state, ui, RunFiles{}, withReport ? &profiles : nullptr);
            const auto ran = std::chrono::steady_clock::now();
            if (withReport && !WriteFitReportFiles(state.OutputFileName, BuildFitReport(data, state, profiles)).empty())
                return 2;
            const auto end = std::chrono::steady_clock::now();
            (withReport ? reportedCpu : plainCpu).push_back(double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
            const double total = std::chrono::duration<double>(end - start).count();
            (withReport ? reported : plain).push_back(total);
            if (withReport) reportOnly.push_back(std::chrono::duration<double>(end - ran).count());
        }
    }
    std::filesystem::remove_all(folder);
    const double p = *std::min_element(plain.begin(), plain.end());
    const double q = *std::min_element(reported.begin(), reported.end());
    std::printf("Optimised run, 3 layers, 100 yearly steps, 5 zones measured, 7 searches, %d rounds\n", rounds);
    std::printf("without --report:  fastest %8.3f s   middle %8.3f s\n", p, Median(plain));
    std::printf("with --report:     fastest %8.3f s   middle %8.3f s\n", q, Median(reported));
    std::printf("processor time without: fastest %8.3f s   middle %8.3f s\n",
                *std::min_element(plainCpu.begin(), plainCpu.end()), Median(plainCpu));
    std::printf("processor time with:    fastest %8.3f s   middle %8.3f s\n",
                *std::min_element(reportedCpu.begin(), reportedCpu.end()), Median(reportedCpu));
    std::printf("building and writing the report alone: %.4f s (middle)\n", Median(reportOnly));
    std::printf("extra time: fastest %+.2f %%, middle %+.2f %%; processor time middle %+.2f %%\n",
                100 * (q / p - 1), 100 * (Median(reported) / Median(plain) - 1),
                100 * (Median(reportedCpu) / Median(plainCpu) - 1));
    return 0;
}
