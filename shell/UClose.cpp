#include "UClose.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "UStaticPages.h"
#include "WindowPlacement.h"

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
    PlaceOnScreen(*this, QRect(QPoint(448, 183), size()));
}

void TCloseForm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed) onClosed();
}

void TCloseForm::showEvent(QShowEvent* event) {
    // Over the main window, wherever that stands, and on its screen.
    if (const QWidget* main = MainWindow(); main && main->isVisible() && !event->spontaneous()) PlaceOver(*this, *main);
    QWidget::showEvent(event);
}

}  // namespace halovane
