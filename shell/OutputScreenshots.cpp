// halovane-screenshots: opens an input data file in the main window on
// Qt's offscreen platform, runs it as "Save all - Run" does (no drainage
// refinement, optimisation where the measurements allow it) and writes a
// picture of every page, panel, table and graph.
//
//   halovane-screenshots [--input FILE.inp] [--scale S] DIR
//
// The run works on a copy of the input data file in a temporary folder,
// under the file's own name, so that no picture shows the folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "Dialogs.h"
#include "GraphChoices.h"
#include "RunDriver.h"
#include "InputPage.h"
#include "UMainForm.h"
#include "UStaticPages.h"

namespace {

using namespace halovane;

const char* const Usage =
    "usage: halovane-screenshots [--input FILE.inp] [--scale S] DIR\n"
    "\n"
    "Opens FILE.inp (default: the example with three root-zone layers and\n"
    "salinities above 10 dS/m), runs it as \"Save all - Run\" does (no drainage\n"
    "refinement; optimisation where the measurements allow it) and writes into\n"
    "DIR, at screen scale S (default 1):\n"
    "  intro.png              the Intro page\n"
    "  input-general.png      the Input page with the general data panel\n"
    "  input-hydrology.png    ... the hydrological data panel\n"
    "  input-soil.png         ... the soil properties panel\n"
    "  input-salinity.png     ... the salinity data panel\n"
    "  input-drainage.png     ... the drainage panel\n"
    "  input-conditions.png   ... the initial and boundary conditions panel\n"
    "  output-listing.png     the Output page after the run\n"
    "  output-hydrology.png   ... with the hydrological table\n"
    "  output-salinity.png    ... with the salinity table\n"
    "  fit-report.png         the fit report, when the run optimised a zone\n"
    "  graphs-choice.png      the Graphs page with the choice of graphs\n"
    "  graphs-page.png        the Graphs page with the salinity of all layers\n"
    "  graph-1.png .. graph-9.png\n"
    "                         the nine graphs in the order of the choice list\n"
    "                         (the layer graphs a root zone lacks are left out)\n";

const char* const DefaultInput = HALOVANE_EXAMPLES "/three-layer-seepage.inp";

// Answers from a script: the file to open and to save; yes to every
// question but the drainage refinement. Messages go to the error output.
class ScriptDialogs : public Dialogs {
public:
    QString fileName;
    bool Confirm(QWidget*, const QString& question) override { return question != QLatin1String(RefinementQuestion); }
    void Inform(QWidget*, const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return fileName; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return fileName;
    }
};

class Pictures {
public:
    explicit Pictures(QString folder) : folder_(std::move(folder)) {}
    void Save(QWidget& widget, const char* name) {
        QApplication::processEvents();
        const QString file = folder_ + QLatin1Char('/') + QLatin1String(name);
        if (widget.grab().save(file, "PNG")) {
            std::printf("%s\n", qPrintable(file));
        } else {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            ok = false;
        }
    }
    bool ok = true;

private:
    QString folder_;
};

template <typename T = QPushButton>
T* Find(QWidget& in, const char* name) {
    T* w = in.findChild<T*>(QLatin1String(name));
    if (!w) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(2);
    }
    return w;
}

}  // namespace

