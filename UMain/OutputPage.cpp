#include "OutputPage.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "BalanceView.h"
#include "Dialogs.h"
#include "FitReportView.h"
#include "OutputGridModel.h"
#include "OutputResults.h"
#include "OutputTables.h"

namespace halovane {

namespace {

// A button at least as large as the page's design gives it, wider where its
// caption needs it.
QPushButton* Button(QWidget& parent, const char* name, const QString& caption, QSize design) {
    auto* b = new QPushButton(caption, &parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumSize(design.expandedTo(QSize(b->sizeHint().width(), design.height())));
    return b;
}

QLabel* Label(QWidget& parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, &parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

}  // namespace

QWidget* ScrolledContent(QWidget& page, const char* name, QVBoxLayout*& layout) {
    auto* pageLayout = new QVBoxLayout(&page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(&page);
    scroll->setObjectName(QLatin1String(name) + QStringLiteral("Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    pageLayout->addWidget(scroll);
    auto* content = new QWidget;
    content->setObjectName(QLatin1String(name));
    layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 8, 8);
    scroll->setWidget(content);
    return content;
}

OutputPage::OutputPage(Dialogs& dialogs, ResultsState& state, QWidget& page)
    : QObject(&page), dialogs_(dialogs), state_(state), page_(page) {
    QVBoxLayout* layout = nullptr;
    QWidget& content = *ScrolledContent(page, "OutContent", layout);

    outputMemo_ = new QPlainTextEdit(&content);
    outputMemo_->setObjectName(QStringLiteral("OutputMemo"));
    outputMemo_->setReadOnly(true);
    outputMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The listing has fixed columns.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(8);
    outputMemo_->setFont(fixed);
    outputMemo_->setMinimumHeight(5 * QFontMetrics(fixed).lineSpacing() + 12);
    outputMemo_->setUndoRedoEnabled(false);
    layout->addWidget(outputMemo_, 2);

    auto* tableRow = new QHBoxLayout;
    outLabel_ = Label(content, "OutLabel", QStringLiteral("  See output file  (*.out) for all data"));
    outLabel_->hide();
    hydrShowButton_ = Button(content, "HydrShowButton", QStringLiteral("See hydrological output"), {150, 25});
    hydrShowButton_->hide();
    saltShowButton_ = Button(content, "SaltShowButton", QStringLiteral("See salinity output"), {150, 25});
    saltShowButton_->hide();
    tableRow->addWidget(outLabel_);
    tableRow->addStretch(1);
    tableRow->addWidget(hydrShowButton_);
    tableRow->addWidget(saltShowButton_);
    layout->addLayout(tableRow);

    stopLabel_ = Label(content, "StopLabel", QString());
    stopLabel_->setStyleSheet(QStringLiteral("color: #A00000"));
    stopLabel_->hide();
    layout->addWidget(stopLabel_);

    gridModel_ = new OutputGridModel(this);
    gridModel_->SetCells(TableCells(8, std::vector<std::string>(11)));
    outGrid_ = new QTableView(&content);
    outGrid_->setObjectName(QStringLiteral("OutGrid"));
    outGrid_->setModel(gridModel_);
    outGrid_->verticalHeader()->hide();
    outGrid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    outGrid_->verticalHeader()->setDefaultSectionSize(outGrid_->fontMetrics().height() + 6);
    outGrid_->horizontalHeader()->setDefaultSectionSize(64);
    outGrid_->horizontalHeader()->setMinimumSectionSize(20);
    outGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    outGrid_->horizontalHeader()->setHighlightSections(false);
    outGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    outGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    outGrid_->setWordWrap(false);
    outGrid_->setMinimumHeight(172);
    layout->addWidget(outGrid_, 3);

    auto* buttonRow = new QHBoxLayout;
    clipLabel_ = Label(content, "ClipLabel", QStringLiteral("Click table and:"));
    clipLabel_->hide();
    clipButton_ = Button(content, "ClipButton", QStringLiteral("Copy to clipboard"), {110, 25});
    clipButton_->hide();
    OpenOutputButton = Button(content, "OpenOutputButton", QStringLiteral("Open output"), {83, 25});
    GraphButton = Button(content, "GraphButton", QStringLiteral("See graphs"), {83, 25});
    GraphButton->setEnabled(false);
    FitReport = new FitReportView(dialogs_, state_, page);
    tableRow->addWidget(FitReport->FitShowButton);
    Balance = new BalanceView(dialogs_, state_, page);
    tableRow->addWidget(Balance->BalanceShowButton);
    layout->insertWidget(layout->indexOf(stopLabel_) + 1, Balance->VerdictLabel);
    buttonRow->addWidget(clipLabel_);
    buttonRow->addWidget(clipButton_);
    buttonRow->addStretch(1);
    buttonRow->addWidget(OpenOutputButton);
    buttonRow->addWidget(GraphButton);
    layout->addLayout(buttonRow);
    copyLabel_ = Label(content,  "CopyLabel",
                       QStringLiteral("The data of the table can be copied to a spreadsheet like Excel via the clipboard"));
    layout->addWidget(copyLabel_);

    connect(hydrShowButton_, &QPushButton::clicked, this, &OutputPage::HydrShowButtonClick);
    connect(saltShowButton_, &QPushButton::clicked, this, &OutputPage::SaltShowButtonClick);
    connect(clipButton_, &QPushButton::clicked, this, &OutputPage::ClipButtonClick);
}

void OutputPage::HideTable() {
    outGrid_->hide();
    copyLabel_->hide();
    clipLabel_->hide();
    clipButton_->hide();
}

void OutputPage::ShowStop() {
    const int stop = state_.StopStep;
    stopLabel_->setVisible(stop > 0);
    if (stop <= 0) return;
    stopLabel_->setText(QStringLiteral("The calculations stopped in time step %1 of %2: the water table sank below "
                                       "the bottom of the aquifer.\nThe steps from %1 on were not computed; the "
                                       "tables mark them and the graphs end before them.")
                            .arg(stop)
                            .arg(state_.Output.NrTst));
}

void OutputPage::ShowLoaded() {
    outputMemo_->hide();
    // The text the results were read from: the file is read once. A long
    // listing shows its first lines at once and takes the rest in parts
    // while the window is idle, so that a century of days opens without a
    // wait.
    listed_ = 0;
    listingOf_ = state_.TextVersion;
    AppendListing();
    GraphButton->setEnabled(true);
    outputMemo_->show();
    outLabel_->show();
    saltShowButton_->show();
    saltShowButton_->setEnabled(true);
    hydrShowButton_->show();
    hydrShowButton_->setEnabled(true);
    ShowStop();
    HideTable();
    FitReport->OutputLoaded();
    Balance->OutputLoaded();
}

void OutputPage::AppendListing() {
    constexpr int FirstLines = 1000, LinesPerPart = 20000;
    // A text read again in the meantime (the file was rewritten) is
    // listed from its start.
    if (listingOf_ != state_.TextVersion) {
        listed_ = 0;
        listingOf_ = state_.TextVersion;
    }
    const std::string& bytes = state_.OutputText;
    // The listing holds the header and the rows: the blank lines that may
    // follow them are counted, not listed. It ends without the last line
    // end, "\r\n" or "\n".
    size_t limit = std::min(bytes.size(), state_.Output.RowsEnd);
    if (limit > 0 && bytes[limit - 1] == '\n') {
        --limit;
        if (limit > 0 && bytes[limit - 1] == '\r') --limit;
    }
    const bool first = listed_ == 0;
    // The line ends of this part, the last one's too: the next part starts
    // a paragraph for it.
    size_t stop = listed_, next = std::string::npos;
    for (int n = first ? FirstLines : LinesPerPart; n > 0; --n) {
        const size_t end = bytes.find('\n', stop);
        if (end == std::string::npos || end >= limit) {
            stop = limit;
            next = std::string::npos;
            break;
        }
        stop = end;
        next = end + 1;
        if (n > 1) stop = next;
    }
    // The "\r" of a "\r\n" that ends the part goes with the line end.
    size_t partEnd = stop;
    if (next != std::string::npos && partEnd > listed_ && bytes[partEnd - 1] == '\r') --partEnd;
    const QString part = ListingPart(bytes, listed_, std::max(partEnd, listed_));
    if (first)
        outputMemo_->setPlainText(part);
    else
        outputMemo_->appendPlainText(part);
    if (next == std::string::npos) {
        listed_ = 0;
        if (state_.Output.RowsEnd < bytes.size())
            outputMemo_->appendPlainText(QStringLiteral("(%1 more blank lines follow the rows; they are not listed)")
                                             .arg(BlankLinesAfter(bytes, state_.Output.RowsEnd)));
        return;
    }
    listed_ = next;
    const int version = listingOf_;
    QTimer::singleShot(0, this, [this, version] {
        // Unless another listing replaced this one.
        if (listed_ > 0 && listingOf_ == version) AppendListing();
    });
}

void OutputPage::InputOpened() {
    GraphButton->setEnabled(false);
    saltShowButton_->setEnabled(false);
    hydrShowButton_->setEnabled(false);
    outLabel_->hide();
    FitReport->InputOpened();
    Balance->InputOpened();
}

void OutputPage::FitColumns() {
    // Wide enough for the heading and for the longest number of the column,
    // measured in the grid's fonts; never narrower than the design's 64.
    const QFontMetrics cells = outGrid_->fontMetrics();
    const QFontMetrics heads = outGrid_->horizontalHeader()->fontMetrics();
    const int cellMargin = 2 * (outGrid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, outGrid_) + 1) + 6;
    const int headMargin = 2 * outGrid_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, outGrid_) + 6;
    int headLines = 1;
    for (int c = 0; c < gridModel_->ColumnCount(); ++c) {
        int width = 64;
        const QStringList lines = gridModel_->Heading(c).split(QLatin1Char('\n'));
        headLines = std::max(headLines, static_cast<int>(lines.size()));
        for (const QString& line : lines) width = std::max(width, heads.horizontalAdvance(line) + headMargin);
        width = std::max(width, cells.horizontalAdvance(gridModel_->LongestShown(c)) + cellMargin);
        outGrid_->setColumnWidth(c, width);
    }
    outGrid_->horizontalHeader()->setMinimumHeight(headLines * heads.lineSpacing() + 8);
}

void OutputPage::ShowTable(bool hydrological) {
    const int layers = std::clamp(state_.Output.Layers, 1, 3);
    // The grid makes its cells from the results as they are now: a file
    // read again later does not change the table on view.
    struct Results {
        StepResults results;
        ViewInput view;
        bool viewRead;
    };
    const auto results = std::make_shared<const Results>(Results{state_.Output.Results, state_.View, state_.ViewRead});
    const int rows = std::max(state_.Output.NrTst, 0) + 1;
    const int stop = state_.StopStep;
    if (hydrological)
        gridModel_->SetSource(
            rows, HydrologicalColumns,
            [results, stop](int row, int column) {
                return HydrologicalCell(results->results, results->viewRead ? &results->view : nullptr, row, column,
                                        stop);
            },
            HydrologicalHeadings(), stop);
    else
        gridModel_->SetSource(
            rows, SalinityColumns(layers),
            [results, layers, stop](int row, int column) {
                return SalinityCell(results->results, results->viewRead ? &results->view : nullptr, layers, row,
                                    column, stop);
            },
            SalinityHeadings(layers), stop);
    FitColumns();
    clipLabel_->show();
    clipButton_->show();
    outGrid_->show();
    copyLabel_->show();
}

void OutputPage::HydrShowButtonClick() {
    // The output file may have been rewritten since it was loaded.
    if (!ReloadOutputFile(state_, dialogs_, &page_)) return;
    ShowStop();
    outGrid_->hide();
    hydrShowButton_->setEnabled(false);
    saltShowButton_->setEnabled(true);
    ShowTable(true);
}

void OutputPage::SaltShowButtonClick() {
    outGrid_->hide();
    saltShowButton_->setEnabled(false);
    hydrShowButton_->setEnabled(true);
    ShowTable(false);
}

void OutputPage::ClipButtonClick() {
    // The headings with their units over the cells as they stand, and the
    // rows a stop left uncomputed marked.
    std::vector<std::string> headings;
    for (int c = 0; c < gridModel_->ColumnCount(); ++c) headings.push_back(gridModel_->Heading(c).toStdString());
    const TableCells cells = ClipboardCells(gridModel_->Cells(), headings, gridModel_->StopStep());
    QGuiApplication::clipboard()->setText(QString::fromStdString(ClipboardText(cells)));
    dialogs_.Inform(&page_, QStringLiteral("The data are on the clipboard to be pasted elsewhere."));
}

}  // namespace halovane
