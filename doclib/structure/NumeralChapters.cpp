#include "doclib/structure/NumeralChapters.h"

#include <algorithm>
#include <string>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

std::vector<ChapterHeading> WithoutStrayNumerals(const Document& doc,
                                                 std::vector<ChapterHeading> chapters) {
    BlockTextReader reader(doc);
    std::string spaced;
    std::string scratch;
    std::vector<bool> bare(chapters.size(), false);
    std::size_t count = 0;
    bool first = false;
    for (std::size_t k = 0; k < chapters.size(); ++k) {
        const std::string_view text =
            utf8::Trim(WithPlainSpaces(reader.Text(doc.blocks[chapters[k].line]), spaced));
        const std::optional<ChapterLineMatch> match = MatchChapterLine(text, scratch);
        if (match && match->bareNumeral) {
            bare[k] = true;
            ++count;
            first = first || match->number == 1;
        }
    }
    if (count >= 2 && first) {
        return chapters;
    }
    std::size_t kept = 0;
    for (std::size_t k = 0; k < chapters.size(); ++k) {
        if (!bare[k]) {
            chapters[kept++] = chapters[k];
        }
    }
    chapters.resize(kept);
    return chapters;
}

std::vector<ChapterHeading> WithSectionsNested(const Document& doc,
                                               std::vector<ChapterHeading> chapters) {
    BlockTextReader reader(doc);
    std::string spaced;
    std::string scratch;
    int chapterLevel = 0;  // of the last chapter line that is no section; 0 before the first
    for (ChapterHeading& heading : chapters) {
        const std::string_view text =
            utf8::Trim(WithPlainSpaces(reader.Text(doc.blocks[heading.line]), spaced));
        const std::optional<ChapterLineMatch> match = MatchChapterLine(text, scratch);
        if (match && match->section) {
            if (chapterLevel > 0) {
                heading.level = static_cast<std::uint8_t>(std::min(chapterLevel + 1, 6));
            }
        } else if (heading.kind == DivisionKind::Chapter) {
            chapterLevel = heading.level;
        }
    }
    return chapters;
}

}  // namespace Tessaly::Docs
