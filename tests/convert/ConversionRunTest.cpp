#include "convert/ConversionRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "convert/ConversionHost.h"
#include "convert/Deployment.h"
#include "convert/StagingText.h"
#include "tests/convert/BookText.h"
#include "tests/convert/RecordingProgress.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Stand-in converters: shell scripts deployed in place of the real tool.
const std::string kCopyingConverter =
    "#!/bin/sh\n[ -f \"$1\" ] || exit 2\ncp \"$1\" \"$2.part\" && mv \"$2.part\" \"$2\"\n";
const std::string kFailingConverter =
    "#!/bin/sh\necho 'ZOD2UVOV: the document could not be read' >&2\nexit 1\n";
const std::string kSilentConverter = "#!/bin/sh\nexit 0\n";

class FakeHost : public ConversionHost {
  public:
    int EntryCount() override { return int(entries.size()); }
    std::string EntryText(int index) override { return entries.at(std::size_t(index - 1)); }
    OutputChoice OutputOptions() override { return options; }
    ProgressDisplay& Progress() override { return bar; }
    void SetMousePointer(int style) override { pointers.push_back(style); }
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
    test::RecordingProgress bar;
    std::vector<int> pointers;
    int yields = 0;
    std::function<void()> onYield;
    test::ScriptedDialogHost dialogs;
    StagingText staging;
    std::map<int, std::string> payloads = {{101, kCopyingConverter}, {102, "library"}};
};

// Each test gets its own TEMP, so what a run leaves behind can be seen.
class ConversionRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TEMP");
        oldTemp_ = old ? old : "";
        hadTemp_ = old != nullptr;
        setenv("TEMP", temp.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadTemp_) {
            setenv("TEMP", oldTemp_.c_str(), 1);
        } else {
            unsetenv("TEMP");
        }
    }

    void Run() {
        ConversionRun run(host);
        run.Start(inProgress);
        runFolder = run.runFolder();
        report = run.report();
    }

    bool TempIsEmpty() const { return fs::is_empty(temp.path()); }

    TempDir temp;
    TempDir books;
    FakeHost host;
    bool inProgress = false;
    std::string runFolder;
    RunReport report;

  private:
    std::string oldTemp_;
    bool hadTemp_ = false;
};

TEST_F(ConversionRunTest, EmptyListOrMissingFolderStopsBeforeAnythingIsWritten) {
    Run();
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"No files added."});
    EXPECT_TRUE(host.pointers.empty());
    EXPECT_TRUE(host.bar.texts.empty());
    EXPECT_FALSE(inProgress);

    host.dialogs.messages.clear();
    host.entries = {books / "a.txt"};
    for (const std::string& folder : {std::string(), books / "gone", books / "a.txt"}) {
        host.options = {true, false, folder};
        Run();
        EXPECT_EQ(host.Messages().back(), "Folder does not exist. Please select another folder.");
    }
    // With neither option the chosen folder is checked as well.
    host.options = {false, false, books / "gone"};
    Run();
    EXPECT_EQ(host.Messages().size(), 4u);
    EXPECT_EQ(host.Messages().back(), "Folder does not exist. Please select another folder.");
    EXPECT_TRUE(host.pointers.empty());
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_FALSE(inProgress);
}

