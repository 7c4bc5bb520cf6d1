#include "text/LanguageIdentifier.h"

#include <compact_lang_det.h>
#include <encodings.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <climits>
#include <string_view>

#include "text/Utf8.h"
#include "text/Utf8Text.h"

namespace text {

namespace {

// CLD2's names as BCP 47 tags: the retired codes it still uses are replaced, and its script-
// only pseudo-languages ("xx-Qaai") name no language at all.
std::string Bcp47Tag(CLD2::Language language) {
    if (language == CLD2::UNKNOWN_LANGUAGE || language == CLD2::TG_UNKNOWN_LANGUAGE) {
        return {};
    }
    const std::string_view code = CLD2::LanguageCode(language);
    if (code.empty() || code.substr(0, 3) == "xx-" || code == "un" || code == "xxx") {
        return {};
    }
    if (code == "iw") {
        return "he";
    }
    if (code == "jw") {
        return "jv";
    }
    if (code == "in") {
        return "id";
    }
    if (code == "mo") {
        return "ro";
    }
    return std::string(code);
}

// What a character weighs in letters of an alphabet, not in bytes (a Cyrillic letter takes two
// bytes, a Chinese character three): a kana or a Hangul syllable stands for about two letters,
// a Han character, a syllable with its meaning, for about three.
std::size_t LetterWeight(char32_t c) {
    if (c < 0x3040 || !utf8::IsLetter(c)) {
        return utf8::IsLetter(c) ? 1 : 0;
    }
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
    if (script == USCRIPT_HAN) {
        return 3;
    }
    return script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA || script == USCRIPT_HANGUL ? 2
                                                                                                : 1;
}

}  // namespace

LanguageGuess IdentifyLanguage(std::string_view utf8Text, bool bestEffort) {
    const std::string valid = utf8::ToValidUtf8(utf8Text);
    const int length = valid.size() > static_cast<std::size_t>(INT_MAX / 2)
                           ? INT_MAX / 2
                           : static_cast<int>(valid.size());
    CLD2::CLDHints hints = {nullptr, nullptr, CLD2::UNKNOWN_ENCODING, CLD2::UNKNOWN_LANGUAGE};
    CLD2::Language languages[3] = {CLD2::UNKNOWN_LANGUAGE, CLD2::UNKNOWN_LANGUAGE,
                                   CLD2::UNKNOWN_LANGUAGE};
    int percents[3] = {};
    double scores[3] = {};
    int textBytes = 0;
    bool reliable = false;
    int validPrefix = 0;
    const CLD2::Language best = CLD2::ExtDetectLanguageSummaryCheckUTF8(
        valid.data(), length, true, &hints, bestEffort ? CLD2::kCLDFlagBestEffort : 0, languages,
        percents, scores, nullptr, &textBytes, &reliable, &validPrefix);
    LanguageGuess guess;
    guess.tag = Bcp47Tag(best);
    guess.reliable = reliable && !guess.tag.empty();
    guess.percent = languages[0] == best ? percents[0] : 0;
    guess.typicality = languages[0] == best ? scores[0] : 0;
    guess.letterBytes = textBytes;
    return guess;
}

LanguageReading ReadLanguages(std::string_view text) {
    const std::string valid = utf8::ToValidUtf8(text);  // the identifier stops at a bad byte
    const std::string_view utf8Text = valid;
    const int length = utf8Text.size() > static_cast<std::size_t>(INT_MAX / 2)
                           ? INT_MAX / 2
                           : static_cast<int>(utf8Text.size());
    CLD2::CLDHints hints = {nullptr, nullptr, CLD2::UNKNOWN_ENCODING, CLD2::UNKNOWN_LANGUAGE};
    CLD2::Language languages[3] = {};
    int percents[3] = {};
    double scores[3] = {};
    CLD2::ResultChunkVector stretches;
    int textBytes = 0;
    bool reliable = false;
    int validPrefix = 0;
    CLD2::ExtDetectLanguageSummaryCheckUTF8(utf8Text.data(), length, true, &hints, 0, languages,
                                            percents, scores, &stretches, &textBytes, &reliable,
                                            &validPrefix);
    LanguageReading reading;
    reading.reliable = reliable;
    for (const CLD2::ResultChunk& stretch : stretches) {
        const std::string tag = Bcp47Tag(static_cast<CLD2::Language>(stretch.lang1));
        if (tag.empty() || stretch.offset < 0 || stretch.bytes <= 0) {
            continue;
        }
        const std::string_view piece = utf8Text.substr(static_cast<std::size_t>(stretch.offset),
                                                       static_cast<std::size_t>(stretch.bytes));
        std::size_t letters = 0;
        for (std::size_t i = 0; i < piece.size();) {
            const utf8::CodePoint cp = utf8::DecodeAt(piece, i);
            letters += LetterWeight(cp.value);
            i += cp.length;
        }
        auto known = std::find_if(reading.languages.begin(), reading.languages.end(),
                                  [&](const LanguageLetters& l) { return l.tag == tag; });
        if (known == reading.languages.end()) {
            reading.languages.push_back({tag, letters});
        } else {
            known->letters += letters;
        }
    }
    return reading;
}

}  // namespace text
