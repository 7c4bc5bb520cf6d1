#pragma once
// Recognises a numbered section title: "1. Overview", "2.3. Installing", "4.1.2 Options",
// "A.1. The archive" (an appendix's sections). Only the line itself is judged here; whether the
// numbers run on from the headings before is the outline's question.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace Tessaly::Docs {

inline constexpr std::size_t kMaxSectionDepth = 6;

// A heading's place in the numbering: "2.3.1" is {2, 3, 1}. A letter counts from A = 1 and is
// only ever the first part ("Appendix B", "B.2").
struct SectionPath {
    std::array<std::uint16_t, kMaxSectionDepth> parts{};
    std::uint8_t depth = 0;
    bool lettered = false;

    friend bool operator==(const SectionPath&, const SectionPath&) = default;
};

struct SectionLine {
    SectionPath path;
    std::size_t titleAt = 0;  // byte offset of the title in the line
};

// `trimmed` is the line without outer blanks, its Unicode spaces written as plain spaces.
std::optional<SectionLine> MatchSectionLine(std::string_view trimmed);

// A short phrase that can stand as a title: a letter, not too long, no sentence or clause end,
// no leader dots of a contents list.
bool IsTitlePhrase(std::string_view title);

// `next` continues the numbering after `previous`: a first subsection (2.3 -> 2.3.1) or the
// next at some depth (2.3.1 -> 2.3.2, 2.4, 3), where one number may be missing (2.4 -> 2.6).
bool FollowsInNumbering(const SectionPath& previous, const SectionPath& next);

}  // namespace Tessaly::Docs
