#pragma once
// Markdown (CommonMark with the GitHub extensions: tables, strikethrough, autolinks, task lists)
// read into the document model, so that headings, emphasis, code, quotes, lists, tables, links
// and local images keep their meaning in the book.

#include <string>

#include "doclib/Document.h"

namespace Tessaly::Docs {

struct MarkdownSource {
    // The source's text, already decoded to UTF-8 (no byte-order mark).
    std::string text;
    // The absolute folder of the source file, where relative image paths are looked up; empty
    // when the source has no folder of its own, and then no local image is carried.
    std::string folder;
};

// Never throws on malformed Markdown: it is read as CommonMark reads it. Nesting is bounded.
Document ReadMarkdown(const MarkdownSource& source);

}  // namespace Tessaly::Docs
