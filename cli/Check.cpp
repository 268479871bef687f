#include "Check.h"

#include <iostream>

#include "Commands.h"
#include "Fields.h"
#include "InputFile.h"
#include "Validation.h"

namespace halovane::cli {

bool ReportProblems(const std::string& file, const ModelInput& data, std::ostream& out) {
    const std::vector<Problem> problems = ValidateDataSet(data);
    for (const Problem& p : problems) out << file << ": " << ProblemLine(p) << '\n';
    return HasErrors(problems);
}

std::vector<std::string> NameRefusals(const std::vector<std::string>& files, const RunFiles& written) {
    std::vector<std::string> refusals = OutputNameClashes(files, written);
    for (size_t k = 0; k < files.size(); ++k) {
        const std::string self = OutputOverwritesInput(files[k], written);
        if (!self.empty()) refusals[k] = self;
    }
    return refusals;
}

int Check(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    RunFiles written;
    bool variantGiven = false;
    ModelVariant variant = ModelVariant::Prescribed;
    bool namesOnly = false;
    for (size_t k = 1; k < args.size(); ++k) {
        if (EndsOptions(args[k], namesOnly)) continue;
        if (namesOnly) {
            files.push_back(args[k]);
            continue;
        }
        if (args[k] == "--csv") {
            written.csv = true;
        } else if (args[k] == "--variant") {
            if (k + 1 >= args.size() || !ParseModelVariant(args[++k], variant)) {
                std::cerr << "halovane-cli: --variant takes prescribed or conserving\n";
                return Usage;
            }
            variantGiven = true;
        } else if (args[k] == "--balance") {
            written.balance = true;
        } else if (!args[k].empty() && args[k][0] == '-') {
            std::cerr << "halovane-cli: unknown option '" << args[k] << "'\n";
            return Usage;
        } else {
            files.push_back(args[k]);
        }
    }
    if (files.empty()) {
        std::cerr << "halovane-cli: check needs at least one input data file\n";
        return Usage;
    }
    const std::vector<std::string> refusals = NameRefusals(files, written);
    int status = Ok;
    for (size_t k = 0; k < files.size(); ++k) {
        const std::string& file = files[k];
        ModelInput data;
        data.InputFileName = file;
        const InputReadResult read = ReadInputFile(data);
        if (!read.Ok()) {
            std::cout << (read.status == InputReadStatus::Extended ? file + ": " : std::string()) << read.message
                      << '\n';
            status = Unreadable;
            continue;
        }
        if (variantGiven) data.Variant = variant;
        const Field& model = FieldNamed("model_variant");
        std::cout << file << ": " << model.label << ": " << model.choices[static_cast<size_t>(model.Get(data))].word
                  << '\n';
        bool errors = ReportProblems(file, data, std::cout);
        if (!refusals[k].empty()) {
            std::cout << file << ": " << refusals[k] << '\n';
            errors = true;
        }
        if (errors)
            status = Unreadable;
        else
            std::cout << file << ": the data can be run\n";
    }
    return status;
}

}  // namespace halovane::cli
