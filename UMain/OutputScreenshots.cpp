// halovane-screenshots: opens an example in the main window on Qt's
// offscreen platform, runs it as "Save all - Run" does, and writes pictures
// of the pages for the README and the user guide.
//
//   halovane-screenshots FOLDER [INPUT.inp]
//
// Writes FOLDER/intro-page.png, input-page.png (the hydrological data of the
// example), output-page.png (the salinity table), graphs-choice.png,
// graphs-page.png (the salinity of all layers) and graph-<n>.png for each of
// the nine graphs the root zone has. The input data file defaults to the
// example with two root-zone layers and measured salinities.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <deque>

#include "Dialogs.h"
#include "UMainForm.h"

namespace {

using namespace halovane;

// Answers from a script: the file to open and to save, yes to running and
// no to the refinement and the optimisation. Messages go to the error output.
class ScriptDialogs : public Dialogs {
public:
    QString openName, saveName;
    std::deque<bool> answers;
    bool Confirm(QWidget*, const QString&) override {
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Inform(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return openName; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return saveName;
    }
};

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
    const QString copy = work.filePath(QFileInfo(input).fileName());
    if (!QFile::copy(input, copy)) {
        std::fprintf(stderr, "could not read %s\n", qPrintable(input));
        return 2;
    }
    ScriptDialogs dialogs;
    dialogs.openName = copy;
    dialogs.saveName = copy;
    TMainForm form(dialogs);
    form.resize(806, 647);
    form.show();
    bool ok = Save(form, folder + QStringLiteral("/intro-page.png"));

    // The window's controls by their names, as the user sees them.
    auto button = [&form](const char* name) { return form.findChild<QPushButton*>(QLatin1String(name)); };
    auto page = [&form](const char* name) { return form.findChild<QWidget*>(QLatin1String(name)); };
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    pages->setCurrentWidget(page("InpTab"));
    button("OpenInpButton")->click();
    button("HydrOpenButton")->click();
    ok = Save(form, folder + QStringLiteral("/input-page.png")) && ok;
    button("HydrQuitButton")->click();

    dialogs.answers = {true, true, false, false};  // overwrite, calculate, no refinement, no optimisation
    button("SaveAllButton")->click();
    if (pages->currentWidget() != page("OutTab")) {
        std::fprintf(stderr, "the run did not complete\n");
        return 2;
    }
    QWidget* outTab = page("OutTab");
    QWidget* graphTab = page("GraphTab");
    outTab->findChild<QPushButton*>(QStringLiteral("SaltShowButton"))->click();
    ok = Save(form, folder + QStringLiteral("/output-page.png")) && ok;

    static const char* const choices[] = {
        "GraphHydrRadioButton", "SurfHydrRadioButton", "SubSurfHydrRadioButton",
        "GraphWTRadioButton",   "GraphSaltRadioButton", "SalFirstRadioButton",
        "SalSecondRadioButton", "SalThirdRadioButton",  "SalBelowRadioButton",
    };
    outTab->findChild<QPushButton*>(QStringLiteral("GraphButton"))->click();
    ok = Save(form, folder + QStringLiteral("/graphs-choice.png")) && ok;
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
    graphTab->findChild<QPushButton*>(QStringLiteral("GraphSelectButton"))->click();
    graphTab->findChild<QRadioButton*>(QStringLiteral("GraphSaltRadioButton"))->click();
    graphTab->findChild<QPushButton*>(QStringLiteral("GraphGoButton"))->click();
    ok = Save(form, folder + QStringLiteral("/graphs-page.png")) && ok;
    return ok ? 0 : 2;
}
