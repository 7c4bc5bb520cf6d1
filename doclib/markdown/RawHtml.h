#pragma once
// Raw HTML inside Markdown, mapped onto the document: a safe subset keeps its meaning (line
// breaks, sub- and superscript, keyboard input, emphasis, code, web links, images as Markdown's,
// disclosure blocks, headings), wrappers that only lay out (p, div, center, span) keep their
// content, comments are hidden, and every other tag is shown as the text it is. Nothing of it
// reaches the book as markup.

#include <string_view>

#include "doclib/markdown/MarkdownBuilder.h"

namespace Tessaly::Docs {

// `html` is a whole raw HTML block (`block`) or the inline HTML of a paragraph.
void ApplyRawHtml(std::string_view html, bool block, MarkdownBuilder& builder);

}  // namespace Tessaly::Docs
