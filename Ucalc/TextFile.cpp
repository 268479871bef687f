#include "TextFile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
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

// The names that an interruption must deal with: temporaries being written
// (removed) and, while several files are replaced together, the second
// names of the old files (put back over the new ones, so that the old set
// is whole again). A signal handler can reach nothing but static storage;
// the table is the one piece of process-wide state of the engine and holds
// nothing but these names.
enum Action : int {
    Free,
    Claimed,        // being filled in
    Remove,         // remove `name`
    PutBack,        // while its group is being committed: `name` back over `target`; then remove `name`
    RemoveTarget,   // while its group is being committed: remove `target`, which was not there before
};
constexpr int Slots = 256;  // a run writes at most five files, with their second names
constexpr size_t NameSize = 4096;
struct Slot {
    std::atomic<int> action;
    std::atomic<int> group;  // index into `committing`
    fs::path::value_type name[NameSize];
    fs::path::value_type target[NameSize];
};
struct InterruptTable {
    Slot slots[Slots];
    std::atomic<bool> groupUsed[Slots];
    std::atomic<bool> committing[Slots];  // the group's renames have begun and not all ended
};
InterruptTable table{};

void OnInterrupt() {
    for (Slot& slot : table.slots) {
        const int action = slot.action.load();
        const bool committing = action >= PutBack && table.committing[slot.group.load()].load();
        if (action == PutBack && committing) platform::MoveNow(slot.name, slot.target);
        if (action == RemoveTarget) {
            if (committing) platform::RemoveFileNow(slot.target);
        } else if (action >= Remove) {
            platform::RemoveFileNow(slot.name);  // after a put-back only when the rename did nothing
        }
    }
}

bool Copy(const fs::path& from, fs::path::value_type* into) {
    const auto& native = from.native();
    if (native.size() >= NameSize) return false;
    std::memcpy(into, native.c_str(), (native.size() + 1) * sizeof native[0]);
    return true;
}

// An entry of the table for as long as the object lives; none when the
// table is full or a name too long (the interruption then leaves it).
class Registered {
public:
    Registered(Action action, const fs::path& name, const fs::path& target = fs::path(), int group = 0) {
        platform::CallOnInterrupt(OnInterrupt);
        for (int k = 0; k < Slots && action != Free; ++k) {
            int expected = Free;
            if (!table.slots[k].action.compare_exchange_strong(expected, Claimed)) continue;
            Slot& slot = table.slots[k];
            if (Copy(name, slot.name) && Copy(target, slot.target)) {
                slot.group.store(group);
                slot.action.store(action);
                slot_ = k;
            } else {
                slot.action.store(Free);
            }
            break;
        }
    }
    ~Registered() { Set(Free); }
    Registered(const Registered&) = delete;
    Registered& operator=(const Registered&) = delete;
    // Free gives the slot up for good.
    void Set(Action action) {
        if (slot_ >= 0) table.slots[slot_].action.store(action);
        if (action == Free) slot_ = -1;
    }

private:
    int slot_ = -1;
};

// A group of files being committed: its renames are undone by an
// interruption until Done.
class CommitGroup {
public:
    CommitGroup() {
        for (int k = 0; k < Slots && index_ < 0; ++k) {
            bool expected = false;
            if (table.groupUsed[k].compare_exchange_strong(expected, true)) index_ = k;
        }
    }
    ~CommitGroup() {
        Done();
        if (index_ >= 0) table.groupUsed[index_].store(false);
    }
    CommitGroup(const CommitGroup&) = delete;
    CommitGroup& operator=(const CommitGroup&) = delete;
    bool Usable() const { return index_ >= 0; }
    int Index() const { return index_; }
    void Begin() { table.committing[index_].store(true); }
    void Done() {
        if (index_ >= 0) table.committing[index_].store(false);
    }

private:
    int index_ = -1;
};