TEST_F(ConversionRunTest, ABatchBesideTheSourcesFollowsTheBarAndCleansUp) {
    WriteFile(books / "my.story.txt", "Once {upon} a time.\r\nThe end.\r\n");
    WriteFile(books / "it's \"odd\" name.txt", "Quotes and spaces in the name.\n");
    WriteFile(books / "notes", "No extension.");
    host.entries = {books / "my.story.txt", books / "it's \"odd\" name.txt", books / "notes"};
    host.options = {false, true, ""};  // Text1 empty does not matter here
    Run();

    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Done."});
    EXPECT_EQ(report.converted, 3);
    EXPECT_TRUE(host.dialogs.ErrorReports().empty());
    std::string title;
    EXPECT_EQ(test::TextOfStagingRtf(ReadFile(books / "my.story.epub"), &title),
              "Once {upon} a time.\nThe end.\n");
    EXPECT_EQ(title, "my.story.txt");
    EXPECT_TRUE(fs::exists(books / "it's \"odd\" name.epub"));
    EXPECT_EQ(test::TextOfStagingRtf(ReadFile(books / "notes.epub")), "No extension.\n");

    const std::vector<std::string> processing = {
        "Processing: my.story.txt", "Processing: it's \"odd\" name.txt", "Processing: notes"};
    std::vector<std::string> shown;
    for (const auto& t : host.bar.texts) {
        if (t.rfind("Processing: ", 0) == 0 && (shown.empty() || shown.back() != t)) {
            shown.push_back(t);
        }
    }
    EXPECT_EQ(shown, processing);
    ASSERT_GE(host.bar.values.size(), 4u);
    EXPECT_DOUBLE_EQ(host.bar.values[0], 100.0 / 3);
    EXPECT_DOUBLE_EQ(host.bar.values[2], 100);
    EXPECT_EQ(host.bar.values.back(), 0);
    EXPECT_EQ(host.bar.text, "Progress Bar");
    EXPECT_EQ(host.pointers.front(), 11);
    EXPECT_EQ(host.pointers.back(), 0);
    EXPECT_FALSE(inProgress);

    // The run's private folder was inside TEMP and is gone with everything in it.
    EXPECT_EQ(runFolder.rfind(temp.path() + "/", 0), 0u);
    EXPECT_TRUE(TempIsEmpty());
    // The staging control keeps the last file's text.
    EXPECT_EQ(host.staging.Text(), "No extension.");
}

TEST_F(ConversionRunTest, IntoTheChosenFolderAlsoWithNeitherOptionSelected) {
    TempDir out;
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    host.options = {true, false, out.path()};  // without a trailing "/"
    Run();
    EXPECT_TRUE(fs::exists(out / "a.epub"));
    fs::remove(out / "a.epub");
    host.options = {false, false, out.path() + "/"};
    Run();
    EXPECT_TRUE(fs::exists(out / "a.epub"));
    EXPECT_FALSE(fs::exists(books / "a.epub"));
}

TEST_F(ConversionRunTest, AnUnreadableSourceIsListedOnceAndNoBookIsWrittenForIt) {
    WriteFile(books / "good.txt", "Good text.");
    fs::create_directory(books / "folder.txt");
    // An earlier book of a source that has vanished since it was listed stays as it was.
    WriteFile(books / "vanished.epub", "earlier book");
    host.entries = {books / "folder.txt", books / "vanished.txt", books / "good.txt"};
    Run();

    EXPECT_EQ(report.converted, 1);
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].source, books / "folder.txt");
    EXPECT_EQ(report.failures[1].reason, "File not found");
    EXPECT_FALSE(fs::exists(books / "folder.epub"));
    EXPECT_EQ(ReadFile(books / "vanished.epub"), "earlier book");
    EXPECT_TRUE(fs::exists(books / "good.epub"));
    // One summary before "Done.", no error report box per file.
    EXPECT_TRUE(host.dialogs.ErrorReports().empty());
    const auto messages = host.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("2 of 3 files were not converted:", 0), 0u);
    EXPECT_NE(messages[0].find(books / "vanished.txt" + ": File not found"), std::string::npos);
    EXPECT_EQ(messages[1], "Done.");
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(ConversionRunTest, AnImageRenamedTxtIsNotATextFileAndMakesNoBook) {
    WriteFile(books / "photo.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10", 20));
    WriteFile(books / "good.txt", "Good text.");
    host.entries = {books / "photo.txt", books / "good.txt"};
    Run();

    EXPECT_EQ(report.converted, 1);
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].source, books / "photo.txt");
    EXPECT_EQ(report.failures[0].reason, "not a text file");
    EXPECT_FALSE(fs::exists(books / "photo.epub"));
    EXPECT_TRUE(fs::exists(books / "good.epub"));
}

TEST_F(ConversionRunTest, AFailingConverterIsReportedInItsOwnWords) {
    host.payloads[101] = kFailingConverter;
    WriteFile(books / "a.txt", "A");
    WriteFile(books / "b.txt", "B");
    host.entries = {books / "a.txt", books / "b.txt"};
    Run();
    EXPECT_EQ(report.converted, 0);
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].reason, "ZOD2UVOV: the document could not be read");
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_NE(host.Messages()[0].find("2 of 2 files were not converted"), std::string::npos);
    EXPECT_EQ(host.Messages()[1], "Done.");
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(ConversionRunTest, ASuccessWithoutABookIsNoSuccess) {
    host.payloads[101] = kSilentConverter;
    WriteFile(books / "a.txt", "A");
    WriteFile(books / "a.epub", "an older book");  // there before, untouched by the converter
    WriteFile(books / "b.txt", "B");
    host.entries = {books / "a.txt", books / "b.txt"};
    Run();
    EXPECT_EQ(report.converted, 0);
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].reason, "The converter wrote no book");
    EXPECT_EQ(ReadFile(books / "a.epub"), "an older book");
}

