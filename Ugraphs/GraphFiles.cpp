#include "GraphFiles.h"

#include <cctype>

#include "GraphChoices.h"

namespace halovane {

namespace {

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// Where the file name begins, after the last folder separator.
size_t NameStart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

const char* GraphFormatExtension(GraphFormat format) {
    switch (format) {
        case GraphFormat::Bmp: return "bmp";
        case GraphFormat::Png: return "png";
        case GraphFormat::Svg: return "svg";
        case GraphFormat::Pdf: return "pdf";
    }
    return "bmp";
}

std::optional<GraphFormat> GraphFormatNamed(const std::string& name) {
    const std::string lower = Lower(name);
    for (GraphFormat f : {GraphFormat::Bmp, GraphFormat::Png, GraphFormat::Svg, GraphFormat::Pdf})
        if (lower == GraphFormatExtension(f)) return f;
    return std::nullopt;
}

bool IsVectorFormat(GraphFormat format) { return format == GraphFormat::Svg || format == GraphFormat::Pdf; }

GraphFileChoice ChooseGraphFile(const std::string& name, GraphFormat chosen) {
    const size_t start = NameStart(name);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > start) {
        if (const std::optional<GraphFormat> own = GraphFormatNamed(name.substr(dot + 1))) return {name, *own};
    }
    return {name + "." + GraphFormatExtension(chosen), chosen};
}

bool IsGraphScale(int scale) { return scale == 1 || scale == 2 || scale == 4; }

const char* GraphChoiceKey(GraphChoice choice) { return InfoOf(choice).key; }

std::optional<GraphChoice> GraphChoiceFromKey(const std::string& key) {
    const std::string lower = Lower(key);
    for (int k = 0; k < GraphChoiceCount; ++k)
        if (lower == GraphChoices[k].key || lower == std::to_string(k + 1)) return static_cast<GraphChoice>(k);
    return std::nullopt;
}

bool GraphChoiceApplies(GraphChoice choice, int layers) { return layers >= InfoOf(choice).layersNeeded; }

std::string GraphFigureFileName(const std::string& outputFile, const std::string& folder, GraphChoice choice,
                                GraphFormat format) {
    const size_t start = NameStart(outputFile);
    std::string stem = outputFile.substr(start);
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos && dot > 0) stem.erase(dot);
    std::string dir = folder.empty() ? outputFile.substr(0, start) : folder;
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    return dir + stem + "-" + GraphChoiceKey(choice) + "." + GraphFormatExtension(format);
}

}  // namespace halovane
