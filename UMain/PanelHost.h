// What a data panel of the Input page needs from the page: the data set it
// stores into, the page's state, the buttons after its Save or Cancel, and
// the boxes that tell the user what happened.
#pragma once

#include <QString>

#include "InputRules.h"
#include "ModelInput.h"

class QWidget;

namespace halovane {

struct InputPageState;
class TStringGrid;

class PanelHost {
public:
    virtual ~PanelHost() = default;
    virtual ModelInput& DataSet() = 0;
    virtual InputPageState& PageState() = 0;
    // The group and Cancel buttons after the panel's successful Save or
    // its Cancel.
    virtual void PanelSaved(rules::Panel panel) = 0;
    virtual void PanelCancelled(rules::Panel panel) = 0;
    // The drainage Save refused the drain depth against the layers: its
    // Cancel stays usable.
    virtual void DrainDepthRefused() = 0;
    // Shows the panel of the group (of the current number of layers).
    virtual void ShowGroup(rules::Group group) = 0;
    // Shows the salinity panel of `layers` root-zone layers.
    virtual void ShowSalinityPanel(int layers) = 0;
    // A refused entry: the warning, then the focus on the offending control.
    virtual void Refuse(const rules::Problem& problem, QWidget* focus) = 0;
    // A refused cell: the warning, then the grid's cursor on the cell.
    virtual void RefuseCell(const rules::Problem& problem, TStringGrid& grid) = 0;
    virtual void Message(const QString& text) = 0;
    // A warning that refuses nothing.
    virtual void Warn(const QString& text) = 0;

    // ---- the time steps, which the hydrological grid holds and the
    // general and salinity panels follow
    // The number of time steps the hydrological panel shows (a paste may
    // have grown it before its Save).
    virtual int StepsOnScreen() const = 0;
    // The general panel's count shows `steps`.
    virtual void ShowStepCount(int steps) = 0;
    // The salinity grids number `steps` rows, and first take as many rows
    // when `resize`.
    virtual void SalinitySteps(int steps, bool resize) = 0;
    // The hydrological and salinity grids take `steps` numbered rows.
    virtual void GridSteps(int steps) = 0;
    // The soil and salinity panels of `to` root-zone layers take the
    // entries of those of `from` layers, over `steps` time steps.
    virtual void CarryLayersOver(int from, int to, int steps) = 0;
};

// Carries out a planned paste into `grid`: nothing when the plan refuses
// the block (the cell is shown), otherwise the added rows start empty and
// the block's cells are written. False when refused.
bool WritePaste(PanelHost& host, TStringGrid& grid, const rules::PastePlan& plan);

}  // namespace halovane
