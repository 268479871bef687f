#include "GraphsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <thread>
#include <algorithm>
#include <iterator>
#include <QFileInfo>
#include <QImageReader>
#include <QFrame>
#include <QGroupBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <utility>

#include "Dialogs.h"
#include "GraphChoices.h"
#include "GraphData.h"
#include "GraphDrawing.h"
#include "GraphFigure.h"
#include "GraphPainter.h"
#include "GraphSaveTypes.h"
#include "GraphView.h"
#include "OutputPage.h"
#include "OutputResults.h"

namespace halovane {

namespace {

const QString OpenFilter = QStringLiteral("bitmap files (*.bmp);;PNG files (*.png)");

QPushButton* Button(QWidget& parent, const char* name, const char* caption, QRect geometry) {
    auto* b = new QPushButton(QString::fromLatin1(caption), &parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    return b;
}

}  // namespace

GraphsPage::GraphsPage(Dialogs& dialogs, ResultsState& state, QWidget& page)
    : QObject(&page), dialogs_(dialogs), state_(state), page_(page) {
    QVBoxLayout* layout = nullptr;
    QWidget& content = *ScrolledContent(page, "GraphContent", layout);
    layout->setContentsMargins(24, 24, 24, 8);
    graphImage_ = new GraphView(&content);
    layout->addWidget(graphImage_, 1);

    graphPanel_ = new QFrame(&content);
    graphPanel_->setObjectName(QStringLiteral("GraphPanel"));
    graphPanel_->setGeometry(232, 96, 230, 257);
    graphPanel_->setFrameShape(QFrame::Panel);
    graphPanel_->setFrameShadow(QFrame::Raised);
    graphPanel_->setAutoFillBackground(true);
    auto* group = new QGroupBox(QStringLiteral("Select graph type"), graphPanel_);
    group->setObjectName(QStringLiteral("GraphRadioGroup"));
    group->setGeometry(8, 8, 185, 241);
    choices_ = new QButtonGroup(this);
    for (int k = 0; k < GraphChoiceCount; ++k) {
        auto* b = new QRadioButton(QString::fromLatin1(GraphChoices[k].caption), graphPanel_);
        b->setObjectName(QLatin1String(GraphChoices[k].control));
        choices_->addButton(b, k);
        choiceButtons_[k] = b;
    }
    choiceButtons_[0]->setChecked(true);
    goButton_ = Button(*graphPanel_, "GraphGoButton", "Go", {192, 118, 33, 25});
    // Room for the captions in fonts wider or taller than the ones the panel
    // was laid out for: rows follow the height of the buttons, and the
    // group, the Go button and the panel grow to the right.
    int widest = 0, tallest = 20;
    for (QRadioButton* b : choiceButtons_) {
        widest = std::max(widest, b->sizeHint().width());
        tallest = std::max(tallest, b->sizeHint().height());
    }
    const int pitch = std::max(24, tallest + 4);
    const int titleRoom = std::max(32, group->fontMetrics().height() + 16);
    for (int k = 0; k < GraphChoiceCount; ++k) choiceButtons_[k]->setGeometry(16, titleRoom + pitch * k, widest + 4, tallest);
    const int groupWidth = std::max(185, 16 + widest + 4 + 8);
    const int groupHeight = std::max(241, titleRoom + pitch * GraphChoiceCount + 4);
    group->resize(groupWidth, groupHeight);
    goButton_->setGeometry(8 + groupWidth - 1, titleRoom + pitch * 4 - 10,
                           std::max(33, goButton_->sizeHint().width()), std::max(25, goButton_->sizeHint().height()));
    graphPanel_->resize(goButton_->geometry().right() + 6, groupHeight + 16);
    graphPanel_->hide();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    selectButton_ = Button(content, "GraphSelectButton", "Select graph", {0, 0, 91, 25});
    selectButton_->setEnabled(false);
    saveButton_ = Button(content, "SaveGraphButton", "Save graph", {0, 0, 83, 25});
    saveButton_->setEnabled(false);
    MakeGraphButton = Button(content, "MakeGraphButton", "Make graph", {0, 0, 83, 25});
    openButton_ = Button(content, "OpenGrapButton", "Open graph", {0, 0, 81, 25});
    // The period a graph is drawn per.
    periodCombo_ = new QComboBox(&content);
    periodCombo_->setObjectName(QStringLiteral("GraphPeriodCombo"));
    periodCombo_->addItems({QStringLiteral("Every time step"), QStringLiteral("Monthly"), QStringLiteral("Yearly")});
    buttonRow->addWidget(periodCombo_);
    // How a saved graph looks: as on the screen or for print, with or
    // without the footer line.
    styleCombo_ = new QComboBox(&content);
    styleCombo_->setObjectName(QStringLiteral("SaveStyleCombo"));
    styleCombo_->addItems({QStringLiteral("Screen style"), QStringLiteral("Print style")});
    styleCombo_->setToolTip(QStringLiteral("The look of the graph \"Save graph\" writes"));
    footerCheck_ = new QCheckBox(QStringLiteral("Footer"), &content);
    footerCheck_->setObjectName(QStringLiteral("SaveFooterCheck"));
    footerCheck_->setChecked(true);
    buttonRow->addWidget(styleCombo_);
    buttonRow->addWidget(footerCheck_);
    for (QWidget* w : std::initializer_list<QWidget*>{periodCombo_, styleCombo_, footerCheck_})
        w->setMinimumSize(w->sizeHint());
    for (QPushButton* b : {selectButton_, saveButton_, MakeGraphButton, openButton_}) {
        b->setMinimumSize(b->size().expandedTo(b->sizeHint()));
        buttonRow->addWidget(b);
    }
    layout->addLayout(buttonRow);
    // The choice panel stands over the picture area, wherever that is.
    content.installEventFilter(this);
    content.setMinimumSize(graphPanel_->width() + 48, graphPanel_->height() + 24 + 40);

    connect(goButton_, &QPushButton::clicked, this, &GraphsPage::GraphGoButtonClick);
    connect(selectButton_, &QPushButton::clicked, this, &GraphsPage::GraphSelectButtonClick);
    connect(saveButton_, &QPushButton::clicked, this, &GraphsPage::SaveGraphButtonClick);
    connect(openButton_, &QPushButton::clicked, this, &GraphsPage::OpenGrapButtonClick);
}

bool GraphsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) PlacePanel();
    return QObject::eventFilter(watched, event);
}

