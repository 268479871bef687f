// Scripted answers for the engine's questions, shared by the engine tests.
#pragma once

#include <cstring>
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

// Whether two numbers are the same to the last bit (NaN included).
inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Random soil properties, zone by zone from the surface down: thin root-zone
// layers, a transition zone of 0.5 to 3 m and a deep aquifer. `value(lo, hi)`
// draws one number.
template <class Draw>
void DrawSoil(ModelInput& in, Draw&& value) {
    for (Zone zone : EveryZone) {
        const int z = static_cast<int>(zone);
        in.D[zone] = z < 3 ? value(0.1, 0.6) : z == 3 ? value(0.5, 3) : value(3, 30);
        in.TP[zone] = value(35, 55);
        in.EP[zone] = value(3, 15);
        in.LE[zone] = value(20, 100);
        in.Sini[zone] = value(0.5, 15);
    }
}

// The soil, the initial and the boundary conditions of the test fields: a
// shallow water table in the transition zone with some inflow and outflow.
inline void StandardSoil(ModelInput& in) {
    in.D[Z1] = 0.3, in.D[Z2] = 0.3, in.D[Z3] = 0.4, in.D[Zt] = 1.5, in.D[Za] = 10;
    in.TP[Z1] = 45, in.TP[Z2] = 44, in.TP[Z3] = 43, in.TP[Zt] = 42, in.TP[Za] = 40;
    in.EP[Z1] = 8, in.EP[Z2] = 7, in.EP[Z3] = 6, in.EP[Zt] = 5, in.EP[Za] = 10;
    in.LE[Z1] = 80, in.LE[Z2] = 75, in.LE[Z3] = 70, in.LE[Zt] = 70, in.LE[Za] = 100;
    in.Sini[Z1] = 4, in.Sini[Z2] = 5, in.Sini[Z3] = 6, in.Sini[Zt] = 7, in.Sini[Za] = 8;
    in.Si = 1.2, in.Dwtini = 1.5, in.CDc = 1.2, in.SMini = 60, in.IrrEff = 70;
    in.Inf = 0.5, in.Out = 0.3, in.Sinf = 2.5;
}

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
        for (Series& m : in.ECsm) m[i] = 4.0 + measuredRise * i;
    }
    StandardSoil(in);
    return in;
}

}  // namespace halovane::test
