// The table of result columns drives every writer and reader of the results:
// what the output file writes comes back from it, FILE.csv and the Output
// page's tables, column by column, and the headings of the files name the
// table's columns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "NumberText.h"
#include "OutputFile.h"
#include "OutputTables.h"
#include "ResultColumns.h"
#include "ResultsCsv.h"

using namespace halovane;

namespace {

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    for (std::string field; std::getline(stream, field, separator);) fields.push_back(field);
    return fields;
}

std::string LineOf(const std::string& text, int k) {
    size_t at = 0;
    for (int i = 0; i < k; ++i) at = text.find("\r\n", at) + 2;
    return text.substr(at, text.find("\r\n", at) - at);
}

}  // namespace

TEST(ResultColumns, EveryColumnComesBackFromTheOutputFileTheCsvAndTheTables) {
    constexpr int n = 4;
    for (int layers = 1; layers <= 3; ++layers) {
        SCOPED_TRACE("layers " + std::to_string(layers));
        ModelInput in;
        in.NrTst = n, in.Ts = 30, in.NrLayers = layers;
        ResizeHydrologicalSeries(in, n);
        ResizeMeasuredSeries(in, n, -1);
        ModelState state;
        state.Results.Resize(n);
        state.Fit[0].LE = 0.8;
        // A value of its own in every column and step, negative ones
        // included, kept to the decimals the output file writes.
        for (size_t k = 0; k < ResultColumns.size(); ++k) {
            const ResultColumn& c = ResultColumns[k];
            const double scale = std::pow(10.0, c.Decimals());
            for (int i = 1; i <= n; ++i)
                c.Of(state.Results)[i] = std::round((37.31 * double(k + 1) - 23.7 * i) * scale) / scale;
        }

        const std::string out = OutputFileText(in, state, "r.out");
        OutputReadback back;
        NumberFormat format;
        const ReadOutcome read = ParseOutputText(out, "r.out", back, format);
        ASSERT_TRUE(read.ok) << read.message;

        const std::string csv = ResultsCsv(in, state);
        const std::vector<std::string> names = Split(LineOf(csv, 0), ',');
        auto csvColumn = [&](const std::string& name) {
            return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
        };

        const TableCells hydrology = HydrologicalTable(state.Results, nullptr, n);
        const TableCells salinity = SalinityTable(state.Results, nullptr, n, layers);
        const std::vector<std::string> hydrologyHeadings = HydrologicalHeadings();
        const std::vector<std::string> salinityHeadings = SalinityHeadings(layers);
        // The heading of a table column, up to the unit or "calculated".
        auto tableColumn = [](const std::vector<std::string>& headings, const std::string& heading) {
            for (size_t k = 0; k < headings.size(); ++k)
                if (headings[k].rfind(heading + "\n", 0) == 0) return k;
            return headings.size();
        };

        for (const ResultColumn& c : ResultColumns) {
            SCOPED_TRACE(c.symbol);
            const Series& written = c.Of(state.Results);
            const size_t k = csvColumn(CsvName(c, layers));
            if (!c.Written(layers)) {
                EXPECT_EQ(c.Of(back.Results), Series(n + 1, 0.0));
                EXPECT_EQ(k, names.size()) << "FILE.csv names a zone not in use";
                continue;
            }
            const bool salt = c.zone.has_value();
            const std::vector<std::string>& headings = salt ? salinityHeadings : hydrologyHeadings;
            const size_t t = tableColumn(headings, c.Heading(layers));
            ASSERT_LT(k, names.size());
            ASSERT_LT(t, headings.size());
            EXPECT_TRUE(headings[t].find(c.Unit()) != std::string::npos) << headings[t];
            if (salt) {
                EXPECT_EQ(names[k + 1], CsvMeasuredName(c, layers));
            }
            for (int i = 1; i <= n; ++i) {
                EXPECT_EQ(c.Of(back.Results)[i], written[i]) << "output file, step " << i;
                EXPECT_EQ(std::strtod(Split(LineOf(csv, i), ',')[k].c_str(), nullptr), written[i]) << "csv, step " << i;
                const std::string cell = (salt ? salinity : hydrology)[static_cast<size_t>(i)][t];
                EXPECT_EQ(StringToFloat(cell), written[i]) << "table, step " << i << ": " << cell;
            }
        }

        // The output file's headings name the written columns from left to
        // right in the order of the rows.
        const std::vector<std::string>& lines = OutputHeadingLines(layers);
        size_t left = 0;
        for (const ResultColumn* c : ColumnsOf(layers)) {
            size_t at = std::string::npos;
            for (const std::string& line : lines)
                if ((at = line.find(c->OutHeading(layers))) != std::string::npos) break;
            ASSERT_NE(at, std::string::npos) << c->symbol << " has no heading";
            EXPECT_GT(at, left) << c->symbol << " stands left of the column before it";
            left = at;
        }
        for (const std::string& line : lines) EXPECT_NE(out.find("\r\n" + line + "\r\n"), std::string::npos);
    }
}
