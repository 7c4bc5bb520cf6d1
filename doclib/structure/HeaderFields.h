#pragma once
// The lines in which a free-books library's text names itself: the fields of its header
// ("Title: …", "Author: …", "Translator: …", "Language: …") and the first line of its older
// headers ("The … EBook of TITLE, by AUTHOR", "**The … Etext of TITLE, by AUTHOR**",
// "…'s TITLE, by AUTHOR"). Only single lines are judged here; where the header lies is the
// frame's question.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Tessaly::Docs {

enum class HeaderField : unsigned char {
    Title,
    Author,
    Translator,
    Editor,
    Illustrator,
    Language,
    Other,  // "Release date:", "Credits:", "Character set encoding:" and the like
};

struct FieldLine {
    HeaderField field = HeaderField::Other;
    std::string_view value;  // trimmed, may be empty
};

// A "Name: value" line whose name is one to four words; `trimmed` has no outer blanks.
std::optional<FieldLine> MatchHeaderField(std::string_view trimmed);

// The people a field or a by-line names: "A and B", "A, B and C", "A & B", "A; B". A suffix
// ("Jr.", "III") stays with its name, and life dates ("(1850-1910)") are no part of one.
std::vector<std::string> SplitNames(std::string_view value);

struct EbookLine {
    std::string title;
    std::string author;  // empty when the line names none
};

// The first line of an older header, its asterisks and outer blanks already gone or not.
std::optional<EbookLine> MatchEbookLine(std::string_view trimmed);

}  // namespace Tessaly::Docs
