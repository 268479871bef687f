// The main window: the page frame with the Intro, Math, Figure, Input,
// Output and Graphs pages, the Edit menu, and the Input page with its
// workflow and data panels. The handlers of each panel live in a source file
// of their own (UInputWorkflow, UGeneralPanel, UHydrPanel, USoilPanels,
// USaltPanels, UDrainCondPanels).
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "InputRules.h"
#include "ModelInput.h"
#include "ModelState.h"
#include "NumberText.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QUndoStack;
class QWidget;
class QFrame;

namespace halovane {

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
    std::array<bool, 6> Stored{};
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

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The closing window shown instead of closing, and the drainage
    // explanation window of the drainage panel's Help.
    void SetCompanionWindows(QWidget* closeForm, QWidget* drainForm);
    // Shows the program's version record at the right of the menu bar.
    void ShowVersion(const QString& text);

    ModelInput Input;
    ModelState State;
    InputPageState Page;
    NumberFormat Format;

    // ---- shared operations of the Input page
    void HidePanels();
    // Enables "Save all - Run" and the six group buttons. The page itself
    // decides its buttons in UpdateButtons; this opens every group at once.
    void UnlockGroups();
    // Moves the progress bar of a run, when it is shown.
    void ShowProgress(int position);
    void Message(const QString& text);
    // A warning: an entry, a paste or a file that was refused.
    void Warn(const QString& text);
    bool Ask(const QString& question);

    // ---- handlers: input workflow
    void FormCreate();
    void InpTabShow();
    void MathTabShow();
    void OpenInpButtonClick();
    void SaveAllButtonClick();
    void ReStartButtonClick();
    // Opens the scenario runs' dialog (one per window, kept between uses).
    void ScenariosButtonClick();
    // Stops the run in progress; it writes nothing.
    void RunCancelButtonClick();
    bool RunInProgress() const;
    void GenOpenButtonClick();
    void HydrOpenButtonClick();
    void SoilOpenButtonClick();
    void SaltOpenButtonClick();
    void DrainOpenButtonClick();
    void CondOpenButtonClick();
    // the panels show the data set after "Open input"
    void ShowDataSet(int layersOnLine8);
    // ---- handlers: general data
    void GenSaveButtonClick();
    void GenQuitButtonClick();
    // ---- handlers: hydrological data and paste
    void HydrGridSetEditText(int column, int row, const QString& text);
    // Spreads a pasted block over the grid; false when it was refused.
    bool HandlePasteMultiCell(TStringGrid& grid, int column, int row, const QString& text);
    void HydrSaveButtonClick();
    void HydrQuitButtonClick();
    void WriteSerialNumbers(TStringGrid& grid, int count);
    // The number of time steps the hydrological panel shows (a paste may
    // have grown it before its Save).
    int StepsOnScreen() const;
    // ---- handlers: soil
    void Soil1SaveButtonClick();
    void Soil2SaveButtonClick();
    void Soil3SaveButtonClick();
    void Soil1QuitButtonClick();
    void Soil2QuitButtonClick();
    void Soil3QuitButtonClick();
    // ---- handlers: salinity
    void SaltGridSetEditText(int layers, int column, int row, const QString& text);
    void SaltSaveButtonClick(int layers);
    void SaltQuitButtonClick(int layers);
    // ---- handlers: drainage and conditions
    void DrainPresentComboChange();
    void DrainHelpButtonClick();
    void DrainSaveButtonClick();
    void DrainQuitButtonClick();
    void CondSaveButtonClick();
    void CondQuitButtonClick();
    // ---- Edit menu
    void EditCopy();
    void EditCut();
    void EditDelete();
    void EditPaste();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Undo and Redo in a box of a data panel go to the panel's edits.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls; tests find them by their object names.
    // ---- page frame
    QTabWidget* PageControl;
    QWidget *IntroTab, *MathTab, *FigTab, *InpTab, *OutTab, *GraphTab;
    std::unique_ptr<ResultsPages> Results;

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
    QFrame* GenPanel;
    QLineEdit *Tit1Edit, *Tit2Edit, *NrTstEdit;
    QComboBox *TstCombo, *LayersCombo, *ModelCombo;
    QPushButton *GenSaveButton, *GenQuitButton;
    // hydrological data
    QFrame* HydrPanel;
    TStringGrid* HydrGrid;
    QPushButton *HydrSaveButton, *HydrQuitButton;
    // soil
    QFrame *Soil1Panel, *Soil2Panel, *Soil3Panel;
    TStringGrid *Soil1Grid, *Soil2Grid, *Soil3Grid;
    QPushButton *Soil1SaveButton, *Soil1QuitButton, *Soil2SaveButton, *Soil2QuitButton, *Soil3SaveButton,
        *Soil3QuitButton;
    // salinity
    QFrame *Salt1Panel, *Salt2Panel, *Salt3Panel;
    TStringGrid *SaltGrid1, *SaltGrid2, *SaltGrid3;
    QPushButton *Salt1SaveButton, *Salt1QuitButton, *Salt2SaveButton, *Salt2QuitButton, *Salt3SaveButton,
        *Salt3QuitButton;
    // drainage
    QFrame* DrainPanel;
    QComboBox* DrainPresentCombo;
    QLabel *DrainDepthLabel, *DrainQH1Label, *DrainQH2Label;
    QLineEdit *DrainDepthEdit, *DrainQH1Edit, *DrainQH2Edit;
    QPushButton *DrainHelpButton, *DrainSaveButton, *DrainQuitButton;
    // initial and boundary conditions
    QFrame* CondPanel;
    QLineEdit *SaltIrrigEdit, *WTdepthEdit, *GrwtInfEdit, *GrwtOutEdit, *CritDepthEdit, *IrrEffEdit, *MoistEdit,
        *SalInfEdit;
    QPushButton *CondSaveButton, *CondQuitButton;

