#include "HydrologicalPanel.h"

#include <QHeaderView>
#include <QPushButton>

#include "InputPage.h"
#include "PanelHost.h"
#include "UGridHeadings.h"
#include "UPanelKit.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

HydrologicalPanel::HydrologicalPanel(PanelHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    QFrame* p = this;
    setObjectName("HydrPanel");
    QGridLayout* g = Frame(p, "HydrLabel", "Hydrological data (mm per time step)");
    HydrGrid = new TStringGrid(4, 12, 1, 1, p);
    HydrGrid->setObjectName("HydrGrid");
    // The names stand over their own columns and stay in view.
    ShowColumnHeadings(*HydrGrid, {"", "Rainfall", "Irrigation", "Evaporation"});
    HydrGrid->verticalHeader()->setDefaultSectionSize(24);
    HydrGrid->setMinimumHeight(200);
    HydrGrid->onEditText = [this](int c, int r, const QString& t) { HydrGridSetEditText(c, r, PastedLineEnds(t)); };
    HydrGrid->onPaste = HydrGrid->onEditText;
    g->addWidget(HydrGrid, 2, 0, 1, -1);
    g->setRowStretch(2, 1);
    g->addWidget(Label("CommentLabel", "Data can be pasted here", p), 3, 0);
    const SaveCancel buttons = SaveCancelRow(g, 4, p, "Hydr");
    HydrSaveButton = buttons.save, HydrQuitButton = buttons.quit;
    connect(HydrSaveButton, &QPushButton::clicked, this, &HydrologicalPanel::HydrSaveButtonClick);
    connect(HydrQuitButton, &QPushButton::clicked, this, &HydrologicalPanel::HydrQuitButtonClick);
}

int HydrologicalPanel::Steps() const { return HydrGrid->RowCount() - 1; }

void HydrologicalPanel::SetSteps(int steps) {
    HydrGrid->SetRowCount(steps + 1);
    HydrGrid->NumberRows(steps);
}

void HydrologicalPanel::Clear() { HydrGrid->ClearEntries(); }

void HydrologicalPanel::SetCorner(const QString& text) { HydrGrid->SetCell(0, 0, text); }

void HydrologicalPanel::Reset(int steps) {
    SetCorner("Serial Nr");
    for (int c = 1; c <= 3; ++c) HydrGrid->SetCell(c, 0, "mm/timestep");
    SetSteps(steps);
    for (int r = 1; r <= steps; ++r)
        for (int c = 1; c <= 3; ++c) HydrGrid->SetCell(c, r, QString());
}

void HydrologicalPanel::Show() {
    // A paste may have changed the number of rows: they go back to the
    // time steps stored.
    const InputPageState& page = host_.PageState();
    const int n = page.StoredSteps;
    host_.ShowStepCount(n);
    SetSteps(n);
    host_.SalinitySteps(n, true);
    if (!page.Stored[rules::HydrGroup]) return;
    const ModelInput& in = host_.DataSet();
    const Series* series[3] = {&in.Rain, &in.Irrig, &in.EvapT};
    for (int i = 1; i <= n; ++i)
        for (int c = 1; c <= 3; ++c) {
            const Series& s = *series[c - 1];
            HydrGrid->SetText(c, i, i < static_cast<int>(s.size()) ? ShortestText(s[i]) : std::string());
        }
}

void HydrologicalPanel::HydrGridSetEditText(int column, int row, const QString& text) {
    host_.PageState().HydrPasteMode = true;
    if (rules::IsBlock(text.toStdString()) && !Paste(column, row, text)) return;
    host_.SalinitySteps(Steps(), false);
}

bool HydrologicalPanel::Paste(int column, int row, const QString& text) {
    const rules::PastePlan plan = rules::PlanHydrologicalPaste(rules::SplitBlock(text.toStdString()), column, row,
                                                               Steps(), host_.PageState().Comma);
    if (!WritePaste(host_, *HydrGrid, plan)) return false;
    // The panel's rows grow with the block; the data set takes the new
    // number of time steps with the panel's Save.
    HydrGrid->SetRowCount(plan.steps + 1);
    host_.ShowStepCount(plan.steps);
    HydrGrid->NumberRows(plan.steps);
    return true;
}

void HydrologicalPanel::HydrSaveButtonClick() {
    InputPageState& page = host_.PageState();
    ModelInput& input = host_.DataSet();
    const int n = Steps();
    Series rain, irrig, evap;
    const rules::Problem problem = rules::ReadHydrological(HydrGrid->Rows(n + 1, 4), n, rain, irrig, evap, page.Comma);
    if (!problem.Ok()) {
        host_.RefuseCell(problem, *HydrGrid);
        return;
    }
    input.NrTst = input.NrTstHydr = n;
    input.Rain = rain;
    input.Irrig = irrig;
    input.EvapT = evap;
    ResizeHydrologicalSeries(input, n);
    ResizeMeasuredSeries(input, n, -1);
    page.Stored[rules::HydrGroup] = true;
    page.StoredSteps = n;
    host_.Message(page.InputComplete ? "The hydrological data were saved."
                                     : "The hydrological data were saved. Continue with the Soil properties.");
    host_.PanelSaved(rules::Panel::Hydr);
    hide();
    HydrGrid->SetRowCount(n + 1);
    host_.SalinitySteps(n, true);
    host_.ShowGroup(rules::SoilGroup);
}

void HydrologicalPanel::HydrQuitButtonClick() {
    Show();
    hide();
    host_.PanelCancelled(rules::Panel::Hydr);
}

}  // namespace halovane
