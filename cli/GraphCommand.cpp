// The runner's graph command: the graphs of an output file drawn into files
// without a window, by the same drawing code as the Graphs page.
#include "GraphCommand.h"

#include <iostream>

#include "Commands.h"

#ifndef HALOVANE_GRAPH_COMMAND

namespace halovane::cli {

int Graph(const std::vector<std::string>&) {
    std::cerr << "halovane-cli: this runner was built without Qt, so it cannot draw graphs\n";
    return Usage;
}

int DrawSweepCharts(const Scenario&, const std::vector<SweepRow>&, const std::string&) {
    std::cerr << "halovane-cli: this runner was built without Qt, so it cannot draw the chart\n";
    return Ok;
}

}  // namespace halovane::cli

#else

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <memory>
#include <optional>

#include "DesignChartFigure.h"
#include "GraphData.h"
#include "GraphFigure.h"
#include "GraphFiles.h"
#include "OutputFile.h"
#include "TextFile.h"

namespace halovane::cli {

namespace {

struct GraphOptions {
    std::optional<GraphChoice> type;  // every graph when empty
    GraphFormat format = GraphFormat::Bmp;
    int scale = 1;
    GraphLook look;
    GraphPeriod period = GraphPeriod::Step;
    std::vector<std::string> names;  // FILE.out [DIR]
};

// The value of an option given as "--name VALUE" or "--name=VALUE".
bool OptionValue(const std::vector<std::string>& args, size_t& k, const std::string& name, std::string& value) {
    const std::string& a = args[k];
    if (a == name) {
        if (k + 1 >= args.size()) return false;
        value = args[++k];
        return true;
    }
    if (a.rfind(name + "=", 0) == 0) {
        value = a.substr(name.size() + 1);
        return true;
    }
    return false;
}

// Reads the options; a message and false on a usage error.
bool ParseGraphOptions(const std::vector<std::string>& args, GraphOptions& options) {
    bool namesOnly = false;
    for (size_t k = 1; k < args.size(); ++k) {
        if (EndsOptions(args[k], namesOnly)) continue;
        if (namesOnly) {
            options.names.push_back(args[k]);
            continue;
        }
        const std::string& a = args[k];
        std::string value;
        if (a.rfind("--type", 0) == 0 && OptionValue(args, k, "--type", value)) {
            if (value == "all") {
                options.type.reset();
            } else if (!(options.type = GraphChoiceFromKey(value))) {
                std::cerr << "halovane-cli: unknown graph type '" << value << "'\n";
                return false;
            }
        } else if (a.rfind("--format", 0) == 0 && OptionValue(args, k, "--format", value)) {
            const std::optional<GraphFormat> format = GraphFormatNamed(value);
            if (!format) {
                std::cerr << "halovane-cli: --format takes bmp, png, svg or pdf\n";
                return false;
            }
            options.format = *format;
        } else if (a.rfind("--scale", 0) == 0 && OptionValue(args, k, "--scale", value)) {
            if (!TryParseInteger(value, options.scale) || !IsGraphScale(options.scale)) {
                std::cerr << "halovane-cli: --scale takes 1, 2 or 4\n";
                return false;
            }
        } else if (a.rfind("--style", 0) == 0 && OptionValue(args, k, "--style", value)) {
            if (value != "screen" && value != "print") {
                std::cerr << "halovane-cli: --style takes screen or print\n";
                return false;
            }
            options.look.style = value == "print" ? GraphStyle::Print : GraphStyle::Screen;
        } else if (a.rfind("--aggregate", 0) == 0 && OptionValue(args, k, "--aggregate", value)) {
            if (value != "month" && value != "year") {
                std::cerr << "halovane-cli: --aggregate takes month or year\n";
                return false;
            }
            options.period = value == "month" ? GraphPeriod::Month : GraphPeriod::Year;
        } else if (a == "--no-footer") {
            options.look.footer = false;
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "halovane-cli: unknown option '" << a << "'\n";
            return false;
        } else {
            options.names.push_back(a);
        }
    }
    if (options.names.empty() || options.names.size() > 2) {
        std::cerr << "halovane-cli: graph takes an output file and, optionally, a folder: FILE.out [DIR]\n";
        return false;
    }
    if (options.scale != 1 && IsVectorFormat(options.format)) {
        std::cerr << "halovane-cli: --scale is for bmp and png; svg and pdf are drawings of any size\n";
        return false;
    }
    return true;
}

// Qt's notes about its set-up (a missing runtime folder and the like) are
// no concern of the runner's user; its critical messages still show.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

// Qt's painter needs a GUI application for its fonts; the offscreen
// platform needs no display.
std::unique_ptr<QGuiApplication> StartPainting() {
    if (QGuiApplication::instance()) return nullptr;
    qInstallMessageHandler(QuietQt);
    static int argc = 3;
    static char name[] = "halovane-cli", platform[] = "-platform", offscreen[] = "offscreen";
    static char* argv[] = {name, platform, offscreen, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int Graph(const std::vector<std::string>& args) {
    GraphOptions options;
    if (!ParseGraphOptions(args, options)) return Usage;
    const std::string& file = options.names[0];
    const std::string folder = options.names.size() > 1 ? options.names[1] : std::string();

    // Read as the Graphs page reads: the output file, then the input data
    // file of the same name beside it for rainfall, irrigation and the
    // measured salinities.
    NumberFormat numbers;
    OutputReadback output;
    const ReadOutcome read = ReadOutputFile(file, output, numbers);
    if (!read.ok) {
        std::cerr << read.message << '\n';
        return Unreadable;
    }
    ViewInput view;
    const ReadOutcome viewRead = ReadInputForViews(ChangeExtension(file, ".inp"), output, view, numbers);
    if (!viewRead.ok)
        std::cerr << file << ": " << viewRead.message
                  << "\n  (the graphs are drawn without rainfall, irrigation and measured salinities)\n";
    const GraphData data = Aggregated(GraphDataFrom(output, viewRead.ok ? &view : nullptr), options.period);

    const std::unique_ptr<QGuiApplication> app = StartPainting();
    if (!folder.empty() && !QDir().mkpath(QFile::decodeName(folder.c_str()))) {
        std::cerr << "halovane-cli: the folder " << folder << " could not be made\n";
        return WriteFailed;
    }
    int status = Ok;
    for (int k = 0; k < GraphChoiceCount; ++k) {
        const auto choice = static_cast<GraphChoice>(k);
        if (options.type && *options.type != choice) continue;
        if (!GraphChoiceApplies(choice, output.Layers)) {
            std::cerr << file << ": no graph '" << GraphChoiceKey(choice) << "': the root zone has "
                      << output.Layers << (output.Layers == 1 ? " layer" : " layers") << '\n';
            // Asked for by name, the graph is missing; in "all" it is skipped.
            if (options.type) status = Unreadable;
            continue;
        }
        const std::string name = GraphFigureFileName(file, folder, choice, options.format);
        if (!WriteGraphFile(QFile::decodeName(name.c_str()), options.format, options.scale, data, choice,
                            options.look)) {
            std::cerr << "halovane-cli: the graph could not be written to " << name << '\n';
            return WriteFailed;
        }
        std::cout << name << '\n';
    }
    return status;
}

int DrawSweepCharts(const Scenario& scenario, const std::vector<SweepRow>& rows, const std::string& stem) {
    const std::unique_ptr<QGuiApplication> app = StartPainting();
    std::string why;
    const bool tornado = scenario.mode == ScenarioMode::OneAtATime;
    HeatMap map;
    Tornado bars;
    if (tornado ? !BuildTornado(scenario, rows, bars, why) : !BuildHeatMap(scenario, rows, map, why)) {
        std::cerr << "halovane-cli: no chart: " << why << '\n';
        return Ok;
    }
    for (const char* extension : {".svg", ".png"}) {
        const std::string name = stem + (tornado ? ".tornado" : ".chart") + extension;
        const QString file = QFile::decodeName(name.c_str());
        if (!(tornado ? WriteTornadoFile(file, bars) : WriteHeatMapFile(file, map))) {
            std::cerr << "halovane-cli: the chart could not be written to " << name << '\n';
            return WriteFailed;
        }
        std::cout << name << '\n';
    }
    return Ok;
}

}  // namespace halovane::cli

#endif  // HALOVANE_GRAPH_COMMAND
