#pragma once
// Documents built in memory for the writer's tests, and a look at the books they become.

#include <string>
#include <vector>

#include "doclib/Document.h"
#include "tests/doclib/epub/ZipReading.h"

namespace quillane::test {

void AddBlock(Tessaly::Docs::Document& doc, Tessaly::Docs::BlockKind kind, std::uint8_t level,
              const std::string& text);

// Adds a footnote of one paragraph and returns its index.
std::uint32_t AddNote(Tessaly::Docs::Document& doc, const std::string& text);

// A generated novel: `parts` parts of `chapters` chapters, each with paragraphs of made-up
// sentences until the chapter holds about `chapterBytes` of text, and a scene break midway.
Tessaly::Docs::Document MakeNovel(int parts, int chapters, std::size_t chapterBytes);

// The document's body text in order (headings and paragraphs), as ContentText reads it back.
std::string BodyText(const Tessaly::Docs::Document& doc);

// Writes the document and reads the book back.
std::vector<ZipEntryInfo> WriteAndRead(const Tessaly::Docs::Document& doc, const std::string& path);

// The names of the content files, in container order.
std::vector<std::string> ContentFiles(const std::vector<ZipEntryInfo>& entries);

// The text between the first `open` and the `close` after it; empty when absent.
std::string Between(const std::string& text, const std::string& open, const std::string& close);

}  // namespace quillane::test
