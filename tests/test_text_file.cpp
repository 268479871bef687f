#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "InputFile.h"
#include "OutputFile.h"
#include "Platform.h"
#include "RunDriver.h"
#include "TestSupport.h"
#include "TextFile.h"

using namespace halovane;
using namespace halovane::test;
namespace fs = std::filesystem;

namespace {

int FilesIn(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

bool TemporaryIn(const fs::path& folder) {
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".tmp") return true;
    return false;
}

#ifndef _WIN32
// Starts a child that writes `bytes` bytes to `path`, and kills it with
// `signal` while its temporary exists. Returns the child's wait status, or
// -1 when the write ended before the temporary was seen.
int KillWhileWriting(const std::string& path, size_t bytes, int signal) {
    const pid_t child = fork();
    if (child == 0) {
        WriteFileReplacing(path, std::string(bytes, 'x'));
        _exit(0);
    }
    const fs::path folder = fs::path(path).parent_path();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool seen = false;
    while (!seen && std::chrono::steady_clock::now() < until) {
        seen = TemporaryIn(folder);
        if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (seen) kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    return seen ? status : -1;
}

#endif

}  // namespace

// Names outside ASCII reach the disk as written on every system. Where the
// file system ignores case (Windows), names that differ in case only are
// one file: an input X.OUT is never overwritten by its results X.out, and
// two inputs whose results would be x.out and X.out clash.
TEST(FileReplacement, NamesOutsideAsciiAndTheCaseOfTheFileSystem) {
    TempDir dir;
    const std::string name = dir.File("Bodenprofil-\u00d1and\u00fa-\u03b8.out");
    ASSERT_EQ(WriteFileReplacing(name, "first"), "");
    ASSERT_EQ(WriteFilesTogether({{name, "second"}, {ChangeExtension(name, ".csv"), "csv"}}), "");
    std::string text, error;
    ASSERT_EQ(ReadDataFile(name, text, error), FileRead::Ok) << error;
    EXPECT_EQ(text, "second");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename().u8string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Bodenprofil-\u00d1and\u00fa-\u03b8.csv",
                                               "Bodenprofil-\u00d1and\u00fa-\u03b8.out"}));

    WriteFile(dir.File("X.OUT"), "input");
    const bool ignoresCase = fs::exists(dir.Path() / "x.out");
#ifdef _WIN32
    EXPECT_TRUE(ignoresCase);
#endif
    EXPECT_EQ(SameFile(dir.File("X.OUT"), dir.File("x.out")), ignoresCase);
    // Refused on every system: the same file wherever names ignore case.
    EXPECT_FALSE(OutputOverwritesInput(dir.File("X.OUT"), RunFiles{}).empty());
    EXPECT_EQ(PlaceOnDisk(dir.File("\u00c9t\u00e9.OUT")) == PlaceOnDisk(dir.File("\u00e9t\u00e9.out")), ignoresCase);
    const std::vector<std::string> clashes =
        OutputNameClashes({dir.File("y.inp"), dir.File("Y.dat")}, RunFiles{});
    EXPECT_EQ(clashes[1].empty(), !ignoresCase);
    EXPECT_FALSE(TemporaryIn(dir.Path()));
}

