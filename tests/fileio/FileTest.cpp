#include "fileio/File.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "tests/support/TempHome.h"

namespace fileio {
namespace {

namespace fs = std::filesystem;
using quillane::test::ReadFile;
using quillane::test::TempDir;
using quillane::test::WriteFile;

std::string Read(const std::string& path, std::uint64_t limit, FileStatus& status) {
    std::string bytes;
    status = ReadRegularFile(path, limit, bytes);
    return bytes;
}

// A pipe without a writer would block a plain open forever, and /dev/zero would fill memory;
// both are refused at once, as is a folder.
TEST(ReadRegularFile, RefusesWhatIsNoRegularFileWithoutWaitingOnIt) {
    TempDir dir;
    const std::string fifo = dir / "pipe.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(dir / "folder.txt");
    FileStatus status;
    Read(fifo, 1 << 20, status);
    EXPECT_EQ(status.kind(), FileStatus::Kind::kNotRegularFile);
    EXPECT_EQ(status.Describe(), "it is a named pipe, not a regular file");
    Read("/dev/zero", 1 << 20, status);
    EXPECT_EQ(status.Describe(), "it is a device, not a regular file");
    Read(dir / "folder.txt", 1 << 20, status);
    EXPECT_EQ(status.Describe(), "it is a folder, not a regular file");
    Read(dir / "missing", 1 << 20, status);
    EXPECT_EQ(status.kind(), FileStatus::Kind::kSystem);
    EXPECT_EQ(status.error(), ENOENT);
    Read("", 1 << 20, status);
    EXPECT_EQ(status.error(), ENOENT);
    // A link to a pipe is judged by what it leads to.
    fs::create_symlink(fifo, dir / "link.txt");
    Read(dir / "link.txt", 1 << 20, status);
    EXPECT_EQ(status.kind(), FileStatus::Kind::kNotRegularFile);
}

TEST(ReadRegularFile, ReadsEveryByteUpToTheLimitAndNoFurther) {
    TempDir dir;
    std::string bytes("\0\xff\r\n", 4);
    bytes += std::string(300'000, 'q');  // several reads
    WriteFile(dir / "text", bytes);
    FileStatus status;
    EXPECT_EQ(Read(dir / "text", bytes.size(), status), bytes);
    EXPECT_TRUE(status.ok());
    Read(dir / "text", bytes.size() - 1, status);
    EXPECT_EQ(status.kind(), FileStatus::Kind::kTooLarge);
    EXPECT_EQ(FileStatus::TooLarge(1 << 30).Describe(), "it is larger than 1024 MiB");
    WriteFile(dir / "empty", "");
    EXPECT_EQ(Read(dir / "empty", 0, status), "");
    EXPECT_TRUE(status.ok());
    // A file whose size the system does not know ahead is read to its end all the same.
    EXPECT_NE(Read("/proc/self/status", 1 << 20, status).find("Pid:"), std::string::npos);
    EXPECT_TRUE(status.ok());
}

TEST(WriteNewFile, WritesExactBytesWithTheModeAndNeverReplaces) {
    TempDir dir;
    const mode_t old = umask(077);
    const FileStatus written = WriteNewFile(dir / "tool", "#!/bin/sh\n", 0700);
    const FileStatus library = WriteNewFile(dir / "lib", std::string(200'000, 'L'), 0644);
    umask(old);
    ASSERT_TRUE(written.ok());
    ASSERT_TRUE(library.ok());
    EXPECT_EQ(fs::status(dir / "tool").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(dir / "lib").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    EXPECT_EQ(ReadFile(dir / "lib"), std::string(200'000, 'L'));

    EXPECT_EQ(WriteNewFile(dir / "tool", "other", 0700).error(), EEXIST);
    EXPECT_EQ(ReadFile(dir / "tool"), "#!/bin/sh\n");
    // A link planted at the path is not written through.
    fs::create_symlink(dir / "target", dir / "planted");
    EXPECT_EQ(WriteNewFile(dir / "planted", "x", 0600).error(), EEXIST);
    EXPECT_FALSE(fs::exists(dir / "target"));
}

TEST(WriteNewFile, AFailedWriteLeavesNoFile) {
    TempDir dir;
    // The file size limit makes the write fail part-way (EFBIG) instead of ending the process.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    const rlimit small{4096, oldLimit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const FileStatus status = WriteNewFile(dir / "big", std::string(100'000, 'b'), 0600);
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ(status.error(), EFBIG);
    EXPECT_FALSE(fs::exists(dir / "big"));
}

TEST(File, ClosesOnceAndMovesOwnership) {
    TempDir dir;
    File file;
    ASSERT_TRUE(CreateNewFile(dir / "a", 0600, file).ok());
    const int fd = file.descriptor();
    File moved(std::move(file));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(moved.descriptor(), fd);
    EXPECT_TRUE(moved.WriteAll("abc").ok());
    EXPECT_TRUE(moved.Close().ok());
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_TRUE(moved.Close().ok());  // a second close does nothing
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(ReadFile(dir / "a"), "abc");
    File truncating;
    ASSERT_TRUE(CreateOrTruncateFile(dir / "a", 0600, truncating).ok());
    EXPECT_TRUE(truncating.WriteAll("x").ok());
    truncating = File();
    EXPECT_EQ(ReadFile(dir / "a"), "x");
}

}  // namespace
}  // namespace fileio
