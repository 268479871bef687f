// The engine's only way to talk to the user: the window, the headless runner
// and the tests each supply their own.
#pragma once

#include <atomic>
#include <string>

namespace halovane {

class UserInteraction {
public:
    virtual ~UserInteraction() = default;
    // A confirmation with the buttons Yes and No; true only for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
    virtual void ShowMessage(const std::string& message) = 0;
    // Position of the progress indicator, 0 to 10.
    virtual void SetProgress(int position) = 0;
    // The flag the user sets to stop the run (nullptr: the run cannot be
    // stopped). The run looks at it between steps, trials and searches and
    // then ends without writing anything; it may be read from any thread.
    virtual const std::atomic<bool>* CancelFlag() const { return nullptr; }
};

}  // namespace halovane
