#include "OutputGridModel.h"

#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QPalette>

namespace halovane {

OutputGridModel::OutputGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void OutputGridModel::SetCells(TableCells cells, const std::vector<std::string>& headings, int stopStep) {
    beginResetModel();
    cells_ = std::move(cells);
    source_ = nullptr;
    edits_.clear();
    rows_ = static_cast<int>(cells_.size());
    columns_ = cells_.empty() ? 0 : static_cast<int>(cells_[0].size());
    headings_.clear();
    for (const std::string& h : headings) headings_ << QString::fromStdString(h);
    stopStep_ = stopStep;
    endResetModel();
}

void OutputGridModel::SetSource(int rows, int columns, CellSource source, const std::vector<std::string>& headings,
                                int stopStep) {
    beginResetModel();
    cells_.clear();
    source_ = std::move(source);
    edits_.clear();
    rows_ = rows;
    columns_ = columns;
    headings_.clear();
    for (const std::string& h : headings) headings_ << QString::fromStdString(h);
    stopStep_ = stopStep;
    endResetModel();
}

const TableCells& OutputGridModel::Cells() const {
    if (source_) {
        TableCells cells(static_cast<size_t>(rows_), std::vector<std::string>(static_cast<size_t>(columns_)));
        for (int r = 0; r < rows_; ++r)
            for (int c = 0; c < columns_; ++c) cells[r][c] = Raw(r, c);
        cells_ = std::move(cells);
        source_ = nullptr;
        edits_.clear();
    }
    return cells_;
}

std::string OutputGridModel::Raw(int row, int column) const {
    if (!source_) return cells_[row][column];
    const auto edited = edits_.find({row, column});
    return edited != edits_.end() ? edited->second : source_(row, column);
}

QString OutputGridModel::Cell(int column, int row) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return QString();
    return QString::fromStdString(Raw(row, column));
}

QString OutputGridModel::Heading(int column) const {
    if (column >= 0 && column < headings_.size()) return headings_[column];
    return Cell(column, 0).trimmed();
}

QString OutputGridModel::LongestShown(int column) const {
    if (column < 0 || column >= ColumnCount()) return QString();
    std::string longest;
    for (int r = 1; r < rows_; ++r) {
        const std::string cell = Raw(r, column);
        if (cell.size() <= longest.size()) continue;
        const std::string shown = ShownCell(cell);
        if (shown.size() > longest.size()) longest = shown;
    }
    return QString::fromStdString(longest);
}

int OutputGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || rows_ == 0 ? 0 : RowCount() - 1;
}

int OutputGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount(); }

QVariant OutputGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int row = index.row() + 1;
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(ShownCell(Raw(row, index.column())));
        case Qt::EditRole: return Cell(index.column(), row);
        case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (NotComputed(row)) return QBrush(QColor(0xF4, 0xE0, 0xC8));
            if (index.column() == 0) return QApplication::palette().button();
            return QVariant();
        case Qt::ForegroundRole:
            if (NotComputed(row)) return QBrush(QColor(0x70, 0x70, 0x70));
            return QVariant();
        case Qt::ToolTipRole:
            if (NotComputed(row))
                return row == stopStep_ ? QStringLiteral("The calculations stopped in this time step")
                                        : QStringLiteral("Not computed: the calculations stopped in time step %1")
                                              .arg(stopStep_);
            return QVariant();
        default: return QVariant();
    }
}

bool OutputGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == 0) return false;
    if (source_)
        edits_[{index.row() + 1, index.column()}] = value.toString().toStdString();
    else
        cells_[static_cast<size_t>(index.row()) + 1][static_cast<size_t>(index.column())] = value.toString().toStdString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant OutputGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Horizontal) return Heading(section);
    return Cell(0, section + 1);
}

Qt::ItemFlags OutputGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != 0) f |= Qt::ItemIsEditable;
    return f;
}

QTableView* NewReportGrid(QWidget* parent, const char* objectName, OutputGridModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(objectName));
    grid->setModel(model);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setWordWrap(false);
    return grid;
}

}  // namespace halovane