void GraphsPage::PlacePanel() {
    // Where the design puts it over a picture of the design's size, and
    // centred over a larger one; always inside the page.
    const QRect picture = GraphRect(graphImage_->geometry());
    const QWidget* content = graphPanel_->parentWidget();
    int x = picture.left() + (picture.width() - graphPanel_->width()) / 2;
    int y = picture.top() + std::max(0, (picture.height() - graphPanel_->height()) / 2);
    x = std::clamp(x, 0, std::max(0, content->width() - graphPanel_->width()));
    y = std::clamp(y, 0, std::max(0, content->height() - graphPanel_->height()));
    graphPanel_->move(x, y);
}

const QImage& GraphsPage::Picture() const { return graphImage_->Picture(); }

std::optional<GraphChoice> GraphsPage::SelectedChoice() const {
    const int id = choices_->checkedId();
    if (id < 0) return std::nullopt;
    return static_cast<GraphChoice>(id);
}

void GraphsPage::ClearChoice(QRadioButton* button) {
    button->setEnabled(false);
    if (!button->isChecked()) return;
    // An exclusive group keeps one button checked; let go of it for a moment.
    choices_->setExclusive(false);
    button->setChecked(false);
    choices_->setExclusive(true);
}

void GraphsPage::ShowSelection() {
    graphPanel_->show();
    graphImage_->hide();
    saveButton_->setEnabled(false);
    selectButton_->setEnabled(false);
}

void GraphsPage::ShowChoices(int layers) {
    ShowSelection();
    QRadioButton* second = choiceButtons_[static_cast<int>(GraphChoice::SalinitySecond)];
    QRadioButton* third = choiceButtons_[static_cast<int>(GraphChoice::SalinityThird)];
    second->setEnabled(true);
    third->setEnabled(true);
    if (layers <= 1) {
        ClearChoice(second);
        ClearChoice(third);
    } else if (layers == 2) {
        ClearChoice(third);
    }
}

void GraphsPage::OutputLoaded() {
    graphData_.reset();
    graphImage_->hide();
    graphPanel_->hide();
    selectButton_->setEnabled(false);
    saveButton_->setEnabled(false);
}

void GraphsPage::InputOpened() {
    saveButton_->setEnabled(false);
    selectButton_->setEnabled(false);
}

