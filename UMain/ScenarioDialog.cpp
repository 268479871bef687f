#include "ScenarioDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "DesignChart.h"
#include "DesignChartFigure.h"
#include "FileTexts.h"
#include "NumberText.h"
#include "TextFile.h"

namespace halovane {

namespace {

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

std::string Local(const QString& text) { return QFile::encodeName(text).toStdString(); }

// A table cell that sorts numbers as numbers.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text), value_(value) {}
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* number = dynamic_cast<const NumberItem*>(&other);
        return number ? value_ < number->value_ : QTableWidgetItem::operator<(other);
    }

private:
    double value_;
};

// The cells of the CSV, row by row.
std::vector<QStringList> CsvCells(const std::string& csv) {
    std::vector<QStringList> rows;
    LineReader lines(csv);
    while (!lines.AtEnd()) {
        const std::string& line = lines.Next();
        if (line.empty()) continue;
        QStringList cells;
        for (const std::string& cell : SplitCsvLine(line)) cells << QString::fromStdString(cell);
        rows.push_back(cells);
    }
    return rows;
}

}  // namespace

ScenarioDialog::ScenarioDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScenarioDialog"));
    setWindowTitle(QStringLiteral("Scenarios"));
    resize(1000, 700);
    auto* outer = new QVBoxLayout(this);

    auto* fileRow = new QHBoxLayout;
    ScenarioFileEdit = new QLineEdit(this);
    ScenarioFileEdit->setObjectName(QStringLiteral("ScenarioFileEdit"));
    ScenarioFileEdit->setPlaceholderText(QStringLiteral("scenario file (.scenario)"));
    ScenarioOpenButton = MakeButton("ScenarioOpenButton", QStringLiteral("Open..."), this);
    ScenarioSaveButton = MakeButton("ScenarioSaveButton", QStringLiteral("Save"), this);
    ScenarioRunButton = MakeButton("ScenarioRunButton", QStringLiteral("Run"), this);
    ScenarioCancelButton = MakeButton("ScenarioCancelButton", QStringLiteral("Cancel"), this);
    ScenarioCancelButton->setEnabled(false);
    fileRow->addWidget(ScenarioFileEdit, 1);
    for (QPushButton* b : {ScenarioOpenButton, ScenarioSaveButton, ScenarioRunButton, ScenarioCancelButton})
        fileRow->addWidget(b);
    outer->addLayout(fileRow);

    ScenarioProgress = new QProgressBar(this);
    ScenarioProgress->setObjectName(QStringLiteral("ScenarioProgress"));
    ScenarioProgress->setValue(0);
    outer->addWidget(ScenarioProgress);

    auto* split = new QSplitter(Qt::Vertical, this);
    ScenarioText = new QPlainTextEdit(split);
    ScenarioText->setObjectName(QStringLiteral("ScenarioText"));
    ScenarioText->setFont(QFont(QStringLiteral("Monospace")));
    auto* results = new QSplitter(Qt::Horizontal, split);
    ScenarioTable = new QTableWidget(results);
    ScenarioTable->setObjectName(QStringLiteral("ScenarioTable"));
    ScenarioTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* chartArea = new QScrollArea(results);
    ScenarioChart = new QLabel(chartArea);
    ScenarioChart->setObjectName(QStringLiteral("ScenarioChart"));
    chartArea->setWidget(ScenarioChart);
    chartArea->setWidgetResizable(true);
    outer->addWidget(split, 1);
    split->setSizes({180, 420});
    results->setSizes({520, 460});

    auto* bottom = new QHBoxLayout;
    ScenarioStatus = new QLabel(this);
    ScenarioStatus->setObjectName(QStringLiteral("ScenarioStatus"));
    ScenarioCopyButton = MakeButton("ScenarioCopyButton", QStringLiteral("Copy table"), this);
    ScenarioSaveResultsButton = MakeButton("ScenarioSaveResultsButton", QStringLiteral("Save table and chart"), this);
    ScenarioCopyButton->setEnabled(false);
    ScenarioSaveResultsButton->setEnabled(false);
    bottom->addWidget(ScenarioStatus, 1);
    bottom->addWidget(ScenarioCopyButton);
    bottom->addWidget(ScenarioSaveResultsButton);
    outer->addLayout(bottom);

    connect(ScenarioOpenButton, &QPushButton::clicked, this, &ScenarioDialog::OpenClicked);
    connect(ScenarioSaveButton, &QPushButton::clicked, this, [this] { SaveScenario(); });
    connect(ScenarioRunButton, &QPushButton::clicked, this, &ScenarioDialog::RunClicked);
    connect(ScenarioCancelButton, &QPushButton::clicked, this, &ScenarioDialog::CancelClicked);
    connect(ScenarioCopyButton, &QPushButton::clicked, this, &ScenarioDialog::CopyTable);
    connect(ScenarioSaveResultsButton, &QPushButton::clicked, this, &ScenarioDialog::SaveResults);
}

