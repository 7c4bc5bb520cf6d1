// A stand-in for the converter in the middle of writing a book: it installs the converter's
// signal handling, starts an AtomicFile at the path, writes a first megabyte, says which kind
// of temporary it writes to ("named" or "unnamed") and keeps writing until a signal ends it.
//
// Usage: slow_book_writer named|best <book path>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ZOD2UVOV/SignalCleanup.h"
#include "fileio/AtomicFile.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    zod2uvov::RemoveTemporaryFilesOnSignals();
    using fileio::AtomicFile;
    const AtomicFile::Staging staging = std::strcmp(argv[1], "named") == 0
                                            ? AtomicFile::Staging::kNamed
                                            : AtomicFile::Staging::kBest;
    AtomicFile file;
    if (!file.Open(argv[2], staging).ok() || !file.Write(std::string(1 << 20, 'x')).ok()) {
        return 1;
    }
    std::printf("%s\n", file.unnamed() ? "unnamed" : "named");
    std::fflush(stdout);
    // Never committed: only a signal ends this.
    for (;;) {
        if (!file.Write(std::string(4096, 'y')).ok()) {
            return 1;
        }
        ::usleep(10'000);
    }
}
