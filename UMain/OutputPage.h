// The Output page: the listing of the output file, the hydrological and the
// salinity table in a grid, and the copy of the table to the clipboard.
#pragma once

#include <QObject>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace halovane {

class Dialogs;
class FitReportView;
class OutputGridModel;
struct ResultsState;

class OutputPage : public QObject {
    Q_OBJECT
public:
    OutputPage(Dialogs& dialogs, ResultsState& state, QWidget& page);

    // The state after an output file was loaded by a run or "Open output":
    // the listing and the two table buttons, no grid.
    void ShowLoaded();
    // "Open input" read another data set: the tables no longer belong to it.
    void InputOpened();

    void HydrShowButtonClick();
    void SaltShowButtonClick();
    void ClipButtonClick();

    QWidget& Page() const { return page_; }
    QPushButton* OpenOutputButton = nullptr;
    QPushButton* GraphButton = nullptr;
    FitReportView* FitReport = nullptr;  // "See fit report" and its window

private:
    void ShowTable(bool hydrological);
    void PlaceCopyControls(int gridLeft, int gridWidth, int clipLabelLeft, int clipButtonLeft);
    void HideTable();

    Dialogs& dialogs_;
    ResultsState& state_;
    QWidget& page_;
    QPlainTextEdit* outputMemo_ = nullptr;
    QLabel* outLabel_ = nullptr;
    QPushButton* saltShowButton_ = nullptr;
    QPushButton* hydrShowButton_ = nullptr;
    QTableView* outGrid_ = nullptr;
    OutputGridModel* gridModel_ = nullptr;
    QPlainTextEdit* hydrOutMemo_ = nullptr;
    QPlainTextEdit* outSaltMemo_[3] = {nullptr, nullptr, nullptr};
    QLabel* clipLabel_ = nullptr;
    QPushButton* clipButton_ = nullptr;
    QLabel* copyLabel_ = nullptr;
};

}  // namespace halovane
