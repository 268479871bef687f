// The drainage panel, the group before the initial and boundary conditions
// (ConditionsPanel), the last group of the first pass.
#include <QComboBox>
#include <QHBoxLayout>

#include "ConditionsPanel.h"
#include "DrainDesignBox.h"
#include "InputPage.h"
#include "UPanelKit.h"

namespace halovane {

using namespace panel;

QFrame* InputPage::BuildDrainPanel(QWidget* parent) {
    auto* p = new QFrame(parent);
    p->setObjectName("DrainPanel");
    QGridLayout* g = Frame(p, "DrainLabel", "Properties of the subsurface drainage system");
    g->addWidget(Label("DrainPresentLabel", "Subsurface drainage system present?", p), 1, 0);
    DrainPresentCombo = new QComboBox(p);
    DrainPresentCombo->setObjectName("DrainPresentCombo");
    DrainPresentCombo->addItems({"no", "yes"});
    g->addWidget(DrainPresentCombo, 1, 1);
    g->addWidget(DrainDepthLabel = Label("DrainDepthLabel", "Drainage depth (m)", p), 2, 0);
    g->addWidget(DrainDepthEdit = Edit("DrainDepthEdit", p), 2, 1);
    g->addWidget(DrainQH1Label = Label("DrainQH1Label", "Drainage reaction factor QH1 (m/day/m)", p), 3, 0);
    g->addWidget(DrainQH1Edit = Edit("DrainQH1Edit", p), 3, 1);
    g->addWidget(DrainQH2Label = Label("DrainQH2Label", "Drainage reaction factor QH2 (m/day/msq)", p), 4, 0);
    g->addWidget(DrainQH2Edit = Edit("DrainQH2Edit", p), 4, 1);
    for (QWidget* w : std::initializer_list<QWidget*>{DrainDepthLabel, DrainQH1Label, DrainQH2Label, DrainDepthEdit,
                                                      DrainQH1Edit, DrainQH2Edit})
        w->setEnabled(false);
    DrainHelpButton = Button("DrainHelpButton", "Help", p);
    g->addWidget(new DrainDesignBox({DrainPresentCombo, DrainDepthEdit, DrainQH1Edit, DrainQH2Edit}, p), 5, 0, 1, 3);
    const SaveCancel buttons = SaveCancelRow(g, 6, p, "Drain", DrainHelpButton);
    DrainSaveButton = buttons.save, DrainQuitButton = buttons.quit;
    g->setColumnStretch(2, 1);
    connect(DrainPresentCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int) { DrainPresentComboChange(); });
    connect(DrainHelpButton, &QPushButton::clicked, this, &InputPage::DrainHelpButtonClick);
    connect(DrainSaveButton, &QPushButton::clicked, this, &InputPage::DrainSaveButtonClick);
    connect(DrainQuitButton, &QPushButton::clicked, this, &InputPage::DrainQuitButtonClick);
    return p;
}

// The choice opens or closes the boxes; the data set takes it with the Save.
void InputPage::DrainPresentComboChange() {
    const bool present = DrainPresentCombo->currentIndex() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{DrainDepthLabel, DrainQH1Label, DrainQH2Label, DrainDepthEdit,
                                                      DrainQH1Edit, DrainQH2Edit})
        w->setEnabled(present);
}

void InputPage::DrainHelpButtonClick() {
    if (drainForm_) {
        drainForm_->show();
        drainForm_->raise();
    }
}

void InputPage::DrainSaveButtonClick() {
    Page.LayerFlags = Page.LayerFlags < 1 || Page.LayerFlags > 3 ? Input.NrLayers : Page.LayerFlags;
    ModelInput layers = Input;
    layers.NrLayers = Page.LayerFlags;
    const double Dr = RootZoneThickness(layers);
    const bool present = DrainPresentCombo->currentIndex() == 1;
    if (present) {
        QLineEdit* const boxes[3] = {DrainDepthEdit, DrainQH1Edit, DrainQH2Edit};
        rules::Drainage drainage;
        const rules::Problem problem =
            rules::ReadDrainage({DrainDepthEdit->text().toStdString(), DrainQH1Edit->text().toStdString(),
                                 DrainQH2Edit->text().toStdString()},
                                Dr, Input.D[Zt], drainage, Page.Comma);
        if (!problem.Ok()) {
            if (problem.message == rules::DrainAboveRootZone || problem.message == rules::DrainBelowTransition)
                UpdateButtons(rules::PageEvent::DrainRefused, rules::Panel::Drain);
            Refuse(problem, boxes[problem.column]);
            return;
        }
        ModelInput candidate = Input;
        candidate.NrLayers = Page.LayerFlags;
        candidate.DrainPresent = true;
        candidate.Dd = drainage.Dd;
        candidate.QH1 = drainage.QH1;
        candidate.QH2 = drainage.QH2;
        const rules::Problem joint = rules::GroupProblem(candidate, FieldGroup::Drainage);
        if (!joint.Ok()) {
            Refuse(joint, DrainDepthEdit);
            return;
        }
        Input.Dd = drainage.Dd;
        Input.QH1 = drainage.QH1;
        Input.QH2 = drainage.QH2;
    }
    Input.DrainPresent = present;
    Page.Stored[rules::DrainGroup] = true;
    Message(Page.InputComplete ? "The data on the Subsurface Drainage System were saved."
                               : "The data on the subsurface drainage system were saved. Continue with the data on "
                                 "the Initial Conditions.");
    UpdateButtons(rules::PageEvent::Saved, rules::Panel::Drain);
    DrainPanel->hide();
    CondPanel->show();
    Page.SavedDrainChoice = DrainPresentCombo->currentIndex();
    if (drainForm_) drainForm_->hide();
}

void InputPage::DrainQuitButtonClick() {
    DrainPanel->hide();
    UpdateButtons(rules::PageEvent::Cancelled, rules::Panel::Drain);
    ShowDrainage();
    if (drainForm_) drainForm_->hide();
}

}  // namespace halovane
