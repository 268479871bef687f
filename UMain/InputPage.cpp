#include "InputPage.h"

#include <QKeyEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <functional>
#include <utility>

#include "ConditionsPanel.h"
#include "DrainagePanel.h"
#include "Dialogs.h"
#include "GeneralPanel.h"
#include "HydrologicalPanel.h"
#include "SalinityPanel.h"
#include "SoilTablePanel.h"
#include "Fields.h"
#include "ResultsPages.h"
#include "RunTask.h"
#include "UPanelKit.h"
#include "UStringGrid.h"


namespace halovane {

namespace {


// An edit of a grid, as the grid recorded it. The keys typed in one cell
// editor make one edit.
class GridEdit : public QUndoCommand {
public:
    GridEdit(TStringGrid& grid, TStringGrid::Change change, std::function<void()> done)
        : grid_(grid), change_(std::move(change)), done_(std::move(done)) {}
    void undo() override {
        grid_.Apply(change_, false);
        done_();
    }
    void redo() override {
        // The grid holds the change when it is recorded.
        if (std::exchange(first_, false)) return;
        grid_.Apply(change_, true);
        done_();
    }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* command) override {
        const auto* other = static_cast<const GridEdit*>(command);
        const auto& next = other->change_;
        if (&other->grid_ != &grid_ || change_.typing == 0 || next.typing != change_.typing ||
            change_.cells.size() != 1 || next.cells.size() != 1 ||
            change_.cells.begin()->first != next.cells.begin()->first || next.rowsBefore != next.rowsAfter)
            return false;
        change_.cells.begin()->second.second = next.cells.begin()->second.second;
        return true;
    }

private:
    TStringGrid& grid_;
    TStringGrid::Change change_;
    std::function<void()> done_;
    bool first_ = true;
};

// An edit of the boxes and choices of a panel without a grid. The keys
// typed in one box one after the other make one edit.
template <typename Boxes>
class BoxEdit : public QUndoCommand {
public:
    BoxEdit(QObject* source, Boxes before, Boxes after, std::function<void(const Boxes&)> show)
        : source_(source), before_(std::move(before)), after_(std::move(after)), show_(std::move(show)) {}
    void undo() override { show_(before_); }
    void redo() override {
        if (std::exchange(first_, false)) return;
        show_(after_);
    }
    int id() const override { return 2; }
    bool mergeWith(const QUndoCommand* command) override {
        const auto* other = static_cast<const BoxEdit*>(command);
        if (other->source_ != source_ || !qobject_cast<QLineEdit*>(source_)) return false;
        after_ = other->after_;
        return true;
    }

private:
    QObject* source_;
    Boxes before_, after_;
    std::function<void(const Boxes&)> show_;
    bool first_ = true;
};

}  // namespace

InputPage::InputPage(Dialogs& dialogs, QTabWidget& frame, ResultsPages& results)
    : dialogs_(dialogs), frame_(frame), results_(results) {
    setObjectName("InpTab");
    Undo = new QUndoStack(this);
    // Edits taken back to where the panel showed the data set leave
    // nothing to save.
    connect(Undo, &QUndoStack::cleanChanged, this, [this](bool clean) {
        Page.PanelEdited = !clean;
        UpdateTitle();
    });
    Page.Comma = panel::SystemComma();
    BuildInputPage();

    UpdateButtons(rules::PageEvent::Start);
    FormCreate();
    // Every entry of a data panel marks the panel as edited, and can be
    // taken back until the panel is saved or cancelled.
    for (const PanelEntry& e : PanelEntries()) {
        QFrame* panel = e.panel;
        for (QLineEdit* edit : panel->findChildren<QLineEdit*>()) {
            connect(edit, &QLineEdit::textEdited, this, &InputPage::MarkEdited);
            connect(edit, &QLineEdit::textEdited, this, [this, panel, edit] { BoxEdited(panel, edit); });
            edit->installEventFilter(this);
        }
        for (QComboBox* combo : panel->findChildren<QComboBox*>()) {
            connect(combo, QOverload<int>::of(&QComboBox::activated), this, &InputPage::MarkEdited);
            connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, panel, combo] { BoxEdited(panel, combo); });
            combo->installEventFilter(this);
        }
        for (TStringGrid* grid : panel->findChildren<TStringGrid*>()) {
            connect(grid, &TStringGrid::Edited, this, &InputPage::MarkEdited);
            grid->onChange = [this, grid](const TStringGrid::Change& change) {
                Undo->push(new GridEdit(*grid, change, [this, grid] { Undone(grid); }));
            };
        }
        if (panel->findChildren<TStringGrid*>().isEmpty()) shownBoxes_.emplace_back(panel, BoxesOf(*panel));
    }
    ResetUndo();
}

InputPage::BoxTexts InputPage::BoxesOf(const QFrame& panel) {
    BoxTexts boxes;
    for (const QLineEdit* edit : panel.findChildren<QLineEdit*>()) boxes.texts << edit->text();
    for (const QComboBox* combo : panel.findChildren<QComboBox*>()) boxes.choices << combo->currentIndex();
    return boxes;
}

