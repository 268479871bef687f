#include "UStringGrid.h"

#include <QContextMenuEvent>
#include <QMenu>

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>

namespace halovane {

namespace {

bool IsBlockText(const QString& text) {
    return text.contains('\t') || text.contains('\r') || text.contains('\n');
}

}  // namespace

// The grid's cells as Qt's views read them. Changes of many cells at once
// (a paste, the serial numbers of a century of days) are told to the view
// as one changed block, once control returns to the event loop; the texts
// themselves are read from the cells at once.
class StringGridModel : public QAbstractTableModel {
public:
    StringGridModel(int columns, int rows, int fixedColumns, int fixedRows, QObject* parent)
        : QAbstractTableModel(parent), rows_(std::max(rows, 0)), columns_(std::max(columns, 0)),
          fixedColumns_(fixedColumns), fixedRows_(fixedRows) {}

    GridCells cells;
    QStringList columnHeadings, rowHeadings;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : columns_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return QVariant();
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole: return QString::fromStdString(CellText(cells, index.column(), index.row()));
            case Qt::BackgroundRole:
                if (IsFixed(index.column(), index.row())) return QApplication::palette().button();
                return QVariant();
            default: return QVariant();
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        if (IsFixed(index.column(), index.row())) return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
        if (orientation == Qt::Vertical)
            return section < rowHeadings.size() ? rowHeadings[section] : QString::number(section + 1);
        // The column's heading over the texts of the heading rows.
        QStringList lines;
        if (section < columnHeadings.size() && !columnHeadings[section].isEmpty()) lines << columnHeadings[section];
        for (int r = 0; r < fixedRows_; ++r)
            if (const std::string& text = CellText(cells, section, r); !text.empty())
                lines << QString::fromStdString(text);
        return lines.join('\n');
    }

    // A cell's text changed.
    void Changed(int column, int row) { ChangedBlock(column, row, column, row); }
    void ChangedBlock(int left, int top, int right, int bottom) {
        if (top < fixedRows_) emit headerDataChanged(Qt::Horizontal, left, right);
        if (left >= columns_ || top >= rows_) return;
        if (!pending_) {
            pending_ = true;
            dirty_ = {left, top, right, bottom};
            QMetaObject::invokeMethod(this, [this] { Flush(); }, Qt::QueuedConnection);
            return;
        }
        dirty_ = {std::min(dirty_[0], left), std::min(dirty_[1], top), std::max(dirty_[2], right),
                  std::max(dirty_[3], bottom)};
    }

    void SetRowCount(int rows) {
        rows = std::max(rows, 0);
        if (rows > rows_) {
            beginInsertRows(QModelIndex(), rows_, rows - 1);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows(QModelIndex(), rows, rows_ - 1);
            rows_ = rows;
            endRemoveRows();
        }
    }

    void SetColumnCount(int columns) {
        columns = std::max(columns, 0);
        if (columns > columns_) {
            beginInsertColumns(QModelIndex(), columns_, columns - 1);
            columns_ = columns;
            endInsertColumns();
        } else if (columns < columns_) {
            beginRemoveColumns(QModelIndex(), columns, columns_ - 1);
            columns_ = columns;
            endRemoveColumns();
        }
    }

    void HeadingsChanged() {
        if (columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
        if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }

private:
    bool IsFixed(int column, int row) const { return column < fixedColumns_ || row < fixedRows_; }

    void Flush() {
        pending_ = false;
        const int right = std::min(dirty_[2], columns_ - 1), bottom = std::min(dirty_[3], rows_ - 1);
        if (dirty_[0] > right || dirty_[1] > bottom) return;
        emit dataChanged(index(dirty_[1], dirty_[0]), index(bottom, right), {Qt::DisplayRole, Qt::EditRole});
    }

    int rows_, columns_;
    int fixedColumns_, fixedRows_;
    bool pending_ = false;
    std::array<int, 4> dirty_{};  // left, top, right, bottom
};

namespace {

// The cell editor: a line editor that hands a pasted block with tabs or
// line ends to the grid whole, instead of flattening it to one line.
class CellEditor : public QLineEdit {
public:
    CellEditor(QWidget* parent, TStringGrid& grid, int column, int row, int session)
        : QLineEdit(parent), grid_(grid), column_(column), row_(row) {
        setFrame(false);
        connect(this, &QLineEdit::textEdited, this, [this, session](const QString& text) {
            grid_.DeliverEdit(column_, row_, text, session);
        });
    }

