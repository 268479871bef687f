#include "Report.h"

#include "Commands.h"
#include "FitReport.h"
#include "FitReportFiles.h"

namespace halovane::cli {

int WriteRunReport(const std::string& file, const ModelInput& data, const ModelState& state,
                   const std::vector<SearchProfile>& profiles, const std::function<void(const std::string&)>& tell) {
    if (profiles.empty()) {
        tell(file + ": no zone has 4 or more measured salinities, so no efficiency was optimised and no fit "
                    "report was written.");
        return Ok;
    }
    const std::string error = WriteFitReportFiles(state.OutputFileName, BuildFitReport(data, state, profiles));
    if (!error.empty()) {
        tell(error);
        return WriteFailed;
    }
    return Ok;
}

}  // namespace halovane::cli
