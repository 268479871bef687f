#include "DrainDesignCommand.h"

#include <cstdio>
#include <iostream>
#include <map>

#include "Commands.h"
#include "DrainDesign.h"
#include "NumberText.h"

namespace halovane::cli {

namespace {

std::string Number(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void PrintDesign(const drain::DrainSoil& soil, const drain::Design& design) {
    std::cout << "Drain depth Dd (m)                      : " << ShortestText(soil.depth) << '\n'
              << "Drain spacing L (m)                     : " << Number("%.2f", design.spacing) << '\n'
              << "Equivalent depth d (m)                  : " << Number("%.4f", design.d) << '\n'
              << "QH1 = 8 Kb d / L^2 (m/day/m)            : " << Number("%.7g", design.QH1) << '\n'
              << "QH2 = 4 Ka / L^2 (m/day/msq)            : " << Number("%.7g", design.QH2) << '\n'
              << "Kept in the input data file as          : QH1 " << Number("%.4f", drain::AsSaved(design.QH1))
              << ", QH2 " << Number("%.4f", drain::AsSaved(design.QH2))
              << (drain::RoundsInFile(design) ? " (rounded)" : " (as designed)") << '\n'
              << "Head h (m)   q as designed (mm/day)   q as saved (mm/day)\n";
    for (const drain::DischargeRow& row : drain::DischargeTable(design))
        std::cout << Number("%10.2f", row.head) << Number("%25.3f", row.designed) << Number("%22.3f", row.saved)
                  << '\n';
}

}  // namespace

int DrainDesign(const std::vector<std::string>& args) {
    const char* const names[] = {"--depth", "--spacing", "--ka", "--kb", "--impermeable", "--radius",
                                 "--for-discharge", "--head"};
    std::map<std::string, double> values;
    for (size_t k = 1; k < args.size(); ++k) {
        std::string name = args[k], text;
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            text = name.substr(equals + 1);
            name.resize(equals);
        } else if (k + 1 < args.size()) {
            text = args[++k];
        }
        bool known = false;
        for (const char* n : names) known = known || name == n;
        if (!known) {
            std::cerr << "halovane-cli: unknown option '" << name << "'\n";
            return Usage;
        }
        double value = 0;
        if (!TryStringToFloat(text, '.', value)) {
            std::cerr << "halovane-cli: " << name << " takes a number\n";
            return Usage;
        }
        values[name] = value;
    }
    for (const char* required : {"--depth", "--ka", "--kb", "--impermeable", "--radius"})
        if (!values.count(required)) {
            std::cerr << "halovane-cli: drain-design needs " << required << '\n';
            return Usage;
        }
    const bool bySpacing = values.count("--spacing") > 0;
    const bool byDischarge = values.count("--for-discharge") > 0 || values.count("--head") > 0;
    if (bySpacing == byDischarge || (byDischarge && (!values.count("--for-discharge") || !values.count("--head")))) {
        std::cerr << "halovane-cli: drain-design takes either --spacing L or --for-discharge Q --head H\n";
        return Usage;
    }
    const drain::DrainSoil soil{values["--depth"], values["--ka"], values["--kb"], values["--impermeable"],
                                values["--radius"]};
    const std::string problem = drain::CheckSoil(soil);
    if (!problem.empty()) {
        std::cerr << "halovane-cli: " << problem << '\n';
        return Usage;
    }
    double spacing = values["--spacing"];
    if (bySpacing) {
        const std::string refused = drain::CheckSpacing(soil, spacing);
        if (!refused.empty()) {
            std::cerr << "halovane-cli: " << refused << '\n';
            return Usage;
        }
    } else {
        const drain::SpacingResult found = drain::SpacingFor(soil, values["--for-discharge"], values["--head"]);
        if (!found.Ok()) {
            std::cerr << "halovane-cli: " << found.problem << '\n';
            return Usage;
        }
        spacing = found.spacing;
        std::cout << "Spacing for " << ShortestText(values["--for-discharge"]) << " mm/day at a head of "
                  << ShortestText(values["--head"]) << " m: " << Number("%.2f", spacing) << " m\n";
    }
    PrintDesign(soil, drain::DesignAt(soil, spacing));
    return Ok;
}

}  // namespace halovane::cli