    // The one paste of a cell editor, whether from Ctrl+V, the Edit menu
    // or the context menu: it replaces the cell's text; a block fills the
    // cells from here on.
    void PasteReplacing() {
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
    }

protected:
    bool event(QEvent* event) override {
        // Undo and Redo go to the panel, which takes back whole edits.
        if (event->type() == QEvent::ShortcutOverride && TStringGrid::IsUndoKey(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        return QLineEdit::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (TStringGrid::IsUndoKey(event)) {
            event->ignore();
            return;
        }
        if (event->matches(QKeySequence::Paste)) {
            PasteReplacing();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        QMenu* menu = createStandardContextMenu();
        // The menu's Paste: named "edit-paste", or shown with Ctrl+V.
        const QString key = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions())
            if (action->objectName() == QLatin1String("edit-paste") || action->text().endsWith('\t' + key)) {
                disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this, [this] { PasteReplacing(); });
            }
        menu->exec(event->globalPos());
        delete menu;
    }

private:
    TStringGrid& grid_;
    int column_, row_;
};

class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return new CellEditor(parent, grid_, index.column(), index.row(), ++sessions_);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // The user's own typing is in the cell already: the editor keeps its
        // cursor. A cell changed otherwise shows its new text.
        auto* edit = static_cast<QLineEdit*>(editor);
        const QString text = grid_.Cell(index.column(), index.row());
        if (edit->text() != text) edit->setText(text);
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {
        // The cells were updated while typing.
    }

private:
    TStringGrid& grid_;
    mutable int sessions_ = 0;  // editors opened, each one typing session
};

}  // namespace

TStringGrid::TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent)
    : QTableView(parent), model_(new StringGridModel(columns, rows, fixedColumns, fixedRows, this)),
      fixedColumns_(fixedColumns), fixedRows_(fixedRows) {
    setModel(model_);
    setItemDelegate(new CellDelegate(*this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Rows of one height: a long series is laid out without measuring rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    if (fixedColumns_ > 0) verticalHeader()->hide();
    // The heading rows stand in the header.
    for (int r = 0; r < fixedRows_ && r < rows; ++r) setRowHidden(r, true);
}

QString TStringGrid::Cell(int column, int row) const { return QString::fromStdString(Text(column, row)); }

void TStringGrid::SetCell(int column, int row, const QString& text) { SetText(column, row, text.toStdString()); }

std::string TStringGrid::Text(int column, int row) const { return CellText(model_->cells, column, row); }

void TStringGrid::SetText(int column, int row, std::string text) {
    if (CellText(model_->cells, column, row) == text) return;
    if (recording_) Record(column, row, CellText(model_->cells, column, row), text);
    SetCellText(model_->cells, column, row, std::move(text));
    model_->Changed(column, row);
}

void TStringGrid::Record(int column, int row, const std::string& before, const std::string& after) {
    const auto [at, added] = pending_.cells.try_emplace({column, row}, before, after);
    if (!added) at->second.second = after;
}

void TStringGrid::BeginChange(int typing) {
    if (recording_++ > 0) return;
    pending_ = Change{};
    pending_.rowsBefore = RowCount();
    pending_.typing = typing;
}

void TStringGrid::EndChange() {
    if (--recording_ > 0) return;
    pending_.rowsAfter = RowCount();
    for (auto at = pending_.cells.begin(); at != pending_.cells.end();)
        at = at->second.first == at->second.second ? pending_.cells.erase(at) : std::next(at);
    if ((!pending_.cells.empty() || pending_.rowsBefore != pending_.rowsAfter) && onChange) onChange(pending_);
}

void TStringGrid::Apply(const Change& change, bool after) {
    const int rows = after ? change.rowsAfter : change.rowsBefore;
    SetRowCount(rows);
    for (const auto& [cell, texts] : change.cells)
        if (cell.second < rows) SetText(cell.first, cell.second, after ? texts.second : texts.first);
    if (fixedColumns_ > 0 && fixedRows_ > 0) NumberRows(rows - fixedRows_);
}

bool TStringGrid::IsUndoKey(const QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) return true;
    const auto key = event->keyCombination();
    return key == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

void TStringGrid::NumberRows(int count) {
    if (count < 1) return;
    halovane::NumberRows(model_->cells, count);
    model_->ChangedBlock(0, 1, 0, count);
}

std::vector<std::vector<std::string>> TStringGrid::Rows(int rows, int columns) const {
    return CellRows(model_->cells, rows, columns);
}

int TStringGrid::RowCount() const { return model_->rowCount(); }
int TStringGrid::ColCount() const { return model_->columnCount(); }

void TStringGrid::ClearEntries() {
    const int rows = RowCount();
    SetRowCount(fixedRows_);
    SetRowCount(rows);
    model_->cells.numbered = 0;
}

void TStringGrid::SetRowCount(int rows) {
    const int before = RowCount();
    // Rows a change cuts off come back with its undo.
    if (recording_)
        for (int r = std::max(rows, 0); r < before; ++r)
            for (int c = 0; c < ColCount(); ++c)
                if (std::string text = Text(c, r); !text.empty()) Record(c, r, text, std::string());
    model_->SetRowCount(rows);
    if (rows < before) DropRows(model_->cells, rows);
    for (int r = before; r < fixedRows_ && r < rows; ++r) setRowHidden(r, true);
}

void TStringGrid::SetColCount(int columns) { model_->SetColumnCount(columns); }

void TStringGrid::SetColumnHeadings(const QStringList& headings) {
    model_->columnHeadings = headings;
    model_->HeadingsChanged();
}

void TStringGrid::SetRowHeadings(const QStringList& headings) {
    model_->rowHeadings = headings;
    model_->HeadingsChanged();
}

void TStringGrid::setCurrentCell(int row, int column) { setCurrentIndex(model_->index(row, column)); }

void TStringGrid::SelectCells(int column, int row, int lastColumn, int lastRow) {
    selectionModel()->select(QItemSelection(model_->index(row, column), model_->index(lastRow, lastColumn)),
                             QItemSelectionModel::Select);
}

void TStringGrid::DeliverEdit(int column, int row, const QString& text, int typing) {
    BeginChange(typing);
    SetCell(column, row, text);
    if (onEditText) onEditText(column, row, text);
    EndChange();
    emit Edited();
}

void TStringGrid::DeliverPaste(int column, int row, const QString& text) {
    if (IsBlockText(text) && onPaste) {
        BeginChange();
        onPaste(column, row, text);
        EndChange();
        emit Edited();
    } else
        DeliverEdit(column, row, IsBlockText(text) ? text : text.trimmed());
}

bool TStringGrid::PasteIntoEditor(QWidget* focused) {
    auto* editor = dynamic_cast<CellEditor*>(focused);
    if (!editor) return false;
    editor->PasteReplacing();
    return true;
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
    BeginChange();
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            for (int c = range.left(); c <= range.right(); ++c)
                if (!IsFixed(c, r)) DeliverEdit(c, r, QString());
    EndChange();
}

bool TStringGrid::SelectedBlock(int& left, int& top, int& right, int& bottom) const {
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return false;
    const QItemSelectionRange& range = selection.first();
    left = range.left(), top = range.top(), right = range.right(), bottom = range.bottom();
    return true;
}

QString TStringGrid::SelectionText() const {
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!SelectedBlock(left, top, right, bottom)) return QString();
    QStringList rows;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c) cells << Cell(c, r);
        rows << cells.join('\t');
    }
    return rows.join("\r\n");
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    if (IsUndoKey(event)) {
        event->ignore();
        return;
    }
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
        if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
            DeleteSelection();
            return;
        }
        // Ctrl+Tab, Ctrl+Shift+Tab and Esc leave the grid (Tab moves between its cells).
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        if ((ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) ||
            event->key() == Qt::Key_Escape) {
            const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
            QWidget::focusNextPrevChild(!back);
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

QModelIndex TStringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action != MoveNext && action != MovePrevious) return QTableView::moveCursor(action, modifiers);
    // Tab and Shift+Tab: the next or previous editable cell, row after row.
    const int columns = ColCount(), rows = RowCount();
    if (columns <= fixedColumns_ || rows <= fixedRows_) return currentIndex();
    int column = currentColumn(), row = currentRow();
    if (column < fixedColumns_ || row < fixedRows_) return model_->index(fixedRows_, fixedColumns_);
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
    return model_->index(row, column);
}

void TStringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    // Enter ends the edit and moves to the cell below, as in a spreadsheet.
    // On the last row it moves to the top of the next column, so that the
    // next value typed never lands silently on the value just entered; on
    // the last cell it stays, with a beep.
    if (hint != QAbstractItemDelegate::SubmitModelCache) return;
    if (currentRow() + 1 < RowCount())
        setCurrentCell(currentRow() + 1, currentColumn());
    else if (currentColumn() + 1 < ColCount())
        setCurrentCell(fixedRows_, currentColumn() + 1);
    else
        QApplication::beep();
}

}  // namespace halovane
