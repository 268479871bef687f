// The general data panel: titles, number and length of the time steps, the
// number of root-zone layers and the model variant, with its Save and
// Cancel. Its Save reshapes the other panels' grids through the page.
#pragma once

#include <QFrame>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace halovane {

class PanelHost;

class GeneralPanel : public QFrame {
    Q_OBJECT
public:
    GeneralPanel(PanelHost& host, QWidget* parent);
    // The layer and model choices as last saved, and the titles, count and
    // step length the data set holds (kept as they are before the group
    // was stored).
    void Show();
    void Clear();
    // The choices of a fresh data set: `steps` monthly steps, one layer.
    void Reset(int steps);
    void ShowStepCount(int steps);
    void ShowLayers(int layers);
    QPushButton* SaveButton() const { return GenSaveButton; }
    QPushButton* QuitButton() const { return GenQuitButton; }

private:
    void GenSaveButtonClick();
    void GenQuitButtonClick();

    PanelHost& host_;
    QLineEdit *Tit1Edit, *Tit2Edit, *NrTstEdit;
    QComboBox *TstCombo, *LayersCombo, *ModelCombo;
    QPushButton *GenSaveButton, *GenQuitButton;
};

}  // namespace halovane
