// The graphs that can be chosen, listed once: the Graphs page's radio
// buttons, the runner's --type names and file names, the titles and the kind
// of drawing all come from this table.
#pragma once

#include "GraphScale.h"

namespace halovane {

struct GraphChoiceInfo {
    GraphChoice choice;
    const char* key;      // the runner's --type name and the end of a file name
    const char* control;  // the radio button's object name
    const char* caption;  // the radio button's text
    const char* title;    // the title of the graph
    GraphKind kind;
    int layersNeeded;     // root-zone layers the graph needs
};

// In the order of the choice list; GraphChoices[k].choice == GraphChoice(k).
extern const GraphChoiceInfo GraphChoices[GraphChoiceCount];
const GraphChoiceInfo& InfoOf(GraphChoice choice);

}  // namespace halovane
