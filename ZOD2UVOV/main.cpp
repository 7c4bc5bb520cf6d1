#include <cstdio>

#include "doclib/Document.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::puts("Usage: ZOD2UVOV.exe <doc_file> <epub_file>");
        return 0;
    }
    try {
        Tessaly::Docs::Document doc(argv[1]);
        doc.Save(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ZOD2UVOV: %s\n", e.what());
        return 1;
    }
    return 0;
}