int main(int argc, char** argv) {
    // The scale must be set before the application starts.
    QString input = QString::fromLatin1(DefaultInput), folder, scale = QStringLiteral("1");
    for (int k = 1; k < argc; ++k) {
        const QString arg = QString::fromLocal8Bit(argv[k]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if ((arg == QLatin1String("--input") || arg == QLatin1String("--scale")) && k + 1 < argc) {
            (arg == QLatin1String("--input") ? input : scale) = QString::fromLocal8Bit(argv[++k]);
        } else if (!arg.startsWith(QLatin1Char('-')) && folder.isEmpty()) {
            folder = arg;
        } else {
            std::fputs(Usage, stderr);
            return 1;
        }
    }
    bool scaleOk = false;
    const double factor = scale.toDouble(&scaleOk);
    if (folder.isEmpty() || !scaleOk || factor < 0.5 || factor > 4) {
        std::fputs(Usage, stderr);
        return 1;
    }
    qputenv("QT_SCALE_FACTOR", scale.toLatin1());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "could not create %s\n", qPrintable(folder));
        return 2;
    }
    folder = QFileInfo(folder).absoluteFilePath();
    // The window's 8-point sans-serif font.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);

    // The copy is named as the file and opened from the current folder, so
    // the labels and the output listing show the bare name.
    QTemporaryDir work;
    const QString name = QFileInfo(input).fileName();
    if (!work.isValid() || !QFile::copy(input, work.filePath(name))) {
        std::fprintf(stderr, "could not read %s\n", qPrintable(input));
        return 2;
    }
    QDir::setCurrent(work.path());
    ScriptDialogs dialogs;
    dialogs.fileName = name;
    TMainForm form(dialogs);
    FillStaticPages(*form.findChild<QTabWidget*>(QStringLiteral("PageControl")));
    form.resize(806, 647);
    form.show();
    Pictures pictures(folder);
    pictures.Save(form, "intro.png");

    // The window's controls by their names, as the user sees them.
    auto button = [&form](const char* control) { return form.findChild<QPushButton*>(QLatin1String(control)); };
    auto page = [&form](const char* control) { return form.findChild<QWidget*>(QLatin1String(control)); };
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    pages->setCurrentWidget(page("InpTab"));
    button("OpenInpButton")->click();
    const struct {
        const char* open;
        const char* file;
    } panels[] = {
        {"GenOpenButton", "input-general.png"},   {"HydrOpenButton", "input-hydrology.png"},
        {"SoilOpenButton", "input-soil.png"},     {"SaltOpenButton", "input-salinity.png"},
        {"DrainOpenButton", "input-drainage.png"}, {"CondOpenButton", "input-conditions.png"},
    };
    for (const auto& p : panels) {
        QPushButton* open = button(p.open);
        if (!open || !open->isEnabled()) {
            std::fprintf(stderr, "%s is not available\n", p.open);
            return 2;
        }
        open->click();
        pictures.Save(form, p.file);
        // Cancel: the group buttons come back.
        for (QPushButton* quit : form.findChildren<QPushButton*>())
            if (quit->objectName().endsWith(QLatin1String("QuitButton")) && quit->isVisible() && quit->isEnabled())
                quit->click();
    }
    pages->setCurrentWidget(page("InpTab"));
    button("SaveAllButton")->click();
    // The run goes on off the window's thread; its end is awaited here.
    const auto* inputPage = form.findChild<InputPage*>(QStringLiteral("InpTab"));
    while (inputPage->RunInProgress()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QWidget& outTab = *page("OutTab");
    QWidget& graphTab = *page("GraphTab");
    if (!Find(outTab, "GraphButton")->isEnabled()) {
        std::fprintf(stderr, "the run wrote no output\n");
        return 2;
    }
    pages->setCurrentWidget(&outTab);
    pictures.Save(form, "output-listing.png");
    Find(outTab, "HydrShowButton")->click();
    pictures.Save(form, "output-hydrology.png");
    Find(outTab, "SaltShowButton")->click();
    pictures.Save(form, "output-salinity.png");
    // The fit report, when the run optimised a zone.
    if (Find(outTab, "FitShowButton")->isEnabled()) {
        Find(outTab, "FitShowButton")->click();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("FitReportForm") && window->isVisible()) {
                pictures.Save(*window, "fit-report.png");
                window->hide();
            }
    }

    Find(outTab, "GraphButton")->click();
    pictures.Save(form, "graphs-choice.png");
    int number = 0;
    for (const GraphChoiceInfo& choice : GraphChoices) {
        ++number;
        auto* radio = Find<QRadioButton>(graphTab, choice.control);
        if (!radio->isEnabled()) continue;  // a layer the root zone lacks
        if (Find(graphTab, "GraphSelectButton")->isEnabled()) Find(graphTab, "GraphSelectButton")->click();
        radio->click();
        Find(graphTab, "GraphGoButton")->click();
        const QByteArray file = "graph-" + QByteArray::number(number) + ".png";
        pictures.Save(*Find<QWidget>(graphTab, "GraphImage"), file.constData());
    }
    Find(graphTab, "GraphSelectButton")->click();
    Find<QRadioButton>(graphTab, InfoOf(GraphChoice::SalinityAll).control)->click();
    Find(graphTab, "GraphGoButton")->click();
    pictures.Save(form, "graphs-page.png");
    QDir::setCurrent(folder);
    return pictures.ok ? 0 : 2;
}
