#include "DrainDesignBox.h"

#include <QComboBox>
#include <QBoxLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "NumberText.h"
#include "UPanelKit.h"

namespace halovane {

namespace {

// The factors go into the panel's boxes with six significant digits: far
// more than the file keeps, and short enough to read.
QString FactorText(double value) { return QString::number(value, 'g', 6); }

}  // namespace

DrainDesignBox::DrainDesignBox(const PanelControls& panel, QWidget* parent)
    : QGroupBox("Design from drain spacing", parent), panel_(panel) {
    setObjectName("DrainDesignBox");
    const struct {
        rules::DesignBox box;
        const char* name;
    } edits[] = {{rules::DesignSpacing, "DrainSpacingEdit"},     {rules::DesignKa, "DrainKaEdit"},
                 {rules::DesignKb, "DrainKbEdit"},               {rules::DesignImpermeable, "DrainImpermeableEdit"},
                 {rules::DesignRadius, "DrainRadiusEdit"},       {rules::DesignDischarge, "DrainDischargeEdit"},
                 {rules::DesignHead, "DrainHeadEdit"}};
    boxes_[rules::DesignDepth] = panel.depth;
    // Left the soil data, right the discharge table; under them the line of
    // the design, the rounding note, the search of a spacing and a message.
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* soil = new QGridLayout;
    auto* search = new QHBoxLayout;
    const auto addEdit = [&](int k, QGridLayout* grid, QHBoxLayout* row) {
        auto* e = new QLineEdit(this);
        e->setObjectName(edits[k].name);
        e->setMaximumWidth(80);
        boxes_[edits[k].box] = e;
        auto* label = new QLabel(rules::DesignCaption(edits[k].box), this);
        if (grid) {
            grid->addWidget(label, k, 0);
            grid->addWidget(e, k, 1);
        } else {
            row->addWidget(label);
            row->addWidget(e);
        }
    };
    for (int k = 0; k < 5; ++k) addEdit(k, soil, nullptr);
    DrainDesignButton = new QPushButton("Compute QH1 and QH2", this);
    DrainDesignButton->setObjectName("DrainDesignButton");
    soil->addWidget(DrainDesignButton, 5, 0, 1, 2, Qt::AlignRight);
    top->addLayout(soil);
    DrainDischargeTable = new QTableWidget(static_cast<int>(drain::DesignHeads.size()), 3, this);
    DrainDischargeTable->setObjectName("DrainDischargeTable");
    DrainDischargeTable->setHorizontalHeaderLabels(
        {"Head h (m)", "q as designed\n(mm/day)", "q as saved\n(mm/day)"});
    DrainDischargeTable->verticalHeader()->hide();
    DrainDischargeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DrainDischargeTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    DrainDischargeTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DrainDischargeTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < DrainDischargeTable->rowCount(); ++r)
        DrainDischargeTable->setItem(r, 0, new QTableWidgetItem(QString::number(drain::DesignHeads[r], 'f', 2)));
    top->addWidget(DrainDischargeTable, 0, Qt::AlignTop);
    top->addStretch(1);
    outer->addLayout(top);
    DrainDesignSummary = new QLabel(this);
    DrainDesignSummary->setObjectName("DrainDesignSummary");
    outer->addWidget(DrainDesignSummary);
    DrainRoundingLabel = new QLabel(this);
    DrainRoundingLabel->setObjectName("DrainRoundingLabel");
    DrainRoundingLabel->setWordWrap(true);
    outer->addWidget(DrainRoundingLabel);
    for (int k = 5; k < 7; ++k) addEdit(k, nullptr, search);
    DrainSpacingButton = new QPushButton("Spacing for this discharge", this);
    DrainSpacingButton->setObjectName("DrainSpacingButton");
    search->addWidget(DrainSpacingButton);
    search->addStretch(1);
    outer->addLayout(search);
    DrainDesignMessage = new QLabel(this);
    DrainDesignMessage->setObjectName("DrainDesignMessage");
    DrainDesignMessage->setWordWrap(true);
    DrainDesignMessage->setStyleSheet("color: #b00000");
    outer->addWidget(DrainDesignMessage);
    // The table takes the size of its cells.
    DrainDischargeTable->resizeRowsToContents();
    DrainDischargeTable->resizeColumnsToContents();
    QHeaderView* header = DrainDischargeTable->horizontalHeader();
    int height = header->sizeHint().height() + 2 * DrainDischargeTable->frameWidth();
    for (int r = 0; r < DrainDischargeTable->rowCount(); ++r) height += DrainDischargeTable->rowHeight(r);
    int width = 2 * DrainDischargeTable->frameWidth();
    for (int c = 0; c < 3; ++c) width += header->sectionSize(c);
    DrainDischargeTable->setFixedSize(width, height);
    DrainDischargeTable->setColumnHidden(2, true);

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
    const rules::Problem problem = rules::ReadDesign(texts, bySpacing, entry, panel::SystemComma());
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
