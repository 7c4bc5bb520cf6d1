// libFuzzer target for the whole text path: any bytes, read as a plain-text source, must give
// a book a reader can open (tests/fuzz/BookChecks.h), and the book's text must hold the
// decoded source letter by letter.

#include <cstddef>
#include <cstdint>
#include <string>

#include "doclib/epub/EpubWriter.h"
#include "tests/fuzz/BookChecks.h"
#include "tests/fuzz/TextPath.h"
#include "text/Utf8.h"

using quillane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    quillane::fuzz::TextSource source;
    try {
        source = quillane::fuzz::ReadTextSource(std::move(bytes), "fuzz input.txt");
    } catch (const Tessaly::Docs::DocumentError&) {
        Require(false, "plain text was refused");
    }
    Require(text::utf8::IsValidUtf8(source.text), "decoded text is not UTF-8");

    const std::string path = quillane::fuzz::WorkFolder() + "/book.epub";
    try {
        Tessaly::Docs::WriteEpub(source.document, path);
    } catch (const Tessaly::Docs::DocumentError&) {
        Require(false, "the book could not be written");
    }
    const std::string bookText = quillane::fuzz::CheckedBookText(path);
    Require(quillane::fuzz::LettersOf(source.text) == quillane::fuzz::LettersOf(bookText),
            "the book's letters differ from the source's");
    return 0;
}
