#include "SalinityPanel.h"

#include <QPushButton>
#include <array>

#include "InputPage.h"
#include "NumberText.h"
#include "PanelHost.h"
#include "UGridHeadings.h"
#include "UPanelKit.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

namespace {

// A measured value as the file holds it: two decimals, unless the file gave
// more.
std::string MeasuredText(double value) {
    std::string twoDecimals = FormatFixed(value, 0, 2);
    if (StringToFloat(twoDecimals) == value) return twoDecimals;
    return ShortestText(value);
}

}  // namespace

SalinityPanel::SalinityPanel(PanelHost& host, int layers, QWidget* parent)
    : QFrame(parent), host_(host), layers_(layers) {
    QFrame* p = this;
    setObjectName(QString("Salt%1Panel").arg(layers));
    const char* title = layers == 2 ? "Measured salinity (dS/m),if any" : "Measured salinity (dS/m), if any";
    QGridLayout* g = Frame(p, "SaltLabel", title);
    grid_ = new TStringGrid(layers + 3, 12, 1, 1, p);
    grid_->setObjectName(QString("SaltGrid%1").arg(layers));
    // The zone names over their own columns, in the grid's header.
    QStringList headings{""};
    if (layers == 1)
        headings << "Root zone";
    else
        for (const char* layer : {"1st layer", "2nd layer", "3rd layer"})
            if (headings.size() <= layers) headings << QString("Root zone %1").arg(layer);
    headings << "Transition  zone" << "Aquifer";
    ShowColumnHeadings(*grid_, headings);
    grid_->setMinimumHeight(200);
    grid_->onEditText = [this](int c, int r, const QString& t) { GridSetEditText(c, r, t); };
    grid_->onPaste = grid_->onEditText;
    g->addWidget(grid_, 2, 0, 1, -1);
    g->setRowStretch(2, 1);
    g->addWidget(new QLabel(layers == 1 ? "Data can be pasted here" : "Data can be pasted here from clip board", p),
                 3, 0);
    const SaveCancel buttons = SaveCancelRow(g, 4, p, QString("Salt%1").arg(layers));
    save_ = buttons.save, quit_ = buttons.quit;
    connect(save_, &QPushButton::clicked, this, &SalinityPanel::SaveClick);
    connect(quit_, &QPushButton::clicked, this, &SalinityPanel::QuitClick);
}

rules::Panel SalinityPanel::Which() const {
    return layers_ == 1 ? rules::Panel::Salt1 : layers_ == 2 ? rules::Panel::Salt2 : rules::Panel::Salt3;
}

void SalinityPanel::Clear() { grid_->ClearEntries(); }

void SalinityPanel::SetCorner(const QString& text) { grid_->SetCell(0, 0, text); }

void SalinityPanel::SetSteps(int steps, bool resize) {
    if (resize) grid_->SetRowCount(steps + 1);
    grid_->NumberRows(steps);
}

void SalinityPanel::Reset(int steps) {
    if (layers_ == 1) SetCorner("Serial Nr");
    for (int c = 1; c <= 3; ++c) grid_->SetCell(c, 0, "(dS/m)");
    if (layers_ > 1) grid_->SetCell(layers_ + 2, 0, "dS/m");
    SetSteps(steps, true);
    for (int r = 1; r <= steps; ++r)
        for (int c = 1; c <= 3; ++c) grid_->SetCell(c, r, QString());
}

void SalinityPanel::Show() {
    if (host_.PageState().StoredSaltLayers != layers_) return;
    const ModelInput& in = host_.DataSet();
    const int n = in.NrTst;
    grid_->SetRowCount(n + 1);
    int column = 1;
    for (Zone zone : rules::SalinityZones(layers_)) {
        const Series& m = in.ECsm[zone];
        for (int i = 1; i <= n; ++i) {
            const double v = i < static_cast<int>(m.size()) ? m[i] : -1;
            grid_->SetText(column, i, v > 0 ? MeasuredText(v) : std::string());
        }
        ++column;
    }
}

void SalinityPanel::TakeEntriesOf(const SalinityPanel& from, int steps) {
    grid_->SetRowCount(steps + 1);
    if (from.layers_ == 3 && layers_ == 1) grid_->SetColCount(4);
    const std::array<int, 6> columns = rules::SalinityCarryOver(from.layers_, layers_);
    for (int r = 1; r <= steps; ++r)
        for (int c = 1; c < layers_ + 3; ++c) {
            const int source = columns[c];
            if (source > 0) grid_->SetText(c, r, from.grid_->Text(source, r));
        }
}

void SalinityPanel::GridSetEditText(int column, int row, const QString& edited) {
    InputPageState& page = host_.PageState();
    page.HydrPasteMode = false;
    page.LayerFlags = layers_;  // the grid that was edited decides
    const QString text = PastedLineEnds(edited);
    if (!rules::IsBlock(text.toStdString())) return;
    const int steps = host_.StepsOnScreen();
    const rules::PastePlan plan =
        rules::PlanSalinityPaste(rules::SplitBlock(text.toStdString()), column, row, layers_, steps, page.Comma);
    if (!WritePaste(host_, *grid_, plan)) return;
    if (plan.larger)
        host_.Warn("The number of time steps is larger than that given under Hydrological data. It will be "
                   "reduced.");
    if (plan.smaller)
        host_.Warn("The number of time steps is smaller than that given under Hydrological data. Missing "
                   "data must be added");
    SetSteps(steps, true);
}

void SalinityPanel::SaveClick() {
    InputPageState& page = host_.PageState();
    ModelInput& input = host_.DataSet();
    const int n = input.NrTst;
    ZoneArray<Series> measured = input.ECsm;
    const rules::Problem problem = rules::ReadSalinity(grid_->Rows(n + 1, layers_ + 3), layers_, n, measured, page.Comma);
    if (!problem.Ok()) {
        host_.RefuseCell(problem, *grid_);
        return;
    }
    for (Zone z : rules::SalinityZones(layers_)) input.ECsm[z] = measured[z];
    page.Stored[rules::SaltGroup] = true;
    page.StoredSaltLayers = layers_;
    host_.Message(page.InputComplete ? "The salinity data were saved."
                  : layers_ == 1     ? "The salinity data were saved. Continue with the Drainage data.."
                                     : "The salinity data were saved. Continue with the Drainage data ..");
    hide();
    host_.PanelSaved(Which());
    host_.ShowGroup(rules::DrainGroup);
}

void SalinityPanel::QuitClick() {
    Show();
    hide();
    host_.PanelCancelled(Which());
}

}  // namespace halovane
