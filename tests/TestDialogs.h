// Scripted dialogs for the window tests: file names and
// answers are taken from queues, and every box is recorded in order.
#pragma once

#include <QStringList>
#include <deque>
#include <ostream>
#include <functional>

#include "Dialogs.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace halovane::test {

class TestDialogs : public Dialogs {
public:
    // What the next dialogs return: a file name ("" = cancelled) or an answer.
    std::deque<QString> openNames, saveNames;
    // The type left selected in the next dialogs with several ("" or none
    // left = the first).
    std::deque<QString> saveTypes;
    std::deque<bool> answers;
    // Answers to Save / Discard / Cancel; none left: Discard.
    std::deque<Choice> choices;

    // Every box in the order shown: "inform: <text>", "warn: <text>", "confirm: <text>", "choose: <text>",
    // "open: <filter>", "save: <filter>".
    QStringList log;
    QStringList messages;  // the texts of Inform and Warn boxes
    QStringList warnings;  // the texts of Warn boxes only
    QString lastFolder;

    // Called at every question, before it is answered.
    std::function<void(const QString&)> onConfirm;

    bool Confirm(QWidget*, const QString& text) override {
        log << QStringLiteral("confirm: ") + text;
        if (onConfirm) onConfirm(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    Choice SaveDiscardCancel(QWidget*, const QString& text) override {
        log << QStringLiteral("choose: ") + text;
        if (choices.empty()) return Choice::Discard;
        const Choice choice = choices.front();
        choices.pop_front();
        return choice;
    }
    void Inform(QWidget*, const QString& text) override {
        log << QStringLiteral("inform: ") + text;
        messages << text;
    }
    void Warn(QWidget*, const QString& text) override {
        log << QStringLiteral("warn: ") + text;
        messages << text;
        warnings << text;
    }
    QString OpenFileName(QWidget*, const QString&, const QString& folder, const QString& filter) override {
        log << QStringLiteral("open: ") + filter;
        lastFolder = folder;
        return Next(openNames);
    }
    QString SaveFileName(QWidget*, const QString&, const QString& folder, const QString& filter,
                         const QString& defaultSuffix) override {
        log << QStringLiteral("save: ") + filter + QStringLiteral(" .") + defaultSuffix;
        lastFolder = folder;
        return Next(saveNames);
    }

    QString SaveFileNameOfType(QWidget* parent, const QString& caption, const QString& folder,
                               const QString& filters, QString& chosenFilter) override {
        chosenFilter = Next(saveTypes);
        if (chosenFilter.isEmpty()) chosenFilter = filters.section(QStringLiteral(";;"), 0, 0);
        return SaveFileName(parent, caption, folder, filters, FilterSuffix(chosenFilter));
    }

private:
    static QString Next(std::deque<QString>& names) {
        if (names.empty()) return QString();
        QString name = names.front();
        names.pop_front();
        return name;
    }
};

}  // namespace halovane::test