    TStringGrid* SaltGrid(int layers) const;
    TStringGrid* SoilGrid(int layers) const;
    QFrame* SoilPanel(int layers) const;
    QFrame* SaltPanel(int layers) const;
    QPushButton* AllQuitButtons(int k) const;  // the ten Cancel buttons, k = 0..9

    QWidget* BuildInputPage();
    QFrame* BuildGeneralPanel(QWidget* parent);
    QFrame* BuildHydrPanel(QWidget* parent);
    QFrame* BuildSoilPanel(QWidget* parent, int layers);
    QFrame* BuildSaltPanel(QWidget* parent, int layers);
    QFrame* BuildDrainPanel(QWidget* parent);
    QFrame* BuildCondPanel(QWidget* parent);
    void BuildEditMenu();
    void ShowPanel(QFrame* panel);
    void SetDialogFolderFrom(const QString& path);
    void SaveSoilGrid(int layers);
    // The controls that could change the data set are disabled while a run
    // is in progress, and enabled again as they were.
    void LockInputForRun(bool locked);
    // The end of a run: its messages, the fit report and the result pages.
    void RunFinished();
    // The enabled state of the group, "Save all - Run" and Cancel buttons
    // after an event of the page.
    void UpdateButtons(rules::PageEvent event, rules::Panel panel = rules::Panel::Gen);
    // A refused entry: the warning, then the focus on the offending control.
    void Refuse(const rules::Problem& problem, QWidget* focus);
    void RefuseCell(const rules::Problem& problem, TStringGrid& grid);
    // The texts of rows 0..rows-1 and columns 0..columns-1 of a grid.
    static rules::Cells CellsOf(const TStringGrid& grid, int rows, int columns);
    // A data panel with the group it enters, its Save button and how it is
    // shown again from the data set.
    struct PanelEntry {
        QFrame* panel;
        QPushButton* save;
        int group;  // FieldGroup
        void (TMainForm::*show)();
    };
    std::vector<PanelEntry> PanelEntries();
    // The data panel on screen (panel null when none is).
    PanelEntry OpenPanel();
    // The user changed an entry of the open panel.
    void MarkEdited();
    // Before the open panel is left: its unsaved edits are saved (with its
    // checks), discarded or kept (Cancel). False when the page stays as it
    // is, with the panel open.
    bool SettleEdits();
    // Saves the open panel's edits with its checks; false when refused.
    bool SaveOpenPanel();
    // The title bar: the input data file's name and whether the data differ
    // from it.
    void UpdateTitle();
    void ShowSoilOfLayers();
    void ShowSalinityOfLayers();
    QWidget* previousPage_ = nullptr;
    // Empties every grid and box of the data panels (before a file is shown,
    // and at a restart): nothing of an earlier data set stays on screen.
    void ClearPanels();
    // The panels show what the data set holds (after "Open input" and Cancel).
    void ShowGeneral();
    void ShowHydrological();
    void ShowSoil(int layers);
    void ShowSalinity(int layers);
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
    QWidget* closeForm_ = nullptr;
    QWidget* drainForm_ = nullptr;
};

}  // namespace halovane
