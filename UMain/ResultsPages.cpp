#include "ResultsPages.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>

#include "Dialogs.h"
#include "GraphsPage.h"
#include "OutputPage.h"
#include "OutputResults.h"

namespace halovane {

ResultsPages::ResultsPages(Dialogs& dialogs, QTabWidget& pageFrame, QWidget& outTab, QWidget& graphTab)
    : dialogs_(dialogs), pageFrame_(pageFrame), outTab_(outTab), graphTab_(graphTab),
      state_(std::make_unique<ResultsState>()) {
    state_->DialogFolder = QDir::currentPath();
    output_ = new OutputPage(dialogs_, *state_, outTab_);
    graphs_ = new GraphsPage(dialogs_, *state_, graphTab_);
    connect(output_->OpenOutputButton, &QPushButton::clicked, this, &ResultsPages::OpenOutputButtonClick);
    connect(output_->GraphButton, &QPushButton::clicked, this, &ResultsPages::GraphButtonClick);
    connect(graphs_->MakeGraphButton, &QPushButton::clicked, this, &ResultsPages::MakeGraphButtonClick);
}

ResultsPages::~ResultsPages() {
    delete output_.data();
    delete graphs_.data();
}

void ResultsPages::SetDialogFolder(const QString& folder) { state_->DialogFolder = folder; }

void ResultsPages::InputOpened() {
    output_->InputOpened();
    graphs_->InputOpened();
}

void ResultsPages::RunCompleted(const QString& outputFileName) {
    state_->DialogFolder = QFileInfo(outputFileName).absolutePath();
    if (!LoadOutputFile(*state_, outputFileName, dialogs_, &outTab_)) return;
    output_->ShowLoaded();
    // A graph on view belongs to the previous results.
    graphs_->OutputLoaded();
}

void ResultsPages::RunStopped(const QString& outputFileName, int stopStep) {
    state_->DialogFolder = QFileInfo(outputFileName).absolutePath();
    if (!LoadOutputFile(*state_, outputFileName, dialogs_, &outTab_)) return;
    // The run knows its stop, also in its last step, which leaves no rows
    // of zeros.
    state_->StopStep = stopStep;
    output_->ShowLoaded();
    graphs_->OutputLoaded();
}

bool ResultsPages::OpenOutputButtonClick() {
    // The dialog starts in the folder of the input data file, not of the
    // output file opened last.
    const QString name = dialogs_.OpenFileName(&outTab_, QStringLiteral("Open output"), state_->DialogFolder,
                                               QStringLiteral("output files (*.out)"));
    if (name.isEmpty()) {
        dialogs_.Inform(&outTab_, QStringLiteral("No output file was selected"));
        return false;
    }
    if (!LoadOutputFile(*state_, name, dialogs_, &outTab_)) return false;
    output_->ShowLoaded();
    graphs_->OutputLoaded();
    return true;
}

void ResultsPages::GraphButtonClick() {
    graphs_->ShowChoices(state_->Output.Layers);
    pageFrame_.setCurrentWidget(&graphTab_);
}

void ResultsPages::MakeGraphButtonClick() {
    dialogs_.Inform(&graphTab_, QStringLiteral("To make a graph, an output file must be opened first."));
    OpenOutputButtonClick();
    // The choices of the loaded root zone, as "See graphs" offers them.
    if (state_->Loaded())
        graphs_->ShowChoices(state_->Output.Layers);
    else
        graphs_->ShowChoices(3);
    pageFrame_.setCurrentWidget(&graphTab_);
}

}  // namespace halovane
