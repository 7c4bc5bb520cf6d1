#include "convert/ProcessRunner.h"

#include <gtest/gtest.h>
#include <QProgressBar>
#include <QTimer>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "convert/ProgressBarDisplay.h"
#include "tests/convert/RecordingProgress.h"
#include "tests/support/TempHome.h"
#include "util/AppError.h"

namespace quillane {
namespace {

using test::RecordingProgress;
using test::TempDir;

RunOutcome RunQuietly(const std::string& program, const std::vector<std::string>& arguments,
                      WaitSettings wait = {}) {
    WaitFeedback quiet(wait);
    return RunAndWait({program, arguments, "", 0}, quiet);
}

RunOutcome Shell(const std::string& script, WaitSettings wait = {}) {
    return RunQuietly("/bin/sh", {"-c", script}, wait);
}

TEST(RunAndWait, ReturnsTheExitCodeAndTheStandardError) {
    const RunOutcome outcome = Shell("echo 'ZOD2UVOV: cannot read' >&2; echo out; exit 7");
    EXPECT_TRUE(outcome.started);
    EXPECT_EQ(outcome.result, 7);
    EXPECT_EQ(outcome.standardError, "ZOD2UVOV: cannot read\n");
    EXPECT_EQ(Shell("true").result, 0);
    EXPECT_EQ(Shell("kill -SEGV $$").result, kCrashedResult);
}

TEST(RunAndWait, AProgramThatCannotStartGivesTheStartErrorAndLeavesTheBar) {
    TempDir dir;
    RecordingProgress bar;
    bar.text = "Processing: a.txt";
    ProgressFeedback feedback(bar, bar.text, 50, 2, WaitSettings{1});
    const RunOutcome missing = RunAndWait({dir / "nothing.exe", {}, "", 0}, feedback);
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.result, kStartErrorBase + errc::kFileNotFound);
    EXPECT_LT(missing.result, 0);
    EXPECT_TRUE(bar.texts.empty());
    EXPECT_TRUE(bar.values.empty());

