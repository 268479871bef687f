// The measured-salinity panels of one, two and three root-zone layers.
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "UMainForm.h"
#include "UPanelKit.h"
#include "UGridHeadings.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

namespace {

// The zones of the grid columns 1, 2, ...
std::vector<Zone> GridZones(int layers) {
    if (layers == 1) return {Zone::Layer1, Zone::Transition, Zone::Aquifer};
    if (layers == 2) return {Zone::Layer1, Zone::Layer2, Zone::Transition, Zone::Aquifer};
    return {Zone::Layer1, Zone::Layer2, Zone::Layer3, Zone::Transition, Zone::Aquifer};
}

}  // namespace

QFrame* TMainForm::BuildSaltPanel(QWidget* parent, int layers) {
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

void TMainForm::SaltGridSetEditText(int layers, int column, int row, const QString& edited) {
    Page.HydrPasteMode = false;
    const QString text = PastedLineEnds(edited);
    Page.LayerFlags = layers;  // the grid that was edited decides
    if (text.contains('\t') || text.contains('\r')) {
        try {
            HandlePasteMultiCell(*SaltGrid(layers), column, row, text);
        } catch (const std::exception&) {
            Message(layers == 2 ? "There are not enough data to be pasted or the data are incompatible"
                                : "There are not enough dat to be pasted or the data are incompatible");
        }
    }
}

void TMainForm::SaltSaveButtonClick(int layers) {
    TStringGrid& grid = *SaltGrid(layers);
    const std::vector<Zone> zones = GridZones(layers);
    const int n = Input.NrTst;
    for (Zone z : zones) Measured(Input, z).resize(static_cast<size_t>(n) + 1, 0.0);
    for (int row = 1; row <= n; ++row)
        for (size_t k = 0; k < zones.size(); ++k) {
            double value = -1;  // not measured: empty, "-" or not a number
            try {
                value = ToFloat(grid.Cell(static_cast<int>(k) + 1, row));
            } catch (const ConversionError&) {
            }
            Measured(Input, zones[k])[static_cast<size_t>(row)] = value;
        }
    Message(Page.InputComplete ? "The salinity data were saved."
            : layers == 1      ? "The salinity data were saved. Continue with the Drainage data.."
                               : "The salinity data were saved. Continue with the Drainage data ..");
    SaltPanel(layers)->hide();
    (layers == 1 ? Salt1QuitButton : layers == 2 ? Salt2QuitButton : Salt3QuitButton)->setEnabled(true);
    RestoreGroups();
    DrainOpenButton->setEnabled(true);
    DrainPanel->show();
}

void TMainForm::SaltQuitButtonClick(int layers) {
    SaltPanel(layers)->hide();
    RestoreGroups();
    SaltOpenButton->setEnabled(true);
}

}  // namespace halovane
