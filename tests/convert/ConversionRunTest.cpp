#include "convert/ConversionRun.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "convert/ConversionHost.h"
#include "convert/Deployment.h"
#include "convert/StagingText.h"
#include "tests/convert/BookText.h"
#include "tests/convert/ConversionRunFixture.h"
#include "tests/support/ScriptedDialogHost.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Stand-in converters: shell scripts deployed in place of the real tool. Like the real one they
// answer a call without a document with status 0.
const std::string kCopyingConverter =
    "#!/bin/sh\n[ $# -ge 2 ] || exit 0\n[ -f \"$1\" ] || exit 2\n"
    "cp \"$1\" \"$2.part\" && mv \"$2.part\" \"$2\"\n";
const std::string kFailingConverter =
    "#!/bin/sh\n[ $# -ge 2 ] || exit 0\necho 'ZOD2UVOV: the document could not be read' >&2\n"
    "exit 1\n";
const std::string kSilentConverter = "#!/bin/sh\nexit 0\n";

class ConversionRunTest : public test::ConversionRunFixture {
  protected:
    ConversionRunTest() { host.payloads = {{101, kCopyingConverter}, {102, "library"}}; }
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
    EXPECT_EQ(host.pointers.front(), PointerStyle::Hourglass);
    EXPECT_EQ(host.pointers.back(), PointerStyle::Default);
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

// The converter runs in its private folder: a folder typed relative to the program's working
// folder once made every file fail, and "." put the book into the run folder, removed with it.
TEST_F(ConversionRunTest, ARelativeOutputFolderLeadsFromTheWorkingFolder) {
    TempDir start;
    fs::create_directory(start / "Books");
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    const struct {
        std::string typed;
        bool toChosenFolder;
        std::string book;
    } cases[] = {
        {"Books", true, start / "Books/a.epub"}, {"Books/", true, start / "Books/a.epub"},
        {".", true, start / "a.epub"},           {"Books", false, books / "a.epub"},
        {".", false, books / "a.epub"},
    };
    const fs::path oldFolder = fs::current_path();
    fs::current_path(start.path());
    for (const auto& c : cases) {
        host.options = {c.toChosenFolder, !c.toChosenFolder, c.typed};
        host.dialogs.messages.clear();
        Run();
        EXPECT_EQ(host.Messages(), std::vector<std::string>{"Done."}) << c.typed;
        EXPECT_TRUE(fs::exists(c.book)) << c.typed;
        fs::remove(c.book);
    }
    // A relative temporary folder and a relative list entry are taken from there too.
    fs::create_directory(start / "tmp");
    setenv("TEMP", "tmp", 1);
    WriteFile(start / "b.txt", "B");
    host.entries = {"b.txt"};
    host.options = {true, false, "Books"};
    Run();
    fs::current_path(oldFolder);
    EXPECT_EQ(report.converted, 1);
    EXPECT_TRUE(fs::exists(start / "Books/b.epub"));
    EXPECT_TRUE(fs::is_empty(start / "tmp"));
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

// A temporary folder that cannot take the converter is named, and the run goes on from the
// user's runtime folder.
TEST_F(ConversionRunTest, AnUnusableTemporaryFolderIsNamedAndTheRunFallsBack) {
    const std::string missing = temp / "missing";
    setenv("TEMP", missing.c_str(), 1);
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    Run();
    EXPECT_EQ(report.converted, 1);
    EXPECT_TRUE(host.dialogs.ErrorReports().empty());
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[0], "The temporary folder \"" + missing +
                                      "\" cannot be used: no folder can be made in it (File not "
                                      "found). The run used \"" +
                                      runtime.path() + "\" instead.");
    EXPECT_EQ(host.Messages()[1], "Done.");
    EXPECT_EQ(runFolder.rfind(runtime.path() + "/", 0), 0u);
    EXPECT_TRUE(fs::is_empty(runtime.path()));
}

// Where the converter is written but cannot run (as from a folder mounted noexec), the probe
// finds out before the first file, and the next folder is used.
TEST_F(ConversionRunTest, AFolderTheConverterCannotRunFromIsPassedOver) {
    host.payloads[101] =
        "#!/bin/sh\ncase \"$0\" in \"$TEMP\"/*) exit 126;; esac\n" + kCopyingConverter.substr(10);
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    Run();
    EXPECT_EQ(report.converted, 1);
    ASSERT_EQ(report.notices.size(), 1u);
    EXPECT_EQ(report.notices[0],
              "The temporary folder \"" + temp.path() +
                  "\" cannot be used: the converter did not run there (The converter ended "
                  "with status 126). The run used \"" +
                  runtime.path() + "\" instead.");
    EXPECT_TRUE(TempIsEmpty());
}

// A converter that no folder can start: every folder tried is named once, in the error report
// of the deployment step, and no file is converted.
TEST_F(ConversionRunTest, WhenNoFolderCanRunTheConverterEachOneTriedIsNamed) {
    host.payloads[101] = "#!/nonexistent/interpreter\n";
    WriteFile(books / "a.txt", "A");
    WriteFile(books / "b.txt", "B");
    host.entries = {books / "a.txt", books / "b.txt"};
    Run();
    const auto reports = host.dialogs.ErrorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(std::string(steps::conversion::kLocation) + "at line 118"),
              std::string::npos);
    // Reported before the run says how it ended.
    EXPECT_EQ(host.dialogs.messages.front().text, reports[0]);
    for (const std::string& folder : {temp.path(), runtime.path(), cache / "cache"}) {
        EXPECT_NE(reports[0].find("\"" + folder +
                                  "\" cannot be used: the converter could not "
                                  "be started there (error 53)"),
                  std::string::npos)
            << reports[0];
    }
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[1].reason, "The converter could not be deployed");
    EXPECT_EQ(host.Messages().back(), "Done.");
    EXPECT_EQ(host.pointers.back(), PointerStyle::Default);
    EXPECT_FALSE(inProgress);
    EXPECT_TRUE(TempIsEmpty());
    EXPECT_TRUE(fs::is_empty(runtime.path()));
    EXPECT_TRUE(fs::is_empty(cache / "cache"));
}