void InputPage::ShowBoxes(QFrame& panel, const BoxTexts& boxes) {
    int k = 0;
    for (QLineEdit* edit : panel.findChildren<QLineEdit*>()) edit->setText(boxes.texts.value(k++));
    k = 0;
    for (QComboBox* combo : panel.findChildren<QComboBox*>()) combo->setCurrentIndex(boxes.choices.value(k++));
}

void InputPage::ResetUndo() {
    Undo->clear();
    for (auto& [panel, boxes] : shownBoxes_) boxes = BoxesOf(*panel);
}

void InputPage::BoxEdited(QFrame* panel, QObject* source) {
    for (auto& [shown, boxes] : shownBoxes_) {
        if (shown != panel) continue;
        BoxTexts now = BoxesOf(*panel);
        if (now == boxes) return;
        Undo->push(new BoxEdit<BoxTexts>(source, boxes, now, [this, panel](const BoxTexts& texts) {
            ShowBoxes(*panel, texts);
            Undone(panel);
        }));
        boxes = std::move(now);
    }
}

void InputPage::Undone(QWidget* source) {
    for (auto& [panel, boxes] : shownBoxes_)
        if (panel == source) boxes = BoxesOf(*panel);
    // A paste that grew the hydrological series also showed its length.
    if (HydrPanel->isAncestorOf(source)) {
        ShowStepCount(StepsOnScreen());
        SalinitySteps(StepsOnScreen(), false);
    }
}

bool InputPage::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        TStringGrid::IsUndoKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<InputPage::PanelEntry> InputPage::PanelEntries() const {
    using G = FieldGroup;
    auto g = [](G group) { return static_cast<int>(group); };
    std::vector<PanelEntry> entries{
        {GenPanel, GenPanel->SaveButton(), GenPanel->QuitButton(), g(G::General), &InputPage::ShowGeneral},
        {HydrPanel, HydrPanel->SaveButton(), HydrPanel->QuitButton(), g(G::Hydrological), &InputPage::ShowHydrological}};
    for (SoilTablePanel* soil : SoilPanels)
        entries.push_back({soil, soil->SaveButton(), soil->QuitButton(), g(G::Soil), &InputPage::ShowSoilOfLayers});
    for (SalinityPanel* salt : SaltPanels)
        entries.push_back(
            {salt, salt->SaveButton(), salt->QuitButton(), g(G::Salinity), &InputPage::ShowSalinityOfLayers});
    entries.push_back({DrainPanel, DrainPanel->SaveButton(), DrainPanel->QuitButton(), g(G::Drainage),
                       &InputPage::ShowDrainage});
    entries.push_back({CondPanel, CondPanel->SaveButton(), CondPanel->QuitButton(), g(G::Conditions),
                       &InputPage::ShowConditions});
    return entries;
}

std::array<QPushButton*, rules::GroupCount> InputPage::GroupButtons() const {
    return {GenOpenButton, HydrOpenButton, SoilOpenButton, SaltOpenButton, DrainOpenButton, CondOpenButton};
}

void InputPage::ShowSoilOfLayers() {
    for (SoilTablePanel* soil : SoilPanels)
        if (!soil->isHidden()) soil->Show();
}

void InputPage::ShowSalinityOfLayers() {
    for (SalinityPanel* salt : SaltPanels)
        if (!salt->isHidden()) salt->Show();
}

InputPage::PanelEntry InputPage::OpenPanel() {
    for (const PanelEntry& e : PanelEntries())
        if (!e.panel->isHidden()) return e;  // also while another page is in front
    return PanelEntry{nullptr, nullptr, nullptr, 0, nullptr};
}

void InputPage::MarkEdited() {
    Page.PanelEdited = true;
    UpdateTitle();
}

bool InputPage::SaveOpenPanel() {
    const PanelEntry open = OpenPanel();
    if (!Page.PanelEdited || !open.panel) return true;
    open.save->click();
    return !Page.PanelEdited;
}

bool InputPage::SettleEdits() {
    const PanelEntry open = OpenPanel();
    if (!Page.PanelEdited || !open.panel) {
        Page.PanelEdited = false;
        return true;
    }
    const QString group = GroupName(static_cast<FieldGroup>(open.group));
    switch (dialogs_.SaveDiscardCancel(this, "The changes on the panel \"" + group +
                                                 "\" were not saved. Save them now?")) {
        case Dialogs::Choice::Save:
            return SaveOpenPanel();
        case Dialogs::Choice::Discard:
            (this->*(open.show))();
            ResetUndo();
            Page.PanelEdited = false;
            UpdateTitle();
            return true;
        default:
            return false;
    }
}

void InputPage::UpdateTitle() {
    emit TitleChanged(QFileInfo(QString::fromStdString(Input.InputFileName)).fileName(),
                      Page.PanelEdited || Page.DataSetChanged);
}


