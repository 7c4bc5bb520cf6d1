#include "filelist/FolderWalk.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;

class FolderWalkTest : public ::testing::Test {
  protected:
    // Creates `relative` (and its parents) below the temporary root.
    void Dir(const std::string& relative) { fs::create_directories(root.path() + "/" + relative); }
    std::string At(const std::string& relative) const { return root.path() + "/" + relative; }

    FolderList Walk(const std::string& start, bool recurse = true) {
        FolderList folders{start};
        outcome = GetSubDirectories2016(folders, recurse, [this] {
            ++yields;
            return true;
        });
        return folders;
    }
    // Nothing to report and no folder that could not be read.
    bool Clean() const {
        return outcome.status == OutcomeStatus::Completed && outcome.failures.empty() &&
               outcome.unread.empty();
    }

    test::TempDir root;
    WalkOutcome outcome;
    int yields = 0;
};

TEST_F(FolderWalkTest, ListsLevelByLevelInCaseInsensitiveNameOrder) {
    Dir("Books/A/A2");
    Dir("Books/A/a1");
    Dir("Books/b/B1");
    Dir("Books/C");
    Dir("Books/.hidden");
    const std::string books = At("Books/");
    EXPECT_EQ(Walk(books),
              (FolderList{books, books + ".hidden/", books + "A/", books + "b/", books + "C/",
                          books + "A/a1/", books + "A/A2/", books + "b/B1/"}));
    EXPECT_TRUE(Clean());
}

TEST_F(FolderWalkTest, WithoutRecursionOnlyTheNextLevelIsAdded) {
    Dir("Books/A/A1");
    const std::string books = At("Books/");
    EXPECT_EQ(Walk(books, false), (FolderList{books, books + "A/"}));
}

TEST_F(FolderWalkTest, YieldsPerFolderExaminedSubFolderReadAndFolderHandedBack) {
    Dir("Books/A");
    Dir("Books/B");
    Walk(At("Books/"));
    // Books examined, A and B read; A and B examined (one level down); A and B handed back.
    EXPECT_EQ(yields, 7);
}

// Guards against endless walks: a link back up the tree must not be followed round and round.
TEST_F(FolderWalkTest, FolderReachedAgainThroughALinkIsNotWalkedAgain) {
    Dir("Books/A/deep");
    Dir("Elsewhere/E1");
    fs::create_directory_symlink(At("Books"), At("Books/A/back"));
    fs::create_directory_symlink("../A", At("Books/A/self"));
    fs::create_directory_symlink(At("Elsewhere"), At("Books/link1"));
    fs::create_directory_symlink(At("Elsewhere"), At("Books/link2"));
    const std::string books = At("Books/");
    EXPECT_EQ(Walk(books), (FolderList{books, books + "A/", books + "link1/", books + "A/deep/",
                                       books + "link1/E1/"}));
    EXPECT_TRUE(Clean());
}

TEST_F(FolderWalkTest, NamesAreJudgedByCodePoint) {
    Dir("Books/Кириллица/глава");
    Dir("Books/日本語");
    Dir("Books/Café");
    Dir("Books/bad\xff"
        "name/inner");
    Dir("Books/ctl\x01/below");
    Dir("Books/tab\tname");
    Dir("Books/del\x7f");
    Dir("Books/c1\xc2\x85");  // U+0085, a C1 control character
    Dir("Books/what?/below");
    const std::string books = At("Books/");
    const FolderList walked = Walk(books);
    const FolderList expected{books,
                              books + "bad\xff" + "name/",
                              books + "Café/",
                              books + "Кириллица/",
                              books + "日本語/",
                              books + "bad\xff" + "name/inner/",
                              books + "Кириллица/глава/"};
    EXPECT_EQ(walked, expected);
}

TEST_F(FolderWalkTest, PathOf260CharactersOrMoreIsNotDescendedInto) {
    const std::string first(120, 'x');
    const std::string second(260 - root.path().size() - first.size() - 5, 'y');
    Dir("B/" + first + "/" + second + "/below");
    const std::string start = At("B/");
    const std::string tooLong = start + first + "/" + second + "/";
    ASSERT_EQ(tooLong.size(), 260u);
    EXPECT_EQ(Walk(start), (FolderList{start, start + first + "/", tooLong}));
}

