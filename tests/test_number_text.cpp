#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <regex>

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

TEST(StringToFloat, AcceptsExactlyTheGrammarAndReadsTheNearestValue) {
    // Random texts over the characters of numbers, checked against the
    // grammar written as a pattern and against strtod of the C library.
    const std::regex grammar(R"(^ *[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)([eE][+-]?[0-9]{1,2})? *$)");
    const std::regex anyExponent(R"([eE][+-]?[0-9]{3})");
    const char alphabet[] = " +-0123456789.,eE";
    std::mt19937 random(99);
    int accepted = 0;
    for (int repeat = 0; repeat < 300000; ++repeat) {
        std::string text;
        const int length = static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) {
            // digits more often than the other characters
            const size_t pick = random() % 30;
            text += pick < 13 ? alphabet[3 + random() % 10] : alphabet[pick % (sizeof alphabet - 1)];
        }
        if (std::regex_search(text, anyExponent)) continue;  // keep clear of overflow
        for (char separator : {'.', ','}) {
            std::string pointed = text;
            if (separator == ',') {
                if (pointed.find('.') != std::string::npos) pointed += "x";  // a point is no separator then
                for (char& c : pointed)
                    if (c == ',') c = '.';
            }
            double value = -7;
            const bool ok = TryStringToFloat(text, separator, value);
            ASSERT_EQ(ok, std::regex_match(pointed, grammar)) << "'" << text << "' with '" << separator << "'";
            if (!ok) continue;
            ++accepted;
            ASSERT_EQ(value, std::strtod(pointed.c_str(), nullptr)) << "'" << text << "'";
        }
    }
    EXPECT_GT(accepted, 20000);
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

namespace {

// The formatting the files have always had: the standard library's fixed
// notation with a precision, padded on the left.
std::string LibraryFixed(double value, int width, int decimals) {
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace

TEST(FormatFixed, GivesTheLibraryTextForEveryKindOfValue) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> unit(0, 1);
    auto check = [](double v, int width, int decimals) {
        ASSERT_EQ(FormatFixed(v, width, decimals), LibraryFixed(v, width, decimals))
            << std::hexfloat << v << " (" << decimals << " decimals)";
        std::string appended = "x";
        AppendFixed(appended, v, width, decimals);
        ASSERT_EQ(appended, "x" + LibraryFixed(v, width, decimals));
    };
    for (int repeat = 0; repeat < 200000; ++repeat) {
        const int decimals = static_cast<int>(random() % 6);
        const int width = static_cast<int>(random() % 16);
        // Values as a run makes them, across magnitudes and signs.
        double v = unit(random) * std::pow(10.0, static_cast<int>(random() % 24) - 12);
        if (random() % 2) v = -v;
        check(v, width, decimals);
        // Exact ties: k + 1/2 in the last decimal, where binary allows it
        // (halves, quarters, eighths ... of the last unit).
        const double unitOfLast = std::pow(10.0, -decimals);
        const double tie = (static_cast<double>(random() % 100000) + 0.5) * unitOfLast;
        check(tie, width, decimals);
        check(static_cast<double>(random() % 4096) / 8 + static_cast<double>(random() % 8) / 64, width, decimals);
        // Near ties: one unit in the last place either side.
        check(std::nextafter(tie, 0.0), width, decimals);
        check(std::nextafter(tie, 1e300), width, decimals);
        // Any bit pattern.
        std::uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) check(v, width, decimals);
    }
    for (double v : {0.0, -0.0, 0.125, -0.125, 0.375, 2.5, 3.5, -2.5, 0.005, -0.001, 4.9e-324, 1e-320,
                     9007199254740991.0, 9007199254740992.0, 9007199254740993.0, 1e17, -1e300, 1.7e308,
                     0.045, 1.005, 999.995, 99999.95, 1e15 + 0.5})
        for (int decimals = 0; decimals <= 9; ++decimals) check(v, 8, decimals);
    for (double v : {HUGE_VAL, -HUGE_VAL, std::nan("")}) check(v, 8, 2);
}

TEST(FormatInt, GivesThePrintfText) {
    std::mt19937_64 random(3);
    for (int repeat = 0; repeat < 20000; ++repeat) {
        const long long v = static_cast<long long>(random()) >> (random() % 64);
        const int width = static_cast<int>(random() % 30) - 5;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%*lld", width, v);
        ASSERT_EQ(FormatInt(v, width), buffer) << v << " " << width;
    }
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
