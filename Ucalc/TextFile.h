// Whole-file text input and output shared by the data-file readers and
// writers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ModelInput.h"

namespace halovane {

// The largest data file a reader takes: the header and two rows of at most
// 160 characters for each of MaxTimeSteps time steps (the widest row ever
// written holds about 100). Anything larger is not a data file of this
// program and is refused before it is read.
constexpr std::uintmax_t MaxDataFileBytes =
    (std::uintmax_t{1} << 20) + static_cast<std::uintmax_t>(MaxTimeSteps) * 2 * 160;

namespace platform {
struct LinkOwners;
}

// Writes `content` to `path` so that an existing file is replaced only by a
// complete new one: the text goes to a temporary file with a short name in
// the same folder, is flushed to the disk, and is renamed over the old file.
// The old file's permissions are kept. A symbolic link on the way is
// followed, and the file it points to replaced, only where MayFollowLink
// allows; otherwise nothing is written and the message names the link.
// Processes of the program that replace the same file take turns (a lock
// file ".hv....lock" beside it while the new file is renamed into place).
// A temporary file is removed when the program is interrupted (SIGINT,
// SIGTERM or SIGHUP; on Windows Ctrl+C, Ctrl+Break or the console closed)
// while writing, and temporaries that an earlier, killed program left for
// the same file (no process holds them, unchanged for two seconds) are
// removed on the next write. Returns an empty string on success, otherwise
// a message that names the file (or the folder, when the folder takes no
// new files) and the reason; the old file is then untouched.
std::string WriteFileReplacing(const std::string& path, const std::string& content);

// Replaces several files as one: either every file gets its new content
// (and every file of `removed` that exists is removed) or, when one of them
// cannot be written, every file keeps its old content (or stays absent).
// Also an interruption while the new files are renamed into place puts the
// old ones back. The lock is the first file's. Same rules and result as
// WriteFileReplacing.
std::string WriteFilesTogether(const std::vector<std::pair<std::string, std::string>>& files,
                               const std::vector<std::string>& removed = {});

// The lock file of a file: ".hv" and a hash of its name, then ".lock", in
// its folder; it exists only while a process replaces the file.
std::string LockFileName(const std::string& path);

// Whether a write may follow a symbolic link, by the rule of the Linux
// kernel's protected links: always, unless the link lies in a folder that
// everyone may write to and that is sticky (as /tmp); there only when the
// link belongs to the user running the program or to the folder's owner.
// A link another user planted there cannot redirect a write.
bool MayFollowLink(const platform::LinkOwners& owners);

enum class FileRead { Ok, CannotOpen, Refused };

// Reads a whole data file: regular files only (a pipe, a device or a folder
// is refused without waiting on it) and at most `maxBytes`, checked before
// reading. `error` names the file and the reason; `reason`, when given, is
// the reason alone.
FileRead ReadDataFile(const std::string& path, std::string& content, std::string& error,
                      std::uintmax_t maxBytes = MaxDataFileBytes, std::string* reason = nullptr);
// The same as a yes or no.
bool ReadWholeFile(const std::string& path, std::string& content, std::string& error);

// A piece of a file as it may appear in a message: bytes that are not
// printable are shown as \xNN, and at most `limit` characters are shown
// (the rest as "...").
std::string ShownText(const std::string& text, size_t limit = 40);
// The conversion error of a text that is not a number, with the text shown
// as above.
std::string ConversionMessage(const std::string& text);

// The lines of a text, with line ends of CR LF or LF alone, or of CR alone
// in a text without any LF (as old Mac editors save). The text is not
// copied; it must outlive the reader.
class LineReader {
public:
    explicit LineReader(const std::string& text);
    LineReader(std::string&&) = delete;
    // The next line, or an empty one past the end of the text.
    const std::string& Next();
    void Skip(int count);
    int LineNumber() const { return lineNumber_; }  // of the line last read
    int LinesLeft() const { return lineNumber_ < lineCount_ ? lineCount_ - lineNumber_ : 0; }
    bool AtEnd() const { return lineNumber_ >= lineCount_; }
    // Where the next line starts in the text: the bytes of the lines read,
    // with their line ends.
    size_t Offset() const { return position_ < text_.size() ? position_ : text_.size(); }

private:
    const std::string& text_;
    char end_ = '\n';  // the character that ends a line
    size_t position_ = 0;
    int lineCount_ = 0;
    int lineNumber_ = 0;
    std::string line_;
};

// The path with its extension replaced (appended when it has none).
std::string ChangeExtension(const std::string& path, const std::string& extension);

// The place on the disk that a name stands for, as text that is equal for
// every name of that place: absolute, links and "." or ".." resolved, and
// in one case where the file system ignores case.
std::string PlaceOnDisk(const std::string& name);

// Whether two names denote one file: the same file already on disk (also
// through links), or the same place once written.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace halovane
