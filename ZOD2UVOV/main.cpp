// The converter tool: opens a document with the Tessaly library and saves it under the target
// path, whose extension chooses the format. It holds no conversion logic of its own.
#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <string>

#include "ZOD2UVOV/SignalCleanup.h"
#include "ZOD2UVOV/WorkingMemory.h"
#include "doclib/Document.h"

namespace {

// The cause on one line of standard error, so a caller that keeps one line keeps all of it.
int Fail(std::string cause) {
    for (char& c : cause) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    std::fprintf(stderr, "ZOD2UVOV: %s\n", cause.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::puts("Usage: ZOD2UVOV.exe <doc_file> <epub_file>");
        return 0;
    }
    zod2uvov::RemoveTemporaryFilesOnSignals();
    struct stat source {};
    zod2uvov::PrepareWorkingMemory(
        ::stat(argv[1], &source) == 0 && S_ISREG(source.st_mode) ? source.st_size : 0);
    // Arguments after the second are ignored.
    try {
        const Tessaly::Docs::Document doc(argv[1]);
        doc.Save(argv[2]);
    } catch (const std::exception& e) {
        return Fail(e.what());
    } catch (...) {
        return Fail("unknown failure");
    }
    return 0;
}
