#include "FitReportView.h"

#include "GraphFigure.h"
#include "GraphSaveTypes.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSaveFile>
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
#include "WindowPlacement.h"

namespace halovane {

namespace {

// The window fits inside the main window's design size (806 x 647), and
// on a screen of 800 x 600: the table scrolls its rows, and the two graphs
// show at 49/60 of their size (they are saved at full size).
constexpr int FormWidth = 770, FormHeight = 580;
constexpr int TableTop = 8, TableHeight = 236;
constexpr int ButtonsTop = TableTop + TableHeight + 8;
constexpr int PicturesTop = ButtonsTop + 33;
constexpr int PictureWidth = FitGraphWidth * 49 / 60, PictureHeight = FitGraphHeight * 49 / 60;
// The first column names the statistic; one column per zone, at most five.
constexpr int NameColumnWidth = 200, ZoneColumnWidth = 106;

std::string Decimals(double value, int decimals) {
    return std::isfinite(value) ? RemoveBlanks(FormatFixed(value, 0, decimals)) : std::string("n.a.");
}
std::string YesNo(bool flag) { return flag ? "yes" : "no"; }

QPushButton* Button(QWidget& parent, const char* name, const char* caption, QRect geometry) {
    auto* b = new QPushButton(QString::fromUtf8(caption), &parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}

}  // namespace

TableCells FitReportTable(const FitReport& report) {
    using Row = std::vector<std::string>;
    TableCells cells;
    Row heading{"Statistic"};
    for (const ZoneReport& z : report.zones) heading.push_back(ZoneCaption(report.layers, z.zone));
    cells.push_back(heading);
    auto add = [&](const std::string& name, auto value) {
        Row row{name};
        for (const ZoneReport& z : report.zones) row.push_back(value(z));
        cells.push_back(row);
    };
    add("Leaching efficiency", [](const ZoneReport& z) {
        return Decimals(z.le, 2) + (z.optimized ? " (optimized)" : " (given)");
    });
    add("Search (number in the run)", [](const ZoneReport& z) { return std::to_string(z.search); });
    // A stopped run compares the steps before the stop only.
    add("Run stopped at time step", [&report](const ZoneReport&) {
        return report.stoppedAtStep > 0 ? std::to_string(report.stoppedAtStep) : std::string("no");
    });
    add("n (measured values)", [](const ZoneReport& z) { return std::to_string(z.stats.n); });
    add("Mean measured (dS/m)", [](const ZoneReport& z) { return Decimals(z.stats.meanMeasured, 3); });
    add("Mean simulated (dS/m)", [](const ZoneReport& z) { return Decimals(z.stats.meanSimulated, 3); });
    add("SSE (dS/m)\xC2\xB2", [](const ZoneReport& z) { return Decimals(z.stats.sse, 3); });
    add("RMSE (dS/m)", [](const ZoneReport& z) { return Decimals(z.stats.rmse, 3); });
    add("MAE (dS/m)", [](const ZoneReport& z) { return Decimals(z.stats.mae, 3); });
    add("Bias, simulated - measured (dS/m)", [](const ZoneReport& z) { return Decimals(z.stats.bias, 3); });
    add("Nash-Sutcliffe efficiency", [](const ZoneReport& z) {
        return z.stats.nseDefined ? Decimals(z.stats.nse, 3) : std::string("n.a.");
    });
    add("r\xC2\xB2 simulated against measured", [](const ZoneReport& z) {
        return z.stats.r2Defined ? Decimals(z.stats.r2, 3) : std::string("n.a.");
    });
    add("Fit index (%)", [](const ZoneReport& z) { return z.fitIndex; });
    add("Lowest score (dS/m)\xC2\xB2", [](const ZoneReport& z) { return Decimals(z.profile.bestScore, 3); });
    add("F(1, n-1; 0.95)", [](const ZoneReport& z) { return Decimals(z.profile.fQuantile, 3); });
    add("Score limit (dS/m)\xC2\xB2", [](const ZoneReport& z) { return Decimals(z.profile.limit, 3); });
    add("Approx. 95 % interval", [](const ZoneReport& z) {
        return Decimals(z.profile.low, 2) + " - " + Decimals(z.profile.high, 2);
    });
    add("Best at the edge of the range", [](const ZoneReport& z) { return YesNo(z.profile.bestAtEdge); });
    add("Not determined by these measurements", [](const ZoneReport& z) { return YesNo(z.profile.notDetermined); });
    add("Flat profile", [](const ZoneReport& z) { return YesNo(z.profile.flat); });
    add("Score cap of 1000 inside the interval", [](const ZoneReport& z) { return YesNo(z.profile.capped); });
    return cells;
}

FitReportView::FitReportView(Dialogs& dialogs, ResultsState& state, QWidget& page)
    : QObject(&page), dialogs_(dialogs), state_(state), page_(page) {
    FitShowButton = Button(page, "FitShowButton", "See fit report", {650, 186, 100, 25});
    FitShowButton->setEnabled(false);
    FitShowButton->hide();

    // The window holds its controls at fixed places on a sheet of the design
    // size; where the screen has no room for the sheet the window is
    // smaller and scrolls.
    form_ = new QWidget(&page, Qt::Window);
    form_->setObjectName(QStringLiteral("FitReportForm"));
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("FitReportSheet"));
    sheet->setFixedSize(FormWidth, FormHeight);
    auto* scroll = new QScrollArea(form_);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(sheet);
    auto* layout = new QVBoxLayout(form_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    form_->setMaximumSize(FormWidth, FormHeight);
    form_->resize(FormWidth, FormHeight);
    model_ = new OutputGridModel(this);
    grid_ = NewReportGrid(sheet, "FitGrid", model_);
    grid_->setGeometry(8, TableTop, FormWidth - 16, TableHeight);

    auto* clip = Button(*sheet, "FitClipButton", "Copy to clipboard", {8, ButtonsTop, 130, 25});
    auto* zoneLabel = new QLabel(QStringLiteral("Zone:"), sheet);
    zoneLabel->setGeometry(148, ButtonsTop + 4, 40, 17);
    zoneCombo_ = new QComboBox(sheet);
    zoneCombo_->setObjectName(QStringLiteral("FitZoneCombo"));
    zoneCombo_->setGeometry(188, ButtonsTop, 160, 25);
    auto* saveProfile = Button(*sheet, "FitSaveProfileButton", "Save profile graph", {FormWidth - 16 - 2 * 185, ButtonsTop, 185, 25});
    auto* saveScatter = Button(*sheet, "FitSaveScatterButton", "Save scatter graph", {FormWidth - 8 - 185, ButtonsTop, 185, 25});

    profileImage_ = new QLabel(sheet);
    profileImage_->setObjectName(QStringLiteral("FitProfileImage"));
    profileImage_->setGeometry(8, PicturesTop, PictureWidth, PictureHeight);
    profileImage_->setScaledContents(true);
    scatterImage_ = new QLabel(sheet);
    scatterImage_->setObjectName(QStringLiteral("FitScatterImage"));
    scatterImage_->setGeometry(FormWidth - 8 - PictureWidth, PicturesTop, PictureWidth, PictureHeight);
    scatterImage_->setScaledContents(true);

    connect(FitShowButton, &QPushButton::clicked, this, &FitReportView::FitShowButtonClick);
    connect(clip, &QPushButton::clicked, this, &FitReportView::FitClipButtonClick);
    connect(zoneCombo_, &QComboBox::currentIndexChanged, this, &FitReportView::FitZoneComboChange);
    connect(saveProfile, &QPushButton::clicked, this, &FitReportView::FitSaveProfileButtonClick);
    connect(saveScatter, &QPushButton::clicked, this, &FitReportView::FitSaveScatterButtonClick);
}

FitReportView::~FitReportView() = default;

void FitReportView::OutputLoaded() {
    std::string message;
    FitReport report;
    status_ = ReadFitReportFiles(FileNameToStd(state_.OutputFileName), state_.Output, state_.ViewOrNull(), report,
                                 message);
    report_ = status_ == FitReportStatus::Read ? std::move(report) : FitReport{};
    const bool available = status_ == FitReportStatus::Read;
    FitShowButton->show();
    FitShowButton->setEnabled(available);
    if (available)
        FitShowButton->setToolTip(QStringLiteral("How well the measurements determine each optimised leaching efficiency"));
    else if (status_ == FitReportStatus::Absent)
        FitShowButton->setToolTip(QStringLiteral("No fit report lies beside the output file: it is written by runs "
                                                 "in which the optimisation was done"));
    else
        FitShowButton->setToolTip(QString::fromStdString(message));
    // A report on view belongs to the results loaded before.
    form_->hide();
}

void FitReportView::InputOpened() {
    FitShowButton->setEnabled(false);
    form_->hide();
}

void FitReportView::FitShowButtonClick() {
    if (report_.empty()) return;
    model_->SetCells(FitReportTable(report_));
    grid_->setColumnWidth(0, NameColumnWidth);
    for (int c = 1; c < model_->ColumnCount(); ++c) grid_->setColumnWidth(c, ZoneColumnWidth);
    zoneCombo_->blockSignals(true);
    zoneCombo_->clear();
    for (const ZoneReport& z : report_.zones)
        zoneCombo_->addItem(QString::fromStdString(ZoneCaption(report_.layers, z.zone)));
    zoneCombo_->setCurrentIndex(0);
    zoneCombo_->blockSignals(false);
    FitZoneComboChange(0);
    form_->setWindowTitle(QStringLiteral("Fit report - ") + QFileInfo(state_.OutputFileName).fileName());
    // Over the main window and inside its screen, at the design size where
    // the screen has room for it.
    ShowOver(*form_, *page_.window(), QSize(FormWidth, FormHeight));
}

void FitReportView::FitClipButtonClick() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(ClipboardText(model_->Cells())));
    dialogs_.Inform(form_, QStringLiteral("The data are on the clipboard to be pasted elsewhere."));
}

