// The hydrological data panel: rainfall, irrigation and evaporation per
// time step, typed or pasted as a block from a spreadsheet, with its Save
// and Cancel. A paste may grow the series; the data set takes the new
// number of time steps with the Save.
#pragma once

#include <QFrame>

class QPushButton;

namespace halovane {

class PanelHost;
class TStringGrid;

class HydrologicalPanel : public QFrame {
    Q_OBJECT
public:
    HydrologicalPanel(PanelHost& host, QWidget* parent);
    // The grid shows the time steps stored, with the series the data set
    // holds (empty before the group was stored).
    void Show();
    void Clear();
    // The empty grid of a fresh data set: its headings and `steps` rows.
    void Reset(int steps);
    // The heading over the serial numbers.
    void SetCorner(const QString& text);
    // The grid's rows become those of `steps` time steps, numbered.
    void SetSteps(int steps);
    int Steps() const;
    QPushButton* SaveButton() const { return HydrSaveButton; }
    QPushButton* QuitButton() const { return HydrQuitButton; }

private:
    void HydrGridSetEditText(int column, int row, const QString& text);
    bool Paste(int column, int row, const QString& text);
    void HydrSaveButtonClick();
    void HydrQuitButtonClick();

    PanelHost& host_;
    TStringGrid* HydrGrid;
    QPushButton *HydrSaveButton, *HydrQuitButton;
};

}  // namespace halovane
