#include "OutputGridModel.h"

#include <QApplication>
#include <QPalette>

namespace halovane {

OutputGridModel::OutputGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void OutputGridModel::SetCells(TableCells cells) {
    beginResetModel();
    cells_ = std::move(cells);
    endResetModel();
}

QString OutputGridModel::Cell(int column, int row) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return QString();
    return QString::fromStdString(cells_[static_cast<size_t>(row)][static_cast<size_t>(column)]);
}

int OutputGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || cells_.empty() ? 0 : RowCount() - 1;
}

int OutputGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount(); }

QVariant OutputGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole) return Cell(index.column(), index.row() + 1);
    if (role == Qt::BackgroundRole && index.column() == 0) return QApplication::palette().button();
    return QVariant();
}

bool OutputGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == 0) return false;
    cells_[static_cast<size_t>(index.row()) + 1][static_cast<size_t>(index.column())] = value.toString().toStdString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant OutputGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return Cell(section, 0);
    return Cell(0, section + 1);
}

Qt::ItemFlags OutputGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != 0) f |= Qt::ItemIsEditable;
    return f;
}

}  // namespace halovane
