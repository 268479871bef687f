// Stopping a run: the run looks at the user's cancel flag between time
// steps, refinement trials and searches, asks nothing more and writes
// nothing; an unset flag changes no result.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "EngineSupport.h"
#include "InputFile.h"
#include "LeachingSearch.h"
#include "LeachingSearchFast.h"
#include "Searches.h"
#include "TestSupport.h"
#include "WaterBalance.h"

using namespace halovane;
using namespace halovane::test;

namespace {

// Three layers in yearly steps, measured in every zone.
ModelInput Measured(int steps) {
    ModelInput in = ThreeLayersMeasured(steps, 0.05);
    in.Title1 = "Cancelled field";
    in.Title2 = "runs";
    DistributeIrrigation(in);
    return in;
}

// Answers yes to both questions and sets the cancel flag at a chosen moment:
// at a progress position or at a question.
class CancellingInteraction : public ScriptedInteraction {
public:
    CancellingInteraction() : ScriptedInteraction(true, true) {}
    int cancelAtProgress = -1;
    std::string cancelAtQuestion;
    std::atomic<bool> flag{false};

    bool AskYesNo(const std::string& question) override {
        if (question == cancelAtQuestion) flag = true;
        return ScriptedInteraction::AskYesNo(question);
    }
    void SetProgress(int position) override {
        if (position == cancelAtProgress) flag = true;
        ScriptedInteraction::SetProgress(position);
    }
    const std::atomic<bool>* CancelFlag() const override { return &flag; }
};

size_t FilesIn(const TempDir& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

}  // namespace

TEST(RunCancel, AnUnsetFlagChangesNoResult) {
    TempDir plainDir, flaggedDir;
    ModelInput in = Measured(12);
    in.InputFileName = plainDir.File("field.inp");
    ModelState plain;
    ScriptedInteraction asked(true, true);
    ASSERT_EQ(RunModel(in, plain, asked).status, RunStatus::Completed);

    in.InputFileName = flaggedDir.File("field.inp");
    ModelState flagged;
    CancellingInteraction ui;
    ASSERT_EQ(RunModel(in, flagged, ui).status, RunStatus::Completed);
    EXPECT_EQ(ui.questions, asked.questions);
    EXPECT_EQ(ui.progress, asked.progress);
    std::string a = ReadFile(plainDir.File("field.out")), b = ReadFile(flaggedDir.File("field.out"));
    const std::string dirA = plainDir.Path().string(), dirB = flaggedDir.Path().string();
    for (size_t at = b.find(dirB); at != std::string::npos; at = b.find(dirB)) b.replace(at, dirB.size(), dirA);
    EXPECT_EQ(a, b);
    EXPECT_EQ(flagged.QH1w, plain.QH1w);
    for (size_t z = 0; z < ZoneCount; ++z) EXPECT_EQ(flagged.Fit[z].LE, plain.Fit[z].LE);
}

TEST(RunCancel, EndsAtEverySafePointWithoutAnotherQuestionOrAnyFile) {
    struct Moment {
        const char* what;
        int progress;
        const char* question;
        std::vector<std::string> asked;
    };
    const Moment moments[] = {
        {"before the refinement question", 2, "", {}},
        {"during the refinement", -1, RefinementQuestion, {RefinementQuestion}},
        {"during the searches", -1, OptimisationQuestion, {RefinementQuestion, OptimisationQuestion}},
        {"after the searches", 4, "", {RefinementQuestion, OptimisationQuestion}},
        {"after the salt balance", 6, "", {RefinementQuestion, OptimisationQuestion}},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.what);
        TempDir dir;
        ModelInput in = Measured(12);
        in.InputFileName = dir.File("field.inp");
        const std::string oldOutput = "the results of an earlier run";
        WriteFile(dir.File("field.out"), oldOutput);
        const std::string before = InputFileText(in);
        ModelState state;
        CancellingInteraction ui;
        ui.cancelAtProgress = m.progress;
        ui.cancelAtQuestion = m.question;
        std::vector<SearchProfile> profiles;
        const RunOutcome outcome = RunModel(in, state, ui, RunFiles{true}, &profiles);
        EXPECT_EQ(outcome.status, RunStatus::Cancelled);
        EXPECT_EQ(outcome.message, "The calculations were cancelled. The output file was not written.");
        EXPECT_EQ(ui.questions, m.asked);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(profiles.empty());
        EXPECT_EQ(std::count(ui.progress.begin(), ui.progress.end(), 9), 0);
        EXPECT_EQ(ReadFile(dir.File("field.out")), oldOutput);
        EXPECT_EQ(FilesIn(dir), 1u);  // no CSV file, no temporary left
        EXPECT_EQ(InputFileText(in), before);
    }
}

