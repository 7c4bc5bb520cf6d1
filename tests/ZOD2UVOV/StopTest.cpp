// A converter stopped by a signal in the middle of writing leaves nothing beside the book: no
// hidden temporary, and an earlier book at the path exactly as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/support/BuiltPrograms.h"
#include "tests/support/TempHome.h"

using namespace quillane::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> EntriesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    return names;
}

// A started program whose standard output the test reads.
struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child Start(const std::vector<std::string>& argv) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ends[1], STDOUT_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(ends[1]);
    return {pid, ends[0]};
}

std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

// The signal that ended the child, or -1 when it exited.
int EndingSignal(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

// True once the process holds a file open inside `folder` (a book being written).
bool WritesInto(pid_t pid, const std::string& folder) {
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const fs::path target = fs::read_symlink(fd.path(), error);
        if (!error && target.string().rfind(folder + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

// A staged document large enough that the converter is seen writing it.
void WriteLargeRtf(const std::string& path) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n\\pard\\plain\\f0 ";
    const char* words[] = {"lantern", "harbour", "keeper", "stairs", "water", "morning", "gull"};
    unsigned k = 0;
    while (rtf.size() < 12'000'000) {
        for (int w = 0; w < 12; ++w) {
            rtf += words[(k = k * 1103515245u + 12345u) % 7];
            rtf += ' ';
        }
        rtf += "end.\\par\n";
    }
    WriteFile(path, rtf + "}\n");
}

}  // namespace

TEST(StoppedConverter, ASignalRemovesTheNamedTemporaryAndKeepsTheOldBook) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        TempDir books;
        WriteFile(books / "book.epub", "the earlier book");
        const Child child = Start({BinDir() + "/slow_book_writer", "named", books / "book.epub"});
        ASSERT_EQ(ReadLine(child.out), "named");
        // The hidden temporary really is there while the book is written.
        EXPECT_EQ(EntriesIn(books.path()).size(), 2u);
        kill(child.pid, signal);
        EXPECT_EQ(EndingSignal(child.pid), signal) << "the signal must still end the process";
        close(child.out);
        EXPECT_EQ(EntriesIn(books.path()), std::vector<std::string>{"book.epub"}) << signal;
        EXPECT_EQ(ReadFile(books / "book.epub"), "the earlier book");
    }
}

TEST(StoppedConverter, AnUnnamedBookLeavesNothingEvenWhenKilled) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        TempDir books;
        const Child child = Start({BinDir() + "/slow_book_writer", "best", books / "book.epub"});
        const std::string kind = ReadLine(child.out);
        if (kind != "unnamed") {
            kill(child.pid, SIGKILL);
            EndingSignal(child.pid);
            GTEST_SKIP() << "the test folder's file system has no unnamed files";
        }
        EXPECT_TRUE(EntriesIn(books.path()).empty());
        kill(child.pid, signal);
        EXPECT_EQ(EndingSignal(child.pid), signal);
        close(child.out);
        EXPECT_TRUE(EntriesIn(books.path()).empty()) << signal;
    }
}

// The real converter, caught while it writes a large book.
TEST(StoppedConverter, TheConverterStoppedMidWriteLeavesNothingBesideTheBook) {
    TempDir staged;
    WriteLargeRtf(staged / "temp.rtf");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        TempDir books;
        WriteFile(books / "book.epub", "the earlier book");
        const Child child =
            Start({BinDir() + "/ZOD2UVOV.exe", staged / "temp.rtf", books / "book.epub"});
        bool caught = false;
        while (!caught) {
            caught = WritesInto(child.pid, books.path());
            int status = 0;
            if (!caught && waitpid(child.pid, &status, WNOHANG) == child.pid) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ASSERT_TRUE(caught) << "the converter finished before it was seen writing";
        kill(child.pid, signal);
        EXPECT_EQ(EndingSignal(child.pid), signal);
        close(child.out);
        EXPECT_EQ(EntriesIn(books.path()), std::vector<std::string>{"book.epub"}) << signal;
        EXPECT_EQ(ReadFile(books / "book.epub"), "the earlier book");
    }
}
