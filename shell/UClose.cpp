#include "UClose.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

#include "UStaticPages.h"

namespace halovane {

namespace {

// Ends the event loop with status 0. Not QCoreApplication::quit(): on Qt 6 a
// quit first asks every top-level window to close, the main window refuses
// (its close shows this window), and the quit is cancelled.
void EndProgram() { QCoreApplication::exit(0); }

}  // namespace

TCloseForm::TCloseForm(QWidget* parent) : QWidget(parent, Qt::Window), onClosed(EndProgram) {
    setObjectName(QStringLiteral("CloseForm"));
    setWindowTitle(QStringLiteral("Close all"));
    setFont(ShellFont(11));

    CloseMemo = NewMemo(this, QStringLiteral("CloseMemo"), ShellText(QStringLiteral("close.txt")), 13, true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->addWidget(CloseMemo);

    // The design size, or larger when the contact lines need it.
    const QSize text = MemoFitSize(*CloseMemo);
    resize(std::max(263, text.width() + 32), std::max(153, text.height() + 16));
    move(448, 183);
}

void TCloseForm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed) onClosed();
}

}  // namespace halovane
