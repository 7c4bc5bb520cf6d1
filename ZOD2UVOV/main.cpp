// The converter tool: opens a document with the Tessaly library and saves it under the target
// path, whose extension chooses the format. It holds no conversion logic of its own.
#include <malloc.h>

#include <cstdio>
#include <exception>
#include <string>

#include "ZOD2UVOV/SignalCleanup.h"
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
    // A conversion lives in a few whole-text buffers (the file, the document, the rebuilt
    // document, the book's pages), each freed before the next of its size is made. Kept in the
    // heap rather than handed back to the system, a freed buffer is reused as it is instead of
    // being faulted in afresh page by page.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
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
