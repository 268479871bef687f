// The types a graph or a picture of the fit report is saved as, listed once
// for both: a device-independent bitmap by default; PNG, also larger for
// print; drawings for reports and papers.
#pragma once

#include <QString>

#include "GraphFiles.h"

namespace halovane {

// The filters of the save dialog, "Bitmap files (*.bmp);;PNG files (*.png);;...".
QString GraphSaveFilters();

struct GraphSaveTarget {
    QString name;
    GraphFormat format = GraphFormat::Bmp;
    int scale = 1;
};

// What a name typed with a type selected saves: the type names a bare file;
// an extension of a known type wins (at its own size).
GraphSaveTarget GraphSaveTargetOf(const QString& typed, const QString& chosenFilter);

}  // namespace halovane
