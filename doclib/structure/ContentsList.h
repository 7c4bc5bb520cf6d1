#pragma once
// The document's own table of contents: a "Contents" line ("Table of Contents", "Inhalt",
// "Sommaire", "目次", ...) and the entries under it, up to the first blank line. The list stays
// in the book as text; its entries tell which lines of the body are headings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"

namespace Tessaly::Docs {

struct ContentsEntry {
    std::uint32_t line = 0;  // the entry's first line; a wrapped entry goes on below, deeper
    std::uint32_t lines = 1;
    std::uint16_t indent = 0;
    std::string key;  // the entry's words, one space apart, without leader dots or page number
};

struct ContentsList {
    std::uint32_t heading = 0;  // the "Contents" line
    std::uint32_t end = 0;      // one past the last entry line
    std::vector<ContentsEntry> entries;
    bool plain = false;  // untitled, its entries plain lines: every one must come back
};

// True when `trimmed` names a table of contents.
bool IsContentsTitle(std::string_view trimmed);

// The words of an entry or a heading line as they are compared: a list marker before them, the
// leader dots and a trailing page number after them removed, blanks collapsed to one space,
// letters folded to one case.
std::string ContentsKey(std::string_view text);

// The lists of contents: those under a "Contents" line or, where there is none, a list of
// items whose entries come back later, in order, as lines of their own (a page's list of
// links to its sections).
std::vector<ContentsList> FindContentsLists(const Document& doc, const LineScan& scan);

// The first of a document's first few lists of items whose entries come back so.
std::optional<ContentsList> FindUntitledList(const Document& doc, const LineScan& scan);

}  // namespace Tessaly::Docs
