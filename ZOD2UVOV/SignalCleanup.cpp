#include "ZOD2UVOV/SignalCleanup.h"

#include <signal.h>

#include "fileio/AtomicFile.h"

namespace zod2uvov {

namespace {

// Every signal whose default action ends the process and that nothing else of ours handles
// (the sanitizers keep the crash signals for their reports).
constexpr int kEndingSignals[] = {SIGTERM, SIGINT,  SIGHUP,  SIGQUIT, SIGPIPE, SIGXFSZ,
                                  SIGXCPU, SIGALRM, SIGUSR1, SIGUSR2, SIGABRT};

extern "C" void RemoveAndEnd(int signal) {
    fileio::RemoveUncommittedFiles();
    // The handler was reset on entry: raised again, the signal ends the process once this
    // returns, so the caller sees how it ended.
    ::raise(signal);
}

}  // namespace

void RemoveTemporaryFilesOnSignals() {
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace zod2uvov
