// Conversion between numbers and the fixed-format text of the data files.
#pragma once

#include <stdexcept>
#include <string>

namespace halovane {

// The decimal separator in force. The window sets it to a point when it is
// created; a failed conversion under a comma switches it to a point for good.
struct NumberFormat {
    char decimalSeparator = '.';
};

// Raised when a text is not a number. what() is the message the user sees.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const std::string& text);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// Converts a decimal number: optional blanks, optional sign, digits with at
// most one decimal separator, optional exponent, optional blanks. Throws
// ConversionError when the text is not a number even with a point as the
// separator, or when its value does not fit in a double.
double StringToFloat(const std::string& text, NumberFormat& format);
// The same with a point as the separator.
double StringToFloat(const std::string& text);
// Non-throwing form: false when the text is not a number.
bool TryStringToFloat(const std::string& text, char separator, double& value);

// Reads the integer formed by the first run of non-blank characters.
bool TryParseInteger(const std::string& text, int& value);

// F(w,d): a real rounded to d decimals, right-aligned in w characters: the
// exact binary value rounded to the nearest, ties to even, as printf's %w.df.
std::string FormatFixed(double value, int width, int decimals);
// I(w): an integer right-aligned in w characters (w = 0: no padding).
std::string FormatInt(long long value, int width = 0);
// The same texts appended to `out`, for the writers of long files.
void AppendFixed(std::string& out, double value, int width, int decimals);
void AppendInt(std::string& out, long long value, int width = 0);
// The shortest decimal text that reads back to the same value (1.8, not 1.80).
std::string ShortestText(double value);

// Characters of columns a to b (counted from 1), or up to the end of the
// line when it is shorter.
std::string Window(const std::string& line, size_t a, size_t b);
// Characters from column a to the end of the line.
std::string From(const std::string& line, size_t a);
std::string RemoveBlanks(const std::string& text);

}  // namespace halovane
