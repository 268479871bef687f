#include "DrainagePanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DrainDesignBox.h"
#include "InputPage.h"
#include "PanelHost.h"
#include "UPanelKit.h"

namespace halovane {

using namespace panel;

DrainagePanel::DrainagePanel(PanelHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    QFrame* p = this;
    setObjectName("DrainPanel");
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
    connect(DrainHelpButton, &QPushButton::clicked, this, &DrainagePanel::DrainHelpButtonClick);
    connect(DrainSaveButton, &QPushButton::clicked, this, &DrainagePanel::DrainSaveButtonClick);
    connect(DrainQuitButton, &QPushButton::clicked, this, &DrainagePanel::DrainQuitButtonClick);
}

void DrainagePanel::Show() {
    const InputPageState& page = host_.PageState();
    const ModelInput& in = host_.DataSet();
    DrainPresentCombo->setCurrentIndex(page.SavedDrainChoice);
    DrainPresentComboChange();
    if (!page.Stored[rules::DrainGroup]) return;
    if (in.DrainPresent) {
        DrainDepthEdit->setText(QString::fromStdString(ShortestText(in.Dd)));
        DrainQH1Edit->setText(QString::fromStdString(ShortestText(in.QH1)));
        DrainQH2Edit->setText(QString::fromStdString(ShortestText(in.QH2)));
    } else {
        Clear();
    }
}

void DrainagePanel::Clear() {
    for (QLineEdit* e : {DrainDepthEdit, DrainQH1Edit, DrainQH2Edit}) e->clear();
}

void DrainagePanel::DrainPresentComboChange() {
    const bool present = DrainPresentCombo->currentIndex() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{DrainDepthLabel, DrainQH1Label, DrainQH2Label, DrainDepthEdit,
                                                      DrainQH1Edit, DrainQH2Edit})
        w->setEnabled(present);
}

void DrainagePanel::DrainHelpButtonClick() {
    if (drainForm_) {
        drainForm_->show();
        drainForm_->raise();
    }
}

void DrainagePanel::DrainSaveButtonClick() {
    InputPageState& Page = host_.PageState();
    ModelInput& Input = host_.DataSet();
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
                host_.DrainDepthRefused();
            host_.Refuse(problem, boxes[problem.column]);
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
            host_.Refuse(joint, DrainDepthEdit);
            return;
        }
        Input.Dd = drainage.Dd;
        Input.QH1 = drainage.QH1;
        Input.QH2 = drainage.QH2;
    }
    Input.DrainPresent = present;
    Page.Stored[rules::DrainGroup] = true;
    host_.Message(Page.InputComplete ? "The data on the Subsurface Drainage System were saved."
                                     : "The data on the subsurface drainage system were saved. Continue with the data "
                                       "on the Initial Conditions.");
    host_.PanelSaved(rules::Panel::Drain);
    hide();
    host_.ShowGroup(rules::CondGroup);
    Page.SavedDrainChoice = DrainPresentCombo->currentIndex();
    if (drainForm_) drainForm_->hide();
}

void DrainagePanel::DrainQuitButtonClick() {
    hide();
    host_.PanelCancelled(rules::Panel::Drain);
    Show();
    if (drainForm_) drainForm_->hide();
}

}  // namespace halovane
