#include "tests/support/Epubcheck.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempHome.h"

extern char** environ;

namespace quillane::test {

namespace {

struct BatchRun {
    int status = -1;
    std::string output;  // standard output and standard error, as the checker wrote them
};

// Runs the batch checker with `list` (one book a line) as its standard input.
BatchRun RunChecker(const std::string& listPath) {
    BatchRun run;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        run.output = "cannot make a pipe for the EPUB checker";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, listPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);

    // Under the C locale Java turns every non-ASCII letter of a book's name into "?"; under a
    // UTF-8 locale a UTF-8 name reaches the file system unchanged.
    std::vector<std::string> env{"LC_ALL=C.UTF-8"};
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::string(*e).rfind("LC_ALL=", 0) != 0) {
            env.emplace_back(*e);
        }
    }
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    // The quick compiler alone and the serial collector: a checker run is short, and the full
    // optimiser and parallel collector only cost CPU time the other tests need.
    std::string java = "java", quick = "-XX:TieredStopAtLevel=1", gc = "-XX:+UseSerialGC",
                cp = "-cp", jar = "/usr/share/java/epubcheck.jar",
                source = QUILLANE_EPUBCHECK_BATCH;
    std::array<char*, 7> argv{java.data(), quick.data(),  gc.data(), cp.data(),
                              jar.data(),  source.data(), nullptr};

    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, "java", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        run.output = "cannot start java for the EPUB checker";
        return run;
    }
    std::array<char, 8192> buffer{};
    for (ssize_t n; (n = read(pipeEnds[0], buffer.data(), buffer.size())) != 0;) {
        if (n > 0) {
            run.output.append(buffer.data(), std::size_t(n));
        } else if (errno != EINTR) {
            break;
        }
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// "fatals=0 errors=2 warnings=1" -> the three counts; false when the line is not that.
bool ReadCounts(const std::string& counts, EpubcheckResult& result) {
    return std::sscanf(counts.c_str(), "fatals=%d errors=%d warnings=%d", &result.fatals,
                       &result.errors, &result.warnings) == 3;
}

}  // namespace

std::vector<EpubcheckResult> RunEpubcheck(const std::vector<std::string>& bookPaths) {
    std::vector<EpubcheckResult> results(bookPaths.size());
    if (bookPaths.empty()) {
        return results;
    }
    TempDir dir;
    std::string list;
    for (std::size_t i = 0; i < bookPaths.size(); ++i) {
        results[i].book = bookPaths[i];
        // The list is one path a line; a path with a line break in it gets no verdict (and so
        // fails) rather than a wrong one. The placeholder keeps the numbering.
        list += bookPaths[i].find('\n') == std::string::npos ? bookPaths[i] : std::string();
        list += "\n";
    }
    WriteFile(dir / "books", list);
    const BatchRun run = RunChecker(dir / "books");

    // Each book's report is framed by "@@book N" and "@@verdict N ..."; whatever lies outside
    // the frames (a crash of the checker itself) goes to every book without a verdict.
    std::istringstream lines(run.output);
    std::string line, outside;
    EpubcheckResult* current = nullptr;
    while (std::getline(lines, line)) {
        std::size_t n = 0;
        if (std::sscanf(line.c_str(), "@@book %zu", &n) == 1 && n < results.size() &&
            results[n].book.find('\n') == std::string::npos) {
            current = &results[n];
        } else if (current != nullptr && line.rfind("@@verdict ", 0) == 0) {
            const std::size_t counts = line.find(' ', 10);
            if (counts != std::string::npos && ReadCounts(line.substr(counts + 1), *current)) {
                current->exitCode = current->fatals + current->errors > 0 ? 1 : 0;
            }
            current = nullptr;
        } else if (current != nullptr) {
            current->output += line + "\n";
        } else {
            outside += line + "\n";
        }
    }
    for (EpubcheckResult& result : results) {
        if (result.exitCode < 0) {
            result.output += "the EPUB checker gave no verdict on " + result.book +
                             " (its exit status " + std::to_string(run.status) + ")\n" + outside;
        }
    }
    return results;
}

EpubcheckResult RunEpubcheck(const std::string& bookPath) {
    return RunEpubcheck(std::vector<std::string>{bookPath}).front();
}

}  // namespace quillane::test
