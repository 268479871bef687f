// The window's scenario runs: a dialog that opens, edits and saves a
// scenario file, makes its runs off the window's thread with a progress bar
// and Cancel, and shows and saves the table and the chart.
#pragma once

#include <QDialog>
#include <QImage>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "Scenario.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace halovane {

class ScenarioDialog : public QDialog {
    Q_OBJECT
public:
    explicit ScenarioDialog(QWidget* parent = nullptr);
    ~ScenarioDialog() override;

    // Reads a scenario file into the editor; false (and a message) when it
    // cannot be read.
    bool OpenScenario(const QString& fileName);
    // Whether runs are going on.
    bool Running() const { return worker_.joinable(); }

signals:
    void Finished();

private:
    void OpenClicked();
    bool SaveScenario();
    void RunClicked();
    void CancelClicked();
    void RunsEnded();
    void ShowTable();
    void ShowChart();
    void CopyTable();
    void SaveResults();
    void Refuse(const QString& message);

    QLineEdit* ScenarioFileEdit;
    QPlainTextEdit* ScenarioText;
    QPushButton *ScenarioOpenButton, *ScenarioSaveButton, *ScenarioRunButton, *ScenarioCancelButton,
        *ScenarioCopyButton, *ScenarioSaveResultsButton;
    QProgressBar* ScenarioProgress;
    QTableWidget* ScenarioTable;
    QLabel* ScenarioChart;
    QLabel* ScenarioStatus;

    Scenario scenario_;
    ModelInput base_;
    std::vector<SweepRow> rows_;
    QImage chart_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> done_{0};
};

}  // namespace halovane
