// The general data panel: titles, number and length of the time steps and
// the number of root-zone layers. Its Save reshapes the other grids.
#include <QComboBox>
#include <QHBoxLayout>

#include "Fields.h"
#include "HydrologicalPanel.h"
#include "InputPage.h"
#include "SalinityPanel.h"
#include "SoilTablePanel.h"
#include "UPanelKit.h"

namespace halovane {

using namespace panel;

QFrame* InputPage::BuildGeneralPanel(QWidget* parent) {
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
    const Field& model = FieldNamed("model_variant");
    g->addWidget(Label("ModelLabel", QString::fromStdString(model.caption), p), 7, 0);
    ModelCombo = new QComboBox(p);
    ModelCombo->setObjectName("ModelCombo");
    for (const FieldChoice& choice : model.choices) ModelCombo->addItem(QString::fromStdString(choice.caption));
    g->addWidget(ModelCombo, 7, 1);
    const SaveCancel buttons = SaveCancelRow(g, 8, p, "Gen");
    GenSaveButton = buttons.save, GenQuitButton = buttons.quit;
    g->setColumnStretch(2, 1);
    connect(GenSaveButton, &QPushButton::clicked, this, &InputPage::GenSaveButtonClick);
    connect(GenQuitButton, &QPushButton::clicked, this, &InputPage::GenQuitButtonClick);
    return p;
}

void InputPage::GenSaveButtonClick() {
    int n = 0;
    const rules::Problem count = rules::ReadStepCount(NrTstEdit->text().toStdString(), n);
    if (!count.Ok()) {
        Refuse(count, NrTstEdit);
        return;
    }
    Input.Title1 = Tit1Edit->text().toStdString();
    Input.Title2 = Tit2Edit->text().toStdString();
    Input.NrTst = n;
    Input.NrTstHydr = n;
    DropStepsAfter(Input, n);
    Input.Ts = StepLengths[TstCombo->currentIndex()];
    const int oldIdx = Page.LayersIdx, newIdx = LayersCombo->currentIndex();
    Page.LayerFlags = newIdx + 1;
    Input.NrLayers = newIdx + 1;
    FieldNamed("model_variant").Set(Input, ModelCombo->currentIndex());

    const int oldLayers = oldIdx + 1, newLayers = newIdx + 1;
    if (oldIdx != newIdx) {
        // The soil entries of the old layer count go to the grid of the new
        // one, for the user to check and complete.
        SoilPanel(newLayers)->TakeEntriesOf(*SoilPanel(oldLayers));
        if (newIdx > oldIdx)
            Message("The number of layers was increased and data must be added. Please check and save each data "
                    "group before using \"Save All\"");
        else
            Message("The number of layers was reduced. Please check and save each data group before using \"Save "
                    "All\"");
        Page.InputComplete = false;

        SaltPanel(newLayers)->TakeEntriesOf(*SaltPanel(oldLayers), n);
    }
    HydrPanel->SetSteps(n);
    SalinitySteps(n, true);
    Page.Stored[rules::GenGroup] = true;
    Page.StoredSteps = n;
    Message(Page.InputComplete ? "The general data were saved."
                               : "The general data were saved. Continue with the hydrological data.");
    Page.LayersIdx = newIdx;
    GenPanel->hide();
    UpdateButtons(rules::PageEvent::Saved, rules::Panel::Gen);
    HydrPanel->show();
}

void InputPage::GenQuitButtonClick() {
    ShowGeneral();
    GenPanel->hide();
    UpdateButtons(rules::PageEvent::Cancelled, rules::Panel::Gen);
}

}  // namespace halovane
