// The converter tool as the program runs it: a separate process with two paths.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/BuiltPrograms.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/TempHome.h"

using namespace quillane::test;
namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status = -1;  // exit status, or -1 when killed by a signal
    std::string out;
    std::string err;
};

// Runs `program` with `args`; `fileSizeLimit` > 0 caps the size of any file it writes.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& args,
                const std::string& workDir, rlim_t fileSizeLimit = 0) {
    TempDir io;
    const std::string outPath = io / "out";
    const std::string errPath = io / "err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(workDir.c_str()) != 0) {
            _exit(126);
        }
        if (fileSizeLimit > 0) {
            // The write fails with EFBIG instead of killing the process.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        unsetenv("LD_LIBRARY_PATH");  // the tool must find its library by itself
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}

std::string Tool() {
    return BinDir() + "/ZOD2UVOV.exe";
}

// A document in the shape the program's staging writes.
std::string StagedRtf(const std::string& fileName, const std::vector<std::string>& lines) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "{\\info{\\title " +
        fileName + "}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (const std::string& line : lines) {
        rtf += line + "\\par\r\n";
    }
    return rtf + "}\r\n";
}

std::string GoodRtf() {
    return StagedRtf(
        "my_story.txt",
        {"The Lighthouse", "", "Chapter 1", "", "The keeper climbed the stairs.",
         "Caf\\'e9 and na\\u239?ve words.", "", "Chapter 2", "", "Morning came over the water."});
}

bool IsOneLine(const std::string& s) {
    return !s.empty() && s.back() == '\n' && s.find('\n') == s.size() - 1;
}

std::size_t FilesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

}  // namespace

TEST(Tool, BuiltBesideItsLibrary) {
    ASSERT_FALSE(BinDir().empty()) << "QUILLANE_BIN_DIR not set";
    EXPECT_TRUE(fs::exists(Tool()));
    EXPECT_TRUE(fs::exists(BinDir() + "/Tessaly.Docs.dll"));
}

TEST(Tool, FewerThanTwoArgumentsPrintUsageAndSucceed) {
    TempDir dir;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{dir / "only.rtf"}}) {
        const ToolRun run = RunTool(Tool(), args, dir.path());
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "Usage: ZOD2UVOV.exe <doc_file> <epub_file>\n");
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(FilesIn(dir.path()), 0u);
}

TEST(Tool, MissingSourceFailsWithOneLineAndNoBook) {
    TempDir dir;
    WriteFile(dir / "old.epub", "existing book");
    const ToolRun run = RunTool(Tool(), {dir / "missing.rtf", dir / "old.epub"}, dir.path());
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_EQ(ReadFile(dir / "old.epub"), "existing book");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(Tool, SourceThatIsNotTextFails) {
    // An image renamed .txt is refused, not turned into a book of noise.
    TempDir dir;
    WriteFile(dir / "photo.txt", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10", 20));
    const ToolRun run = RunTool(Tool(), {dir / "photo.txt", dir / "out.epub"}, dir.path());
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("not a text file"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "out.epub"));
}

TEST(Tool, PlainTextMakesACheckedBook) {
    // The format is recognised from the content: plain text, whatever the file is called.
    TempDir dir;
    WriteFile(dir / "notes.rtf", "Just some plain text, not a rich text document.\n");
    const ToolRun run = RunTool(Tool(), {dir / "notes.rtf", dir / "notes.epub"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    const EpubcheckResult check = RunEpubcheck(dir / "notes.epub");
    EXPECT_TRUE(check.Clean()) << check.output;
}

TEST(Tool, GoodConversionPassesTheChecker) {
    TempDir dir;
    WriteFile(dir / "temp.rtf", GoodRtf());
    const ToolRun run = RunTool(Tool(), {dir / "temp.rtf", dir / "my story.epub"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const EpubcheckResult check = RunEpubcheck(dir / "my story.epub");
    EXPECT_TRUE(check.Clean()) << check.output;
}

TEST(Tool, ArgumentsBeyondTheSecondAreIgnored) {
    TempDir dir;
    WriteFile(dir / "temp.rtf", GoodRtf());
    const ToolRun run =
        RunTool(Tool(), {"temp.rtf", "book.epub", "third.epub", "--fourth"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "book.epub"));
    EXPECT_FALSE(fs::exists(dir / "third.epub"));
    EXPECT_EQ(FilesIn(dir.path()), 2u);
}

TEST(Tool, UnwritableTargetFailsAndLeavesTheOldFile) {
    TempDir dir;
    WriteFile(dir / "temp.rtf", GoodRtf());
    // A folder that does not exist.
    const ToolRun missing =
        RunTool(Tool(), {dir / "temp.rtf", dir / "no-folder/book.epub"}, dir.path());
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(missing.err, "ZOD2UVOV: cannot create '" + (dir / "no-folder/book.epub") +
                               "': No such file or directory\n");
    // A disk that fills up while the book is written: the old book stays as it was, and no
    // half-written temporary is left beside it.
    const std::string old(20'000, 'o');
    WriteFile(dir / "book.epub", old);
    const ToolRun full = RunTool(Tool(), {dir / "temp.rtf", dir / "book.epub"}, dir.path(), 1000);
    EXPECT_NE(full.status, 0);
    EXPECT_TRUE(IsOneLine(full.err)) << full.err;
    EXPECT_NE(full.err.find("File too large"), std::string::npos) << full.err;
    EXPECT_EQ(ReadFile(dir / "book.epub"), old);
    EXPECT_EQ(FilesIn(dir.path()), 2u);
    // A target whose extension names no format the library writes.
    const ToolRun wrong = RunTool(Tool(), {dir / "temp.rtf", dir / "book.pdf"}, dir.path());
    EXPECT_NE(wrong.status, 0);
    EXPECT_TRUE(IsOneLine(wrong.err)) << wrong.err;
    EXPECT_FALSE(fs::exists(dir / "book.pdf"));
}

TEST(Tool, RunsFromAnyFolderWithItsLibraryBesideIt) {
    TempDir deploy;
    fs::copy_file(Tool(), deploy / "ZOD2UVOV.exe");
    fs::copy_file(BinDir() + "/Tessaly.Docs.dll", deploy / "Tessaly.Docs.dll");
    WriteFile(deploy / "temp.rtf", GoodRtf());
    TempDir elsewhere;
    const ToolRun run = RunTool(deploy / "ZOD2UVOV.exe",
                                {deploy / "temp.rtf", elsewhere / "out.epub"}, elsewhere.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(elsewhere / "out.epub"));
    // Without the library beside it, it cannot start: the copy really used its own folder.
    fs::remove(deploy / "Tessaly.Docs.dll");
    const ToolRun alone = RunTool(deploy / "ZOD2UVOV.exe", {}, elsewhere.path());
    EXPECT_NE(alone.status, 0);
}
