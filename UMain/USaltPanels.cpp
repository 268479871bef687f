// The measured-salinity panels of one, two and three root-zone layers.
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "InputPage.h"
#include "UPanelKit.h"
#include "UGridHeadings.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

QFrame* InputPage::BuildSaltPanel(QWidget* parent, int layers) {
    auto* p = new QFrame(parent);
    p->setObjectName(QString("Salt%1Panel").arg(layers));
    const char* title = layers == 2 ? "Measured salinity (dS/m),if any" : "Measured salinity (dS/m), if any";
    QGridLayout* g = Frame(p, "SaltLabel", title);
    auto* grid = new TStringGrid(layers + 3, 12, 1, 1, p);
    grid->setObjectName(QString("SaltGrid%1").arg(layers));
    // The zone names over their own columns, in the grid's header.
    QStringList headings{""};
    if (layers == 1)
        headings << "Root zone";
    else
        for (const char* layer : {"1st layer", "2nd layer", "3rd layer"})
            if (headings.size() <= layers) headings << QString("Root zone %1").arg(layer);
    headings << "Transition  zone" << "Aquifer";
    ShowColumnHeadings(*grid, headings);
    grid->setMinimumHeight(200);
    grid->onEditText = [this, layers](int c, int r, const QString& t) { SaltGridSetEditText(layers, c, r, t); };
    grid->onPaste = grid->onEditText;
    g->addWidget(grid, 2, 0, 1, -1);
    g->setRowStretch(2, 1);
    g->addWidget(new QLabel(layers == 1 ? "Data can be pasted here" : "Data can be pasted here from clip board", p),
                 3, 0);
    const auto [save, quit] = SaveCancelRow(g, 4, p, QString("Salt%1").arg(layers));
    connect(save, &QPushButton::clicked, this, [this, layers] { SaltSaveButtonClick(layers); });
    connect(quit, &QPushButton::clicked, this, [this, layers] { SaltQuitButtonClick(layers); });
    (layers == 1 ? SaltGrid1 : layers == 2 ? SaltGrid2 : SaltGrid3) = grid;
    (layers == 1 ? Salt1SaveButton : layers == 2 ? Salt2SaveButton : Salt3SaveButton) = save;
    (layers == 1 ? Salt1QuitButton : layers == 2 ? Salt2QuitButton : Salt3QuitButton) = quit;
    return p;
}

void InputPage::SaltGridSetEditText(int layers, int column, int row, const QString& edited) {
    Page.HydrPasteMode = false;
    Page.LayerFlags = layers;  // the grid that was edited decides
    const QString text = PastedLineEnds(edited);
    if (rules::IsBlock(text.toStdString())) HandlePasteMultiCell(*SaltGrid(layers), column, row, text);
}

void InputPage::SaltSaveButtonClick(int layers) {
    TStringGrid& grid = *SaltGrid(layers);
    const int n = Input.NrTst;
    ZoneArray<Series> measured = Input.ECsm;
    const rules::Problem problem = rules::ReadSalinity(CellsOf(grid, n + 1, layers + 3), layers, n, measured, Page.Comma);
    if (!problem.Ok()) {
        RefuseCell(problem, grid);
        return;
    }
    for (Zone z : rules::SalinityZones(layers)) Input.ECsm[z] = measured[z];
    Page.Stored[rules::SaltGroup] = true;
    Page.StoredSaltLayers = layers;
    Message(Page.InputComplete ? "The salinity data were saved."
            : layers == 1      ? "The salinity data were saved. Continue with the Drainage data.."
                               : "The salinity data were saved. Continue with the Drainage data ..");
    SaltPanel(layers)->hide();
    UpdateButtons(rules::PageEvent::Saved, layers == 1   ? rules::Panel::Salt1
                                           : layers == 2 ? rules::Panel::Salt2
                                                         : rules::Panel::Salt3);
    ShowGroup(rules::DrainGroup);
}

void InputPage::SaltQuitButtonClick(int layers) {
    ShowSalinity(layers);
    SaltPanel(layers)->hide();
    UpdateButtons(rules::PageEvent::Cancelled, layers == 1   ? rules::Panel::Salt1
                                               : layers == 2 ? rules::Panel::Salt2
                                                             : rules::Panel::Salt3);
}

}  // namespace halovane
