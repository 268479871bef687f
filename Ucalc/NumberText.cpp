#include "NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace halovane {

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid floating point value"), text_(text) {}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the grammar and builds a C-locale text for strtod.
bool Normalise(const std::string& text, char separator, std::string& out) {
    size_t p = 0, n = text.size();
    while (p < n && text[p] == ' ') ++p;
    while (n > p && text[n - 1] == ' ') --n;
    if (p == n) return false;
    out.clear();
    if (text[p] == '+' || text[p] == '-') out += text[p++];
    size_t digits = 0;
    bool seenSeparator = false;
    while (p < n && (IsDigit(text[p]) || (text[p] == separator && !seenSeparator))) {
        if (text[p] == separator) {
            seenSeparator = true;
            out += '.';
        } else {
            out += text[p];
            ++digits;
        }
        ++p;
    }
    if (digits == 0) return false;
    if (p < n && (text[p] == 'e' || text[p] == 'E')) {
        out += 'e';
        ++p;
        if (p < n && (text[p] == '+' || text[p] == '-')) out += text[p++];
        size_t expDigits = 0;
        while (p < n && IsDigit(text[p])) {
            out += text[p++];
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    return p == n;
}

}  // namespace

bool TryStringToFloat(const std::string& text, char separator, double& value) {
    std::string normal;
    if (!Normalise(text, separator, normal)) return false;
    // from_chars ignores the process locale (the window toolkit sets it from
    // the environment) and takes no plus sign.
    const char* first = normal.data();
    const char* last = first + normal.size();
    if (*first == '+') ++first;
    double v = 0;
    const auto result = std::from_chars(first, last, v, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a usable number.
        const auto e = normal.find('e');
        if (e != std::string::npos && normal.size() > e + 1 && normal[e + 1] == '-') {
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

std::string FormatFixed(double value, int width, int decimals) {
    // to_chars rounds like printf's %f but never uses the locale's separator.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ec == std::errc() ? result.ptr : buffer);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

std::string FormatInt(long long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%*lld", width, value);
    return buffer;
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
