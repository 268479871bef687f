#include "UStringGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace halovane {

namespace {

bool IsBlockText(const QString& text) {
    return text.contains('\t') || text.contains('\r') || text.contains('\n');
}

// The cell editor: a line editor that hands a pasted block with tabs or
// line ends to the grid whole, instead of flattening it to one line.
class CellEditor : public QLineEdit {
public:
    CellEditor(QWidget* parent, TStringGrid& grid, int column, int row)
        : QLineEdit(parent), grid_(grid), column_(column), row_(row) {
        setFrame(false);
        connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
            grid_.DeliverEdit(column_, row_, text);
        });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Paste)) {
            // A paste replaces the cell's text; a block fills the cells
            // from here on.
            const QString pasted = QApplication::clipboard()->text();
            if (IsBlockText(pasted)) {
                // Leave the editor without writing its own text back.
                QMetaObject::invokeMethod(&grid_, [grid = &grid_] { grid->setFocus(); }, Qt::QueuedConnection);
                clearFocus();
                grid_.DeliverPaste(column_, row_, pasted);
                return;
            }
            setText(pasted.trimmed());
            grid_.DeliverEdit(column_, row_, text());
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    TStringGrid& grid_;
    int column_, row_;
};

class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return new CellEditor(parent, grid_, index.column(), index.row());
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QLineEdit*>(editor)->setText(grid_.Cell(index.column(), index.row()));
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {
        // The cells were updated while typing.
    }

private:
    TStringGrid& grid_;
};

}  // namespace

TStringGrid::TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent)
    : QTableWidget(rows, columns, parent), fixedColumns_(fixedColumns), fixedRows_(fixedRows) {
    setItemDelegate(new CellDelegate(*this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    if (fixedRows_ > 0) horizontalHeader()->hide();
    if (fixedColumns_ > 0) verticalHeader()->hide();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) ShowCell(c, r);
}

QString TStringGrid::Cell(int column, int row) const { return cells_.value(qMakePair(column, row)); }

void TStringGrid::SetCell(int column, int row, const QString& text) {
    if (text.isEmpty())
        cells_.remove(qMakePair(column, row));
    else
        cells_.insert(qMakePair(column, row), text);
    if (column < columnCount() && row < rowCount()) ShowCell(column, row);
}

void TStringGrid::ShowCell(int column, int row) {
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        if (IsFixed(column, row)) {
            it->setFlags(Qt::ItemIsEnabled);
            it->setBackground(palette().button());
        }
        setItem(row, column, it);
    }
    const QString text = Cell(column, row);
    if (it->text() != text) it->setText(text);
}

void TStringGrid::SetRowCount(int rows) {
    if (rows < 0) rows = 0;
    const int before = rowCount();
    setRowCount(rows);
    for (int r = before; r < rows; ++r)
        for (int c = 0; c < columnCount(); ++c) ShowCell(c, r);
}

void TStringGrid::SetColCount(int columns) {
    const int before = columnCount();
    setColumnCount(columns);
    for (int c = before; c < columns; ++c)
        for (int r = 0; r < rowCount(); ++r) ShowCell(c, r);
}

void TStringGrid::DeliverEdit(int column, int row, const QString& text) {
    SetCell(column, row, text);
    if (onEditText) onEditText(column, row, text);
}

void TStringGrid::DeliverPaste(int column, int row, const QString& text) {
    if (IsBlockText(text) && onPaste)
        onPaste(column, row, text);
    else
        DeliverEdit(column, row, IsBlockText(text) ? text : text.trimmed());
}

void TStringGrid::PasteIntoCurrentCell() {
    const int column = currentColumn(), row = currentRow();
    if (column < 0 || row < 0 || IsFixed(column, row)) return;
    DeliverPaste(column, row, QApplication::clipboard()->text());
}

void TStringGrid::CutSelection() {
    QApplication::clipboard()->setText(SelectionText());
    DeleteSelection();
}

void TStringGrid::DeleteSelection() {
    for (const QTableWidgetSelectionRange& range : selectedRanges())
        for (int r = range.topRow(); r <= range.bottomRow(); ++r)
            for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
                if (!IsFixed(c, r)) DeliverEdit(c, r, QString());
}

QString TStringGrid::SelectionText() const {
    QStringList rows;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) return QString();
    const QTableWidgetSelectionRange& range = ranges.first();
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
        QStringList cells;
        for (int c = range.leftColumn(); c <= range.rightColumn(); ++c) cells << Cell(c, r);
        rows << cells.join('\t');
    }
    return rows.join("\r\n");
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        if (event->matches(QKeySequence::Paste)) {
            PasteIntoCurrentCell();
            return;
        }
        if (event->matches(QKeySequence::Copy)) {
            QApplication::clipboard()->setText(SelectionText());
            return;
        }
        if (event->matches(QKeySequence::Cut)) {
            CutSelection();
            return;
        }
        if (event->key() == Qt::Key_Delete) {
            DeleteSelection();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

QModelIndex TStringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action != MoveNext && action != MovePrevious) return QTableWidget::moveCursor(action, modifiers);
    // Tab and Shift+Tab: the next or previous editable cell, row after row.
    const int columns = columnCount(), rows = rowCount();
    if (columns <= fixedColumns_ || rows <= fixedRows_) return currentIndex();
    int column = currentColumn(), row = currentRow();
    if (column < fixedColumns_ || row < fixedRows_) return model()->index(fixedRows_, fixedColumns_);
    if (action == MoveNext) {
        if (++column >= columns) {
            column = fixedColumns_;
            if (++row >= rows) row = fixedRows_;
        }
    } else {
        if (--column < fixedColumns_) {
            column = columns - 1;
            if (--row < fixedRows_) row = rows - 1;
        }
    }
    return model()->index(row, column);
}

void TStringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableWidget::closeEditor(editor, hint);
    // Enter ends the edit and moves to the cell below, as in a spreadsheet.
    if (hint == QAbstractItemDelegate::SubmitModelCache && currentRow() + 1 < rowCount())
        setCurrentCell(currentRow() + 1, currentColumn());
}

}  // namespace halovane
