// The fit report as two comma-separated files beside the output file:
// FILE.fit.csv, one row per searched zone, and FILE.profile.csv, one row per
// trial of every search.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FitReport.h"
#include "OutputFile.h"

namespace halovane {

std::string FitCsvFileName(const std::string& outputFileName);      // FILE.fit.csv
std::string ProfileCsvFileName(const std::string& outputFileName);  // FILE.profile.csv

// The header rows of the two files.
extern const char* const FitCsvHeader;
extern const char* const ProfileCsvHeader;

// The texts of the two files (CR LF line ends). Reals are written so that
// they read back to the same value; trial efficiencies with two decimals.
std::string FitCsv(const FitReport& report);
std::string ProfileCsv(const FitReport& report);

// Writes both files beside the output file, together; an empty string on
// success, otherwise the message of the file that could not be written.
std::string WriteFitReportFiles(const std::string& outputFileName, const FitReport& report);

// The report of a run that has just written state.OutputFileName, as files
// to write with the output file (`written`), or, when the run made no
// optimisation (`profiles` null or empty), the names of an earlier run's
// report to remove with it.
void AddFitReportFiles(const ModelInput& in, const ModelState& state, const std::vector<SearchProfile>* profiles,
                       std::vector<std::pair<std::string, std::string>>& written, std::vector<std::string>& removed);

// Reads the two texts back. False with a message saying which line of which
// file is not part of a fit report.
bool ParseFitReport(const std::string& fitText, const std::string& profileText, FitReport& report,
                    std::string& message);

enum class FitReportStatus {
    Absent,      // no FILE.fit.csv beside the output file
    Read,        // read and belongs to the output file
    Unreadable,  // a file could not be read or is not a fit report
    OtherRun,    // read, but its efficiencies or fit indices are not those of the output file
};

// Reads the report beside an output file and checks it against what the
// output file says (`output`) and, when given, against the measured values
// of its input data file (`view`).
FitReportStatus ReadFitReportFiles(const std::string& outputFileName, const OutputReadback& output,
                                   const ViewInput* view, FitReport& report, std::string& message);

// Whether a report belongs to the results of an output file: the same zones
// in use, the same efficiencies and fit indices as printed, and, with the
// input data file, the same number of measured values per zone.
bool ReportMatchesOutput(const FitReport& report, const OutputReadback& output, const ViewInput* view);

}  // namespace halovane
