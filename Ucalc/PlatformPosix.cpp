// The system calls on Linux and other POSIX systems.
#include "Platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
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

void FileHold::Take(std::intptr_t handle) {
    Release();
    handle_ = handle;
}

void FileHold::Release() {
    if (handle_ >= 0) close(static_cast<int>(handle_));
    handle_ = -1;
}

std::string WriteNewFile(const Path& name, const Path& model, const std::string& content, bool& folderRefuses,
                         FileHold& hold) {
    folderRefuses = false;
    struct stat old {};
    const bool exists = stat(model.c_str(), &old) == 0;
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int code = errno;
        folderRefuses = code == EACCES || code == EROFS || code == ENOENT || code == EPERM;
        return ErrorText(code);
    }
    // Locked at once, so that another process sees it in use; where the
    // file system has no locks the file's age still protects it.
    flock(fd, LOCK_EX | LOCK_NB);
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
    hold.Take(fd);
    return error;
}

bool FileInUse(const Path& name) {
    const int fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool inUse = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return inUse;
}

FileLock::FileLock(const Path& name, int waitMilliseconds) : name_(name) {
    long waited = 0, pause = 1;
    for (;;) {
        const int fd = open(name.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) return;  // Unavailable: the write itself says why the folder refuses
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before may have removed the name after this
            // process opened it: then the lock is on a file nobody else
            // will open, and it is taken again on the name.
            struct stat held {}, now {};
            if (fstat(fd, &held) == 0 && stat(name.c_str(), &now) == 0 && held.st_dev == now.st_dev &&
                held.st_ino == now.st_ino) {
                handle_ = fd;
                state_ = State::Held;
                return;
            }
            close(fd);
            continue;
        }
        const int code = errno;
        close(fd);
        if (code != EWOULDBLOCK && code != EINTR) return;
        if (waited >= waitMilliseconds) {
            state_ = State::Busy;
            return;
        }
        const struct timespec sleep {0, pause * 1000000L};
        nanosleep(&sleep, nullptr);
        waited += pause;
        pause = pause < 50 ? pause * 2 : 50;
    }
}

FileLock::~FileLock() {
    if (state_ != State::Held) return;
    unlink(name_.c_str());  // while still held: a waiter then finds the name gone and tries again
    close(static_cast<int>(handle_));
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
struct sigaction previousInt, previousTerm, previousHup;

extern "C" void CleanUpAndResignal(int signal) {
    if (cleanupOnSignal != nullptr) cleanupOnSignal();
    const struct sigaction& previous = signal == SIGINT ? previousInt : signal == SIGTERM ? previousTerm : previousHup;
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
        // One cleanup at a time: the other signals wait until it is done.
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal);
        for (auto [signal, previous] :
             {std::pair{SIGINT, &previousInt}, {SIGTERM, &previousTerm}, {SIGHUP, &previousHup}}) {
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

void MoveNow(const Path::value_type* from, const Path::value_type* to) { rename(from, to); }

// ------------------------------------------------ links

LinkOwners OwnersOf(const Path& link, const Path& folder) {
    LinkOwners owners;
    struct stat l {}, f {};
    if (lstat(link.c_str(), &l) != 0 || stat(folder.c_str(), &f) != 0) return owners;
    owners.known = true;
    owners.link = l.st_uid;
    owners.folder = f.st_uid;
    owners.user = geteuid();
    owners.folderShared = (f.st_mode & S_ISVTX) != 0 && (f.st_mode & S_IWOTH) != 0;
    return owners;
}

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
