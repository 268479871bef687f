#include "UGridHeadings.h"

#include <QRegularExpression>
#include <algorithm>

#include "UStringGrid.h"

namespace halovane {

WrappingHeader::WrappingHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    setTextElideMode(Qt::ElideNone);
    setSectionsClickable(false);
    setHighlightSections(false);
    // Read by the text-fit test: the words of a heading may take more lines.
    setProperty("wrapsWords", true);
    connect(this, &QHeaderView::sectionResized, this, &WrappingHeader::FitHeight);
    connect(this, &QHeaderView::sectionCountChanged, this, &WrappingHeader::FitHeight);
}

QSize WrappingHeader::sectionSizeFromContents(int logicalIndex) const {
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (!model()) return size;
    const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const int width = std::max(sectionSize(logicalIndex), 20) - 2 * margin;
    const QRect needed = fontMetrics().boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap | Qt::AlignCenter, text);
    size.setHeight(std::max(size.height(), needed.height() + 2 * margin + 2));
    return size;
}

void WrappingHeader::FitHeight() {
    // Every column at least as wide as the longest word of its heading, and
    // the grid wide enough for all columns.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    int word = 20;
    for (int k = 0; model() && k < count(); ++k)
        for (const QString& w : model()->headerData(k, orientation(), Qt::DisplayRole)
                                    .toString()
                                    .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            word = std::max(word, fontMetrics().horizontalAdvance(w) + 2 * margin + 2);
    if (word != minimumSectionSize()) setMinimumSectionSize(word);
    if (auto* grid = qobject_cast<QTableView*>(parentWidget())) {
        const QHeaderView* rows = grid->verticalHeader();
        const int width = (rows->isHidden() ? 0 : rows->sizeHint().width()) + count() * word + 2 * grid->frameWidth() +
                          (grid->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff ? 0 : grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
        if (width > grid->minimumWidth()) grid->setMinimumWidth(width);
    }
    int height = 0;
    for (int k = 0; k < count(); ++k)
        if (!isSectionHidden(k)) height = std::max(height, sectionSizeFromContents(k).height());
    if (height > 0 && height != minimumHeight()) setMinimumHeight(height);
    // A grid that does not scroll its rows grows by what the headings take.
    auto* grid = qobject_cast<QTableView*>(parentWidget());
    if (grid && grid->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
        int rows = 0;
        for (int r = 0; grid->model() && r < grid->model()->rowCount(); ++r)
            if (!grid->isRowHidden(r)) rows += grid->rowHeight(r);
        const int needed = std::max(height, sizeHint().height()) + rows + 2 * grid->frameWidth();
        if (needed > grid->minimumHeight()) grid->setMinimumHeight(needed);
    }
}

void ShowColumnHeadings(TStringGrid& grid, const QStringList& headings) {
    auto* header = new WrappingHeader(&grid);
    grid.setHorizontalHeader(header);
    header->setSectionResizeMode(QHeaderView::Stretch);
    grid.SetColumnHeadings(headings);
    header->show();
    // The heading row's texts are part of the headings.
    QObject::connect(grid.model(), &QAbstractItemModel::headerDataChanged, header,
                     [header](Qt::Orientation orientation) {
                         if (orientation == Qt::Horizontal) header->FitHeight();
                     });
    // Once the row labels are in place too.
    QMetaObject::invokeMethod(header, [header] { header->FitHeight(); }, Qt::QueuedConnection);
}

}  // namespace halovane
