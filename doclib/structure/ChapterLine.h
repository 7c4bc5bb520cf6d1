#pragma once
// Recognises one line as a chapter title: "Chapter 12", "CHAPTER XII", "Chapter Twelve",
// "Chapter 3: The Storm", "Part One", "Prologue", "Kapitel 4", "Глава 7", "第十二章" and the
// like. Only the line itself is judged here; whether it stands where a title would stand is
// the detector's question.

#include <optional>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

enum class DivisionKind : unsigned char {
    Volume,
    Book,
    Part,
    Chapter,
    FrontMatter,  // prologue, preface, foreword, introduction
    BackMatter,   // epilogue, afterword, appendix
    Interlude,
};

struct ChapterLineMatch {
    DivisionKind kind = DivisionKind::Chapter;
    int number = -1;      // -1 when the line has none ("Prologue")
    bool titled = false;  // a title follows the number ("Chapter 3: The Storm")
    // No chapter word, only a Roman numeral ("IV.") or one with a title ("IV. THE STORM"):
    // a chapter only among others of its kind.
    bool bareNumeral = false;
    // A section within a chapter ("第三节", "제 2 절"): one level below the chapter before it.
    bool section = false;
};

// `trimmed` is the line without outer spaces; `scratch` is reused working memory.
std::optional<ChapterLineMatch> MatchChapterLine(std::string_view trimmed, std::string& scratch);

// Parses a Roman numeral ("xii", lowercase) in canonical form; -1 when it is none.
int ParseRomanNumeral(std::string_view lower);

}  // namespace Tessaly::Docs
