// The few calls of the operating system that the C++ library does not offer:
// replacing a file safely, removing temporaries when the program is
// interrupted, reading a data file without waiting on a pipe, names on a
// file system that ignores case, the command line and huge pages. One
// implementation for POSIX systems (PlatformPosix.cpp) and one for Windows
// (PlatformWindows.cpp); no other file of the program calls the system.
//
// Names are UTF-8 text in the rest of the program; FilePath and FileName
// convert, so that names outside ASCII work on Windows too, whose calls
// take UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace halovane::platform {

using Path = std::filesystem::path;

Path FilePath(const std::string& utf8);
std::string FileName(const Path& path);

// ------------------------------------------------ replacing files
// Each returns an empty string on success, otherwise the reason.

// A file that its writer keeps open and locked, so that other processes
// see it is in use (FileInUse) for as long as the hold lasts, also after
// it was renamed. Released with the object.
class FileHold {
public:
    FileHold() = default;
    ~FileHold() { Release(); }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;
    void Take(std::intptr_t handle);
    void Release();

private:
    std::intptr_t handle_ = -1;
};

// Creates `name`, which must not exist yet, writes `content` to it and
// flushes it to the disk; `hold` keeps it in use afterwards where the
// system allows (on Windows the file is closed at once, so that it can be
// renamed). The new file gets the permissions of `model` where that
// exists. `folderRefuses` tells whether the folder takes no new files at
// all.
std::string WriteNewFile(const Path& name, const Path& model, const std::string& content, bool& folderRefuses,
                         FileHold& hold);
// Whether a process holds the file open (POSIX: locked by a FileHold;
// Windows: open at all).
bool FileInUse(const Path& name);

// An exclusive lock that processes of the program take on a lock file
// before they replace the files it stands for; the lock file is made when
// missing and removed again by the last holder (on Windows when the last
// handle closes).
class FileLock {
public:
    enum class State {
        Held,
        Busy,         // another process held it through the whole wait
        Unavailable,  // the file system offers no locks; nothing is held
    };
    FileLock(const Path& name, int waitMilliseconds);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    State Result() const { return state_; }

private:
    Path name_;
    std::intptr_t handle_ = -1;
    State state_ = State::Unavailable;
};
// Gives the existing file `name` a second name, so that it survives its
// replacement; false when the file system cannot.
bool AddSecondName(const Path& name, const Path& second);
// Puts the file `from` in the place of `to` in one step: `to` is either the
// old or the new file after any failure. The change is on the disk when it
// returns.
std::string MoveOver(const Path& from, const Path& to);
void RemoveFile(const Path& name);
// Flushes the folder's list of names to the disk, where that is needed.
void FlushFolder(const Path& folder);

// ------------------------------------------------ processes

long ProcessNumber();
// Whether the process has ended for certain; false when unknown.
bool ProcessEnded(long number);
// Calls `cleanup` once when the program is interrupted (Ctrl+C, a request
// to end it, the terminal or console closed), then ends the program as the
// interruption would have. `cleanup` may call RemoveFileNow and MoveNow
// only.
void CallOnInterrupt(void (*cleanup)());
// Removes a file; safe in `cleanup` above.
void RemoveFileNow(const Path::value_type* name);
// Renames `from` over `to`; safe in `cleanup` above.
void MoveNow(const Path::value_type* from, const Path::value_type* to);

// ------------------------------------------------ links

// Who owns a symbolic link and the folder it lies in, and who runs the
// program; `known` is false where files have no such owners (Windows).
struct LinkOwners {
    bool known = false;
    unsigned long link = 0, folder = 0, user = 0;
    bool folderShared = false;  // sticky and writable by everyone, as /tmp
};
LinkOwners OwnersOf(const Path& link, const Path& folder);

// ------------------------------------------------ reading

enum class FileKind { Regular, Folder, Other };

// A file open for reading, without waiting on a pipe that has no writer.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const Path& name);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    bool IsOpen() const { return open_; }
    const std::string& Reason() const { return reason_; }  // of the last failure
    FileKind Kind() const { return kind_; }
    std::uintmax_t Size() const { return size_; }
    // The bytes read: 0 at the end, -1 on a failure.
    long long Read(char* into, std::size_t count);

private:
    std::intptr_t handle_ = -1;
    bool open_ = false;
    FileKind kind_ = FileKind::Other;
    std::uintmax_t size_ = 0;
    std::string reason_;
};

// ------------------------------------------------ names

// The path in the form in which two names of one place compare equal: on a
// file system that ignores case (Windows), in capitals.
Path NameKey(const Path& path);

// The program's arguments as UTF-8 (on Windows from the wide command line).
std::vector<std::string> Arguments(int argc, char** argv);

// ------------------------------------------------ memory

// Asks the system to back the whole huge pages inside a large block with
// huge pages; advice only, nothing where the system has none.
void AdviseHugePages(void* block, std::size_t size);

}  // namespace halovane::platform
