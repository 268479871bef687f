// The Output page: the listing of the output file, the hydrological and the
// salinity table in a grid, and the copy of the table to the clipboard. The
// page grows with the window: the listing and the grid take the room, and a
// window too small for the page scrolls it.
#pragma once

#include <QObject>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class QWidget;

namespace halovane {

class BalanceView;
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
    BalanceView* Balance = nullptr;      // the verdict, "See balance" and its window

private:
    void ShowTable(bool hydrological);
    void FitColumns();
    void HideTable();
    void ShowStop();
    // Appends the next part of a long listing; the rest follows while the
    // window waits for the user.
    void AppendListing();

    Dialogs& dialogs_;
    ResultsState& state_;
    QWidget& page_;
    QPlainTextEdit* outputMemo_ = nullptr;
    // The listing on view is the text of the output file as last read; it
    // is taken from it in parts. `listed_`: the bytes of the text the
    // listing shows so far (0: complete); `listingOf_`: the version of the
    // text it was started on.
    size_t listed_ = 0;
    int listingOf_ = -1;
    QLabel* outLabel_ = nullptr;
    QLabel* stopLabel_ = nullptr;
    QPushButton* saltShowButton_ = nullptr;
    QPushButton* hydrShowButton_ = nullptr;
    QTableView* outGrid_ = nullptr;
    OutputGridModel* gridModel_ = nullptr;
    QLabel* clipLabel_ = nullptr;
    QPushButton* clipButton_ = nullptr;
    QLabel* copyLabel_ = nullptr;
};

// Puts a page's content into a scroll area that fills the page: the content
// follows the page's size and scrolls when the page is smaller than the
// content's minimum. Returns the content widget, laid out by `layout`.
QWidget* ScrolledContent(QWidget& page, const char* name, QVBoxLayout*& layout);

}  // namespace halovane
