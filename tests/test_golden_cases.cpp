// Every folder in tests/cases holds an input data file (input.inp), the
// answers to the two questions (answers.txt) and the output files computed
// for it independently: plain.out answers no to both questions,
// answered.out answers as answers.txt says. The run must reproduce every
// printed value.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "InputFile.h"
#include "EngineSupport.h"
#include "TestSupport.h"

using namespace halovane;
using namespace halovane::test;

namespace {

const std::string CasesFolder = std::string(HALOVANE_TEST_DATA) + "/../cases";

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(CasesFolder))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string f; in >> f;) fields.push_back(f);
    return fields;
}

// Compares two output files value by value; line 2 names the file and is
// left out. Returns the differences found.
std::string CompareOutputs(const std::string& actual, const std::string& expected) {
    const auto a = Lines(actual), e = Lines(expected);
    std::ostringstream diff;
    if (a.size() != e.size()) diff << "line count " << a.size() << " != " << e.size() << "\n";
    for (size_t k = 0; k < std::min(a.size(), e.size()); ++k) {
        if (k == 1) continue;
        if (Fields(a[k]) != Fields(e[k])) diff << "line " << k + 1 << ":\n  got  " << a[k] << "\n  want " << e[k] << "\n";
    }
    return diff.str();
}

struct Answers {
    bool refine = false, optimise = false;
};

Answers ReadAnswers(const std::string& name) {
    Answers answers;
    std::istringstream in(ReadFile(CasesFolder + "/" + name + "/answers.txt"));
    for (std::string key, value; in >> key >> value;) {
        if (key == "refine") answers.refine = value == "yes";
        if (key == "optimise") answers.optimise = value == "yes";
    }
    return answers;
}

class GoldenCase : public ::testing::TestWithParam<std::string> {
protected:
    std::string RunCase(bool refine, bool optimise, RunStatus* status = nullptr) {
        const std::string inputName = dir_.File(GetParam() + ".inp");
        WriteFile(inputName, ReadFile(CasesFolder + "/" + GetParam() + "/input.inp"));
        ModelInput in;
        in.InputFileName = inputName;
        const InputReadResult read = ReadInputFile(in);
        EXPECT_TRUE(read.Ok()) << read.message;
        DistributeIrrigation(in);
        ModelState state;
        ScriptedInteraction ui(refine, optimise);
        const RunOutcome outcome = RunModel(in, state, ui);
        if (status) *status = outcome.status;
        return ReadFile(dir_.File(GetParam() + ".out"));
    }
    TempDir dir_;
};

TEST_P(GoldenCase, PlainRunMatchesTheReference) {
    const std::string expected = ReadFile(CasesFolder + "/" + GetParam() + "/plain.out");
    EXPECT_EQ(CompareOutputs(RunCase(false, false), expected), "");
}

TEST_P(GoldenCase, AnsweredRunMatchesTheReference) {
    const Answers answers = ReadAnswers(GetParam());
    const std::string expected = ReadFile(CasesFolder + "/" + GetParam() + "/answered.out");
    RunStatus status{};
    const std::string actual = RunCase(answers.refine, answers.optimise, &status);
    EXPECT_EQ(CompareOutputs(actual, expected), "");
    // The reference files end their lines with CR LF, as the program does.
    EXPECT_EQ(actual.substr(0, 2) == "OU" ? actual.find("\r\n") : 0, std::string("OUTPUT OF Halovane").size());
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& param) { return param.param; });

}  // namespace
