#include "text/PlainTextLines.h"

#include <array>

namespace text {

namespace {

// Bytes that end a run: every control character. UTF-8 lead and trail bytes are never below
// 0x80, so a run never ends inside a character.
constexpr std::array<bool, 256> kEndsRun = [] {
    std::array<bool, 256> ends{};
    for (int b = 0; b < 0x20; ++b) {
        ends[b] = true;
    }
    return ends;
}();

}  // namespace

void WalkPlainText(std::string_view utf8, bool paragraphs, PlainTextSink& sink) {
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    bool lineOpen = false;
    while (i < n) {
        std::size_t run = i;
        while (run < n && !kEndsRun[static_cast<unsigned char>(utf8[run])]) {
            ++run;
        }
        if (run > i) {
            sink.Text(utf8.substr(i, run - i));
            lineOpen = true;
            i = run;
            continue;
        }
        const char c = utf8[i];
        if (c == '\r' || c == '\n') {
            if (paragraphs) {
                sink.EndLine();
                lineOpen = false;
            }
            i += (c == '\r' && i + 1 < n && utf8[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        lineOpen = true;
        switch (c) {
            case '\t':
                sink.Tab();
                break;
            case '\f':
                sink.PageBreak();
                break;
            case '\v':
                sink.LineBreak();
                break;
            default:
                break;
        }
        ++i;
    }
    if (paragraphs && lineOpen) {
        sink.EndLine();
    }
}

}  // namespace text
