// A grid of text cells addressed by (column, row) from the top-left corner,
// like a spreadsheet: fixed heading rows and columns are ordinary cells that
// cannot be edited. The grid is a view over its cells (GridCells), so a
// century of daily steps costs no more than the texts it holds. Rows cut
// off when the grid shrinks lose their texts: rows added later start empty.
// The
// heading row (row 0 of a grid with a fixed row) is shown in the grid's
// header under the column's heading, so that it stays in view while the
// rows scroll.
// Every change of a cell's text in its editor is reported through
// onEditText. A block pasted into a cell (in its editor or with Ctrl+V on
// the selected cell) goes whole, tabs and line ends included, to onPaste,
// which decides what the cells get. A single value pasted replaces the
// cell's text. Tab and Shift+Tab move between the editable cells, row after
// row; Enter ends an edit and moves down (from the last row to the top of
// the next column).
#pragma once

#include <QStringList>
#include <QTableView>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "GridCells.h"

namespace halovane {

class StringGridModel;

class TStringGrid : public QTableView {
    Q_OBJECT
public:
    TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent = nullptr);

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    std::string Text(int column, int row) const;
    void SetText(int column, int row, std::string text);
    // The serial numbers "1" to "count" in column 0 of rows 1 to count.
    void NumberRows(int count);
    // The texts of rows 0..rows-1 and columns 0..columns-1, by [row][column].
    std::vector<std::vector<std::string>> Rows(int rows, int columns) const;

    // Empties every cell outside the fixed rows and columns.
    void ClearEntries();

    int RowCount() const;
    int ColCount() const;
    void SetRowCount(int rows);
    void SetColCount(int columns);

    // What the header shows over columns 0, 1, ... (above the heading row's
    // text) and beside rows 0, 1, ...
    void SetColumnHeadings(const QStringList& headings);
    void SetRowHeadings(const QStringList& headings);

    // The current cell and a selected block, by row and column.
    void setCurrentCell(int row, int column);
    int currentRow() const { return currentIndex().row(); }
    int currentColumn() const { return currentIndex().column(); }
    void SelectCells(int column, int row, int lastColumn, int lastRow);

    // Called with (column, row, text) on every change of a cell's text by
    // the user, after the cell holds the text.
    std::function<void(int, int, const QString&)> onEditText;
    // Called with (column, row, text) for a block pasted at that cell; the
    // cell itself is not changed before. Without it the block is an edit.
    std::function<void(int, int, const QString&)> onPaste;

    // A change the user made to the cells (an edit, a paste, a cut or a
    // deletion): the row count and the texts of the cells it changed,
    // before and after, so that it can be taken back and made again.
    struct Change {
        int rowsBefore = 0, rowsAfter = 0;
        int typing = 0;  // the cell editor whose typing made it (0: none)
        std::map<std::pair<int, int>, std::pair<std::string, std::string>> cells;  // (column, row): before, after
    };
    // Called with every change the user makes, once the cells hold it.
    std::function<void(const Change&)> onChange;
    // Puts the cells as they were before the change, or after it.
    void Apply(const Change& change, bool after);
    // Whether a key is Undo or Redo (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z): the
    // panel's edits are taken back as a whole, not by the focused box.
    static bool IsUndoKey(const QKeyEvent* event);

    // Delivers `text` to the cell as the user's edit; `typing` names the
    // cell editor it was typed in (0: not typed).
    void DeliverEdit(int column, int row, const QString& text, int typing = 0);
    // Delivers a pasted text at the cell: a block to onPaste, a single
    // value as the cell's new text.
    void DeliverPaste(int column, int row, const QString& text);
    // Pastes the clipboard into `focused` when it is a grid's open cell
    // editor, replacing its text as Ctrl+V there does; false otherwise.
    static bool PasteIntoEditor(QWidget* focused);
    // Pastes the clipboard into the current cell, as Ctrl+V does.
    void PasteIntoCurrentCell();
    // Copies the selected cells to the clipboard and empties them, as Ctrl+X does.
    void CutSelection();
    // Empties the selected editable cells, as Delete does.
    void DeleteSelection();
    // The selected cells as tab-separated rows, as Ctrl+C copies them.
    QString SelectionText() const;

signals:
    // The user changed cells: an edit, a paste, a cut or a deletion.
    void Edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool IsFixed(int column, int row) const { return column < fixedColumns_ || row < fixedRows_; }
    // The cell changes between the outermost BeginChange and EndChange
    // make one Change.
    void BeginChange(int typing = 0);
    void EndChange();
    void Record(int column, int row, const std::string& before, const std::string& after);
    // The selected block: left, top, right, bottom; false when nothing is selected.
    bool SelectedBlock(int& left, int& top, int& right, int& bottom) const;

    StringGridModel* model_;
    int fixedColumns_, fixedRows_;
    int recording_ = 0;
    Change pending_;
};

}  // namespace halovane
