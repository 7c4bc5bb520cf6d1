#pragma once
// What a core function of long work hands back to the window's handler that called it: whether
// it ran to its end or stopped because the window is closing, and the failures it met, each
// named by the step of its own work at which it happened. The handler gives each step its
// number and reports; the core function shows nothing itself and knows no step numbers.

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace quillane {

enum class OutcomeStatus {
    // Ran to its end; any failures are listed.
    Completed,
    // Stopped at a yield because the window is closing; what was done so far is incomplete.
    Stopped,
};

// A failure met at `step`, which names a piece of the work (an enumeration of the core
// function's steps) or, once the handler has numbered it, the number the report shows.
template <class Step>
struct Failure {
    Step step{};
    std::string description;
};

// A failure as the error report shows it: at its numbered step.
using StepFailure = Failure<int>;

template <class Step>
struct Outcome {
    OutcomeStatus status = OutcomeStatus::Completed;
    std::vector<Failure<Step>> failures;

    bool Stopped() const { return status == OutcomeStatus::Stopped; }
};

// Lets the window repaint and react while long work runs. Answers whether the work is to go on:
// false once the window is closing, and the work then stops at this yield.
using YieldFunction = std::function<bool()>;

// The description of whatever a step threw.
std::string DescribeFailure(std::exception_ptr failure);

// The failure that `failure` (a caught exception) amounts to at `step`.
template <class Step>
Failure<Step> FailureAt(Step step, std::exception_ptr failure) {
    return {step, DescribeFailure(failure)};
}

// Runs `body` as `step` of the work behind `outcome`. A failure is noted there and the work goes
// on with its next step, as the report and continuation of a numbered step would have it.
// Answers whether the step completed.
template <class Step, class Body>
bool Attempt(Outcome<Step>& outcome, Step step, Body&& body) {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        outcome.failures.push_back(FailureAt(step, std::current_exception()));
        return false;
    }
}

// The test of a conditional as `step`. When evaluating it fails, the failure is noted and the
// answer is true: the work goes on into the conditional's body.
template <class Step, class Test>
bool AttemptTest(Outcome<Step>& outcome, Step step, Test&& test) {
    try {
        return static_cast<bool>(std::forward<Test>(test)());
    } catch (...) {
        outcome.failures.push_back(FailureAt(step, std::current_exception()));
        return true;
    }
}

}  // namespace quillane
