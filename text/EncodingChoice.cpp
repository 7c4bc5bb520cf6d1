#include "text/EncodingChoice.h"

#include <uchardet.h>
#include <unicode/uchar.h>
#include <unicode/ulocdata.h>
#include <unicode/uscript.h>
#include <unicode/uset.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "text/EncodingConversion.h"
#include "text/LanguageIdentifier.h"
#include "text/Utf8.h"

namespace text {

namespace {

// Enough text for the byte statistics; the rest of a long file is decoded without judging.
constexpr std::size_t kSample = 32 * 1024;
// Enough text to read each candidate decoding as a language.
constexpr std::size_t kReadingSample = 8 * 1024;

// The stretch of `bytes` to read the candidates on: from the line before the first non-ASCII
// byte (a long English preface says nothing of the encoding), starting on a line.
std::string_view ReadingSample(std::string_view bytes) {
    std::size_t first = 0;
    while (first < bytes.size() && static_cast<unsigned char>(bytes[first]) < 0x80) {
        ++first;
    }
    std::size_t start = first > 1024 ? first - 1024 : 0;
    const std::size_t line = bytes.rfind('\n', start);
    start = start == 0 || line == std::string_view::npos ? 0 : line + 1;
    return bytes.substr(start, kReadingSample);
}

std::string Upper(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    return name;
}

// The detector's guess, upper-cased, or "" when it has none.
std::string DetectorGuess(std::string_view sample) {
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) {
        return {};
    }
    uchardet_data_end(detector.get());
    const std::string name = Upper(uchardet_get_charset(detector.get()));
    return name == "ASCII" || name == "UTF-8" ? std::string() : name;
}

// Bytes 0x80..0x9F are control codes in ISO-8859, printable characters in Windows-125x: a
// text that has them is Windows, as web browsers decide.
std::string WindowsCounterpart(const std::string& iso) {
    static const std::pair<const char*, const char*> kPairs[] = {
        {"ISO-8859-2", "WINDOWS-1250"},  {"ISO-8859-4", "WINDOWS-1257"},
        {"ISO-8859-5", "WINDOWS-1251"},  {"ISO-8859-7", "WINDOWS-1253"},
        {"ISO-8859-8", "WINDOWS-1255"},  {"ISO-8859-9", "WINDOWS-1254"},
        {"ISO-8859-13", "WINDOWS-1257"}, {"ISO-8859-15", "WINDOWS-1252"},
        {"ISO-8859-16", "WINDOWS-1250"}, {"ISO-8859-3", "WINDOWS-1254"},
        {"ISO-8859-6", "WINDOWS-1256"},  {"ISO-8859-10", "WINDOWS-1257"},
        {"ISO-8859-11", "WINDOWS-874"},  {"TIS-620", "WINDOWS-874"},
    };
    for (const auto& [isoName, windows] : kPairs) {
        if (iso == isoName) {
            return windows;
        }
    }
    return iso;
}

bool HasC1Bytes(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x80 && b < 0xA0;
    });
}

std::size_t NonAsciiBytes(std::string_view bytes) {
    return static_cast<std::size_t>(std::count_if(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

// The letters a language is written with (its standard and auxiliary exemplars), or null
// when ICU knows none for it.
class Exemplars {
  public:
    explicit Exemplars(const std::string& tag) {
        if (tag.empty()) {
            return;
        }
        UErrorCode status = U_ZERO_ERROR;
        ULocaleData* data = ulocdata_open(tag.c_str(), &status);
        if (U_FAILURE(status) || data == nullptr) {
            return;
        }
        set_ = uset_openEmpty();
        for (const auto type : {ULOCDATA_ES_STANDARD, ULOCDATA_ES_AUXILIARY}) {
            UErrorCode each = U_ZERO_ERROR;
            USet* part = ulocdata_getExemplarSet(data, nullptr, USET_CASE_INSENSITIVE, type, &each);
            if (U_SUCCESS(each) && part != nullptr) {
                uset_addAll(set_, part);
            }
            if (part != nullptr) {
                uset_close(part);
            }
        }
        ulocdata_close(data);
        if (uset_isEmpty(set_)) {
            uset_close(set_);
            set_ = nullptr;
        }
    }
    ~Exemplars() {
        if (set_ != nullptr) {
            uset_close(set_);
        }
    }
    Exemplars(const Exemplars&) = delete;
    Exemplars& operator=(const Exemplars&) = delete;

    // True when the language is unknown or uses `c`.
    bool Allows(char32_t c) const {
        if (set_ == nullptr) {
            return true;
        }
        const auto u = static_cast<UChar32>(c);
        return uset_contains(set_, u) || uset_contains(set_, u_tolower(u)) ||
               uset_contains(set_, u_toupper(u));
    }

  private:
    USet* set_ = nullptr;
};

bool IsLetter(char32_t c) {
    return u_isalpha(static_cast<UChar32>(c)) != 0;
}

// Scripts that share words: Han with kana, and anything with the common and inherited ones.
bool SameWordScripts(UScriptCode a, UScriptCode b) {
    auto japanese = [](UScriptCode s) {
        return s == USCRIPT_HAN || s == USCRIPT_HIRAGANA || s == USCRIPT_KATAKANA;
    };
    auto neutral = [](UScriptCode s) { return s == USCRIPT_COMMON || s == USCRIPT_INHERITED; };
    return a == b || neutral(a) || neutral(b) || (japanese(a) && japanese(b)) ||
           ((a == USCRIPT_HANGUL && b == USCRIPT_HAN) || (a == USCRIPT_HAN && b == USCRIPT_HANGUL));
}

bool UnlikelyCharacter(char32_t c) {
    if (c == 0xFFFD || c == 0xA4) {
        return true;  // the generic currency sign stands where a code page has its own
    }
    const auto type = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(c)));
    if (type == U_CONTROL_CHAR) {
        return !(c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v');
    }
    return type == U_UNASSIGNED || type == U_PRIVATE_USE_CHAR || type == U_SURROGATE;
}

bool IsSymbol(char32_t c) {
    const auto type = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(c)));
    return type == U_MATH_SYMBOL || type == U_CURRENCY_SYMBOL || type == U_MODIFIER_SYMBOL ||
           type == U_OTHER_SYMBOL || type == U_OTHER_NUMBER || c == 0xB6 || c == 0xA7 || c == 0xB5;
}

