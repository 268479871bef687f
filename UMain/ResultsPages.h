// The Output and Graphs pages of the main window. The main window creates
// the two empty page widgets (object names "OutTab" and "GraphTab") inside
// its page frame and hands them over; this class fills and runs them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QTabWidget;
class QWidget;

namespace halovane {

class Dialogs;
class GraphsPage;
class OutputPage;
struct ResultsState;

class ResultsPages : public QObject {
    Q_OBJECT
public:
    ResultsPages(Dialogs& dialogs, QTabWidget& pageFrame, QWidget& outTab, QWidget& graphTab);
    ~ResultsPages() override;

    // "Open input" has read an input data file: the results shown no longer
    // belong to it (disables "See graphs", "Save graph", "Select graph" and
    // the two table buttons, hides the output-file label).
    void InputOpened();
    // A run completed and wrote `outputFileName`: load the listing, enable
    // "See graphs" and the table buttons, hide the grid and its texts. The
    // caller shows the completion message and brings the Output page forward.
    void RunCompleted(const QString& outputFileName);
    // A run stopped in step `stopStep` but wrote `outputFileName`: the pages
    // load it as after a completed run and mark the steps from the stop on.
    // The caller has shown the stop message and keeps its page in front.
    void RunStopped(const QString& outputFileName, int stopStep);
    // The folder the file dialogs of the two pages start in: the current
    // folder at start, then the folder of the last input data file. A run
    // sets it to the folder of its output file; the main window may set it
    // when "Open input" reads a file from another folder.
    void SetDialogFolder(const QString& folder);

    // "Open output": choose an output file and load it. False when nothing
    // was loaded.
    bool OpenOutputButtonClick();
    void GraphButtonClick();
    void MakeGraphButtonClick();

private:
    Dialogs& dialogs_;
    QTabWidget& pageFrame_;
    QWidget& outTab_;
    QWidget& graphTab_;
    std::unique_ptr<ResultsState> state_;
    // Children of the two pages; they work on state_ and go with it.
    QPointer<OutputPage> output_;
    QPointer<GraphsPage> graphs_;
};

}  // namespace halovane
