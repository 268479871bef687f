#include "ResultsPages.h"

#include "Dialogs.h"

namespace halovane {

ResultsPages::ResultsPages(Dialogs& dialogs, QTabWidget& pageFrame, QWidget& outTab, QWidget& graphTab)
    : dialogs_(dialogs), pageFrame_(pageFrame), outTab_(outTab), graphTab_(graphTab) {}

ResultsPages::~ResultsPages() = default;

void ResultsPages::InputOpened() {}

void ResultsPages::RunCompleted(const QString&) {}

}  // namespace halovane