void FitReportView::FitZoneComboChange(int row) {
    if (row < 0 || row >= static_cast<int>(report_.zones.size())) return;
    const size_t k = static_cast<size_t>(row);
    profileGraph_ = ProfileGraphOf(report_, k);
    const ProfileGraph& profile = profileGraph_;
    const Zone zone = report_.zones[k].zone;
    std::vector<double> measured;
    if (state_.ViewRead) measured = state_.View.ECsm[zone];
    scatterGraph_ = ScatterGraphOf(report_, k, state_.Output.Results.SR[zone], measured);
    const ScatterGraph& scatter = scatterGraph_;
    profile_ = PaintPicture(FitGraphWidth, FitGraphHeight, [&](GraphCanvas& c) { DrawProfileGraph(profile, c); });
    scatter_ = PaintPicture(FitGraphWidth, FitGraphHeight, [&](GraphCanvas& c) { DrawScatterGraph(scatter, c); });
    profileImage_->setPixmap(QPixmap::fromImage(profile_));
    scatterImage_->setPixmap(QPixmap::fromImage(scatter_));
}

void FitReportView::FitSaveProfileButtonClick() {
    SavePicture(profile_, [graph = profileGraph_](GraphCanvas& c) { DrawProfileGraph(graph, c); });
}
void FitReportView::FitSaveScatterButtonClick() {
    SavePicture(scatter_, [graph = scatterGraph_](GraphCanvas& c) { DrawScatterGraph(graph, c); });
}

void FitReportView::SavePicture(const QImage& picture, const std::function<void(GraphCanvas&)>& draw) {
    // As "Save graph" on the Graphs page, in the same types.
    QString chosenFilter;
    const QString typed = dialogs_.SaveFileNameOfType(form_, QStringLiteral("Save graph"), state_.DialogFolder,
                                                      GraphSaveFilters(), chosenFilter);
    if (typed.isEmpty()) {
        dialogs_.Inform(form_, QStringLiteral("The graph was not saved"));
        return;
    }
    const GraphSaveTarget file = GraphSaveTargetOf(typed, chosenFilter);
    if (QFileInfo::exists(file.name) &&
        !dialogs_.Confirm(form_, QStringLiteral("The graph already exists, overwrite?")))
        return;
    const bool saved = !picture.isNull() && WriteDrawnFile(file.name, file.format, file.scale, picture.size(),
                                                           QString(), draw);
    dialogs_.Inform(form_, (saved ? QStringLiteral("The graph was saved as  ")
                                  : QStringLiteral("The graph could not be saved as  ")) +
                               file.name);
}

}  // namespace halovane
