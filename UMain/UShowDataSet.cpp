// After "Open input": every panel shows the data set that was read.
#include <QComboBox>
#include <QLineEdit>

#include "UMainForm.h"
#include "UStringGrid.h"

namespace halovane {

namespace {

QString Shortest(double value) { return QString::fromStdString(ShortestText(value)); }

// A measured value as the file holds it: two decimals, unless the file gave
// more.
QString MeasuredText(double value) {
    const std::string twoDecimals = FormatFixed(value, 0, 2);
    if (StringToFloat(twoDecimals) == value) return QString::fromStdString(twoDecimals);
    return Shortest(value);
}

}  // namespace

void TMainForm::ShowDataSet(int layersOnLine8) {
    const ModelInput& in = Input;
    const int n = in.NrTst;
    Tit1Edit->setText(QString::fromStdString(in.Title1));
    Tit2Edit->setText(QString::fromStdString(in.Title2));
    NrTstEdit->setText(QString::number(n));
    const int tsIndex = StepLengthIndex(in.Ts);
    if (tsIndex >= 0) TstCombo->setCurrentIndex(tsIndex);
    Page.LayersIdx = layersOnLine8 - 1;
    Page.LayerFlags = in.NrLayers;
    LayersCombo->setCurrentIndex(in.NrLayers - 1);

    DrainPresentCombo->setCurrentIndex(in.DrainPresent ? 1 : 0);
    Page.SavedDrainChoice = in.DrainPresent ? 1 : 0;
    DrainPresentComboChange();
    if (in.DrainPresent) {
        DrainDepthEdit->setText(Shortest(in.Dd));
        DrainQH1Edit->setText(Shortest(in.QH1));
        DrainQH2Edit->setText(Shortest(in.QH2));
    } else {
        for (QLineEdit* e : {DrainDepthEdit, DrainQH1Edit, DrainQH2Edit}) e->setText(" ");
    }

    SaltIrrigEdit->setText(Shortest(in.Si));
    WTdepthEdit->setText(Shortest(in.Dwtini));
    GrwtInfEdit->setText(Shortest(in.Inf));
    GrwtOutEdit->setText(Shortest(in.Out));
    CritDepthEdit->setText(Shortest(in.CDc));
    IrrEffEdit->setText(Shortest(in.IrrEff));
    MoistEdit->setText(Shortest(in.SMini));
    SalInfEdit->setText(Shortest(in.Sinf));

    HydrGrid->SetCell(0, 0, "Time step");
    HydrGrid->SetRowCount(n + 1);
    WriteSerialNumbers(*HydrGrid, n);
    for (int i = 1; i <= n; ++i) {
        HydrGrid->SetCell(1, i, Shortest(in.Rain[i]));
        HydrGrid->SetCell(2, i, Shortest(in.Irrig[i]));
        HydrGrid->SetCell(3, i, Shortest(in.EvapT[i]));
    }

    for (int layers = 1; layers <= 3; ++layers) {
        TStringGrid& grid = *SaltGrid(layers);
        grid.SetCell(0, 0, "Time step");
        WriteSerialNumbers(grid, n);
    }
    TStringGrid& salt = *SaltGrid(in.NrLayers);
    salt.SetRowCount(n + 1);
    int column = 1;
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        if (!ZoneInUse(in.NrLayers, zone)) continue;
        const Series& m = Measured(in, zone);
        for (int i = 1; i <= n; ++i) salt.SetCell(column, i, m[i] > 0 ? MeasuredText(m[i]) : QString());
        ++column;
    }

    TStringGrid& soil = *SoilGrid(in.NrLayers);
    int row = 0;
    for (int z = 0; z < ZoneCount; ++z) {
        const Zone zone = static_cast<Zone>(z);
        if (!ZoneInUse(in.NrLayers, zone)) continue;
        ModelInput& data = Input;
        soil.SetCell(0, row, Shortest(Thickness(data, zone)));
        soil.SetCell(1, row, Shortest(TotalPorosity(data, zone)));
        soil.SetCell(2, row, Shortest(EffectivePorosity(data, zone)));
        soil.SetCell(3, row, Shortest(LeachingEfficiency(data, zone)));
        soil.SetCell(4, row, Shortest(InitialSalinity(data, zone)));
        ++row;
    }
}

}  // namespace halovane
