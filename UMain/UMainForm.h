// The main window: the page frame with the Intro, Math, Figure, Input,
// Output and Graphs pages, and the Edit menu. The Input page (InputPage)
// and the Output and Graphs pages (ResultsPages) are built by their own
// classes; the window hosts them.
#pragma once

#include <QMainWindow>
#include <memory>

class QTabWidget;

namespace halovane {

class Dialogs;
class InputPage;
class ResultsPages;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The closing window shown instead of closing, and the drainage
    // explanation window of the drainage panel's Help.
    void SetCompanionWindows(QWidget* closeForm, QWidget* drainForm);
    // Shows the program's version record at the right of the menu bar.
    void ShowVersion(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildEditMenu();
    // The standard edit actions on the focused text control.
    void EditCopy();
    void EditCut();
    void EditDelete();
    void EditPaste();
    // The title bar: the input data file's name and whether the data differ
    // from it.
    void ShowTitle(const QString& file, bool modified);

    QTabWidget* PageControl;
    QWidget *IntroTab, *MathTab, *FigTab, *OutTab, *GraphTab;
    std::unique_ptr<ResultsPages> Results;
    InputPage* Input;
    QWidget* previousPage_ = nullptr;
    QWidget* closeForm_ = nullptr;
    Dialogs& dialogs_;
};

}  // namespace halovane
