// The one seam between the window code and modal boxes: message boxes,
// questions and file dialogs. The program uses QtDialogs; tests supply their
// own answers and record every message in order.
#pragma once

#include <QString>

class QWidget;

namespace halovane {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The answers to changes that were not saved.
    enum class Choice { Save, Discard, Cancel };
    // A confirmation with Yes and No; true only when Yes is pressed.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // An information box with OK.
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    // A question with Save, Discard and Cancel. Without a box of its own:
    // Confirm, with Yes as Save and No as Discard.
    virtual Choice SaveDiscardCancel(QWidget* parent, const QString& text) {
        return Confirm(parent, text) ? Choice::Save : Choice::Discard;
    }
    // A warning box with OK, for an entry or a file that was refused.
    virtual void Warn(QWidget* parent, const QString& text) { Inform(parent, text); }
    // A report of many lines (the problems of a data set): its first
    // paragraph as a summary over the other lines, which scroll. A warning
    // or, with `warning` false, information. Without a box of its own: Warn
    // or Inform.
    virtual void Report(QWidget* parent, const QString& text, bool warning) {
        warning ? Warn(parent, text) : Inform(parent, text);
    }
    // File dialogs; an empty result means the user cancelled. `filter` uses
    // Qt's form, for example "input files (*.inp)".
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter, const QString& defaultSuffix) = 0;
    // A save dialog with several types, such as "A (*.a);;B (*.b)":
    // `chosenFilter` receives the one the user left selected. The default
    // suffix follows the selected type. Without a dialog of its own, the
    // first type.
    virtual QString SaveFileNameOfType(QWidget* parent, const QString& caption, const QString& folder,
                                       const QString& filters, QString& chosenFilter);
};

// Real modal boxes.
class QtDialogs : public Dialogs {
public:
    bool Confirm(QWidget* parent, const QString& text) override;
    void Inform(QWidget* parent, const QString& text) override;
    void Warn(QWidget* parent, const QString& text) override;
    void Report(QWidget* parent, const QString& text, bool warning) override;
    Choice SaveDiscardCancel(QWidget* parent, const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override;
    QString SaveFileNameOfType(QWidget* parent, const QString& caption, const QString& folder,
                               const QString& filters, QString& chosenFilter) override;
};

// The extension of the first pattern of a filter: "png" for "PNG files (*.png)".
QString FilterSuffix(const QString& filter);

}  // namespace halovane
