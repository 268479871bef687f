// Small builders shared by the data panels of the Input page.
#pragma once

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "InputRules.h"

namespace halovane::panel {

// What a comma in a typed or pasted number means under the system's number
// format.
inline rules::Comma SystemComma() {
    const QLocale system = QLocale::system();
    return rules::CommaOfLocale(system.decimalPoint().toStdString(), system.groupSeparator().toStdString());
}

inline QLabel* Label(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

inline QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

// A panel with a title and a row of Save and Cancel buttons at the bottom;
// the content goes into the returned grid layout.
inline QGridLayout* Frame(QFrame* panel, const char* titleName, const QString& title) {
    auto* layout = new QGridLayout(panel);
    auto* heading = Label(titleName, title, panel);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading, 0, 0, 1, -1);
    return layout;
}

struct SaveCancel {
    QPushButton* save;
    QPushButton* quit;
};

// The Save and Cancel buttons of a panel, named <prefix>SaveButton and
// <prefix>QuitButton, right-aligned in row `row` of the panel's layout, with
// an optional button at the left.
inline SaveCancel SaveCancelRow(QGridLayout* layout, int row, QWidget* panel, const QString& prefix,
                                QPushButton* left = nullptr) {
    auto* buttons = new QHBoxLayout;
    if (left) buttons->addWidget(left);
    buttons->addStretch(1);
    SaveCancel sc{Button(qPrintable(prefix + "SaveButton"), "Save", panel),
                  Button(qPrintable(prefix + "QuitButton"), "Cancel", panel)};
    // Every panel can be finished from the keyboard.
    sc.save->setShortcut(QKeySequence(QStringLiteral("Alt+S")));
    sc.save->setToolTip(QStringLiteral("Save (Alt+S)"));
    sc.quit->setShortcut(QKeySequence(QStringLiteral("Alt+C")));
    sc.quit->setToolTip(QStringLiteral("Cancel (Alt+C)"));
    buttons->addWidget(sc.save);
    buttons->addWidget(sc.quit);
    layout->addLayout(buttons, row, 0, 1, -1);
    return sc;
}

}  // namespace halovane::panel