// A temporary file, removed on an interruption and at the end unless it
// was renamed. Its writer holds it while it lives.
class Temporary {
public:
    explicit Temporary(const fs::path& name) : name_(name), entry_(Remove, name) {}
    // A second name of the old `target`, put back over it when an
    // interruption comes while `group` is being committed.
    Temporary(const fs::path& name, const fs::path& target, const CommitGroup& group)
        : name_(name),
          entry_(group.Usable() ? PutBack : Remove, name, target, group.Usable() ? group.Index() : 0) {}
    ~Temporary() {
        if (!kept_) platform::RemoveFile(name_);
        hold_.Release();  // after the removal: nobody sees it unheld
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    const fs::path& Name() const { return name_; }
    platform::FileHold& Hold() { return hold_; }
    void Renamed() {  // the name no longer exists
        kept_ = true;
        entry_.Set(Free);
    }

private:
    fs::path name_;
    Registered entry_;
    platform::FileHold hold_;
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
// recognisable as belonging to that target. The lock of the target is
// ".hv" + the same hash + ".lock".
std::string HashedName(const fs::path& target, const char* end) {
    char text[32];
    std::snprintf(text, sizeof text, ".hv%08x%s", NameHash(FileName(target.filename())), end);
    return text;
}

fs::path TemporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    char text[64];
    std::snprintf(text, sizeof text, "%ld-%x%x.tmp", platform::ProcessNumber(), random() & 0xffffu,
                  counter++ & 0xffffu);
    return target.parent_path() / FilePath(HashedName(target, "-") + text);
}

// A temporary that no process holds and that has not changed for this long
// was left by a program that was killed. The age covers the instant between
// making a temporary and taking its hold, and file systems without locks.
constexpr auto StaleAge = std::chrono::seconds(2);

// Removes the temporaries of `target` that a program killed while writing
// left behind. The process number in the name is not trusted: it may have
// been given to another process since, or belong to another computer that
// shares the folder.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = HashedName(target, "-");
    std::error_code ec;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = FileName(it->path().filename());
        if (name.compare(0, prefix.size(), prefix) != 0 || name.size() < prefix.size() + 5 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        std::error_code ignored;
        const auto changed = fs::last_write_time(it->path(), ignored);
        if (ignored || now - changed < StaleAge || platform::FileInUse(it->path())) continue;
        fs::remove(it->path(), ignored);
    }
}

fs::path FolderOf(const fs::path& target) {
    return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// The file a name stands for, with every symbolic link on its way followed
// (also when its end does not exist yet), but only links that MayFollowLink
// allows; otherwise an empty path and `error` names the link.
fs::path RealTarget(const std::string& path, std::string& error) {
    const fs::path given = FilePath(path);
    fs::path done = given.root_path();
    const fs::path relative = given.relative_path();
    std::deque<fs::path> parts(relative.begin(), relative.end());
    std::error_code ec;
    for (int hops = 0; !parts.empty();) {
        const fs::path part = parts.front();
        parts.pop_front();
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            done = done.relative_path().empty() || done.filename() == ".." ? done / part : done.parent_path();
            continue;
        }
        const fs::path next = done / part;
        if (!fs::is_symlink(fs::symlink_status(next, ec))) {
            done = next;
            continue;
        }
        const fs::path link = fs::read_symlink(next, ec);
        if (ec || ++hops > 40) {
            error = "Could not write " + path + ": the link " + FileName(next) + " cannot be followed (" +
                    (ec ? ec.message() : std::string("too many links")) + ").";
            return fs::path();
        }
        if (!MayFollowLink(platform::OwnersOf(next, FolderOf(next)))) {
            error = "Could not write " + path + ": " + FileName(next) +
                    " is a link that another user made in a folder open to everyone; it is not followed.";
            return fs::path();
        }
        const fs::path inside = link.relative_path();
        parts.insert(parts.begin(), inside.begin(), inside.end());
        if (link.is_absolute()) done = link.root_path();
    }
    return done;
}

// Writes and flushes one temporary; an empty string on success.
std::string WriteTemporary(const std::string& path, const fs::path& target, Temporary& temporary,
                           const std::string& content) {
    bool folderRefuses = false;
    const std::string error =
        platform::WriteNewFile(temporary.Name(), target, content, folderRefuses, temporary.Hold());
    if (error.empty()) return error;
    if (folderRefuses)
        return "Could not write " + path + ": the folder " + FileName(FolderOf(target)) +
               " does not take new files (" + error + ").";
    return "Could not write " + path + ": " + error;
}

