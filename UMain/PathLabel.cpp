#include "PathLabel.h"

#include <QEvent>
#include <QLabel>

namespace halovane {

namespace {

const char* const PathProperty = "fullPath";

void Elide(QLabel& label) {
    const QString path = label.property(PathProperty).toString();
    label.setText(label.fontMetrics().elidedText(path, Qt::ElideMiddle, label.contentsRect().width()));
}

// Elides the path of its label again when the label changes its width.
class PathElider : public QObject {
public:
    explicit PathElider(QLabel& label) : QObject(&label) { label.installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) Elide(*static_cast<QLabel*>(watched));
        return false;
    }
};

}  // namespace

void ShowPath(QLabel& label, const QString& path) {
    if (!label.property(PathProperty).isValid()) {  // the label's first path
        new PathElider(label);
        // The label takes the width the row leaves it, whatever the path.
        label.setSizePolicy(QSizePolicy::Ignored, label.sizePolicy().verticalPolicy());
        label.setMinimumWidth(0);
        label.setTextFormat(Qt::PlainText);  // a folder may be named "<b>"
    }
    label.setProperty(PathProperty, path);
    label.setToolTip(path);
    Elide(label);
}

}  // namespace halovane