#ifndef _WIN32
// Modes, links, signals and pipes as POSIX systems have them.
TEST(FileReplacement, KeepsTheModeAndWritesThroughALink) {
    TempDir dir;
    const std::string real = dir.File("real.inp");
    WriteFile(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(WriteFileReplacing(real, "new"), "");
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A link stays a link; the file it points to gets the text.
    fs::create_directory(dir.File("sub"));
    const std::string link = dir.File("sub/link.inp");
    fs::create_symlink("../real.inp", link);
    ASSERT_EQ(WriteFileReplacing(link, "through the link"), "");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(ReadFile(real), "through the link");
    // A link to a file not yet there creates that file.
    fs::create_symlink("later.out", dir.File("dangling.out"));
    ASSERT_EQ(WriteFileReplacing(dir.File("dangling.out"), "created"), "");
    EXPECT_EQ(ReadFile(dir.File("later.out")), "created");
    EXPECT_FALSE(TemporaryIn(dir.Path()));
}

TEST(FileReplacement, WritesNamesNearTheLengthLimit) {
    TempDir dir;
    const std::string name = dir.File(std::string(251, 'n') + ".out");
    ASSERT_EQ(WriteFileReplacing(name, "long"), "");
    EXPECT_EQ(ReadFile(name), "long");
    ASSERT_EQ(WriteFileReplacing(name, "longer"), "");
    EXPECT_EQ(ReadFile(name), "longer");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(FileReplacement, NamesTheFolderThatTakesNoNewFiles) {
    TempDir dir;
    fs::create_directory(dir.File("locked"));
    WriteFile(dir.File("locked/a.out"), "old");
    using fs::perms;
    fs::permissions(dir.File("locked"), perms::owner_read | perms::owner_exec | perms::group_read |
                                            perms::group_exec | perms::others_read | perms::others_exec);
    const std::string target = dir.File("locked/a.out");
    const std::string folder = dir.File("locked");
    auto attempt = [&] {
        const std::string error = WriteFileReplacing(target, "new");
        return error.find("the folder " + folder + " does not take new files") != std::string::npos &&
               ReadFile(target) == "old";
    };
    if (geteuid() != 0) {
        EXPECT_TRUE(attempt());
    } else {
        // Permissions do not bind root: the attempt runs as "nobody".
        fs::permissions(dir.Path(), fs::perms::all);
        const pid_t child = fork();
        if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && attempt() ? 0 : 1);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_NE(WriteFileReplacing(dir.File("nowhere/a.out"), "x").find("does not exist"), std::string::npos);
}

TEST(FileReplacement, RemovesItsTemporaryOnSigtermAndStaleOnesOnTheNextWrite) {
    TempDir dir;
    const std::string target = dir.File("big.out");
    WriteFile(target, "old");
    const int status = KillWhileWriting(target, 64u << 20, SIGTERM);
    if (status == -1) GTEST_SKIP() << "the write ended before it could be interrupted";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(TemporaryIn(dir.Path()));
    EXPECT_EQ(ReadFile(target), "old");

    // A kill that no handler sees leaves the temporary; the next write of
    // the same file removes it once nobody holds it, whatever process
    // number its name carries: here one of a running process.
    const int killed = KillWhileWriting(target, 64u << 20, SIGKILL);
    if (killed == -1) GTEST_SKIP() << "the write ended before it could be killed";
    ASSERT_TRUE(TemporaryIn(dir.Path()));
    fs::path left;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        if (e.path().extension() == ".tmp") left = e.path();
    const std::string name = left.filename().string();  // .hvHHHHHHHH-PID-RANDOM.tmp
    const std::string prefix = name.substr(0, 12), rest = name.substr(name.find('-', 12));
    const fs::path reused = dir.Path() / (prefix + std::to_string(getppid()) + rest);
    const fs::path held = dir.Path() / (prefix + "1-held.tmp");
    fs::rename(left, reused);
    WriteFile(held.string(), "being written");
    const int hold = open(held.c_str(), O_RDONLY);
    ASSERT_EQ(flock(hold, LOCK_EX), 0);
    for (const fs::path& p : {reused, held})
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::seconds(10));
    ASSERT_EQ(WriteFileReplacing(target, "new"), "");
    EXPECT_FALSE(fs::exists(reused));
    EXPECT_TRUE(fs::exists(held));
    close(hold);
    ASSERT_EQ(WriteFileReplacing(target, "newer"), "");
    EXPECT_FALSE(TemporaryIn(dir.Path()));
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

// The rule of the kernel's protected links, then the same on the disk.
TEST(FileReplacement, FollowsALinkOnlyWhereNoOtherUserCanHavePlantedIt) {
    struct Case {
        bool shared;
        unsigned long link, folder, user;
        bool follows;
    };
    for (const Case& c : {Case{false, 1000, 0, 0, true}, Case{true, 0, 0, 0, true}, Case{true, 1000, 0, 0, false},
                          Case{true, 1000, 1000, 0, true}, Case{true, 1000, 0, 1000, true},
                          Case{true, 1001, 1000, 1000, false}}) {
        platform::LinkOwners owners;
        owners.known = true;
        owners.folderShared = c.shared;
        owners.link = c.link, owners.folder = c.folder, owners.user = c.user;
        EXPECT_EQ(MayFollowLink(owners), c.follows) << c.shared << " " << c.link << " " << c.folder << " " << c.user;
    }
    if (geteuid() != 0) GTEST_SKIP() << "a link of another user can be made by root only";
    TempDir dir;
    const std::string shared = dir.File("shared"), secret = dir.File("secret");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    WriteFile(secret, "root only");
    const std::string link = shared + "/run.out", up = shared + "/up";
    fs::create_symlink(secret, link);
    fs::create_directory_symlink(dir.Path(), up);
    for (const std::string& l : {link, up}) ASSERT_EQ(lchown(l.c_str(), 65534, 65534), 0);
    // A link that "nobody" made, at the end of the name or on its way.
    for (auto [name, named] : {std::pair{link, link}, {up + "/secret", up}}) {
        const std::string error = WriteFileReplacing(name, "overwritten");
        EXPECT_NE(error.find(": " + named + " is a link that another user made"), std::string::npos) << error;
    }
    EXPECT_NE(WriteFilesTogether({{dir.File("run.csv"), "x"}, {link, "x"}}), "");
    EXPECT_EQ(ReadFile(secret), "root only");
    EXPECT_FALSE(fs::exists(dir.File("run.csv")));
    // The user's own link there is followed.
    ASSERT_EQ(lchown(link.c_str(), 0, 0), 0);
    ASSERT_EQ(WriteFileReplacing(link, "mine"), "");
    EXPECT_EQ(ReadFile(secret), "mine");
}

// Writers of one name take turns: one waits for the lock of the other, and
// many at once leave the pair of one of them.
TEST(FileReplacement, WritersOfOneNameTakeTurns) {
    TempDir dir;
    const std::string out = dir.File("run.out"), csv = dir.File("run.csv");
    WriteFile(out, "old");
    WriteFile(csv, "old");
    const int lock = open(LockFileName(out).c_str(), O_RDONLY | O_CREAT, 0600);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(lock);  // the lock stays the parent's
        _exit(WriteFilesTogether({{out, "new"}, {csv, "new"}}).empty() ? 0 : 1);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!TemporaryIn(dir.Path()) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, WNOHANG), 0);
    EXPECT_EQ(ReadFile(out) + ReadFile(csv), "oldold");
    close(lock);
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(out) + ReadFile(csv), "newnew");

    std::vector<pid_t> writers;
    for (int w = 0; w < 4; ++w) {
        writers.push_back(fork());
        if (writers.back() != 0) continue;
        bool ok = true;
        for (int k = 0; k < 40 && ok; ++k) {
            const std::string tag = std::to_string(w) + "-" + std::to_string(k);
            ok = WriteFilesTogether({{out, tag}, {csv, tag}}).empty();
        }
        _exit(ok ? 0 : 1);
    }
    for (pid_t w : writers) {
        waitpid(w, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(ReadFile(out), ReadFile(csv));
    EXPECT_EQ(FilesIn(dir.Path()), 2);  // no temporaries, second names or lock file
}

// A signal while the new files are renamed into place puts every old file
// back. The child is signalled as soon as the first file has changed; an
// attempt in which the write ended first proves nothing and is repeated.
TEST(FileReplacement, ASignalBetweenTheRenamesPutsTheOldFilesBack) {
    TempDir dir;
    constexpr int Files = 100;
    std::vector<std::pair<std::string, std::string>> files;
    for (int k = 0; k < Files; ++k) files.emplace_back(dir.File("r" + std::to_string(k) + ".out"), "new");
    int restored = 0;
    for (int attempt = 0; attempt < 20 && restored == 0; ++attempt) {
        for (const auto& f : files) WriteFile(f.first, "old");
        struct stat before {}, now {};
        stat(files[0].first.c_str(), &before);
        const pid_t child = fork();
        if (child == 0) _exit(WriteFilesTogether(files).empty() ? 0 : 1);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (stat(files[0].first.c_str(), &now) == 0 && now.st_ino == before.st_ino &&
               std::chrono::steady_clock::now() < until) {
        }
        kill(child, SIGTERM);
        int status = 0;
        waitpid(child, &status, 0);
        int changed = 0;
        for (const auto& f : files) changed += ReadFile(f.first) == "new";
        ASSERT_TRUE(changed == 0 || changed == Files) << changed << " of " << Files << " files are new";
        EXPECT_EQ(FilesIn(dir.Path()), Files);
        restored += changed == 0 && WIFSIGNALED(status);
    }
    if (restored == 0) GTEST_SKIP() << "every write ended before the signal came";
}

#endif

TEST(FileReplacement, ReplacesSeveralFilesTogetherOrNotAtAll) {
    TempDir dir;
    WriteFile(dir.File("run.out"), "old out");
    fs::create_directory(dir.File("run.csv"));  // cannot be replaced
    EXPECT_NE(WriteFilesTogether({{dir.File("run.out"), "new out"}, {dir.File("run.csv"), "new csv"}}), "");
    EXPECT_EQ(ReadFile(dir.File("run.out")), "old out");
    fs::remove(dir.File("run.csv"));
    WriteFile(dir.File("run.csv"), "old csv");
    ASSERT_EQ(WriteFilesTogether({{dir.File("run.out"), "new out"}, {dir.File("run.csv"), "new csv"}}), "");
    EXPECT_EQ(ReadFile(dir.File("run.out")), "new out");
    EXPECT_EQ(ReadFile(dir.File("run.csv")), "new csv");
    EXPECT_EQ(FilesIn(dir.Path()), 2);
}

// ------------------------------------------------ readers

#ifndef _WIN32
TEST(DataFileReading, RefusesWhatIsNotARegularFileOfPlausibleSize) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.inp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ModelInput in;
    in.InputFileName = fifo;
    InputReadResult read = ReadInputFile(in);  // must not wait for a writer
    EXPECT_FALSE(read.Ok());
    EXPECT_NE(read.message.find("not a regular file"), std::string::npos) << read.message;
    OutputReadback back;
    NumberFormat format;
    ReadOutcome out = ReadOutputFile(fifo, back, format);
    EXPECT_NE(out.message.find("not a regular file"), std::string::npos) << out.message;
    in.InputFileName = "/dev/zero";
    EXPECT_NE(ReadInputFile(in).message.find("not a regular file"), std::string::npos);

    // A sparse file beyond the bound is refused before anything is read.
    const std::string huge = dir.File("huge.out");
    const int fd = open(huge.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(MaxDataFileBytes + 1)), 0);
    close(fd);
    out = ReadOutputFile(huge, back, format);
    EXPECT_NE(out.message.find("more than a data file of at most 400000 time steps can hold"), std::string::npos)
        << out.message;
    in.InputFileName = huge;
    EXPECT_FALSE(ReadInputFile(in).Ok());

    std::string text, error;
    EXPECT_EQ(ReadDataFile(dir.Path().string(), text, error), FileRead::Refused);
    EXPECT_NE(error.find("it is a folder"), std::string::npos);
    EXPECT_EQ(ReadDataFile(dir.File("none.inp"), text, error), FileRead::CannotOpen);
}

