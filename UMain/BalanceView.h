// The balance on the Output page: the one-line verdict and the warnings of
// the results on view, the "See balance" button and the window it opens,
// with the run summary per zone (copied to the clipboard like the other
// tables) and the graph of the cumulative percent discrepancies.
#pragma once

#include <QImage>
#include <QObject>

#include "Balance.h"
#include "OutputTables.h"

class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace halovane {

class Dialogs;
class OutputGridModel;
struct ResultsState;

// The run summary as a table: the line's words, the value, and for salt the
// value in kg/ha.
TableCells BalanceTable(const RunBalance& balance);

class BalanceView : public QObject {
    Q_OBJECT
public:
    BalanceView(Dialogs& dialogs, ResultsState& state, QWidget& page);

    // An output file was loaded: read the balance file beside it when it
    // belongs to these results.
    void OutputLoaded();
    // "Open input": the balance no longer belongs to the data on view.
    void InputOpened();

    void BalanceShowButtonClick();
    void BalanceClipButtonClick();

    QPushButton* BalanceShowButton = nullptr;
    QLabel* VerdictLabel = nullptr;
    QWidget* Form() const { return form_; }
    bool Available() const { return available_; }
    const QImage& Picture() const { return picture_; }

private:
    Dialogs& dialogs_;
    ResultsState& state_;
    QWidget& page_;
    RunBalance balance_;
    bool available_ = false;
    QImage picture_;
    QWidget* form_ = nullptr;
    QTableView* grid_ = nullptr;
    OutputGridModel* model_ = nullptr;
    QLabel* image_ = nullptr;
};

}  // namespace halovane
