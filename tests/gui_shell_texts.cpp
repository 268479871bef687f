// The static texts as the program carries them: loaded from the resources,
// line by line as the windows show them, misspellings included.
#include <gtest/gtest.h>

#include <QStringList>
#include <string>
#include <vector>

#include "UStaticPages.h"

using halovane::ShellText;

namespace {

std::vector<std::string> Lines(const char* name) {
    std::vector<std::string> lines;
    for (const QString& line : ShellText(QString::fromLatin1(name)).split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    for (const std::string& line : lines)
        if (line == wanted) return true;
    return false;
}

}  // namespace

TEST(ShellTexts, EveryTextLoadsAsPlainAsciiLines) {
    for (const char* name : {"intro.txt", "math.txt", "figure-title.txt", "close.txt", "drainage.txt"}) {
        const QString text = ShellText(QString::fromLatin1(name));
        ASSERT_FALSE(text.isEmpty()) << name;
        EXPECT_FALSE(text.contains(QLatin1Char('\r'))) << name << ": carriage return";
        EXPECT_FALSE(text.contains(QLatin1Char('\t'))) << name << ": tab instead of four spaces";
        for (QChar c : text) EXPECT_LT(c.unicode(), 128) << name << ": not plain ASCII";
        for (const QString& line : text.split(QLatin1Char('\n')))
            EXPECT_FALSE(line.startsWith(QLatin1Char('>'))) << name << ": quote marker in " << line.toStdString();
    }
}

TEST(ShellTexts, MissingResourceGivesEmptyText) { EXPECT_TRUE(ShellText(QStringLiteral("no-such.txt")).isEmpty()); }

TEST(ShellTexts, IntroductionLines) {
    const auto lines = Lines("intro.txt");
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "                         INTRODUCTION  TO  Halovane");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "  Halovane is designed to simulate the depth of the water table and the");
    EXPECT_EQ(lines[4], "  soil salinity  in irrigated areas with a time step as selected by the user");
    EXPECT_EQ(lines[6], "  calculations anyway for a better aacuracy.");
    EXPECT_EQ(lines[10], "  of the  squares of the differences between measured and simulated");
    EXPECT_EQ(lines[13], "  The root zone can consist of 1, 2, or 3 layers.");
    EXPECT_EQ(lines[20], "  Halovane will calculated the capillary rise and reduce the potential");
    EXPECT_EQ(lines[22], "  reduction may diminshed by the capillary rise.");
    EXPECT_EQ(lines[26], "  drainage.");
    // The contact address, then two empty lines.
    EXPECT_NE(lines[27].find("dev@halovane.org"), std::string::npos);
    EXPECT_EQ(lines[28], "");
    EXPECT_EQ(lines[29], "");
}

TEST(ShellTexts, BalanceLines) {
    const auto lines = Lines("math.txt");
    ASSERT_EQ(lines.size(), 165u);
    EXPECT_EQ(lines.front(), "              WATER AND SALT BALANCES USED IN Halovane");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "         I. - Water Balances (flows in mm / time step, depths in m):");
    EXPECT_EQ(lines[5], "First layer:  Rain + Irrig  + Cap1 = Perc1 + Evap1");
    EXPECT_EQ(lines[11], "Transtion zone : Perc3 + Upw = Drain + Cap3 + Down");
    EXPECT_EQ(lines[13], "Aquifer: Inf + Down = Up + Out                              [Down >=  0, Up >= 0]");
    EXPECT_EQ(lines.back(), "3e. The salt balance of the aquifer remains unchanged.");
    EXPECT_TRUE(HasLine(lines, "Specification of actual evapotraspiration per layer:"));
    EXPECT_TRUE(HasLine(lines, "    R2 = (D2-AvD/(D1+D2+D3)"));
    EXPECT_TRUE(HasLine(lines, "     Cap1 = Cap2 - Evap2"));
    EXPECT_TRUE(HasLine(lines, "                AvD = (D1+D2)/2"));
    EXPECT_TRUE(HasLine(lines, "    CF = (CDc - Dwt)/CDw                            [0 < CF <1]"));
    EXPECT_TRUE(HasLine(lines, "                    ==========="));
    EXPECT_TRUE(HasLine(lines, "S2p,and W2 is the amount of water stored in the second layer, equal to"));
    EXPECT_TRUE(HasLine(lines, "    Dwt = Dwp - Ts*(Perc3 - CapT - Drain + Up - Down) / 10*EffPor"));
    bool typo = false;
    for (const auto& line : lines) typo = typo || line.find("actual evapotransoiration") != std::string::npos;
    EXPECT_TRUE(typo);
}

TEST(ShellTexts, DrainageExplanationLines) {
    const auto lines = Lines("drainage.txt");
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "   Hooghoudt's equation for subsurface drainage by pipes or ditches is:");
    EXPECT_EQ(lines[3], "   q = (8*Kb*d*h + 4*Ka*h*h) / ( L*L)");
    EXPECT_EQ(lines[6], "   q    = drain discharge ((m/day, or m3/day per m2 surface area),");
    EXPECT_EQ(lines[17], "   q1 = 8*Kb*d*h / (L*L) ,  representing dainage flow below drain level");
    EXPECT_EQ(lines[20], "   The ratio QH1 = 8*kb*d / (L*L)  gives the drain discharge stemming form");
    EXPECT_EQ(lines[25], "");
    EXPECT_EQ(lines[26], "   The ratios characterize the capacity of the subsurface drainage system.");
}

TEST(ShellTexts, FigureTitleIsOneLine) {
    EXPECT_EQ(ShellText(QStringLiteral("figure-title.txt")).toStdString(),
              "     Sketch of water movement as used in Halovane in case of a root zone with two layers");
}

TEST(ShellTexts, ClosingLines) {
    const auto lines = Lines("close.txt");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "   Thank you for using Halovane.");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "   Halovane developers, dev@halovane.org");
    EXPECT_EQ(lines[4], "   www.halovane.org");
}