// Letters written only at the end of a word (Greek final sigma, the Hebrew final forms).
bool IsFinalForm(char32_t c) {
    return c == 0x3C2 || c == 0x5DA || c == 0x5DD || c == 0x5DF || c == 0x5E3 || c == 0x5E5;
}

// Windows-1252 and ISO-8859-15 differ in eight bytes only (the euro sign, Š š Ž ž Œ œ Ÿ against
// ¤ ¦ ¨ ´ ¸ ¼ ½ ¾), which the sample may not hold: where the text has them and no C1 bytes, the
// two are read on the lines that hold them, and the one with fewer unlikely characters wins.
bool IsLatin9Byte(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 0xA4:
        case 0xA6:
        case 0xA8:
        case 0xB4:
        case 0xB8:
        case 0xBC:
        case 0xBD:
        case 0xBE:
            return true;
        default:
            return false;
    }
}

bool ReadsBetterAsLatin9(std::string_view bytes) {
    std::string lines;
    for (std::size_t at = 0; at < bytes.size() && lines.size() < kReadingSample;) {
        const std::size_t end = std::min(bytes.find('\n', at), bytes.size());
        const std::string_view line = bytes.substr(at, end - at);
        if (std::any_of(line.begin(), line.end(), IsLatin9Byte)) {
            lines.append(line).push_back('\n');
        }
        at = end + 1;
    }
    if (lines.empty()) {
        return false;
    }
    const auto windows = ConvertToUtf8(lines, "WINDOWS-1252");
    const auto latin9 = ConvertToUtf8(lines, "ISO-8859-15");
    return windows && latin9 &&
           CountUnlikelyCharacters(latin9->utf8, {}) < CountUnlikelyCharacters(windows->utf8, {});
}

struct Candidate {
    std::string encoding;
    double score = 0;
};

double Score(std::string_view sample, const std::string& encoding, int preference) {
    const auto conversion = ConvertToUtf8(sample, encoding, true);
    if (!conversion) {
        return -1e9;
    }
    const std::string& decoded = conversion->utf8;
    if (conversion->invalidBytes * 20 > sample.size()) {
        return -1e6;  // plainly not this encoding: no need to read it
    }
    const LanguageGuess language = IdentifyLanguage(decoded, true);
    const std::size_t unlikely =
        CountUnlikelyCharacters(decoded, language.percent >= 80 ? language.tag : std::string());
    std::size_t nonAscii = 0;
    for (std::size_t i = 0; i < decoded.size(); i += utf8::DecodeAt(decoded, i).length) {
        nonAscii += static_cast<unsigned char>(decoded[i]) >= 0x80;
    }
    const double bad = static_cast<double>(unlikely + 4 * conversion->invalidBytes);
    double score = -100.0 * bad / static_cast<double>(std::max<std::size_t>(nonAscii, 1));
    score += language.percent / 20.0 + (language.reliable ? 10 : 0);
    return score + preference;
}

}  // namespace

