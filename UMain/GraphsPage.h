// The Graphs page: the choice of one of nine graphs, the picture, and
// saving and opening pictures.
#pragma once

#include <memory>

#include <QImage>
#include <QObject>
#include <optional>

#include "GraphData.h"
#include "GraphScale.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QRadioButton;
class QWidget;

namespace halovane {

class Dialogs;
class GraphView;
struct ResultsState;

class GraphsPage : public QObject {
    Q_OBJECT
public:
    GraphsPage(Dialogs& dialogs, ResultsState& state, QWidget& page);

    // "See graphs": the choice panel, with the layer choices a root zone of
    // `layers` layers does not have disabled and cleared.
    void ShowChoices(int layers);
    // Another output file was loaded: no picture, no panel.
    void OutputLoaded();
    // "Open input" read another data set.
    void InputOpened();

    void GraphGoButtonClick();
    void GraphSelectButtonClick();
    void SaveGraphButtonClick();
    void OpenGrapButtonClick();

    QWidget& Page() const { return page_; }
    QPushButton* MakeGraphButton = nullptr;
    // The picture on view at the graph's own size (null before the first
    // graph or opened picture).
    const QImage& Picture() const;

private:
    void ShowSelection();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void PlacePanel();
    std::optional<GraphChoice> SelectedChoice() const;
    void ClearChoice(QRadioButton* button);

    Dialogs& dialogs_;
    ResultsState& state_;
    QWidget& page_;
    GraphView* graphImage_ = nullptr;
    QFrame* graphPanel_ = nullptr;
    QButtonGroup* choices_ = nullptr;
    QRadioButton* choiceButtons_[GraphChoiceCount] = {};
    QPushButton* goButton_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QComboBox* styleCombo_ = nullptr;
    QComboBox* periodCombo_ = nullptr;
    QCheckBox* footerCheck_ = nullptr;
    // The series of the graphs, built once per text of the output file and
    // stop: every graph of a long run draws from the same data.
    std::shared_ptr<const GraphData> graphData_;
    int graphDataOf_ = -1;
    int graphDataStop_ = 0;
};

}  // namespace halovane
