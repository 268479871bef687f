#include "OutputPage.h"

#include <QClipboard>
#include <algorithm>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include "Dialogs.h"
#include "FitReportView.h"
#include "OutputGridModel.h"
#include "OutputResults.h"
#include "OutputTables.h"

namespace halovane {

namespace {

// The grid and the texts around it.
constexpr int GridTop = 300, GridHeight = 172;
constexpr int ClipLabelTop = 478, ClipButtonTop = 494;

QPushButton* Button(QWidget& page, const char* name, const QString& caption, QRect geometry) {
    auto* b = new QPushButton(caption, &page);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}

QLabel* Label(QWidget& page, const char* name, const QString& caption, QRect geometry) {
    auto* l = new QLabel(caption, &page);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

// A fixed text above the grid: read-only, without frame, scroll bars or
// wrapping, on the colour of the page.
QPlainTextEdit* TitleText(QWidget& page, const char* name, const QStringList& lines) {
    auto* t = new QPlainTextEdit(&page);
    t->setObjectName(QLatin1String(name));
    t->setReadOnly(true);
    t->setFrameShape(QFrame::NoFrame);
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setFocusPolicy(Qt::NoFocus);
    t->viewport()->setAutoFillBackground(false);
    t->setPlainText(lines.join(QLatin1Char('\n')));
    const int lineHeight = t->fontMetrics().lineSpacing();
    const int height = static_cast<int>(lines.size()) * lineHeight + 8;
    t->setGeometry(HydrologicalLayout.gridLeft, GridTop - height, HydrologicalLayout.gridWidth, height);
    t->hide();
    return t;
}

QStringList Lines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& l : lines) list << QString::fromStdString(l);
    return list;
}

}  // namespace

OutputPage::OutputPage(Dialogs& dialogs, ResultsState& state, QWidget& page)
    : QObject(&page), dialogs_(dialogs), state_(state), page_(page) {
    outputMemo_ = new QPlainTextEdit(&page);
    outputMemo_->setObjectName(QStringLiteral("OutputMemo"));
    outputMemo_->setGeometry(8, 8, 740, 176);
    outputMemo_->setReadOnly(true);
    outputMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The listing has fixed columns.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(8);
    outputMemo_->setFont(fixed);

    outLabel_ = Label(page, "OutLabel", QStringLiteral("  See output file  (*.out) for all data"), {8, 190, 300, 17});
    outLabel_->hide();
    hydrShowButton_ = Button(page, "HydrShowButton", QStringLiteral("See hydrological output"), {330, 186, 150, 25});
    hydrShowButton_->hide();
    saltShowButton_ = Button(page, "SaltShowButton", QStringLiteral("See salinity output"), {490, 186, 150, 25});
    saltShowButton_->hide();

    hydrOutMemo_ = TitleText(page, "HydrOutMemo", {QString::fromLatin1(HydrologicalTitles)});
    for (int layers = 1; layers <= 3; ++layers) {
        const QByteArray name = "OutSalt" + QByteArray::number(layers) + "Memo";
        outSaltMemo_[layers - 1] = TitleText(page, name.constData(), Lines(SalinityTitles(layers)));
    }

    gridModel_ = new OutputGridModel(this);
    gridModel_->SetCells(TableCells(8, std::vector<std::string>(11)));
    outGrid_ = new QTableView(&page);
    outGrid_->setObjectName(QStringLiteral("OutGrid"));
    outGrid_->setModel(gridModel_);
    outGrid_->verticalHeader()->hide();
    outGrid_->verticalHeader()->setDefaultSectionSize(20);
    outGrid_->horizontalHeader()->setDefaultSectionSize(64);
    outGrid_->horizontalHeader()->setMinimumSectionSize(20);
    outGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    outGrid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    outGrid_->horizontalHeader()->setHighlightSections(false);
    outGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    outGrid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    outGrid_->setWordWrap(false);
    outGrid_->setGeometry(HydrologicalLayout.gridLeft, GridTop, HydrologicalLayout.gridWidth, GridHeight);

    clipLabel_ = Label(page, "ClipLabel", QStringLiteral("Click table and:"), {56, ClipLabelTop, 100, 16});
    clipLabel_->hide();
    clipButton_ = Button(page, "ClipButton", QStringLiteral("Copy to clipboard"), {52, ClipButtonTop, 110, 25});
    clipButton_->hide();
    copyLabel_ = Label(page, "CopyLabel",
                       QStringLiteral("The data of the table can be copied to a spreadsheet like Excel via the clipboard"),
                       {230, ClipLabelTop, 500, 16});

    OpenOutputButton = Button(page, "OpenOutputButton", QStringLiteral("Open output"), {456, 504, 83, 25});
    GraphButton = Button(page, "GraphButton", QStringLiteral("See graphs"), {552, 504, 83, 25});
    GraphButton->setEnabled(false);
    FitReport = new FitReportView(dialogs_, state_, page);

    connect(hydrShowButton_, &QPushButton::clicked, this, &OutputPage::HydrShowButtonClick);
    connect(saltShowButton_, &QPushButton::clicked, this, &OutputPage::SaltShowButtonClick);
    connect(clipButton_, &QPushButton::clicked, this, &OutputPage::ClipButtonClick);
}

