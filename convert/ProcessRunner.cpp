#include "convert/ProcessRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>

#include "convert/ProgressDisplay.h"
#include "fileio/File.h"
#include "util/AppError.h"

extern char** environ;

namespace quillane {

namespace {

constexpr std::size_t kStandardErrorLimit = 64 * 1024;
// How often the end is looked for where the kernel cannot announce it (no pidfd).
constexpr int kEndPollMilliseconds = 10;

int StartErrorNumber(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return errc::kFileNotFound;
        case EACCES:
        case EPERM:
            return errc::kPermissionDenied;
        default:
            return errc::kDeviceIo;
    }
}

std::vector<std::string> OurEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
    }
    return entries;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// The spawn's file actions and attributes, released on every way out.
struct SpawnSetup {
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

// Starts the program; its standard input and output are the null device and its standard
// error `errorPipe`. Returns 0 or the errno of the failed start.
int Spawn(const Command& command, int errorPipe, pid_t& pid) {
    fileio::File null(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (!null.IsOpen()) {
        return errno;
    }
    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(&setup.actions, null.descriptor(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, null.descriptor(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, errorPipe, STDERR_FILENO);
    // Nothing of ours beyond the three is handed on, whatever its close-on-exec flag.
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, STDERR_FILENO + 1);
    if (!command.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&setup.actions, command.workingFolder.c_str());
    }
    // The program starts with every signal at its default and none blocked, whatever the
    // window's own settings are, so a stop request reaches it and ends it.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> argv;
    argv.reserve(command.arguments.size() + 1);
    argv.push_back(command.program);
    argv.insert(argv.end(), command.arguments.begin(), command.arguments.end());
    std::vector<std::string> envp = ProgramEnvironment(OurEnvironment());
    std::vector<char*> argvPointers = PointersTo(argv);
    std::vector<char*> envpPointers = PointersTo(envp);
    return posix_spawn(&pid, command.program.c_str(), &setup.actions, &setup.attributes,
                       argvPointers.data(), envpPointers.data());
}

// Reads what is there without waiting; false once the writing end is closed.
bool DrainInto(int fd, std::string& text) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            if (text.size() < kStandardErrorLimit) {
                text.append(buffer, std::min(static_cast<std::size_t>(n),
                                             kStandardErrorLimit - text.size()));
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

}  // namespace

void WaitFeedback::Tick(int) {}
void WaitFeedback::Ended() {}
bool WaitFeedback::StopRequested() {
    return false;
}

ProgressFeedback::ProgressFeedback(ProgressDisplay& bar, std::string savedText, int startValue,
                                   int count, WaitSettings settings)
    : WaitFeedback(settings), bar_(bar), animation_(std::move(savedText), startValue, count) {}

void ProgressFeedback::Tick(int tick) {
    const WaitAnimation::Frame frame = animation_.AtTick(tick);
    if (frame.text) {
        bar_.SetText(*frame.text);
    }
    if (frame.value) {
        bar_.SetValue(*frame.value);
    }
}

void ProgressFeedback::Ended() {
    bar_.SetText(animation_.FinalText());
}

std::vector<std::string> ProgramEnvironment(const std::vector<std::string>& environment) {
    std::vector<std::string> kept;
    kept.reserve(environment.size());
    for (const std::string& entry : environment) {
        if (entry.rfind("LD_", 0) == 0 || entry.rfind("GCONV_PATH=", 0) == 0) {
            continue;
        }
        kept.push_back(entry);
    }
    return kept;
}

RunOutcome RunAndWait(const Command& command, WaitFeedback& feedback) {
    RunOutcome outcome;
    outcome.windowStyle = EffectiveWindowStyle(command.windowStyle);

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        outcome.result = kStartErrorBase + StartErrorNumber(errno);
        return outcome;
    }
    fileio::File errorRead(pipeEnds[0]);
    fileio::File errorWrite(pipeEnds[1]);
    pid_t pid = -1;
    if (const int error = Spawn(command, errorWrite.descriptor(), pid); error != 0) {
        outcome.result = kStartErrorBase + StartErrorNumber(error);
        return outcome;
    }
    outcome.started = true;
    errorWrite.Close();
    ::fcntl(errorRead.descriptor(), F_SETFL, O_NONBLOCK);

    QEventLoop loop;
    int status = 0;
    bool ended = false;
    const auto lookForEnd = [&] {
        if (!ended && ::waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
            loop.quit();
        }
    };

    // The kernel announces the end on a pidfd; without one, the end is looked for often.
    fileio::File pidfd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    std::optional<QSocketNotifier> endNotifier;
    QTimer endPoll;
    if (pidfd.IsOpen()) {
        endNotifier.emplace(pidfd.descriptor(), QSocketNotifier::Read);
        QObject::connect(&*endNotifier, &QSocketNotifier::activated, &loop, lookForEnd);
    } else {
        endPoll.setInterval(kEndPollMilliseconds);
        QObject::connect(&endPoll, &QTimer::timeout, &loop, lookForEnd);
        endPoll.start();
    }

    QSocketNotifier errorNotifier(errorRead.descriptor(), QSocketNotifier::Read);
    QObject::connect(&errorNotifier, &QSocketNotifier::activated, &loop, [&] {
        if (!DrainInto(errorRead.descriptor(), outcome.standardError)) {
            errorNotifier.setEnabled(false);
        }
    });

    QTimer killTimer;
    killTimer.setSingleShot(true);
    killTimer.setInterval(kStopGraceMilliseconds);
    QObject::connect(&killTimer, &QTimer::timeout, &loop, [&] {
        if (!ended) {
            ::kill(pid, SIGKILL);
        }
    });

    QTimer ticker;
    ticker.setInterval(feedback.tickMilliseconds());
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        ++outcome.ticks;
        feedback.Tick(outcome.ticks);
        if (!outcome.stopped && !ended && feedback.StopRequested()) {
            outcome.stopped = true;
            ::kill(pid, SIGTERM);
            killTimer.start();
        }
    });

    lookForEnd();
    if (!ended) {
        ticker.start();
        loop.exec();
        ticker.stop();
    }
    if (!ended) {
        // The loop was left some other way (the application quits): the program is not left
        // running unseen.
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    DrainInto(errorRead.descriptor(), outcome.standardError);

    outcome.result = WIFEXITED(status) ? WEXITSTATUS(status) : kCrashedResult;
    feedback.Ended();
    return outcome;
}

}  // namespace quillane
