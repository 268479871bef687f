#include "NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace halovane {

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid floating point value"), text_(text) {}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool TryStringToFloat(const std::string& text, char separator, double& value) {
    // The grammar is checked in place: blanks, sign, digits with at most one
    // separator, an exponent with its own sign and digits, blanks.
    size_t p = 0, n = text.size();
    while (p < n && text[p] == ' ') ++p;
    while (n > p && text[n - 1] == ' ') --n;
    if (p == n) return false;
    size_t q = p;
    if (text[q] == '+' || text[q] == '-') ++q;
    size_t digits = 0, separatorAt = std::string::npos;
    for (; q < n; ++q) {
        if (IsDigit(text[q]))
            ++digits;
        else if (text[q] == separator && separatorAt == std::string::npos)
            separatorAt = q;
        else
            break;
    }
    if (digits == 0) return false;
    bool negativeExponent = false;
    if (q < n && (text[q] == 'e' || text[q] == 'E')) {
        ++q;
        if (q < n && (text[q] == '+' || text[q] == '-')) negativeExponent = text[q++] == '-';
        size_t exponentDigits = 0;
        for (; q < n && IsDigit(text[q]); ++q) ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    if (q != n) return false;

    // from_chars ignores the process locale (the window toolkit sets it from
    // the environment), reads a point only and takes no plus sign.
    const char* first = text.data() + p;
    const char* last = text.data() + n;
    if (separator != '.' && separatorAt != std::string::npos) {
        std::string normal(first, last);
        normal[separatorAt - p] = '.';
        return TryStringToFloat(normal, '.', value);
    }
    if (*first == '+') ++first;
    double v = 0;
    const auto result = std::from_chars(first, last, v, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a usable number.
        if (negativeExponent) {
            value = 0.0;
            return true;
        }
        return false;
    }
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(v)) return false;
    value = v;
    return true;
}

double StringToFloat(const std::string& text, NumberFormat& format) {
    double value = 0;
    if (TryStringToFloat(text, format.decimalSeparator, value)) return value;
    if (format.decimalSeparator == ',') {
        format.decimalSeparator = '.';
        if (TryStringToFloat(text, '.', value)) return value;
    }
    throw ConversionError(text);
}

double StringToFloat(const std::string& text) {
    NumberFormat point;
    return StringToFloat(text, point);
}

bool TryParseInteger(const std::string& text, int& value) {
    size_t p = 0;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
    size_t e = p;
    while (e < text.size() && text[e] != ' ' && text[e] != '\t') ++e;
    if (e == p) return false;
    size_t q = p;
    bool negative = false;
    if (text[q] == '+' || text[q] == '-') negative = text[q++] == '-';
    if (q == e) return false;
    long long v = 0;
    for (; q < e; ++q) {
        if (!IsDigit(text[q])) return false;
        v = v * 10 + (text[q] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

namespace {

void AppendPadded(std::string& out, const char* text, size_t length, int width) {
    if (width > 0 && length < static_cast<size_t>(width)) out.append(static_cast<size_t>(width) - length, ' ');
    out.append(text, length);
}

// `text` holds at least 40 characters; returns the length written, 0 when
// the value is left to std::to_chars.
size_t FixedDigits(char* text, double value, int decimals) {
    if (decimals < 0 || decimals > 9 || !(std::fabs(value) < 9007199254740992.0)) return 0;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int shift;  // value = mantissa / 2^shift
    if (exponent == 0) {
        shift = 1074;
    } else {
        mantissa |= std::uint64_t{1} << 52;
        shift = 1075 - exponent;  // >= 0 below 2^53
    }
    static const std::uint64_t Powers[10] = {1,      10,      100,      1000,      10000,
                                             100000, 1000000, 10000000, 100000000, 1000000000};
    __extension__ typedef unsigned __int128 Wide;  // a GCC and Clang type
    const Wide scaled = static_cast<Wide>(mantissa) * Powers[decimals];  // below 2^83
    Wide whole;
    if (shift == 0) {
        whole = scaled;
    } else if (shift > 100) {
        whole = 0;  // scaled < 2^83 is below half of 2^shift
    } else {
        whole = scaled >> shift;
        const Wide rest = scaled - (whole << shift);
        const Wide half = static_cast<Wide>(1) << (shift - 1);
        if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    }
    if (whole > static_cast<Wide>(UINT64_MAX)) return 0;
    // The digits from the last one leftwards, two at a time, the point
    // `decimals` places from the right and at least one digit before it.
    static const char Pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    std::uint64_t q = static_cast<std::uint64_t>(whole);
    char digits[32];
    char* end = digits + sizeof digits;
    char* p = end;
    while (q >= 100) {
        const unsigned pair = static_cast<unsigned>(q % 100) * 2;
        q /= 100;
        *--p = Pairs[pair + 1];
        *--p = Pairs[pair];
    }
    if (q >= 10) {
        *--p = Pairs[q * 2 + 1];
        *--p = Pairs[q * 2];
    } else {
        *--p = static_cast<char>('0' + q);
    }
    while (end - p <= decimals) *--p = '0';
    size_t length = 0;
    if (negative) text[length++] = '-';
    const size_t before = static_cast<size_t>(end - p) - static_cast<size_t>(decimals);
    std::memcpy(text + length, p, before);
    length += before;
    if (decimals > 0) {
        text[length++] = '.';
        std::memcpy(text + length, p + before, static_cast<size_t>(decimals));
        length += static_cast<size_t>(decimals);
    }
    return length;
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int decimals) {
    char buffer[400];
    size_t length = FixedDigits(buffer, value, decimals);
    if (length == 0) {
        // to_chars rounds like printf's %f but never uses the locale's separator.
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
        length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - buffer) : 0;
    }
    AppendPadded(out, buffer, length, width);
}

std::string FormatFixed(double value, int width, int decimals) {
    std::string text;
    AppendFixed(text, value, width, decimals);
    return text;
}

void AppendInt(std::string& out, long long value, int width) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const size_t length = static_cast<size_t>(result.ptr - buffer);
    AppendPadded(out, buffer, length, width);
    const size_t field = width < 0 ? static_cast<size_t>(-static_cast<long long>(width)) : 0;
    if (length < field) out.append(field - length, ' ');  // printf's left alignment
}

std::string FormatInt(long long value, int width) {
    std::string text;
    AppendInt(text, value, width);
    return text;
}

std::string ShortestText(double value) {
    char buffer[400];
    // Plain decimals for ordinary magnitudes, exponents only for extreme ones.
    const bool plain = value == 0 || (std::fabs(value) >= 1e-4 && std::fabs(value) < 1e15);
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ec == std::errc() ? result.ptr : buffer);
}

std::string Window(const std::string& line, size_t a, size_t b) {
    if (a < 1 || a > line.size() || b < a) return std::string();
    return line.substr(a - 1, b - a + 1);
}

std::string From(const std::string& line, size_t a) {
    if (a < 1 || a > line.size()) return std::string();
    return line.substr(a - 1);
}

std::string RemoveBlanks(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out += c;
    return out;
}

}  // namespace halovane
