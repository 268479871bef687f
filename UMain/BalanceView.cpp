#include "BalanceView.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QWidget>
#include <cmath>

#include "Dialogs.h"
#include "FitGraphs.h"
#include "GraphPainter.h"
#include "NumberText.h"
#include "OutputGridModel.h"
#include "OutputResults.h"
#include "TextFile.h"
#include "WindowPlacement.h"

namespace halovane {

namespace {

constexpr int FormWidth = 980, FormHeight = 400;

std::string OneDecimal(double value) {
    return std::isfinite(value) ? RemoveBlanks(FormatFixed(value, 0, 1)) : std::string("n.a.");
}

}  // namespace

TableCells BalanceTable(const RunBalance& balance) {
    const bool conserving = balance.variant == ModelVariant::Conserving;
    TableCells cells{{conserving ? "Balance of the run (conserving variant)" : "Balance of the run", "mm or mm*dS/m",
                      "kg/ha"}};
    for (const BalanceLine& line : BalanceSummaryLines(balance)) {
        if (line.heading)
            cells.push_back({line.label, "", ""});
        else if (line.percent)
            cells.push_back({"  " + line.label, BalancePercentText(line.value), ""});
        else
            cells.push_back({"  " + line.label, OneDecimal(line.value),
                             line.salt ? OneDecimal(line.value * SaltKgPerHaPerMmDsm) : std::string()});
    }
    return cells;
}

BalanceView::BalanceView(Dialogs& dialogs, ResultsState& state, QWidget& page)
    : QObject(&page), dialogs_(dialogs), state_(state), page_(page) {
    BalanceShowButton = new QPushButton(QStringLiteral("See balance"), &page);
    BalanceShowButton->setObjectName(QStringLiteral("BalanceShowButton"));
    BalanceShowButton->setEnabled(false);
    BalanceShowButton->hide();
    VerdictLabel = new QLabel(&page);
    VerdictLabel->setObjectName(QStringLiteral("BalanceVerdictLabel"));
    VerdictLabel->setWordWrap(true);
    VerdictLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    VerdictLabel->hide();

    form_ = new QWidget(&page, Qt::Window);
    form_->setObjectName(QStringLiteral("BalanceForm"));
    form_->resize(FormWidth, FormHeight);
    auto* layout = new QHBoxLayout(form_);
    auto* left = new QVBoxLayout;
    model_ = new OutputGridModel(this);
    grid_ = NewReportGrid(form_, "BalanceGrid", model_);
    left->addWidget(grid_, 1);
    auto* clip = new QPushButton(QStringLiteral("Copy to clipboard"), form_);
    clip->setObjectName(QStringLiteral("BalanceClipButton"));
    left->addWidget(clip, 0, Qt::AlignLeft);
    layout->addLayout(left, 1);
    image_ = new QLabel(form_);
    image_->setObjectName(QStringLiteral("BalanceImage"));
    image_->setFixedSize(FitGraphWidth, FitGraphHeight);
    layout->addWidget(image_, 0, Qt::AlignTop);

    connect(BalanceShowButton, &QPushButton::clicked, this, &BalanceView::BalanceShowButtonClick);
    connect(clip, &QPushButton::clicked, this, &BalanceView::BalanceClipButtonClick);
}

void BalanceView::OutputLoaded() {
    // The balance file is written with the output file; one left from an
    // earlier run of other data does not match these results.
    const std::string name = ChangeExtension(FileNameToStd(state_.OutputFileName), ".balance.csv");
    std::string text, why;
    RunBalance balance;
    available_ = ReadWholeFile(name, text, why) && ReadBalanceCsv(text, balance, why) &&
                 balance.variant == state_.Output.Variant &&
                 BalanceBelongsTo(balance, state_.Output.Results, state_.Output.Layers, state_.Output.NrTst);
    balance_ = available_ ? std::move(balance) : RunBalance{};
    BalanceShowButton->show();
    BalanceShowButton->setEnabled(available_);
    QString verdict;
    if (available_) {
        verdict = QString::fromStdString(BalanceVerdict(balance_));
        for (const std::string& warning : RunWarnings(balance_))
            verdict += QStringLiteral("\nWarning: ") + QString::fromStdString(warning);
    } else {
        verdict = QStringLiteral("No balance file of these results lies beside the output file: run the data "
                                 "again to see how well water and salt balance.");
    }
    VerdictLabel->setText(verdict);
    VerdictLabel->show();
    form_->hide();
}

void BalanceView::InputOpened() {
    BalanceShowButton->setEnabled(false);
    VerdictLabel->hide();
    form_->hide();
}

void BalanceView::BalanceShowButtonClick() {
    if (!available_) return;
    model_->SetCells(BalanceTable(balance_));
    grid_->setColumnWidth(0, 260);
    grid_->setColumnWidth(1, 110);
    grid_->setColumnWidth(2, 90);
    const BalanceGraph graph = BalanceGraphOf(balance_);
    picture_ = PaintPicture(FitGraphWidth, FitGraphHeight, [&](GraphCanvas& c) { DrawBalanceGraph(graph, c); });
    image_->setPixmap(QPixmap::fromImage(picture_));
    form_->setWindowTitle(QStringLiteral("Balance - ") + QFileInfo(state_.OutputFileName).fileName());
    ShowOver(*form_, *page_.window(), QSize(FormWidth, FormHeight));
}

void BalanceView::BalanceClipButtonClick() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(ClipboardText(model_->Cells())));
    dialogs_.Inform(form_, QStringLiteral("The data are on the clipboard to be pasted elsewhere."));
}

}  // namespace halovane
