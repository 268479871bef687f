#include "UMainForm.h"
#include "InputPage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>
#include <functional>

#include "Dialogs.h"
#include "ResultsPages.h"
#include "UStringGrid.h"


namespace halovane {

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs) {
    setObjectName("MainForm");
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
    OutTab = page("OutTab", "Output");
    GraphTab = page("GraphTab", "Graphs");
    Results = std::make_unique<ResultsPages>(dialogs_, *PageControl, *OutTab, *GraphTab);
    // The Input page after the Figure page; it shows the Intro page first.
    Input = new InputPage(dialogs_, *PageControl, *Results);
    connect(Input, &InputPage::TitleChanged, this, &TMainForm::ShowTitle);
    PageControl->insertTab(PageControl->indexOf(FigTab) + 1, Input, "Input");
    PageControl->setCurrentWidget(IntroTab);
    ShowTitle(QString(), false);
    previousPage_ = PageControl->currentWidget();
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        QWidget* shown = PageControl->widget(index);
        // Leaving the Input page settles the open panel's edits first.
        if (previousPage_ == Input && shown != Input && !Input->SettleEdits()) {
            const QSignalBlocker block(PageControl);
            PageControl->setCurrentWidget(Input);
            return;
        }
        previousPage_ = shown;
        if (shown == Input) Input->InpTabShow();
        if (shown == MathTab) Input->MathTabShow();
    });
    BuildEditMenu();

    // The Edit menu's hints show in the status bar.
    statusBar()->setObjectName("StatusBar");
}

TMainForm::~TMainForm() = default;

void TMainForm::ShowTitle(const QString& file, bool modified) {
    // The window system adds the program's name ("... — Halovane").
    const QString program = "soil salinity and water table model";
    setWindowTitle(file.isEmpty() ? program + "[*]" : file + "[*] - " + program);
    setWindowModified(modified);
}

void TMainForm::SetCompanionWindows(QWidget* closeForm, QWidget* drainForm) {
    closeForm_ = closeForm;
    Input->SetDrainForm(drainForm);
}

void TMainForm::ShowVersion(const QString& text) {
    auto* label = new QLabel(text, menuBar());
    label->setObjectName("VersionLabel");
    label->setContentsMargins(0, 0, 8, 0);
    menuBar()->setCornerWidget(label, Qt::TopRightCorner);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // The program ends from the closing window, not from here.
    event->ignore();
    if (!Input->ReadyToClose()) return;
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
    QAction* undo = Input->Edits().createUndoAction(this, "&Undo");
    undo->setObjectName("Undo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    undo->setStatusTip("Takes back the last change of the open panel that was not saved");
    QAction* redo = Input->Edits().createRedoAction(this, "&Redo");
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

}  // namespace halovane
