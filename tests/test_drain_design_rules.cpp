// The boxes of the drainage panel's design part, read as typed.
#include <gtest/gtest.h>

#include "DrainDesignRules.h"

using namespace halovane;
using namespace halovane::rules;

TEST(DrainDesignRules, ReadsTheBoxesOfTheChosenWayAndNamesTheOneToCorrect) {
    // depth, spacing, Ka, Kb, D, r, q, h
    const DesignTexts good{"1.8", "80", "0,5", " 0.8 ", "3", "0.1", "2.5", "0.5"};
    struct Case {
        DesignBox box;  // changed box
        const char* text;
        bool bySpacing;
        const char* message;  // "" when read
    };
    const Case cases[] = {
        {DesignSpacing, "", false, ""},  // the other way leaves it aside
        {DesignDischarge, "x", true, ""},
        {DesignDepth, "", true, "Please give a value."},
        {DesignKa, "abc", true, "'abc' is not a valid floating point value"},
        {DesignKb, "0", true, "The hydraulic conductivity below drain level Kb must be greater than 0 m/day."},
        {DesignImpermeable, "-2", false, "The depth of the impermeable layer below drain level D must be 0 m or more."},
        {DesignRadius, "0.6", true, "The drain radius r must be greater than 0 m and at most 0.5 m."},
        {DesignSpacing, "6000", true, "The drain spacing L must be between 1 m and 5000 m (at least 1 m and 10 drain radii)."},
        {DesignHead, " ", false, "Please give a value."},
    };
    for (const Case& c : cases) {
        DesignTexts texts = good;
        texts[c.box] = c.text;
        DesignEntry entry;
        const Problem p = ReadDesign(texts, c.bySpacing, entry);
        EXPECT_EQ(p.message, c.message) << DesignCaption(c.box);
        if (!p.Ok()) {
            EXPECT_EQ(p.column, c.box);
            EXPECT_EQ(p.place, std::string(DesignCaption(c.box)) + ".");
        }
    }
    DesignEntry entry;
    ASSERT_TRUE(ReadDesign(good, true, entry).Ok());
    EXPECT_EQ(entry.soil.Ka, 0.5);
    EXPECT_EQ(entry.spacing, 80);
    // At 80 m: QH1 = 0.002468167 and QH2 = 0.0003125 round.
    EXPECT_EQ(RoundingNote(drain::DesignAt(entry.soil, entry.spacing)),
              "The input data file keeps 4 decimals: QH1 0.0025, QH2 0.0003.");
}
