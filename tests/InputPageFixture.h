// A main window on the offscreen platform with scripted dialogs, and
// helpers that act as the user does: click, type into edit boxes and cells,
// paste from the clipboard.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "TestDialogs.h"
#include "TestSupport.h"
#include "InputPage.h"
#include "UMainForm.h"
#include "UStringGrid.h"

namespace halovane::test {

class InputPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>(dialogs);
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
        Pages()->setCurrentWidget(Tab("InpTab"));
    }

    // The window's controls, found by their names as the user sees them.
    template <typename T>
    T* W(const char* name) const {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    QPushButton* Button(const char* name) const { return W<QPushButton>(name); }
    QLineEdit* Edit(const char* name) const { return W<QLineEdit>(name); }
    QComboBox* Combo(const char* name) const { return W<QComboBox>(name); }
    TStringGrid* Grid(const char* name) const { return W<TStringGrid>(name); }
    QFrame* Panel(const char* name) const { return W<QFrame>(name); }
    QWidget* Tab(const char* name) const { return W<QWidget>(name); }
    QTabWidget* Pages() const { return W<QTabWidget>("PageControl"); }
    // The ten Cancel buttons of the data panels, k = 0..9.
    QPushButton* QuitButton(int k) const {
        const char* names[10] = {"GenQuitButton",   "HydrQuitButton",  "Soil1QuitButton", "Soil2QuitButton",
                                 "Soil3QuitButton", "Salt1QuitButton", "Salt2QuitButton", "Salt3QuitButton",
                                 "DrainQuitButton", "CondQuitButton"};
        return Button(names[k]);
    }

    // The Input page and the data set it holds.
    InputPage* Doc() const { return W<InputPage>("InpTab"); }
    // Every data panel hidden, as between two groups.
    void HidePanels() {
        for (const char* name : {"GenPanel", "HydrPanel", "Soil1Panel", "Soil2Panel", "Soil3Panel", "Salt1Panel",
                                 "Salt2Panel", "Salt3Panel", "DrainPanel", "CondPanel"})
            Panel(name)->hide();
    }
    // The six group buttons and "Save all - Run" enabled, as a complete
    // data set leaves them, to reach a group at once.
    void UnlockGroups() {
        for (QPushButton* b : Groups()) b->setEnabled(true);
        Button("SaveAllButton")->setEnabled(true);
    }

    void Click(QPushButton* button) {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
        WaitForRun();
    }
    // A run goes on off the window's thread: its end is awaited as the user
    // would, with the window answering meanwhile.
    void WaitForRun() {
        QPushButton* cancel = form->findChild<QPushButton*>(QStringLiteral("RunCancelButton"));
        ASSERT_TRUE(cancel);
        ASSERT_TRUE(QTest::qWaitFor([&] { return cancel->isHidden(); }, 120000));
    }
    void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void Choose(QComboBox* combo, int index) { combo->setCurrentIndex(index); }
    // Types a value into a cell as the user does: select it, type, Enter.
    void TypeCell(TStringGrid* grid, int column, int row, const QString& text) {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        if (!grid->Cell(column, row).isEmpty()) QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClicks(grid, text.left(1));
        QWidget* editor = Editor(grid);
        ASSERT_TRUE(editor);
        if (text.size() > 1) QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // The open cell editor of the grid.
    static QLineEdit* Editor(TStringGrid* grid) {
        if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) return e;
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    }
    // Ctrl+V on the selected cell.
    void PasteCell(TStringGrid* grid, int column, int row, const QString& clip) {
        QApplication::clipboard()->setText(clip);
        grid->setFocus();
        grid->setCurrentCell(row, column);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    }
    // Ctrl+V in the cell's editor.
    void PasteInEditor(TStringGrid* grid, int column, int row, const QString& clip) {
        QApplication::clipboard()->setText(clip);
        grid->setFocus();
        grid->setCurrentCell(row, column);
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = Editor(grid);
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    }
    QStringList Messages() const { return dialogs.messages; }
    // The sentence of the last box (its first line), and the line under it
    // that names the refused cell or box.
    QString LastMessage() const {
        return dialogs.messages.isEmpty() ? QString() : dialogs.messages.last().section('\n', 0, 0);
    }
    QString LastPlace() const {
        return dialogs.messages.isEmpty() ? QString() : dialogs.messages.last().section('\n', 1);
    }
    // Whether the last box was a warning.
    bool LastWasWarning() const { return !dialogs.log.isEmpty() && dialogs.log.last().startsWith("warn: "); }
    std::vector<QPushButton*> Groups() const {
        return {Button("GenOpenButton"),  Button("HydrOpenButton"),  Button("SoilOpenButton"),
                Button("SaltOpenButton"), Button("DrainOpenButton"), Button("CondOpenButton")};
    }
    // Which of the six group buttons are enabled, as "GHSMDC" with "-" for disabled ones.
    std::string GroupState() const {
        std::string s;
        const char* letters = "GHSMDC";
        int k = 0;
        for (QPushButton* b : Groups()) s += b->isEnabled() ? letters[k++] : (++k, '-');
        return s;
    }

    TestDialogs dialogs;
    std::unique_ptr<TMainForm> form;
    TempDir dir;
};

}  // namespace halovane::test
