// After "Open input": every panel shows the data set that was read.
#include <QComboBox>
#include <QLineEdit>

#include "ConditionsPanel.h"
#include "DrainagePanel.h"
#include "Fields.h"
#include "InputPage.h"
#include "UStringGrid.h"

namespace halovane {

namespace {

QString Shortest(double value) { return QString::fromStdString(ShortestText(value)); }

// A measured value as the file holds it: two decimals, unless the file gave
// more.
std::string MeasuredText(double value) {
    std::string twoDecimals = FormatFixed(value, 0, 2);
    if (StringToFloat(twoDecimals) == value) return twoDecimals;
    return ShortestText(value);
}

}  // namespace

void InputPage::ClearPanels() {
    for (int layers = 1; layers <= 3; ++layers) {
        SoilGrid(layers)->ClearEntries();
        SaltGrid(layers)->ClearEntries();
    }
    HydrGrid->ClearEntries();
    CondPanel->Clear();
    DrainPanel->Clear();
    for (QLineEdit* e : {Tit1Edit, Tit2Edit}) e->clear();
}

void InputPage::ShowDataSet(int layersOnLine8) {
    const ModelInput& in = Input;
    ClearPanels();
    // Every group now holds what the file gave.
    Page.Stored.fill(true);
    Page.StoredSteps = in.NrTst;
    Page.StoredSoilLayers = Page.StoredSaltLayers = in.NrLayers;
    Page.LayersIdx = layersOnLine8 - 1;
    Page.LayerFlags = in.NrLayers;
    Page.SavedDrainChoice = in.DrainPresent ? 1 : 0;
    ShowGeneral();
    LayersCombo->setCurrentIndex(in.NrLayers - 1);
    ShowDrainage();
    ShowConditions();
    HydrGrid->SetCell(0, 0, "Time step");
    for (int layers = 1; layers <= 3; ++layers) SaltGrid(layers)->SetCell(0, 0, "Time step");
    ShowHydrological();
    ShowSalinity(in.NrLayers);
    ShowSoil(in.NrLayers);
}

void InputPage::ShowGeneral() {
    LayersCombo->setCurrentIndex(Page.LayersIdx);
    ModelCombo->setCurrentIndex(static_cast<int>(FieldNamed("model_variant").Get(Input)));
    if (!Page.Stored[rules::GenGroup]) return;
    Tit1Edit->setText(QString::fromStdString(Input.Title1));
    Tit2Edit->setText(QString::fromStdString(Input.Title2));
    NrTstEdit->setText(QString::number(Page.StoredSteps));
    const int tsIndex = StepLengthIndex(Input.Ts);
    if (tsIndex >= 0) TstCombo->setCurrentIndex(tsIndex);
}

void InputPage::ShowHydrological() {
    // A paste may have changed the number of rows: they go back to the
    // time steps stored.
    const int n = Page.StoredSteps;
    NrTstEdit->setText(QString::number(n));
    for (TStringGrid* grid : {HydrGrid, SaltGrid1, SaltGrid2, SaltGrid3}) {
        grid->SetRowCount(n + 1);
        WriteSerialNumbers(*grid, n);
    }
    if (!Page.Stored[rules::HydrGroup]) return;
    const Series* series[3] = {&Input.Rain, &Input.Irrig, &Input.EvapT};
    for (int i = 1; i <= n; ++i)
        for (int c = 1; c <= 3; ++c) {
            const Series& s = *series[c - 1];
            HydrGrid->SetText(c, i, i < static_cast<int>(s.size()) ? ShortestText(s[i]) : std::string());
        }
}

void InputPage::ShowSoil(int layers) {
    if (Page.StoredSoilLayers != layers) return;
    TStringGrid& soil = *SoilGrid(layers);
    int row = 0;
    for (Zone zone : rules::SoilZones(layers)) {
        ModelInput& stored = Input;
        soil.SetCell(0, row, Shortest(stored.D[zone]));
        soil.SetCell(1, row, Shortest(stored.TP[zone]));
        soil.SetCell(2, row, Shortest(stored.EP[zone]));
        soil.SetCell(3, row, Shortest(stored.LE[zone]));
        soil.SetCell(4, row, Shortest(stored.Sini[zone]));
        ++row;
    }
}

void InputPage::ShowSalinity(int layers) {
    if (Page.StoredSaltLayers != layers) return;
    const int n = Input.NrTst;
    TStringGrid& salt = *SaltGrid(layers);
    salt.SetRowCount(n + 1);
    int column = 1;
    for (Zone zone : rules::SalinityZones(layers)) {
        const Series& m = Input.ECsm[zone];
        for (int i = 1; i <= n; ++i) {
            const double v = i < static_cast<int>(m.size()) ? m[i] : -1;
            salt.SetText(column, i, v > 0 ? MeasuredText(v) : std::string());
        }
        ++column;
    }
}

void InputPage::ShowDrainage() { DrainPanel->Show(); }

void InputPage::ShowConditions() { CondPanel->Show(); }

}  // namespace halovane
