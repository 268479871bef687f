#include "WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace halovane {

QRect FitInside(const QRect& wanted, const QRect& available, const QMargins& frame) {
    const QRect room = available.marginsRemoved(frame);
    QRect r(wanted.topLeft(), wanted.size().boundedTo(room.size()));
    if (r.right() > room.right()) r.moveRight(room.right());
    if (r.bottom() > room.bottom()) r.moveBottom(room.bottom());
    if (r.left() < room.left()) r.moveLeft(room.left());
    if (r.top() < room.top()) r.moveTop(room.top());
    return r;
}

namespace {

QRect AvailableAt(const QPoint& point) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

void PlaceOnScreen(QWidget& window, const QRect& design) {
    window.setGeometry(FitInside(design, AvailableAt(design.center())));
}

void ShowOver(QWidget& window, const QWidget& owner, const QSize& design) {
    if (!window.isVisible()) {
        window.resize(design);
        PlaceOver(window, owner);
    }
    window.show();
    window.raise();
}

void PlaceOver(QWidget& window, const QWidget& owner) {
    const QRect over = owner.frameGeometry();
    QRect wanted(QPoint(0, 0), window.size());
    wanted.moveCenter(over.center());
    const QScreen* screen = owner.screen();
    const QRect available = screen ? screen->availableGeometry() : AvailableAt(over.center());
    window.setGeometry(FitInside(wanted, available));
}

QWidget* MainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("MainForm")) return w;
    return nullptr;
}

void ScrollFixedPages(QTabWidget& frame) {
    for (int k = 0; k < frame.count(); ++k) {
        QWidget* page = frame.widget(k);
        QLayout* laid = page->layout();
        // A page that scrolls already.
        if (laid && laid->count() == 1 && qobject_cast<QScrollArea*>(laid->itemAt(0)->widget())) continue;
        const QList<QWidget*> children = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        if (children.isEmpty()) continue;
        auto* content = new QWidget;
        content->setObjectName(page->objectName() + QStringLiteral("Content"));
        if (laid) {
            // The layout moves over with the controls it places.
            content->setLayout(laid);
        }
        // Controls at fixed positions: the design size is that of every
        // control, shown or not, with the margin the page leaves at its left
        // and top.
        QRect used;
        for (QWidget* child : children) {
            if (child->parentWidget() != page) continue;
            used |= child->geometry();
            const bool hidden = child->isHidden();
            const QRect geometry = child->geometry();
            child->setParent(content);
            child->setGeometry(geometry);
            child->setHidden(hidden);
        }
        if (!laid) content->setMinimumSize(used.right() + std::max(8, used.left()), used.bottom() + std::max(8, used.top()));
        auto* scroll = new QScrollArea(page);
        scroll->setObjectName(page->objectName() + QStringLiteral("Scroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(content);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
    }
}

}  // namespace halovane
