// The soil properties panels of one, two and three root-zone layers.
#include <QHBoxLayout>
#include <QHeaderView>

#include "InputPage.h"
#include "UPanelKit.h"
#include "UGridHeadings.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

QFrame* InputPage::BuildSoilPanel(QWidget* parent, int layers) {
    auto* p = new QFrame(parent);
    p->setObjectName(QString("Soil%1Panel").arg(layers));
    QGridLayout* g = Frame(p, "SoilLabel", "Soil properties");
    auto* grid = new TStringGrid(5, layers + 2, 0, 0, p);
    grid->setObjectName(QString("Soil%1Grid").arg(layers));
    // Long headings take two or three lines rather than being cut.
    ShowColumnHeadings(*grid, {"Thickness (m)", "Total porosity (%)", "Effective (drainable) porosity (%)",
                               "Leaching efficiency (%)", "Initial salinity (dS/m)"});
    QStringList rows;
    if (layers == 1) rows << "Root zone";
    if (layers >= 2) rows << "Root zone: 1st layer" << "2nd layer";
    if (layers == 3) rows << "3rd layer";
    rows << "Transition zone" << "Aquifer";
    grid->SetRowHeadings(rows);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->onPaste = [this, grid](int c, int r, const QString& t) { HandlePasteMultiCell(*grid, c, r, PastedLineEnds(t)); };
    g->addWidget(grid, 1, 0, 1, -1);
    const auto [save, quit] = SaveCancelRow(g, 2, p, QString("Soil%1").arg(layers));
    if (layers == 1) {
        Soil1Grid = grid, Soil1SaveButton = save, Soil1QuitButton = quit;
        connect(save, &QPushButton::clicked, this, &InputPage::Soil1SaveButtonClick);
        connect(quit, &QPushButton::clicked, this, &InputPage::Soil1QuitButtonClick);
    } else if (layers == 2) {
        Soil2Grid = grid, Soil2SaveButton = save, Soil2QuitButton = quit;
        connect(save, &QPushButton::clicked, this, &InputPage::Soil2SaveButtonClick);
        connect(quit, &QPushButton::clicked, this, &InputPage::Soil2QuitButtonClick);
    } else {
        Soil3Grid = grid, Soil3SaveButton = save, Soil3QuitButton = quit;
        connect(save, &QPushButton::clicked, this, &InputPage::Soil3SaveButtonClick);
        connect(quit, &QPushButton::clicked, this, &InputPage::Soil3QuitButtonClick);
    }
    return p;
}

// Reads the grid into the data set when every zone is complete and
// physical; otherwise refuses at the offending cell and stores nothing.
void InputPage::SaveSoilGrid(int layers) {
    TStringGrid& grid = *SoilGrid(layers);
    std::vector<std::array<double, 5>> table;
    const rules::Problem problem = rules::ReadSoil(CellsOf(grid, layers + 2, 5), layers, table, Page.Comma);
    if (!problem.Ok()) {
        RefuseCell(problem, grid);
        return;
    }
    rules::StoreSoil(Input, layers, table);
    Page.Stored[rules::SoilGroup] = true;
    Page.StoredSoilLayers = layers;
    if (layers == 1)
        Message(Page.InputComplete ? "The data on Soil properties were saved."
                                   : "The soil data were saved. Continue with the Salinity data ..");
    else if (layers == 2)
        Message(Page.InputComplete ? "The soil data were saved."
                                   : "The soil data were saved. Continue with the Salinity data ..");
    else
        Message(Page.InputComplete ? "The soil data were saved."
                                   : "The soil data were saved. Continue with the soil salinity data.");
    SoilPanel(layers)->hide();
    UpdateButtons(rules::PageEvent::Saved, layers == 1   ? rules::Panel::Soil1
                                           : layers == 2 ? rules::Panel::Soil2
                                                         : rules::Panel::Soil3);
    SaltPanel(layers)->show();
}

void InputPage::Soil1SaveButtonClick() { SaveSoilGrid(1); }
void InputPage::Soil2SaveButtonClick() { SaveSoilGrid(2); }
void InputPage::Soil3SaveButtonClick() { SaveSoilGrid(3); }

void InputPage::Soil1QuitButtonClick() {
    ShowSoil(1);
    Soil1Panel->hide();
    UpdateButtons(rules::PageEvent::Cancelled, rules::Panel::Soil1);
}

void InputPage::Soil2QuitButtonClick() {
    ShowSoil(2);
    Soil2Panel->hide();
    UpdateButtons(rules::PageEvent::Cancelled, rules::Panel::Soil2);
}

void InputPage::Soil3QuitButtonClick() {
    ShowSoil(3);
    Soil3Panel->hide();
    UpdateButtons(rules::PageEvent::Cancelled, rules::Panel::Soil3);
}

}  // namespace halovane
