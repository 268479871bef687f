// Headings of the Input page grids: a heading over each column, in the
// grid's own header so that it stands over its column and stays in view
// while the rows scroll, and headings whose words wrap onto more lines when
// the column is narrower than the text.
#pragma once

#include <QHeaderView>
#include <QStringList>

class QTableWidget;

namespace halovane {

// A horizontal header whose texts wrap at word boundaries; it grows in
// height to hold the longest heading at the column widths of the moment.
class WrappingHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit WrappingHeader(QWidget* parent = nullptr);

    // Sets the height, the least column width and the grid's least width
    // from the headings; runs whenever the columns change.
    void FitHeight();

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};

// Shows `headings` in the header of `grid`, over columns 0, 1, ...; the
// words wrap where a column is narrow.
void ShowColumnHeadings(QTableWidget& grid, const QStringList& headings);

}  // namespace halovane
