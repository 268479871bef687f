// Texts of a data set (titles, file names, messages) as they go into files
// of other formats. Each format has its one function here, and every writer
// of such a file uses it: a title can then never become markup, a formula or
// a broken file.
#pragma once

#include <string>
#include <vector>

namespace halovane {

// The text with its control characters (codes 0 to 31, 127 and 128 to 159)
// shown as \xNN; everything else, UTF-8 included, is kept. The text of a
// drawing (SVG, PDF, bitmap) and of PDF metadata, which Qt quotes itself.
std::string PrintableText(const std::string& text);

// A text as the content of an XML element or attribute (an SVG title or
// description): printable as above, and & < > " ' as entities.
std::string XmlText(const std::string& text);

// A text cell of a CSV file (RFC 4180): printable as above; a text that a
// spreadsheet would take for a formula (starting with =, +, - or @) gets a
// single quote in front unless the whole text is a number; quoted when it
// holds a comma or a double quote. Numbers are written as they are, without
// this function.
std::string CsvCell(const std::string& text);

// The cells of one line of a CSV file, quotes undone.
std::vector<std::string> SplitCsvLine(const std::string& line);

}  // namespace halovane
