// The hydrological data panel and the paste of a block of cells copied from
// a spreadsheet, shared with the salinity grids.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <stdexcept>

#include "UMainForm.h"
#include "UPanelKit.h"
#include "UGridHeadings.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

QFrame* TMainForm::BuildHydrPanel(QWidget* parent) {
    auto* p = new QFrame(parent);
    p->setObjectName("HydrPanel");
    QGridLayout* g = Frame(p, "HydrLabel", "Hydrological data (mm per time step)");
    HydrGrid = new TStringGrid(4, 12, 1, 1, p);
    HydrGrid->setObjectName("HydrGrid");
    // The names stand over their own columns and stay in view.
    ShowColumnHeadings(*HydrGrid, {"", "Rainfall", "Irrigation", "Evaporation"});
    HydrGrid->verticalHeader()->setDefaultSectionSize(24);
    HydrGrid->setMinimumHeight(200);
    HydrGrid->onEditText = [this](int c, int r, const QString& t) { HydrGridSetEditText(c, r, t); };
    g->addWidget(HydrGrid, 2, 0, 1, -1);
    g->setRowStretch(2, 1);
    g->addWidget(Label("CommentLabel", "Data can be pasted here", p), 3, 0);
    const SaveCancel buttons = SaveCancelRow(g, 4, p, "Hydr");
    HydrSaveButton = buttons.save, HydrQuitButton = buttons.quit;
    connect(HydrSaveButton, &QPushButton::clicked, this, &TMainForm::HydrSaveButtonClick);
    connect(HydrQuitButton, &QPushButton::clicked, this, &TMainForm::HydrQuitButtonClick);
    return p;
}

void TMainForm::WriteSerialNumbers(TStringGrid& grid, int count) {
    for (int r = 1; r <= count; ++r) grid.SetCell(0, r, QString::number(r));
}

QString PastedLineEnds(const QString& text) {
    // Spreadsheets on some systems end their rows with a line feed alone;
    // every row of a pasted block ends with CR LF here.
    if (!text.contains('\n') && !text.contains('\r')) return text;
    QString lines = text;
    lines.replace("\r\n", "\n").replace('\r', '\n');
    return lines.replace("\n", "\r\n");
}

void TMainForm::HydrGridSetEditText(int column, int row, const QString& edited) {
    Page.HydrPasteMode = true;
    const QString text = PastedLineEnds(edited);
    if (text.contains('\t') || text.contains('\r')) {
        try {
            HandlePasteMultiCell(*HydrGrid, column, row, text);
        } catch (const std::exception&) {
            Message("There are not enough data to be pasted or the data are incompatible");
            return;
        }
    }
    for (int layers = 1; layers <= 3; ++layers) WriteSerialNumbers(*SaltGrid(layers), Input.NrTst);
}

void TMainForm::HandlePasteMultiCell(TStringGrid& grid, int startColumn, int startRow, const QString& text) {
    grid.SetCell(startColumn, startRow, QString());
    int column = startColumn, row = startRow, lineEnds = 0;
    const int L = text.size();
    for (int i = 0; i < L; ++i) {  // i is the position counted from 0; the text's own count is i + 1
        const QChar ch = text[i];
        if (ch == '\t') {
            ++column;
            if (i + 1 < L) grid.SetCell(column, row, QString());
        } else if (ch == '\r') {
            ++lineEnds;
            ++row;
            column = startColumn;
            ++i;  // the line feed after the carriage return
            if (i + 1 < L) grid.SetCell(column, row, QString());
        } else if (ch == ',' || ch == '-' || ch == '.' || (ch >= '0' && ch <= '9')) {
            grid.SetCell(column, row, grid.Cell(column, row) + ch);
        }
    }
    if (Page.HydrPasteMode) {
        // A block must end at least one row with a line end, or the grid
        // would be left without rows.
        if (lineEnds + startRow - 1 < 1) throw std::runtime_error("no complete row");
        grid.SetColCount(4);
        // Every row down to the last pasted one is a time step, also when
        // the paste starts below the first row.
        Input.NrTstHydr = lineEnds + startRow - 1;
        Input.NrTst = Input.NrTstHydr;
        grid.SetRowCount(Input.NrTstHydr + 1);
        NrTstEdit->setText(QString::number(Input.NrTstHydr));
        WriteSerialNumbers(grid, Input.NrTstHydr);
        return;
    }
    const int layers = Page.LayerFlags;
    const int limit = layers == 3 ? Input.NrTst : Input.NrTstHydr;
    if (lineEnds > limit) {
        Message("The number of time steps is larger than that given under Hydrological data. It will be reduced.");
        Input.NrTst = Input.NrTstHydr;
    }
    if (lineEnds < Input.NrTstHydr) {
        Message("The number of time steps is smaller than that given under Hydrological data. Missing data must be "
                "added");
        Input.NrTst = Input.NrTstHydr;
    }
    if (layers == 3) Input.NrTst = Input.NrTstHydr;
    grid.SetRowCount(Input.NrTst + 1);
    WriteSerialNumbers(grid, Input.NrTstHydr);
}

void TMainForm::HydrSaveButtonClick() {
    const int n = Input.NrTstHydr;
    ResizeHydrologicalSeries(Input, n);
    try {
        for (int row = 1; row <= n; ++row) {
            for (int c = 1; c <= 3; ++c)
                if (HydrGrid->Cell(c, row).isEmpty()) {
                    Message("There are empty cells, please correct.");
                    return;
                }
            Input.Rain[row] = ToFloat(HydrGrid->Cell(1, row));
            Input.Irrig[row] = ToFloat(HydrGrid->Cell(2, row));
            Input.EvapT[row] = ToFloat(HydrGrid->Cell(3, row));
        }
    } catch (const ConversionError& e) {
        Message(e.what());
        return;
    }
    Message(Page.InputComplete ? "The hydrological data were saved."
                               : "The hydrological data were saved. Continue with the Soil properties.");
    if (Page.InputComplete) SaveAllButton->setEnabled(true);
    RestoreGroups();
    HydrQuitButton->setEnabled(true);
    SoilOpenButton->setEnabled(true);
    HidePanels();
    for (TStringGrid* grid : {HydrGrid, SaltGrid1, SaltGrid2, SaltGrid3}) grid->SetRowCount(n + 1);
    SoilPanel(Page.LayerFlags)->show();
    for (int layers = 1; layers <= 3; ++layers) WriteSerialNumbers(*SaltGrid(layers), n);
}

void TMainForm::HydrQuitButtonClick() {
    HydrPanel->hide();
    RestoreGroups();
    HydrOpenButton->setEnabled(true);
}

}  // namespace halovane
