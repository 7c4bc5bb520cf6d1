#pragma once
// Starts a program with its arguments (no shell is involved, so no path can split or inject
// arguments) and waits for it to end while the window stays live: a local event loop runs,
// 100 ms ticks animate the progress bar, and the wait ends the moment the process finishes.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillane {

class ProgressDisplay;

// Added to the start error's number when the program cannot be started.
inline constexpr int kStartErrorBase = -2147221504;
// The result of a program that died from a signal instead of exiting.
inline constexpr int kCrashedResult = -1;

struct RunOutcome {
    // The exit code; kCrashedResult for a crash; or, when the program could not be started,
    // kStartErrorBase plus 53 (no such program), 70 (not allowed to run it) or 57 (other).
    int result = 0;
    bool started = false;
    // What the program wrote on its standard error.
    std::string standardError;
    // Animation ticks counted during the wait.
    int ticks = 0;
    // The window style in effect (it has no meaning to the Linux launcher).
    int windowStyle = 6;
};

struct WaitSettings {
    int tickMilliseconds = 100;
};

// --- stop hook: `requested` is asked at every tick; when it answers true, or when the wait's
// event loop is ended from outside (the application quitting), a program still running is
// stopped: SIGTERM, then SIGKILL when it has not ended after the grace period.
struct StopHook {
    std::function<bool()> requested;
    int graceMilliseconds = 500;
};

// `bar` may be null (no animation); `savedText` and `startValue` are the bar's text and value
// when the wait began, `count` the number of files of the run.
RunOutcome RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                      std::optional<int> windowStyle, ProgressDisplay* bar,
                      const std::string& savedText, int startValue, int count,
                      const WaitSettings& settings = {}, const StopHook& stop = {});

}  // namespace quillane
