// A file's path in a label of one line.
#pragma once

#include <QString>

class QLabel;

namespace halovane {

// Shows `path` in `label` elided in the middle to the label's width, now
// and whenever the label is resized, with the whole path in its tooltip: a
// long path never widens the window. An empty path clears the label.
void ShowPath(QLabel& label, const QString& path);

}  // namespace halovane
