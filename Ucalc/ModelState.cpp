#include "ModelState.h"

#include "ResultColumns.h"

namespace halovane {

void StepResults::Resize(int n) {
    const size_t size = static_cast<size_t>(n) + 1;
    for (const ResultColumn& c : ResultColumns) c.Of(*this).assign(size, 0.0);
}

}  // namespace halovane