#endif

TEST(DataFileReading, MessagesShowAShortPrintableToken) {
    // A number window with binary bytes, and a 5 MB token where the number
    // of time steps stands.
    ModelInput in;
    in.Title1 = "T";
    in.NrTst = 1, in.Ts = 30, in.NrLayers = 1;
    ResizeHydrologicalSeries(in, 1);
    ResizeMeasuredSeries(in, 1, -1);
    in.IrrEff = 70, in.SMini = 50;
    in.InputFileName = "x.inp";
    const std::string sound = InputFileText(in);
    std::string text = sound;
    const size_t line15 = text.find(" Salt conc. irr. water");
    text.replace(line15 + 39, 8, std::string("\x01\x02\xff\x1b[2J", 7));
    NumberFormat format;
    ModelInput back;
    InputReadResult read = ParseInputText(text, "x.inp", back, format);
    ASSERT_FALSE(read.Ok());
    EXPECT_NE(read.message.find("\\x01\\x02\\xFF\\x1B[2J"), std::string::npos) << read.message;
    for (char c : read.message) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << read.message;

    text = sound;
    const size_t line6 = text.find(" Nunber of time steps     : ");
    text.insert(line6 + 28, std::string(5u << 20, '9') + "\x07");
    read = ParseInputText(text, "x.inp", back, format);
    ASSERT_FALSE(read.Ok());
    EXPECT_LT(read.message.size(), 200u) << read.message;
    EXPECT_NE(read.message.find("'9999999999999999999999999999999999999999...'"), std::string::npos);

    OutputReadback out;
    const std::string output = "OUTPUT OF Halovane\r\nName\r\n\r\nA\r\nB\r\n 1      1    30\r\n"
                               " Leaching efficiency layer 1   :" +
                               std::string(3u << 20, '7') + "\x07 (given)\r\n";
    const ReadOutcome r = ParseOutputText(output, "x.out", out, format);
    ASSERT_FALSE(r.ok);
    EXPECT_LT(r.message.size(), 200u) << r.message;
}

