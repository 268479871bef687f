// A run from "Save all - Run" goes on off the window's thread: the window
// answers meanwhile, the progress bar moves, the run's questions come in
// their order, and Cancel (or closing the window) stops the run without an
// output file and with the data set as it was.
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include "EngineSupport.h"
#include "InputFile.h"
#include "InputPageFixture.h"
#include "RunDriver.h"

namespace halovane::test {
namespace {

// Three layers in yearly steps, measured in every zone: the refinement and
// the seven searches take a while.
ModelInput LongDataSet(int steps) {
    ModelInput in = ThreeLayersMeasured(steps, 0.005);
    in.Title1 = "Long field";
    in.Title2 = "runs off the window";
    return in;
}

class RunWindowTest : public InputPageTest {
protected:
    void Open(int steps) {
        ModelInput in = LongDataSet(steps);
        in.InputFileName = dir.File("long-source.inp");
        ASSERT_EQ(WriteInputFile(in), "");
        dialogs.openNames = {QString::fromStdString(in.InputFileName)};
        Click(Button("OpenInpButton"));
        ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join("|").toStdString();
        QObject::connect(W<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged, form.get(), [this](int v) { positions << v; });
        saved = QString::fromStdString(dir.File("long.inp"));
        out = QString::fromStdString(dir.File("long.out"));
        dialogs.saveNames = {saved};
        dialogs.log.clear();
    }
    // Starts the run and returns as soon as the click has been handled.
    void StartRun() {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(Button("SaveAllButton"), Qt::LeftButton);
        clickMs = clock.elapsed();
    }

    // Takes the one message of the log that starts with `start` out of it:
    // the yearly steps' warning before the run and the warnings after it.
    bool TakeMessage(const QString& start) {
        for (int k = 0; k < dialogs.log.size(); ++k)
            if (dialogs.log[k].startsWith(start)) {
                dialogs.log.removeAt(k);
                return true;
            }
        return false;
    }

