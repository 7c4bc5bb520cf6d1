#pragma once
// The book's title and author. The document's own title wins unless it is only the source's
// file name, which our staging writes there ("my_story.txt"). Otherwise a short, title-like
// first line wins when chapters or a "by ..." line follow it; that line becomes a level-1
// heading at the start of the book, so it is shown as a title and never lost. The file name,
// tidied ("my story"), is the last resort. A "by ..." line under the title names the author
// and stays in the text.

#include <optional>
#include <string>
#include <string_view>

#include "doclib/Document.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// True when `title` is a bare file name with an extension ("my_story.txt", "Notes.md").
bool LooksLikeFileName(std::string_view title);

// "my_story.txt" -> "my story", "the.long.walk.txt" -> "the long walk".
std::string TidyFileName(std::string_view fileName);

// The author named by a "by ..." line, or nothing when the line is not one.
std::optional<std::string> AuthorFromByLine(std::string_view trimmed);

// The author named under a by-word standing alone on its line ("BY" over "MIRA OSS"), or
// nothing when `byLine` is no such word or `nameLine` no name.
std::optional<std::string> AuthorUnderByWord(std::string_view byLine, std::string_view nameLine);

// A line that can be a book's title: short, a few words, not a sentence, not part of a
// wrapped paragraph.
bool IsTitleShaped(const LineFacts& line, std::string_view text, const DocumentShape& shape,
                   const LineScan& scan, std::size_t index);

// "《星河旧梦》" -> "星河旧梦": book-title marks that wrap the whole title go; the title is
// returned as it is otherwise.
std::string WithoutTitleMarks(std::string_view title);

// The text on one line, its runs of blanks one space.
std::string CollapseBlanks(std::string_view text);

// Sets doc.metadata.title (and author when a by-line gives one) and marks a first line taken as
// the title as a level-1 heading in `marks`, which already holds the detected chapters.
void DecideTitle(Document& doc, const LineScan& scan, const DocumentShape& shape, LineMarks& marks);

}  // namespace Tessaly::Docs
