// libFuzzer target for Markdown's whole path: any bytes, as a source named ".md" beside a few
// pictures, must make the same book through the window (read, staged, then converted) as the
// converter makes of the file itself; that book must open (tests/fuzz/BookChecks.h), and every
// line of plain words in the source must reach it whole.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "convert/StagingText.h"
#include "convert/TextChunks.h"
#include "doclib/DocumentFile.h"
#include "tests/fuzz/BookChecks.h"
#include "text/Utf8.h"

namespace {

using quillane::fuzz::LettersOf;
using quillane::fuzz::Require;

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The folder of the source, with pictures that inputs may name: a real PNG, a JPEG that is
// not one, and an SVG.
const std::string& SourceFolder() {
    static const std::string folder = [] {
        // Same document, same book: identifiers and dates come from the content.
        setenv("SOURCE_DATE_EPOCH", "0", 1);
        const std::string& work = quillane::fuzz::WorkFolder();
        static constexpr unsigned char kPng[] = {
            0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
            0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
            0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
            0x9C, 0x63, 0x60, 0x60, 0x60, 0xF8, 0x0F, 0x00, 0x01, 0x04, 0x01, 0x00, 0x5F, 0xE5,
            0xC3, 0x4B, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
        WriteFile(work + "/a.png",
                  std::string_view(reinterpret_cast<const char*>(kPng), sizeof kPng));
        WriteFile(work + "/b.jpg", "not a picture at all");
        WriteFile(work + "/c.svg",
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">"
                  "<rect width=\"4\" height=\"4\"/></svg>");
        return work;
    }();
    return folder;
}

struct Staged {
    std::string path;
    std::string text;  // the source's characters as UTF-8
};

// The window's path: the source's text read and staged as "Start Converting" stages it.
Staged StageAsTheWindowDoes(const std::string& source) {
    quillane::StagingText staging;
    for (const std::string& chunk : quillane::ReadTextChunks(source)) {
        staging.Append(chunk);
    }
    staging.SetSourcePath(source);
    const std::string staged = SourceFolder() + "/run/temp.rtf";
    staging.SaveFile(staged, "fuzz input.md");
    return {staged, staging.Text()};
}

// The book, named as both paths name it (a title may come from the name), in `folder`.
std::string Book(const Tessaly::Docs::Document& doc, const char* folder) {
    std::filesystem::create_directories(SourceFolder() + "/" + folder);
    const std::string path = SourceFolder() + "/" + folder + "/fuzz input.epub";
    try {
        Tessaly::Docs::SaveDocument(doc, path);
    } catch (const Tessaly::Docs::DocumentError&) {
        Require(false, "the book could not be written");
    }
    return path;
}

// True when an HTML tag opens on a line and does not close on it: the lines after it may be
// its attributes ("<div class=\"a" NEWLINE "words" NEWLINE "b\">"), which no reader shows.
bool HasTagOverLines(std::string_view text) {
    std::size_t open = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const char next = text[i + 1];
        if (text[i] == '<' && ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))) {
            open = i;
        } else if (text[i] == '>') {
            open = std::string_view::npos;
        } else if (text[i] == '\n' && open != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// A line of nothing but ASCII letters, digits and spaces is prose in any Markdown block that
// shows its text. Inputs with constructs that legitimately hide such a line (front matter,
// comments and declarations, link definitions whose title runs over lines, tags whose
// attributes do) are not judged.
void RequirePlainLinesKept(std::string_view text, const std::u32string& bookLetters) {
    if (text.rfind("---", 0) == 0 || text.rfind("+++", 0) == 0 ||
        text.find("<!") != std::string_view::npos || text.find("<?") != std::string_view::npos ||
        text.find("]:") != std::string_view::npos || HasTagOverLines(text)) {
        return;
    }
    std::size_t from = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        bool plain = true;
        bool letter = false;
        for (const char c : line) {
            const bool isLetter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            letter = letter || isLetter;
            plain = plain && (isLetter || (c >= '0' && c <= '9') || c == ' ');
        }
        if (!plain || !letter) {
            continue;
        }
        const std::u32string run = LettersOf(line);
        const std::size_t at = bookLetters.find(run, from);
        Require(at != std::u32string::npos, "a line of plain words is missing from the book");
        from = at + run.size();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& folder = SourceFolder();
    const std::string source = folder + "/fuzz input.md";
    WriteFile(source, std::string_view(reinterpret_cast<const char*>(data), size));
    std::filesystem::create_directories(folder + "/run");

    bool refused = false;
    Tessaly::Docs::Document direct;
    try {
        direct = Tessaly::Docs::OpenDocument(source);
    } catch (const Tessaly::Docs::DocumentError&) {
        refused = true;  // not a text file: the window must refuse it too
    }
    Staged staged;
    try {
        staged = StageAsTheWindowDoes(source);
    } catch (const std::exception&) {
        Require(refused, "the window refused a source the converter read");
        return 0;
    }
    Require(!refused, "the converter refused a source the window read");
    Tessaly::Docs::Document windowed;
    try {
        windowed = Tessaly::Docs::OpenDocument(staged.path);
    } catch (const Tessaly::Docs::DocumentError&) {
        Require(false, "the staged Markdown was refused");
    }

    const std::string directBook = Book(direct, "direct");
    const std::string windowBook = Book(windowed, "window");
    Require(ReadFile(directBook) == ReadFile(windowBook),
            "the window's book differs from the converter's");
    std::filesystem::remove(directBook);

    Require(text::utf8::IsValidUtf8(staged.text), "decoded text is not UTF-8");
    RequirePlainLinesKept(staged.text, LettersOf(quillane::fuzz::CheckedBookText(windowBook)));
    return 0;
}
