#include "Dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

namespace halovane {

namespace {

// A message box that shows its text as written: file names and titles the
// user typed may hold '<' and '&', which Qt would otherwise take for markup.
QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton byDefault) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(byDefault);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

bool QtDialogs::Confirm(QWidget* parent, const QString& text) {
    return Ask(parent, QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

Dialogs::Choice QtDialogs::SaveDiscardCancel(QWidget* parent, const QString& text) {
    const QMessageBox::StandardButton answer =
        Ask(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save ? Choice::Save : answer == QMessageBox::Discard ? Choice::Discard : Choice::Cancel;
}

void QtDialogs::Inform(QWidget* parent, const QString& text) {
    Ask(parent, QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::Warn(QWidget* parent, const QString& text) {
    Ask(parent, QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtDialogs::Report(QWidget* parent, const QString& text, bool warning) {
    QDialog box(parent);
    box.setObjectName(QStringLiteral("ReportBox"));
    box.setWindowTitle(warning ? QStringLiteral("Warning") : QStringLiteral("Information"));
    auto* layout = new QVBoxLayout(&box);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(&box);
    const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    icon->setPixmap(box.style()
                        ->standardIcon(warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation,
                                       nullptr, &box)
                        .pixmap(size, size));
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* summary = new QLabel(text.section(QStringLiteral("\n\n"), 0, 0), &box);
    summary->setTextFormat(Qt::PlainText);
    summary->setWordWrap(true);
    top->addWidget(summary, 1);
    layout->addLayout(top);
    // One line per problem; a long list scrolls inside the box.
    auto* list = new QListWidget(&box);
    list->setObjectName(QStringLiteral("ReportList"));
    const QString rest = text.section(QStringLiteral("\n\n"), 1);
    for (const QString& line : rest.split('\n', Qt::SkipEmptyParts)) list->addItem(line);
    // Long lines wrap: the list scrolls one way only.
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setResizeMode(QListView::Adjust);
    list->setMinimumSize(560, 160);
    list->setHidden(list->count() == 0);
    layout->addWidget(list, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.resize(640, 360);
    box.exec();
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
