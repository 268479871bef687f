// The system calls on Windows. Names go to the system as UTF-16.
#include "Platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace halovane::platform {

namespace {

std::string Utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

std::string ErrorText(DWORD code) {
    if (code == 0) return "input/output error";
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = length > 0 ? Utf8(text, static_cast<int>(length)) : std::string();
    if (text != nullptr) LocalFree(text);
    // Messages end in a full stop and a line end; the callers add their own.
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out.empty() ? "system error " + std::to_string(code) : out;
}

bool Exists(const Path& name) { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

Path FilePath(const std::string& utf8) { return std::filesystem::u8path(utf8); }
std::string FileName(const Path& path) { return path.u8string(); }

// ------------------------------------------------ replacing files

void FileHold::Take(std::intptr_t handle) {
    Release();
    handle_ = handle;
}

void FileHold::Release() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

std::string WriteNewFile(const Path& name, const Path& model, const std::string& content, bool& folderRefuses,
                         FileHold& hold) {
    (void)model;
    (void)hold;  // closed at once: a file that is open cannot be renamed over the old one  // the attributes of the old file go over with ReplaceFileW
    folderRefuses = false;
    // Shared for deletion, so that an interruption can remove the file
    // while it is being written.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        folderRefuses = code == ERROR_ACCESS_DENIED || code == ERROR_PATH_NOT_FOUND || code == ERROR_WRITE_PROTECT ||
                        code == ERROR_FILE_NOT_FOUND;
        return ErrorText(code);
    }
    std::string error;
    const char* data = content.data();
    size_t left = content.size();
    while (error.empty() && left > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(left, size_t{1} << 30));
        if (!WriteFile(file, data, chunk, &written, nullptr)) {
            error = ErrorText(GetLastError());
        } else {
            data += written;
            left -= written;
        }
    }
    if (error.empty() && !FlushFileBuffers(file)) error = ErrorText(GetLastError());
    if (!CloseHandle(file) && error.empty()) error = ErrorText(GetLastError());
    return error;
}

bool AddSecondName(const Path& name, const Path& second) {
    // A copy where the file system has no hard links.
    return CreateHardLinkW(second.c_str(), name.c_str(), nullptr) || CopyFileW(name.c_str(), second.c_str(), TRUE);
}

std::string MoveOver(const Path& from, const Path& to) {
    // ReplaceFileW keeps the old file's attributes and permissions; a new
    // file, or one that ReplaceFileW cannot take, is moved with write-through.
    if (Exists(to) &&
        ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return std::string();
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return std::string();
    return ErrorText(GetLastError());
}

void RemoveFile(const Path& name) { DeleteFileW(name.c_str()); }

bool FileInUse(const Path& name) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

FileLock::FileLock(const Path& name, int waitMilliseconds) : name_(name) {
    DWORD waited = 0, pause = 1;
    for (;;) {
        // Removed when the last handle closes; a name about to go refuses
        // new handles, and the next try makes a new file.
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        bool retry = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
        if (file != INVALID_HANDLE_VALUE) {
            OVERLAPPED whole{};
            if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
                handle_ = reinterpret_cast<std::intptr_t>(file);
                state_ = State::Held;
                return;
            }
            retry = GetLastError() == ERROR_LOCK_VIOLATION;
            CloseHandle(file);
        }
        if (!retry) return;
        if (waited >= static_cast<DWORD>(waitMilliseconds)) {
            state_ = State::Busy;
            return;
        }
        Sleep(pause);
        waited += pause;
        pause = pause < 50 ? pause * 2 : 50;
    }
}

FileLock::~FileLock() {
    if (state_ == State::Held) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

void FlushFolder(const Path& folder) { (void)folder; }  // the moves above write through

// ------------------------------------------------ processes

long ProcessNumber() { return static_cast<long>(GetCurrentProcessId()); }

bool ProcessEnded(long number) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(number));
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

namespace {

void (*cleanupOnInterrupt)() = nullptr;

// Runs in a thread of its own; returning FALSE lets the system's handler end
// the program.
BOOL WINAPI CleanUpOnConsoleEvent(DWORD event) {
    (void)event;
    if (cleanupOnInterrupt != nullptr) cleanupOnInterrupt();
    return FALSE;
}

}  // namespace

void CallOnInterrupt(void (*cleanup)()) {
    static const bool installed = [cleanup] {
        cleanupOnInterrupt = cleanup;
        return SetConsoleCtrlHandler(CleanUpOnConsoleEvent, TRUE) != 0;
    }();
    (void)installed;
}

void RemoveFileNow(const Path::value_type* name) { DeleteFileW(name); }

void MoveNow(const Path::value_type* from, const Path::value_type* to) {
    MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// ------------------------------------------------ links

// Creating a link needs a privilege on Windows, and folders are not shared
// in the POSIX way: links are followed.
LinkOwners OwnersOf(const Path& link, const Path& folder) {
    (void)link, (void)folder;
    return LinkOwners{};
}

// ------------------------------------------------ reading

ReadOnlyFile::ReadOnlyFile(const Path& name) {
    // Folders open only with backup semantics; they are told apart below.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason_ = ErrorText(GetLastError());
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    open_ = true;
    if (GetFileType(file) != FILE_TYPE_DISK) return;  // a pipe, the console, a device
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return;
    kind_ = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder : FileKind::Regular;
    size_ = (std::uintmax_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (open_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

long long ReadOnlyFile::Read(char* into, std::size_t count) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, size_t{1} << 30));
    if (ReadFile(reinterpret_cast<HANDLE>(handle_), into, chunk, &got, nullptr)) return got;
    const DWORD code = GetLastError();
    if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return 0;
    reason_ = ErrorText(code);
    return -1;
}

// ------------------------------------------------ names

Path NameKey(const Path& path) {
    std::wstring text = path.native();
    if (!text.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, path.c_str(), static_cast<int>(text.size()), text.data(),
                     static_cast<int>(text.size()));
    return Path(text);
}

std::vector<std::string> Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int k = 0; k < count; ++k) arguments.push_back(Utf8(wide[k], -1).c_str());
    LocalFree(wide);
    // The messages name files in UTF-8.
    SetConsoleOutputCP(CP_UTF8);
    return arguments;
}

// ------------------------------------------------ memory

// Large pages on Windows need a privilege and memory of their own
// (VirtualAlloc with MEM_LARGE_PAGES), not blocks from malloc: nothing to do.
void AdviseHugePages(void* block, std::size_t size) { (void)block, (void)size; }

}  // namespace halovane::platform