void OutputPage::HideTable() {
    hydrOutMemo_->hide();
    for (QPlainTextEdit* m : outSaltMemo_) m->hide();
    outGrid_->hide();
    copyLabel_->hide();
    clipLabel_->hide();
    clipButton_->hide();
}

void OutputPage::ShowLoaded() {
    outputMemo_->hide();
    QString listing;
    if (ReadListing(state_.OutputFileName, listing))
        outputMemo_->setPlainText(listing);
    else
        dialogs_.Inform(&page_, QString::fromStdString(OpenFailureMessage(FileNameToStd(state_.OutputFileName))));
    GraphButton->setEnabled(true);
    outputMemo_->show();
    outLabel_->show();
    saltShowButton_->show();
    saltShowButton_->setEnabled(true);
    hydrShowButton_->show();
    hydrShowButton_->setEnabled(true);
    HideTable();
    FitReport->OutputLoaded();
}

void OutputPage::InputOpened() {
    GraphButton->setEnabled(false);
    saltShowButton_->setEnabled(false);
    hydrShowButton_->setEnabled(false);
    outLabel_->hide();
    FitReport->InputOpened();
}

void OutputPage::PlaceCopyControls(int gridLeft, int gridWidth, int clipLabelLeft, int clipButtonLeft) {
    outGrid_->setGeometry(gridLeft, GridTop, gridWidth, GridHeight);
    for (QPlainTextEdit* m : {hydrOutMemo_, outSaltMemo_[0], outSaltMemo_[1], outSaltMemo_[2]})
        m->setGeometry(gridLeft, m->y(), gridWidth, m->height());
    clipLabel_->move(clipLabelLeft, ClipLabelTop);
    clipButton_->move(clipButtonLeft, ClipButtonTop);
    clipLabel_->show();
    clipButton_->show();
}

void OutputPage::ShowTable(bool hydrological) {
    const int layers = state_.Output.Layers;
    const TableLayout layout = hydrological ? HydrologicalLayout : SalinityLayout(layers);
    gridModel_->SetCells(hydrological
                             ? HydrologicalTable(state_.Output.Results, state_.ViewOrNull(), state_.Output.NrTst)
                             : SalinityTable(state_.Output.Results, state_.ViewOrNull(), state_.Output.NrTst, layers));
    PlaceCopyControls(layout.gridLeft, layout.gridWidth, layout.clipLabelLeft, layout.clipButtonLeft);
    hydrOutMemo_->setVisible(hydrological);
    for (int k = 0; k < 3; ++k) outSaltMemo_[k]->setVisible(!hydrological && k + 1 == std::clamp(layers, 1, 3));
    outGrid_->show();
    copyLabel_->show();
}

void OutputPage::HydrShowButtonClick() {
    // The output file may have been rewritten since it was loaded.
    if (!ReloadOutputFile(state_, dialogs_, &page_)) return;
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
    QGuiApplication::clipboard()->setText(QString::fromStdString(ClipboardText(gridModel_->Cells())));
    dialogs_.Inform(&page_, QStringLiteral("The data are on the clipboard to be pasted elsewhere."));
}

}  // namespace halovane
