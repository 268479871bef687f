// Headings of the Input page grids: a heading over each column, with the
// units of the grid's heading row under it, in the grid's own header so that
// it stands over its column and stays in view while the rows scroll, and
// headings whose words wrap onto more lines when the column is narrower than
// the text.
#pragma once

#include <QHeaderView>
#include <QStringList>



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

class TStringGrid;

// Shows `headings` in the header of `grid`, over columns 0, 1, ..., above
// the texts of the grid's heading rows; the words wrap where a column is
// narrow.
void ShowColumnHeadings(TStringGrid& grid, const QStringList& headings);

}  // namespace halovane