    test::WriteFile(dir / "plain.exe", "#!/bin/sh\n");  // not executable
    EXPECT_EQ(RunQuietly(dir / "plain.exe", {}).result, kStartErrorBase + errc::kPermissionDenied);
}

TEST(RunAndWait, ArgumentsTravelAsTheyAreWithoutAShell) {
    TempDir dir;
    const std::vector<std::string> tricky = {"a b.txt", "it's \"quoted\".epub", "$(touch x); y", "",
                                             "*"};
    std::vector<std::string> args = {"-c", "printf '%s|' \"$@\" > \"$0\"", dir / "seen"};
    args.insert(args.end(), tricky.begin(), tricky.end());
    ASSERT_EQ(RunQuietly("/bin/sh", args).result, 0);
    EXPECT_EQ(test::ReadFile(dir / "seen"), "a b.txt|it's \"quoted\".epub|$(touch x); y||*|");
    EXPECT_FALSE(std::filesystem::exists("x"));
}

TEST(RunAndWait, TheWaitEndsWhenTheProcessEndsNotAtTheNextTick) {
    // With a tick of a minute, waiting for a tick would count one.
    const RunOutcome outcome = Shell("exit 3", WaitSettings{60000});
    EXPECT_EQ(outcome.result, 3);
    EXPECT_EQ(outcome.ticks, 0);
}

TEST(RunAndWait, TheWindowStaysLiveAndTheBarCountsOnWhileWaiting) {
    RecordingProgress bar;
    bar.text = "Processing: a.txt";
    bool eventRan = false;
    QTimer::singleShot(0, [&] { eventRan = true; });
    // Ticks of 2 ms: the half-second wait passes the 50 ticks after which the text counts.
    ProgressFeedback feedback(bar, bar.text, 100, 1, WaitSettings{2});
    const RunOutcome outcome = RunAndWait({"/bin/sh", {"-c", "sleep 0.5"}, "", 0}, feedback);
    EXPECT_TRUE(eventRan);
    ASSERT_GE(outcome.ticks, 50);
    ASSERT_GE(bar.texts.size(), 2u);
    EXPECT_EQ(bar.texts.front(), "Processing: a.txt, Please wait.. 0");
    EXPECT_EQ(bar.texts.back(), "Processing: a.txt");  // restored at the end
    ASSERT_FALSE(bar.values.empty());
    EXPECT_EQ(bar.values.front(), 100);
}

TEST(RunAndWait, WindowStyleRuleIsApplied) {
    WaitFeedback quiet;
    EXPECT_EQ(RunAndWait({"/bin/true", {}, "", 7}, quiet).windowStyle, 6);
    EXPECT_EQ(RunAndWait({"/bin/true", {}, "", std::nullopt}, quiet).windowStyle, 6);
    EXPECT_EQ(RunAndWait({"/bin/true", {}, "", 0}, quiet).windowStyle, 0);
}

// Guards against paths passing through text conversions on their way to the program: a name
// that is not UTF-8 must arrive byte for byte.
TEST(RunAndWait, ProgramAndArgumentsArriveAsTheirExactBytes) {
    TempDir dir;
    const std::string latin1Folder = dir / "caf\xE9 dossier";
    std::filesystem::create_directory(latin1Folder);
    const std::string program = latin1Folder + "/echo \xFF.sh";
    test::WriteFile(program, "#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" > \"$1\"\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::string seen = latin1Folder + "/seen \xE9";
    ASSERT_EQ(RunQuietly(program, {seen, "caf\xE9 notes.txt", "\x80\xC3("}).result, 0);
    EXPECT_EQ(test::ReadFile(seen), program + "|" + seen + "|caf\xE9 notes.txt|\x80\xC3(|");
}

TEST(RunAndWait, TheProgramStartsInTheNamedFolderWithoutLoaderVariables) {
    TempDir dir;
    const std::string folder = dir / "run \xE9";
    std::filesystem::create_directory(folder);
    setenv("LD_LIBRARY_PATH", ":/nowhere", 1);
    setenv("LD_PRELOAD", "/nowhere/planted.so", 1);
    setenv("GCONV_PATH", "/nowhere", 1);
    setenv("QUILLANE_KEPT", "kept", 1);
    WaitFeedback quiet;
    const RunOutcome outcome =
        RunAndWait({"/bin/sh", {"-c", "pwd > where; env > environment"}, folder, 0}, quiet);
    unsetenv("LD_LIBRARY_PATH");
    unsetenv("LD_PRELOAD");
    unsetenv("GCONV_PATH");
    unsetenv("QUILLANE_KEPT");
    ASSERT_EQ(outcome.result, 0);
    EXPECT_EQ(test::ReadFile(folder + "/where"), folder + "\n");
    const std::string environment = test::ReadFile(folder + "/environment");
    EXPECT_EQ(environment.find("LD_"), std::string::npos) << environment;
    EXPECT_EQ(environment.find("GCONV_PATH"), std::string::npos);
    EXPECT_NE(environment.find("QUILLANE_KEPT=kept"), std::string::npos);
    EXPECT_EQ(ProgramEnvironment({"LD_AUDIT=x", "PATH=/bin", "OLD_LD_X=1", "GCONV_PATH=/g"}),
              (std::vector<std::string>{"PATH=/bin", "OLD_LD_X=1"}));
}

// Asks for a stop after `afterTicks` ticks, and only once `readyFile` exists (when given), so a
// loaded machine cannot send the request before the program has set up its handler.
class StoppingFeedback : public WaitFeedback {
  public:
    explicit StoppingFeedback(int afterTicks, std::string readyFile = {})
        : WaitFeedback(WaitSettings{5}), after_(afterTicks), readyFile_(std::move(readyFile)) {}
    bool StopRequested() override {
        return ++asked_ > after_ && (readyFile_.empty() || ::access(readyFile_.c_str(), F_OK) == 0);
    }
    void Ended() override { ++ended; }
    int ended = 0;

  private:
    int after_;
    std::string readyFile_;
    int asked_ = 0;
};

TEST(RunAndWait, AStopRequestEndsTheProgramPolitelyThenForcibly) {
    TempDir dir;
    const std::string ready = dir.path() + "/ready";
    StoppingFeedback polite(2, ready);
    const RunOutcome stopped = RunAndWait({"/bin/sh",
                                           {"-c",
                                            "trap 'echo stopping >&2; exit 5' TERM; : > \"$0\"; "
                                            "while :; do sleep 0.01; done",
                                            ready},
                                           "",
                                           0},
                                          polite);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.result, 5);
    EXPECT_EQ(stopped.standardError, "stopping\n");
    EXPECT_EQ(polite.ended, 1);

    // The bar's feedback asks whoever wants to stop the run, and puts its text back.
    RecordingProgress bar;
    bar.text = "Processing: a.txt";
    ProgressFeedback feedback(bar, bar.text, 0, 1, WaitSettings{5});
    int asked = 0;
    feedback.SetStopRequest([&] { return ++asked > 3; });
    const RunOutcome fromTheBar =
        RunAndWait({"/bin/sh", {"-c", "while :; do sleep 0.01; done"}, "", 0}, feedback);
    EXPECT_TRUE(fromTheBar.stopped);
    EXPECT_EQ(fromTheBar.result, kCrashedResult);  // ended by SIGTERM
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(bar.text, "Processing: a.txt");

    // One that ignores the request is killed after the grace period.
    StoppingFeedback deaf(0);
    const RunOutcome killed =
        RunAndWait({"/bin/sh", {"-c", "trap '' TERM; while :; do sleep 0.01; done"}, "", 0}, deaf);
    EXPECT_TRUE(killed.stopped);
    EXPECT_EQ(killed.result, kCrashedResult);
}

TEST(ProgressBarDisplay, KeepsValuesPastTheMaximumAndShowsTextVerbatim) {
    QProgressBar widget;
    widget.setRange(0, 100);
    widget.setFormat("Progress Bar");
    ProgressBarDisplay bar(widget);
    EXPECT_EQ(bar.Text(), "Progress Bar");
    bar.SetValue(190);
    EXPECT_EQ(bar.Value(), 190);
    EXPECT_EQ(widget.value(), 100);
    bar.SetValue(33.5);
    EXPECT_EQ(bar.Value(), 33.5);
    EXPECT_EQ(widget.value(), 34);
    bar.SetText("Processing: 100%p %v.txt");
    // Shown as written: the placeholders are not expanded.
    EXPECT_EQ(widget.text().remove(QChar(0x2060)), "Processing: 100%p %v.txt");
    EXPECT_EQ(bar.Text(), "Processing: 100%p %v.txt");
    EXPECT_EQ(ProgressBarDisplay(widget).Text(), "Processing: 100%p %v.txt");
}

}  // namespace
}  // namespace quillane
