#include "UDrainForm.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

#include "UStaticPages.h"

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
    move(811, 94);
}

void TDrainForm::ShowExplanation() {
    show();
    raise();
    activateWindow();
}

}  // namespace halovane
