// Small builders shared by the data panels of the Input page.
#pragma once

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace halovane::panel {

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

}  // namespace halovane::panel
