#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
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
    // the same file removes it.
    const int killed = KillWhileWriting(target, 64u << 20, SIGKILL);
    if (killed == -1) GTEST_SKIP() << "the write ended before it could be killed";
    EXPECT_TRUE(TemporaryIn(dir.Path()));
    ASSERT_EQ(WriteFileReplacing(target, "new"), "");
    EXPECT_FALSE(TemporaryIn(dir.Path()));
    EXPECT_EQ(FilesIn(dir.Path()), 1);
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