// Guards against a listed ".epub" being overwritten by the book made from it.
TEST_F(ConversionRunTest, ASourceIsNeverReplacedByItsOwnBook) {
    WriteFile(books / "old.epub", "not a text, but the user's file");
    host.entries = {books / "old.epub"};
    Run();
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].reason, "The book would replace its own source");
    EXPECT_EQ(ReadFile(books / "old.epub"), "not a text, but the user's file");
}

TEST_F(ConversionRunTest, ALaterEntryWithTheSameBookNamesTheOneItReplaced) {
    TempDir out;
    fs::create_directories(books / "x");
    fs::create_directories(books / "y");
    WriteFile(books / "x/a.txt", "From x.");
    WriteFile(books / "y/a.txt", "From y.");
    host.entries = {books / "x/a.txt", books / "y/a.txt", books / "y/a.txt"};
    host.options = {true, false, out.path() + "/"};
    Run();
    EXPECT_EQ(report.converted, 3);  // the same path listed twice is converted twice
    ASSERT_EQ(report.replaced.size(), 1u);
    EXPECT_EQ(report.replaced[0].book, out / "a.epub");
    EXPECT_EQ(report.replaced[0].earlierSource, books / "x/a.txt");
    EXPECT_EQ(report.replaced[0].laterSource, books / "y/a.txt");
    EXPECT_EQ(test::TextOfStagingRtf(ReadFile(out / "a.epub")), "From y.\n");
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_NE(host.Messages()[0].find(books / "x/a.txt"), std::string::npos);
}

TEST_F(ConversionRunTest, APressDuringTheRunIsIgnoredAndTheCountIsFixed) {
    WriteFile(books / "a.txt", "A");
    WriteFile(books / "b.txt", "B");
    host.entries = {books / "a.txt"};
    int nestedPresses = 0;
    bool appended = false;
    host.onYield = [&] {
        if (nestedPresses++ == 0) {
            ConversionRun second(host);
            second.Start(inProgress);  // the flag is set: nothing happens
            EXPECT_TRUE(inProgress);
        }
        // Appended once the passes have begun: it waits for the next run.
        if (!appended && host.bar.text.rfind("Processing: ", 0) == 0) {
            host.entries.push_back(books / "b.txt");
            appended = true;
        }
    };
    Run();
    EXPECT_GT(nestedPresses, 0);
    EXPECT_TRUE(appended);
    EXPECT_EQ(report.converted, 1);
    EXPECT_FALSE(fs::exists(books / "b.epub"));
    EXPECT_EQ(host.Messages(), std::vector<std::string>{"Done."});
    EXPECT_FALSE(inProgress);
}

TEST_F(ConversionRunTest, APlantedConverterInTheSharedFolderIsNeverRun) {
    WriteFile(temp / kConverterFileName, "#!/bin/sh\ntouch \"$0.ran\"\nexit 0\n");
    fs::permissions(temp / kConverterFileName, fs::perms::owner_all);
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    Run();
    EXPECT_EQ(report.converted, 1);
    EXPECT_FALSE(fs::exists(temp / (std::string(kConverterFileName) + ".ran")));
    EXPECT_TRUE(fs::exists(temp / kConverterFileName));  // not ours to delete
}

TEST_F(ConversionRunTest, ATemporaryFolderThatIsMissingIsReportedAndTheRunStillEnds) {
    setenv("TEMP", (temp / "missing").c_str(), 1);
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    Run();
    const auto reports = host.dialogs.ErrorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports[0].find(std::string(kConversionLocation) + "at line 112"), std::string::npos);
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_NE(report.failures[0].reason.find("could not be"), std::string::npos);
    EXPECT_EQ(host.Messages().back(), "Done.");
    EXPECT_EQ(host.pointers.back(), 0);
    EXPECT_FALSE(inProgress);
}

}  // namespace
}  // namespace quillane
