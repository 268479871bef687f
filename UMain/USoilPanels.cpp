// The soil properties panels of one, two and three root-zone layers.
#include <QHBoxLayout>
#include <QHeaderView>

#include "UMainForm.h"
#include "UPanelKit.h"
#include "UGridHeadings.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

namespace {

// The zones of each grid row, from the surface down.
Zone RowZone(int layers, int row) {
    if (layers == 1) return row == 0 ? Zone::Layer1 : row == 1 ? Zone::Transition : Zone::Aquifer;
    if (layers == 2) return row < 2 ? static_cast<Zone>(row) : row == 2 ? Zone::Transition : Zone::Aquifer;
    return static_cast<Zone>(row);
}

double& SoilField(ModelInput& in, Zone zone, int column) {
    switch (column) {
        case 0: return Thickness(in, zone);
        case 1: return TotalPorosity(in, zone);
        case 2: return EffectivePorosity(in, zone);
        case 3: return LeachingEfficiency(in, zone);
        default: return InitialSalinity(in, zone);
    }
}

}  // namespace

QFrame* TMainForm::BuildSoilPanel(QWidget* parent, int layers) {
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
    grid->setVerticalHeaderLabels(rows);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->addWidget(grid, 1, 0, 1, -1);
    const auto [save, quit] = SaveCancelRow(g, 2, p, QString("Soil%1").arg(layers));
    if (layers == 1) {
        Soil1Grid = grid, Soil1SaveButton = save, Soil1QuitButton = quit;
        connect(save, &QPushButton::clicked, this, &TMainForm::Soil1SaveButtonClick);
        connect(quit, &QPushButton::clicked, this, &TMainForm::Soil1QuitButtonClick);
    } else if (layers == 2) {
        Soil2Grid = grid, Soil2SaveButton = save, Soil2QuitButton = quit;
        connect(save, &QPushButton::clicked, this, &TMainForm::Soil2SaveButtonClick);
        connect(quit, &QPushButton::clicked, this, &TMainForm::Soil2QuitButtonClick);
    } else {
        Soil3Grid = grid, Soil3SaveButton = save, Soil3QuitButton = quit;
        connect(save, &QPushButton::clicked, this, &TMainForm::Soil3SaveButtonClick);
        connect(quit, &QPushButton::clicked, this, &TMainForm::Soil3QuitButtonClick);
    }
    return p;
}

// Reads the grid column by column into the data set. One and two layers:
// an empty cell makes the save invalid (the leaching efficiency of layer 2
// may stay empty and is then -1). Three layers: an empty cell stores -1.
// Returns false when an empty cell made the save invalid.
bool TMainForm::SaveSoilGrid(int layers) {
    TStringGrid& grid = *SoilGrid(layers);
    bool complete = true;
    for (int c = 0; c <= 4; ++c)
        for (int r = 0; r < layers + 2; ++r) {
            double& field = SoilField(Input, RowZone(layers, r), c);
            const QString text = grid.Cell(c, r);
            if (text.isEmpty()) {
                if (layers == 3 || (layers == 2 && r == 1 && c == 3))
                    field = -1;
                else
                    complete = false;
                continue;
            }
            field = ToFloat(text);
        }
    return complete;
}

void TMainForm::Soil1SaveButtonClick() {
    try {
        if (!SaveSoilGrid(1)) {
            Message("There are invalid values. Please adjust.");
            return;
        }
    } catch (const ConversionError& e) {
        Message(e.what());
        return;
    }
    Message(Page.InputComplete ? "The data on Soil properties were saved."
                               : "The soil data were saved. Continue with the Salinity data ..");
    Soil1Panel->hide();
    RestoreGroups();
    Soil1QuitButton->setEnabled(true);
    Salt1Panel->show();
    SaltOpenButton->setEnabled(true);
}

void TMainForm::Soil2SaveButtonClick() {
    try {
        if (!SaveSoilGrid(2)) {
            Message("There are invalid values. Please adjust.");
            return;
        }
    } catch (const ConversionError& e) {
        Message(e.what());
        return;
    }
    Message(Page.InputComplete ? "The soil data were saved."
                               : "The soil data were saved. Continue with the Salinity data ..");
    if (Page.InputComplete) SaveAllButton->setEnabled(true);
    Soil2Panel->hide();
    RestoreGroups();
    SaltOpenButton->setEnabled(true);
    Soil2QuitButton->setEnabled(true);
    Salt2Panel->show();
    if (!Page.InputComplete) DrainQuitButton->setEnabled(false);
}

void TMainForm::Soil3SaveButtonClick() {
    try {
        SaveSoilGrid(3);
    } catch (const ConversionError& e) {
        Message(e.what());
        return;
    }
    struct Check {
        Zone zone;
        const char* message;
        bool marksIncomplete;
    };
    const Check checks[] = {
        {Zone::Layer1, "The soil data for the 1st layer are not complete. Calculations cannot be done", true},
        {Zone::Layer2, "The soil data for the 2nd layer are not complete. Calculations cannot be done", true},
        {Zone::Layer3, "The soil data for the 3rd layer are not complete. Calculations cannot be done", true},
        {Zone::Transition, "The soil data for the transition zone are not complete. Calculations cannot be done",
         false},
        {Zone::Aquifer, "The soil data for the aquifer are not complete. Calculations cannot be done", true},
    };
    for (const Check& check : checks) {
        if (Thickness(Input, check.zone) == -1 || TotalPorosity(Input, check.zone) == -1 ||
            EffectivePorosity(Input, check.zone) == -1) {
            if (check.marksIncomplete) Page.SoilDataComplete = false;
            Message(check.message);
            return;
        }
    }
    // A complete three-layer soil table makes later runs report again.
    Page.SoilDataComplete = true;
    Message(Page.InputComplete ? "The soil data were saved."
                               : "The soil data were saved. Continue with the soil salinity data.");
    if (Page.InputComplete) SaveAllButton->setEnabled(true);
    Soil3Panel->hide();
    RestoreGroups();
    SaltOpenButton->setEnabled(true);
    Soil3QuitButton->setEnabled(true);
    Salt3Panel->show();
    if (!Page.InputComplete) DrainQuitButton->setEnabled(false);
}

void TMainForm::Soil1QuitButtonClick() {
    Soil1Panel->hide();
    RestoreGroups();
    SoilOpenButton->setEnabled(true);
}

void TMainForm::Soil2QuitButtonClick() {
    Soil2Panel->hide();
    RestoreGroups();
    SoilOpenButton->setEnabled(true);
}

void TMainForm::Soil3QuitButtonClick() {
    Soil3Panel->hide();
    RestoreGroups();
    SoilOpenButton->setEnabled(true);
    Soil1QuitButton->setEnabled(true);
    Soil2QuitButton->setEnabled(true);
    Salt3QuitButton->setEnabled(true);
}

}  // namespace halovane
