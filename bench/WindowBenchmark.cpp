// The window with a century of daily steps: prints how long the main
// window takes, and how much memory it adds, to
//   - save the general data with 200 000 time steps (the grids of the
//     Input page take the new number of rows),
//   - open an input data file of 365 000 daily steps (the panels show it),
//   - open the output file of its run on the Output page, show both tables,
//   - draw each of the nine graphs of it.
// Runs on the offscreen platform unless another one is asked for.
//   halovane-bench-window [STEPS]      (default 365000)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "Dialogs.h"
#include "InputFile.h"
#include "RunDriver.h"
#include "UMainForm.h"

using namespace halovane;

namespace {

// Answers every box without showing it; file dialogs return the next name.
class ScriptedDialogs : public Dialogs {
public:
    QStringList names;
    int boxes = 0;
    bool Confirm(QWidget*, const QString&) override { return false; }
    void Inform(QWidget*, const QString&) override { ++boxes; }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return names.isEmpty() ? QString() : names.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return QString();
    }
};

class Quiet : public UserInteraction {
public:
    bool AskYesNo(const std::string&) override { return false; }
    void ShowMessage(const std::string&) override {}
    void SetProgress(int) override {}
};

// Processor time of the process in seconds: the figure that does not
// depend on what else the machine runs.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Resident memory of the process in MB.
double ResidentMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// The two-layer drained example as `n` daily steps with a measurement every month.
std::string WriteDailyCase(const QTemporaryDir& dir, int n) {
    ModelInput in;
    in.InputFileName = std::string(HALOVANE_EXAMPLES "/") + (std::getenv("CASE") ? std::getenv("CASE") : "two-layer-drained.inp");
    if (!ReadInputFile(in).Ok()) return {};
    in.NrTst = in.NrTstHydr = n;
    in.Ts = 1;
    ResizeHydrologicalSeries(in, n);
    ResizeMeasuredSeries(in, n, -1);
    for (int i = 1; i <= n; ++i) {
        const int day = i % 360;
        in.Rain[i] = day % 7 == 0 ? 6.0 + day % 5 : 0.0;
        in.Irrig[i] = day > 120 && day < 240 && day % 10 == 0 ? 40.0 : 0.0;
        in.EvapT[i] = 3.0 + 2.0 * (day > 90 && day < 270);
        if (i % 30 == 0) in.ECsm[Z1][i] = 3.0 + (i / 30) % 7;
    }
    in.InputFileName = dir.filePath(QStringLiteral("century.inp")).toStdString();
    if (!WriteInputFile(in).empty()) return {};
    ModelState state;
    Quiet ui;
    const RunOutcome outcome = RunModel(in, state, ui);
    if (outcome.status != RunStatus::Completed && outcome.status != RunStatus::Stopped) {
        std::fprintf(stderr, "%s\n", outcome.message.c_str());
        return {};
    }
    return in.InputFileName;
}

template <typename T>
T* Find(QWidget& window, const char* name) {
    T* w = window.findChild<T*>(QLatin1String(name));
    if (!w) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(2);
    }
    return w;
}

// Clicks the button and lets the window draw what changed; prints the time
// and the memory added.
double Measure(const char* what, QWidget& window, const std::function<void()>& action) {
    QApplication::processEvents();
    const double before = ResidentMB(), cpu = CpuSeconds();
    QElapsedTimer timer;
    timer.start();
    action();
    QApplication::processEvents();
    window.repaint();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%-42s %7.3f s  %7.3f s cpu  %+7.1f MB\n", what, seconds, CpuSeconds() - cpu, ResidentMB() - before);
    std::fflush(stdout);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int steps = argc > 1 ? std::atoi(argv[1]) : 365000;
    QTemporaryDir dir;

    ScriptedDialogs dialogs;
    TMainForm form(dialogs);
    form.resize(1000, 760);
    form.show();
    auto* pages = Find<QTabWidget>(form, "PageControl");
    pages->setCurrentWidget(Find<QWidget>(form, "InpTab"));
    QApplication::processEvents();

    std::printf("window with %d daily steps\n", steps);
    Find<QPushButton>(form, "GenOpenButton")->click();
    Find<QLineEdit>(form, "NrTstEdit")->setText(QStringLiteral("200000"));
    Measure("General data Save, 200000 steps", form, [&] { Find<QPushButton>(form, "GenSaveButton")->click(); });
    Find<QLineEdit>(form, "NrTstEdit")->setText(QStringLiteral("11"));
    Find<QPushButton>(form, "GenOpenButton")->click();
    Measure("General data Save, back to 11 steps", form, [&] { Find<QPushButton>(form, "GenSaveButton")->click(); });

    QElapsedTimer run;
    run.start();
    const std::string input = WriteDailyCase(dir, steps);
    if (input.empty()) {
        std::fprintf(stderr, "the daily case could not be run\n");
        return 1;
    }
    std::printf("(writing and running the case took %.2f s)\n", static_cast<double>(run.nsecsElapsed()) / 1e9);

    dialogs.names << QString::fromStdString(input);
    Measure("Open input, panels show the data set", form, [&] { Find<QPushButton>(form, "OpenInpButton")->click(); });
    Find<QPushButton>(form, "HydrOpenButton")->click();
    Measure("  hydrological panel shown", form, [] {});

    pages->setCurrentWidget(Find<QWidget>(form, "OutTab"));
    QApplication::processEvents();
    QString output = QString::fromStdString(input);
    output.replace(QStringLiteral(".inp"), QStringLiteral(".out"));
    dialogs.names << output;
    Measure("Open output on the Output page", form, [&] { Find<QPushButton>(form, "OpenOutputButton")->click(); });
    auto* listing = Find<QPlainTextEdit>(form, "OutputMemo");
    Measure("  the whole listing in view", form, [&] {
        while (listing->blockCount() < steps) QApplication::processEvents();
    });
    Measure("  See hydrological output", form, [&] { Find<QPushButton>(form, "HydrShowButton")->click(); });
    Measure("  See salinity output", form, [&] { Find<QPushButton>(form, "SaltShowButton")->click(); });

    Find<QPushButton>(form, "GraphButton")->click();
    static const char* const choices[] = {
        "GraphHydrRadioButton", "SurfHydrRadioButton",  "SubSurfHydrRadioButton",
        "GraphWTRadioButton",   "GraphSaltRadioButton", "SalFirstRadioButton",
        "SalSecondRadioButton", "SalThirdRadioButton",  "SalBelowRadioButton",
    };
    double slowest = 0;
    for (const char* choice : choices) {
        if (choice != choices[0]) Find<QPushButton>(form, "GraphSelectButton")->click();
        Find<QRadioButton>(form, choice)->click();
        const std::string what = std::string("  graph ") + choice;
        slowest = std::max(slowest, Measure(what.c_str(), form, [&] { Find<QPushButton>(form, "GraphGoButton")->click(); }));
    }
    std::printf("slowest graph %.3f s; resident memory at the end %.0f MB\n", slowest, ResidentMB());
    return 0;
}
