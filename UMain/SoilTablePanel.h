// A soil properties panel: the table of thickness, porosities, leaching
// efficiency and initial salinity of the root-zone layers, the transition
// zone and the aquifer, for one, two or three root-zone layers, with its
// Save and Cancel.
#pragma once

#include <QFrame>

#include "InputRules.h"

class QPushButton;

namespace halovane {

class PanelHost;
class TStringGrid;

class SoilTablePanel : public QFrame {
    Q_OBJECT
public:
    SoilTablePanel(PanelHost& host, int layers, QWidget* parent);
    // The table the data set holds, when it was stored for this layer count.
    void Show();
    void Clear();
    // The entries of the panel of another layer count, for the user to
    // check and complete.
    void TakeEntriesOf(const SoilTablePanel& from);
    QPushButton* SaveButton() const { return save_; }
    QPushButton* QuitButton() const { return quit_; }

private:
    void SaveClick();
    void QuitClick();
    rules::Panel Which() const;

    PanelHost& host_;
    const int layers_;
    // Soil<layers>Grid, Soil<layers>SaveButton, Soil<layers>QuitButton
    TStringGrid* grid_;
    QPushButton *save_, *quit_;
};

}  // namespace halovane
