#include "RunTask.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <memory>

#include <QMetaObject>

namespace halovane {

class RunTask::Interaction : public UserInteraction {
public:
    explicit Interaction(RunTask& task) : task_(task) {}
    bool AskYesNo(const std::string& question) override {
        bool answer = false;
        task_.OnWindowThread([&] { return answer = task_.ask_(question); });
        return answer;  // No when the run was cancelled before the question was shown
    }
    void ShowMessage(const std::string& message) override {
        task_.OnWindowThread([&] {
            task_.inform_(message);
            return true;
        });
    }
    void SetProgress(int position) override {
        emit task_.Progress(position);
        if (task_.pause_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::atomic<bool>* CancelFlag() const override { return &task_.cancel_; }

private:
    RunTask& task_;
};

RunTask::RunTask(ModelInput input, Ask ask, Inform inform, bool pause, QObject* parent)
    : QObject(parent), input_(std::move(input)), ask_(std::move(ask)), inform_(std::move(inform)), pause_(pause) {}

RunTask::~RunTask() {
    Cancel();
    Wait();
}

void RunTask::Start() {
    if (thread_.joinable()) return;
    thread_ = std::thread([this] { Run(); });
}

void RunTask::Cancel() { cancel_ = true; }

void RunTask::Wait() {
    if (thread_.joinable()) thread_.join();
}

void RunTask::Run() {
    if (pause_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Interaction interaction(*this);
    ModelState state;
    result_.outcome = RunModel(input_, state, interaction, RunFiles{false, true, true}, &result_.profiles);
    if (result_.outcome.status == RunStatus::Completed || result_.outcome.status == RunStatus::Stopped)
        result_.state = std::move(state);
    // Reaches the window after every question, message and progress
    // position of the run; dropped when the task is gone.
    QMetaObject::invokeMethod(
        this,
        [this] {
            Wait();
            emit Finished();
        },
        Qt::QueuedConnection);
}

bool RunTask::OnWindowThread(const std::function<bool()>& show) {
    // A box that was already shown is waited for even after a Cancel, as
    // `show` refers to the caller's values; one not yet shown never will be.
    struct Call {
        std::mutex lock;
        std::condition_variable changed;
        bool started = false, finished = false, abandoned = false;
    };
    auto call = std::make_shared<Call>();
    QMetaObject::invokeMethod(
        this,
        [call, &show] {
            {
                std::lock_guard<std::mutex> hold(call->lock);
                if (call->abandoned) return;
                call->started = true;
            }
            show();
            std::lock_guard<std::mutex> hold(call->lock);
            call->finished = true;
            call->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> hold(call->lock);
    while (!call->finished) {
        if (cancel_ && !call->started) {
            call->abandoned = true;
            return false;
        }
        call->changed.wait_for(hold, std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace halovane
