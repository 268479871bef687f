#include "GraphSaveTypes.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

#include "OutputResults.h"

namespace halovane {

namespace {

const struct {
    const char* filter;
    GraphFormat format;
    int scale;
} SaveTypes[] = {
    {"Bitmap files (*.bmp)", GraphFormat::Bmp, 1},
    {"PNG files (*.png)", GraphFormat::Png, 1},
    {"PNG files, twice the size (*.png)", GraphFormat::Png, 2},
    {"PNG files, four times the size (*.png)", GraphFormat::Png, 4},
    {"SVG drawings (*.svg)", GraphFormat::Svg, 1},
    {"PDF documents (*.pdf)", GraphFormat::Pdf, 1},
};

}  // namespace

QString GraphSaveFilters() {
    QStringList filters;
    for (const auto& type : SaveTypes) filters << QString::fromUtf8(type.filter);
    return filters.join(QStringLiteral(";;"));
}

GraphSaveTarget GraphSaveTargetOf(const QString& typed, const QString& chosenFilter) {
    // The type left selected; the bitmap when the dialog names none of them.
    auto chosen = std::find_if(std::begin(SaveTypes), std::end(SaveTypes),
                               [&](const auto& type) { return chosenFilter == QString::fromUtf8(type.filter); });
    if (chosen == std::end(SaveTypes)) chosen = std::begin(SaveTypes);
    const GraphFileChoice file = ChooseGraphFile(FileNameToStd(typed), chosen->format);
    return {FileNameFromStd(file.FileName), file.Format, file.Format == chosen->format ? chosen->scale : 1};
}

}  // namespace halovane
