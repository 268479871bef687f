// Scripted answers for the engine's questions, shared by the engine tests.
#pragma once

#include <string>
#include <vector>

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

}  // namespace halovane::test
