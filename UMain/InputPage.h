// The Input page: the data set being edited (what "Save all - Run" writes
// and runs), the six group buttons and the ten data panels, "Open input",
// "Save all - Run", "Restart" and the run in progress. The handlers of each
// data panel are a class of their own (GeneralPanel, HydrologicalPanel,
// SoilTablePanel, SalinityPanel, DrainagePanel, ConditionsPanel) that
// reaches the page through PanelHost; the page's own handlers live in
// UInputWorkflow and UShowDataSet.
#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "InputRules.h"
#include "ModelInput.h"
#include "ModelState.h"
#include "NumberText.h"
#include "PanelHost.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QUndoStack;

namespace halovane {

class ConditionsPanel;
class DrainagePanel;
class GeneralPanel;
class HydrologicalPanel;
class SalinityPanel;
class SoilTablePanel;
class Dialogs;
class ScenarioDialog;
class ResultsPages;
class RunTask;
class TStringGrid;

// The state the Input page keeps from start to exit.
struct InputPageState {
    bool InputComplete = false;   // every data group holds data
    int LayersIdx = 0;            // layers choice (count - 1) as last saved or read
    int LayerFlags = 1;           // layer count the soil and salinity buttons open
    bool HydrPasteMode = false;   // an edit came from the hydrological grid
    bool SoilDataComplete = true; // the soil table of the data set that was run is complete
    bool OutputFromRun = false;
    int SavedDrainChoice = 0;     // drainage choice at the last save
    QString StartDir;             // current folder at start
    QString InputFolder;          // folder of the open and save dialogs
    // What a comma in a typed or pasted number means, after the system's
    // number format.
    rules::Comma Comma = rules::Comma::Unsettled;
    // What the data set holds, so that a Cancel can show it again: the
    // groups stored by a Save or by "Open input" (in the order of the group
    // buttons), the number of time steps of the stored series and the layer
    // counts of the stored soil table and measured salinities (0: none).
    std::array<bool, FieldGroupCount> Stored{};
    int StoredSteps = 0;
    int StoredSoilLayers = 0;
    int StoredSaltLayers = 0;
    // The open panel was edited since it last showed the data set.
    bool PanelEdited = false;
    // The data set was changed by a panel's Save since it was opened or
    // written to its file.
    bool DataSetChanged = false;
};

// A pasted text with its rows ended by CR LF, whatever line ends it came with.
QString PastedLineEnds(const QString& text);

class InputPage : public QWidget, private PanelHost {
    Q_OBJECT
public:
    // The page of the main window's frame `frame` (the page named "InpTab");
    // a run's results go to `results`.
    InputPage(Dialogs& dialogs, QTabWidget& frame, ResultsPages& results);
    ~InputPage() override;

    // The drainage explanation window of the drainage panel's Help.
    void SetDrainForm(QWidget* drainForm);
    // The Input page is brought to the front; the Math page is shown.
    void InpTabShow();
    void MathTabShow();
    // Before the open panel is left (another page, closing the window): its
    // unsaved edits are saved (with its checks), discarded or kept
    // (Cancel). False when the page stays as it is, with the panel open.
    bool SettleEdits();
    // Whether the window may close now: a run in progress is stopped first
    // (the window closes once it has ended), and the open panel's edits
    // are settled.
    bool ReadyToClose();
    bool RunInProgress() const;
    // The edits of the open panel that can be taken back.
    QUndoStack& Edits() const { return *Undo; }

    ModelInput Input;
    ModelState State;
    InputPageState Page;
    NumberFormat Format;

signals:
    // The input data file's name and whether the data on screen differ
    // from it, for the title bar.
    void TitleChanged(const QString& file, bool modified);

protected:
    // Undo and Redo in a box of a data panel go to the panel's edits.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- what the panels of their own classes use
    ModelInput& DataSet() override { return Input; }
    InputPageState& PageState() override { return Page; }
    void PanelSaved(rules::Panel panel) override { UpdateButtons(rules::PageEvent::Saved, panel); }
    void PanelCancelled(rules::Panel panel) override { UpdateButtons(rules::PageEvent::Cancelled, panel); }
    void DrainDepthRefused() override { UpdateButtons(rules::PageEvent::DrainRefused, rules::Panel::Drain); }
    void ShowGroup(rules::Group group) override;
    void ShowSalinityPanel(int layers) override;
    int StepsOnScreen() const override;
    void ShowStepCount(int steps) override;
    void SalinitySteps(int steps, bool resize) override;
    void GridSteps(int steps) override;
    void CarryLayersOver(int from, int to, int steps) override;

    // ---- shared operations of the Input page
    void HidePanels();
    // Moves the progress bar of a run, when it is shown.
    void ShowProgress(int position);
    void Message(const QString& text) override;
    // A warning: an entry, a paste or a file that was refused.
    void Warn(const QString& text) override;
    bool Ask(const QString& question);

