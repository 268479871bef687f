// The rules of the drainage panel's design part: reading its boxes and the
// texts it shows for a design. Standard C++ only.
#pragma once

#include <array>
#include <string>

#include "DrainDesign.h"
#include "InputRules.h"

namespace halovane::rules {

// The boxes the design reads, in this order; the drain depth is the panel's.
enum DesignBox {
    DesignDepth,
    DesignSpacing,
    DesignKa,
    DesignKb,
    DesignImpermeable,
    DesignRadius,
    DesignDischarge,
    DesignHead,
    DesignBoxCount
};
using DesignTexts = std::array<std::string, DesignBoxCount>;
// The caption of each box, as its label shows it.
const char* DesignCaption(DesignBox box);

struct DesignEntry {
    drain::DrainSoil soil;
    double spacing = 0;
    double discharge = 0;  // mm/day
    double head = 0;       // m
};
// Reads the drain depth and the soil boxes, then the spacing (bySpacing) or
// the discharge and the head; the problem's column is the box to correct.
Problem ReadDesign(const DesignTexts& texts, bool bySpacing, DesignEntry& entry, Comma comma = Comma::Unsettled);

// The line under the boxes: d and the two factors as designed.
std::string DesignSummary(const drain::Design& design);
// What the input data file keeps of the factors when it rounds them, or empty.
std::string RoundingNote(const drain::Design& design);

}  // namespace halovane::rules
