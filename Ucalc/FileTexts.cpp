#include "FileTexts.h"

#include <cstdio>

#include "NumberText.h"

namespace halovane {

namespace {

void AppendCode(std::string& out, unsigned code) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", code);
    out += hex;
}

}  // namespace

std::string PrintableText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        const auto next = k + 1 < text.size() ? static_cast<unsigned char>(text[k + 1]) : 0u;
        if (c < 0x20 || c == 0x7f) {
            AppendCode(out, c);
        } else if (c == 0xc2 && next >= 0x80 && next <= 0x9f) {  // U+0080..U+009F in UTF-8
            AppendCode(out, next);
            ++k;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string XmlText(const std::string& text) {
    std::string out;
    for (char c : PrintableText(text)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string CsvCell(const std::string& text) {
    std::string cell = PrintableText(text);
    double number = 0;
    if (!cell.empty() && std::string("=+-@").find(cell[0]) != std::string::npos &&
        !TryStringToFloat(cell, '.', number))
        cell.insert(0, 1, '\'');
    if (cell.find_first_of(",\"") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c == '"' && quoted && k + 1 < line.size() && line[k + 1] == '"') {
            field += c;
            ++k;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

}  // namespace halovane
