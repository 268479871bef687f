#include "UDrainForm.h"

#include <QPlainTextEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "UStaticPages.h"
#include "WindowPlacement.h"

namespace halovane {

TDrainForm::TDrainForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DrainForm"));
    setWindowTitle(QStringLiteral("Explanation subsurface drainage"));
    setFont(ShellFont(11));
    setWindowModality(Qt::NonModal);

    DrainMemo = NewMemo(this, QStringLiteral("DrainMemo"), ShellText(QStringLiteral("drainage.txt")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(DrainMemo);

    // The design size, made larger where the fonts of this desktop need more
    // room to show the explanation without folded lines.
    const QSize text = MemoFitSize(*DrainMemo);
    resize(std::max(426, text.width() + 16), std::max(418, text.height() + 16));
    // Where the design puts it, on the screen; over the main window when
    // shown (showEvent).
    PlaceOnScreen(*this, QRect(QPoint(811, 94), size()));
}

void TDrainForm::ShowExplanation() {
    show();
    raise();
    activateWindow();
}

void TDrainForm::showEvent(QShowEvent* event) {
    // Over the main window, wherever that stands, and on its screen.
    if (const QWidget* main = MainWindow(); main && main->isVisible() && !event->spontaneous()) PlaceOver(*this, *main);
    QWidget::showEvent(event);
}

}  // namespace halovane
