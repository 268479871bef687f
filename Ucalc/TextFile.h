// Whole-file text input and output shared by the data-file readers and
// writers.
#pragma once

#include <string>
#include <vector>

namespace halovane {

// Writes `content` to `path` so that an existing file is replaced only by a
// complete new one: the text goes to a temporary file in the same folder,
// which is renamed over the old file when it has been written and closed.
// Returns an empty string on success, otherwise a message that names the
// file and the reason; the old file is then untouched.
std::string WriteFileReplacing(const std::string& path, const std::string& content);

// Reads a whole file. Returns false with a message naming the file and the
// reason when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);

// The lines of a text, with line ends of CR LF or LF alone. The reader
// takes the lines from the text in place, one at a time: the text must
// outlive the reader, and the line Next returns holds until the next call.
class LineReader {
public:
    explicit LineReader(const std::string& text);
    LineReader(std::string&&) = delete;
    // The next line, or an empty one past the end of the text.
    const std::string& Next();
    void Skip(int count);
    int LineNumber() const { return lineNumber_; }  // of the line last read
    int LinesLeft() const { return count_ - lineNumber_; }
    bool AtEnd() const { return lineNumber_ >= count_; }

private:
    const std::string* text_;
    size_t next_ = 0;  // where the line after the last one read starts
    int count_ = 0;
    int lineNumber_ = 0;
    std::string line_;
};

// The path with its extension replaced (appended when it has none).
std::string ChangeExtension(const std::string& path, const std::string& extension);

}  // namespace halovane
