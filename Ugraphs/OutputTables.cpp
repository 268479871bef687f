#include "OutputTables.h"

#include "GraphScale.h"
#include "NumberText.h"

namespace halovane {

int SalinityColumns(int layers) { return layers <= 1 ? 7 : layers == 2 ? 9 : 11; }

std::vector<std::string> HydrologicalHeadings() {
    static const char* const Quantities[] = {"Rainfall",       "Irrigation",   "Pot. Evapor.", "Percolation",
                                             "Capillary rise", "Act. Evapor.", "Drainage",     "Depth WT"};
    std::vector<std::string> headings{"Time step"};
    for (int c = 0; c < 8; ++c) headings.push_back(std::string(Quantities[c]) + "\n" + (c < 7 ? "mm" : "m"));
    return headings;
}

std::vector<std::string> SalinityHeadings(int layers) {
    layers = layers <= 1 ? 1 : layers >= 3 ? 3 : layers;
    std::vector<std::string> zones;
    if (layers == 1)
        zones = {"Root zone"};
    else
        for (int l = 1; l <= layers; ++l) zones.push_back("Root zone\nLayer" + std::to_string(l));
    zones.push_back(layers == 1 ? "Transition zone" : "Transition zone\n");
    zones.push_back(layers == 1 ? "Aquifer" : "Aquifer\n");
    std::vector<std::string> headings{"Time step"};
    for (const std::string& zone : zones)
        for (const char* value : {"calculated", "measured"}) headings.push_back(zone + "\n" + value + "\ndS/m");
    return headings;
}

std::string ShownCell(const std::string& cell) {
    const size_t first = cell.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = cell.find_last_not_of(' ');
    return cell.substr(first, last - first + 1);
}

namespace {

double At(const Series& s, int i) { return s[static_cast<size_t>(i)]; }

// A table of nrTst + 1 rows: row 0 "Time step" and `heading` in the other
// columns, column 0 the step numbers.
TableCells Frame(int nrTst, int columns, const std::vector<std::string>& headings) {
    TableCells cells(static_cast<size_t>(nrTst) + 1, std::vector<std::string>(static_cast<size_t>(columns)));
    cells[0][0] = "Time step";
    for (int c = 1; c < columns; ++c) cells[0][static_cast<size_t>(c)] = headings[static_cast<size_t>(c - 1)];
    for (int i = 1; i <= nrTst; ++i) cells[static_cast<size_t>(i)][0] = std::to_string(i);
    return cells;
}

}  // namespace

TableCells HydrologicalTable(const StepResults& r, const ViewInput* view, int nrTst) {
    TableCells cells = Frame(nrTst, HydrologicalColumns, {"mm", "mm", "mm", "mm", "mm", "mm", "mm", " m"});
    const Series* given[] = {view ? &view->Rain : nullptr, view ? &view->Irrig : nullptr,
                             view ? &view->EvapT : nullptr};
    const Series* computed[] = {&r.PercT, &r.CapTT, &r.EvapAT, &r.DrainT, &r.Dwt};
    for (int i = 1; i <= nrTst; ++i) {
        std::vector<std::string>& row = cells[static_cast<size_t>(i)];
        for (int k = 0; k < 3; ++k)
            if (given[k] && i < static_cast<int>(given[k]->size())) row[static_cast<size_t>(1 + k)] = GeneralText(At(*given[k], i));
        for (int k = 0; k < 5; ++k)
            if (i < static_cast<int>(computed[k]->size())) row[static_cast<size_t>(4 + k)] = GeneralText(At(*computed[k], i));
    }
    return cells;
}

std::string MeasuredCell(double value, int width) {
    if (value == -1) return "            -";
    return FormatFixed(value, width, 2);
}

TableCells SalinityTable(const StepResults& r, const ViewInput* view, int nrTst, int layers) {
    const int columns = SalinityColumns(layers);
    TableCells cells = Frame(nrTst, columns, std::vector<std::string>(10, "dS/m"));
    // Per zone: calculated and measured column, with their widths.
    struct Pair {
        Zone zone;
        int calculatedWidth, measuredWidth;
    };
    static const Pair OneLayer[] = {{Zone::Layer1, 13, 13}, {Zone::Transition, 9, 9}, {Zone::Aquifer, 9, 9}};
    static const Pair TwoLayers[] = {
        {Zone::Layer1, 13, 13}, {Zone::Layer2, 13, 11}, {Zone::Transition, 9, 9}, {Zone::Aquifer, 9, 9}};
    static const Pair ThreeLayers[] = {{Zone::Layer1, 13, 13},
                                       {Zone::Layer2, 13, 11},
                                       {Zone::Layer3, 13, 9},
                                       {Zone::Transition, 9, 9},
                                       {Zone::Aquifer, 9, 9}};
    const Pair* pairs = layers <= 1 ? OneLayer : layers == 2 ? TwoLayers : ThreeLayers;
    const int pairCount = (columns - 1) / 2;
    for (int i = 1; i <= nrTst; ++i) {
        std::vector<std::string>& row = cells[static_cast<size_t>(i)];
        size_t c = 1;
        for (int k = 0; k < pairCount; ++k) {
            const Pair& p = pairs[k];
            const Series& calculated = r.SR[p.zone];
            if (i < static_cast<int>(calculated.size())) row[c] = FormatFixed(At(calculated, i), p.calculatedWidth, 2);
            // Without the input data file nothing counts as measured.
            const Series* measured = view ? &view->ECsm[p.zone] : nullptr;
            row[c + 1] = measured && i < static_cast<int>(measured->size()) ? MeasuredCell(At(*measured, i), p.measuredWidth)
                                                                             : MeasuredCell(-1, p.measuredWidth);
            c += 2;
        }
    }
    return cells;
}

std::string ClipboardText(const TableCells& cells) {
    std::string text;
    for (size_t r = 0; r < cells.size(); ++r) {
        if (r > 0) text += '\r';
        for (size_t c = 0; c < cells[r].size(); ++c) {
            if (c > 0) text += '\t';
            text += cells[r][c];
        }
    }
    return text;
}

}  // namespace halovane
