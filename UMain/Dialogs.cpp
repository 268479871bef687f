#include "Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace halovane {

bool QtDialogs::Confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

Dialogs::Choice QtDialogs::SaveDiscardCancel(QWidget* parent, const QString& text) {
    const QMessageBox::StandardButton answer =
        QMessageBox::question(parent, QStringLiteral("Confirm"), text,
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save ? Choice::Save : answer == QMessageBox::Discard ? Choice::Discard : Choice::Cancel;
}

void QtDialogs::Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Information"), text);
}

void QtDialogs::Warn(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QStringLiteral("Warning"), text);
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString FilterSuffix(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString Dialogs::SaveFileNameOfType(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filters, QString& chosenFilter) {
    chosenFilter = filters.section(QStringLiteral(";;"), 0, 0);
    return SaveFileName(parent, caption, folder, filters, FilterSuffix(chosenFilter));
}

QString QtDialogs::SaveFileNameOfType(QWidget* parent, const QString& caption, const QString& folder,
                                      const QString& filters, QString& chosenFilter) {
    QFileDialog dialog(parent, caption, folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // A bare name gets the extension of the type selected when it is accepted.
    dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(FilterSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().first();
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter, const QString& defaultSuffix) {
    // The overwrite question is the caller's, with its own wording.
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

}  // namespace halovane
