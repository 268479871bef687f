// The cells of the output grid. Row 0 (the headings) is shown as the
// column header so that it stays in view while the rows scroll; column 0
// (the step numbers) is a fixed column. The other cells can be edited, and
// the clipboard takes the cells as they stand.
#pragma once

#include <QAbstractTableModel>

#include "OutputTables.h"

namespace halovane {

class OutputGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OutputGridModel(QObject* parent = nullptr);

    void SetCells(TableCells cells);
    const TableCells& Cells() const { return cells_; }
    // Grid rows count the heading row: RowCount() = rowCount() + 1.
    int RowCount() const { return static_cast<int>(cells_.size()); }
    int ColumnCount() const { return cells_.empty() ? 0 : static_cast<int>(cells_[0].size()); }
    QString Cell(int column, int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TableCells cells_;
};

}  // namespace halovane
