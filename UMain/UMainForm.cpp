#include "UMainForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "Dialogs.h"
#include "Fields.h"
#include "ResultsPages.h"
#include "RunTask.h"
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

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName("MainForm");
    Undo = new QUndoStack(this);
    // Edits taken back to where the panel showed the data set leave
    // nothing to save.
    connect(Undo, &QUndoStack::cleanChanged, this, [this](bool clean) {
        Page.PanelEdited = !clean;
        UpdateTitle();
    });
    const QLocale system = QLocale::system();
    Page.Comma = rules::CommaOfLocale(system.decimalPoint().toStdString(), system.groupSeparator().toStdString());
    resize(806, 647);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    setCentralWidget(PageControl);
    auto page = [this](const char* name, const char* caption) {
        QWidget* w = new QWidget;
        w->setObjectName(name);
        PageControl->addTab(w, caption);
        return w;
    };
    IntroTab = page("IntroTab", "Intro");
    MathTab = page("MathTab", "Math");
    FigTab = page("FigTab", "Figure");
    InpTab = BuildInputPage();
    InpTab->setObjectName("InpTab");
    PageControl->addTab(InpTab, "Input");
    OutTab = page("OutTab", "Output");
    GraphTab = page("GraphTab", "Graphs");
    Results = std::make_unique<ResultsPages>(dialogs_, *PageControl, *OutTab, *GraphTab);
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        QWidget* shown = PageControl->widget(index);
        // Leaving the Input page settles the open panel's edits first.
        if (previousPage_ == InpTab && shown != InpTab && !SettleEdits()) {
            const QSignalBlocker block(PageControl);
            PageControl->setCurrentWidget(InpTab);
            return;
        }
        previousPage_ = shown;
        if (shown == InpTab) InpTabShow();
        if (shown == MathTab) MathTabShow();
    });
    BuildEditMenu();

    // The Edit menu's hints show in the status bar.
    statusBar()->setObjectName("StatusBar");

    UpdateButtons(rules::PageEvent::Start);
    FormCreate();
    previousPage_ = PageControl->currentWidget();
    // Every entry of a data panel marks the panel as edited, and can be
    // taken back until the panel is saved or cancelled.
    for (const PanelEntry& e : PanelEntries()) {
        QFrame* panel = e.panel;
        for (QLineEdit* edit : panel->findChildren<QLineEdit*>()) {
            connect(edit, &QLineEdit::textEdited, this, &TMainForm::MarkEdited);
            connect(edit, &QLineEdit::textEdited, this, [this, panel, edit] { BoxEdited(panel, edit); });
            edit->installEventFilter(this);
        }
        for (QComboBox* combo : panel->findChildren<QComboBox*>()) {
            connect(combo, QOverload<int>::of(&QComboBox::activated), this, &TMainForm::MarkEdited);
            connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, panel, combo] { BoxEdited(panel, combo); });
            combo->installEventFilter(this);
        }
        for (TStringGrid* grid : panel->findChildren<TStringGrid*>()) {
            connect(grid, &TStringGrid::Edited, this, &TMainForm::MarkEdited);
            grid->onChange = [this, grid](const TStringGrid::Change& change) {
                Undo->push(new GridEdit(*grid, change, [this, grid] { Undone(grid); }));
            };
        }
        if (panel->findChildren<TStringGrid*>().isEmpty()) shownBoxes_.emplace_back(panel, BoxesOf(*panel));
    }
    ResetUndo();
}

TMainForm::BoxTexts TMainForm::BoxesOf(const QFrame& panel) {
    BoxTexts boxes;
    for (const QLineEdit* edit : panel.findChildren<QLineEdit*>()) boxes.texts << edit->text();
    for (const QComboBox* combo : panel.findChildren<QComboBox*>()) boxes.choices << combo->currentIndex();
    return boxes;
}

void TMainForm::ShowBoxes(QFrame& panel, const BoxTexts& boxes) {
    int k = 0;
    for (QLineEdit* edit : panel.findChildren<QLineEdit*>()) edit->setText(boxes.texts.value(k++));
    k = 0;
    for (QComboBox* combo : panel.findChildren<QComboBox*>()) combo->setCurrentIndex(boxes.choices.value(k++));
}

