#include "RunDriver.h"

#include <algorithm>
#include <cctype>

#include <cmath>
#include <map>

#include "Conserving.h"
#include "Balance.h"
#include "FitReportFiles.h"
#include "OutputFile.h"
#include "ResultColumns.h"
#include "ResultsCsv.h"
#include "SaltBalance.h"
#include "Searches.h"
#include "TextFile.h"
#include "Validation.h"
#include "WaterBalance.h"

namespace halovane {

namespace {


int FirstStepOutOfRange(const ModelState& state) {
    const StepResults& r = state.Results;
    for (size_t i = 0; i < r.Dwt.size(); ++i)
        for (const ResultColumn& c : ResultColumns)
            if (!std::isfinite(c.Of(r)[i])) return static_cast<int>(i);
    for (const ZoneFit& fit : state.Fit)
        if (!std::isfinite(fit.LE) || !std::isfinite(fit.FitIndex)) return 0;
    return -1;
}


void PrescribedSearches(const RunData& run, ModelState& state, int threads, std::vector<SearchProfile>* profiles) {
    RunSearches(run, state, false, threads, profiles);
}

// The parts of a run that differ between the model variants.
struct ModelParts {
    void (*spreadIrrigation)(ModelInput&);  // after the conversion; none keeps the prescribed series
    void (*refine)(RunData&, ModelState&);
    void (*water)(RunData&, ModelState&, UserInteraction&);
    void (*searches)(const RunData&, ModelState&, int, std::vector<SearchProfile>*);
    void (*salt)(const RunData&, ModelState&);
};

const ModelParts& PartsOf(ModelVariant variant) {
    static const ModelParts prescribed{nullptr, RefineDrainageCapacity, RunWaterBalance, PrescribedSearches,
                                       RunSaltBalance};
    static const ModelParts conserving{DistributeIrrigationAdding, RefineConservingDrainage,
                                       RunConservingWaterBalance, RunConservingSearches,
                                       RunConservingSaltBalance};
    return variant == ModelVariant::Conserving ? conserving : prescribed;
}

}  // namespace

std::string CheckRunnable(const ModelInput& in) {
    const std::vector<Problem> problems = ValidateDataSet(in);
    return HasErrors(problems) ? ProblemReport(problems) : std::string();
}

std::vector<std::string> RunOutputNames(const std::string& inputFileName, const RunFiles& files) {
    std::vector<std::string> names{OutputFileName(inputFileName)};
    if (files.csv) names.push_back(CsvFileName(inputFileName));
    if (files.balance) names.push_back(BalanceFileName(inputFileName));
    return names;
}

std::string CsvFileName(const std::string& inputFileName) { return ChangeExtension(inputFileName, ".csv"); }

std::string BalanceFileName(const std::string& inputFileName) {
    return ChangeExtension(inputFileName, ".balance.csv");
}

namespace {

// Equal but for the case of letters: one file on systems whose names ignore
// case, so such a name is refused everywhere.
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string OutputOverwritesInput(const std::string& inputFileName, const RunFiles& files) {
    for (const std::string& name : RunOutputNames(inputFileName, files))
        if (SameFile(name, inputFileName) || SameIgnoringCase(name, inputFileName))
            return "The results of " + inputFileName + " would be written over the input data file itself. " +
                   "Please give the input data file a name ending in .inp. Nothing was written.";
    return std::string();
}

std::vector<std::string> OutputNameClashes(const std::vector<std::string>& inputs, const RunFiles& files) {
    // One key per place on the disk: links and "." or ".." resolved.
    const auto key = PlaceOnDisk;
    std::map<std::string, size_t> inputAt;
    for (size_t k = 0; k < inputs.size(); ++k) inputAt.emplace(key(inputs[k]), k);
    std::map<std::string, size_t> writtenBy;
    std::vector<std::string> clashes(inputs.size());
    for (size_t k = 0; k < inputs.size(); ++k) {
        const std::vector<std::string> names = RunOutputNames(inputs[k], files);
        for (const std::string& name : names) {
            const std::string place = key(name);
            const auto earlier = writtenBy.find(place);
            const auto input = inputAt.find(place);
            if (earlier != writtenBy.end()) {
                clashes[k] = "The results of " + inputs[k] + " would be written to " + name +
                             ", where the results of " + inputs[earlier->second] +
                             " go. Please give one of the two input data files another name. " + inputs[k] +
                             " was not run.";
            } else if (input != inputAt.end() && input->second != k) {
                clashes[k] = "The results of " + inputs[k] + " would be written over " + inputs[input->second] +
                             ", an input data file of the same call. " + inputs[k] + " was not run.";
            }
            if (!clashes[k].empty()) break;
        }
        // Only an input that will be run claims its names.
        if (clashes[k].empty() && OutputOverwritesInput(inputs[k], files).empty())
            for (const std::string& name : names) writtenBy.emplace(key(name), k);
    }
    return clashes;
}

void PrepareAndBalanceWater(const ModelInput& given, RunData& run, ModelState& state, UserInteraction& ui) {
    state.Stop = false;
    state.RefinementChosen = false;
    state.RefinementAccepted = false;
    for (ZoneFit& fit : state.Fit) fit.LeOptimized = false;

    const ModelParts& parts = PartsOf(given.Variant);
    PrepareRun(given, run);
    if (parts.spreadIrrigation) parts.spreadIrrigation(run.in);
    run.cancel = ui.CancelFlag();
    ModelInput& in = run.in;
    const int n = in.NrTst;
    for (Zone zone : EveryZone) state.Fit[static_cast<size_t>(zone)].LE = run.GivenLE[zone];
    state.Counts = CountMeasurements(in);

    state.Results.DrainT.reserve(static_cast<size_t>(n) + 2);  // one allocation for its extra step
    state.Results.Resize(n);
    state.Results.DrainT.assign(static_cast<size_t>(n) + 2, 0.0);
    state.Stor.assign(static_cast<size_t>(n) + 1, 0.0);
    state.DStor.assign(static_cast<size_t>(n) + 1, 0.0);
    LayerFlows& f = state.Flows;
    f = LayerFlows{};
    const size_t size = static_cast<size_t>(n) + 1;
    f.Perc1.assign(size, 0.0);
    f.Cap.assign(size, 0.0);
    if (in.NrLayers >= 2) {
        f.Perc2.assign(size, 0.0);
        f.Cap1.assign(size, 0.0);
        f.Cap2.assign(size, 0.0);
    }
    if (in.NrLayers == 3) {
        f.Perc3.assign(size, 0.0);
        f.Cap3.assign(size, 0.0);
    }
    state.Results.Dwt[0] = in.Dwtini;
    state.Days.clear();

    ui.SetProgress(2);
    if (Cancelled(run)) return;
    if (ui.AskYesNo(RefinementQuestion)) {
        state.RefinementChosen = true;
        parts.refine(run, state);
    } else {
        state.QH1w = in.QH1;
    }
    parts.water(run, state, ui);
    ui.SetProgress(3);
}

namespace {

// The run of data that passed the check, up to the results in `state`:
// Completed or Stopped, or Refused where the numbers left the range,
// Cancelled when the user stopped it.
RunOutcome Compute(const ModelInput& given, RunData& run, ModelState& state, UserInteraction& ui,
                   std::vector<SearchProfile>* profiles, int searchThreads, bool balanceRows) {
    RunOutcome outcome;
    // A stopped run ends at the next phase, before any later question.
    auto cancelled = [&]() {
        if (!Cancelled(run)) return false;
        if (profiles) profiles->clear();
        outcome.status = RunStatus::Cancelled;
        outcome.message = "The calculations were cancelled. The output file was not written.";
        return true;
    };
    PrepareAndBalanceWater(given, run, state, ui);
    // Deliberate: a stop of the water balance does not end the run; the output file still holds every step.
    if (cancelled()) return outcome;

    if (state.Counts.anyOptimisable() && ui.AskYesNo(OptimisationQuestion)) {
        PartsOf(given.Variant).searches(run, state, searchThreads, profiles);
        if (cancelled()) return outcome;
        ui.SetProgress(4);
    }
    ui.SetProgress(6);

    PartsOf(given.Variant).salt(run, state);
    if (cancelled()) return outcome;
    // The conserving variant keeps its books in state.Salt, not in the ledger.
    if (given.Variant == ModelVariant::Conserving) state.Ledger = SaltLedger{};
    state.Balance = ComputeBalance(run, state, balanceRows);
    ui.SetProgress(8);
    for (Zone zone : EveryZone) {
        ZoneFit& fit = state.Fit[static_cast<size_t>(zone)];
        fit.LeOptimized = fit.LE != run.GivenLE[zone];
    }
    // Deliberate: step 0 shows the drain discharge of step 1, so its graph starts at the first value.
    state.Results.DrainT[0] = state.Results.DrainT[1];

    // Extreme data can still overflow the balances; such numbers never go
    // into an output file.
    const int bad = FirstStepOutOfRange(state);
    if (bad >= 0) {
        outcome.status = RunStatus::Refused;
        outcome.message = "The calculations gave numbers out of range in time step " + std::to_string(bad) +
                          ". The output file was not written. Please check the data.";
        return outcome;
    }
    outcome.status = state.Stop ? RunStatus::Stopped : RunStatus::Completed;
    return outcome;
}

}  // namespace

RunOutcome ComputeModel(const ModelInput& given, ModelState& state, UserInteraction& ui,
                        std::vector<SearchProfile>* profiles, int searchThreads, bool balanceRows) {
    if (profiles) profiles->clear();
    const std::string refusal = CheckRunnable(given);
    if (!refusal.empty()) return RunOutcome{RunStatus::Refused, refusal};
    RunData run;
    return Compute(given, run, state, ui, profiles, searchThreads, balanceRows);
}

RunOutcome RunModel(const ModelInput& given, ModelState& state, UserInteraction& ui, const RunFiles& files,
                    std::vector<SearchProfile>* profiles, int searchThreads) {
    if (profiles) profiles->clear();
    std::string refusal = CheckRunnable(given);
    if (refusal.empty()) refusal = OutputOverwritesInput(given.InputFileName, files);
    if (!refusal.empty()) return RunOutcome{RunStatus::Refused, refusal};
    RunData run;
    RunOutcome outcome = Compute(given, run, state, ui, profiles, searchThreads, files.balance);
    if (outcome.status != RunStatus::Completed && outcome.status != RunStatus::Stopped) return outcome;
    ui.SetProgress(8);

    state.OutputFileName = OutputFileName(given.InputFileName);
    std::vector<std::pair<std::string, std::string>> written;
    written.reserve(3);
    written.emplace_back(state.OutputFileName, OutputFileText(run.in, state, state.OutputFileName));
    if (files.csv) written.emplace_back(CsvFileName(given.InputFileName), ResultsCsv(given, state));
    if (files.balance) written.emplace_back(BalanceFileName(given.InputFileName), BalanceCsv(state.Balance));
    std::vector<std::string> removed;
    if (files.fitReport) AddFitReportFiles(given, state, profiles, written, removed);
    const std::string error = WriteFilesTogether(written, removed);
    ui.SetProgress(9);
    if (!error.empty()) {
        outcome.status = RunStatus::WriteFailed;
        outcome.message = error;
        return outcome;
    }
    outcome.status = state.Stop ? RunStatus::Stopped : RunStatus::Completed;
    return outcome;
}

}  // namespace halovane
