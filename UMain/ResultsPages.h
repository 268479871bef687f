// The Output and Graphs pages of the main window. The main window creates
// the two empty page widgets (object names "OutTab" and "GraphTab") inside
// its page frame and hands them over; this class fills and runs them.
#pragma once

#include <QObject>
#include <QString>

class QTabWidget;
class QWidget;

namespace halovane {

class Dialogs;

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

private:
    Dialogs& dialogs_;
    QTabWidget& pageFrame_;
    QWidget& outTab_;
    QWidget& graphTab_;
};

}  // namespace halovane
