#include "GeneralPanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "Fields.h"
#include "InputPage.h"
#include "PanelHost.h"
#include "UPanelKit.h"

namespace halovane {

using namespace panel;

GeneralPanel::GeneralPanel(PanelHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    QFrame* p = this;
    setObjectName("GenPanel");
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
    connect(GenSaveButton, &QPushButton::clicked, this, &GeneralPanel::GenSaveButtonClick);
    connect(GenQuitButton, &QPushButton::clicked, this, &GeneralPanel::GenQuitButtonClick);
}

void GeneralPanel::Show() {
    const InputPageState& page = host_.PageState();
    const ModelInput& in = host_.DataSet();
    LayersCombo->setCurrentIndex(page.LayersIdx);
    ModelCombo->setCurrentIndex(static_cast<int>(FieldNamed("model_variant").Get(in)));
    if (!page.Stored[rules::GenGroup]) return;
    Tit1Edit->setText(QString::fromStdString(in.Title1));
    Tit2Edit->setText(QString::fromStdString(in.Title2));
    ShowStepCount(page.StoredSteps);
    const int tsIndex = StepLengthIndex(in.Ts);
    if (tsIndex >= 0) TstCombo->setCurrentIndex(tsIndex);
}

void GeneralPanel::Clear() {
    for (QLineEdit* e : {Tit1Edit, Tit2Edit}) e->clear();
}

void GeneralPanel::Reset(int steps) {
    ShowStepCount(steps);
    TstCombo->setCurrentIndex(1);
    ShowLayers(1);
}

void GeneralPanel::ShowStepCount(int steps) { NrTstEdit->setText(QString::number(steps)); }

void GeneralPanel::ShowLayers(int layers) { LayersCombo->setCurrentIndex(layers - 1); }

void GeneralPanel::GenSaveButtonClick() {
    InputPageState& page = host_.PageState();
    ModelInput& input = host_.DataSet();
    int n = 0;
    const rules::Problem count = rules::ReadStepCount(NrTstEdit->text().toStdString(), n);
    if (!count.Ok()) {
        host_.Refuse(count, NrTstEdit);
        return;
    }
    input.Title1 = Tit1Edit->text().toStdString();
    input.Title2 = Tit2Edit->text().toStdString();
    input.NrTst = n;
    input.NrTstHydr = n;
    DropStepsAfter(input, n);
    input.Ts = StepLengths[TstCombo->currentIndex()];
    const int oldIdx = page.LayersIdx, newIdx = LayersCombo->currentIndex();
    page.LayerFlags = newIdx + 1;
    input.NrLayers = newIdx + 1;
    FieldNamed("model_variant").Set(input, ModelCombo->currentIndex());

    if (oldIdx != newIdx) {
        // The soil and salinity entries of the old layer count go to the
        // panels of the new one, for the user to check and complete.
        host_.CarryLayersOver(oldIdx + 1, newIdx + 1, n);
        if (newIdx > oldIdx)
            host_.Message("The number of layers was increased and data must be added. Please check and save each "
                          "data group before using \"Save All\"");
        else
            host_.Message("The number of layers was reduced. Please check and save each data group before using "
                          "\"Save All\"");
        page.InputComplete = false;
    }
    host_.GridSteps(n);
    page.Stored[rules::GenGroup] = true;
    page.StoredSteps = n;
    host_.Message(page.InputComplete ? "The general data were saved."
                                     : "The general data were saved. Continue with the hydrological data.");
    page.LayersIdx = newIdx;
    hide();
    host_.PanelSaved(rules::Panel::Gen);
    host_.ShowGroup(rules::HydrGroup);
}

void GeneralPanel::GenQuitButtonClick() {
    Show();
    hide();
    host_.PanelCancelled(rules::Panel::Gen);
}

}  // namespace halovane
