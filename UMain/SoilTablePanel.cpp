#include "SoilTablePanel.h"

#include <QPushButton>
#include <array>

#include "InputPage.h"
#include "PanelHost.h"
#include "UGridHeadings.h"
#include "UPanelKit.h"
#include "UStringGrid.h"

namespace halovane {

using namespace panel;

namespace {

QString Shortest(double value) { return QString::fromStdString(ShortestText(value)); }

}  // namespace

SoilTablePanel::SoilTablePanel(PanelHost& host, int layers, QWidget* parent)
    : QFrame(parent), host_(host), layers_(layers) {
    QFrame* p = this;
    setObjectName(QString("Soil%1Panel").arg(layers));
    QGridLayout* g = Frame(p, "SoilLabel", "Soil properties");
    grid_ = new TStringGrid(5, layers + 2, 0, 0, p);
    grid_->setObjectName(QString("Soil%1Grid").arg(layers));
    // Long headings take two or three lines rather than being cut.
    ShowColumnHeadings(*grid_, {"Thickness (m)", "Total porosity (%)", "Effective (drainable) porosity (%)",
                                "Leaching efficiency (%)", "Initial salinity (dS/m)"});
    QStringList rows;
    if (layers == 1) rows << "Root zone";
    if (layers >= 2) rows << "Root zone: 1st layer" << "2nd layer";
    if (layers == 3) rows << "3rd layer";
    rows << "Transition zone" << "Aquifer";
    grid_->SetRowHeadings(rows);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->onPaste = [this](int c, int r, const QString& t) {
        const rules::Block block = rules::SplitBlock(PastedLineEnds(t).toStdString());
        WritePaste(host_, *grid_, rules::PlanSoilPaste(block, c, r, layers_, host_.PageState().Comma));
    };
    g->addWidget(grid_, 1, 0, 1, -1);
    const SaveCancel buttons = SaveCancelRow(g, 2, p, QString("Soil%1").arg(layers));
    save_ = buttons.save, quit_ = buttons.quit;
    connect(save_, &QPushButton::clicked, this, &SoilTablePanel::SaveClick);
    connect(quit_, &QPushButton::clicked, this, &SoilTablePanel::QuitClick);
}

rules::Panel SoilTablePanel::Which() const {
    return layers_ == 1 ? rules::Panel::Soil1 : layers_ == 2 ? rules::Panel::Soil2 : rules::Panel::Soil3;
}

void SoilTablePanel::Show() {
    if (host_.PageState().StoredSoilLayers != layers_) return;
    const ModelInput& stored = host_.DataSet();
    int row = 0;
    for (Zone zone : rules::SoilZones(layers_)) {
        grid_->SetCell(0, row, Shortest(stored.D[zone]));
        grid_->SetCell(1, row, Shortest(stored.TP[zone]));
        grid_->SetCell(2, row, Shortest(stored.EP[zone]));
        grid_->SetCell(3, row, Shortest(stored.LE[zone]));
        grid_->SetCell(4, row, Shortest(stored.Sini[zone]));
        ++row;
    }
}

void SoilTablePanel::Clear() { grid_->ClearEntries(); }

void SoilTablePanel::TakeEntriesOf(const SoilTablePanel& from) {
    const std::array<int, 5> rows = rules::SoilCarryOver(from.layers_, layers_);
    for (int r = 0; r < layers_ + 2; ++r)
        if (rows[r] >= 0)
            for (int c = 0; c <= 4; ++c) grid_->SetText(c, r, from.grid_->Text(c, rows[r]));
}

// Reads the grid into the data set when every zone is complete and
// physical; otherwise refuses at the offending cell and stores nothing.
void SoilTablePanel::SaveClick() {
    InputPageState& page = host_.PageState();
    std::vector<std::array<double, 5>> table;
    const rules::Problem problem = rules::ReadSoil(grid_->Rows(layers_ + 2, 5), layers_, table, page.Comma);
    if (!problem.Ok()) {
        host_.RefuseCell(problem, *grid_);
        return;
    }
    rules::StoreSoil(host_.DataSet(), layers_, table);
    page.Stored[rules::SoilGroup] = true;
    page.StoredSoilLayers = layers_;
    if (layers_ == 1)
        host_.Message(page.InputComplete ? "The data on Soil properties were saved."
                                         : "The soil data were saved. Continue with the Salinity data ..");
    else if (layers_ == 2)
        host_.Message(page.InputComplete ? "The soil data were saved."
                                         : "The soil data were saved. Continue with the Salinity data ..");
    else
        host_.Message(page.InputComplete ? "The soil data were saved."
                                         : "The soil data were saved. Continue with the soil salinity data.");
    hide();
    host_.PanelSaved(Which());
    host_.ShowSalinityPanel(layers_);
}

void SoilTablePanel::QuitClick() {
    Show();
    hide();
    host_.PanelCancelled(Which());
}

}  // namespace halovane
