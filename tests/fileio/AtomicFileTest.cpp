// The atomic file: the path holds the whole new file or what it held before, and no temporary
// is left beside it.
#include "fileio/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/TempHome.h"

namespace fileio {
namespace {

using quillane::test::ReadFile;
using quillane::test::TempDir;
using quillane::test::WriteFile;

std::size_t EntriesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

TEST(AtomicFile, AppearsOnlyOnCommitWithNormalPermissions) {
    TempDir dir;
    const std::string path = dir / "book.epub";
    const mode_t old = umask(027);
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(path).ok());
        ASSERT_TRUE(file.Write("abc").ok());
        ASSERT_TRUE(file.Write(std::string(600'000, 'z')).ok());  // larger than the buffer
        EXPECT_EQ(file.Position(), 600'003u);
        EXPECT_FALSE(std::filesystem::exists(path));
        ASSERT_TRUE(file.Commit().ok());
        EXPECT_FALSE(file.IsOpen());
    }
    umask(old);
    EXPECT_EQ(ReadFile(path), "abc" + std::string(600'000, 'z'));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);  // no temporary left beside it
}

TEST(AtomicFile, AnUncommittedFileLeavesTheOldOneAndNoTrace) {
    TempDir dir;
    const std::string path = dir / "book.epub";
    WriteFile(path, "old book");
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(path).ok());
        ASSERT_TRUE(file.Write(std::string(400'000, 'n')).ok());
        // destroyed without Commit, as when writing the book fails
    }
    EXPECT_EQ(ReadFile(path), "old book");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(AtomicFile, CommitReplacesAnExistingFileOnce) {
    TempDir dir;
    const std::string path = dir / "book.epub";
    WriteFile(path, "old book");
    AtomicFile file;
    ASSERT_TRUE(file.Open(path).ok());
    ASSERT_TRUE(file.Write("new book").ok());
    ASSERT_TRUE(file.Commit().ok());
    EXPECT_EQ(ReadFile(path), "new book");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
    // A second commit has nothing left to put there.
    EXPECT_EQ(file.Commit().error(), EBADF);
    EXPECT_EQ(ReadFile(path), "new book");
}

// Both ways of staging the data keep the path untouched until the commit; the unnamed one
// shows nothing at all in the folder meanwhile.
TEST(AtomicFile, NamedAndUnnamedStagingBothCommitWholeOrNothing) {
    for (const AtomicFile::Staging staging :
         {AtomicFile::Staging::kNamed, AtomicFile::Staging::kBest}) {
        TempDir dir;
        const std::string path = dir / "book.epub";
        WriteFile(path, "old book");
        {
            AtomicFile abandoned;
            ASSERT_TRUE(abandoned.Open(path, staging).ok());
            ASSERT_TRUE(abandoned.Write(std::string(300'000, 'a')).ok());
            EXPECT_EQ(EntriesIn(dir.path()), abandoned.unnamed() ? 1u : 2u);
        }
        EXPECT_EQ(ReadFile(path), "old book");
        EXPECT_EQ(EntriesIn(dir.path()), 1u);
        const mode_t old = umask(022);
        {
            AtomicFile file;
            ASSERT_TRUE(file.Open(path, staging).ok());
            if (staging == AtomicFile::Staging::kNamed) {
                EXPECT_FALSE(file.unnamed());
            }
            ASSERT_TRUE(file.Write("new book").ok());
            ASSERT_TRUE(file.Commit().ok());
            AtomicFile fresh;
            ASSERT_TRUE(fresh.Open(dir / "fresh.epub", staging).ok());
            ASSERT_TRUE(fresh.Write("fresh").ok());
            ASSERT_TRUE(fresh.Commit().ok());
        }
        umask(old);
        EXPECT_EQ(ReadFile(path), "new book");
        EXPECT_EQ(ReadFile(dir / "fresh.epub"), "fresh");
        struct stat st {};
        ASSERT_EQ(stat((dir / "fresh.epub").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u);
        EXPECT_EQ(EntriesIn(dir.path()), 2u);
    }
}

TEST(AtomicFile, FailuresComeBackWithTheirCause) {
    TempDir dir;
    AtomicFile nowhere;
    EXPECT_EQ(nowhere.Open(dir / "no-such-folder/book.epub").error(), ENOENT);
    EXPECT_FALSE(nowhere.IsOpen());
    // A folder in the way: the rename fails, the folder stays, the temporary goes.
    const std::string folder = dir / "taken.epub";
    std::filesystem::create_directory(folder);
    WriteFile(folder + "/inside", "keep");
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(folder).ok());
        ASSERT_TRUE(file.Write("data").ok());
        const FileStatus status = file.Commit();
        EXPECT_EQ(status.kind(), FileStatus::Kind::kSystem);
        EXPECT_NE(status.error(), 0);
    }
    EXPECT_EQ(ReadFile(folder + "/inside"), "keep");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace fileio
