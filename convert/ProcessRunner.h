#pragma once
// Starts a program with its arguments and waits for it to end while the window stays live: a
// local event loop runs, ticks drive the feedback (the progress bar's animation), and the wait
// ends the moment the process finishes.
//
// The program gets exactly what it is given: no shell is involved, and the program path and
// every argument travel as the bytes they are, whatever their encoding. It starts in the
// folder the command names, with our environment less the variables that make the dynamic
// loader take code from elsewhere, so it runs only what was shipped with it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "convert/WaitAnimation.h"

namespace quillane {

class ProgressDisplay;

// Added to the start error's number when the program cannot be started.
inline constexpr int kStartErrorBase = -2147221504;
// The result of a program that died from a signal instead of exiting.
inline constexpr int kCrashedResult = -1;
// How long a program asked to stop (SIGTERM) has before it is killed (SIGKILL): short, so a
// window closed mid-run ends within a second.
inline constexpr int kStopGraceMilliseconds = 500;

struct Command {
    std::string program;
    std::vector<std::string> arguments;
    // The folder the program starts in; empty keeps ours.
    std::string workingFolder;
    // Has no meaning to the Linux launcher; kept for the outcome.
    std::optional<int> windowStyle;
};

struct RunOutcome {
    // The exit code; kCrashedResult for a crash; or, when the program could not be started,
    // kStartErrorBase plus 53 (no such program), 70 (not allowed to run it) or 57 (other).
    int result = 0;
    bool started = false;
    // The program was asked to stop by the feedback.
    bool stopped = false;
    // What the program wrote on its standard error (the first 64 KiB).
    std::string standardError;
    // Ticks counted during the wait.
    int ticks = 0;
    // The window style in effect.
    int windowStyle = 6;
};

struct WaitSettings {
    int tickMilliseconds = 100;
};

// What the wait shows and asks while the program runs. The plain object shows nothing.
class WaitFeedback {
  public:
    explicit WaitFeedback(WaitSettings settings = {}) : settings_(settings) {}
    virtual ~WaitFeedback() = default;

    int tickMilliseconds() const { return settings_.tickMilliseconds; }
    // After every tick while the program runs; `tick` counts from 1.
    virtual void Tick(int tick);
    // Once, when the program has ended (never when it could not be started).
    virtual void Ended();
    // Asked at every tick: true stops the program (SIGTERM, and SIGKILL when it has not ended
    // kStopGraceMilliseconds later).
    virtual bool StopRequested();

  private:
    WaitSettings settings_;
};

// The progress bar's animation while the converter works (see WaitAnimation).
class ProgressFeedback : public WaitFeedback {
  public:
    // `savedText` and `startValue` are the bar's text and value when the wait begins, `count`
    // the number of files of the run.
    ProgressFeedback(ProgressDisplay& bar, std::string savedText, int startValue, int count,
                     WaitSettings settings = {});
    void Tick(int tick) override;
    void Ended() override;
    // Asked at every tick whether the user wants the program stopped (the window closing).
    void SetStopRequest(std::function<bool()> stopRequested) {
        stopRequested_ = std::move(stopRequested);
    }
    bool StopRequested() override { return stopRequested_ && stopRequested_(); }

  private:
    ProgressDisplay& bar_;
    WaitAnimation animation_;
    std::function<bool()> stopRequested_;
};

RunOutcome RunAndWait(const Command& command, WaitFeedback& feedback);

// `environment` (NAME=value entries) without LD_* and GCONV_PATH, which would let a library
// from anywhere run inside the started program.
std::vector<std::string> ProgramEnvironment(const std::vector<std::string>& environment);

}  // namespace quillane
