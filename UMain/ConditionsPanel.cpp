#include "ConditionsPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Fields.h"
#include "InputPage.h"
#include "PanelHost.h"
#include "UPanelKit.h"

namespace halovane {

using namespace panel;

namespace {

QString Shortest(double value) { return QString::fromStdString(ShortestText(value)); }

}  // namespace

ConditionsPanel::ConditionsPanel(PanelHost& host, QWidget* parent) : QFrame(parent), host_(host) {
    setObjectName("CondPanel");
    QGridLayout* g = Frame(this, "CondLabel", "Intial and boundary conditions");
    struct Entry {
        const char* name;
        const char* label;
    };
    const Entry boxes[8] = {
        {"SaltIrrigEdit", "Salinity irrigation water (dS/m)"},
        {"WTdepthEdit", "Initial depth water table (m)"},
        {"GrwtInfEdit", "Ground water inflow (mm/day)"},
        {"GrwtOutEdit", "Ground water outflow (mm/day)"},
        {"CritDepthEdit", "Crtical depth of water table for capillary rise (m)"},
        {"IrrEffEdit", "Irrigation efficiency (%)"},
        {"MoistEdit", "Initial soil moisture content (%)"},
        {"SalInfEdit", "Salinity ground water inflow (dS/m)"},
    };
    int r = 1;
    for (size_t k = 0; k < boxes_.size(); ++k, ++r) {
        g->addWidget(new QLabel(boxes[k].label, this), r, 0);
        g->addWidget(boxes_[k] = Edit(boxes[k].name, this), r, 1);
    }
    const SaveCancel buttons = SaveCancelRow(g, r, this, "Cond");
    CondSaveButton = buttons.save, CondQuitButton = buttons.quit;
    g->setColumnStretch(2, 1);
    connect(CondSaveButton, &QPushButton::clicked, this, &ConditionsPanel::CondSaveButtonClick);
    connect(CondQuitButton, &QPushButton::clicked, this, &ConditionsPanel::CondQuitButtonClick);
}

void ConditionsPanel::Show() {
    if (!host_.PageState().Stored[rules::CondGroup]) return;
    const ModelInput& in = host_.DataSet();
    for (size_t k = 0; k < boxes_.size(); ++k)
        boxes_[k]->setText(Shortest(FieldNamed(rules::ConditionFields[k]).Get(in)));
}

void ConditionsPanel::Clear() {
    for (QLineEdit* box : boxes_) box->clear();
}

void ConditionsPanel::CondSaveButtonClick() {
    InputPageState& page = host_.PageState();
    ModelInput& input = host_.DataSet();
    std::array<std::string, 8> texts;
    for (size_t k = 0; k < boxes_.size(); ++k) texts[k] = boxes_[k]->text().toStdString();
    std::array<double, 8> values{};
    const rules::Problem problem = rules::ReadConditions(texts, values, page.Comma);
    if (!problem.Ok()) {
        host_.Refuse(problem, boxes_[static_cast<size_t>(problem.column)]);
        return;
    }
    ModelInput candidate = input;
    for (size_t k = 0; k < 8; ++k) FieldNamed(rules::ConditionFields[k]).Set(candidate, values[k]);
    // What needs the soil too: the water table above the aquifer's bottom.
    const rules::Problem joint = rules::GroupProblem(candidate, FieldGroup::Conditions);
    if (!joint.Ok()) {
        size_t k = 0;
        while (k + 1 < 8 && joint.place.find(FieldNamed(rules::ConditionFields[k]).label) == std::string::npos) ++k;
        host_.Refuse(joint, boxes_[k]);
        return;
    }
    for (size_t k = 0; k < 8; ++k) FieldNamed(rules::ConditionFields[k]).Set(input, values[k]);
    page.Stored[rules::CondGroup] = true;
    // A clamped efficiency or moisture shows the value that was stored.
    Show();
    host_.Message(page.InputComplete ? "The data on the Initial Conditions were saved."
                                     : "The data on the initial conditions were saved. Use \"Save all\" to do the "
                                       "calculations.");
    hide();
    page.InputComplete = true;
    host_.PanelSaved(rules::Panel::Cond);
}

void ConditionsPanel::CondQuitButtonClick() {
    Show();
    host_.PanelCancelled(rules::Panel::Cond);
    hide();
}

}  // namespace halovane
