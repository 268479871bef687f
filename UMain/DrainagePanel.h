// The drainage panel: whether a subsurface drainage system is present, its
// depth and its two reaction factors (checked against the soil layers), the
// design box that computes the factors, Help, Save and Cancel.
#pragma once

#include <QFrame>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace halovane {

class PanelHost;

class DrainagePanel : public QFrame {
    Q_OBJECT
public:
    DrainagePanel(PanelHost& host, QWidget* parent);
    // The drainage explanation window that Help shows.
    void SetDrainForm(QWidget* drainForm) { drainForm_ = drainForm; }
    // The choice as last saved, and the boxes as the data set holds them
    // (nothing before the group was stored).
    void Show();
    void Clear();
    QPushButton* SaveButton() const { return DrainSaveButton; }
    QPushButton* QuitButton() const { return DrainQuitButton; }

private:
    // The choice opens or closes the boxes; the data set takes it with the Save.
    void DrainPresentComboChange();
    void DrainHelpButtonClick();
    void DrainSaveButtonClick();
    void DrainQuitButtonClick();

    PanelHost& host_;
    QWidget* drainForm_ = nullptr;
    QComboBox* DrainPresentCombo;
    QLabel *DrainDepthLabel, *DrainQH1Label, *DrainQH2Label;
    QLineEdit *DrainDepthEdit, *DrainQH1Edit, *DrainQH2Edit;
    QPushButton *DrainHelpButton, *DrainSaveButton, *DrainQuitButton;
};

}  // namespace halovane
