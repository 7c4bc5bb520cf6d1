#include "filelist/DropIntake.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "filelist/WalkedFiles.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

class IntakeFilesTest : public ::testing::Test {
  protected:
    std::string File(const std::string& relative, mode_t mode = 0644) {
        fs::create_directories(fs::path(dir / relative).parent_path());
        test::WriteFile(dir / relative, "text");
        ::chmod((dir / relative).c_str(), mode);
        return dir / relative;
    }

    Paths Drop(const Paths& dropped) {
        Paths appended;
        outcome = TakeDrop(dropped, {}, [&](const std::string& p) { appended.push_back(p); });
        return appended;
    }

    test::TempDir dir;
    Outcome<WalkStep> outcome;
};

TEST_F(IntakeFilesTest, WalkedFilesSkipTildeNamesAndHiddenArchiveFiles) {
    File("Books/a.txt");
    File("Books/~$report.txt");
    File("Books/.hidden.txt");                  // hidden + archive: 34
    File("Books/.read-only-hidden.txt", 0444);  // 35, not exactly 34
    File("Books/A/b.txt");
    File("Books/A/c.doc");
    const FolderList folders{dir / "Books/", dir / "Books/A/"};
    Paths appended;
    const auto listed =
        ListWalkedFiles(folders, "*.txt", [&](const std::string& p) { appended.push_back(p); });
    EXPECT_TRUE(listed.failures.empty());
    EXPECT_EQ(appended, (Paths{dir / "Books/.read-only-hidden.txt", dir / "Books/a.txt",
                               dir / "Books/A/b.txt"}));
}

TEST_F(IntakeFilesTest, AFailingFileCostsOnlyThatFileAndIsHandedBack) {
    File("Books/a.txt");
    File("Books/b.txt");
    File("Books/c.txt");
    Paths appended;
    const auto listed = ListWalkedFiles({dir / "Books/"}, "*.*", [&](const std::string& p) {
        if (p.ends_with("b.txt")) {
            throw std::runtime_error("Out of memory");
        }
        appended.push_back(p);
    });
    EXPECT_EQ(appended, (Paths{dir / "Books/a.txt", dir / "Books/c.txt"}));
    ASSERT_EQ(listed.failures.size(), 1u);
    EXPECT_EQ(listed.failures[0].step, ListingStep::TakeFile);
    EXPECT_EQ(listed.failures[0].description, "Out of memory");
}

// The window closed while a hundred thousand files went into the list used to wait for the
// last of them: the listing yields as it goes and stops when told.
TEST_F(IntakeFilesTest, ListingYieldsAsItGoesAndStopsWhenTheWindowCloses) {
    const int files = 2 * kFilesPerYield + 5;
    for (int i = 0; i < files; ++i) {
        File("Many/" + std::to_string(1000 + i) + ".txt");
    }
    File("Later/a.txt");
    const FolderList folders{dir / "Many/", dir / "Later/"};
    for (const int stopAtYield : {1, 2, 3, 4, 0}) {
        Paths appended;
        int yields = 0;
        const auto listed = ListWalkedFiles(
            folders, "*.txt", [&](const std::string& p) { appended.push_back(p); },
            [&] { return ++yields != stopAtYield; });
        const std::size_t expected = stopAtYield == 0   ? files + 1
                                     : stopAtYield == 4 ? files
                                                        : (stopAtYield - 1) * kFilesPerYield;
        EXPECT_EQ(listed.Stopped(), stopAtYield != 0) << stopAtYield;
        EXPECT_EQ(appended.size(), expected) << stopAtYield;
    }
}

TEST_F(IntakeFilesTest, DroppedFilesArriveAsDeliveredInDropOrder) {
    const Paths dropped{File("z.png"), File("~notes.txt"), dir / "no such file",
                        dir.path() + "//doubled.txt"};
    EXPECT_EQ(Drop(dropped), dropped);
}

TEST_F(IntakeFilesTest, DroppedFolderGivesItsFilesThenThoseBelowLevelByLevel) {
    File("Books/a.txt");
    File("Books/A/b.txt");
    File("Books/A/A1/c.txt");
    File("Books/B/d.bin");
    File("Books/B/~tmp");
    File("Books/.hidden");
    const std::string loose = File("loose.txt");
    EXPECT_EQ(Drop({loose, dir / "Books"}),
              (Paths{loose, dir / "Books/a.txt", dir / "Books/A/b.txt", dir / "Books/B/d.bin",
                     dir / "Books/A/A1/c.txt"}));
    EXPECT_TRUE(outcome.failures.empty());
    EXPECT_FALSE(outcome.Stopped());
}

TEST_F(IntakeFilesTest, EachDroppedFolderIsWalkedOnItsOwn) {
    File("Books/a.txt");
    File("Books/Sub/b.txt");
    File("Other/c.txt");
    fs::create_directory(dir / "Empty");
    EXPECT_EQ(Drop({dir / "Other", dir / "Books", dir / "Books/Sub", dir / "Empty"}),
              (Paths{dir / "Other/c.txt", dir / "Books/a.txt", dir / "Books/Sub/b.txt",
                     dir / "Books/Sub/b.txt"}));
}

TEST_F(IntakeFilesTest, DropStopsAtAYieldThatSaysSo) {
    File("Books/a.txt");
    File("Books/Sub/b.txt");
    File("Other/c.txt");
    const std::string loose = File("loose.txt");
    Paths appended;
    const auto drop = TakeDrop(
        {loose, dir / "Books", dir / "Other"}, [] { return false; },
        [&](const std::string& p) { appended.push_back(p); });
    EXPECT_TRUE(drop.Stopped());
    EXPECT_EQ(appended, (Paths{loose}));  // nothing of the folders, nothing after them
}

TEST_F(IntakeFilesTest, DroppedFolderWithALoopEnds) {
    File("Books/a.txt");
    fs::create_directory_symlink(dir / "Books", dir / "Books/again");
    fs::create_directory_symlink(dir / "Books", dir / "Books-link");
    EXPECT_EQ(Drop({dir / "Books-link"}), (Paths{dir / "Books-link/a.txt"}));
}

TEST_F(IntakeFilesTest, DroppedFolderWithAwkwardNamesLosesNothing) {
    const Paths names{"Books/line\nbreak.txt", "Books/quote\" and 'apostrophe'.txt",
                      "Books/bad\xff\xfe.txt", "Books/日本語/物語.txt"};
    for (const auto& name : names) {
        File(name);
    }
    const Paths appended = Drop({dir / "Books"});
    ASSERT_EQ(appended.size(), names.size());
    for (const auto& name : names) {
        EXPECT_NE(std::find(appended.begin(), appended.end(), dir / name), appended.end());
    }
}

}  // namespace
}  // namespace quillane