    // ---- handlers: input workflow
    void FormCreate();
    void OpenInpButtonClick();
    void SaveAllButtonClick();
    void ReStartButtonClick();
    // Opens the scenario runs' dialog (one per window, kept between uses).
    void ScenariosButtonClick();
    // Stops the run in progress; it writes nothing.
    void RunCancelButtonClick();
    void GenOpenButtonClick();
    void HydrOpenButtonClick();
    void SoilOpenButtonClick();
    void SaltOpenButtonClick();
    void DrainOpenButtonClick();
    void CondOpenButtonClick();
    // the panels show the data set after "Open input"
    void ShowDataSet(int layersOnLine8);
    void ShowStoredValues();

    // The controls; tests find them by their object names.

    // ---- Input page
    QLabel *FileLabel, *NameLabel, *InpLabel;
    QFrame* InputPanel;
    QPushButton *GenOpenButton, *HydrOpenButton, *SoilOpenButton, *SaltOpenButton, *DrainOpenButton,
        *CondOpenButton;
    QPushButton *ReStartButton, *SaveAllButton, *OpenInpButton, *ScenariosButton;
    ScenarioDialog* Scenarios = nullptr;
    QProgressBar* ProgressBar1;
    QPushButton* RunCancelButton;
    // The run in progress, off the window's thread (null between runs).
    std::unique_ptr<RunTask> Run;
    std::vector<std::pair<QWidget*, bool>> DisabledForRun;
    bool CloseAfterRun = false;  // the window was closed during the run

    // general data
    GeneralPanel* GenPanel;
    // hydrological data
    HydrologicalPanel* HydrPanel;
    // soil and measured salinity, of one, two and three root-zone layers
    std::array<SoilTablePanel*, 3> SoilPanels{};
    std::array<SalinityPanel*, 3> SaltPanels{};
    // drainage
    DrainagePanel* DrainPanel;
    // initial and boundary conditions
    ConditionsPanel* CondPanel;

    SoilTablePanel* SoilPanel(int layers) const;
    SalinityPanel* SaltPanel(int layers) const;
    // The group buttons in the order of the page.
    std::array<QPushButton*, rules::GroupCount> GroupButtons() const;

    void BuildInputPage();
    // Brings the page of the frame named `pageName` to the front.
    void BringToFront(const char* pageName);
    void ShowPanel(QFrame* panel);
    void SetDialogFolderFrom(const QString& path);
    // The controls that could change the data set are disabled while a run
    // is in progress, and enabled again as they were.
    void LockInputForRun(bool locked);
    // The end of a run: its messages, the fit report and the result pages.
    void RunFinished();
    // The enabled state of the group, "Save all - Run" and Cancel buttons
    // after an event of the page.
    void UpdateButtons(rules::PageEvent event, rules::Panel panel = rules::Panel::Gen);
    // A refused entry: the warning, then the focus on the offending control.
    void Refuse(const rules::Problem& problem, QWidget* focus) override;
    void RefuseCell(const rules::Problem& problem, TStringGrid& grid) override;
    // The one table of the data panels, in the order of rules::Panel: the
    // panel, the group it enters, its Save and Cancel buttons and how it is
    // shown again from the data set.
    struct PanelEntry {
        QFrame* panel;
        QPushButton* save;
        QPushButton* quit;
        int group;  // FieldGroup
        void (InputPage::*show)();
    };
    std::vector<PanelEntry> PanelEntries() const;
    // The data panel on screen (panel null when none is).
    PanelEntry OpenPanel();
    // The user changed an entry of the open panel.
    void MarkEdited();
    // Before the open panel is left: its unsaved edits are saved (with its
    // checks), discarded or kept (Cancel). False when the page stays as it
    // is, with the panel open.
    // Saves the open panel's edits with its checks; false when refused.
    bool SaveOpenPanel();
    // The title bar: the input data file's name and whether the data differ
    // from it.
    void UpdateTitle();
    void ShowSoilOfLayers();
    void ShowSalinityOfLayers();
    // Empties every grid and box of the data panels (before a file is shown,
    // and at a restart): nothing of an earlier data set stays on screen.
    void ClearPanels();
    // The panels show what the data set holds (after "Open input" and Cancel).
    void ShowGeneral();
    void ShowHydrological();
    void ShowDrainage();
    void ShowConditions();

    // The edits of the open panel that are not saved yet, to take back and
    // make again; emptied whenever a panel shows the data set (opened,
    // saved, cancelled or discarded).
    QUndoStack* Undo;
    // The boxes and choices of a panel without a grid, as last shown or
    // edited.
    struct BoxTexts {
        QStringList texts;
        QList<int> choices;
        bool operator==(const BoxTexts& other) const { return texts == other.texts && choices == other.choices; }
    };
    std::vector<std::pair<QFrame*, BoxTexts>> shownBoxes_;
    static BoxTexts BoxesOf(const QFrame& panel);
    static void ShowBoxes(QFrame& panel, const BoxTexts& boxes);
    void ResetUndo();
    // The user changed a box or choice of a panel without a grid.
    void BoxEdited(QFrame* panel, QObject* source);
    // The page after an undo or redo of the panel's edits.
    void Undone(QWidget* source);

    Dialogs& dialogs_;
    QTabWidget& frame_;
    ResultsPages& results_;
};

}  // namespace halovane