void GraphsPage::GraphGoButtonClick() {
    if (!state_.Loaded()) {
        // Nothing to draw from yet.
        dialogs_.Inform(&page_, QStringLiteral("To make a graph, an output file must be opened first."));
        return;
    }
    const std::optional<GraphChoice> choice = SelectedChoice();
    if (!choice) {
        dialogs_.Inform(&page_, QStringLiteral("Please select a graph type first."));
        return;
    }
    // Drawn from the output file as it is now.
    if (!ReloadOutputFile(state_, dialogs_, &page_)) return;
    if (!graphData_ || graphDataOf_ != state_.TextVersion || graphDataStop_ != state_.StopStep) {
        graphData_.reset();
        auto data = std::make_shared<GraphData>(GraphDataFrom(state_.Output, state_.ViewOrNull()));
        data->Series.StopStep = state_.StopStep;
        graphData_ = std::move(data);
        graphDataOf_ = state_.TextVersion;
        graphDataStop_ = state_.StopStep;
    }
    graphPanel_->hide();
    // Long runs of short steps can be drawn per month or per year.
    const auto period = static_cast<GraphPeriod>(std::max(periodCombo_->currentIndex(), 0));
    graphImage_->ShowGraph(period == GraphPeriod::Step ? graphData_
                                                       : std::make_shared<const GraphData>(Aggregated(*graphData_, period)),
                           *choice);
    graphImage_->show();
    // "Save graph" saves this graph of the loaded output file.
    saveButton_->setEnabled(true);
    selectButton_->setEnabled(true);
}

void GraphsPage::GraphSelectButtonClick() { ShowSelection(); }

void GraphsPage::SaveGraphButtonClick() {
    QString chosenFilter;
    const QString typed =
        dialogs_.SaveFileNameOfType(&page_, QStringLiteral("Save graph"), state_.DialogFolder, GraphSaveFilters(), chosenFilter);
    if (typed.isEmpty()) {
        dialogs_.Inform(&page_, QStringLiteral("The graph was not saved"));
        return;
    }
    const GraphSaveTarget file = GraphSaveTargetOf(typed, chosenFilter);
    const QString& name = file.name;
    const int scale = file.scale;
    if (QFileInfo::exists(name) && !dialogs_.Confirm(&page_, QStringLiteral("The graph already exists, overwrite?")))
        return;
    // Pictures at their size are saved as shown; larger pictures and drawings
    // are drawn again from the graph's data (a picture opened from a file is
    // enlarged or held in the drawing as it is). An existing file is replaced
    // only by a complete new one.
    // The print style and a graph without its footer are drawn again too.
    GraphLook look;
    look.style = styleCombo_->currentIndex() == 1 ? GraphStyle::Print : GraphStyle::Screen;
    look.footer = footerCheck_->isChecked();
    const bool redraw = graphImage_->HoldsGraph() && (scale != 1 || IsVectorFormat(file.format) ||
                                                      look.style != GraphStyle::Screen || !look.footer);
    const std::shared_ptr<const GraphData> data = redraw ? graphImage_->SharedData() : nullptr;
    const GraphChoice choice = redraw ? graphImage_->Choice() : GraphChoice::AllHydrology;
    const QImage picture = redraw ? QImage() : graphImage_->Picture();
    // The file is written off the window's thread; the window keeps
    // painting meanwhile, and the page waits for the file before it tells.
    saveButton_->setEnabled(false);
    bool saved = false;
    QEventLoop wait;
    std::thread writer([&] {
        saved = redraw ? WriteGraphFile(name, file.format, scale, *data, choice, look)
                       : !picture.isNull() && WritePictureFile(name, file.format, scale, picture);
        QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
    });
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    writer.join();
    saveButton_->setEnabled(graphImage_->HoldsGraph() || !graphImage_->Picture().isNull());
    if (saved)
        dialogs_.Inform(&page_, QStringLiteral("The graph was saved as  ") + name);
    else
        dialogs_.Inform(&page_, QStringLiteral("The graph could not be saved as  ") + name);
}

void GraphsPage::OpenGrapButtonClick() {
    const QString name = dialogs_.OpenFileName(&page_, QStringLiteral("Open graph"), state_.DialogFolder, OpenFilter);
    if (name.isEmpty()) {
        dialogs_.Inform(&page_, QStringLiteral("No graphics file was selected"));
        return;
    }
    if (!QFileInfo(name).isFile()) {
        dialogs_.Inform(&page_, QStringLiteral("Picture file does not exist, please select another one."));
        return;
    }
    QImageReader reader(name);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        dialogs_.Inform(&page_, QString::fromStdString(OpenFailureMessage(FileNameToStd(name),
                                                                          reader.errorString().toStdString())));
        return;
    }
    graphImage_->ShowPicture(picture);
    // The picture is shown even when the choice panel is up (it stays in
    // front). It is no graph of the loaded output file: "Save graph" waits
    // for the next one.
    graphImage_->show();
    saveButton_->setEnabled(false);
}

}  // namespace halovane
