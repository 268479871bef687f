#include "FitReportFiles.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <sstream>

#include "FileTexts.h"
#include "NumberText.h"
#include "RunStop.h"
#include "TextFile.h"

namespace halovane {

const char* const FitCsvHeader =
    "zone,search,n,mean_measured_dS_m,mean_simulated_dS_m,sse_dS2_m2,rmse_dS_m,mae_dS_m,bias_dS_m,nse,r2,"
    "fit_index_pct,le_fraction,optimized,best_score_dS2_m2,f_quantile,score_limit_dS2_m2,interval_low_fraction,"
    "interval_high_fraction,best_at_edge,not_determined,flat,score_capped,stopped_at_step,output_file";
const char* const ProfileCsvHeader = "search,zone,trial_le,score";

namespace {

constexpr int FitColumns = 25;
// Files written before the stop and the output file had their columns.
constexpr int OldFitColumns = 23;

std::string Fraction(double value) { return RemoveBlanks(FormatFixed(value, 0, 2)); }
// A real that reads back to the same value; empty when it is not finite
// (measured values so large that their squares overflow).
std::string Real(double value) { return std::isfinite(value) ? ShortestText(value) : std::string(); }
std::string YesNo(bool flag) { return flag ? "yes" : "no"; }


// A zone by its name in the files. `layersHint` becomes 1 for the root zone
// of one layer, 2 for a layer of a root zone of two or three, 0 otherwise.
bool ZoneFromName(const std::string& name, Zone& zone, int& layersHint) {
    layersHint = 0;
    if (name == "rootzone") {
        zone = Zone::Layer1;
        layersHint = 1;
        return true;
    }
    for (int z = 0; z < ZoneCount; ++z)
        if (name == ReportZoneName(2, static_cast<Zone>(z))) {
            zone = static_cast<Zone>(z);
            if (z < 3) layersHint = 2;
            return true;
        }
    return false;
}

bool Number(const std::string& text, double& value) { return TryStringToFloat(text, '.', value); }
// A real of the files: a number, or empty for one that is not finite.
bool Real(const std::string& text, double& value) {
    if (text.empty()) {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return Number(text, value);
}

bool Flag(const std::string& text, bool& flag) {
    if (text != "yes" && text != "no") return false;
    flag = text == "yes";
    return true;
}

// The index of the trial nearest to a value read back.
int TrialIndex(const SearchProfile& profile, double value) {
    int best = 0;
    for (size_t k = 1; k < profile.trials.size(); ++k)
        if (std::fabs(profile.trials[k] - value) < std::fabs(profile.trials[best] - value))
            best = static_cast<int>(k);
    return best;
}

bool ParseFitRow(const std::vector<std::string>& f, int columns, ZoneReport& row, int& layersHint) {
    if (static_cast<int>(f.size()) != columns) return false;
    double search = 0, n = 0;
    FitStatistics& s = row.stats;
    ProfileSummary& p = row.profile;
    if (!ZoneFromName(f[0], row.zone, layersHint) || !Number(f[1], search) || !Number(f[2], n)) return false;
    row.search = static_cast<int>(search);
    s.n = static_cast<int>(n);
    if (row.search != search || s.n != n || row.search < 1 || s.n < 1) return false;
    const std::pair<const std::string*, double*> reals[] = {
        {&f[3], &s.meanMeasured}, {&f[4], &s.meanSimulated}, {&f[5], &s.sse},   {&f[6], &s.rmse},
        {&f[7], &s.mae},          {&f[8], &s.bias},          {&f[12], &row.le}, {&f[14], &p.bestScore},
        {&f[15], &p.fQuantile},   {&f[16], &p.limit},        {&f[17], &p.low},  {&f[18], &p.high}};
    for (const auto& r : reals)
        if (!Real(*r.first, *r.second)) return false;
    if (!std::isfinite(row.le) || !std::isfinite(p.low) || !std::isfinite(p.high)) return false;
    s.nseDefined = !f[9].empty();
    s.r2Defined = !f[10].empty();
    if ((s.nseDefined && !Number(f[9], s.nse)) || (s.r2Defined && !Number(f[10], s.r2))) return false;
    row.fitIndex = f[11];
    double index = 0;
    if (row.fitIndex != "n.a." && !Number(row.fitIndex, index)) return false;
    p.best = row.le;
    return Flag(f[13], row.optimized) && Flag(f[19], p.bestAtEdge) && Flag(f[20], p.notDetermined) &&
           Flag(f[21], p.flat) && Flag(f[22], p.capped);
}

std::string LineMessage(const std::string& file, int line) {
    return "Line " + std::to_string(line) + " of the " + file + " is not part of a fit report.";
}

}  // namespace

std::string FitCsvFileName(const std::string& outputFileName) { return ChangeExtension(outputFileName, ".fit.csv"); }

std::string ProfileCsvFileName(const std::string& outputFileName) {
    return ChangeExtension(outputFileName, ".profile.csv");
}

namespace {
// The row that names the model of a conserving run, after the zones.
const char* const VariantRow = "model variant,";
}  // namespace

std::string FitCsv(const FitReport& report) {
    std::string out = std::string(FitCsvHeader) + "\r\n";
    for (const ZoneReport& z : report.zones) {
        const FitStatistics& s = z.stats;
        const ProfileSummary& p = z.profile;
        out += ReportZoneName(report.layers, z.zone) + "," + std::to_string(z.search) + "," + std::to_string(s.n);
        for (double v : {s.meanMeasured, s.meanSimulated, s.sse, s.rmse, s.mae, s.bias}) out += "," + Real(v);
        out += "," + (s.nseDefined ? Real(s.nse) : std::string());
        out += "," + (s.r2Defined ? Real(s.r2) : std::string());
        out += "," + z.fitIndex + "," + Fraction(z.le) + "," + YesNo(z.optimized);
        for (double v : {p.bestScore, p.fQuantile, p.limit}) out += "," + Real(v);
        out += "," + Fraction(p.low) + "," + Fraction(p.high);
        for (bool flag : {p.bestAtEdge, p.notDetermined, p.flat, p.capped}) out += "," + YesNo(flag);
        // Empty when the run completed; a name with a comma is quoted.
        out += "," + (report.stoppedAtStep > 0 ? std::to_string(report.stoppedAtStep) : std::string());
        out += "," + CsvCell(report.outputFile) + "\r\n";
    }
    // Reports of the prescribed model keep the layout they always had.
    if (report.variant == ModelVariant::Conserving) out += std::string(VariantRow) + VariantWord(report.variant) + "\r\n";
    return out;
}

std::string ProfileCsv(const FitReport& report) {
    std::string out = std::string(ProfileCsvHeader) + "\r\n";
    for (size_t k = 0; k < report.searches.size(); ++k) {
        const SearchProfile& profile = report.searches[k];
        const std::string lead = std::to_string(k + 1) + "," + ReportZoneName(report.layers, profile.zone) + ",";
        for (size_t t = 0; t < profile.trials.size() && t < profile.scores.size(); ++t)
            out += lead + Fraction(profile.trials[t]) + "," + Real(profile.scores[t]) + "\r\n";
    }
    return out;
}

std::string WriteFitReportFiles(const std::string& outputFileName, const FitReport& report) {
    return WriteFilesTogether({{FitCsvFileName(outputFileName), FitCsv(report)},
                               {ProfileCsvFileName(outputFileName), ProfileCsv(report)}});
}

void AddFitReportFiles(const ModelInput& in, const ModelState& state, const std::vector<SearchProfile>* profiles,
                       std::vector<std::pair<std::string, std::string>>& written, std::vector<std::string>& removed) {
    const std::string& out = state.OutputFileName;
    if (!profiles || profiles->empty()) {
        removed.push_back(FitCsvFileName(out));
        removed.push_back(ProfileCsvFileName(out));
        return;
    }
    const FitReport report = BuildFitReport(in, state, *profiles);
    written.emplace_back(FitCsvFileName(out), FitCsv(report));
    written.emplace_back(ProfileCsvFileName(out), ProfileCsv(report));
}

bool ParseFitReport(const std::string& fitText, const std::string& profileText, FitReport& report,
                    std::string& message) {
    FitReport read;
    int layersHint = 0;
    LineReader fit(fitText);
    const std::string& header = fit.Next();
    const std::string current = FitCsvHeader;
    const std::string old = current.substr(0, current.find(",stopped_at_step"));
    if (header != current && header != old) {
        message = LineMessage("fit file", 1);
        return false;
    }
    const int columns = header == current ? FitColumns : OldFitColumns;
    while (!fit.AtEnd()) {
        const std::string& line = fit.Next();
        if (line.empty() && fit.AtEnd()) break;
        if (line.rfind(VariantRow, 0) == 0 && ParseModelVariant(line.substr(std::string(VariantRow).size()), read.variant))
            continue;
        ZoneReport row;
        int hint = 0;
        const std::vector<std::string> fields = SplitCsvLine(line);
        double stop = 0;
        if (columns == FitColumns && (fields.size() != size_t(FitColumns) ||
                                      (!fields[23].empty() && (!Number(fields[23], stop) || stop < 1)))) {
            message = LineMessage("fit file", fit.LineNumber());
            return false;
        }
        if (columns == FitColumns) {
            read.stoppedAtStep = static_cast<int>(stop);
            read.outputFile = fields[24];
        }
        if (!ParseFitRow(fields, columns, row, hint) ||
            (!read.zones.empty() && static_cast<int>(row.zone) <= static_cast<int>(read.zones.back().zone))) {
            message = LineMessage("fit file", fit.LineNumber());
            return false;
        }
        if (hint && layersHint && hint != layersHint) {
            message = LineMessage("fit file", fit.LineNumber());
            return false;
        }
        if (hint) layersHint = hint;
        read.zones.push_back(row);
    }

    LineReader profile(profileText);
    if (profile.Next() != ProfileCsvHeader) {
        message = LineMessage("profile file", 1);
        return false;
    }
    while (!profile.AtEnd()) {
        const std::string& line = profile.Next();
        if (line.empty() && profile.AtEnd()) break;
        const std::vector<std::string> f = SplitCsvLine(line);
        double search = 0, trial = 0, score = 0;
        Zone zone{};
        int hint = 0;
        const bool ok = f.size() == 4 && Number(f[0], search) && ZoneFromName(f[1], zone, hint) &&
                        Number(f[2], trial) && Real(f[3], score);
        const size_t count = read.searches.size();
        // Searches are numbered from 1 in the order made; each one's rows follow each other.
        const bool same = ok && count > 0 && search == static_cast<double>(count) && read.searches.back().zone == zone;
        const bool next = ok && search == static_cast<double>(count + 1);
        if (!same && !next) {
            message = LineMessage("profile file", profile.LineNumber());
            return false;
        }
        if (next) read.searches.push_back({zone, {}, {}});
        read.searches.back().trials.push_back(trial);
        read.searches.back().scores.push_back(score);
    }

    for (ZoneReport& row : read.zones) {
        const size_t k = static_cast<size_t>(row.search - 1);
        if (k >= read.searches.size() || read.searches[k].zone != row.zone) {
            message = "The fit file names a search that the profile file does not hold.";
            return false;
        }
        const SearchProfile& p = read.searches[k];
        row.profile.bestIndex = TrialIndex(p, row.profile.best);
        row.profile.lowIndex = TrialIndex(p, row.profile.low);
        row.profile.highIndex = TrialIndex(p, row.profile.high);
    }
    // 1, 2 for "two or three", or 0 when only the zones below the root
    // zone were fitted; the output file tells the rest.
    read.layers = layersHint;
    report = std::move(read);
    return true;
}

bool ReportMatchesOutput(const FitReport& report, const OutputReadback& output, const ViewInput* view) {
    if (report.zones.empty()) return false;
    if (report.layers == 1 ? output.Layers != 1 : report.layers >= 2 && output.Layers < 2) return false;
    for (const ZoneReport& row : report.zones) {
        if (!ZoneInUse(output.Layers, row.zone)) return false;
        const ZoneReadback& printed = output.Zones[static_cast<size_t>(row.zone)];
        if (Fraction(row.le) != Fraction(printed.LE)) return false;
        double index = 0;
        if (!printed.CoefficientRead || !TryStringToFloat(row.fitIndex, '.', index) || index != printed.Coefficient)
            return false;
        if (view) {
            int count = 0;
            const Series& m = view->ECsm[row.zone];
            const int stop = StoppedAtStep(output.Results, output.NrTst);
            const int last = stop > 0 ? stop - 1 : output.NrTst;
            for (int i = 1; i <= last && i < static_cast<int>(m.size()); ++i)
                if (m[i] > 0) ++count;
            if (count != row.stats.n) return false;
        }
    }
    return true;
}

FitReportStatus ReadFitReportFiles(const std::string& outputFileName, const OutputReadback& output,
                                   const ViewInput* view, FitReport& report, std::string& message) {
    std::string fitText, profileText, error;
    message.clear();
    const std::string fitName = FitCsvFileName(outputFileName);
    std::error_code ec;
    if (!std::filesystem::exists(fitName, ec)) return FitReportStatus::Absent;
    if (!ReadWholeFile(fitName, fitText, error)) {
        message = error;
        return FitReportStatus::Unreadable;
    }
    if (!ReadWholeFile(ProfileCsvFileName(outputFileName), profileText, error)) {
        message = error;
        return FitReportStatus::Unreadable;
    }
    FitReport read;
    if (!ParseFitReport(fitText, profileText, read, message)) return FitReportStatus::Unreadable;
    if (!ReportMatchesOutput(read, output, view)) {
        message = "The fit report beside the output file belongs to another run.";
        return FitReportStatus::OtherRun;
    }
    read.layers = output.Layers;
    report = std::move(read);
    return FitReportStatus::Read;
}

}  // namespace halovane
