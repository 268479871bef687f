// The general data panel: titles, number and length of the time steps and
// the number of root-zone layers. Its Save reshapes the other grids.
#include <QComboBox>
#include <QHBoxLayout>

#include "UMainForm.h"
#include "UPanelKit.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

QFrame* TMainForm::BuildGeneralPanel(QWidget* parent) {
    auto* p = new QFrame(parent);
    p->setObjectName("GenPanel");
    QGridLayout* g = Frame(p, "GenLabel", "General input data");
    g->addWidget(Label("Tit1Label", "Title1", p), 1, 0);
    g->addWidget(Tit1Edit = Edit("Tit1Edit", p), 1, 1, 1, 2);
    g->addWidget(Label("Tit2Label", "Title2", p), 2, 0);
    g->addWidget(Tit2Edit = Edit("Tit2Edit", p), 2, 1, 1, 2);
    g->addWidget(Label("TitLabel", "The titles are shown in output and graphs", p), 3, 1, 1, 2);
    g->addWidget(Label("NrLabel", "Number of timesteps", p), 4, 0);
    g->addWidget(NrTstEdit = Edit("NrTstEdit", p), 4, 1);
    g->addWidget(Label("TstComboLabel", "Length of time steps", p), 5, 0);
    TstCombo = new QComboBox(p);
    TstCombo->setObjectName("TstCombo");
    TstCombo->addItems({"Year", "Month", "Week", "Day"});
    g->addWidget(TstCombo, 5, 1);
    g->addWidget(Label("LayersLabel", "Nr. of layers in root zone", p), 6, 0);
    LayersCombo = new QComboBox(p);
    LayersCombo->setObjectName("LayersCombo");
    LayersCombo->addItems({"1", "2", "3"});
    g->addWidget(LayersCombo, 6, 1);
    const SaveCancel buttons = SaveCancelRow(g, 7, p, "Gen");
    GenSaveButton = buttons.save, GenQuitButton = buttons.quit;
    g->setColumnStretch(2, 1);
    connect(GenSaveButton, &QPushButton::clicked, this, &TMainForm::GenSaveButtonClick);
    connect(GenQuitButton, &QPushButton::clicked, this, &TMainForm::GenQuitButtonClick);
    return p;
}

namespace {

// Source row of the old soil grid for each row of the new one (-1: keep),
// and the last column copied into layer 1 (3 leaves its initial salinity).
struct SoilCopy {
    int rows[5];
    int layer1Columns;
};

SoilCopy SoilCarryOver(int oldLayers, int newLayers) {
    // Rows: one layer: root, transition, aquifer; two: l1, l2, t, a; three: l1, l2, l3, t, a.
    if (oldLayers == 1 && newLayers == 2) return {{0, 0, 1, 2, -1}, 4};
    if (oldLayers == 1 && newLayers == 3) return {{0, 0, 0, 1, 2}, 3};
    if (oldLayers == 2 && newLayers == 1) return {{0, 2, 3, -1, -1}, 4};
    if (oldLayers == 2 && newLayers == 3) return {{0, 0, 1, 2, 3}, 3};
    if (oldLayers == 3 && newLayers == 1) return {{0, 3, 4, -1, -1}, 4};
    return {{0, 1, 3, 4, -1}, 4};  // 3 -> 2
}

// Source column of the old salinity grid for each column of the new one.
void SaltCarryOver(int oldLayers, int newLayers, int source[6]) {
    const int table[6][6] = {
        {0, 1, 1, 2, 3, -1},  // 1 -> 2
        {0, 1, 1, 1, 2, 3},   // 1 -> 3
        {0, 1, 3, 4, -1, -1}, // 2 -> 1
        {0, 1, 1, 2, 3, 4},   // 2 -> 3
        {0, 1, 4, 5, -1, -1}, // 3 -> 1
        {0, 1, 2, 4, 5, -1},  // 3 -> 2
    };
    const int k = oldLayers == 1 ? (newLayers == 2 ? 0 : 1) : oldLayers == 2 ? (newLayers == 1 ? 2 : 3)
                                                                              : (newLayers == 1 ? 4 : 5);
    for (int c = 0; c < 6; ++c) source[c] = table[k][c];
}

}  // namespace

void TMainForm::GenSaveButtonClick() {
    Input.Title1 = Tit1Edit->text().toStdString();
    Input.Title2 = Tit2Edit->text().toStdString();
    int n = 0;
    if (!TryParseInteger(NrTstEdit->text().toStdString(), n) ||
        NrTstEdit->text().trimmed().contains(' ')) {
        Message("'" + NrTstEdit->text() + "' is not a valid integer value");
        return;
    }
    if (n < 1) {
        Message("The number of time steps must be at least 1.");
        return;
    }
    Input.NrTst = n;
    Input.NrTstHydr = n;
    Input.Ts = StepLengths[TstCombo->currentIndex()];
    const int oldIdx = Page.LayersIdx, newIdx = LayersCombo->currentIndex();
    Page.LayerFlags = newIdx + 1;
    Input.NrLayers = newIdx + 1;

    if (oldIdx != newIdx) {
        const int oldLayers = oldIdx + 1, newLayers = newIdx + 1;
        TStringGrid& from = *SoilGrid(oldLayers);
        TStringGrid& to = *SoilGrid(newLayers);
        const SoilCopy copy = SoilCarryOver(oldLayers, newLayers);
        for (int r = 0; r < 5; ++r) {
            if (copy.rows[r] < 0) continue;
            const int lastColumn = r == 0 ? copy.layer1Columns : 4;
            for (int c = 0; c <= lastColumn; ++c) to.SetCell(c, r, from.Cell(c, copy.rows[r]));
        }
        if (newIdx > oldIdx)
            Message("The number of layers was increased and data must be added. Please check and save each data "
                    "group before using \"Save All\"");
        else
            Message("The number of layers was reduced. Please check and save each data group before using \"Save "
                    "All\"");
        Page.InputComplete = false;
    }
    if (!Page.InputComplete)
        for (int k = 0; k < 10; ++k) AllQuitButtons(k)->setEnabled(false);
    if (oldIdx != newIdx) {
        const int oldLayers = oldIdx + 1, newLayers = newIdx + 1;
        TStringGrid& from = *SaltGrid(oldLayers);
        TStringGrid& to = *SaltGrid(newLayers);
        to.SetRowCount(n + 1);
        if (oldLayers == 3 && newLayers == 1) to.SetColCount(4);
        int source[6];
        SaltCarryOver(oldLayers, newLayers, source);
        for (int r = 1; r <= n; ++r)
            for (int c = 1; c < 6; ++c)
                if (source[c] > 0) to.SetCell(c, r, from.Cell(source[c], r));
    }
    for (TStringGrid* grid : {HydrGrid, SaltGrid1, SaltGrid2, SaltGrid3}) {
        grid->SetRowCount(n + 1);
        WriteSerialNumbers(*grid, n);
    }
    Message(Page.InputComplete ? "The general data were saved."
                               : "The general data were saved. Continue with the hydrological data.");
    Page.LayersIdx = newIdx;
    GenPanel->hide();
    RestoreGroups();
    GenQuitButton->setEnabled(true);
    HydrOpenButton->setEnabled(true);
    HydrPanel->show();
}

void TMainForm::GenQuitButtonClick() {
    LayersCombo->setCurrentIndex(Page.LayersIdx);
    GenPanel->hide();
    RestoreGroups();
    GenOpenButton->setEnabled(true);
}

}  // namespace halovane
