// Scripted answers for the engine's questions, shared by the engine tests.
#pragma once

#include <string>
#include <vector>

#include "ModelInput.h"
#include "RunDriver.h"

namespace halovane::test {

class ScriptedInteraction : public UserInteraction {
public:
    ScriptedInteraction(bool refine = false, bool optimise = false) : refine_(refine), optimise_(optimise) {}
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        if (question == RefinementQuestion) return refine_;
        if (question == OptimisationQuestion) return optimise_;
        return false;
    }
    void ShowMessage(const std::string& message) override { messages.push_back(message); }
    void SetProgress(int position) override { progress.push_back(position); }

    std::vector<std::string> questions, messages;
    std::vector<int> progress;

private:
    bool refine_, optimise_;
};

// Three layers in yearly steps with measured salinities in every zone that
// rise by `measuredRise` a step: a run asks both questions and makes all
// seven searches, which take a while on long series.
inline ModelInput ThreeLayersMeasured(int steps, double measuredRise) {
    ModelInput in;
    in.NrTst = steps;
    in.Ts = 360;
    in.NrLayers = 3;
    ResizeHydrologicalSeries(in, steps);
    ResizeMeasuredSeries(in, steps, -1);
    for (int i = 1; i <= steps; ++i) {
        in.Rain[i] = 300 + 10 * (i % 7);
        in.Irrig[i] = 900 + 20 * (i % 5);
        in.EvapT[i] = 1100;
        for (Series* m : {&in.ECsm1, &in.ECsm2, &in.ECsm3, &in.ECsmt, &in.ECsma}) (*m)[i] = 4.0 + measuredRise * i;
    }
    in.D1 = 0.3, in.D2 = 0.3, in.D3 = 0.4, in.Dt = 1.5, in.Da = 10;
    in.TP1 = 45, in.TP2 = 44, in.TP3 = 43, in.TPt = 42, in.TPa = 40;
    in.EP1 = 8, in.EP2 = 7, in.EP3 = 6, in.EPt = 5, in.EPa = 10;
    in.LE1 = 80, in.LE2 = 75, in.LE3 = 70, in.LEt = 70, in.LEa = 100;
    in.S1ini = 4, in.S2ini = 5, in.S3ini = 6, in.STini = 7, in.SAini = 8;
    in.Si = 1.2, in.Dwtini = 1.5, in.CDc = 1.2, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.5, in.Out = 0.3, in.Sinf = 2.5;
    return in;
}

}  // namespace halovane::test
