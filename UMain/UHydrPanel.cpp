// The hydrological data panel and the paste of a block of cells copied from
// a spreadsheet, shared with the salinity grids.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>

#include "InputPage.h"
#include "UPanelKit.h"
#include "UGridHeadings.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

QFrame* InputPage::BuildHydrPanel(QWidget* parent) {
    auto* p = new QFrame(parent);
    p->setObjectName("HydrPanel");
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
    connect(HydrSaveButton, &QPushButton::clicked, this, &InputPage::HydrSaveButtonClick);
    connect(HydrQuitButton, &QPushButton::clicked, this, &InputPage::HydrQuitButtonClick);
    return p;
}

void InputPage::WriteSerialNumbers(TStringGrid& grid, int count) { grid.NumberRows(count); }

void InputPage::HydrGridSetEditText(int column, int row, const QString& text) {
    Page.HydrPasteMode = true;
    if (rules::IsBlock(text.toStdString()) && !HandlePasteMultiCell(*HydrGrid, column, row, text)) return;
    for (int layers = 1; layers <= 3; ++layers) WriteSerialNumbers(*SaltGrid(layers), StepsOnScreen());
}

int InputPage::StepsOnScreen() const { return HydrGrid->RowCount() - 1; }

bool InputPage::HandlePasteMultiCell(TStringGrid& grid, int startColumn, int startRow, const QString& text) {
    const rules::Block block = rules::SplitBlock(text.toStdString());
    int soilLayers = 0;
    for (int layers = 1; layers <= 3; ++layers)
        if (&grid == SoilGrid(layers)) soilLayers = layers;
    const bool hydrological = &grid == HydrGrid;
    const int layers = Page.LayerFlags;
    const rules::PastePlan plan =
        soilLayers ? rules::PlanSoilPaste(block, startColumn, startRow, soilLayers, Page.Comma)
        : hydrological
            ? rules::PlanHydrologicalPaste(block, startColumn, startRow, StepsOnScreen(), Page.Comma)
            : rules::PlanSalinityPaste(block, startColumn, startRow, layers, StepsOnScreen(), Page.Comma);
    if (!plan.problem.Ok()) {
        // Nothing of the block is written until it is corrected.
        RefuseCell(plan.problem, grid);
        return false;
    }
    // Rows the paste adds start empty.
    for (int r = plan.firstNewRow; r <= plan.steps; ++r)
        for (int c = 1; c < grid.ColCount(); ++c) grid.SetText(c, r, std::string());
    for (const rules::PastePlan::Write& w : plan.writes) grid.SetText(w.column, w.row, w.text);
    if (soilLayers) return true;
    if (hydrological) {
        // The panel's rows grow with the block; the data set takes the new
        // number of time steps with the panel's Save.
        grid.SetRowCount(plan.steps + 1);
        NrTstEdit->setText(QString::number(plan.steps));
        WriteSerialNumbers(grid, plan.steps);
        return true;
    }
    if (plan.larger)
        Warn("The number of time steps is larger than that given under Hydrological data. It will be "
                            "reduced.");
    if (plan.smaller)
        Warn("The number of time steps is smaller than that given under Hydrological data. Missing "
                            "data must be added");
    grid.SetRowCount(StepsOnScreen() + 1);
    WriteSerialNumbers(grid, StepsOnScreen());
    return true;
}

void InputPage::HydrSaveButtonClick() {
    const int n = StepsOnScreen();
    Series rain, irrig, evap;
    const rules::Problem problem = rules::ReadHydrological(CellsOf(*HydrGrid, n + 1, 4), n, rain, irrig, evap, Page.Comma);
    if (!problem.Ok()) {
        RefuseCell(problem, *HydrGrid);
        return;
    }
    Input.NrTst = Input.NrTstHydr = n;
    Input.Rain = rain;
    Input.Irrig = irrig;
    Input.EvapT = evap;
    ResizeHydrologicalSeries(Input, n);
    ResizeMeasuredSeries(Input, n, -1);
    Page.Stored[rules::HydrGroup] = true;
    Page.StoredSteps = n;
    Message(Page.InputComplete ? "The hydrological data were saved."
                               : "The hydrological data were saved. Continue with the Soil properties.");
    UpdateButtons(rules::PageEvent::Saved, rules::Panel::Hydr);
    HidePanels();
    for (TStringGrid* grid : {HydrGrid, SaltGrid1, SaltGrid2, SaltGrid3}) grid->SetRowCount(n + 1);
    SoilPanel(Page.LayerFlags)->show();
    for (int layers = 1; layers <= 3; ++layers) WriteSerialNumbers(*SaltGrid(layers), n);
}

void InputPage::HydrQuitButtonClick() {
    ShowHydrological();
    HydrPanel->hide();
    UpdateButtons(rules::PageEvent::Cancelled, rules::Panel::Hydr);
}

}  // namespace halovane
