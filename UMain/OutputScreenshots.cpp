// halovane-screenshots: renders the Output and Graphs pages after a run of
// an example on Qt's offscreen platform and writes them as PNG pictures,
// for the README.
//
//   halovane-screenshots FOLDER [INPUT.inp]
//
// Writes FOLDER/output-page.png (the salinity table), FOLDER/graphs-choice.png
// (the choice of graph), FOLDER/graphs-page.png (a salinity graph) and
// FOLDER/graph-<n>.png for each of the nine graphs the root zone has. The input data file defaults to the example
// with two root-zone layers and measured salinities.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "Dialogs.h"
#include "InputFile.h"
#include "ResultsPages.h"
#include "RunDriver.h"

namespace {

using namespace halovane;

// No boxes: messages go to the error output, file dialogs are cancelled.
class SilentDialogs : public Dialogs {
public:
    bool Confirm(QWidget*, const QString& text) override {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return false;
    }
    void Inform(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return QString(); }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return QString();
    }
};

class NoQuestions : public UserInteraction {
public:
    bool AskYesNo(const std::string&) override { return false; }
    void ShowMessage(const std::string& m) override { std::fprintf(stderr, "run: %s\n", m.c_str()); }
    void SetProgress(int) override {}
};

// Runs a copy of `input` in `folder` and returns its output file.
QString Run(const QString& input, const QString& folder) {
    ModelInput in;
    in.InputFileName = QFile::encodeName(input).toStdString();
    const InputReadResult read = ReadInputFile(in);
    if (!read.Ok()) {
        std::fprintf(stderr, "%s\n", read.message.c_str());
        return QString();
    }
    in.InputFileName = QFile::encodeName(folder + QStringLiteral("/") + QFileInfo(input).fileName()).toStdString();
    const std::string written = WriteInputFile(in);
    if (!written.empty()) {
        std::fprintf(stderr, "%s\n", written.c_str());
        return QString();
    }
    ModelState state;
    NoQuestions ui;
    const RunOutcome outcome = RunModel(in, state, ui);
    if (outcome.status != RunStatus::Completed && outcome.status != RunStatus::Stopped) {
        std::fprintf(stderr, "%s\n", outcome.message.c_str());
        return QString();
    }
    return QFile::decodeName(QByteArray::fromStdString(state.OutputFileName));
}

bool Save(QWidget& widget, const QString& file) {
    if (widget.grab().save(file, "PNG")) {
        std::printf("%s\n", qPrintable(file));
        return true;
    }
    std::fprintf(stderr, "could not write %s\n", qPrintable(file));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 3 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: halovane-screenshots FOLDER [INPUT.inp]\n");
        return 1;
    }
    const QString folder = args[1];
    const QString input = args.size() == 3 ? args[2] : QStringLiteral(HALOVANE_EXAMPLES "/two-layer-drained.inp");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "could not create %s\n", qPrintable(folder));
        return 2;
    }
    // The window's 8-point sans-serif font.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);

    QTemporaryDir work;
    const QString output = Run(input, work.path());
    if (output.isEmpty()) return 2;

    // The page frame of the main window with its six pages.
    QTabWidget frame;
    frame.setObjectName(QStringLiteral("PageControl"));
    frame.resize(765, 573);
    for (const char* caption : {"Intro", "Math", "Figure", "Input"}) frame.addTab(new QWidget, QLatin1String(caption));
    auto* outTab = new QWidget;
    outTab->setObjectName(QStringLiteral("OutTab"));
    auto* graphTab = new QWidget;
    graphTab->setObjectName(QStringLiteral("GraphTab"));
    frame.addTab(outTab, QStringLiteral("Output"));
    frame.addTab(graphTab, QStringLiteral("Graphs"));
    SilentDialogs dialogs;
    halovane::ResultsPages pages(dialogs, frame, *outTab, *graphTab);
    frame.show();

    pages.RunCompleted(output);
    frame.setCurrentWidget(outTab);
    outTab->findChild<QPushButton*>(QStringLiteral("SaltShowButton"))->click();
    bool ok = Save(frame, folder + QStringLiteral("/output-page.png"));

    static const char* const choices[] = {
        "GraphHydrRadioButton", "SurfHydrRadioButton", "SubSurfHydrRadioButton",
        "GraphWTRadioButton",   "GraphSaltRadioButton", "SalFirstRadioButton",
        "SalSecondRadioButton", "SalThirdRadioButton",  "SalBelowRadioButton",
    };
    outTab->findChild<QPushButton*>(QStringLiteral("GraphButton"))->click();
    ok = Save(frame, folder + QStringLiteral("/graphs-choice.png")) && ok;
    int number = 0;
    for (const char* choice : choices) {
        ++number;
        auto* button = graphTab->findChild<QRadioButton*>(QLatin1String(choice));
        if (!button->isEnabled()) continue;  // a layer the root zone lacks
        graphTab->findChild<QPushButton*>(QStringLiteral("GraphSelectButton"))->click();
        button->click();
        graphTab->findChild<QPushButton*>(QStringLiteral("GraphGoButton"))->click();
        auto* picture = graphTab->findChild<QWidget*>(QStringLiteral("GraphImage"));
        ok = Save(*picture, folder + QStringLiteral("/graph-%1.png").arg(number)) && ok;
    }
    // The page with the salinity graph of all layers.
    graphTab->findChild<QPushButton*>(QStringLiteral("GraphSelectButton"))->click();
    graphTab->findChild<QRadioButton*>(QStringLiteral("GraphSaltRadioButton"))->click();
    graphTab->findChild<QPushButton*>(QStringLiteral("GraphGoButton"))->click();
    ok = Save(frame, folder + QStringLiteral("/graphs-page.png")) && ok;
    return ok ? 0 : 2;
}
