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
    using Tessaly::Docs::AtomicFile;
    const AtomicFile::Staging staging = std::strcmp(argv[1], "named") == 0
                                            ? AtomicFile::Staging::kNamed
                                            : AtomicFile::Staging::kBest;
    AtomicFile file(argv[2], staging);
    file.Write(std::string(1 << 20, 'x'));
    std::printf("%s\n", file.unnamed() ? "unnamed" : "named");
    std::fflush(stdout);
    // Never committed: only a signal ends this.
    for (;;) {
        file.Write(std::string(4096, 'y'));
        ::usleep(10'000);
    }
}