// A pipe or a device chosen as a source would freeze the window on a blocking open or fill
// memory on an endless read; each is refused with its reason and the batch goes on.
TEST_F(ConversionRunTest, APipeOrDeviceInTheListIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo((books / "pipe.txt").c_str(), 0600), 0);
    WriteFile(books / "good.txt", "Good text.");
    host.entries = {books / "pipe.txt", "/dev/zero", books / "good.txt"};
    Run();
    EXPECT_EQ(report.converted, 1);
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].reason, "It is a named pipe, not a regular file");
    EXPECT_EQ(report.failures[1].reason, "It is a device, not a regular file");
    EXPECT_FALSE(fs::exists(books / "pipe.epub"));
    EXPECT_TRUE(fs::exists(books / "good.epub"));
}

// Mounts a fresh file system with `flags` over a folder for the life of the object, where this
// process may mount (as root in a container); mounted() tells.
class ScratchMount {
  public:
    ScratchMount(const std::string& folder, unsigned long flags) : folder_(folder) {
        mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", flags, "size=16m,mode=0755") == 0;
    }
    ~ScratchMount() {
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;
    bool mounted() const { return mounted_; }

  private:
    std::string folder_;
    bool mounted_ = false;
};

TEST_F(ConversionRunTest, ANoexecTemporaryFolderIsNamedAndTheRunFallsBack) {
    const ScratchMount noexec(temp.path(), MS_NOEXEC | MS_NOSUID | MS_NODEV);
    if (!noexec.mounted()) {
        GTEST_SKIP() << "no permission to mount; the probe test covers the refused start";
    }
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    Run();
    EXPECT_EQ(report.converted, 1);
    ASSERT_EQ(report.notices.size(), 1u);
    EXPECT_EQ(report.notices[0], "The temporary folder \"" + temp.path() +
                                     "\" cannot be used: it is mounted noexec, so no program may "
                                     "run from it. The run used \"" +
                                     runtime.path() + "\" instead.");
    EXPECT_TRUE(TempIsEmpty());
}

TEST_F(ConversionRunTest, AnUnwritableTemporaryFolderIsNamedAndTheRunFallsBack) {
    // Permissions do not hold the superuser back; a read-only file system does.
    std::optional<ScratchMount> readOnly;
    if (geteuid() == 0) {
        readOnly.emplace(temp.path(), MS_RDONLY);
        if (!readOnly->mounted()) {
            GTEST_SKIP() << "running as root without permission to mount";
        }
    } else {
        fs::permissions(temp.path(), fs::perms::owner_read | fs::perms::owner_exec);
    }
    WriteFile(books / "a.txt", "A");
    host.entries = {books / "a.txt"};
    Run();
    if (!readOnly) {
        fs::permissions(temp.path(), fs::perms::owner_all);
    }
    EXPECT_EQ(report.converted, 1);
    ASSERT_EQ(report.notices.size(), 1u);
    EXPECT_EQ(report.notices[0], "The temporary folder \"" + temp.path() +
                                     "\" cannot be used: no folder can be made in it (Permission "
                                     "denied). The run used \"" +
                                     runtime.path() + "\" instead.");
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[0], report.notices[0]);
}

}  // namespace
}  // namespace quillane
