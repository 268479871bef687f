#include <gtest/gtest.h>

#include "NumberText.h"

using namespace halovane;

TEST(StringToFloat, AcceptsTheDecimalGrammar) {
    EXPECT_DOUBLE_EQ(StringToFloat("  1.5  "), 1.5);
    EXPECT_DOUBLE_EQ(StringToFloat("-2"), -2);
    EXPECT_DOUBLE_EQ(StringToFloat("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(StringToFloat("3."), 3);
    EXPECT_DOUBLE_EQ(StringToFloat("1e3"), 1000);
    EXPECT_DOUBLE_EQ(StringToFloat("1.25E-2"), 0.0125);
    EXPECT_DOUBLE_EQ(StringToFloat("1e-400"), 0);
    for (const char* bad : {"", "   ", "-", ".", "1.2.3", "1e", "1e+", "1 2", "abc", "1,5", "0x10", "inf", "nan",
                            "1e400", "--1"})
        EXPECT_THROW(StringToFloat(bad), ConversionError) << bad;
}

TEST(StringToFloat, ErrorTextNamesTheText) {
    try {
        StringToFloat("n.a.");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'n.a.' is not a valid floating point value");
    }
}

TEST(StringToFloat, CommaSwitchesToAPointForGood) {
    NumberFormat format;
    format.decimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StringToFloat("1,5", format), 1.5);
    EXPECT_EQ(format.decimalSeparator, ',');
    EXPECT_DOUBLE_EQ(StringToFloat("2.5", format), 2.5);  // failed under the comma, then read with a point
    EXPECT_EQ(format.decimalSeparator, '.');
    EXPECT_THROW(StringToFloat("1,5", format), ConversionError);
}

TEST(FormatFixed, RoundsAndPadsLikeTheFileFormats) {
    EXPECT_EQ(FormatFixed(1.8, 7, 2), "   1.80");
    EXPECT_EQ(FormatFixed(0.012, 8, 4), "  0.0120");
    EXPECT_EQ(FormatFixed(45, 15, 0), std::string(13, ' ') + "45");
    EXPECT_EQ(FormatFixed(-1234567.891, 5, 1), "-1234567.9");  // the field grows
    EXPECT_EQ(FormatFixed(2.5, 3, 0), "  2");                    // exact ties to even, as printf
    EXPECT_EQ(FormatInt(7, 10), "         7");
}

TEST(ShortestText, ReadsBackExactly) {
    for (double v : {1.8, 0.1, 20.0, -3.25, 123456.789, 1e-7, 0.0}) EXPECT_EQ(StringToFloat(ShortestText(v)), v);
    EXPECT_EQ(ShortestText(1.8), "1.8");
    EXPECT_EQ(ShortestText(20.0), "20");
}

TEST(Window, TakesColumnsCountedFromOne) {
    EXPECT_EQ(Window("abcdef", 2, 4), "bcd");
    EXPECT_EQ(Window("abc", 2, 10), "bc");
    EXPECT_EQ(Window("abc", 5, 10), "");
    EXPECT_EQ(From("abcdef", 3), "cdef");
    EXPECT_EQ(RemoveBlanks("  1. 5 "), "1.5");
}
