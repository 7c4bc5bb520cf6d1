#pragma once
// What a core function of long work hands back to the window's handler that called it: whether
// it ran to its end or stopped because the window is closing, and the failures it met, each
// with the step at which the handler reports it. The handler turns them into its numbered
// steps; the core function shows nothing itself.

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace quillane {

enum class OutcomeStatus {
    // Ran to its end; any failures are listed.
    Completed,
    // Stopped at a yield because the window is closing; what was done so far is incomplete.
    Stopped,
};

struct StepFailure {
    int step = 0;
    std::string description;
};

struct Outcome {
    OutcomeStatus status = OutcomeStatus::Completed;
    std::vector<StepFailure> failures;

    bool Stopped() const { return status == OutcomeStatus::Stopped; }
};

// Lets the window repaint and react while long work runs. Answers whether the work is to go on:
// false once the window is closing, and the work then stops at this yield.
using YieldFunction = std::function<bool()>;

// The failure that `failure` (a caught exception) amounts to at `step`.
StepFailure FailureAt(int step, std::exception_ptr failure);

}  // namespace quillane
