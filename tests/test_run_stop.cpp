// Where a run stopped: from the run itself and from the rows of its output
// file, which must agree, and no stop in runs that completed.
#include <gtest/gtest.h>

#include "EngineSupport.h"
#include "InputFile.h"
#include "OutputFile.h"
#include "ResultsCsv.h"
#include "RunStop.h"
#include "TestSupport.h"

using namespace halovane;
using namespace halovane::test;

namespace {

const std::string CasesFolder = std::string(HALOVANE_TEST_DATA) + "/../cases";

struct CaseRun {
    ModelInput in;
    ModelState state;
    OutputReadback output;
    int nrTst = 0;
};

CaseRun RunCase(const std::string& name, TempDir& dir) {
    CaseRun run;
    const std::string inputName = dir.File(name + ".inp");
    WriteFile(inputName, ReadFile(CasesFolder + "/" + name + "/input.inp"));
    ModelInput& in = run.in;
    in.InputFileName = inputName;
    EXPECT_TRUE(ReadInputFile(in).Ok());
    DistributeIrrigation(in);
    ScriptedInteraction ui;
    RunModel(in, run.state, ui);
    run.nrTst = in.NrTst;
    NumberFormat format;
    EXPECT_TRUE(ReadOutputFile(dir.File(name + ".out"), run.output, format).ok);
    return run;
}

TEST(RunStop, TheRunAndItsOutputFileAgreeOnTheStep) {
    TempDir dir;
    const CaseRun stopped = RunCase("case010", dir);
    ASSERT_TRUE(stopped.state.Stop);
    const int step = StoppedAtStep(stopped.state, stopped.nrTst);
    EXPECT_EQ(step, 17);  // the water table left the aquifer during step 17 of 39
    EXPECT_EQ(StoppedAtStep(stopped.output.Results, stopped.output.NrTst), step);
    // FILE.csv: the steps from the stop on keep their given data, their
    // results are empty cells, not zeros, and `stopped` marks them.
    const std::string csv = ResultsCsv(stopped.in, stopped.state);
    std::vector<std::string> lines;
    for (size_t from = 0, end; (end = csv.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(csv.substr(from, end - from));
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 8), ",stopped");
    EXPECT_EQ(lines[16].substr(lines[16].size() - 2), ",0");
    EXPECT_EQ(lines[16].find(",,,"), std::string::npos);
    for (int i = 17; i <= 39; ++i) {
        const std::string& row = lines[static_cast<size_t>(i)];
        EXPECT_EQ(row.substr(row.size() - 2), ",1") << i;
        // step, rain, irrigation, evaporation, then 5 empty results and
        // per zone an empty calculated and a measured or empty cell.
        const size_t results = row.find(",,,,,,");
        ASSERT_NE(results, std::string::npos) << row;
        EXPECT_EQ(std::count(row.begin(), row.begin() + static_cast<long>(results), ','), 3) << row;
    }

    for (const char* name : {"case001", "case005", "case021", "case024"}) {
        const CaseRun done = RunCase(name, dir);
        EXPECT_EQ(StoppedAtStep(done.state, done.nrTst), 0) << name;
        EXPECT_EQ(StoppedAtStep(done.output.Results, done.output.NrTst), 0) << name;
    }
}

TEST(RunStop, RowsOfZerosCountOnlyWhenTheyEndTheFile) {
    StepResults r;
    auto rows = [&r](std::vector<double> dwt) {
        const size_t n = dwt.size();
        r.Dwt = dwt;
        for (Series* s : {&r.PercT, &r.CapTT, &r.EvapAT, &r.DrainT}) s->assign(n, 0.0);
        return static_cast<int>(n) - 1;
    };
    // Zeros in the middle of a run: the water table reached the surface
    // and sank again, no stop.
    int n = rows({0, 2.0, 0, 0, 1.5});
    EXPECT_EQ(StoppedAtStep(r, n), 0);
    // Zeros to the end after a depth: the run stopped in step 2.
    n = rows({0, 2.0, 9.5, 0, 0});
    EXPECT_EQ(StoppedAtStep(r, n), 2);
    // A flow in the last row: computed.
    r.EvapAT[4] = 0.1;
    EXPECT_EQ(StoppedAtStep(r, n), 0);
    // A water table that reached the surface and stayed there through
    // steps without flows is not a stop.
    n = rows({0, 1.0, 0, 0});
    r.EvapAT[2] = 3;
    EXPECT_EQ(StoppedAtStep(r, n), 0);
    // Nothing but zeros, a stop in the last step, a short or empty file.
    n = rows({0, 0, 0, 0});
    EXPECT_EQ(StoppedAtStep(r, n), 0);
    n = rows({0, 2.0, 2.1, 9.5});
    EXPECT_EQ(StoppedAtStep(r, n), 0);
    EXPECT_EQ(StoppedAtStep(StepResults{}, 0), 0);
    EXPECT_EQ(StoppedAtStep(StepResults{}, 5), 0);
}

}  // namespace
