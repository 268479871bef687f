// After "Open input": every panel shows the data set that was read.
#include "ConditionsPanel.h"
#include "DrainagePanel.h"
#include "GeneralPanel.h"
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
    GenPanel->Clear();
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
    GenPanel->ShowLayers(in.NrLayers);
    ShowDrainage();
    ShowConditions();
    HydrPanel->SetCorner("Time step");
    for (SalinityPanel* salt : SaltPanels) salt->SetCorner("Time step");
    ShowHydrological();
    SaltPanel(in.NrLayers)->Show();
    SoilPanel(in.NrLayers)->Show();
}

void InputPage::ShowStoredValues() {
    ShowGeneral();
    ShowDrainage();
    ShowConditions();
    ShowHydrological();
    SaltPanel(Input.NrLayers)->Show();
    SoilPanel(Input.NrLayers)->Show();
}

void InputPage::ShowGeneral() { GenPanel->Show(); }

void InputPage::ShowHydrological() { HydrPanel->Show(); }

void InputPage::ShowDrainage() { DrainPanel->Show(); }

void InputPage::ShowConditions() { CondPanel->Show(); }

}  // namespace halovane
