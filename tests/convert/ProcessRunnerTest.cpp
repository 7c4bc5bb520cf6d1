#include "convert/ProcessRunner.h"

#include <gtest/gtest.h>
#include <QProgressBar>
#include <QTimer>

#include <filesystem>

#include "convert/ProgressBarDisplay.h"
#include "tests/convert/RecordingProgress.h"
#include "tests/support/TempHome.h"
#include "util/AppError.h"

namespace quillane {
namespace {

using test::RecordingProgress;
using test::TempDir;

RunOutcome Shell(const std::string& script, ProgressDisplay* bar = nullptr,
                 WaitSettings wait = {}) {
    return RunAndWait("/bin/sh", {"-c", script}, 0, bar, bar ? bar->Text() : "", 0, 1, wait);
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
    const RunOutcome missing =
        RunAndWait(dir / "nothing.exe", {}, 0, &bar, bar.text, 50, 2, WaitSettings{1});
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.result, kStartErrorBase + errc::kFileNotFound);
    EXPECT_LT(missing.result, 0);
    EXPECT_TRUE(bar.texts.empty());
    EXPECT_TRUE(bar.values.empty());

    test::WriteFile(dir / "plain.exe", "#!/bin/sh\n");  // not executable
    EXPECT_EQ(RunAndWait(dir / "plain.exe", {}, 0, nullptr, "", 0, 1).result,
              kStartErrorBase + errc::kPermissionDenied);
}

TEST(RunAndWait, ArgumentsTravelAsTheyAreWithoutAShell) {
    TempDir dir;
    const std::vector<std::string> tricky = {"a b.txt", "it's \"quoted\".epub", "$(touch x); y", "",
                                             "*"};
    std::vector<std::string> args = {"-c", "printf '%s|' \"$@\" > \"$0\"", dir / "seen"};
    args.insert(args.end(), tricky.begin(), tricky.end());
    ASSERT_EQ(RunAndWait("/bin/sh", args, 0, nullptr, "", 0, 1).result, 0);
    EXPECT_EQ(test::ReadFile(dir / "seen"), "a b.txt|it's \"quoted\".epub|$(touch x); y||*|");
    EXPECT_FALSE(std::filesystem::exists("x"));
}

TEST(RunAndWait, TheWaitEndsWhenTheProcessEndsNotAtTheNextTick) {
    // With a tick of a minute, waiting for a tick would count one.
    const RunOutcome outcome = Shell("exit 3", nullptr, WaitSettings{60000});
    EXPECT_EQ(outcome.result, 3);
    EXPECT_EQ(outcome.ticks, 0);
}

TEST(RunAndWait, TheWindowStaysLiveAndTheBarCountsOnWhileWaiting) {
    RecordingProgress bar;
    bar.text = "Processing: a.txt";
    bool eventRan = false;
    QTimer::singleShot(0, [&] { eventRan = true; });
    // Ticks of 2 ms: the half-second wait passes the 50 ticks after which the text counts.
    const RunOutcome outcome =
        RunAndWait("/bin/sh", {"-c", "sleep 0.5"}, 0, &bar, bar.text, 100, 1, WaitSettings{2});
    EXPECT_TRUE(eventRan);
    ASSERT_GE(outcome.ticks, 50);
    ASSERT_GE(bar.texts.size(), 2u);
    EXPECT_EQ(bar.texts.front(), "Processing: a.txt, Please wait.. 0");
    EXPECT_EQ(bar.texts.back(), "Processing: a.txt");  // restored at the end
    ASSERT_FALSE(bar.values.empty());
    EXPECT_EQ(bar.values.front(), 100);
}

TEST(RunAndWait, WindowStyleRuleIsApplied) {
    EXPECT_EQ(RunAndWait("/bin/true", {}, 7, nullptr, "", 0, 1).windowStyle, 6);
    EXPECT_EQ(RunAndWait("/bin/true", {}, std::nullopt, nullptr, "", 0, 1).windowStyle, 6);
    EXPECT_EQ(RunAndWait("/bin/true", {}, 0, nullptr, "", 0, 1).windowStyle, 0);
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