struct Planned {
    std::string path;  // as given, for messages
    fs::path target;   // the real file
    const std::string* content;  // none: the file is removed
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

// How long a write waits for another process of the program that replaces
// the same files; a commit takes a few renames.
constexpr int LockWaitMilliseconds = 30000;

// The files by reference: a run's output text is tens of megabytes and is
// never copied on its way to the disk. A null content removes the file.
std::string WriteAll(const std::vector<std::pair<const std::string*, const std::string*>>& files) {
    std::vector<Planned> plan;
    for (const auto& [pathPointer, content] : files) {
        const std::string& path = *pathPointer;
        std::string error;
        Planned p{path, RealTarget(path, error), content};
        if (error.empty()) error = Check(path, p.target);
        if (!error.empty()) return error;
        std::error_code ec;
        p.existed = fs::exists(fs::symlink_status(p.target, ec));
        if (!content && !p.existed) continue;
        plan.push_back(p);
    }
    if (plan.empty()) return std::string();
    // Every new file is complete on the disk before any old one is touched.
    std::vector<std::unique_ptr<Temporary>> temps;
    for (const Planned& p : plan) {
        temps.push_back(nullptr);
        if (!p.content) continue;
        temps.back() = std::make_unique<Temporary>(TemporaryName(p.target));
        const std::string error = WriteTemporary(p.path, p.target, *temps.back(), *p.content);
        if (!error.empty()) return error;  // the temporaries go with `temps`
    }
    // One process at a time replaces the files of one name (the first
    // file's); the others wait, so that the set on the disk is always one
    // process's set.
    const platform::FileLock lock(FilePath(LockFileName(FileName(plan.front().target))), LockWaitMilliseconds);
    if (lock.Result() == platform::FileLock::State::Busy)
        return "Could not write " + plan.front().path + ": another program has been writing it for " +
               std::to_string(LockWaitMilliseconds / 1000) + " seconds.";
    // A lock file left by an interruption would only stand in the folder.
    const Registered lockName(lock.Result() == platform::FileLock::State::Held ? Remove : Free,
                              FilePath(LockFileName(FileName(plan.front().target))));
    for (const Planned& p : plan) RemoveStaleTemporaries(p.target);
    // Keep the old files under second names until all new ones are in
    // place, so that a failed rename or an interruption can put them back.
    CommitGroup group;
    std::vector<std::unique_ptr<Temporary>> backups;
    std::vector<std::unique_ptr<Registered>> undo;
    for (const Planned& p : plan) {
        backups.push_back(nullptr);
        if (plan.size() < 2) continue;
        if (p.existed) {
            auto backup = std::make_unique<Temporary>(TemporaryName(p.target), p.target, group);
            if (platform::AddSecondName(p.target, backup->Name())) backups.back() = std::move(backup);
        } else if (group.Usable()) {
            undo.push_back(std::make_unique<Registered>(RemoveTarget, fs::path(), p.target, group.Index()));
        }
    }
    if (group.Usable()) group.Begin();
    for (size_t k = 0; k < plan.size(); ++k) {
        std::string reason;
        if (temps[k]) {
            reason = platform::MoveOver(temps[k]->Name(), plan[k].target);
            if (reason.empty()) temps[k]->Renamed();
        } else {
            std::error_code ec;
            if (!fs::remove(plan[k].target, ec) && ec) reason = ec.message();
        }
        if (reason.empty()) continue;
        for (size_t j = 0; j < k; ++j) {
            if (backups[j] && platform::MoveOver(backups[j]->Name(), plan[j].target).empty())
                backups[j]->Renamed();
            else if (!plan[j].existed)
                platform::RemoveFile(plan[j].target);
        }
        return "Could not write " + plan[k].path + ": " + reason;
    }
    group.Done();
    for (const Planned& p : plan) platform::FlushFolder(FolderOf(p.target));
    return std::string();
}

}  // namespace

std::string LockFileName(const std::string& path) {
    const fs::path target = FilePath(path);
    return FileName(target.parent_path() / FilePath(HashedName(target, ".lock")));
}

bool MayFollowLink(const platform::LinkOwners& owners) {
    return !owners.known || !owners.folderShared || owners.link == owners.user || owners.link == owners.folder;
}

std::string WriteFilesTogether(const std::vector<std::pair<std::string, std::string>>& files,
                               const std::vector<std::string>& removed) {
    std::vector<std::pair<const std::string*, const std::string*>> references;
    for (const auto& [path, content] : files) references.emplace_back(&path, &content);
    for (const std::string& path : removed) references.emplace_back(&path, nullptr);
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
