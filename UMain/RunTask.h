// A model run off the window's thread. The run works on its own copy of the
// data set; its questions and messages are shown on the window's thread,
// one at a time and in the order the run makes them, while the run waits for
// the answer. The progress positions reach the window as they come, and the
// run pauses after each one so that it can be seen. Cancel stops the run at
// its next safe point; it then writes nothing.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ModelInput.h"
#include "ModelState.h"
#include "RunDriver.h"
#include "SearchProfile.h"

namespace halovane {

class RunTask : public QObject {
    Q_OBJECT
public:
    // What the run leaves: its outcome and, when the output file was
    // written, the results.
    struct Result {
        RunOutcome outcome;
        ModelState state;
        std::vector<SearchProfile> profiles;
    };
    // Shown on the window's thread: a question (true for Yes) and a message.
    using Ask = std::function<bool(const std::string&)>;
    using Inform = std::function<void(const std::string&)>;

    // `pause`: the progress bar is shown, so each position is held 100 ms.
    RunTask(ModelInput input, Ask ask, Inform inform, bool pause, QObject* parent = nullptr);
    // Stops a run still going and waits for it.
    ~RunTask() override;

    void Start();
    // Asks the run to stop; it ends soon after with RunStatus::Cancelled.
    void Cancel();
    // Waits until the run has ended (after Cancel, at once). Finished still
    // follows through the event loop.
    void Wait();
    // The run's result, once Finished was emitted (or Wait returned).
    Result TakeResult() { return std::move(result_); }

signals:
    void Progress(int position);
    void Finished();

private:
    class Interaction;
    void Run();
    // Runs `show` on the window's thread and waits for it; false without
    // waiting when the run was cancelled meanwhile.
    bool OnWindowThread(const std::function<bool()>& show);

    ModelInput input_;
    Ask ask_;
    Inform inform_;
    bool pause_;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
    Result result_;
};

}  // namespace halovane
