// The initial and boundary conditions panel: eight boxes, read in their
// order, with its Save and Cancel.
#pragma once

#include <QFrame>
#include <array>

class QLineEdit;
class QPushButton;

namespace halovane {

class PanelHost;

class ConditionsPanel : public QFrame {
    Q_OBJECT
public:
    ConditionsPanel(PanelHost& host, QWidget* parent);
    // The boxes show what the data set holds (nothing before the group was
    // stored).
    void Show();
    void Clear();
    QPushButton* SaveButton() const { return CondSaveButton; }
    QPushButton* QuitButton() const { return CondQuitButton; }

private:
    void CondSaveButtonClick();
    void CondQuitButtonClick();

    PanelHost& host_;
    // SaltIrrigEdit, WTdepthEdit, GrwtInfEdit, GrwtOutEdit, CritDepthEdit,
    // IrrEffEdit, MoistEdit, SalInfEdit: the fields of rules::ConditionFields.
    std::array<QLineEdit*, 8> boxes_{};
    QPushButton *CondSaveButton, *CondQuitButton;
};

}  // namespace halovane
