#pragma once
// Two hyphens as a dash. Typists without an em dash key write "--"; the text is given real em
// dashes only when it uses "--" that way throughout: every run of hyphens longer than one is
// exactly two, standing between words, and there are several of them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/ParagraphShaper.h"

namespace Tessaly::Docs {

struct DoubleHyphenCount {
    std::uint32_t betweenWords = 0;  // "word--word", "word -- word"
    std::uint32_t other = 0;         // "---", "-- word" after punctuation, ...
    // A "--" that ends the line right after a word, or starts it right before one: between
    // words only when the line is joined to its neighbour.
    bool atEnd = false;
    bool atStart = false;
};

DoubleHyphenCount CountDoubleHyphens(std::string_view line);

// Fewer than this many, and the text gives too little evidence of a habit.
inline constexpr std::uint64_t kDashEvidence = 3;

inline bool DoubleHyphensAreDashes(std::uint64_t betweenWords, std::uint64_t other) {
    return other == 0 && betweenWords >= kDashEvidence;
}

// The rule for the whole text as the refined book will hold it: the lines' own double
// hyphens, those at line ends that the joins bring between words, the source's headings and
// the notes.
bool TextUsesDoubleHyphenDashes(const Document& doc, const LineScan& scan,
                                const std::vector<Unit>& units);

// Appends `text` to `out` with every run of exactly two hyphens written as an em dash.
void AppendWithEmDashes(std::string& out, std::string_view text);

}  // namespace Tessaly::Docs
