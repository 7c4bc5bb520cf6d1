#pragma once
// Documents built the way the reader hands over staged plain text: one Paragraph block per
// line, an empty block for a blank line, spaces kept as written, the file name as title.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"

namespace quillane::test {

Tessaly::Docs::Document StagedDocument(std::string_view text,
                                       const std::string& fileName = "book.txt");

// Greedy hard wrap at `width` columns (ASCII text), a blank line between paragraphs.
std::string HardWrap(const std::vector<std::string>& paragraphs, std::size_t width,
                     bool blankLines = true, const std::string& indent = "");

// The text of every block, in order ("" for a block without spans).
std::vector<std::string> BlockTexts(const Tessaly::Docs::Document& doc);

// The words of the text split at white space, in order.
std::vector<std::string> WordsOf(std::string_view text);
std::vector<std::string> WordsOf(const Tessaly::Docs::Document& doc);

// A heading of a refined document: its text and level.
struct Heading {
    std::string text;
    int level;
    bool operator==(const Heading&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Heading& h);

// The headings of the document, in order.
std::vector<Heading> Headings(const Tessaly::Docs::Document& doc);

// Refines a staged document of `text` and returns it.
Tessaly::Docs::Document Refined(std::string_view text, const std::string& fileName = "book.txt");

}  // namespace quillane::test