std::size_t CountUnlikelyCharacters(std::string_view utf8Text, const std::string& tag) {
    const Exemplars exemplars(tag);
    std::size_t unlikely = 0;
    // Letters of the current word, and how many of them are accented Latin letters: a word
    // made only of those is a word of another script read in a Latin code page.
    std::size_t wordLetters = 0;
    std::size_t wordAccented = 0;
    char32_t previous = ' ';
    UScriptCode previousScript = USCRIPT_COMMON;
    for (std::size_t i = 0; i < utf8Text.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(utf8Text, i);
        const char32_t c = cp.value;
        i += cp.length;
        const char32_t next =
            i < utf8Text.size() ? utf8::DecodeAt(utf8Text, i).value : static_cast<char32_t>(' ');
        UErrorCode status = U_ZERO_ERROR;
        const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
        if (c >= 0x80) {
            if (UnlikelyCharacter(c)) {
                unlikely += 2;
            } else if (IsSymbol(c) && (IsLetter(previous) || IsLetter(next))) {
                ++unlikely;
            } else if (IsLetter(c)) {
                if (!exemplars.Allows(c) || (IsFinalForm(previous) && IsLetter(c))) {
                    ++unlikely;
                } else if (IsLetter(previous) && !SameWordScripts(previousScript, script)) {
                    ++unlikely;
                } else if (u_islower(static_cast<UChar32>(previous)) &&
                           u_isupper(static_cast<UChar32>(c))) {
                    ++unlikely;  // a capital inside a lower-case word
                }
            }
        } else if (IsLetter(previous) && previous >= 0x80 && IsLetter(c) &&
                   !SameWordScripts(previousScript, script)) {
            ++unlikely;
        }
        if (IsLetter(c)) {
            ++wordLetters;
            wordAccented += c >= 0xC0 && script == USCRIPT_LATIN;
        } else {
            unlikely += wordLetters >= 3 && wordAccented == wordLetters;
            wordLetters = 0;
            wordAccented = 0;
        }
        previous = c;
        previousScript = script;
    }
    unlikely += wordLetters >= 3 && wordAccented == wordLetters;
    return unlikely;
}

namespace {

// The choice made on the first part of the text.
std::string ChooseOnSample(std::string_view bytes) {
    std::string_view sample = bytes.substr(0, kSample);
    const bool c1 = HasC1Bytes(sample);
    std::string guess = DetectorGuess(sample);
    if (c1) {
        guess = WindowsCounterpart(guess);
    }
    if (guess == "ISO-8859-1") {
        guess = "WINDOWS-1252";  // the same letters, and the punctuation besides
    }

    std::vector<std::string> candidates;
    auto add = [&](const std::string& name) {
        if (!name.empty() &&
            std::find(candidates.begin(), candidates.end(), name) == candidates.end()) {
            candidates.push_back(name);
        }
    };
    add(guess);
    add("WINDOWS-1252");
    for (const char* name :
         {"WINDOWS-1250", "WINDOWS-1251", "WINDOWS-1253", "WINDOWS-1254", "WINDOWS-1255",
          "WINDOWS-1256", "WINDOWS-1257", "WINDOWS-1258", "KOI8-R", "KOI8-U", "SHIFT_JIS", "EUC-JP",
          "GB18030", "BIG5", "EUC-KR"}) {
        add(name);
    }
    if (!c1) {
        for (const char* name : {"ISO-8859-2", "ISO-8859-5", "ISO-8859-7", "ISO-8859-15"}) {
            add(name);
        }
    }

    // A long text whose guess decodes cleanly into a language the identifier is sure of needs
    // no second opinion.
    const bool strongGuess = !guess.empty() && NonAsciiBytes(sample) >= 256;
    if (strongGuess) {
        const auto conversion = ConvertToUtf8(sample, guess, true);
        if (conversion && conversion->invalidBytes == 0) {
            const LanguageGuess language = IdentifyLanguage(conversion->utf8);
            if (language.reliable && CountUnlikelyCharacters(conversion->utf8, language.tag) == 0) {
                return guess;
            }
        }
    }

    const std::string_view reading = ReadingSample(sample);
    Candidate best{"WINDOWS-1252", -1e18};
    for (const std::string& name : candidates) {
        const int preference = name == guess ? 3 : name == "WINDOWS-1252" ? 1 : 0;
        const double score = Score(reading, name, preference);
        if (score > best.score) {
            best = {name, score};
        }
    }
    return best.encoding;
}

}  // namespace

std::string ChooseLegacyEncoding(std::string_view bytes) {
    std::string chosen = ChooseOnSample(bytes);
    if (chosen == "WINDOWS-1252" && !HasC1Bytes(bytes) && ReadsBetterAsLatin9(bytes)) {
        chosen = "ISO-8859-15";
    }
    return chosen;
}

}  // namespace text
