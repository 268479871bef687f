// The Input page as a whole: its layout, the creation defaults (also run by
// "Restart"), the group buttons, "Open input" and "Save all - Run".
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "InputFile.h"
#include "Fields.h"
#include "OutputFile.h"
#include "PathLabel.h"
#include "ResultsPages.h"
#include "RunStop.h"
#include "RunDriver.h"
#include "RunTask.h"
#include "ConditionsPanel.h"
#include "DrainagePanel.h"
#include "GeneralPanel.h"
#include "HydrologicalPanel.h"
#include "InputPage.h"
#include "SalinityPanel.h"
#include "SoilTablePanel.h"

#include "ScenarioDialog.h"
#include "UStringGrid.h"
#include "Validation.h"

namespace halovane {

namespace {

const char* const InputFilter = "input files (*.inp)";

QPushButton* Button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

}  // namespace

void InputPage::BuildInputPage() {
    QWidget* page = this;
    auto* outer = new QVBoxLayout(page);

    auto* top = new QHBoxLayout;
    FileLabel = new QLabel("File :", page);
    FileLabel->setObjectName("FileLabel");
    NameLabel = new QLabel("..", page);
    NameLabel->setObjectName("NameLabel");
    ProgressBar1 = new QProgressBar(page);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 10);
    ProgressBar1->hide();
    top->addWidget(FileLabel);
    top->addWidget(NameLabel, 1);
    top->addWidget(ProgressBar1);
    RunCancelButton = Button("RunCancelButton", "Cancel", page);
    RunCancelButton->setToolTip("Stops the calculations; the output file is not written");
    RunCancelButton->hide();
    top->addWidget(RunCancelButton);
    outer->addLayout(top);

    auto* middle = new QHBoxLayout;
    InputPanel = new QFrame(page);
    InputPanel->setObjectName("InputPanel");
    InputPanel->setFrameShape(QFrame::StyledPanel);
    auto* buttons = new QVBoxLayout(InputPanel);
    InpLabel = new QLabel("Enter/change input", InputPanel);
    InpLabel->setObjectName("InpLabel");
    buttons->addWidget(InpLabel);
    GenOpenButton = Button("GenOpenButton", "General data", InputPanel);
    HydrOpenButton = Button("HydrOpenButton", "Hydrological data", InputPanel);
    SoilOpenButton = Button("SoilOpenButton", "Soil properties", InputPanel);
    SaltOpenButton = Button("SaltOpenButton", "Salinity data", InputPanel);
    DrainOpenButton = Button("DrainOpenButton", "Drainage data", InputPanel);
    CondOpenButton = Button("CondOpenButton", "Initial and\nboundary conditions", InputPanel);
    for (QPushButton* b : GroupButtons()) buttons->addWidget(b);
    buttons->addStretch(1);
    middle->addWidget(InputPanel);

    auto* panels = new QVBoxLayout;
    GenPanel = new GeneralPanel(*this, page);
    HydrPanel = new HydrologicalPanel(*this, page);
    for (size_t k = 0; k < SoilPanels.size(); ++k) SoilPanels[k] = new SoilTablePanel(*this, int(k) + 1, page);
    for (size_t k = 0; k < SaltPanels.size(); ++k) SaltPanels[k] = new SalinityPanel(*this, int(k) + 1, page);
    DrainPanel = new DrainagePanel(*this, page);
    CondPanel = new ConditionsPanel(*this, page);
    for (const PanelEntry& e : PanelEntries()) {
        QFrame* p = e.panel;
        p->setFrameShape(QFrame::StyledPanel);
        // The grid panels take the height of the page.
        const bool grid = p == HydrPanel || qobject_cast<SalinityPanel*>(p);
        panels->addWidget(p, grid ? 100 : 0);
    }
    panels->addStretch(1);
    middle->addLayout(panels, 1);
    outer->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    ReStartButton = Button("ReStartButton", "Restart", page);
    SaveAllButton = Button("SaveAllButton", "Save all - Run", page);
    OpenInpButton = Button("OpenInpButton", "Open input", page);
    ScenariosButton = Button("ScenariosButton", "Scenarios", page);
    bottom->addWidget(ScenariosButton);
    bottom->addWidget(ReStartButton);
    bottom->addWidget(SaveAllButton);
    bottom->addWidget(OpenInpButton);
    outer->addLayout(bottom);

