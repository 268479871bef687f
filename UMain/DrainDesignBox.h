// The drainage panel's "Design from drain spacing" part: the engineer's data
// of subsurface drains (spacing, conductivities above and below drain level,
// depth of the impermeable layer, drain radius, with the panel's drain depth)
// give Hooghoudt's equivalent depth and the reaction factors QH1 and QH2,
// which it puts into the panel's boxes, and the drain discharge at four
// heads, as designed and as the input data file keeps the factors. It also
// finds the spacing for a design discharge at a chosen head. What is typed
// here stays while the program runs; the file keeps only QH1 and QH2.
#pragma once

#include <QGroupBox>
#include <QString>
#include <array>

#include "DrainDesign.h"
#include "DrainDesignRules.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace halovane {

class DrainDesignBox : public QGroupBox {
    Q_OBJECT
public:
    // The panel's controls the design reads and fills.
    struct PanelControls {
        QComboBox* present;  // the design is open while a drainage system is present
        QLineEdit* depth;
        QLineEdit* qh1;
        QLineEdit* qh2;
    };
    DrainDesignBox(const PanelControls& panel, QWidget* parent);

private:
    void DrainDesignButtonClick();
    void DrainSpacingButtonClick();
    // Designs at the spacing of the entry and shows the result.
    void Design(const rules::DesignEntry& entry);
    // Marks the design as no longer the factors in the panel's boxes.
    void FactorsChanged();
    bool Read(bool bySpacing, rules::DesignEntry& entry);

    PanelControls panel_;
    std::array<QLineEdit*, rules::DesignBoxCount> boxes_{};  // [DesignDepth] is the panel's
    QPushButton *DrainDesignButton, *DrainSpacingButton;
    QLabel *DrainDesignSummary, *DrainRoundingLabel, *DrainDesignMessage;
    QTableWidget* DrainDischargeTable;
    QString designedQH1_, designedQH2_;  // what the design put into the panel's boxes
};

}  // namespace halovane
