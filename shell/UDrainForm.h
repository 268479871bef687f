// The window that explains the reaction factors of a subsurface drainage
// system. It exists from start to exit, hidden until the drainage panel asks
// for it, and never blocks the main window.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QShowEvent;

namespace halovane {

class TDrainForm : public QWidget {
    Q_OBJECT

public:
    explicit TDrainForm(QWidget* parent = nullptr);

    QPlainTextEdit* DrainMemo = nullptr;

public slots:
    // Make the window visible and bring it to the front (non-modal).
    void ShowExplanation();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace halovane
