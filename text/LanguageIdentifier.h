#pragma once
// Which language a text is written in, by CLD2 (a statistical identifier trained on the web's
// text in some eighty languages). Japanese, Chinese and Korean are told apart by their
// scripts; a language is named only when the identifier is sure of it.

#include <string>
#include <string_view>
#include <vector>

namespace text {

struct LanguageGuess {
    // BCP 47 tag of the likeliest language, even when unsure; empty when there is none.
    std::string tag;
    bool reliable = false;
    // Share of the text's letters in that language, 0..100.
    int percent = 0;
    // How typical the text is of that language: near 1.0 for real text, far from it for
    // gibberish (a text decoded in the wrong encoding).
    double typicality = 0;
    // Letters the identifier looked at.
    int letterBytes = 0;
};

// The language of `utf8` as a whole (invalid bytes are read by the policy of text/Utf8.h).
// With `bestEffort`, a text too short or too mixed for a sure answer still gets its likeliest
// language; a choice between decodings needs that.
LanguageGuess IdentifyLanguage(std::string_view utf8, bool bestEffort = false);

// The letters of a text counted by the language the identifier reads each stretch in.
struct LanguageLetters {
    std::string tag;  // BCP 47
    // Letters of an alphabet, or their worth: a Han character counts three, a kana two.
    std::size_t letters = 0;
};
struct LanguageReading {
    // Stretches of no language the identifier names (or too short to tell) are left out.
    std::vector<LanguageLetters> languages;
    // The identifier is sure of its reading of the whole.
    bool reliable = false;
};

// Reads `utf8` stretch by stretch; a text of two languages is counted as two.
LanguageReading ReadLanguages(std::string_view utf8);

}  // namespace text