TEST_F(FolderWalkTest, MissingStartFolderStaysAndNothingIsAdded) {
    const std::string missing = At("nothing/");
    EXPECT_EQ(Walk(missing), (FolderList{missing}));
    EXPECT_TRUE(Clean());
}

TEST_F(FolderWalkTest, FolderThatVanishesDuringTheWalkIsDroppedSilently) {
    Dir("Books/A/A1");
    Dir("Books/B/B1");
    const std::string books = At("Books/");
    FolderList folders{books};
    bool removed = false;
    const WalkOutcome walked = GetSubDirectories2016(folders, true, [&] {
        if (!removed && fs::exists(At("Books/B"))) {
            removed = true;
            fs::remove_all(At("Books/B"));
        }
        return true;
    });
    EXPECT_EQ(folders, (FolderList{books, books + "A/", books + "A/A1/"}));
    EXPECT_TRUE(walked.failures.empty());
    EXPECT_EQ(walked.status, OutcomeStatus::Completed);
}

TEST_F(FolderWalkTest, UnreadableFolderIsDroppedSilently) {
    Dir("Books/Locked/Inner");
    Dir("Books/Open/Inner");
    const std::string books = At("Books/");
    const FolderList expected{books, books + "Open/", books + "Open/Inner/"};
    if (::geteuid() != 0) {
        ::chmod(At("Books/Locked").c_str(), 0);
        EXPECT_EQ(Walk(books), expected);
        EXPECT_TRUE(outcome.failures.empty());
        ASSERT_EQ(outcome.unread.size(), 1u);
        EXPECT_EQ(outcome.unread[0].folder, books + "Locked/");
        return;
    }
    // Permission bits do not stop root, so the walk runs in a child that has given up root.
    ::chmod(root.path().c_str(), 0755);
    ::chmod(At("Books/Locked").c_str(), 0700);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(2);
        }
        FolderList folders{books};
        const WalkOutcome walked = GetSubDirectories2016(folders, true, {});
        ::_exit(folders == expected && walked.failures.empty() && walked.unread.size() == 1 ? 0
                                                                                            : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "could not give up root in the child";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the locked folder was not dropped silently";
}

// The walk keeps every failure to read a folder to itself, as the desktop's walk does; the
// outcome still names the folder and the cause.
TEST_F(FolderWalkTest, OtherFailureToReadAFolderIsKeptSilentAndTheFolderStays) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer runtimes need file descriptors of their own";
#endif
    Dir("Books/A");
    const std::string books = At("Books/");
    // With every file descriptor taken, listing a folder fails for a reason that is neither a
    // refusal nor a missing path. The child process keeps the exhaustion to itself.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{64, 64};
        ::setrlimit(RLIMIT_NOFILE, &limit);
        while (::open("/dev/null", O_RDONLY) >= 0) {
        }
        FolderList folders{books};
        const WalkOutcome walked = GetSubDirectories2016(folders, true, {});
        const bool noted = walked.failures.empty() && walked.unread.size() == 1 &&
                           walked.unread[0].folder == books &&
                           !walked.unread[0].description.empty();
        ::_exit(folders == FolderList{books} && noted ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(FolderWalkTest, StopsAtTheYieldThatSaysSoAndGoesNoFurther) {
    for (int i = 0; i < 30; ++i) {
        Dir("Books/F" + std::to_string(i) + "/inner");
    }
    const std::string books = At("Books/");
    FolderList folders{books};
    int yieldsAfterStop = 0;
    int count = 0;
    const WalkOutcome walked = GetSubDirectories2016(folders, true, [&] {
        if (++count > 5) {
            ++yieldsAfterStop;
            return false;
        }
        return true;
    });
    EXPECT_EQ(walked.status, OutcomeStatus::Stopped);
    EXPECT_EQ(yieldsAfterStop, 1);  // not asked again once told to stop
    EXPECT_LT(folders.size(), 10u);
}

TEST_F(FolderWalkTest, RootFolderIsWalkedLikeAnyOther) {
    FolderList folders{"//"};
    GetSubDirectories2016(folders, false, {});
    ASSERT_GT(folders.size(), 1u);
    EXPECT_EQ(folders[0], "//");
    EXPECT_NE(std::find(folders.begin(), folders.end(), "//tmp/"), folders.end());
}

}  // namespace
}  // namespace quillane