ScenarioDialog::~ScenarioDialog() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void ScenarioDialog::Refuse(const QString& message) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Scenarios"), message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);  // the file's own lines may hold markup
    box.exec();
}

bool ScenarioDialog::OpenScenario(const QString& fileName) {
    std::string text, error;
    if (!ReadWholeFile(Local(fileName), text, error)) {
        Refuse(QString::fromStdString(error));
        return false;
    }
    ScenarioFileEdit->setText(fileName);
    ScenarioText->setPlainText(QString::fromStdString(text));
    return true;
}

void ScenarioDialog::OpenClicked() {
    const QString name = QFileDialog::getOpenFileName(this, QStringLiteral("Open scenario"), QString(),
                                                      QStringLiteral("Scenario files (*.scenario);;All files (*)"));
    if (!name.isEmpty()) OpenScenario(name);
}

bool ScenarioDialog::SaveScenario() {
    QString name = ScenarioFileEdit->text();
    if (name.isEmpty()) {
        name = QFileDialog::getSaveFileName(this, QStringLiteral("Save scenario"), QString(),
                                            QStringLiteral("Scenario files (*.scenario)"));
        if (name.isEmpty()) return false;
        ScenarioFileEdit->setText(name);
    }
    const std::string error = WriteFileReplacing(Local(name), ScenarioText->toPlainText().toStdString());
    if (!error.empty()) {
        Refuse(QString::fromStdString(error));
        return false;
    }
    return true;
}

void ScenarioDialog::RunClicked() {
    if (Running()) return;
    // The scenario runs as saved, so that its table always belongs to a file.
    if (!SaveScenario()) return;
    scenario_ = Scenario{};
    std::string error;
    if (!LoadScenario(Local(ScenarioFileEdit->text()), scenario_, base_, error)) {
        Refuse(QString::fromStdString(error));
        return;
    }
    if (scenario_.varied.empty()) {
        Refuse(QStringLiteral("The scenario varies nothing to run."));
        return;
    }
    const std::vector<std::vector<double>> runs = ScenarioRuns(scenario_);
    cancel_ = false;
    done_ = 0;
    ScenarioProgress->setRange(0, static_cast<int>(runs.size()));
    ScenarioProgress->setValue(0);
    ScenarioRunButton->setEnabled(false);
    ScenarioCancelButton->setEnabled(true);
    ScenarioStatus->setText(QStringLiteral("Running %1 runs ...").arg(runs.size()));
    rows_.clear();
    // The progress bar follows the runs by a timer; the runs only count.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        ScenarioProgress->setValue(done_);
        if (!Running()) timer->deleteLater();
    });
    timer->start(100);
    worker_ = std::thread([this, runs] {
        SweepOptions options;
        options.cancel = &cancel_;
        options.progress = [this](int done, int) { done_ = done; };
        std::vector<SweepRow> rows = RunSweep(scenario_, base_, runs, options);
        QMetaObject::invokeMethod(
            this, [this, rows = std::move(rows)]() mutable {
                rows_ = std::move(rows);
                RunsEnded();
            },
            Qt::QueuedConnection);
    });
}

void ScenarioDialog::CancelClicked() { cancel_ = true; }

void ScenarioDialog::RunsEnded() {
    if (worker_.joinable()) worker_.join();
    ScenarioRunButton->setEnabled(true);
    ScenarioCancelButton->setEnabled(false);
    if (cancel_) {
        rows_.clear();
        ScenarioProgress->setValue(0);
        ScenarioStatus->setText(QStringLiteral("The runs were cancelled."));
        emit Finished();
        return;
    }
    ScenarioProgress->setValue(ScenarioProgress->maximum());
    int passed = 0, refused = 0;
    for (const SweepRow& row : rows_) {
        if (!row.error.empty()) ++refused;
        bool all = !row.metrics.empty() && !scenario_.criteria.empty();
        for (bool p : row.pass) all = all && p;
        if (all) ++passed;
    }
    ScenarioStatus->setText(QStringLiteral("%1 runs; %2 refused; %3 pass every criterion")
                                .arg(rows_.size())
                                .arg(refused)
                                .arg(passed));
    ShowTable();
    ShowChart();
    ScenarioCopyButton->setEnabled(true);
    ScenarioSaveResultsButton->setEnabled(true);
    emit Finished();
}

