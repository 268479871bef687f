// After "Open input": every panel shows the data set that was read.
#include <QComboBox>
#include <QLineEdit>

#include "ConditionsPanel.h"
#include "DrainagePanel.h"
#include "Fields.h"
#include "HydrologicalPanel.h"
#include "InputPage.h"
#include "SalinityPanel.h"
#include "SoilTablePanel.h"

namespace halovane {

void InputPage::ClearPanels() {
    for (SoilTablePanel* soil : SoilPanels) soil->Clear();
    for (SalinityPanel* salt : SaltPanels) salt->Clear();
    HydrPanel->Clear();
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
    HydrPanel->SetCorner("Time step");
    for (SalinityPanel* salt : SaltPanels) salt->SetCorner("Time step");
    ShowHydrological();
    SaltPanel(in.NrLayers)->Show();
    SoilPanel(in.NrLayers)->Show();
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

void InputPage::ShowHydrological() { HydrPanel->Show(); }

void InputPage::ShowDrainage() { DrainPanel->Show(); }

void InputPage::ShowConditions() { CondPanel->Show(); }

}  // namespace halovane