    QList<int> positions;
    QString saved, out;
    qint64 clickMs = 0;
};

const QString Calculate(const QString& saved) {
    return "confirm: The data were saved as " + saved + ". Do you wish to do the calculations?";
}

TEST_F(RunWindowTest, CancelStopsALongRunAndWritesNothing) {
    Open(150);
    ModelInput given = Doc()->Input;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    // During the searches the data set's controls are locked and Cancel is
    // offered; it is pressed there.
    bool lockedWhileRunning = false;
    dialogs.onConfirm = [&](const QString& question) {
        if (question != OptimisationQuestion) return;
        lockedWhileRunning = !Button("SaveAllButton")->isEnabled() && !Button("GenOpenButton")->isEnabled() &&
                             !Button("OpenInpButton")->isEnabled() && !Button("ReStartButton")->isEnabled() &&
                             !Panel("GenPanel")->isEnabled();
        QPushButton* cancel = Button("RunCancelButton");
        ASSERT_TRUE(cancel->isVisible() && cancel->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton);
    };
    dialogs.answers = {true, true, true};  // calculate, refine, optimise
    StartRun();
    EXPECT_TRUE(Button("RunCancelButton")->isVisible());  // still running after the click was handled
    WaitForRun();
    timer.stop();

    EXPECT_TRUE(lockedWhileRunning);
    EXPECT_GT(ticks, 3) << "the window did not answer during the run";
    EXPECT_LT(clickMs, 1000);
    EXPECT_EQ(positions.mid(0, 3), (QList<int>{1, 2, 3}));
    EXPECT_FALSE(positions.contains(4));  // the searches never ended
    EXPECT_TRUE(TakeMessage("inform: The data set has 1 warning."));
    EXPECT_EQ(dialogs.log, (QStringList{"inform: For saving please create an input data file", "save: input files (*.inp) .inp",
                                        Calculate(saved), QStringLiteral("confirm: ") + RefinementQuestion,
                                        QStringLiteral("confirm: ") + OptimisationQuestion,
                                        "inform: The calculations were cancelled. The output file was not written."}));
    EXPECT_FALSE(QFileInfo::exists(out));
    // The data set is the one opened, now saved under the new name.
    given.InputFileName = saved.toStdString();
    EXPECT_EQ(InputFileText(Doc()->Input), InputFileText(given));
    EXPECT_EQ(ReadFile(saved.toStdString()), InputFileText(given));
    EXPECT_EQ(Pages()->currentWidget(), Tab("InpTab"));
    EXPECT_FALSE(W<QProgressBar>("ProgressBar1")->isVisible());
    for (const char* name : {"SaveAllButton", "GenOpenButton", "OpenInpButton", "ReStartButton", "CondOpenButton"})
        EXPECT_TRUE(Button(name)->isEnabled()) << name;

    // The same data set then runs to the end as before.
    dialogs.onConfirm = nullptr;
    dialogs.saveNames = {saved};
    dialogs.answers = {true, true, false, false};  // overwrite, calculate, no refinement, no optimisation
    Click(Button("SaveAllButton"));
    EXPECT_EQ(LastMessage(), "The calculations were made. The output can be inspected.");
    EXPECT_TRUE(QFileInfo::exists(out));
}

TEST_F(RunWindowTest, QuestionsAndMessagesComeInTheirOrder) {
    Open(60);
    dialogs.answers = {true, true, true};
    StartRun();
    WaitForRun();
    EXPECT_TRUE(TakeMessage("inform: The data set has 1 warning."));
    EXPECT_TRUE(TakeMessage("inform: The results are not physical everywhere:\n\n"));
    EXPECT_EQ(dialogs.log, (QStringList{"inform: For saving please create an input data file", "save: input files (*.inp) .inp",
                                        Calculate(saved), QStringLiteral("confirm: ") + RefinementQuestion,
                                        QStringLiteral("confirm: ") + OptimisationQuestion,
                                        "inform: The calculations were made. The output can be inspected."}));
    EXPECT_EQ(positions, (QList<int>{1, 2, 3, 4, 6, 8, 9}));
    EXPECT_EQ(Pages()->currentWidget(), Tab("OutTab"));
    EXPECT_TRUE(Doc()->State.RefinementChosen);
    EXPECT_TRUE(Doc()->State.Fit[0].LeOptimized);
    // The run off the window's thread gives what the engine gives on the
    // same data set on this thread.
    ModelInput again = Doc()->Input;
    again.InputFileName = dir.File("engine.inp");
    ModelState state;
    ScriptedInteraction ui(true, true);
    ASSERT_EQ(RunModel(again, state, ui).status, RunStatus::Completed);
    EXPECT_EQ(ui.questions, (std::vector<std::string>{RefinementQuestion, OptimisationQuestion}));
    EXPECT_EQ(Doc()->State.QH1w, state.QH1w);
    // Apart from the line that names the file.
    auto body = [](const std::string& text) { return text.substr(text.find('\n', text.find("Name of this file"))); };
    EXPECT_EQ(body(ReadFile(out.toStdString())), body(ReadFile(dir.File("engine.out"))));
}

TEST_F(RunWindowTest, ClosingDuringARunStopsItAndThenCloses) {
    Open(150);
    QWidget closing;
    form->SetCompanionWindows(&closing, nullptr);
    dialogs.onConfirm = [&](const QString& question) {
        if (question == RefinementQuestion) form->close();
    };
    dialogs.answers = {true, true, true};
    StartRun();
    WaitForRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closing.isVisible(); }, 5000));
    EXPECT_TRUE(form->isVisible());  // the closing window decides
    EXPECT_FALSE(dialogs.log.contains(QStringLiteral("confirm: ") + OptimisationQuestion));
    EXPECT_EQ(LastMessage(), "The calculations were cancelled. The output file was not written.");
    EXPECT_FALSE(QFileInfo::exists(out));
}

}  // namespace
}  // namespace halovane::test
