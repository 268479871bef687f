// Whether every visible text of a window is shown whole: each label,
// button, radio button, group title, table heading and table cell is
// compared, in the widget's own font, with the room the widget gives it,
// and every widget with the room its parent gives it. Memo boxes scroll and
// are not measured.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTabBar>
#include <algorithm>

namespace halovane::test {

class TextFit {
public:
    // What does not fit, one line per fault, in `root` and its children.
    QStringList Check(QWidget& root) {
        faults_.clear();
        QApplication::processEvents();
        Walk(root);
        return faults_;
    }

private:
    static QString Name(const QWidget& w) {
        QString name = w.objectName();
        for (const QWidget* up = w.parentWidget(); up && name.isEmpty(); up = up->parentWidget())
            name = up->objectName() + QStringLiteral("/") + QString::fromLatin1(w.metaObject()->className());
        return name;
    }
    static int Widest(const QFontMetrics& fm, const QString& text) {
        int widest = 0;
        for (const QString& line : text.split(QLatin1Char('\n'))) widest = std::max(widest, fm.horizontalAdvance(line));
        return widest;
    }
    static int Lines(const QString& text) { return static_cast<int>(text.count(QLatin1Char('\n'))) + 1; }
    void Fault(const QWidget& w, const QString& text, int need, int room) {
        faults_ << QStringLiteral("%1: \"%2\" needs %3, has %4").arg(Name(w), text).arg(need).arg(room);
    }

    void Walk(QWidget& w) {
        if (!w.isVisible()) return;
        CheckInParent(w);
        CheckText(w);
        for (QObject* child : w.children())
            if (auto* cw = qobject_cast<QWidget*>(child); cw && !cw->isWindow()) Walk(*cw);
    }

    // A widget cut off by its parent (a scroll area's viewport scrolls its
    // content instead and is not a fault).
    void CheckInParent(QWidget& w) {
        QWidget* parent = w.parentWidget();
        if (!parent || w.isWindow()) return;
        if (auto* area = qobject_cast<QAbstractScrollArea*>(parent->parentWidget()); area && area->viewport() == parent)
            return;
        if (qobject_cast<QAbstractScrollArea*>(parent) && !qobject_cast<QAbstractItemView*>(parent)) return;
        if (qobject_cast<QTabBar*>(&w) || parent->inherits("QTabBar")) return;
        const QRect inside = parent->rect();
        if (!inside.contains(w.geometry()))
            faults_ << QStringLiteral("%1 at %2,%3 %4x%5 sticks out of %6 (%7x%8)")
                           .arg(Name(w))
                           .arg(w.x())
                           .arg(w.y())
                           .arg(w.width())
                           .arg(w.height())
                           .arg(Name(*parent))
                           .arg(parent->width())
                           .arg(parent->height());
    }