TEST(OutputFile, ReadsValuesThatFillTheirColumns) {
    // Values from the runner's own files that the character chunks of the
    // old reader cut: a full percolation column, a 5-digit salinity in the
    // transition column and a fit of -1150 %.
    for (int layers = 1; layers <= 3; ++layers) {
        ModelInput in;
        in.NrTst = 2, in.Ts = 30, in.NrLayers = layers;
        ModelState state;
        state.Results.Resize(2);
        state.Results.PercT[1] = 1500000;
        state.Results.CapTT[1] = -123456.7;
        state.Results.SR[Zt][1] = 19944.51;
        state.Results.SR[Z1][2] = 99999.99;
        state.Results.SR[Za][2] = -1234567.8;  // wider than its column, after a full one
        state.Results.SR[Zt][2] = -9999999.99;
        state.Results.Dwt[1] = -9999.99;
        state.Fit[0].LE = 0.8;
        state.Fit[0].FitIndex = -11.5;
        state.Fit[0].LeOptimized = true;
        state.Fit[0].FitNotAvailable = false;
        state.Fit[3].LE = 0.7;
        state.Fit[3].FitIndex = -11.5;
        state.Fit[3].FitNotAvailable = false;
        state.Fit[4].LE = 1;
        state.Fit[4].FitNotAvailable = true;
        const std::string text = OutputFileText(in, state, "r.out");
        OutputReadback back;
        NumberFormat format;
        const ReadOutcome read = ParseOutputText(text, "r.out", back, format);
        ASSERT_TRUE(read.ok) << read.message;
        EXPECT_EQ(back.Results.PercT[1], 1500000);
        EXPECT_EQ(back.Results.CapTT[1], -123456.7);
        EXPECT_EQ(back.Results.SR[Zt][1], 19944.51);
        EXPECT_EQ(back.Results.SR[Z1][2], 99999.99);
        EXPECT_EQ(back.Results.SR[Za][2], -1234567.8);
        EXPECT_EQ(back.Results.SR[Zt][2], -9999999.99);
        EXPECT_EQ(back.Results.Dwt[1], -9999.99);
        EXPECT_EQ(back.Zones[0].Coefficient, -1150);
        EXPECT_TRUE(back.Zones[0].Optimized);
        EXPECT_EQ(back.Zones[3].Coefficient, -1150);
        EXPECT_FALSE(back.Zones[4].CoefficientRead);
    }
    // Two values glued together cannot be told apart: the file is refused.
    ModelInput in;
    in.NrTst = 1, in.Ts = 30, in.NrLayers = 1;
    ModelState state;
    state.Results.Resize(1);
    state.Results.PercT[1] = 123456789;
    state.Results.CapTT[1] = 123456789;
    state.Fit[0].FitNotAvailable = true;
    OutputReadback back;
    NumberFormat format;
    const ReadOutcome read = ParseOutputText(OutputFileText(in, state, "r.out"), "r.out", back, format);
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.message.find("time step 1 do not stand in their columns"), std::string::npos) << read.message;
}