void ScenarioDialog::ShowTable() {
    const std::vector<QStringList> cells = CsvCells(SweepCsv(scenario_, rows_));
    ScenarioTable->setSortingEnabled(false);
    ScenarioTable->clear();
    ScenarioTable->setColumnCount(cells.empty() ? 0 : static_cast<int>(cells[0].size()));
    ScenarioTable->setRowCount(cells.empty() ? 0 : static_cast<int>(cells.size()) - 1);
    if (!cells.empty()) ScenarioTable->setHorizontalHeaderLabels(cells[0]);
    for (size_t r = 1; r < cells.size(); ++r)
        for (int c = 0; c < cells[r].size(); ++c) {
            bool number = false;
            const double value = cells[r][c].toDouble(&number);
            // Numbers show six significant digits; the copy and the saved
            // table keep every digit.
            QTableWidgetItem* item = number ? new NumberItem(QString::number(value, 'g', 6), value)
                                            : new QTableWidgetItem(cells[r][c]);
            item->setData(Qt::UserRole, cells[r][c]);
            ScenarioTable->setItem(static_cast<int>(r) - 1, c, item);
        }
    ScenarioTable->setSortingEnabled(true);
    ScenarioTable->resizeColumnsToContents();
}

void ScenarioDialog::ShowChart() {
    std::string why;
    chart_ = QImage();
    if (scenario_.mode == ScenarioMode::OneAtATime) {
        Tornado tornado;
        if (BuildTornado(scenario_, rows_, tornado, why)) chart_ = TornadoImage(tornado);
    } else {
        HeatMap map;
        if (BuildHeatMap(scenario_, rows_, map, why)) chart_ = HeatMapImage(map);
    }
    if (chart_.isNull()) ScenarioChart->setText(QStringLiteral("No chart: ") + QString::fromStdString(why));
    else ScenarioChart->setPixmap(QPixmap::fromImage(chart_));
}

void ScenarioDialog::CopyTable() {
    // The table as shown (sorted), tab-separated for spreadsheets.
    QString text;
    for (int c = 0; c < ScenarioTable->columnCount(); ++c)
        text += (c ? QStringLiteral("\t") : QString()) + ScenarioTable->horizontalHeaderItem(c)->text();
    text += QLatin1Char('\n');
    for (int r = 0; r < ScenarioTable->rowCount(); ++r) {
        for (int c = 0; c < ScenarioTable->columnCount(); ++c) {
            const QTableWidgetItem* item = ScenarioTable->item(r, c);
            text += (c ? QStringLiteral("\t") : QString()) + (item ? item->data(Qt::UserRole).toString() : QString());
        }
        text += QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

void ScenarioDialog::SaveResults() {
    // Beside the scenario file, named as the runner names them.
    const QFileInfo info(ScenarioFileEdit->text());
    const QString stem = info.absoluteDir().filePath(info.completeBaseName());
    const std::string error = WriteFileReplacing(Local(stem + QStringLiteral(".sweep.csv")), SweepCsv(scenario_, rows_));
    if (!error.empty()) {
        Refuse(QString::fromStdString(error));
        return;
    }
    std::string why;
    bool written = true;
    if (scenario_.mode == ScenarioMode::OneAtATime) {
        Tornado tornado;
        if (BuildTornado(scenario_, rows_, tornado, why))
            for (const char* ext : {".tornado.svg", ".tornado.png"})
                written = written && WriteTornadoFile(stem + QLatin1String(ext), tornado);
    } else {
        HeatMap map;
        if (BuildHeatMap(scenario_, rows_, map, why))
            for (const char* ext : {".chart.svg", ".chart.png"})
                written = written && WriteHeatMapFile(stem + QLatin1String(ext), map);
    }
    if (!written) Refuse(QStringLiteral("The chart could not be written beside ") + info.fileName() + QLatin1Char('.'));
    else ScenarioStatus->setText(QStringLiteral("Saved ") + stem + QStringLiteral(".sweep.csv and the chart."));
}

}  // namespace halovane
