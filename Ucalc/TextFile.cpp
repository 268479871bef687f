#include "TextFile.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include "Platform.h"

namespace halovane {

namespace fs = std::filesystem;
using platform::FileName;
using platform::FilePath;

namespace {

// ------------------------------------------------ temporaries and interruptions

// The temporaries being written right now, so that an interruption can
// remove them. A signal handler can reach nothing but static storage; the
// table is the one piece of process-wide state of the engine and holds
// nothing but these names.
constexpr int TemporarySlots = 64;
constexpr size_t TemporaryNameSize = 4096;
struct TemporaryTable {
    std::atomic<bool> used[TemporarySlots];   // claimed by a writer
    std::atomic<bool> ready[TemporarySlots];  // its name is complete
    fs::path::value_type names[TemporarySlots][TemporaryNameSize];
};
TemporaryTable temporaries{};

void RemoveTemporaries() {
    for (int k = 0; k < TemporarySlots; ++k)
        if (temporaries.ready[k].load()) platform::RemoveFileNow(temporaries.names[k]);
}

// A temporary registered for removal on an interruption while it exists.
class Temporary {
public:
    explicit Temporary(const fs::path& name) : name_(name) {
        platform::CallOnInterrupt(RemoveTemporaries);
        const auto& native = name.native();
        if (native.size() >= TemporaryNameSize) return;
        for (int k = 0; k < TemporarySlots; ++k) {
            bool expected = false;
            if (!temporaries.used[k].compare_exchange_strong(expected, true)) continue;
            std::memcpy(temporaries.names[k], native.c_str(), (native.size() + 1) * sizeof native[0]);
            temporaries.ready[k].store(true);
            slot_ = k;
            break;
        }
    }
    ~Temporary() {
        if (!kept_) platform::RemoveFile(name_);
        if (slot_ >= 0) {
            temporaries.ready[slot_].store(false);
            temporaries.used[slot_].store(false);
        }
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    const fs::path& Name() const { return name_; }
    void Renamed() { kept_ = true; }  // the name no longer exists

private:
    fs::path name_;
    int slot_ = -1;
    bool kept_ = false;
};

// FNV-1a: a hash that is the same in every build, so that a later run finds
// the temporaries of an earlier one.
unsigned NameHash(const std::string& text) {
    unsigned h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

// Temporaries are named ".hv" + hash of the target's file name + "-" + pid
// + "-" + a random number + ".tmp": short whatever the target's name, and
// recognisable as belonging to that target.
std::string TemporaryPrefix(const fs::path& target) {
    char text[16];
    std::snprintf(text, sizeof text, ".hv%08x-", NameHash(FileName(target.filename())));
    return text;
}

fs::path TemporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    char text[64];
    std::snprintf(text, sizeof text, "%ld-%x%x.tmp", platform::ProcessNumber(), random() & 0xffffu,
                  counter++ & 0xffffu);
    return target.parent_path() / FilePath(TemporaryPrefix(target) + text);
}

// Removes the temporaries of `target` that a program killed while writing
// left behind: those of processes that no longer run.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = TemporaryPrefix(target);
    std::error_code ec;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = FileName(it->path().filename());
        if (name.compare(0, prefix.size(), prefix) != 0 || name.size() < prefix.size() + 5 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid <= 0 || pid == platform::ProcessNumber() || !platform::ProcessEnded(pid)) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

// The file a name stands for: symbolic links followed to their end, also
// when the end does not exist yet.
fs::path RealTarget(const std::string& path) {
    fs::path p = FilePath(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
        const fs::path link = fs::read_symlink(p, ec);
        if (ec) break;
        p = link.is_absolute() ? link : p.parent_path() / link;
    }
    return p;
}

fs::path FolderOf(const fs::path& target) {
    return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// Writes and flushes one temporary; an empty string on success.
std::string WriteTemporary(const std::string& path, const fs::path& target, const Temporary& temporary,
                           const std::string& content) {
    bool folderRefuses = false;
    const std::string error = platform::WriteNewFile(temporary.Name(), target, content, folderRefuses);
    if (error.empty()) return error;
    if (folderRefuses)
        return "Could not write " + path + ": the folder " + FileName(FolderOf(target)) +
               " does not take new files (" + error + ").";
    return "Could not write " + path + ": " + error;
}

struct Planned {
    std::string path;  // as given, for messages
    fs::path target;   // the real file
    const std::string* content;
    bool existed = false;
};

std::string Check(const std::string& path, const fs::path& target) {
    if (path.empty()) return "No file name was given.";
    std::error_code ec;
    if (fs::is_directory(target, ec)) return "Could not write " + path + ": it is a folder.";
    const fs::path folder = FolderOf(target);
    if (!fs::is_directory(folder, ec))
        return "Could not write " + path + ": the folder " + FileName(folder) + " does not exist.";
    return std::string();
}

// The files by reference: a run's output text is tens of megabytes and is
// never copied on its way to the disk.
std::string WriteAll(const std::vector<std::pair<const std::string*, const std::string*>>& files) {
    std::vector<Planned> plan;
    for (const auto& [pathPointer, content] : files) {
        const std::string& path = *pathPointer;
        Planned p{path, RealTarget(path), content};
        const std::string error = Check(path, p.target);
        if (!error.empty()) return error;
        std::error_code ec;
        p.existed = fs::exists(p.target, ec);
        plan.push_back(p);
    }
    // Every new file is complete on the disk before any old one is touched.
    std::vector<std::unique_ptr<Temporary>> temps;
    for (const Planned& p : plan) {
        RemoveStaleTemporaries(p.target);
        temps.push_back(std::make_unique<Temporary>(TemporaryName(p.target)));
        const std::string error = WriteTemporary(p.path, p.target, *temps.back(), *p.content);
        if (!error.empty()) return error;  // the temporaries go with `temps`
    }
    // Keep the old files under temporary names until all new ones are in
    // place, so that a failed rename can put them back.
    std::vector<std::unique_ptr<Temporary>> backups;
    for (const Planned& p : plan) {
        backups.push_back(nullptr);
        if (plan.size() < 2) continue;
        auto backup = std::make_unique<Temporary>(TemporaryName(p.target));
        if (platform::AddSecondName(p.target, backup->Name())) backups.back() = std::move(backup);
    }
    for (size_t k = 0; k < plan.size(); ++k) {
        const std::string reason = platform::MoveOver(temps[k]->Name(), plan[k].target);
        if (reason.empty()) {
            temps[k]->Renamed();
            continue;
        }
        for (size_t j = 0; j < k; ++j) {
            if (backups[j] && platform::MoveOver(backups[j]->Name(), plan[j].target).empty())
                backups[j]->Renamed();
            else if (!plan[j].existed)
                platform::RemoveFile(plan[j].target);
        }
        return "Could not write " + plan[k].path + ": " + reason;
    }
    for (const Planned& p : plan) platform::FlushFolder(FolderOf(p.target));
    return std::string();
}

}  // namespace

std::string WriteFilesTogether(const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<std::pair<const std::string*, const std::string*>> references;
    for (const auto& [path, content] : files) references.emplace_back(&path, &content);
    return WriteAll(references);
}

std::string WriteFileReplacing(const std::string& path, const std::string& content) {
    return WriteAll({{&path, &content}});
}

FileRead ReadDataFile(const std::string& path, std::string& content, std::string& error, std::uintmax_t maxBytes,
                      std::string* reason) {
    platform::ReadOnlyFile file(FilePath(path));
    if (!file.IsOpen()) {
        error = "Could not read " + path + ": " + file.Reason();
        if (reason) *reason = file.Reason();
        return FileRead::CannotOpen;
    }
    if (file.Kind() != platform::FileKind::Regular) {
        error = file.Kind() == platform::FileKind::Folder ? "Could not read " + path + ": it is a folder."
                                                          : "Could not read " + path + ": it is not a regular file.";
        return FileRead::Refused;
    }
    const std::uintmax_t size = file.Size();
    if (size > maxBytes) {
        error = "Could not read " + path + ": it holds " + std::to_string(size) +
                " bytes, more than a data file of at most " + std::to_string(MaxTimeSteps) +
                " time steps can hold (" + std::to_string(maxBytes) + ").";
        return FileRead::Refused;
    }
    std::string text(static_cast<size_t>(size), '\0');
    size_t got = 0;
    auto fail = [&](const std::string& why, FileRead result) {
        error = "Could not read " + path + ": " + why;
        if (reason) *reason = why;
        return result;
    };
    while (got < text.size()) {
        const long long n = file.Read(&text[got], text.size() - got);
        if (n < 0) return fail(file.Reason(), FileRead::CannotOpen);
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    text.resize(got);
    // A file that grows while it is read is still read no further than
    // maxBytes.
    char more[65536];
    for (;;) {
        const long long n = file.Read(more, sizeof more);
        if (n < 0) return fail(file.Reason(), FileRead::CannotOpen);
        if (n == 0) break;
        if (text.size() + static_cast<size_t>(n) > maxBytes)
            return fail("it grew beyond " + std::to_string(maxBytes) + " bytes while it was read.", FileRead::Refused);
        text.append(more, static_cast<size_t>(n));
    }
    content = std::move(text);
    return FileRead::Ok;
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string& error) {
    return ReadDataFile(path, content, error) == FileRead::Ok;
}

std::string ShownText(const std::string& text, size_t limit) {
    std::string out;
    size_t k = 0;
    for (; k < text.size() && k < limit; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (k < text.size()) out += "...";
    return out;
}

std::string ConversionMessage(const std::string& text) {
    return "'" + ShownText(text) + "' is not a valid floating point value";
}

LineReader::LineReader(const std::string& text) : text_(text) {
    if (text.find('\n') == std::string::npos && text.find('\r') != std::string::npos) end_ = '\r';
    lineCount_ = static_cast<int>(std::count(text.begin(), text.end(), end_));
    if (!text.empty() && text.back() != end_) ++lineCount_;
}

const std::string& LineReader::Next() {
    ++lineNumber_;
    line_.clear();
    if (lineNumber_ > lineCount_) return line_;
    size_t end = text_.find(end_, position_);
    if (end == std::string::npos) end = text_.size();
    size_t length = end - position_;
    if (end_ == '\n' && length > 0 && text_[position_ + length - 1] == '\r') --length;
    line_.assign(text_, position_, length);
    position_ = end + 1;
    return line_;
}

void LineReader::Skip(int count) {
    for (int k = 0; k < count; ++k) Next();
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
    fs::path p = FilePath(path);
    p.replace_extension(FilePath(extension));
    return FileName(p);
}

std::string PlaceOnDisk(const std::string& name) {
    const fs::path absolute = fs::absolute(FilePath(name));
    std::error_code ec;
    const fs::path place = fs::weakly_canonical(absolute, ec);
    return FileName(platform::NameKey(ec ? absolute.lexically_normal() : place));
}

bool SameFile(const std::string& a, const std::string& b) {
    const fs::path pa = FilePath(a), pb = FilePath(b);
    std::error_code ec1, ec2;
    if (fs::exists(pa, ec1) && fs::exists(pb, ec2)) {
        std::error_code ec;
        const bool same = fs::equivalent(pa, pb, ec);
        if (!ec) return same;
    }
    return PlaceOnDisk(a) == PlaceOnDisk(b);
}

}  // namespace halovane
