// A measured-salinity panel: the salinities measured per time step in the
// root-zone layers, the transition zone and the aquifer, for one, two or
// three root-zone layers, typed or pasted, with its Save and Cancel.
#pragma once

#include <QFrame>

#include "InputRules.h"

class QPushButton;

namespace halovane {

class PanelHost;
class TStringGrid;

class SalinityPanel : public QFrame {
    Q_OBJECT
public:
    SalinityPanel(PanelHost& host, int layers, QWidget* parent);
    // The measurements the data set holds, when they were stored for this
    // layer count.
    void Show();
    void Clear();
    // The empty grid of a fresh data set: its headings and `steps` rows.
    void Reset(int steps);
    // The heading over the serial numbers.
    void SetCorner(const QString& text);
    // The grid numbers `steps` rows, and first takes as many when `resize`.
    void SetSteps(int steps, bool resize);
    // The entries of the panel of another layer count over `steps` time
    // steps, for the user to check and complete.
    void TakeEntriesOf(const SalinityPanel& from, int steps);
    QPushButton* SaveButton() const { return save_; }
    QPushButton* QuitButton() const { return quit_; }

private:
    void GridSetEditText(int column, int row, const QString& text);
    void SaveClick();
    void QuitClick();
    rules::Panel Which() const;

    PanelHost& host_;
    const int layers_;
    // SaltGrid<layers>, Salt<layers>SaveButton, Salt<layers>QuitButton
    TStringGrid* grid_;
    QPushButton *save_, *quit_;
};

}  // namespace halovane