QString PastedLineEnds(const QString& text) {
    // Spreadsheets on some systems end their rows with a line feed alone;
    // every row of a pasted block ends with CR LF here.
    if (!text.contains('\n') && !text.contains('\r')) return text;
    QString lines = text;
    lines.replace("\r\n", "\n").replace('\r', '\n');
    return lines.replace("\n", "\r\n");
}

InputPage::~InputPage() = default;

void InputPage::SetDrainForm(QWidget* drainForm) { DrainPanel->SetDrainForm(drainForm); }

void InputPage::ShowGroup(rules::Group group) {
    QFrame* const panels[rules::GroupCount] = {GenPanel,  HydrPanel,  SoilPanel(Page.LayerFlags),
                                               SaltPanel(Page.LayerFlags), DrainPanel, CondPanel};
    panels[group]->show();
}

void InputPage::ShowSalinityPanel(int layers) { SaltPanel(layers)->show(); }

int InputPage::StepsOnScreen() const { return HydrPanel->Steps(); }

void InputPage::ShowStepCount(int steps) { GenPanel->ShowStepCount(steps); }

void InputPage::SalinitySteps(int steps, bool resize) {
    for (SalinityPanel* salt : SaltPanels) salt->SetSteps(steps, resize);
}

void InputPage::GridSteps(int steps) {
    HydrPanel->SetSteps(steps);
    SalinitySteps(steps, true);
}

void InputPage::CarryLayersOver(int from, int to, int steps) {
    SoilPanel(to)->TakeEntriesOf(*SoilPanel(from));
    SaltPanel(to)->TakeEntriesOf(*SaltPanel(from), steps);
}

bool InputPage::ReadyToClose() {
    // A run in progress is stopped first; it writes nothing. The window is
    // closed once the run has ended (its question may still be open, so it
    // is not waited for here).
    if (Run) {
        CloseAfterRun = true;
        RunCancelButtonClick();
        return false;
    }
    return SettleEdits();
}

// ---------------------------------------------------------------- shared

void InputPage::HidePanels() {
    for (const PanelEntry& e : PanelEntries()) e.panel->hide();
}

void InputPage::UpdateButtons(rules::PageEvent event, rules::Panel panel) {
    const auto groups = GroupButtons();
    const std::vector<PanelEntry> panels = PanelEntries();
    rules::Buttons now;
    for (size_t k = 0; k < groups.size(); ++k) now.groups[k] = groups[k]->isEnabled();
    now.saveAll = SaveAllButton->isEnabled();
    for (size_t k = 0; k < panels.size(); ++k) now.quits[k] = panels[k].quit->isEnabled();
    const rules::Buttons next = rules::NextButtons(now, event, panel, Page.InputComplete);
    for (size_t k = 0; k < groups.size(); ++k) groups[k]->setEnabled(next.groups[k]);
    SaveAllButton->setEnabled(next.saveAll);
    for (size_t k = 0; k < panels.size(); ++k) panels[k].quit->setEnabled(next.quits[k]);
    // A panel shown afresh holds the data set; a Save changed the data set.
    if (event == rules::PageEvent::Saved) Page.DataSetChanged = true;
    if (event == rules::PageEvent::InputOpened || event == rules::PageEvent::Restart) Page.DataSetChanged = false;
    if (event != rules::PageEvent::DrainRefused && event != rules::PageEvent::PageShown) {
        Page.PanelEdited = false;
        ResetUndo();
    }
    UpdateTitle();
}

void InputPage::Refuse(const rules::Problem& problem, QWidget* focus) {
    Warn(QString::fromStdString(problem.Text()));
    if (!focus) return;
    focus->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->selectAll();
}

void InputPage::RefuseCell(const rules::Problem& problem, TStringGrid& grid) {
    if (problem.row >= 0 && problem.row < grid.RowCount() && problem.column >= 0 && problem.column < grid.ColCount())
        grid.setCurrentCell(problem.row, problem.column);
    Refuse(problem, &grid);
}

// The panels of a layer count out of 1..3; any other count is taken as one layer.
SoilTablePanel* InputPage::SoilPanel(int layers) const { return SoilPanels[layers == 3 ? 2 : layers == 2 ? 1 : 0]; }
SalinityPanel* InputPage::SaltPanel(int layers) const { return SaltPanels[layers == 3 ? 2 : layers == 2 ? 1 : 0]; }

void InputPage::Message(const QString& text) { dialogs_.Inform(this, text); }

void InputPage::Warn(const QString& text) { dialogs_.Warn(this, text); }

bool InputPage::Ask(const QString& question) { return dialogs_.Confirm(this, question); }

void InputPage::ShowPanel(QFrame* panel) {
    HidePanels();
    panel->show();
}

void InputPage::SetDialogFolderFrom(const QString& path) {
    Page.InputFolder = QFileInfo(path).absolutePath() + QDir::separator();
    results_.SetDialogFolder(Page.InputFolder);
}

void InputPage::InpTabShow() {
    HidePanels();
    UpdateButtons(rules::PageEvent::PageShown);
}

void InputPage::MathTabShow() { Page.InputComplete = false; }

}  // namespace halovane
