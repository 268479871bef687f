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
    // A refused entry: the warning, then the focus on the offending control.
    virtual void Refuse(const rules::Problem& problem, QWidget* focus) = 0;
    virtual void Message(const QString& text) = 0;
};

}  // namespace halovane
