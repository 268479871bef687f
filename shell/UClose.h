// The farewell window. The main window shows it instead of closing; closing
// this window ends the program, without saving or asking anything.
#pragma once

#include <QWidget>

#include <functional>

class QCloseEvent;
class QShowEvent;
class QPlainTextEdit;

namespace halovane {

class TCloseForm : public QWidget {
    Q_OBJECT

public:
    explicit TCloseForm(QWidget* parent = nullptr);

    QPlainTextEdit* CloseMemo = nullptr;

    // Run once the window has been closed. Ends the event loop with status 0,
    // and with it the program; tests put something harmless in its place.
    std::function<void()> onClosed;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

}  // namespace halovane