    connect(GenOpenButton, &QPushButton::clicked, this, &InputPage::GenOpenButtonClick);
    connect(HydrOpenButton, &QPushButton::clicked, this, &InputPage::HydrOpenButtonClick);
    connect(SoilOpenButton, &QPushButton::clicked, this, &InputPage::SoilOpenButtonClick);
    connect(SaltOpenButton, &QPushButton::clicked, this, &InputPage::SaltOpenButtonClick);
    connect(DrainOpenButton, &QPushButton::clicked, this, &InputPage::DrainOpenButtonClick);
    connect(CondOpenButton, &QPushButton::clicked, this, &InputPage::CondOpenButtonClick);
    connect(ReStartButton, &QPushButton::clicked, this, &InputPage::ReStartButtonClick);
    connect(SaveAllButton, &QPushButton::clicked, this, &InputPage::SaveAllButtonClick);
    connect(OpenInpButton, &QPushButton::clicked, this, &InputPage::OpenInpButtonClick);
    connect(ScenariosButton, &QPushButton::clicked, this, &InputPage::ScenariosButtonClick);
    connect(RunCancelButton, &QPushButton::clicked, this, &InputPage::RunCancelButtonClick);
}

void InputPage::BringToFront(const char* pageName) {
    if (QWidget* page = frame_.findChild<QWidget*>(QString::fromLatin1(pageName))) frame_.setCurrentWidget(page);
}

void InputPage::FormCreate() {
    // A fresh data set and empty panels, as at the program's start.
    Input = ModelInput{};
    ClearPanels();
    Page.InputComplete = false;
    Page.OutputFromRun = false;
    Page.SoilDataComplete = true;
    Page.StartDir = QDir::currentPath();
    Page.InputFolder = Page.StartDir;

    Input.NrTstHydr = 11;
    Input.NrTst = 11;
    HydrPanel->Reset(11);
    for (SalinityPanel* salt : SaltPanels) salt->Reset(11);
    GenPanel->Reset(11);
    Page.LayersIdx = 0;
    Input.DrainPresent = false;
    Page.SavedDrainChoice = 0;
    DrainPanel->Show();
    // The grids no longer show the data set: it must be passed through the
    // groups (or opened) again before it can be saved.
    UpdateButtons(rules::PageEvent::Restart);
    Page.Stored.fill(false);
    Page.StoredSteps = 11;
    Page.StoredSoilLayers = Page.StoredSaltLayers = 0;

    BringToFront("IntroTab");
    FileLabel->hide();
    ShowPath(*NameLabel, QString());
    HidePanels();
    Format.decimalSeparator = '.';
}

void InputPage::ShowProgress(int position) {
    if (!ProgressBar1->isVisible()) return;
    ProgressBar1->setValue(position);
}

bool InputPage::RunInProgress() const { return Run != nullptr; }

void InputPage::RunCancelButtonClick() {
    if (Run) Run->Cancel();
    RunCancelButton->setEnabled(false);
}

