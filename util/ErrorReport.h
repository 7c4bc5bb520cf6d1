#pragma once
// The "Application Error" report and the numbered-step mechanism that shows it.
//
// A working procedure runs its statements as numbered steps inside one StepScope. A step that
// fails shows the report naming the procedure's location text and the step number; after the
// user closes it, the procedure goes on with its next step.

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "util/Outcome.h"

namespace quillane {

class DialogHost;

inline constexpr const char* kSupportAddress = "support@kelvardy.example";
inline constexpr const char* kErrorReportTitle = "Application Error";

// description, CR LF, location text, "at line ", number, CR CR, the e-mail request.
std::string ErrorReportText(const std::string& description, const std::string& location, int step);

class StepScope {
  public:
    StepScope(DialogHost& host, std::string location)
        : host_(host), location_(std::move(location)) {}

    // Runs `body` as step `number`. Returns true when it completed; on a failure the report is
    // shown and false is returned, so the caller carries on with its next step.
    template <class Body>
    bool Step(int number, Body&& body) {
        step_ = number;
        try {
            std::forward<Body>(body)();
            return true;
        } catch (...) {
            Report(std::current_exception());
            return false;
        }
    }

    // The test of a conditional. When evaluating the test fails, the report is shown and the
    // answer is true: execution goes on into the conditional's body.
    template <class Test>
    bool If(int number, Test&& test) {
        step_ = number;
        try {
            return static_cast<bool>(std::forward<Test>(test)());
        } catch (...) {
            Report(std::current_exception());
            return true;
        }
    }

    // Shows the report for `failure` at the step most recently entered.
    void Report(std::exception_ptr failure);

    // Shows the report for a failure that a core function handed back, at its own step.
    void Report(const StepFailure& failure);
    void Report(const std::vector<StepFailure>& failures);

    // Shows the reports for failures that a core function handed back named by its own steps,
    // in order, each at the number `numberOf` gives its step.
    template <class Step, class Numbering>
    void Report(const std::vector<Failure<Step>>& failures, Numbering&& numberOf) {
        for (const Failure<Step>& failure : failures) {
            Report(StepFailure{numberOf(failure.step), failure.description});
        }
    }

    int lastStep() const { return step_; }
    int reportCount() const { return reports_; }
    const std::string& location() const { return location_; }

  private:
    DialogHost& host_;
    std::string location_;
    int step_ = 0;
    int reports_ = 0;
};

}  // namespace quillane