void TMainForm::ResetUndo() {
    Undo->clear();
    for (auto& [panel, boxes] : shownBoxes_) boxes = BoxesOf(*panel);
}

void TMainForm::BoxEdited(QFrame* panel, QObject* source) {
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

void TMainForm::Undone(QWidget* source) {
    for (auto& [panel, boxes] : shownBoxes_)
        if (panel == source) boxes = BoxesOf(*panel);
    // A paste that grew the hydrological series also showed its length.
    if (source == HydrGrid) {
        NrTstEdit->setText(QString::number(StepsOnScreen()));
        for (int layers = 1; layers <= 3; ++layers) WriteSerialNumbers(*SaltGrid(layers), StepsOnScreen());
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        TStringGrid::IsUndoKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

std::vector<TMainForm::PanelEntry> TMainForm::PanelEntries() {
    using G = FieldGroup;
    auto g = [](G group) { return static_cast<int>(group); };
    return {{GenPanel, GenSaveButton, g(G::General), &TMainForm::ShowGeneral},
            {HydrPanel, HydrSaveButton, g(G::Hydrological), &TMainForm::ShowHydrological},
            {Soil1Panel, Soil1SaveButton, g(G::Soil), &TMainForm::ShowSoilOfLayers},
            {Soil2Panel, Soil2SaveButton, g(G::Soil), &TMainForm::ShowSoilOfLayers},
            {Soil3Panel, Soil3SaveButton, g(G::Soil), &TMainForm::ShowSoilOfLayers},
            {Salt1Panel, Salt1SaveButton, g(G::Salinity), &TMainForm::ShowSalinityOfLayers},
            {Salt2Panel, Salt2SaveButton, g(G::Salinity), &TMainForm::ShowSalinityOfLayers},
            {Salt3Panel, Salt3SaveButton, g(G::Salinity), &TMainForm::ShowSalinityOfLayers},
            {DrainPanel, DrainSaveButton, g(G::Drainage), &TMainForm::ShowDrainage},
            {CondPanel, CondSaveButton, g(G::Conditions), &TMainForm::ShowConditions}};
}

void TMainForm::ShowSoilOfLayers() {
    for (int layers = 1; layers <= 3; ++layers)
        if (!SoilPanel(layers)->isHidden()) ShowSoil(layers);
}

void TMainForm::ShowSalinityOfLayers() {
    for (int layers = 1; layers <= 3; ++layers)
        if (!SaltPanel(layers)->isHidden()) ShowSalinity(layers);
}

TMainForm::PanelEntry TMainForm::OpenPanel() {
    for (const PanelEntry& e : PanelEntries())
        if (!e.panel->isHidden()) return e;  // also while another page is in front
    return PanelEntry{nullptr, nullptr, 0, nullptr};
}

void TMainForm::MarkEdited() {
    Page.PanelEdited = true;
    UpdateTitle();
}

bool TMainForm::SaveOpenPanel() {
    const PanelEntry open = OpenPanel();
    if (!Page.PanelEdited || !open.panel) return true;
    open.save->click();
    return !Page.PanelEdited;
}

bool TMainForm::SettleEdits() {
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

void TMainForm::UpdateTitle() {
    const QString program = "Halovane, soil salinity and water table model";
    const QString file = QFileInfo(QString::fromStdString(Input.InputFileName)).fileName();
    setWindowTitle(file.isEmpty() ? program + "[*]" : file + "[*] - " + program);
    setWindowModified(Page.PanelEdited || Page.DataSetChanged);
}

TMainForm::~TMainForm() = default;

QString PastedLineEnds(const QString& text) {
    // Spreadsheets on some systems end their rows with a line feed alone;
    // every row of a pasted block ends with CR LF here.
    if (!text.contains('\n') && !text.contains('\r')) return text;
    QString lines = text;
    lines.replace("\r\n", "\n").replace('\r', '\n');
    return lines.replace("\n", "\r\n");
}

void TMainForm::SetCompanionWindows(QWidget* closeForm, QWidget* drainForm) {
    closeForm_ = closeForm;
    drainForm_ = drainForm;
}

void TMainForm::ShowVersion(const QString& text) {
    auto* label = new QLabel(text, menuBar());
    label->setObjectName("VersionLabel");
    label->setContentsMargins(0, 0, 8, 0);
    menuBar()->setCornerWidget(label, Qt::TopRightCorner);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A run in progress is stopped first; it writes nothing. The window is
    // closed once the run has ended (its question may still be open, so it
    // is not waited for here).
    if (Run) {
        event->ignore();
        CloseAfterRun = true;
        RunCancelButtonClick();
        return;
    }
    // The program ends from the closing window, not from here.
    event->ignore();
    if (!SettleEdits()) return;
    if (closeForm_) {
        closeForm_->show();
        closeForm_->raise();
    }
}

void TMainForm::BuildEditMenu() {
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("EditMenu");
    edit->setToolTipsVisible(true);
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence key;
        const char* hint;
        void (TMainForm::*handler)();
    };
    const Item items[] = {
        {"Copy", "&Copy", QKeySequence("Ctrl+C"), "Copy|Copies the selection and puts it on the Clipboard",
         &TMainForm::EditCopy},
        {"Cut", "Cu&t", QKeySequence("Ctrl+X"), "Cut|Cuts the selection and puts it on the Clipboard",
         &TMainForm::EditCut},
        {"Delete", "&Delete", QKeySequence(Qt::Key_Delete), "Delete|Erases the selection", &TMainForm::EditDelete},
        {"Paste", "&Paste", QKeySequence("Ctrl+V"), "Paste|Inserts Clipboard contents", &TMainForm::EditPaste},
    };
    for (const Item& item : items) {
        QAction* action = edit->addAction(item.caption);
        action->setObjectName(item.name);
        action->setShortcut(item.key);
        // The focused control handles its own keys; the menu serves mouse users.
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setStatusTip(QString(item.hint).section('|', 1));
        action->setToolTip(QString(item.hint).section('|', 0, 0));
        connect(action, &QAction::triggered, this, item.handler);
    }
    // Undo and Redo of the open panel's edits, from any of its controls.
    edit->addSeparator();
    QAction* undo = Undo->createUndoAction(this, "&Undo");
    undo->setObjectName("Undo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    undo->setStatusTip("Takes back the last change of the open panel that was not saved");
    QAction* redo = Undo->createRedoAction(this, "&Redo");
    redo->setObjectName("Redo");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    redo->setStatusTip("Makes the change that was taken back again");
    for (QAction* action : {undo, redo}) {
        edit->addAction(action);
        addAction(action);
    }
}

namespace {

template <typename Fn>
void OnFocused(Fn lineEdit, std::function<void(QPlainTextEdit*)> plain, std::function<void(TStringGrid*)> grid) {
    QWidget* w = QApplication::focusWidget();
    if (auto* e = qobject_cast<QLineEdit*>(w)) return lineEdit(e);
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return plain(p);
    for (QWidget* up = w; up; up = up->parentWidget())
        if (auto* g = qobject_cast<TStringGrid*>(up)) return grid(g);
}

}  // namespace

void TMainForm::EditCopy() {
    OnFocused([](QLineEdit* e) { e->copy(); }, [](QPlainTextEdit* p) { p->copy(); },
              [](TStringGrid* g) { QApplication::clipboard()->setText(g->SelectionText()); });
}

void TMainForm::EditCut() {
    OnFocused([](QLineEdit* e) { e->cut(); }, [](QPlainTextEdit* p) { p->cut(); },
              [](TStringGrid* g) { g->CutSelection(); });
}

void TMainForm::EditDelete() {
    OnFocused([](QLineEdit* e) { e->del(); }, [](QPlainTextEdit* p) { p->textCursor().removeSelectedText(); },
              [](TStringGrid* g) { g->DeleteSelection(); });
}

void TMainForm::EditPaste() {
    // An open cell editor takes the grid's one paste, never an insertion.
    if (TStringGrid::PasteIntoEditor(QApplication::focusWidget())) return;
    OnFocused([](QLineEdit* e) { e->paste(); }, [](QPlainTextEdit* p) { p->paste(); },
              [](TStringGrid* g) { g->PasteIntoCurrentCell(); });
}

// ---------------------------------------------------------------- shared

void TMainForm::HidePanels() {
    for (QFrame* p : {GenPanel, HydrPanel, Salt1Panel, Salt2Panel, Salt3Panel, Soil1Panel, Soil2Panel, Soil3Panel,
                      DrainPanel, CondPanel})
        p->hide();
}

void TMainForm::UnlockGroups() {
    for (QPushButton* b : {SaveAllButton, GenOpenButton, HydrOpenButton, SoilOpenButton, SaltOpenButton,
                           DrainOpenButton, CondOpenButton})
        b->setEnabled(true);
}

void TMainForm::UpdateButtons(rules::PageEvent event, rules::Panel panel) {
    QPushButton* const groups[6] = {GenOpenButton,  HydrOpenButton,  SoilOpenButton,
                                    SaltOpenButton, DrainOpenButton, CondOpenButton};
    rules::Buttons now;
    for (int k = 0; k < 6; ++k) now.groups[k] = groups[k]->isEnabled();
    now.saveAll = SaveAllButton->isEnabled();
    for (int k = 0; k < 10; ++k) now.quits[k] = AllQuitButtons(k)->isEnabled();
    const rules::Buttons next = rules::NextButtons(now, event, panel, Page.InputComplete);
    for (int k = 0; k < 6; ++k) groups[k]->setEnabled(next.groups[k]);
    SaveAllButton->setEnabled(next.saveAll);
    for (int k = 0; k < 10; ++k) AllQuitButtons(k)->setEnabled(next.quits[k]);
    // A panel shown afresh holds the data set; a Save changed the data set.
    if (event == rules::PageEvent::Saved) Page.DataSetChanged = true;
    if (event == rules::PageEvent::InputOpened || event == rules::PageEvent::Restart) Page.DataSetChanged = false;
    if (event != rules::PageEvent::DrainRefused && event != rules::PageEvent::PageShown) {
        Page.PanelEdited = false;
        ResetUndo();
    }
    UpdateTitle();
}

void TMainForm::Refuse(const rules::Problem& problem, QWidget* focus) {
    Warn(QString::fromStdString(problem.Text()));
    if (!focus) return;
    focus->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->selectAll();
}

void TMainForm::RefuseCell(const rules::Problem& problem, TStringGrid& grid) {
    if (problem.row >= 0 && problem.row < grid.RowCount() && problem.column >= 0 && problem.column < grid.ColCount())
        grid.setCurrentCell(problem.row, problem.column);
    Refuse(problem, &grid);
}

rules::Cells TMainForm::CellsOf(const TStringGrid& grid, int rows, int columns) {
    return grid.Rows(rows, columns);
}

TStringGrid* TMainForm::SaltGrid(int layers) const {
    return layers == 3 ? SaltGrid3 : layers == 2 ? SaltGrid2 : SaltGrid1;
}
TStringGrid* TMainForm::SoilGrid(int layers) const {
    return layers == 3 ? Soil3Grid : layers == 2 ? Soil2Grid : Soil1Grid;
}
QFrame* TMainForm::SoilPanel(int layers) const { return layers == 3 ? Soil3Panel : layers == 2 ? Soil2Panel : Soil1Panel; }
QFrame* TMainForm::SaltPanel(int layers) const { return layers == 3 ? Salt3Panel : layers == 2 ? Salt2Panel : Salt1Panel; }

QPushButton* TMainForm::AllQuitButtons(int k) const {
    QPushButton* const all[10] = {GenQuitButton,   HydrQuitButton,  Soil1QuitButton, Soil2QuitButton,
                                  Soil3QuitButton, Salt1QuitButton, Salt2QuitButton, Salt3QuitButton,
                                  DrainQuitButton, CondQuitButton};
    return all[k];
}

void TMainForm::Message(const QString& text) { dialogs_.Inform(this, text); }

void TMainForm::Warn(const QString& text) { dialogs_.Warn(this, text); }

bool TMainForm::Ask(const QString& question) { return dialogs_.Confirm(this, question); }

void TMainForm::ShowPanel(QFrame* panel) {
    HidePanels();
    panel->show();
}

void TMainForm::SetDialogFolderFrom(const QString& path) {
    Page.InputFolder = QFileInfo(path).absolutePath() + QDir::separator();
    Results->SetDialogFolder(Page.InputFolder);
}

void TMainForm::InpTabShow() {
    HidePanels();
    UpdateButtons(rules::PageEvent::PageShown);
}

void TMainForm::MathTabShow() { Page.InputComplete = false; }

}  // namespace halovane
