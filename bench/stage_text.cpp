// Stages one text file exactly as "Start Converting" does (decoding, 256-character chunks, the
// RTF staging document with the file name as its title), so a bench can hand the result to the
// converter and judge the book a user of the window would get.
//
//   stage_text SOURCE.txt OUT.rtf   (a Markdown source, SOURCE.md, is staged as Markdown)
#include <cstdio>
#include <exception>
#include <string>

#include "convert/StagingText.h"
#include "convert/TextChunks.h"
#include "util/PathHelpers.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: stage_text SOURCE.txt OUT.rtf\n", stderr);
        return 2;
    }
    try {
        const std::string source = argv[1];
        quillane::StagingText staging;
        for (const std::string& chunk : quillane::ReadTextChunks(source)) {
            staging.Append(chunk);
        }
        staging.SetSourcePath(source);
        staging.SaveFile(argv[2], quillane::FileNameOf(source));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stage_text: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
