#include "DrainDesignBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "NumberText.h"

namespace halovane {

namespace {

// The factors go into the panel's boxes with six significant digits: far
// more than the file keeps, and short enough to read.
QString FactorText(double value) { return QString::number(value, 'g', 6); }

}  // namespace

DrainDesignBox::DrainDesignBox(const PanelControls& panel, QWidget* parent)
    : QGroupBox("Design from drain spacing", parent), panel_(panel) {
    setObjectName("DrainDesignBox");
    auto* g = new QGridLayout(this);
    const struct {
        rules::DesignBox box;
        const char* name;
    } edits[] = {{rules::DesignSpacing, "DrainSpacingEdit"},     {rules::DesignKa, "DrainKaEdit"},
                 {rules::DesignKb, "DrainKbEdit"},               {rules::DesignImpermeable, "DrainImpermeableEdit"},
                 {rules::DesignRadius, "DrainRadiusEdit"},       {rules::DesignDischarge, "DrainDischargeEdit"},
                 {rules::DesignHead, "DrainHeadEdit"}};
    boxes_[rules::DesignDepth] = panel.depth;
    int row = 0;
    const auto addEdit = [&](int k) {
        auto* e = new QLineEdit(this);
        e->setObjectName(edits[k].name);
        boxes_[edits[k].box] = e;
        g->addWidget(new QLabel(rules::DesignCaption(edits[k].box), this), row, 0);
        g->addWidget(e, row++, 1);
    };
    for (int k = 0; k < 5; ++k) addEdit(k);
    DrainDesignButton = new QPushButton("Compute QH1 and QH2", this);
    DrainDesignButton->setObjectName("DrainDesignButton");
    g->addWidget(DrainDesignButton, row++, 1);
    DrainDesignSummary = new QLabel(this);
    DrainDesignSummary->setObjectName("DrainDesignSummary");
    g->addWidget(DrainDesignSummary, row++, 0, 1, 2);
    DrainDischargeTable = new QTableWidget(static_cast<int>(drain::DesignHeads.size()), 3, this);
    DrainDischargeTable->setObjectName("DrainDischargeTable");
    DrainDischargeTable->setHorizontalHeaderLabels(
        {"Head h (m)", "q as designed (mm/day)", "q as saved (mm/day)"});
    DrainDischargeTable->verticalHeader()->hide();
    DrainDischargeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DrainDischargeTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DrainDischargeTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DrainDischargeTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DrainDischargeTable->setColumnHidden(2, true);
    g->addWidget(DrainDischargeTable, row++, 0, 1, 2);
    DrainRoundingLabel = new QLabel(this);
    DrainRoundingLabel->setObjectName("DrainRoundingLabel");
    DrainRoundingLabel->setWordWrap(true);
    g->addWidget(DrainRoundingLabel, row++, 0, 1, 2);
    for (int k = 5; k < 7; ++k) addEdit(k);
    DrainSpacingButton = new QPushButton("Spacing for this discharge", this);
    DrainSpacingButton->setObjectName("DrainSpacingButton");
    g->addWidget(DrainSpacingButton, row++, 1);
    DrainDesignMessage = new QLabel(this);
    DrainDesignMessage->setObjectName("DrainDesignMessage");
    DrainDesignMessage->setWordWrap(true);
    DrainDesignMessage->setStyleSheet("color: #b00000");
    g->addWidget(DrainDesignMessage, row++, 0, 1, 2);
    // The table takes the height of its rows.
    DrainDischargeTable->resizeRowsToContents();
    int height = DrainDischargeTable->horizontalHeader()->sizeHint().height() + 2 * DrainDischargeTable->frameWidth();
    for (int r = 0; r < DrainDischargeTable->rowCount(); ++r) height += DrainDischargeTable->rowHeight(r);
    DrainDischargeTable->setFixedHeight(height);

    connect(DrainDesignButton, &QPushButton::clicked, this, &DrainDesignBox::DrainDesignButtonClick);
    connect(DrainSpacingButton, &QPushButton::clicked, this, &DrainDesignBox::DrainSpacingButtonClick);
    connect(panel.qh1, &QLineEdit::textChanged, this, &DrainDesignBox::FactorsChanged);
    connect(panel.qh2, &QLineEdit::textChanged, this, &DrainDesignBox::FactorsChanged);
    const auto follow = [this](int index) { setEnabled(index == 1); };
    connect(panel.present, QOverload<int>::of(&QComboBox::currentIndexChanged), this, follow);
    follow(panel.present->currentIndex());
}

bool DrainDesignBox::Read(bool bySpacing, rules::DesignEntry& entry) {
    rules::DesignTexts texts;
    for (int k = 0; k < rules::DesignBoxCount; ++k) texts[k] = boxes_[k]->text().toStdString();
    const rules::Problem problem = rules::ReadDesign(texts, bySpacing, entry);
    DrainDesignMessage->setText(QString::fromStdString(problem.Text()));
    if (!problem.Ok()) boxes_[problem.column]->setFocus();
    return problem.Ok();
}

void DrainDesignBox::DrainDesignButtonClick() {
    rules::DesignEntry entry;
    if (Read(true, entry)) Design(entry);
}

void DrainDesignBox::DrainSpacingButtonClick() {
    rules::DesignEntry entry;
    if (!Read(false, entry)) return;
    const drain::SpacingResult found = drain::SpacingFor(entry.soil, entry.discharge, entry.head);
    if (!found.Ok()) {
        DrainDesignMessage->setText(QString::fromStdString(found.problem));
        return;
    }
    // The spacing found becomes the design's.
    entry.spacing = found.spacing;
    boxes_[rules::DesignSpacing]->setText(QString::number(found.spacing, 'f', 2));
    Design(entry);
}

void DrainDesignBox::Design(const rules::DesignEntry& entry) {
    const drain::Design design = drain::DesignAt(entry.soil, entry.spacing);
    designedQH1_ = FactorText(design.QH1);
    designedQH2_ = FactorText(design.QH2);
    panel_.qh1->setText(designedQH1_);
    panel_.qh2->setText(designedQH2_);
    DrainDesignSummary->setText(QString::fromStdString(rules::DesignSummary(design)));
    const std::vector<drain::DischargeRow> rows = drain::DischargeTable(design);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const double values[3] = {rows[r].head, rows[r].designed, rows[r].saved};
        for (int c = 0; c < 3; ++c)
            DrainDischargeTable->setItem(r, c, new QTableWidgetItem(QString::number(values[c], 'f', c == 0 ? 2 : 3)));
    }
    const std::string note = rules::RoundingNote(design);
    DrainDischargeTable->setColumnHidden(2, note.empty());
    DrainRoundingLabel->setText(QString::fromStdString(note));
    DrainDesignMessage->clear();
}

void DrainDesignBox::FactorsChanged() {
    if (designedQH1_.isEmpty()) return;
    const bool changed = panel_.qh1->text() != designedQH1_ || panel_.qh2->text() != designedQH2_;
    DrainDesignMessage->setText(changed ? "The factors in the boxes are no longer those of this design." : QString());
}

}  // namespace halovane
