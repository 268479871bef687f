// The fit report on the Output page: the "See fit report" button and the
// window it opens, with the statistics table (copied to the clipboard like
// the other tables) and, per zone, the profile and the measured against
// simulated picture, saved like the graphs.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>

#include "FitReport.h"
#include "FitGraphs.h"
#include "FitReportFiles.h"
#include "OutputTables.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace halovane {

class Dialogs;
class OutputGridModel;
struct ResultsState;

// The statistics table: row 0 names the zones, column 0 the statistics.
TableCells FitReportTable(const FitReport& report);

class FitReportView : public QObject {
    Q_OBJECT
public:
    FitReportView(Dialogs& dialogs, ResultsState& state, QWidget& page);
    ~FitReportView() override;

    // An output file was loaded: read the report beside it, if any.
    void OutputLoaded();
    // "Open input": the report no longer belongs to the data on view.
    void InputOpened();

    void FitShowButtonClick();
    void FitClipButtonClick();
    void FitZoneComboChange(int row);
    void FitSaveProfileButtonClick();
    void FitSaveScatterButtonClick();

    QPushButton* FitShowButton = nullptr;
    QWidget* Form() const { return form_; }
    FitReportStatus Status() const { return status_; }
    const QImage& ProfilePicture() const { return profile_; }
    const QImage& ScatterPicture() const { return scatter_; }

private:
    void SavePicture(const QImage& picture, const std::function<void(GraphCanvas&)>& draw);

    Dialogs& dialogs_;
    ResultsState& state_;
    QWidget& page_;
    FitReport report_;
    FitReportStatus status_ = FitReportStatus::Absent;
    QImage profile_, scatter_;
    ProfileGraph profileGraph_;  // what the pictures show, to be drawn again at any size
    ScatterGraph scatterGraph_;
    QWidget* form_ = nullptr;
    QTableView* grid_ = nullptr;
    OutputGridModel* model_ = nullptr;
    QComboBox* zoneCombo_ = nullptr;
    QLabel* profileImage_ = nullptr;
    QLabel* scatterImage_ = nullptr;
};

}  // namespace halovane
