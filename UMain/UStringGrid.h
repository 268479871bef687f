// A grid of text cells addressed by (column, row) from the top-left corner,
// like a spreadsheet: fixed heading rows and columns are ordinary cells that
// cannot be edited. Cells keep their text when the grid shrinks and show it
// again when it grows. Every change of a cell's text in its editor is
// reported through onEditText. A block pasted into a cell (in its editor or
// with Ctrl+V on the selected cell) goes whole, tabs and line ends included,
// to onPaste, which decides what the cells get. A single value pasted
// replaces the cell's text. Tab and Shift+Tab move between the editable
// cells, row after row; Enter ends an edit and moves down.
#pragma once

#include <QHash>
#include <QPair>
#include <QStringList>
#include <QTableWidget>
#include <functional>

namespace halovane {

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent = nullptr);

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    int RowCount() const { return rowCount(); }
    int ColCount() const { return columnCount(); }
    void SetRowCount(int rows);
    void SetColCount(int columns);

    // Called with (column, row, text) on every change of a cell's text by
    // the user, after the cell holds the text.
    std::function<void(int, int, const QString&)> onEditText;
    // Called with (column, row, text) for a block pasted at that cell; the
    // cell itself is not changed before. Without it the block is an edit.
    std::function<void(int, int, const QString&)> onPaste;

    // Delivers `text` to the cell as the user's edit.
    void DeliverEdit(int column, int row, const QString& text);
    // Delivers a pasted text at the cell: a block to onPaste, a single
    // value as the cell's new text.
    void DeliverPaste(int column, int row, const QString& text);
    // Pastes the clipboard into the current cell, as Ctrl+V does.
    void PasteIntoCurrentCell();
    // Copies the selected cells to the clipboard and empties them, as Ctrl+X does.
    void CutSelection();
    // Empties the selected editable cells, as Delete does.
    void DeleteSelection();
    // The selected cells as tab-separated rows, as Ctrl+C copies them.
    QString SelectionText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void ShowCell(int column, int row);
    bool IsFixed(int column, int row) const { return column < fixedColumns_ || row < fixedRows_; }

    QHash<QPair<int, int>, QString> cells_;
    int fixedColumns_, fixedRows_;
    bool updating_ = false;
};

}  // namespace halovane