    void CheckText(QWidget& w) {
        const QFontMetrics fm(w.font());
        QStyle* style = w.style();
        if (auto* label = qobject_cast<QLabel*>(&w)) {
            const QString text = label->text();
            if (text.isEmpty() || label->textFormat() == Qt::RichText || label->wordWrap()) return;
            const QRect room = label->contentsRect();
            const int margin = 2 * label->margin() + label->indent() * 0;
            if (Widest(fm, text) + margin > room.width()) Fault(w, text, Widest(fm, text), room.width());
            if (Lines(text) * fm.lineSpacing() - fm.leading() > room.height() + 1)
                Fault(w, text, Lines(text) * fm.lineSpacing(), room.height());
            return;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(&w)) {
            const int need = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &w) +
                             style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &w) +
                             fm.horizontalAdvance(radio->text());
            if (need > w.width()) Fault(w, radio->text(), need, w.width());
            if (fm.height() > w.height()) Fault(w, radio->text(), fm.height(), w.height());
            return;
        }
        if (auto* check = qobject_cast<QCheckBox*>(&w)) {
            const int need = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &w) +
                             style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &w) +
                             fm.horizontalAdvance(check->text());
            if (need > w.width()) Fault(w, check->text(), need, w.width());
            return;
        }
        if (auto* button = qobject_cast<QPushButton*>(&w)) {
            // The text inside the button's contents, as the style lays it out.
            const QString text = button->text().remove(QLatin1Char('&'));
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            if (Widest(fm, text) > contents.width()) Fault(w, text, Widest(fm, text), contents.width());
            if (fm.height() > contents.height()) Fault(w, text, fm.height(), contents.height());
            return;
        }
        if (auto* group = qobject_cast<QGroupBox*>(&w)) {
            const int need = fm.horizontalAdvance(group->title()) + 16;
            if (need > w.width()) Fault(w, group->title(), need, w.width());
            return;
        }
        if (auto* combo = qobject_cast<QComboBox*>(&w)) {
            const int arrow = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &w);
            for (int k = 0; k < combo->count(); ++k) {
                const int need = fm.horizontalAdvance(combo->itemText(k)) + arrow + 8;
                if (need > w.width()) Fault(w, combo->itemText(k), need, w.width());
            }
            return;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(&w)) {
            if (qobject_cast<QAbstractItemView*>(w.parentWidget() ? w.parentWidget()->parentWidget() : nullptr)) return;
            const int need = fm.horizontalAdvance(edit->text()) + 8;
            if (need > w.width()) Fault(w, edit->text(), need, w.width());
            return;
        }
        if (auto* table = qobject_cast<QTableView*>(&w)) CheckTable(*table);
    }

    void CheckTable(QTableView& table) {
        QAbstractItemModel* model = table.model();
        if (!model) return;
        const QFontMetrics cells(table.font());
        const int cellMargin = 2 * (table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 1);
        QHeaderView* header = table.horizontalHeader();
        const QFontMetrics heads(header->font());
        const int headMargin = 2 * table.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const int rows = std::min(model->rowCount(), 400);
        // A grid that cannot scroll its rows shows them all.
        if (table.verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
            for (int r = model->rowCount() - 1; r >= 0; --r) {
                if (table.isRowHidden(r)) continue;
                const int bottom = table.rowViewportPosition(r) + table.rowHeight(r);
                if (bottom > table.viewport()->height() + 1)
                    Fault(table, QStringLiteral("row %1").arg(r + 1), bottom, table.viewport()->height());
                break;
            }
        for (int c = 0; c < model->columnCount(); ++c) {
            if (table.isColumnHidden(c)) continue;
            const int width = table.columnWidth(c);
            if (header->isVisible() && header->property("wrapsWords").toBool()) {
                // Words may take more lines: each word within the column, all
                // lines within the header.
                const QString heading = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
                for (const QString& word : heading.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                    if (heads.horizontalAdvance(word) + headMargin > width)
                        Fault(table, QStringLiteral("heading word ") + word, heads.horizontalAdvance(word) + headMargin, width);
                const QRect wrapped = heads.boundingRect(QRect(0, 0, width - headMargin, 10000),
                                                         Qt::TextWordWrap | Qt::AlignCenter, heading);
                if (wrapped.height() > header->height())
                    Fault(table, QStringLiteral("heading ") + heading, wrapped.height(), header->height());
            } else if (header->isVisible()) {
                const QString heading = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
                if (Widest(heads, heading) + headMargin > width)
                    Fault(table, QStringLiteral("heading ") + heading, Widest(heads, heading) + headMargin, width);
                if (Lines(heading) * heads.lineSpacing() > header->height())
                    Fault(table, QStringLiteral("heading ") + heading, Lines(heading) * heads.lineSpacing(),
                          header->height());
            }
            for (int r = 0; r < rows; ++r) {
                if (table.isRowHidden(r)) continue;
                const QString text = model->data(model->index(r, c), Qt::DisplayRole).toString();
                if (text.isEmpty()) continue;
                const int need = Widest(cells, text) + cellMargin;
                if (need > width) {
                    Fault(table, QStringLiteral("cell %1,%2 ").arg(c).arg(r + 1) + text, need, width);
                    break;  // one fault per column is enough
                }
                if (Lines(text) * cells.lineSpacing() > table.rowHeight(r) + 1) {
                    Fault(table, QStringLiteral("cell %1,%2 ").arg(c).arg(r + 1) + text,
                          Lines(text) * cells.lineSpacing(), table.rowHeight(r));
                    break;
                }
            }
        }
    }

    QStringList faults_;
};

}  // namespace halovane::test
