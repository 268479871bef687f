#include "DrainDesignRules.h"

#include <cstdio>
#include <iterator>
#include <vector>

#include "NumberText.h"

namespace halovane::rules {

namespace {

std::string Significant(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

}  // namespace

const char* DesignCaption(DesignBox box) {
    static const char* const captions[DesignBoxCount] = {
        "Drainage depth (m)",
        "Drain spacing L (m)",
        "Conductivity above drains Ka (m/day)",
        "Conductivity below drains Kb (m/day)",
        "Impermeable layer below drains D (m)",
        "Drain radius r (m)",
        "Design discharge q (mm/day)",
        "Head h (m)",
    };
    return captions[box];
}

Problem ReadDesign(const DesignTexts& texts, bool bySpacing, DesignEntry& entry, Comma comma) {
    // The soil boxes in the order of the design's soil data.
    const DesignBox soilBoxes[] = {DesignDepth, DesignKa, DesignKb, DesignImpermeable, DesignRadius};
    std::vector<DesignBox> boxes(std::begin(soilBoxes), std::end(soilBoxes));
    if (bySpacing)
        boxes.push_back(DesignSpacing);
    else
        boxes.insert(boxes.end(), {DesignDischarge, DesignHead});
    std::array<double, DesignBoxCount> v{};
    const auto read = [&](DesignBox box) -> Problem {
        const std::string place = std::string(DesignCaption(box)) + ".";
        if (IsBlank(texts[box])) return {"Please give a value.", place, box, -1};
        if (!ReadNumber(texts[box], v[box], comma)) return {NotANumber(texts[box], comma), place, box, -1};
        return {};
    };
    for (DesignBox box : boxes)
        if (Problem p = read(box); !p.Ok()) return p;
    DesignEntry e;
    e.soil = {v[DesignDepth], v[DesignKa], v[DesignKb], v[DesignImpermeable], v[DesignRadius]};
    e.spacing = v[DesignSpacing];
    e.discharge = v[DesignDischarge];
    e.head = v[DesignHead];
    drain::SoilField field = drain::SoilField::Depth;
    const std::string soilProblem = drain::CheckSoil(e.soil, &field);
    if (!soilProblem.empty()) {
        const DesignBox box = soilBoxes[static_cast<int>(field)];
        return {soilProblem, std::string(DesignCaption(box)) + ".", box, -1};
    }
    if (bySpacing) {
        const std::string spacingProblem = drain::CheckSpacing(e.soil, e.spacing);
        if (!spacingProblem.empty())
            return {spacingProblem, std::string(DesignCaption(DesignSpacing)) + ".", DesignSpacing, -1};
    }
    entry = e;
    return {};
}

std::string DesignSummary(const drain::Design& design) {
    return "Equivalent depth d = " + FormatFixed(design.d, 0, 3) + " m, QH1 = " + Significant(design.QH1) +
           " m/day/m, QH2 = " + Significant(design.QH2) + " m/day/msq";
}

std::string RoundingNote(const drain::Design& design) {
    if (!drain::RoundsInFile(design)) return {};
    return "The input data file keeps 4 decimals: QH1 " + FormatFixed(drain::AsSaved(design.QH1), 0, 4) + ", QH2 " +
           FormatFixed(drain::AsSaved(design.QH2), 0, 4) + ".";
}

}  // namespace halovane::rules