TEST(RunCancel, LoopsLookAtTheFlag) {
    // Each loop on its own, with the flag already set: nothing is computed.
    ModelInput in = Measured(12);
    DistributeIrrigation(in);
    std::atomic<bool> flag{true};
    RunData run;
    PrepareRun(in, run);
    run.cancel = &flag;
    ModelState state;
    state.Results.Resize(in.NrTst);
    state.Results.DrainT.assign(static_cast<size_t>(in.NrTst) + 2, 0.0);
    state.Stor.assign(static_cast<size_t>(in.NrTst) + 1, 0.0);
    state.DStor.assign(static_cast<size_t>(in.NrTst) + 1, 0.0);
    for (Series* s : {&state.Flows.Perc1, &state.Flows.Cap, &state.Flows.Perc2, &state.Flows.Cap1,
                      &state.Flows.Cap2, &state.Flows.Perc3, &state.Flows.Cap3})
        s->assign(static_cast<size_t>(in.NrTst) + 1, 0.0);
    state.Counts = CountMeasurements(run.in);
    for (int z = 0; z < ZoneCount; ++z) state.Fit[static_cast<size_t>(z)].LE = run.GivenLE[static_cast<Zone>(z)];

    RefineDrainageCapacity(run, state);
    EXPECT_EQ(state.QH1w, 0);  // no trial was made
    EXPECT_FALSE(state.RefinementAccepted);

    state.QH1w = in.QH1;
    ScriptedInteraction ui;
    RunWaterBalance(run, state, ui);
    for (int i = 1; i <= in.NrTst; ++i) EXPECT_EQ(state.Results.PercT[static_cast<size_t>(i)], 0) << i;

    for (bool reference : {false, true}) {
        RunSearches(run, state, reference);
        for (int z = 0; z < ZoneCount; ++z)
            EXPECT_EQ(state.Fit[static_cast<size_t>(z)].LE, run.GivenLE[static_cast<Zone>(z)]);
    }
    // Inside one search, the trials stop as well.
    for (bool reference : {false, true}) {
        std::vector<double> scores(SearchTrials, -7.0);
        if (reference)
            SearchLeachingEfficiencyReference(run, state, 3, Zone::Layer2, scores.data());
        else
            SearchLeachingEfficiencyFast(run, state, 3, Zone::Layer2, scores.data());
        EXPECT_EQ(std::count(scores.begin(), scores.end(), -7.0), SearchTrials);
    }
}

TEST(RunCancel, AnotherThreadStopsALongRun) {
    // Daily bookkeeping in 400 yearly steps makes the refinement and the
    // searches long; the flag set from another thread as soon as the first
    // question was asked ends the run long before they could finish.
    struct Signalling : CancellingInteraction {
        std::atomic<bool> asked{false};
        bool AskYesNo(const std::string& question) override {
            asked = true;
            return CancellingInteraction::AskYesNo(question);
        }
    } ui;
    std::thread canceller([&] {
        while (!ui.asked) std::this_thread::yield();
        ui.flag = true;
    });
    TempDir dir;
    ModelInput in = Measured(400);
    in.InputFileName = dir.File("long.inp");
    ModelState state;
    const auto t0 = std::chrono::steady_clock::now();
    const RunOutcome outcome = RunModel(in, state, ui);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    canceller.join();
    EXPECT_EQ(outcome.status, RunStatus::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("long.out")));
    EXPECT_LT(seconds, 5.0);
}
