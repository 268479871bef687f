// The cells of the output grid. Row 0 (the headings) is shown as the
// column header so that it stays in view while the rows scroll, with the
// longer headings of the table when it has them; column 0 (the step
// numbers) is a fixed column. The grid shows the numbers right-aligned
// without the blanks of their formats; the cells keep them, can be edited,
// and the clipboard takes the cells as they stand. The rows of the steps a
// stopped run did not compute are marked.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <QStringList>
#include <functional>
#include <map>
#include <utility>

#include "OutputTables.h"

namespace halovane {

class OutputGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OutputGridModel(QObject* parent = nullptr);

    // `headings`: what the header shows over each column (row 0 when empty
    // or short). `stopStep`: the step in which the run stopped (0: none);
    // from it on the rows are marked as not computed.
    void SetCells(TableCells cells, const std::vector<std::string>& headings = {}, int stopStep = 0);
    // The cell of a row (0: the headings) and column.
    using CellSource = std::function<std::string(int row, int column)>;
    // A table of `rows` rows (the heading row counted) whose cells `source`
    // makes when they are shown: a century of days is not stored as
    // millions of texts. Edited cells are kept beside it.
    void SetSource(int rows, int columns, CellSource source, const std::vector<std::string>& headings = {},
                   int stopStep = 0);
    // All cells, edits included (a table from a source is made in full).
    const TableCells& Cells() const;
    // Grid rows count the heading row: RowCount() = rowCount() + 1.
    int RowCount() const { return rows_; }
    int ColumnCount() const { return columns_; }
    QString Cell(int column, int row) const;
    // The header text of a column.
    QString Heading(int column) const;
    // The longest text the grid shows in a column, by characters (the rows
    // are not measured one by one: a table may hold a million cells).
    QString LongestShown(int column) const;
    int StopStep() const { return stopStep_; }
    bool NotComputed(int row) const { return stopStep_ > 0 && row >= stopStep_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // The text of a cell, of the source or stored.
    std::string Raw(int row, int column) const;

    mutable TableCells cells_;  // the cells, unless they come from source_
    mutable CellSource source_;
    mutable std::map<std::pair<int, int>, std::string> edits_;  // (row, column) of a table from a source
    int rows_ = 0, columns_ = 0;
    QStringList headings_;
    int stopStep_ = 0;
};

// A table of a report window over `model`: no row numbers, rows of 20
// pixels, headings to the left, a block of cells selected for copying.
QTableView* NewReportGrid(QWidget* parent, const char* objectName, OutputGridModel* model);

}  // namespace halovane
