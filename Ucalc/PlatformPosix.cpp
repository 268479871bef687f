// The system calls on Linux and other POSIX systems.
#include "Platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <cerrno>
#include <cstring>

namespace halovane::platform {

namespace {

std::string ErrorText(int code) { return code != 0 ? std::string(std::strerror(code)) : "input/output error"; }

}  // namespace

Path FilePath(const std::string& utf8) { return Path(utf8); }
std::string FileName(const Path& path) { return path.string(); }

// ------------------------------------------------ replacing files

std::string WriteNewFile(const Path& name, const Path& model, const std::string& content, bool& folderRefuses) {
    folderRefuses = false;
    struct stat old {};
    const bool exists = stat(model.c_str(), &old) == 0;
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int code = errno;
        folderRefuses = code == EACCES || code == EROFS || code == ENOENT || code == EPERM;
        return ErrorText(code);
    }
    std::string error;
    if (exists && fchmod(fd, old.st_mode & 07777) != 0) error = ErrorText(errno);
    const char* data = content.data();
    size_t left = content.size();
    while (error.empty() && left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            error = ErrorText(errno);
        } else {
            data += written;
            left -= static_cast<size_t>(written);
        }
    }
    if (error.empty() && fsync(fd) != 0) error = ErrorText(errno);
    if (close(fd) != 0 && error.empty()) error = ErrorText(errno);
    return error;
}

bool AddSecondName(const Path& name, const Path& second) { return link(name.c_str(), second.c_str()) == 0; }

std::string MoveOver(const Path& from, const Path& to) {
    return rename(from.c_str(), to.c_str()) == 0 ? std::string() : ErrorText(errno);
}

void RemoveFile(const Path& name) { unlink(name.c_str()); }

void FlushFolder(const Path& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// ------------------------------------------------ processes

long ProcessNumber() { return static_cast<long>(getpid()); }

bool ProcessEnded(long number) { return kill(static_cast<pid_t>(number), 0) != 0 && errno == ESRCH; }

namespace {

// A signal handler reaches static storage only.
void (*cleanupOnSignal)() = nullptr;
struct sigaction previousInt, previousTerm;

extern "C" void CleanUpAndResignal(int signal) {
    if (cleanupOnSignal != nullptr) cleanupOnSignal();
    const struct sigaction& previous = signal == SIGINT ? previousInt : previousTerm;
    if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
        return;
    }
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    sigaction(signal, &standard, nullptr);
    raise(signal);
}

}  // namespace

void CallOnInterrupt(void (*cleanup)()) {
    static const bool installed = [cleanup] {
        cleanupOnSignal = cleanup;
        struct sigaction action {};
        action.sa_handler = CleanUpAndResignal;
        sigemptyset(&action.sa_mask);
        for (auto [signal, previous] : {std::pair{SIGINT, &previousInt}, {SIGTERM, &previousTerm}}) {
            sigaction(signal, nullptr, previous);
            // A program started to ignore the signal keeps ignoring it.
            if ((previous->sa_flags & SA_SIGINFO) == 0 && previous->sa_handler == SIG_IGN) continue;
            sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

void RemoveFileNow(const Path::value_type* name) { unlink(name); }

// ------------------------------------------------ reading

ReadOnlyFile::ReadOnlyFile(const Path& name) {
    // Opening without waiting: a pipe with no writer would block here.
    const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason_ = ErrorText(errno);
        return;
    }
    handle_ = fd;
    open_ = true;
    struct stat info {};
    if (fstat(fd, &info) != 0) return;
    kind_ = S_ISREG(info.st_mode) ? FileKind::Regular : S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Other;
    size_ = static_cast<std::uintmax_t>(info.st_size);
    if (kind_ == FileKind::Regular) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (open_) close(static_cast<int>(handle_));
}

long long ReadOnlyFile::Read(char* into, std::size_t count) {
    for (;;) {
        const ssize_t n = read(static_cast<int>(handle_), into, count);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) reason_ = ErrorText(errno);
        return n;
    }
}

// ------------------------------------------------ names

Path NameKey(const Path& path) { return path; }

std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

// ------------------------------------------------ memory

void AdviseHugePages(void* block, std::size_t size) {
#if defined(__linux__)
    constexpr std::uintptr_t HugePage = std::uintptr_t{2} << 20;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + HugePage - 1) & ~(HugePage - 1);
    const std::uintptr_t last = (start + size) & ~(HugePage - 1);
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block, (void)size;
#endif
}

}  // namespace halovane::platform
