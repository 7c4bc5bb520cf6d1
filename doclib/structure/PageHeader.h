#pragma once
// The head of a web page as text renderers dump it. Above the page's text stand lines of the
// page's head, not of its text: the XML declaration printed as it stands, the page's links
// ("Link: [1]Manual (start)"). Then a navigation bar repeats the page's heading over its links
// and a rule ("Chapter 2. Tips" / "Prev  Next" / "=====") before the heading itself comes.
// All of it stays text, but none of it titles the book or heads a chapter: the page's one
// heading above all its others does.

#include <cstddef>
#include <optional>
#include <string_view>

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// `trimmed` is only markup: tags of a page with nothing between them, a directive of
// reStructuredText, an image or a badge of Markdown, a converter's placeholder ("[TABLE]").
bool IsMarkupLine(std::string_view trimmed);

// `trimmed` is a line of the page's head: an XML declaration, a link of the page, or markup
// or a lone link that opens the text before its first words.
bool IsPageHeadLine(std::string_view trimmed);

// `trimmed` is a link rather than a line of text: it opens with a renderer's link number
// ("[6]Download"), is a bar of links ("[Prev]  [Up]  [Next]"), or is one link whose spaces the
// renderer wrote as underscores ("Download_the_ebook"), or is one link of Markdown
// ("[Download](https://example.org/get/)").
bool IsLinkLine(std::string_view trimmed);

// Line `i` is a bar of links written as their words, spaced wide, over a rule ("Prev   Next" /
// "=====").
bool IsSpacedBarOverRule(const Document& doc, const LineScan& scan, std::size_t i);

// The first line of the text: past blank lines and the page's head lines.
std::size_t FirstTextLine(const Document& doc, const LineScan& scan);

// The page's heading where nothing but its markup says so: the line under a bar of links (and
// its rule) whose words the head of the page stood above the bar ("Customizing keybindings" /
// "[Prev] Customizing aptitude [Next]" / "=====" / "Customizing keybindings").
std::optional<std::size_t> RepeatedPageHeading(const Document& doc, const LineScan& scan);

// The titles a navigation bar names go back to text: the copy of the page's first heading over
// the bar, and the titles of the pages before and after it beside its links.
void UnmarkNavigationTitles(const Document& doc, const LineScan& scan, LineMarks& marks);

// A book titled by nothing but its file name (`stagedTitle`, as staging named it) is titled by
// its first heading when that opens the text (no running prose above it) and no other heading
// stands at its level or above.
void TitleByFirstHeading(Document& doc, const LineScan& scan, const LineMarks& marks,
                         std::string_view stagedTitle);

}  // namespace Tessaly::Docs
