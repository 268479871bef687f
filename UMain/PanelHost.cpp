#include "PanelHost.h"

#include "UStringGrid.h"

namespace halovane {

bool WritePaste(PanelHost& host, TStringGrid& grid, const rules::PastePlan& plan) {
    if (!plan.problem.Ok()) {
        // Nothing of the block is written until it is corrected.
        host.RefuseCell(plan.problem, grid);
        return false;
    }
    // Rows the paste adds start empty.
    for (int r = plan.firstNewRow; r <= plan.steps; ++r)
        for (int c = 1; c < grid.ColCount(); ++c) grid.SetText(c, r, std::string());
    for (const rules::PastePlan::Write& w : plan.writes) grid.SetText(w.column, w.row, w.text);
    return true;
}

}  // namespace halovane
