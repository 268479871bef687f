// How well the measured salinities determine each fitted leaching
// efficiency: statistics of the final pass per searched zone, and from the
// scores of every trial of a search the best value, an approximate 95 %
// interval and warning flags.
#pragma once

#include <string>
#include <vector>

#include "ModelInput.h"
#include "ModelState.h"
#include "SearchProfile.h"

namespace halovane {

// Agreement of simulated with measured salinities over n pairs.
struct FitStatistics {
    int n = 0;
    double meanMeasured = 0, meanSimulated = 0;
    double sse = 0;   // sum of (simulated - measured)^2
    double rmse = 0;  // sqrt(sse / n)
    double mae = 0;   // mean |simulated - measured|
    double bias = 0;  // mean simulated - mean measured
    // 1 - sse / sum (measured - mean measured)^2; undefined when every
    // measured value is the same.
    double nse = 0;
    bool nseDefined = false;
    // Square of the correlation of simulated with measured; undefined when
    // either series is constant.
    double r2 = 0;
    bool r2Defined = false;
};

// The statistics of paired values (same length).
FitStatistics ComputeFitStatistics(const std::vector<double>& simulated, const std::vector<double>& measured);

// The 0.95 quantile of the F distribution with 1 and `df` degrees of
// freedom (df >= 1), that is the square of Student's t at 0.975.
double FQuantile95(int df);

// What the scores of one search say about its zone's efficiency.
struct ProfileSummary {
    int bestIndex = 0;     // first trial with the lowest score
    double best = 0;       // its efficiency
    double bestScore = 0;
    double fQuantile = 0;  // F(1, n - 1; 0.95)
    double limit = 0;      // bestScore * (1 + fQuantile / (n - 1))
    int lowIndex = 0, highIndex = 0;  // lowest and highest trial scoring at most `limit`
    double low = 0, high = 0;
    bool bestAtEdge = false;    // best is 0.11 or 1.90
    bool notDetermined = false; // the interval reaches 0.11 or 1.90
    bool flat = false;          // the interval spans more than half of the trials
    bool capped = false;        // a trial inside the interval hit the score cap of 1000
};

// The summary of a profile for a zone with n >= 2 measured values.
ProfileSummary SummariseProfile(const SearchProfile& profile, int n);

// The report row of one searched zone.
struct ZoneReport {
    Zone zone = Zone::Layer1;
    int search = 0;          // number (from 1) of the zone's last search in the run
    double le = 0;           // efficiency in force in the final pass (fraction)
    bool optimized = false;  // differs from the given efficiency
    std::string fitIndex;    // the model's fit index as the output file prints it (%)
    FitStatistics stats;
    ProfileSummary profile;  // of the zone's last search
};

struct FitReport {
    int layers = 0;
    ModelVariant variant = ModelVariant::Prescribed;  // the model of the run
    // The step in which the run stopped (0: it completed); the statistics
    // pair only the steps before it, which were computed.
    int stoppedAtStep = 0;
    std::string outputFile;  // the name of the run's output file, without its folder
    std::vector<ZoneReport> zones;        // searched zones, surface down
    std::vector<SearchProfile> searches;  // every search, in the order made
    bool empty() const { return zones.empty(); }
};

// The report of a run that has just finished: `in` is the data set of the
// run, `state` its results and `profiles` what RunModel gave back.
FitReport BuildFitReport(const ModelInput& in, const ModelState& state, const std::vector<SearchProfile>& profiles);

// The name a zone has in the report: "rootzone" (one layer), "layer1",
// "layer2", "layer3", "transition", "aquifer".
std::string ReportZoneName(int layers, Zone zone);

}  // namespace halovane
