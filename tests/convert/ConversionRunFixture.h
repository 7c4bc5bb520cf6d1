#pragma once
// A conversion run without a window: a host that records what the run shows, and a fixture
// that gives every test its own temporary folder and fallback folders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/HandlerSteps.h"
#include "convert/ConversionHost.h"
#include "convert/ConversionRun.h"
#include "convert/StagingText.h"
#include "tests/convert/RecordingProgress.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"
#include "util/ErrorReport.h"

namespace quillane::test {

class FakeHost : public ConversionHost {
  public:
    int EntryCount() override { return int(entries.size()); }
    std::string EntryText(int index) override { return entries.at(std::size_t(index - 1)); }
    OutputChoice OutputOptions() override { return options; }
    ProgressDisplay& Progress() override { return bar; }
    void SetMousePointer(PointerStyle style) override { pointers.push_back(style); }
    void Yield() override {
        ++yields;
        if (onYield) {
            onYield();
        }
    }
    DialogHost& Dialogs() override { return dialogs; }
    StagingText& Staging() override { return staging; }
    std::string Payload(int id) override { return payloads.at(id); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : dialogs.messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    std::vector<std::string> entries;
    OutputChoice options{false, true, ""};
    RecordingProgress bar;
    std::vector<PointerStyle> pointers;
    int yields = 0;
    std::function<void()> onYield;
    ScriptedDialogHost dialogs;
    StagingText staging;
    std::map<int, std::string> payloads;
};

// Each test gets its own TEMP and fallback folders, so what a run leaves behind can be seen.
class ConversionRunFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"TEMP", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"}) {
            const char* old = std::getenv(name);
            oldEnvironment_.emplace_back(name,
                                         old ? std::optional<std::string>(old) : std::nullopt);
        }
        setenv("TEMP", temp.path().c_str(), 1);
        // The folders a run falls back to are the test's own.
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        setenv("XDG_CACHE_HOME", (cache / "cache").c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : oldEnvironment_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    // A press of "Start Converting": the run, its failures reported as the window reports
    // them, then how it ended.
    void Run() {
        ConversionRun run(host);
        StepScope scope(host.dialogs, steps::conversion::kLocation);
        scope.Report(run.Start(inProgress).failures, steps::conversion::Number);
        scope.Report(run.Tell().failures, steps::conversion::Number);
        runFolder = run.runFolder();
        report = run.report();
    }

    bool TempIsEmpty() const { return std::filesystem::is_empty(temp.path()); }

    TempDir temp;
    TempDir runtime;
    TempDir cache;
    TempDir books;
    FakeHost host;
    bool inProgress = false;
    std::string runFolder;
    RunReport report;

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> oldEnvironment_;
};

}  // namespace quillane::test