void InputPage::LockInputForRun(bool locked) {
    if (locked) {
        DisabledForRun.clear();
        std::vector<QWidget*> controls{InputPanel, ReStartButton, SaveAllButton, OpenInpButton};
        for (const PanelEntry& e : PanelEntries()) controls.push_back(e.panel);
        for (QWidget* w : controls) {
            DisabledForRun.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
    } else {
        for (const auto& [w, enabled] : DisabledForRun) w->setEnabled(enabled);
        DisabledForRun.clear();
    }
    RunCancelButton->setEnabled(locked);
    RunCancelButton->setVisible(locked);
}

void InputPage::ReStartButtonClick() {
    if (!SettleEdits()) return;
    FormCreate();
}

// Each panel opens on what the data set holds; what was typed and not
// saved is not shown again.
void InputPage::GenOpenButtonClick() {
    if (!SettleEdits()) return;
    ShowGeneral();
    ShowPanel(GenPanel);
    UpdateButtons(rules::PageEvent::GroupOpened);
}
void InputPage::HydrOpenButtonClick() {
    if (!SettleEdits()) return;
    ShowHydrological();
    ShowPanel(HydrPanel);
    UpdateButtons(rules::PageEvent::GroupOpened);
}
void InputPage::SoilOpenButtonClick() {
    if (!SettleEdits()) return;
    SoilPanel(Page.LayerFlags)->Show();
    ShowPanel(SoilPanel(Page.LayerFlags));
    UpdateButtons(rules::PageEvent::GroupOpened);
}
void InputPage::SaltOpenButtonClick() {
    if (!SettleEdits()) return;
    SaltPanel(Page.LayerFlags)->Show();
    ShowPanel(SaltPanel(Page.LayerFlags));
    UpdateButtons(rules::PageEvent::GroupOpened);
}
void InputPage::DrainOpenButtonClick() {
    if (!SettleEdits()) return;
    ShowDrainage();
    ShowPanel(DrainPanel);
    UpdateButtons(rules::PageEvent::GroupOpened);
}
void InputPage::CondOpenButtonClick() {
    if (!SettleEdits()) return;
    ShowConditions();
    ShowPanel(CondPanel);
    UpdateButtons(rules::PageEvent::GroupOpened);
}

void InputPage::OpenInpButtonClick() {
    if (!SettleEdits()) return;
    const QString path = dialogs_.OpenFileName(this, "Open input", Page.InputFolder, InputFilter);
    if (path.isEmpty()) {
        Message("No input file was selected");
        return;
    }
    SetDialogFolderFrom(path);
    // The data set of the file alone replaces the one held, once read whole.
    ModelInput opened;
    opened.InputFileName = path.toStdString();
    const InputReadResult read = ReadInputFile(opened, Format);
    if (read.status == InputReadStatus::Extended) {
        Warn(QString::fromStdString(read.message));
        FormCreate();
        return;
    }
    if (!read.Ok()) {
        Warn(QString::fromStdString(read.message));
        return;
    }
    Input = std::move(opened);
    ShowDataSet(read.layersOnLine8);
    FileLabel->show();
    ShowPath(*NameLabel, path);
    Page.InputComplete = true;
    UpdateButtons(rules::PageEvent::InputOpened);
    HidePanels();
    GenPanel->show();
    Page.OutputFromRun = false;
    results_.InputOpened();
}

void InputPage::SaveAllButtonClick() {
    // What the open panel shows is saved first, with its checks: "Save all"
    // saves everything on screen, or nothing when a panel refuses.
    if (!SaveOpenPanel()) return;
    Message("For saving please create an input data file");
    if (!SaveAllButton->isEnabled() && !Page.InputComplete) {
        Warn("Not all the input groups were checked. Halovane cannot continue");
        return;
    }
    // A data set whose hydrological series are shorter than its time steps
    // (the number was raised after they were saved) would be written with
    // invented zeros.
    for (const Series* s : {&Input.Rain, &Input.Irrig, &Input.EvapT})
        if (static_cast<int>(s->size()) < Input.NrTst + 1) {
            Warn("The hydrological data do not cover all " + QString::number(Input.NrTst) +
                    " time steps. Please complete and save the hydrological data.");
            return;
        }
    // The whole data set is checked, and every problem shown at once, before
    // anything is written.
    // Errors refuse the run and come with a warning sign; warnings alone are
    // shown for information and the run goes on.
    // The data set is run as its file holds it: values with more decimals
    // than their column keeps are rounded first (and checked rounded).
    ModelInput stored = Input;
    const std::vector<Rounding> rounded = RoundAsFileStores(stored);
    const std::string changesChecks = RoundingChangesChecks(Input, stored);
    if (!changesChecks.empty()) {
        Warn(QString::fromStdString(changesChecks));
        return;
    }
    // The values as entered are checked; when they pass, the values as
    // stored must pass too.
    std::vector<Problem> problems = ValidateDataSet(Input);
    if (!HasErrors(problems)) problems = ValidateDataSet(stored);
    if (HasErrors(problems)) {
        dialogs_.Report(this, QString::fromStdString(ProblemReport(problems)), true);
        return;
    }
    if (!problems.empty()) dialogs_.Report(this, QString::fromStdString(ProblemReport(problems)), false);
    const QString path = dialogs_.SaveFileName(this, "Save input", Page.InputFolder, InputFilter, "inp");
    if (path.isEmpty()) {
        Message("No input file was selected");
        return;
    }
    // A name that the results (FILE.out, or FILE.csv of the runner) would
    // be written over is refused.
    const std::string overwritten = OutputOverwritesInput(path.toStdString(), RunFiles{true});
    if (!overwritten.empty()) {
        Warn(QString::fromStdString(overwritten));
        return;
    }
    if (QFileInfo::exists(path) && !Ask("The file already exists, overwrite?")) return;
    SetDialogFolderFrom(path);
    stored.InputFileName = path.toStdString();
    const std::string error = WriteInputFile(stored);
    if (!error.empty()) {
        Warn(QString::fromStdString(error));
        return;
    }
    Input = std::move(stored);
    Page.DataSetChanged = false;
    // The panels show the values as the file holds them, not as typed.
    if (!rounded.empty()) ShowStoredValues();
    UpdateTitle();
    if (!rounded.empty())
        Message(QString::fromStdString("The input data file keeps fewer decimals than were entered. The data set is "
                                       "saved, and run, as the file holds it:" +
                                       RoundingReport(rounded, Input.NrLayers)));
    ShowPath(*NameLabel, path);
    FileLabel->show();
    if (!Ask("The data were saved as " + path + ". Do you wish to" + " do the calculations?")) {
        Message("The calculations were not made.");
        return;
    }
    const bool bar = Input.NrTst > 50;
    if (bar) {
        ProgressBar1->setRange(0, 10);
        ProgressBar1->setValue(1);
        ProgressBar1->show();
    }
    // The run uses the step length saved with the data set, which is what
    // the file holds. Whether the run is reported follows the soil table of
    // this data set.
    Page.SoilDataComplete = rules::SoilDataComplete(Input);
    // The run works on a copy of the data set and asks its questions here;
    // the window stays usable meanwhile, apart from the data set's controls.
    Run = std::make_unique<RunTask>(
        Input, [this](const std::string& question) { return dialogs_.Confirm(this, QString::fromStdString(question)); },
        [this](const std::string& message) { dialogs_.Inform(this, QString::fromStdString(message)); }, bar);
    connect(Run.get(), &RunTask::Progress, this, &InputPage::ShowProgress);
    connect(Run.get(), &RunTask::Finished, this, &InputPage::RunFinished);
    LockInputForRun(true);
    Run->Start();
}

void InputPage::RunFinished() {
    if (!Run) return;
    Run->Wait();
    RunTask::Result result = Run->TakeResult();
    Run.release()->deleteLater();  // this may be its own signal
    LockInputForRun(false);
    // A close during the run goes on once the run's end has been shown,
    // whatever the end was.
    if (CloseAfterRun) {
        CloseAfterRun = false;
        QMetaObject::invokeMethod(window(), &QWidget::close, Qt::QueuedConnection);
    }
    const RunOutcome& outcome = result.outcome;
    if (outcome.status == RunStatus::Cancelled) {
        ProgressBar1->hide();
        Message(QString::fromStdString(outcome.message));
        return;
    }
    if (outcome.status == RunStatus::Refused || outcome.status == RunStatus::WriteFailed) {
        ProgressBar1->hide();
        Warn(QString::fromStdString(outcome.message));
        return;
    }
    State = std::move(result.state);
    // What the results should not be trusted for, before the run's end is shown.
    const std::vector<std::string> warnings = RunWarnings(State.Balance);
    if (!warnings.empty()) {
        std::string text = "The results are not physical everywhere:";
        for (const std::string& warning : warnings) text += "\n\n" + warning;
        Message(QString::fromStdString(text));
    }
    if (!Page.SoilDataComplete || State.Stop) {
        ProgressBar1->hide();
        // The output file of a stopped run is still shown, marked as stopped.
        if (State.Stop) results_.RunStopped(QString::fromStdString(State.OutputFileName), StoppedAtStep(State, Input.NrTst));
        return;
    }
    Message("The calculations were made. The output can be inspected.");
    Page.OutputFromRun = true;
    results_.RunCompleted(QString::fromStdString(State.OutputFileName));
    BringToFront("OutTab");
    ProgressBar1->hide();
}

void InputPage::ScenariosButtonClick() {
    if (!Scenarios) Scenarios = new ScenarioDialog(this);
    Scenarios->show();
    Scenarios->raise();
}

}  // namespace halovane
